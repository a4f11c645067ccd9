// The reply is collected as bytes and decoded once at the end: decoding each 1023-byte read by
// itself would split a double-byte character that straddles two reads.
#include "Http.h"

#include "framework/Internet.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

const wchar_t kUserAgent[] = L"session";
const DWORD kGetFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_TRANSFER_ASCII;
const DWORD kPostFlags = INTERNET_FLAG_EXISTING_CONNECT;
const UINT kChunk = 1023;

void ApplyTimeouts(CInternetSession& session, const HttpTimeouts& timeouts) {
    session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, timeouts.connectMs);
    session.SetOption(INTERNET_OPTION_CONNECT_RETRIES, 1);
    session.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, timeouts.receiveMs);
    session.SetOption(INTERNET_OPTION_SEND_TIMEOUT, timeouts.receiveMs);
    session.SetOption(INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, timeouts.receiveMs);
    session.SetOption(INTERNET_OPTION_DATA_SEND_TIMEOUT, timeouts.receiveMs);
}

// Splits the address; TRUE only for plain HTTP.
bool ParsePlainHttp(const wchar_t* url, CString& server, CString& object, INTERNET_PORT& port) {
    DWORD service = 0;
    if (!AfxParseURL(url, service, server, object, port)) return false;
    return service == AFX_INET_SERVICE_HTTP;
}

CString ReadReply(CHttpFile& file, const HttpTimeouts& timeouts) {
    char buffer[kChunk + 1];
    memset(buffer, 0, sizeof(buffer));
    std::string bytes;
    const ULONGLONG deadline = GetTickCount64() + 2ull * timeouts.receiveMs;
    while (bytes.size() < kMaxReplyBytes && GetTickCount64() < deadline) {
        // Only what has arrived is read, so no single read outlives the deadline by more than
        // one receive time-out.
        const DWORD available = file.QueryDataAvailable();
        if (available == 0) break;
        const size_t want = std::min<size_t>({kChunk, available, kMaxReplyBytes - bytes.size()});
        UINT read = file.Read(buffer, static_cast<UINT>(want));
        if (read == 0) break;
        bytes.append(buffer, read);
    }
    return CString::FromAnsi(bytes.data(), static_cast<int>(bytes.size()), CP_THREAD_ACP);
}

} // namespace

CString HttpGet(const wchar_t* url, const HttpTimeouts& timeouts) {
    CString server, object;
    INTERNET_PORT port = 0;
    if (!url || !ParsePlainHttp(url, server, object, port)) return CString();

    CInternetSession session(kUserAgent, 1, PRE_CONFIG_INTERNET_ACCESS);
    if (!session.IsOpen()) return CString();
    ApplyTimeouts(session, timeouts);
    std::unique_ptr<CHttpFile> file = session.OpenURL(url, 1, kGetFlags);
    if (!file) return CString();
    return ReadReply(*file, timeouts);
}

CString HttpPost(const wchar_t* url, const char* body, const HttpTimeouts& timeouts) {
    if (!url || !*url) return CString();
    CString server, object;
    INTERNET_PORT port = 0;
    if (!ParsePlainHttp(url, server, object, port)) return CString();
    if (!body) body = "";
    const DWORD length = static_cast<DWORD>(strlen(body));

    CInternetSession session(kUserAgent, 1, PRE_CONFIG_INTERNET_ACCESS);
    if (!session.IsOpen()) return CString();
    ApplyTimeouts(session, timeouts);
    std::unique_ptr<CHttpConnection> connection = session.GetHttpConnection(server, port);
    if (!connection) return CString();
    std::unique_ptr<CHttpFile> file =
        connection->OpenRequest(L"POST", object, nullptr, 1, nullptr, nullptr, kPostFlags);
    if (!file) return CString();
    file->AddRequestHeaders(L"Content-Type: application/x-www-form-urlencoded\r\n",
                            HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    file->AddRequestHeaders(L"Accept: */*\r\n", HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    if (!file->SendRequestEx(length, HSR_INITIATE, 1)) return CString();
    if (!file->Write(body, length)) return CString();
    if (!file->EndRequest(0, 1)) return CString();
    return ReadReply(*file, timeouts);
}
