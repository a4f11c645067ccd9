// CSetupWnd: "SETUPWND" with two check boxes: "enable2" keeps the game window above all others,
// "enable1" is only remembered. "ok" applies and stores them.
#pragma once

#include "skin/SkinWnd2.h"

class CSetupWnd : public CSkinWnd2 {
    DECLARE_DYNAMIC(CSetupWnd)
public:
    explicit CSetupWnd(const wchar_t* skinName);
    ~CSetupWnd() override;

    void OnSkinBtnClick(const SkinButtonInfo& info) override;

protected:
    int OnCreate(LPCREATESTRUCTW cs) override;
};
