#include "Internet.h"

#include <vector>

BOOL IsLiteralWebAddress(const wchar_t* url) {
    return url && (_wcsnicmp(url, L"http://", 7) == 0 || _wcsnicmp(url, L"https://", 8) == 0);
}

BOOL AfxParseURL(const wchar_t* url, DWORD& serviceType, CString& server, CString& object,
                 INTERNET_PORT& port) {
    serviceType = AFX_INET_SERVICE_UNK;
    server.Empty();
    object.Empty();
    port = 0;
    // The system's splitter is not safe with every scheme (under Wine a long "file:" address overruns a
    // buffer of its own and "file:?" faults), and every caller wants a web address: only those reach it.
    if (!IsLiteralWebAddress(url)) return FALSE;

    // InternetCrackUrlW fills the caller's buffers; give each one the whole address's length.
    const int length = static_cast<int>(wcslen(url));
    std::vector<wchar_t> scheme(length + 1), host(length + 1), path(length + 1), extra(length + 1);
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.lpszScheme = scheme.data();
    parts.dwSchemeLength = static_cast<DWORD>(scheme.size());
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = static_cast<DWORD>(host.size());
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (!InternetCrackUrlW(url, static_cast<DWORD>(length), 0, &parts)) return FALSE;

    const bool web = parts.nScheme == INTERNET_SCHEME_HTTP || parts.nScheme == INTERNET_SCHEME_HTTPS;
    if (!web || parts.dwHostNameLength == 0) return FALSE;
    serviceType = parts.nScheme == INTERNET_SCHEME_HTTPS ? AFX_INET_SERVICE_HTTPS : AFX_INET_SERVICE_HTTP;
    server = CString(parts.lpszHostName, static_cast<int>(parts.dwHostNameLength));
    object = CString(parts.lpszUrlPath, static_cast<int>(parts.dwUrlPathLength));
    object += CString(parts.lpszExtraInfo, static_cast<int>(parts.dwExtraInfoLength));
    if (object.IsEmpty()) object = L"/";
    port = parts.nPort;
    return TRUE;
}

namespace {

void ApplyOptions(HINTERNET handle, const CInternetOptions& options) {
    for (const auto& option : options) {
        DWORD value = option.second;
        InternetSetOptionW(handle, option.first, &value, sizeof(value));
    }
}

} // namespace

CHttpFile::CHttpFile(std::unique_ptr<CHttpConnection> connection, std::unique_ptr<CHttpFile> request)
    : m_pConnection(std::move(connection)) {
    if (request) m_hFile = std::move(request->m_hFile);
}

CHttpFile::~CHttpFile() = default;

BOOL CHttpFile::AddRequestHeaders(const wchar_t* headers, DWORD modifiers) {
    if (!m_hFile || !headers) return FALSE;
    return HttpAddRequestHeadersW(m_hFile.Get(), headers, static_cast<DWORD>(-1), modifiers);
}

BOOL CHttpFile::SendRequestEx(DWORD totalLength, DWORD flags, DWORD_PTR context) {
    if (!m_hFile) return FALSE;
    INTERNET_BUFFERSW buffers = {};
    buffers.dwStructSize = sizeof(buffers);
    buffers.dwBufferTotal = totalLength;
    return HttpSendRequestExW(m_hFile.Get(), &buffers, nullptr, flags, context);
}

BOOL CHttpFile::Write(const void* buffer, UINT count) {
    if (!m_hFile) return FALSE;
    const char* bytes = static_cast<const char*>(buffer);
    while (count > 0) {
        DWORD written = 0;
        if (!InternetWriteFile(m_hFile.Get(), bytes, count, &written)) return FALSE;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return FALSE;
        }
        bytes += written;
        count -= written;
    }
    return TRUE;
}

BOOL CHttpFile::EndRequest(DWORD flags, DWORD_PTR context) {
    if (!m_hFile) return FALSE;
    return HttpEndRequestW(m_hFile.Get(), nullptr, flags, context);
}

