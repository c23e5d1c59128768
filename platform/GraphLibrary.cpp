#include "GraphLibrary.h"

#include <memory>

#include "XMLTree.h"

namespace TOOLS {

void CBimSerialDataLibrary::GetAllModelInfo(const CString& path, CStringArray& models,
                                            const std::function<void(IXMLTree&)>& inspect,
                                            std::vector<size_t>* offsets) {
    ForEachModel(
        path,
        [&](const CString& loc, const CString& name, const CString& id, size_t offset) {
            if (offsets) offsets->push_back(offset);
            models.Add(loc);
            models.Add(name);
            models.Add(id);
        },
        inspect);
}

void CBimSerialDataLibrary::ForEachModel(const CString& path, const ModelVisitor& visit,
                                         const std::function<void(IXMLTree&)>& inspect) {
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
        CString loc;
        CString name;
        CString id;
        tree->GetAttribute(kLoc, loc);
        // A model's name and identifier are its own: not worth looking up among shared texts.
        tree->GetAttributeUnshared(kName, name);
        tree->GetAttributeUnshared(kId, id);
        visit(loc, name, id, tree->GetElementOffset());
        tree->OutOfElement();
    }
}

}  // namespace TOOLS
