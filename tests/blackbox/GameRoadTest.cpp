// The game road from outside: a start address straight into the game window and its close button;
// a login address whose account reply (servers, unlock digest) the client fetches, a game started from
// the server panel, Alt+F4 back to the login window; the screen lock over a running game.
//
// No page can run script here (Wine has no HTML engine), so what a page's link would do is reached
// through the client's own windows instead: with the login window hidden, the boss key shows the empty
// game window, and its server panel's "change" starts the account's last server.
#include "ClientBlackBox.h"

#include <cstdlib>
#include <initializer_list>
#include <string>

using namespace blackbox;

namespace {

constexpr WPARAM kBossHotKeyId = 2001;
constexpr UINT kBossKey = VK_F7; // with Ctrl+Alt; a key no other test program takes
constexpr int kUnlockEditId = 1002;
// The game window's background draws a gold line under its title strip; the lock's cover is near black.
constexpr POINT kGoldLine = {100, 34};
constexpr DWORD kGold = 0xD6AC5C;
constexpr DWORD kLockCover = 0x0A0E18;

// Whether the screen shows this colour (0xRRGGBB, a small tolerance) at a point of the window's client area.
bool ShowsColour(HWND wnd, POINT at, DWORD rgb) {
    CDibSection shot;
    RECT rect = {};
    if (!GetWindowRect(wnd, &rect) || !ClientToScreen(wnd, &at) || !CaptureWindow(wnd, shot)) return false;
    const DWORD pixel = shot.Pixel(at.x - rect.left, at.y - rect.top);
    for (int shift = 0; shift < 24; shift += 8) {
        if (abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((rgb >> shift) & 0xFF)) > 12)
            return false;
    }
    return true;
}

bool SameRect(HWND a, HWND b) {
    RECT ra = {}, rb = {};
    return GetWindowRect(a, &ra) && GetWindowRect(b, &rb) && EqualRect(&ra, &rb);
}

class GameRoad : public ClientBlackBox {
protected:
    // The account's user-info reply names one server whose id is this case's tag, so the game address
    // of that server carries the tag into the stand-in's log; the signed request carries it too.
    void SetUp() override {
        ClientBlackBox::SetUp();
        if (HasFatalFailure()) return;
        m_tag = service::Tag(L"road");
        const CString userInfo = service::Url(L"/api/userinfo?sid=%s&amp;sign=%s&amp;servers=") + m_tag;
        ASSERT_TRUE(m_folder.SetConfigValue("userInfoUrl", userInfo.ToUtf8()));
        ASSERT_TRUE(
            m_folder.SetConfigValue("userInfoApi", (service::Url(L"/api/userpwd?tag=") + m_tag).ToUtf8()));
    }

    // The number of logged requests of this case to the path whose query holds every part.
    size_t CountRequests(const char* path, std::initializer_list<const char*> parts = {}) const {
        size_t count = 0;
        for (const Json::Value& entry : service::Requests(m_tag)) {
            bool all = entry["path"].asString() == path;
            for (const char* part : parts)
                all = all && entry["query"].asString().find(part) != std::string::npos;
            count += all ? 1 : 0;
        }
        return count;
    }

    // Starts the client with the boss key switched on in its settings, as a player sets it, and waits
    // until the signed account request has reached the stand-in: the client has the user-info reply
    // and is fetching the unlock digest, on its window thread, so what is posted to it later is handled
    // after that.
    bool StartWithAccount(const std::vector<CString>& arguments = {}) {
        const std::string settings = "[Config]\r\nUseHotKey=1\r\nHotKey=" + std::to_string(kBossKey) + "\r\n";
        return WriteBytes(m_folder.File(L"config.ini"), settings) && StartClient(arguments) &&
               WaitUntil(kStartMs,
                         [this] { return CountRequests("/api/userpwd") > 0 || !m_client.IsRunning(); }) &&
               m_client.IsRunning() && CountRequests("/api/userinfo") > 0;
    }

