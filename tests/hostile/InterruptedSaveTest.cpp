// Saving the resource settings is interrupted at every step: a write that fails, a disk that
// fills up (a tiny file-size limit), a flush or rename that fails, and a process killed before,
// during and after the rename. Every time, the settings file is afterwards either the old file
// or the new one, whole.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <siteconfig/CResourceConfig.h>
#include "TestSupport.h"

// The library's atomic replacement calls fsync and rename; these definitions take their place in
// this test program so that a test can make them fail, or end the process around them.
namespace {

enum class Step { kPass, kFail, kExitBefore, kExitAfter };
volatile Step g_fsync = Step::kPass;
volatile Step g_rename = Step::kPass;

}  // namespace

extern "C" int fsync(int fd) {
    if (g_fsync == Step::kFail) {
        errno = EIO;
        return -1;
    }
    if (g_fsync == Step::kExitBefore) ::_exit(3);
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" int rename(const char* from, const char* to) {
    if (g_rename == Step::kFail) {
        errno = EIO;
        return -1;
    }
    if (g_rename == Step::kExitBefore) ::_exit(3);
    const int result = ::renameat(AT_FDCWD, from, AT_FDCWD, to);
    if (g_rename == Step::kExitAfter) ::_exit(3);
    return result;
}

namespace {

using CONFIG::CResourceConfig;
using testing_support::ReportCapture;
using testing_support::TempDir;

const char kOldFile[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<!-- settings of the site application -->\n"
    "<Config>\n"
    "  <AppDir val=\"D:\\App\\\"/>\n"
    "  <Images val=\".\\Images\\\"/>\n"
    "  <Language val=\"zh-CN\"/>\n"
    "  <Recent val=\"D:\\Sites\\工地一.site\"/>\n"
    "</Config>\n";

const wchar_t* const kKeys[] = {L"AppDir", L"Images", L"Language", L"Recent"};

struct Settings {
    const wchar_t* values[4];
};
const Settings kOld = {{L"D:\\App\\", L".\\Images\\", L"zh-CN", L"D:\\Sites\\工地一.site"}};
const Settings kNew = {{L"E:\\Site App\\", L".\\Pictures\\", L"en-GB", L"E:\\工地二 & <三>.site"}};
const Settings kOther = {{L"F:\\", L".\\P\\", L"de", L"F:\\x.site"}};

// Loads `path` into a new store, changes every value to `settings` and saves. True when Save
// reported success.
bool SaveSettings(const std::string& path, const Settings& settings) {
    CResourceConfig store;
    if (!store.Load(TempDir::Wide(path))) return false;
    for (size_t i = 0; i < std::size(kKeys); ++i) store.SetValue(kKeys[i], settings.values[i]);
    return store.Save(TempDir::Wide(path));
}

// The bytes a save of `settings` over the old file writes, made without interruption.
std::string SavedBytes(const Settings& settings) {
    TempDir dir;
    const std::string path = dir.Write("Resource.xml", kOldFile);
    ReportCapture quiet;
    EXPECT_TRUE(SaveSettings(path, settings));
    return dir.Read("Resource.xml");
}

struct Outcome {
    bool exited = false;  // ended by _exit rather than by a signal
    int code = 0;         // exit code, or the signal
};

// Runs `body` in a child process and waits for it.
Outcome RunChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        TOOLS::SetLogSink([](const TOOLS::LogReport&) {});
        TOOLS::SetDiagnosticSink([](const TOOLS::Diagnostic&) {});
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    Outcome outcome;
    outcome.exited = WIFEXITED(status);
    outcome.code = outcome.exited ? WEXITSTATUS(status) : WTERMSIG(status);
    return outcome;
}

int SaveInChild(const std::string& path) { return SaveSettings(path, kNew) ? 0 : 1; }

class InterruptedSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldBytes_ = kOldFile;
        newBytes_ = SavedBytes(kNew);
        ASSERT_NE(newBytes_, oldBytes_);
        path_ = dir_.Write("Resource.xml", kOldFile);
    }

    // The file is the old one or the new one, byte for byte, and loads with the matching values.
    // Returns true when it is the new one.
    bool ExpectWhole(const std::string& newBytes, const Settings& settings) {
        const std::string bytes = dir_.Read("Resource.xml");
        const bool isNew = bytes == newBytes;
        EXPECT_TRUE(isNew || bytes == oldBytes_) << "the settings file is neither old nor new:\n"
                                                 << bytes;
        CResourceConfig store;
        EXPECT_TRUE(store.Load(TempDir::Wide(path_)));
        const Settings& expected = isNew ? settings : kOld;
        for (size_t i = 0; i < std::size(kKeys); ++i) {
            // A value beginning with ".\\" is answered relative to "AppDir" (the first key).
            const std::wstring value = expected.values[i];
            const std::wstring answer =
                value.rfind(L".\\", 0) == 0 ? expected.values[0] + value.substr(2) : value;
            EXPECT_EQ(store.GetValue(kKeys[i]), CString(answer));
        }
        return isNew;
    }

    // No temporary file is left beside the settings file.
    void ExpectNoLeftovers() {
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
            EXPECT_EQ(entry.path().filename(), "Resource.xml") << "left behind";
        }
    }

    void RemoveLeftovers() {
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
            if (entry.path().filename() != "Resource.xml") std::filesystem::remove(entry.path());
        }
    }

    TempDir dir_;
    std::string path_;
    std::string oldBytes_;
    std::string newBytes_;
};

