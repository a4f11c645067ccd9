// Loading the configuration from a program folder of the test's own, and the accessors that compute.
#include "ProbeSupport.h"
#include "TempDir.h"

#include "foundation/Config.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

const std::vector<std::pair<const char*, CString*>>& AllKeys() {
    static const std::vector<std::pair<const char*, CString*>> keys = {
        {"gsClientAbout", &g_strGsClientAbout},     {"userClientAbout", &g_strUserClientAbout},
        {"clientVer", &g_strClientVer},             {"skinDir", &g_strSkinDir},
        {"paymentUrl", &g_strPaymentUrl},           {"bbsUrl", &g_strBbsUrl},
        {"gwUrl", &g_strGwUrl},                     {"serviceUrl", &g_strServiceUrl},
        {"userInfoUrl", &g_strUserInfoUrl},         {"usermd5fmt", &g_strUserMd5Fmt},
        {"userInfoApi", &g_strUserInfoApi},         {"serverParamName", &g_strServerParamName},
        {"homeUrl", &g_strHomeUrl},                 {"configParam", &g_strConfigParam},
        {"loginCheck", &g_strLoginCheck},           {"gameCheck", &g_strGameCheck},
        {"runPlugin", &g_strRunPlugin},             {"startUpUrl", &g_strStartUpUrl},
        {"installUrl", &g_strInstallUrl},           {"imClass", &g_strImClass},
        {"quitTip", &g_strQuitTip},                 {"infoPath", &g_strInfoPath},
        {"pwKey", &g_strPwKey},                     {"tipClass", &g_strTipClass},
    };
    return keys;
}

// A CONFIG element giving every key "<prefix><key>", except the one named in `skip`.
std::string ConfigElement(const std::string& prefix, const std::string& skip = std::string()) {
    std::string element = "<CONFIG";
    for (const auto& key : AllKeys())
        if (skip != key.first) element += std::string(" ") + key.first + "=\"" + prefix + key.first + "\"";
    return element + "/>";
}

CString Expected(const std::string& prefix, const char* key) { return CString::FromUtf8((prefix + key).c_str()); }

void ExpectAllEmpty() {
    for (const auto& key : AllKeys()) EXPECT_TRUE(key.second->IsEmpty()) << key.first;
}

class ConfigLoadTest : public ::testing::Test {
protected:
    void TearDown() override { LoadConfigXml(m_dir.Path() + L"\\nothing-here"); }
    TempDir m_dir;
};

} // namespace

TEST_F(ConfigLoadTest, TheLastConfigDecidesEveryValue) {
    m_dir.WriteFile(L"skin\\client.xml", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- settings -->\n"
                                         "<CLIENTCONFIG>\n  " + ConfigElement("first-") +
                                             "\n  <OTHER bbsUrl=\"other\"/>\n  " + ConfigElement("second-", "bbsUrl") +
                                             "\n</CLIENTCONFIG>\n");
    LoadConfigXml(m_dir.Path());
    for (const auto& key : AllKeys()) {
        if (std::string(key.first) == "bbsUrl") EXPECT_TRUE(key.second->IsEmpty()) << "a key the last CONFIG lacks";
        else EXPECT_EQ(Expected("second-", key.first), *key.second) << key.first;
    }
    EXPECT_EQ(L"second-skinDir", GetSkinDir());
    EXPECT_EQ(L"second-paymentUrl", GetPaymentUrl());
    EXPECT_EQ(L"", GetBbsUrl());
    EXPECT_EQ(L"second-gwUrl", GetGwUrl());
    EXPECT_EQ(L"second-serviceUrl", GetServiceUrl());
    EXPECT_EQ(L"second-userInfoApi", GetUserInfoApi());
    EXPECT_EQ(L"second-serverParamName", GetServerParamName());
    EXPECT_EQ(L"second-configParam", GetConfigParam());
    EXPECT_EQ(L"second-loginCheck", GetLoginCheck());
    EXPECT_EQ(L"second-gameCheck", GetGameCheck());
    EXPECT_EQ(L"second-startUpUrl", GetStartUpUrl());
    EXPECT_EQ(L"second-quitTip", GetQuitTip());
    EXPECT_EQ(L"second-infoPath", GetInfoPath());
    EXPECT_EQ(L"second-pwKey", GetPwKey());
    EXPECT_EQ(L"second-tipClass", GetTipClass());
}

