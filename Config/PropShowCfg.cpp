#include "PropShowCfg.h"

#include "ItemTemplate.h"
#include "PropEditView.h"

namespace CONFIG {

CPropShowCfg::CPropShowCfg()
    : m_pGridTemplateView(std::make_unique<CPropEditView>(&m_mapContainer)),
      m_pDefaultView(std::make_unique<CPropEditView>(&m_mapContainer)) {}

CPropShowCfg::CPropShowCfg(const CPropShowCfg& other)
    : m_mapContainer(other.m_mapContainer),
      m_pGridTemplateView(std::make_unique<CPropEditView>(&m_mapContainer)),
      m_pDefaultView(std::make_unique<CPropEditView>(&m_mapContainer)) {}

CPropShowCfg::~CPropShowCfg() { DestroyViews(); }

void CPropShowCfg::DestroyViews() {
    m_vecLocView.clear();
    m_pGridTemplateView.reset();
    m_pDefaultView.reset();
}

void CPropShowCfg::LoadShowCfg(const CString&) {}
void CPropShowCfg::GetDefineLocs(std::vector<CString>&) {}
void CPropShowCfg::AddDefineLoc(const CString&) {}
void CPropShowCfg::GetShowLocs(std::vector<CString>& locs) { locs = m_vecShowLoc; }
void CPropShowCfg::SetShowLocs(std::vector<CString> locs) { m_vecShowLoc = std::move(locs); }
IPropEditView* CPropShowCfg::GetPropEditView(const CString&, const CString&) {
    return m_pDefaultView.get();
}
bool CPropShowCfg::GetSectionLocs(const CString&, std::vector<CString>&) { return true; }
int CPropShowCfg::GetComponentKind(KADO::Product::EKADOComponentType) { return 0; }
bool CPropShowCfg::IsViewParam(KADO::Product::EKADOParameterType) { return false; }
void CPropShowCfg::GetMeterParams(std::vector<KADO::Product::EKADOParameterType>& params) {
    params = m_vecMeterParam;
}
int CPropShowCfg::GetView3DMode(KADO::Product::EKADOComponentType) { return 3; }
ContainerTable* CPropShowCfg::GetEnableContainers() { return &m_mapContainer; }
void CPropShowCfg::RemoveDefineLocs(const std::vector<CString>&) {}
bool CPropShowCfg::IsComponentIncluded(const CString&) { return true; }
bool CPropShowCfg::IsComponentTypeIncluded(KADO::Product::EKADOComponentType) { return true; }
bool CPropShowCfg::IsLocShown(const CString&) { return false; }

}  // namespace CONFIG
