// CIEView: the client's browser view. It hosts the control under CDocHostSite, is the page's
// window.external, and hands every page event to the page-to-client rules (IPageClient).
#pragma once

#include "client/ClientMessages.h"
#include "framework/HtmlView.h"

// The control id holders give their view.
constexpr UINT IDC_WEBVIEW = 1000;

class CIEView : public CHtmlView {
    DECLARE_DYNAMIC(CIEView)

public:
    CIEView();
    ~CIEView() override;

    void Navigate(const wchar_t* url);
    CString GetLocationURL();
    // TRUE while this view's window sits directly in the game window.
    BOOL IsGameView();

    // window.external ids.
    enum : DISPID {
        dispidInvokeClient = 1,
        dispidGetNewMsg = 2,
        dispidGetGsName = 3,
        dispidGameFullScreen = 4,
        dispidBeforeNavigate2 = 250,
        dispidDocumentComplete = 259,
    };

    DWORD m_dwDocHostFlags;

protected:
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL CreateControlSite(COleControlContainer* container, COleControlSite** site, UINT id,
                           REFCLSID clsid) override;
    HRESULT OnGetExternal(LPDISPATCH* dispatch) override;
    HRESULT OnGetHostInfo(DOCHOSTUIINFO* info) override;
    void OnNavigateComplete2(const wchar_t* url) override;
    void OnTitleChange(const wchar_t* title) override;
    void BeforeNavigate2(LPDISPATCH disp, VARIANT* url, VARIANT* flags, VARIANT* targetFrameName,
                         VARIANT* postData, VARIANT* headers, VARIANT_BOOL* cancel) override;
    void DocumentComplete(LPDISPATCH disp, VARIANT* url) override;

    // Page script's Invoke_Client with a callback object; nothing here, a hook for derived views.
    virtual void OnInvokeClient(const wchar_t* text, IDispatch* callback);
    virtual void OnNewWindow3(IDispatch** ppDisp, VARIANT_BOOL* cancel, long flags, const wchar_t* urlContext,
                              const wchar_t* url);

    const DispatchEntry* GetDispatchMap(size_t* count) const override;
    HRESULT InvokeEntry(DISPID id, DISPPARAMS* params, VARIANT* result, UINT* argErr) override;
    void OnBrowserEvent(DISPID id, DISPPARAMS* params) override;
    void OnDestroy() override;
};
