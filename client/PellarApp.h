// CPellarApp: the client's application object. InitInstance prepares the process (common controls,
// OLE, COM, GDI+), reads the command line and the configuration, and loads the hidden main frame,
// whose creation builds the client; with "install" or "install_hide" it sends the installation report.
#pragma once

#include "framework/App.h"
#include "framework/Dialog.h"

#include <windows.h>

#include <memory>

class CComInitialize;
class CGdiplusSession;

// What the command line asks for.
struct CommandLineForm {
    enum Kind { None, Install, InstallHidden, StartUrl } kind = None;
    CString value; // the installation report's value, or the start URL
};

class CPellarApp : public CWinAppEx {
public:
    CPellarApp();
    ~CPellarApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    void PreLoadState() override;
    BOOL OnCmdMsg(UINT id, int code) override;

    void OnAppAbout();

    // The arguments after the program name joined: each loses one leading "-" or "/".
    static CString JoinCommandLine(int argc, const wchar_t* const* argv);
    // The first form the joined text matches.
    static CommandLineForm ParseCommandLine(const CString& joined);
    // The process's own arguments, joined.
    static CString GetJoinedCommandLine();

private:
    // COM and GDI+ from InitInstance until ExitInstance.
    std::unique_ptr<CComInitialize> m_com;
    std::unique_ptr<CGdiplusSession> m_gdiplus;
};

class CAboutDlg : public CDialogEx {
    DECLARE_DYNAMIC(CAboutDlg)
public:
    CAboutDlg();
};
