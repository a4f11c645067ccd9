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
        int len = sizeof addr;
        if (m_listen == INVALID_SOCKET || bind(m_listen, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
            listen(m_listen, 8) != 0 || getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            return;
        m_port = ntohs(addr.sin_port);
        m_thread = CreateThread(nullptr, 0, &LoopbackServer::Run, this, 0, nullptr);
    }
    // Closing the listening socket ends the blocked accept and with it the thread.
    ~LoopbackServer() {
        if (m_listen != INVALID_SOCKET) closesocket(m_listen);
        if (m_thread) {
            WaitForSingleObject(m_thread, 5000);
            CloseHandle(m_thread);
        }
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

    // The body of every later answer (a small page at first).
    void SetBody(const std::string& body) {
        CSingleLock lock(&m_lock, TRUE);
        m_body = body;
    }

    // How many requests asked for a path that begins with prefix.
    size_t CountRequests(const std::string& prefix) {
        CSingleLock lock(&m_lock, TRUE);
        return static_cast<size_t>(
            std::count_if(m_paths.begin(), m_paths.end(), [&](const std::string& path) {
                return path.compare(0, prefix.size(), prefix) == 0;
            }));
    }

private:
    static DWORD WINAPI Run(LPVOID self) {
        static_cast<LoopbackServer*>(self)->Serve();
        return 0;
    }
    void Serve() {
        for (SOCKET client; (client = accept(m_listen, nullptr, nullptr)) != INVALID_SOCKET;
             closesocket(client)) {
            DWORD timeout = 300; // a connection that never sends is given up (browsers open spare ones)
            setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                       sizeof timeout);
            std::string request;
            char buffer[2048];
            for (int got; request.find("\r\n\r\n") == std::string::npos &&
                          (got = recv(client, buffer, sizeof buffer, 0)) > 0;)
                request.append(buffer, got);
            const size_t first = request.find(' '), second = request.find(' ', first + 1);
            if (second != std::string::npos) {
                CSingleLock lock(&m_lock, TRUE);
                m_paths.push_back(request.substr(first + 1, second - first - 1));
            }
            std::string body;
            {
                CSingleLock lock(&m_lock, TRUE);
                body = m_body;
            }
            const std::string reply = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                                      std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
            send(client, reply.data(), static_cast<int>(reply.size()), 0);
            shutdown(client, SD_SEND);
        }
    }

    bool m_wsa = false;
    SOCKET m_listen = INVALID_SOCKET;
    unsigned m_port = 0;
    HANDLE m_thread = nullptr;
    CCriticalSection m_lock;
    std::string m_body = "<html><title>Loopback</title>hello</html>\n";
    std::vector<std::string> m_paths;
};
