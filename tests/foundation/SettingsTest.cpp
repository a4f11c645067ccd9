// The settings record through whole processes: FoundationProbe loads "config.ini" beside itself,
// reports what it read, changes what it is told to and exits normally, which must save.
#include "ProbeSupport.h"
#include "TempDir.h"

#include "foundation/Settings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const wchar_t kPluginKey[] = L"CLSID\\{5c3e9a17-2b84-4f6d-9e21-7a0d3b6c48f5}\\InprocServer32";
const wchar_t kPluginTop[] = L"CLSID\\{5c3e9a17-2b84-4f6d-9e21-7a0d3b6c48f5}";

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { m_probe = CopyProbeTo(m_dir.Path()); }

    // Runs the probe and returns its report.
    std::string Run(const CString& changes = CString()) {
        CString report = m_dir / L"report.txt";
        DeleteFileW(report);
        EXPECT_EQ(0, RunAndWait(m_probe, L"settings \"" + report + L"\" " + changes));
        return ReadBytes(report);
    }
    std::string Ini() const { return ReadBytes(m_dir / L"config.ini"); }

    TempDir m_dir;
    CString m_probe;
};

} // namespace

TEST(ModuleDir, IsTheProgramFolderWithoutBackslash) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString expected(path);
    expected.Truncate(expected.ReverseFind(L'\\'));
    EXPECT_EQ(expected, GetModuleDir());
    EXPECT_EQ(GetModuleDir() + L"\\config.ini", g_strIniPath);
}

TEST_F(SettingsTest, LoadsMissingKeysAsZeroAndSavesAllFourInOrder) {
    m_dir.WriteFile(L"config.ini", "[Config]\r\nHotKey=65\r\nUseHotKey=1\r\n");
    EXPECT_EQ("HotKey=65\nUseHotKey=1\nAlwaysTop=0\nfirst_time=0\nEnable1=0\nSame=1\nPlugin=\n", Run());

    const std::string ini = Ini();
    // Keys already in the file keep their places; the missing ones follow in the saving order.
    EXPECT_NE(std::string::npos, ini.find("\nHotKey=65")) << ini;
    EXPECT_NE(std::string::npos, ini.find("UseHotKey=1")) << ini;
    const size_t alwaysTop = ini.find("AlwaysTop=0"), firstTime = ini.find("first_time=0");
    ASSERT_NE(std::string::npos, alwaysTop) << ini;
    ASSERT_NE(std::string::npos, firstTime) << ini;
    EXPECT_LT(alwaysTop, firstTime);
    EXPECT_EQ(std::string::npos, ini.find("4321")) << "the file was read twice or not saved: " << ini;
}

TEST_F(SettingsTest, CreatesTheFileAtExitWhenMissing) {
    EXPECT_EQ("HotKey=0\nUseHotKey=0\nAlwaysTop=0\nfirst_time=0\nEnable1=0\nSame=1\nPlugin=\n", Run());
    const std::string ini = Ini();
    const size_t alwaysTop = ini.find("AlwaysTop=0"), useHotKey = ini.find("UseHotKey=0");
    const size_t hotKey = ini.find("\nHotKey=0"), firstTime = ini.find("first_time=0");
    ASSERT_NE(std::string::npos, ini.find("[Config]")) << ini;
    ASSERT_NE(std::string::npos, alwaysTop) << ini;
    ASSERT_NE(std::string::npos, hotKey) << ini;
    EXPECT_LT(alwaysTop, useHotKey);
    EXPECT_LT(useHotKey, hotKey);
    EXPECT_LT(hotKey, firstTime);
}

TEST_F(SettingsTest, ChangesMadeInMemoryReachTheNextRun) {
    Run(L"HotKey=77 UseHotKey=1 AlwaysTop=1 first_time=3 Enable1=1");
    EXPECT_EQ(std::string::npos, Ini().find("Enable")) << "the first check box is kept in memory only";
    EXPECT_EQ("HotKey=77\nUseHotKey=1\nAlwaysTop=1\nfirst_time=3\nEnable1=0\nSame=1\nPlugin=\n",
              Run(L"AlwaysTop=0"));
    EXPECT_EQ("HotKey=77\nUseHotKey=1\nAlwaysTop=0\nfirst_time=3\nEnable1=0\nSame=1\nPlugin=\n", Run());
}

TEST_F(SettingsTest, ReadsThePluginRegistrationAsStored) {
    ScopedClassesKey key(kPluginKey, kPluginTop);
    EXPECT_EQ("HotKey=0\nUseHotKey=0\nAlwaysTop=0\nfirst_time=0\nEnable1=0\nSame=1\nPlugin=\n", Run());

    ASSERT_TRUE(key.SetText(REG_EXPAND_SZ, L"%SystemRoot%\\plug in\\np.dll"));
    EXPECT_NE(std::string::npos, Run().find("\nPlugin=%SystemRoot%\\plug in\\np.dll\n"));

    ASSERT_TRUE(key.SetText(REG_SZ, L"C:\\插件\\np.dll"));
    EXPECT_NE(std::string::npos, Run().find("\nPlugin=C:\\插件\\np.dll\n"));

    // Not a text, or too long: no plug-in. (Wine's registry adds a missing terminating zero itself,
    // so a value stored without one cannot be shown here.)
    DWORD number = 5;
    ASSERT_TRUE(key.SetDefault(REG_DWORD, &number, sizeof(number)));
    EXPECT_NE(std::string::npos, Run().find("\nPlugin=\n"));
    ASSERT_TRUE(key.SetText(REG_SZ, CString(L'x', 1024)));
    EXPECT_NE(std::string::npos, Run().find("\nPlugin=\n"));
    ASSERT_TRUE(key.SetText(REG_SZ, CString(L'y', 1023)));
    EXPECT_NE(std::string::npos, Run().find("\nPlugin=" + std::string(1023, 'y') + "\n"));
}
