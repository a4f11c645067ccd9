// Records what the client asks of a browser control while the recorder lives: the addresses handed to
// Navigate and the number of Refresh calls. Wine's control has no HTML engine, so what it shows is no
// proof of what it was asked: a page that never loads looks the same as a page never requested, and
// its own Refresh leaves no trace. Instead the object is given a copy of its method table with our
// Navigate and Refresh, and its own table back at the end. Navigate still goes on to the control's own,
// so the view moves as before; Refresh stops with us. The layout is fixed by the interface: IUnknown
// (3 entries), IDispatch (4), GoBack, GoForward, GoHome, GoSearch, Navigate, Refresh; IWebBrowser2 has
// 71 entries in all. One recorder at a time: the calls arrive without it, so they are kept in statics.
#pragma once

#include "framework/String.h"

#include <exdisp.h>

#include <algorithm>
#include <vector>

class BrowserCallRecorder {
public:
    explicit BrowserCallRecorder(IWebBrowser2* browser) : m_browser(browser) {
        s_navigations.clear();
        s_refreshes = 0;
        m_own = *reinterpret_cast<void***>(browser);
        std::copy(m_own, m_own + kEntries, m_table);
        s_ownNavigate = reinterpret_cast<NavigateFn>(m_own[kNavigate]);
        m_table[kNavigate] = reinterpret_cast<void*>(&RecordNavigate);
        m_table[kRefresh] = reinterpret_cast<void*>(&CountRefresh);
        *reinterpret_cast<void***>(browser) = m_table;
    }
    ~BrowserCallRecorder() { *reinterpret_cast<void***>(m_browser) = m_own; }
    BrowserCallRecorder(const BrowserCallRecorder&) = delete;
    BrowserCallRecorder& operator=(const BrowserCallRecorder&) = delete;

    const std::vector<CString>& Navigations() const { return s_navigations; }
    int Refreshes() const { return s_refreshes; }

private:
    using NavigateFn = HRESULT(STDMETHODCALLTYPE*)(IWebBrowser2*, BSTR, VARIANT*, VARIANT*, VARIANT*,
                                                   VARIANT*);
    static constexpr size_t kEntries = 71, kNavigate = 11, kRefresh = 12;

    static HRESULT STDMETHODCALLTYPE RecordNavigate(IWebBrowser2* self, BSTR url, VARIANT* flags,
                                                    VARIANT* target, VARIANT* postData, VARIANT* headers) {
        s_navigations.push_back(url ? CString(url, static_cast<int>(SysStringLen(url))) : CString());
        return s_ownNavigate(self, url, flags, target, postData, headers);
    }
    static HRESULT STDMETHODCALLTYPE CountRefresh(IWebBrowser2*) {
        ++s_refreshes;
        return S_OK;
    }

    static inline std::vector<CString> s_navigations;
    static inline int s_refreshes = 0;
    static inline NavigateFn s_ownNavigate = nullptr;
    IWebBrowser2* m_browser;
    void** m_own = nullptr;
    void* m_table[kEntries] = {};
};