TEST_F(ConfigLoadTest, ReadsTextAndEntitiesAsTheReaderGivesThem) {
    m_dir.WriteFile(L"skin\\c.xml", "<CLIENTCONFIG><CONFIG quitTip=\"确定退出游戏吗？\" "
                                    "homeUrl=\"http://h/i?a=1&amp;b=2\" clientVer='1.2'/></CLIENTCONFIG>");
    LoadConfigXml(m_dir.Path());
    EXPECT_EQ(L"确定退出游戏吗？", GetQuitTip());
    EXPECT_EQ(L"1.2", g_strClientVer);
    EXPECT_EQ(L"http://h/i?a=1&b=2", g_strHomeUrl);
    EXPECT_TRUE(g_strBbsUrl.IsEmpty());
}

TEST_F(ConfigLoadTest, SkipsDirectoriesNamedLikeTheFile) {
    // Several directories, so that the search meets one before the file whatever its order.
    m_dir.MakeDir(L"skin\\a.xml");
    m_dir.MakeDir(L"skin\\old.xml");
    m_dir.MakeDir(L"skin\\zz.xml");
    m_dir.WriteFile(L"skin\\client.xml", "<CLIENTCONFIG>" + ConfigElement("c-") + "</CLIENTCONFIG>");
    m_dir.WriteFile(L"skin\\default\\skin.xml", "<CLIENTCONFIG>" + ConfigElement("sub-") + "</CLIENTCONFIG>");
    LoadConfigXml(m_dir.Path());
    EXPECT_EQ(L"c-skinDir", GetSkinDir());

    CString folder = m_dir / L"skin";
    EXPECT_TRUE(FindFirstXmlFile(folder));
    EXPECT_EQ(m_dir / L"skin\\client.xml", folder);
}

TEST_F(ConfigLoadTest, LeavesEverythingEmptyWithoutAUsableFile) {
    m_dir.WriteFile(L"skin\\client.xml", "<CLIENTCONFIG>" + ConfigElement("c-") + "</CLIENTCONFIG>");
    LoadConfigXml(m_dir.Path());
    ASSERT_EQ(L"c-pwKey", GetPwKey());

    // No XML file at all (only a directory and another kind of file).
    TempDir empty;
    empty.MakeDir(L"skin\\d.xml");
    empty.WriteFile(L"skin\\notes.txt", "<CLIENTCONFIG>" + ConfigElement("t-") + "</CLIENTCONFIG>");
    LoadConfigXml(empty.Path());
    ExpectAllEmpty();
    CString folder = empty / L"skin";
    EXPECT_FALSE(FindFirstXmlFile(folder));
    EXPECT_EQ(empty / L"skin\\", folder);

    // The root nested in another top-level element is not found.
    TempDir nested;
    nested.WriteFile(L"skin\\c.xml", "<ROOT><CLIENTCONFIG>" + ConfigElement("n-") + "</CLIENTCONFIG></ROOT>");
    LoadConfigXml(nested.Path());
    ExpectAllEmpty();

    // No skin folder, an empty file, a file that is no XML.
    LoadConfigXml(m_dir / L"missing");
    ExpectAllEmpty();
    TempDir broken;
    broken.WriteFile(L"skin\\c.xml", "");
    LoadConfigXml(broken.Path());
    ExpectAllEmpty();
    broken.WriteFile(L"skin\\c.xml", "CLIENTCONFIG CONFIG pwKey=1");
    LoadConfigXml(broken.Path());
    ExpectAllEmpty();
}

TEST(ConfigValues, VersionNumberDropsTheDots) {
    g_strClientVer = L"1.0.12";
    EXPECT_EQ(1012, GetVersionNumber());
    g_strClientVer = L"2.1.0";
    EXPECT_EQ(210, GetVersionNumber());
    g_strClientVer = L"";
    EXPECT_EQ(0, GetVersionNumber());
    g_strClientVer = L" 3.4beta";
    EXPECT_EQ(34, GetVersionNumber());
    g_strClientVer = L"99999999999.9";
    EXPECT_EQ(2147483647, GetVersionNumber());
    g_strClientVer.Empty();
}

