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

using Values = std::vector<CString>;

// The callers' pattern: root, enter, then every child of one name, reading one attribute each.
Values ChildValues(CMarkup& xml, const wchar_t* root, const wchar_t* child, const wchar_t* attr) {
    Values values;
    xml.ResetPosition();
    if (!xml.FindElement(root)) return values;
    xml.EnterElement();
    while (xml.FindElement(child))
        values.push_back(xml.GetAttribute(attr));
    return values;
}

// The value of `attr` on the first `child` under the root "R", or "(missing)" without such a child.
CString FirstValue(const wchar_t* doc, const wchar_t* child, const wchar_t* attr) {
    CMarkup xml;
    if (!xml.SetDocument(doc)) return L"(no document: " + xml.GetError() + L")";
    Values values = ChildValues(xml, L"R", child, attr);
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

TEST(MarkupNavigation, WalksChildrenByExactNameInDocumentOrder) {
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocument(L"<R><A n='1'/><B n='x'/><A n='2'><A n='inner'/></A><A n=\"3\"></A><a n='4'/>"
                                L"<AB n='5'/></R>"));
    EXPECT_EQ((Values{L"1", L"2", L"3"}), ChildValues(xml, L"R", L"A", L"n"));
    // A null or empty name visits every child.
    EXPECT_EQ((Values{L"1", L"x", L"2", L"3", L"4", L"5"}), ChildValues(xml, L"R", nullptr, L"n"));
    EXPECT_EQ((Values{L"1", L"x", L"2", L"3", L"4", L"5"}), ChildValues(xml, L"R", L"", L"n"));
    EXPECT_EQ(Values{L"5"}, ChildValues(xml, L"R", L"AB", L"n"));
    EXPECT_EQ(Values{}, ChildValues(xml, L"r", L"A", L"n"));

    // Entering a found child searches its own children.
    xml.ResetPosition();
    ASSERT_TRUE(xml.FindElement(L"R"));
    ASSERT_TRUE(xml.EnterElement());
    EXPECT_EQ(L"", xml.GetAttribute(L"n")); // no current element right after entering
    ASSERT_TRUE(xml.FindElement(L"A"));
    ASSERT_TRUE(xml.FindElement(L"A"));
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

TEST(MarkupNavigation, EmptyAndFailedDocumentsHaveNoElements) {
    CMarkup xml;
    EXPECT_FALSE(xml.FindElement(nullptr));
    EXPECT_EQ(L"", xml.GetAttribute(L"a"));
    ASSERT_TRUE(xml.SetDocument(L"<R a='1'/>"));
    // Every failure says why, and a document that parses clears the previous failure's text.
    const std::pair<const wchar_t*, const wchar_t*> failures[] = {
        {L"<R a='1'>", L"Element tag not found"},
        {nullptr, L"Element tag not found"},
        {L"", L"Element tag not found"},
        {L"plain text", L"Element tag not found"},
        {L"</R><R/>", L"End tag before any element"},
        {L"  </a>", L"End tag before any element"},
    };
    for (const auto& failure : failures) {
        const std::string shown = failure.first ? CString(failure.first).ToUtf8() : "(null)";
        EXPECT_FALSE(xml.SetDocument(failure.first)) << shown;
        EXPECT_EQ(failure.second, xml.GetError()) << shown;
        xml.ResetPosition();
        EXPECT_FALSE(xml.FindElement(nullptr));
        ASSERT_TRUE(xml.SetDocument(L"<R/>"));
        EXPECT_EQ(L"", xml.GetError());
    }
}

TEST(MarkupAttributes, OnlyQuotedValuesCountAndEntitiesAreDecodedOnce) {
    const struct {
        const wchar_t* element; // inside <R>...</R>
        const wchar_t* attr;
        const wchar_t* value;
    } cases[] = {
        {L"<B\tname\r\n= \"close\" />", L"name", L"close"},
        {L"<B name=close/>", L"name", L""},
        {L"<B v='a \"b\"'/>", L"v", L"a \"b\""},
        {L"<B v='x'/>", L"w", L""},
        {L"<B v='x'/>", L"B", L""}, // the tag name is no attribute
        // An unquoted value is skipped: later attributes still read, unless the stray value spells
        // the name asked for, which then takes the place of the real one.
        {L"<B name=close rect='1,2'/>", L"rect", L"1,2"},
        {L"<B name=rect rect='1,2'/>", L"rect", L""},
        // Of two attributes of one name the first wins; the search ends at the tag's '/' or '>'.
        {L"<B v='first' v='second'/>", L"v", L"first"},
        {L"<B / v='x'></B>", L"v", L""},
        {L"<B w='1'><C v='x'/></B>", L"v", L""},
        // Attribute names compare exactly, with case.
        {L"<B Name='x'/>", L"name", L""},
        {L"<B names='x' name='y'/>", L"name", L"y"},
        {L"<B v='&lt;&amp;&gt;&apos;&quot;'/>", L"v", L"<&>'\""},
        {L"<B v='&amp;amp;'/>", L"v", L"&amp;"},
        {L"<B v='&#65;&#x41;&AMP;&LT;&nbsp;'/>", L"v", L"&#65;&#x41;&AMP;&LT;&nbsp;"},
        {L"<B v='a & b &'/>", L"v", L"a & b &"},
        {L"<B v=\"x&amp\" w=';'/>", L"v", L"x&amp"}, // an entity must end inside the value
        {L"<B v='中文&lt;'/>", L"v", L"中文<"},
        // White space after the '/' leaves the element open.
        {L"<B v='1'/ ></B>", L"v", L"1"},
        // End tags may carry white space and further tokens after the name.
        {L"<B v='1'></B extra 'q' >", L"v", L"1"},
        {L"<B v='1'>< / B\t>", L"v", L"1"},
        // A '>' inside a value ends the start tag, but the value is still read whole.
        {L"<B v='a>b'></B>", L"v", L"a>b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value, FirstValue((L"<R>" + CString(c.element) + L"</R>").GetString(), L"B", c.attr))
            << CString(c.element).ToUtf8() << " " << CString(c.attr).ToUtf8();
    // A start tag name followed by '[' still closes with the plain name.
    EXPECT_EQ(L"1", FirstValue(L"<R><B[x] v='1'></B></R>", L"B[x]", L"v"));
}

TEST(MarkupStructure, TextAndSpecialNodesAreSkipped) {
    const wchar_t* doc = L"\xFEFF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                         L"junk <!-- a comment with <tags> and > -->\r\n"
                         L"<!DOCTYPE R [ <!ENTITY e \"a>b\"> <!ENTITY f \"]><W/>\"> <!ELEMENT R ANY> ]>\r\n"
                         L"<R>text\r\n"
                         L"  <A n='1'/>\r\n"
                         L"  <!-- <A n='hidden'/> -->\r\n"
                         L"  <?pi <A n='hidden'/> > ?>\r\n"
                         L"  <![CDATA[ <A n='hidden'/> ]] > ]]>\r\n"
                         L"  <?>\r\n"
                         L"  <!-->\r\n"
                         L"  <A n='2'/> more\r\n"
                         L"</R><S a='2'/>< broken\r\n";
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocument(doc)) << xml.GetError().ToUtf8();
    EXPECT_EQ((Values{L"1", L"2"}), ChildValues(xml, L"R", L"A", L"n"));
    xml.ResetPosition();
    EXPECT_TRUE(xml.FindElement(L"R"));
    EXPECT_FALSE(xml.FindElement(nullptr)) << "only the first top-level element is parsed";

    // A bracket that does not begin a token is not seen, so the first '>' ends the document type.
    EXPECT_EQ(L"1", FirstValue(L"<!DOCTYPE R x[ <!ENTITY e 'v'> ]><R><B v='1'/></R>", L"B", L"v"));
}

TEST(MarkupErrors, EachErrorHasItsText) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"no element", L"Element tag not found"},
        {L"<R><B/>", L"Element tag not found"},
        {L"<B v='a>b'/>", L"Element tag not found"}, // meant to be empty, it swallows the rest
        {L"<R><B v='a>b'/></R>", L"End tag does not correspond to B"},
        {L"<R><B v='1'/ ></R>", L"End tag does not correspond to B"},
        {L"<R>< \r\n", L"Abrupt end within tag"},
        {L"<", L"Abrupt end within tag"},
        {L"<'R'/>", L"Tag starts with quote"},
        {L"<!-- open <R/>", L"Invalid node"},
        {L"<?xml version='1.0' <R/>", L"Invalid node"},
        {L"<![CDATA[ <R/>", L"Invalid node"},
        {L"<!DOCTYPE R [ > <R/>", L"Invalid node"},
        {L"<!-", L"Invalid node"},
        {L"<?", L"Invalid node"},
        // White space between '<' and '?' or '!' makes no special node.
        {L"< ?xml?><R/>", L"Invalid node"},
        {L"<\r\n!-- x --><R/>", L"Invalid node"},
        {L"<R><\t?></R>", L"Invalid node"},
        {L"<R a='1'", L"End of tag not found"},
        {L"<R><BTN></btn></R>", L"End tag does not correspond to BTN"},
        {L"<ab></a>", L"End tag does not correspond to ab"},
        {L"<a></ab>", L"End tag does not correspond to a"},
        {L"<R></R", L"End tag not completed for element R"},
        {L"<R></>", L"End tag not completed for element R"},
        // The name goes in as text, never as a format.
        {L"<%n%s%d></x>", L"End tag does not correspond to %n%s%d"},
        {L"<%s></%s", L"End tag not completed for element %s"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, ParseError(c.first)) << CString(c.first).ToUtf8();
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
    EXPECT_FALSE(xml.SetDocument((L"<R>" + std::wstring(100000, L'x') + L"<a>" + Nested(L"b", 300)).c_str()));
    EXPECT_FALSE(xml.SetDocument((L"<R" + std::wstring(100000, L'<')).c_str()));
    EXPECT_TRUE(xml.SetDocument(L"<R/>"));
}

