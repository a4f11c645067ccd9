#include "tools/driver/ProgramFolder.h"

#include "TempDir.h"
#include "framework/File.h"
#include "tools/driver/Poll.h"
#include "tools/driver/SkinLayout.h"

#include <cctype>

namespace driver {

CProgramFolder::~CProgramFolder() {
    if (m_path.IsEmpty()) return;
    // A process that has just ended may still hold its files for a moment.
    WaitUntil(5000, [this] { return TempDir::RemoveTree(m_path); });
}

bool CProgramFolder::Create(const CString& programPath, const CString& skinFolder, int servicePort) {
    if (!m_path.IsEmpty()) return false;
    CString program = programPath;
    program.Replace(L'/', L'\\');
    wchar_t temp[MAX_PATH] = {};
    if (!GetTempPathW(MAX_PATH, temp)) return false;
    static LONG s_counter = 0;
    CString path;
    path.Format(L"%spellar_run_%lu_%ld", temp, GetCurrentProcessId(), InterlockedIncrement(&s_counter));
    if (!CreateDirectoryW(path, nullptr)) return false;
    m_path = path;

    const int slash = program.ReverseFind(L'\\');
    m_program = m_path + L"\\" + program.Mid(slash + 1);
    if (!CopyFileW(program, m_program, TRUE)) return false;
    if (skinFolder.IsEmpty()) return true;
    if (!CopyTree(skinFolder, m_path + L"\\skin")) return false;
    if (servicePort == 0) return true;
    const CString config = FindConfigFile(m_path);
    return !config.IsEmpty() &&
           WriteBytes(config, ReplaceLoopbackPort(TempDir::ReadFile(config), servicePort));
}

bool CProgramFolder::SetConfigValue(const char* key, const std::string& value) const {
    const CString config = FindConfigFile(m_path);
    if (config.IsEmpty()) return false;
    std::string text = TempDir::ReadFile(config);
    const std::string attribute = std::string(" ") + key + "=\"";
    const size_t at = text.find(attribute);
    if (at == std::string::npos) return false;
    const size_t start = at + attribute.size();
    const size_t end = text.find('"', start);
    if (end == std::string::npos) return false;
    text.replace(start, end - start, value);
    return WriteBytes(config, text);
}

bool CopyTree(const CString& from, const CString& to) {
    if (!CreateDirectoryW(to, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    CFileFind finder;
    bool copied = true;
    BOOL more = finder.FindFile(from + L"\\*");
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots()) continue;
        const CString target = to + L"\\" + finder.GetFileName();
        if (finder.IsDirectory())
            copied = CopyTree(finder.GetFilePath(), target) && copied;
        else
            copied = CopyFileW(finder.GetFilePath(), target, FALSE) && copied;
    }
    return copied;
}

bool WriteBytes(const CString& path, const std::string& bytes) {
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite)) return false;
    return file.Write(bytes.data(), static_cast<UINT>(bytes.size())) != FALSE;
}

std::string ReplaceLoopbackPort(const std::string& text, int port) {
    static const std::string kPrefix = "http://127.0.0.1:";
    const std::string number = std::to_string(port);
    std::string result;
    size_t from = 0;
    for (size_t at; (at = text.find(kPrefix, from)) != std::string::npos;) {
        size_t end = at + kPrefix.size();
        while (end < text.size() && isdigit(static_cast<unsigned char>(text[end])))
            ++end;
        result.append(text, from, at + kPrefix.size() - from);
        result += number;
        from = end;
    }
    result.append(text, from, std::string::npos);
    return result;
}

} // namespace driver
