// The state behind the exported CResourceConfig.
#pragma once

#include <map>

#include <siteconfig/CString.h>

#include "Provenance.h"

namespace CONFIG {

class CResourceConfigImpl {
public:
    // True for a value written relative to the application folder: ".\" and at least one more
    // character.
    static bool IsPath(const CString& value);

    std::map<CString, CString> m_mapValue;  // key -> value as stored
    // Where each key's value was read: its last element in the file.
    CSourceFiles m_sourceFiles;
    std::map<CString, SourceRef> m_sources;
};

}  // namespace CONFIG
