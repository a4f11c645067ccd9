#include "foundation/Config.h"

#include "foundation/Markup.h"
#include "foundation/Settings.h"
#include "foundation/TextPattern.h"
#include "foundation/UrlHelpers.h"
#include "framework/File.h"

#include <shlwapi.h>

#include <algorithm>
#include <vector>

CString g_strGsClientAbout;
CString g_strUserClientAbout;
CString g_strClientVer;
CString g_strSkinDir;
CString g_strPaymentUrl;
CString g_strBbsUrl;
CString g_strGwUrl;
CString g_strServiceUrl;
CString g_strUserInfoUrl;
CString g_strUserMd5Fmt;
CString g_strUserInfoApi;
CString g_strServerParamName;
CString g_strHomeUrl;
CString g_strConfigParam;
CString g_strLoginCheck;
CString g_strGameCheck;
CString g_strRunPlugin;
CString g_strStartUpUrl;
CString g_strInstallUrl;
CString g_strImClass;
CString g_strQuitTip;
CString g_strInfoPath;
CString g_strPwKey;
CString g_strTipClass;

namespace {

struct ConfigKey {
    const wchar_t* name;
    CString* value;
};

// In the order the loader reads them.
const ConfigKey kKeys[] = {
    {L"gsClientAbout", &g_strGsClientAbout},
    {L"userClientAbout", &g_strUserClientAbout},
    {L"clientVer", &g_strClientVer},
    {L"skinDir", &g_strSkinDir},
    {L"paymentUrl", &g_strPaymentUrl},
    {L"bbsUrl", &g_strBbsUrl},
    {L"gwUrl", &g_strGwUrl},
    {L"serviceUrl", &g_strServiceUrl},
    {L"userInfoUrl", &g_strUserInfoUrl},
    {L"usermd5fmt", &g_strUserMd5Fmt},
    {L"userInfoApi", &g_strUserInfoApi},
    {L"serverParamName", &g_strServerParamName},
    {L"homeUrl", &g_strHomeUrl},
    {L"configParam", &g_strConfigParam},
    {L"loginCheck", &g_strLoginCheck},
    {L"gameCheck", &g_strGameCheck},
    {L"runPlugin", &g_strRunPlugin},
    {L"startUpUrl", &g_strStartUpUrl},
    {L"installUrl", &g_strInstallUrl},
    {L"imClass", &g_strImClass},
    {L"quitTip", &g_strQuitTip},
    {L"infoPath", &g_strInfoPath},
    {L"pwKey", &g_strPwKey},
    {L"tipClass", &g_strTipClass},
};

std::vector<int> VersionParts(const CString& version) {
    std::vector<int> parts;
    int start = 0;
    for (;;) {
        int dot = version.Find(L'.', start);
        if (dot < 0) {
            parts.push_back(AnsiToInt(version.Mid(start)));
            return parts;
        }
        parts.push_back(AnsiToInt(version.Mid(start, dot - start)));
        start = dot + 1;
    }
}

} // namespace

void LoadConfigXml() { LoadConfigXml(GetModuleDir()); }

void LoadConfigXml(const CString& programDir) {
    for (const ConfigKey& key : kKeys) key.value->Empty();

    CString path = programDir + L"\\skin\\";
    FindFirstXmlFile(path); // without a file the path names the folder, which loads nothing

    CMarkup xml;
    if (!xml.LoadFile(path)) return;
    xml.ResetPosition();
    if (!xml.FindElement(L"CLIENTCONFIG")) return;
    if (!xml.EnterElement()) return;
    // Every CONFIG assigns all values, so the last one decides each of them.
    while (xml.FindElement(L"CONFIG")) {
        for (const ConfigKey& key : kKeys) *key.value = xml.GetAttribute(key.name);
    }
}

BOOL FindFirstXmlFile(CString& folder) {
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\') folder += L'\\';
    CFileFind finder;
    BOOL more = finder.FindFile(folder + L"*.xml");
    while (more) {
        more = finder.FindNextFile();
        if (!finder.IsDirectory()) {
            folder += finder.GetFileName();
            return TRUE;
        }
    }
    return FALSE;
}

CString GetSkinDir() { return g_strSkinDir; }
CString GetPaymentUrl() { return g_strPaymentUrl; }
CString GetBbsUrl() { return g_strBbsUrl; }
CString GetGwUrl() { return g_strGwUrl; }
CString GetServiceUrl() { return g_strServiceUrl; }
CString GetUserInfoApi() { return g_strUserInfoApi; }
CString GetServerParamName() { return g_strServerParamName; }
CString GetConfigParam() { return g_strConfigParam; }
CString GetLoginCheck() { return g_strLoginCheck; }
CString GetGameCheck() { return g_strGameCheck; }
CString GetStartUpUrl() { return g_strStartUpUrl; }
CString GetQuitTip() { return g_strQuitTip; }
CString GetInfoPath() { return g_strInfoPath; }
CString GetPwKey() { return g_strPwKey; }
CString GetTipClass() { return g_strTipClass; }

CString GetHomeUrl() {
    if (!g_strStartUpUrl.IsEmpty()) return CString();
    CString url(g_strHomeUrl);
    AppendTimeStamp(url);
    return url;
}

int GetVersionNumber() {
    CString digits(g_strClientVer);
    digits.Remove(L'.');
    return AnsiToInt(digits);
}

BOOL IsNewerVersion(const CString& version) {
    // Part by part: 1.10.2 is newer than 1.9.12, which removing the dots would get wrong.
    std::vector<int> theirs = VersionParts(version);
    std::vector<int> ours = VersionParts(g_strClientVer);
    const size_t count = std::max(theirs.size(), ours.size());
    theirs.resize(count, 0);
    ours.resize(count, 0);
    for (size_t i = 0; i < count; ++i) {
        if (theirs[i] != ours[i]) return theirs[i] > ours[i] ? TRUE : FALSE;
    }
    return FALSE;
}

CString GetAppTitle() { return g_strUserClientAbout + L" Ver " + g_strClientVer; }

CString GetInstallUrl(const CString& value) {
    if (g_strInstallUrl.IsEmpty() || value.IsEmpty()) return CString();
    return FillPattern(g_strInstallUrl, {value});
}

CString GetRunPlugin() {
    if (g_strRunPlugin.IsEmpty()) return CString();
    CString plugin = GetIniConfig()->GetPluginPath();
    if (!plugin.IsEmpty() && PathFileExistsW(plugin)) return CString();
    return g_strRunPlugin;
}
