#include "App.h"

#include "MessageLoop.h"
#include "Wnd.h"

#include <ole2.h>
#include <shobjidl.h>

namespace {

CWinApp* g_pApp = nullptr;
bool g_bOleInitialized = false;

} // namespace

CWinApp::CWinApp(const wchar_t* appName) : m_strAppName(appName) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return m_nExitCode;
}

int CWinApp::Run() {
    m_nExitCode = RunMessageLoop();
    return ExitInstance();
}

BOOL CWinApp::OnCmdMsg(UINT id, int code) {
    if (code == 0 && id == ID_APP_EXIT) {
        OnAppExit();
        return TRUE;
    }
    return FALSE;
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd && m_pMainWnd->GetSafeHwnd()) m_pMainWnd->SendMessage(WM_CLOSE);
}

IMPLEMENT_DYNAMIC(CMFCToolTipCtrl, CToolTipCtrl)

BOOL CContextMenuManager::AddMenu(const wchar_t* name, UINT menuResId) {
    std::unique_ptr<CMenu> menu(new CMenu);
    if (!menu->LoadMenu(menuResId)) return FALSE;
    m_menus[CString(name)] = std::move(menu);
    return TRUE;
}

CWinAppEx::CWinAppEx(BOOL) {}

CWinAppEx::~CWinAppEx() = default;

void CWinAppEx::PreLoadState() {}

void CWinAppEx::LoadState() {
    if (m_bStateLoaded) return;
    m_bStateLoaded = TRUE;
    PreLoadState();
}

BOOL CWinAppEx::InitContextMenuManager() {
    if (!m_pContextMenuManager) m_pContextMenuManager.reset(new CContextMenuManager);
    return TRUE;
}

BOOL CWinAppEx::InitKeyboardManager() {
    if (!m_pKeyboardManager) m_pKeyboardManager.reset(new CKeyboardManager);
    return TRUE;
}

BOOL CWinAppEx::InitTooltipManager() {
    if (!m_pTooltipManager) m_pTooltipManager.reset(new CTooltipManager);
    return TRUE;
}

void CWinAppEx::SetAppID(const wchar_t* appId) {
    // Taken by the taskbar to group the program's windows; a failure changes nothing else.
    if (appId && *appId) SetCurrentProcessExplicitAppUserModelID(appId);
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    if (!app->InitInstance()) {
        // The main window goes first; a frame deletes itself when its window is destroyed.
        if (app->m_pMainWnd && app->m_pMainWnd->GetSafeHwnd()) app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}

BOOL AfxOleInit() {
    if (g_bOleInitialized) return TRUE;
    const HRESULT hr = OleInitialize(nullptr);
    if (FAILED(hr)) return FALSE;
    g_bOleInitialized = true;
    return TRUE;
}

void AfxOleTerm(BOOL justRevoke) {
    if (justRevoke || !g_bOleInitialized) return;
    g_bOleInitialized = false;
    OleUninitialize();
}

void AfxEnableControlContainer() {}
