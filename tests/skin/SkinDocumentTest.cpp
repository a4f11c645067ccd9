// Choosing the skin folder and reading skin.xml into records.
#include "SkinTestSupport.h"
#include "skin/SkinDocument.h"

#include <gtest/gtest.h>

using skintest::SkinFolder;

namespace {

const char kMinimalSkin[] = "<CLIENTSKIN><MAINWND width=\"10\" height=\"20\"/></CLIENTSKIN>";

} // namespace

TEST(SkinFolderChoice, SelectsFolderWithoutRegardToCase) {
    SkinFolder f;
    f.WriteXml(L"Blue", kMinimalSkin);
    CSkinDocument doc;
    ASSERT_TRUE(doc.LoadFrom(f.ProgramDir(), L"bLUE"));
    ASSERT_EQ(1u, doc.GetSkinDirs().size());
    EXPECT_EQ(CString(L"Blue"), doc.GetSkinDirs()[0]); // as the file system spells it
    EXPECT_EQ(0, doc.GetCurSkin());
    // Image paths use the folder as spelled on disk.
    EXPECT_EQ(f.ProgramDir() + L"\\skin\\Blue\\a\\b.png", doc.GetImagePath(L"a\\b.png"));
    EXPECT_EQ(f.ProgramDir() + L"\\skin\\Blue\\", doc.GetImagePath(L""));
}

TEST(SkinFolderChoice, SecondOfTwoValidSkins) {
    SkinFolder f;
    f.WriteXml(L"one", "<CLIENTSKIN><MAINWND width=\"1\"/></CLIENTSKIN>");
    f.WriteXml(L"two", "<CLIENTSKIN><MAINWND width=\"2\"/></CLIENTSKIN>");
    CSkinDocument doc;
    ASSERT_TRUE(doc.LoadFrom(f.ProgramDir(), L"two"));
    SkinWndInfo info;
    info.name = L"MAINWND";
    doc.GetWndInfo(info);
    EXPECT_EQ(2, info.width);
    EXPECT_NE(-1, doc.GetImagePath(L"x.png").Find(L"\\skin\\two\\x.png"));
}

TEST(SkinFolderChoice, FoldersWithoutLoadableSkinXmlAreSkipped) {
    SkinFolder f;
    f.WriteXml(L"good", kMinimalSkin);
    f.Dir().MakeDir(L"skin\\noxml");
    f.WriteXml(L"empty", "");
    f.WriteXml(L"unclosed", "<CLIENTSKIN><MAINWND width=\"1\">");
    f.Dir().WriteFile(L"skin\\client.xml", "<CLIENTCONFIG><CONFIG/></CLIENTCONFIG>"); // a file, never listed
    CSkinDocument doc;
    std::vector<CString> dirs;
    doc.EnumSkinDirs(f.ProgramDir() + L"\\skin", dirs); // without the trailing backslash
    ASSERT_EQ(1u, dirs.size());
    EXPECT_EQ(CString(L"good"), dirs[0]);

    EXPECT_FALSE(doc.LoadFrom(f.ProgramDir(), L"noxml"));
    EXPECT_FALSE(doc.IsLoaded());
    EXPECT_EQ(-1, doc.GetCurSkin());
    EXPECT_FALSE(doc.LoadFrom(f.ProgramDir(), L"unclosed"));
    EXPECT_FALSE(doc.LoadFrom(f.ProgramDir(), L""));
    EXPECT_TRUE(doc.LoadFrom(f.ProgramDir(), L"GOOD"));
}

TEST(SkinFolderChoice, NoSkinFolderAtAll) {
    TempDir dir;
    CSkinDocument doc;
    EXPECT_FALSE(doc.LoadFrom(dir.Path(), L"default"));
    EXPECT_TRUE(doc.GetSkinDirs().empty());
    // Lookups on an unloaded document change nothing and never fail.
    std::vector<SkinButtonInfo> buttons(3);
    EXPECT_TRUE(doc.GetButtons(L"MAINWND", buttons));
    EXPECT_TRUE(buttons.empty());
    SkinFontSpec font;
    font.name = L"f";
    EXPECT_FALSE(doc.GetFont(font));
    EXPECT_TRUE(doc.GetLogoPath().IsEmpty());
}

