// The component property configuration, read whole by its constructor.
#pragma once

#include <list>
#include <memory>

#include "siteconfig/CString.h"
#include "siteconfig/IPropertiesConfig.h"
#include "siteconfig/PropertyInsData.h"
#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

class CPropertiesConfigImpl;

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
    // Replaces everything with a copy of `other`; a copy that fails leaves this object as it
    // was. Pointers borrowed from the old display configuration end with it.
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
    friend class CConfigTables;  // hands out whole tables

    std::unique_ptr<CPropertiesConfigImpl> m_pImpl;
};

}  // namespace CONFIG
