// The check buttons of the tool windows: each shows a setting from the moment its window is created
// and hands its state back when the window's "ok" stores it. A button without the skin's check flag is
// never set and reads as unchecked.
#pragma once

#include "skin/SkinWndCommon.h"

// Shows the state on the window's check button of that name, when it has one.
inline void SetCheckButton(CSkinWndCommon& wnd, const wchar_t* name, BOOL checked) {
    CSkinButton* button = nullptr;
    if (!wnd.FindButton(name, &button) || !button->GetInfo().check) return;
    button->m_bChecked = checked ? TRUE : FALSE;
    button->UpdateStateImage();
}

// FALSE when the window has no button of that name; otherwise checked takes the button's state.
inline BOOL ReadCheckButton(CSkinWndCommon& wnd, const wchar_t* name, BOOL& checked) {
    CSkinButton* button = nullptr;
    if (!wnd.FindButton(name, &button)) return FALSE;
    checked = button->GetInfo().check && button->m_bChecked ? TRUE : FALSE;
    return TRUE;
}
