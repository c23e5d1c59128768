#include "CodePage.h"

#include <gtest/gtest.h>
#if defined(_WIN32)
#include <windows.h>
#endif

#include <string>

namespace {

using TOOLS::CodePageStatus;
using TOOLS::TextEncoding;

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

void AppendUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

TEST(CodePageTest, DecodesLongTextsWhole) {
    // Long enough to cross any internal chunking, with four-byte forms among two-byte ones.
    const std::string gb18030 = Repeat(
        "\xD6\xD0"
        "a\x94\x39\xFC\x36"
        "\x81\x30\x8A\x38",
        3000);
    const std::string expected = Repeat("中a😀ð", 3000);
    std::string utf8 = "kept ";
    size_t consumed = 0;
    EXPECT_EQ(TOOLS::DecodeCodePage(TextEncoding::kGb18030, gb18030.data(), gb18030.size(), utf8,
                                    consumed),
              CodePageStatus::kDone);
    EXPECT_EQ(consumed, gb18030.size());
    EXPECT_EQ(utf8, "kept " + expected);

    const std::string gbk = Repeat("\xD6\xD0\xCE\xC4x", 3000);
    utf8.clear();
    EXPECT_EQ(TOOLS::DecodeCodePage(TextEncoding::kGbk, gbk.data(), gbk.size(), utf8, consumed),
              CodePageStatus::kDone);
    EXPECT_EQ(utf8, Repeat("中文x", 3000));
}

TEST(CodePageTest, DecodingStopsAtTheFirstInvalidOrCutCharacter) {
    struct Case {
        const char* what;
        TextEncoding encoding;
        std::string bytes;
        size_t consumed;
        std::string utf8;
    } cases[] = {
        {"invalid after a long run", TextEncoding::kGb18030,
         Repeat("\xD6\xD0", 5001) + "\x81\x20ok", 10002, Repeat("中", 5001)},
        {"cut two-byte character", TextEncoding::kGbk, "\xD6\xD0\xCE", 2, "中"},
        {"cut four-byte character", TextEncoding::kGb18030, "a\x94\x39\xFC", 1, "a"},
        {"four-byte form in GBK", TextEncoding::kGbk, "a\x81\x30\x8A\x38", 1, "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string utf8;
        size_t consumed = 0;
        EXPECT_EQ(TOOLS::DecodeCodePage(c.encoding, c.bytes.data(), c.bytes.size(), utf8, consumed),
                  CodePageStatus::kStopped);
        EXPECT_EQ(consumed, c.consumed);
        EXPECT_EQ(utf8, c.utf8);
    }
}

TEST(CodePageTest, EncodingStopsAtACharacterTheCodePageLacks) {
    // GBK has no emoji: the bytes before it are written, and the caller learns where it is.
    const std::string utf8 = Repeat("中", 5000) + "😀" + "文";
    std::string bytes;
    size_t consumed = 0;
    EXPECT_EQ(TOOLS::EncodeCodePage(TextEncoding::kGbk, utf8.data(), utf8.size(), bytes, consumed),
              CodePageStatus::kStopped);
    EXPECT_EQ(consumed, 15000u);
    EXPECT_EQ(bytes, Repeat("\xD6\xD0", 5000));

    // GB18030 holds it.
    bytes.clear();
    EXPECT_EQ(
        TOOLS::EncodeCodePage(TextEncoding::kGb18030, utf8.data(), utf8.size(), bytes, consumed),
        CodePageStatus::kDone);
    EXPECT_EQ(bytes, Repeat("\xD6\xD0", 5000) + "\x94\x39\xFC\x36" + "\xCE\xC4");

    // Bytes that are not UTF-8 stop it too.
    const std::string broken = "ab\xFF";
    bytes.clear();
    EXPECT_EQ(TOOLS::EncodeCodePage(TextEncoding::kGb18030, broken.data(), broken.size(), bytes,
                                    consumed),
              CodePageStatus::kStopped);
    EXPECT_EQ(consumed, 2u);
    EXPECT_EQ(bytes, "ab");
}

std::string EncodeGb18030(char32_t cp, CodePageStatus& status) {
    std::string utf8;
    AppendUtf8(cp, utf8);
    std::string bytes;
    size_t consumed = 0;
    status =
        TOOLS::EncodeCodePage(TextEncoding::kGb18030, utf8.data(), utf8.size(), bytes, consumed);
    return bytes;
}

TEST(CodePageTest, Gb18030FourByteForms) {
    struct Case {
        char32_t cp;
        std::string bytes;
    } cases[] = {{0x80, "\x81\x30\x81\x30"},
                 {0xF0, "\x81\x30\x8A\x38"},
                 {0x1F8, "\x81\x30\xA3\x30"},
                 {0x10000, "\x90\x30\x81\x30"},
                 {0x10FFFF, "\xE3\x32\x9A\x35"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<unsigned>(c.cp));
        CodePageStatus status;
        EXPECT_EQ(EncodeGb18030(c.cp, status), c.bytes);
        EXPECT_EQ(status, CodePageStatus::kDone);
        std::string back;
        size_t consumed = 0;
        EXPECT_EQ(TOOLS::DecodeCodePage(TextEncoding::kGb18030, c.bytes.data(), c.bytes.size(),
                                        back, consumed),
                  CodePageStatus::kDone);
        std::string utf8;
        AppendUtf8(c.cp, utf8);
        EXPECT_EQ(back, utf8);
    }
}

#if defined(_WIN32)
bool HasGb18030CodePage() { return IsValidCodePage(54936) != FALSE; }
#else
bool HasGb18030CodePage() { return true; }
#endif

TEST(CodePageTest, Gb18030WholeBasicPlane) {
    const std::string hangul = "\x82\x37\xCF\x35";  // U+AC00, a four-byte form
    if (!HasGb18030CodePage()) {
        // The stand-in for code page 54936 refuses what it cannot map exactly.
        CodePageStatus status;
        EncodeGb18030(0xAC00, status);
        EXPECT_EQ(status, CodePageStatus::kStopped);
        std::string utf8;
        size_t consumed = 0;
        EXPECT_EQ(TOOLS::DecodeCodePage(TextEncoding::kGb18030, hangul.data(), hangul.size(), utf8,
                                        consumed),
                  CodePageStatus::kStopped);
        GTEST_SKIP() << "this Windows lacks code page 54936 (as Wine 8 does)";
    }
    CodePageStatus status;
    EXPECT_EQ(EncodeGb18030(0xAC00, status), hangul);
    EXPECT_EQ(EncodeGb18030(0xFFFF, status), "\x84\x31\xA4\x39");  // the last of the plane

    // Every character of the basic plane goes there and back, but for the private use area,
    // whose mapping changed between editions of GB18030 (and so between converters).
    std::string all;
    for (char32_t cp = 1; cp <= 0xFFFF; ++cp) {
        if (cp < 0xD800 || (cp > 0xDFFF && cp < 0xE000) || cp > 0xF8FF) AppendUtf8(cp, all);
    }
    std::string bytes;
    size_t consumed = 0;
    ASSERT_EQ(
        TOOLS::EncodeCodePage(TextEncoding::kGb18030, all.data(), all.size(), bytes, consumed),
        CodePageStatus::kDone);
    std::string back;
    ASSERT_EQ(
        TOOLS::DecodeCodePage(TextEncoding::kGb18030, bytes.data(), bytes.size(), back, consumed),
        CodePageStatus::kDone);
    EXPECT_EQ(back, all);
}

}  // namespace
