// Starting programs and handing pages to the default browser. The "browser" is FoundationProbe in
// a folder whose name holds a space; it appends the arguments it was given to "args.txt".
#include "ProbeSupport.h"
#include "TempDir.h"

#include "foundation/ShellHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const wchar_t kBrowserKey[] = L"http\\shell\\open\\command";

// Replaces the default browser's command for one test and puts the old one back.
class ScopedBrowserCommand {
public:
    ScopedBrowserCommand() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kBrowserKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            DWORD bytes = 0;
            if (RegQueryValueExW(key, nullptr, nullptr, &m_type, nullptr, &bytes) == ERROR_SUCCESS) {
                m_saved.resize(bytes);
                if (RegQueryValueExW(key, nullptr, nullptr, &m_type, m_saved.data(), &bytes) == ERROR_SUCCESS)
                    m_hadValue = true;
            }
            RegCloseKey(key);
        }
    }
    ~ScopedBrowserCommand() {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kBrowserKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        if (m_hadValue)
            RegSetValueExW(key, nullptr, 0, m_type, m_saved.data(), static_cast<DWORD>(m_saved.size()));
        else
            RegDeleteValueW(key, nullptr);
        RegCloseKey(key);
    }
    ScopedBrowserCommand(const ScopedBrowserCommand&) = delete;
    ScopedBrowserCommand& operator=(const ScopedBrowserCommand&) = delete;

    bool Set(const CString& command) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kBrowserKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        bool ok = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.GetString()),
                                 static_cast<DWORD>((command.GetLength() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
        RegCloseKey(key);
        return ok;
    }

private:
    std::vector<BYTE> m_saved;
    DWORD m_type = REG_SZ;
    bool m_hadValue = false;
};

} // namespace

TEST(RunProcess, StartsAProgramWhosePathHoldsSpaces) {
    TempDir dir;
    const CString folder = dir.MakeDir(L"my programs\\set up");
    const CString probe = CopyProbeTo(folder);
    // A program where the unquoted path would be cut at its first space must not be the one run.
    CopyProbeTo(dir.MakeDir(L"my"));
    dir.MakeDir(L"my programs\\set");

    ASSERT_TRUE(RunProcess(probe));
    EXPECT_EQ("0\n", WaitForLines(folder + L"\\args.txt", 20000));
    EXPECT_FALSE(TempDir::Exists(dir / L"my\\args.txt"));

    // A command line with its own quoting and arguments is passed as it stands.
    ASSERT_TRUE(RunProcess(L"\"" + probe + L"\" one \"two words\""));
    EXPECT_EQ("0\n2|one|two words\n", WaitForLines(folder + L"\\args.txt", 20000, 2));
}

TEST(RunProcess, ReportsWhatCannotStart) {
    TempDir dir;
    EXPECT_FALSE(RunProcess(dir / L"no such program.exe"));
    EXPECT_FALSE(RunProcess(L""));
    EXPECT_FALSE(RunProcess(dir.Path()));
}

TEST(DefaultBrowser, PathIsCutAfterTheProgram) {
    ScopedBrowserCommand command;
    CString path = L"unchanged";
    ASSERT_TRUE(command.Set(L"\"C:\\Some Dir\\Browser.EXE\" -nohome \"%1\""));
    ASSERT_TRUE(GetDefaultBrowserPath(path));
    EXPECT_EQ(L"\"C:\\Some Dir\\Browser.EXE\"", path);

    ASSERT_TRUE(command.Set(L"C:\\exe files\\b.exe %1"));
    ASSERT_TRUE(GetDefaultBrowserPath(path));
    EXPECT_EQ(L"C:\\exe files\\b.exe", path);

    ASSERT_TRUE(command.Set(L"rundll32 url,FileProtocolHandler %1"));
    ASSERT_TRUE(GetDefaultBrowserPath(path));
    EXPECT_EQ(L"", path);

    const CString longPath = L"\"C:\\" + CString(L'd', 200) + L"\\browser.exe\" \"%1\"";
    ASSERT_TRUE(command.Set(longPath));
    ASSERT_TRUE(GetDefaultBrowserPath(path));
    EXPECT_EQ(L"\"C:\\" + CString(L'd', 200) + L"\\browser.exe\"", path);
}

TEST(DefaultBrowser, GetsTheAddressAsOneArgumentAndOnlyWebAddresses) {
    ScopedBrowserCommand command;
    TempDir dir;
    const CString folder = dir.MakeDir(L"web browser");
    const CString probe = CopyProbeTo(folder);
    ASSERT_TRUE(command.Set(L"\"" + probe + L"\" -nohome \"%1\""));

    OpenInDefaultBrowser(L"file:///C:/windows/system32/cmd.exe");
    OpenInDefaultBrowser(L"javascript:alert(1)");
    OpenInDefaultBrowser(L"C:\\windows\\notepad.exe");
    OpenInDefaultBrowser(nullptr);
    OpenInDefaultBrowser(L"http://h/p?a=1&b=two words\" --evil \"x");
    EXPECT_EQ("1|http://h/p?a=1&b=two words%22 --evil %22x\n", WaitForLines(folder + L"\\args.txt", 20000));

    DeleteFileW(folder + L"\\args.txt");
    OpenInDefaultBrowser(L"HTTPS://h/dir\\");
    EXPECT_EQ("1|HTTPS://h/dir\\\n", WaitForLines(folder + L"\\args.txt", 20000));
}
