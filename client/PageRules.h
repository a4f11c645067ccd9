// CPageRules: what the operator's pages can make the client do, through any browser view: the
// navigation verbs ("app://minimize|", "app://exitgame|", "app://loadgame|"), login and game
// addresses, the sentinel pages "about:blank2" and "about:blank3", new windows, and the
// window.external methods. The main frame installs one for the life of its window.
#pragma once

#include "client/PageClient.h"

class CMainFrame;

class CPageRules : public IPageClient {
public:
    explicit CPageRules(CMainFrame* frame) : m_pFrame(frame) {}
    virtual ~CPageRules() = default;

    HWND GetGameWindow() override;
    void BeforeNavigate2(CIEView& view, const CString& url, BOOL* cancel) override;
    void DocumentComplete(CIEView& view, const CString& url) override;
    void NavigateComplete2(CIEView& view, const CString& url) override;
    void NewWindow3(CIEView& view, const CString& url, BOOL* cancel) override;
    void GetNewMsg(CIEView& view) override;
    void GetGsName(CIEView& view, const CString& name) override;
    void GameFullScreen(CIEView& view) override;

    // TRUE when text occurs in url and its first occurrence does not begin it (an empty text never).
    static BOOL FoundAfterStart(const CString& url, const CString& text);

private:
    // The user-info request for a page of the view: the reply goes to the frame.
    void RequestUserInfo(CIEView& view);

    CMainFrame* m_pFrame;
};
