#include "framework/DispatchTable.h"
#include "framework/DebugLog.h"

#include <new>

CDispatchTable* CDispatchTable::Create(const DispatchEntry* entries, size_t count,
                                       CDispatchHandler* handler) {
    CDispatchTable* table = new (std::nothrow) CDispatchTable(handler);
    if (!table) return nullptr;
    try {
        table->m_names.reserve(count);
        for (size_t i = 0; i < count; ++i)
            table->m_names.push_back({entries[i].name, entries[i].id ? entries[i].id : DISPID(i + 1)});
    } catch (...) {
        table->Release();
        return nullptr;
    }
    return table;
}

DISPID CDispatchTable::FindName(const wchar_t* name) const {
    if (!name) return DISPID_UNKNOWN;
    for (const Name& entry : m_names)
        if (CompareStringOrdinal(entry.name, -1, name, -1, TRUE) == CSTR_EQUAL) return entry.id;
    return DISPID_UNKNOWN;
}

HRESULT CDispatchTable::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CDispatchTable::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG CDispatchTable::Release() {
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT CDispatchTable::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CDispatchTable::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT CDispatchTable::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids) return E_POINTER;
    if (count == 0) return S_OK;
    // The methods take no named arguments: any name after the first is unknown.
    HRESULT hr = S_OK;
    ids[0] = FindName(names[0]);
    if (ids[0] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    for (UINT i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT CDispatchTable::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO*, UINT* argErr) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (!m_handler) return E_UNEXPECTED;
    bool known = false;
    for (const Name& entry : m_names)
        known = known || entry.id == id;
    if (!known) return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (!params) return E_INVALIDARG;
    if (result) VariantInit(result);
    UINT ignored = 0;
    try {
        return m_handler->InvokeEntry(id, params, result, argErr ? argErr : &ignored);
    } catch (...) {
        DebugLogException(L"CDispatchTable::Invoke");
        return E_FAIL;
    }
}
