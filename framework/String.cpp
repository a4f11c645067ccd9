#include "String.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

bool IsSpace(wchar_t ch) {
    return ch == L' ' || ch == L'\t' || ch == L'\n' || ch == L'\r' || ch == L'\v' || ch == L'\f';
}

} // namespace

CString::CString(const wchar_t* text, int length) {
    if (text && length > 0) m_str.assign(text, static_cast<size_t>(length));
}

CString::CString(wchar_t ch, int repeat) {
    if (repeat > 0) m_str.assign(static_cast<size_t>(repeat), ch);
}

CString::CString(const char* ansi) : CString(FromAnsi(ansi)) {}

wchar_t CString::GetAt(int index) const {
    if (index < 0 || index >= GetLength()) return 0;
    return m_str[static_cast<size_t>(index)];
}

CString& CString::operator=(const wchar_t* text) {
    m_str = text ? text : L"";
    return *this;
}

CString& CString::operator+=(const CString& text) {
    m_str += text.m_str;
    return *this;
}

CString& CString::operator+=(const wchar_t* text) {
    if (text) m_str += text;
    return *this;
}

CString& CString::operator+=(wchar_t ch) {
    m_str += ch;
    return *this;
}

void CString::Append(const wchar_t* text, int length) {
    if (text && length > 0) m_str.append(text, static_cast<size_t>(length));
}

int CString::Compare(const wchar_t* other) const {
    return wcscmp(m_str.c_str(), other ? other : L"");
}

