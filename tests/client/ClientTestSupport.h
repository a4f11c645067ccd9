// The client in-process for tests: GDI+ started, a private profile folder, the demo configuration
// beside this program, message boxes answered and recorded, and a main frame built as start-up builds
// it (the frame deletes itself when its window goes). Also the probe program as the default browser,
// the URL cache seeded and read, and a button record to hand a window's click handler directly.
#pragma once

#include "BrowserTestHost.h"
#include "TempDir.h"

#include "../foundation/ProbeSupport.h"

#include "client/MainFrame.h"
#include "foundation/Config.h"
#include "foundation/Settings.h"
#include "framework/App.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "res/resource.h"
#include "skin/SkinWndCommon.h"

#include <gdiplus.h>
#include <wininet.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};
inline ::testing::Environment* const g_gdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

// A button record carrying just a name, spelt exactly as given: the click helper below always hands
// the handler the skin's own spelling.
inline SkinButtonInfo Button(const wchar_t* name) {
    SkinButtonInfo info;
    info.name = name;
    return info;
}

// A URL cache entry for an address, committed with a small body.
inline void SeedCacheEntry(const wchar_t* url) {
    wchar_t file[MAX_PATH] = {};
    ASSERT_TRUE(CreateUrlCacheEntryW(url, 0, L"swf", file, 0));
    HANDLE h = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, "x", 1, &written, nullptr);
    CloseHandle(h);
    FILETIME none = {};
    ASSERT_TRUE(
        CommitUrlCacheEntryW(url, file, none, none, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr));
}

inline bool InCache(const wchar_t* url) {
    DWORD size = 0;
    GetUrlCacheEntryInfoW(url, nullptr, &size);
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// True when the address is base followed by one "mytime" cache-buster taken at or after the tick
// `since` (the stamp prints the tick count as a signed number).
inline bool FreshlyStamped(const CString& address, const CString& base, DWORD since) {
    const CString prefix = base + (base.Find(L'?') >= 0 ? L"&mytime=" : L"?mytime=");
    if (address.Left(prefix.GetLength()) != prefix) return false;
    const CString digits = address.Mid(prefix.GetLength());
    wchar_t* end = nullptr;
    const long stamp = wcstol(digits, &end, 10);
    if (digits.IsEmpty() || *end) return false;
    return static_cast<DWORD>(stamp) - since <= GetTickCount() - since;
}

// The probe program as the default browser for the life of this object: every address the client
// opens in the browser becomes one line of the probe's log.
class BrowserProbe {
public:
    BrowserProbe() : m_command(L"http\\shell\\open\\command") {
        SetEnvironmentVariableW(L"PELLAR_PROBE_LOG", m_log);
        EXPECT_TRUE(m_command.SetText(L"\"" + GetModuleDir() +
                                      L"\\..\\..\\tools\\installer-probe\\pellar_probe.exe\" \"%1\""));
    }
    ~BrowserProbe() { SetEnvironmentVariableW(L"PELLAR_PROBE_LOG", nullptr); }
    BrowserProbe(const BrowserProbe&) = delete;
    BrowserProbe& operator=(const BrowserProbe&) = delete;

    // The address of the n-th opening (counted from 1) once it has been logged; empty if it never is.
    std::string Opened(size_t n) const {
        const std::string log = WaitForLines(m_log, n);
        size_t start = 0;
        for (size_t line = 1; line < n; ++line) {
            start = log.find('\n', start);
            if (start == std::string::npos) return std::string();
            ++start;
        }
        const size_t bar = log.find('|', start), end = log.find("\r\n", start);
        if (bar == std::string::npos || end == std::string::npos || bar > end) return std::string();
        std::string address = log.substr(bar + 1, end - bar - 1);
        if (address.size() >= 2 && address.front() == '"' && address.back() == '"')
            address = address.substr(1, address.size() - 2);
        return address;
    }

private:
    TempDir m_folder;
    const CString m_log = m_folder / L"browser.txt";
    ScopedClassesValue m_command;
};

// Runs visit inside the loop of the next menu this thread shows, then closes that menu; open opens it
// (and returns once it has closed).
inline std::function<void()> g_menuVisit;
inline void CALLBACK VisitMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu) || !g_menuVisit) return;
    KillTimer(nullptr, timer);
    std::exchange(g_menuVisit, nullptr)();
    EndMenu();
}
inline void InsideMenu(const std::function<void()>& visit, const std::function<void()>& open) {
    g_menuVisit = visit;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &VisitMenu);
    open();
    KillTimer(nullptr, timer);
    g_menuVisit = nullptr;
}
// A menu of a window, as the browser shows its own over a page: top-most, owned by that window.
inline void TrackMenuOf(HWND owner) {
    CMenu menu;
    menu.Attach(CreatePopupMenu());
    AppendMenuW(menu, MF_STRING, 1, L"item");
    menu.TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 200, 200, owner);
}

struct Box {
    CString text, caption;
    UINT type;
    HWND owner;
};

// The program's configuration, a private profile folder, message boxes answered and recorded.
class ClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableW(L"userprofile", m_profile.Path());
        LoadConfigXml(GetModuleDir());
        m_previousBoxes = AfxSetMessageBoxHandler(
            [this](HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
                m_boxes.push_back({text, caption ? caption : L"", type, owner});
                if (m_onBox) m_onBox();
                return m_answer;
            });
    }
    void TearDown() override {
        if (g_pMainFrame) g_pMainFrame->DestroyWindow(); // the frame deletes itself
        AfxSetMessageBoxHandler(m_previousBoxes);
        LoadConfigXml(GetModuleDir());
    }

    CMainFrame* StartFrame(const wchar_t* cmdUrl = L"") {
        auto* frame = new CMainFrame;
        frame->m_strCmdUrl = cmdUrl;
        m_app.m_pMainWnd = frame;
        // On failure the frame has deleted itself.
        return frame->LoadFrame(IDR_MAINFRAME) ? frame : nullptr;
    }
    static void Click(CSkinWndCommon* wnd, const wchar_t* name) {
        CSkinButton* button = nullptr;
        ASSERT_TRUE(wnd->FindButton(name, &button)) << CString(name).ToUtf8();
        button->SendMessage(BM_CLICK);
    }
    static void Pump(DWORD ms = 200) { PumpUntil(nullptr, ms); }

    TempDir m_profile;
    CWinApp m_app;
    std::vector<Box> m_boxes;
    int m_answer = IDOK;
    std::function<void()> m_onBox;
    MessageBoxHandler m_previousBoxes;
};
