#include "client/tools/CacheWnd.h"

#include "client/GameWnd.h"
#include "client/MainFrame.h"
#include "foundation/GameCache.h"

IMPLEMENT_DYNAMIC(CCacheWnd, CSkinWnd2)

CCacheWnd::CCacheWnd(const wchar_t* skinName) : CSkinWnd2(skinName) {}

CCacheWnd::~CCacheWnd() = default;

void CCacheWnd::OnSkinBtnClick(const SkinButtonInfo& info) {
    if (info.name.CompareNoCase(L"ok") == 0) {
        if (g_pMainFrame) ClearLauncherCache(TRUE);
        CleanGameCache();
        // The program-folder record lives in the folder just emptied; it is ours, so it comes back.
        WriteProgramFolderRecord();
        // Posted: the game window is released below first, and leaving the game destroys this window.
        if (CGameWnd* game = CGameWnd::FromToolWnd(this)) game->PostMessage(WM_CLOSE);
    }
    CGameWnd::CloseToolWnd(*this);
}
