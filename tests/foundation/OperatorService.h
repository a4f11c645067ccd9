// Access to the stand-in for the operator's service that ctest starts around this program: its
// address, unique request tags, and the requests it logged (one JSON object per line).
#pragma once

#include "TempDir.h"

#include "framework/String.h"

#include <json/json.h>
#include <windows.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace service {

inline int Port() {
    return atoi(TempDir::ReadFile(L"" PELLAR_SERVICE_DIR L"/port").c_str());
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
    std::istringstream in(TempDir::ReadFile(L"" PELLAR_SERVICE_DIR L"/requests.jsonl"));
    Json::CharReaderBuilder builder;
    for (std::string line; std::getline(in, line);) {
        Json::Value entry;
        std::istringstream text(line);
        if (line.find(tag.ToUtf8()) != std::string::npos &&
            Json::parseFromStream(builder, text, &entry, nullptr) && entry.isObject())
            found.push_back(entry);
    }
    return found;
}

// The first header of that name (case-insensitive), or "<absent>".
inline std::string Header(const Json::Value& entry, const char* name) {
    for (const Json::Value& pair : entry["headers"])
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
