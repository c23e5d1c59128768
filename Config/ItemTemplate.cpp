#include "ItemTemplate.h"

namespace CONFIG {

CItemTemplate::~CItemTemplate() { Clear(); }
bool CItemTemplate::LoadItems(const CString&) { return false; }
const GridItemData* CItemTemplate::FindItem(const CString&) const { return nullptr; }
void CItemTemplate::Clear() { m_mapItem.clear(); }

}  // namespace CONFIG
