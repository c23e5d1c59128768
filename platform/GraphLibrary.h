// The graph-base library's list of a graph library's models.
#pragma once

#include <functional>

#include <siteconfig/CString.h>

#include "XMLTree.h"

namespace TOOLS {

class CBimSerialDataLibrary {
public:
    // Reads <GraphLibrary><Model loc=".." name=".." id=".."/>...</GraphLibrary> and appends
    // three texts per "Model" in document order: loc, name, id (absent attributes give empty
    // texts). A missing or unreadable file appends nothing.
    // `inspect`, when given, sees the document just loaded, before it is read.
    void GetAllModelInfo(const CString& path, CStringArray& models,
                         const std::function<void(IXMLTree&)>& inspect = nullptr);
};

}  // namespace TOOLS
