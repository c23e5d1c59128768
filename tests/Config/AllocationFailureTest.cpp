// Makes one allocation fail at a time across loading the example folder, copying the
// configuration and reading its settings: each run must either finish or throw std::bad_alloc,
// and must free everything it allocated. This executable replaces the global operator new and
// delete with counting versions.
#include <siteconfig/SiteConfig.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

#if !defined(_WIN32)
#include <dlfcn.h>
#endif

#include "TestSupport.h"

namespace {

// The test runs on one thread; nothing else allocates while a run is armed.
long long g_live = 0;     // allocations not yet freed
long long g_counted = 0;  // allocations asked for since the last Arm
long long g_failAt = 0;   // the one that throws (1-based); 0 never
bool g_armed = false;

void Arm(long long failAt) {
    g_counted = 0;
    g_failAt = failAt;
    g_armed = true;
}

long long Disarm() {
    g_armed = false;
    return g_counted;
}

#if defined(_WIN32)
void* NextNew(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block) throw std::bad_alloc();
    return block;
}
void NextDelete(void* block) { std::free(block); }
#else
// The functions these replace (the standard library's, or a tool's in their place). Under
// valgrind the standard library's own calls reach valgrind's operator new directly, so every
// block is handed to that family to be freed; plain malloc and free would not match it.
template <typename Function>
Function Next(const char* name) {
    void* address = dlsym(RTLD_NEXT, name);
    Function function;
    static_assert(sizeof(function) == sizeof(address), "function addresses are data-sized");
    std::memcpy(&function, &address, sizeof(function));
    return function;
}
static_assert(std::is_same<std::size_t, unsigned long>::value, "the names below mangle it so");
void* NextNew(std::size_t size) {
    static const auto next = Next<void* (*)(std::size_t)>("_Znwm");
    return next(size);
}
void NextDelete(void* block) {
    static const auto next = Next<void (*)(void*)>("_ZdlPv");
    next(block);
}
#endif

void* AllocateOrThrow(std::size_t size) {
    if (g_armed && ++g_counted == g_failAt) throw std::bad_alloc();
    void* block = NextNew(size);
    ++g_live;
    return block;
}

