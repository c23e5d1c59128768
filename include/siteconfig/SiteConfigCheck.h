// Checking a configuration folder: everything its author got wrong, with the file and line.
//
// CheckConfiguration loads a layout exactly as the application does (the seven sources of
// CPropertiesConfig, the plug-in list through a real host, the resource settings) on the calling
// thread and returns each problem as a finding: the reports and diagnostics that loading raises,
// and, when asked, the checks that loading alone does not make (unknown tags and names, references
// to nothing, duplicates that make one entry win silently, settings). What this load raises comes
// back as findings only: the report and diagnostic sinks receive nothing from it, and loads on
// other threads are not affected. Loading through the constructors is unchanged by all this.
#pragma once

#include <memory>
#include <vector>

#include "siteconfig/CPropertiesConfig.h"
#include "siteconfig/CResourceConfig.h"
#include "siteconfig/CString.h"
#include "siteconfig/KadoTypes.h"
#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

enum class FindingSeverity {
    kError,    // the configuration does not say what its author meant
    kWarning,  // it loads, but something is silently ignored or will surprise
    kNote,     // something exists that nothing uses
};

struct ConfigFinding {
    FindingSeverity severity = FindingSeverity::kError;
    CString code;     // stable: "unknown-tag", "missing-file", ... (README lists them)
    CString file;     // the configuration file concerned, as the layout names it; may be empty
    int line = 0;     // 1-based line in `file`; 0 when not known
    int column = 0;   // 1-based column in characters; 0 when not known
    CString message;  // one sentence for the author
    CString text;     // the offending text, when there is one
};

// Where the parts of a configuration are. Folder paths end with a separator; an empty path
// leaves that part out.
struct ConfigLayout {
    CString definitionFolder;
    CString displayFolder;
    CString templateFolder;
    CString propModelFolder;
    CString graphLibrary1;
    CString graphLibrary2;
    CString shapePoolFolder;
    CString pluginList;    // the INI of plug-in libraries
    CString resourceFile;  // the settings file
    CString appDir;        // base of plug-in paths and of ".\" settings; ends with a separator
};

struct CheckOptions {
    // Load each plug-in library of the list, as the application does.
    bool loadPlugins = true;
    // Beyond what loading reports: unknown tags and names, references, duplicates, settings.
    bool extraChecks = true;
};

// One library of a plug-in list.
struct PluginLibrary {
    CString path;         // the list's entry joined to the application folder
    bool loaded = false;  // it loaded and exports GraphHandlerCreater
};

// What the libraries of a plug-in list gave.
struct PluginCheck {
    std::vector<PluginLibrary> libraries;  // in the list's order
    // The component types some library registered a graph handler factory for, ascending.
    std::vector<KADO::Product::EKADOComponentType> handlerTypes;
};

// What a check loaded, for a caller that goes on to show it.
struct CheckedConfiguration {
    std::unique_ptr<CPropertiesConfig> properties;
    std::unique_ptr<CResourceConfig> settings;  // null when the layout names no settings file
    PluginCheck plugins;  // empty when the layout names no plug-in list or plug-ins are not loaded
};

// Loads `layout` and returns its findings, grouped by file in layout order and by line within
// a file. When `loaded` is given it receives what was loaded.
SITECONFIG_API std::vector<ConfigFinding> CheckConfiguration(
    const ConfigLayout& layout, const CheckOptions& options = CheckOptions(),
    CheckedConfiguration* loaded = nullptr);

// Loads the plug-in list `listFile` as CGraphsConfig does, each library `appDir` joined to its
// entry through a real host, and returns its findings: a library that does not load, or lacks
// the entry point, is reported at the list that names it. `result`, when given, receives what
// each library gave. The libraries are unloaded when the host is done with them.
SITECONFIG_API std::vector<ConfigFinding> CheckPlugins(const CString& appDir,
                                                       const CString& listFile,
                                                       PluginCheck* result = nullptr);

// "error", "warning" or "note".
SITECONFIG_API const wchar_t* SeverityName(FindingSeverity severity);

}  // namespace CONFIG
