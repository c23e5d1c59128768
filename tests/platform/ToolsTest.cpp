#include "Tools.h"

#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>

#include "TestSupport.h"

namespace {

using TOOLS::CKADOHandler;
using TOOLS::CLocHandler;

TEST(TransStrToAryTest, SplitsAtTheWholeDelimiterKeepingEmptyPieces) {
    struct Case {
        const wchar_t* text;
        const wchar_t* delimiter;
        std::vector<CString> pieces;
    };
    const Case cases[] = {
        {L"", L";", {L""}},
        {L"a", L";", {L"a"}},
        {L"a;", L";", {L"a", L""}},
        {L"a;;b", L";", {L"a", L"", L"b"}},
        {L";a", L";", {L"", L"a"}},
        {L"100|120", L"|", {L"100", L"120"}},
        {L"1|2|3", L"|", {L"1", L"2", L"3"}},
        {L"g1\\vg2\\v", L"\\v", {L"g1", L"g2", L""}},
        {L"a\\b\\vc", L"\\v", {L"a\\b", L"c"}},
        {L"a\vb", L"\\v", {L"a\vb"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << CString(c.text).GetLength());
        std::vector<CString> out{L"kept"};
        TOOLS::TransStrToAry(c.text, out, c.delimiter);
        std::vector<CString> expected{L"kept"};
        expected.insert(expected.end(), c.pieces.begin(), c.pieces.end());
        EXPECT_EQ(out, expected);

        CStringArray array;
        TOOLS::TransStrToAry(c.text, array, c.delimiter);
        ASSERT_EQ(array.GetSize(), static_cast<int>(c.pieces.size()));
        for (int i = 0; i < array.GetSize(); ++i) EXPECT_EQ(array[i], c.pieces[size_t(i)]);
    }
}

TEST(CLocHandlerTest, PartsAndValidity) {
    struct Case {
        const wchar_t* loc;
        const wchar_t* daLei;
        const wchar_t* xiaoLei;
        bool valid;
    };
    const Case cases[] = {
        {L"\\基本构件\\墙\\直形墙", L"基本构件", L"墙", true},
        {L"\\其它图库\\其它构件", L"其它图库", L"其它构件", true},
        {L"\\基本构件", L"基本构件", L"", false},
        {L"\\基本构件\\", L"基本构件", L"", false},
        {L"基本构件\\墙", L"基本构件", L"墙", false},
        {L"\\\\墙", L"", L"墙", false},
        {L"", L"", L"", false},
        {L"\\", L"", L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        CLocHandler loc(c.loc, L'\\');
        EXPECT_EQ(loc.GetDaLei(), CString(c.daLei));
        EXPECT_EQ(loc.GetXiaoLei(), CString(c.xiaoLei));
        EXPECT_EQ(loc.IsValid(), c.valid);
        CLocHandler later;
        later.SetLoc(c.loc);
        EXPECT_EQ(later.GetDaLei(), CString(c.daLei));
    }
}

TEST(CKADOHandlerTest, NamesAndValues) {
    EXPECT_EQ(CKADOHandler::GetComponentTypeByName(L"Wall"), KADO::Product::Wall);
    EXPECT_EQ(CKADOHandler::GetComponentTypeByName(L"wall"), KADO::Product::InvalidComponentType);
    EXPECT_EQ(CKADOHandler::GetComponentTypeByName(L""), KADO::Product::InvalidComponentType);
    EXPECT_EQ(CKADOHandler::GetComponentNameByType(KADO::Product::TowerCrane),
              CString(L"TowerCrane"));
    EXPECT_EQ(CKADOHandler::GetComponentNameByType(KADO::Product::EKADOComponentType(999)),
              CString());
    EXPECT_EQ(CKADOHandler::GetParamTypeByName(L"Category"), 12);
    EXPECT_EQ(CKADOHandler::GetParamTypeByName(L"类别"), 12);
    EXPECT_EQ(CKADOHandler::GetParamTypeByName(L"SectionShape"), 36);
    EXPECT_EQ(CKADOHandler::GetParamTypeByName(L"截面形状"), 36);
    EXPECT_EQ(CKADOHandler::GetParamTypeByName(L"length"), KADO::Product::InvalidParameterType);
    EXPECT_EQ(CKADOHandler::GetParamNameByType(KADO::Product::Category), CString(L"Category"));
    EXPECT_EQ(CKADOHandler::GetParamNameByType(KADO::Product::EKADOParameterType(77)), CString());
}

TEST(CPathOperatorTest, MatchesWildcardsWithoutRegardToCaseSortedByName) {
    testing_support::TempDir dir;
    for (const char* name :
         {"b_POOL.xml", "A_pool.XML", "c_POOL.xml.bak", "POOL.xml", "x.xml", "sub/d_POOL.xml"}) {
        dir.Write(name, "<Property/>");
    }
    std::filesystem::create_directory(dir.path() + "/e_POOL.xml");  // a folder never matches

    std::vector<CString> files;
    TOOLS::CPathOperator::GetAllSpecifyFileInDir(dir.WFolder() + L"*_POOL.xml", files);
    EXPECT_EQ(files,
              (std::vector<CString>{dir.WFolder() + L"A_pool.XML", dir.WFolder() + L"b_POOL.xml"}));

    files.clear();
    TOOLS::CPathOperator::GetAllSpecifyFileInDir(dir.WFolder() + L"?.xml", files);
    EXPECT_EQ(files, std::vector<CString>{dir.WFolder() + L"x.xml"});

    files.assign(1, L"kept");
    TOOLS::CPathOperator::GetAllSpecifyFileInDir(dir.WFolder() + L"missing\\*.xml", files);
    EXPECT_EQ(files, std::vector<CString>{L"kept"});
}

#if !defined(_WIN32)
TEST(CPathOperatorTest, ListsSymbolicLinksToFilesOnly) {
    testing_support::TempDir dir;
    dir.Write("file_POOL.xml", "<Property/>");
    std::filesystem::create_directory(dir.path() + "/folder");
    const struct {
        const char* target;
        const char* link;
    } links[] = {{"file_POOL.xml", "link_POOL.xml"},
                 {"folder", "folderlink_POOL.xml"},
                 {"missing.xml", "dangling_POOL.xml"}};
    for (const auto& l : links) {
        ASSERT_EQ(::symlink(l.target, (dir.Folder() + l.link).c_str()), 0);
    }
    ASSERT_EQ(::mkfifo((dir.Folder() + "fifo_POOL.xml").c_str(), 0600), 0);
    std::vector<CString> files;
    TOOLS::CPathOperator::GetAllSpecifyFileInDir(dir.WFolder() + L"*_POOL.xml", files);
    EXPECT_EQ(files, (std::vector<CString>{dir.WFolder() + L"file_POOL.xml",
                                           dir.WFolder() + L"link_POOL.xml"}));
}
#endif

TEST(CPathOperatorTest, BackslashFolderWithOtherLetterCase) {
    testing_support::TempDir dir;
    dir.Write("Defs/Wall_POOL.xml", "<Property/>");
    std::vector<CString> files;
    const CString folder = dir.WFolder() + L"DEFS\\";
    TOOLS::CPathOperator::GetAllSpecifyFileInDir(folder + L"*_POOL.xml", files);
    EXPECT_EQ(files, std::vector<CString>{folder + L"Wall_POOL.xml"});
}

}  // namespace
