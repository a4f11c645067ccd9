#include "foundation/UserInfo.h"

#include "foundation/Config.h"
#include "foundation/Md5.h"
#include "foundation/TextPattern.h"

#include <string>

CString g_strServerId;

CString GetUserInfoUrl() {
    if (g_strUserMd5Fmt.IsEmpty()) return g_strUserInfoUrl;

    // The signing text is hashed whole, up to its first zero byte, however long it is.
    const std::string signing = FillPattern(g_strUserMd5Fmt, {g_strServerId}).ToAnsi(CP_THREAD_ACP);
    const size_t length = signing.find('\0') == std::string::npos ? signing.size() : signing.find('\0');
    char digest[33] = {};
    if (length > 0x7FFFFFFF ||
        Md5HexDigest(reinterpret_cast<const unsigned char*>(signing.data()), static_cast<int>(length), digest) != 0)
        digest[0] = '\0';

    return FillPattern(g_strUserInfoUrl, {g_strServerId, CString::FromAnsi(digest)});
}

void ParseServerId(const wchar_t* gameUrl) {
    if (!gameUrl || !*gameUrl) return;
    CString address(gameUrl);
    address.MakeLower();
    CString key = g_strServerParamName;
    key.MakeLower();

    int found = address.Find(key);
    g_strServerId.Empty();
    if (found < 0) return;
    for (int i = found + key.GetLength(); i < address.GetLength(); ++i) {
        wchar_t ch = address[i];
        if (ch < L'0' || ch > L'9') break;
        g_strServerId += ch;
    }
}
