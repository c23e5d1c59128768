// siteconfig: loads a configuration folder as the application does, says what it holds and
// what is wrong with it, and answers the application's queries from the command line.
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "Completion.h"
#include "Diff.h"
#include "Layout.h"
#include "Schema.h"

namespace {

constexpr const char* kFooter = R"(
A configuration root holds, unless a flag names another place:
  Definitions/              property definitions, one *_POOL.xml per component type
  Display/                  ItemTemplate.xml, GridTemplate.xml, PropertyLocShow.xml,
                            EnableContainer.xml and the edit-view files they name
  Templates/filelist.cfg    template instances
  Models/filelist.cfg       property models
  GraphLibs/GraphLib1.xml   first graph library
  GraphLibs/GraphLib2.xml   second graph library
  ShapePool/                section-shape pool, *.xml
  Plugins.ini               graph handler plug-ins, relative to the application folder
  Resource.xml              resource settings
The application folder is --app-dir, else the installed one beside this executable, else
the folder of this executable.

Exit status: 0 when loading raised no error or warning (notes are allowed), 1 when it did
or the answer is a failure, 2 on bad usage.)";

constexpr const char* kCommandFooter =
    "\"siteconfig --help\" describes the configuration root and the exit status.";

// The options every command takes: the configuration root and its layout, the application
// folder, the output format. They are given to the top level and to each command, so that they
// may stand before or after the command's name and show in each command's help.
void AddCommonOptions(CLI::App& app, sctool::Options& options) {
    app.add_option("-r,--root", options.layout.root,
                   "Configuration root (default: the current folder)")
        ->group("Common options");
    app.add_flag("--json", options.json, "Write JSON instead of YAML, errors included")
        ->group("Common options");
    app.add_flag("-q,--quiet", options.quiet,
                 "No progress; check: errors only and no summary of what was loaded")
        ->group("Common options");
    for (sctool::Layout::Part& part : options.layout.parts) {
        app.add_option(part.flag, part.override,
                       std::string(part.description) + " (default: ROOT/" + part.defaultPath + ")")
            ->group("Layout");
    }
    app.add_option("--app-dir", options.layout.appDir,
                   "Application folder for plug-in paths and \".\\\" settings (default: " +
                       sctool::DefaultAppDirDescription() + ")")
        ->group("Layout");
}

