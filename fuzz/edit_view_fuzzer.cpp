// An edit-view file, read as a grid-template view and as a location view based on it, with item
// templates and a container table.
#include "FuzzSupport.h"
#include "ItemTemplate.h"
#include "PropEditView.h"

namespace {

const CONFIG::CItemTemplate& Templates() {
    static const CONFIG::CItemTemplate* templates = [] {
        auto* made = new CONFIG::CItemTemplate();
        made->LoadItems(fuzzing::WriteScratch(
            "ItemTemplate.xml",
            "<Items><Item id=\"1\"><Name>Length</Name><Variable>Length</Variable><Options>"
            "<Switch title=\"s\" param=\"p\"><Item><Name>in</Name></Item></Switch></Options>"
            "</Item><Item id=\"a\"><Options>text</Options><Group>x\\vy</Group></Item></Items>"));
        return made;
    }();
    return *templates;
}

const CONFIG::ContainerTable& Containers() {
    static const CONFIG::ContainerTable table = [] {
        CONFIG::ContainerTable made;
        made[L"K"] = CONFIG::ContainerData{L"K", {{L"X_Main", L"1", 0}, {L"Y", L"2", 6}}};
        made[L""] = CONFIG::ContainerData{L"", {{L"E_Side", L"3", 4}}};
        return made;
    }();
    return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = fuzzing::Quiet();
    (void)quiet;
    const CString path = fuzzing::WriteScratch("view.xml", data, size);
    CONFIG::CPropEditView base(&Containers());
    base.LoadEditView(path, &Templates());
    CONFIG::CPropEditView located(&Containers());
    located.SetBaseView(&base);
    located.LoadEditView(path, &Templates());
    fuzzing::QueryView(base);
    fuzzing::QueryView(located);
    CONFIG::CPropEditView copy(located, &base, &Containers());
    fuzzing::QueryView(copy);
    return 0;
}
