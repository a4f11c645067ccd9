#include "framework/BrowserEventSink.h"
#include "framework/DebugLog.h"

#include "framework/ComRef.h"

#include <exdisp.h>

#include <new>

CBrowserEventSink* CBrowserEventSink::Create(CBrowserEventHandler* handler) {
    return new (std::nothrow) CBrowserEventSink(handler);
}

HRESULT CBrowserEventSink::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, DIID_DWebBrowserEvents2)) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CBrowserEventSink::Release() {
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT CBrowserEventSink::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CBrowserEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT CBrowserEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT CBrowserEventSink::Invoke(DISPID id, REFIID riid, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO*, UINT*) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (!m_handler) return E_UNEXPECTED;
    if (result) VariantInit(result);
    DISPPARAMS none = {};
    // Keep the sink alive even if the handler's view lets go of it during the event.
    CComRef<CBrowserEventSink> keepAlive;
    keepAlive.Set(this);
    try {
        m_handler->OnBrowserEvent(id, params ? params : &none);
    } catch (...) {
        DebugLogException(L"CBrowserEventSink::Invoke");
    }
    return S_OK;
}
