// CBossWnd: "BOSSWND", where the player picks the boss key (Ctrl+Alt plus one key) and switches it on
// or off. The next key pressed in the window is captured and shown; "ok" stores the choice and has the
// main frame register the key again.
#pragma once

#include "framework/Controls.h"
#include "skin/SkinWnd2.h"

#include <vector>

constexpr UINT IDC_HOTKEY_EDIT = 1003;

class CBossWnd : public CSkinWnd2 {
    DECLARE_DYNAMIC(CBossWnd)
public:
    explicit CBossWnd(const wchar_t* skinName);
    ~CBossWnd() override;

    BOOL PreTranslateMessage(MSG* msg) override;
    void OnSkinBtnClick(const SkinButtonInfo& info) override;

    // The key's name as the keyboard layout spells it; FALSE (and an empty name) when it has none.
    static BOOL GetHotKeyName(int key, CString& name);

    int m_nHotKey = 0;
    CEdit m_edit;
    std::vector<int> m_vecIgnoredKeys;

protected:
    int OnCreate(LPCREATESTRUCTW cs) override;
};
