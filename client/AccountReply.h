// The account service's two replies, read into plain values without any window: the user-info reply
// (name, logout and chat pages, server list, current server) and the signed request that fetches the
// unlock hash.
//
// Both replies come from the network and are parsed with jsoncpp, which throws on a read of the wrong
// type and on deep nesting. Every value's type is checked before it is read, and anything thrown
// anyway stops at these functions: a reply of the wrong shape reads as "changes nothing".
#pragma once

#include "client/MainFrame.h"
#include "framework/String.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What an accepted user-info reply says. Values the reply does not carry stay unset: the frame
// keeps its own.
struct AccountReply {
    CString strUserName; // empty when the reply has none
    std::optional<CString> logoutUrl;
    std::optional<CString> gsUrl;
    std::vector<ServerEntry> servers;
    std::optional<CString> curServerName; // the last server whose name holds serverId after its start
};

// TRUE when the reply is a JSON object whose errno reads as 0; out then holds the account. The
// server id marks the current server.
BOOL ParseLoginReply(const wchar_t* reply, const CString& serverId, AccountReply& out);

// The signed request's body "sign=..&time=..&user_code=..", in the thread's ANSI code page and not
// URL-encoded, as the service reads it. FALSE (and no body) when the key is longer than 254 bytes or
// the body would be longer than 1023: a cut body would carry a wrong sign or user code.
BOOL BuildSignedBody(const CString& pwKey, const CString& userName, int32_t time, std::string& body);

// TRUE when the signed reply's errno is the text "ok"; userPwd then holds its user_pwd.
BOOL ParseUserPwdReply(const CString& reply, CString& userPwd);

// Sends the signed request for the current time and reads its reply. FALSE when nothing was sent
// (a refused body) or the service did not answer "ok".
BOOL RequestUserPwd(const CString& apiUrl, const CString& pwKey, const CString& userName, CString& userPwd);
