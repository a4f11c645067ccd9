// CVIPWnd: a skinned pop-up showing one web page in a browser view of its own over its rectangle "ie":
// "VIPWND" for the chat page, "HOSTWND" for the host page. Its "close" and "min" only hide it.
#pragma once

#include "client/IEView.h"
#include "skin/SkinWnd2.h"

class CVIPWnd : public CSkinWnd2 {
    DECLARE_DYNAMIC(CVIPWnd)
public:
    explicit CVIPWnd(const wchar_t* skinName);
    ~CVIPWnd() override;

    void OnSkinBtnClick(const SkinButtonInfo& info) override;
    // The title says the chat peer is talking with the player.
    void SetChatTitle(const wchar_t* name);

    CIEView m_view;

protected:
    int OnCreate(LPCREATESTRUCTW cs) override;
    void OnSize(UINT type, int cx, int cy) override;
};
