// How many threads loading a configuration may use.
//
// Constructing a CPropertiesConfig reads, decodes, parses and turns into records each file on a
// small pool of threads, the calling thread among them; everything that depends on the order of
// the files stays on the calling thread, in file order. The tables, every answer and the order
// of every report and diagnostic are those of a load on one thread, and the sinks are called on
// the constructing thread only.
#pragma once

#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

// The threads a load uses, the calling thread included: 1 loads on the calling thread alone.
// 0 restores the default: SITECONFIG_LOAD_THREADS when the environment sets it to a number of
// at least 1 (read once, at the first load or call of GetLoadThreads), else the number of cores,
// at most 8. Values above 64 are taken as 64. Process-wide; loads that have begun keep theirs.
SITECONFIG_API void SetLoadThreads(int threads);
SITECONFIG_API int GetLoadThreads();

}  // namespace CONFIG