int CString::CompareNoCase(const wchar_t* other) const {
    return _wcsicmp(m_str.c_str(), other ? other : L"");
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0 || start >= GetLength()) return -1;
    size_t pos = m_str.find(ch, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

namespace {

// The first occurrence of sub in text at or after start, in time linear in both lengths whatever they
// hold (Knuth-Morris-Pratt). The library's search compares the whole of sub at each position, which a
// long sub of repeated characters turns quadratic.
size_t FindLinear(const std::wstring& text, const wchar_t* sub, size_t length, size_t start) {
    std::vector<size_t> border(length, 0); // border[i]: longest proper border of sub[0..i]
    for (size_t i = 1, k = 0; i < length; ++i) {
        while (k > 0 && sub[i] != sub[k])
            k = border[k - 1];
        if (sub[i] == sub[k]) ++k;
        border[i] = k;
    }
    for (size_t i = start, k = 0; i < text.size(); ++i) {
        while (k > 0 && text[i] != sub[k])
            k = border[k - 1];
        if (text[i] == sub[k] && ++k == length) return i + 1 - length;
    }
    return std::wstring::npos;
}

// Up to this length the library's search is bounded by a small constant per position.
constexpr size_t kShortSearch = 16;

} // namespace

int CString::Find(const wchar_t* sub, int start) const {
    if (!sub || start < 0 || start > GetLength()) return -1;
    // A sub longer than the rest of the text cannot be there: its length is not even counted in full,
    // so a caller that looks for one long id in many short texts pays for the texts, not the id each time.
    const size_t rest = m_str.size() - static_cast<size_t>(start);
    const size_t length = wcsnlen(sub, rest + 1);
    if (length > rest) return -1;
    const size_t pos = length <= kShortSearch ? m_str.find(sub, static_cast<size_t>(start), length)
                                              : FindLinear(m_str, sub, length, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(wchar_t ch) const {
    size_t pos = m_str.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const wchar_t* chars) const {
    if (!chars) return -1;
    size_t pos = m_str.find_first_of(chars);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CString(m_str.substr(0, static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CString(m_str.substr(m_str.size() - static_cast<size_t>(count)));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString& CString::MakeLower() {
    if (!m_str.empty()) CharLowerBuffW(&m_str[0], static_cast<DWORD>(m_str.size()));
    return *this;
}

int CString::Replace(wchar_t oldCh, wchar_t newCh) {
    int count = 0;
    for (auto& ch : m_str) {
        if (ch == oldCh) {
            ch = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
    if (!oldText || !*oldText) return 0;
    const std::wstring from(oldText), to(newText ? newText : L"");
    std::wstring out;
    int count = 0;
    size_t pos = 0;
    for (;;) {
        size_t hit = m_str.find(from, pos);
        if (hit == std::wstring::npos) break;
        out.append(m_str, pos, hit - pos);
        out += to;
        pos = hit + from.size();
        ++count;
    }
    if (count) {
        out.append(m_str, pos, std::wstring::npos);
        m_str.swap(out);
    }
    return count;
}

int CString::Remove(wchar_t ch) {
    size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(before - m_str.size());
}

void CString::Truncate(int length) {
    if (length >= 0 && length < GetLength()) m_str.resize(static_cast<size_t>(length));
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < m_str.size() && IsSpace(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    while (!m_str.empty() && IsSpace(m_str.back()))
        m_str.pop_back();
    return *this;
}

CString& CString::TrimRight(wchar_t ch) {
    while (!m_str.empty() && m_str.back() == ch)
        m_str.pop_back();
    return *this;
}

void CString::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const wchar_t* format, va_list args) {
    m_str.clear();
    if (!format) return;
    va_list probe;
    va_copy(probe, args);
    // The msvcrt entry points keep the Windows meaning of %s in wide formats (mingw's own
    // replacements would read it as a narrow text).
    int length = _vscwprintf(format, probe);
    va_end(probe);
    if (length <= 0) return;
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    int written = _vsnwprintf(&buffer[0], buffer.size(), format, args);
    if (written < 0) return;
    buffer.resize(static_cast<size_t>(std::min(written, length)));
    m_str.swap(buffer);
}

void CString::AppendFormat(const wchar_t* format, ...) {
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    m_str += tail.m_str;
}

wchar_t* CString::GetBuffer(int minLength) {
    if (minLength > GetLength()) m_str.resize(static_cast<size_t>(minLength));
    return &m_str[0];
}

wchar_t* CString::GetBufferSetLength(int length) {
    m_str.resize(static_cast<size_t>(std::max(length, 0)));
    return &m_str[0];
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) {
        size_t zero = m_str.find(L'\0');
        if (zero != std::wstring::npos) m_str.resize(zero);
    } else if (static_cast<size_t>(newLength) <= m_str.size()) {
        m_str.resize(static_cast<size_t>(newLength));
    }
}

std::string CString::ToAnsi(UINT codePage) const {
    if (m_str.empty()) return std::string();
    int size = WideCharToMultiByte(codePage, 0, m_str.data(), GetLength(), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, m_str.data(), GetLength(), &out[0], size, nullptr, nullptr);
    return out;
}

CString CString::FromAnsi(const char* bytes, int length, UINT codePage) {
    if (!bytes) return CString();
    if (length < 0) length = static_cast<int>(strlen(bytes));
    if (length == 0) return CString();
    int size = MultiByteToWideChar(codePage, 0, bytes, length, nullptr, 0);
    if (size <= 0) return CString();
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, bytes, length, &out[0], size);
    return CString(out);
}

CString operator+(const CString& a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
CString operator+(const CString& a, const wchar_t* b) {
    CString r(a);
    r += b;
    return r;
}
CString operator+(const wchar_t* a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
CString operator+(const CString& a, wchar_t b) {
    CString r(a);
    r += b;
    return r;
}
CString operator+(wchar_t a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

void CopyTextCut(wchar_t* field, size_t capacity, const wchar_t* text) {
    if (!field || capacity == 0) return;
    size_t count = text ? wcslen(text) : 0;
    if (count >= capacity) {
        count = capacity - 1;
        if (count > 0 && IS_HIGH_SURROGATE(text[count - 1])) --count;
    }
    if (count) wmemcpy(field, text, count);
    field[count] = L'\0';
}
