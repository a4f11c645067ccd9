#include "tools/driver/SkinLayout.h"

#include "foundation/Config.h"
#include "foundation/Markup.h"
#include "framework/File.h"
#include "tools/driver/WindowQuery.h"

#include <algorithm>

namespace driver {

namespace {

int IntAttribute(const CMarkup& xml, const wchar_t* name) {
    return _wtoi(xml.GetAttribute(name));
}

// The button's place in its window's client area, as the skin asks for it, checked on the axes its
// anchor fixes: a right or bottom anchor measures from an edge that moves with the window's size.
bool SitsAtSpot(HWND button, const SkinButtonSpot& spot) {
    RECT rect = {};
    GetWindowRect(button, &rect);
    MapWindowPoints(nullptr, GetParent(button), reinterpret_cast<LPPOINT>(&rect), 2);
    const CString& align = spot.align;
    const bool fixedX =
        align.IsEmpty() || align.CompareNoCase(L"TopLeft") == 0 || align.CompareNoCase(L"BottomLeft") == 0;
    const bool fixedY =
        align.IsEmpty() || align.CompareNoCase(L"TopLeft") == 0 || align.CompareNoCase(L"TopRight") == 0;
    return (!fixedX || rect.left == spot.left) && (!fixedY || rect.top == spot.top);
}

} // namespace

bool CSkinLayout::Load(const CString& programFolder) {
    const CString skinDir = ReadConfigValue(programFolder, L"skinDir");
    if (skinDir.IsEmpty()) return false;
    return LoadFile(programFolder + L"\\skin\\" + skinDir + L"\\skin.xml");
}

bool CSkinLayout::LoadFile(const CString& skinXml) {
    m_windows.clear();
    CMarkup xml;
    if (!xml.LoadFile(skinXml)) return false;
    xml.ResetPosition();
    if (!xml.FindElement(L"CLIENTSKIN") || !xml.EnterElement()) return false;
    static const wchar_t* const kWindows[] = {
        L"MAINWND",   L"GAMEWND", L"MOREWND",   L"BOSSWND",   L"SETUPWND", L"CACHEWND", L"SERVERWND",
        L"SELECTWND", L"LOCKWND", L"UNLOCKWND", L"UPDATEWND", L"VIPWND",   L"HOSTWND"};
    for (const wchar_t* element : kWindows) {
        xml.ResetPosition();
        xml.FindElement(L"CLIENTSKIN");
        xml.EnterElement();
        if (!xml.FindElement(element)) continue;
        SkinWindowLayout window;
        window.element = element;
        window.title = xml.GetAttribute(L"title");
        window.width = IntAttribute(xml, L"width");
        window.height = IntAttribute(xml, L"height");
        if (xml.EnterElement()) {
            while (xml.FindElement(L"BTN")) {
                SkinButtonSpot spot;
                spot.name = xml.GetAttribute(L"name");
                spot.left = IntAttribute(xml, L"left");
                spot.top = IntAttribute(xml, L"top");
                spot.align = xml.GetAttribute(L"align");
                window.buttons.push_back(spot);
            }
        }
        m_windows.push_back(window);
    }
    return !m_windows.empty();
}

const SkinWindowLayout* CSkinLayout::Window(const wchar_t* element) const {
    for (const SkinWindowLayout& window : m_windows)
        if (window.element == element) return &window;
    return nullptr;
}

HWND FindSkinButton(HWND window, const SkinWindowLayout& layout, const wchar_t* name) {
    size_t index = 0;
    while (index < layout.buttons.size() && layout.buttons[index].name.CompareNoCase(name) != 0)
        ++index;
    if (index == layout.buttons.size()) return nullptr;

    std::vector<HWND> buttons = ChildWindows(window, L"Button");
    if (buttons.size() != layout.buttons.size()) return nullptr;
    std::sort(buttons.begin(), buttons.end(),
              [](HWND a, HWND b) { return GetDlgCtrlID(a) < GetDlgCtrlID(b); });
    HWND button = buttons[index];
    return SitsAtSpot(button, layout.buttons[index]) ? button : nullptr;
}

HWND FindSkinWindow(DWORD processId, const SkinWindowLayout& layout) {
    HWND hidden = nullptr;
    for (HWND wnd : TopLevelWindows(processId)) {
        if (TextOf(wnd) != layout.title || ChildWindows(wnd, L"Button").size() != layout.buttons.size())
            continue;
        if (IsWindowVisible(wnd)) return wnd;
        if (!hidden) hidden = wnd;
    }
    return hidden;
}

CString FindConfigFile(const CString& programFolder) {
    // The file the client reads: the first "*.xml" in its skin folder.
    CString file = programFolder + L"\\skin";
    return FindFirstXmlFile(file) ? file : CString();
}

CString ReadConfigValue(const CString& programFolder, const wchar_t* key) {
    CMarkup xml;
    const CString file = FindConfigFile(programFolder);
    if (file.IsEmpty() || !xml.LoadFile(file)) return CString();
    xml.ResetPosition();
    if (!xml.FindElement(L"CLIENTCONFIG") || !xml.EnterElement()) return CString();
    CString value;
    while (xml.FindElement(L"CONFIG"))
        value = xml.GetAttribute(key);
    return value;
}

} // namespace driver
