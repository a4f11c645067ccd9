#include "foundation/Markup.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// Readable failure messages for the reader's texts.
void PrintTo(const CString& text, std::ostream* out) {
    *out << '"' << text.ToUtf8() << '"';
}

namespace {

// The callers' pattern: root, enter, then every child of one name, reading one attribute each.
std::vector<CString> ChildValues(CMarkup& xml, const wchar_t* root, const wchar_t* child,
                                 const wchar_t* attr) {
    std::vector<CString> values;
    xml.ResetPosition();
    if (!xml.FindElement(root)) return values;
    xml.EnterElement();
    while (xml.FindElement(child))
        values.push_back(xml.GetAttribute(attr));
    return values;
}

// The value of `attr` on the first `child` under `root`, or "(missing)" when that element is not found.
CString FirstValue(const wchar_t* doc, const wchar_t* child, const wchar_t* attr) {
    CMarkup xml;
    if (!xml.SetDocument(doc)) return L"(no document)";
    std::vector<CString> values = ChildValues(xml, L"R", child, attr);
    return values.empty() ? CString(L"(missing)") : values.front();
}

CString ParseError(const wchar_t* doc) {
    CMarkup xml;
    EXPECT_FALSE(xml.SetDocument(doc)) << CString(doc).ToUtf8();
    return xml.GetError();
}

std::wstring Nested(const wchar_t* name, int depth) {
    std::wstring doc;
    for (int i = 0; i < depth; ++i)
        doc += std::wstring(L"<") + name + L">";
    for (int i = 0; i < depth; ++i)
        doc += std::wstring(L"</") + name + L">";
    return doc;
}

} // namespace

TEST(MarkupNavigation, WalksChildrenByNameInDocumentOrder) {
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocument(L"<R><A n='1'/><B n='x'/><A n='2'><A n='inner'/></A><A n=\"3\"></A></R>"));
    EXPECT_EQ((std::vector<CString>{L"1", L"2", L"3"}), ChildValues(xml, L"R", L"A", L"n"));

    // A null or empty name visits every child.
    EXPECT_EQ((std::vector<CString>{L"1", L"x", L"2", L"3"}), ChildValues(xml, L"R", nullptr, L"n"));
    EXPECT_EQ((std::vector<CString>{L"1", L"x", L"2", L"3"}), ChildValues(xml, L"R", L"", L"n"));

    // Entering a found child searches its own children.
    xml.ResetPosition();
    ASSERT_TRUE(xml.FindElement(L"R"));
    ASSERT_TRUE(xml.EnterElement());
    EXPECT_EQ(L"", xml.GetAttribute(L"n")); // no current element right after entering
    ASSERT_TRUE(xml.FindElement(L"A"));
    ASSERT_TRUE(xml.FindElement(L"A"));
    EXPECT_EQ(L"2", xml.GetAttribute(L"n"));
    ASSERT_TRUE(xml.EnterElement());
    ASSERT_TRUE(xml.FindElement(L"A"));
    EXPECT_EQ(L"inner", xml.GetAttribute(L"n"));
    EXPECT_FALSE(xml.FindElement(L"A"));
    EXPECT_EQ(L"inner", xml.GetAttribute(L"n")); // a failed search leaves the cursor

    // Only the root lives at the top level; entering needs a current element.
    xml.ResetPosition();
    EXPECT_FALSE(xml.EnterElement());
    EXPECT_FALSE(xml.FindElement(L"A"));
    EXPECT_TRUE(xml.FindElement(L"R"));
    EXPECT_FALSE(xml.FindElement(L"R"));
}

TEST(MarkupNavigation, NamesCompareExactlyWithCase) {
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocument(L"<R><BTN n='upper'/><BTNX n='longer'/><btn n='lower'/></R>"));
    EXPECT_EQ((std::vector<CString>{L"lower"}), ChildValues(xml, L"R", L"btn", L"n"));
    EXPECT_EQ((std::vector<CString>{L"upper"}), ChildValues(xml, L"R", L"BTN", L"n"));
    EXPECT_EQ((std::vector<CString>{}), ChildValues(xml, L"R", L"BT", L"n"));
    EXPECT_EQ((std::vector<CString>{}), ChildValues(xml, L"r", L"BTN", L"n"));

    EXPECT_EQ(L"x", FirstValue(L"<R><Btn v='x'/></R>", L"Btn", L"v"));
    EXPECT_EQ(L"", FirstValue(L"<R><Btn V='x'/></R>", L"Btn", L"v"));
}

