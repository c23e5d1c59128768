#include <siteconfig/CGraphsConfig.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "GraphsConfigImpl.h"
#include "ReportLines.h"
#include "TestGraphHandler.h"
#include "TestSupport.h"

namespace {

using CONFIG::CGraphsConfig;
using KADO::Product::EKADOComponentType;
using namespace KADO::Product;
namespace line = CONFIG::line;

constexpr const wchar_t* kSource = CONFIG::kPropertiesConfigSource;

// --- A host of our own, answering from a table of entry points --------------------------------

struct FakeHandler : BASE::IGraphHandler {
    explicit FakeHandler(int maker) : maker(maker) {}
    int maker;
};

template <int maker>
BASE::IGraphHandler* MakeFake() {
    return new FakeHandler(maker);
}

// Entry points: each checks that it is handed an empty table.
void CreaterOne(BASE::GraphHandlerTable& table) {
    EXPECT_TRUE(table.empty());
    table[Wall] = &MakeFake<1>;
    table[Beam] = &MakeFake<1>;
}
void CreaterTwo(BASE::GraphHandlerTable& table) {
    EXPECT_TRUE(table.empty());
    table[Beam] = &MakeFake<2>;
    table[Pipe] = &MakeFake<2>;
}

void* Address(BASE::GraphHandlerCreaterProc proc) {
    void* address;
    std::memcpy(&address, &proc, sizeof(address));
    return address;
}

class FakeHost : public APP::IAppDllInstanceMgr {
public:
    void* GetDllProcAddress(const CString& path, const char* entry) override {
        calls.emplace_back(path, entry ? std::string(entry) : std::string("(null)"));
        const auto found = answers.find(path);
        return found == answers.end() ? nullptr : found->second;
    }

    std::vector<CString> Paths() const {
        std::vector<CString> paths;
        for (const auto& call : calls) paths.push_back(call.first);
        return paths;
    }

    std::map<CString, void*> answers;
    std::vector<std::pair<CString, std::string>> calls;
};

class GraphsConfigTest : public ::testing::Test {
protected:
    CString WriteList(const std::string& ini) {
        return testing_support::TempDir::Wide(dir_.Write("Plugins.ini", ini));
    }

    // The maker of the handler for `type`, 0 for a null handler.
    static int MakerOf(CGraphsConfig& registry, EKADOComponentType type) {
        std::unique_ptr<BASE::IGraphHandler> handler(registry.CreateGraphHandler(type));
        return handler ? static_cast<FakeHandler&>(*handler).maker : 0;
    }

