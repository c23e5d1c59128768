// The graph-base library's list of a graph library's models.
#pragma once

#include <siteconfig/CString.h>

namespace TOOLS {

class CBimSerialDataLibrary {
public:
    // Reads <GraphLibrary><Model loc=".." name=".." id=".."/>...</GraphLibrary> and appends
    // three texts per "Model" in document order: loc, name, id (absent attributes give empty
    // texts). A missing or unreadable file appends nothing.
    void GetAllModelInfo(const CString& path, CStringArray& models);
};

}  // namespace TOOLS
