// SiteConfig: the configuration library of the site-layout application. Include this header
// only and link `siteconfig`.
#pragma once

#include "CGraphsConfig.h"
#include "CPropertiesConfig.h"
#include "CResourceConfig.h"
#include "CString.h"
#include "GraphHandler.h"
#include "IGraphsConfig.h"
#include "IPropEditView.h"
#include "IPropertiesConfig.h"
#include "IPropertyShow.h"
#include "IResourceConfig.h"
#include "KadoTypes.h"
#include "PropGridData.h"
#include "PropertyInsData.h"
#include "SiteConfigExport.h"
#include "SiteConfigTables.h"
#include "SiteConfigReports.h"
