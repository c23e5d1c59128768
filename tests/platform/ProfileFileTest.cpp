#include "ProfileFile.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "TestSupport.h"

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    CString Write(const std::string& name, const std::string& bytes) {
        return testing_support::TempDir::Wide(dir_.Write(name, bytes));
    }

    CString Missing() const { return dir_.WPath("missing.ini"); }

    static CString ReadString(const CString& file, const CString& section, const CString& key,
                              const CString& fallback = L"<default>", int size = 256) {
        std::vector<wchar_t> buffer(static_cast<size_t>(size) + 1, L'#');
        const int copied =
            TOOLS::GetPrivateProfileString(section, key, fallback, buffer.data(), size, file);
        EXPECT_EQ(copied, static_cast<int>(std::wcslen(buffer.data())));
        return CString(buffer.data());
    }

    testing_support::TempDir dir_;
    testing_support::ReportCapture capture_;
};

struct StringCase {
    const char* what;
    std::string ini;
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* expected;  // "<default>" when the lookup falls back
};

TEST_F(ProfileFileTest, StringLookups) {
    const StringCase cases[] = {
        {"plain", "[Main]\nName=value\n", L"Main", L"Name", L"value"},
        {"section case", "[MAIN]\nName=value\n", L"main", L"Name", L"value"},
        {"key case", "[Main]\nNAME=value\n", L"Main", L"name", L"value"},
        {"caller's blanks", "[Main]\nFileCount=3\n", L" Main ", L"FileCount ", L"3"},
        {"blanks in the file", "  [  Main  ]  \n\t Name \t=\t value with  blanks \t\n", L"Main",
         L"Name", L"value with  blanks"},
        {"inner blanks of a key count", "[Main]\nFile Count=3\n", L"Main", L"FileCount",
         L"<default>"},
        {"comment line", "[Main]\n;Name=hidden\n", L"Main", L"Name", L"<default>"},
        {"indented comment", "[Main]\n   ;Name=hidden\n", L"Main", L"Name", L"<default>"},
        {"hash is text", "[Main]\n#Name=text\n", L"Main", L"#Name", L"text"},
        {"inline semicolon is text", "[Main]\nName=a ;b\n", L"Main", L"Name", L"a ;b"},
        {"first key wins", "[Main]\nName=first\nname=second\n", L"Main", L"Name", L"first"},
        {"first section only", "[Main]\nA=1\n[Other]\nB=2\n[main]\nA=3\nB=4\n", L"Main", L"B",
         L"<default>"},
        {"first section's value", "[Main]\nA=1\n[main]\nA=3\n", L"Main", L"A", L"1"},
        {"lines before a header", "Name=loose\n[Main]\n", L"Main", L"Name", L"<default>"},
        {"missing section", "[Main]\nName=value\n", L"List", L"Name", L"<default>"},
        {"missing key", "[Main]\nName=value\n", L"Main", L"Other", L"<default>"},
        {"empty value", "[Main]\nName=\n", L"Main", L"Name", L""},
        {"value holds =", "[Main]\nName=a=b\n", L"Main", L"Name", L"a=b"},
        {"line without =", "[Main]\nName\n", L"Main", L"Name", L"<default>"},
        {"line without = shadows later", "[Main]\nName\nName=x\n", L"Main", L"Name", L"<default>"},
        {"double quotes", "[Main]\nName=\" quoted \"\n", L"Main", L"Name", L" quoted "},
        {"single quotes", "[Main]\nName='q'\n", L"Main", L"Name", L"q"},
        {"one pair only", "[Main]\nName=\"\"q\"\"\n", L"Main", L"Name", L"\"q\""},
        {"unmatched quotes", "[Main]\nName=\"q'\n", L"Main", L"Name", L"\"q'"},
        {"lone quote", "[Main]\nName=\"\n", L"Main", L"Name", L"\""},
        {"CR line ends", "[Main]\rA=1\rName=cr\r", L"Main", L"Name", L"cr"},
        {"CRLF line ends", "[Main]\r\nName=crlf\r\n", L"Main", L"Name", L"crlf"},
        {"no final line end", "[Main]\nName=last", L"Main", L"Name", L"last"},
        {"header without ]", "[Main\nName=value\n", L"Main", L"Name", L"value"},
        {"text after ]", "[Main] tail\nName=value\n", L"Main", L"Name", L"value"},
        {"UTF-8 without BOM", u8"[列表]\n名称=中文值\n", L"列表", L"名称", L"中文值"},
        {"UTF-8 with BOM", "\xEF\xBB\xBF[Main]\nName=v\n", L"Main", L"Name", L"v"},
        {"GB18030", "[Main]\nName=\xD6\xD0\xCE\xC4\n", L"Main", L"Name", L"中文"},
        {"UTF-16 LE", std::string("\xFF\xFE[\0M\0]\0\n\0K\0=\0\x2D\x4E\x87\x65\r\0\n\0", 22), L"m",
         L"k", L"中文"},
        {"UTF-16 BE", std::string("\xFE\xFF\0[\0M\0]\0\n\0K\0=\x4E\x2D", 16), L"M", L"K", L"中"},
        {"UTF-16 LE surrogate pair", std::string("\xFF\xFE[\0M\0]\0\n\0K\0=\0\x3D\xD8\x00\xDE", 18),
         L"M", L"K", L"\U0001F600"},
    };
    for (const StringCase& c : cases) {
        SCOPED_TRACE(c.what);
        const CString file = Write("case.ini", c.ini);
        EXPECT_EQ(ReadString(file, c.section, c.key), CString(c.expected));
    }
    EXPECT_TRUE(capture_.diagnostics.empty());
}

