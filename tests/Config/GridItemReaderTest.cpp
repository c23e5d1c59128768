// Splitting of the texts the display readers keep as lists.
#include "GridItemReader.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "Tools.h"

namespace CONFIG {
namespace {

using testing_support::Texts;

TEST(AppendPiecesTest, SplitsAsTransStrToAry) {
    const struct {
        const wchar_t* text;
        const wchar_t* delimiter;
        Texts pieces;
    } cases[] = {
        {L"", L";", {L""}},
        {L"a", L";", {L"a"}},
        {L";", L";", {L"", L""}},
        {L"a;b;", L";", {L"a", L"b", L""}},
        {L";;a", L";", {L"", L"", L"a"}},
        {L"轴线;标注", L";", {L"轴线", L"标注"}},
        {L"a\\vb", L"\\v", {L"a", L"b"}},
        {L"\\\\v", L"\\v", {L"\\", L""}},
        {L"a\\", L"\\v", {L"a\\"}},
        // Occurrences do not overlap: each search starts after the previous delimiter.
        {L"aaa", L"aa", {L"", L"a"}},
        {L"aaaa", L"aa", {L"", L"", L""}},
        {L"xabab", L"abab", {L"x", L""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(CString(c.text)) + " at " +
                     testing::PrintToString(CString(c.delimiter)));
        Texts pieces;
        AppendPieces(c.text, c.delimiter, pieces);
        EXPECT_EQ(pieces, c.pieces);
        Texts expected;
        TOOLS::TransStrToAry(c.text, expected, c.delimiter);
        EXPECT_EQ(pieces, expected);
    }
}

TEST(AppendPiecesTest, AppendsAfterWhatTheListHolds) {
    Texts pieces{L"kept"};
    AppendPieces(L"a;b", L";", pieces);
    AppendPieces(L"c", L";", pieces);
    EXPECT_EQ(pieces, Texts({L"kept", L"a", L"b", L"c"}));
}

TEST(AppendPiecesTest, ATextWithoutTheDelimiterIsSharedAndStillCopiedOnWrite) {
    const CString text(L"whole");
    Texts pieces;
    AppendPieces(text, L";", pieces);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].GetString(), text.GetString());
    pieces[0] += L"!";
    EXPECT_EQ(text.str(), L"whole");
    EXPECT_EQ(pieces[0].str(), L"whole!");
}

}  // namespace
}  // namespace CONFIG
