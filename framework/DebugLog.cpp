#include "framework/DebugLog.h"

#include <windows.h>

#include <exception>

namespace {

const size_t kLineUnits = 512;

// Appends as much of text as fits, keeping room for the terminator.
void Append(wchar_t (&line)[kLineUnits], size_t& used, const wchar_t* text) {
    for (; text && *text && used + 1 < kLineUnits; ++text)
        line[used++] = *text;
    line[used] = L'\0';
}

} // namespace

void DebugLog(const wchar_t* where, const wchar_t* what) noexcept {
    wchar_t line[kLineUnits];
    size_t used = 0;
    Append(line, used, where ? where : L"?");
    Append(line, used, L": ");
    Append(line, used, what ? what : L"");
    if (used + 1 == kLineUnits) --used; // the line always ends with its newline
    Append(line, used, L"\n");
    OutputDebugStringW(line);
}

void DebugLogException(const wchar_t* where) noexcept {
    wchar_t what[kLineUnits] = L"exception of an unknown type";
    try {
        throw;
    } catch (const std::exception& e) {
        size_t used = 0;
        Append(what, used, L"exception: ");
        // A text that does not fit fails the conversion: then the prefix alone is logged.
        const int room = static_cast<int>(kLineUnits - 1 - used);
        const int written = MultiByteToWideChar(CP_ACP, 0, e.what(), -1, what + used, room);
        what[written > 0 ? used + written - 1 : used] = L'\0';
    } catch (...) {
    }
    DebugLog(where, what);
}
