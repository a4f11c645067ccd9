#include "TempDir.h"

#include "foundation/GameCache.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Points "userprofile" somewhere for one test and puts the old value back.
class ScopedProfile {
public:
    ScopedProfile() {
        DWORD size = GetEnvironmentVariableW(L"USERPROFILE", nullptr, 0);
        if (size > 0) {
            std::vector<wchar_t> buffer(size);
            GetEnvironmentVariableW(L"USERPROFILE", buffer.data(), size);
            m_old = buffer.data();
            m_had = true;
        }
    }
    ~ScopedProfile() { SetEnvironmentVariableW(L"USERPROFILE", m_had ? m_old.GetString() : nullptr); }
    ScopedProfile(const ScopedProfile&) = delete;
    ScopedProfile& operator=(const ScopedProfile&) = delete;

    void Set(const wchar_t* value) { SetEnvironmentVariableW(L"USERPROFILE", value); }

private:
    CString m_old;
    bool m_had = false;
};

struct CacheTree {
    explicit CacheTree(const TempDir& dir) {
        files = {dir.WriteFile(L"vessa\\a.dat", "1"), dir.WriteFile(L"vessa\\sub\\b.dat", "2"),
                 dir.WriteFile(L"vessa\\sub\\deep\\er\\c.dat", "3")};
        folders = {dir / L"vessa", dir / L"vessa\\sub", dir / L"vessa\\sub\\deep", dir / L"vessa\\sub\\deep\\er",
                   dir.MakeDir(L"vessa\\empty")};
        outside = dir.WriteFile(L"keep.txt", "k");
    }
    bool AllFilesThere() const {
        for (const CString& f : files)
            if (!TempDir::Exists(f)) return false;
        return true;
    }
    std::vector<CString> files, folders;
    CString outside;
};

} // namespace

TEST(GameCache, DeletesFilesAtEveryDepthAndKeepsTheFolders) {
    ScopedProfile profile;
    TempDir dir;
    CacheTree tree(dir);
    profile.Set(dir.Path());
    CleanGameCache();
    for (const CString& f : tree.files) EXPECT_FALSE(TempDir::Exists(f)) << f.ToUtf8();
    for (const CString& d : tree.folders) EXPECT_TRUE(TempDir::Exists(d)) << d.ToUtf8();
    EXPECT_TRUE(TempDir::Exists(tree.outside));

    // A trailing backslash on the profile changes nothing.
    CacheTree again(dir);
    profile.Set(dir.Path() + L"\\");
    CleanGameCache();
    EXPECT_FALSE(TempDir::Exists(again.files[2]));
}

TEST(GameCache, DeletesNothingWithoutAUsableProfile) {
    ScopedProfile profile;
    TempDir dir;
    CacheTree tree(dir);
    // The current folder is the temporary one, so a relative profile would reach the tree.
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    SetCurrentDirectoryW(dir.Path());

    profile.Set(nullptr);
    CleanGameCache();
    EXPECT_TRUE(tree.AllFilesThere()) << "absent";
    profile.Set(L"");
    CleanGameCache();
    EXPECT_TRUE(tree.AllFilesThere()) << "empty";
    profile.Set(L".");
    CleanGameCache();
    EXPECT_TRUE(tree.AllFilesThere()) << "relative";
    profile.Set(L"\\");
    CleanGameCache();
    EXPECT_TRUE(tree.AllFilesThere()) << "rooted, no drive";
    profile.Set(dir.Path() + CString(L'\\', 1100));
    CleanGameCache();
    EXPECT_TRUE(tree.AllFilesThere()) << "longer than the buffer";

    SetCurrentDirectoryW(current);
}

TEST(GameCache, DoesNotFollowLinksOutOfTheFolder) {
    ScopedProfile profile;
    TempDir dir;
    CacheTree tree(dir);
    const CString precious = dir.WriteFile(L"elsewhere\\precious.dat", "p");
    if (!CreateSymbolicLinkW(dir / L"vessa\\link", dir / L"elsewhere", SYMBOLIC_LINK_FLAG_DIRECTORY) ||
        !(GetFileAttributesW(dir / L"vessa\\link") & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !TempDir::Exists(dir / L"vessa\\link\\precious.dat"))
        GTEST_SKIP() << "this system cannot make a directory link that leads somewhere";
    profile.Set(dir.Path());
    CleanGameCache();
    EXPECT_FALSE(TempDir::Exists(tree.files[0]));
    EXPECT_TRUE(TempDir::Exists(precious));
}

TEST(GameCache, DeleteFilesRecursiveIgnoresWhatIsNoFolder) {
    TempDir dir;
    const CString file = dir.WriteFile(L"f.txt", "x");
    DeleteFilesRecursive(file);
    DeleteFilesRecursive(dir / L"missing");
    DeleteFilesRecursive(L"");
    DeleteFilesRecursive(nullptr);
    EXPECT_TRUE(TempDir::Exists(file));
    DeleteFilesRecursive(dir.Path());
    EXPECT_FALSE(TempDir::Exists(file));
    EXPECT_TRUE(TempDir::Exists(dir.Path()));
}
