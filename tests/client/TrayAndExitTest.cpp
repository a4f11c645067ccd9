// The tray icon as the frame hands it to the shell, its removal on the way out, and what a click on it
// or its menu brings back. The client's code is linked into this program, so its calls to the shell go
// through this program's own import table: the test swaps that one entry for a recorder that passes
// every call on.
#include "ClientTestSupport.h"

#include "client/ClientMessages.h"
#include "client/GameWnd.h"
#include "client/HtmlWnd.h"

#include <shellapi.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

// Puts replacement into this program's import-table slot of the imported function original while it
// lives; Active() is false when no slot holds it.
class CImportSwap {
public:
    CImportSwap(const void* original, const void* replacement) {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
        auto* slots = reinterpret_cast<ULONG_PTR*>(base + table.VirtualAddress);
        for (size_t i = 0; i < table.Size / sizeof(ULONG_PTR); ++i) {
            if (slots[i] == reinterpret_cast<ULONG_PTR>(original)) {
                m_slot = &slots[i];
                m_original = slots[i];
                Write(reinterpret_cast<ULONG_PTR>(replacement));
                break;
            }
        }
    }
    ~CImportSwap() {
        if (m_slot) Write(m_original);
    }
    CImportSwap(const CImportSwap&) = delete;
    CImportSwap& operator=(const CImportSwap&) = delete;
    bool Active() const { return m_slot != nullptr; }
    const void* Original() const { return reinterpret_cast<const void*>(m_original); }

private:
    void Write(ULONG_PTR value) {
        DWORD old = 0;
        VirtualProtect(m_slot, sizeof(*m_slot), PAGE_READWRITE, &old);
        *m_slot = value;
        VirtualProtect(m_slot, sizeof(*m_slot), old, &old);
    }
    ULONG_PTR* m_slot = nullptr;
    ULONG_PTR m_original = 0;
};

struct TrayCall {
    DWORD message;
    HWND wnd;
    UINT id, flags, callback;
    HICON icon;
    CString tip;
};
std::vector<TrayCall> g_trayCalls;
// The shell's own function: calls by name, here too, go through the swapped slot.
decltype(&Shell_NotifyIconW) g_shellNotifyIcon = nullptr;

BOOL WINAPI RecordTrayCall(DWORD message, PNOTIFYICONDATAW data) {
    g_trayCalls.push_back({message, data->hWnd, data->uID, data->uFlags, data->uCallbackMessage, data->hIcon,
                           (data->uFlags & NIF_TIP) ? CString(data->szTip) : CString()});
    return g_shellNotifyIcon(message, data);
}

class TrayTest : public ClientTest {
protected:
    void SetUp() override {
        ClientTest::SetUp();
        g_trayCalls.clear();
        ASSERT_TRUE(m_swap.Active()) << "no import-table slot of Shell_NotifyIconW";
        g_shellNotifyIcon = reinterpret_cast<decltype(&Shell_NotifyIconW)>(m_swap.Original());
    }

    // Chooses the tray menu's item at that many steps down from no selection, as the keyboard does.
    static void ChooseFromTrayMenu(CMainFrame* frame, int steps) {
        // The menu's own loop reads the keys from this thread's queue once it runs.
        for (int i = 0; i < steps; ++i)
            PostKey(frame->GetSafeHwnd(), VK_DOWN);
        PostKey(frame->GetSafeHwnd(), VK_RETURN);
        frame->SendMessage(WM_TRAYNOTIFY, 0, WM_RBUTTONDOWN);
    }
    static void PostKey(HWND wnd, UINT key) {
        const LPARAM down = 1 | (static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16);
        PostMessageW(wnd, WM_KEYDOWN, key, down);
        PostMessageW(wnd, WM_KEYUP, key, down | (1u << 30) | (1u << 31));
    }

    CImportSwap m_swap{reinterpret_cast<const void*>(&Shell_NotifyIconW),
                       reinterpret_cast<const void*>(&RecordTrayCall)};
};

TEST_F(TrayTest, IconCarriesTheTitleCutToItsFieldAndGoesWithTheExitCommand) {
    // Longer than the tip's 128 units, with one character in the 127th and 128th.
    g_strUserClientAbout = CString(L'游', 126) + L"\xD83D\xDE00" + L"tail";
    CMainFrame* frame = StartFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(1u, g_trayCalls.size());
    const TrayCall added = g_trayCalls[0];
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), added.message);
    EXPECT_EQ(frame->GetSafeHwnd(), added.wnd);
    EXPECT_EQ(static_cast<UINT>(frame->m_nTrayId + IDI_APP_ICON), added.id);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), added.flags);
    EXPECT_EQ(WM_TRAYNOTIFY, added.callback);
    EXPECT_NE(nullptr, added.icon);
    EXPECT_EQ(GetAppTitle().Left(126).ToUtf8(), added.tip.ToUtf8());

    frame->PostMessage(WM_COMMAND, ID_APP_EXIT);
    Pump();
    EXPECT_EQ(nullptr, g_pMainFrame);
    ASSERT_EQ(2u, g_trayCalls.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), g_trayCalls[1].message);
    EXPECT_EQ(added.wnd, g_trayCalls[1].wnd);
    EXPECT_EQ(added.id, g_trayCalls[1].id);
}

TEST_F(TrayTest, ClickAndShowMainItemBringBackTheGameDuringAGameElseTheLoginWindow) {
    CMainFrame* frame = StartFrame();
    ASSERT_NE(frame, nullptr);
    CHtmlWnd* login = frame->m_pMainHtmlWnd;
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"click", [&] { frame->SendMessage(WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN); }},
        {"menu", [&] { ChooseFromTrayMenu(frame, 1); }}, // "显示主界面"
    };
    for (const auto& [way, bringBack] : ways) {
        login->ShowSkinWnd(FALSE);
        bringBack();
        EXPECT_TRUE(login->IsWindowVisible()) << way;
    }

    frame->StartGame(L"http://127.0.0.1:1/game?sid=5");
    ASSERT_TRUE(frame->m_bInGame);
    CGameWnd* game = frame->m_pGameWnd;
    for (const auto& [way, bringBack] : ways) {
        game->ShowSkinWnd(FALSE);
        bringBack();
        EXPECT_TRUE(game->IsWindowVisible()) << way;
        EXPECT_FALSE(login->IsWindowVisible()) << way;
    }
    EXPECT_EQ(g_pMainFrame, frame); // neither way quits
}

} // namespace
