// A "filelist.cfg" of the template folder, beside two property files it may name.
#include <siteconfig/CPropertiesConfig.h>
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using fuzzing::ScratchPath;
    using fuzzing::WriteScratch;
    static const bool ready = [] {
        fuzzing::Quiet();
        fuzzing::EmptyScratchFolder("Definitions");
        fuzzing::EmptyScratchFolder("Display");
        fuzzing::EmptyScratchFolder("Models");
        fuzzing::EmptyScratchFolder("ShapePool");
        WriteScratch("Templates/wall.xml",
                     "<Property><InitName>W</InitName><ClsName>Wall</ClsName><Pool><Common>"
                     "<Fish Var=\"Category\" Val=\"\\基本构件\\墙\"/><Fish Var=\"Length\" "
                     "Val=\"100\"/></Common><Ins><Property clsname=\"Wall\" insname=\"a\" "
                     "Length=\"1|2\"/></Ins></Pool></Property>");
        WriteScratch("Templates/sub/beam.xml",
                     "<Property><ClsName>Beam</ClsName><Common><Fish Var=\"SectionShape\" "
                     "Val=\"T\"/></Common></Property>");
        return true;
    }();
    (void)ready;
    WriteScratch("Templates/filelist.cfg", data, size);
    CONFIG::CPropertiesConfig config(ScratchPath("Definitions/"), ScratchPath("Display/"),
                                     ScratchPath("Templates/"), ScratchPath("Models/"),
                                     ScratchPath("none1.xml"), ScratchPath("none2.xml"),
                                     ScratchPath("ShapePool/"));
    fuzzing::QueryProperties(config);
    return 0;
}
