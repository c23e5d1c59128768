// The graph-base library's list of a graph library's models.
#pragma once

#include <functional>
#include <vector>

#include <siteconfig/CString.h>

#include "XMLTree.h"

namespace TOOLS {

class CBimSerialDataLibrary {
public:
    // Reads <GraphLibrary><Model loc=".." name=".." id=".."/>...</GraphLibrary> and appends
    // three texts per "Model" in document order: loc, name, id (absent attributes give empty
    // texts). A missing or unreadable file appends nothing.
    // `inspect`, when given, sees the document just loaded, before it is read. `offsets`, when
    // given, receives each model's element offset (IXMLTree::GetElementOffset).
    void GetAllModelInfo(const CString& path, CStringArray& models,
                         const std::function<void(IXMLTree&)>& inspect = nullptr,
                         std::vector<size_t>* offsets = nullptr);
};

}  // namespace TOOLS
