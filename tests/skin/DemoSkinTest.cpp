// The bundled demo skin (copied beside this program by the build): every window, button, text,
// rectangle and image name that the client looks up is present, and every image it names loads.
#include "SkinTestSupport.h"
#include "foundation/Markup.h"
#include "skin/SkinComposition.h"
#include "skin/SkinDocument.h"
#include "skin/SkinSurface.h"

#include <gtest/gtest.h>

#include <map>

namespace {

CString ProgramDir() {
    std::wstring path(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    path.resize(n);
    return CString(path.substr(0, path.rfind(L'\\')));
}

struct Names {
    std::vector<const wchar_t*> buttons, texts, rects, images;
};

// What the client's windows look up in each element.
const std::map<std::wstring, Names>& Required() {
    static const std::map<std::wstring, Names> names = {
        {L"MAINWND", {{L"close", L"min", L"home", L"bbs", L"pay", L"service"}, {}, {L"ie"}, {L"choose"}}},
        {L"GAMEWND",
         {{L"close", L"min", L"pack", L"home", L"bbs", L"pay", L"more", L"lock", L"server", L"refresh", L"vip", L"host",
           L"max", L"restore"},
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
    return names;
}

template <class Record>
bool HasName(const std::vector<Record>& records, const wchar_t* name) {
    for (const Record& r : records)
        if (r.name.CompareNoCase(name) == 0) return true;
    return false;
}

class DemoSkin : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_doc.LoadFrom(ProgramDir(), L"default")) << "demo skin not beside the program"; }
    CSkinDocument m_doc;
};

} // namespace

TEST_F(DemoSkin, EveryLookedUpNameIsPresentAndEveryImageLoads) {
    for (const auto& entry : Required()) {
        const wchar_t* wnd = entry.first.c_str();
        SCOPED_TRACE(CString(wnd).ToUtf8());
        SkinWndInfo info;
        info.name = wnd;
        m_doc.GetWndInfo(info);
        EXPECT_GT(info.width, 0);
        EXPECT_GT(info.height, 0);
        std::vector<SkinButtonInfo> buttons;
        std::vector<SkinTextInfo> texts;
        std::vector<SkinRectInfo> rects;
        std::vector<SkinImgInfo> images;
        m_doc.GetButtons(wnd, buttons);
        m_doc.GetTexts(wnd, texts);
        m_doc.GetRects(wnd, rects);
        m_doc.GetImages(wnd, images);
        for (const wchar_t* name : entry.second.buttons) EXPECT_TRUE(HasName(buttons, name)) << CString(name).ToUtf8();
        for (const wchar_t* name : entry.second.texts) EXPECT_TRUE(HasName(texts, name)) << CString(name).ToUtf8();
        for (const wchar_t* name : entry.second.rects) EXPECT_TRUE(HasName(rects, name)) << CString(name).ToUtf8();
        for (const wchar_t* name : entry.second.images) EXPECT_TRUE(HasName(images, name)) << CString(name).ToUtf8();

        EXPECT_FALSE(images.empty()); // every window has a background
        for (const SkinImgInfo& image : images) EXPECT_NE(nullptr, LoadSkinImage(image.stand)) << image.stand.ToUtf8();
        for (const SkinButtonInfo& button : buttons) {
            for (const wchar_t* state : {L"01.png", L"02.png", L"03.png", L"04.png"})
                EXPECT_NE(nullptr, LoadSkinImage(button.stand + state)) << (button.stand + state).ToUtf8();
            if (!button.flash.IsEmpty()) {
                EXPECT_NE(nullptr, LoadSkinImage(button.flash + L"01.png"));
            }
            if (!button.font.IsEmpty()) {
                SkinFontSpec font;
                font.name = button.font;
                EXPECT_TRUE(m_doc.GetFont(font)) << button.font.ToUtf8();
            }
        }
        for (const SkinTextInfo& text : texts) {
            SkinFontSpec font;
            font.name = text.font;
            EXPECT_TRUE(m_doc.GetFont(font)) << text.name.ToUtf8();
        }
    }
    EXPECT_NE(nullptr, LoadSkinImage(m_doc.GetLogoPath()));
}

TEST_F(DemoSkin, BackgroundsCoverEachWindowAtDesignAndLargerSizes) {
    for (const auto& entry : Required()) {
        const wchar_t* wnd = entry.first.c_str();
        SCOPED_TRACE(CString(wnd).ToUtf8());
        SkinWndInfo info;
        info.name = wnd;
        m_doc.GetWndInfo(info);
        std::vector<SkinImgInfo> images;
        m_doc.GetImages(wnd, images);
        const bool layered = entry.first == L"MAINWND";
        // Resizable windows are also drawn larger than their design size.
        const bool grows = entry.first == L"GAMEWND" || entry.first == L"LOCKWND" || entry.first == L"VIPWND";
        const int w = grows ? info.width * 3 / 2 : info.width, h = grows ? info.height * 3 / 2 : info.height;
        CSkinSurface surface(nullptr, w, h, CSkinSurface::Dib32);
        SkinScene scene;
        scene.images = &images;
        scene.wndInfo = &info;
        scene.document = &m_doc;
        scene.geometry = {w, h, info.width, info.height, layered ? SkinSpread::Stretched : SkinSpread::Tiled};
        ComposeSkin(*surface.GetGraphics(), scene);
        surface.EndDrawing();
        // Sample a grid: the layered window may be transparent only in its rounded corners.
        int empty = 0, samples = 0;
        for (int y = 8; y < h - 8; y += 16)
            for (int x = 8; x < w - 8; x += 16) {
                ++samples;
                if ((surface.PixelAt(x, y) >> 24) == 0 && (surface.PixelAt(x, y) & 0xFFFFFF) == 0) ++empty;
            }
        EXPECT_EQ(0, empty) << "of " << samples;
    }
}

TEST(DemoConfiguration, CarriesEveryKey) {
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFile(ProgramDir() + L"\\skin\\client.xml"));
    markup.ResetPosition();
    ASSERT_TRUE(markup.FindElement(L"CLIENTCONFIG"));
    ASSERT_TRUE(markup.EnterElement());
    ASSERT_TRUE(markup.FindElement(L"CONFIG"));
    const wchar_t* keys[] = {L"gsClientAbout", L"userClientAbout", L"clientVer", L"skinDir", L"paymentUrl", L"bbsUrl",
                             L"gwUrl", L"serviceUrl", L"userInfoUrl", L"usermd5fmt", L"userInfoApi",
                             L"serverParamName", L"homeUrl", L"configParam", L"loginCheck", L"gameCheck",
                             L"runPlugin", L"startUpUrl", L"installUrl", L"imClass", L"quitTip", L"infoPath",
                             L"pwKey", L"tipClass"};
    // Keys deliberately left empty: no plug-in installer, and the home page is shown at start.
    for (const wchar_t* key : keys) {
        const CString value = markup.GetAttribute(key);
        if (CString(key) == L"runPlugin" || CString(key) == L"startUpUrl")
            EXPECT_TRUE(value.IsEmpty()) << CString(key).ToUtf8();
        else
            EXPECT_FALSE(value.IsEmpty()) << CString(key).ToUtf8();
    }
    EXPECT_EQ(CString(L"default"), markup.GetAttribute(L"skinDir"));
    EXPECT_EQ(0, markup.GetAttribute(L"homeUrl").Find(L"http://127.0.0.1:18080/"));
}
