// CBrowserEventSink: receives the web-browser control's DWebBrowserEvents2 and hands each event to
// one handler. The control keeps the sink until it is unadvised, and a page may hold the control
// past its view; the view detaches the sink, after which events are dropped and Invoke fails with
// E_UNEXPECTED.
#pragma once

#include <oaidl.h>

class CBrowserEventHandler {
public:
    // One event with its arguments exactly as the control sent them.
    virtual void OnBrowserEvent(DISPID id, DISPPARAMS* params) = 0;

protected:
    ~CBrowserEventHandler() = default;
};

class CBrowserEventSink final : public IDispatch {
public:
    // Returns a new sink holding one reference, or null when out of memory.
    static CBrowserEventSink* Create(CBrowserEventHandler* handler);
    CBrowserEventSink(const CBrowserEventSink&) = delete;
    CBrowserEventSink& operator=(const CBrowserEventSink&) = delete;

    void Detach() { m_handler = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excep, UINT* argErr) override;

private:
    explicit CBrowserEventSink(CBrowserEventHandler* handler) : m_handler(handler) {}
    ~CBrowserEventSink() = default;

    CBrowserEventHandler* m_handler;
    LONG m_refs = 1;
};
