// CToolTipCtrl: a tooltip control owned by a window. Tools are rectangles of a window with an id;
// the owner relays its mouse messages with RelayEvent (from PreTranslateMessage). Tip texts are kept
// up to 1023 characters.
#pragma once

#include "Wnd.h"

#include <commctrl.h>

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() = default;

    // A pop-up tooltip window owned by parent, with the given TTS_ styles.
    BOOL Create(CWnd* parent, DWORD style = 0);
    // Adds a tool: the rectangle (client coordinates of wnd) of wnd known by id, showing text.
    BOOL AddTool(CWnd* wnd, const wchar_t* text, LPCRECT rect, UINT_PTR id);
    void DelTool(CWnd* wnd, UINT_PTR id);
    void UpdateTipText(const wchar_t* text, CWnd* wnd, UINT_PTR id);
    // The text of a tool, empty when there is no such tool.
    CString GetText(CWnd* wnd, UINT_PTR id) const;
    int GetToolCount() const;
    void RelayEvent(MSG* msg);
};
