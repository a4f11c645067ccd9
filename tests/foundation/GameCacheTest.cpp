#include "TempDir.h"

#include "foundation/GameCache.h"
#include "framework/Handle.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

bool IsLink(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

template <class T> T WineExport(const char* name) {
    return reinterpret_cast<T>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

// The host's name of a Windows path when running under Wine; empty elsewhere.
CString HostPath(const wchar_t* path) {
    const auto unixName = WineExport<char*(CDECL*)(const wchar_t*)>("wine_get_unix_file_name");
    char* name = unixName ? unixName(path) : nullptr;
    if (!name) return CString();
    const CString result = CString::FromUtf8(name);
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Starts a program of Wine's host. Wine hands back no handle of such a process, so callers wait for
// its effect instead.
bool StartHostProgram(const char* program, CString commandLine) {
    const auto dosName = WineExport<wchar_t*(CDECL*)(const char*)>("wine_get_dos_file_name");
    wchar_t* path = dosName ? dosName(program) : nullptr;
    if (!path) return false;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    const BOOL ok = CreateProcessW(path, commandLine.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &started);
    HeapFree(GetProcessHeap(), 0, path);
    if (ok && started.hProcess) { // a Windows program after all: its handles are ours to close
        CScopedHandle process(started.hProcess), thread(started.hThread);
    }
    return ok != FALSE;
}

template <class Done> bool WaitUntil(Done done) {
    for (int i = 0; i < 500; ++i, Sleep(20))
        if (done()) return true;
    return false;
}

// A symbolic link to a folder, reported as a reparse point, for as long as the object lives. Under
// Wine CreateSymbolicLinkW leaves no reparse point, but a link made on the host ("ln -s") is one.
class DirectoryLink {
public:
    DirectoryLink(const CString& link, const CString& target) : m_link(link) {
        if (CreateSymbolicLinkW(link, target, SYMBOLIC_LINK_FLAG_DIRECTORY) && IsLink(link)) {
            m_made = true;
            return;
        }
        m_hostLink = HostPath(link);
        const CString hostTarget = HostPath(target);
        if (m_hostLink.IsEmpty() || hostTarget.IsEmpty()) return;
        m_made = StartHostProgram("/bin/ln", L"ln -s \"" + hostTarget + L"\" \"" + m_hostLink + L"\"") &&
                 WaitUntil([&] { return IsLink(link); });
    }
    ~DirectoryLink() {
        // Removed from the host too: Wine's RemoveDirectoryW on such a link removes its target.
        if (m_made && !m_hostLink.IsEmpty() && StartHostProgram("/bin/rm", L"rm \"" + m_hostLink + L"\""))
            WaitUntil([&] { return !TempDir::Exists(m_link); });
    }
    bool Made() const { return m_made; }

private:
    CString m_link, m_hostLink;
    bool m_made = false;
};

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

// The current folder for the length of a test.
class CCurrentDirectory {
public:
    CCurrentDirectory() { GetCurrentDirectoryW(MAX_PATH, m_old); }
    ~CCurrentDirectory() { SetCurrentDirectoryW(m_old); }
    CCurrentDirectory(const CCurrentDirectory&) = delete;
    CCurrentDirectory& operator=(const CCurrentDirectory&) = delete;

private:
    wchar_t m_old[MAX_PATH] = {};
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
    // Each relative or drive-less profile is tried from a current folder where it names the temporary
    // one, so a check that let it through would reach the tree.
    const CString dir = m_dir.Path();
    const int leaf = dir.ReverseFind(L'\\');
    const CString parent = dir.Left(leaf);
    const int parentLeaf = parent.ReverseFind(L'\\');
    ASSERT_TRUE(dir.GetLength() > 3 && dir[1] == L':' && parentLeaf > 2) << dir.ToUtf8();
    const CString name = dir.Mid(leaf + 1), nameWithParent = dir.Mid(parentLeaf + 1), rooted = dir.Mid(2);
    const CString tooLong = dir + CString(L'\\', 1100);
    struct Case {
        const wchar_t* profile;
        CString current;
        bool namesTheFolder; // relative to the current folder, or to its drive
        const char* what;
    };
    const Case cases[] = {{nullptr, dir, false, "absent"},
                          {L"", dir, false, "empty"},
                          {L"\\", dir, false, "no drive"},
                          {tooLong, dir, false, "too long"},
                          {L".", dir, true, "relative"},
                          {name, parent, true, "relative name"},
                          {nameWithParent, parent.Left(parentLeaf), true, "relative with a backslash"},
                          {rooted, dir, true, "rooted without a drive"}};
    CCurrentDirectory restored;
    for (const Case& c : cases) {
        Populate(); // each case judged on its own
        ASSERT_TRUE(SetCurrentDirectoryW(c.current)) << c.what;
        if (c.namesTheFolder) {
            ASSERT_TRUE(TempDir::Exists(CString(c.profile) + L"\\vessa\\a.dat")) << c.what;
        }
        CleanWithProfile(c.profile);
        EXPECT_EQ(3, FilesLeft()) << c.what;
    }
}

TEST_F(GameCacheTest, DoesNotFollowLinksOutOfTheFolder) {
    const CString precious = m_dir.WriteFile(L"elsewhere\\precious.dat", "p");
    const CString link = m_dir / L"vessa\\link";
    DirectoryLink made(link, m_dir / L"elsewhere");
    if (!made.Made() || !TempDir::Exists(link + L"\\precious.dat"))
        GTEST_SKIP() << "this system cannot make a directory link that leads somewhere";
    CleanWithProfile(m_dir.Path());
    EXPECT_EQ(0, FilesLeft());
    EXPECT_TRUE(TempDir::Exists(precious));
    // Nor when the folder to clean is itself a link.
    DeleteFilesRecursive(link);
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
