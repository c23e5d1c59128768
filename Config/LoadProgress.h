// Tells the progress sink (SiteConfigProgress.h) that a file of a part has been read.
#pragma once

#include <cstddef>

#include <siteconfig/SiteConfigProgress.h>

namespace CONFIG {

// On the constructing thread only: `done` files of `total` in `part` are read.
void ReportLoadProgress(LoadPart part, size_t done, size_t total);

}  // namespace CONFIG
