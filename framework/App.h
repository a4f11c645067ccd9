// The application object in the class library's manner: one global object derived from CWinApp (or
// CWinAppEx) registers itself on construction; the program's entry calls AfxWinMain, which runs its
// InitInstance, the message loop while InitInstance said TRUE, and ExitInstance. Commands that no
// window takes end at the application (ID_APP_EXIT closes the main window).
#pragma once

#include "Menu.h"
#include "String.h"
#include "ToolTipCtrl.h"

#include <windows.h>

#include <map>
#include <memory>

class CWnd;

// Commands every application knows.
constexpr UINT ID_APP_ABOUT = 0xE140;
constexpr UINT ID_APP_EXIT = 0xE141;
constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_RESTART = 0x01;

class CWinApp {
public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // TRUE: run the message loop; FALSE: end at once (the main window, if any, is destroyed).
    virtual BOOL InitInstance();
    // The exit code of the process.
    virtual int ExitInstance();
    // The message loop, then ExitInstance.
    virtual int Run();
    // A command that no window took; TRUE when handled.
    virtual BOOL OnCmdMsg(UINT id, int code);

    // Closes the main window (ID_APP_EXIT).
    void OnAppExit();

    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;
    DWORD m_dwRestartManagerSupportFlags = 0;

protected:
    int m_nExitCode = 0;
};

// What the feature pack's managers keep; nothing of them draws here.
struct CMFCToolTipInfo {
    BOOL m_bVislManagerTheme = FALSE;
};

class CMFCToolTipCtrl : public CToolTipCtrl {
    DECLARE_DYNAMIC(CMFCToolTipCtrl)
};

// Menus registered by name for context menus.
class CContextMenuManager {
public:
    BOOL AddMenu(const wchar_t* name, UINT menuResId);

private:
    std::map<CString, std::unique_ptr<CMenu>> m_menus;
};

// Which tooltip control each kind of tooltip uses.
class CTooltipManager {
public:
    // The program's tooltips are the plain control: nothing here depends on these.
    void SetTooltipParams(UINT types, const CRuntimeClass* tooltipClass, const CMFCToolTipInfo* params) {}
};

class CKeyboardManager {};

class CWinAppEx : public CWinApp {
public:
    explicit CWinAppEx(BOOL resourceSmartUpdate = FALSE);
    ~CWinAppEx() override;

    // Called when the main frame loads, before the state of the managers is used.
    virtual void PreLoadState();
    void LoadState();

    BOOL InitContextMenuManager();
    BOOL InitKeyboardManager();
    BOOL InitTooltipManager();
    CContextMenuManager* GetContextMenuManager() const { return m_pContextMenuManager.get(); }
    CTooltipManager* GetTooltipManager() const { return m_pTooltipManager.get(); }

    // Taskbar previews are not offered either way.
    void EnableTaskbarInteraction(BOOL enable) {}
    // The application user-model id of the process.
    void SetAppID(const wchar_t* appId);

private:
    std::unique_ptr<CContextMenuManager> m_pContextMenuManager;
    std::unique_ptr<CTooltipManager> m_pTooltipManager;
    std::unique_ptr<CKeyboardManager> m_pKeyboardManager;
    BOOL m_bStateLoaded = FALSE;
};

// The application object of the process, or null.
CWinApp* AfxGetApp();

// The program's entry: InitInstance, then the message loop and ExitInstance.
int AfxWinMain();

// OLE for the user-interface thread.
BOOL AfxOleInit();
void AfxOleTerm(BOOL justRevoke = FALSE);
// Browser controls are hosted by the view classes; nothing more to switch on.
void AfxEnableControlContainer();
