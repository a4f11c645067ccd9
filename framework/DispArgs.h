// CDispArgs: safe reading of the positional arguments of an IDispatch call. Arguments arrive in
// reverse order; callers number them as declared (0 = first). Every accessor checks the variant's
// own type before it touches a value and never treats a value as a pointer it is not tagged as.
#pragma once

#include "framework/String.h"

#include <oaidl.h>

class CDispArgs {
public:
    explicit CDispArgs(DISPPARAMS* params) : m_params(params) {}

    UINT Count() const { return m_params ? m_params->cArgs : 0; }
    // S_OK when exactly `count` positional arguments came, else the automation error for it.
    HRESULT Expect(UINT count) const;

    // The argument as given; null when out of range.
    VARIANT* Raw(UINT index) const;
    // The argument with one level of VT_BYREF|VT_VARIANT removed; null when out of range or when
    // the reference is null.
    VARIANT* Value(UINT index) const;

    // The argument as text (see VariantToText); empty when absent.
    CString Text(UINT index) const;
    // True when the argument is an object reference or nothing at all (empty, null).
    bool IsObjectOrNothing(UINT index) const;
    // The object the argument holds (VT_DISPATCH, by value or by reference); null otherwise.
    IDispatch* Dispatch(UINT index) const;
    // The flag an argument of type VT_BYREF|VT_BOOL points to; null for any other type.
    VARIANT_BOOL* BoolRef(UINT index) const;
    // The slot of an argument of type VT_BYREF|VT_DISPATCH; null for any other type.
    IDispatch** DispatchRef(UINT index) const;
    // A whole number; false when the argument holds none.
    bool Long(UINT index, long* out) const;

private:
    DISPPARAMS* m_params;
};
