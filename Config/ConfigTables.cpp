#include <siteconfig/SiteConfigTables.h>

#include "GraphsConfigImpl.h"
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

namespace {

// Positions of `refs` for the entries of `table`, by key; an entry without a reference has an
// empty position.
template <typename Table>
std::map<CString, SourcePosition> ResolveByKey(const Table& table,
                                               const std::map<CString, SourceRef>& refs,
                                               CSourceResolver& resolver) {
    std::map<CString, SourcePosition> positions;
    for (const auto& entry : table) {
        const auto found = refs.find(entry.first);
        positions.emplace_hint(
            positions.end(), entry.first,
            found == refs.end() ? SourcePosition() : resolver.Resolve(found->second));
    }
    return positions;
}

}  // namespace

ConfigSources CConfigTables::GetSources() const {
    const CPropertiesConfigImpl& tables = *m_config.m_pImpl;
    const CPropertiesConfigImpl::Sources& refs = tables.RecordSources();
    ConfigSources sources;
    CSourceResolver resolver(refs.files);
    sources.definitions = resolver.Resolve(refs.definitions);
    for (const PropertyInsData& entry : tables.ShapePool()) {
        const auto found = refs.shapePool.find(&entry);
        sources.shapePool.push_back(
            found == refs.shapePool.end() ? SourcePosition() : resolver.Resolve(found->second));
    }
    sources.templates = resolver.Resolve(refs.templates);
    sources.propModels = resolver.Resolve(refs.propModels);

    const CPropShowCfg& show = tables.ShowCfg();
    CSourceResolver display(show.m_sourceFiles);
    for (const CString& loc : show.m_vecDefineLoc) {
        const auto found = show.m_defineLocSources.find(loc);
        sources.defineLocs.push_back(found == show.m_defineLocSources.end()
                                         ? SourcePosition()
                                         : display.Resolve(found->second));
    }
    sources.sectionSelect =
        ResolveByKey(show.m_mapSectionSelect, show.m_sectionSelectSources, display);
    sources.containers = ResolveByKey(show.m_mapContainer, show.m_containerSources, display);
    sources.locationViews = display.Resolve(show.m_viewSources);
    const auto resolveItems = [&display](const CPropEditView& view) {
        std::vector<std::vector<SourcePosition>> groups;
        for (const std::vector<SourceRef>& items : view.ItemSources()) {
            groups.push_back(display.Resolve(items));
        }
        return groups;
    };
    for (const auto& view : show.m_vecLocView) sources.viewItems.push_back(resolveItems(*view));
    sources.gridTemplateItems = resolveItems(*show.m_pGridTemplateView);
    return sources;
}

std::map<CString, CString> CConfigTables::GetResourceValues(const CResourceConfig& settings) {
    return settings.m_pImpl->m_mapValue;
}

std::map<CString, SourcePosition> CConfigTables::GetResourceSources(
    const CResourceConfig& settings) {
    const CResourceConfigImpl& impl = *settings.m_pImpl;
    CSourceResolver resolver(impl.m_sourceFiles);
    return ResolveByKey(impl.m_mapValue, impl.m_sources, resolver);
}

std::vector<EKADOComponentType> CConfigTables::GetHandlerTypes(const CGraphsConfig& graphs) {
    std::vector<EKADOComponentType> types;
    for (const auto& [type, factory] : graphs.m_pImpl->m_mapFactory) {
        if (factory) types.push_back(type);  // a type registered without a factory has none
    }
    return types;
}

}  // namespace CONFIG
