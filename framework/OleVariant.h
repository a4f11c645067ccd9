// COleVariant and CBstr: owners of a VARIANT and of a system string.
#pragma once

#include "framework/String.h"

#include <oleauto.h>

class COleVariant : public VARIANT {
public:
    COleVariant() { VariantInit(this); }
    explicit COleVariant(const wchar_t* text);
    explicit COleVariant(long value);
    COleVariant(const COleVariant&) = delete;
    COleVariant& operator=(const COleVariant&) = delete;
    ~COleVariant() { VariantClear(this); }
    void Clear() { VariantClear(this); }
};

class CBstr {
public:
    CBstr() = default;
    explicit CBstr(const wchar_t* text) : m_b(text ? SysAllocString(text) : nullptr) {}
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    ~CBstr() { SysFreeString(m_b); }
    BSTR Get() const { return m_b; }
    BSTR* Out() {
        SysFreeString(m_b);
        m_b = nullptr;
        return &m_b;
    }
    CString Text() const { return m_b ? CString(m_b, static_cast<int>(SysStringLen(m_b))) : CString(); }

private:
    BSTR m_b = nullptr;
};

// The text a variant holds, converted the way automation converts values; the empty text when it
// holds none (empty, null, an object, an array, or a value that does not convert). Never calls into
// an object, so a page cannot run script from here.
CString VariantToText(const VARIANT* value);

// A whole number the variant holds (integer types only, by value or by reference); false otherwise.
bool VariantToLong(const VARIANT* value, long* out);