TEST_F(InterruptedSaveTest, AFullDiskAtEveryByteLeavesTheOldFile) {
    // The file-size limit makes the write fail at each byte of the new file in turn.
    for (size_t limit = 0; limit <= newBytes_.size(); ++limit) {
        SCOPED_TRACE("file size limit " + std::to_string(limit));
        const Outcome outcome = RunChild([&] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit size = {limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &size);
            return SaveInChild(path_);
        });
        ASSERT_TRUE(outcome.exited);
        const bool written = ExpectWhole(newBytes_, kNew);
        EXPECT_EQ(outcome.code == 0, written);
        EXPECT_EQ(written, limit >= newBytes_.size());
        ExpectNoLeftovers();
    }
}

TEST_F(InterruptedSaveTest, AProcessKilledWhileWritingLeavesTheOldFile) {
    // Without SIGXFSZ ignored, exceeding the limit kills the process inside the write.
    for (size_t limit = 0; limit < newBytes_.size(); limit += 7) {
        SCOPED_TRACE("killed at byte " + std::to_string(limit));
        const Outcome outcome = RunChild([&] {
            ::signal(SIGXFSZ, SIG_DFL);
            const rlimit size = {limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &size);
            return SaveInChild(path_);
        });
        EXPECT_FALSE(outcome.exited);
        EXPECT_EQ(outcome.code, SIGXFSZ);
        EXPECT_FALSE(ExpectWhole(newBytes_, kNew));
        // The next save removes what the killed one left behind.
        ASSERT_TRUE(SaveSettings(path_, kNew));
        ExpectNoLeftovers();
        dir_.Write("Resource.xml", kOldFile);
    }
}

TEST_F(InterruptedSaveTest, OnlyTemporariesOfDeadWritersAreRemoved) {
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const std::string deadPid = std::to_string(dead);
    const std::string alivePid = std::to_string(::getppid());
    const std::string kept[] = {
        ".Resource.xml.tmp" + alivePid + "-0",  // a save in progress in another process
        ".Resource.xml.tmp" + deadPid,          // not a name a save writes
        ".Resource.xml.tmp" + deadPid + "-x",
        ".Other.xml.tmp" + deadPid + "-0",  // another file's
        "Resource.xml.tmp" + deadPid + "-0",
    };
    for (const std::string& name : kept) dir_.Write(name, "kept");
    dir_.Write(".Resource.xml.tmp" + deadPid + "-12", "abandoned");
    ASSERT_TRUE(SaveSettings(path_, kNew));
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
        if (entry.path().filename() != "Resource.xml") left.push_back(entry.path().filename());
    }
    std::sort(left.begin(), left.end());
    std::vector<std::string> expected(std::begin(kept), std::end(kept));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
}

TEST_F(InterruptedSaveTest, EveryStepAroundTheRename) {
    struct Case {
        const char* what;
        Step fsync;
        Step rename;
        bool exits;  // the process ends inside Save
        bool becomesNew;
    };
    const Case cases[] = {
        {"flush fails", Step::kFail, Step::kPass, false, false},
        {"killed at the flush", Step::kExitBefore, Step::kPass, true, false},
        {"rename fails", Step::kPass, Step::kFail, false, false},
        {"killed before the rename", Step::kPass, Step::kExitBefore, true, false},
        {"killed after the rename", Step::kPass, Step::kExitAfter, true, true},
        {"nothing fails", Step::kPass, Step::kPass, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir_.Write("Resource.xml", kOldFile);
        const Outcome outcome = RunChild([&] {
            g_fsync = c.fsync;
            g_rename = c.rename;
            return SaveInChild(path_);
        });
        ASSERT_TRUE(outcome.exited);
        EXPECT_EQ(outcome.code, c.exits ? 3 : (c.becomesNew ? 0 : 1));
        EXPECT_EQ(ExpectWhole(newBytes_, kNew), c.becomesNew);
        if (!c.exits) ExpectNoLeftovers();
        RemoveLeftovers();
    }
}

TEST_F(InterruptedSaveTest, AFailedSaveIsReportedAndKeepsTheStore) {
    g_rename = Step::kFail;
    ReportCapture capture;
    CResourceConfig store;
    ASSERT_TRUE(store.Load(TempDir::Wide(path_)));
    ASSERT_TRUE(store.SetValue(L"Language", L"en-GB"));
    EXPECT_FALSE(store.Save(TempDir::Wide(path_)));
    g_rename = Step::kPass;
    EXPECT_EQ(capture.reports.size(), 1u);
    EXPECT_FALSE(capture.diagnostics.empty());
    EXPECT_EQ(dir_.Read("Resource.xml"), oldBytes_);
    // The change is still held, and the next save writes it.
    EXPECT_TRUE(store.Save(TempDir::Wide(path_)));
    CResourceConfig reloaded;
    ASSERT_TRUE(reloaded.Load(TempDir::Wide(path_)));
    EXPECT_EQ(reloaded.GetValue(L"Language"), CString(L"en-GB"));
}

TEST_F(InterruptedSaveTest, AProcessKilledAtRandomMomentsWhileSaving) {
    // A child saves two sets of values in turn, without end; it is killed after a random while.
    const std::string otherBytes = SavedBytes(kOther);
    std::mt19937 random(2024);
    int sawNew = 0;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        dir_.Write("Resource.xml", kOldFile);
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child == 0) {
            TOOLS::SetLogSink([](const TOOLS::LogReport&) {});
            TOOLS::SetDiagnosticSink([](const TOOLS::Diagnostic&) {});
            for (bool flip = false;; flip = !flip) SaveSettings(path_, flip ? kOther : kNew);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        // Old, or one of the two sets, whole.
        const std::string bytes = dir_.Read("Resource.xml");
        if (bytes == otherBytes) {
            ExpectWhole(otherBytes, kOther);
        } else {
            sawNew += ExpectWhole(newBytes_, kNew) ? 1 : 0;
        }
        RemoveLeftovers();
    }
    RecordProperty("rounds_with_new_file", sawNew);
}

}  // namespace
