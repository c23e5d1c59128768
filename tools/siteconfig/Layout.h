// Where the parts of a configuration root lie: the seven sources of the property
// configuration, the plug-in list, the resource settings and the application folder.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <siteconfig/SiteConfig.h>

namespace sctool {

struct Layout {
    // One part: its default place below the root, and the path a flag gave instead.
    struct Part {
        const char* flag;         // command-line flag, e.g. "--definitions"
        const char* defaultPath;  // below the root; folders end with "/"
        bool folder;
        const char* description;
        std::string override;  // empty: the default below the root
    };

    std::string root;
    std::string appDir;  // plug-in paths and ".\" settings resolve against it; see ResolvedAppDir
    std::vector<Part> parts;

    Layout();
    Part& part(const char* flag);
    const Part& part(const char* flag) const;

    // The path of a part as the library receives it: folders end with a separator.
    std::string Path(const char* flag) const;
    CString PathW(const char* flag) const;
    // The application folder, ending with a separator: --app-dir, else DefaultAppDir().
    std::string ResolvedAppDir() const;
};

// The application folder when no flag names one, ending with a separator: the installed
// application folder (the plug-ins installed with the command) when it exists beside the
// executable's folder, else the executable's folder (as in the build tree).
std::string DefaultAppDir();
// For help texts: where DefaultAppDir looks.
std::string DefaultAppDirDescription();

// The folder of the running executable, ending with a separator.
std::string ExecutableFolder();
void SetExecutablePath(const char* argv0);

// Constructs the property configuration from the layout's seven sources, as an application
// does. Reports and diagnostics go to whatever sinks are installed.
std::unique_ptr<CONFIG::CPropertiesConfig> LoadProperties(const Layout& layout);

}  // namespace sctool
