// Loading the configuration from a program folder of the test's own, and the values it computes.
#include "ProbeSupport.h"
#include "TempDir.h"

#include "foundation/Config.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {
const char* const kNames[] = {"gsClientAbout", "userClientAbout", "clientVer",  "skinDir",     "paymentUrl",
                              "bbsUrl",        "gwUrl",           "serviceUrl", "userInfoUrl", "usermd5fmt",
                              "userInfoApi",   "serverParamName", "homeUrl",    "configParam", "loginCheck",
                              "gameCheck",     "runPlugin",       "startUpUrl", "installUrl",  "imClass",
                              "quitTip",       "infoPath",        "pwKey",      "tipClass"};
CString* const kValues[] = {
    &g_strGsClientAbout, &g_strUserClientAbout, &g_strClientVer,  &g_strSkinDir,     &g_strPaymentUrl,
    &g_strBbsUrl,        &g_strGwUrl,           &g_strServiceUrl, &g_strUserInfoUrl, &g_strUserMd5Fmt,
    &g_strUserInfoApi,   &g_strServerParamName, &g_strHomeUrl,    &g_strConfigParam, &g_strLoginCheck,
    &g_strGameCheck,     &g_strRunPlugin,       &g_strStartUpUrl, &g_strInstallUrl,  &g_strImClass,
    &g_strQuitTip,       &g_strInfoPath,        &g_strPwKey,      &g_strTipClass};
const size_t kKeyCount = sizeof(kNames) / sizeof(kNames[0]);
static_assert(kKeyCount == sizeof(kValues) / sizeof(kValues[0]), "one value per key");

// A CONFIG element giving every key "<prefix><key>", except the one named in `skip`.
std::string Config(const std::string& prefix, const std::string& skip = std::string()) {
    std::string element = "<CONFIG";
    for (const char* name : kNames)
        if (skip != name) element += std::string(" ") + name + "=\"" + prefix + name + "\"";
    return element + "/>";
}

std::string Root(const std::string& inner) {
    return "<CLIENTCONFIG>" + inner + "</CLIENTCONFIG>";
}

class ConfigLoadTest : public ::testing::Test {
protected:
    void TearDown() override { LoadConfigXml(m_dir / L"nothing-here"); }
    void ExpectAllEmpty(const char* why) {
        for (size_t i = 0; i < kKeyCount; ++i)
            EXPECT_TRUE(kValues[i]->IsEmpty()) << kNames[i] << ", " << why;
    }
    TempDir m_dir;
};

} // namespace

TEST_F(ConfigLoadTest, TheLastConfigDecidesEveryValue) {
    m_dir.WriteFile(L"skin\\client.xml",
                    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- settings -->\n" +
                        Root(Config("first-") + "<OTHER bbsUrl=\"other\"/>" + Config("second-", "bbsUrl")));
    LoadConfigXml(m_dir.Path());
    for (size_t i = 0; i < kKeyCount; ++i) // a key the last CONFIG lacks stays empty
        EXPECT_EQ(kNames[i] == std::string("bbsUrl") ? CString() : L"second-" + CString(kNames[i]),
                  *kValues[i])
            << kNames[i];

    m_dir.WriteFile(L"skin\\client.xml",
                    "<CLIENTCONFIG><CONFIG quitTip=\"确定退出游戏吗？\" "
                    "homeUrl=\"http://h/i?a=1&amp;b=2\" clientVer='1.2'/></CLIENTCONFIG>");
    LoadConfigXml(m_dir.Path());
    EXPECT_EQ(L"确定退出游戏吗？", GetQuitTip());
    EXPECT_EQ(L"1.2", g_strClientVer);
    EXPECT_EQ(L"http://h/i?a=1&b=2", g_strHomeUrl);
    EXPECT_TRUE(g_strSkinDir.IsEmpty()) << "every load starts from empty values";
}

TEST_F(ConfigLoadTest, SkipsDirectoriesNamedLikeTheFile) {
    // Several directories, so that the search meets one before the file whatever its order.
    for (const wchar_t* name : {L"skin\\a.xml", L"skin\\old.xml", L"skin\\zz.xml"})
        m_dir.MakeDir(name);
    m_dir.WriteFile(L"skin\\client.xml", Root(Config("c-")));
    m_dir.WriteFile(L"skin\\default\\skin.xml", Root(Config("sub-")));
    LoadConfigXml(m_dir.Path());
    EXPECT_EQ(L"c-skinDir", GetSkinDir());
    CString folder = m_dir / L"skin";
    EXPECT_TRUE(FindFirstXmlFile(folder));
    EXPECT_EQ(m_dir / L"skin\\client.xml", folder);
}

TEST_F(ConfigLoadTest, LeavesEverythingEmptyWithoutAUsableFile) {
    m_dir.WriteFile(L"skin\\client.xml", Root(Config("c-")));
    LoadConfigXml(m_dir.Path());
    ASSERT_EQ(L"c-pwKey", GetPwKey());

    TempDir empty; // only a directory and another kind of file
    empty.MakeDir(L"skin\\d.xml");
    empty.WriteFile(L"skin\\notes.txt", Root(Config("t-")));
    LoadConfigXml(empty.Path());
    ExpectAllEmpty("no file");
    CString folder = empty / L"skin";
    EXPECT_FALSE(FindFirstXmlFile(folder));
    EXPECT_EQ(empty / L"skin\\", folder);

    LoadConfigXml(m_dir / L"missing");
    ExpectAllEmpty("no skin folder");
    const std::pair<std::string, const char*> unusable[] = {
        {"<ROOT>" + Root(Config("n-")) + "</ROOT>", "nested root"},
        {"", "empty file"},
        {"CLIENTCONFIG CONFIG pwKey=1", "no XML"}};
    for (const auto& file : unusable) {
        TempDir broken;
        broken.WriteFile(L"skin\\c.xml", file.first);
        LoadConfigXml(broken.Path());
        ExpectAllEmpty(file.second);
    }
}

