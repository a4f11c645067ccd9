// CCriticalSection and CSingleLock: a critical section and a scoped holder of it.
#pragma once

#include <windows.h>

class CCriticalSection {
public:
    CCriticalSection() { InitializeCriticalSection(&m_sect); }
    ~CCriticalSection() { DeleteCriticalSection(&m_sect); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    BOOL Lock() {
        EnterCriticalSection(&m_sect);
        return TRUE;
    }
    BOOL Unlock() {
        LeaveCriticalSection(&m_sect);
        return TRUE;
    }

private:
    CRITICAL_SECTION m_sect;
};

// Holds the lock from Lock (or from construction with initialLock) until Unlock or destruction.
class CSingleLock {
public:
    explicit CSingleLock(CCriticalSection* section, BOOL initialLock = FALSE) : m_section(section) {
        if (initialLock) Lock();
    }
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock() {
        if (!m_section || m_locked) return FALSE;
        m_section->Lock();
        m_locked = true;
        return TRUE;
    }
    BOOL Unlock() {
        if (!m_section || !m_locked) return FALSE;
        m_section->Unlock();
        m_locked = false;
        return TRUE;
    }

private:
    CCriticalSection* m_section;
    bool m_locked = false;
};
