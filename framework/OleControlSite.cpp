#include "framework/OleControlSite.h"

RECT COleControlContainer::GetControlRect() const {
    RECT rc = {};
    if (m_hWnd) GetClientRect(m_hWnd, &rc);
    return rc;
}

HRESULT COleControlSite::ExternalQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    IUnknown* found = GetInterfaceFromMap(riid);
    if (!found) {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite))
            found = static_cast<IOleClientSite*>(this);
        else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite))
            found = static_cast<IOleInPlaceSite*>(this);
        else if (IsEqualIID(riid, IID_IOleInPlaceUIWindow) || IsEqualIID(riid, IID_IOleInPlaceFrame))
            found = static_cast<IOleInPlaceFrame*>(this);
    }
    if (!found) return E_NOINTERFACE;
    found->AddRef();
    *ppv = found;
    return S_OK;
}

ULONG COleControlSite::ExternalRelease() {
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT COleControlSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT COleControlSite::GetContainer(IOleContainer** container) {
    if (!container) return E_POINTER;
    *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT COleControlSite::GetWindow(HWND* wnd) {
    if (!wnd) return E_POINTER;
    *wnd = nullptr;
    if (IsDetached() || !m_pCtrlCont->GetHostWindow()) return E_UNEXPECTED;
    *wnd = m_pCtrlCont->GetHostWindow();
    return S_OK;
}

HRESULT COleControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, RECT* pos,
                                          RECT* clip, OLEINPLACEFRAMEINFO* info) {
    if (frame) *frame = nullptr;
    if (doc) *doc = nullptr;
    if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
    if (IsDetached()) return E_UNEXPECTED;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *pos = m_pCtrlCont->GetControlRect();
    *clip = *pos;
    info->fMDIApp = FALSE;
    info->hwndFrame = m_pCtrlCont->GetHostWindow();
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT COleControlSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
    if (IsDetached()) return object ? E_UNEXPECTED : S_OK;
    m_pCtrlCont->SetActiveObject(object);
    return S_OK;
}
