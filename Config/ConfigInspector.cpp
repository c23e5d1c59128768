#include "SiteConfigInspect.h"

#include "PropEditView.h"
#include "PropShowCfg.h"

namespace CONFIG {

CConfigInspector::CConfigInspector(const CPropertiesConfig& config) : m_config(config) {}

std::map<EKADOComponentType, PropertyInsData> CConfigInspector::GetDefinitions() const {
    return m_config.m_mapOrigProperty;
}

std::vector<PropertyInsData> CConfigInspector::GetShapePool() const {
    return {m_config.m_setSharpPool.begin(), m_config.m_setSharpPool.end()};
}

std::list<PropertyInsData> CConfigInspector::GetTemplates() const {
    return m_config.m_lstTemplateIns;
}

std::list<PropertyInsData> CConfigInspector::GetPropModels() const {
    return m_config.m_lstPropModelIns;
}

std::map<EKADOComponentType, std::set<CString>> CConfigInspector::GetCategoryIndex() const {
    return m_config.m_mapTypeCategories;
}

std::vector<CString> CConfigInspector::GetDefineLocs() const {
    const CPropShowCfg* show = m_config.m_pPropShowCfg;
    return show ? show->m_vecDefineLoc : std::vector<CString>();
}

std::vector<CString> CConfigInspector::GetShowLocs() const {
    const CPropShowCfg* show = m_config.m_pPropShowCfg;
    return show ? show->m_vecShowLoc : std::vector<CString>();
}

std::map<CString, std::vector<CString>> CConfigInspector::GetSectionSelect() const {
    const CPropShowCfg* show = m_config.m_pPropShowCfg;
    return show ? show->m_mapSectionSelect : std::map<CString, std::vector<CString>>();
}

std::map<EKADOComponentType, int> CConfigInspector::GetComponentKinds() const {
    const CPropShowCfg* show = m_config.m_pPropShowCfg;
    return show ? show->m_mapCompKind : std::map<EKADOComponentType, int>();
}

std::set<EKADOParameterType> CConfigInspector::GetViewParams() const {
    const CPropShowCfg* show = m_config.m_pPropShowCfg;
    return show ? show->m_setViewParam : std::set<EKADOParameterType>();
}

std::vector<EKADOParameterType> CConfigInspector::GetMeterParams() const {
    const CPropShowCfg* show = m_config.m_pPropShowCfg;
    return show ? show->m_vecMeterParam : std::vector<EKADOParameterType>();
}

std::map<EKADOComponentType, int> CConfigInspector::GetView3DModes() const {
    const CPropShowCfg* show = m_config.m_pPropShowCfg;
    return show ? show->m_mapView3DMode : std::map<EKADOComponentType, int>();
}

ContainerTable CConfigInspector::GetContainers() const {
    const CPropShowCfg* show = m_config.m_pPropShowCfg;
    return show ? show->m_mapContainer : ContainerTable();
}

std::vector<LocationViewInfo> CConfigInspector::GetLocationViews() const {
    std::vector<LocationViewInfo> views;
    const CPropShowCfg* show = m_config.m_pPropShowCfg;
    if (!show) return views;
    views.reserve(show->m_vecLocView.size());
    for (const auto& view : show->m_vecLocView) {
        if (!view) continue;
        views.push_back({view->GetViewLoc(), view->GetTypeAndSections(), view.get()});
    }
    return views;
}

IPropEditView* CConfigInspector::GetGridTemplateView() const {
    const CPropShowCfg* show = m_config.m_pPropShowCfg;
    return show ? show->m_pGridTemplateView.get() : nullptr;
}

IPropEditView* CConfigInspector::GetFallbackView() const {
    const CPropShowCfg* show = m_config.m_pPropShowCfg;
    return show ? show->m_pDefaultView.get() : nullptr;
}

std::map<CString, CString> CConfigInspector::GetResourceValues(const CResourceConfig& settings) {
    return settings.m_mapValue;
}

}  // namespace CONFIG