TEST(ConfigValues, VersionNumbers) {
    const std::pair<const wchar_t*, int> numbers[] = {
        {L"1.0.12", 1012}, {L"2.1.0", 210}, {L"", 0}, {L" 3.4beta", 34}, {L"99999999999.9", 2147483647}};
    for (const auto& n : numbers) {
        g_strClientVer = n.first;
        EXPECT_EQ(n.second, GetVersionNumber()) << CString(n.first).ToUtf8();
    }
    // Newer compares part by part: 1.10.2 is newer than 1.9.12, which dropping the dots gets wrong.
    // Each line: own version, then offered versions that are newer, then ones that are not.
    const std::vector<std::vector<const wchar_t*>> newer = {
        {L"2.1.0", L"2.1.1", L"2.1.0.1", L"10"}, {L"1.9.12", L"1.10.2"}, {L"1.9.9", L"2.0"}, {L"", L"0.0.1"}};
    const std::vector<std::vector<const wchar_t*>> older = {{L"2.1.0", L"2.1.0", L"2.1", L"2.0.9"},
                                                            {L"1.9.12", L"1.9.9"},
                                                            {L"1.9.9", L"", L"garbage"},
                                                            {L"", L"0"}};
    for (BOOL isNewer : {TRUE, FALSE}) {
        for (const auto& line : isNewer ? newer : older) {
            g_strClientVer = line[0];
            for (size_t i = 1; i < line.size(); ++i)
                EXPECT_EQ(isNewer, IsNewerVersion(line[i]))
                    << CString(line[0]).ToUtf8() << " vs " << CString(line[i]).ToUtf8();
        }
    }
    g_strClientVer.Empty();
}

TEST(ConfigValues, HomeUrlGetsOneFreshTimeStamp) {
    g_strStartUpUrl.Empty();
    g_strHomeUrl = L"index.html?a=1";
    const DWORD before = GetTickCount();
    const CString first = GetHomeUrl();
    const DWORD after = GetTickCount();
    ASSERT_EQ(0, first.Find(L"index.html?a=1&mytime="));
    const DWORD ticks = static_cast<DWORD>(_wtoi(first.Mid(22)));
    EXPECT_GE(ticks, before);
    EXPECT_LE(ticks, after);
    EXPECT_EQ(-1, GetHomeUrl().Find(L"mytime", 16)) << "only one time stamp";
    EXPECT_EQ(L"index.html?a=1", g_strHomeUrl);

    g_strStartUpUrl = L"1";
    EXPECT_EQ(L"", GetHomeUrl());
    g_strStartUpUrl.Empty();
    g_strHomeUrl.Empty();
}

TEST(ConfigValues, ConfiguredTextsAreNeverFormats) {
    g_strUserClientAbout = L"100%s";
    g_strClientVer = L"1.0.3";
    EXPECT_EQ(L"100%s Ver 1.0.3", GetAppTitle());

    g_strInstallUrl = L"http://h/a%2Fb/install?v=%s&x=%d%%";
    EXPECT_EQ(L"http://h/a%2Fb/install?v=abc&x=%d%", GetInstallUrl(L"abc"));
    EXPECT_EQ(L"", GetInstallUrl(L""));
    g_strInstallUrl.Empty();
    EXPECT_EQ(L"", GetInstallUrl(L"abc"));
    g_strUserClientAbout.Empty();
    g_strClientVer.Empty();
}

TEST(ConfigRunPlugin, NamesTheInstallerUnlessThePluginFileExists) {
    ScopedClassesValue key(kPluginKey, kPluginTop);
    // GetRunPlugin in a probe process that loads the configuration from its own folder.
    auto runPluginIn = [](const TempDir& dir) {
        const CString out = dir / L"runplugin.txt";
        DeleteFileW(out);
        EXPECT_EQ(0, RunAndWait(CopyProbeTo(dir.Path()), L"runplugin \"" + out + L"\""));
        return TempDir::ReadFile(out);
    };
    TempDir dir;
    dir.WriteFile(L"skin\\c.xml", "<CLIENTCONFIG><CONFIG runPlugin=\"plugin\\setup.exe\"/></CLIENTCONFIG>");
    EXPECT_EQ("plugin\\setup.exe", runPluginIn(dir)) << "no registration";
    ASSERT_TRUE(key.SetText(dir / L"np.dll"));
    EXPECT_EQ("plugin\\setup.exe", runPluginIn(dir)) << "registered file missing";
    dir.WriteFile(L"np.dll", "x");
    EXPECT_EQ("", runPluginIn(dir)) << "plug-in installed";

    TempDir none;
    none.WriteFile(L"skin\\c.xml", "<CLIENTCONFIG><CONFIG/></CLIENTCONFIG>");
    key.SetText(L"");
    EXPECT_EQ("", runPluginIn(none)) << "no installer configured";
}
