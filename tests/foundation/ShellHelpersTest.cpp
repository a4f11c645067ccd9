// Starting programs and handing pages to the default browser. The "browser" is FoundationProbe in
// a folder whose name holds a space; it appends the arguments it was given to "args.txt".
#include "ProbeSupport.h"
#include "TempDir.h"

#include "foundation/ShellHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {
const wchar_t kBrowserKey[] = L"http\\shell\\open\\command";
} // namespace

TEST(RunProcess, StartsAProgramWhosePathHoldsSpaces) {
    TempDir dir;
    const CString folder = dir.MakeDir(L"my programs\\set up");
    const CString probe = CopyProbeTo(folder);
    // The program that the unquoted path, cut at its first space, would name must not be the one run.
    ASSERT_TRUE(CopyFileW(ProbeBuiltPath(), dir / L"my.exe", FALSE));

    ASSERT_TRUE(RunProcess(probe));
    EXPECT_EQ("0\n", WaitForLines(folder + L"\\args.txt"));
    Sleep(500);
    EXPECT_FALSE(TempDir::Exists(dir / L"args.txt"));

    // A command line with its own quoting and arguments is passed as it stands.
    ASSERT_TRUE(RunProcess(L"\"" + probe + L"\" one \"two words\""));
    EXPECT_EQ("0\n2|one|two words\n", WaitForLines(folder + L"\\args.txt", 2));

    for (const CString& bad : {dir / L"no such program.exe", CString(), dir.Path()})
        EXPECT_FALSE(RunProcess(bad)) << bad.ToUtf8();
}

TEST(DefaultBrowser, PathIsCutAfterTheProgram) {
    ScopedClassesValue command(kBrowserKey);
    const CString longDir = L"\"C:\\" + CString(L'd', 200) + L"\\browser.exe\"";
    const std::pair<CString, CString> cases[] = {
        {L"\"C:\\Some Dir\\Browser.EXE\" -nohome \"%1\"", L"\"C:\\Some Dir\\Browser.EXE\""},
        {L"C:\\exe files\\b.exe %1", L"C:\\exe files\\b.exe"},
        {L"rundll32 url,FileProtocolHandler %1", L""},
        {longDir + L" \"%1\"", longDir}};
    for (const auto& c : cases) {
        CString path = L"unchanged";
        ASSERT_TRUE(command.SetText(c.first));
        ASSERT_TRUE(GetDefaultBrowserPath(path));
        EXPECT_EQ(c.second, path);
    }
}

TEST(DefaultBrowser, GetsTheAddressAsOneArgumentAndOnlyWebAddresses) {
    ScopedClassesValue command(kBrowserKey);
    TempDir dir;
    const CString folder = dir.MakeDir(L"web browser");
    ASSERT_TRUE(command.SetText(L"\"" + CopyProbeTo(folder) + L"\" -nohome \"%1\""));

    for (const wchar_t* refused : {L"file:///C:/windows/system32/cmd.exe", L"javascript:alert(1)",
                                   L"C:\\windows\\notepad.exe", static_cast<const wchar_t*>(nullptr)})
        OpenInDefaultBrowser(refused);
    OpenInDefaultBrowser(L"http://h/p?a=1&b=two words\" --evil \"x");
    EXPECT_EQ("1|http://h/p?a=1&b=two words%22 --evil %22x\n", WaitForLines(folder + L"\\args.txt"));

    // Blanks round the address are not part of it (and the backslash before the closing quote is).
    DeleteFileW(folder + L"\\args.txt");
    OpenInDefaultBrowser(L" HTTPS://h/dir\\ \t");
    EXPECT_EQ("1|HTTPS://h/dir\\\n", WaitForLines(folder + L"\\args.txt"));
}
