#include "Encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileSystem.h"
#include "TestSupport.h"

namespace {

using TOOLS::DocumentEncoding;
using TOOLS::TextEncoding;

// Converted texts are finished strings: their copies share one buffer.
TEST(EncodingTest, ConvertedTextsShareTheirBufferWithCopies) {
    for (const char* utf8 : {"ascii text", "\xE4\xB8\xAD\xE6\x96\x87 and ascii", "\xE4\xB8\xAD"}) {
        SCOPED_TRACE(utf8);
        const CString text = TOOLS::WideFromUtf8(utf8);
        const CString copy = text;
        EXPECT_EQ(copy.GetString(), text.GetString());
    }
}

TEST(EncodingTest, WideAndUtf8RoundTrip) {
    const CString texts[] = {L"", L"ascii only", L"中文 Ärger €", L"astral 😀 end", L"a\nb"};
    for (const CString& text : texts) {
        SCOPED_TRACE(TOOLS::Utf8FromWide(text));
        EXPECT_EQ(TOOLS::WideFromUtf8(TOOLS::Utf8FromWide(text)), text);
    }
    EXPECT_EQ(TOOLS::Utf8FromWide(L"中😀"), "\xE4\xB8\xAD\xF0\x9F\x98\x80");
}

TEST(EncodingTest, InvalidUtf8BecomesReplacementCharacters) {
    struct Case {
        std::string utf8;
        const wchar_t* wide;
    } cases[] = {
        {"a\xC3(b", L"a\xFFFD(b"},                          // lead byte without continuation
        {"\xC0\xAF", L"\xFFFD\xFFFD"},                      // overlong '/'
        {"\xED\xA0\x80", L"\xFFFD\xFFFD\xFFFD"},            // encoded surrogate
        {"\xF4\x90\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD"},  // beyond U+10FFFF
        {"end\xE4\xB8", L"end\xFFFD\xFFFD"},                // truncated at the end
        {"\xFF", L"\xFFFD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(TOOLS::WideFromUtf8(c.utf8), CString(c.wide));
    }
    // A wide text holding a lone surrogate is written as U+FFFD.
    const wchar_t lone[] = {L'a', static_cast<wchar_t>(0xD800), L'b', 0};
    EXPECT_EQ(TOOLS::Utf8FromWide(lone),
              "a\xEF\xBF\xBD"
              "b");
}

// Pieces of UTF-8 and what they decode to: ASCII runs, sequences of two, three and four bytes,
// and ill-formed ones.
struct Piece {
    std::string utf8;
    std::wstring wide;
    bool wellFormed;
};

const std::vector<Piece>& Pieces() {
    static const std::wstring r(1, static_cast<wchar_t>(0xFFFD));
    static const std::vector<Piece> pieces = {
        {"abcdefghi", L"abcdefghi", true},
        {std::string("x\0", 2), std::wstring(L"x\0", 2), true},
        {"\xC3\xA9", L"é", true},
        {"\xE4\xB8\xAD", L"中", true},
        {"\xEF\xBF\xBF", std::wstring(1, static_cast<wchar_t>(0xFFFF)), true},
        {"\xF0\x9F\x98\x80", L"😀", true},
        {"\xFF", r, false},
        {"\x80", r, false},                  // continues nothing
        {"\xED\xA0\x80", r + r + r, false},  // encoded surrogate
        {"\xC0\xAF", r + r, false},          // overlong
        {"\xE0\x9F\xBF", r + r + r, false},  // overlong
        {"\xE4\xB8"
         "a",
         r + r + L"a", false},  // cut short
    };
    return pieces;
}

// Every run of three pieces, each at every alignment to the eight-byte steps of the decoder.
TEST(EncodingTest, Utf8DecodesTheSameWhereverASequenceFalls) {
    for (const std::string lead : {"", "1", "1234567"}) {
        for (const Piece& a : Pieces()) {
            for (const Piece& b : Pieces()) {
                for (const Piece& c : Pieces()) {
                    const std::string utf8 = lead + a.utf8 + b.utf8 + c.utf8;
                    const std::wstring wide =
                        std::wstring(lead.begin(), lead.end()) + a.wide + b.wide + c.wide;
                    const CString decoded = TOOLS::WideFromUtf8(utf8);
                    ASSERT_EQ(decoded.GetLength(), static_cast<int>(wide.size())) << utf8;
                    ASSERT_EQ(decoded.str(), wide) << utf8;
                }
            }
        }
    }
    const std::wstring r(1, static_cast<wchar_t>(0xFFFD));
    EXPECT_EQ(TOOLS::WideFromUtf8("\xE4\xB8\xAD\xE4\xB8").str(), L"中" + r + r);
    EXPECT_EQ(TOOLS::WideFromUtf8("\xC3").str(), r);
}

// A document is UTF-8 when every piece is well-formed and none holds a NUL, wherever the
// pieces fall against the eight-byte steps of the check.
TEST(EncodingTest, Utf8DocumentsAreCheckedWhereverASequenceFalls) {
    for (size_t lead = 0; lead < 8; ++lead) {
        for (const Piece& a : Pieces()) {
            for (const Piece& b : Pieces()) {
                std::string text = std::string(lead, 'l') + a.utf8 + "0123456789abcdef" + b.utf8;
                const std::string original = text;
                const bool expected =
                    a.wellFormed && b.wellFormed && original.find('\0') == std::string::npos;
                DocumentEncoding encoding;
                TOOLS::DecodeFailure failure;
                ASSERT_EQ(TOOLS::DecodeXmlDocument(text, encoding, failure), expected)
                    << original << ": " << failure.message;
                if (expected) {
                    EXPECT_EQ(text, original);
                }
            }
        }
    }
}

TEST(EncodingTest, LineAndColumnCountCharactersAndEveryLineEnd) {
    const std::string text = "ab\ncd\r\nef\rg中h";
    struct Case {
        size_t offset;
        int line;
        int column;
    } cases[] = {{0, 1, 1}, {2, 1, 3},  {3, 2, 1},  {5, 2, 3},  {6, 2, 4},
                 {7, 3, 1}, {10, 4, 1}, {11, 4, 2}, {14, 4, 3}, {100, 4, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        int line = 0;
        int column = 0;
        TOOLS::LineAndColumnAt(text.data(), text.size(), c.offset, line, column);
        EXPECT_EQ(line, c.line);
        EXPECT_EQ(column, c.column);
    }
}

TEST(EncodingTest, DetectsTheEncodingOfADocument) {
    const std::string utf8 = "<r>中</r>";
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
        bool byteOrderMark;
        std::string decoded;
    } cases[] = {
        {"plain", utf8, TextEncoding::kUtf8, false, utf8},
        {"bom", "\xEF\xBB\xBF" + utf8, TextEncoding::kUtf8, true, utf8},
        {"utf-16 le", std::string("\xFF\xFE<\0r\0>\0\x2D\x4E", 10), TextEncoding::kUtf16LE, true,
         "<r>中"},
        {"utf-16 be", std::string("\xFE\xFF\0<\0r\0>\x4E\x2D", 10), TextEncoding::kUtf16BE, true,
         "<r>中"},
        {"utf-16 le without bom", std::string("<\0?\0x\0", 6), TextEncoding::kUtf16LE, false,
         "<?x"},
        {"utf-16 be without bom", std::string("\0<\0?\0x", 6), TextEncoding::kUtf16BE, false,
         "<?x"},
        {"astral utf-16", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), TextEncoding::kUtf16LE, true,
         "😀"},
        {"gbk", "<?xml version=\"1.0\" encoding=\"GBK\"?><r>\xD6\xD0</r>", TextEncoding::kGbk,
         false, "<?xml version=\"1.0\" encoding=\"GBK\"?><r>中</r>"},
        {"gb2312 read as gbk", "<?xml version='1.0' encoding = 'Gb2312' ?>\xD6\xD0",
         TextEncoding::kGbk, false, "<?xml version='1.0' encoding = 'Gb2312' ?>中"},
        {"gb18030", "<?xml version=\"1.0\" encoding=\"gb18030\"?>\x94\x39\xFC\x36",
         TextEncoding::kGb18030, false, "<?xml version=\"1.0\" encoding=\"gb18030\"?>😀"},
        {"declared utf-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>中", TextEncoding::kUtf8,
         false, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>中"},
        // Only a declaration names the encoding, not a look-alike processing instruction.
        {"not a declaration", "<?xml-model encoding=\"GBK\"?>中", TextEncoding::kUtf8, false,
         "<?xml-model encoding=\"GBK\"?>中"},
        {"empty", "", TextEncoding::kUtf8, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = c.bytes;
        DocumentEncoding encoding;
        TOOLS::DecodeFailure failure;
        ASSERT_TRUE(TOOLS::DecodeXmlDocument(text, encoding, failure)) << failure.message;
        EXPECT_EQ(encoding.encoding, c.encoding);
        EXPECT_EQ(encoding.byteOrderMark, c.byteOrderMark);
        EXPECT_EQ(text, c.decoded);

        std::string bytes;
        std::string error;
        ASSERT_TRUE(TOOLS::EncodeXmlDocument(text, encoding, bytes, error));
        EXPECT_EQ(bytes, c.bytes);
    }
}

TEST(EncodingTest, RefusesWhatCannotBeDecoded) {
    struct Case {
        std::string bytes;
        const char* message;
        int line;
        int column;
    } cases[] = {
        {"<r>\n\xE4\xB8</r>", "invalid UTF-8", 2, 1},
        {"\xEF\xBB\xBF<r>\xFF", "invalid UTF-8", 1, 4},
        {std::string("<r>\0", 4), "NUL character", 1, 4},
        {std::string("\xFF\xFE<\0\0\0", 6), "NUL character", 1, 2},
        {std::string("\xFF\xFE\x00\xDC", 4), "unpaired UTF-16 surrogate", 1, 1},
        {std::string("\xFF\xFE<\0\x00\xD8", 6), "unpaired UTF-16 surrogate", 1, 2},
        {"<?xml version=\"1.0\" encoding=\"GBK\"?>\n\xFF", "invalid GBK text", 2, 1},
        {"<?xml version=\"1.0\" encoding=\"GB18030\"?>\n\x81", "invalid GB18030 text", 2, 1},
        {std::string("<?xml version=\"1.0\" encoding=\"GBK\"?>\0", 37), "NUL character", 1, 37},
        {"<?xml version=\"1.0\" encoding=\"latin1\"?>", "unsupported encoding \"latin1\"", 0, 0},
        {std::string("\0\0\xFE\xFF", 4), "unsupported encoding \"UTF-32\"", 0, 0},
        {std::string("\xFE\xFF\0", 3), "UTF-16 text with an odd number of bytes", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::string text = c.bytes;
        DocumentEncoding encoding;
        TOOLS::DecodeFailure failure;
        EXPECT_FALSE(TOOLS::DecodeXmlDocument(text, encoding, failure));
        EXPECT_EQ(failure.message, c.message);
        EXPECT_EQ(failure.line, c.line);
        EXPECT_EQ(failure.column, c.column);
    }
}

TEST(EncodingTest, LegacyCodePagesWriteMissingCharactersAsReferences) {
    std::string bytes;
    std::string error;
    ASSERT_TRUE(TOOLS::EncodeXmlDocument("中ð😀x", DocumentEncoding{TextEncoding::kGbk, false},
                                         bytes, error));
    EXPECT_EQ(bytes, "\xD6\xD0&#xF0;&#x1F600;x");
    ASSERT_TRUE(TOOLS::EncodeXmlDocument("中ð😀x", DocumentEncoding{TextEncoding::kGb18030, false},
                                         bytes, error));
    EXPECT_EQ(bytes, "\xD6\xD0\x81\x30\x8A\x38\x94\x39\xFC\x36x");
}

TEST(EncodingTest, FindsTheDeclaration) {
    struct Case {
        std::string text;
        size_t length;
    } cases[] = {
        {"<?xml version=\"1.0\"?><r/>", 21},      {"<?xml\tversion=\"1.0\" ?>", 22},
        {"<?xml-stylesheet href=\"a\"?><r/>", 0}, {"<?xml version=\"1.0\"", 0},
        {" <?xml version=\"1.0\"?>", 0},          {"<?xml " + std::string(2000, ' ') + "?>", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 30));
        EXPECT_EQ(TOOLS::XmlDeclarationLength(c.text), c.length);
    }
}

}  // namespace
