// The system controls the client's windows use, as CWnd objects: an edit box and a list box.
#pragma once

#include "Wnd.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // At most count characters can be typed (0: the system's maximum).
    void LimitText(int count);
};

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // The index of the new item, or LB_ERR / LB_ERRSPACE.
    int AddString(const wchar_t* text);
    int SetItemData(int index, DWORD_PTR data);
    // LB_ERR (as a number) for an index outside the list.
    DWORD_PTR GetItemData(int index) const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetCount() const;
    CString GetText(int index) const;
};
