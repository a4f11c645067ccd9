#include "foundation/TextPattern.h"

CString FillPattern(const CString& pattern, std::initializer_list<const wchar_t*> args) {
    CString out;
    auto next = args.begin();
    const int length = pattern.GetLength();
    for (int i = 0; i < length; ++i) {
        wchar_t ch = pattern[i];
        if (ch == L'%' && i + 1 < length) {
            wchar_t kind = pattern[i + 1];
            if (kind == L'%') {
                out += L'%';
                ++i;
                continue;
            }
            if (kind == L's') {
                // A marker without an argument left reads as the empty text.
                if (next != args.end()) {
                    out += *next;
                    ++next;
                }
                ++i;
                continue;
            }
        }
        out += ch;
    }
    return out;
}