struct IntCase {
    const char* value;  // the text after "Key="; null for no key at all
    int expected;       // with the default 77
};

TEST_F(ProfileFileTest, IntegerLookups) {
    const IntCase cases[] = {
        {nullptr, 77},
        {"", 77},
        {"12", 12},
        {"+12", 12},
        {"-1", -1},
        {"  7", 7},
        {"12abc", 12},
        {"abc", 0},
        {"-", 0},
        {"+", 0},
        {"--3", 0},
        {"1 2", 1},
        {"0x1F", 31},
        {"0X1f", 31},
        {"-0x10", -16},
        {"0x", 0},
        {"0xg", 0},
        {"017", 17},
        {"\"42\"", 42},
        {"' -5'", -5},
        {"4294967295", -1},
        {"4294967296", 0},
        {"2147483648", -2147483647 - 1},
        {"0xFFFFFFFF", -1},
        {"99999999999", 1215752191},
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(no key)");
        const std::string ini = std::string("[Main]\n") + (c.value ? "Key=" : "Other=") +
                                (c.value ? c.value : "1") + "\n";
        const CString file = Write("int.ini", ini);
        EXPECT_EQ(TOOLS::GetPrivateProfileInt(L"Main", L"Key", 77, file), c.expected);
    }
}

TEST_F(ProfileFileTest, BufferLimitsCopiedCharacters) {
    const CString file = Write("long.ini", "[Main]\nName=abcdef\n");
    struct {
        int size;
        const wchar_t* expected;
    } cases[] = {{256, L"abcdef"}, {7, L"abcdef"}, {6, L"abcde"}, {2, L"a"}, {1, L""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        EXPECT_EQ(ReadString(file, L"Main", L"Name", L"", c.size), CString(c.expected));
    }

    // The default is cut the same way, after losing its trailing blanks.
    EXPECT_EQ(ReadString(file, L"Main", L"Other", L"  dflt  ", 256), CString(L"  dflt"));
    EXPECT_EQ(ReadString(file, L"Main", L"Other", L"dflt", 3), CString(L"df"));

    wchar_t untouched = L'#';
    EXPECT_EQ(TOOLS::GetPrivateProfileString(L"Main", L"Name", L"", &untouched, 0, file), 0);
    EXPECT_EQ(untouched, L'#');
}

TEST_F(ProfileFileTest, MissingFileGivesDefaultsAndOneDiagnosticPerRead) {
    EXPECT_EQ(TOOLS::GetPrivateProfileInt(L"Main", L"FileCount ", 5, Missing()), 5);
    EXPECT_EQ(ReadString(Missing(), L"Main", L"Name", L"dflt "), CString(L"dflt"));
    ASSERT_EQ(capture_.diagnostics.size(), 2u);
    EXPECT_EQ(capture_.diagnostics[0].file, Missing());
}

TEST_F(ProfileFileTest, WindowsAuthoredPathFindsTheFile) {
    Write("Plugins.ini", "[Main]\nFileCount=2\n");
    const CString path = testing_support::TempDir::Wide(dir_.path()) + L"\\PLUGINS.INI";
    EXPECT_EQ(TOOLS::GetPrivateProfileInt(L"Main", L"FileCount ", 0, path), 2);
}

TEST_F(ProfileFileTest, LoadedFileAnswersManyLookupsAndReloads) {
    TOOLS::CProfileFile profile;
    EXPECT_EQ(profile.GetInt(L"Main", L"A", 9), 9);  // nothing loaded yet

    ASSERT_TRUE(profile.Load(Write("one.ini", "[Main]\nA=1\n[List]\n0=x\n1=y\n")));
    wchar_t buffer[16];
    EXPECT_EQ(profile.GetInt(L"main", L"a", 0), 1);
    EXPECT_EQ(profile.GetString(L"List", L"1", L"", buffer, 16), 1);
    EXPECT_STREQ(buffer, L"y");

    // A second load replaces everything the first one read.
    ASSERT_TRUE(profile.Load(Write("two.ini", "[Main]\nB=2\n")));
    EXPECT_EQ(profile.GetInt(L"Main", L"A", -3), -3);
    EXPECT_EQ(profile.GetInt(L"Main", L"B", 0), 2);

    EXPECT_FALSE(profile.Load(Missing()));
    EXPECT_EQ(profile.GetInt(L"Main", L"B", 0), 0);
}

TEST_F(ProfileFileTest, UndecodableGb18030BytesAreReplacedAndDiagnosed) {
    // 0x81 0x20 is no GB18030 character: the bad byte becomes U+FFFD, the rest still reads.
    const CString file = Write("bad.ini", "[Main]\nName=\x81 ok\nNext=\xD6\xD0\n");
    EXPECT_EQ(ReadString(file, L"Main", L"Next"), CString(L"中"));
    EXPECT_EQ(ReadString(file, L"Main", L"Name"), CString(L"\uFFFD ok"));
    EXPECT_EQ(capture_.diagnostics.size(), 2u);  // one per read of the file
}

}  // namespace
