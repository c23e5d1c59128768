// "PropertyLocShow.xml" in a display folder whose other files are fixed.
#include "DisplayFolder.h"
#include "PropShowCfg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const CString folder = [] {
        fuzzing::Quiet();
        return fuzzing::WriteDisplayFolder("PropertyLocShow.xml");
    }();
    fuzzing::WriteScratch("Display/PropertyLocShow.xml", data, size);
    CONFIG::CPropShowCfg show;
    show.LoadShowCfg(folder);
    {
        // A copy links its views to its own grid-template view and container table.
        CONFIG::CPropShowCfg copy(show);
        fuzzing::QueryDisplay(copy);
    }
    fuzzing::QueryDisplay(show);
    // A second load adds to the tables.
    show.LoadShowCfg(folder);
    fuzzing::QueryDisplay(show);
    return 0;
}