TEST(MarkupHostileInput, AttributeReadsEndWithTheStartTag) {
    // The quoted "/>" holds the '>' that ends c's start tag; what follows is not c's.
    EXPECT_EQ(L"", FirstValue(L"<R><c '/>' <d name=\"leak\"/></R>", L"c", L"name"));
    EXPECT_EQ(L"leak", FirstValue(L"<R><c '/>' <d name=\"leak\"/></R>", L"d", L"name"));
    // A value that begins inside the tag is still read whole, but nothing after it.
    EXPECT_EQ(L">", FirstValue(L"<R><c v='>' w='x'></c></R>", L"c", L"v"));
    EXPECT_EQ(L"", FirstValue(L"<R><c v='>' w='x'></c></R>", L"c", L"w"));

    // 100 KB of such tags, each read as a configuration reader reads it: every read stops at its own
    // tag (before, each one ran on to the last element and took its value, in quadratic time).
    std::wstring doc = L"<R>";
    int count = 0;
    for (; doc.size() < 100000; ++count)
        doc += L"<c '/>' ";
    doc += L"<d name='last'/></R>";
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocument(doc.c_str())) << xml.GetError().ToUtf8();
    int read = 0, leaked = 0;
    xml.ResetPosition();
    ASSERT_TRUE(xml.FindElement(L"R"));
    xml.EnterElement();
    while (xml.FindElement(L"c")) {
        ++read;
        for (const wchar_t* attr : {L"name", L"title", L"url"})
            leaked += !xml.GetAttribute(attr).IsEmpty();
    }
    EXPECT_EQ(count, read);
    EXPECT_EQ(0, leaked);
    EXPECT_EQ((Values{L"last"}), ChildValues(xml, L"R", L"d", L"name"));
}