TEST(SkinFolderChoice, LongProgramFolder) {
    TempDir dir;
    CString program = dir.Path();
    for (int i = 0; i < 7; ++i) program += L"\\" + CString(L'd', 40);
    const CString skin = program + L"\\skin\\long";
    for (int i = dir.Path().GetLength() + 1; i <= skin.GetLength(); ++i)
        if (i == skin.GetLength() || skin[i] == L'\\') CreateDirectoryW(CString(L"\\\\?\\") + skin.Left(i), nullptr);
    const CString xml = skin + L"\\skin.xml";
    ASSERT_GT(xml.GetLength(), MAX_PATH);
    HANDLE h = CreateFileW(CString(L"\\\\?\\") + xml, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) GTEST_SKIP() << "file system refuses long paths";
    DWORD written = 0;
    WriteFile(h, kMinimalSkin, sizeof kMinimalSkin - 1, &written, nullptr);
    CloseHandle(h);
    CSkinDocument doc;
    EXPECT_TRUE(doc.LoadFrom(program, L"long"));
    EXPECT_GT(doc.GetImagePath(L"x.png").GetLength(), MAX_PATH);
}

TEST(SkinLogo, FirstRootImageNamedLogo) {
    SkinFolder f;
    f.WriteXml(L"s", "<CLIENTSKIN><FONT name=\"a\"/><IMG name=\"LOGO\" stand=\"img\\logo.png\"/>"
                     "<MAINWND/></CLIENTSKIN>");
    f.WriteXml(L"t", "<CLIENTSKIN><IMG name=\"other\" stand=\"x.png\"/><IMG name=\"logo\" stand=\"l.png\"/>"
                     "</CLIENTSKIN>");
    CSkinDocument doc;
    ASSERT_TRUE(doc.LoadFrom(f.ProgramDir(), L"s"));
    EXPECT_EQ(f.ProgramDir() + L"\\skin\\s\\img\\logo.png", doc.GetLogoPath());
    EXPECT_EQ(f.ProgramDir() + L"\\skin\\s\\img\\logo.png", doc.GetLogoPath()); // cached, same answer
    ASSERT_TRUE(doc.LoadFrom(f.ProgramDir(), L"t"));
    EXPECT_TRUE(doc.GetLogoPath().IsEmpty()); // only the first IMG of the root counts
}

class SkinRecords : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder.WriteXml(L"rec", m_xml);
        ASSERT_TRUE(m_doc.LoadFrom(m_folder.ProgramDir(), L"rec"));
    }
    CString Img(const wchar_t* v) { return m_folder.ProgramDir() + L"\\skin\\rec\\" + v; }

    std::string m_xml = R"(<?xml version="1.0" encoding="utf-8"?>
<CLIENTSKIN>
  <FONT name="Title" size="14" family="Arial" style="1"/>
  <GAMEWND logo="1" title="游戏 &amp; more" titleHeight=" 32px" width="1000" height="640" font="title"
           strech="2" wmode="-3" mWidth="800" mHeight="abc" border="255,255,255" color="1,2,3" bgcolor="">
    <BTN name="close" check="1" style="4" stand="btn\close_" flash="btn\flash_" left="40" top="+5"
         title="关闭" tip="Close it" icon="i.png" icon1="b.png" color="10,20,30" hotcolor="0,0,0"
         align="TopRight" font="Title"/>
    <BTN name="plain"/>
    <NOTE name="ignored"/>
    <BTN name="plain" color="300,-1,7"/>
    <TEXT name="text_username" left="10" top="20" width="100" height="16" title="hi" color="0,128,255"
          align="BottomRight" font="Title"/>
    <TEXT name="bare"/>
    <RECT name="ie" left="5" top="40" width="990" height="590" border="9,8,7" strech="1" font="x" align="Middle"/>
    <RECT/>
    <IMG name="bg" stand="bg.png" left="3" top="4" width="30" height="0" strech="1" ystrech="1" arc="2" align="bottomleft"/>
    <IMG/>
  </GAMEWND>
  <MAINWND/>
  <EMPTYWND></EMPTYWND>
  <FONT name="second" size="12" family="SimSun" style="0"/>
</CLIENTSKIN>)";
    SkinFolder m_folder;
    CSkinDocument m_doc;
};

