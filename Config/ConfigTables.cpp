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
    return m_config.m_pImpl->ShowCfg().m_vecDefineLoc;
}

std::vector<CString> CConfigTables::GetShowLocs() const {
    return m_config.m_pImpl->ShowCfg().m_vecShowLoc;
}

std::map<CString, std::vector<CString>> CConfigTables::GetSectionSelect() const {
    return m_config.m_pImpl->ShowCfg().m_mapSectionSelect;
}

std::map<EKADOComponentType, int> CConfigTables::GetComponentKinds() const {
    return m_config.m_pImpl->ShowCfg().m_mapCompKind;
}

std::set<EKADOParameterType> CConfigTables::GetViewParams() const {
    return m_config.m_pImpl->ShowCfg().m_setViewParam;
}

std::vector<EKADOParameterType> CConfigTables::GetMeterParams() const {
    return m_config.m_pImpl->ShowCfg().m_vecMeterParam;
}

std::map<EKADOComponentType, int> CConfigTables::GetView3DModes() const {
    return m_config.m_pImpl->ShowCfg().m_mapView3DMode;
}

ContainerTable CConfigTables::GetContainers() const {
    return m_config.m_pImpl->ShowCfg().m_mapContainer;
}

std::vector<LocationViewInfo> CConfigTables::GetLocationViews() const {
    const CPropShowCfg& show = m_config.m_pImpl->ShowCfg();
    std::vector<LocationViewInfo> views;
    views.reserve(show.m_vecLocView.size());
    for (const auto& view : show.m_vecLocView) {
        views.push_back({view->GetViewLoc(), view->GetTypeAndSections(), view.get()});
    }
    return views;
}

IPropEditView* CConfigTables::GetGridTemplateView() const {
    return m_config.m_pImpl->ShowCfg().m_pGridTemplateView.get();
}

IPropEditView* CConfigTables::GetFallbackView() const {
    return m_config.m_pImpl->ShowCfg().m_pDefaultView.get();
}

std::map<CString, CString> CConfigTables::GetResourceValues(const CResourceConfig& settings) {
    return settings.m_pImpl->m_mapValue;
}

}  // namespace CONFIG
