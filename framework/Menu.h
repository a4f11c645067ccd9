// CMenu: owns a menu loaded from the program's resources (or attached), hands out its pop-ups and
// tracks one of them. A pop-up handed out by GetSubMenu belongs to its menu and dies with it.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

class CMenu {
public:
    CMenu() = default;
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL LoadMenu(UINT id);
    // Takes ownership of a menu (the previous one is destroyed).
    BOOL Attach(HMENU menu);
    // Gives the menu up without destroying it (a window that takes a menu destroys it itself).
    HMENU Detach();
    BOOL DestroyMenu();

    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    // The pop-up at a position, or null; valid as long as this menu.
    CMenu* GetSubMenu(int pos);

    // Shows this menu as a pop-up; with TPM_RETURNCMD the chosen command (0: none), else TRUE/FALSE.
    BOOL TrackPopupMenu(UINT flags, int x, int y, HWND owner, LPCRECT ignored = nullptr);

private:
    HMENU m_hMenu = nullptr;
    bool m_bOwned = true;
    std::vector<std::unique_ptr<CMenu>> m_subMenus;
};
