// Shell completion written from the command line's own definition, so that it never lists a
// command or an option the parser does not know.
#pragma once

#include <string>

#include <CLI/CLI.hpp>

namespace sctool {

// A bash script that completes `siteconfig` (register it with `source`, or install it as
// share/bash-completion/completions/siteconfig).
std::string BashCompletion(const CLI::App& app);

}  // namespace sctool
