// How the client's windows are made, and the texts and manner of its start-up and quit boxes: one
// value each.
#pragma once

#include <windows.h>

// The login and game windows: top-level pop-ups with a taskbar button and a system menu.
constexpr DWORD kTopStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kTopExStyle = WS_EX_APPWINDOW;
// The tool windows the game window and the frame lay over the game: owned pop-ups, shown at creation.
constexpr DWORD kToolStyle = WS_POPUP | WS_VISIBLE;
// The chat and host pop-ups: tool windows of their own on the taskbar.
constexpr DWORD kWebPopupExStyle = WS_EX_APPWINDOW | WS_EX_TOOLWINDOW;
// A change of z-order or band only: the window keeps its place, size and activation.
constexpr UINT kRestackOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
// The quit questions: OK/Cancel, Cancel preselected, above every window.
constexpr UINT kQuitBoxType = MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SYSTEMMODAL;

// Shown when the skin cannot be loaded or its windows cannot be made; start-up ends.
inline constexpr wchar_t kSkinError[] = L"加载皮肤出错，请重新安装";
