// The state behind the exported CResourceConfig.
#pragma once

#include <map>

#include <siteconfig/CString.h>

namespace CONFIG {

class CResourceConfigImpl {
public:
    // True for a value written relative to the application folder: ".\" and at least one more
    // character.
    static bool IsPath(const CString& value);

    std::map<CString, CString> m_mapValue;  // key -> value as stored
};

}  // namespace CONFIG
