#include "TempDir.h"

#include "foundation/GameCache.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// A cache tree below a temporary profile; the variable "userprofile" is put back afterwards.
class GameCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t old[MAX_PATH * 4];
        DWORD size = GetEnvironmentVariableW(L"USERPROFILE", old, MAX_PATH * 4);
        m_hadProfile = size > 0 && size < MAX_PATH * 4;
        if (m_hadProfile) m_oldProfile = old;
        Populate();
        m_outside = m_dir.WriteFile(L"keep.txt", "k");
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"USERPROFILE", m_hadProfile ? m_oldProfile.GetString() : nullptr);
    }
    void Populate() {
        m_files = {m_dir.WriteFile(L"vessa\\a.dat", "1"), m_dir.WriteFile(L"vessa\\sub\\b.dat", "2"),
                   m_dir.WriteFile(L"vessa\\sub\\deep\\er\\c.dat", "3")};
        m_dir.MakeDir(L"vessa\\empty");
    }
    int FilesLeft() const {
        int left = 0;
        for (const CString& f : m_files)
            left += TempDir::Exists(f);
        return left;
    }
    void CleanWithProfile(const wchar_t* profile) {
        SetEnvironmentVariableW(L"USERPROFILE", profile);
        CleanGameCache();
    }

    TempDir m_dir;
    std::vector<CString> m_files;
    CString m_outside, m_oldProfile;
    bool m_hadProfile = false;
};

} // namespace

TEST_F(GameCacheTest, DeletesFilesAtEveryDepthAndKeepsTheFolders) {
    CleanWithProfile(m_dir.Path());
    EXPECT_EQ(0, FilesLeft());
    for (const wchar_t* folder : {L"vessa", L"vessa\\sub", L"vessa\\sub\\deep\\er", L"vessa\\empty"})
        EXPECT_TRUE(TempDir::Exists(m_dir / folder)) << CString(folder).ToUtf8();
    EXPECT_TRUE(TempDir::Exists(m_outside));

    Populate();
    CleanWithProfile(m_dir.Path() + L"\\"); // a trailing backslash changes nothing
    EXPECT_EQ(0, FilesLeft());
}

TEST_F(GameCacheTest, DeletesNothingWithoutAUsableProfile) {
    // The current folder is the temporary one, so a relative profile would reach the tree.
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    SetCurrentDirectoryW(m_dir.Path());
    const CString tooLong = m_dir.Path() + CString(L'\\', 1100);
    const std::pair<const wchar_t*, const char*> profiles[] = {
        {nullptr, "absent"}, {L"", "empty"}, {L".", "relative"}, {L"\\", "no drive"}, {tooLong, "too long"}};
    for (const auto& profile : profiles) {
        CleanWithProfile(profile.first);
        EXPECT_EQ(3, FilesLeft()) << profile.second;
    }
    SetCurrentDirectoryW(current);
}

TEST_F(GameCacheTest, DoesNotFollowLinksOutOfTheFolder) {
    const CString precious = m_dir.WriteFile(L"elsewhere\\precious.dat", "p");
    if (!CreateSymbolicLinkW(m_dir / L"vessa\\link", m_dir / L"elsewhere", SYMBOLIC_LINK_FLAG_DIRECTORY) ||
        !(GetFileAttributesW(m_dir / L"vessa\\link") & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !TempDir::Exists(m_dir / L"vessa\\link\\precious.dat"))
        GTEST_SKIP() << "this system cannot make a directory link that leads somewhere";
    CleanWithProfile(m_dir.Path());
    EXPECT_EQ(0, FilesLeft());
    EXPECT_TRUE(TempDir::Exists(precious));
}

TEST(DeleteFilesRecursive, IgnoresWhatIsNoFolder) {
    TempDir dir;
    const CString file = dir.WriteFile(L"f.txt", "x"), missing = dir / L"missing";
    for (const wchar_t* target :
         {file.GetString(), missing.GetString(), L"", static_cast<const wchar_t*>(nullptr)})
        DeleteFilesRecursive(target);
    EXPECT_TRUE(TempDir::Exists(file));
    DeleteFilesRecursive(dir.Path());
    EXPECT_FALSE(TempDir::Exists(file));
    EXPECT_TRUE(TempDir::Exists(dir.Path()));
}
