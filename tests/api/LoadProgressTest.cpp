// A host hears how far a load has come: each file of each part, in file order, on the loading
// thread, the same whatever the number of load threads; and nothing once the sink is removed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include <siteconfig/SiteConfig.h>
#include "TestSupport.h"

namespace {

using testing_support::TempDir;

struct Heard {
    std::vector<std::string> steps;  // "part done/total"
    bool elsewhere = false;          // a call came on another thread
};

void LoadExample() {
    const std::string root = SITECONFIG_EXAMPLE_DIR;
    const auto path = [&root](const char* part) { return TempDir::Wide(root + "/" + part); };
    const CONFIG::CPropertiesConfig config(
        path("Definitions/"), path("Display/"), path("Templates/"), path("Models/"),
        path("GraphLibs/GraphLib1.xml"), path("GraphLibs/GraphLib2.xml"), path("ShapePool/"));
}

Heard LoadAndListen(int threads) {
    CONFIG::SetLoadThreads(threads);
    Heard heard;
    const std::thread::id loading = std::this_thread::get_id();
    const CONFIG::LoadProgressSink previous =
        CONFIG::SetLoadProgressSink([&](const CONFIG::LoadProgress& progress) {
            heard.elsewhere = heard.elsewhere || std::this_thread::get_id() != loading;
            heard.steps.push_back(TOOLS::Utf8FromWide(progress.partName) + " " +
                                  std::to_string(progress.done) + "/" +
                                  std::to_string(progress.total));
        });
    EXPECT_FALSE(previous);  // none installed before
    LoadExample();
    CONFIG::SetLoadProgressSink(nullptr);
    CONFIG::SetLoadThreads(0);
    return heard;
}

TEST(LoadProgressTest, EachFileOfEachPartInOrderOnTheLoadingThread) {
    const Heard one = LoadAndListen(1);
    EXPECT_FALSE(one.elsewhere);
    // Parts in load order, each counting its files up to its total.
    std::vector<std::string> parts;
    for (size_t i = 0; i < one.steps.size(); ++i) {
        const std::string& step = one.steps[i];
        const std::string part = step.substr(0, step.rfind(' '));
        const std::string count = step.substr(step.rfind(' ') + 1);
        const size_t done = std::stoul(count.substr(0, count.find('/')));
        const size_t total = std::stoul(count.substr(count.find('/') + 1));
        if (parts.empty() || parts.back() != part) {
            parts.push_back(part);
            EXPECT_EQ(done, 1u) << step;
        } else {
            EXPECT_EQ(one.steps[i - 1],
                      part + " " + std::to_string(done - 1) + "/" + std::to_string(total));
        }
        EXPECT_LE(done, total) << step;
    }
    EXPECT_EQ(parts,
              (std::vector<std::string>{"definitions", "shape pool", "templates", "property models",
                                        "edit views", "graph libraries"}));
    EXPECT_NE(std::find(one.steps.begin(), one.steps.end(), "definitions 12/12"), one.steps.end());
    EXPECT_EQ(one.steps.back(), "graph libraries 2/2");

    for (const int threads : {2, 3}) {
        SCOPED_TRACE(threads);
        const Heard many = LoadAndListen(threads);
        EXPECT_FALSE(many.elsewhere);
        EXPECT_EQ(many.steps, one.steps);
    }
}

TEST(LoadProgressTest, ARemovedSinkHearsNothing) {
    int calls = 0;
    CONFIG::SetLoadProgressSink([&](const CONFIG::LoadProgress&) { ++calls; });
    const CONFIG::LoadProgressSink previous = CONFIG::SetLoadProgressSink(nullptr);
    EXPECT_TRUE(previous);  // the sink just installed
    LoadExample();
    EXPECT_EQ(calls, 0);
}

}  // namespace