TEST_F(SkinRecords, WindowRecord) {
    SkinWndInfo w;
    w.name = L"GAMEWND";
    ASSERT_TRUE(m_doc.GetWndInfo(w));
    EXPECT_EQ(1, w.logo);
    EXPECT_EQ(CString(L"游戏 & more"), w.title);
    EXPECT_EQ(32, w.titleHeight); // atoi: leading space, stops at the first non-digit
    EXPECT_EQ(1000, w.width);
    EXPECT_EQ(640, w.height);
    EXPECT_EQ(CString(L"title"), w.font);
    EXPECT_EQ(2, w.strech);
    EXPECT_EQ(-3, w.wmode);
    EXPECT_EQ(800, w.mWidth);
    EXPECT_EQ(0, w.mHeight);
    EXPECT_EQ(0xFFFFFFu, w.border); // a white outline
    EXPECT_EQ(RGB(1, 2, 3), w.color);
    EXPECT_EQ(0xFFFFFFu, w.bgcolor); // empty keeps the default
}

TEST_F(SkinRecords, WindowDefaultsAndMissingElement) {
    SkinWndInfo w;
    w.name = L"MAINWND";
    w.width = 5;
    w.border = 0;
    m_doc.GetWndInfo(w);
    EXPECT_EQ(SKIN_NO_COLOR, w.border); // no outline
    EXPECT_EQ(0xFFFFFFu, w.color);
    EXPECT_EQ(0, w.width);
    EXPECT_TRUE(w.title.IsEmpty());

    SkinWndInfo missing;
    missing.name = L"gamewnd"; // tags compare with case
    missing.width = 7;
    missing.height = 9;
    missing.color = 0;
    m_doc.GetWndInfo(missing);
    EXPECT_EQ(0, missing.width);
    EXPECT_EQ(0, missing.height);
    EXPECT_EQ(0xFFFFFFu, missing.color);
    EXPECT_EQ(SKIN_NO_COLOR, missing.border);
}

TEST_F(SkinRecords, Buttons) {
    std::vector<SkinButtonInfo> b;
    ASSERT_TRUE(m_doc.GetButtons(L"GAMEWND", b));
    ASSERT_EQ(3u, b.size()); // other tags between them are skipped
    EXPECT_EQ(CString(L"close"), b[0].name);
    EXPECT_EQ(1, b[0].check);
    EXPECT_EQ(4, b[0].style);
    EXPECT_EQ(Img(L"btn\\close_"), b[0].stand);
    EXPECT_EQ(Img(L"btn\\flash_"), b[0].flash);
    EXPECT_EQ(40, b[0].left);
    EXPECT_EQ(5, b[0].top);
    EXPECT_EQ(CString(L"关闭"), b[0].title);
    EXPECT_EQ(CString(L"Close it"), b[0].tip);
    EXPECT_EQ(Img(L"i.png"), b[0].icon);
    EXPECT_EQ(Img(L"b.png"), b[0].icon1);
    EXPECT_EQ(RGB(10, 20, 30), b[0].color);
    EXPECT_EQ(0u, b[0].hotcolor); // black stays black
    EXPECT_EQ(CString(L"TopRight"), b[0].align);
    EXPECT_EQ(CString(L"Title"), b[0].font);

    // Defaults: white, hot colour follows the colour, empty flash, image paths still built.
    EXPECT_EQ(CString(L"plain"), b[1].name);
    EXPECT_EQ(0xFFFFFFu, b[1].color);
    EXPECT_EQ(0xFFFFFFu, b[1].hotcolor);
    EXPECT_TRUE(b[1].flash.IsEmpty());
    EXPECT_EQ(Img(L""), b[1].stand);
    EXPECT_EQ(Img(L""), b[1].icon);
    EXPECT_EQ(CString(L"TopLeft"), b[1].align);
    EXPECT_EQ(0, b[1].left);
    EXPECT_TRUE(b[1].tip.IsEmpty());

    // Components cut to 8 bits; the hot colour takes the parsed colour.
    EXPECT_EQ(RGB(44, 255, 7), b[2].color);
    EXPECT_EQ(RGB(44, 255, 7), b[2].hotcolor);
}

