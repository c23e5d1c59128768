// The siteconfig command as configuration authors use it: the example loads clean, each kind
// of broken file is named with its file, dumps are stable JSON, previews are well-formed.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "CommandRunner.h"

namespace {

using namespace command_test;

TEST_F(SiteconfigCommand, ExampleLoadsClean) {
    const Result result = Run({"check", SITECONFIG_EXAMPLE_DIR});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("\nerrors: 0\nwarnings: 0\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("  definitions: 12\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("  plug-in libraries loaded: 1\n"), std::string::npos) << result.out;

    const Result json = Run({"--json", "check", SITECONFIG_EXAMPLE_DIR});
    ASSERT_EQ(json.status, 0) << json.err;
    const Json report = Json::parse(json.out);
    EXPECT_TRUE(report.at("clean").get<bool>());
    EXPECT_EQ(report.at("errors"), 0);
    EXPECT_EQ(report.at("warnings"), 0);
    for (const Json& problem : report.at("problems")) EXPECT_EQ(problem.at("severity"), "note");
    EXPECT_EQ(report.at("loaded").at("location views"), 7);
    EXPECT_EQ(report.at("loaded").at("graph handlers"), 6);
    EXPECT_EQ(report.at("loaded").at("plug-in libraries"), 1);
}

// Each broken copy fails the check, and the problem is named with the file it lies in.
TEST_F(SiteconfigCommand, BrokenCopiesNameTheirFile) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> breakIt;
        const char* file;    // the line naming the problem starts with this file
        const char* detail;  // and contains this
    };
    const Case cases[] = {
        {"malformed XML",
         [](const fs::path& root) {
             Replace(root / "Display/GridTemplate.xml", "</GridShow>", "</GridShw>");
         },
         "Display/GridTemplate.xml:", "error"},
        {"missing edit-view file",
         [](const fs::path& root) { fs::remove(root / "Display/Views/BeamView.xml"); },
         "Display/Views/BeamView.xml", "error"},
        {"missing template file",
         [](const fs::path& root) { fs::remove(root / "Templates/Beam/TBeam.xml"); },
         "Templates/filelist.cfg", "\"Beam\\TBeam.xml\" does not exist [missing-file]"},
        {"duplicate item template id",
         [](const fs::path& root) {
             Replace(root / "Display/ItemTemplate.xml", "<Item id=\"Color\">",
                     "<Item id=\"Name\"><Name>重复</Name></Item>\n  <Item id=\"Color\">");
         },
         "Display/ItemTemplate.xml", "item template id defined twice"},
        {"unknown view name",
         [](const fs::path& root) {
             Replace(root / "Display/PropertyLocShow.xml", "name=\"LiMian\"", "name=\"LiMain\"");
         },
         "Display/PropertyLocShow.xml", "not a view name"},
        {"unknown part kind in an edit view",
         [](const fs::path& root) {
             Replace(root / "Display/Views/ColumnView.xml", "<LeftRight title", "<LeftRigth title");
             Replace(root / "Display/Views/ColumnView.xml", "</LeftRight>", "</LeftRigth>");
         },
         "Display/Views/ColumnView.xml", "not a part kind"},
        {"missing plug-in list", [](const fs::path& root) { fs::remove(root / "Plugins.ini"); },
         "Plugins.ini", "[missing-file]"},
        {"plug-in list naming a missing library",
         [](const fs::path& root) {
             Replace(root / "Plugins.ini", "SampleGraphHandlers.so", "Missing.so");
         },
         "Plugins.ini", "Missing.so"},
        {"missing shape-pool folder",
         [](const fs::path& root) { fs::remove_all(root / "ShapePool"); }, "ShapePool",
         "does not exist [missing-folder]"},
        {"unknown component type",
         [](const fs::path& root) {
             Replace(root / "Definitions/Wall_POOL.xml", "<ClsName>Wall<", "<ClsName>Wal<");
         },
         "Definitions/Wall_POOL.xml", "unknown component type \"Wal\" [unknown-type]"},
        {"unknown parameter",
         [](const fs::path& root) {
             Replace(root / "Definitions/Wall_POOL.xml", "Var=\"Length\"", "Var=\"Lenght\"");
         },
         "Definitions/Wall_POOL.xml", "unknown parameter \"Lenght\" [unknown-param]"},
        {"two definitions of one type",
         [](const fs::path& root) {
             fs::copy(root / "Definitions/Wall_POOL.xml", root / "Definitions/Wall2_POOL.xml");
         },
         "Definitions/Wall_POOL.xml:5:3:",
         "Wall2_POOL.xml defines the type first [duplicate-definition]"},
        {"a view for no component type",
         [](const fs::path& root) {
             Replace(root / "Display/PropertyLocShow.xml", "typeandsection=\"Slab\"",
                     "typeandsection=\"Slob\"");
         },
         "Display/PropertyLocShow.xml", "\"Slob\" names no component type [unknown-type]"},
        {"a view at an undefined location",
         [](const fs::path& root) {
             Replace(root / "Display/PropertyLocShow.xml", "loc=\"\\基本构件\\板\"",
                     "loc=\"\\基本构件\\板子\"");
         },
         "Display/PropertyLocShow.xml", "warning: view location"},
        {"a graph-library model id used twice",
         [](const fs::path& root) {
             Replace(root / "GraphLibs/GraphLib2.xml", "id=\"GL-WALL-PRECAST\"",
                     "id=\"GL-WALL-STRAIGHT\"");
         },
         "GraphLibs/GraphLib2.xml", "\"GL-WALL-STRAIGHT\" is used twice [duplicate-id]"},
        {"an item template id that no template has",
         [](const fs::path& root) {
             Replace(root / "Display/Views/WallView.xml", "<Item id=\"Material\"/>",
                     "<Item id=\"Materal\"/>");
         },
         "Display/Views/WallView.xml:31:7:",
         "no item template has this id: \"Materal\" [dangling-reference]"},
        {"a container EnableContainer.xml lacks",
         [](const fs::path& root) {
             Replace(root / "Display/Views/BeamView.xml", "name=\"BeamContainer\"",
                     "name=\"BeamContainr\"");
         },
         "Display/Views/BeamView.xml:49:3:", "\"BeamContainr\" is not in EnableContainer.xml"},
        {"a tag typo",
         [](const fs::path& root) {
             Replace(root / "Definitions/Wall_POOL.xml", "<ClsName>Wall</ClsName>",
                     "<ClsNme>Wall</ClsNme>");
         },
         "Definitions/Wall_POOL.xml:5:3:", "unknown tag \"ClsNme\""},
        {"an empty setting",
         [](const fs::path& root) { Replace(root / "Resource.xml", "val=\"zh-CN\"", "val=\"\""); },
         "Resource.xml", "setting \"Language\" has an empty value [empty-value]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir scratch;
        const fs::path root = scratch.NativeFolder() / "site-layout";
        fs::copy(SITECONFIG_EXAMPLE_DIR, root, fs::copy_options::recursive);
        c.breakIt(root);
        const Result result = ::Run({"check", root.string()}, scratch.NativeFolder());
        EXPECT_EQ(result.status, 1) << result.out << result.err;
        bool named = false;
        std::istringstream lines(result.err);
        for (std::string line; std::getline(lines, line);) {
            named =
                named || (line.rfind(c.file, 0) == 0 && line.find(c.detail) != std::string::npos);
        }
        EXPECT_TRUE(named) << "no line starts with " << c.file << " and names " << c.detail << ":\n"
                           << result.err;
    }
}