    HWND WaitForShown(const wchar_t* element) {
        HWND wnd = nullptr;
        WaitUntil(kReactMs, [&] {
            wnd = SkinWindow(element);
            return (wnd && IsWindowVisible(wnd)) || !m_client.IsRunning();
        });
        return wnd && IsWindowVisible(wnd) ? wnd : nullptr;
    }

    // With the login window hidden: the boss key shows the empty game window (its first press counts
    // as hiding it), the server panel's "change" starts the account's one server. The game window, or
    // null (with the step that failed) when no game started.
    HWND StartGameFromServerPanel() {
        auto failed = [](const char* step) -> HWND {
            ADD_FAILURE() << "no game: " << step;
            return nullptr;
        };
        HWND game = SkinWindow(L"GAMEWND");
        if (!game) return failed("no game window");
        if (RegisterHotKey(nullptr, 1, MOD_ALT | MOD_CONTROL, kBossKey)) {
            UnregisterHotKey(nullptr, 1);
            return failed("the game window does not hold the boss key");
        }
        // No key injector here: the message the system brings the key's holder at each press.
        const LPARAM keys = MAKELPARAM(MOD_ALT | MOD_CONTROL, kBossKey);
        PostMessageW(game, WM_HOTKEY, kBossHotKeyId, keys);
        PostMessageW(game, WM_HOTKEY, kBossHotKeyId, keys);
        if (WaitForShown(L"GAMEWND") != game) return failed("the boss key did not show the game window");
        PostClick(Button(game, L"GAMEWND", L"server"));
        HWND panel = WaitForShown(L"SERVERWND");
        if (!panel) return failed("no server panel");
        PostClick(Button(panel, L"SERVERWND", L"change"));
        const std::string server = "sid=" + m_tag.ToUtf8();
        if (!WaitUntil(kReactMs, [&] { return CountRequests("/game", {server.c_str(), "&mytime="}) > 0; }))
            return failed("the server's game address was not requested");
        // The browser view has moved in beside the skin's buttons.
        if (!WaitUntil(kReactMs,
                       [&] { return ChildWindows(game).size() > ChildWindows(game, L"Button").size(); }))
            return failed("the view did not move into the game window");
        return WaitForShown(L"GAMEWND") == game ? game : failed("the game window is not shown");
    }

    // Keeps a picture of the game window as the player sees it, once the skin shows on screen.
    void ExpectGameShown(HWND game, const wchar_t* what) {
        EXPECT_TRUE(WaitUntil(kReactMs, [&] { return ShowsColour(game, kGoldLine, kGold); }));
        CDibSection shot;
        if (CaptureWindow(game, shot)) SaveShot(shot, what);
    }

    CString m_tag;
};

TEST_F(GameRoad, StartAddressOpensTheGameWhoseCloseButtonEndsTheClient) {
    ASSERT_TRUE(StartClient({service::Url(L"/game?sid=1&tag=") + m_tag}));
    HWND game = WaitForShown(L"GAMEWND");
    ASSERT_TRUE(game);
    EXPECT_TRUE(WaitUntil(kReactMs, [&] { return CountRequests("/game", {"sid=1&", "&mytime="}) > 0; }));
    HWND login = m_client.FindWindow(m_imClass);
    ASSERT_TRUE(login);
    EXPECT_FALSE(IsWindowVisible(login));
    ExpectGameShown(game, L"game");

    HWND close = Button(game, L"GAMEWND", L"close");
    ASSERT_TRUE(close);
    ExpectQuestionThenQuit(close, L"此操作将退出游戏，是否继续？",
                           ReadConfigValue(m_folder.Path(), L"gsClientAbout"), game);
}