BOOL CHttpFile::SendRequest(const wchar_t* headers, const void* body, DWORD bodyLength) {
    if (!m_hFile) return FALSE;
    return HttpSendRequestW(m_hFile.Get(), headers, headers ? static_cast<DWORD>(-1) : 0,
                            const_cast<void*>(body), bodyLength);
}

UINT CHttpFile::Read(void* buffer, UINT count) {
    if (!m_hFile || !buffer) return 0;
    DWORD read = 0;
    if (!InternetReadFile(m_hFile.Get(), buffer, count, &read)) return 0;
    return read;
}

DWORD CHttpFile::QueryDataAvailable() {
    DWORD available = 0;
    if (!m_hFile || !InternetQueryDataAvailable(m_hFile.Get(), &available, 0, 0)) return 0;
    return available;
}

std::unique_ptr<CHttpFile> CHttpConnection::OpenRequest(const wchar_t* verb, const wchar_t* object,
                                                        const wchar_t* referer, DWORD_PTR context,
                                                        const wchar_t** acceptTypes, const wchar_t* version,
                                                        DWORD flags) {
    if (!m_hConnection) return nullptr;
    HINTERNET request =
        HttpOpenRequestW(m_hConnection.Get(), verb, object, version, referer, acceptTypes, flags, context);
    if (!request) return nullptr;
    ApplyOptions(request, m_options);
    return std::make_unique<CHttpFile>(request);
}

CInternetSession::CInternetSession(const wchar_t* agent, DWORD_PTR context, DWORD accessType,
                                   const wchar_t* proxyName, const wchar_t* proxyBypass, DWORD flags)
    : m_hSession(InternetOpenW(agent, accessType, proxyName, proxyBypass, flags)), m_context(context) {}

CHttpConnection::CHttpConnection(HINTERNET connection, CInternetOptions options)
    : m_hConnection(connection), m_options(std::move(options)) {
    ApplyOptions(connection, m_options);
}

BOOL CInternetSession::SetOption(DWORD option, DWORD value) {
    if (!m_hSession) return FALSE;
    m_options.emplace_back(option, value);
    return InternetSetOptionW(m_hSession.Get(), option, &value, sizeof(value));
}

std::unique_ptr<CHttpFile> CInternetSession::OpenURL(const wchar_t* url, DWORD_PTR context, DWORD flags,
                                                     const wchar_t* headers, DWORD headersLength) {
    DWORD service = 0;
    CString server, object;
    INTERNET_PORT port = 0;
    if (!m_hSession || !AfxParseURL(url, service, server, object, port)) return nullptr;
    if (service == AFX_INET_SERVICE_HTTPS) flags |= INTERNET_FLAG_SECURE;

    std::unique_ptr<CHttpConnection> connection = GetHttpConnection(server, port);
    if (!connection) return nullptr;
    std::unique_ptr<CHttpFile> request =
        connection->OpenRequest(L"GET", object, nullptr, context, nullptr, nullptr, flags);
    if (!request) return nullptr;
    std::wstring extra;
    if (headers) extra.assign(headers, headersLength ? headersLength : wcslen(headers));
    if (!request->SendRequest(extra.empty() ? nullptr : extra.c_str())) return nullptr;
    return std::make_unique<CHttpFile>(std::move(connection), std::move(request));
}

std::unique_ptr<CHttpConnection> CInternetSession::GetHttpConnection(const wchar_t* server,
                                                                     INTERNET_PORT port,
                                                                     const wchar_t* userName,
                                                                     const wchar_t* password) {
    if (!m_hSession || !server) return nullptr;
    HINTERNET connection = InternetConnectW(m_hSession.Get(), server, port, userName, password,
                                            INTERNET_SERVICE_HTTP, 0, m_context);
    if (!connection) return nullptr;
    return std::make_unique<CHttpConnection>(connection, m_options);
}
