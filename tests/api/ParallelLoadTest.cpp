// A load on several threads gives what a load on one thread gives: the same tables, the same
// sources, and the same reports and diagnostics in the same order, all on the loading thread.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <siteconfig/SiteConfig.h>
#include "TestSupport.h"

namespace {

using testing_support::TempDir;
using testing_support::Text;

const std::string kExample = SITECONFIG_EXAMPLE_DIR;
const std::string kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// Everything a load gives, as one text, and what it reported, as another.
struct Loaded {
    std::string tables;
    std::string events;
};

std::string Position(const CONFIG::SourcePosition& at) {
    return TOOLS::Utf8FromWide(at.file) + ":" + std::to_string(at.line) + ":" +
           std::to_string(at.column);
}

Loaded Load(const std::string& root, int threads) {
    CONFIG::SetLoadThreads(threads);
    const std::thread::id loading = std::this_thread::get_id();
    Loaded loaded;
    bool elsewhere = false;
    const TOOLS::LogSink previousLog = TOOLS::SetLogSink([&](const TOOLS::LogReport& report) {
        elsewhere = elsewhere || std::this_thread::get_id() != loading;
        loaded.events += "report " + TOOLS::Utf8FromWide(report.file) + ":" +
                         std::to_string(report.line) + " " + TOOLS::Utf8FromWide(report.message) +
                         " in " + TOOLS::Utf8FromWide(report.context) + "\n";
    });
    const TOOLS::DiagnosticSink previousDiagnostic =
        TOOLS::SetDiagnosticSink([&](const TOOLS::Diagnostic& diagnostic) {
            elsewhere = elsewhere || std::this_thread::get_id() != loading;
            loaded.events += "diagnostic " + TOOLS::Utf8FromWide(diagnostic.code) + " " +
                             TOOLS::Utf8FromWide(diagnostic.message) + "\n";
        });
    {
        const auto path = [&root](const char* part) { return TempDir::Wide(root + part); };
        const CONFIG::CPropertiesConfig config(
            path("Definitions/"), path("Display/"), path("Templates/"), path("Models/"),
            path("GraphLibs/GraphLib1.xml"), path("GraphLibs/GraphLib2.xml"), path("ShapePool/"));
        const CONFIG::CConfigTables tables(config);
        std::string& text = loaded.tables;
        for (const auto& [type, definition] : tables.GetDefinitions()) {
            text += std::to_string(type) + " " + Text(definition) + "\n";
        }
        text += Text(tables.GetShapePool()) + Text(tables.GetTemplates()) +
                Text(tables.GetPropModels());
        for (const auto& [type, categories] : tables.GetCategoryIndex()) {
            for (const CString& category : categories) {
                text += std::to_string(type) + " " + TOOLS::Utf8FromWide(category) + "\n";
            }
        }
        for (const CONFIG::LocationViewInfo& view : tables.GetLocationViews()) {
            text += "view " + TOOLS::Utf8FromWide(view.loc) + "\n";
            for (const CONFIG::GridShowData* group : view.view->GetGridShows()) {
                text += " group " + std::to_string(group->kind) + "\n";
                for (const CONFIG::GridItemData* item : group->items) {
                    text += "  " + TOOLS::Utf8FromWide(item->name) + " " +
                            TOOLS::Utf8FromWide(item->control) + " " +
                            std::to_string(item->itemVar) + "\n";
                }
            }
        }
        const CONFIG::ConfigSources sources = tables.GetSources();
        for (const auto& [type, at] : sources.definitions) text += Position(at) + "\n";
        for (const auto* list : {&sources.shapePool, &sources.templates, &sources.propModels,
                                 &sources.locationViews}) {
            for (const CONFIG::SourcePosition& at : *list) text += Position(at) + "\n";
        }
        for (const auto& groups : sources.viewItems) {
            for (const auto& items : groups) {
                for (const CONFIG::SourcePosition& at : items) text += Position(at) + "\n";
            }
        }
    }
    TOOLS::SetLogSink(previousLog);
    TOOLS::SetDiagnosticSink(previousDiagnostic);
    CONFIG::SetLoadThreads(0);
    EXPECT_FALSE(elsewhere) << "a sink was called on another thread";
    return loaded;
}

// The example, and a folder where many files define the same few types (so that which file is
// first depends on the order, not on which thread finishes first), with reports and diagnostics
// spread over its files.
class ParallelLoadTest : public testing::Test {
protected:
    void SetUp() override {
        const char* types[] = {"Wall", "Beam", "Slab", "Wal"};
        for (int i = 0; i < 60; ++i) {
            const std::string type = types[i % 4];
            const std::string bad = i % 7 == 0 ? " Length=\"1|2|3\"" : "";
            dir_.Write("Definitions/D" + std::to_string(100 + i) + "_POOL.xml",
                       kHeader + "<Property><InitName>n" + std::to_string(i) +
                           "</InitName><ClsName>" + type +
                           "</ClsName><Pool><Common><Fish Var=\"Category\" Val=\"\\a\\" + type +
                           std::to_string(i % 5) + "\"/><Fish Var=\"Width\" Val=\"" +
                           std::to_string(i) + "\"/></Common><Ins><Property clsname=\"Beam\"" +
                           bad + "/></Ins></Pool></Property>\n");
        }
        dir_.Write("Definitions/Broken_POOL.xml", "<Property><ClsName>Wall</Property>");
        std::string list = kHeader + "<filelist>\n";
        for (int i = 0; i < 40; ++i) {
            const std::string name = "t" + std::to_string(i) + ".xml";
            list += "<file>" + name + "</file>\n";
            if (i % 9 == 4) continue;  // listed, missing: a diagnostic in its turn
            dir_.Write("Templates/" + name,
                       kHeader +
                           "<Property><ClsName>Beam</ClsName><Common><Fish Var=\"Category\" "
                           "Val=\"\\t\\" +
                           std::to_string(i) + "\"/></Common><Ins><Property Width=\"" +
                           (i % 5 == 0 ? "1|2|3" : "2") + "\"/></Ins></Property>\n");
        }
        dir_.Write("Templates/filelist.cfg", list + "</filelist>\n");
        dir_.Write("Models/filelist.cfg", kHeader + "<filelist/>\n");
        // Views: 30 entries naming 12 files in an interleaved order, one missing, with reports.
        dir_.Write("Display/ItemTemplate.xml",
                   kHeader + "<Items><Item id=\"A\"><Name>from A</Name></Item></Items>\n");
        dir_.Write("Display/GridTemplate.xml",
                   kHeader +
                       "<PropEditView><GridShow><Main><Item><Name>base</Name></Item>"
                       "</Main></GridShow></PropEditView>\n");
        std::string views = kHeader + "<UI><PropEditView>\n";
        for (int i = 0; i < 30; ++i) {
            const int file = (i * 5) % 12;
            views += "<View view=\"v" + std::to_string(file) +
                     ".xml\" typeandsection=\"Beam\" "
                     "loc=\"\\a\\" +
                     std::to_string(i) + "\"/>\n";
        }
        dir_.Write("Display/PropertyLocShow.xml", views + "</PropEditView></UI>\n");
        for (int f = 0; f < 12; ++f) {
            if (f == 7) continue;  // named, missing
            const std::string bad = f % 3 == 0 ? "<ItemVar>Nope</ItemVar>" : "";
            dir_.Write("Display/v" + std::to_string(f) + ".xml",
                       kHeader + "<PropEditView><GridShow><Main ref=\"1\"><Item><Name>v" +
                           std::to_string(f) + "</Name>" + bad +
                           "<Control>Edit</Control></Item><Item id=\"" +
                           (f % 4 == 0 ? "Missing" : "A") +
                           "\"/></Main></GridShow></PropEditView>\n");
        }
        for (int i = 0; i < 30; ++i) {
            dir_.Write("ShapePool/s" + std::to_string(i) + ".xml",
                       kHeader +
                           "<Property><ClsName>Beam</ClsName><Common><Fish Var=\"Category\" "
                           "Val=\"\\s\\Beam\"/><Fish Var=\"SectionShape\" Val=\"" +
                           std::to_string(i % 12) + "\"/></Common></Property>\n");
        }
    }

