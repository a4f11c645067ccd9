// CServerWnd: "SERVERWND", the server panel under the game window's "server" button: the current
// server, a server to switch to (chosen in the drop-down list CSelectWnd), "change" and "logout".
#pragma once

#include "framework/Owner.h"
#include "skin/SkinWnd2.h"

#include <cstdint>

class CSelectWnd;

class CServerWnd : public CSkinWnd2 {
    DECLARE_DYNAMIC(CServerWnd)
public:
    explicit CServerWnd(const wchar_t* skinName);
    ~CServerWnd() override;

    void ShowSkinWnd(BOOL show) override;
    void OnSkinBtnClick(const SkinButtonInfo& info) override;
    // The drop-down's choice: an index into the main frame's server list.
    void SetChosenServer(uint32_t index);

    CSelectWnd* m_pSelectWnd = nullptr;
    uint32_t m_nChosen = 0;

protected:
    int OnCreate(LPCREATESTRUCTW cs) override;
    void OnActivate(UINT state, HWND other, BOOL minimized) override;

private:
    // The name is cleared before the drop-down goes: its window's end moves the activation.
    COwner<CSelectWnd> m_selectWnd{m_pSelectWnd};
};
