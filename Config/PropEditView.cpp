#include "PropEditView.h"

namespace CONFIG {

CPropEditView::CPropEditView(const ContainerTable* containerTable)
    : m_pContainerTable(containerTable) {}

CPropEditView::CPropEditView(const CPropEditView&, const CPropEditView* baseView,
                             const ContainerTable* containerTable)
    : m_pBaseView(baseView), m_pContainerTable(containerTable) {}

CPropEditView::~CPropEditView() {
    for (GridShowData* group : m_vecGridShow) delete group;
}

bool CPropEditView::LoadEditView(const CString&, const CItemTemplate*) { return false; }
bool CPropEditView::GetMarkClasses(const int&, std::vector<CString>&) { return false; }
GridShowData* CPropEditView::FindGridShow(int) { return nullptr; }
std::vector<GridShowData*>& CPropEditView::GetGridShows() { return m_vecGridShow; }
ContainerData CPropEditView::GetContainer() { return ContainerData(); }

}  // namespace CONFIG
