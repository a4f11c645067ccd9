#include "framework/DispArgs.h"

#include "framework/OleVariant.h"

HRESULT CDispArgs::Expect(UINT count) const {
    if (!m_params) return count == 0 ? S_OK : DISP_E_BADPARAMCOUNT;
    if (m_params->cArgs && !m_params->rgvarg) return E_INVALIDARG;
    if (m_params->cNamedArgs) return DISP_E_NONAMEDARGS;
    return m_params->cArgs == count ? S_OK : DISP_E_BADPARAMCOUNT;
}

VARIANT* CDispArgs::Raw(UINT index) const {
    if (!m_params || !m_params->rgvarg || index >= m_params->cArgs) return nullptr;
    return &m_params->rgvarg[m_params->cArgs - 1 - index];
}

VARIANT* CDispArgs::Value(UINT index) const {
    VARIANT* v = Raw(index);
    if (v && V_VT(v) == (VT_BYREF | VT_VARIANT)) return V_VARIANTREF(v);
    return v;
}

CString CDispArgs::Text(UINT index) const {
    return VariantToText(Raw(index));
}

bool CDispArgs::IsObjectOrNothing(UINT index) const {
    const VARIANT* v = Value(index);
    if (!v) return Raw(index) != nullptr; // a null by-reference variant holds nothing
    switch (V_VT(v)) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_DISPATCH:
    case VT_UNKNOWN:
        return true;
    case VT_BYREF | VT_DISPATCH:
    case VT_BYREF | VT_UNKNOWN:
        return V_BYREF(v) != nullptr;
    default:
        return false;
    }
}

IDispatch* CDispArgs::Dispatch(UINT index) const {
    const VARIANT* v = Value(index);
    if (!v) return nullptr;
    if (V_VT(v) == VT_DISPATCH) return V_DISPATCH(v);
    if (V_VT(v) == (VT_BYREF | VT_DISPATCH) && V_DISPATCHREF(v)) return *V_DISPATCHREF(v);
    return nullptr;
}

VARIANT_BOOL* CDispArgs::BoolRef(UINT index) const {
    VARIANT* v = Value(index);
    if (!v || V_VT(v) != (VT_BYREF | VT_BOOL)) return nullptr;
    return V_BOOLREF(v);
}

IDispatch** CDispArgs::DispatchRef(UINT index) const {
    VARIANT* v = Value(index);
    if (!v || V_VT(v) != (VT_BYREF | VT_DISPATCH)) return nullptr;
    return V_DISPATCHREF(v);
}

bool CDispArgs::Long(UINT index, long* out) const {
    return VariantToLong(Raw(index), out);
}
