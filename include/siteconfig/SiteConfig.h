// SiteConfig: the configuration library of the site-layout application. Include this header
// only and link `siteconfig`.
#pragma once

#include "siteconfig/CGraphsConfig.h"
#include "siteconfig/CPropertiesConfig.h"
#include "siteconfig/CResourceConfig.h"
#include "siteconfig/CString.h"
#include "siteconfig/GraphHandler.h"
#include "siteconfig/IGraphsConfig.h"
#include "siteconfig/IPropEditView.h"
#include "siteconfig/IPropertiesConfig.h"
#include "siteconfig/IPropertyShow.h"
#include "siteconfig/IResourceConfig.h"
#include "siteconfig/KadoTypes.h"
#include "siteconfig/PropGridData.h"
#include "siteconfig/PropertyInsData.h"
#include "siteconfig/SiteConfigExport.h"
#include "siteconfig/SiteConfigNames.h"
#include "siteconfig/SiteConfigReports.h"
#include "siteconfig/SiteConfigTables.h"