TEST(MarkupNavigation, EmptyAndFailedDocumentsHaveNoElements) {
    CMarkup xml;
    EXPECT_FALSE(xml.FindElement(L"R"));
    EXPECT_FALSE(xml.FindElement(nullptr));
    EXPECT_EQ(L"", xml.GetAttribute(L"a"));

    ASSERT_TRUE(xml.SetDocument(L"<R a='1'/>"));
    EXPECT_FALSE(xml.SetDocument(L"<R a='1'>"));
    xml.ResetPosition();
    EXPECT_FALSE(xml.FindElement(nullptr));

    EXPECT_FALSE(xml.SetDocument(nullptr));
    EXPECT_FALSE(xml.SetDocument(L""));
    EXPECT_FALSE(xml.SetDocument(L"plain text"));
    EXPECT_FALSE(xml.FindElement(nullptr));

    // An end tag before any element fails without a message.
    CMarkup fresh;
    EXPECT_FALSE(fresh.SetDocument(L"</R><R/>"));
    EXPECT_EQ(L"", fresh.GetError());
}

TEST(MarkupAttributes, OnlyQuotedValuesCount) {
    EXPECT_EQ(L"close", FirstValue(L"<R><B name = 'close' /></R>", L"B", L"name"));
    EXPECT_EQ(L"close", FirstValue(L"<R><B\tname\r\n=\n\"close\"/></R>", L"B", L"name"));
    EXPECT_EQ(L"", FirstValue(L"<R><B name=close/></R>", L"B", L"name"));
    EXPECT_EQ(L"", FirstValue(L"<R><B name=\"\"/></R>", L"B", L"name"));
    EXPECT_EQ(L"a \"b\"", FirstValue(L"<R><B v='a \"b\"'/></R>", L"B", L"v"));
    EXPECT_EQ(L"", FirstValue(L"<R><B v='x'/></R>", L"B", L"w"));
    EXPECT_EQ(L"", FirstValue(L"<R><B v='x'/></R>", L"B", L""));
    EXPECT_EQ(L"", FirstValue(L"<R><B v='x'/></R>", L"B", L"B")); // the tag name is no attribute

    // An unquoted value is skipped: later attributes still read, unless the stray value spells
    // the name asked for, which then takes the place of the real one.
    EXPECT_EQ(L"1,2", FirstValue(L"<R><B name=close rect='1,2'/></R>", L"B", L"rect"));
    EXPECT_EQ(L"", FirstValue(L"<R><B name=rect rect='1,2'/></R>", L"B", L"rect"));

    // Of two attributes of one name the first wins; the search ends at the tag's '/' or '>'.
    EXPECT_EQ(L"first", FirstValue(L"<R><B v='first' v='second'/></R>", L"B", L"v"));
    EXPECT_EQ(L"", FirstValue(L"<R><B / v='x'></B></R>", L"B", L"v"));
    EXPECT_EQ(L"", FirstValue(L"<R><B w='1'><C v='x'/></B></R>", L"B", L"v"));

    // Attribute names follow the element-name rule: case counts, no prefixes.
    EXPECT_EQ(L"", FirstValue(L"<R><B Name='x'/></R>", L"B", L"name"));
    EXPECT_EQ(L"", FirstValue(L"<R><B names='x'/></R>", L"B", L"name"));
    EXPECT_EQ(L"y", FirstValue(L"<R><B names='x' name='y'/></R>", L"B", L"name"));
}

