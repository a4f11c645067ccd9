// COwner: the one owner of an object made with new (a window object, most often) whose plain pointer
// member is the name the rest of the program reads. The name follows the owner: it is set when the
// object is taken and cleared before the object goes, so no code reached from the object's destructor
// (a window's destruction sends messages) ever finds the name pointing at a half-deleted object.
// Writing the name by hand never frees anything; only the owner deletes.
#pragma once

#include <windows.h>

#include <memory>

template <class T> class COwner {
public:
    explicit COwner(T*& name) : m_name(name) {}
    ~COwner() { Reset(); }
    COwner(const COwner&) = delete;
    COwner& operator=(const COwner&) = delete;

    // Takes object (may be null) and names it; the previous object goes after its name has moved on.
    void Reset(T* object = nullptr) {
        std::unique_ptr<T> old(object == m_owned ? nullptr : m_owned);
        m_owned = object;
        m_name = object;
    }
    T* Get() const { return m_owned; }

    // Takes a window object made with new (and prepared by the caller), names it before its window
    // exists (its creation may read the name), then creates the window with its CreateWnd. When the
    // window cannot be made nothing is kept, the previous object included; returns the object or null.
    T* Create(T* object, HWND parent, DWORD exStyle, DWORD style) {
        Reset(object);
        if (m_owned && m_owned->CreateWnd(parent, exStyle, style)) return m_owned;
        Reset();
        return nullptr;
    }

private:
    T*& m_name;
    T* m_owned = nullptr;
};
