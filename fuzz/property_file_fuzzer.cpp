// A property file read as a definition, a template and a shape-pool entry of one configuration.
#include <siteconfig/CPropertiesConfig.h>
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using fuzzing::ScratchPath;
    using fuzzing::WriteScratch;
    static const bool ready = [] {
        fuzzing::Quiet();
        fuzzing::EmptyScratchFolder("Display");
        fuzzing::EmptyScratchFolder("Models");
        WriteScratch("Templates/filelist.cfg", "<filelist><file>input.xml</file></filelist>");
        return true;
    }();
    (void)ready;
    WriteScratch("Definitions/Input_POOL.xml", data, size);
    WriteScratch("Templates/input.xml", data, size);
    WriteScratch("ShapePool/input.xml", data, size);
    CONFIG::CPropertiesConfig config(ScratchPath("Definitions/"), ScratchPath("Display/"),
                                     ScratchPath("Templates/"), ScratchPath("Models/"),
                                     ScratchPath("none1.xml"), ScratchPath("none2.xml"),
                                     ScratchPath("ShapePool/"));
    fuzzing::QueryProperties(config);
    return 0;
}
