// "EnableContainer.xml" in a display folder whose other files are fixed.
#include "DisplayFolder.h"
#include "PropShowCfg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const CString folder = [] {
        fuzzing::Quiet();
        return fuzzing::WriteDisplayFolder("EnableContainer.xml");
    }();
    fuzzing::WriteScratch("Display/EnableContainer.xml", data, size);
    CONFIG::CPropShowCfg show;
    show.LoadShowCfg(folder);
    fuzzing::QueryDisplay(show);
    CONFIG::CPropShowCfg copy(show);
    fuzzing::QueryDisplay(copy);
    return 0;
}