void* Allocate(std::size_t size) noexcept {
    try {
        return AllocateOrThrow(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void Free(void* block) {
    if (!block) return;
    --g_live;
    NextDelete(block);
}

}  // namespace

// Over-aligned allocations keep the standard library's functions: nothing here needs them.
void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { Free(block); }
void operator delete[](void* block) noexcept { Free(block); }
void operator delete(void* block, std::size_t) noexcept { Free(block); }
void operator delete[](void* block, std::size_t) noexcept { Free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Free(block); }

namespace {

const std::string kExample = SITECONFIG_TEST_DATA_DIR "../../examples/site-layout/";

CString ExamplePath(const std::string& relative) {
    return testing_support::TempDir::Wide(kExample + relative);
}

// Valgrind preloads its own allocation functions.
bool UnderValgrind() {
    const char* preload = std::getenv("LD_PRELOAD");
    return preload && std::strstr(preload, "vgpreload") != nullptr;
}

// The steps of one run, in order; a failure is attributed to the step that was running.
enum class Step { kLoad, kCopy, kAssign, kSettings, kDone };

const char* StepName(Step step) {
    switch (step) {
        case Step::kLoad:
            return "load";
        case Step::kCopy:
            return "copy";
        case Step::kAssign:
            return "assignment";
        case Step::kSettings:
            return "settings";
        case Step::kDone:
            break;
    }
    return "done";
}

class AllocationFailureTest : public testing::Test {
protected:
    void SetUp() override {
        previousLog_ = TOOLS::SetLogSink([](const TOOLS::LogReport&) {});
        previousDiagnostic_ = TOOLS::SetDiagnosticSink([](const TOOLS::Diagnostic&) {});
        paths_ = {ExamplePath("Definitions/"),
                  ExamplePath("Display/"),
                  ExamplePath("Templates/"),
                  ExamplePath("Models/"),
                  ExamplePath("GraphLibs/GraphLib1.xml"),
                  ExamplePath("GraphLibs/GraphLib2.xml"),
                  ExamplePath("ShapePool/"),
                  ExamplePath("Resource.xml"),
                  ExamplePath("no-such-folder/")};
    }
    void TearDown() override {
        TOOLS::SetLogSink(std::move(previousLog_));
        TOOLS::SetDiagnosticSink(std::move(previousDiagnostic_));
    }

    // Loads the example, copies it, assigns it over a configuration of nothing and reads the
    // settings, with the failAt-th allocation failing (0: none). `step` is where it stopped.
    // The assigned-to configuration must be unchanged when the assignment throws. Returns the
    // number of allocations asked for.
    long long Run(long long failAt, Step& step) {
        std::unique_ptr<CONFIG::CPropertiesConfig> target;
        {
            const CString& none = paths_[8];
            target = std::make_unique<CONFIG::CPropertiesConfig>(none, none, none, none, none, none,
                                                                 none);
        }
        CONFIG::IPropertyShow* targetShow = target->GetPropertyShowConfig();
        step = Step::kLoad;
        Arm(failAt);
        try {
            CONFIG::CPropertiesConfig config(paths_[0], paths_[1], paths_[2], paths_[3], paths_[4],
                                             paths_[5], paths_[6]);
            step = Step::kCopy;
            CONFIG::CPropertiesConfig copy(config);
            step = Step::kAssign;
            *target = copy;
            step = Step::kSettings;
            CONFIG::CResourceConfig settings;
            settings.SetAppDir(paths_[8]);
            settings.Load(paths_[7]);
            step = Step::kDone;
        } catch (const std::bad_alloc&) {
            Disarm();
            if (step == Step::kAssign) {
                EXPECT_EQ(target->GetPropertyShowConfig(), targetShow);
                EXPECT_TRUE(CONFIG::CConfigTables(*target).GetDefinitions().empty());
            }
        } catch (...) {
            Disarm();
            ADD_FAILURE() << "an exception other than std::bad_alloc";
        }
        return Disarm();
    }

    std::vector<CString> paths_;

private:
    TOOLS::LogSink previousLog_;
    TOOLS::DiagnosticSink previousDiagnostic_;
};

TEST_F(AllocationFailureTest, EveryRunFinishesOrThrowsBadAllocAndFreesEverything) {
    if (UnderValgrind()) {
        GTEST_SKIP() << "valgrind replaces operator new inside the standard library, so the "
                        "counting versions see only part of the allocations";
    }
    // Failure points are counted on one thread: the load must not spread over others.
    CONFIG::SetLoadThreads(1);
    // The first run builds what is built once (function-local tables, sink slots).
    Step step = Step::kLoad;
    Run(0, step);
    ASSERT_EQ(step, Step::kDone);

    const long long before = g_live;
    const long long total = Run(0, step);
    ASSERT_EQ(step, Step::kDone);
    ASSERT_EQ(g_live, before);
    ASSERT_GT(total, 1000);

    // Every one of the first allocations, then evenly spread points up to the last one.
    constexpr long long kFirst = 300;
    constexpr long long kSpread = 400;
    std::vector<long long> points;
    for (long long n = 1; n <= kFirst && n <= total; ++n) points.push_back(n);
    for (long long i = 1; i <= kSpread && total > kFirst; ++i) {
        points.push_back(kFirst + (total - kFirst) * i / kSpread);
    }

    int threw = 0;
    for (long long failAt : points) {
        const long long live = g_live;
        Run(failAt, step);
        if (step != Step::kDone) ++threw;
        if (g_live != live) {
            ADD_FAILURE() << "allocation " << failAt << " of " << total << " failed in the "
                          << StepName(step) << " step: " << (g_live - live)
                          << " allocations were not freed";
        }
    }
    // Some failures are absorbed (a file that cannot be read is a diagnostic), most are not.
    EXPECT_GT(threw, static_cast<int>(points.size()) / 2);
    CONFIG::SetLoadThreads(0);
}

}  // namespace
