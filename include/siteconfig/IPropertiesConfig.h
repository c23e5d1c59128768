// Everything the application asks about component properties.
#pragma once

#include <list>

#include "siteconfig/CString.h"
#include "siteconfig/IPropertyShow.h"
#include "siteconfig/KadoTypes.h"
#include "siteconfig/PropertyInsData.h"
#include "siteconfig/SiteConfigExport.h"

namespace CONFIG {

class SITECONFIG_API IPropertiesConfig {
public:
    // The smallest component type one of whose categories equals `category`;
    // InvalidComponentType (reported) when none does.
    virtual EKADOComponentType GetType(const CString& category) = 0;
    // The default name of a new component of the type; empty (reported) without a definition.
    virtual CString GetDefaultName(EKADOComponentType type) = 0;
    // Replaces data.params and data.graphLibId with the definition's; other fields untouched.
    // Without a definition (reported) `data` is left as it was.
    virtual void GetPropertyInsData(EKADOComponentType type, PropertyInsData& data) = 0;
    // The shape pool's property set for the type at `loc` with section shape `shape`: true and
    // copied into `data`, or false (reported) with `data` untouched.
    virtual bool GetBaseComChangSharpData(EKADOComponentType type, const CString& loc,
                                          const CString& shape, PropertyInsData& data) = 0;
    // True when the type's definition has instances.
    virtual bool HasChildren(EKADOComponentType type) = 0;
    // `children` becomes a copy of the definition's instances; untouched without a definition.
    virtual void GetChildData(EKADOComponentType type, std::list<PropertyInsData>& children) = 0;
    // The first template of the category: true and copied into `data`, or false, untouched.
    virtual bool GetTemplateCompIns(const CString& category, PropertyInsData& data) = 0;
    // `templates` becomes a copy of every template, graph-library models last.
    virtual void GetTemplateCompIns(std::list<PropertyInsData>& templates) = 0;
    // `models` becomes a copy of every property model.
    virtual void GetPropModelCompIns(std::list<PropertyInsData>& models) = 0;
    // `data` becomes a copy of the type's definition; untouched without one.
    virtual void GetPoolCompIns(EKADOComponentType type, PropertyInsData& data) = 0;
    virtual CString GetComponentNameByType(EKADOComponentType type) = 0;
    virtual EKADOComponentType GetComponentTypeByName(const CString& name) = 0;
    virtual CString GetParamNameByType(EKADOParameterType type) = 0;
    virtual EKADOParameterType GetParamTypeByName(const CString& name) = 0;
    // The display configuration. Borrowed: valid until this object is destroyed; never null.
    virtual IPropertyShow* GetPropertyShowConfig() = 0;
    virtual bool PropertyCanEdit(const CString& name) = 0;
    virtual bool PropertyCanEdit(EKADOComponentType type) = 0;
    virtual ~IPropertiesConfig() = default;
};

}  // namespace CONFIG
