#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include <siteconfig/GraphHandler.h>
#include "TestGraphHandler.h"
#include "TestSupport.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

using testing_support::TempDir;

constexpr char kEntry[] = "GraphHandlerCreater";

CString PluginPath(const char* name) {
    return TempDir::Wide(std::string(SITECONFIG_TEST_PLUGIN_DIR) + name);
}

BASE::GraphHandlerCreaterProc AsCreater(void* address) {
    BASE::GraphHandlerCreaterProc creater;
    std::memcpy(&creater, &address, sizeof(creater));
    return creater;
}

class AppDllInstanceMgrTest : public ::testing::Test {
protected:
    testing_support::ReportCapture capture_;
};

TEST_F(AppDllInstanceMgrTest, ResolvesAnExportedEntry) {
    APP::CAppDllInstanceMgr host;
    void* address = host.GetDllProcAddress(PluginPath(SITECONFIG_TEST_PLUGIN_A), kEntry);
    ASSERT_NE(address, nullptr);

    BASE::GraphHandlerTable table;
    AsCreater(address)(table);
    ASSERT_EQ(table.count(KADO::Product::Wall), 1u);
    std::unique_ptr<BASE::IGraphHandler> handler(table[KADO::Product::Wall]());
    EXPECT_STREQ(static_cast<testplugins::TestGraphHandler&>(*handler).Library(), "A");

    // Asked again, the library already loaded answers the same address.
    EXPECT_EQ(host.GetDllProcAddress(PluginPath(SITECONFIG_TEST_PLUGIN_A), kEntry), address);
    EXPECT_TRUE(capture_.reports.empty());
    EXPECT_TRUE(capture_.diagnostics.empty());
}

TEST_F(AppDllInstanceMgrTest, AnswersNullForWhatItCannotFind) {
    APP::CAppDllInstanceMgr host;
    const CString noEntry = PluginPath(SITECONFIG_TEST_PLUGIN_NO_ENTRY);
    EXPECT_EQ(host.GetDllProcAddress(noEntry, kEntry), nullptr);
    EXPECT_NE(host.GetDllProcAddress(noEntry, "GraphHandlerCreator"), nullptr);  // it did load
    EXPECT_EQ(host.GetDllProcAddress(PluginPath(SITECONFIG_TEST_PLUGIN_A), nullptr), nullptr);
    EXPECT_TRUE(capture_.diagnostics.empty());

    // Libraries that cannot be loaded are diagnosed, never reported.
    EXPECT_EQ(host.GetDllProcAddress(PluginPath("NoSuchPlugin.so"), kEntry), nullptr);
    EXPECT_EQ(host.GetDllProcAddress(PluginPath(""), kEntry), nullptr);  // the folder itself
    EXPECT_EQ(capture_.diagnostics.size(), 2u);
    EXPECT_EQ(host.GetDllProcAddress(L"", kEntry), nullptr);  // would be the program itself
    EXPECT_TRUE(capture_.reports.empty());
}

TEST_F(AppDllInstanceMgrTest, FindsAWindowsAuthoredPath) {
    std::string folder = SITECONFIG_TEST_PLUGIN_DIR;
    for (char& c : folder) {
        if (c == '/') c = '\\';
    }
    APP::CAppDllInstanceMgr host;
    EXPECT_NE(host.GetDllProcAddress(TempDir::Wide(folder + SITECONFIG_TEST_PLUGIN_B), kEntry),
              nullptr);
}

// Whether the test plug-in `name` is loaded in this process now.
bool IsLoaded(const char* name) {
#if defined(_WIN32)
    return GetModuleHandleW(TempDir::Wide(name).GetString()) != nullptr;
#else
    const std::string native = std::string(SITECONFIG_TEST_PLUGIN_DIR) + name;
    void* handle = dlopen(native.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
#endif
}

TEST_F(AppDllInstanceMgrTest, KeepsLibrariesLoadedWhileItLives) {
    APP::CAppDllInstanceMgr host;
    void* address = host.GetDllProcAddress(PluginPath(SITECONFIG_TEST_PLUGIN_B), kEntry);
    ASSERT_NE(address, nullptr);
    ASSERT_NE(host.GetDllProcAddress(PluginPath(SITECONFIG_TEST_PLUGIN_A), kEntry), nullptr);
    EXPECT_EQ(host.GetDllProcAddress(PluginPath(SITECONFIG_TEST_PLUGIN_B), kEntry), address);
    EXPECT_TRUE(IsLoaded(SITECONFIG_TEST_PLUGIN_B));

    // The entry and the factories it hands out stay callable as long as the host lives.
    BASE::GraphHandlerTable table;
    AsCreater(address)(table);
    std::unique_ptr<BASE::IGraphHandler> handler(table.at(KADO::Product::Column)());
    EXPECT_STREQ(static_cast<testplugins::TestGraphHandler&>(*handler).Library(), "B");
    EXPECT_TRUE(IsLoaded(SITECONFIG_TEST_PLUGIN_B));
    // Whether a library is unloaded after the host is the system's business: glibc keeps one
    // that defines a unique symbol (an inline variable of the standard library, say) for good.
}

#if defined(_WIN32)
TEST_F(AppDllInstanceMgrTest, FreesItsLibrariesWhenDestroyed) {
    {
        APP::CAppDllInstanceMgr host;
        ASSERT_NE(host.GetDllProcAddress(PluginPath(SITECONFIG_TEST_PLUGIN_A), kEntry), nullptr);
        EXPECT_TRUE(IsLoaded(SITECONFIG_TEST_PLUGIN_A));
    }
    EXPECT_FALSE(IsLoaded(SITECONFIG_TEST_PLUGIN_A));  // FreeLibrary, once per load
}
#endif

}  // namespace