// Whether the command line asks for JSON, looked up before parsing so that a usage error can
// be written as JSON too.
bool WantsJson(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--") break;
        if (std::string(argv[i]) == "--json") return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    sctool::SetExecutablePath(argc > 0 ? argv[0] : nullptr);
    sctool::Options options;
    options.layout.root = ".";
    sctool::SetJsonErrors(WantsJson(argc, argv));

    CLI::App app{"siteconfig: check, dump and query SiteConfig configuration folders.",
                 "siteconfig"};
    app.footer(kFooter);
    app.set_version_flag("--version", std::string("siteconfig ") + SITECONFIG_VERSION);
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Print help for every command");
    AddCommonOptions(app, options);

    std::string arg1, arg2, arg3, output;
    const auto command = [&](const char* name, const char* description) {
        CLI::App* sub = app.add_subcommand(name, description);
        sub->footer(kCommandFooter);
        AddCommonOptions(*sub, options);
        return sub;
    };

    auto* check =
        command("check",
                "Load everything as the application does; every problem goes to standard error as "
                "FILE:LINE:COL: error|warning|note: message [code], the report to standard output");
    check->add_option("ROOT", options.layout.root, "Configuration root (instead of --root)");
    check->add_flag("--werror", options.werror, "Count warnings as errors");

    auto* dump = command("dump",
                         "Print every table in a stable order; problems of loading go to "
                         "standard error");
    dump->add_option("ROOT", options.layout.root, "Configuration root (instead of --root)");

    auto* type = command("type",
                         "The component type of a category text, with its definition and "
                         "template");
    type->add_option("CATEGORY", arg1, "Category text, e.g. \\基本构件\\墙\\直形墙")->required();

    auto* view = command("view",
                         "The edit view chosen for a type-and-section text at a location: "
                         "groups, items, mark classes and container");
    view->add_option("TYPE-AND-SECTION", arg1, "Type-and-section text, e.g. Wall_直形墙")
        ->required();
    view->add_option("LOC", arg2, "Location text, e.g. \\基本构件\\墙")->required();

    auto* locs = command("locs", "How a location expands, and whether it is shown");
    locs->add_option("LOC", arg1, "Location text")->required();

    auto* shape = command(
        "shape", "The shape pool's property set for a component type, location and section shape");
    shape->add_option("TYPE", arg1, "Component type name, e.g. Wall")->required();
    shape->add_option("LOC", arg2, "Location text")->required();
    shape->add_option("SHAPE", arg3, "Section shape")->required();

    auto* preview =
        command("preview", "Write a self-contained HTML page that draws the chosen edit view");
    preview->add_option("TYPE-AND-SECTION", arg1, "Type-and-section text")->required();
    preview->add_option("LOC", arg2, "Location text")->required();
    preview->add_option("-o,--output", output, "HTML file to write")->required();

    auto* settings = command("settings", "Read or change a resource settings file");
    settings->add_option("FILE", arg1, "Settings file (root \"Config\")")->required();
    settings->require_subcommand(1);
    auto* get = settings->add_subcommand("get", "Print the value of KEY, paths resolved");
    get->add_option("KEY", arg2, "Setting name")->required();
    auto* set = settings->add_subcommand("set", "Change the value of an existing KEY and save");
    set->add_option("KEY", arg2, "Setting name")->required();
    set->add_option("VALUE", arg3, "New value")->required();
    auto* list = settings->add_subcommand("list", "Print every setting, with resolved paths");
    for (CLI::App* sub : {get, set, list}) {
        sub->footer(kCommandFooter);
        AddCommonOptions(*sub, options);
    }

    auto* plugins = command("plugins",
                            "Load the plug-ins of the plug-in list (--plugins, else "
                            "ROOT/Plugins.ini) from the application folder and show which "
                            "handlers they register");

    auto* completion = command("completion", "Print the bash completion script of siteconfig");
    completion->add_option("SHELL", arg1, "Shell: bash")->check(CLI::IsMember({"bash"}));

    auto* schema =
        command("schema",
                "Print the XML Schema (XSD) of a kind of configuration file; without KIND, "
                "list the kinds and the files each applies to");
    schema->add_option("KIND", arg1, "Kind of file, e.g. property, edit-view");
    schema->add_option("-o,--output-dir", output,
                       "Write the schema of KIND, or of every kind, into this folder as KIND.xsd");

    auto* diff = command("diff",
                         "What was added, removed and changed between two configuration roots, "
                         "by table and key, with each record's file and line on both sides");
    diff->add_option("A", arg1, "First configuration root")->required();
    diff->add_option("B", arg2, "Second configuration root")->required();
    diff->footer(
        "Layout flags and --app-dir apply to both roots. Problems of loading either root "
        "go to stderr and do not change the exit status: 0 when the two are equal, 1 "
        "when they differ, 2 on bad usage.");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) return app.exit(error);
        if (WantsJson(argc, argv)) return sctool::Fail(sctool::kExitUsage, error.what());
        app.exit(error);
        return sctool::kExitUsage;
    }

    if (options.layout.root.empty()) options.layout.root = ".";
    try {
        if (*check) return sctool::RunCheck(options);
        if (*dump) return sctool::RunDump(options);
        if (*type) return sctool::RunType(options, arg1);
        if (*view) return sctool::RunView(options, arg1, arg2);
        if (*locs) return sctool::RunLocs(options, arg1);
        if (*shape) return sctool::RunShape(options, arg1, arg2, arg3);
        if (*preview) return sctool::RunPreview(options, arg1, arg2, output);
        if (*get) return sctool::RunSettingsGet(options, arg1, arg2);
        if (*set) return sctool::RunSettingsSet(options, arg1, arg2, arg3);
        if (*list) return sctool::RunSettingsList(options, arg1);
        if (*plugins) return sctool::RunPlugins(options);
        if (*schema) return sctool::RunSchema(options, arg1, output);
        if (*completion) {
            std::cout << sctool::BashCompletion(app);
            return sctool::kExitClean;
        }
        if (*diff) return sctool::RunDiff(options, arg1, arg2);
    } catch (const std::exception& error) {
        return sctool::Fail(sctool::kExitProblems, error.what());
    }
    return sctool::kExitUsage;
}
