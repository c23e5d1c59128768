#include <siteconfig/CResourceConfig.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ReportLines.h"
#include "ResourceConfigImpl.h"
#include "TestSupport.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

using CONFIG::CResourceConfig;
using testing_support::TempDir;
namespace line = CONFIG::line;

constexpr const wchar_t* kSource = CONFIG::kPropertiesConfigSource;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces the one occurrence of `from` in `text`.
std::string ReplaceOnce(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class ResourceConfigTest : public ::testing::Test {
protected:
    // Writes a settings file and returns its path.
    CString Write(const std::string& name, const std::string& bytes) {
        return TempDir::Wide(dir_.Write(name, bytes));
    }
    CString WriteConfig(const std::string& name, const std::string& children) {
        return Write(name, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Config>" + children +
                               "</Config>\n");
    }
    // The settings file of the test data, copied so that it can be written.
    CString CopyOfDataFile() {
        return Write("Resource.xml", ReadBytes(SITECONFIG_TEST_DATA_DIR "resource/Resource.xml"));
    }

    TempDir dir_;
    testing_support::ReportCapture capture_;
};

TEST_F(ResourceConfigTest, RelativeValuesResolveAgainstAppDir) {
    const struct {
        const char* what;
        const wchar_t* appDir;  // null: no "AppDir"
        const char* value;
        const wchar_t* expected;
        int reportLine;  // 0: no report
    } cases[] = {
        {"folder with separator", L"D:\\App\\", ".\\Images\\a.png", L"D:\\App\\Images\\a.png", 0},
        {"folder without separator", L"D:\\App", ".\\Images\\a.png", L"D:\\AppImages\\a.png", 0},
        {"empty folder", L"", ".\\Images", L"Images", 0},
        {"two characters", L"D:\\App\\", ".\\", L".\\", 0},
        {"forward slash", L"D:\\App\\", "./Images/a.png", L"./Images/a.png", 0},
        {"parent folder", L"D:\\App\\", "..\\Images", L"..\\Images", 0},
        {"absolute", L"D:\\App\\", "C:\\Res\\a.png", L"C:\\Res\\a.png", 0},
        {"dot later", L"D:\\App\\", "Images\\.\\a.png", L"Images\\.\\a.png", 0},
        {"only the start", L"D:\\App\\", ".\\a\\.\\b", L"D:\\App\\a\\.\\b", 0},
        {"no AppDir", nullptr, ".\\Images\\a.png", L".\\Images\\a.png", line::kResourceNoAppDir},
        {"empty value", L"D:\\App\\", "", L"", line::kResourceEmptyValue},
        {"empty value, no AppDir", nullptr, "", L"", line::kResourceEmptyValue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        capture_.Clear();
        CResourceConfig store;
        if (c.appDir) store.SetAppDir(c.appDir);
        ASSERT_TRUE(
            store.Load(WriteConfig("r.xml", std::string("<Res val=\"") + c.value + "\"/>")));
        EXPECT_EQ(store.GetValue(L"Res"), c.expected);
        ASSERT_EQ(capture_.reports.size(), c.reportLine ? 1u : 0u);
        if (c.reportLine) {
            EXPECT_EQ(capture_.reports[0].file, kSource);
            EXPECT_EQ(capture_.reports[0].line, c.reportLine);
            EXPECT_TRUE(capture_.reports[0].message.IsEmpty());
        }
    }
}

TEST_F(ResourceConfigTest, RelativePathTest) {
    for (const wchar_t* value : {L".\\a", L".\\\\", L".\\.\\"}) {
        SCOPED_TRACE(value);
        EXPECT_TRUE(CONFIG::CResourceConfigImpl::IsPath(value));
    }
    for (const wchar_t* value : {L"", L".", L".\\", L"./a", L"\\.\\a", L"a.\\b", L"..\\a"}) {
        SCOPED_TRACE(value);
        EXPECT_FALSE(CONFIG::CResourceConfigImpl::IsPath(value));
    }
}

TEST_F(ResourceConfigTest, AppDirIsAnOrdinaryValue) {
    CResourceConfig store;
    EXPECT_FALSE(store.FindVar(L"AppDir"));
    store.SetAppDir(L"D:\\App");
    EXPECT_EQ(store.GetValue(L"AppDir"), L"D:\\App");
    store.SetAppDir(L"E:\\Other\\");
    EXPECT_EQ(store.GetValue(L"AppDir"), L"E:\\Other\\");
    EXPECT_TRUE(store.SetValue(L"AppDir", L"F:\\"));
    EXPECT_EQ(store.GetValue(L"AppDir"), L"F:\\");

    // A relative folder resolves against itself.
    store.SetAppDir(L".\\Base\\");
    EXPECT_EQ(store.GetValue(L"AppDir"), L".\\Base\\Base\\");
    EXPECT_TRUE(capture_.reports.empty());
}

TEST_F(ResourceConfigTest, UnknownKeys) {
    CResourceConfig store;
    ASSERT_TRUE(store.Load(WriteConfig("r.xml", "<Res val=\"a\"/>")));

    EXPECT_EQ(store.GetValue(L"Nope"), L"");
    EXPECT_TRUE(capture_.reports.empty());

    EXPECT_FALSE(store.SetValue(L"Nope", L"x"));
    EXPECT_FALSE(store.FindVar(L"Nope"));
    EXPECT_EQ(store.GetValue(L"Nope"), L"");
    ASSERT_EQ(capture_.reports.size(), 1u);
    EXPECT_EQ(capture_.Count(kSource, line::kResourceSetUnknownKey), 1);

    // Keys differ by case.
    EXPECT_FALSE(store.FindVar(L"res"));
    EXPECT_FALSE(store.SetValue(L"RES", L"x"));
    EXPECT_EQ(store.GetValue(L"Res"), L"a");
    EXPECT_EQ(capture_.Count(kSource, line::kResourceSetUnknownKey), 2);
}

TEST_F(ResourceConfigTest, SetValueReplacesAnExistingValue) {
    CResourceConfig store;
    store.SetAppDir(L"D:\\App\\");
    ASSERT_TRUE(store.Load(WriteConfig("r.xml", "<Res val=\"a\"/><Empty/>")));
    EXPECT_TRUE(store.SetValue(L"Res", L".\\b"));
    EXPECT_EQ(store.GetValue(L"Res"), L"D:\\App\\b");
    EXPECT_TRUE(store.SetValue(L"Empty", L"now set"));
    EXPECT_EQ(store.GetValue(L"Empty"), L"now set");
    EXPECT_TRUE(store.SetValue(L"Res", L""));
    EXPECT_TRUE(store.FindVar(L"Res"));
    EXPECT_EQ(capture_.reports.size(), 0u);
}

TEST_F(ResourceConfigTest, LoadReadsTheDirectChildrenOfConfig) {
    CResourceConfig store;
    ASSERT_TRUE(store.Load(WriteConfig("r.xml",
                                       "text before"
                                       "<Res val=\"first\" other=\"x\">text<Inner val=\"i\"/></Res>"
                                       "<!-- a comment --><NoVal other=\"y\"/>"
                                       "<res val=\"lower\"/>"
                                       "<Res val=\"second\"/>")));
    EXPECT_EQ(store.GetValue(L"Res"), L"second");  // the later of two equal tags
    EXPECT_EQ(store.GetValue(L"res"), L"lower");
    EXPECT_TRUE(store.FindVar(L"NoVal"));
    EXPECT_FALSE(store.FindVar(L"Inner"));
    EXPECT_FALSE(store.FindVar(L"other"));
    EXPECT_TRUE(capture_.reports.empty());

    EXPECT_EQ(store.GetValue(L"NoVal"), L"");  // present but empty: reported
    EXPECT_EQ(capture_.Count(kSource, line::kResourceEmptyValue), 1);
}

TEST_F(ResourceConfigTest, ConfigHoldingOnlyTextGivesNoSettings) {
    CResourceConfig store;
    ASSERT_TRUE(store.Load(WriteConfig("r.xml", "just text")));
    EXPECT_FALSE(store.FindVar(L"Config"));
    EXPECT_FALSE(store.FindVar(L""));
}

TEST_F(ResourceConfigTest, TwoLoadsMerge) {
    CResourceConfig store;
    store.SetAppDir(L"D:\\App\\");
    ASSERT_TRUE(store.Load(WriteConfig("one.xml", "<A val=\"1\"/><B val=\"1\"/>")));
    ASSERT_TRUE(store.Load(WriteConfig("two.xml", "<B val=\"2\"/><C val=\"2\"/>")));
    EXPECT_EQ(store.GetValue(L"A"), L"1");
    EXPECT_EQ(store.GetValue(L"B"), L"2");
    EXPECT_EQ(store.GetValue(L"C"), L"2");
    EXPECT_EQ(store.GetValue(L"AppDir"), L"D:\\App\\");  // no file carries it

    // A file's "AppDir" replaces the one set before; one set after replaces the file's.
    ASSERT_TRUE(store.Load(WriteConfig("three.xml", "<AppDir val=\"E:\\\"/>")));
    EXPECT_EQ(store.GetValue(L"AppDir"), L"E:\\");
    store.SetAppDir(L"F:\\");
    EXPECT_EQ(store.GetValue(L"AppDir"), L"F:\\");
    EXPECT_TRUE(capture_.reports.empty());
}

TEST_F(ResourceConfigTest, FilesWithoutConfigLeaveStoreAndFileAlone) {
    const struct {
        const char* what;
        const char* bytes;  // null: no file
    } cases[] = {
        {"missing file", nullptr},
        {"other root", "<Settings><A val=\"changed\"/></Settings>"},
        {"Config below the root", "<Root><Config><A val=\"changed\"/></Config></Root>"},
        {"not XML", "<Config><A val=\"changed\"/>"},
        {"empty file", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CResourceConfig store;
        ASSERT_TRUE(store.Load(WriteConfig("good.xml", "<A val=\"kept\"/>")));
        capture_.Clear();

        const std::string name = std::string("bad-") + (c.bytes ? "file.xml" : "none.xml");
        const CString path = c.bytes ? Write(name, c.bytes) : dir_.WPath(name);
        EXPECT_FALSE(store.Load(path));
        EXPECT_EQ(store.GetValue(L"A"), L"kept");
        EXPECT_FALSE(store.Save(path));
        EXPECT_EQ(dir_.Read(name), c.bytes ? c.bytes : "");
        EXPECT_TRUE(capture_.reports.empty());
    }
}

TEST_F(ResourceConfigTest, CopiesAreIndependent) {
    CResourceConfig store;
    store.SetAppDir(L"D:\\App\\");
    ASSERT_TRUE(store.Load(WriteConfig("r.xml", "<Res val=\".\\a\"/>")));

    CResourceConfig copy(store);
    EXPECT_EQ(copy.GetValue(L"Res"), L"D:\\App\\a");
    EXPECT_TRUE(copy.SetValue(L"Res", L"changed"));
    EXPECT_EQ(store.GetValue(L"Res"), L"D:\\App\\a");

    CResourceConfig assigned;
    assigned.SetAppDir(L"E:\\");
    ASSERT_TRUE(assigned.Load(WriteConfig("other.xml", "<Only val=\"x\"/>")));
    assigned = store;
    EXPECT_FALSE(assigned.FindVar(L"Only"));
    EXPECT_EQ(assigned.GetValue(L"Res"), L"D:\\App\\a");

    CResourceConfig& alias = store;
    store = alias;
    EXPECT_EQ(store.GetValue(L"Res"), L"D:\\App\\a");
    EXPECT_TRUE(capture_.reports.empty());
}

TEST_F(ResourceConfigTest, SaveWithoutChangesKeepsTheFileByteForByte) {
    const CString path = CopyOfDataFile();
    const std::string original = dir_.Read("Resource.xml");
    CResourceConfig store;
    store.SetAppDir(L"D:\\SiteLayout\\");  // the file has no "AppDir": none is added
    ASSERT_TRUE(store.Load(path));
    EXPECT_EQ(store.GetValue(L"Company"), L"中建一局 & 合作单位");
    EXPECT_EQ(store.GetValue(L"ImageDir"), L"D:\\SiteLayout\\Resource\\Images\\");

    EXPECT_TRUE(store.Save(path));
    EXPECT_EQ(dir_.Read("Resource.xml"), original);
    EXPECT_TRUE(capture_.reports.empty());
}

TEST_F(ResourceConfigTest, SaveRewritesOnlyTheValuesThatChanged) {
    const CString path = CopyOfDataFile();
    const std::string original = dir_.Read("Resource.xml");
    CResourceConfig store;
    ASSERT_TRUE(store.Load(path));
    ASSERT_TRUE(store.SetValue(L"AutoSaveMinutes", L"5"));
    ASSERT_TRUE(store.SetValue(L"Company", L"新值 \"A&B\""));

    EXPECT_TRUE(store.Save(path));
    std::string expected =
        ReplaceOnce(original, "<AutoSaveMinutes val=\"10\"", "<AutoSaveMinutes val=\"5\"");
    expected = ReplaceOnce(expected, "val=\"中建一局 &amp; 合作单位\"",
                           "val=\"新值 &quot;A&amp;B&quot;\"");
    EXPECT_EQ(dir_.Read("Resource.xml"), expected);

    CResourceConfig reread;
    ASSERT_TRUE(reread.Load(path));
    EXPECT_EQ(reread.GetValue(L"Company"), L"新值 \"A&B\"");
    EXPECT_EQ(reread.GetValue(L"AutoSaveMinutes"), L"5");
    EXPECT_TRUE(capture_.reports.empty());
}

TEST_F(ResourceConfigTest, SaveLeavesElementsTheStoreLacks) {
    CResourceConfig store;
    store.SetAppDir(L"D:\\App\\");
    ASSERT_TRUE(store.Load(WriteConfig("loaded.xml", "<A val=\"1\"/>")));
    ASSERT_TRUE(store.SetValue(L"A", L"2"));

    const std::string before =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Config><A val=\"old\"/><Unknown val=\"mine\" x=\"1\"/><NoVal/></Config>\n";
    const CString other = Write("other.xml", before);
    EXPECT_TRUE(store.Save(other));
    EXPECT_EQ(dir_.Read("other.xml"), ReplaceOnce(before, "val=\"old\"", "val=\"2\""));
    EXPECT_FALSE(store.FindVar(L"Unknown"));
    EXPECT_FALSE(store.FindVar(L"NoVal"));
    EXPECT_TRUE(capture_.reports.empty());
}

TEST_F(ResourceConfigTest, ElementWithoutValGainsOneOnlyWhenSet) {
    const std::string before =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Config><Group><Item val=\"i\"/></Group><Flag/></Config>\n";
    const CString path = Write("r.xml", before);
    CResourceConfig store;
    ASSERT_TRUE(store.Load(path));
    EXPECT_TRUE(store.Save(path));
    EXPECT_EQ(dir_.Read("r.xml"), before);

    ASSERT_TRUE(store.SetValue(L"Flag", L"on"));
    EXPECT_TRUE(store.Save(path));
    EXPECT_EQ(dir_.Read("r.xml"), ReplaceOnce(before, "<Flag/>", "<Flag val=\"on\"/>"));
}

TEST_F(ResourceConfigTest, SaveWritesTheKeptValueIntoRepeatedTags) {
    const CString path = WriteConfig("r.xml", "<Lang val=\"zh-CN\"/><Lang val=\"zh-TW\"/>");
    CResourceConfig store;
    ASSERT_TRUE(store.Load(path));
    EXPECT_TRUE(store.Save(path));
    EXPECT_EQ(dir_.Read("r.xml"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<Config><Lang val=\"zh-TW\"/><Lang val=\"zh-TW\"/></Config>\n");
}

TEST_F(ResourceConfigTest, SaveKeepsUtf16) {
    auto utf16 = [](const std::u16string& text) {
        std::string bytes = "\xFF\xFE";
        for (char16_t unit : text) {
            bytes.push_back(static_cast<char>(unit & 0xFF));
            bytes.push_back(static_cast<char>(unit >> 8));
        }
        return bytes;
    };
    const std::u16string text =
        u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<!-- 设置 -->\r\n<Config>\r\n"
        u"\t<Company val=\"中建\"/>\r\n\t<Res val=\".\\图片\\\"/>\r\n</Config>\r\n";
    const CString path = Write("utf16.xml", utf16(text));
    CResourceConfig store;
    store.SetAppDir(L"D:\\应用\\");
    ASSERT_TRUE(store.Load(path));
    EXPECT_EQ(store.GetValue(L"Company"), L"中建");
    EXPECT_EQ(store.GetValue(L"Res"), L"D:\\应用\\图片\\");

    EXPECT_TRUE(store.Save(path));
    EXPECT_EQ(dir_.Read("utf16.xml"), utf16(text));

    ASSERT_TRUE(store.SetValue(L"Company", L"一局"));
    EXPECT_TRUE(store.Save(path));
    std::u16string changed = text;
    changed.replace(changed.find(u"中建"), 2, u"一局");
    EXPECT_EQ(dir_.Read("utf16.xml"), utf16(changed));
}

TEST_F(ResourceConfigTest, SaveKeepsGb18030) {
    // 中文 is D6D0 CEC4, 新值 is D0C2 D6B5 in GB18030.
    const std::string text =
        "<?xml version=\"1.0\" encoding=\"GB18030\"?>\n<Config>\n"
        "\t<Name val=\"\xD6\xD0\xCE\xC4\"/>\n\t<Other val=\"x\"/>\n</Config>\n";
    const CString path = Write("gb.xml", text);
    CResourceConfig store;
    ASSERT_TRUE(store.Load(path));
    EXPECT_EQ(store.GetValue(L"Name"), L"中文");

    EXPECT_TRUE(store.Save(path));
    EXPECT_EQ(dir_.Read("gb.xml"), text);

    ASSERT_TRUE(store.SetValue(L"Name", L"新值"));
    EXPECT_TRUE(store.Save(path));
    EXPECT_EQ(dir_.Read("gb.xml"), ReplaceOnce(text, "\xD6\xD0\xCE\xC4", "\xD0\xC2\xD6\xB5"));
}

#if defined(_WIN32)
// Holds `path` open for reading only while it lives, as another program may on Windows, so that
// the settings file cannot be replaced.
class FileInUse {
public:
    explicit FileInUse(const CString& path)
        : handle_(CreateFileW(path.GetString(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
    }
    FileInUse(const FileInUse&) = delete;
    FileInUse& operator=(const FileInUse&) = delete;
    ~FileInUse() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }

private:
    HANDLE handle_;
};
#else
// Lets no file grow past a few bytes while it lives, so that writing any settings file fails;
// reading is unaffected. Works for every user, unlike taking away permissions.
class FileSizeLimit {
public:
    FileSizeLimit() {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tight = previous_;
        tight.rlim_cur = 8;
        setrlimit(RLIMIT_FSIZE, &tight);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousSignal_);
    }

private:
    rlimit previous_{};
    void (*previousSignal_)(int) = nullptr;
};
#endif

TEST_F(ResourceConfigTest, FailedWriteReportsAndKeepsTheFile) {
    const CString path = CopyOfDataFile();
    const std::string original = dir_.Read("Resource.xml");
    CResourceConfig store;
    ASSERT_TRUE(store.Load(path));
    ASSERT_TRUE(store.SetValue(L"Language", L"en"));
    bool saved = true;
    {
#if defined(_WIN32)
        FileInUse limit(path);
#else
        FileSizeLimit limit;
#endif
        saved = store.Save(path);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(dir_.Read("Resource.xml"), original);
    ASSERT_EQ(capture_.reports.size(), 1u);
    EXPECT_EQ(capture_.Count(kSource, line::kResourceSaveFailed), 1);
    EXPECT_TRUE(capture_.reports[0].message.IsEmpty());

    // Nothing else was left beside it.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
    EXPECT_EQ(store.GetValue(L"Language"), L"en");  // the store keeps its change
}

}  // namespace
