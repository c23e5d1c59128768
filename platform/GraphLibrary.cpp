#include "GraphLibrary.h"

#include <memory>

#include "XMLTree.h"

namespace TOOLS {

void CBimSerialDataLibrary::GetAllModelInfo(const CString& path, CStringArray& models,
                                            const std::function<void(IXMLTree&)>& inspect,
                                            std::vector<size_t>* offsets) {
    // A library holds thousands of models: the names are converted once.
    static const XmlName kModel(L"Model");
    static const XmlName kLoc(L"loc");
    static const XmlName kName(L"name");
    static const XmlName kId(L"id");
    std::unique_ptr<IXMLTree> tree = CXMLTreeCreator::Allocate();
    tree->LoadFile(path);
    if (inspect) inspect(*tree);
    if (!tree->FindElement(L"GraphLibrary")) return;
    int count = 0;
    tree->GetNamedChildCount(kModel, count);
    for (int i = 0; i < count; ++i) {
        if (!tree->IntoChild(kModel, i)) break;
        if (offsets) offsets->push_back(tree->GetElementOffset());
        CString value;
        tree->GetAttribute(kLoc, value);
        models.Add(value);
        // A model's name and identifier are its own: not worth looking up among shared texts.
        for (const XmlName* attribute : {&kName, &kId}) {
            value = CString();
            tree->GetAttributeUnshared(*attribute, value);
            models.Add(value);
        }
        tree->OutOfElement();
    }
}

}  // namespace TOOLS