    TempDir dir_;
};

TEST_F(ParallelLoadTest, SeveralThreadsLoadWhatOneThreadLoads) {
    for (const std::string& root : {kExample + "/", dir_.Folder()}) {
        SCOPED_TRACE(root);
        const Loaded one = Load(root, 1);
        EXPECT_FALSE(one.tables.empty());
        for (const int threads : {2, 3, 8}) {
            SCOPED_TRACE(threads);
            const Loaded several = Load(root, threads);
            EXPECT_EQ(several.tables, one.tables);
            EXPECT_EQ(several.events, one.events);
        }
    }
    // The generated folder reports and diagnoses in several files, so the order is tested.
    const Loaded generated = Load(dir_.Folder(), 4);
    EXPECT_NE(generated.events.find("report"), std::string::npos);
    EXPECT_NE(generated.events.find("diagnostic"), std::string::npos);
}

TEST(LoadThreads, DefaultsToTheCoresAtMostEightAndMayBeSet) {
    CONFIG::SetLoadThreads(0);
    const int byDefault = CONFIG::GetLoadThreads();
    EXPECT_GE(byDefault, 1);
    if (!std::getenv("SITECONFIG_LOAD_THREADS")) {
        EXPECT_LE(byDefault, 8);
    }
    CONFIG::SetLoadThreads(3);
    EXPECT_EQ(CONFIG::GetLoadThreads(), 3);
    CONFIG::SetLoadThreads(1000);
    EXPECT_EQ(CONFIG::GetLoadThreads(), 64);
    CONFIG::SetLoadThreads(-5);
    EXPECT_EQ(CONFIG::GetLoadThreads(), byDefault);
    CONFIG::SetLoadThreads(0);
}

}  // namespace
