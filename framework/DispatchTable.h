// CDispatchTable: an IDispatch built from a table of method names and ids, the stand-in for the
// class library's dispatch maps. Names match without regard to case; an entry whose id is 0 gets
// its position in the table (1, 2, ...). Calls go to one handler, which its owner can detach: a
// page may keep the object after its owner is gone, and every later call then fails with
// E_UNEXPECTED instead of reaching freed memory.
#pragma once

#include <oaidl.h>

#include <vector>

struct DispatchEntry {
    const wchar_t* name;
    DISPID id; // 0: numbered by position
};

class CDispatchHandler {
public:
    // One call of a table entry. `result` may be null; `argErr` is never null.
    virtual HRESULT InvokeEntry(DISPID id, DISPPARAMS* params, VARIANT* result, UINT* argErr) = 0;

protected:
    ~CDispatchHandler() = default;
};

class CDispatchTable final : public IDispatch {
public:
    // Returns a new object holding one reference, or null when out of memory.
    static CDispatchTable* Create(const DispatchEntry* entries, size_t count, CDispatchHandler* handler);
    CDispatchTable(const CDispatchTable&) = delete;
    CDispatchTable& operator=(const CDispatchTable&) = delete;

    void Detach() { m_handler = nullptr; }
    // The id the table gives a name; DISPID_UNKNOWN when it has none.
    DISPID FindName(const wchar_t* name) const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excep, UINT* argErr) override;

private:
    CDispatchTable(CDispatchHandler* handler) : m_handler(handler) {}
    ~CDispatchTable() = default;

    struct Name {
        const wchar_t* name;
        DISPID id;
    };
    std::vector<Name> m_names;
    CDispatchHandler* m_handler;
    LONG m_refs = 1;
};
