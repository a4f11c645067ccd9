// CLockWnd: "LOCKWND", laid over the game window while the game is locked; it holds the unlock panel
// centred inside it. Its own buttons do nothing.
#pragma once

#include "framework/Owner.h"
#include "skin/SkinWnd2.h"

class CUnLockWnd;

class CLockWnd : public CSkinWnd2 {
    DECLARE_DYNAMIC(CLockWnd)
public:
    explicit CLockWnd(const wchar_t* skinName);
    ~CLockWnd() override;

    void ShowSkinWnd(BOOL show) override;
    void OnSkinBtnClick(const SkinButtonInfo& info) override;
    // Takes the rectangle (screen coordinates) and centres the unlock panel in it.
    virtual BOOL MoveToRect(const RECT& rect, BOOL repaint);

    CUnLockWnd* m_pUnLockWnd = nullptr;

protected:
    int OnCreate(LPCREATESTRUCTW cs) override;

private:
    COwner<CUnLockWnd> m_unLockWnd{m_pUnLockWnd};
};
