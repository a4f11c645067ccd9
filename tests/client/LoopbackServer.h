// A tiny HTTP server on 127.0.0.1 (a free port) that answers every request with a small page and
// remembers the requested paths.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include "framework/String.h"
#include "framework/Sync.h"

#include <algorithm>
#include <string>
#include <vector>

class LoopbackServer {
public:
    LoopbackServer() {
        WSADATA data;
        m_wsa = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        m_listen = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in addr = {};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (m_listen == INVALID_SOCKET ||
            bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(m_listen, 8) != 0)
            return;
        int len = sizeof addr;
        getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = CreateThread(nullptr, 0, &LoopbackServer::Run, this, 0, nullptr);
    }
    ~LoopbackServer() {
        InterlockedExchange(&m_stop, 1);
        if (m_thread) {
            WaitForSingleObject(m_thread, 5000);
            CloseHandle(m_thread);
        }
        if (m_listen != INVALID_SOCKET) closesocket(m_listen);
        if (m_wsa) WSACleanup();
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool IsRunning() const { return m_thread != nullptr; }
    CString Url(const wchar_t* path) const {
        CString url;
        url.Format(L"http://127.0.0.1:%u%s", m_port, path);
        return url;
    }
    bool WasRequested(const std::string& path) {
        CSingleLock lock(&m_lock, TRUE);
        return std::find(m_paths.begin(), m_paths.end(), path) != m_paths.end();
    }

private:
    static DWORD WINAPI Run(LPVOID self) {
        static_cast<LoopbackServer*>(self)->Serve();
        return 0;
    }
    void Serve() {
        while (!InterlockedCompareExchange(&m_stop, 0, 0)) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(m_listen, &set);
            timeval wait = {0, 50000};
            if (select(0, &set, nullptr, nullptr, &wait) <= 0) continue;
            SOCKET client = accept(m_listen, nullptr, nullptr);
            if (client == INVALID_SOCKET) continue;
            std::string request;
            char buffer[2048];
            for (int tries = 0; tries < 100 && request.find("\r\n\r\n") == std::string::npos; ++tries) {
                FD_ZERO(&set);
                FD_SET(client, &set);
                timeval slice = {0, 20000};
                if (select(0, &set, nullptr, nullptr, &slice) <= 0) continue;
                int got = recv(client, buffer, sizeof buffer, 0);
                if (got <= 0) break;
                request.append(buffer, got);
            }
            const size_t first = request.find(' '), second = request.find(' ', first + 1);
            if (second != std::string::npos) {
                CSingleLock lock(&m_lock, TRUE);
                m_paths.push_back(request.substr(first + 1, second - first - 1));
            }
            static const char reply[] =
                "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: 42\r\n"
                "Connection: close\r\n\r\n<html><title>Loopback</title>hello</html>\n";
            send(client, reply, sizeof reply - 1, 0);
            shutdown(client, SD_SEND);
            closesocket(client);
        }
    }

    bool m_wsa = false;
    SOCKET m_listen = INVALID_SOCKET;
    unsigned m_port = 0;
    HANDLE m_thread = nullptr;
    LONG m_stop = 0;
    CCriticalSection m_lock;
    std::vector<std::string> m_paths;
};
