#include "XMLTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "LogHelper.h"
#include "TestSupport.h"
#include "TextInterner.h"

namespace {

using testing_support::ReportCapture;
using testing_support::TempDir;

// Most cases save what they read, so they use a tree for editing; it reads like any other.
std::unique_ptr<TOOLS::IXMLTree> NewTree(bool editable = true) {
    return editable ? TOOLS::CXMLTreeCreator::AllocateForEditing()
                    : TOOLS::CXMLTreeCreator::Allocate();
}

CString TagOf(TOOLS::IXMLTree& tree) {
    CString tag;
    tree.GetTagName(tag);
    return tag;
}

class XMLTreeTest : public ::testing::Test {
protected:
    // Writes `text` as "doc.xml", loads it and stands on the root "Root".
    std::unique_ptr<TOOLS::IXMLTree> Open(const std::string& text) {
        dir_.Write("doc.xml", text);
        auto tree = NewTree();
        EXPECT_TRUE(tree->LoadFile(dir_.WPath("doc.xml")));
        EXPECT_TRUE(tree->FindElement(L"Root"));
        return tree;
    }

    TempDir dir_;
    ReportCapture capture_;
};

constexpr const char* kSample =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- settings -->\n"
    "<Root version=\"2\" name=\"主\">\n"
    "  <Item id=\"a\">first</Item>\n"
    "  <!-- between -->\n"
    "  <Other/>\n"
    "  <Item id=\"b\"><![CDATA[<raw> & text]]></Item>\n"
    "  <Item id=\"c\">x &amp; y &#x4E2D;</Item>\n"
    "  <Group><Item>inner</Item></Group>\n"
    "  <Blank>   </Blank>\n"
    "</Root>\n";

// Every way of naming gives the same UTF-8, short names (held inline) and long ones alike.
TEST(XmlNameTest, WideNarrowAndCStringNamesAgree) {
    const std::string longAscii(40, 'n');
    struct Case {
        std::wstring wide;
        std::string utf8;
    } cases[] = {
        {L"", ""},
        {L"Item", "Item"},
        {std::wstring(31, L'n'), std::string(31, 'n')},  // the longest held inline
        {std::wstring(32, L'n'), std::string(32, 'n')},
        {std::wstring(40, L'n'), longAscii},
        {L"名称", "\xE5\x90\x8D\xE7\xA7\xB0"},
        {L"Item名", "Item\xE5\x90\x8D"},
        {std::wstring(30, L'n') + L"名", std::string(30, 'n') + "\xE5\x90\x8D"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        const TOOLS::XmlName names[] = {c.wide.c_str(), CString(c.wide), c.utf8.c_str()};
        for (const TOOLS::XmlName& name : names) {
            EXPECT_EQ(std::string(name.c_str()), c.utf8);
            EXPECT_EQ(name.size(), c.utf8.size());
            EXPECT_EQ(name.utf8(), c.utf8);
            const TOOLS::XmlName copy = name;
            EXPECT_EQ(std::string(copy.c_str()), c.utf8);
        }
    }
}

TEST_F(XMLTreeTest, LongAndWideNamesFindTheirElements) {
    const std::string longTag(40, 't');
    auto tree = Open("<Root><" + longTag + " " + std::string(33, 'a') +
                     "=\"1\"/><名称 属性=\"2\">text</名称></Root>");
    ASSERT_TRUE(tree->IntoChild(CString(std::wstring(40, L't')), 0));
    EXPECT_EQ(TOOLS::AttributeOf(*tree, CString(std::wstring(33, L'a'))), CString(L"1"));
    tree->OutOfElement();
    EXPECT_EQ(TOOLS::ChildTextOf(*tree, L"名称"), CString(L"text"));
    EXPECT_EQ(TOOLS::ChildTextOf(*tree, "\xE5\x90\x8D\xE7\xA7\xB0"), CString(L"text"));
    ASSERT_TRUE(tree->IntoChild(L"名称", 0));
    EXPECT_EQ(TOOLS::AttributeOf(*tree, L"属性"), CString(L"2"));
}

TEST_F(XMLTreeTest, FindElementMatchesOnlyTheRoot) {
    auto tree = Open(kSample);
    EXPECT_FALSE(tree->FindElement(L"Item"));
    EXPECT_FALSE(tree->FindElement(L"root"));  // tags are case-sensitive
    EXPECT_TRUE(tree->FindElement(L"Root"));
    EXPECT_EQ(TagOf(*tree), CString(L"Root"));
}

TEST_F(XMLTreeTest, CountsElementChildrenOnly) {
    auto tree = Open(kSample);
    int count = -1;
    tree->GetChildCount(count);
    EXPECT_EQ(count, 6);  // comments and whitespace do not count
    count = 0;
    EXPECT_TRUE(tree->GetNamedChildCount(L"Item", count));
    EXPECT_EQ(count, 3);  // "Item" inside "Group" is a grandchild
    count = 7;
    EXPECT_TRUE(tree->GetNamedChildCount(L"Missing", count));
    EXPECT_EQ(count, 0);

    struct Case {
        int index;
        int children;
    } cases[] = {{0, 1} /* text only counts one */, {1, 0} /* empty */, {4, 1}, {5, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        ASSERT_TRUE(tree->IntoChildAt(c.index));
        tree->GetChildCount(count);
        EXPECT_EQ(count, c.children);
        tree->OutOfElement();
    }
}

TEST_F(XMLTreeTest, ReadsTextsAndAttributes) {
    auto tree = Open(kSample);
    TOOLS::XMLAttributeList attributes{{L"kept", L"first"}};
    tree->GetAttributes(attributes);  // appends, in document order
    ASSERT_EQ(attributes.size(), 3u);
    EXPECT_EQ(attributes[1], std::make_pair(CString(L"version"), CString(L"2")));
    EXPECT_EQ(attributes[2], std::make_pair(CString(L"name"), CString(L"主")));

    CString value = L"untouched";
    EXPECT_FALSE(tree->GetAttribute(L"missing", value));
    EXPECT_EQ(value, CString(L"untouched"));
    EXPECT_TRUE(tree->GetAttribute(L"name", value));
    EXPECT_EQ(value, CString(L"主"));

    CString text = L"untouched";
    EXPECT_FALSE(tree->GetText(text));  // only layout whitespace and elements
    EXPECT_EQ(text, CString(L"untouched"));

    struct Case {
        int index;
        const wchar_t* text;  // null: GetText fails
    } cases[] = {{0, L"first"},    {1, nullptr}, {2, L"<raw> & text"},
                 {3, L"x & y 中"}, {4, nullptr}, {5, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        ASSERT_TRUE(tree->IntoChildAt(c.index));
        text = L"untouched";
        EXPECT_EQ(tree->GetText(text), c.text != nullptr);
        EXPECT_EQ(text, CString(c.text ? c.text : L"untouched"));
        tree->OutOfElement();

        CString childText = L"untouched";
        tree->GetChildTextAt(c.index, childText);
        EXPECT_EQ(childText, CString(c.text ? c.text : L"untouched"));
    }
    text = L"untouched";
    tree->GetChildTextAt(6, text);
    tree->GetChildTextAt(-1, text);
    EXPECT_EQ(text, CString(L"untouched"));

    EXPECT_TRUE(tree->GetChildText(L"Item", text));
    EXPECT_EQ(text, CString(L"first"));
    text = L"untouched";
    EXPECT_FALSE(tree->GetChildText(L"Other", text));  // present, but without text
    EXPECT_FALSE(tree->GetChildText(L"Missing", text));
    EXPECT_EQ(text, CString(L"untouched"));
}

// A processing instruction carries a name like an element's; trees for editing keep it.
constexpr const char* kWithInstructions =
    "<Root flag=\"true\" spaced=\" true\" upper=\"TRUE\" name=\"主\" cr=\"a&#13;b\">"
    "<?Item not an element?><Item id=\"a\">first</Item><?Options neither?>"
    "<Other/><Item id=\"b\">second</Item><Options><Switch/>text</Options></Root>";

TEST_F(XMLTreeTest, NamedLookupsFindElementsOnly) {
    dir_.Write("doc.xml", kWithInstructions);
    for (const bool editable : {true, false}) {
        SCOPED_TRACE(editable ? "editable" : "reading");
        auto tree = NewTree(editable);
        ASSERT_TRUE(tree->LoadFile(dir_.WPath("doc.xml")));
        ASSERT_TRUE(tree->FindElement(L"Root"));
        int count = 0;
        ASSERT_TRUE(tree->GetNamedChildCount(L"Item", count));
        EXPECT_EQ(count, 2);
        CString text;
        EXPECT_TRUE(tree->GetChildText(L"Item", text));
        EXPECT_EQ(text, CString(L"first"));
        ASSERT_TRUE(tree->IntoChild(L"Item", 1));
        EXPECT_TRUE(tree->GetAttribute(L"id", text));
        EXPECT_EQ(text, CString(L"b"));
        tree->OutOfElement();
        EXPECT_FALSE(tree->IntoChild(L"Item", 2));
    }
}

TEST_F(XMLTreeTest, ChildTextsInOnePassAgreeWithSingleLookups) {
    dir_.Write("doc.xml", kWithInstructions);
    for (const bool editable : {true, false}) {
        SCOPED_TRACE(editable ? "editable" : "reading");
        auto tree = NewTree(editable);
        ASSERT_TRUE(tree->LoadFile(dir_.WPath("doc.xml")));
        ASSERT_TRUE(tree->FindElement(L"Root"));
        const TOOLS::XmlName tags[] = {L"Options", L"Item", L"Other", L"Missing"};
        constexpr size_t kCount = std::size(tags);
        CString texts[kCount];
        bool found[kCount];
        TOOLS::XmlChild children[kCount];
        tree->GetChildTexts(tags, kCount, texts, found, children);
        for (size_t i = 0; i < kCount; ++i) {
            SCOPED_TRACE(i);
            CString single;
            EXPECT_EQ(found[i], tree->GetChildText(tags[i], single));
            EXPECT_EQ(texts[i], single);
            // The child found is the one IntoChild(tag, 0) enters.
            const bool present = tree->IntoChild(tags[i], 0);
            CString expected;
            if (present) {
                tree->GetAttribute(L"id", expected);
                tree->OutOfElement();
            }
            ASSERT_EQ(tree->IntoFound(children[i]), present);
            if (!present) continue;
            CString tag;
            tree->GetTagName(tag);
            EXPECT_EQ(TOOLS::Utf8FromWide(tag), tags[i].utf8());
            CString id;
            tree->GetAttribute(L"id", id);
            EXPECT_EQ(id, expected);
            // Found under the root: not entered from anywhere else.
            EXPECT_FALSE(tree->IntoFound(children[i]));
            tree->OutOfElement();
        }
        EXPECT_EQ(TagOf(*tree), CString(L"Root"));
    }
}

TEST_F(XMLTreeTest, AttributeReadsAgreeWithGetAttribute) {
    auto tree = Open(kWithInstructions);
    const struct {
        const wchar_t* name;
        const char* ascii;
        bool equals;
    } cases[] = {{L"flag", "true", true}, {L"spaced", "true", false}, {L"upper", "true", false},
                 {L"missing", "", false}, {L"name", "true", false},   {L"flag", "", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << TOOLS::Utf8FromWide(c.name) << " " << c.ascii);
        EXPECT_EQ(tree->AttributeEquals(c.name, c.ascii), c.equals);
    }
    const TOOLS::ScopedTextInterning sharing;
    for (const wchar_t* name : {L"flag", L"name", L"cr", L"missing"}) {
        SCOPED_TRACE(TOOLS::Utf8FromWide(name));
        CString shared = L"untouched";
        CString own = L"untouched";
        EXPECT_EQ(tree->GetAttributeUnshared(name, own), tree->GetAttribute(name, shared));
        EXPECT_EQ(own, shared);
    }
    CString lineEnd;
    tree->GetAttributeUnshared(L"cr", lineEnd);
    EXPECT_EQ(lineEnd, CString(L"a\nb"));
}

TEST_F(XMLTreeTest, FailedMovesLeaveTheCursor) {
    auto tree = Open(kSample);
    EXPECT_FALSE(tree->IntoChild(L"Item", 3));
    EXPECT_FALSE(tree->IntoChild(L"Item", -1));
    EXPECT_FALSE(tree->IntoChild(L"Missing", 0));
    EXPECT_FALSE(tree->IntoChildAt(6));
    EXPECT_FALSE(tree->IntoChildAt(-1));
    EXPECT_EQ(TagOf(*tree), CString(L"Root"));

    ASSERT_TRUE(tree->IntoChild(L"Item", 0));
    EXPECT_FALSE(tree->IntoChildAt(0));  // a text is not an element to enter
    EXPECT_EQ(TagOf(*tree), CString(L"Item"));
}

TEST_F(XMLTreeTest, MovesInAndOut) {
    auto tree = Open(kSample);
    ASSERT_TRUE(tree->IntoChild(L"Item", 2));
    CString id;
    tree->GetAttribute(L"id", id);
    EXPECT_EQ(id, CString(L"c"));
    tree->OutOfElement();
    ASSERT_TRUE(tree->IntoChild(L"Group", 0));
    ASSERT_TRUE(tree->IntoChild(L"Item", 0));
    CString text;
    EXPECT_TRUE(tree->GetText(text));
    EXPECT_EQ(text, CString(L"inner"));
    tree->OutOfElement();
    tree->OutOfElement();
    EXPECT_EQ(TagOf(*tree), CString(L"Root"));

    // Above the root: no tag, no attributes; OutOfElement stays; the root can be entered again.
    tree->OutOfElement();
    EXPECT_EQ(TagOf(*tree), CString());
    tree->OutOfElement();
    EXPECT_EQ(TagOf(*tree), CString());
    TOOLS::XMLAttributeList attributes;
    tree->GetAttributes(attributes);
    EXPECT_TRUE(attributes.empty());
    EXPECT_FALSE(tree->SetAttribute(L"a", L"b"));
    CString text2;
    EXPECT_FALSE(tree->GetText(text2));
    int count = 9;
    EXPECT_FALSE(tree->GetNamedChildCount(L"Root", count));
    EXPECT_EQ(count, 9);
    ASSERT_TRUE(tree->IntoChild(L"Root", 0));
    EXPECT_EQ(TagOf(*tree), CString(L"Root"));
}

TEST_F(XMLTreeTest, LineEndsInTextsReadAsLineFeeds) {
    auto tree = Open("<Root>\r\n  <Text>one\r\ntwo\rthree</Text>\r\n</Root>\r\n");
    CString text;
    tree->GetChildTextAt(0, text);
    EXPECT_EQ(text, CString(L"one\ntwo\nthree"));
}

TEST_F(XMLTreeTest, AnEmptyTreeAnswersNothing) {
    auto tree = NewTree();
    EXPECT_FALSE(tree->FindElement(L"Root"));
    int count = 5;
    tree->GetChildCount(count);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(tree->IntoChildAt(0));
    EXPECT_FALSE(tree->IntoChild(L"Root", 0));
    tree->OutOfElement();
    EXPECT_EQ(TagOf(*tree), CString());
    EXPECT_TRUE(capture_.diagnostics.empty());
}

// Children are visited with index 0, 1, 2...; each step continues where the last one ended,
// so sections of many entries read in linear time (a quadratic walk would take minutes here).
TEST_F(XMLTreeTest, StepsThroughManySiblings) {
    constexpr int kEntries = 20000;
    std::string text = "<Root>\n";
    for (int i = 0; i < kEntries; ++i) {
        text += "  <A n=\"" + std::to_string(i) + "\"><V>" + std::to_string(i) + "</V></A>\n";
        text += "  <B n=\"" + std::to_string(i) + "\">" + std::to_string(i) + "</B>\n";
    }
    text += "</Root>\n";
    auto tree = Open(text);
    int count = 0;
    ASSERT_TRUE(tree->GetNamedChildCount(L"A", count));
    ASSERT_EQ(count, kEntries);

    // Two tags interleaved under one parent, each entry entered with a nested read.
    for (int i = 0; i < kEntries; ++i) {
        const CString expected = TempDir::Wide(std::to_string(i));
        ASSERT_TRUE(tree->IntoChild(L"A", i));
        CString value;
        tree->GetChildText(L"V", value);
        ASSERT_EQ(value, expected);
        ASSERT_TRUE(tree->IntoChild(L"V", 0));
        tree->OutOfElement();
        tree->OutOfElement();
        ASSERT_TRUE(tree->IntoChild(L"B", i));
        tree->GetAttribute(L"n", value);
        ASSERT_EQ(value, expected);
        tree->OutOfElement();
    }
    EXPECT_FALSE(tree->IntoChild(L"A", kEntries));

    // Any tag, by position.
    for (int i = 0; i < 2 * kEntries; ++i) {
        CString value;
        tree->GetChildTextAt(i, value);
        ASSERT_EQ(value, i % 2 ? TempDir::Wide(std::to_string(i / 2)) : CString());
        ASSERT_TRUE(tree->IntoChildAt(i));
        ASSERT_EQ(TagOf(*tree), CString(i % 2 ? L"B" : L"A"));
        tree->OutOfElement();
    }

    // Going backwards still finds the right element.
    for (int i : {17, 3, 0, 19999, 5}) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(tree->IntoChild(L"B", i));
        CString value;
        tree->GetAttribute(L"n", value);
        EXPECT_EQ(value, TempDir::Wide(std::to_string(i)));
        tree->OutOfElement();
    }
}

TEST_F(XMLTreeTest, StepMemoryBelongsToItsParent) {
    auto tree = Open("<Root><G><I>a0</I><I>a1</I></G><G><I>b0</I><I>b1</I><I>b2</I></G></Root>");
    const wchar_t* expected[2][3] = {{L"a0", L"a1", nullptr}, {L"b0", L"b1", L"b2"}};
    for (int g = 0; g < 2; ++g) {
        ASSERT_TRUE(tree->IntoChild(L"G", g));
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(testing::Message() << g << "/" << i);
            const bool present = expected[g][i] != nullptr;
            ASSERT_EQ(tree->IntoChild(L"I", i), present);
            if (!present) continue;
            CString text;
            tree->GetText(text);
            EXPECT_EQ(text, CString(expected[g][i]));
            tree->OutOfElement();
        }
        tree->OutOfElement();
    }
}

TEST_F(XMLTreeTest, ReportsCarryTheLoadedFileWhileTheTreeLives) {
    const CString path = dir_.WPath("doc.xml");
    auto report = [] { TOOLS::CLogHelper(L"PropertiesConfig", 7).Assert(0); };
    {
        auto tree = Open(kSample);
        report();
        {
            // A tree that fails to load still names its file.
            auto inner = NewTree();
            inner->LoadFile(dir_.WPath("missing.xml"));
            report();
        }
        report();
    }
    report();
    ASSERT_EQ(capture_.reports.size(), 4u);
    EXPECT_EQ(capture_.reports[0].context, path);
    EXPECT_EQ(capture_.reports[1].context, dir_.WPath("missing.xml"));
    EXPECT_EQ(capture_.reports[2].context, path);
    EXPECT_TRUE(capture_.reports[3].context.IsEmpty());
    EXPECT_EQ(capture_.diagnostics.size(), 1u);  // the missing file, never a report
}

TEST_F(XMLTreeTest, LoadingAgainReplacesTheDocument) {
    dir_.Write("one.xml", "<One><X/></One>");
    dir_.Write("two.xml", "<Two/>");
    auto tree = NewTree();
    ASSERT_TRUE(tree->LoadFile(dir_.WPath("one.xml")));
    ASSERT_TRUE(tree->FindElement(L"One"));
    ASSERT_TRUE(tree->IntoChildAt(0));
    ASSERT_TRUE(tree->LoadFile(dir_.WPath("two.xml")));
    EXPECT_EQ(TagOf(*tree), CString());
    EXPECT_FALSE(tree->FindElement(L"One"));
    EXPECT_TRUE(tree->FindElement(L"Two"));
    EXPECT_EQ(TOOLS::CurrentLogContext(), dir_.WPath("two.xml"));
    EXPECT_FALSE(tree->LoadFile(dir_.WPath("three.xml")));
    EXPECT_FALSE(tree->FindElement(L"Two"));
}

TEST_F(XMLTreeTest, ReadsBackslashPathsWithOtherLetterCase) {
    dir_.Write("Cfg/Sub/Resource.XML", "<Root/>");
    const CString path = TempDir::Wide(dir_.path() + "\\cfg\\SUB\\resource.xml");
    auto tree = NewTree();
    EXPECT_TRUE(tree->LoadFile(path));
    EXPECT_TRUE(tree->FindElement(L"Root"));
    EXPECT_TRUE(capture_.diagnostics.empty());
}

// ---- Diagnostics ----

TEST_F(XMLTreeTest, ProblemsOfTheFileAreDiagnosedWithPlace) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;  // after "cannot <verb> <path>"
        int line;
        int column;
    } cases[] = {
        {"mismatched", "<Root>\n  <A></B>\n</Root>\n", "parse:2:8: mismatched end tag", 2, 8},
        {"unclosed", "<Root>\n<A>\n", "parse:2:4: mismatched end tag", 2, 4},
        {"attribute", "<Root>\n<A x=1/></Root>", "parse:2:6: malformed attribute", 2, 6},
        {"comment", "<Root>\r\n<!-- open</Root>", "", 0, 0},
        {"bad utf-8", "<Root>\n  <A>\xC3\x28</A></Root>", "decode:2:6: invalid UTF-8", 2, 6},
        {"overlong", "<Root>\xC0\xAF</Root>", "decode:1:7: invalid UTF-8", 1, 7},
        {"NUL", std::string("<Root>\0</Root>", 14), "decode:1:7: NUL character", 1, 7},
        {"encoding", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><Root/>",
         "decode: unsupported encoding \"Shift_JIS\"", 0, 0},
        {"bad gbk", "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<Root>\xD6\xD0\x81\x20</Root>",
         "decode:2:8: invalid GBK text", 2, 8},
        {"odd utf-16", std::string("\xFF\xFE<\0R\0/", 7),
         "decode: UTF-16 text with an odd number of bytes", 0, 0},
        {"surrogate", std::string("\xFF\xFE<\0R\0\x00\xD8/\0>\0", 12),
         "decode:1:3: unpaired UTF-16 surrogate", 1, 3},
        {"utf-32", std::string("\xFF\xFE\0\0<\0\0\0", 8), "decode: unsupported encoding \"UTF-32\"",
         0, 0},
        {"empty", "", "parse: no root element", 0, 0},
        {"comment only", "<?xml version=\"1.0\"?>\n<!-- nothing -->\n", "parse: no root element", 0,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        capture_.Clear();
        dir_.Write("bad.xml", c.bytes);
        const CString path = dir_.WPath("bad.xml");
        auto tree = NewTree();
        EXPECT_FALSE(tree->LoadFile(path));
        EXPECT_FALSE(tree->FindElement(L"Root"));
        ASSERT_EQ(capture_.diagnostics.size(), 1u);
        EXPECT_TRUE(capture_.reports.empty());
        const TOOLS::Diagnostic& d = capture_.diagnostics[0];
        EXPECT_EQ(d.file, path);
        if (*c.message == '\0') continue;  // only that it fails
        const std::string message(c.message);
        const size_t colon = message.find_first_of(":");
        CString expected = L"cannot " + TempDir::Wide(message.substr(0, colon)) + L" " + path +
                           TempDir::Wide(message.substr(colon));
        EXPECT_EQ(d.message, expected);
        EXPECT_EQ(d.line, c.line);
        EXPECT_EQ(d.column, c.column);
    }
}

TEST_F(XMLTreeTest, FilesThatCannotBeOpenedAreDiagnosed) {
    struct Case {
        CString path;
        const wchar_t* reason;
    } cases[] = {{dir_.WPath("missing.xml"), L"No such file or directory"},
                 {dir_.WPath("missing/doc.xml"), L"No such file or directory"},
                 {dir_.WFolder(), L"Is a directory"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(TOOLS::Utf8FromWide(c.path));
        capture_.Clear();
        auto tree = NewTree();
        EXPECT_FALSE(tree->LoadFile(c.path));
        ASSERT_EQ(capture_.diagnostics.size(), 1u);
        EXPECT_EQ(capture_.diagnostics[0].message,
                  L"cannot open " + c.path + L": " + CString(c.reason));
        EXPECT_TRUE(capture_.reports.empty());
    }
}

// ---- Encodings and saving ----

// The sample document in UTF-8 with `declaration` and the root's "名" attribute.
std::string EncodedSample(const std::string& declaration, const std::string& value) {
    return declaration + "\r\n<!-- note -->\r\n<根 名=\"" + value +
           "\" other=\"1\">\r\n  <子>中文</子>\r\n  <Empty/>\r\n</根>\r\n";
}

// The few words of the sample in GBK (which GB18030 extends).
std::string ToGbk(const std::string& utf8) {
    std::string text = utf8;
    const std::pair<const char*, const char*> words[] = {
        {"根", "\xB8\xF9"},       {"名", "\xC3\xFB"}, {"新值", "\xD0\xC2\xD6\xB5"},
        {"值", "\xD6\xB5"},       {"子", "\xD7\xD3"}, {"中文", "\xD6\xD0\xCE\xC4"},
        {"😀", "\x94\x39\xFC\x36"}};
    for (const auto& word : words) {
        for (size_t at; (at = text.find(word.first)) != std::string::npos;) {
            text.replace(at, std::strlen(word.first), word.second);
        }
    }
    return text;
}

std::string ToUtf16(const std::string& utf8, bool bigEndian) {
    const CString wide = TempDir::Wide(utf8);
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    auto unit = [&](unsigned u) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    for (wchar_t c : wide.str()) {
        const unsigned cp = static_cast<unsigned>(c);
        if (cp >= 0x10000) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

struct EncodingCase {
    const char* name;
    std::string declaration;
    std::string (*encode)(const std::string&);
};

const EncodingCase kEncodings[] = {
    {"UTF-8", "<?xml version=\"1.0\" encoding=\"utf-8\"?>", [](const std::string& s) { return s; }},
    {"UTF-8 without declaration", "<?xml-stylesheet href=\"a.css\"?>",
     [](const std::string& s) { return s; }},
    {"UTF-8 with BOM", "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone='yes' ?>",
     [](const std::string& s) { return "\xEF\xBB\xBF" + s; }},
    {"UTF-16 LE", "<?xml version=\"1.0\" encoding=\"UTF-16\"?>",
     [](const std::string& s) { return ToUtf16(s, false); }},
    {"UTF-16 BE", "<?xml version=\"1.0\" encoding=\"utf-16\"?>",
     [](const std::string& s) { return ToUtf16(s, true); }},
    {"GBK", "<?xml version=\"1.0\" encoding=\"GBK\"?>", ToGbk},
    {"GB2312", "<?xml version='1.0' encoding='gb2312'?>", ToGbk},
    {"GB18030", "<?xml version=\"1.0\" encoding=\"GB18030\"?>", ToGbk},
};

TEST_F(XMLTreeTest, ReadsAndWritesBackEveryEncoding) {
    for (const EncodingCase& c : kEncodings) {
        SCOPED_TRACE(c.name);
        capture_.Clear();
        const std::string original = c.encode(EncodedSample(c.declaration, "值"));
        dir_.Write("in.xml", original);
        auto tree = NewTree();
        ASSERT_TRUE(tree->LoadFile(dir_.WPath("in.xml")));
        ASSERT_TRUE(tree->FindElement(L"根"));
        CString value;
        EXPECT_TRUE(tree->GetAttribute(L"名", value));
        EXPECT_EQ(value, CString(L"值"));
        CString text;
        tree->GetChildText(L"子", text);
        EXPECT_EQ(text, CString(L"中文"));

        // Unchanged, the document is written back byte for byte.
        ASSERT_TRUE(tree->SaveFile(dir_.WPath("same.xml")));
        EXPECT_EQ(dir_.Read("same.xml"), original);

        // A changed attribute is written in the encoding the file was read in.
        ASSERT_TRUE(tree->SetAttribute(L"名", L"新值"));
        ASSERT_TRUE(tree->SaveFile(dir_.WPath("in.xml")));
        EXPECT_EQ(dir_.Read("in.xml"), c.encode(EncodedSample(c.declaration, "新值")));
        EXPECT_TRUE(capture_.diagnostics.empty());
    }
}

TEST_F(XMLTreeTest, CharactersOutsideTheCodePageAreWrittenAsReferences) {
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"GBK\"?>";
    dir_.Write("gbk.xml", ToGbk(EncodedSample(declaration, "值")));
    auto tree = NewTree();
    ASSERT_TRUE(tree->LoadFile(dir_.WPath("gbk.xml")));
    ASSERT_TRUE(tree->FindElement(L"根"));
    ASSERT_TRUE(tree->SetAttribute(L"名", L"ð😀"));
    ASSERT_TRUE(tree->SaveFile(dir_.WPath("gbk.xml")));
    EXPECT_EQ(dir_.Read("gbk.xml"), ToGbk(EncodedSample(declaration, "&#xF0;&#x1F600;")));

    ASSERT_TRUE(tree->LoadFile(dir_.WPath("gbk.xml")));
    ASSERT_TRUE(tree->FindElement(L"根"));
    CString value;
    tree->GetAttribute(L"名", value);
    EXPECT_EQ(value, CString(L"ð😀"));

    // GB18030 holds every character.
    const std::string declaration18030 = "<?xml version=\"1.0\" encoding=\"GB18030\"?>";
    dir_.Write("gb18030.xml", ToGbk(EncodedSample(declaration18030, "值")));
    ASSERT_TRUE(tree->LoadFile(dir_.WPath("gb18030.xml")));
    ASSERT_TRUE(tree->FindElement(L"根"));
    ASSERT_TRUE(tree->SetAttribute(L"名", L"😀"));
    ASSERT_TRUE(tree->SaveFile(dir_.WPath("gb18030.xml")));
    EXPECT_EQ(dir_.Read("gb18030.xml"), ToGbk(EncodedSample(declaration18030, "😀")));
}

TEST_F(XMLTreeTest, SavingKeepsWhatWasNotChanged) {
    const std::string original =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE Config>\n"
        "<!-- kept -->\n"
        "<?app hint?>\n"
        "<Config>\n"
        "\t<A val=\"1\" extra=\"x &amp; &lt;y> &quot;z&quot;\"/>\n"
        "\t<B val=\"2\">text &amp; more<![CDATA[ <c> ]]></B>\n"
        "</Config>\n";
    dir_.Write("Resource.xml", original);
    auto tree = NewTree();
    ASSERT_TRUE(tree->LoadFile(dir_.WPath("Resource.xml")));
    ASSERT_TRUE(tree->FindElement(L"Config"));
    ASSERT_TRUE(tree->IntoChildAt(0));
    ASSERT_TRUE(tree->SetAttribute(L"val", L"a\"b<c>&"));
    ASSERT_TRUE(tree->SetAttribute(L"added", L"new"));
    tree->OutOfElement();
    ASSERT_TRUE(tree->SaveFile(dir_.WPath("Resource.xml")));
    std::string expected = original;
    expected.replace(expected.find("val=\"1\" extra"), 7, "val=\"a&quot;b&lt;c>&amp;\"");
    const std::string inserted = "x &amp; &lt;y> &quot;z&quot;\"";
    expected.insert(expected.find(inserted) + inserted.size(), " added=\"new\"");
    EXPECT_EQ(dir_.Read("Resource.xml"), expected);
    EXPECT_TRUE(capture_.diagnostics.empty());
}

TEST_F(XMLTreeTest, RefusesAttributeNamesThatWouldBreakTheFile) {
    auto tree = Open("<Root a=\"1\"/>");
    for (const wchar_t* name : {L"", L"a b", L"a=b", L"a\"", L"<a>", L"1a", L"-a", L"a/"}) {
        SCOPED_TRACE(TOOLS::Utf8FromWide(name));
        EXPECT_FALSE(tree->SetAttribute(name, L"x"));
    }
    EXPECT_TRUE(tree->SetAttribute(L"名_1.x-y:z", L"x"));
    ASSERT_TRUE(tree->SaveFile(dir_.WPath("doc.xml")));
    EXPECT_EQ(dir_.Read("doc.xml"), "<Root a=\"1\" 名_1.x-y:z=\"x\"/>");
}

TEST_F(XMLTreeTest, FailedSaveLeavesTheOriginal) {
    const std::string original = "<Root a=\"1\"/>";
    dir_.Write("doc.xml", original);
    std::filesystem::create_directory(dir_.Folder() + "folder.xml");
    auto tree = NewTree();
    ASSERT_TRUE(tree->LoadFile(dir_.WPath("doc.xml")));
    ASSERT_TRUE(tree->FindElement(L"Root"));
    ASSERT_TRUE(tree->SetAttribute(L"a", L"2"));

    struct Case {
        CString path;
        const wchar_t* reason;
    } cases[] = {{dir_.WPath("folder.xml"), L"Is a directory"},
                 {dir_.WPath("no/such/doc.xml"), L"No such file or directory"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(TOOLS::Utf8FromWide(c.path));
        capture_.Clear();
        EXPECT_FALSE(tree->SaveFile(c.path));
        ASSERT_EQ(capture_.diagnostics.size(), 1u);
        EXPECT_EQ(capture_.diagnostics[0].message,
                  L"cannot save " + c.path + L": " + CString(c.reason));
        EXPECT_TRUE(capture_.reports.empty());
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir_.Folder() + "folder.xml"));
    EXPECT_EQ(dir_.Read("doc.xml"), original);
    // No temporary file is left behind.
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 2);
}

TEST_F(XMLTreeTest, ATreeWithoutDocumentDoesNotOverwrite) {
    const std::string broken = "<Root><Unclosed></Root>";
    dir_.Write("doc.xml", broken);
    auto tree = NewTree();
    EXPECT_FALSE(tree->LoadFile(dir_.WPath("doc.xml")));
    capture_.Clear();
    EXPECT_FALSE(tree->SaveFile(dir_.WPath("doc.xml")));
    EXPECT_EQ(dir_.Read("doc.xml"), broken);
    ASSERT_EQ(capture_.diagnostics.size(), 1u);
    EXPECT_EQ(capture_.diagnostics[0].message,
              L"cannot save " + dir_.WPath("doc.xml") + L": no document loaded");
}

TEST_F(XMLTreeTest, SavingKeepsTheFileMode) {
#if defined(_WIN32)
    GTEST_SKIP() << "Windows files have no POSIX mode";
#else
    dir_.Write("doc.xml", "<Root/>");
    const std::string native = dir_.Folder() + "doc.xml";
    ASSERT_EQ(::chmod(native.c_str(), 0640), 0);
    auto tree = NewTree();
    ASSERT_TRUE(tree->LoadFile(dir_.WPath("doc.xml")));
    ASSERT_TRUE(tree->FindElement(L"Root"));
    ASSERT_TRUE(tree->SetAttribute(L"a", L"1"));
    ASSERT_TRUE(tree->SaveFile(dir_.WPath("doc.xml")));
    struct stat info;
    ASSERT_EQ(::stat(native.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(dir_.Read("doc.xml"), "<Root a=\"1\"/>");
#endif
}

// ---- Hostile input ----

TEST_F(XMLTreeTest, SurvivesHostileDocuments) {
    constexpr int kDepth = 1000000;
    std::string deep;
    deep.reserve(7 * kDepth);
    for (int i = 0; i < kDepth; ++i) deep += "<a>";
    for (int i = 0; i < kDepth; ++i) deep += "</a>";
    dir_.Write("deep.xml", deep);
    {
        auto tree = NewTree();
        ASSERT_TRUE(tree->LoadFile(dir_.WPath("deep.xml")));
        ASSERT_TRUE(tree->FindElement(L"a"));
        for (int i = 0; i < 1000; ++i) ASSERT_TRUE(tree->IntoChildAt(0));
        for (int i = 0; i < 1000; ++i) tree->OutOfElement();
        EXPECT_EQ(TagOf(*tree), CString(L"a"));
        EXPECT_TRUE(tree->SaveFile(dir_.WPath("deep-copy.xml")));
    }

    std::string wide = "<Root";
    for (int i = 0; i < 100000; ++i)
        wide += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    wide += "/>";
    dir_.Write("wide.xml", wide);
    {
        auto tree = NewTree();
        ASSERT_TRUE(tree->LoadFile(dir_.WPath("wide.xml")));
        ASSERT_TRUE(tree->FindElement(L"Root"));
        TOOLS::XMLAttributeList attributes;
        tree->GetAttributes(attributes);
        ASSERT_EQ(attributes.size(), 100000u);
        EXPECT_EQ(attributes.back().second, CString(L"99999"));
    }
    EXPECT_TRUE(capture_.diagnostics.empty());

    std::string unclosed;
    for (int i = 0; i < kDepth; ++i) unclosed += "<a>";
    std::string garbage;
    unsigned state = 12345;
    for (int i = 0; i < 100000; ++i) {
        state = state * 1103515245u + 12345u;
        garbage += static_cast<char>(state >> 24);
    }
    std::string doctype = "<!DOCTYPE a [";
    for (int i = 0; i < kDepth; ++i) doctype += "<![";
    const std::string hostile[] = {unclosed, garbage, doctype + "<a/>", std::string(100000, '<'),
                                   "<a " + std::string(100000, 'x')};
    for (const std::string& bytes : hostile) {
        capture_.Clear();
        dir_.Write("hostile.xml", bytes);
        auto tree = NewTree();
        EXPECT_FALSE(tree->LoadFile(dir_.WPath("hostile.xml")));
        EXPECT_FALSE(tree->FindElement(L"a"));
        EXPECT_EQ(capture_.diagnostics.size(), 1u);
    }
}

// Visits every element through the cursor, reading everything on the way, without recursion.
int WalkAll(TOOLS::IXMLTree& tree) {
    int visited = 1;
    std::vector<int> next{0};
    while (!next.empty()) {
        CString text;
        tree.GetText(text);
        TOOLS::XMLAttributeList attributes;
        tree.GetAttributes(attributes);
        int count = 0;
        tree.GetChildCount(count);
        if (tree.IntoChildAt(next.back())) {
            ++next.back();
            next.push_back(0);
            ++visited;
        } else {
            next.pop_back();
            if (!next.empty()) tree.OutOfElement();
        }
    }
    return visited;
}

TEST_F(XMLTreeTest, SurvivesDamagedAndTruncatedDocuments) {
    const std::string samples[] = {
        kSample, ToGbk(EncodedSample("<?xml version=\"1.0\" encoding=\"GBK\"?>", "值")),
        ToUtf16(EncodedSample("<?xml version=\"1.0\" encoding=\"UTF-16\"?>", "值"), true)};
    unsigned state = 2024;
    auto random = [&state](unsigned limit) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % limit;
    };
    int loaded = 0;
    for (const std::string& sample : samples) {
        std::vector<std::string> damaged;
        for (size_t length = 0; length < sample.size(); length += 5) {
            damaged.push_back(sample.substr(0, length));
        }
        for (int i = 0; i < 100; ++i) {
            std::string bytes = sample;
            for (unsigned k = random(4) + 1; k > 0; --k) {
                bytes[random(static_cast<unsigned>(bytes.size()))] = static_cast<char>(random(256));
            }
            damaged.push_back(bytes);
        }
        for (const std::string& bytes : damaged) {
            capture_.Clear();
            dir_.Write("damaged.xml", bytes);
            auto tree = NewTree();
            const bool ok = tree->LoadFile(dir_.WPath("damaged.xml"));
            ASSERT_EQ(capture_.diagnostics.size(), ok ? 0u : 1u);
            if (!ok) continue;
            ++loaded;
            tree->OutOfElement();
            ASSERT_GE(WalkAll(*tree), 2);
            ASSERT_TRUE(tree->SaveFile(dir_.WPath("saved.xml")));
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_TRUE(capture_.reports.empty());
}

TEST_F(XMLTreeTest, ReadingTreeReadsTheSameAndNeverSaves) {
    dir_.Write("doc.xml", kSample);
    auto editable = NewTree(true);
    auto reading = NewTree(false);
    for (TOOLS::IXMLTree* tree : {editable.get(), reading.get()}) {
        ASSERT_TRUE(tree->LoadFile(dir_.WPath("doc.xml")));
        ASSERT_TRUE(tree->FindElement(L"Root"));
    }
    for (TOOLS::IXMLTree* tree : {editable.get(), reading.get()}) {
        SCOPED_TRACE(tree == reading.get() ? "reading" : "editable");
        int count = 0;
        tree->GetChildCount(count);
        EXPECT_EQ(count, 6);
        CString text;
        EXPECT_TRUE(tree->GetChildText(L"Item", text));
        EXPECT_EQ(text, CString(L"first"));
        EXPECT_FALSE(tree->GetChildText(L"Blank", text));
        ASSERT_TRUE(tree->IntoChild(L"Item", 2));
        EXPECT_TRUE(tree->GetText(text));
        EXPECT_EQ(text, CString(L"x & y \u4E2D"));
        tree->OutOfElement();
    }
    const size_t before = capture_.diagnostics.size();
    EXPECT_FALSE(reading->SaveFile(dir_.WPath("doc.xml")));
    EXPECT_EQ(capture_.diagnostics.size(), before + 1);
    EXPECT_EQ(dir_.Read("doc.xml"), kSample);
}

// ---- Positions ----

// "tag line:column" of every element in document order, one per line.
std::string Positions(TOOLS::IXMLTree& tree) {
    std::string out;
    CString tag;
    tree.GetTagName(tag);
    int line = 0;
    int column = 0;
    if (tree.GetPosition(line, column)) {
        out += TOOLS::Utf8FromWide(tag) + " " + std::to_string(line) + ":" +
               std::to_string(column) + "\n";
    } else {
        out += TOOLS::Utf8FromWide(tag) + " ?\n";
    }
    for (int i = 0; tree.IntoChildAt(i); ++i) {
        out += Positions(tree);
        tree.OutOfElement();
    }
    return out;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
        text.replace(at, from.size(), to);
    }
    return text;
}

TEST_F(XMLTreeTest, LocatesEveryElement) {
    const std::string lf =
        "<?xml version=\"1.0\"?>\n"
        "<Root>\n"
        "  <A x=\"1\"/>\n"
        "\t<B>\n"
        "    <C/>\n"
        "  </B><D/>\n"
        "</Root>\n";
    const char* expected = "Root 2:1\nA 3:3\nB 4:2\nC 5:5\nD 6:7\n";
    // Line ends as LF, CR LF or a lone CR; before the root (in the declaration) and inside it.
    const std::pair<const char*, std::string> cases[] = {
        {"LF", lf},
        {"CR LF", Replace(lf, "\n", "\r\n")},
        {"lone CR", Replace(lf, "\n", "\r")},
    };
    for (const auto& [name, text] : cases) {
        for (const bool editable : {false, true}) {
            SCOPED_TRACE(std::string(name) + (editable ? ", editable" : ", reading"));
            dir_.Write("doc.xml", text);
            auto tree = NewTree(editable);
            ASSERT_TRUE(tree->LoadFile(dir_.WPath("doc.xml")));
            ASSERT_TRUE(tree->FindElement(L"Root"));
            EXPECT_EQ(Positions(*tree), expected);
        }
    }
}

// The parser cuts names short and rewrites texts and attribute values where it stands; the
// line ends it overwrites still count.
TEST_F(XMLTreeTest, LocatesElementsAfterWhatParsingRewrites) {
    const std::string text =
        "<Root\n"
        "  a=\"one\r\n"
        "two\"\tb='&amp;\n"
        "'>\n"
        "<T>&amp;&lt;\n"
        "\n"
        "</T><U\n"
        "/><V>中文字</V><W c='&#x4E2D;'/>\n"
        "</Root>\n";
    dir_.Write("doc.xml", text);
    auto tree = NewTree(false);
    ASSERT_TRUE(tree->LoadFile(dir_.WPath("doc.xml")));
    ASSERT_TRUE(tree->FindElement(L"Root"));
    // "中文字" counts three characters (nine bytes): W stands at column 13 of line 8.
    EXPECT_EQ(Positions(*tree), "Root 1:1\nT 5:1\nU 7:5\nV 8:3\nW 8:13\n");
    int line = 0;
    int column = 0;
    EXPECT_TRUE(tree->GetAttributePosition(L"b", line, column));
    EXPECT_EQ(line, 3);
    EXPECT_EQ(column, 6);
    ASSERT_TRUE(tree->IntoChild(L"W", 0));
    EXPECT_TRUE(tree->GetAttributePosition(L"c", line, column));
    EXPECT_EQ(line, 8);
    EXPECT_EQ(column, 16);
}

TEST_F(XMLTreeTest, LocatesElementsAndAttributesInEveryEncoding) {
    for (const EncodingCase& c : kEncodings) {
        SCOPED_TRACE(c.name);
        dir_.Write("doc.xml", c.encode(EncodedSample(c.declaration, "值")));
        auto tree = NewTree(false);
        ASSERT_TRUE(tree->LoadFile(dir_.WPath("doc.xml")));
        ASSERT_TRUE(tree->FindElement(L"根"));
        EXPECT_EQ(Positions(*tree), "根 3:1\n子 4:3\nEmpty 5:3\n");
        int line = 0;
        int column = 0;
        EXPECT_TRUE(tree->GetAttributePosition(L"other", line, column));
        EXPECT_EQ(line, 3);
        EXPECT_EQ(column, 10);
    }
}

TEST_F(XMLTreeTest, AnswersNoPositionWhereThereIsNone) {
    int line = -1;
    int column = -1;
    auto empty = NewTree(false);
    EXPECT_FALSE(empty->GetPosition(line, column));

    dir_.Write("broken.xml", "<Root><A></Root>");
    auto broken = NewTree(false);
    EXPECT_FALSE(broken->LoadFile(dir_.WPath("broken.xml")));
    EXPECT_FALSE(broken->GetPosition(line, column));

    auto tree = Open("<Root a=\"1\"/>");
    tree->OutOfElement();
    EXPECT_FALSE(tree->GetPosition(line, column));  // above the root
    ASSERT_TRUE(tree->FindElement(L"Root"));
    EXPECT_FALSE(tree->GetAttributePosition(L"b", line, column));
    ASSERT_TRUE(tree->SetAttribute(L"b", L"2"));
    EXPECT_FALSE(tree->GetAttributePosition(L"b", line, column));  // not in the file
    EXPECT_EQ(line, -1);
    EXPECT_EQ(column, -1);
    EXPECT_TRUE(tree->GetAttributePosition(L"a", line, column));
    EXPECT_EQ(column, 7);
}

TEST_F(XMLTreeTest, PositionsComeFromTheDocumentAsLoaded) {
    int line = 0;
    int column = 0;
    // Changed on disk before the first request: the tree does not guess.
    auto changed = Open("<Root>\n<A/></Root>");
    dir_.Write("doc.xml", "<Root>\n\n\n<B/></Root>");
    ASSERT_TRUE(changed->IntoChild(L"A", 0));
    EXPECT_FALSE(changed->GetPosition(line, column));
    dir_.Write("doc.xml", "<Root>\n<B/></Root>");  // as long, other names
    EXPECT_FALSE(changed->GetPosition(line, column));

    // Loading again forgets the positions of the previous document.
    auto tree = Open("<Root><A/></Root>");
    ASSERT_TRUE(tree->IntoChild(L"A", 0));
    EXPECT_TRUE(tree->GetPosition(line, column));
    EXPECT_EQ(line, 1);
    dir_.Write("doc.xml", "<Root>\n\n<A/></Root>");
    ASSERT_TRUE(tree->LoadFile(dir_.WPath("doc.xml")));
    ASSERT_TRUE(tree->FindElement(L"Root"));
    ASSERT_TRUE(tree->IntoChild(L"A", 0));
    EXPECT_TRUE(tree->GetPosition(line, column));
    EXPECT_EQ(line, 3);
    EXPECT_EQ(column, 1);
    // Asking does not report or diagnose anything.
    EXPECT_TRUE(capture_.reports.empty());
    EXPECT_TRUE(capture_.diagnostics.empty());
}

}  // namespace
