// siteconfig schema: the schemas an author's editor validates with accept every file of the
// example and reject a misspelt tag at its line, as xmllint reports it.
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "CommandRunner.h"

namespace {

using namespace command_test;

// The kind of schema of a file of the example, by its place; empty for a file that is not XML.
std::string ExampleFileKind(const fs::path& relative) {
    const std::string part = relative.begin()->u8string();
    const std::string name = relative.filename().u8string();
    if (name == "filelist.cfg") return "filelist";
    if (relative.extension() != ".xml") return "";
    if (part == "Definitions" || part == "Templates" || part == "Models" || part == "ShapePool") {
        return "property";
    }
    if (part == "GraphLibs") return "graph-library";
    if (name == "ItemTemplate.xml") return "item-template";
    if (name == "PropertyLocShow.xml") return "location-show";
    if (name == "EnableContainer.xml") return "enable-container";
    if (part == "Display") return "edit-view";  // GridTemplate.xml and the view files
    if (name == "Resource.xml") return "resource";
    return "";
}

class SchemaCommand : public SiteconfigCommand {
protected:
    void SetUp() override {
        ASSERT_EQ(std::system("xmllint --version >/dev/null 2>&1"), 0)
            << "xmllint is missing (libxml2-utils)";
    }

    // Every schema, written by the command into a folder of the scratch.
    fs::path WriteSchemas() {
        const fs::path folder = scratch_.NativeFolder() / "schemas";
        const Result result = Run({"schema", "--output-dir", folder.string()});
        EXPECT_EQ(result.status, 0) << result.err;
        return folder;
    }

    // The kinds the command lists, with their schema files.
    std::map<std::string, std::string> ListedKinds() {
        const Result result = Run({"--json", "schema"});
        EXPECT_EQ(result.status, 0) << result.err;
        std::map<std::string, std::string> kinds;
        for (const Json& kind : Json::parse(result.out)) {
            kinds[kind.at("kind").get<std::string>()] = kind.at("file").get<std::string>();
        }
        return kinds;
    }

    Result Validate(const fs::path& schema, const fs::path& file) {
        return RunProgram("xmllint", {"--noout", "--schema", schema.string(), file.string()},
                          scratch_.NativeFolder());
    }
};

TEST_F(SchemaCommand, EveryFileOfTheExampleValidates) {
    const fs::path schemas = WriteSchemas();
    const std::map<std::string, std::string> kinds = ListedKinds();
    std::set<std::string> used;
    const fs::path root = SITECONFIG_EXAMPLE_DIR;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = entry.path().lexically_relative(root);
        SCOPED_TRACE(relative.u8string());
        const std::string kind = ExampleFileKind(relative);
        if (kind.empty()) {
            EXPECT_EQ(relative.u8string(), "Plugins.ini") << "a file of no kind";
            continue;
        }
        ASSERT_EQ(kinds.count(kind), 1u) << kind << " is not listed";
        used.insert(kind);
        const Result result = Validate(schemas / kinds.at(kind), entry.path());
        EXPECT_EQ(result.status, 0) << result.err;
    }
    // Each schema was put to work, and printing one gives the file that was written.
    for (const auto& [kind, file] : kinds) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(used.count(kind), 1u) << "no file of the example is of this kind";
        const Result printed = Run({"schema", kind});
        EXPECT_EQ(printed.status, 0) << printed.err;
        EXPECT_EQ(printed.out, ReadFile(schemas / file));
    }
}

