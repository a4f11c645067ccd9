#include "framework/OleVariant.h"

COleVariant::COleVariant(const wchar_t* text) {
    VariantInit(this);
    vt = VT_BSTR;
    bstrVal = text ? SysAllocString(text) : nullptr;
}

COleVariant::COleVariant(long value) {
    VariantInit(this);
    vt = VT_I4;
    lVal = value;
}

CString VariantToText(const VARIANT* value) {
    if (!value) return CString();
    // One level of by-reference variant is how the browser control passes its values.
    if (V_VT(value) == (VT_BYREF | VT_VARIANT)) {
        value = V_VARIANTREF(value);
        if (!value || V_VT(value) == (VT_BYREF | VT_VARIANT)) return CString();
    }
    VARTYPE base = V_VT(value) & VT_TYPEMASK;
    if ((V_VT(value) & (VT_ARRAY | VT_VECTOR)) || base == VT_EMPTY || base == VT_NULL ||
        base == VT_DISPATCH || base == VT_UNKNOWN || base == VT_RECORD || base == VT_VARIANT)
        return CString();
    if ((V_VT(value) & VT_BYREF) && !V_BYREF(value)) return CString();
    if (V_VT(value) == VT_BSTR) {
        BSTR b = V_BSTR(value);
        return b ? CString(b, static_cast<int>(SysStringLen(b))) : CString();
    }
    COleVariant text;
    if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(value), 0, VT_BSTR)) || V_VT(&text) != VT_BSTR ||
        !V_BSTR(&text))
        return CString();
    return CString(V_BSTR(&text), static_cast<int>(SysStringLen(V_BSTR(&text))));
}

bool VariantToLong(const VARIANT* value, long* out) {
    if (!value || !out) return false;
    if (V_VT(value) == (VT_BYREF | VT_VARIANT)) {
        value = V_VARIANTREF(value);
        if (!value) return false;
    }
    if ((V_VT(value) & VT_BYREF) && !V_BYREF(value)) return false;
    switch (V_VT(value) & ~VT_BYREF) {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
        break;
    default:
        return false;
    }
    COleVariant number;
    if (SUCCEEDED(VariantChangeType(&number, const_cast<VARIANT*>(value), 0, VT_I4))) {
        *out = V_I4(&number);
        return true;
    }
    // Flags such as 0x80000000 do not fit a signed number; keep their bits.
    if (FAILED(VariantChangeType(&number, const_cast<VARIANT*>(value), 0, VT_UI4))) return false;
    *out = static_cast<long>(V_UI4(&number));
    return true;
}