TEST(MarkupAttributes, GreaterThanInsideValueEndsTheStartTag) {
    // The value is still read whole, but the element is no longer empty.
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocument(L"<R><B v='a>b'></B></R>"));
    EXPECT_EQ((std::vector<CString>{L"a>b"}), ChildValues(xml, L"R", L"B", L"v"));

    // Meant to be empty, it swallows the rest of the document.
    EXPECT_EQ(L"Element tag not found", ParseError(L"<B v='a>b'/>"));
    EXPECT_EQ(L"End tag does not correspond to B", ParseError(L"<R><B v='a>b'/></R>"));
}

TEST(MarkupAttributes, EntitiesAreDecodedOnce) {
    EXPECT_EQ(L"<&>'\"", FirstValue(L"<R><B v='&lt;&amp;&gt;&apos;&quot;'/></R>", L"B", L"v"));
    EXPECT_EQ(L"&amp;", FirstValue(L"<R><B v='&amp;amp;'/></R>", L"B", L"v"));
    EXPECT_EQ(L"&#65;&#x41;&AMP;&LT;&nbsp;",
              FirstValue(L"<R><B v='&#65;&#x41;&AMP;&LT;&nbsp;'/></R>", L"B", L"v"));
    EXPECT_EQ(L"a & b &", FirstValue(L"<R><B v='a & b &'/></R>", L"B", L"v"));
    // An entity must end inside the value.
    EXPECT_EQ(L"x&amp", FirstValue(L"<R><B v=\"x&amp\" w=';'/></R>", L"B", L"v"));
    EXPECT_EQ(L"中文<", FirstValue(L"<R><B v='中文&lt;'/></R>", L"B", L"v"));
}

TEST(MarkupStructure, EmptyElementsAndEndTags) {
    // White space before the '/' keeps an element empty; white space after it does not.
    EXPECT_EQ(L"1", FirstValue(L"<R><B v='1' /></R>", L"B", L"v"));
    EXPECT_EQ(L"End tag does not correspond to B", ParseError(L"<R><B v='1'/ ></R>"));
    EXPECT_EQ(L"1", FirstValue(L"<R><B v='1'/ ></B></R>", L"B", L"v"));

    // End tags may carry white space and further tokens after the name.
    EXPECT_EQ(L"1", FirstValue(L"<R><B v='1'></B extra 'q' ></R >", L"B", L"v"));
    EXPECT_EQ(L"1", FirstValue(L"<R><B v='1'>< / B\t></R>", L"B", L"v"));
    // A start tag name followed by '[' still closes with the plain name.
    EXPECT_EQ(L"1", FirstValue(L"<R><B[x] v='1'></B></R>", L"B[x]", L"v"));

    // Text content is skipped, only the first top-level element is parsed.
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocument(L"junk \xFEFF<R a='1'>text <B/> more</R><S a='2'/>< broken"));
    xml.ResetPosition();
    EXPECT_TRUE(xml.FindElement(L"R"));
    EXPECT_EQ(L"1", xml.GetAttribute(L"a"));
    EXPECT_FALSE(xml.FindElement(L"S"));
    EXPECT_FALSE(xml.FindElement(nullptr));
}

TEST(MarkupStructure, SpecialNodesAreSkipped) {
    const wchar_t* doc = L"\xFEFF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                         L"<!-- a comment with <tags> and > -->\r\n"
                         L"<!DOCTYPE R [ <!ENTITY e \"a>b\"> <!ELEMENT R ANY> ]>\r\n"
                         L"<R>\r\n"
                         L"  <A n='1'/>\r\n"
                         L"  <!-- <A n='hidden'/> -->\r\n"
                         L"  <?pi <A n='hidden'/> > ?>\r\n"
                         L"  <![CDATA[ <A n='hidden'/> ]] > ]]>\r\n"
                         L"  <?>\r\n"
                         L"  <!-->\r\n"
                         L"  <A n='2'/>\r\n"
                         L"</R>\r\n";
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocument(doc)) << xml.GetError().ToUtf8();
    EXPECT_EQ((std::vector<CString>{L"1", L"2"}), ChildValues(xml, L"R", L"A", L"n"));

    // Quoted brackets do not count towards the document type's nesting.
    CMarkup quoted;
    ASSERT_TRUE(quoted.SetDocument(L"<!DOCTYPE R [ <!ENTITY e \"]><W/>\"> ]><R/>"));
    quoted.ResetPosition();
    EXPECT_TRUE(quoted.FindElement(L"R"));
    // A bracket that does not begin a token is not seen, so the first '>' ends the document type.
    CMarkup glued;
    EXPECT_TRUE(glued.SetDocument(L"<!DOCTYPE R x[ <!ENTITY e 'v'> ]><R/>"));
    glued.ResetPosition();
    EXPECT_TRUE(glued.FindElement(L"R"));
}

