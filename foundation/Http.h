// HttpGet and HttpPost: small synchronous requests over plain HTTP. Both return the reply body,
// whatever the status, decoded from the thread's ANSI code page; on failure, the text read so far
// (empty when nothing arrived). Secure addresses are refused without any network access.
#pragma once

#include "framework/String.h"

#include <windows.h>

// Limits on waiting for the service; the callers run on the user-interface thread, so a dead
// server must not freeze it for long. A whole reply is read for at most twice the receive time-out
// (a server that sends a byte now and then resets the per-read time-out for ever) and is cut at
// kMaxReplyBytes; the replies this client reads are a few kilobytes.
struct HttpTimeouts {
    DWORD connectMs = 5000;
    DWORD receiveMs = 30000;
};
const size_t kMaxReplyBytes = 8u << 20;

CString HttpGet(const wchar_t* url, const HttpTimeouts& timeouts = HttpTimeouts());
// body: zero-terminated bytes, already form-encoded by the caller; null is sent as an empty body.
CString HttpPost(const wchar_t* url, const char* body, const HttpTimeouts& timeouts = HttpTimeouts());