TEST(MarkupLoadFile, ReadsUtf8FileBytesWithMarkAndDeclaration) {
    TempDir dir;
    CString path =
        dir.WriteFile(L"config.xml", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                                     "<CLIENTCONFIG>\r\n"
                                     "  <CONFIG title=\"\xE6\xB8\xB8\xE6\x88\x8F &amp; more\"/>\r\n"
                                     "</CLIENTCONFIG>\r\n");
    // Another writer holding the file open does not keep it from loading.
    HANDLE writer = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    CMarkup xml;
    EXPECT_TRUE(xml.LoadFile(path)) << xml.GetError().ToUtf8();
    CloseHandle(writer);
    const Values expected{L"游戏 & more"};
    EXPECT_EQ(expected, ChildValues(xml, L"CLIENTCONFIG", L"CONFIG", L"title"));

    // A file that cannot be opened keeps the document; one that opens replaces it.
    EXPECT_FALSE(xml.LoadFile(dir / L"missing.xml"));
    EXPECT_FALSE(xml.LoadFile(dir.Path()));
    EXPECT_EQ(expected, ChildValues(xml, L"CLIENTCONFIG", L"CONFIG", L"title"));
    EXPECT_FALSE(xml.LoadFile(dir.WriteFile(L"empty.xml", "")));
    EXPECT_FALSE(xml.FindElement(nullptr));
    EXPECT_FALSE(xml.LoadFile(dir.WriteFile(L"broken.xml", "<CLIENTCONFIG><CONFIG a='1'>")));
    EXPECT_EQ(L"Element tag not found", xml.GetError());
}

TEST(MarkupLargeDocuments, ManyElementsParseAndTheTableIsReused) {
    // Tiny elements outgrow the table's first estimate many times over.
    const int count = 60000;
    std::wstring doc = L"<R>";
    Values expected;
    for (int i = 0; i < count; ++i) {
        doc += (i % 3 == 2) ? L"<x/>" : L"<I n='" + std::to_wstring(i) + L"'><c/></I>";
        if (i % 3 != 2) expected.push_back(CString(std::to_wstring(i)));
    }
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocument((doc + L"</R>").c_str())) << xml.GetError().ToUtf8();
    EXPECT_TRUE(expected == ChildValues(xml, L"R", L"I", L"n"));

    // A smaller document afterwards sees none of the old links.
    ASSERT_TRUE(xml.SetDocument(L"<R><I n='only'/></R>"));
    EXPECT_EQ(Values{L"only"}, ChildValues(xml, L"R", L"I", L"n"));
    xml.ResetPosition();
    ASSERT_TRUE(xml.FindElement(L"R"));
    xml.EnterElement();
    ASSERT_TRUE(xml.FindElement(L"I"));
    xml.EnterElement();
    EXPECT_FALSE(xml.FindElement(nullptr));
}