TEST(MarkupErrors, EachErrorHasItsText) {
    EXPECT_EQ(L"Element tag not found", ParseError(L"no element"));
    EXPECT_EQ(L"Element tag not found", ParseError(L"<R><B/>"));
    EXPECT_EQ(L"Abrupt end within tag", ParseError(L"<R>< \r\n"));
    EXPECT_EQ(L"Abrupt end within tag", ParseError(L"<"));
    EXPECT_EQ(L"Tag starts with quote", ParseError(L"<'R'/>"));
    EXPECT_EQ(L"Invalid node", ParseError(L"<!-- open <R/>"));
    EXPECT_EQ(L"Invalid node", ParseError(L"<?xml version='1.0' <R/>"));
    EXPECT_EQ(L"Invalid node", ParseError(L"<![CDATA[ <R/>"));
    EXPECT_EQ(L"Invalid node", ParseError(L"<!DOCTYPE R [ > <R/>"));
    EXPECT_EQ(L"Invalid node", ParseError(L"<!-"));
    EXPECT_EQ(L"Invalid node", ParseError(L"<?"));
    EXPECT_EQ(L"End of tag not found", ParseError(L"<R a='1'"));
    EXPECT_EQ(L"End tag does not correspond to R", ParseError(L"<R></S>"));
    EXPECT_EQ(L"End tag does not correspond to BTN", ParseError(L"<R><BTN></btn></R>"));
    EXPECT_EQ(L"End tag does not correspond to ab", ParseError(L"<ab></a>"));
    EXPECT_EQ(L"End tag does not correspond to a", ParseError(L"<a></ab>"));
    EXPECT_EQ(L"End tag not completed for element R", ParseError(L"<R></R"));
    EXPECT_EQ(L"End tag not completed for element R", ParseError(L"<R></>"));

    // The name goes in as text, never as a format.
    EXPECT_EQ(L"End tag does not correspond to %n%s%d", ParseError(L"<%n%s%d></x>"));
    EXPECT_EQ(L"End tag not completed for element %s", ParseError(L"<%s></%s"));
}

TEST(MarkupHostileInput, DeepNestingIsRefused) {
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocument(Nested(L"a", CMarkup::kMaxDepth).c_str()));
    xml.ResetPosition();
    int levels = 0;
    while (xml.FindElement(L"a") && xml.EnterElement())
        ++levels;
    EXPECT_EQ(CMarkup::kMaxDepth, levels);

    EXPECT_FALSE(xml.SetDocument(Nested(L"a", CMarkup::kMaxDepth + 1).c_str()));
    EXPECT_EQ(L"Element a nested too deeply", xml.GetError());
    EXPECT_FALSE(xml.FindElement(nullptr));

    // Far beyond any stack: refused, and the reader stays usable.
    EXPECT_FALSE(xml.SetDocument(Nested(L"deep", 100000).c_str()));
    EXPECT_EQ(L"Element deep nested too deeply", xml.GetError());
    std::wstring open(100000, L'<');
    EXPECT_FALSE(xml.SetDocument((L"<R>" + std::wstring(100000, L'x') + L"<a>" + Nested(L"b", 300)).c_str()));
    EXPECT_FALSE(xml.SetDocument((L"<R" + open).c_str()));
    EXPECT_TRUE(xml.SetDocument(L"<R/>"));
}

