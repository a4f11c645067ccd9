// The client configuration: 24 texts read once at start-up from the first "*.xml" file in the
// "skin" folder beside the program, then only read. Accessors return copies.
#pragma once

#include "framework/String.h"

#include <windows.h>

extern CString g_strGsClientAbout;
extern CString g_strUserClientAbout;
extern CString g_strClientVer;
extern CString g_strSkinDir;
extern CString g_strPaymentUrl;
extern CString g_strBbsUrl;
extern CString g_strGwUrl;
extern CString g_strServiceUrl;
extern CString g_strUserInfoUrl;
extern CString g_strUserMd5Fmt;
extern CString g_strUserInfoApi;
extern CString g_strServerParamName;
extern CString g_strHomeUrl;
extern CString g_strConfigParam;
extern CString g_strLoginCheck;
extern CString g_strGameCheck;
extern CString g_strRunPlugin;
extern CString g_strStartUpUrl;
extern CString g_strInstallUrl;
extern CString g_strImClass;
extern CString g_strQuitTip;
extern CString g_strInfoPath;
extern CString g_strPwKey;
extern CString g_strTipClass;

// Loads the configuration from the "skin" folder beside the program. Failures leave values empty.
void LoadConfigXml();
// The same from the "skin" folder below the given program folder. Every load starts from empty
// values, so loading twice behaves like loading once.
void LoadConfigXml(const CString& programDir);

// Appends "\" to the folder when missing, then the name of the first non-directory "*.xml" entry in
// it. FALSE when there is none (the folder then keeps only the added backslash).
BOOL FindFirstXmlFile(CString& folder);

CString GetSkinDir();
CString GetPaymentUrl();
CString GetBbsUrl();
CString GetGwUrl();
CString GetServiceUrl();
CString GetUserInfoApi();
CString GetServerParamName();
CString GetConfigParam();
CString GetLoginCheck();
CString GetGameCheck();
CString GetStartUpUrl();
CString GetQuitTip();
CString GetInfoPath();
CString GetPwKey();
CString GetTipClass();

// The home page with a fresh "mytime" time stamp, or the empty text when a start-up page is set.
CString GetHomeUrl();
// The own version with its dots removed, read as a number (1.0.12 gives 1012).
int GetVersionNumber();
// TRUE when the given version is newer than the own one, comparing dot-separated numbers in turn.
BOOL IsNewerVersion(const CString& version);
// "<product> Ver <version>".
CString GetAppTitle();
// The installation-report address for the given value, or the empty text.
CString GetInstallUrl(const CString& value);
// The plug-in installer to start, or the empty text when the plug-in is installed or none is set.
CString GetRunPlugin();
