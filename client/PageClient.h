// IPageClient: the one place where a browser view's page events and window.external calls go. The
// main frame installs the page-to-client rules here; until it does, every event is ignored and no
// view is the game view.
#pragma once

#include "framework/String.h"

#include <windows.h>

class CIEView;

class IPageClient {
public:
    // The game window, or null while there is none.
    virtual HWND GetGameWindow() = 0;

    // Browser events; setting *cancel to TRUE cancels the navigation or the new window.
    virtual void BeforeNavigate2(CIEView& view, const CString& url, BOOL* cancel) = 0;
    virtual void DocumentComplete(CIEView& view, const CString& url) = 0;
    virtual void NavigateComplete2(CIEView& view, const CString& url) = 0;
    virtual void NewWindow3(CIEView& view, const CString& url, BOOL* cancel) = 0;

    // window.external methods called by page script.
    virtual void GetNewMsg(CIEView& view) = 0;
    virtual void GetGsName(CIEView& view, const CString& name) = 0;
    virtual void GameFullScreen(CIEView& view) = 0;

protected:
    ~IPageClient() = default;
};

// The installed rules (not owned), or null.
IPageClient* GetPageClient();
void SetPageClient(IPageClient* client);
