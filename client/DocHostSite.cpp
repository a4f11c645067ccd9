#include "client/DocHostSite.h"

CDocHostSite::CDocHostSite(COleControlContainer* container) : COleControlSite(container) {
    m_xDocHostShowUI.m_pThis = this;
    m_xDocHostUIHandler.m_pThis = this;
    m_xDocHostUIHandler2.m_pThis = this;
    m_xInternetSecurityManager.m_pThis = this;
    m_xServiceProvider.m_pThis = this;
    m_xOleCommandTarget.m_pThis = this;
}

void CDocHostSite::Detach() {
    m_pView = nullptr;
    COleControlSite::Detach();
}

IUnknown* CDocHostSite::GetInterfaceFromMap(REFIID riid) {
    if (IsEqualIID(riid, IID_IDocHostShowUI)) return &m_xDocHostShowUI;
    if (IsEqualIID(riid, IID_IDocHostUIHandler)) return &m_xDocHostUIHandler;
    if (IsEqualIID(riid, IID_IDocHostUIHandler2)) return &m_xDocHostUIHandler2;
    if (IsEqualIID(riid, IID_IInternetSecurityManager)) return &m_xInternetSecurityManager;
    if (IsEqualIID(riid, IID_IServiceProvider)) return &m_xServiceProvider;
    if (IsEqualIID(riid, IID_IOleCommandTarget)) return &m_xOleCommandTarget;
    return nullptr;
}

// --- IDocHostShowUI: the browser shows its own message boxes and help.

HRESULT CDocHostSite::XDocHostShowUI::ShowMessage(HWND, LPOLESTR, LPOLESTR, DWORD, LPOLESTR, DWORD,
                                                  LRESULT*) {
    return S_FALSE;
}

HRESULT CDocHostSite::XDocHostShowUI::ShowHelp(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*) {
    return E_NOTIMPL;
}

// --- IDocHostUIHandler: everything but accelerators goes to the view.

#define DOCHOST_VIEW_OR_FAIL(view)                                                                           \
    CHtmlView* view = m_pThis->m_pView;                                                                      \
    if (!view) return E_UNEXPECTED

HRESULT CDocHostSite::XDocHostUIHandler::ShowContextMenu(DWORD id, POINT* pt, IUnknown* target,
                                                         IDispatch* reserved) {
    DOCHOST_VIEW_OR_FAIL(view);
    return view->OnShowContextMenu(id, pt, target, reserved);
}

HRESULT CDocHostSite::XDocHostUIHandler::GetHostInfo(DOCHOSTUIINFO* info) {
    DOCHOST_VIEW_OR_FAIL(view);
    return view->OnGetHostInfo(info);
}

HRESULT CDocHostSite::XDocHostUIHandler::ShowUI(DWORD id, IOleInPlaceActiveObject* active,
                                                IOleCommandTarget* target, IOleInPlaceFrame* frame,
                                                IOleInPlaceUIWindow* doc) {
    DOCHOST_VIEW_OR_FAIL(view);
    return view->OnShowUI(id, active, target, frame, doc);
}

HRESULT CDocHostSite::XDocHostUIHandler::HideUI() {
    DOCHOST_VIEW_OR_FAIL(view);
    return view->OnHideUI();
}

HRESULT CDocHostSite::XDocHostUIHandler::UpdateUI() {
    DOCHOST_VIEW_OR_FAIL(view);
    return view->OnUpdateUI();
}

HRESULT CDocHostSite::XDocHostUIHandler::EnableModeless(BOOL enable) {
    DOCHOST_VIEW_OR_FAIL(view);
    return view->OnEnableModeless(enable);
}

HRESULT CDocHostSite::XDocHostUIHandler::OnDocWindowActivate(BOOL activate) {
    DOCHOST_VIEW_OR_FAIL(view);
    return view->OnDocWindowActivate(activate);
}

HRESULT CDocHostSite::XDocHostUIHandler::OnFrameWindowActivate(BOOL activate) {
    DOCHOST_VIEW_OR_FAIL(view);
    return view->OnFrameWindowActivate(activate);
}

HRESULT CDocHostSite::XDocHostUIHandler::ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                                                      BOOL frame) {
    DOCHOST_VIEW_OR_FAIL(view);
    return view->OnResizeBorder(border, window, frame);
}

HRESULT CDocHostSite::XDocHostUIHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD) {
    return E_NOTIMPL;
}

HRESULT CDocHostSite::XDocHostUIHandler::GetOptionKeyPath(LPOLESTR* key, DWORD reserved) {
    DOCHOST_VIEW_OR_FAIL(view);
    return view->OnGetOptionKeyPath(key, reserved);
}

HRESULT CDocHostSite::XDocHostUIHandler::GetDropTarget(IDropTarget* target, IDropTarget** replacement) {
    DOCHOST_VIEW_OR_FAIL(view);
    return view->OnGetDropTarget(target, replacement);
}

HRESULT CDocHostSite::XDocHostUIHandler::GetExternal(IDispatch** dispatch) {
    CHtmlView* view = m_pThis->m_pView;
    if (!view) {
        if (dispatch) *dispatch = nullptr;
        return E_UNEXPECTED;
    }
    return view->OnGetExternal(dispatch);
}

HRESULT CDocHostSite::XDocHostUIHandler::TranslateUrl(DWORD translate, LPWSTR in, LPWSTR* out) {
    DOCHOST_VIEW_OR_FAIL(view);
    return view->OnTranslateUrl(translate, in, out);
}

HRESULT CDocHostSite::XDocHostUIHandler::FilterDataObject(IDataObject* in, IDataObject** out) {
    DOCHOST_VIEW_OR_FAIL(view);
    return view->OnFilterDataObject(in, out);
}

#undef DOCHOST_VIEW_OR_FAIL

// --- IInternetSecurityManager: ActiveX and script actions are allowed, the rest is the zone's.

HRESULT CDocHostSite::XInternetSecurityManager::ProcessUrlAction(LPCWSTR, DWORD action, BYTE* policy,
                                                                 DWORD policySize, BYTE*, DWORD, DWORD,
                                                                 DWORD) {
    bool activeX = action >= URLACTION_ACTIVEX_MIN && action <= URLACTION_ACTIVEX_MAX;
    bool script = action >= URLACTION_SCRIPT_MIN && action <= URLACTION_SCRIPT_MAX;
    if (!activeX && !script) return INET_E_DEFAULT_ACTION;
    if (!policy || policySize < sizeof(DWORD)) return S_FALSE;
    DWORD allow = URLPOLICY_ALLOW;
    memcpy(policy, &allow, sizeof allow); // the buffer need not be aligned
    return S_OK;
}

// --- IServiceProvider: the site is the browser's security manager.

HRESULT CDocHostSite::XServiceProvider::QueryService(REFGUID service, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualGUID(service, SID_SInternetSecurityManager) && IsEqualIID(riid, IID_IInternetSecurityManager))
        return m_pThis->ExternalQueryInterface(riid, ppv);
    return E_NOINTERFACE;
}

// --- IOleCommandTarget: script errors count as handled, so the browser shows no dialog for them.

HRESULT CDocHostSite::XOleCommandTarget::Exec(const GUID* group, DWORD id, DWORD, VARIANT*, VARIANT*) {
    if (!group || !IsEqualGUID(*group, CGID_DocHostCommandHandler)) return OLECMDERR_E_NOTSUPPORTED;
    if (id == OLECMDID_SHOWSCRIPTERROR) return S_OK;
    return OLECMDERR_E_NOTSUPPORTED;
}
