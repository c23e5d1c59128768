// Read-only access to the whole tables of a loaded configuration, for tools that list, lint or
// compare configuration folders. The interfaces answer one question at a time; these accessors
// hand out every table at once. Everything returned is a copy, except the edit views, which are
// borrowed from the configuration and live as long as it does. Nothing here changes a table.
#pragma once

#include <list>
#include <map>
#include <set>
#include <vector>

#include "siteconfig/CGraphsConfig.h"
#include "siteconfig/CPropertiesConfig.h"
#include "siteconfig/CResourceConfig.h"
#include "siteconfig/CString.h"
#include "siteconfig/IPropEditView.h"
#include "siteconfig/KadoTypes.h"
#include "siteconfig/PropGridData.h"
#include "siteconfig/PropertyInsData.h"
#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

// One location view of the display configuration.
struct LocationViewInfo {
    CString loc;                           // its location text; empty for "any location"
    std::vector<CString> typeAndSections;  // its type-and-section texts
    IPropEditView* view = nullptr;         // borrowed from the configuration
};

// Where a record was read: its file, and the line and column (both 1-based, the column counted
// in characters) of the "<" of its element's start tag. Line and column are 0 when the file
// cannot be read now or no longer holds that element (it changed since loading); the file is
// empty for a record no file gave (one added through an interface).
struct SourcePosition {
    CString file;
    int line = 0;
    int column = 0;
};

// Where each record of the tables was read, in the order and with the keys of the accessors
// of CConfigTables.
struct ConfigSources {
    std::map<EKADOComponentType, SourcePosition> definitions;  // the "Property" root of each
    std::vector<SourcePosition> shapePool;                     // as GetShapePool
    std::vector<SourcePosition> templates;   // as GetTemplates; a graph-library model's "Model"
    std::vector<SourcePosition> propModels;  // as GetPropModels
    std::vector<SourcePosition> defineLocs;  // as GetDefineLocs
    std::map<CString, SourcePosition> sectionSelect;  // by key, as GetSectionSelect
    std::map<CString, SourcePosition> containers;     // by name, as GetContainers
    std::vector<SourcePosition> locationViews;  // as GetLocationViews: the location file's entry
    // For each location view, for each of its groups (GetGridShows), its items' elements; an
    // item a group copies from the grid template is where the template has it.
    std::vector<std::vector<std::vector<SourcePosition>>> viewItems;
    // The same for the grid-template view.
    std::vector<std::vector<SourcePosition>> gridTemplateItems;
};

class SITECONFIG_API CConfigTables {
public:
    // `config` is borrowed and must outlive the inspector.
    explicit CConfigTables(const CPropertiesConfig& config);

    // The property definition of each component type, ascending by type.
    std::map<EKADOComponentType, PropertyInsData> GetDefinitions() const;
    // The shape pool in key order (type, category, section shape).
    std::vector<PropertyInsData> GetShapePool() const;
    // Template instances (graph-library models last) and property models, in load order.
    std::list<PropertyInsData> GetTemplates() const;
    std::list<PropertyInsData> GetPropModels() const;
    // The category texts seen for each component type.
    std::map<EKADOComponentType, std::set<CString>> GetCategoryIndex() const;

    // The display configuration's tables (empty where its folder lacks the file).
    std::vector<CString> GetDefineLocs() const;
    std::vector<CString> GetShowLocs() const;
    std::map<CString, std::vector<CString>> GetSectionSelect() const;
    std::map<EKADOComponentType, int> GetComponentKinds() const;
    std::set<EKADOParameterType> GetViewParams() const;
    std::vector<EKADOParameterType> GetMeterParams() const;
    std::map<EKADOComponentType, int> GetView3DModes() const;
    ContainerTable GetContainers() const;
    // The location views in file order.
    std::vector<LocationViewInfo> GetLocationViews() const;
    // The grid-template view and the fallback view (answered when no location view matches).
    // Borrowed; never null.
    IPropEditView* GetGridTemplateView() const;
    IPropEditView* GetFallbackView() const;

    // Where every record above was read. Lines are counted now, by reading each file the
    // records came from once more: about the cost of reading the folder, nothing at loading.
    ConfigSources GetSources() const;

    // Every key of a settings store with its stored value, before any path is resolved.
    static std::map<CString, CString> GetResourceValues(const CResourceConfig& settings);
    // The component types a registry has a graph handler factory for, ascending.
    static std::vector<EKADOComponentType> GetHandlerTypes(const CGraphsConfig& graphs);
    // Where each key of a settings store was read: the element whose value it holds (the last,
    // when the key is repeated). Keys set through the interface alone have an empty file.
    static std::map<CString, SourcePosition> GetResourceSources(const CResourceConfig& settings);

private:
    const CPropertiesConfig& m_config;
};

}  // namespace CONFIG
