// CString: the UTF-16 text type used throughout the program, a plain value type over std::wstring
// with the class library's familiar operations. Text becomes bytes only through the explicit
// conversions at the bottom (thread ANSI code page or UTF-8).
#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_str(text ? text : L"") {}
    CString(const wchar_t* text, int length);
    CString(wchar_t ch, int repeat = 1);
    CString(const std::wstring& text) : m_str(text) {}
    // Bytes in the thread's ANSI code page, as the class library converts them.
    CString(const char* ansi);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    const wchar_t* GetString() const { return m_str.c_str(); }
    operator const wchar_t*() const { return m_str.c_str(); }
    const std::wstring& Str() const { return m_str; }

    wchar_t GetAt(int index) const;
    wchar_t operator[](int index) const { return GetAt(index); }

    CString& operator=(const wchar_t* text);
    CString& operator+=(const CString& text);
    CString& operator+=(const wchar_t* text);
    CString& operator+=(wchar_t ch);
    void Append(const wchar_t* text, int length);

    int Compare(const wchar_t* other) const;
    int CompareNoCase(const wchar_t* other) const;

    // Search; positions are UTF-16 units, -1 when not found.
    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* sub, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(const wchar_t* chars) const;

    // Substrings; out-of-range arguments are clamped like the class library does.
    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    CString& MakeLower();
    int Replace(wchar_t oldCh, wchar_t newCh);
    int Replace(const wchar_t* oldText, const wchar_t* newText);
    int Remove(wchar_t ch);
    void Truncate(int length);
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& TrimRight(wchar_t ch);

    // printf-style formatting with the platform's meaning of the conversions: in these wide
    // functions %s takes a wide text. Never pass configured text as the format.
    void Format(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);
    void AppendFormat(const wchar_t* format, ...);

    // Direct buffer access: GetBuffer gives room for at least minLength units plus a terminator;
    // ReleaseBuffer(-1) ends the text at the first zero.
    wchar_t* GetBuffer(int minLength = 0);
    wchar_t* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    // Conversions to and from bytes.
    std::string ToAnsi(UINT codePage = CP_THREAD_ACP) const;
    std::string ToUtf8() const { return ToAnsi(CP_UTF8); }
    static CString FromAnsi(const char* bytes, int length = -1, UINT codePage = CP_THREAD_ACP);
    static CString FromUtf8(const char* bytes, int length = -1) { return FromAnsi(bytes, length, CP_UTF8); }

private:
    std::wstring m_str;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const wchar_t* b);
CString operator+(const wchar_t* a, const CString& b);
CString operator+(const CString& a, wchar_t b);
CString operator+(wchar_t a, const CString& b);

inline bool operator==(const CString& a, const CString& b) {
    return a.Str() == b.Str();
}
inline bool operator==(const CString& a, const wchar_t* b) {
    return a.Compare(b) == 0;
}
inline bool operator==(const wchar_t* a, const CString& b) {
    return b.Compare(a) == 0;
}
inline bool operator!=(const CString& a, const CString& b) {
    return !(a == b);
}
inline bool operator!=(const CString& a, const wchar_t* b) {
    return !(a == b);
}
inline bool operator!=(const wchar_t* a, const CString& b) {
    return !(b == a);
}
inline bool operator<(const CString& a, const CString& b) {
    return a.Str() < b.Str();
}

// Copies text into a fixed field of capacity units with its terminating zero, cut to fit on a
// character boundary (never half a surrogate pair). Nothing happens when capacity is 0.
void CopyTextCut(wchar_t* field, size_t capacity, const wchar_t* text);