TEST_F(GameRoad, LoginHomePageLeadsThroughTheServerPanelToAGameAndAltF4BackToLogin) {
    ASSERT_TRUE(m_folder.SetConfigValue("homeUrl", (service::Url(L"/login?tag=") + m_tag).ToUtf8()));
    ASSERT_TRUE(StartWithAccount());
    HWND frame = m_client.FindWindow(kFrameClass);
    HWND login = WaitForLoginWindow();
    ASSERT_TRUE(login);
    ASSERT_TRUE(PostClick(Button(login, L"MAINWND", L"min")));
    ASSERT_TRUE(WaitUntil(kReactMs, [&] { return !IsWindowVisible(login); }));
    HWND game = StartGameFromServerPanel();
    ASSERT_TRUE(game);
    ExpectGameShown(game, L"game");

    // Alt+F4 leaves the game without the question; the login window comes back on the home page.
    ASSERT_TRUE(PostMessageW(game, WM_CLOSE, 0, 0));
    EXPECT_TRUE(WaitUntil(kReactMs, [&] { return !IsWindow(game) && IsWindowVisible(login); }));
    EXPECT_TRUE(WaitUntil(kReactMs, [&] { return CountRequests("/login") >= 2; }));
    EXPECT_FALSE(m_client.WaitForWindow(kDialogClass, 0, true));
    EXPECT_EQ(1, Ping(frame));
}

TEST_F(GameRoad, LockCoversTheGameUntilTheAccountPasswordIsTyped) {
    ASSERT_TRUE(StartWithAccount({service::Url(L"/login?tag=") + m_tag}));
    HWND game = StartGameFromServerPanel();
    ASSERT_TRUE(game);
    ASSERT_TRUE(PostClick(Button(game, L"GAMEWND", L"lock")));

    // The lock window is owned by the game window and holds the unlock panel with its password box.
    HWND lock = nullptr, edit = nullptr;
    ASSERT_TRUE(WaitUntil(kReactMs, [&] {
        for (HWND wnd : TopLevelWindows(m_client.Id())) {
            if (GetWindow(wnd, GW_OWNER) != game || !IsWindowVisible(wnd)) continue;
            for (HWND child : ChildWindows(wnd)) {
                if ((edit = GetDlgItem(child, kUnlockEditId)) != nullptr) {
                    lock = wnd;
                    return IsWindowVisible(child) != FALSE;
                }
            }
        }
        return false;
    }));
    // The client is still at work when the window appears: wait for the whole of the lock.
    EXPECT_TRUE(WaitUntil(kReactMs, [&] { return SameRect(lock, game) && !IsWindowEnabled(game); }));
    EXPECT_TRUE(WaitUntil(kReactMs, [&] { return ShowsColour(game, kGoldLine, kLockCover); }));
    CDibSection shot;
    if (CaptureWindow(game, shot)) SaveShot(shot, L"locked");

    ASSERT_TRUE(PostChars(edit, L"654321"));
    ASSERT_TRUE(PostKey(edit, VK_RETURN));
    MessageBoxInfo box = m_client.WaitForMessageBox(kReactMs);
    ASSERT_TRUE(box.box);
    EXPECT_EQ(CString(L"密码错误！"), box.text);
    EXPECT_EQ(CString(L"错误"), box.caption);
    ASSERT_TRUE(PressDialogButton(box.box, IDOK));
    ASSERT_TRUE(WaitUntil(kReactMs, [&] { return !IsWindow(box.box); }));
    EXPECT_TRUE(IsWindowVisible(lock));
    EXPECT_FALSE(IsWindowEnabled(game));

    // The password whose digest the account's signed reply carried.
    ASSERT_TRUE(PostMessageW(edit, EM_SETSEL, 0, -1));
    ASSERT_TRUE(PostChars(edit, L"123456"));
    ASSERT_TRUE(PostKey(edit, VK_RETURN));
    EXPECT_TRUE(WaitUntil(kReactMs, [&] { return !IsWindowVisible(lock) && IsWindowEnabled(game); }));
    EXPECT_FALSE(m_client.WaitForWindow(kDialogClass, 0, true));
    EXPECT_TRUE(WaitUntil(kReactMs, [&] { return ShowsColour(game, kGoldLine, kGold); }));
}

} // namespace
