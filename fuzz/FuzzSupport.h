// What every fuzz target shares: silent report sinks and a scratch folder of the process into
// which the target writes the input as the configuration file that the reader under test opens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <siteconfig/CString.h>

namespace fuzzing {

// Installs sinks that drop reports and diagnostics, so that the fuzzer's output stays readable
// and fast. Returns true so that a target can call it in a static initialiser.
bool Quiet();

// The process's scratch folder: under /dev/shm when there is one (saving then costs no disk
// flush), else under TMPDIR or /tmp. Created on first use and removed when the process exits.
const std::string& ScratchRoot();

// ScratchRoot() + relative, as a wide path for the library.
CString ScratchPath(const std::string& relative);

// Writes `size` bytes as ScratchRoot() + relative, creating folders on the way and replacing
// what was there. Returns the wide path.
CString WriteScratch(const std::string& relative, const uint8_t* data, size_t size);
CString WriteScratch(const std::string& relative, const std::string& text);

// Removes ScratchRoot() + relative and everything below it, then creates it as an empty folder.
// Returns the wide folder path with its trailing separator.
CString EmptyScratchFolder(const std::string& relative);

// Stops the process with a message when a property the library promises does not hold, so that
// libFuzzer records the input.
void Check(bool condition, const char* what);

}  // namespace fuzzing

namespace CONFIG {
class CPropertiesConfig;
class IPropertyShow;
class IPropEditView;
}  // namespace CONFIG

namespace fuzzing {

// Asks every question of the interfaces about what was read, walking every record, item and
// option that the answers hand out, and copies the objects, so that each table a reader filled is
// touched. Bounded: at most a few dozen questions of each kind.
void QueryProperties(CONFIG::CPropertiesConfig& config);
void QueryDisplay(CONFIG::IPropertyShow& show);
void QueryView(CONFIG::IPropEditView& view);

}  // namespace fuzzing
