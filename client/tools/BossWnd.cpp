#include "client/tools/BossWnd.h"

#include "client/GameWnd.h"
#include "client/MainFrame.h"
#include "client/tools/CheckButtons.h"
#include "foundation/Settings.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CBossWnd, CSkinWnd2)

namespace {

const wchar_t kKeyPrefix[] = L"Ctrl+Alt+";

// Keys whose scan code alone names the numeric-keypad key: the extended bit picks the separate one.
bool IsExtendedKey(int key) {
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE;
}

} // namespace

CBossWnd::CBossWnd(const wchar_t* skinName) : CSkinWnd2(skinName) {}

CBossWnd::~CBossWnd() = default;

BOOL CBossWnd::GetHotKeyName(int key, CString& name) {
    name.Empty();
    // The settings file may hold anything; only a virtual-key code has a name.
    if (key <= 0 || key > 0xFE) return FALSE;
    UINT scan = MapVirtualKeyExW(static_cast<UINT>(key), MAPVK_VK_TO_VSC, GetKeyboardLayout(0));
    if (IsExtendedKey(key)) scan |= 0x100;
    wchar_t buffer[20] = {};
    const int length = GetKeyNameTextW(static_cast<LONG>(scan << 16), buffer, 20);
    if (length <= 0) return FALSE;
    name = CString(buffer, std::min(length, 19));
    return TRUE;
}

int CBossWnd::OnCreate(LPCREATESTRUCTW cs) {
    if (CSkinWnd2::OnCreate(cs) == -1) return -1;
    INI_CONFIG* settings = GetIniConfig();
    SkinRectInfo place;
    if (GetRectInfo(L"editbox", place)) {
        // A skin without the box has no key display; a box the skin asks for but that cannot be made
        // leaves no window at all.
        if (!m_edit.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_READONLY, place.rect, this,
                           IDC_HOTKEY_EDIT))
            return -1;
        // The edit box paints itself; our picture leaves its place alone.
        m_vecChildRects.push_back(CRect(place.rect));
        m_edit.SetFocus();
        m_nHotKey = settings->HotKey;
        CString name;
        GetHotKeyName(m_nHotKey, name);
        m_edit.SetWindowText(kKeyPrefix + name);
    }
    SetCheckButton(*this, L"enable", settings->UseHotKey);
    m_vecIgnoredKeys = {VK_BACK, VK_TAB,     VK_SPACE, VK_DELETE, VK_RETURN,
                        VK_MENU, VK_CONTROL, VK_SHIFT, VK_CAPITAL};
    return 0;
}

BOOL CBossWnd::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN) {
        const int key = static_cast<int>(msg->wParam);
        if (std::find(m_vecIgnoredKeys.begin(), m_vecIgnoredKeys.end(), key) != m_vecIgnoredKeys.end())
            return FALSE;
        // The key's name from the message itself: its scan code and extended bit say which key it was.
        wchar_t name[260] = {};
        GetKeyNameTextW(static_cast<LONG>(msg->lParam), name, 260);
        if (m_edit.GetSafeHwnd()) m_edit.SetWindowText(CString(kKeyPrefix) + name);
        m_nHotKey = key;
    }
    return CSkinWnd2::PreTranslateMessage(msg);
}

void CBossWnd::OnSkinBtnClick(const SkinButtonInfo& info) {
    if (info.name.CompareNoCase(L"enable") == 0) return; // the check button toggles itself; "ok" stores it

    if (info.name.CompareNoCase(L"ok") == 0) {
        INI_CONFIG* settings = GetIniConfig();
        settings->HotKey = m_nHotKey;
        // Stored and applied also when the key itself is unchanged: switching the key on or off alone
        // must take effect too.
        BOOL enable = FALSE;
        if (ReadCheckButton(*this, L"enable", enable)) {
            settings->UseHotKey = enable;
            if (g_pMainFrame) g_pMainFrame->SetHotKey(enable);
        }
    }
    CGameWnd::CloseToolWnd(*this);
}
