// Choosing the skin folder and reading skin.xml into records.
#include "SkinTestSupport.h"

#include <algorithm>
#include <climits>
#include <tuple>

using skintest::SkinFolder;

namespace {

const char kMinimalSkin[] = "<CLIENTSKIN><MAINWND width=\"10\" height=\"20\"/></CLIENTSKIN>";

int WidthOf(CSkinDocument& doc, const wchar_t* wnd) {
    SkinWndInfo info;
    info.name = wnd;
    doc.GetWndInfo(info);
    return info.width;
}

} // namespace

TEST(SkinFolderChoice, ByNameWithoutRegardToCaseSkippingFoldersWithoutLoadableXml) {
    SkinFolder f;
    f.WriteXml(L"Blue", kMinimalSkin);
    f.WriteXml(L"two", "<CLIENTSKIN><MAINWND width=\"2\"/></CLIENTSKIN>");
    f.Dir().MakeDir(L"skin\\noxml");
    f.WriteXml(L"empty", "");
    f.WriteXml(L"unclosed", "<CLIENTSKIN><MAINWND width=\"1\">");
    f.Dir().WriteFile(L"skin\\client.xml", "<CLIENTCONFIG/>"); // a file, never listed
    CSkinDocument doc;
    std::vector<CString> dirs;
    doc.EnumSkinDirs(f.ProgramDir() + L"\\skin", dirs); // without the trailing backslash
    std::sort(dirs.begin(), dirs.end(), [](const CString& a, const CString& b) { return a.Compare(b) < 0; });
    EXPECT_EQ((std::vector<CString>{L"Blue", L"two"}), dirs);

    for (const wchar_t* bad : {L"noxml", L"unclosed", L"empty", L""}) {
        EXPECT_FALSE(doc.LoadFrom(f.ProgramDir(), bad)) << CString(bad).ToUtf8();
        EXPECT_FALSE(doc.IsLoaded());
        EXPECT_EQ(-1, doc.GetCurSkin());
    }
    ASSERT_TRUE(doc.LoadFrom(f.ProgramDir(), L"bLUE"));
    EXPECT_EQ(CString(L"Blue"), doc.GetSkinDirs().at(doc.GetCurSkin())); // as the file system spells it
    EXPECT_EQ(f.ProgramDir() + L"\\skin\\Blue\\a\\b.png", doc.GetImagePath(L"a\\b.png"));
    EXPECT_EQ(f.ProgramDir() + L"\\skin\\Blue\\", doc.GetImagePath(L""));
    ASSERT_TRUE(doc.LoadFrom(f.ProgramDir(), L"TWO"));
    EXPECT_EQ(2, WidthOf(doc, L"MAINWND"));
    EXPECT_EQ(f.ProgramDir() + L"\\skin\\two\\x.png", doc.GetImagePath(L"x.png"));
}

TEST(SkinFolderChoice, PercentSignsInFoldersAndValuesStayAsWritten) {
    SkinFolder f;
    const CString program = f.Dir().MakeDir(L"100%s %d");
    f.Dir().WriteFile(L"100%s %d\\skin\\a%sb\\skin.xml",
                      "<CLIENTSKIN><W><IMG stand=\"%s%n.png\"/></W></CLIENTSKIN>");
    CSkinDocument doc;
    ASSERT_TRUE(doc.LoadFrom(program, L"A%SB"));
    std::vector<SkinImgInfo> images;
    doc.GetImages(L"W", images);
    ASSERT_EQ(1u, images.size());
    EXPECT_EQ(program + L"\\skin\\a%sb\\%s%n.png", images[0].stand);
}

TEST(SkinFolderChoice, NoSkinFolderAndLookupsOnAnUnloadedDocument) {
    TempDir dir;
    CSkinDocument doc;
    EXPECT_FALSE(doc.LoadFrom(dir.Path(), L"default"));
    EXPECT_TRUE(doc.GetSkinDirs().empty());
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
    const CString program = skintest::MakeLongDir(dir.Path(), 300);
    CreateDirectoryW(CString(L"\\\\?\\") + program + L"\\skin", nullptr);
    CreateDirectoryW(CString(L"\\\\?\\") + program + L"\\skin\\long", nullptr);
    HANDLE h = CreateFileW(CString(L"\\\\?\\") + program + L"\\skin\\long\\skin.xml", GENERIC_WRITE, 0,
                           nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) GTEST_SKIP() << "file system refuses long paths";
    DWORD written = 0;
    WriteFile(h, kMinimalSkin, sizeof kMinimalSkin - 1, &written, nullptr);
    CloseHandle(h);
    CSkinDocument doc;
    EXPECT_TRUE(doc.LoadFrom(program, L"long"));
    EXPECT_EQ(10, WidthOf(doc, L"MAINWND"));
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
    ASSERT_TRUE(doc.LoadFrom(f.ProgramDir(), L"t"));
    EXPECT_TRUE(doc.GetLogoPath().IsEmpty()); // only the first IMG of the root counts
}

