// The text output of every command is YAML that parses to exactly the command's JSON output:
// on the example, on errors, and on a copy full of texts that trip careless YAML writers. Two
// parsers read it: yaml-cpp (YAML 1.2, with 1.1's booleans flagged) and PyYAML (YAML 1.1).
#include <yaml-cpp/yaml.h>

#include <regex>
#include <string>
#include <vector>

#include "CommandRunner.h"

namespace {

using namespace command_test;

// A plain scalar as a YAML 1.2 reader types it. Values that only a YAML 1.1 reader would type
// differently (yes, on, 0x1F, .inf, ...) come back as a marker object, so that they never equal
// the JSON string they should have been.
Json ResolvePlain(const std::string& text) {
    static const std::regex kBool12("true|True|TRUE|false|False|FALSE");
    static const std::regex kBool11("y|Y|yes|Yes|YES|n|N|no|No|NO|on|On|ON|off|Off|OFF");
    static const std::regex kInt("[-+]?[0-9]+");
    static const std::regex kFloat("[-+]?(\\.[0-9]+|[0-9]+(\\.[0-9]*)?)([eE][-+]?[0-9]+)?");
    static const std::regex kOther(
        "0x[0-9a-fA-F]+|0o[0-7]+|[-+]?\\.(inf|Inf|INF)|\\.(nan|NaN|NAN)|"
        "[-+]?[0-9][0-9_:.,]*|<<|=");
    if (std::regex_match(text, kBool12)) return text[0] == 't' || text[0] == 'T';
    if (std::regex_match(text, kInt)) return std::stoll(text);
    if (std::regex_match(text, kFloat)) return std::stod(text);
    if (std::regex_match(text, kBool11) || std::regex_match(text, kOther)) {
        return Json{{"typed by a YAML reader", text}};
    }
    return text;
}

Json FromYaml(const YAML::Node& node) {
    switch (node.Type()) {
        case YAML::NodeType::Null:
            return nullptr;
        case YAML::NodeType::Scalar:
            return node.Tag() == "!" ? Json(node.Scalar()) : ResolvePlain(node.Scalar());
        case YAML::NodeType::Sequence: {
            Json list = Json::array();
            for (const YAML::Node& element : node) list.push_back(FromYaml(element));
            return list;
        }
        case YAML::NodeType::Map: {
            Json object = Json::object();
            for (const auto& entry : node) {
                const Json key = FromYaml(entry.first);
                object[key.is_string() ? key.get<std::string>()
                                       : "(key typed " + key.dump() + ")"] = FromYaml(entry.second);
            }
            return object;
        }
        default:
            return Json{{"undefined node", true}};
    }
}

class TextOutput : public SiteconfigCommand {
protected:
    // Runs `args` with and without --json and compares the two outputs with yaml-cpp; PyYAML
    // reads them all at once in TearDown.
    void ExpectYamlEqualsJson(const std::vector<std::string>& args) {
        std::string joined;
        for (const std::string& arg : args) joined += arg + " ";
        SCOPED_TRACE(joined);
        const Result text = command_test::Run(args, scratch_.NativeFolder());
        std::vector<std::string> jsonArgs = {"--json"};
        jsonArgs.insert(jsonArgs.end(), args.begin(), args.end());
        const Result json = command_test::Run(jsonArgs, scratch_.NativeFolder());
        EXPECT_EQ(text.status, json.status) << text.err << json.err;
        ASSERT_FALSE(json.out.empty()) << json.err;
        const Json expected = Json::parse(json.out);
        if (expected.contains("error")) {
            // An error goes to standard error as text, and to standard output only as JSON.
            EXPECT_EQ(text.out, "");
            EXPECT_NE(text.err.find(expected.at("error").get<std::string>()), std::string::npos)
                << text.err;
            return;
        }

        Json parsed;
        try {
            parsed = FromYaml(YAML::Load(text.out));
        } catch (const YAML::Exception& error) {
            FAIL() << "not YAML: " << error.what() << "\n" << text.out;
        }
        EXPECT_EQ(parsed, expected) << text.out;

        const std::string name = std::to_string(pairs_.size());
        const fs::path yamlFile = scratch_.NativeFolder() / (name + ".yaml");
        const fs::path jsonFile = scratch_.NativeFolder() / (name + ".json");
        WriteFile(yamlFile, text.out);
        WriteFile(jsonFile, json.out);
        pairs_.push_back(joined);
    }

    // PyYAML reads every text output to the same value as its JSON output (types included).
    void TearDown() override {
        if (pairs_.empty()) return;
        const fs::path folder = scratch_.NativeFolder();
        WriteFile(folder / "compare.py",
                  "import json, os, sys, yaml\n"
                  "for i in range(int(sys.argv[2])):\n"
                  "    p = os.path.join(sys.argv[1], str(i))\n"
                  "    try:\n"
                  "        a = json.dumps(yaml.safe_load(open(p + '.yaml', encoding='utf-8')),\n"
                  "                       sort_keys=True)\n"
                  "    except Exception as e:\n"
                  "        a = 'not YAML: ' + str(e)\n"
                  "    b = json.dumps(json.load(open(p + '.json', encoding='utf-8')),\n"
                  "                   sort_keys=True)\n"
                  "    if a != b:\n"
                  "        print(i, a[:3000], '\\n', b[:3000])\n");
        // Debian's PyYAML (python3-yaml) belongs to the system's interpreter.
        const std::string python =
            fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : std::string("python3");
        const fs::path out = folder / "compare.txt";
        const std::string command = python + " " + Quote((folder / "compare.py").string()) + " " +
                                    Quote(folder.string()) + " " + std::to_string(pairs_.size()) +
                                    " >" + Quote(out.string()) + " 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0);
        const std::string differences = ReadFile(out);
        EXPECT_EQ(differences, "") << "PyYAML reads otherwise (numbers: the commands in order)";
        for (size_t i = 0; i < pairs_.size() && !differences.empty(); ++i) {
            ADD_FAILURE() << i << ": " << pairs_[i];
        }
    }

