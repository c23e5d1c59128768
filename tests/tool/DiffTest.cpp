// siteconfig diff on the example and on near-copies of it: each change is named by table, key
// and kind, with the file and line where the record is on each side.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "CommandRunner.h"

namespace {

using namespace command_test;

// "table change key" for every entry of a diff, sorted.
std::vector<std::string> Changes(const Json& diff) {
    std::vector<std::string> changes;
    for (const auto& [table, entries] : diff.at("changes").items()) {
        for (const Json& entry : entries) {
            changes.push_back(table + " " + entry.at("change").get<std::string>() + " " +
                              entry.at("key").dump());
        }
    }
    std::sort(changes.begin(), changes.end());
    return changes;
}

std::string Change(const std::string& table, const std::string& change, const Json& key) {
    return table + " " + change + " " + key.dump();
}

const Json* FindEntry(const Json& diff, const std::string& table, const Json& key) {
    const Json& changes = diff.at("changes");
    if (!changes.contains(table)) return nullptr;
    for (const Json& entry : changes.at(table)) {
        if (entry.at("key") == key) return &entry;
    }
    return nullptr;
}

// The 1-based line of the first line of `file` that contains `text`.
int LineOf(const fs::path& file, const std::string& text) {
    std::istringstream lines(ReadFile(file));
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (line.find(text) != std::string::npos) return number;
    }
    ADD_FAILURE() << text << " not in " << file;
    return 0;
}

Json Place(const std::string& file, int line) { return {{"file", file}, {"line", line}}; }

TEST_F(SiteconfigCommand, DiffOfTheExampleWithItselfIsEmpty) {
    const Result json = Run({"--json", "diff", SITECONFIG_EXAMPLE_DIR, SITECONFIG_EXAMPLE_DIR});
    ASSERT_EQ(json.status, 0) << json.out << json.err;
    EXPECT_EQ(json.err, "");
    const Json diff = Json::parse(json.out);
    EXPECT_TRUE(diff.at("equal").get<bool>());
    EXPECT_TRUE(diff.at("changes").empty()) << json.out;

    const Result text = Run({"diff", SITECONFIG_EXAMPLE_DIR, SITECONFIG_EXAMPLE_DIR});
    EXPECT_EQ(text.status, 0) << text.out << text.err;
    EXPECT_NE(text.out.find("equal: true"), std::string::npos) << text.out;
}

