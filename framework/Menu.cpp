#include "Menu.h"

#include "Wnd.h"

CMenu::~CMenu() {
    DestroyMenu();
}

BOOL CMenu::LoadMenu(UINT id) {
    HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id));
    if (!menu) return FALSE;
    return Attach(menu);
}

BOOL CMenu::Attach(HMENU menu) {
    DestroyMenu();
    m_hMenu = menu;
    m_bOwned = true;
    return menu != nullptr;
}

HMENU CMenu::Detach() {
    m_subMenus.clear();
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::DestroyMenu() {
    m_subMenus.clear();
    if (!m_hMenu) return FALSE;
    BOOL result = m_bOwned ? ::DestroyMenu(m_hMenu) : TRUE;
    m_hMenu = nullptr;
    return result;
}

CMenu* CMenu::GetSubMenu(int pos) {
    HMENU sub = m_hMenu ? ::GetSubMenu(m_hMenu, pos) : nullptr;
    if (!sub) return nullptr;
    for (const auto& known : m_subMenus)
        if (known->m_hMenu == sub) return known.get();
    std::unique_ptr<CMenu> view(new CMenu);
    view->m_hMenu = sub;
    view->m_bOwned = false; // destroyed with this menu
    m_subMenus.push_back(std::move(view));
    return m_subMenus.back().get();
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, HWND owner, LPCRECT) {
    if (!m_hMenu) return FALSE;
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner, nullptr);
}