TEST(MarkupHostileInput, SpaceBeforeSpecialNodeIsInvalid) {
    EXPECT_EQ(L"Invalid node", ParseError(L"< ?xml?><R/>"));
    EXPECT_EQ(L"Invalid node", ParseError(L"<\r\n!-- x --><R/>"));
    EXPECT_EQ(L"Invalid node", ParseError(L"<R>< !x></R>"));
    EXPECT_EQ(L"Invalid node", ParseError(L"<R><\t?></R>"));
}

TEST(MarkupLoadFile, ReadsUtf8FilesWithMarkAndDeclaration) {
    TempDir dir;
    const std::string bytes = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                              "<CLIENTCONFIG>\r\n"
                              "  <CONFIG title=\"\xE6\xB8\xB8\xE6\x88\x8F &amp; more\" skinDir='blue'/>\r\n"
                              "</CLIENTCONFIG>\r\n";
    CString path = dir.WriteFile(L"config.xml", bytes);
    CMarkup xml;
    ASSERT_TRUE(xml.LoadFile(path)) << xml.GetError().ToUtf8();
    EXPECT_EQ((std::vector<CString>{L"游戏 & more"}), ChildValues(xml, L"CLIENTCONFIG", L"CONFIG", L"title"));
    EXPECT_EQ((std::vector<CString>{L"blue"}), ChildValues(xml, L"CLIENTCONFIG", L"CONFIG", L"skinDir"));

    // A file that cannot be opened keeps the document; one that opens replaces it.
    EXPECT_FALSE(xml.LoadFile(dir / L"missing.xml"));
    EXPECT_FALSE(xml.LoadFile(dir.Path()));
    EXPECT_EQ((std::vector<CString>{L"blue"}), ChildValues(xml, L"CLIENTCONFIG", L"CONFIG", L"skinDir"));

    EXPECT_FALSE(xml.LoadFile(dir.WriteFile(L"empty.xml", "")));
    EXPECT_FALSE(xml.FindElement(nullptr));
    EXPECT_FALSE(xml.LoadFile(dir.WriteFile(L"broken.xml", "<CLIENTCONFIG><CONFIG a='1'>")));
    EXPECT_EQ(L"Element tag not found", xml.GetError());
    EXPECT_TRUE(ChildValues(xml, L"CLIENTCONFIG", L"CONFIG", L"a").empty());
}

TEST(MarkupLoadFile, FileOpenedByAnotherWriterStillLoads) {
    TempDir dir;
    CString path = dir.WriteFile(L"skin.xml", "<CLIENTSKIN><FONT name='f'/></CLIENTSKIN>");
    HANDLE writer = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    CMarkup xml;
    EXPECT_TRUE(xml.LoadFile(path));
    CloseHandle(writer);
    EXPECT_EQ((std::vector<CString>{L"f"}), ChildValues(xml, L"CLIENTSKIN", L"FONT", L"name"));
}

TEST(MarkupLargeDocuments, ManyElementsParseAndReadBack) {
    // Tiny elements outgrow the table's first estimate many times over.
    const int count = 60000;
    std::wstring doc = L"<R>";
    for (int i = 0; i < count; ++i)
        doc += (i % 3 == 2) ? L"<x/>" : L"<I n='" + std::to_wstring(i) + L"'><c/></I>";
    doc += L"</R>";
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocument(doc.c_str())) << xml.GetError().ToUtf8();
    std::vector<CString> values = ChildValues(xml, L"R", L"I", L"n");
    ASSERT_EQ(static_cast<size_t>(count - count / 3), values.size());
    size_t at = 0;
    for (int i = 0; i < count; ++i) {
        if (i % 3 == 2) continue;
        ASSERT_EQ(CString(std::to_wstring(i)), values[at++]) << i;
    }

    // The table is reused: a smaller document afterwards sees none of the old links.
    ASSERT_TRUE(xml.SetDocument(L"<R><I n='only'/></R>"));
    EXPECT_EQ((std::vector<CString>{L"only"}), ChildValues(xml, L"R", L"I", L"n"));
    xml.ResetPosition();
    ASSERT_TRUE(xml.FindElement(L"R"));
    xml.EnterElement();
    ASSERT_TRUE(xml.FindElement(L"I"));
    xml.EnterElement();
    EXPECT_FALSE(xml.FindElement(nullptr));
}
