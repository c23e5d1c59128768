// SiteConfig: the configuration library of the site-layout application. Include this header
// only and link `siteconfig`.
//
// Threads: the library starts none. Distinct objects may be used on distinct threads at once
// without synchronisation, copies of one object included: copies share nothing but CString
// buffers, whose reference counts are atomic. One loaded CPropertiesConfig (with the display
// configuration and edit views it lends), CResourceConfig or CGraphsConfig may answer queries
// from several threads at once as long as no thread changes it meanwhile. A change needs outside
// synchronisation that keeps every other thread off the object: assignment, the display
// configuration's SetShowLocs, AddDefineLoc and RemoveDefineLocs, CResourceConfig's Load,
// SetValue and SetAppDir, and writing through what is lent (GetGridShows, FindGridShow,
// GetEnableContainers). APP::CAppDllInstanceMgr and the plug-ins' factories that
// CreateGraphHandler calls are the host's and the plug-ins' to synchronise. Reports and
// diagnostics go to the sinks on the thread that raised them, so queries that fail on several
// threads call a sink concurrently; sinks may be replaced at any time from any thread
// (SiteConfigReports.h).
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
#include "siteconfig/SiteConfigCheck.h"
#include "siteconfig/SiteConfigExport.h"
#include "siteconfig/SiteConfigNames.h"
#include "siteconfig/SiteConfigProgress.h"
#include "siteconfig/SiteConfigReports.h"
#include "siteconfig/SiteConfigTables.h"
#include "siteconfig/SiteConfigThreads.h"
