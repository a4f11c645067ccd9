#include "client/tools/MoreWnd.h"

#include "client/GameWnd.h"

IMPLEMENT_DYNAMIC(CMoreWnd, CSkinWnd2)

CMoreWnd::CMoreWnd(const wchar_t* skinName) : CSkinWnd2(skinName) {}

CMoreWnd::~CMoreWnd() = default;

int CMoreWnd::OnCreate(LPCREATESTRUCTW cs) {
    if (CSkinWnd2::OnCreate(cs) == -1) return -1;
    m_bDraggable = FALSE;
    return 0;
}

void CMoreWnd::OnSkinBtnClick(const SkinButtonInfo& info) {
    // The item's name as the skin spells it: the game window matches items exactly.
    if (CGameWnd* game = CGameWnd::FromToolWnd(this)) game->OnMoreItem(info.name);
    ShowSkinWnd(FALSE);
}

void CMoreWnd::OnActivate(UINT state, HWND other, BOOL minimized) {
    CSkinWnd2::OnActivate(state, other, minimized);
    if (state == WA_INACTIVE) ShowSkinWnd(FALSE);
}
