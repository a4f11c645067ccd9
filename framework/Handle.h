// CScopedHandle: the one owner of a kernel handle (event, thread, file...). Both null and
// INVALID_HANDLE_VALUE mean "none". It converts to HANDLE so it can be passed to the API directly.
// CScopedLibrary: the same for a loaded library, freed with FreeLibrary; CScopedHook for a windows hook.
#pragma once

#include <windows.h>

class CScopedHandle {
public:
    CScopedHandle() = default;
    explicit CScopedHandle(HANDLE handle) : m_handle(handle) {}
    ~CScopedHandle() { Close(); }
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;
    CScopedHandle(CScopedHandle&& other) noexcept : m_handle(other.Detach()) {}
    CScopedHandle& operator=(CScopedHandle&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    void Attach(HANDLE handle) {
        Close();
        m_handle = handle;
    }
    HANDLE Detach() {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    void Close() {
        if (IsValid()) CloseHandle(m_handle);
        m_handle = nullptr;
    }
    bool IsValid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }
    operator HANDLE() const { return m_handle; }

private:
    HANDLE m_handle = nullptr;
};

class CScopedLibrary {
public:
    CScopedLibrary() = default;
    ~CScopedLibrary() { Free(); }
    CScopedLibrary(const CScopedLibrary&) = delete;
    CScopedLibrary& operator=(const CScopedLibrary&) = delete;

    void Attach(HMODULE module) {
        Free();
        m_module = module;
    }
    void Free() {
        if (m_module) FreeLibrary(m_module);
        m_module = nullptr;
    }
    HMODULE Get() const { return m_module; }
    operator HMODULE() const { return m_module; }

private:
    HMODULE m_module = nullptr;
};

class CScopedHook {
public:
    CScopedHook() = default;
    ~CScopedHook() { Unhook(); }
    CScopedHook(const CScopedHook&) = delete;
    CScopedHook& operator=(const CScopedHook&) = delete;

    void Attach(HHOOK hook) {
        Unhook();
        m_hook = hook;
    }
    void Unhook() {
        if (m_hook) UnhookWindowsHookEx(m_hook);
        m_hook = nullptr;
    }
    HHOOK Get() const { return m_hook; }

private:
    HHOOK m_hook = nullptr;
};
