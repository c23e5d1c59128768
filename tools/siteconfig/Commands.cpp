#include "Commands.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <list>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include <unistd.h>

#include <siteconfig/SiteConfigCheck.h>
#include <siteconfig/SiteConfigTables.h>
#include "Describe.h"
#include "Findings.h"
#include "Preview.h"
#include "Progress.h"
#include "TextOutput.h"

namespace sctool {
namespace {

namespace fs = std::filesystem;
using KADO::Product::EKADOComponentType;

bool g_jsonErrors = false;

}  // namespace

void SetJsonErrors(bool json) { g_jsonErrors = json; }

int Fail(int status, const std::string& message) {
    if (g_jsonErrors) {
        Json error;
        error["error"] = message;
        std::cout << error.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    }
    std::cerr << "siteconfig: " << message << '\n';
    return status;
}

namespace {

bool RootIsUsable(const Options& options, int& status) {
    std::error_code ec;
    if (!fs::is_directory(options.layout.root, ec)) {
        status = Fail(kExitUsage, options.layout.root + ": no such configuration folder");
        return false;
    }
    return true;
}

// A finding of the library's checks as the command's JSON gives it.
Json CheckFindingToJson(const CONFIG::ConfigFinding& finding, const std::string& severity,
                        const std::string& root) {
    Json j;
    j["severity"] = severity;
    j["code"] = TOOLS::Utf8FromWide(finding.code);
    j["file"] = finding.file.IsEmpty() ? Json(nullptr)
                                       : Json(DisplayPath(TOOLS::Utf8FromWide(finding.file), root));
    j["line"] = finding.line > 0 ? Json(finding.line) : Json(nullptr);
    j["column"] = finding.column > 0 ? Json(finding.column) : Json(nullptr);
    j["message"] = TOOLS::Utf8FromWide(finding.message);
    j["text"] = finding.text.IsEmpty() ? Json(nullptr) : Json(TOOLS::Utf8FromWide(finding.text));
    return j;
}

// Plug-in paths are relative to the application folder: a library that did not load is most
// often one looked for in the wrong folder.
void HintAtAppDir(const CONFIG::PluginCheck& plugins, const Layout& layout) {
    for (const CONFIG::PluginLibrary& library : plugins.libraries) {
        if (library.loaded) continue;
        std::cerr << "siteconfig: plug-in paths are relative to the application folder "
                  << layout.ResolvedAppDir() << "; --app-dir names another\n";
        return;
    }
}

Json Findings(const FindingCollector& collector, size_t from, const std::string& root) {
    Json list = Json::array();
    for (size_t i = from; i < collector.findings().size(); ++i) {
        list.push_back(FindingToJson(collector.findings()[i], root));
    }
    return list;
}

void PrintFindings(std::ostream& out, const FindingCollector& collector, size_t from,
                   const std::string& root) {
    for (size_t i = from; i < collector.findings().size(); ++i) {
        out << FormatFinding(collector.findings()[i], root) << '\n';
    }
}

// A configuration loaded for a query. Problems of loading go to standard error, so that the
// answer itself stays clean; the query's own reports are part of its answer.
struct QuerySession {
    FindingCollector findings;
    std::unique_ptr<CONFIG::CPropertiesConfig> config;
    size_t loadFindings = 0;

