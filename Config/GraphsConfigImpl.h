// The state behind the exported CGraphsConfig, and its plug-in list reader.
#pragma once

#include <vector>

#include <siteconfig/CString.h>
#include <siteconfig/GraphHandler.h>

namespace CONFIG {

class CGraphsConfigImpl {
public:
    // Appends to `paths` the library of each "List" entry of the plug-in list, `appDir` and the
    // entry joined as they stand; reports a zero "FileCount " and empty entries.
    static void GetAllPlugDllPath(const CString& appDir, const CString& listFile,
                                  std::vector<CString>& paths);

    BASE::GraphHandlerTable m_mapFactory;  // component type -> factory of the first library
};

}  // namespace CONFIG
