// The component property configuration, read whole by its constructor.
#pragma once

#include <list>
#include <map>
#include <set>
#include <vector>

#include "CString.h"
#include "IPropertiesConfig.h"
#include "PropertyInsData.h"
#include "SiteConfigExport.h"

namespace TOOLS {
class IXMLTree;
}

namespace CONFIG {

class CPropShowCfg;

class SITECONFIG_API CPropertiesConfig : public IPropertiesConfig {
public:
    // Reads every table. Folder arguments are prefixes to which file names are appended as
    // they stand, so they end with a path separator. Missing folders give empty tables.
    CPropertiesConfig(const CString& definitionFolder, const CString& displayFolder,
                      const CString& templateFolder, const CString& propModelFolder,
                      const CString& graphLibrary1, const CString& graphLibrary2,
                      const CString& shapePoolFolder);
    // A copy has its own tables and its own display configuration.
    CPropertiesConfig(const CPropertiesConfig& other);
    CPropertiesConfig& operator=(const CPropertiesConfig& other);
    ~CPropertiesConfig() override;

    EKADOComponentType GetType(const CString& category) override;
    CString GetDefaultName(EKADOComponentType type) override;
    void GetPropertyInsData(EKADOComponentType type, PropertyInsData& data) override;
    bool GetBaseComChangSharpData(EKADOComponentType type, const CString& loc, const CString& shape,
                                  PropertyInsData& data) override;
    bool HasChildren(EKADOComponentType type) override;
    void GetChildData(EKADOComponentType type, std::list<PropertyInsData>& children) override;
    bool GetTemplateCompIns(const CString& category, PropertyInsData& data) override;
    void GetTemplateCompIns(std::list<PropertyInsData>& templates) override;
    void GetPropModelCompIns(std::list<PropertyInsData>& models) override;
    void GetPoolCompIns(EKADOComponentType type, PropertyInsData& data) override;
    CString GetComponentNameByType(EKADOComponentType type) override;
    EKADOComponentType GetComponentTypeByName(const CString& name) override;
    CString GetParamNameByType(EKADOParameterType type) override;
    EKADOParameterType GetParamTypeByName(const CString& name) override;
    IPropertyShow* GetPropertyShowConfig() override;
    bool PropertyCanEdit(const CString& name) override;
    bool PropertyCanEdit(EKADOComponentType type) override;

private:
    friend class CPropertiesConfigTestPeer;
    friend class CConfigTables;

    void InitPropertyOrigData(const CString& folder);
    void GetSoftwareDefaultInitFiles(const CString& folder, std::vector<CString>& files);
    void GetPropertyInitData(const CString& path, PropertyInsData& data);
    void GetInsProperty(TOOLS::IXMLTree* tree, std::list<PropertyInsData>& list);
    void GetInsProperty(TOOLS::IXMLTree* tree, std::list<PropertyInsData>& list, int depth);
    void GetVauleAndUserValue(const CString& text, CString& value, CString& userValue);
    bool GetOrigProperty(EKADOComponentType type, PropertyInsData*& data);
    void InitIns(std::list<PropertyInsData>& list, const CString& folder);
    void InitSharpPool(const CString& folder);
    void InitPropShowCfg(const CString& folder);
    void InitOtherGraphDataConfig(const CString& path, std::list<PropertyInsData>& list);
    void AddGraphModels(const CStringArray& models, std::list<PropertyInsData>& list);
    void GetOhtherGraphDataConfig(const CString& path, std::vector<CString>& out);
    void AddTypeCategory(EKADOComponentType type, const CString& category);
    void IndexCategories();

    std::map<EKADOComponentType, PropertyInsData> m_mapOrigProperty;
    std::set<PropertyInsData> m_setSharpPool;
    std::list<PropertyInsData> m_lstTemplateIns;
    std::list<PropertyInsData> m_lstPropModelIns;
    std::map<EKADOComponentType, std::set<CString>> m_mapTypeCategories;
    CPropShowCfg* m_pPropShowCfg = nullptr;  // owned
    // GetType's answers: each category text with the smallest type that has it. Derived from
    // m_mapTypeCategories once construction is complete.
    std::map<CString, EKADOComponentType> m_mapCategoryType;
};

}  // namespace CONFIG
