#include "ItemTemplate.h"

#include <list>
#include <utility>
#include <vector>

#include "CheckSession.h"
#include "GridItemReader.h"
#include "LogHelper.h"
#include "OwnedPtrs.h"
#include "ReportLines.h"
#include "XMLTree.h"

namespace CONFIG {

CItemTemplate::~CItemTemplate() { Clear(); }

bool CItemTemplate::LoadItems(const CString& path) {
    std::unique_ptr<TOOLS::IXMLTree> tree = TOOLS::CXMLTreeCreator::Allocate();
    tree->LoadFile(path);
    CCheckSession::CheckLoaded(*tree, FileKind::kItemTemplate, path);
    static const TOOLS::XmlName kRoot(L"Items");  // converted once, on any thread
    if (!tree->FindElement(kRoot)) return false;
    // Templates never refer to other templates: the items are read without a table.
    OwnedPtrs<std::list<GridItemData*>> items;
    CCheckSession* check = CCheckSession::Current();
    std::vector<SourceRef> sources;  // for a check: where each template stands
    CGridItemReader(*tree, path, nullptr).ReadItems(items.items(), 1, check ? &sources : nullptr);
    m_mapItem.reserve(m_mapItem.size() + items.items().size());
    size_t index = 0;
    for (GridItemData*& raw : items.items()) {
        std::unique_ptr<GridItemData> item(std::exchange(raw, nullptr));
        const CString id = item->id;
        if (check && index < sources.size()) {
            check->ItemTemplateDefined(path, id, sources[index].offset);
        }
        ++index;
        if (!m_mapItem.try_emplace(id, std::move(item)).second) {
            TOOLS::CLogHelper(kPropShowCfgSource, line::kItemTemplateRepeated).Assert(0);
        }
    }
    return true;
}

const GridItemData* CItemTemplate::FindItem(const CString& id) const {
    auto found = m_mapItem.find(id);
    if (found == m_mapItem.end()) {
        CCheckSession::ReportedText(id);
        TOOLS::CLogHelper(kPropShowCfgSource, line::kItemTemplateMissing).Assert(0);
        return nullptr;
    }
    if (CCheckSession* check = CCheckSession::Current()) check->ItemTemplateUsed(id);
    return found->second.get();
}

void CItemTemplate::Clear() { m_mapItem.clear(); }

}  // namespace CONFIG
