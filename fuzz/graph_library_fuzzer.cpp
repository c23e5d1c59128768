// A graph library file, read by the graph-base seam and as the first graph library of a
// configuration.
#include <siteconfig/CPropertiesConfig.h>
#include "FuzzSupport.h"
#include "GraphLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using fuzzing::ScratchPath;
    static const bool ready = [] {
        fuzzing::Quiet();
        for (const char* folder : {"Definitions", "Display", "Templates", "Models", "ShapePool"}) {
            fuzzing::EmptyScratchFolder(folder);
        }
        return true;
    }();
    (void)ready;
    const CString path = fuzzing::WriteScratch("graphs.xml", data, size);
    CStringArray models;
    TOOLS::CBimSerialDataLibrary library;
    library.GetAllModelInfo(path, models);
    fuzzing::Check(models.GetSize() % 3 == 0, "a graph library gives texts not in threes");
    CONFIG::CPropertiesConfig config(ScratchPath("Definitions/"), ScratchPath("Display/"),
                                     ScratchPath("Templates/"), ScratchPath("Models/"), path, path,
                                     ScratchPath("ShapePool/"));
    fuzzing::QueryProperties(config);
    return 0;
}