// Each record's fields compared as one tuple, in the order the record declares them.
class SkinRecords : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder.WriteXml(L"rec", R"(<?xml version="1.0" encoding="utf-8"?>
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
    <IMG name="bg" stand="bg.png" left="3" top="4" width="30" height="0" strech="1" ystrech="1" arc="2" align="bottomleft"/>
    <IMG/>
  </GAMEWND>
  <MAINWND/>
  <HUGEWND>
    <RECT name="r" left="1" top="-5" width="99999999999" height="-99999999999"/>
    <TEXT name="t" left="-2147483648" top="2147483647" width="-1" height="2147483647"/>
  </HUGEWND>
  <EMPTYWND></EMPTYWND>
  <FONT name="second" size="12" family="SimSun" style="0"/>
</CLIENTSKIN>)");
        ASSERT_TRUE(m_doc.LoadFrom(m_folder.ProgramDir(), L"rec"));
    }
    CString Img(const wchar_t* v) { return m_folder.ProgramDir() + L"\\skin\\rec\\" + v; }
    static auto Wnd(const SkinWndInfo& w) {
        return std::make_tuple(w.logo, w.strech, w.wmode, w.titleHeight, w.width, w.height, w.mWidth,
                               w.mHeight, w.border, w.color, w.bgcolor, w.title, w.font);
    }
    static auto Rect(const RECT& r) { return std::make_tuple(r.left, r.top, r.right, r.bottom); }

    SkinFolder m_folder;
    CSkinDocument m_doc;
};

const COLORREF kWhite = 0xFFFFFF;

TEST_F(SkinRecords, WindowRecordAndDefaults) {
    SkinWndInfo w;
    w.name = L"GAMEWND";
    ASSERT_TRUE(m_doc.GetWndInfo(w));
    // titleHeight reads like atoi; an empty colour keeps the default.
    EXPECT_EQ(std::make_tuple(1, 2, -3, 32, 1000, 640, 800, 0, kWhite, RGB(1, 2, 3), kWhite,
                              CString(L"游戏 & more"), CString(L"title")),
              Wnd(w));
    // An element without attributes, and a missing one (tags compare with case), reset every field.
    for (const wchar_t* name : {L"MAINWND", L"gamewnd"}) {
        SkinWndInfo d;
        d.name = name;
        d.width = d.height = 7;
        d.border = d.color = 0;
        m_doc.GetWndInfo(d);
        EXPECT_EQ(
            std::make_tuple(0, 0, 0, 0, 0, 0, 0, 0, SKIN_NO_COLOR, kWhite, kWhite, CString(), CString()),
            Wnd(d))
            << CString(name).ToUtf8();
    }
}

TEST_F(SkinRecords, ButtonsWithTheirDefaults) {
    std::vector<SkinButtonInfo> b;
    ASSERT_TRUE(m_doc.GetButtons(L"GAMEWND", b));
    ASSERT_EQ(3u, b.size()); // other tags between them are skipped
    auto fields = [](const SkinButtonInfo& i) {
        return std::make_tuple(i.color, i.hotcolor, i.style, i.check, i.left, i.top, i.name, i.title, i.stand,
                               i.flash, i.icon, i.icon1, i.font, i.align, i.tip);
    };
    EXPECT_EQ(std::make_tuple(RGB(10, 20, 30), RGB(0, 0, 0), 4, 1, 40, 5, CString(L"close"), CString(L"关闭"),
                              Img(L"btn\\close_"), Img(L"btn\\flash_"), Img(L"i.png"), Img(L"b.png"),
                              CString(L"Title"), CString(L"TopRight"), CString(L"Close it")),
              fields(b[0]));
    // Image paths are built even when empty; the hot colour follows the colour; no flash.
    EXPECT_EQ(std::make_tuple(kWhite, kWhite, 0, 0, 0, 0, CString(L"plain"), CString(), Img(L""), CString(),
                              Img(L""), Img(L""), CString(), CString(L"TopLeft"), CString()),
              fields(b[1]));
    // Components cut to 8 bits.
    EXPECT_EQ(RGB(44, 255, 7), b[2].color);
    EXPECT_EQ(RGB(44, 255, 7), b[2].hotcolor);
}

