// The bundled demo skin (copied beside this program by the build): every name the client looks up is
// present, every image it names loads, and each background covers its window.
#include "SkinTestSupport.h"
#include "foundation/Markup.h"
#include "skin/SkinComposition.h"

#include <map>

namespace {

CString ProgramDir() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size())));
    return CString(path.substr(0, path.rfind(L'\\')));
}

struct Names {
    std::vector<const wchar_t*> buttons, texts, rects, images;
};

// What the client's windows look up in each element.
const std::map<std::wstring, Names> kRequired = {
    {L"MAINWND", {{L"close", L"min", L"home", L"bbs", L"pay", L"service"}, {}, {L"ie"}, {L"choose"}}},
    {L"GAMEWND",
     {{L"close", L"min", L"pack", L"home", L"bbs", L"pay", L"more", L"lock", L"server", L"refresh", L"vip",
       L"host", L"max", L"restore"},
      {L"text_username"},
      {L"ie"},
      {}}},
    {L"BOSSWND", {{L"enable", L"ok"}, {}, {L"editbox"}, {}}},
    {L"CACHEWND", {{L"ok"}, {}, {}, {}}},
    {L"LOCKWND", {{}, {}, {}, {}}},
    {L"UNLOCKWND", {{L"ok"}, {}, {L"editbox"}, {}}},
    {L"MOREWND", {{L"boss", L"setup", L"cache", L"ver"}, {}, {}, {}}},
    {L"SETUPWND", {{L"enable1", L"enable2", L"ok"}, {}, {}, {}}},
    {L"SERVERWND", {{L"logout", L"server", L"change"}, {L"text_server", L"text_other"}, {}, {}}},
    {L"SELECTWND", {{}, {}, {L"select"}, {}}},
    {L"UPDATEWND", {{L"ok", L"cancel", L"ok1"}, {L"text1", L"text2"}, {}, {}}},
    {L"VIPWND", {{L"close", L"min"}, {}, {L"ie"}, {}}},
    {L"HOSTWND", {{L"close", L"min"}, {}, {L"ie"}, {}}},
};

// The window's records of one kind, after checking that each required name is among them.
template <class Record>
std::vector<Record> Lookup(CSkinDocument& doc,
                           BOOL (CSkinDocument::*get)(const wchar_t*, std::vector<Record>&),
                           const wchar_t* wnd, const std::vector<const wchar_t*>& required) {
    std::vector<Record> records;
    (doc.*get)(wnd, records);
    for (const wchar_t* name : required)
        EXPECT_TRUE(std::any_of(records.begin(), records.end(), [&](const Record& r) {
            return r.name.CompareNoCase(name) == 0;
        })) << CString(name).ToUtf8();
    return records;
}

bool HasFont(CSkinDocument& doc, const CString& name) {
    SkinFontSpec font;
    font.name = name;
    return doc.GetFont(font);
}

} // namespace

TEST(DemoSkin, EveryLookedUpNameIsPresentEveryImageLoadsAndBackgroundsCover) {
    CSkinDocument doc;
    ASSERT_TRUE(doc.LoadFrom(ProgramDir(), L"default")) << "demo skin not beside the program";
    EXPECT_NE(nullptr, LoadSkinImage(doc.GetLogoPath()));
    for (const auto& entry : kRequired) {
        const wchar_t* wnd = entry.first.c_str();
        SCOPED_TRACE(CString(wnd).ToUtf8());
        SkinWndInfo info;
        info.name = wnd;
        doc.GetWndInfo(info);
        EXPECT_GT(info.width, 0);
        EXPECT_GT(info.height, 0);
        const auto buttons = Lookup(doc, &CSkinDocument::GetButtons, wnd, entry.second.buttons);
        const auto texts = Lookup(doc, &CSkinDocument::GetTexts, wnd, entry.second.texts);
        Lookup(doc, &CSkinDocument::GetRects, wnd, entry.second.rects);
        const auto images = Lookup(doc, &CSkinDocument::GetImages, wnd, entry.second.images);

        for (const SkinImgInfo& image : images)
            EXPECT_NE(nullptr, LoadSkinImage(image.stand)) << image.stand.ToUtf8();
        for (const SkinButtonInfo& button : buttons) {
            for (const wchar_t* state : {L"01.png", L"02.png", L"03.png", L"04.png"})
                EXPECT_NE(nullptr, LoadSkinImage(button.stand + state)) << (button.stand + state).ToUtf8();
            EXPECT_TRUE(button.flash.IsEmpty() || LoadSkinImage(button.flash + L"01.png"))
                << button.name.ToUtf8();
            EXPECT_TRUE(button.font.IsEmpty() || HasFont(doc, button.font)) << button.font.ToUtf8();
        }
        for (const SkinTextInfo& text : texts)
            EXPECT_TRUE(HasFont(doc, text.font)) << text.name.ToUtf8();

        // Resizable windows are also drawn larger than their design size. A sampled grid finds no
        // empty pixel (the layered window may be transparent only in its rounded corners).
        const bool grows = entry.first == L"GAMEWND" || entry.first == L"LOCKWND" || entry.first == L"VIPWND";
        const int w = grows ? info.width * 3 / 2 : info.width, h = grows ? info.height * 3 / 2 : info.height;
        SkinScene scene;
        scene.images = &images;
        scene.wndInfo = &info;
        scene.document = &doc;
        scene.geometry = {w, h, info.width, info.height,
                          entry.first == L"MAINWND" ? SkinSpread::Stretched : SkinSpread::Tiled};
        auto surface = skintest::Paint(w, h, [&](Gdiplus::Graphics& g) { ComposeSkin(g, scene); });
        int empty = 0;
        for (int y = 8; y < h - 8; y += 16)
            for (int x = 8; x < w - 8; x += 16)
                empty += surface->PixelAt(x, y) == 0;
        EXPECT_EQ(0, empty);
    }
}

TEST(DemoConfiguration, CarriesEveryKey) {
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFile(ProgramDir() + L"\\skin\\client.xml"));
    markup.ResetPosition();
    ASSERT_TRUE(markup.FindElement(L"CLIENTCONFIG") && markup.EnterElement() &&
                markup.FindElement(L"CONFIG"));
    for (const wchar_t* key :
         {L"gsClientAbout", L"userClientAbout", L"clientVer",  L"skinDir",     L"paymentUrl",
          L"bbsUrl",        L"gwUrl",           L"serviceUrl", L"userInfoUrl", L"usermd5fmt",
          L"userInfoApi",   L"serverParamName", L"homeUrl",    L"configParam", L"loginCheck",
          L"gameCheck",     L"quitTip",         L"infoPath",   L"pwKey",       L"tipClass",
          L"installUrl",    L"imClass"})
        EXPECT_FALSE(markup.GetAttribute(key).IsEmpty()) << CString(key).ToUtf8();
    // Deliberately empty: no plug-in installer, and the home page is shown at start.
    EXPECT_TRUE(markup.GetAttribute(L"runPlugin").IsEmpty());
    EXPECT_TRUE(markup.GetAttribute(L"startUpUrl").IsEmpty());
    EXPECT_EQ(CString(L"default"), markup.GetAttribute(L"skinDir"));
    EXPECT_EQ(0, markup.GetAttribute(L"homeUrl").Find(L"http://127.0.0.1:18080/"));
}
