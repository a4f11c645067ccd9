// CSkinLayout: where a program's skin puts its windows' buttons, read from the skin folder that the
// program's configuration names, so that the driver clicks what a player would see. FindSkinButton
// turns a button record into the button window of a running client.
#pragma once

#include "framework/String.h"

#include <windows.h>

#include <vector>

namespace driver {

struct SkinButtonSpot {
    CString name;
    int left = 0;
    int top = 0;
    CString align; // empty or TopLeft: from the top-left corner; TopRight...: from those edges
};

struct SkinWindowLayout {
    CString element; // "MAINWND", "GAMEWND"...
    CString title;   // the window's title, empty for windows without one
    int width = 0;
    int height = 0;
    std::vector<SkinButtonSpot> buttons; // in the skin's order
};

class CSkinLayout {
public:
    // Reads the skin of the program in this folder: "skin\<skinDir>\skin.xml", with skinDir from the
    // configuration file (the first *.xml in "skin\"). False when either cannot be read.
    bool Load(const CString& programFolder);
    // Reads one skin.xml.
    bool LoadFile(const CString& skinXml);
    // The window element's layout; null when the skin has no such element.
    const SkinWindowLayout* Window(const wchar_t* element) const;

private:
    std::vector<SkinWindowLayout> m_windows;
};

// The button window of a running skinned window that the layout's record of this name (any letter
// case) stands for: the client makes a window's buttons in the skin's order, so the n-th record is
// its n-th button child by control id. The button must also sit where the record places it (on the
// axes its anchor fixes); null otherwise, or when there is no such record or button.
HWND FindSkinButton(HWND window, const SkinWindowLayout& layout, const wchar_t* name);

// The process's top-level skinned window that the layout stands for: the window takes its title
// from the skin and has one button child per button record. A visible one is preferred; null when
// there is none.
HWND FindSkinWindow(DWORD processId, const SkinWindowLayout& layout);

// A configuration value (an attribute of CLIENTCONFIG/CONFIG, the last CONFIG deciding) of the program
// in this folder; empty when missing.
CString ReadConfigValue(const CString& programFolder, const wchar_t* key);
// The configuration file of the program in this folder (the first *.xml in "skin\"), or empty.
CString FindConfigFile(const CString& programFolder);

} // namespace driver
