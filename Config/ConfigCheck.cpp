#include <siteconfig/SiteConfigCheck.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <utility>

#include <siteconfig/CGraphsConfig.h>
#include <siteconfig/CResourceConfig.h>
#include <siteconfig/SiteConfigTables.h>

#include "CheckSession.h"
#include "FileSystem.h"
#include "FormatCheck.h"
#include "LocationIndex.h"
#include "PropEditView.h"
#include "SourceLines.h"
#include "Tools.h"

namespace CONFIG {
namespace {

bool IsFolder(const CString& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(std::filesystem::u8path(TOOLS::NativePath(path)), ignored);
}

// The application's host, remembering each library asked for and whether it resolved.
class RecordingHost : public APP::IAppDllInstanceMgr {
public:
    void* GetDllProcAddress(const CString& path, const char* entry) override {
        void* address = m_host.GetDllProcAddress(path, entry);
        m_libraries.push_back({path, address != nullptr});
        return address;
    }
    std::vector<PluginLibrary>& Libraries() { return m_libraries; }

private:
    APP::CAppDllInstanceMgr m_host;
    std::vector<PluginLibrary> m_libraries;
};

void CheckPluginList(const CString& appDir, const CString& listFile, CCheckSession& session,
                     PluginCheck* result) {
    RecordingHost host;
    const size_t before = session.Findings().size();
    const CGraphsConfig graphs(appDir, listFile, &host);
    // The host names a library that does not load; the author needs the list that names it.
    std::set<CString> named;
    for (size_t i = before; i < session.Findings().size(); ++i) {
        ConfigFinding& finding = session.Findings()[i];
        if (finding.code != L"plugin-load") continue;
        finding.text = finding.file;
        finding.file = listFile;
        named.insert(finding.text);
    }
    for (const PluginLibrary& library : host.Libraries()) {
        if (library.loaded || named.count(library.path)) continue;
        session.Record(
            {FindingSeverity::kError, CString(L"plugin-entry"), listFile, 0, 0,
             L"plug-in library \"" + library.path + L"\" does not export GraphHandlerCreater",
             library.path});
    }
    if (result) {
        result->libraries = std::move(host.Libraries());
        result->handlerTypes = CConfigTables::GetHandlerTypes(graphs);
    }
}

// The type name of a type-and-section text ("Wall_直形墙" -> "Wall").
CString TypeNameOf(const CString& typeAndSection) {
    const int underscore = typeAndSection.Find(L'_');
    return underscore < 0 ? typeAndSection : typeAndSection.Left(underscore);
}

void CheckDisplayReferences(const CConfigTables& tables, const ConfigSources& sources,
                            const CString& displayFolder, CCheckSession& session) {
    const CString locationFile = displayFolder + L"PropertyLocShow.xml";
    const std::vector<CString> defined = tables.GetDefineLocs();
    const std::set<CString> definedSet(defined.begin(), defined.end());
    const ContainerTable containers = tables.GetContainers();
    std::set<CString> usedContainers;
    std::set<std::pair<CString, CString>> seen;
    const std::vector<LocationViewInfo> views = tables.GetLocationViews();
    for (size_t i = 0; i < views.size(); ++i) {
        const LocationViewInfo& view = views[i];
        const SourcePosition& entry = sources.locationViews[i];
        if (!view.loc.IsEmpty() && !definedSet.count(view.loc)) {
            session.Add(FindingSeverity::kWarning, L"dangling-reference", locationFile, entry.line,
                        entry.column,
                        L"view location \"" + view.loc + L"\" is not a defined location", view.loc);
        }
        const CString& container =
            static_cast<const CPropEditView*>(view.view)->GetOwnContainer().name;
        usedContainers.insert(container);
        if (!container.IsEmpty() && !containers.count(container)) {
            const CString file = session.ViewFile(i);
            const auto [line, column] = session.ChildPosition(file, L"Container");
            session.Add(FindingSeverity::kError, L"dangling-reference", file, line, column,
                        L"container \"" + container + L"\" is not in EnableContainer.xml",
                        container);
        }
        for (const CString& typeAndSection : view.typeAndSections) {
            const CString typeName = TypeNameOf(typeAndSection);
            if (TOOLS::CKADOHandler::GetComponentTypeByName(typeName) ==
                KADO::Product::InvalidComponentType) {
                session.Add(FindingSeverity::kError, L"unknown-type", locationFile, entry.line,
                            entry.column,
                            L"view for \"" + typeAndSection + L"\" names no component type",
                            typeAndSection);
            }
            if (!seen.emplace(view.loc, typeAndSection).second) {
                session.Add(FindingSeverity::kWarning, L"duplicate-entry", locationFile, entry.line,
                            entry.column,
                            L"a second view for \"" + typeAndSection + L"\" at \"" + view.loc +
                                L"\" is never chosen",
                            typeAndSection);
            }
        }
    }
    // What nothing uses is worth a note: a container no view names.
    const CPropEditView* gridTemplate =
        static_cast<const CPropEditView*>(tables.GetGridTemplateView());
    usedContainers.insert(gridTemplate->GetOwnContainer().name);
    for (const auto& [name, at] : sources.containers) {
        if (usedContainers.count(name)) continue;
        session.Add(FindingSeverity::kNote, L"unused", at.file, at.line, at.column,
                    L"no edit view uses container \"" + name + L"\"", name);
    }
}

// A section-selection text that is no valid location and matches no shown location adds nothing
// to any expansion: most likely misspelt.
void CheckSectionSelection(const CConfigTables& tables, const ConfigSources& sources,
                           CCheckSession& session) {
    const CLocationIndex index(tables.GetShowLocs(), tables.GetSectionSelect());
    for (const auto& [key, text] : index.TextsCollectingNothing()) {
        const SourcePosition& at = sources.sectionSelect.at(key);
        session.Add(FindingSeverity::kWarning, L"dangling-reference", at.file, at.line, at.column,
                    L"section-selection text \"" + text + L"\" of \"" + key +
                        L"\" is no location and matches no shown location",
                    text);
    }
}

// Edit-view files under the display folder that no "View" entry names: a note each. Only
// files whose text holds a "PropEditView" element count; nothing else of them is read.
void CheckUnusedEditViews(const CString& displayFolder, CCheckSession& session) {
    namespace fs = std::filesystem;
    const auto normal = [](const CString& path) {
        return fs::u8path(TOOLS::NativePath(path)).lexically_normal();
    };
    std::set<fs::path> read;
    for (const CString& file : session.ViewFiles()) read.insert(normal(file));
    for (const wchar_t* name : {L"GridTemplate.xml", L"ItemTemplate.xml", L"PropertyLocShow.xml",
                                L"EnableContainer.xml"}) {
        read.insert(normal(displayFolder + name));
    }
    const fs::path folder = normal(displayFolder);
    std::error_code error;
    fs::recursive_directory_iterator entry(folder, error);
    for (; !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        const fs::path path = entry->path().lexically_normal();
        if (path.extension() != ".xml" || read.count(path) || !entry->is_regular_file(error)) {
            continue;
        }
        // Named as the layout names its files: below the display folder as given.
        const CString file =
            displayFolder + TOOLS::WideFromUtf8(path.lexically_relative(folder).generic_u8string());
        TOOLS::CSourceLines text;
        const size_t root = text.Load(file) ? text.Text().find("<PropEditView") : std::string::npos;
        if (root == std::string::npos) continue;
        int line = 0;
        int column = 0;
        text.Locate(root, line, column);
        session.Add(FindingSeverity::kNote, L"unused", file, line, column,
                    L"no location view uses this edit-view file", CString());
    }
}

// A control text used once, a slip away from one used at least three times, is most likely
// misspelt: the application would not know it. The library keeps controls as texts, so the
// configuration's own usage is the vocabulary.
void CheckControlNames(const CConfigTables& tables, const ConfigSources& sources,
                       CCheckSession& session) {
    struct Use {
        int count = 0;
        SourcePosition first;
    };
    std::map<CString, Use> uses;
    const auto count = [&uses](IPropEditView* view,
                               const std::vector<std::vector<SourcePosition>>& positions) {
        const std::vector<GridShowData*>& groups = view->GetGridShows();
        for (size_t g = 0; g < groups.size(); ++g) {
            size_t i = 0;
            for (const GridItemData* item : groups[g]->items) {
                const bool known = g < positions.size() && i < positions[g].size();
                if (!item->control.IsEmpty()) {
                    Use& use = uses[item->control];
                    if (use.count++ == 0 && known) use.first = positions[g][i];
                }
                ++i;
            }
        }
    };
    count(tables.GetGridTemplateView(), sources.gridTemplateItems);
    const std::vector<LocationViewInfo> views = tables.GetLocationViews();
    for (size_t v = 0; v < views.size(); ++v) count(views[v].view, sources.viewItems[v]);

    std::vector<CString> common;
    for (const auto& [control, use] : uses) {
        if (use.count >= 3) common.push_back(control);
    }
    for (const auto& [control, use] : uses) {
        if (use.count != 1) continue;
        const CString closest = ClosestName(control, common);
        if (closest.IsEmpty()) continue;
        CString message;
        message.Format(L"control \"%s\" is used once; did you mean \"%s\" (used %d times)?",
                       control, closest, uses[closest].count);
        session.Add(FindingSeverity::kWarning, L"suspect-name", use.first.file, use.first.line,
                    use.first.column, message, control);
    }
}

// A definition's graph-library identifier may name an entry of the application's own graph
// library, which a layout does not hold: one that neither of the layout's libraries has is
// worth a note, not a failure.
void CheckGraphLibIds(const CConfigTables& tables, const ConfigSources& sources,
                      CCheckSession& session) {
    const std::set<CString>& ids = session.ModelIds();
    if (ids.empty()) return;  // no graph library to refer to
    const auto check = [&](const PropertyInsData& record, const CString& file) {
        if (record.graphLibId.IsEmpty() || ids.count(record.graphLibId)) return;
        const auto [line, column] = session.ChildPosition(file, L"GraphLibId");
        session.Add(FindingSeverity::kNote, L"dangling-reference", file, line, column,
                    L"graph-library model \"" + record.graphLibId +
                        L"\" is in neither graph library of the layout",
                    record.graphLibId);
    };
    for (const auto& [type, definition] : tables.GetDefinitions()) {
        check(definition, sources.definitions.at(type).file);
    }
    // Graph-library models name themselves, so only the templates read from files are checked.
    size_t i = 0;
    for (const PropertyInsData& record : tables.GetTemplates()) {
        check(record, sources.templates[i++].file);
    }
}

// A value that reads as a relative path ("Resource\Images\", "..\Data", "./x") but is not
// written ".\", the one form the settings store resolves against the application folder.
bool IsUnresolvedRelativePath(const CString& value) {
    int separator = value.Find(L'\\');
    const int slash = value.Find(L'/');
    if (separator < 0 || (slash >= 0 && slash < separator)) separator = slash;
    if (separator <= 0) return false;  // no path, or a rooted one
    const CString first = value.Left(separator);
    if (first.Find(L' ') >= 0 || first[first.GetLength() - 1] == L':')
        return false;  // text, drive, URL
    return !(first == L"." && value[separator] == L'\\');
}

void CheckSettings(const CResourceConfig& settings, const CString& file, CCheckSession& session) {
    const std::map<CString, SourcePosition> sources = CConfigTables::GetResourceSources(settings);
    for (const auto& [key, value] : CConfigTables::GetResourceValues(settings)) {
        if (key == L"AppDir") continue;  // set by the application, not stored
        const SourcePosition& at = sources.at(key);
        if (value.IsEmpty()) {
            session.Add(FindingSeverity::kWarning, L"empty-value", file, at.line, at.column,
                        L"setting \"" + key + L"\" has an empty value", key);
        } else if (IsUnresolvedRelativePath(value)) {
            session.Add(FindingSeverity::kWarning, L"relative-path", file, at.line, at.column,
                        L"setting \"" + key + L"\" is a relative path not written \".\\\"; it " +
                            L"is not resolved against the application folder",
                        value);
        }
    }
}

// One cause, one finding: a missing folder is not also each file in it, and a missing file is
// not also what its absence leaves empty.
void DropConsequences(const ConfigLayout& layout, std::vector<ConfigFinding>& findings) {
    const CString folders[] = {layout.definitionFolder, layout.displayFolder, layout.templateFolder,
                               layout.propModelFolder, layout.shapePoolFolder};
    std::vector<ConfigFinding> kept;
    std::vector<CString> missingFolders;
    for (const CString& folder : folders) {
        if (folder.IsEmpty() || IsFolder(folder)) continue;
        missingFolders.push_back(folder);
        kept.push_back({FindingSeverity::kError, CString(L"missing-folder"), folder, 0, 0,
                        L"folder \"" + folder + L"\" does not exist", folder});
    }
    std::set<CString> missingFiles;
    for (ConfigFinding& finding : findings) {
        const bool inMissingFolder =
            std::any_of(missingFolders.begin(), missingFolders.end(), [&](const CString& f) {
                return finding.file.GetLength() >= f.GetLength() &&
                       finding.file.Left(f.GetLength()) == f;
            });
        if (inMissingFolder) continue;
        if (missingFiles.count(finding.file)) continue;
        if (finding.code == L"missing-file" && finding.line == 0) missingFiles.insert(finding.file);
        kept.push_back(std::move(finding));
    }
    findings = std::move(kept);
}

}  // namespace

std::vector<ConfigFinding> CheckConfiguration(const ConfigLayout& layout,
                                              const CheckOptions& options,
                                              CheckedConfiguration* loaded) {
    std::vector<ConfigFinding> findings;
    CheckedConfiguration result;
    {
        CCheckSession session(options.extraChecks);
        result.properties = std::make_unique<CPropertiesConfig>(
            layout.definitionFolder, layout.displayFolder, layout.templateFolder,
            layout.propModelFolder, layout.graphLibrary1, layout.graphLibrary2,
            layout.shapePoolFolder);
        const CPropertiesConfig& config = *result.properties;
        if (!layout.resourceFile.IsEmpty()) {
            result.settings = std::make_unique<CResourceConfig>();
            result.settings->SetAppDir(layout.appDir);
            result.settings->Load(layout.resourceFile);
        }
        if (!layout.pluginList.IsEmpty() && options.loadPlugins) {
            CheckPluginList(layout.appDir, layout.pluginList, session, &result.plugins);
        }
        if (options.extraChecks) {
            const CConfigTables tables(config);
            const ConfigSources sources = tables.GetSources();
            CheckDisplayReferences(tables, sources, layout.displayFolder, session);
            CheckSectionSelection(tables, sources, session);
            CheckUnusedEditViews(layout.displayFolder, session);
            CheckControlNames(tables, sources, session);
            session.NoteUnusedItemTemplates();
            CheckGraphLibIds(tables, sources, session);
            if (result.settings) CheckSettings(*result.settings, layout.resourceFile, session);
        }
        findings = std::move(session.Findings());
    }
    DropConsequences(layout, findings);
    // Each file's findings together, files in the order they were first met, lines in order.
    std::map<CString, size_t> fileRank;
    for (const ConfigFinding& finding : findings) fileRank.emplace(finding.file, fileRank.size());
    std::stable_sort(findings.begin(), findings.end(),
                     [&](const ConfigFinding& a, const ConfigFinding& b) {
                         const size_t ra = fileRank[a.file];
                         const size_t rb = fileRank[b.file];
                         return ra != rb ? ra < rb : a.line < b.line;
                     });
    if (loaded) *loaded = std::move(result);
    return findings;
}

std::vector<ConfigFinding> CheckPlugins(const CString& appDir, const CString& listFile,
                                        PluginCheck* result) {
    CCheckSession session(false);
    CheckPluginList(appDir, listFile, session, result);
    return std::move(session.Findings());
}

const wchar_t* SeverityName(FindingSeverity severity) {
    switch (severity) {
        case FindingSeverity::kError:
            return L"error";
        case FindingSeverity::kWarning:
            return L"warning";
        case FindingSeverity::kNote:
            return L"note";
    }
    return L"error";
}

}  // namespace CONFIG
