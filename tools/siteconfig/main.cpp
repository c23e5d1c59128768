// siteconfig: loads a configuration folder as the application does, says what it holds and
// what is wrong with it, and answers the application's queries from the command line.
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "Commands.h"
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
The application folder is --app-dir, else the folder of this executable.

Exit status: 0 when loading raised no error or warning (notes are allowed), 1 when it did
or the answer is a failure, 2 on bad usage.)";

}  // namespace

int main(int argc, char** argv) {
    sctool::SetExecutablePath(argc > 0 ? argv[0] : nullptr);
    sctool::Options options;
    options.layout.root = ".";

    CLI::App app{"siteconfig: check, dump and query SiteConfig configuration folders."};
    app.footer(kFooter);
    app.set_version_flag("--version", std::string("siteconfig ") + SITECONFIG_VERSION);
    app.require_subcommand(1);
    app.fallthrough();
    app.set_help_all_flag("--help-all", "Print help for every command");

    app.add_option("-r,--root", options.layout.root,
                   "Configuration root of the query commands (default: current folder)");
    for (sctool::Layout::Part& part : options.layout.parts) {
        app.add_option(part.flag, part.override,
                       std::string(part.description) + " (default: ROOT/" + part.defaultPath + ")")
            ->group("Layout");
    }
    app.add_option("--app-dir", options.layout.appDir,
                   "Application folder for plug-in paths and \".\\\" settings "
                   "(default: the folder of this executable)")
        ->group("Layout");
    app.add_flag("--json", options.json, "Write JSON instead of text");

    std::string arg1, arg2, arg3, output;

    auto* check = app.add_subcommand(
        "check",
        "Load everything as the application does and print every problem as "
        "FILE:LINE:COL: error|warning|note: message [code], then what was loaded");
    check->add_option("ROOT", options.layout.root,
                      "Configuration root (default: --root, else the current folder)");
    check->add_flag("-q,--quiet", options.quiet, "Print errors only");
    check->add_flag("--werror", options.werror, "Count warnings as errors");

    auto* dump = app.add_subcommand(
        "dump", "Print every table in a stable order (for diff); reports go to stderr");
    dump->add_option("ROOT", options.layout.root,
                     "Configuration root (default: --root, else the current folder)");

    auto* type = app.add_subcommand("type",
                                    "The component type of a category text, with its "
                                    "definition and template");
    type->add_option("CATEGORY", arg1, "Category text, e.g. \\基本构件\\墙\\直形墙")->required();

    auto* view = app.add_subcommand(
        "view",
        "The edit view chosen for a type-and-section text at a location: groups, items, "
        "mark classes and container");
    view->add_option("TYPE-AND-SECTION", arg1, "Type-and-section text, e.g. Wall_直形墙")
        ->required();
    view->add_option("LOC", arg2, "Location text, e.g. \\基本构件\\墙")->required();

    auto* locs = app.add_subcommand("locs", "How a location expands, and whether it is shown");
    locs->add_option("LOC", arg1, "Location text")->required();

    auto* shape = app.add_subcommand(
        "shape", "The shape pool's property set for a component type, location and section shape");
    shape->add_option("TYPE", arg1, "Component type name, e.g. Wall")->required();
    shape->add_option("LOC", arg2, "Location text")->required();
    shape->add_option("SHAPE", arg3, "Section shape")->required();

    auto* preview = app.add_subcommand(
        "preview", "Write a self-contained HTML page that draws the chosen edit view");
    preview->add_option("TYPE-AND-SECTION", arg1, "Type-and-section text")->required();
    preview->add_option("LOC", arg2, "Location text")->required();
    preview->add_option("-o,--output", output, "HTML file to write")->required();

    auto* settings = app.add_subcommand("settings", "Read or change a resource settings file");
    settings->add_option("FILE", arg1, "Settings file (root \"Config\")")->required();
    settings->require_subcommand(1);
    auto* get = settings->add_subcommand("get", "Print the value of KEY, paths resolved");
    get->add_option("KEY", arg2, "Setting name")->required();
    auto* set = settings->add_subcommand("set", "Change the value of an existing KEY and save");
    set->add_option("KEY", arg2, "Setting name")->required();
    set->add_option("VALUE", arg3, "New value")->required();
    settings->add_subcommand("list", "Print every setting, with resolved paths");

    auto* plugins = app.add_subcommand(
        "plugins", "Load the plug-ins of a plug-in list and show which handlers they register");
    plugins->add_option("APPDIR", arg1, "Application folder the list's paths are relative to")
        ->required();
    plugins->add_option("INI", arg2, "Plug-in list file")->required();

    auto* schema = app.add_subcommand(
        "schema",
        "Print the XML Schema (XSD) of a kind of configuration file; without KIND, "
        "list the kinds and the files each applies to");
    schema->add_option("KIND", arg1, "Kind of file, e.g. property, edit-view");
    schema->add_option("-o,--output-dir", output,
                       "Write the schema of KIND, or of every kind, into this folder as KIND.xsd");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? sctool::kExitClean : sctool::kExitUsage;
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
        if (settings->got_subcommand("list")) return sctool::RunSettingsList(options, arg1);
        if (*plugins) return sctool::RunPlugins(options, arg1, arg2);
        if (*schema) return sctool::RunSchema(options, arg1, output);
    } catch (const std::exception& error) {
        std::cerr << "siteconfig: " << error.what() << '\n';
        return sctool::kExitProblems;
    }
    return sctool::kExitUsage;
}