TEST_F(SkinRecords, TextsRectsImages) {
    std::vector<SkinTextInfo> t;
    m_doc.GetTexts(L"GAMEWND", t);
    ASSERT_EQ(2u, t.size());
    EXPECT_EQ(CString(L"text_username"), t[0].name);
    EXPECT_EQ(10, t[0].rect.left);
    EXPECT_EQ(20, t[0].rect.top);
    EXPECT_EQ(110, t[0].rect.right);
    EXPECT_EQ(36, t[0].rect.bottom);
    EXPECT_EQ(RGB(0, 128, 255), t[0].color);
    EXPECT_EQ(CString(L"BottomRight"), t[0].align);
    EXPECT_EQ(0xFFFFFFu, t[1].color);
    EXPECT_EQ(CString(L"TopLeft"), t[1].align);
    EXPECT_TRUE(t[1].font.IsEmpty());

    std::vector<SkinRectInfo> r;
    m_doc.GetRects(L"GAMEWND", r);
    ASSERT_EQ(2u, r.size());
    EXPECT_EQ(CString(L"ie"), r[0].name);
    EXPECT_EQ(9, r[0].border); // a colour written here reads as its first number
    EXPECT_EQ(1, r[0].strech);
    EXPECT_EQ(995, r[0].rect.right);
    EXPECT_EQ(630, r[0].rect.bottom);
    EXPECT_EQ(CString(L"Middle"), r[0].align);
    EXPECT_EQ(0xFFFFFFu, r[0].color);
    EXPECT_EQ(0, r[1].rect.right);
    EXPECT_EQ(CString(L"TopLeft"), r[1].align);

    std::vector<SkinImgInfo> i;
    m_doc.GetImages(L"GAMEWND", i);
    ASSERT_EQ(2u, i.size());
    EXPECT_EQ(CString(L"bg"), i[0].name);
    EXPECT_EQ(3, i[0].left);
    EXPECT_EQ(4, i[0].top);
    EXPECT_EQ(0, i[0].rect.left);
    EXPECT_EQ(30, i[0].rect.right);
    EXPECT_EQ(0, i[0].rect.bottom);
    EXPECT_EQ(1, i[0].strech);
    EXPECT_EQ(1, i[0].ystrech);
    EXPECT_EQ(2, i[0].arc);
    EXPECT_EQ(Img(L"bg.png"), i[0].stand);
    EXPECT_EQ(CString(L"bottomleft"), i[0].align);
    EXPECT_TRUE(i[0].visible);
    EXPECT_TRUE(i[1].visible);
    EXPECT_EQ(0, i[1].rect.right);
    EXPECT_EQ(Img(L""), i[1].stand);

    // An element without children, and one that does not exist, give empty vectors.
    std::vector<SkinButtonInfo> none(2);
    m_doc.GetButtons(L"EMPTYWND", none);
    EXPECT_TRUE(none.empty());
    m_doc.GetTexts(L"NOWND", t);
    EXPECT_TRUE(t.empty());
}

TEST_F(SkinRecords, FontsByNameWithoutRegardToCase) {
    SkinFontSpec f;
    f.name = L"TITLE";
    ASSERT_TRUE(m_doc.GetFont(f));
    EXPECT_EQ(14, f.size);
    EXPECT_EQ(1, f.style);
    EXPECT_EQ(CString(L"Arial"), f.family);
    SkinFontSpec s;
    s.name = L"second";
    ASSERT_TRUE(m_doc.GetFont(s)); // after a window element
    EXPECT_EQ(CString(L"SimSun"), s.family);
    SkinFontSpec missing;
    missing.name = L"none";
    missing.size = 99;
    EXPECT_FALSE(m_doc.GetFont(missing));
    EXPECT_EQ(99, missing.size);
}

TEST(SkinRecordsPlacement, FontInsideWindowIsNotFound) {
    SkinFolder f;
    f.WriteXml(L"s", "<CLIENTSKIN><MAINWND><FONT name=\"inner\" size=\"3\"/></MAINWND></CLIENTSKIN>");
    CSkinDocument doc;
    ASSERT_TRUE(doc.LoadFrom(f.ProgramDir(), L"s"));
    SkinFontSpec font;
    font.name = L"inner";
    EXPECT_FALSE(doc.GetFont(font));
}
