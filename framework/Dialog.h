// CDialog: a modal dialog from a dialog template of the program's resources. The object is bound to
// the dialog window while DoModal runs; OK and Cancel end it.
#pragma once

#include "Wnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Runs the dialog until it ends; its result (IDOK, IDCANCEL), or -1 when it could not be shown.
    virtual INT_PTR DoModal();
    void EndDialog(INT_PTR result);

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL OnCmdMsg(UINT id, int code) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_nTemplateId;
    CWnd* m_pParentWnd;
};

// The feature pack's dialog: the same here.
class CDialogEx : public CDialog {
    DECLARE_DYNAMIC(CDialogEx)
public:
    explicit CDialogEx(UINT templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}
};
