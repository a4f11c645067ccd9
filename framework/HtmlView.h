// CHtmlView: a child window holding the system web-browser control, in place, filling its client area.
//
// The view owns four COM objects that the control (and any page in it) may keep referencing after the
// view is gone: the control site, the DWebBrowserEvents2 sink, and the window.external dispatch
// object. The view detaches each when it tears the control down (the dispatch object at the latest in
// the destructor), so a late call fails with E_UNEXPECTED instead of reaching a dead view. Teardown
// order: unadvise the sink, deactivate and close the control, take away its client site, release.
//
// Event arguments and window.external arguments are read only through CDispArgs: the same handlers
// serve the control and page script, and script may pass anything.
#pragma once

#include "framework/BrowserEventSink.h"
#include "framework/ComRef.h"
#include "framework/DispatchTable.h"
#include "framework/OleControlSite.h"
#include "framework/Wnd.h"

#include <exdisp.h>
#include <mshtmhst.h>

#include <memory>

class CHtmlView : public CWnd, protected CDispatchHandler, protected CBrowserEventHandler {
    DECLARE_DYNAMIC(CHtmlView)

public:
    CHtmlView();
    ~CHtmlView() override;

    // Creates the view window and the browser control in it; without a class name the view gets a
    // plain window class of its own.
    BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                CWnd* parent, UINT id) override;

    // The control's automation interface (null while there is no control).
    IWebBrowser2* GetBrowser() const { return m_pBrowserApp.Get(); }
    // The control's own window (null while there is no control).
    HWND GetBrowserWindow() const;

    // Hands key messages for the view or its children to the control (its in-place accelerators).
    BOOL PreTranslateMessage(MSG* msg) override;

    // The view's automation object (window.external for views that enable automation); null when
    // automation is off.
    IDispatch* GetIDispatch(BOOL addRef);

    // Host overridables, called by the control site's user-interface handler. The defaults let the
    // browser do as it would without a host.
    virtual HRESULT OnShowContextMenu(DWORD id, LPPOINT point, LPUNKNOWN commandTarget, LPDISPATCH reserved);
    virtual HRESULT OnGetHostInfo(DOCHOSTUIINFO* info);
    virtual HRESULT OnShowUI(DWORD id, LPOLEINPLACEACTIVEOBJECT activeObject,
                             LPOLECOMMANDTARGET commandTarget, LPOLEINPLACEFRAME frame,
                             LPOLEINPLACEUIWINDOW doc);
    virtual HRESULT OnHideUI();
    virtual HRESULT OnUpdateUI();
    virtual HRESULT OnEnableModeless(BOOL enable);
    virtual HRESULT OnDocWindowActivate(BOOL activate);
    virtual HRESULT OnFrameWindowActivate(BOOL activate);
    virtual HRESULT OnResizeBorder(LPCRECT border, LPOLEINPLACEUIWINDOW uiWindow, BOOL frameWindow);
    virtual HRESULT OnGetOptionKeyPath(LPOLESTR* key, DWORD reserved);
    virtual HRESULT OnGetDropTarget(LPDROPTARGET dropTarget, LPDROPTARGET* replacement);
    virtual HRESULT OnGetExternal(LPDISPATCH* dispatch);
    virtual HRESULT OnTranslateUrl(DWORD translate, OLECHAR* urlIn, OLECHAR** urlOut);
    virtual HRESULT OnFilterDataObject(LPDATAOBJECT dataObject, LPDATAOBJECT* replacement);

    // Makes the client site for the control; a derived view may give its own. The container owns the
    // site (one reference). FALSE when no site could be made.
    virtual BOOL CreateControlSite(COleControlContainer* container, COleControlSite** site, UINT id,
                                   REFCLSID clsid);

    // Event reflectors: called with checked arguments (never null pointers). The defaults read the
    // values and call the overridables below.
    virtual void BeforeNavigate2(LPDISPATCH disp, VARIANT* url, VARIANT* flags, VARIANT* targetFrameName,
                                 VARIANT* postData, VARIANT* headers, VARIANT_BOOL* cancel);
    virtual void DocumentComplete(LPDISPATCH disp, VARIANT* url);

    virtual void OnBeforeNavigate2(const wchar_t* url, DWORD flags, const wchar_t* targetFrameName,
                                   const wchar_t* headers, BOOL* cancel);
    virtual void OnDocumentComplete(const wchar_t* url);
    virtual void OnNavigateComplete2(const wchar_t* url);
    virtual void OnTitleChange(const wchar_t* title);

protected:
    // The dispatch map: entries of the view's automation object, none by default.
    virtual const DispatchEntry* GetDispatchMap(size_t* count) const;
    // Makes the automation object from the dispatch map (call from the constructor of a derived view).
    void EnableAutomation();
    HRESULT InvokeEntry(DISPID id, DISPPARAMS* params, VARIANT* result, UINT* argErr) override;
    // The event map: the base handles BeforeNavigate2, NavigateComplete2, DocumentComplete and
    // TitleChange; a derived view handles more and passes the rest on.
    void OnBrowserEvent(DISPID id, DISPPARAMS* params) override;

    // Check the arguments of a BeforeNavigate2 or DocumentComplete call (from the control or from
    // script), then call the reflector with values of the view's own.
    HRESULT FireBeforeNavigate2(DISPPARAMS* params, UINT* argErr);
    HRESULT FireDocumentComplete(DISPPARAMS* params, UINT* argErr);

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    int OnCreate(LPCREATESTRUCTW cs) override;
    void OnDestroy() override;
    void OnSize(UINT type, int cx, int cy) override;

    // The sink the control was advised of (null while there is no control).
    IDispatch* GetEventSink() const { return m_pSink.Get(); }

    CComRef<IWebBrowser2> m_pBrowserApp;

private:
    BOOL CreateControl();
    void DestroyControl();
    void FitControl();

    std::unique_ptr<COleControlContainer> m_pCtrlCont;
    CComRef<COleControlSite> m_pSite; // the container's reference
    CComRef<IOleObject> m_pOleObject;
    CComRef<IOleInPlaceObject> m_pInPlaceObject;
    CComRef<IConnectionPoint> m_pEventPoint;
    CComRef<CBrowserEventSink> m_pSink;
    DWORD m_dwEventCookie = 0;
    CComRef<CDispatchTable> m_pDispatch;
};
