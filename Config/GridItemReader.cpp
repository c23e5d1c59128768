#include "GridItemReader.h"

#include <algorithm>
#include <cwctype>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "CheckSession.h"
#include "DisplayNames.h"
#include "GridItemCopy.h"
#include "ItemTemplate.h"
#include "LogHelper.h"
#include "OwnedPtrs.h"
#include "PropEditView.h"
#include "ReportLines.h"
#include "Tools.h"
#include "XMLTree.h"

namespace CONFIG {

// Tag and attribute names are function-local statics: converted to UTF-8 once rather than on
// every call, and initialised exactly once even when several loads run at the same time.

namespace {

// The decimal value of a "ref" text as the C library reads it: leading blanks and one sign
// allowed, digits up to the first other character, 0 when no digit follows.
bool IsNonZeroDecimal(const CString& text) {
    int i = 0;
    while (i < text.GetLength() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;
    if (text[i] == L'+' || text[i] == L'-') ++i;
    for (; text[i] >= L'0' && text[i] <= L'9'; ++i) {
        if (text[i] != L'0') return true;
    }
    return false;
}

}  // namespace

void AppendPieces(const CString& text, std::wstring_view delimiter, std::vector<CString>& pieces) {
    const std::wstring_view s = text.str();
    size_t count = 1;
    for (size_t at = s.find(delimiter); at != s.npos;
         at = s.find(delimiter, at + delimiter.size())) {
        ++count;
    }
    if (count == 1) {
        pieces.push_back(text);
        return;
    }
    pieces.reserve(pieces.size() + count);
    size_t start = 0;
    for (size_t at; (at = s.find(delimiter, start)) != s.npos; start = at + delimiter.size()) {
        pieces.emplace_back(s.data() + start, static_cast<int>(at - start));
    }
    pieces.emplace_back(s.data() + start, static_cast<int>(s.size() - start));
}

CGridItemReader::CGridItemReader(TOOLS::IXMLTree& tree, const CString& path,
                                 const CItemTemplate* templates)
    : m_tree(tree), m_path(path), m_pTemplates(templates) {}

int CGridItemReader::GetItemVarByName(const CString& name) {
    if (name.IsEmpty()) return kItemVarNone;  // most items name no variable
    if (const NamedCode* itemVar = FindCode(kItemVarNames, name)) return itemVar->code;
    CCheckSession::ReportedText(name);
    TOOLS::CLogHelper(kPropShowCfgSource, line::kItemVarUnknown).Assert(0);
    return kItemVarNone;
}

void CGridItemReader::ReadGridShow(std::vector<GridShowData*>& groups,
                                   const CPropEditView* baseView) {
    static const TOOLS::XmlName kGridShow(L"GridShow");
    static const TOOLS::XmlName kRef(L"ref");
    if (!m_tree.IntoChild(kGridShow, 0)) return;
    constexpr int kGroupLevel = 3;  // the root, "GridShow", the group
    int count = 0;
    m_tree.GetChildCount(count);
    for (int i = 0; i < count; ++i) {
        // A "GridShow" holding only text counts one child but has no element to enter.
        if (!m_tree.IntoChildAt(i)) continue;
        CString tag;
        m_tree.GetTagName(tag);
        auto group = std::make_unique<GridShowData>();
        group->kind = CPropEditView::GetPartKindByName(tag);
        CString title;
        std::vector<SourceRef> sources;
        ReadItemGroup(group->items, title, group->param, kGroupLevel,
                      m_sources ? &sources : nullptr);
        if (IsNonZeroDecimal(TOOLS::AttributeOf(m_tree, kRef)) && baseView) {
            if (const GridShowData* base = baseView->FindGroup(group->kind)) {
                for (const GridItemData* item : base->items) {
                    AppendOwned(group->items, CloneGridItem(*item, ItemCopy::kContent));
                }
                if (m_sources) {
                    const std::vector<SourceRef>* copied = baseView->ItemSources(base);
                    sources.resize(group->items.size());
                    if (copied && copied->size() == base->items.size()) {
                        std::copy(copied->begin(), copied->end(),
                                  sources.end() - static_cast<ptrdiff_t>(copied->size()));
                    }
                }
            }
        }
        AppendOwned(groups, std::move(group));
        if (m_sources) m_sources->push_back(std::move(sources));
        m_tree.OutOfElement();
    }
    m_tree.OutOfElement();
}

void CGridItemReader::ReadItemGroup(std::list<GridItemData*>& items, CString& title, CString& param,
                                    int level, std::vector<SourceRef>* sources) {
    static const TOOLS::XmlName kTitle(L"title");
    static const TOOLS::XmlName kParam(L"param");
    m_tree.GetAttribute(kTitle, title);
    m_tree.GetAttribute(kParam, param);
    ReadItems(items, level, sources);
}

void CGridItemReader::ReadItems(std::list<GridItemData*>& items, int level,
                                std::vector<SourceRef>* sources) {
    static const TOOLS::XmlName kItem(L"Item");
    int count = 0;
    m_tree.GetNamedChildCount(kItem, count);
    if (count < 1 || TooDeep(level + 1)) return;
    if (sources) sources->reserve(sources->size() + static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (!m_tree.IntoChild(kItem, i)) break;
        if (sources) sources->push_back(SourceRef::Make(m_sourceFile, m_tree.GetElementOffset()));
        auto item = std::make_unique<GridItemData>();
        ReadItem(*item, level + 1);
        m_tree.OutOfElement();
        AppendOwned(items, std::move(item));
    }
}

void CGridItemReader::ReadItem(GridItemData& item, int level) {
    static const TOOLS::XmlName kId(L"id");
    m_tree.GetAttribute(kId, item.id);
    if (!item.id.IsEmpty() && m_pTemplates) {
        if (const GridItemData* source = m_pTemplates->FindItem(item.id)) {
            CopyGridItem(*source, item, ItemCopy::kContent);
        }
        return;
    }
    // All of an item's child texts in one pass over its children.
    enum Field {
        kName,
        kVariable,
        kItemVar,
        kTips,
        kControl,
        kStyle,
        kParam,
        kPrivate,
        kEnable,
        kGroup,
        kOptions,
        kFieldCount
    };
    static const TOOLS::XmlName kTags[kFieldCount] = {
        L"Name",  L"Variable",     L"ItemVar", L"Tips",  L"Control", L"Style",
        L"Param", L"CanBePrivate", L"Enable",  L"Group", L"Options"};
    CString texts[kFieldCount];
    bool found[kFieldCount];
    TOOLS::XmlChild children[kFieldCount];
    m_tree.GetChildTexts(kTags, kFieldCount, texts, found, children);

    item.name = std::move(texts[kName]);
    item.paramType = TOOLS::CKADOHandler::GetParamTypeByName(texts[kVariable]);
    item.itemVar = GetItemVarByName(texts[kItemVar]);
    item.tips = std::move(texts[kTips]);
    ReadOptions(item.options, level, children[kOptions],
                found[kOptions] ? &texts[kOptions] : nullptr);
    item.control = std::move(texts[kControl]);
    item.style = std::move(texts[kStyle]);
    item.param = std::move(texts[kParam]);
    if (texts[kPrivate].str() == L"true") item.canBePrivate = true;
    if (texts[kEnable].str() == L"false") item.enable = 0;
    // An item without "Group" keeps no groups rather than one empty group name.
    if (found[kGroup]) {
        // Items mostly repeat the previous item's text: its names are then shared, not split
        // and allocated again.
        if (m_lastGroupNames.empty() || texts[kGroup] != m_lastGroupText) {
            m_lastGroupNames.clear();
            AppendPieces(texts[kGroup], L"\\v", m_lastGroupNames);
            m_lastGroupText = std::move(texts[kGroup]);
        }
        item.groups = m_lastGroupNames;
    }
}

void CGridItemReader::ReadOptions(ItemOptions& options, int level, const TOOLS::XmlChild& at,
                                  CString* text) {
    static const TOOLS::XmlName kSwitch(L"Switch");
    static const TOOLS::XmlName kAssemble(L"Assemble");
    static const TOOLS::XmlName kTitle(L"title");
    static const TOOLS::XmlName kParam(L"param");
    if (!m_tree.IntoFound(at)) return;
    const int optionsLevel = level + 1;
    if (TooDeep(optionsLevel)) {
        m_tree.OutOfElement();
        return;
    }
    int count = 0;
    m_tree.GetChildCount(count);
    if (count == 1 && text) options.text = std::move(*text);

    int switchCount = 0;
    m_tree.GetNamedChildCount(kSwitch, switchCount);
    int assembleCount = 0;
    m_tree.GetNamedChildCount(kAssemble, assembleCount);
    if ((switchCount > 0 || assembleCount > 0) && TooDeep(optionsLevel + 1)) {
        m_tree.OutOfElement();
        return;
    }
    for (int i = 0; i < switchCount; ++i) {
        if (!m_tree.IntoChild(kSwitch, i)) break;
        auto entry = std::make_unique<SwitchData>();
        ReadItemGroup(entry->items, entry->title, entry->param, optionsLevel + 1, nullptr);
        AppendOwned(options.switches, std::move(entry));
        m_tree.OutOfElement();
    }
    for (int i = 0; i < assembleCount; ++i) {
        if (!m_tree.IntoChild(kAssemble, i)) break;
        auto entry = std::make_unique<AssembleData>();
        m_tree.GetAttribute(kTitle, entry->title);
        entry->paramType =
            TOOLS::CKADOHandler::GetParamTypeByName(TOOLS::AttributeOf(m_tree, kParam));
        ReadOptionStates(*entry, optionsLevel + 1);
        AppendOwned(options.assembles, std::move(entry));
        m_tree.OutOfElement();
    }
    m_tree.OutOfElement();
}

void CGridItemReader::ReadOptionStates(AssembleData& assemble, int level) {
    static const TOOLS::XmlName kType(L"type");
    static const TOOLS::XmlName kIsEnable(L"IsEnable");
    static const TOOLS::XmlName kIsEidt(L"IsEidt");
    static const TOOLS::XmlName kIsReadOnly(L"IsReadOnly");
    enum Field { kControl, kStyle, kOption, kFormat, kFieldCount };
    static const TOOLS::XmlName kTags[kFieldCount] = {L"Control", L"Style", L"Option", L"Format"};
    m_tree.GetAttribute(kType, assemble.type);
    const TOOLS::XmlName stateTag(assemble.type);
    int count = 0;
    m_tree.GetNamedChildCount(stateTag, count);
    if (count < 1 || TooDeep(level + 1)) return;
    for (int i = 0; i < count; ++i) {
        if (!m_tree.IntoChild(stateTag, i)) continue;
        auto state = std::make_unique<OptionStateData>();
        state->enable = m_tree.AttributeEquals(kIsEnable, "true");
        state->edit = m_tree.AttributeEquals(kIsEidt, "true");
        state->readOnly = m_tree.AttributeEquals(kIsReadOnly, "true");
        // One pass over the children for the four texts; an absent one stays empty.
        CString texts[kFieldCount];
        bool found[kFieldCount];
        m_tree.GetChildTexts(kTags, kFieldCount, texts, found);
        state->control = std::move(texts[kControl]);
        state->style = std::move(texts[kStyle]);
        state->option = std::move(texts[kOption]);
        state->format = std::move(texts[kFormat]);
        AppendOwned(assemble.states, std::move(state));
        m_tree.OutOfElement();
    }
}

bool CGridItemReader::TooDeep(int level) {
    if (level <= TOOLS::kMaxReadDepth) return false;
    if (!m_depthReported) {
        m_depthReported = true;
        CString message;
        message.Format(L"%s: elements nested deeper than %d levels are not read", m_path,
                       TOOLS::kMaxReadDepth);
        TOOLS::ReportDiagnostic(m_path, 0, 0, message, L"too-deep");
    }
    return true;
}

}  // namespace CONFIG
