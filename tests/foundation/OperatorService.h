// Access to the stand-in for the operator's service that ctest starts around this program: its
// address, unique request tags, and the requests it logged (one JSON object per line).
#pragma once

#include "framework/String.h"

#include <json/json.h>
#include <windows.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace service {

inline std::wstring Dir() {
    return L"" PELLAR_SERVICE_DIR;
}

// The whole file as bytes (empty when it cannot be read; the service may be writing it, so share).
inline std::string ReadAll(const std::wstring& path) {
    std::string bytes;
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

inline int Port() {
    return atoi(ReadAll(Dir() + L"/port").c_str());
}

// http://127.0.0.1:<port> followed by pathAndQuery.
inline CString Url(const wchar_t* pathAndQuery) {
    CString url;
    url.Format(L"http://127.0.0.1:%d", Port());
    return url + pathAndQuery;
}

// A tag no other request of any run carries.
inline CString Tag(const wchar_t* name) {
    static LONG counter = 0;
    CString tag;
    tag.Format(L"%s-%lu-%lu-%ld", name, GetCurrentProcessId(), GetTickCount(),
               InterlockedIncrement(&counter));
    return tag;
}

// Every logged request whose query or path contains tag, in arrival order.
inline std::vector<Json::Value> Requests(const CString& tag) {
    std::vector<Json::Value> found;
    const std::string needle = tag.ToUtf8();
    std::istringstream in(ReadAll(Dir() + L"/requests.jsonl"));
    std::string line;
    Json::CharReaderBuilder builder;
    while (std::getline(in, line)) {
        if (line.find(needle) == std::string::npos) continue;
        Json::Value entry;
        std::string errors;
        std::istringstream text(line);
        if (Json::parseFromStream(builder, text, &entry, &errors) && entry.isObject()) found.push_back(entry);
    }
    return found;
}

// The first header of that name (case-insensitive), or "<absent>".
inline std::string Header(const Json::Value& entry, const char* name) {
    const Json::Value& headers = entry["headers"];
    for (const Json::Value& pair : headers)
        if (pair.isArray() && pair.size() == 2 && _stricmp(pair[0].asCString(), name) == 0)
            return pair[1].asString();
    return "<absent>";
}

inline std::string Body(const Json::Value& entry) {
    const std::string hex = entry["body_hex"].asString();
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

// The service's body pattern: its first size bytes.
inline std::string Pattern(size_t size) {
    static const std::string unit = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string out;
    while (out.size() < size)
        out += unit;
    out.resize(size);
    return out;
}

} // namespace service
