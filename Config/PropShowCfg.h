// The property display configuration: the tables of one display folder and the edit views
// that lay out the property grid of a component section at a location.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <siteconfig/CString.h>
#include <siteconfig/IPropertyShow.h>
#include <siteconfig/KadoTypes.h>
#include <siteconfig/PropGridData.h>

#include "LocationIndex.h"
#include "Provenance.h"

namespace TOOLS {
class IXMLTree;
}

namespace CONFIG {

class CItemTemplate;
class CPropEditView;

class CPropShowCfg : public IPropertyShow {
public:
    // Empty tables, an empty grid-template view and an empty fallback view.
    CPropShowCfg();
    // A deep copy: every table, and new views (with their items, options and containers)
    // linked to the copy's own grid-template view and container table.
    CPropShowCfg(const CPropShowCfg& other);
    CPropShowCfg& operator=(const CPropShowCfg&) = delete;
    ~CPropShowCfg() override;

    // Reads "ItemTemplate.xml", "GridTemplate.xml", "PropertyLocShow.xml" (with the edit-view
    // files it names) and "EnableContainer.xml" of `folder`, which ends with a separator.
    // Clears nothing: a second call adds to the tables. Missing files leave their tables as
    // they are. With kByCaller the location index is left to the caller's SetShowLocs, which
    // must follow before any location query (a loader that adds shown locations next).
    enum class Indexing { kNow, kByCaller };
    void LoadShowCfg(const CString& folder, Indexing indexing = Indexing::kNow);

    void GetDefineLocs(std::vector<CString>& locs) override;
    void AddDefineLoc(const CString& loc) override;
    void GetShowLocs(std::vector<CString>& locs) override;
    void SetShowLocs(std::vector<CString> locs) override;
    IPropEditView* GetPropEditView(const CString& typeAndSection, const CString& loc) override;
    bool GetSectionLocs(const CString& loc, std::vector<CString>& locs) override;
    int GetComponentKind(KADO::Product::EKADOComponentType type) override;
    bool IsViewParam(KADO::Product::EKADOParameterType type) override;
    void GetMeterParams(std::vector<KADO::Product::EKADOParameterType>& params) override;
    int GetView3DMode(KADO::Product::EKADOComponentType type) override;
    ContainerTable* GetEnableContainers() override;
    void RemoveDefineLocs(const std::vector<CString>& locs) override;
    bool IsComponentIncluded(const CString& name) override;
    bool IsComponentTypeIncluded(KADO::Product::EKADOComponentType type) override;
    bool IsLocShown(const CString& loc) override;

private:
    friend class CConfigTables;
    void ReadLocShow(const CString& path, const CString& folder, const CItemTemplate& templates);
    void ReadDefineLocs(TOOLS::IXMLTree& tree);
    void ReadSectionSelect(TOOLS::IXMLTree& tree);
    void ReadPropertyKinds(TOOLS::IXMLTree& tree);
    void ReadViewParam(TOOLS::IXMLTree& tree);
    void ReadMeterParam(TOOLS::IXMLTree& tree);
    void ReadPropEditViews(TOOLS::IXMLTree& tree, const CString& folder,
                           const CItemTemplate& templates);
    void ReadView3DMode(TOOLS::IXMLTree& tree);
    void ReadEnableContainer(const CString& path);
    void DestroyViews();

    static int GetKindByName(const CString& name);

    struct TextHash {
        size_t operator()(const CString& text) const {
            return std::hash<std::wstring_view>()(text.str());
        }
    };

    // Declared first so that it outlives every view that points to it.
    ContainerTable m_mapContainer;
    // Only looked up (every defined location once on reading): hashed, not ordered.
    std::unordered_set<CString, TextHash> m_setDefineLoc;
    std::vector<CString> m_vecDefineLoc;
    std::vector<CString> m_vecShowLoc;
    std::map<CString, std::vector<CString>> m_mapSectionSelect;
    // Built from m_vecShowLoc and m_mapSectionSelect, and built anew whenever either changes;
    // queries only read it, together with m_vecShowLoc.
    CLocationIndex m_locationIndex;
    std::vector<std::unique_ptr<CPropEditView>> m_vecLocView;
    std::map<KADO::Product::EKADOComponentType, int> m_mapCompKind;
    std::unique_ptr<CPropEditView> m_pGridTemplateView;
    std::unique_ptr<CPropEditView> m_pDefaultView;
    std::set<KADO::Product::EKADOParameterType> m_setViewParam;
    std::vector<KADO::Product::EKADOParameterType> m_vecMeterParam;
    std::map<KADO::Product::EKADOComponentType, int> m_mapView3DMode;

    // Where records were read; the views keep their items'. Locations, keys and containers
    // by text, as interfaces may add and remove locations.
    CSourceFiles m_sourceFiles;
    std::unordered_map<CString, SourceRef, TextHash> m_defineLocSources;
    std::map<CString, SourceRef> m_sectionSelectSources;
    std::map<CString, SourceRef> m_containerSources;
    std::vector<SourceRef> m_viewSources;  // of m_vecLocView
};

}  // namespace CONFIG