    std::vector<std::string> pairs_;
};

TEST_F(TextOutput, EveryCommandOnTheExample) {
    const std::string root = SITECONFIG_EXAMPLE_DIR;
    const fs::path copy = CopyExample();
    const std::string settings = (copy / "Resource.xml").string();
    const std::string page = (scratch_.NativeFolder() / "page.html").string();
    const std::string bin = fs::path(SITECONFIG_TOOL).parent_path().string();
    const std::vector<std::vector<std::string>> commands = {
        {"check", root},
        {"check", "--werror", "-q", root},
        {"dump", root},
        {"-r", root, "type", "\\大型机械\\塔吊\\QTZ80"},
        {"-r", root, "type", "\\没有\\这个"},
        {"-r", root, "view", "Beam_矩形", "\\基本构件\\梁"},
        {"-r", root, "view", "Nothing", "\\无\\无"},
        {"-r", root, "locs", "\\基本构件\\墙"},
        {"-r", root, "shape", "TowerCrane", "\\大型机械\\塔吊", "QTZ125"},
        {"-r", root, "preview", "Beam_矩形", "\\基本构件\\梁", "-o", page},
        {"-r", root, "plugins", "--app-dir", bin},
        {"settings", settings, "list"},
        {"settings", settings, "get", "ImageFolder"},
        {"settings", settings, "set", "ProjectName", "新工地"},
        {"schema"},
        {"schema", "--output-dir", (scratch_.NativeFolder() / "schemas").string()},
        {"diff", root, copy.string()},
        // Errors: usage, a missing folder, a missing setting, an unknown schema.
        {"view", "Wall"},
        {"-r", "/no/such/configuration/folder", "locs", "x"},
        {"settings", settings, "get", "NoSuchKey"},
        {"schema", "Property"},
    };
    for (const auto& args : commands) ExpectYamlEqualsJson(args);
}

TEST_F(TextOutput, AwkwardTexts) {
    const fs::path root = CopyExample();
    // Settings values: every character and word that means something to YAML.
    const std::vector<std::string> values = {"#B0B0B0",
                                             "%d@%d",
                                             "*alias",
                                             "&anchor",
                                             "!tag",
                                             ":colon",
                                             "key: value",
                                             "a #b",
                                             "&quot;quoted&quot;",
                                             "'single'",
                                             "back\\slash",
                                             "  leading",
                                             "trailing ",
                                             "yes",
                                             "no",
                                             "null",
                                             "~",
                                             "true",
                                             "On",
                                             "6000",
                                             "-12",
                                             "1.5",
                                             "0x1F",
                                             "1e3",
                                             ".inf",
                                             "2024-01-01",
                                             "12:30",
                                             "[list]",
                                             "{map}",
                                             "- dash",
                                             "? q",
                                             "|pipe",
                                             "&gt;fold",
                                             "@at",
                                             "`tick",
                                             "tab&#9;in",
                                             "&lt;&lt;",
                                             "=",
                                             "中文: 值",
                                             "😀",
                                             "a\\nb",
                                             "line&#10;break",
                                             "del&#127;",
                                             "nel&#133;",
                                             "ls&#8232;",
                                             "bom&#65279;x",
                                             "cr&#13;"};
    std::string resource = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Config>\n";
    for (size_t i = 0; i < values.size(); ++i) {
        resource += "  <Key" + std::to_string(i) + " val=\"" + values[i] + "\"/>\n";
    }
    for (const char* key : {"yes", "null", "true", "No"}) {
        resource += std::string("  <") + key + " val=\"" + key + "\"/>\n";
    }
    resource += "</Config>\n";
    WriteFile(root / "Resource.xml", resource);

    // Multi-line element texts, with and without a final line break and leading blanks.
    Replace(root / "Definitions/Wall_POOL.xml", "<InitName>墙</InitName>",
            "<InitName>墙\n  第二行\n</InitName>");
    Replace(root / "Definitions/Beam_POOL.xml", "<InitName>", "<InitName>  lead\nnext\n\n");
    Replace(root / "Definitions/Wall_POOL.xml", "Val=\"#B0B0B0\"", "Val=\"yes\"");
    Replace(root / "Definitions/Wall_POOL.xml", "<Fish Var=\"Length\" Val=\"6000\"/>",
            "<Fish Var=\"Length\" Val=\"6000\"/><Fish Var=\"Thicknes\" Val=\"1\"/>");

    const std::string settings = (root / "Resource.xml").string();
    const std::vector<std::vector<std::string>> commands = {
        {"settings", settings, "list"},
        {"settings", settings, "get", "Key0"},
        {"dump", root.string()},
        {"check", root.string()},
        {"-r", root.string(), "type", "\\基本构件\\墙\\直形墙"},
        {"diff", SITECONFIG_EXAMPLE_DIR, root.string()},
    };
    for (const auto& args : commands) ExpectYamlEqualsJson(args);
}

}  // namespace
