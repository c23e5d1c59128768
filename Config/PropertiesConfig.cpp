#include <siteconfig/CPropertiesConfig.h>

#include "PropertiesConfigImpl.h"
#include "Tools.h"

namespace CONFIG {

CPropertiesConfig::CPropertiesConfig(const CString& definitionFolder, const CString& displayFolder,
                                     const CString& templateFolder, const CString& propModelFolder,
                                     const CString& graphLibrary1, const CString& graphLibrary2,
                                     const CString& shapePoolFolder)
    : m_pImpl(std::make_unique<CPropertiesConfigImpl>(
          definitionFolder, displayFolder, templateFolder, propModelFolder, graphLibrary1,
          graphLibrary2, shapePoolFolder)) {}

CPropertiesConfig::CPropertiesConfig(const CPropertiesConfig& other)
    : IPropertiesConfig(), m_pImpl(std::make_unique<CPropertiesConfigImpl>(*other.m_pImpl)) {}

CPropertiesConfig& CPropertiesConfig::operator=(const CPropertiesConfig& other) {
    // Built aside and swapped in: a copy that throws leaves this object whole.
    if (this != &other) m_pImpl = std::make_unique<CPropertiesConfigImpl>(*other.m_pImpl);
    return *this;
}

CPropertiesConfig::~CPropertiesConfig() = default;

EKADOComponentType CPropertiesConfig::GetType(const CString& category) {
    return m_pImpl->GetType(category);
}

CString CPropertiesConfig::GetDefaultName(EKADOComponentType type) {
    return m_pImpl->GetDefaultName(type);
}

void CPropertiesConfig::GetPropertyInsData(EKADOComponentType type, PropertyInsData& data) {
    m_pImpl->GetPropertyInsData(type, data);
}

bool CPropertiesConfig::GetBaseComChangSharpData(EKADOComponentType type, const CString& loc,
                                                 const CString& shape, PropertyInsData& data) {
    return m_pImpl->GetBaseComChangSharpData(type, loc, shape, data);
}

bool CPropertiesConfig::HasChildren(EKADOComponentType type) { return m_pImpl->HasChildren(type); }

void CPropertiesConfig::GetChildData(EKADOComponentType type,
                                     std::list<PropertyInsData>& children) {
    m_pImpl->GetChildData(type, children);
}

bool CPropertiesConfig::GetTemplateCompIns(const CString& category, PropertyInsData& data) {
    return m_pImpl->GetTemplateCompIns(category, data);
}

void CPropertiesConfig::GetTemplateCompIns(std::list<PropertyInsData>& templates) {
    m_pImpl->GetTemplateCompIns(templates);
}

void CPropertiesConfig::GetPropModelCompIns(std::list<PropertyInsData>& models) {
    m_pImpl->GetPropModelCompIns(models);
}

void CPropertiesConfig::GetPoolCompIns(EKADOComponentType type, PropertyInsData& data) {
    m_pImpl->GetPoolCompIns(type, data);
}

CString CPropertiesConfig::GetComponentNameByType(EKADOComponentType type) {
    return TOOLS::CKADOHandler::GetComponentNameByType(type);
}

EKADOComponentType CPropertiesConfig::GetComponentTypeByName(const CString& name) {
    return TOOLS::CKADOHandler::GetComponentTypeByName(name);
}

CString CPropertiesConfig::GetParamNameByType(EKADOParameterType type) {
    return TOOLS::CKADOHandler::GetParamNameByType(type);
}

EKADOParameterType CPropertiesConfig::GetParamTypeByName(const CString& name) {
    return TOOLS::CKADOHandler::GetParamTypeByName(name);
}

IPropertyShow* CPropertiesConfig::GetPropertyShowConfig() {
    return m_pImpl->GetPropertyShowConfig();
}

bool CPropertiesConfig::PropertyCanEdit(const CString& name) {
    return m_pImpl->PropertyCanEdit(name);
}

bool CPropertiesConfig::PropertyCanEdit(EKADOComponentType type) {
    return m_pImpl->PropertyCanEdit(type);
}

}  // namespace CONFIG
