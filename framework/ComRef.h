// CComRef<T>: owns one reference to a COM interface and releases it when it goes away.
#pragma once

#include <objbase.h>

template <class T> class CComRef {
public:
    CComRef() = default;
    // Takes over a reference the caller already holds.
    explicit CComRef(T* owned) : m_p(owned) {}
    CComRef(const CComRef& other) : m_p(other.m_p) {
        if (m_p) m_p->AddRef();
    }
    CComRef& operator=(const CComRef& other) {
        if (other.m_p) other.m_p->AddRef();
        Release();
        m_p = other.m_p;
        return *this;
    }
    ~CComRef() { Release(); }

    void Release() {
        T* p = m_p;
        m_p = nullptr;
        if (p) p->Release();
    }
    // Takes over a reference the caller holds (a factory's result), releasing what was held before.
    void Attach(T* owned) {
        T* old = m_p;
        m_p = owned;
        if (old) old->Release();
    }
    // Adds a reference of its own to an interface borrowed from elsewhere.
    void Set(T* borrowed) {
        if (borrowed) borrowed->AddRef();
        Release();
        m_p = borrowed;
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For out-parameters: releases what is held and hands out the slot.
    T** Out() {
        Release();
        return &m_p;
    }
    template <class Q> HRESULT QueryInto(CComRef<Q>& target, REFIID iid) const {
        if (!m_p) return E_POINTER;
        return m_p->QueryInterface(iid, reinterpret_cast<void**>(target.Out()));
    }

private:
    T* m_p = nullptr;
};

// COM on this thread for the lifetime of the object: every successful CoInitialize (S_FALSE too, when
// OLE or an earlier call initialised it already) is balanced by one CoUninitialize.
class CComInitialize {
public:
    CComInitialize() : m_hr(CoInitialize(nullptr)) {}
    ~CComInitialize() {
        if (SUCCEEDED(m_hr)) CoUninitialize();
    }
    CComInitialize(const CComInitialize&) = delete;
    CComInitialize& operator=(const CComInitialize&) = delete;
    bool IsOk() const { return SUCCEEDED(m_hr); }

private:
    HRESULT m_hr;
};
