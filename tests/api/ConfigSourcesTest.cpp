// Where the records of a loaded configuration were read: every position names the file and the
// line and column of the record's own element.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <siteconfig/SiteConfig.h>
#include "TestSupport.h"

namespace {

using CONFIG::CConfigTables;
using CONFIG::ConfigSources;
using CONFIG::SourcePosition;
using testing_support::TempDir;

const std::string kData = SITECONFIG_TEST_DATA_DIR;

// The text of `position`'s line from its column on. The column counts characters: in UTF-8
// every byte but a continuation byte starts one. (A GB-encoded file of the test data has only
// blanks before a tag, so its bytes count the same.)
std::string TextAt(const SourcePosition& position) {
    std::string path = TOOLS::Utf8FromWide(position.file);
#ifndef _WIN32
    // Paths keep the separators the configuration wrote; the library opens "\" as "/" here.
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    std::ifstream in(TempDir::Native(path), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t at = 0;
    for (int line = 1; line < position.line; ++line) {
        at = text.find('\n', at);
        if (at == std::string::npos) return std::string();
        ++at;
    }
    for (int column = 1; column < position.column && at < text.size(); ++column) {
        do {
            ++at;
        } while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80);
    }
    const size_t end = text.find('\n', at);
    return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

// Whether `position` stands on the start tag of `tag` ("<Tag" then a blank, ">" or "/").
::testing::AssertionResult StandsOn(const SourcePosition& position, const std::string& tag) {
    const std::string text = TextAt(position);
    const std::string start = "<" + tag;
    if (position.line > 0 && text.compare(0, start.size(), start) == 0 &&
        text.find_first_of(" \t\r/>", start.size()) == start.size()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << TOOLS::Utf8FromWide(position.file) << ":" << position.line << ":" << position.column
           << " holds \"" << text << "\", not <" << tag;
}

CONFIG::CPropertiesConfig LoadTestData() {
    auto path = [](const std::string& relative) { return TempDir::Wide(kData + relative); };
    return CONFIG::CPropertiesConfig(path("site/Definitions/"), path("display/"),
                                     path("site/Templates/"), path("site/Models/"),
                                     path("site/GraphLibs/structure.xml"),
                                     path("site/GraphLibs/site.xml"), path("site/ShapePool/"));
}

// Every record of a complete configuration, read in UTF-8 and GB2312 files, points at the start
// tag of its own element, and each list of positions is as long as its table.
TEST(ConfigSources, EveryRecordStandsOnItsElement) {
    testing_support::ReportCapture capture;
    const CONFIG::CPropertiesConfig config = LoadTestData();
    const CConfigTables tables(config);
    const ConfigSources sources = tables.GetSources();

    ASSERT_EQ(sources.definitions.size(), tables.GetDefinitions().size());
    for (const auto& [type, position] : sources.definitions) {
        EXPECT_TRUE(StandsOn(position, "Property"));
    }
    ASSERT_EQ(sources.shapePool.size(), tables.GetShapePool().size());
    for (const SourcePosition& position : sources.shapePool) {
        EXPECT_TRUE(StandsOn(position, "Property"));
    }
    const auto templates = tables.GetTemplates();
    ASSERT_EQ(sources.templates.size(), templates.size());
    auto record = templates.begin();
    size_t models = 0;
    for (const SourcePosition& position : sources.templates) {
        // Graph-library models come last and name the library's "Model" element.
        const bool model = position.file.Find(L"GraphLibs") >= 0;
        models += model ? 1 : 0;
        EXPECT_TRUE(StandsOn(position, model ? "Model" : "Property"));
        if (model) {
            EXPECT_NE(TextAt(position).find(TOOLS::Utf8FromWide(record->graphLibId)),
                      std::string::npos);
        }
        ++record;
    }
    EXPECT_GT(models, 0u);
    ASSERT_EQ(sources.propModels.size(), tables.GetPropModels().size());
    for (const SourcePosition& position : sources.propModels) {
        EXPECT_TRUE(StandsOn(position, "Property"));
    }

    ASSERT_EQ(sources.defineLocs.size(), tables.GetDefineLocs().size());
    for (const SourcePosition& position : sources.defineLocs)
        EXPECT_TRUE(StandsOn(position, "Loc"));
    ASSERT_EQ(sources.sectionSelect.size(), tables.GetSectionSelect().size());
    for (const auto& [key, position] : sources.sectionSelect)
        EXPECT_TRUE(StandsOn(position, "Loc"));
    ASSERT_EQ(sources.containers.size(), tables.GetContainers().size());
    for (const auto& [name, position] : sources.containers) {
        EXPECT_TRUE(StandsOn(position, "Container"));
    }
    const auto views = tables.GetLocationViews();
    ASSERT_EQ(sources.locationViews.size(), views.size());
    ASSERT_EQ(sources.viewItems.size(), views.size());
    for (size_t v = 0; v < views.size(); ++v) {
        EXPECT_TRUE(StandsOn(sources.locationViews[v], "View"));
        const auto& groups = views[v].view->GetGridShows();
        ASSERT_EQ(sources.viewItems[v].size(), groups.size());
        for (size_t g = 0; g < groups.size(); ++g) {
            ASSERT_EQ(sources.viewItems[v][g].size(), groups[g]->items.size());
            for (const SourcePosition& position : sources.viewItems[v][g]) {
                EXPECT_TRUE(StandsOn(position, "Item"));
            }
        }
    }
    // Positions are found without a report or a diagnostic.
    EXPECT_EQ(capture.Count(), 0);
    EXPECT_TRUE(capture.diagnostics.empty());
}

// A small folder whose records come from known lines.
class ConfigSourcesOfAFolder : public testing::Test {
protected:
    void SetUp() override {
        dir_.Write("def/a_POOL.xml",
                   "<Property>\n<InitName>first</InitName><ClsName>Wall</ClsName>\n</Property>");
        dir_.Write("def/b_POOL.xml",
                   "\n\n<Property><InitName>second</InitName><ClsName>Wall</ClsName></Property>");
        dir_.Write("display/GridTemplate.xml",
                   "<PropEditView><GridShow>\n"
                   "<Main>\n"
                   "  <Item><Name>base</Name></Item>\n"
                   "</Main></GridShow></PropEditView>");
        dir_.Write("display/PropertyLocShow.xml",
                   "<UI>\n"
                   "<PropDefineShow><Loc>\\\u5899</Loc><Loc>\\\u6881</Loc></PropDefineShow>\n"
                   "<PropEditView>\n"
                   "  <View view=\"v.xml\" typeandsection=\"Wall\" loc=\"\"/>\n"
                   "</PropEditView>\n"
                   "</UI>");
        dir_.Write("display/v.xml",
                   "<PropEditView><GridShow><Main ref=\"1\">\n"
                   "<Item><Name>own</Name></Item>\n"
                   "</Main></GridShow></PropEditView>");
        LoadConfig();
    }

    void LoadConfig() {
        config_ = std::make_unique<CONFIG::CPropertiesConfig>(
            dir_.WPath("def/"), dir_.WPath("display/"), dir_.WPath("tpl/"), dir_.WPath("mod/"),
            dir_.WPath("none1.xml"), dir_.WPath("none2.xml"), dir_.WPath("pool/"));
    }

    CString File(const std::string& relative) const { return dir_.WPath(relative); }

    testing_support::ReportCapture capture_;
    TempDir dir_;
    std::unique_ptr<CONFIG::CPropertiesConfig> config_;
};

TEST_F(ConfigSourcesOfAFolder, NamesFileLineAndColumn) {
    const CConfigTables tables(*config_);
    const ConfigSources sources = tables.GetSources();

    // The definition that won is the one whose file is named.
    ASSERT_EQ(sources.definitions.count(KADO::Product::Wall), 1u);
    const SourcePosition& wall = sources.definitions.at(KADO::Product::Wall);
    const bool first = tables.GetDefinitions().at(KADO::Product::Wall).initName == L"first";
    EXPECT_EQ(wall.file, File(first ? "def/a_POOL.xml" : "def/b_POOL.xml"));
    EXPECT_EQ(wall.line, first ? 1 : 3);
    EXPECT_EQ(wall.column, 1);

    // The column counts characters: "<Loc>\墙</Loc>" is 13 of them and 15 bytes.
    ASSERT_EQ(sources.defineLocs.size(), 2u);
    EXPECT_EQ(sources.defineLocs[0].line, 2);
    EXPECT_EQ(sources.defineLocs[0].column, 17);
    EXPECT_EQ(sources.defineLocs[1].line, 2);
    EXPECT_EQ(sources.defineLocs[1].column, 30);

    ASSERT_EQ(sources.locationViews.size(), 1u);
    EXPECT_EQ(sources.locationViews[0].file, File("display/PropertyLocShow.xml"));
    EXPECT_EQ(sources.locationViews[0].line, 4);
    EXPECT_EQ(sources.locationViews[0].column, 3);
    // The view's own item, then the one its group copies from the grid template.
    ASSERT_EQ(sources.viewItems.size(), 1u);
    ASSERT_EQ(sources.viewItems[0].size(), 1u);
    ASSERT_EQ(sources.viewItems[0][0].size(), 2u);
    EXPECT_EQ(sources.viewItems[0][0][0].file, File("display/v.xml"));
    EXPECT_EQ(sources.viewItems[0][0][0].line, 2);
    EXPECT_EQ(sources.viewItems[0][0][1].file, File("display/GridTemplate.xml"));
    EXPECT_EQ(sources.viewItems[0][0][1].line, 3);
    EXPECT_EQ(sources.viewItems[0][0][1].column, 3);
}

TEST_F(ConfigSourcesOfAFolder, CopiesKeepThemAndAddedRecordsHaveNone) {
    const CONFIG::CPropertiesConfig copy(*config_);
    const ConfigSources original = CConfigTables(*config_).GetSources();
    config_.reset();
    config_ = std::make_unique<CONFIG::CPropertiesConfig>(copy);
    config_->GetPropertyShowConfig()->AddDefineLoc(L"\\added");
    const ConfigSources sources = CConfigTables(*config_).GetSources();

    EXPECT_EQ(sources.definitions.at(KADO::Product::Wall).line,
              original.definitions.at(KADO::Product::Wall).line);
    ASSERT_EQ(sources.viewItems.size(), 1u);
    ASSERT_EQ(sources.viewItems[0][0].size(), 2u);
    EXPECT_EQ(sources.viewItems[0][0][1].line, 3);
    ASSERT_EQ(sources.defineLocs.size(), 3u);
    EXPECT_EQ(sources.defineLocs[1].column, 30);
    EXPECT_TRUE(sources.defineLocs[2].file.IsEmpty());
    EXPECT_EQ(sources.defineLocs[2].line, 0);
}

TEST_F(ConfigSourcesOfAFolder, AFileChangedSinceLoadingHasNoLines) {
    dir_.Write("display/v.xml", "<PropEditView/>");
    const ConfigSources sources = CConfigTables(*config_).GetSources();
    ASSERT_EQ(sources.viewItems.size(), 1u);
    ASSERT_EQ(sources.viewItems[0][0].size(), 2u);
    EXPECT_EQ(sources.viewItems[0][0][0].file, File("display/v.xml"));
    EXPECT_EQ(sources.viewItems[0][0][0].line, 0);
    EXPECT_EQ(sources.viewItems[0][0][1].line, 3);  // the grid template is unchanged
}

TEST(ConfigSourcesOfSettings, TheElementWhoseValueIsHeld) {
    TempDir dir;
    const std::string file = dir.Write("Resource.xml",
                                       "<Config>\n"
                                       "  <Images val=\"a\"/>\n"
                                       "  <Images val=\"b\"/> <Sounds val=\"c\"/>\n"
                                       "</Config>");
    CONFIG::CResourceConfig settings;
    ASSERT_TRUE(settings.Load(TempDir::Wide(file)));
    settings.SetAppDir(L"/app/");
    const auto sources = CConfigTables::GetResourceSources(settings);
    ASSERT_EQ(sources.size(), 3u);
    EXPECT_EQ(sources.at(L"Images").line, 3);
    EXPECT_EQ(sources.at(L"Images").column, 3);
    EXPECT_EQ(sources.at(L"Sounds").line, 3);
    EXPECT_EQ(sources.at(L"Sounds").column, 21);
    EXPECT_TRUE(sources.at(L"AppDir").file.IsEmpty());
}

}  // namespace
