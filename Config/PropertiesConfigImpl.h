// The tables of the component property configuration and the readers that fill them. The
// exported CPropertiesConfig forwards to one of these, so its members can change without
// changing what applications see.
#pragma once

#include <siteconfig/SiteConfigProgress.h>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string_view>
#include <unordered_set>
#include <vector>

#include <siteconfig/CString.h>
#include <siteconfig/KadoTypes.h>
#include <siteconfig/PropertyInsData.h>

#include "Provenance.h"

namespace TOOLS {
class IXMLTree;
}

namespace CONFIG {

class CPropShowCfg;
class IPropertyShow;

class CPropertiesConfigImpl {
public:
    // Reads every table in the application's order: definitions, shape pool, templates,
    // property models, display configuration, the two graph libraries.
    CPropertiesConfigImpl(const CString& definitionFolder, const CString& displayFolder,
                          const CString& templateFolder, const CString& propModelFolder,
                          const CString& graphLibrary1, const CString& graphLibrary2,
                          const CString& shapePoolFolder);
    // A deep copy, with its own display configuration.
    CPropertiesConfigImpl(const CPropertiesConfigImpl& other);
    CPropertiesConfigImpl& operator=(const CPropertiesConfigImpl&) = delete;
    ~CPropertiesConfigImpl();

    // The operations of IPropertiesConfig.
    EKADOComponentType GetType(const CString& category);
    CString GetDefaultName(EKADOComponentType type);
    void GetPropertyInsData(EKADOComponentType type, PropertyInsData& data);
    bool GetBaseComChangSharpData(EKADOComponentType type, const CString& loc, const CString& shape,
                                  PropertyInsData& data);
    bool HasChildren(EKADOComponentType type);
    void GetChildData(EKADOComponentType type, std::list<PropertyInsData>& children);
    bool GetTemplateCompIns(const CString& category, PropertyInsData& data);
    void GetTemplateCompIns(std::list<PropertyInsData>& templates);
    void GetPropModelCompIns(std::list<PropertyInsData>& models);
    void GetPoolCompIns(EKADOComponentType type, PropertyInsData& data);
    IPropertyShow* GetPropertyShowConfig();
    bool PropertyCanEdit(const CString& name);
    bool PropertyCanEdit(EKADOComponentType type);

    // The readers.
    void GetSoftwareDefaultInitFiles(const CString& folder, std::vector<CString>& files);
    static void GetVauleAndUserValue(const CString& text, CString& value, CString& userValue);
    // Appends the models of a graph library's array (location, name, identifier per model) to
    // `list` and their locations to the display configuration's shown locations.
    void AddGraphModels(const CStringArray& models, std::list<PropertyInsData>& list);

    // The whole tables.
    const std::map<EKADOComponentType, PropertyInsData>& Definitions() const {
        return m_mapOrigProperty;
    }
    const std::set<PropertyInsData>& ShapePool() const { return m_setSharpPool; }
    const std::list<PropertyInsData>& Templates() const { return m_lstTemplateIns; }
    const std::list<PropertyInsData>& PropModels() const { return m_lstPropModelIns; }
    const std::map<EKADOComponentType, std::set<CString>>& CategoryIndex() const {
        return m_mapTypeCategories;
    }
    const CPropShowCfg& ShowCfg() const { return *m_pPropShowCfg; }

    // Where each record was read. The lists are in the order of their tables.
    struct Sources {
        CSourceFiles files;
        std::map<EKADOComponentType, SourceRef> definitions;
        std::map<const PropertyInsData*, SourceRef> shapePool;  // by the pool's own elements
        std::vector<SourceRef> templates;
        std::vector<SourceRef> propModels;
    };
    const Sources& RecordSources() const { return m_sources; }

private:
    void InitPropertyOrigData(const CString& folder);
    static void GetInsProperty(TOOLS::IXMLTree* tree, std::list<PropertyInsData>* list, int depth);
    // Reports an instance value that does not split into one or two texts.
    static void CheckValueSplit(const CString& text);
    static void ReportValueSplit();
    bool GetOrigProperty(EKADOComponentType type, PropertyInsData*& data);

    // Which definition file first defines each type, as files finish reading in any order.
    class DefinitionClaims {
    public:
        // Claims `type` for the file of index `file`; true when a file of a smaller index
        // claimed it already.
        bool Claim(EKADOComponentType type, size_t file);

    private:
        std::mutex m_mutex;
        std::map<EKADOComponentType, size_t> m_first;
    };
    // What reading one property file gives.
    struct PropertyFile {
        PropertyInsData record;
        // Of its root element, as IXMLTree::GetElementOffset gives it (kNoOffset when unknown);
        // 0 without a root.
        size_t offset = 0;
    };
    // Reads one property file. With `claims` it is definition file `index`: one whose type a
    // file of a smaller index defines gets only its type and category, and what reading the
    // rest reports. Safe on any thread; the check hooks run when a check session is current.
    static PropertyFile ReadPropertyFile(const CString& path, DefinitionClaims* claims = nullptr,
                                         size_t index = 0);
    // Reads `paths` on the load's threads and gives each file to `take` on the calling thread,
    // in order, after replaying what reading it reported.
    static void ReadPropertyFiles(LoadPart part, const std::vector<CString>& paths,
                                  DefinitionClaims* claims,
                                  const std::function<void(size_t, PropertyFile&)>& take);
    void InitIns(LoadPart part, std::list<PropertyInsData>& list, std::vector<SourceRef>& sources,
                 const CString& folder);
    void InitSharpPool(const CString& folder);
    void InitPropShowCfg(const CString& folder);
    // The shown locations while graph libraries add to them: the list, and its texts by hash
    // (views of the list's own texts).
    struct ShownLocations {
        explicit ShownLocations(IPropertyShow& show);
        void Add(const CString& loc);  // unless it is shown already
        std::vector<CString> list;
        std::unordered_set<std::wstring_view> known;
    };
    void InitOtherGraphDataConfig(const std::vector<CString>& paths,
                                  std::list<PropertyInsData>& list, ShownLocations& shown);
    // Graph-library models made into records, on any thread (defined with the readers).
    class GraphModels;
    // Moves the records of `models` to the end of `list` and adds what they show and index.
    void TakeGraphModels(GraphModels& models, std::list<PropertyInsData>& list,
                         ShownLocations& shown);
    void AddTypeCategory(EKADOComponentType type, const CString& category);
    void IndexCategories();

    std::map<EKADOComponentType, PropertyInsData> m_mapOrigProperty;
    std::set<PropertyInsData> m_setSharpPool;
    std::list<PropertyInsData> m_lstTemplateIns;
    std::list<PropertyInsData> m_lstPropModelIns;
    std::map<EKADOComponentType, std::set<CString>> m_mapTypeCategories;
    std::unique_ptr<CPropShowCfg> m_pPropShowCfg;  // never null once constructed
    // GetType's answers: each category text with the smallest type that has it. Derived from
    // m_mapTypeCategories once construction is complete.
    std::map<CString, EKADOComponentType> m_mapCategoryType;
    Sources m_sources;
};

}  // namespace CONFIG
