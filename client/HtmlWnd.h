// CHtmlWnd: the login window "MAINWND". A layered skinned window cannot host the browser control, so
// the page lives in a borderless pop-up (CIEWnd) that this window keeps exactly over its skin
// rectangle "ie" and shows and hides with itself.
#pragma once

#include "framework/Owner.h"
#include "skin/SkinWnd.h"

class CIEWnd;

class CHtmlWnd : public CSkinWnd {
    DECLARE_DYNAMIC(CHtmlWnd)
public:
    explicit CHtmlWnd(const wchar_t* skinName);
    ~CHtmlWnd() override;

    void ShowSkinWnd(BOOL show) override;
    void InitSkin() override;
    void OnSkinBtnClick(const SkinButtonInfo& info) override;

    // Shows the skin image "choose" (after a login page).
    void SetChooseOn();
    // The quit question without an owner window.
    void ConfirmQuit();
    // Replaces the pop-up (and the browser view in it) by a new, hidden, empty one; FALSE when the new
    // one cannot be made (the window then has none).
    BOOL CreateBrowserPopup();

    CIEWnd* m_pIEWnd = nullptr;

protected:
    int OnCreate(LPCREATESTRUCTW cs) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnMove(int x, int y) override;

private:
    void AskQuit(HWND owner);
    // Puts the pop-up over the rectangle "ie"; resize FALSE only moves it.
    void PlacePopup(BOOL resize);

    COwner<CIEWnd> m_ieWnd{m_pIEWnd};
};