TEST_F(SiteconfigCommand, DiffNamesExactlyWhatChangedWithFilesAndLines) {
    const fs::path a = SITECONFIG_EXAMPLE_DIR;
    const fs::path b = CopyExample("changed");
    Replace(b / "Definitions/Wall_POOL.xml", "Var=\"Length\" Val=\"6000\"",
            "Var=\"Length\" Val=\"6500\"");
    // A second QTZ80 template: same category (so the category index stays), its own library id.
    std::string crane = ReadFile(b / "Templates/Crane/QTZ80.xml");
    crane.replace(crane.find("GL-CRANE-QTZ80"), 14, "GL-CRANE-QTZ80B");
    WriteFile(b / "Templates/Crane/QTZ80B.xml", crane);
    Replace(b / "Templates/filelist.cfg", "<file>Scaffold.xml</file>",
            "<file>Scaffold.xml</file>\n  <file>Crane\\QTZ80B.xml</file>");
    const std::string opening = "<Loc>\\基本构件\\洞口</Loc>";
    const int openingLine = LineOf(a / "Display/PropertyLocShow.xml", opening);
    Replace(b / "Display/PropertyLocShow.xml", opening, "");

    const Result result = Run({"--json", "diff", a.string(), b.string()});
    ASSERT_EQ(result.status, 1) << result.out << result.err;
    const Json diff = Json::parse(result.out);
    EXPECT_FALSE(diff.at("equal").get<bool>());

    const Json wall = {{"type", "Wall"}};
    const Json template_ = {{"type", "TowerCrane"},
                            {"category", "\\大型机械\\塔吊\\QTZ80"},
                            {"sectionShape", "QTZ80"},
                            {"graphLibId", "GL-CRANE-QTZ80B"}};
    const Json location = {{"loc", "\\基本构件\\洞口"}};
    // The shown list starts as a copy of the defined one, so it loses the location too.
    std::vector<std::string> expected = {
        Change("definitions", "changed", wall),
        Change("templates", "added", template_),
        Change("locations.defined", "removed", location),
        Change("locations.shown", "removed", location),
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Changes(diff), expected) << result.out;

    const Json* definition = FindEntry(diff, "definitions", wall);
    ASSERT_NE(definition, nullptr);
    const int wallLine = LineOf(a / "Definitions/Wall_POOL.xml", "<Property");
    EXPECT_EQ(definition->at("where").at("a"), Place("Definitions/Wall_POOL.xml", wallLine));
    EXPECT_EQ(definition->at("where").at("b"), Place("Definitions/Wall_POOL.xml", wallLine));
    EXPECT_EQ(definition->at("fields"),
              Json::array({{{"field", "params[Length].value"}, {"old", "6000"}, {"new", "6500"}}}));

    const Json* added = FindEntry(diff, "templates", template_);
    ASSERT_NE(added, nullptr);
    EXPECT_FALSE(added->at("where").contains("a"));
    EXPECT_EQ(
        added->at("where").at("b"),
        Place("Templates/Crane/QTZ80B.xml", LineOf(b / "Templates/Crane/QTZ80B.xml", "<Property")));

    const Json* removed = FindEntry(diff, "locations.defined", location);
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(removed->at("where").at("a"), Place("Display/PropertyLocShow.xml", openingLine));
    EXPECT_FALSE(removed->at("where").contains("b"));

    // The text output names the same.
    const Result text = Run({"diff", a.string(), b.string()});
    EXPECT_EQ(text.status, 1);
    EXPECT_NE(text.out.find("params[Length].value"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("GL-CRANE-QTZ80B"), std::string::npos) << text.out;
}

// Each near-copy differs from the example in one record, which the diff names with the place
// it has on the side(s) that hold it.
TEST_F(SiteconfigCommand, DiffFindsAChangeInEveryKindOfTable) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> change;
        const char* table;
        Json key;
        const char* kind;   // added, removed, changed
        const char* field;  // for a change: a field that changed
        const char* file;   // where the record is, relative to the root
        const char* text;   // its line is the first one holding this; "" when lines are not known
    };
    const Case cases[] = {
        {"a changed setting",
         [](const fs::path& root) {
             Replace(root / "Resource.xml", "val=\"zh-CN\"", "val=\"en-US\"");
         },
         "settings",
         {{"key", "Language"}},
         "changed",
         "value",
         "Resource.xml",
         "<Language"},
        {"a plug-in list without libraries",
         [](const fs::path& root) { Replace(root / "Plugins.ini", "FileCount=1", "FileCount=0"); },
         "plugins.libraries",
         {{"path", "plugins/SampleGraphHandlers.so"}},
         "removed",
         "",
         "Plugins.ini",
         ""},
        {"a plug-in library no longer loaded: its handlers are gone",
         [](const fs::path& root) {
             Replace(root / "Plugins.ini", "SampleGraphHandlers.so", "Missing.so");
         },
         "plugins.handlers",
         {{"type", "TowerCrane"}},
         "removed",
         "",
         "Plugins.ini",
         ""},
        {"a template listed twice",
         [](const fs::path& root) {
             Replace(root / "Templates/filelist.cfg", "<file>Scaffold.xml</file>",
                     "<file>Scaffold.xml</file><file>Scaffold.xml</file>");
         },
         "templates",
         {{"type", "Scaffold"},
          {"category", "\\临时设施\\脚手架\\悬挑式"},
          {"sectionShape", "悬挑式"},
          {"graphLibId", "GL-SCAFFOLD-CANTILEVER"}},
         "added",
         "",
         "Templates/Scaffold.xml",
         "<Property"},
        {"an item of a location view",
         [](const fs::path& root) {
             Replace(root / "Display/Views/WallView.xml", "<Item id=\"Material\"/>",
                     "<Item id=\"Color\"/>");
         },
         "views.locationViews",
         {{"loc", "\\基本构件\\墙"}, {"typeAndSections", {"Wall"}}},
         "changed",
         "groups[0].items[颜色]",
         "Display/PropertyLocShow.xml",
         "Views\\WallView.xml"},
        {"an item of the grid template",
         [](const fs::path& root) {
             Replace(root / "Display/GridTemplate.xml", "<Item id=\"Elevation\"/>", "");
         },
         "views.gridTemplate", Json::object(), "changed", "groups[0].items[底标高(mm)]",
         "Display/GridTemplate.xml", ""},
        {"a listener of a container",
         [](const fs::path& root) {
             Replace(root / "Display/EnableContainer.xml", "data=\"RefreshSpan\"",
                     "data=\"RefreshSpans\"");
         },
         "containers",
         {{"name", "BeamContainer"}},
         "changed",
         "listeners[Beam_Main].data",
         "Display/EnableContainer.xml",
         "name=\"BeamContainer\""},
        {"a section selection",
         [](const fs::path& root) {
             Replace(root / "Display/PropertyLocShow.xml", ";\\基本构件\\墙\\弧形墙</Loc>",
                     "</Loc>");
         },
         "locations.sectionSelect",
         {{"loc", "\\基本构件\\墙"}},
         "changed",
         "texts",
         "Display/PropertyLocShow.xml",
         "<Loc loc=\"\\基本构件\\墙\">"},
        {"two location views swapped: the first choice among them changes",
         [](const fs::path& root) {
             const std::string wall =
                 "<View view=\"Views\\WallView.xml\" typeandsection=\"Wall\" "
                 "loc=\"\\基本构件\\墙\"/>";
             Replace(root / "Display/PropertyLocShow.xml", wall + "\n", "");
             Replace(root / "Display/PropertyLocShow.xml", "<View view=\"Views\\SlabView.xml\"",
                     wall + "\n    <View view=\"Views\\SlabView.xml\"");
         },
         "views.locationViews",
         {{"loc", "\\基本构件\\墙"}, {"typeAndSections", {"Wall"}}},
         "changed",
         "(position)",
         "Display/PropertyLocShow.xml",
         "Views\\WallView.xml"},
        {"a view mode",
         [](const fs::path& root) {
             Replace(root / "Display/PropertyLocShow.xml", "clsname=\"Slab;Road\"",
                     "clsname=\"Slab\"");
         },
         "viewModes",
         {{"type", "Road"}},
         "removed",
         "",
         nullptr,
         ""},
        {"a definition removed",
         [](const fs::path& root) { fs::remove(root / "Definitions/Road_POOL.xml"); },
         "definitions",
         {{"type", "Road"}},
         "removed",
         "",
         "Definitions/Road_POOL.xml",
         "<Property"},
    };
    const fs::path example = SITECONFIG_EXAMPLE_DIR;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir scratch;
        const fs::path root = scratch.NativeFolder() / "near-copy";
        fs::copy(example, root, fs::copy_options::recursive);
        c.change(root);
        const Result result =
            ::Run({"--json", "diff", example.string(), root.string()}, scratch.NativeFolder());
        ASSERT_EQ(result.status, 1) << result.out << result.err;
        const Json diff = Json::parse(result.out);
        const Json* entry = FindEntry(diff, c.table, c.key);
        ASSERT_NE(entry, nullptr) << result.out;
        EXPECT_EQ(entry->at("change"), c.kind);
        if (*c.field != '\0') {
            bool named = false;
            for (const Json& field : entry->at("fields"))
                named = named || field.at("field") == c.field;
            EXPECT_TRUE(named) << c.field << " not among " << entry->at("fields").dump(2);
        }
        const std::string kind = c.kind;
        // A removed record is where the example has it, the others where the copy has them.
        const char* side = kind == "removed" ? "a" : "b";
        const fs::path sideRoot = kind == "removed" ? example : root;
        EXPECT_EQ(entry->at("where").contains("a"), kind != "added");
        EXPECT_EQ(entry->at("where").contains("b"), kind != "removed");
        const Json& place = entry->at("where").at(side);
        if (c.file == nullptr) {
            EXPECT_TRUE(place.at("file").is_null()) << place;
        } else {
            EXPECT_EQ(place.at("file"), c.file);
            const Json line =
                *c.text == '\0' ? Json(nullptr) : Json(LineOf(sideRoot / c.file, c.text));
            EXPECT_EQ(place.at("line"), line);
        }
    }
}

