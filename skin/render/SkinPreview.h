// The skin's windows as the render tool draws them and the paint benchmark times them: the same
// list, in the state in which the client first shows each window, so that a picture compared before
// and after a change and a paint timed are of the same thing.
#pragma once

#include "skin/SkinWnd.h"
#include "skin/SkinWnd2.h"

#include <memory>

namespace skinpreview {

class CPreviewWnd2 : public CSkinWnd2 {
public:
    using CSkinWnd2::CSkinWnd2;
    void OnSkinBtnClick(const SkinButtonInfo&) override {}
};

class CPreviewLayeredWnd : public CSkinWnd {
public:
    using CSkinWnd::CSkinWnd;
    void OnSkinBtnClick(const SkinButtonInfo&) override {}
};

// One window of the skin at a size (0 by 0: its design size); file names its picture.
struct PreviewJob {
    const wchar_t* window;
    int width, height;
    const wchar_t* file;
};

// Every window of the demo skin, plus the game window at 1920 by 1080 to show how it spreads.
inline const PreviewJob kPreviewJobs[] = {
    {L"MAINWND", 0, 0, L"MAINWND"},
    {L"GAMEWND", 0, 0, L"GAMEWND"},
    {L"GAMEWND", 1920, 1080, L"GAMEWND-1920x1080"},
    {L"BOSSWND", 0, 0, L"BOSSWND"},
    {L"CACHEWND", 0, 0, L"CACHEWND"},
    {L"LOCKWND", 0, 0, L"LOCKWND"},
    {L"UNLOCKWND", 0, 0, L"UNLOCKWND"},
    {L"MOREWND", 0, 0, L"MOREWND"},
    {L"SETUPWND", 0, 0, L"SETUPWND"},
    {L"SERVERWND", 0, 0, L"SERVERWND"},
    {L"SELECTWND", 0, 0, L"SELECTWND"},
    {L"UPDATEWND", 0, 0, L"UPDATEWND"},
    {L"VIPWND", 0, 0, L"VIPWND"},
    {L"HOSTWND", 0, 0, L"HOSTWND"},
};

// The login window is the one layered window.
inline bool IsLayered(const wchar_t* window) {
    return CString(window) == L"MAINWND";
}

inline void HideButton(CSkinWndCommon& wnd, const wchar_t* name) {
    CSkinButton* button = nullptr;
    if (wnd.FindButton(name, &button)) button->ShowWindow(SW_HIDE);
}

// Creates the window, puts it in the state in which the client first shows it, sizes it (unless 0 by
// 0) and shows it without activation (only visible buttons are drawn). Null when it cannot be made.
inline std::unique_ptr<CSkinWndCommon> MakePreviewWindow(const PreviewJob& job) {
    const CString name(job.window);
    std::unique_ptr<CSkinWndCommon> wnd;
    if (IsLayered(job.window))
        wnd.reset(new CPreviewLayeredWnd(name));
    else
        wnd.reset(new CPreviewWnd2(name));
    if (!wnd->CreateWnd(nullptr, WS_EX_TOOLWINDOW, WS_POPUP)) return nullptr;
    if (name == L"GAMEWND") {
        HideButton(*wnd, L"vip");
        HideButton(*wnd, L"restore");
        static_cast<CSkinWnd2&>(*wnd).SetSkinText(L"text_username", L"player");
    } else if (name == L"UPDATEWND") {
        static_cast<CSkinWnd2&>(*wnd).SetSkinText(L"text2", L"");
        HideButton(*wnd, L"ok1");
    } else if (name == L"MAINWND") {
        static_cast<CSkinWnd&>(*wnd).ShowImage(L"choose", FALSE);
    }
    if (job.width > 0 && job.height > 0)
        wnd->SetWindowPos(nullptr, 0, 0, job.width, job.height, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    wnd->ShowWindow(SW_SHOWNOACTIVATE);
    return wnd;
}

} // namespace skinpreview
