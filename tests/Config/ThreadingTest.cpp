// What may run on several threads at once: loads of distinct configurations while the sinks are
// replaced, queries of one loaded configuration, and CString copies handed between threads.
// CI runs this test under ThreadSanitizer. Worker threads only record what they find; the
// assertions run on the test's own thread.
#include <siteconfig/SiteConfig.h>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "TestSupport.h"

namespace {

using CONFIG::CConfigTables;
using CONFIG::CPropertiesConfig;
using CONFIG::PropertyInsData;

const std::string kExample = SITECONFIG_TEST_DATA_DIR "../../examples/site-layout/";

CString ExamplePath(const std::string& relative) {
    return testing_support::TempDir::Wide(kExample + relative);
}

std::unique_ptr<CPropertiesConfig> LoadExample() {
    return std::make_unique<CPropertiesConfig>(
        ExamplePath("Definitions/"), ExamplePath("Display/"), ExamplePath("Templates/"),
        ExamplePath("Models/"), ExamplePath("GraphLibs/GraphLib1.xml"),
        ExamplePath("GraphLibs/GraphLib2.xml"), ExamplePath("ShapePool/"));
}

// Holds each thread until all have arrived, so that their work overlaps.
class StartGate {
public:
    explicit StartGate(int threads) : waiting_(threads) {}
    void ArriveAndWait() {
        std::unique_lock<std::mutex> lock(mutex_);
        if (--waiting_ == 0) {
            opened_.notify_all();
        } else {
            opened_.wait(lock, [this] { return waiting_ == 0; });
        }
    }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    int waiting_;
};

// Runs `work(index)` on `count` threads that start together, and waits for all of them.
void OnThreads(int count, const std::function<void(int)>& work) {
    StartGate gate(count);
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i) {
        threads.emplace_back([&gate, &work, i] {
            gate.ArriveAndWait();
            work(i);
        });
    }
    for (std::thread& thread : threads) thread.join();
}

// Keys that the configuration holds, so that the queries below find what they ask for.
struct Keys {
    std::vector<std::pair<CONFIG::EKADOComponentType, CString>> definitions;  // type, category
    std::vector<std::pair<CString, CString>> views;  // type-and-section, loc
    std::vector<CString> locs;
};

Keys KeysOf(const CPropertiesConfig& config) {
    const CConfigTables tables(config);
    Keys keys;
    for (const auto& [type, definition] : tables.GetDefinitions()) {
        keys.definitions.emplace_back(type, definition.category);
    }
    for (const CONFIG::LocationViewInfo& view : tables.GetLocationViews()) {
        for (const CString& section : view.typeAndSections) {
            if (!view.loc.IsEmpty() && !section.IsEmpty())
                keys.views.emplace_back(section, view.loc);
        }
    }
    keys.locs = tables.GetDefineLocs();
    return keys;
}

void Append(std::wstring& out, const CString& text) {
    out += text.str();
    out += L'|';
}

void Append(std::wstring& out, const PropertyInsData& data) {
    out += std::to_wstring(static_cast<int>(data.compType)) + L':';
    for (const CString* text :
         {&data.category, &data.initName, &data.sectionShape, &data.graphLibId}) {
        Append(out, *text);
    }
    for (const CONFIG::PropertyParam& param : data.params) {
        out += std::to_wstring(static_cast<int>(param.first)) + L'=' + param.second.first + L'/' +
               param.second.second + L';';
    }
    for (const PropertyInsData& child : data.children) {
        out += L'{';
        Append(out, child);
        out += L'}';
    }
}