// Loading reports go to standard error and leave the status to the comparison alone.
TEST_F(SiteconfigCommand, DiffStatusIsTheComparisonsAlone) {
    const fs::path broken = CopyExample("broken");
    Replace(broken / "Plugins.ini", "SampleGraphHandlers.so", "Missing.so");
    const Result same = Run({"diff", broken.string(), broken.string()});
    EXPECT_EQ(same.status, 0) << same.out << same.err;
    EXPECT_NE(same.err.find("Missing.so"), std::string::npos) << same.err;

    const std::vector<std::vector<std::string>> usages = {
        {"diff"},
        {"diff", SITECONFIG_EXAMPLE_DIR},
        {"diff", SITECONFIG_EXAMPLE_DIR, "/no/such/configuration/folder"},
        {"diff", "/no/such/configuration/folder", SITECONFIG_EXAMPLE_DIR},
        {"diff", SITECONFIG_EXAMPLE_DIR, (broken / "Plugins.ini").string()},
    };
    for (const auto& args : usages) {
        SCOPED_TRACE(args.size() > 1 ? args.back() : "no roots");
        const Result result = ::Run(args, scratch_.NativeFolder());
        EXPECT_EQ(result.status, 2) << result.out << result.err;
        EXPECT_FALSE(result.err.empty());
    }
}

}  // namespace
