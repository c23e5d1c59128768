// How far the construction of a CPropertiesConfig has come, for a host that shows progress on a
// long load.
#pragma once

#include <cstddef>
#include <functional>

#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

// The parts of a load that read many files, in the order a load reads them.
enum class LoadPart {
    kDefinitions,     // the definition folder's *_POOL.xml files
    kShapePool,       // the shape-pool folder's *.xml files
    kTemplates,       // the files the template folder's "filelist.cfg" lists
    kPropertyModels,  // the files the property-model folder's "filelist.cfg" lists
    kEditViews,       // the edit-view files of the display configuration
    kGraphLibraries,  // the two graph libraries
};

struct LoadProgress {
    LoadPart part;
    const wchar_t* partName;  // "definitions", "shape pool", "templates", "property models",
                              // "edit views", "graph libraries"
    size_t done;              // files of the part read, 1 to total
    size_t total;             // files of the part
};

// Called after each file of each part, in file order, on the thread that constructs the
// configuration (whatever SetLoadThreads allows). A part without files is not reported.
using LoadProgressSink = std::function<void(const LoadProgress&)>;

// Installs the process-wide progress sink (an empty function: none, the default) and returns
// the previous one. It may be replaced at any time, as the report sinks may; a load running on
// another thread may still call the previous sink while it is being replaced.
SITECONFIG_API LoadProgressSink SetLoadProgressSink(LoadProgressSink sink);

}  // namespace CONFIG