// The answers of queries that report nothing, as one text.
std::wstring Answers(CPropertiesConfig& config, const Keys& keys) {
    std::wstring out;
    for (const auto& [type, category] : keys.definitions) {
        if (!category.IsEmpty()) out += std::to_wstring(static_cast<int>(config.GetType(category)));
        Append(out, config.GetDefaultName(type));
        PropertyInsData definition;
        config.GetPoolCompIns(type, definition);
        Append(out, definition);
        out += config.HasChildren(type) ? L"children;" : L"none;";
    }
    std::list<PropertyInsData> records;
    config.GetTemplateCompIns(records);
    for (const PropertyInsData& record : records) Append(out, record);
    config.GetPropModelCompIns(records);
    for (const PropertyInsData& record : records) Append(out, record);

    CONFIG::IPropertyShow* show = config.GetPropertyShowConfig();
    for (const auto& [typeAndSection, loc] : keys.views) {
        CONFIG::IPropEditView* view = show->GetPropEditView(typeAndSection, loc);
        for (int mode = CONFIG::kViewPouMian; mode <= CONFIG::kViewSGPaper; ++mode) {
            std::vector<CString> classes;
            if (view->GetMarkClasses(mode, classes)) {
                for (const CString& name : classes) Append(out, name);
            }
        }
        for (const CONFIG::GridShowData* group : view->GetGridShows()) {
            out += std::to_wstring(group->kind) + L'[';
            for (const CONFIG::GridItemData* item : group->items) {
                Append(out, item->name);
                Append(out, item->control);
            }
            out += L']';
        }
    }
    for (const CString& loc : keys.locs) {
        std::vector<CString> expanded;
        show->GetSectionLocs(loc, expanded);
        for (const CString& text : expanded) Append(out, text);
        out += show->IsLocShown(loc) ? L"shown;" : L"hidden;";
    }
    return out;
}

// Counts reports and diagnostics on every thread at once.
struct Counts {
    std::atomic<int> reports{0};
    std::atomic<int> diagnostics{0};
};

TOOLS::LogSink CountingLogSink(Counts& counts) {
    return [&counts](const TOOLS::LogReport&) { ++counts.reports; };
}

TOOLS::DiagnosticSink CountingDiagnosticSink(Counts& counts) {
    return [&counts](const TOOLS::Diagnostic&) { ++counts.diagnostics; };
}

// Installs counting sinks and restores the previous ones.
class ThreadingTest : public testing::Test {
protected:
    void SetUp() override {
        previousLog_ = TOOLS::SetLogSink(CountingLogSink(counts_));
        previousDiagnostic_ = TOOLS::SetDiagnosticSink(CountingDiagnosticSink(counts_));
    }
    void TearDown() override {
        TOOLS::SetLogSink(std::move(previousLog_));
        TOOLS::SetDiagnosticSink(std::move(previousDiagnostic_));
    }

    Counts counts_;

private:
    TOOLS::LogSink previousLog_;
    TOOLS::DiagnosticSink previousDiagnostic_;
};

const CString kUnknownCategory = L"\\no such\\category";

TEST_F(ThreadingTest, LoadsOnSeveralThreadsWhileOthersReplaceTheSinks) {
    const std::unique_ptr<CPropertiesConfig> reference = LoadExample();
    const Keys keys = KeysOf(*reference);
    const std::wstring expected = Answers(*reference, keys);
    ASSERT_FALSE(keys.views.empty());
    ASSERT_EQ(counts_.reports, 0);
    ASSERT_EQ(counts_.diagnostics, 0);

    constexpr int kLoaders = 3;
    constexpr int kLoadsEach = 3;
    constexpr int kSwappers = 2;
    std::atomic<int> loadersLeft{kLoaders};
    std::vector<int> wrongAnswers(kLoaders, 0);
    OnThreads(kLoaders + kSwappers, [&](int index) {
        if (index < kLoaders) {
            for (int i = 0; i < kLoadsEach; ++i) {
                const std::unique_ptr<CPropertiesConfig> config = LoadExample();
                if (Answers(*config, keys) != expected) ++wrongAnswers[index];
                // One report and one diagnostic per load, whichever sink is installed.
                config->GetType(kUnknownCategory);
                CONFIG::CResourceConfig().Load(ExamplePath("no-such-settings.xml"));
            }
            --loadersLeft;
            return;
        }
        // Every sink installed counts into the same place; some also replace themselves from
        // inside, as a sink may.
        for (int round = 0; loadersLeft > 0; ++round) {
            if (round % 2 == 0) {
                TOOLS::SetLogSink(CountingLogSink(counts_));
                TOOLS::SetDiagnosticSink(CountingDiagnosticSink(counts_));
            } else {
                Counts& counts = counts_;
                TOOLS::SetLogSink([&counts](const TOOLS::LogReport&) {
                    ++counts.reports;
                    TOOLS::SetLogSink(CountingLogSink(counts));
                });
                TOOLS::SetDiagnosticSink([&counts](const TOOLS::Diagnostic&) {
                    ++counts.diagnostics;
                    TOOLS::SetDiagnosticSink(CountingDiagnosticSink(counts));
                });
            }
            std::this_thread::yield();
        }
    });

    for (int index = 0; index < kLoaders; ++index) {
        SCOPED_TRACE(testing::Message() << "loader " << index);
        EXPECT_EQ(wrongAnswers[index], 0);
    }
    EXPECT_EQ(counts_.reports, kLoaders * kLoadsEach);
    EXPECT_EQ(counts_.diagnostics, kLoaders * kLoadsEach);
}

