#include "client/PellarApp.h"

#include "client/MainFrame.h"
#include "client/WindowStyles.h"
#include "foundation/Config.h"
#include "foundation/Http.h"
#include "framework/ComRef.h"
#include "framework/MessageBox.h"
#include "res/resource.h"
#include "skin/SkinGdiplus.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <ctime>

namespace {

// The frame's creation style: an overlapped window whose title takes the document name.
constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE;

// Frees what CommandLineToArgvW allocated.
struct CArgv {
    int count = 0;
    LPWSTR* args = nullptr;
    CArgv() { args = CommandLineToArgvW(GetCommandLineW(), &count); }
    ~CArgv() {
        if (args) LocalFree(args);
    }
    CArgv(const CArgv&) = delete;
    CArgv& operator=(const CArgv&) = delete;
};

} // namespace

IMPLEMENT_DYNAMIC(CAboutDlg, CDialogEx)

CAboutDlg::CAboutDlg() : CDialogEx(IDD_ABOUTBOX) {}

CPellarApp::CPellarApp() : CWinAppEx(TRUE) {
    m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
    SetAppID(L"Pellar.AppID.NoVersion");
}

CPellarApp::~CPellarApp() = default;

CString CPellarApp::JoinCommandLine(int argc, const wchar_t* const* argv) {
    CString joined;
    for (int i = 1; i < argc; ++i) {
        const wchar_t* arg = argv[i] ? argv[i] : L"";
        if (*arg == L'-' || *arg == L'/') ++arg;
        joined += arg;
    }
    return joined;
}

CommandLineForm CPellarApp::ParseCommandLine(const CString& joined) {
    CommandLineForm form;
    const int hidden = joined.Find(L"install_hide");
    if (hidden >= 0) {
        form.kind = CommandLineForm::InstallHidden;
        form.value = joined.Mid(hidden + 12);
        return form;
    }
    const int install = joined.Find(L"install");
    if (install >= 0) {
        form.kind = CommandLineForm::Install;
        form.value = joined.Mid(install + 7);
        return form;
    }
    if (joined.Find(L"http://") >= 0) {
        form.kind = CommandLineForm::StartUrl;
        form.value = joined;
    }
    return form;
}

CString CPellarApp::GetJoinedCommandLine() {
    CArgv argv;
    if (!argv.args) return CString();
    return JoinCommandLine(argv.count, argv.args);
}

BOOL CPellarApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    CWinAppEx::InitInstance();

    if (!AfxOleInit()) {
        AfxMessageBox(IDS_OLE_INIT_FAILED, MB_OK);
        return FALSE;
    }
    AfxEnableControlContainer();
    EnableTaskbarInteraction(FALSE);

    InitContextMenuManager();
    InitKeyboardManager();
    InitTooltipManager();
    CMFCToolTipInfo tooltipParams;
    tooltipParams.m_bVislManagerTheme = TRUE;
    GetTooltipManager()->SetTooltipParams(0xFFFF, RUNTIME_CLASS(CMFCToolTipCtrl), &tooltipParams);

    m_com.reset(new CComInitialize);

    // Every window is drawn with GDI+: without it the skin cannot be shown at all.
    m_gdiplus.reset(new CGdiplusSession);
    if (!m_gdiplus->IsOk()) {
        m_gdiplus.reset();
        AfxShowMessageBox(nullptr, kSkinError, nullptr, MB_OK);
        return FALSE;
    }

    srand(static_cast<unsigned>(time(nullptr)));

    const CString joined = GetJoinedCommandLine();

    CMainFrame* frame = new CMainFrame;

    LoadConfigXml();

    const CommandLineForm form = ParseCommandLine(joined);
    if (form.kind == CommandLineForm::StartUrl) frame->m_strCmdUrl = form.value;

    m_pMainWnd = frame;
    frame->m_bInstallHidden = form.kind == CommandLineForm::InstallHidden;
    frame->LoadFrame(IDR_MAINFRAME, kFrameStyle, nullptr, nullptr);
    // A frame whose creation failed has deleted itself (and ended the message loop); one whose window
    // could not even be made is still here, and the client must not run on without a window.
    const bool frameAlive = m_pMainWnd && m_pMainWnd->GetSafeHwnd();
    if (!frameAlive && m_pMainWnd) {
        delete m_pMainWnd;
        m_pMainWnd = nullptr;
    }

    if (form.kind == CommandLineForm::Install || form.kind == CommandLineForm::InstallHidden) {
        const CString url = GetInstallUrl(form.value);
        if (!url.IsEmpty()) HttpGet(url);
    }

    if (form.kind == CommandLineForm::InstallHidden) return FALSE;
    return frameAlive ? TRUE : FALSE;
}

int CPellarApp::ExitInstance() {
    m_com.reset();
    AfxOleTerm(FALSE);
    m_gdiplus.reset();
    return CWinAppEx::ExitInstance();
}

void CPellarApp::PreLoadState() {
    const CString name = AfxLoadString(IDS_EDIT_MENU);
    if (CContextMenuManager* menus = GetContextMenuManager()) menus->AddMenu(name, IDR_POPUP_EDIT);
}

BOOL CPellarApp::OnCmdMsg(UINT id, int code) {
    if (code == 0 && id == ID_APP_ABOUT) {
        OnAppAbout();
        return TRUE;
    }
    return CWinAppEx::OnCmdMsg(id, code);
}

void CPellarApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}
