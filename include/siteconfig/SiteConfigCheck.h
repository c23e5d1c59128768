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
#include "siteconfig/CString.h"
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

// Loads `layout` and returns its findings, grouped by file in layout order and by line within
// a file. When `loaded` is given it receives the configuration as loaded.
SITECONFIG_API std::vector<ConfigFinding> CheckConfiguration(
    const ConfigLayout& layout, const CheckOptions& options = CheckOptions(),
    std::unique_ptr<CPropertiesConfig>* loaded = nullptr);

// "error", "warning" or "note".
SITECONFIG_API const wchar_t* SeverityName(FindingSeverity severity);

}  // namespace CONFIG
