// The signed address of the user-info request and the server id it carries.
#pragma once

#include "framework/String.h"

// Digits that followed the configured server key in the last game address; empty until a game starts.
extern CString g_strServerId;

// userInfoUrl filled with the server id and the MD5 of usermd5fmt filled with the server id.
CString GetUserInfoUrl();

// Takes the server id from a game address; a null or empty address keeps the previous id.
void ParseServerId(const wchar_t* gameUrl);
