// COleControlContainer and COleControlSite: what an in-place OLE control needs from the window that
// hosts it. The container belongs to the hosting window and knows its handle and the control's
// rectangle; the site is the control's client site, in-place site and in-place frame in one COM
// object. The control keeps its own references to the site and may outlive the host, so the host
// detaches the site when it goes; a detached site answers E_UNEXPECTED where it would need the host.
#pragma once

#include "framework/ComRef.h"

#include <ole2.h>
#include <oleidl.h>

class COleControlSite;

class COleControlContainer {
public:
    explicit COleControlContainer(HWND host) : m_hWnd(host) {}
    COleControlContainer(const COleControlContainer&) = delete;
    COleControlContainer& operator=(const COleControlContainer&) = delete;

    HWND GetHostWindow() const { return m_hWnd; }
    // The rectangle the control occupies, in the host's client coordinates.
    RECT GetControlRect() const;

    // The object the control named as active; keys go to it before they are dispatched.
    IOleInPlaceActiveObject* GetActiveObject() const { return m_activeObject.Get(); }
    void SetActiveObject(IOleInPlaceActiveObject* object) { m_activeObject.Set(object); }
    void Clear() {
        m_activeObject.Release();
        m_hWnd = nullptr;
    }

private:
    HWND m_hWnd;
    CComRef<IOleInPlaceActiveObject> m_activeObject;
};

class COleControlSite : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    explicit COleControlSite(COleControlContainer* container) : m_pCtrlCont(container) {}
    COleControlSite(const COleControlSite&) = delete;
    COleControlSite& operator=(const COleControlSite&) = delete;

    // Cuts the site loose from its host; called by the host when it goes away.
    virtual void Detach() { m_pCtrlCont = nullptr; }
    bool IsDetached() const { return m_pCtrlCont == nullptr; }

    // The site's shared interface lookup and reference count; interface parts of derived sites
    // delegate to these.
    HRESULT ExternalQueryInterface(REFIID riid, void** ppv);
    ULONG ExternalAddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG ExternalRelease();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        return ExternalQueryInterface(riid, ppv);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ExternalAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return ExternalRelease(); }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override { return IsDetached() ? E_UNEXPECTED : S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (shared by the in-place site and the frame)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* wnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return IsDetached() ? E_UNEXPECTED : S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return IsDetached() ? E_UNEXPECTED : S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return IsDetached() ? E_UNEXPECTED : S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, RECT* pos,
                                               RECT* clip, OLEINPLACEFRAMEINFO* info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return IsDetached() ? E_UNEXPECTED : S_OK; }

    // IOleInPlaceUIWindow: the host has no tool space to give.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS widths) override {
        return widths ? INPLACE_E_NOTOOLSPACE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override;

    // IOleInPlaceFrame: no menus, no status bar, no frame accelerators.
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

protected:
    virtual ~COleControlSite() = default;
    // Interfaces a derived site adds, looked up before the site's own; null when not offered.
    virtual IUnknown* GetInterfaceFromMap(REFIID) { return nullptr; }

    COleControlContainer* m_pCtrlCont;

private:
    LONG m_refs = 1;
};
