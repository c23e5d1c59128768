#include <siteconfig/CString.h>
#include <siteconfig/KadoTypes.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

#include <map>

namespace {

TEST(CStringTest, CopiesShareUntilChanged) {
    CString a(L"wall");
    CString b = a;
    EXPECT_EQ(a.GetString(), b.GetString());  // one buffer
    b += L"s";
    EXPECT_EQ(a, CString(L"wall"));
    EXPECT_EQ(b, CString(L"walls"));
}

TEST(CStringTest, EmptyStrings) {
    CString empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(empty.GetLength(), 0);
    EXPECT_STREQ(empty.GetString(), L"");
    EXPECT_EQ(empty, CString(L""));
    EXPECT_EQ(CString(nullptr), empty);
    EXPECT_EQ(empty.GetAt(0), L'\0');
}

TEST(CStringTest, FindMidLeftRight) {
    const CString s(L"\\基本构件\\墙");
    EXPECT_EQ(s.Find(L'\\'), 0);
    EXPECT_EQ(s.Find(L'\\', 1), 5);
    EXPECT_EQ(s.Find(CString(L"构件")), 3);
    EXPECT_EQ(s.Find(CString(L"x")), -1);
    EXPECT_EQ(s.Find(CString(L"墙"), 100), -1);
    EXPECT_EQ(s.Mid(1, 4), CString(L"基本构件"));
    EXPECT_EQ(s.Mid(6), CString(L"墙"));
    EXPECT_EQ(s.Mid(-3, 2), CString(L"\\基"));
    EXPECT_EQ(s.Mid(50), CString());
    EXPECT_EQ(s.Left(3), CString(L"\\基本"));
    EXPECT_EQ(s.Left(-1), CString());
    EXPECT_EQ(s.Right(1), CString(L"墙"));
    EXPECT_EQ(s.Right(99), s);
}

TEST(CStringTest, OrdinalComparison) {
    EXPECT_LT(CString(L"A"), CString(L"a"));
    EXPECT_LT(CString(L"a"), CString(L"ab"));
    EXPECT_FALSE(CString(L"a") < CString(L"a"));
    EXPECT_NE(CString(L"Wall"), CString(L"wall"));
    std::map<CString, int> m{{L"b", 2}, {L"a", 1}, {L"B", 3}};
    EXPECT_EQ(m.begin()->first, CString(L"B"));
}

TEST(CStringTest, FormatIsTypeSafe) {
    struct Case {
        CString expected;
        CString actual;
    };
    auto format = [](const wchar_t* f, auto... args) {
        CString s;
        s.Format(f, args...);
        return s;
    };
    const Case cases[] = {
        {L"CPropertiesConfig::GetType Failed:\\基本构件",
         format(L"CPropertiesConfig::GetType Failed:%s", CString(L"\\基本构件"))},
        {L"Failed:-5", format(L"Failed:%d", -5)},
        {L"Failed:2147483647", format(L"Failed:%d", KADO::Product::InvalidComponentType)},
        {L"\\M\\Sc", format(L"\\%s\\%s%s", CString(L"M"), L"S", CString(L"c"))},
        {L"0", format(L"%i", 0)},
        {L"100%", format(L"%d%%", 100)},
        {L"[ 7|07|7 |ff|FF]", format(L"[%2d|%02d|%-2d|%x|%X]", 7, 7, 7, 255, 255)},
        {L"missing %d", format(L"missing %d")},
        {L"number 12 as text", format(L"number %s as text", 12)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "expected " << c.expected.GetString());
        EXPECT_EQ(c.actual, c.expected);
    }
}

TEST(CStringArrayTest, AddAndGet) {
    CStringArray a;
    EXPECT_EQ(a.GetSize(), 0);
    EXPECT_EQ(a.Add(L"x"), 0);
    EXPECT_EQ(a.Add(L"y"), 1);
    EXPECT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a[1], CString(L"y"));
    EXPECT_EQ(a.GetAt(5), CString());
}

}  // namespace
