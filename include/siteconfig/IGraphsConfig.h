// The registry of graph handlers.
#pragma once

#include "siteconfig/GraphHandler.h"
#include "siteconfig/KadoTypes.h"
#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

class SITECONFIG_API IGraphsConfig {
public:
    // A new handler from the factory registered for the type (null when the factory gives
    // null), or null (reported) when no plug-in registered the type. The caller owns it.
    virtual BASE::IGraphHandler* CreateGraphHandler(KADO::Product::EKADOComponentType type) = 0;
    virtual ~IGraphsConfig() = default;
};

}  // namespace CONFIG
