// GDI+ for the skin code: the C++ wrappers that mingw ships, plus owners for what they lack.
#pragma once

#include <windows.h>
// The wrappers expect min and max, which NOMINMAX removes from windows.h.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

#include <memory>

// Starts GDI+ for the lifetime of the object (programs and test environments; the client starts it
// once in its application object).
class CGdiplusSession {
public:
    CGdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        m_ok = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
    }
    ~CGdiplusSession() {
        if (m_ok) Gdiplus::GdiplusShutdown(m_token);
    }
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;
    bool IsOk() const { return m_ok; }

private:
    ULONG_PTR m_token = 0;
    bool m_ok = false;
};

// A loaded image, owned; null when the file is missing, unreadable or has no width.
using SkinImagePtr = std::unique_ptr<Gdiplus::Image>;
