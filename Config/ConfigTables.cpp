#include <siteconfig/SiteConfigTables.h>

#include "PropEditView.h"
#include "PropShowCfg.h"
#include "PropertiesConfigImpl.h"
#include "ResourceConfigImpl.h"

namespace CONFIG {

CConfigTables::CConfigTables(const CPropertiesConfig& config) : m_config(config) {}

std::map<EKADOComponentType, PropertyInsData> CConfigTables::GetDefinitions() const {
    return m_config.m_pImpl->Definitions();
}

std::vector<PropertyInsData> CConfigTables::GetShapePool() const {
    const auto& pool = m_config.m_pImpl->ShapePool();
    return {pool.begin(), pool.end()};
}

std::list<PropertyInsData> CConfigTables::GetTemplates() const {
    return m_config.m_pImpl->Templates();
}

std::list<PropertyInsData> CConfigTables::GetPropModels() const {
    return m_config.m_pImpl->PropModels();
}

std::map<EKADOComponentType, std::set<CString>> CConfigTables::GetCategoryIndex() const {
    return m_config.m_pImpl->CategoryIndex();
}

std::vector<CString> CConfigTables::GetDefineLocs() const {
    const CPropShowCfg* show = m_config.m_pImpl->ShowCfg();
    return show ? show->m_vecDefineLoc : std::vector<CString>();
}

std::vector<CString> CConfigTables::GetShowLocs() const {
    const CPropShowCfg* show = m_config.m_pImpl->ShowCfg();
    return show ? show->m_vecShowLoc : std::vector<CString>();
}

std::map<CString, std::vector<CString>> CConfigTables::GetSectionSelect() const {
    const CPropShowCfg* show = m_config.m_pImpl->ShowCfg();
    return show ? show->m_mapSectionSelect : std::map<CString, std::vector<CString>>();
}

std::map<EKADOComponentType, int> CConfigTables::GetComponentKinds() const {
    const CPropShowCfg* show = m_config.m_pImpl->ShowCfg();
    return show ? show->m_mapCompKind : std::map<EKADOComponentType, int>();
}

std::set<EKADOParameterType> CConfigTables::GetViewParams() const {
    const CPropShowCfg* show = m_config.m_pImpl->ShowCfg();
    return show ? show->m_setViewParam : std::set<EKADOParameterType>();
}

std::vector<EKADOParameterType> CConfigTables::GetMeterParams() const {
    const CPropShowCfg* show = m_config.m_pImpl->ShowCfg();
    return show ? show->m_vecMeterParam : std::vector<EKADOParameterType>();
}

std::map<EKADOComponentType, int> CConfigTables::GetView3DModes() const {
    const CPropShowCfg* show = m_config.m_pImpl->ShowCfg();
    return show ? show->m_mapView3DMode : std::map<EKADOComponentType, int>();
}

ContainerTable CConfigTables::GetContainers() const {
    const CPropShowCfg* show = m_config.m_pImpl->ShowCfg();
    return show ? show->m_mapContainer : ContainerTable();
}

std::vector<LocationViewInfo> CConfigTables::GetLocationViews() const {
    std::vector<LocationViewInfo> views;
    const CPropShowCfg* show = m_config.m_pImpl->ShowCfg();
    if (!show) return views;
    views.reserve(show->m_vecLocView.size());
    for (const auto& view : show->m_vecLocView) {
        if (!view) continue;
        views.push_back({view->GetViewLoc(), view->GetTypeAndSections(), view.get()});
    }
    return views;
}

IPropEditView* CConfigTables::GetGridTemplateView() const {
    const CPropShowCfg* show = m_config.m_pImpl->ShowCfg();
    return show ? show->m_pGridTemplateView.get() : nullptr;
}

IPropEditView* CConfigTables::GetFallbackView() const {
    const CPropShowCfg* show = m_config.m_pImpl->ShowCfg();
    return show ? show->m_pDefaultView.get() : nullptr;
}

std::map<CString, CString> CConfigTables::GetResourceValues(const CResourceConfig& settings) {
    return settings.m_pImpl->m_mapValue;
}

}  // namespace CONFIG