TEST_F(SiteconfigCommand, DumpIsStableJsonThatKeepsChineseText) {
    const Result first = Run({"--json", "dump", SITECONFIG_EXAMPLE_DIR});
    const Result second = Run({"dump", "--json", SITECONFIG_EXAMPLE_DIR});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(first.out, second.out);

    const Json dump = Json::parse(first.out);
    const std::vector<std::string> tables = {"definitions",   "templates", "models",    "shapePool",
                                             "categoryIndex", "locations", "views",     "kinds",
                                             "parameters",    "viewModes", "containers"};
    std::vector<std::string> keys;
    for (const auto& entry : dump.items()) keys.push_back(entry.key());
    EXPECT_EQ(keys, tables);

    const Json& wall = dump.at("definitions").at(0);
    EXPECT_EQ(wall.at("type"), "Wall");
    EXPECT_EQ(wall.at("initName"), "墙");
    EXPECT_EQ(wall.at("category"), "\\基本构件\\墙\\直形墙");
    EXPECT_EQ(wall.at("children").at(0).at("children").at(0).at("initName"),
              "外墙 240 + 保温层 50");
    // Written as UTF-8, not as escapes, and read back to the same text.
    EXPECT_NE(first.out.find("外墙 240 + 保温层 50"), std::string::npos);
    EXPECT_EQ(Json::parse(dump.dump()), dump);

    // The plain-text dump is stable too.
    const Result text1 = Run({"dump", SITECONFIG_EXAMPLE_DIR});
    const Result text2 = Run({"dump", SITECONFIG_EXAMPLE_DIR});
    EXPECT_EQ(text1.status, 0);
    EXPECT_EQ(text1.out, text2.out);
    EXPECT_NE(text1.out.find("initName: 墙"), std::string::npos);
}

