// The graph handler registry, filled from the plug-ins of a plug-in list.
#pragma once

#include <memory>

#include "siteconfig/CString.h"
#include "siteconfig/GraphHandler.h"
#include "siteconfig/IGraphsConfig.h"
#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

class CGraphsConfigImpl;

class SITECONFIG_API CGraphsConfig : public IGraphsConfig {
public:
    // Reads the plug-in list (INI: "Main"/"FileCount ", "List"/"0".."N-1"), asks `host` for
    // each library's "GraphHandlerCreater" and merges the factories; the first library in list
    // order keeps a type. `host` is used only during construction.
    CGraphsConfig(const CString& appDir, const CString& listFile, APP::IAppDllInstanceMgr* host);
    CGraphsConfig(const CGraphsConfig& other);
    CGraphsConfig& operator=(const CGraphsConfig& other);
    ~CGraphsConfig() override;

    BASE::IGraphHandler* CreateGraphHandler(KADO::Product::EKADOComponentType type) override;

private:
    friend class CConfigTables;  // hands out the registered types
    std::unique_ptr<CGraphsConfigImpl> m_pImpl;
};

}  // namespace CONFIG