TEST(ConfigValues, NewerVersionComparesPartByPart) {
    g_strClientVer = L"2.1.0";
    EXPECT_TRUE(IsNewerVersion(L"2.1.1"));
    EXPECT_FALSE(IsNewerVersion(L"2.1.0"));
    EXPECT_FALSE(IsNewerVersion(L"2.1"));
    EXPECT_FALSE(IsNewerVersion(L"2.0.9"));
    EXPECT_TRUE(IsNewerVersion(L"2.1.0.1"));
    EXPECT_TRUE(IsNewerVersion(L"10"));
    g_strClientVer = L"1.9.12";
    EXPECT_TRUE(IsNewerVersion(L"1.10.2"));
    EXPECT_FALSE(IsNewerVersion(L"1.9.9"));
    g_strClientVer = L"1.9.9";
    EXPECT_TRUE(IsNewerVersion(L"2.0"));
    EXPECT_FALSE(IsNewerVersion(L""));
    EXPECT_FALSE(IsNewerVersion(L"garbage"));
    g_strClientVer = L"";
    EXPECT_TRUE(IsNewerVersion(L"0.0.1"));
    EXPECT_FALSE(IsNewerVersion(L"0"));
}

TEST(ConfigValues, HomeUrlGetsOneFreshTimeStamp) {
    g_strStartUpUrl.Empty();
    g_strHomeUrl = L"index.html?a=1";
    const DWORD before = GetTickCount();
    const CString first = GetHomeUrl();
    const DWORD after = GetTickCount();
    ASSERT_EQ(0, first.Find(L"index.html?a=1&mytime="));
    const int ticks = _wtoi(first.Mid(22));
    EXPECT_GE(static_cast<DWORD>(ticks), before);
    EXPECT_LE(static_cast<DWORD>(ticks), after);
    const CString second = GetHomeUrl();
    EXPECT_EQ(0, second.Find(L"index.html?a=1&mytime="));
    EXPECT_EQ(-1, second.Find(L"mytime", 16)) << "only one time stamp";
    EXPECT_EQ(L"index.html?a=1", g_strHomeUrl);

    g_strStartUpUrl = L"1";
    EXPECT_EQ(L"", GetHomeUrl());
    g_strStartUpUrl.Empty();
    g_strHomeUrl.Empty();
}

TEST(ConfigValues, AppTitleAndInstallUrl) {
    g_strUserClientAbout = L"游戏大厅";
    g_strClientVer = L"1.0.3";
    EXPECT_EQ(L"游戏大厅 Ver 1.0.3", GetAppTitle());
    g_strUserClientAbout = L"100%s";
    EXPECT_EQ(L"100%s Ver 1.0.3", GetAppTitle());

    g_strInstallUrl = L"http://h/a%2Fb/install?v=%s&x=%d%%";
    EXPECT_EQ(L"http://h/a%2Fb/install?v=abc&x=%d%", GetInstallUrl(L"abc"));
    EXPECT_EQ(L"", GetInstallUrl(L""));
    g_strInstallUrl.Empty();
    EXPECT_EQ(L"", GetInstallUrl(L"abc"));
    g_strUserClientAbout.Empty();
    g_strClientVer.Empty();
}

namespace {

const wchar_t kPluginKey[] = L"CLSID\\{5c3e9a17-2b84-4f6d-9e21-7a0d3b6c48f5}\\InprocServer32";
const wchar_t kPluginTop[] = L"CLSID\\{5c3e9a17-2b84-4f6d-9e21-7a0d3b6c48f5}";

// GetRunPlugin in a probe process that loads the configuration from its own folder.
std::string RunPluginIn(const TempDir& dir) {
    const CString probe = CopyProbeTo(dir.Path());
    const CString out = dir / L"runplugin.txt";
    DeleteFileW(out);
    EXPECT_EQ(0, RunAndWait(probe, L"runplugin \"" + out + L"\""));
    return ReadBytes(out);
}

} // namespace

TEST(ConfigRunPlugin, NamesTheInstallerUnlessThePluginFileExists) {
    ScopedClassesKey key(kPluginKey, kPluginTop);
    TempDir dir;
    dir.WriteFile(L"skin\\c.xml", "<CLIENTCONFIG><CONFIG runPlugin=\"plugin\\setup.exe\"/></CLIENTCONFIG>");
    EXPECT_EQ("plugin\\setup.exe", RunPluginIn(dir)) << "no registration";

    ASSERT_TRUE(key.SetText(REG_SZ, dir / L"np.dll"));
    EXPECT_EQ("plugin\\setup.exe", RunPluginIn(dir)) << "registered file missing";

    dir.WriteFile(L"np.dll", "x");
    EXPECT_EQ("", RunPluginIn(dir)) << "plug-in installed";

    TempDir none;
    none.WriteFile(L"skin\\c.xml", "<CLIENTCONFIG><CONFIG/></CLIENTCONFIG>");
    key.SetText(REG_SZ, L"");
    EXPECT_EQ("", RunPluginIn(none)) << "no installer configured";
}