TEST_F(ThreadingTest, ThreadsQueryOneLoadedConfiguration) {
    const std::unique_ptr<CPropertiesConfig> config = LoadExample();
    const Keys keys = KeysOf(*config);
    const std::wstring expected = Answers(*config, keys);
    ASSERT_EQ(counts_.reports, 0);

    constexpr int kThreads = 4;
    constexpr int kRounds = 5;
    std::vector<int> wrongAnswers(kThreads, 0);
    std::vector<int> wrongCopies(kThreads, 0);
    OnThreads(kThreads, [&](int index) {
        for (int i = 0; i < kRounds; ++i) {
            if (Answers(*config, keys) != expected) ++wrongAnswers[index];
            // A query that fails reports on this thread while others report too.
            config->GetType(kUnknownCategory);
        }
        // A copy taken while others query shares the strings of the original; it dies here.
        CPropertiesConfig copy(*config);
        if (Answers(copy, keys) != expected) ++wrongCopies[index];
    });

    for (int index = 0; index < kThreads; ++index) {
        SCOPED_TRACE(testing::Message() << "thread " << index);
        EXPECT_EQ(wrongAnswers[index], 0);
        EXPECT_EQ(wrongCopies[index], 0);
    }
    EXPECT_EQ(counts_.reports, kThreads * kRounds);
    EXPECT_EQ(Answers(*config, keys), expected);
}

TEST(ThreadingCStringTest, CopiesAreChangedAndReleasedOnOtherThreads) {
    std::vector<CString> originals;
    for (int i = 0; i < 200; ++i) {
        CString text;
        text.Format(L"\\基本构件\\墙\\%d", i);
        originals.push_back(text);
    }
    const std::vector<CString> texts = originals;  // never changed: compared at the end
    constexpr int kThreads = 4;
    std::vector<int> wrong(kThreads + 1, 0);
    OnThreads(kThreads + 1, [&](int index) {
        if (index == kThreads) {
            // The last owner of many buffers is then some other thread.
            originals.clear();
            return;
        }
        std::vector<CString> mine = texts;
        for (size_t i = 0; i < mine.size(); ++i) {
            CString changed = mine[i];
            changed += L"!";
            if (changed != texts[i] + L"!" || mine[i] != texts[i]) ++wrong[index];
            CString rewritten = mine[i];
            wchar_t* buffer = rewritten.GetBufferSetLength(2);
            buffer[1] = L'x';
            rewritten.ReleaseBuffer();
            if (rewritten != CString(L"\\x") || mine[i] != texts[i]) ++wrong[index];
            if (index % 2 == 0) mine[i] = CString();  // release in a different order per thread
        }
    });
    for (int index = 0; index < kThreads; ++index) {
        SCOPED_TRACE(testing::Message() << "thread " << index);
        EXPECT_EQ(wrong[index], 0);
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        CString expected;
        expected.Format(L"\\基本构件\\墙\\%d", static_cast<int>(i));
        EXPECT_EQ(texts[i], expected);
    }
}

}  // namespace