    testing_support::TempDir dir_;
    testing_support::ReportCapture capture_;
};

TEST_F(GraphsConfigTest, AsksTheHostForEveryListedLibraryInOrder) {
    const CString list =
        WriteList("[Main]\nFileCount=3\n[List]\n0=Plug\\A.dll\n2=Plug\\C.dll\n1=B.dll\n");
    FakeHost host;
    CGraphsConfig registry(L"C:\\App\\", list, &host);

    const std::vector<CString> expected = {L"C:\\App\\Plug\\A.dll", L"C:\\App\\B.dll",
                                           L"C:\\App\\Plug\\C.dll"};
    EXPECT_EQ(host.Paths(), expected);
    for (const auto& call : host.calls) EXPECT_EQ(call.second, "GraphHandlerCreater");
    EXPECT_TRUE(capture_.reports.empty());
}

TEST_F(GraphsConfigTest, LibraryPathIsFolderAndValueJoinedAsTheyStand) {
    const struct {
        const wchar_t* folder;
        const char* value;
        const wchar_t* path;
    } cases[] = {
        {L"C:\\App", "Plug\\A.dll", L"C:\\AppPlug\\A.dll"},
        {L"C:\\App\\", "Plug\\A.dll", L"C:\\App\\Plug\\A.dll"},
        {L"C:\\App", "\\Plug\\A.dll", L"C:\\App\\Plug\\A.dll"},
        {L"", "Plug\\A.dll", L"Plug\\A.dll"},
        {L"/opt/app/", "\"lib a.so\"", L"/opt/app/lib a.so"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        FakeHost host;
        CGraphsConfig registry(
            c.folder, WriteList(std::string("[Main]\nFileCount=1\n[List]\n0=") + c.value), &host);
        EXPECT_EQ(host.Paths(), std::vector<CString>{c.path});
    }
    EXPECT_TRUE(capture_.reports.empty());
}

TEST_F(GraphsConfigTest, EmptyOrMissingEntryPassesTheFolderAloneAndReports) {
    const CString list = WriteList("[Main]\nFileCount=4\n[List]\n0=a.so\n1=\n3=   \n");
    FakeHost host;
    CGraphsConfig registry(L"/app/", list, &host);

    const std::vector<CString> expected = {L"/app/a.so", L"/app/", L"/app/", L"/app/"};
    EXPECT_EQ(host.Paths(), expected);
    EXPECT_EQ(capture_.Count(kSource, line::kPluginEntryEmpty), 3);
    EXPECT_EQ(capture_.reports.size(), 3u);
    for (const auto& report : capture_.reports) {
        EXPECT_TRUE(report.message.IsEmpty());
        EXPECT_EQ(report.context, list);
    }
}

TEST_F(GraphsConfigTest, LongEntryIsCutTo255Characters) {
    const std::string value(300, 'x');
    FakeHost host;
    CGraphsConfig registry(L"/app/",
                           WriteList("[Main]\nFileCount=1\n[List]\n0=" + value.substr(0, 250) +
                                     "12345" + "tail-that-is-lost" + value.substr(0, 28)),
                           &host);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].first, L"/app/" + CString(std::wstring(250, L'x') + L"12345"));
    EXPECT_TRUE(capture_.reports.empty());
}

