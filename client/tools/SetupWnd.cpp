#include "client/tools/SetupWnd.h"

#include "client/GameWnd.h"
#include "client/MainFrame.h"
#include "client/tools/CheckButtons.h"
#include "foundation/Settings.h"

IMPLEMENT_DYNAMIC(CSetupWnd, CSkinWnd2)

CSetupWnd::CSetupWnd(const wchar_t* skinName) : CSkinWnd2(skinName) {}

CSetupWnd::~CSetupWnd() = default;

int CSetupWnd::OnCreate(LPCREATESTRUCTW cs) {
    if (CSkinWnd2::OnCreate(cs) == -1) return -1;
    // Only here: later openings show the boxes as the player last left them.
    const INI_CONFIG* settings = GetIniConfig();
    SetCheckButton(*this, L"enable1", settings->m_bEnable1);
    SetCheckButton(*this, L"enable2", settings->AlwaysTop);
    return 0;
}

void CSetupWnd::OnSkinBtnClick(const SkinButtonInfo& info) {
    // A check box has toggled itself; nothing is applied before "ok". The search keeps its case.
    if (info.name.Find(L"enable") >= 0) return;

    if (info.name.CompareNoCase(L"ok") == 0) {
        INI_CONFIG* settings = GetIniConfig();
        BOOL checked = FALSE;
        if (ReadCheckButton(*this, L"enable1", checked)) settings->m_bEnable1 = checked;
        if (ReadCheckButton(*this, L"enable2", checked)) {
            settings->AlwaysTop = checked;
            CGameWnd* game = g_pMainFrame ? g_pMainFrame->m_pGameWnd : nullptr;
            if (game && game->IsWindow()) game->KeepOnTop(checked);
        }
    }

    CGameWnd::CloseToolWnd(*this);
}
