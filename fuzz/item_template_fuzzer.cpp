// "ItemTemplate.xml", and an edit view whose items take their content from it.
#include "FuzzSupport.h"
#include "ItemTemplate.h"
#include "PropEditView.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = fuzzing::Quiet();
    (void)quiet;
    // Items naming the ids that templates most often carry.
    static const CString viewPath = fuzzing::WriteScratch(
        "view.xml",
        "<PropEditView><GridShow><Main ref=\"1\"><Item id=\"1\"/><Item id=\"a\"/><Item id=\"\"/>"
        "<Item id=\"Name\"><Name>own</Name></Item></Main></GridShow></PropEditView>");
    const CString path = fuzzing::WriteScratch("ItemTemplate.xml", data, size);
    CONFIG::CItemTemplate templates;
    if (templates.LoadItems(path)) {
        for (const wchar_t* id : {L"", L"1", L"a", L"Name"}) templates.FindItem(id);
    }
    const CONFIG::ContainerTable table;
    CONFIG::CPropEditView view(&table);
    view.LoadEditView(viewPath, &templates);
    // The view keeps its own copies: it must answer after the templates are gone.
    templates.Clear();
    fuzzing::QueryView(view);
    return 0;
}