    explicit QuerySession(const Options& options) {
        {
            const ScopedLoadProgress progress(options.quiet);
            config = LoadProperties(options.layout);
        }
        loadFindings = findings.findings().size();
        if (loadFindings > 0) {
            PrintFindings(std::cerr, findings, 0, options.layout.root);
            std::cerr << "siteconfig: " << loadFindings
                      << " problem(s) while loading; run \"siteconfig check\" for details\n";
        }
    }
    bool QueryReported() const { return findings.findings().size() > loadFindings; }
    Json QueryFindings(const Options& options) const {
        return Findings(findings, loadFindings, options.layout.root);
    }
};

int Finish(const Options& options, QuerySession& session, Json answer, bool found) {
    answer["reports"] = session.QueryFindings(options);
    Emit(answer, options.json);
    // Problems of loading fail the command as they fail check; they went to standard error.
    return found && session.loadFindings == 0 && !session.QueryReported() ? kExitClean
                                                                          : kExitProblems;
}

size_t CountRecords(const std::list<CONFIG::PropertyInsData>& records) {
    size_t count = 0;
    for (const CONFIG::PropertyInsData& record : records) {
        count += 1 + CountRecords(record.children);
    }
    return count;
}

Json Summary(const CONFIG::CheckedConfiguration& loaded) {
    const CONFIG::CConfigTables inspector(*loaded.properties);
    const auto definitions = inspector.GetDefinitions();
    size_t instances = 0;
    for (const auto& entry : definitions) instances += CountRecords(entry.second.children);
    size_t groups = 0;
    size_t items = 0;
    const auto views = inspector.GetLocationViews();
    for (const CONFIG::LocationViewInfo& view : views) {
        for (const CONFIG::GridShowData* group : view.view->GetGridShows()) {
            ++groups;
            items += group->items.size();
        }
    }
    size_t categories = 0;
    for (const auto& entry : inspector.GetCategoryIndex()) categories += entry.second.size();
    const CONFIG::PluginCheck& plugins = loaded.plugins;
    size_t loadedLibraries = 0;
    for (const CONFIG::PluginLibrary& library : plugins.libraries)
        loadedLibraries += library.loaded;

    Json s;
    s["definitions"] = definitions.size();
    s["definition instances"] = instances;
    s["templates"] = inspector.GetTemplates().size();
    s["property models"] = inspector.GetPropModels().size();
    s["shape pool entries"] = inspector.GetShapePool().size();
    s["categories"] = categories;
    s["defined locations"] = inspector.GetDefineLocs().size();
    s["shown locations"] = inspector.GetShowLocs().size();
    s["section selections"] = inspector.GetSectionSelect().size();
    s["location views"] = views.size();
    s["item groups"] = groups;
    s["items"] = items;
    s["component kinds"] = inspector.GetComponentKinds().size();
    s["view parameters"] = inspector.GetViewParams().size();
    s["meter parameters"] = inspector.GetMeterParams().size();
    s["view modes"] = inspector.GetView3DModes().size();
    s["containers"] = inspector.GetContainers().size();
    s["plug-in libraries"] = plugins.libraries.size();
    s["plug-in libraries loaded"] = loadedLibraries;
    s["graph handlers"] = plugins.handlerTypes.size();
    size_t settings = 0;  // those the file holds; the application folder is the command's
    if (loaded.settings) {
        for (const auto& [key, source] :
             CONFIG::CConfigTables::GetResourceSources(*loaded.settings)) {
            settings += source.file.IsEmpty() ? 0 : 1;
        }
    }
    s["settings"] = settings;
    return s;
}

}  // namespace

namespace {

CONFIG::ConfigLayout LibraryLayout(const Layout& layout) {
    CONFIG::ConfigLayout l;
    l.definitionFolder = layout.PathW("--definitions");
    l.displayFolder = layout.PathW("--display");
    l.templateFolder = layout.PathW("--templates");
    l.propModelFolder = layout.PathW("--models");
    l.graphLibrary1 = layout.PathW("--graph-lib1");
    l.graphLibrary2 = layout.PathW("--graph-lib2");
    l.shapePoolFolder = layout.PathW("--shape-pool");
    l.pluginList = layout.PathW("--plugins");
    l.resourceFile = layout.PathW("--resource");
    l.appDir = TOOLS::WideFromUtf8(layout.ResolvedAppDir());
    return l;
}

// "FILE:LINE:COL: severity: message [code]", the file relative to the root.
std::string CheckLine(const CONFIG::ConfigFinding& finding, const std::string& severity,
                      const std::string& root, bool colour) {
    std::string where =
        finding.file.IsEmpty() ? "(layout)" : DisplayPath(TOOLS::Utf8FromWide(finding.file), root);
    if (finding.line > 0) {
        where += ":" + std::to_string(finding.line);
        if (finding.column > 0) where += ":" + std::to_string(finding.column);
    }
    std::string shown = severity;
    if (colour) {
        const char* code = severity == "error"     ? "\033[1;31m"
                           : severity == "warning" ? "\033[1;35m"
                                                   : "\033[1;36m";
        shown = code + severity + "\033[0m";
    }
    return where + ": " + shown + ": " + TOOLS::Utf8FromWide(finding.message) + " [" +
           TOOLS::Utf8FromWide(finding.code) + "]";
}

}  // namespace

int RunCheck(const Options& options) {
    int status = kExitClean;
    if (!RootIsUsable(options, status)) return status;
    const Layout& layout = options.layout;
    CONFIG::CheckedConfiguration loaded;
    std::vector<CONFIG::ConfigFinding> all;
    {
        const ScopedLoadProgress progress(options.quiet);
        all = CONFIG::CheckConfiguration(LibraryLayout(layout), CONFIG::CheckOptions(), &loaded);
    }

    size_t counts[3] = {0, 0, 0};
    Json problems = Json::array();
    // Each problem also goes to standard error as one "FILE:LINE:COL: severity: message" line,
    // the form editors and build tools pick up.
    const bool colour = ::isatty(STDERR_FILENO);
    for (const CONFIG::ConfigFinding& finding : all) {
        auto severity = finding.severity;
        if (options.werror && severity == CONFIG::FindingSeverity::kWarning) {
            severity = CONFIG::FindingSeverity::kError;
        }
        ++counts[static_cast<int>(severity)];
        if (options.quiet && severity != CONFIG::FindingSeverity::kError) continue;
        const std::string name = TOOLS::Utf8FromWide(CONFIG::SeverityName(severity));
        problems.push_back(CheckFindingToJson(finding, name, layout.root));
        std::cerr << CheckLine(finding, name, layout.root, colour) << '\n';
    }
    const bool failed = counts[0] + counts[1] > 0;
    Json j;
    j["root"] = layout.root;
    j["clean"] = !failed;
    j["errors"] = counts[0];
    j["warnings"] = counts[1];
    j["notes"] = counts[2];
    j["problems"] = std::move(problems);
    if (!options.quiet) j["loaded"] = Summary(loaded);
    HintAtAppDir(loaded.plugins, layout);
    Emit(j, options.json);
    return failed ? kExitProblems : kExitClean;
}

int RunDump(const Options& options) {
    int status = kExitClean;
    if (!RootIsUsable(options, status)) return status;
    QuerySession session(options);
    session.findings.SetMuted(true);
    const Json dump = DumpConfig(*session.config);
    session.findings.SetMuted(false);
    Emit(dump, options.json);
    return session.loadFindings == 0 ? kExitClean : kExitProblems;
}

int RunType(const Options& options, const std::string& category) {
    int status = kExitClean;
    if (!RootIsUsable(options, status)) return status;
    QuerySession session(options);
    CONFIG::CPropertiesConfig& config = *session.config;
    const Names names(config);
    const CString text = TOOLS::WideFromUtf8(category);

    Json answer;
    answer["category"] = category;
    const EKADOComponentType type = config.GetType(text);
    const bool found = type != KADO::Product::InvalidComponentType;
    answer["type"] = nullptr;
    if (found) names.PutComponent(answer, "type", type);
    if (found) {
        answer["editable"] = config.PropertyCanEdit(type);
        const auto definitions = CONFIG::CConfigTables(config).GetDefinitions();
        const auto it = definitions.find(type);
        answer["definition"] =
            it == definitions.end() ? Json(nullptr) : DescribeRecord(names, it->second);
        CONFIG::PropertyInsData templ;
        answer["template"] =
            config.GetTemplateCompIns(text, templ) ? DescribeRecord(names, templ) : Json(nullptr);
    }
    return Finish(options, session, std::move(answer), found);
}

namespace {

// The view the display configuration chooses, with words saying which one it is.
Json ChosenView(CONFIG::CPropertiesConfig& config, const std::string& typeAndSection,
                const std::string& loc) {
    const Names names(config);
    CONFIG::IPropEditView* view = config.GetPropertyShowConfig()->GetPropEditView(
        TOOLS::WideFromUtf8(typeAndSection), TOOLS::WideFromUtf8(loc));
    const CONFIG::CConfigTables inspector(config);
    const auto views = inspector.GetLocationViews();
    Json answer;
    answer["typeAndSection"] = typeAndSection;
    answer["loc"] = loc;
    answer["chosen"] = "fallback view (no location view matches)";
    for (size_t i = 0; i < views.size(); ++i) {
        if (views[i].view != view) continue;
        answer["chosen"] =
            "location view " + std::to_string(i + 1) + " of " + std::to_string(views.size());
        answer["viewLoc"] = TOOLS::Utf8FromWide(views[i].loc);
        Json sections = Json::array();
        for (const CString& s : views[i].typeAndSections)
            sections.push_back(TOOLS::Utf8FromWide(s));
        answer["viewTypeAndSections"] = std::move(sections);
    }
    const Json described = DescribeView(names, *view);
    for (const auto& [key, value] : described.items()) answer[key] = value;
    answer["container"] = DescribeViewContainer(*view);
    return answer;
}

}  // namespace

int RunView(const Options& options, const std::string& typeAndSection, const std::string& loc) {
    int status = kExitClean;
    if (!RootIsUsable(options, status)) return status;
    QuerySession session(options);
    Json answer = ChosenView(*session.config, typeAndSection, loc);
    return Finish(options, session, std::move(answer), true);
}

int RunPreview(const Options& options, const std::string& typeAndSection, const std::string& loc,
               const std::string& outputFile) {
    int status = kExitClean;
    if (!RootIsUsable(options, status)) return status;
    QuerySession session(options);
    CONFIG::CPropertiesConfig& config = *session.config;
    PreviewInput input;
    input.typeAndSection = typeAndSection;
    input.loc = loc;
    input.view = ChosenView(config, typeAndSection, loc);
    input.viewLabel = input.view.at("chosen").get<std::string>();
    if (input.view.contains("viewLoc")) {
        input.viewLabel += " (" + input.view.at("viewLoc").get<std::string>() + ")";
    }
    // Fill the grid with the definition's values when the text starts with a type name.
    const std::string typeName = typeAndSection.substr(0, typeAndSection.find('_'));
    const EKADOComponentType type = config.GetComponentTypeByName(TOOLS::WideFromUtf8(typeName));
    const auto definitions = CONFIG::CConfigTables(config).GetDefinitions();
    const auto it = definitions.find(type);
    if (it != definitions.end()) {
        const Names names(config);
        for (const CONFIG::PropertyParam& param : it->second.params) {
            const Json name = names.ParameterEntry(param.first);
            if (name.is_string()) {
                input.values.emplace(name.get<std::string>(),
                                     TOOLS::Utf8FromWide(param.second.second));
            }
        }
    }
    std::ofstream out(outputFile, std::ios::binary | std::ios::trunc);
    out << RenderPreview(input);
    out.close();
    if (!out) return Fail(kExitProblems, outputFile + ": cannot write the preview page");
    Json answer;
    answer["output"] = outputFile;
    for (const char* key : {"typeAndSection", "loc", "chosen", "viewLoc"}) {
        if (input.view.contains(key)) answer[key] = input.view.at(key);
    }
    return Finish(options, session, std::move(answer), true);
}

int RunLocs(const Options& options, const std::string& loc) {
    int status = kExitClean;
    if (!RootIsUsable(options, status)) return status;
    QuerySession session(options);
    CONFIG::IPropertyShow* show = session.config->GetPropertyShowConfig();
    const CString text = TOOLS::WideFromUtf8(loc);
    std::vector<CString> defined;
    show->GetDefineLocs(defined);
    std::vector<CString> expansion;
    show->GetSectionLocs(text, expansion);

    Json answer;
    answer["loc"] = loc;
    answer["defined"] = std::find(defined.begin(), defined.end(), text) != defined.end();
    answer["shown"] = show->IsLocShown(text);
    Json list = Json::array();
    for (const CString& entry : expansion) list.push_back(TOOLS::Utf8FromWide(entry));
    answer["expandsTo"] = std::move(list);
    return Finish(options, session, std::move(answer), true);
}

int RunShape(const Options& options, const std::string& typeName, const std::string& loc,
             const std::string& shape) {
    int status = kExitClean;
    if (!RootIsUsable(options, status)) return status;
    QuerySession session(options);
    CONFIG::CPropertiesConfig& config = *session.config;
    const EKADOComponentType type = config.GetComponentTypeByName(TOOLS::WideFromUtf8(typeName));
    if (type == KADO::Product::InvalidComponentType) {
        return Fail(kExitUsage, "\"" + typeName + "\" is not a component type name");
    }
    CONFIG::PropertyInsData record;
    const bool found = config.GetBaseComChangSharpData(type, TOOLS::WideFromUtf8(loc),
                                                       TOOLS::WideFromUtf8(shape), record);
    Json answer;
    answer["type"] = typeName;
    answer["loc"] = loc;
    answer["shape"] = shape;
    answer["record"] = found ? DescribeRecord(Names(config), record) : Json(nullptr);
    return Finish(options, session, std::move(answer), found);
}

namespace {

// Loads a settings file for the settings commands; false (and a message) when it has none.
// `withAppDir`: "AppDir" is set first, so that relative values resolve; it is not stored in the
// file, so a store that is to be changed and saved goes without it.
bool LoadSettings(const Options& options, const std::string& file,
                  CONFIG::CResourceConfig& settings, bool withAppDir = true) {
    if (withAppDir) settings.SetAppDir(TOOLS::WideFromUtf8(options.layout.ResolvedAppDir()));
    if (settings.Load(TOOLS::WideFromUtf8(file))) return true;
    Fail(kExitProblems, file + ": no \"Config\" element (missing, unreadable or another root)");
    return false;
}

}  // namespace

int RunSettingsGet(const Options& options, const std::string& file, const std::string& key) {
    FindingCollector findings;
    CONFIG::CResourceConfig settings;
    if (!LoadSettings(options, file, settings)) return kExitProblems;
    const CString name = TOOLS::WideFromUtf8(key);
    if (!settings.FindVar(name)) return Fail(kExitProblems, file + ": no setting \"" + key + "\"");
    Json j;
    j["key"] = key;
    j["value"] = TOOLS::Utf8FromWide(settings.GetValue(name));
    PrintFindings(std::cerr, findings, 0, "");
    Emit(j, options.json);
    return findings.findings().empty() ? kExitClean : kExitProblems;
}

int RunSettingsSet(const Options& options, const std::string& file, const std::string& key,
                   const std::string& value) {
    FindingCollector findings;
    CONFIG::CResourceConfig settings;
    if (!LoadSettings(options, file, settings, false)) return kExitProblems;
    if (!settings.SetValue(TOOLS::WideFromUtf8(key), TOOLS::WideFromUtf8(value))) {
        return Fail(kExitProblems, file + ": no setting \"" + key + "\"; settings are not added");
    }
    if (!settings.Save(TOOLS::WideFromUtf8(file)))
        return Fail(kExitProblems, file + ": cannot be written");
    Json j;
    j["file"] = file;
    j["key"] = key;
    j["value"] = value;
    Emit(j, options.json);
    return kExitClean;
}

int RunSettingsList(const Options& options, const std::string& file) {
    FindingCollector findings;
    CONFIG::CResourceConfig settings;
    if (!LoadSettings(options, file, settings)) return kExitProblems;
    Json list = Json::array();
    for (const auto& [key, value] : CONFIG::CConfigTables::GetResourceValues(settings)) {
        Json entry;
        entry["key"] = TOOLS::Utf8FromWide(key);
        entry["value"] = TOOLS::Utf8FromWide(value);
        const std::string resolved = TOOLS::Utf8FromWide(settings.GetValue(key));
        if (resolved != entry["value"].get<std::string>()) entry["resolved"] = resolved;
        list.push_back(std::move(entry));
    }
    Emit(list, options.json);
    PrintFindings(std::cerr, findings, 0, "");
    return findings.findings().empty() ? kExitClean : kExitProblems;
}

int RunPlugins(const Options& options) {
    const std::string listFile = options.layout.Path("--plugins");
    std::error_code ec;
    if (!fs::is_regular_file(listFile, ec)) {
        return Fail(kExitUsage, listFile + ": no such plug-in list");
    }
    CONFIG::PluginCheck plugins;
    const std::vector<CONFIG::ConfigFinding> findings =
        CONFIG::CheckPlugins(TOOLS::WideFromUtf8(options.layout.ResolvedAppDir()),
                             TOOLS::WideFromUtf8(listFile), &plugins);
    HintAtAppDir(plugins, options.layout);
    Json answer;
    answer["list"] = listFile;
    answer["appDir"] = options.layout.ResolvedAppDir();
    const Json described = DescribePlugins(plugins, "");
    for (const auto& [key, value] : described.items()) answer[key] = value;
    Json reports = Json::array();
    for (const CONFIG::ConfigFinding& finding : findings) {
        reports.push_back(
            CheckFindingToJson(finding, TOOLS::Utf8FromWide(SeverityName(finding.severity)), ""));
    }
    answer["reports"] = std::move(reports);
    Emit(answer, options.json);
    return findings.empty() ? kExitClean : kExitProblems;
}

}  // namespace sctool