TEST_F(SkinRecords, TextsRectsImages) {
    std::vector<SkinTextInfo> t;
    m_doc.GetTexts(L"GAMEWND", t);
    ASSERT_EQ(2u, t.size());
    auto text = [](const SkinTextInfo& i) {
        return std::tuple_cat(std::make_tuple(i.color, i.name, i.title, i.font, i.align), Rect(i.rect));
    };
    EXPECT_EQ(std::make_tuple(RGB(0, 128, 255), CString(L"text_username"), CString(L"hi"), CString(L"Title"),
                              CString(L"BottomRight"), 10L, 20L, 110L, 36L),
              text(t[0]));
    EXPECT_EQ(
        std::make_tuple(kWhite, CString(L"bare"), CString(), CString(), CString(L"TopLeft"), 0L, 0L, 0L, 0L),
        text(t[1]));

    std::vector<SkinRectInfo> r;
    m_doc.GetRects(L"GAMEWND", r);
    ASSERT_EQ(1u, r.size());
    // A colour written as the border reads as its first number.
    EXPECT_EQ(std::make_tuple(CString(L"ie"), 1, 9, 5L, 40L, 995L, 630L),
              std::tuple_cat(std::make_tuple(r[0].name, r[0].strech, r[0].border), Rect(r[0].rect)));

    std::vector<SkinImgInfo> i;
    m_doc.GetImages(L"GAMEWND", i);
    ASSERT_EQ(2u, i.size());
    auto image = [](const SkinImgInfo& m) {
        return std::tuple_cat(
            std::make_tuple(m.strech, m.ystrech, m.left, m.top, m.name, m.stand, m.align, m.arc, m.visible),
            Rect(m.rect));
    };
    EXPECT_EQ(std::make_tuple(1, 1, 3, 4, CString(L"bg"), Img(L"bg.png"), CString(L"bottomleft"), 2, TRUE, 0L,
                              0L, 30L, 0L),
              image(i[0]));
    EXPECT_EQ(std::make_tuple(0, 0, 0, 0, CString(), Img(L""), CString(L"TopLeft"), 0, TRUE, 0L, 0L, 0L, 0L),
              image(i[1]));

    // An element without children, and one that does not exist, give empty vectors.
    std::vector<SkinButtonInfo> none(2);
    m_doc.GetButtons(L"EMPTYWND", none);
    EXPECT_TRUE(none.empty());
    m_doc.GetTexts(L"NOWND", t);
    EXPECT_TRUE(t.empty());
}

// Far edges beyond the int range stop at its ends (the numbers themselves are read within it).
TEST_F(SkinRecords, FarEdgesSaturate) {
    std::vector<SkinRectInfo> r;
    std::vector<SkinTextInfo> t;
    m_doc.GetRects(L"HUGEWND", r);
    m_doc.GetTexts(L"HUGEWND", t);
    ASSERT_EQ(1u, r.size());
    ASSERT_EQ(1u, t.size());
    EXPECT_EQ(std::make_tuple(1L, -5L, LONG(INT_MAX), LONG(INT_MIN)), Rect(r[0].rect));
    EXPECT_EQ(std::make_tuple(LONG(INT_MIN), LONG(INT_MAX), LONG(INT_MIN), LONG(INT_MAX)), Rect(t[0].rect));
}

TEST_F(SkinRecords, FontsByNameWithoutRegardToCaseOnlyAtTheRoot) {
    SkinFontSpec f;
    f.name = L"TITLE";
    ASSERT_TRUE(m_doc.GetFont(f));
    EXPECT_EQ(std::make_tuple(14, 1, CString(L"Arial")), std::make_tuple(f.size, f.style, f.family));
    SkinFontSpec s;
    s.name = L"second";
    ASSERT_TRUE(m_doc.GetFont(s)); // after a window element
    EXPECT_EQ(CString(L"SimSun"), s.family);
    SkinFontSpec missing;
    missing.name = L"none";
    missing.size = 99;
    EXPECT_FALSE(m_doc.GetFont(missing));
    EXPECT_EQ(99, missing.size);

    SkinFolder inner;
    inner.WriteXml(L"s", "<CLIENTSKIN><MAINWND><FONT name=\"inner\" size=\"3\"/></MAINWND></CLIENTSKIN>");
    ASSERT_TRUE(m_doc.LoadFrom(inner.ProgramDir(), L"s"));
    missing.name = L"inner";
    EXPECT_FALSE(m_doc.GetFont(missing));
}
