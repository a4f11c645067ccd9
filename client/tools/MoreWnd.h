// CMoreWnd: "MOREWND", the drop-down under the game window's "more" button. Each button is an item
// whose name goes to the game window; the menu hides after an item and when it loses the activation.
#pragma once

#include "skin/SkinWnd2.h"

class CMoreWnd : public CSkinWnd2 {
    DECLARE_DYNAMIC(CMoreWnd)
public:
    explicit CMoreWnd(const wchar_t* skinName);
    ~CMoreWnd() override;

    void OnSkinBtnClick(const SkinButtonInfo& info) override;

protected:
    int OnCreate(LPCREATESTRUCTW cs) override;
    void OnActivate(UINT state, HWND other, BOOL minimized) override;
};
