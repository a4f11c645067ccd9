// CDocHostSite: the control site under every browser control of the client. It adds the host
// interfaces the browser asks its client site for, as parts that share the site's reference count
// and interface lookup: user-interface callbacks go to the view's host overridables, script and
// ActiveX actions are allowed, script errors are swallowed, and the site offers itself as the
// browser's security manager. Once the view is gone (Detach) the calls that would reach it fail
// with E_UNEXPECTED; the fixed answers stay as they are.
#pragma once

#include "framework/HtmlView.h"
#include "framework/OleControlSite.h"

#include <docobj.h>
#include <mshtmhst.h>
#include <servprov.h>
#include <urlmon.h>

class CDocHostSite : public COleControlSite {
public:
    explicit CDocHostSite(COleControlContainer* container);

    void Detach() override;

    CHtmlView* m_pView = nullptr;

protected:
    ~CDocHostSite() override = default;
    IUnknown* GetInterfaceFromMap(REFIID riid) override;

private:
    // Each part answers QueryInterface, AddRef and Release through the site.
#define DOCHOST_PART_IUNKNOWN                                                                                \
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {                             \
        return m_pThis->ExternalQueryInterface(riid, ppv);                                                   \
    }                                                                                                        \
    ULONG STDMETHODCALLTYPE AddRef() override {                                                              \
        return m_pThis->ExternalAddRef();                                                                    \
    }                                                                                                        \
    ULONG STDMETHODCALLTYPE Release() override {                                                             \
        return m_pThis->ExternalRelease();                                                                   \
    }                                                                                                        \
    CDocHostSite* m_pThis = nullptr;

    struct XDocHostShowUI : IDocHostShowUI {
        DOCHOST_PART_IUNKNOWN
        HRESULT STDMETHODCALLTYPE ShowMessage(HWND, LPOLESTR, LPOLESTR, DWORD, LPOLESTR, DWORD,
                                              LRESULT*) override;
        HRESULT STDMETHODCALLTYPE ShowHelp(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*) override;
    } m_xDocHostShowUI;

    struct XDocHostUIHandler : IDocHostUIHandler {
        DOCHOST_PART_IUNKNOWN
        HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD id, POINT* pt, IUnknown* target,
                                                  IDispatch* reserved) override;
        HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override;
        HRESULT STDMETHODCALLTYPE ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target,
                                         IOleInPlaceFrame* frame, IOleInPlaceUIWindow* doc) override;
        HRESULT STDMETHODCALLTYPE HideUI() override;
        HRESULT STDMETHODCALLTYPE UpdateUI() override;
        HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;
        HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
        HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
        HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                                               BOOL frame) override;
        HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg, const GUID* group, DWORD id) override;
        HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
        HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget* target, IDropTarget** replacement) override;
        HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** dispatch) override;
        HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD translate, LPWSTR in, LPWSTR* out) override;
        HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject* in, IDataObject** out) override;
    } m_xDocHostUIHandler;

    struct XDocHostUIHandler2 : IDocHostUIHandler2 {
        DOCHOST_PART_IUNKNOWN
        // S_FALSE still counts as success to a caller: never leave it an uninitialised pointer.
        template <class T> static HRESULT NoResult(T** out) {
            if (out) *out = nullptr;
            return S_FALSE;
        }
        HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override {
            return S_FALSE;
        }
        HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO*) override { return S_FALSE; }
        HRESULT STDMETHODCALLTYPE ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                         IOleInPlaceFrame*, IOleInPlaceUIWindow*) override {
            return S_FALSE;
        }
        HRESULT STDMETHODCALLTYPE HideUI() override { return S_FALSE; }
        HRESULT STDMETHODCALLTYPE UpdateUI() override { return S_FALSE; }
        HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_FALSE; }
        HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_FALSE; }
        HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_FALSE; }
        HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override {
            return S_FALSE;
        }
        HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
        HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* key, DWORD) override { return NoResult(key); }
        HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget*, IDropTarget** target) override {
            return NoResult(target);
        }
        HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** external) override { return NoResult(external); }
        HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override { return NoResult(out); }
        HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject*, IDataObject** out) override {
            return NoResult(out);
        }
        HRESULT STDMETHODCALLTYPE GetOverrideKeyPath(LPOLESTR* key, DWORD) override { return NoResult(key); }
    } m_xDocHostUIHandler2;

    struct XInternetSecurityManager : IInternetSecurityManager {
        DOCHOST_PART_IUNKNOWN
        HRESULT STDMETHODCALLTYPE SetSecuritySite(IInternetSecurityMgrSite*) override {
            return INET_E_DEFAULT_ACTION;
        }
        HRESULT STDMETHODCALLTYPE GetSecuritySite(IInternetSecurityMgrSite**) override {
            return INET_E_DEFAULT_ACTION;
        }
        HRESULT STDMETHODCALLTYPE MapUrlToZone(LPCWSTR, DWORD*, DWORD) override {
            return INET_E_DEFAULT_ACTION;
        }
        HRESULT STDMETHODCALLTYPE GetSecurityId(LPCWSTR, BYTE*, DWORD*, DWORD_PTR) override {
            return INET_E_DEFAULT_ACTION;
        }
        HRESULT STDMETHODCALLTYPE ProcessUrlAction(LPCWSTR url, DWORD action, BYTE* policy, DWORD policySize,
                                                   BYTE* context, DWORD contextSize, DWORD flags,
                                                   DWORD reserved) override;
        HRESULT STDMETHODCALLTYPE QueryCustomPolicy(LPCWSTR, REFGUID, BYTE**, DWORD*, BYTE*, DWORD,
                                                    DWORD) override {
            return INET_E_DEFAULT_ACTION;
        }
        HRESULT STDMETHODCALLTYPE SetZoneMapping(DWORD, LPCWSTR, DWORD) override {
            return INET_E_DEFAULT_ACTION;
        }
        HRESULT STDMETHODCALLTYPE GetZoneMappings(DWORD, IEnumString**, DWORD) override {
            return INET_E_DEFAULT_ACTION;
        }
    } m_xInternetSecurityManager;

    struct XServiceProvider : IServiceProvider {
        DOCHOST_PART_IUNKNOWN
        HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID riid, void** ppv) override;
    } m_xServiceProvider;

    struct XOleCommandTarget : IOleCommandTarget {
        DOCHOST_PART_IUNKNOWN
        HRESULT STDMETHODCALLTYPE QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*) override {
            return OLECMDERR_E_NOTSUPPORTED;
        }
        HRESULT STDMETHODCALLTYPE Exec(const GUID* group, DWORD id, DWORD options, VARIANT* in,
                                       VARIANT* out) override;
    } m_xOleCommandTarget;
#undef DOCHOST_PART_IUNKNOWN
};
