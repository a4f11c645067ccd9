// The internet classes in the class library's manner, over WinINet: a session, an HTTP connection
// and an HTTP file (one request). Each object owns its WinINet handle and closes it when destroyed;
// children must be destroyed before the session that made them. Nothing here throws: operations
// return null or FALSE (where a system call failed, its error code stays in ::GetLastError).
#pragma once

#include "String.h"

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <utility>
#include <vector>

// Service types reported by AfxParseURL.
enum : DWORD {
    AFX_INET_SERVICE_UNK = 0x1000,
    AFX_INET_SERVICE_HTTP = 0x1003,
    AFX_INET_SERVICE_HTTPS = 0x1004,
};

// TRUE for an address that, exactly as written, begins with "http://" or "https://" (any letter case).
// For whatever takes an address as it stands: the system's splitter (unsafe with other schemes), the
// downloads, the shell. A browser view reads addresses more leniently: what goes to a view is judged
// by IsBrowserWebAddress (foundation/UrlHelpers.h) instead.
BOOL IsLiteralWebAddress(const wchar_t* url);

// Splits an absolute http or https address into service type, server, object (path and query, "/"
// when empty) and port. Returns FALSE (service type AFX_INET_SERVICE_UNK) when the address cannot be
// split or has any other scheme; those never reach the system's splitter.
BOOL AfxParseURL(const wchar_t* url, DWORD& serviceType, CString& server, CString& object,
                 INTERNET_PORT& port);

class CHttpConnection;

// Time-out and similar options that a session passes on to every connection and request it makes
// (WinINet does not always inherit them from the session handle itself).
typedef std::vector<std::pair<DWORD, DWORD>> CInternetOptions;

// Owner of one WinINet handle.
class CInternetHandle {
public:
    CInternetHandle() = default;
    explicit CInternetHandle(HINTERNET handle) : m_handle(handle) {}
    ~CInternetHandle() { Close(); }
    CInternetHandle(const CInternetHandle&) = delete;
    CInternetHandle& operator=(const CInternetHandle&) = delete;
    CInternetHandle(CInternetHandle&& other) noexcept : m_handle(other.m_handle) { other.m_handle = nullptr; }
    CInternetHandle& operator=(CInternetHandle&& other) noexcept {
        if (this != &other) {
            Close();
            m_handle = other.m_handle;
            other.m_handle = nullptr;
        }
        return *this;
    }

    void Close() {
        if (m_handle) InternetCloseHandle(m_handle);
        m_handle = nullptr;
    }
    HINTERNET Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    HINTERNET m_handle = nullptr;
};

class CHttpFile {
public:
    explicit CHttpFile(HINTERNET request) : m_hFile(request) {}
    // A request that also owns the connection it was opened on (as OpenURL makes them).
    CHttpFile(std::unique_ptr<CHttpConnection> connection, std::unique_ptr<CHttpFile> request);
    ~CHttpFile();
    CHttpFile(const CHttpFile&) = delete;
    CHttpFile& operator=(const CHttpFile&) = delete;

    BOOL AddRequestHeaders(const wchar_t* headers, DWORD modifiers = HTTP_ADDREQ_FLAG_ADD);
    // Starts a request whose body of totalLength bytes follows through Write.
    BOOL SendRequestEx(DWORD totalLength, DWORD flags = HSR_INITIATE, DWORD_PTR context = 1);
    BOOL Write(const void* buffer, UINT count);
    BOOL EndRequest(DWORD flags = 0, DWORD_PTR context = 1);
    // Sends a request with an optional body in one call.
    BOOL SendRequest(const wchar_t* headers = nullptr, const void* body = nullptr, DWORD bodyLength = 0);
    // Bytes read into buffer; 0 at the end of the reply or on failure.
    UINT Read(void* buffer, UINT count);
    // Waits until some of the reply has arrived and tells how many bytes a Read takes without
    // blocking; 0 at the end of the reply or on failure.
    DWORD QueryDataAvailable();
    void Close() { m_hFile.Close(); }
    HINTERNET GetHandle() const { return m_hFile.Get(); }

private:
    std::unique_ptr<CHttpConnection> m_pConnection; // closed after the request
    CInternetHandle m_hFile;
};

class CHttpConnection {
public:
    CHttpConnection(HINTERNET connection, CInternetOptions options);
    CHttpConnection(const CHttpConnection&) = delete;
    CHttpConnection& operator=(const CHttpConnection&) = delete;

    // Null on failure. version null means the default HTTP version.
    std::unique_ptr<CHttpFile> OpenRequest(const wchar_t* verb, const wchar_t* object,
                                           const wchar_t* referer = nullptr, DWORD_PTR context = 1,
                                           const wchar_t** acceptTypes = nullptr,
                                           const wchar_t* version = nullptr, DWORD flags = 0);
    void Close() { m_hConnection.Close(); }
    HINTERNET GetHandle() const { return m_hConnection.Get(); }

private:
    CInternetHandle m_hConnection;
    CInternetOptions m_options;
};

class CInternetSession {
public:
    explicit CInternetSession(const wchar_t* agent = nullptr, DWORD_PTR context = 1,
                              DWORD accessType = PRE_CONFIG_INTERNET_ACCESS,
                              const wchar_t* proxyName = nullptr, const wchar_t* proxyBypass = nullptr,
                              DWORD flags = 0);
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    // FALSE when the session could not be made; every other operation then fails too.
    BOOL IsOpen() const { return m_hSession ? TRUE : FALSE; }
    BOOL SetOption(DWORD option, DWORD value);
    // Opens an http or https address with a GET and sends the request; the reply is read through
    // the file. Null on failure, also for other schemes.
    std::unique_ptr<CHttpFile> OpenURL(const wchar_t* url, DWORD_PTR context = 1,
                                       DWORD flags = INTERNET_FLAG_TRANSFER_ASCII,
                                       const wchar_t* headers = nullptr, DWORD headersLength = 0);
    std::unique_ptr<CHttpConnection> GetHttpConnection(const wchar_t* server,
                                                       INTERNET_PORT port = INTERNET_INVALID_PORT_NUMBER,
                                                       const wchar_t* userName = nullptr,
                                                       const wchar_t* password = nullptr);
    void Close() { m_hSession.Close(); }
    HINTERNET GetHandle() const { return m_hSession.Get(); }

private:
    CInternetHandle m_hSession;
    DWORD_PTR m_context;
    CInternetOptions m_options;
};
