#include "GraphLibrary.h"

#include <memory>

#include "XMLTree.h"

namespace TOOLS {

void CBimSerialDataLibrary::GetAllModelInfo(const CString& path, CStringArray& models,
                                            const std::function<void(IXMLTree&)>& inspect,
                                            std::vector<size_t>* offsets) {
    std::unique_ptr<IXMLTree> tree = CXMLTreeCreator::Allocate();
    tree->LoadFile(path);
    if (inspect) inspect(*tree);
    if (!tree->FindElement(L"GraphLibrary")) return;
    int count = 0;
    tree->GetNamedChildCount(L"Model", count);
    for (int i = 0; i < count; ++i) {
        if (!tree->IntoChild(L"Model", i)) break;
        if (offsets) offsets->push_back(tree->GetElementOffset());
        for (const wchar_t* attribute : {L"loc", L"name", L"id"}) {
            CString value;
            tree->GetAttribute(attribute, value);
            models.Add(value);
        }
        tree->OutOfElement();
    }
}

}  // namespace TOOLS
