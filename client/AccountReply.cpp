#include "client/AccountReply.h"

#include "foundation/Http.h"
#include "foundation/Md5.h"
#include "foundation/UrlHelpers.h"

#include <json/json.h>

#include <ctime>
#include <exception>

namespace {

const size_t kMaxPwKeyBytes = 254;
const size_t kMaxBodyBytes = 1023;

// The service's replies are read with the parser's default features (comments allowed).
bool ParseJson(const std::string& text, Json::Value& root) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    Json::Reader reader;
#pragma GCC diagnostic pop
    return reader.parse(text, root, false);
}

CString FromJsonText(const std::string& text) {
    return CString::FromAnsi(text.data(), static_cast<int>(text.size()));
}

// A value where text is expected: a scalar reads as the parser prints it (a boolean as "true" or
// "false"), null, an array or an object as the empty text.
CString TextOf(const Json::Value& value) {
    if (value.isArray() || value.isObject()) return CString();
    return FromJsonText(value.asString());
}

// A member of an object value, or null for any other value.
const Json::Value& Member(const Json::Value& value, const char* key) {
    static const Json::Value null;
    return value.isObject() ? value[key] : null;
}

// A text errno counts by its leading decimal number (blanks and a sign may precede the digits):
// zero when that number is 0 or missing.
bool TextIsZero(const std::string& text) {
    size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos) return true;
    if (text[i] == '+' || text[i] == '-') ++i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (text[i] != '0') return false;
    return true;
}

// errno of a reply: an integer counts by its value, also beyond the int range (then never 0); a
// text by its leading number; a real, a boolean, anything else or nothing counts as 0.
bool ErrnoIsZero(const Json::Value& value, const std::string& document) {
    switch (value.type()) {
    case Json::stringValue:
        return TextIsZero(value.asString());
    case Json::intValue:
    case Json::uintValue:
        return value.isInt() && value.asInt() == 0;
    case Json::realValue: {
        // The parser keeps an integer too long for 64 bits as a real: tell it by its digits.
        const ptrdiff_t start = value.getOffsetStart(), limit = value.getOffsetLimit();
        if (start < 0 || limit <= start || static_cast<size_t>(limit) > document.size()) return true;
        const std::string literal =
            document.substr(static_cast<size_t>(start), static_cast<size_t>(limit - start));
        return literal.find_first_of(".eE") != std::string::npos;
    }
    default:
        return true;
    }
}

bool ReadLoginReply(const std::string& document, const CString& serverId, AccountReply& out) {
    Json::Value root;
    if (!ParseJson(document, root) || !root.isObject()) return false;
    if (!ErrnoIsZero(Member(root, "errno"), document)) return false;

    const Json::Value& data = Member(root, "data"); // anything but an object reads as null
    out.strUserName = TextOf(Member(data, "user_name"));
    const Json::Value& logout = Member(data, "logout_url");
    if (logout.isString()) out.logoutUrl = FromJsonText(logout.asString());
    const Json::Value& gsurl = Member(data, "gsurl");
    if (gsurl.isString()) out.gsUrl = FromJsonText(gsurl.asString());

    const Json::Value& servers = Member(data, "allserver");
    if (!servers.isArray()) return true;
    for (const Json::Value& server : servers) {
        ServerEntry entry{TextOf(Member(server, "server_name")), TextOf(Member(server, "server_url"))};
        // The id counts only after the first character: a name never begins with its own id.
        if (!serverId.IsEmpty() && entry.strName.Find(serverId) > 0) out.curServerName = entry.strName;
        out.servers.push_back(entry);
    }
    return true;
}

} // namespace

BOOL ParseLoginReply(const wchar_t* reply, const CString& serverId, AccountReply& out) {
    out = AccountReply();
    if (!reply || !*reply) return FALSE;
    try {
        std::string document;
        JsonUnescapeToAnsi(reply, document);
        const size_t blank = document.find("\r\n\r\n");
        if (blank != std::string::npos) document.resize(blank);
        AccountReply parsed;
        if (!ReadLoginReply(document, serverId, parsed)) return FALSE;
        out = std::move(parsed);
        return TRUE;
    } catch (const std::exception&) {
        return FALSE; // nesting beyond the parser's limit, or no memory for a huge reply
    }
}

BOOL BuildSignedBody(const CString& pwKey, const CString& userName, int32_t time, std::string& body) {
    body.clear();
    const std::string key = pwKey.ToAnsi();
    if (key.size() > kMaxPwKeyBytes) return FALSE;
    const std::string stamp = std::to_string(time);
    const std::string signed_text = key + stamp;
    char sign[33] = {};
    if (Md5HexDigest(reinterpret_cast<const unsigned char*>(signed_text.data()),
                     static_cast<int>(signed_text.size()), sign) != 0)
        return FALSE;
    std::string text = std::string("sign=") + sign + "&time=" + stamp + "&user_code=" + userName.ToAnsi();
    if (text.size() > kMaxBodyBytes) return FALSE;
    body = std::move(text);
    return TRUE;
}

BOOL ParseUserPwdReply(const CString& reply, CString& userPwd) {
    try {
        Json::Value root;
        if (!ParseJson(reply.ToAnsi(), root) || !root.isObject()) return FALSE;
        const Json::Value& code = Member(root, "errno");
        if (!code.isString() || code.asString() != "ok") return FALSE;
        userPwd = TextOf(Member(root, "user_pwd"));
        return TRUE;
    } catch (const std::exception&) {
        return FALSE;
    }
}

BOOL RequestUserPwd(const CString& apiUrl, const CString& pwKey, const CString& userName, CString& userPwd) {
    // Seconds since 1970, the low 32 bits as a signed number.
    const int32_t now =
        static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(std::time(nullptr))));
    std::string body;
    if (!BuildSignedBody(pwKey, userName, now, body)) return FALSE;
    return ParseUserPwdReply(HttpPost(apiUrl, body.c_str()), userPwd);
}