TEST_F(SiteconfigCommand, ViewAnswersTheChosenLayout) {
    const Result result = Run(
        {"--json", "-r", SITECONFIG_EXAMPLE_DIR, "view", "Wall_直形墙", "\\基本构件\\墙\\直形墙"});
    ASSERT_EQ(result.status, 0) << result.out << result.err;
    const Json view = Json::parse(result.out);
    EXPECT_EQ(view.at("chosen"), "location view 1 of 7");
    EXPECT_EQ(view.at("markClasses").at("View3D"), Json::array({"Solid"}));
    EXPECT_EQ(view.at("groups").at(0).at("kind"), "Main");
    // "ref" appends the grid template's Main items after the view's own.
    EXPECT_EQ(view.at("groups").at(0).at("items").back().at("name"), "底标高(mm)");
    EXPECT_EQ(view.at("container").at("name"), "WallContainer");
    EXPECT_EQ(view.at("container").at("listeners").at(0).at("data"),
              "RefreshOutline;RefreshQuantity");

    // No view for the section: the fallback view, reported.
    const Result none = Run({"-r", SITECONFIG_EXAMPLE_DIR, "view", "Nothing", "\\无\\无"});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.out.find("fallback view"), std::string::npos) << none.out;
}

TEST_F(SiteconfigCommand, PreviewIsWellFormedAndShowsEveryItem) {
    const std::string page = (scratch_.NativeFolder() / "beam.html").string();
    const Result result =
        Run({"-r", SITECONFIG_EXAMPLE_DIR, "preview", "Beam_矩形", "\\基本构件\\梁", "-o", page});
    ASSERT_EQ(result.status, 0) << result.out << result.err;

    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_file(page.c_str());
    ASSERT_TRUE(parsed) << parsed.description() << " at offset " << parsed.offset;

    const Result view =
        Run({"--json", "-r", SITECONFIG_EXAMPLE_DIR, "view", "Beam_矩形", "\\基本构件\\梁"});
    std::vector<std::string> expected;
    const Json described = Json::parse(view.out);
    for (const Json& group : described.at("groups")) {
        for (const Json& item : group.at("items")) expected.push_back(item.at("name"));
    }
    std::vector<std::string> shown;
    for (const pugi::xpath_node& row : doc.select_nodes("//tr[@class='item' or "
                                                        "@class='item disabled']")) {
        shown.push_back(row.node().attribute("data-name").value());
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(shown, expected);
    // The assemble states of the rebar item are drawn.
    EXPECT_NE(ReadFile(page).find("集中标注"), std::string::npos);
}

TEST_F(SiteconfigCommand, QueriesAnswerFromTheExample) {
    const std::string root = SITECONFIG_EXAMPLE_DIR;
    const Result type = Run({"--json", "-r", root, "type", "\\大型机械\\塔吊\\QTZ80"});
    ASSERT_EQ(type.status, 0) << type.err;
    EXPECT_EQ(Json::parse(type.out).at("type"), "TowerCrane");

    const Result unknown = Run({"-r", root, "type", "\\没有\\这个"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.out.find("no component type has this category"), std::string::npos);

    const Result locs = Run({"--json", "-r", root, "locs", "\\基本构件\\墙"});
    ASSERT_EQ(locs.status, 0) << locs.err;
    EXPECT_EQ(Json::parse(locs.out).at("expandsTo"),
              Json::array({"\\基本构件\\墙\\直形墙", "\\基本构件\\墙\\弧形墙"}));

    const Result shape =
        Run({"--json", "-r", root, "shape", "TowerCrane", "\\大型机械\\塔吊", "QTZ125"});
    ASSERT_EQ(shape.status, 0) << shape.err;
    EXPECT_EQ(Json::parse(shape.out).at("record").at("initName"), "QTZ125 塔吊");

    const Result plugins = Run({"--json", "-r", root, "plugins", "--app-dir",
                                fs::path(SITECONFIG_TOOL).parent_path().string()});
    ASSERT_EQ(plugins.status, 0) << plugins.out << plugins.err;
    EXPECT_EQ(Json::parse(plugins.out).at("handlers").size(), 6u);
}

TEST_F(SiteconfigCommand, SettingsAreReadChangedAndSaved) {
    const fs::path root = CopyExample();
    const std::string file = (root / "Resource.xml").string();
    const Result before =
        Run({"--json", "--app-dir", "/opt/site/", "settings", file, "get", "ImageFolder"});
    EXPECT_EQ(before.status, 0) << before.err;
    EXPECT_EQ(Json::parse(before.out).at("value"), "/opt/site/Resources\\Images\\");

    const Result set = Run({"settings", file, "set", "ProjectName", "新工地"});
    EXPECT_EQ(set.status, 0) << set.err;
    const Result after = Run({"settings", file, "get", "ProjectName"});
    EXPECT_EQ(after.out, "key: ProjectName\nvalue: 新工地\n");

    // Only what the file holds can be set: not a new key, and not "AppDir", which the command
    // sets for resolving and the file does not store.
    const std::string saved = ReadFile(root / "Resource.xml");
    for (const char* key : {"NoSuchKey", "AppDir"}) {
        SCOPED_TRACE(key);
        const Result added = Run({"settings", file, "set", key, "/x/"});
        EXPECT_EQ(added.status, 1);
        EXPECT_NE(added.err.find(std::string("\"") + key + "\""), std::string::npos) << added.err;
        EXPECT_TRUE(added.out.empty());
        EXPECT_EQ(ReadFile(root / "Resource.xml"), saved);
    }

    const Result list = Run({"--json", "settings", file, "list"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_GE(Json::parse(list.out).size(), 6u);
}

TEST_F(SiteconfigCommand, BadUsageExitsWithTwo) {
    const std::vector<std::vector<std::string>> usages = {
        {},
        {"frobnicate"},
        {"check", "/no/such/configuration/folder"},
        {"view", "Wall"},
        {"settings", "Resource.xml"},
        {"-r", SITECONFIG_EXAMPLE_DIR, "shape", "NoType", "\\基本构件\\墙", "x"},
    };
    for (const auto& args : usages) {
        std::string joined;
        for (const std::string& arg : args) joined += arg + " ";
        SCOPED_TRACE(joined);
        const Result result = ::Run(args, scratch_.NativeFolder());
        EXPECT_EQ(result.status, 2) << result.out << result.err;
        EXPECT_FALSE(result.err.empty());
    }

    const Result version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("siteconfig ", 0), 0u) << version.out;

    // ROOT from --root, as for the query commands.
    const Result rooted = Run({"--root", SITECONFIG_EXAMPLE_DIR, "check"});
    EXPECT_EQ(rooted.status, 0) << rooted.out << rooted.err;

    const Result help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command :
         {"check", "dump", "type", "view", "locs", "shape", "preview", "settings", "plugins"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
    const Result checkHelp = Run({"check", "--help"});
    EXPECT_EQ(checkHelp.status, 0);
    EXPECT_NE(checkHelp.out.find("ROOT"), std::string::npos);
}

}  // namespace

namespace {

using namespace command_test;

TEST_F(SiteconfigCommand, EachCommandsHelpShowsTheOptionsThatApplyToIt) {
    const Result help = Run({"locs", "--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--root", "--json", "--quiet", "--definitions", "--app-dir"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option << "\n" << help.out;
    }
    // The description of the configuration root is the top level's alone.
    EXPECT_EQ(help.out.find("A configuration root holds"), std::string::npos) << help.out;

    // Common options stand before or after the command's name.
    const Result after = Run({"locs", "--json", "-r", SITECONFIG_EXAMPLE_DIR, "\\基本构件\\墙"});
    ASSERT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(Json::parse(after.out).at("loc"), "\\基本构件\\墙");

    const Result usage = Run({"--json", "view", "Wall"});
    EXPECT_EQ(usage.status, 2);
    EXPECT_TRUE(Json::parse(usage.out).at("error").is_string()) << usage.out;
}

TEST_F(SiteconfigCommand, BashCompletionKnowsTheCommandsAndTheirOptions) {
    const Result script = Run({"completion", "bash"});
    ASSERT_EQ(script.status, 0) << script.err;
    const fs::path file = scratch_.NativeFolder() / "completion.bash";
    WriteFile(file, script.out);
    struct Case {
        std::vector<std::string> words;  // the last one is being completed
        const char* expected;            // among the completions
    };
    const Case cases[] = {
        {{"siteconfig", "ch"}, "check"},
        {{"siteconfig", "--root", "x", "lo"}, "locs"},
        {{"siteconfig", "check", "--we"}, "--werror"},
        {{"siteconfig", "settings", "Resource.xml", "l"}, "list"},
        {{"siteconfig", "settings", "Resource.xml", "get", "--js"}, "--json"},
        {{"siteconfig", "--resource", "comp"}, "completion.bash"},  // a file after a value option
    };
    for (const Case& c : cases) {
        std::string words;
        for (const std::string& word : c.words) words += Quote(word) + " ";
        SCOPED_TRACE(words);
        const std::string command =
            "cd " + Quote(scratch_.NativeFolder().string()) + " && bash -c " +
            Quote("source completion.bash; COMP_WORDS=(" + words +
                  "); COMP_CWORD=" + std::to_string(c.words.size() - 1) +
                  "; _siteconfig; printf '%s\\n' " + "\"${COMPREPLY[@]}\"") +
            " > completions.txt";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const std::string completions = ReadFile(scratch_.NativeFolder() / "completions.txt");
        EXPECT_NE(completions.find(std::string(c.expected) + "\n"), std::string::npos)
            << completions;
    }
}

}  // namespace
