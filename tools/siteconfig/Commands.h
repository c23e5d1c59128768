// The siteconfig commands. Each returns the process exit status: 0 when nothing was reported,
// 1 when the library or the command found a problem, 2 when the command was used wrongly.
#pragma once

#include <string>

#include "Layout.h"

namespace sctool {

constexpr int kExitClean = 0;
constexpr int kExitProblems = 1;
constexpr int kExitUsage = 2;

struct Options {
    Layout layout;
    bool json = false;
    bool quiet = false;   // check: errors only
    bool werror = false;  // check: warnings count as errors
};

// Errors (Fail) are also written to standard output as {"error": message} when `json`.
void SetJsonErrors(bool json);
int Fail(int status, const std::string& message);

int RunCheck(const Options& options);
int RunDump(const Options& options);
int RunType(const Options& options, const std::string& category);
int RunView(const Options& options, const std::string& typeAndSection, const std::string& loc);
int RunLocs(const Options& options, const std::string& loc);
int RunShape(const Options& options, const std::string& type, const std::string& loc,
             const std::string& shape);
int RunPreview(const Options& options, const std::string& typeAndSection, const std::string& loc,
               const std::string& outputFile);
int RunSettingsGet(const Options& options, const std::string& file, const std::string& key);
int RunSettingsSet(const Options& options, const std::string& file, const std::string& key,
                   const std::string& value);
int RunSettingsList(const Options& options, const std::string& file);
// The plug-in list of the layout (--plugins, else ROOT/Plugins.ini), against --app-dir.
int RunPlugins(const Options& options);

}  // namespace sctool
