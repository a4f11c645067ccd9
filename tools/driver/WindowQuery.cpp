#include "tools/driver/WindowQuery.h"

namespace driver {

namespace {

struct TopLevelSearch {
    DWORD processId;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectTopLevel(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    if (ProcessOf(wnd) == search->processId) search->found->push_back(wnd);
    return TRUE;
}

} // namespace

CString ClassOf(HWND wnd) {
    wchar_t name[256] = {};
    if (!wnd || !GetClassNameW(wnd, name, 256)) return CString();
    return CString(name);
}

CString TextOf(HWND wnd) {
    CString text;
    if (!wnd) return text;
    // WM_GETTEXT through SendMessageTimeout: a hung client must not hang the driver.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return text;
    DWORD_PTR copied = 0;
    wchar_t* buffer = text.GetBuffer(static_cast<int>(length) + 1);
    if (!SendMessageTimeoutW(wnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                             2000, &copied))
        copied = 0;
    text.ReleaseBuffer(static_cast<int>(copied));
    return text;
}

DWORD ProcessOf(HWND wnd) {
    DWORD processId = 0;
    if (wnd) GetWindowThreadProcessId(wnd, &processId);
    return processId;
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
    std::vector<HWND> found;
    TopLevelSearch search = {processId, &found};
    EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return found;
}

HWND FindTopLevel(DWORD processId, const wchar_t* className, const wchar_t* title) {
    for (HWND wnd : TopLevelWindows(processId)) {
        if (className && ClassOf(wnd) != className) continue;
        if (title && TextOf(wnd) != title) continue;
        return wnd;
    }
    return nullptr;
}

std::vector<HWND> ChildWindows(HWND parent, const wchar_t* className) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!className || ClassOf(child) == className) children.push_back(child);
    }
    return children;
}

bool PostClick(HWND wnd) {
    RECT client = {};
    if (!GetClientRect(wnd, &client)) return false;
    const LPARAM at = MAKELPARAM((client.right - client.left) / 2, (client.bottom - client.top) / 2);
    return PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageW(wnd, WM_LBUTTONUP, 0, at);
}

bool PostKey(HWND wnd, UINT virtualKey) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    const LPARAM up = down | (1u << 30) | (1u << 31);
    return PostMessageW(wnd, WM_KEYDOWN, virtualKey, down) && PostMessageW(wnd, WM_KEYUP, virtualKey, up);
}

bool PostChars(HWND wnd, const CString& text) {
    for (int i = 0; i < text.GetLength(); ++i)
        if (!PostMessageW(wnd, WM_CHAR, text[i], 1)) return false;
    return true;
}

MessageBoxInfo ReadMessageBox(HWND box) {
    MessageBoxInfo info;
    info.box = box;
    info.caption = TextOf(box);
    for (HWND child : ChildWindows(box, L"Static")) {
        const CString text = TextOf(child);
        if (text.IsEmpty()) continue; // the icon
        if (!info.text.IsEmpty()) info.text += L"\n";
        info.text += text;
    }
    return info;
}

bool PressDialogButton(HWND dialog, int buttonId) {
    HWND button = GetDlgItem(dialog, buttonId);
    if (!button) return false;
    return PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

} // namespace driver
