#include "framework/File.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <set>

TEST(CFileTest, WriteReadAndStatus) {
    TempDir dir;
    CString path = dir / L"data.bin";
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
        EXPECT_TRUE(file.Write("hello\0world", 11));
    }
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeRead | CFile::shareDenyNone));
    EXPECT_EQ(11u, file.GetLength());
    char buffer[32] = {};
    EXPECT_EQ(11u, file.Read(buffer, sizeof buffer));
    EXPECT_EQ(0, memcmp(buffer, "hello\0world", 11));
    EXPECT_EQ(0u, file.Read(buffer, sizeof buffer));

    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(path, status));
    EXPECT_EQ(11u, status.m_size);
    EXPECT_FALSE(CFile::GetStatus(dir / L"missing", status));
    CFile missing;
    EXPECT_FALSE(missing.Open(dir / L"missing", CFile::modeRead));
}

TEST(CFileFindTest, IteratesLikeTheClassLibrary) {
    TempDir dir;
    dir.WriteFile(L"a.xml", "a");
    dir.WriteFile(L"b.xml", "bb");
    dir.MakeDir(L"c.xml");

    std::set<std::wstring> files, dirs;
    CFileFind finder;
    BOOL more = finder.FindFile(dir / L"*.xml");
    ASSERT_TRUE(more);
    while (more) {
        more = finder.FindNextFile(); // the last entry is still valid after it returned FALSE
        (finder.IsDirectory() ? dirs : files).insert(finder.GetFileName().Str());
        EXPECT_EQ(dir / finder.GetFileName(), finder.GetFilePath());
    }
    EXPECT_EQ((std::set<std::wstring>{L"a.xml", L"b.xml"}), files);
    EXPECT_EQ((std::set<std::wstring>{L"c.xml"}), dirs);

    int dots = 0;
    for (more = finder.FindFile(dir / L"*"); more;) {
        more = finder.FindNextFile();
        dots += finder.IsDots();
    }
    EXPECT_EQ(2, dots);

    EXPECT_FALSE(finder.FindFile(dir / L"*.none"));
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_TRUE(finder.GetFileName().IsEmpty());
}
