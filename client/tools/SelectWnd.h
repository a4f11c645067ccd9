// CSelectWnd: "SELECTWND", the drop-down list of the account's servers under the server panel.
#pragma once

#include "framework/Controls.h"
#include "framework/Font.h"
#include "skin/SkinWnd2.h"

constexpr UINT IDC_SERVER_LIST = 1004;

class CSelectWnd : public CSkinWnd2 {
    DECLARE_DYNAMIC(CSelectWnd)
public:
    explicit CSelectWnd(const wchar_t* skinName);
    ~CSelectWnd() override;

    void OnSkinBtnClick(const SkinButtonInfo& info) override;
    void OnSelChange();

    CListBox m_list;
    CFont m_font;

protected:
    int OnCreate(LPCREATESTRUCTW cs) override;
    void OnActivate(UINT state, HWND other, BOOL minimized) override;
    BOOL OnCmdMsg(UINT id, int code) override;
};
