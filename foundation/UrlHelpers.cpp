#include "foundation/UrlHelpers.h"

#include <algorithm>
#include <climits>
#include <cstring>

BOOL UrlHasQuery(CString& url) {
    int question = url.Find(L'?');
    if (question < 0) return FALSE;
    if (question + 1 < url.GetLength()) return TRUE;
    url.Truncate(question);
    return FALSE;
}

BOOL IsBrowserWebAddress(const wchar_t* url) {
    if (!url) return FALSE;
    const wchar_t* p = url;
    while (*p && *p <= L' ')
        ++p;
    // Only ASCII letters spell a scheme: a case-blind comparison that folds other letters (the long s
    // folds to "S") would let a different scheme through.
    char scheme[6] = {};
    size_t length = 0;
    for (; *p && *p != L':'; ++p) {
        if (*p == L'\t' || *p == L'\n' || *p == L'\r') continue;
        const wchar_t ch = *p >= L'A' && *p <= L'Z' ? static_cast<wchar_t>(*p - L'A' + L'a') : *p;
        if (length == 5 || ch < L'a' || ch > L'z') return FALSE;
        scheme[length++] = static_cast<char>(ch);
    }
    if (*p != L':') return FALSE;
    return strcmp(scheme, "http") == 0 || strcmp(scheme, "https") == 0;
}

void AppendTimeStamp(CString& url) {
    CString base(url);
    BOOL hasQuery = UrlHasQuery(base);
    // The tick count prints signed, as it always has: after ~24.8 days of uptime it turns negative.
    int ticks = static_cast<int>(GetTickCount());
    url.Format(hasQuery ? L"%s&mytime=%d" : L"%s?mytime=%d", base.GetString(), ticks);
}

namespace {

int HexValue(wchar_t ch) {
    if (ch >= L'0' && ch <= L'9') return ch - L'0';
    if (ch >= L'a' && ch <= L'f') return ch - L'a' + 10;
    if (ch >= L'A' && ch <= L'F') return ch - L'A' + 10;
    return -1;
}

// A decoded character may replace its escape only when neither it nor its ANSI bytes could end the
// JSON string early or start an escape: a double-byte character whose trail byte is 0x5C would.
bool SafeInJsonString(wchar_t ch) {
    if (ch < 0x20 || ch == L'"' || ch == L'\\') return false;
    char bytes[8] = {};
    int count = WideCharToMultiByte(CP_THREAD_ACP, 0, &ch, 1, bytes, sizeof(bytes), nullptr, nullptr);
    for (int i = 0; i < count; ++i) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x20 || b == '"' || b == '\\') return false;
    }
    return true;
}

} // namespace

void JsonUnescapeToAnsi(const wchar_t* text, std::string& out) {
    out.clear();
    if (!text) return;
    const std::wstring src(text);
    const size_t size = src.size();
    // A reply whose very first characters are "\u" has always been left undecoded.
    const bool decode = !(size >= 2 && src[0] == L'\\' && src[1] == L'u');

    std::wstring result;
    result.reserve(size);
    size_t i = 0;
    while (i < size) {
        const wchar_t ch = src[i];
        if (ch != L'\\' || i + 1 >= size) {
            result += ch;
            ++i;
            continue;
        }
        const wchar_t kind = src[i + 1];
        if (kind == L'/') {
            result += L'/';
            i += 2;
            continue;
        }
        if (kind == L'u' && decode) {
            const size_t taken = std::min<size_t>(4, size - (i + 2));
            unsigned value = 0;
            for (size_t k = 0; k < taken; ++k) {
                int digit = HexValue(src[i + 2 + k]);
                if (digit < 0) break;
                value = value * 16 + static_cast<unsigned>(digit);
            }
            if (value == 0) {
                i += 2 + taken; // an escape naming nothing readable is dropped
                continue;
            }
            const wchar_t decoded = static_cast<wchar_t>(value);
            if (SafeInJsonString(decoded)) {
                result += decoded;
                i += 2 + taken;
                continue;
            }
        }
        // Every other pair, an escaped backslash included, stays for the JSON parser; taking the
        // pair whole keeps "\\u0041" from being read as a backslash and an escape.
        result += ch;
        result += kind;
        i += 2;
    }
    out = CString(result).ToAnsi(CP_THREAD_ACP);
}

void SplitByComma(std::vector<CString>& pieces, const CString& text) {
    pieces.clear();
    int pos = 0;
    for (;;) {
        int comma = text.Find(L',', pos);
        if (comma < 0) {
            pieces.push_back(text.Mid(pos));
            return;
        }
        pieces.push_back(text.Mid(pos, comma - pos));
        pos = comma + 1;
        if (pos >= text.GetLength()) return;
    }
}

int AnsiToInt(const CString& text) {
    const std::string bytes = text.ToAnsi(CP_THREAD_ACP);
    size_t i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || (bytes[i] >= '\t' && bytes[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < bytes.size() && (bytes[i] == '+' || bytes[i] == '-')) negative = bytes[i++] == '-';
    long long value = 0;
    for (; i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9'; ++i) {
        value = value * 10 + (bytes[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

COLORREF ParseRgbColor(const CString& text) {
    std::vector<CString> pieces;
    SplitByComma(pieces, text);
    int parts[3] = {};
    for (size_t i = 0; i < 3 && i < pieces.size(); ++i)
        parts[i] = AnsiToInt(pieces[i]);
    return RGB(parts[0] & 0xFF, parts[1] & 0xFF, parts[2] & 0xFF);
}
