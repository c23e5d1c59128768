#include <siteconfig/CString.h>
#include <siteconfig/KadoTypes.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

#include <cwchar>
#include <map>
#include <thread>
#include <utility>
#include <vector>

namespace {

TEST(CStringTest, CopiesShareUntilChanged) {
    CString a(L"wall");
    CString b = a;
    EXPECT_EQ(a.GetString(), b.GetString());  // one buffer
    b += L"s";
    EXPECT_EQ(a, CString(L"wall"));
    EXPECT_EQ(b, CString(L"walls"));
}

TEST(CStringTest, GetBufferSetLengthLeavesEarlierCopiesAlone) {
    struct Case {
        const wchar_t* text;
        int length;           // asked of GetBufferSetLength
        const wchar_t* fill;  // written into the buffer, terminator included
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"hello world", 3, L"abc", L"abc"},  // shorter than the shared text
        {L"wall", 4, L"beam", L"beam"},       // as long
        {L"wall", 40, L"a longer text than before", L"a longer text than before"},
        {L"", 5, L"slab", L"slab"},  // from nothing
        {L"column", 0, L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "length " << c.length << " over " << c.text);
        CString original(c.text);
        const CString before = original;
        wchar_t* buffer = original.GetBufferSetLength(c.length);
        EXPECT_EQ(original.GetLength(), c.length);
        EXPECT_NE(buffer, before.GetString());
        std::wmemcpy(buffer, c.fill, std::wcslen(c.fill) + 1);
        original.ReleaseBuffer();
        EXPECT_EQ(original, CString(c.expected));
        EXPECT_EQ(before, CString(c.text));
        EXPECT_EQ(before.GetLength(), static_cast<int>(std::wcslen(c.text)));
    }
}

TEST(CStringTest, GetBufferSetLengthKeepsLeadingCharacters) {
    CString s(L"foundation");
    const CString copy = s;
    s.GetBufferSetLength(5);
    s.ReleaseBuffer();
    EXPECT_EQ(s, CString(L"found"));
    EXPECT_EQ(copy, CString(L"foundation"));

    CString alone(L"pipe");
    wchar_t* buffer = alone.GetBufferSetLength(8);
    std::wmemcpy(buffer + 4, L"line", 4);
    alone.ReleaseBuffer(8);
    EXPECT_EQ(alone, CString(L"pipeline"));
    alone.GetBufferSetLength(8)[2] = L'\0';
    alone.ReleaseBuffer();  // up to the first terminator
    EXPECT_EQ(alone, CString(L"pi"));
}

TEST(CStringTest, CopiesTakenWhileTheBufferIsOutKeepTheirText) {
    CString s(L"beam");
    wchar_t* buffer = s.GetBufferSetLength(4);
    const CString constructed = s;  // taken between GetBufferSetLength and ReleaseBuffer
    CString assigned;
    assigned = s;
    std::wmemcpy(buffer, L"slab", 4);
    s.ReleaseBuffer();
    EXPECT_EQ(s, CString(L"slab"));
    EXPECT_EQ(constructed, CString(L"beam"));
    EXPECT_EQ(assigned, CString(L"beam"));

    // Released, the buffer is shared again, and the next write unshares first.
    const CString shared = s;
    EXPECT_EQ(shared.GetString(), s.GetString());
    s.GetBufferSetLength(4)[0] = L'f';
    s.ReleaseBuffer();
    EXPECT_EQ(shared, CString(L"slab"));
    EXPECT_EQ(s, CString(L"flab"));
}

TEST(CStringTest, AppendsThatAliasTheString) {
    struct Case {
        const char* what;
        CString (*make)(CString);
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"s += s", [](CString s) { return s += s; }, L"wallwall"},
        {"s = s + s", [](CString s) { return s = s + s; }, L"wallwall"},
        {"s += s.Mid(1)", [](CString s) { return s += s.Mid(1); }, L"wallall"},
        {"s += s.GetString()", [](CString s) { return s += s.GetString(); }, L"wallwall"},
        {"s += s.GetString() + 2", [](CString s) { return s += s.GetString() + 2; }, L"wallll"},
        {"s = s.GetString() + s", [](CString s) { return s = s.GetString() + s; }, L"wallwall"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Once on a string of its own, once on one that shares its buffer with a copy.
        EXPECT_EQ(c.make(CString(L"wall")), CString(c.expected));
        const CString shared(L"wall");
        EXPECT_EQ(c.make(shared), CString(c.expected));
        EXPECT_EQ(shared, CString(L"wall"));
    }
    // Repeated doubling grows through several reallocations of its own buffer.
    CString grown(L"ab");
    for (int i = 0; i < 10; ++i) grown += grown;
    EXPECT_EQ(grown.GetLength(), 2 << 10);
    EXPECT_EQ(grown.Find(L"ba"), 1);
    EXPECT_EQ(grown.Right(2), CString(L"ab"));
}

// Copies of one string made, changed and destroyed on several threads at once: the block is
// freed once, after the last of them (the sanitizer builds see a double or early free).
TEST(CStringTest, CopiesLiveAndDieOnSeveralThreads) {
    const CString original(L"shared text 共享");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&original, t] {
            for (int i = 0; i < 20000; ++i) {
                CString copy = original;
                CString second = copy;
                if (i % 3 == t % 3) second += L"!";  // a change makes its own block
                CString moved = std::move(copy);
                copy = second;
            }
        });
    }
    {
        // Copies that outlive the threads' ones, destroyed here while theirs die.
        std::vector<CString> kept(1000, original);
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(original, CString(L"shared text 共享"));
    CString last = original;
    EXPECT_EQ(last.GetString(), original.GetString());
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
