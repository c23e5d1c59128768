// siteconfig diff: what changed between two configuration roots, table by table and key by key,
// with the file and line of each record on both sides.
#pragma once

#include <string>

#include "Commands.h"

namespace sctool {

// Loads `rootA` and `rootB` with the layout of `options` and prints their differences. Exit
// status: 0 when every table is equal, 1 when some differ, 2 when a root is not a folder.
// Problems of loading go to standard error and do not change the status.
int RunDiff(const Options& options, const std::string& rootA, const std::string& rootB);

}  // namespace sctool