TEST_F(GraphsConfigTest, ListNamingNoLibraryReportsOnceAndAsksNothing) {
    const struct {
        const char* what;
        const char* ini;  // null: no file at all
        int reports;
    } cases[] = {
        {"missing file", nullptr, 1},
        {"no Main section", "[List]\n0=a.so\n", 1},
        {"no FileCount", "[Main]\nOther=1\n[List]\n0=a.so\n", 1},
        {"FileCount zero", "[Main]\nFileCount=0\n[List]\n0=a.so\n", 1},
        {"FileCount not a number", "[Main]\nFileCount=many\n[List]\n0=a.so\n", 1},
        {"FileCount negative", "[Main]\nFileCount=-2\n[List]\n0=a.so\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        capture_.Clear();
        const CString list = c.ini ? WriteList(c.ini) : dir_.WPath("none.ini");
        FakeHost host;
        CGraphsConfig registry(L"/app/", list, &host);
        EXPECT_TRUE(host.calls.empty());
        EXPECT_EQ(capture_.Count(kSource, line::kPluginCountZero), c.reports);
        EXPECT_EQ(capture_.reports.size(), static_cast<size_t>(c.reports));

        // Without a host, too: it is never needed.
        CGraphsConfig hostless(L"/app/", list, nullptr);
        EXPECT_EQ(hostless.CreateGraphHandler(Wall), nullptr);
    }
}

TEST_F(GraphsConfigTest, ListIsMatchedWithoutRegardToCaseAndBlanks) {
    FakeHost host;
    CGraphsConfig registry(L"/app/",
                           WriteList("[MAIN]\n  filecount = 2 \n[list]\n 0 = a.so\n1=b.so"), &host);
    EXPECT_EQ(host.Paths(), (std::vector<CString>{L"/app/a.so", L"/app/b.so"}));
    EXPECT_TRUE(capture_.reports.empty());
}

TEST_F(GraphsConfigTest, EarlierLibraryKeepsASharedType) {
    const CString list = WriteList("[Main]\nFileCount=3\n[List]\n0=one\n1=none\n2=two\n");
    FakeHost host;
    host.answers[L"/app/one"] = Address(&CreaterOne);
    host.answers[L"/app/two"] = Address(&CreaterTwo);
    CGraphsConfig registry(L"/app/", list, &host);

    EXPECT_EQ(MakerOf(registry, Wall), 1);
    EXPECT_EQ(MakerOf(registry, Beam), 1);
    EXPECT_EQ(MakerOf(registry, Pipe), 2);
    EXPECT_TRUE(capture_.reports.empty());

    // Listed the other way round, the other library wins.
    FakeHost reversed;
    reversed.answers = host.answers;
    CGraphsConfig swapped(L"/app/", WriteList("[Main]\nFileCount=2\n[List]\n0=two\n1=one\n"),
                          &reversed);
    EXPECT_EQ(MakerOf(swapped, Beam), 2);
    EXPECT_EQ(MakerOf(swapped, Wall), 1);
}

TEST_F(GraphsConfigTest, UnknownTypeReportsItsNumber) {
    FakeHost host;
    host.answers[L"/app/one"] = Address(&CreaterOne);
    CGraphsConfig registry(L"/app/", WriteList("[Main]\nFileCount=1\n[List]\n0=one\n"), &host);

    const struct {
        EKADOComponentType type;
        const wchar_t* message;
    } cases[] = {
        {Pipe, L"create graphhandler failed:8"},
        {OtherComponentType, L"create graphhandler failed:3211"},
        {InvalidComponentType, L"create graphhandler failed:2147483647"},
        {static_cast<EKADOComponentType>(-5), L"create graphhandler failed:-5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        capture_.Clear();
        EXPECT_EQ(registry.CreateGraphHandler(c.type), nullptr);
        ASSERT_EQ(capture_.reports.size(), 1u);
        EXPECT_EQ(capture_.reports[0].file, kSource);
        EXPECT_EQ(capture_.reports[0].line, line::kCreateGraphHandler);
        EXPECT_EQ(capture_.reports[0].message, c.message);
    }
}

TEST_F(GraphsConfigTest, EveryCallMakesANewHandler) {
    FakeHost host;
    host.answers[L"/app/one"] = Address(&CreaterOne);
    CGraphsConfig registry(L"/app/", WriteList("[Main]\nFileCount=1\n[List]\n0=one\n"), &host);
    std::unique_ptr<BASE::IGraphHandler> first(registry.CreateGraphHandler(Wall));
    std::unique_ptr<BASE::IGraphHandler> second(registry.CreateGraphHandler(Wall));
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
}

TEST_F(GraphsConfigTest, CopiesAnswerAsTheOriginal) {
    FakeHost host;
    host.answers[L"/app/one"] = Address(&CreaterOne);
    host.answers[L"/app/two"] = Address(&CreaterTwo);
    CGraphsConfig original(L"/app/", WriteList("[Main]\nFileCount=2\n[List]\n0=two\n1=one\n"),
                           &host);
    CGraphsConfig copy(original);
    CGraphsConfig assigned(L"/app/", dir_.WPath("none.ini"), nullptr);
    assigned = original;
    CGraphsConfig& alias = original;
    original = alias;

    capture_.Clear();
    for (EKADOComponentType type : {Wall, Beam, Pipe, Slab}) {
        SCOPED_TRACE(type);
        const int maker = MakerOf(original, type);
        EXPECT_EQ(MakerOf(copy, type), maker);
        EXPECT_EQ(MakerOf(assigned, type), maker);
    }
    EXPECT_EQ(capture_.Count(kSource, line::kCreateGraphHandler), 3);  // Slab, three times

    // Assigning an empty registry empties the target.
    assigned = CGraphsConfig(L"/app/", dir_.WPath("none.ini"), nullptr);
    EXPECT_EQ(MakerOf(assigned, Wall), 0);
}

TEST_F(GraphsConfigTest, HugeCountIsReadOnlyUpToALimit) {
    FakeHost host;
    CGraphsConfig registry(L"/app/", WriteList("[Main]\nFileCount=2147483647\n[List]\n0=a\n"),
                           &host);
    EXPECT_EQ(host.calls.size(), 4096u);
    EXPECT_EQ(capture_.Count(kSource, line::kPluginEntryEmpty), 4095);
    EXPECT_EQ(capture_.diagnostics.size(), 1u);
}

TEST_F(GraphsConfigTest, PathCollectionAppends) {
    std::vector<CString> paths = {L"kept"};
    CONFIG::CGraphsConfigImpl::GetAllPlugDllPath(
        L"D:\\App\\", WriteList("[Main]\nFileCount=1\n[List]\n0=x.dll\n"), paths);
    EXPECT_EQ(paths, (std::vector<CString>{L"kept", L"D:\\App\\x.dll"}));
}

// --- Real plug-ins through the ready host -----------------------------------------------------

class GraphsConfigPluginTest : public GraphsConfigTest {
protected:
    // The library that made the handler for `type` ("" for none), checking the handler's type.
    static std::string LibraryOf(CGraphsConfig& registry, EKADOComponentType type) {
        std::unique_ptr<BASE::IGraphHandler> handler(registry.CreateGraphHandler(type));
        if (!handler) return "";
        const auto& made = static_cast<testplugins::TestGraphHandler&>(*handler);
        EXPECT_EQ(made.Type(), type);
        return made.Library();
    }

    static CString PluginDir() {
        return testing_support::TempDir::Wide(SITECONFIG_TEST_PLUGIN_DIR);
    }

    CString List(const std::vector<std::string>& names) {
        std::string ini = "[Main]\nFileCount=" + std::to_string(names.size()) + "\n[List]\n";
        for (size_t i = 0; i < names.size(); ++i) ini += std::to_string(i) + "=" + names[i] + "\n";
        return WriteList(ini);
    }

    // Declared first: the libraries outlive every registry and handler of a test.
    APP::CAppDllInstanceMgr host_;
};

TEST_F(GraphsConfigPluginTest, HandlersComeFromTheRightLibrary) {
    CGraphsConfig registry(
        PluginDir(),
        List({SITECONFIG_TEST_PLUGIN_A, SITECONFIG_TEST_PLUGIN_NO_ENTRY, SITECONFIG_TEST_PLUGIN_B}),
        &host_);

    EXPECT_EQ(LibraryOf(registry, Wall), "A");  // B registers it too, later in the list
    EXPECT_EQ(LibraryOf(registry, Beam), "A");
    EXPECT_EQ(LibraryOf(registry, Column), "B");
    EXPECT_EQ(LibraryOf(registry, Slab), "");   // A's factory makes nothing
    EXPECT_EQ(LibraryOf(registry, Fence), "");  // B registered no factory
    EXPECT_TRUE(capture_.reports.empty());

    EXPECT_EQ(LibraryOf(registry, Road), "");  // only the library without the entry makes roads
    EXPECT_EQ(capture_.Count(kSource, line::kCreateGraphHandler), 1);
    EXPECT_EQ(capture_.reports.size(), 1u);
}

TEST_F(GraphsConfigPluginTest, ListOrderDecidesASharedType) {
    CGraphsConfig registry(PluginDir(), List({SITECONFIG_TEST_PLUGIN_B, SITECONFIG_TEST_PLUGIN_A}),
                           &host_);
    EXPECT_EQ(LibraryOf(registry, Wall), "B");
    EXPECT_EQ(LibraryOf(registry, Beam), "A");
}

TEST_F(GraphsConfigPluginTest, MissingLibraryIsSkippedWithoutReport) {
    CGraphsConfig registry(PluginDir(), List({"NoSuchPlugin.so", SITECONFIG_TEST_PLUGIN_B}),
                           &host_);
    EXPECT_EQ(LibraryOf(registry, Wall), "B");
    EXPECT_TRUE(capture_.reports.empty());
}

TEST_F(GraphsConfigPluginTest, CopyKeepsCallingTheLibrariesFactories) {
    std::unique_ptr<CGraphsConfig> copy;
    {
        CGraphsConfig registry(PluginDir(), List({SITECONFIG_TEST_PLUGIN_A}), &host_);
        copy = std::make_unique<CGraphsConfig>(registry);
    }
    EXPECT_EQ(LibraryOf(*copy, Wall), "A");
}

}  // namespace