TEST_F(SchemaCommand, AMisspeltNameFailsAtItsLine) {
    struct Case {
        const char* file;
        const char* from;
        const char* to;
        const char* name;  // xmllint quotes it
        int lineInTo;      // the line of `to` that xmllint names
    };
    const Case cases[] = {
        {"Definitions/Wall_POOL.xml", "<ClsName>Wall</ClsName>", "<ClsNme>Wall</ClsNme>", "ClsNme",
         0},
        // Only the first is read.
        {"Definitions/Wall_POOL.xml", "<ClsName>Wall</ClsName>",
         "<ClsName>Wall</ClsName>\n  <ClsName>Beam</ClsName>", "ClsName", 1},
        {"Definitions/Wall_POOL.xml", "Thickness=\"240\"", "Thicknes=\"240\"", "Thicknes", 0},
        {"Templates/filelist.cfg", "<file>Scaffold.xml</file>", "<flie>Scaffold.xml</flie>", "flie",
         0},
        {"GraphLibs/GraphLib1.xml", "<Model loc", "<Modle loc", "Modle", 0},
        {"Display/ItemTemplate.xml", "<Variable>Name</Variable>", "<Varible>Name</Varible>",
         "Varible", 0},
        {"Display/Views/WallView.xml", "<LiMian markclass", "<LiMain markclass", "LiMain", 0},
        {"Display/PropertyLocShow.xml", "<ViewParam>Elevation;Height;Color</ViewParam>",
         "<ViewParams>Elevation;Height;Color</ViewParams>", "ViewParams", 0},
        {"Display/PropertyLocShow.xml", "typeandsection=\"Wall\"", "typeandsecton=\"Wall\"",
         "typeandsecton", 0},
        {"Display/EnableContainer.xml", "<Listener name=\"Wall_Main\"",
         "<Listner name=\"Wall_Main\"", "Listner", 0},
    };
    const fs::path schemas = WriteSchemas();
    const std::map<std::string, std::string> kinds = ListedKinds();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.to);
        std::string text = ReadFile(fs::path(SITECONFIG_EXAMPLE_DIR) / c.file);
        const size_t at = text.find(c.from);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, std::string(c.from).size(), c.to);
        const fs::path file = scratch_.NativeFolder() / fs::path(c.file).filename();
        WriteFile(file, text);
        const int line =
            1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n')) + c.lineInTo;

        const Result result = Validate(schemas / kinds.at(ExampleFileKind(c.file)), file);
        EXPECT_NE(result.status, 0);
        EXPECT_NE(result.err.find(file.string() + ":" + std::to_string(line) + ":"),
                  std::string::npos)
            << result.err;
        EXPECT_NE(result.err.find(std::string("'") + c.name + "'"), std::string::npos)
            << result.err;
    }
}

TEST_F(SchemaCommand, ListsTheKindsAndRejectsAnUnknownOne) {
    const std::map<std::string, std::string> kinds = ListedKinds();
    ASSERT_FALSE(kinds.empty());
    const Result list = Run({"schema"});
    EXPECT_EQ(list.status, 0) << list.err;
    for (const auto& [kind, file] : kinds) {
        EXPECT_NE(list.out.find("kind: " + kind + "\n"), std::string::npos) << kind << "\n"
                                                                            << list.out;
        EXPECT_NE(list.out.find(file), std::string::npos) << file << "\n" << list.out;
    }
    EXPECT_NE(list.out.find("ItemTemplate.xml"), std::string::npos) << list.out;

    const fs::path folder = scratch_.NativeFolder() / "none";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"schema", "Property"},
          std::vector<std::string>{"schema", "plugins", "--output-dir", folder.string()}}) {
        SCOPED_TRACE(args[1]);
        const Result result = command_test::Run(args, scratch_.NativeFolder());
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(result.out.empty()) << result.out;
        EXPECT_NE(result.err.find("\"" + args[1] + "\""), std::string::npos) << result.err;
        for (const auto& [kind, file] : kinds) {
            EXPECT_NE(result.err.find(kind), std::string::npos) << kind << "\n" << result.err;
        }
    }
    EXPECT_FALSE(fs::exists(folder));
}

// An author who points a file at its schema, as the README shows, still gets a clean check.
TEST_F(SchemaCommand, AFileThatNamesItsSchemaLoadsClean) {
    const fs::path schemas = WriteSchemas();
    const fs::path root = CopyExample();
    const std::string instance =
        " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xsi:noNamespaceSchemaLocation=";
    Replace(root / "Display/PropertyLocShow.xml", "<UI>",
            "<UI" + instance + "\"" + (schemas / "location-show.xsd").string() + "\">");
    Replace(root / "Resource.xml", "<Config>",
            "<Config" + instance + "\"" + (schemas / "resource.xsd").string() + "\">");

    const Result check = Run({"check", root.string()});
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    EXPECT_NE(check.out.find("\nerrors: 0\nwarnings: 0\n"), std::string::npos) << check.out;
    for (const char* file : {"Display/PropertyLocShow.xml", "Resource.xml"}) {
        const std::string kind = ExampleFileKind(file);
        const Result result = Validate(schemas / (kind + ".xsd"), root / file);
        EXPECT_EQ(result.status, 0) << result.err;
    }
}

}  // namespace
