// The settings record through whole processes: FoundationProbe loads "config.ini" beside itself,
// reports what it read, changes what it is told to and exits normally, which must save.
#include "ProbeSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { m_probe = CopyProbeTo(m_dir.Path()); }

    // Runs the probe and returns its report.
    std::string Run(const CString& changes = CString()) {
        CString report = m_dir / L"report.txt";
        DeleteFileW(report);
        EXPECT_EQ(0, RunAndWait(m_probe, L"settings \"" + report + L"\" " + changes));
        return TempDir::ReadFile(report);
    }
    std::string Ini() const { return TempDir::ReadFile(m_dir / L"config.ini"); }
    // Where each text stands in the file, checking that it is there.
    std::vector<size_t> Find(const std::string& ini, std::initializer_list<const char*> texts) {
        std::vector<size_t> at;
        for (const char* text : texts) {
            at.push_back(ini.find(text));
            EXPECT_NE(std::string::npos, at.back()) << text << " in " << ini;
        }
        return at;
    }

    TempDir m_dir;
    CString m_probe;
};

std::string Report(int hotKey, int useHotKey, int alwaysTop, int firstTime, const std::string& plugin = "") {
    return "HotKey=" + std::to_string(hotKey) + "\nUseHotKey=" + std::to_string(useHotKey) +
           "\nAlwaysTop=" + std::to_string(alwaysTop) + "\nfirst_time=" + std::to_string(firstTime) +
           "\nEnable1=0\nSame=1\nPlugin=" + plugin + "\n";
}

} // namespace

TEST_F(SettingsTest, CreatesTheFileInOrderOrKeepsTheOrderOfTheFile) {
    EXPECT_EQ(Report(0, 0, 0, 0), Run());
    auto at = Find(Ini(), {"[Config]", "AlwaysTop=0", "UseHotKey=0", "\nHotKey=0", "first_time=0"});
    EXPECT_LT(at[1], at[2]);
    EXPECT_LT(at[2], at[3]);
    EXPECT_LT(at[3], at[4]);

    // Keys already in the file keep their places; the missing ones follow in the saving order.
    m_dir.WriteFile(L"config.ini", "[Config]\r\nHotKey=65\r\nUseHotKey=1\r\n");
    EXPECT_EQ(Report(65, 1, 0, 0), Run());
    const std::string ini = Ini();
    at = Find(ini, {"\nHotKey=65", "UseHotKey=1", "AlwaysTop=0", "first_time=0"});
    EXPECT_LT(at[1], at[2]);
    EXPECT_LT(at[2], at[3]);
    EXPECT_EQ(std::string::npos, ini.find("4321")) << "the file was read twice or not saved: " << ini;
}

TEST_F(SettingsTest, ChangesMadeInMemoryReachTheNextRun) {
    Run(L"HotKey=77 UseHotKey=1 AlwaysTop=1 first_time=3 Enable1=1");
    EXPECT_EQ(std::string::npos, Ini().find("Enable")) << "the first check box is kept in memory only";
    EXPECT_EQ(Report(77, 1, 1, 3), Run(L"AlwaysTop=0"));
    EXPECT_EQ(Report(77, 1, 0, 3), Run());
}

TEST_F(SettingsTest, ReadsThePluginRegistrationAsStored) {
    ScopedClassesValue key(kPluginKey, kPluginTop);
    EXPECT_EQ(Report(0, 0, 0, 0), Run());
    ASSERT_TRUE(key.SetText(L"%SystemRoot%\\plug in\\np.dll", REG_EXPAND_SZ));
    EXPECT_EQ(Report(0, 0, 0, 0, "%SystemRoot%\\plug in\\np.dll"), Run());
    ASSERT_TRUE(key.SetText(L"C:\\插件\\np.dll"));
    EXPECT_EQ(Report(0, 0, 0, 0, "C:\\插件\\np.dll"), Run());
    ASSERT_TRUE(key.SetText(CString(L'y', 1023)));
    EXPECT_EQ(Report(0, 0, 0, 0, std::string(1023, 'y')), Run());

    // Not a text, or too long: no plug-in.
    DWORD number = 5;
    ASSERT_TRUE(key.Set(REG_DWORD, &number, sizeof(number)));
    EXPECT_EQ(Report(0, 0, 0, 0), Run());
    ASSERT_TRUE(key.SetText(CString(L'x', 1024)));
    EXPECT_EQ(Report(0, 0, 0, 0), Run());
}
