#include "PropEditView.h"

#include <iterator>
#include <memory>

#include "CheckSession.h"
#include "DisplayNames.h"
#include "GridItemCopy.h"
#include "GridItemReader.h"
#include "LogHelper.h"
#include "ReportLines.h"
#include "Tools.h"
#include "XMLTree.h"

namespace CONFIG {

namespace {
constexpr bool ModesAreIndexes() {
    int index = 0;
    for (const NamedCode& mode : kViewModeNames) {
        if (mode.code != index++) return false;
    }
    return true;
}
}  // namespace

CPropEditView::CPropEditView(const ContainerTable* containerTable)
    : m_pContainerTable(containerTable) {}

CPropEditView::CPropEditView(const CPropEditView& other, const CPropEditView* baseView,
                             const ContainerTable* containerTable)
    : m_strLoc(other.m_strLoc),
      m_vecTypeAndSection(other.m_vecTypeAndSection),
      m_markClasses(other.m_markClasses),
      m_itemSources(other.m_itemSources),
      m_container(other.m_container),
      m_pBaseView(baseView),
      m_pContainerTable(containerTable) {
    m_vecGridShow.items().reserve(other.m_vecGridShow.items().size());
    for (const GridShowData* group : other.m_vecGridShow.items()) {
        AppendOwned(m_vecGridShow.items(), CloneGridShow(*group));
    }
}

CPropEditView::~CPropEditView() = default;

int CPropEditView::GetViewModeByName(const CString& name) {
    if (const NamedCode* mode = FindCode(kViewModeNames, name)) return mode->code;
    CCheckSession::ReportedText(name);
    TOOLS::CLogHelper(kPropShowCfgSource, line::kViewModeUnknown).Assert(0);
    return kViewPouMian;
}

int CPropEditView::GetPartKindByName(const CString& name) {
    if (const NamedCode* kind = FindCode(kPartKindNames, name)) return kind->code;
    CCheckSession::ReportedText(name);
    TOOLS::CLogHelper(kPropShowCfgSource, line::kPartKindUnknown).Assert(0);
    return kPartMain;
}

bool CPropEditView::LoadEditView(const CString& path, const CItemTemplate* templates,
                                 CSourceFiles* files) {
    std::unique_ptr<TOOLS::IXMLTree> tree = TOOLS::CXMLTreeCreator::Allocate();
    tree->LoadFile(path);
    CCheckSession::CheckLoaded(*tree, FileKind::kEditView, path);
    return LoadEditView(*tree, path, templates, files ? files->Index(path) : SourceRef::kNoFile);
}

bool CPropEditView::LoadEditView(TOOLS::IXMLTree& tree, const CString& path,
                                 const CItemTemplate* templates, std::uint32_t sourceFile) {
    static const TOOLS::XmlName kRoot(L"PropEditView");
    if (!tree.FindElement(kRoot)) return false;
    ReadMarkShow(tree);
    CGridItemReader reader(tree, path, templates);
    if (sourceFile != SourceRef::kNoFile) reader.RecordSources(sourceFile, m_itemSources);
    reader.ReadGridShow(m_vecGridShow.items(), m_pBaseView);
    ReadContainer(tree, m_container, 0);
    if (CCheckSession* check = CCheckSession::Current()) {
        check->ChildNamed(path, tree, L"Container");
    }
    return true;
}

void CPropEditView::ReadMarkShow(TOOLS::IXMLTree& tree) {
    static_assert(std::size(kViewModeNames) == kViewModeCount && ModesAreIndexes(),
                  "mark classes are kept in an array indexed by view mode");
    static const TOOLS::XmlName kMarkShow(L"MarkShow");
    static const std::vector<TOOLS::XmlName> kModeTags = [] {
        std::vector<TOOLS::XmlName> tags;
        for (const NamedCode& mode : kViewModeNames) tags.emplace_back(mode.name);
        return tags;
    }();
    if (!tree.IntoChild(kMarkShow, 0)) return;
    for (size_t i = 0; i < kModeTags.size(); ++i) {
        ReadMarkClass(tree, kModeTags[i], kViewModeNames[i].code);
    }
    tree.OutOfElement();
}

void CPropEditView::ReadMarkClass(TOOLS::IXMLTree& tree, const TOOLS::XmlName& tag, int mode) {
    static const TOOLS::XmlName kMarkClass(L"markclass");
    if (!tree.IntoChild(tag, 0)) return;
    std::vector<CString> classes;
    AppendPieces(TOOLS::AttributeOf(tree, kMarkClass), L";", classes);
    std::optional<std::vector<CString>>& entry = m_markClasses[static_cast<size_t>(mode)];
    if (!entry) entry = std::move(classes);
    tree.OutOfElement();
}

void CPropEditView::ReadContainer(TOOLS::IXMLTree& tree, ContainerData& container, int index) {
    // Constant names converted once; the statics are initialised once even across threads.
    static const TOOLS::XmlName kContainer(L"Container");
    static const TOOLS::XmlName kListener(L"Listener");
    static const TOOLS::XmlName kName(L"name");
    static const TOOLS::XmlName kData(L"data");
    if (!tree.IntoChild(kContainer, index)) return;
    tree.GetAttribute(kName, container.name);
    int count = 0;
    tree.GetNamedChildCount(kListener, count);
    for (int i = 0; i < count; ++i) {
        if (!tree.IntoChild(kListener, i)) break;
        ListenerData listener;
        tree.GetAttribute(kName, listener.name);
        tree.GetAttribute(kData, listener.data);
        const int separator = listener.name.Find(L'_');
        if (separator < 0) {
            TOOLS::CLogHelper(kPropShowCfgSource, line::kListenerWithoutKind).Assert(0);
        } else {
            listener.kind = GetPartKindByName(listener.name.Mid(separator + 1));
        }
        container.listeners.push_back(std::move(listener));
        tree.OutOfElement();
    }
    tree.OutOfElement();
}

bool CPropEditView::GetMarkClasses(const int& viewMode, std::vector<CString>& classes) {
    if (viewMode < 0 || static_cast<size_t>(viewMode) >= kViewModeCount) return false;
    const std::optional<std::vector<CString>>& entry = m_markClasses[static_cast<size_t>(viewMode)];
    if (!entry) return false;
    classes = *entry;
    return true;
}

GridShowData* CPropEditView::FindGridShow(int kind) {
    for (GridShowData* group : m_vecGridShow.items()) {
        if (group->kind == kind) return group;
    }
    return nullptr;
}

const GridShowData* CPropEditView::FindGroup(int kind) const {
    for (const GridShowData* group : m_vecGridShow.items()) {
        if (group->kind == kind) return group;
    }
    return nullptr;
}

const std::vector<SourceRef>* CPropEditView::ItemSources(const GridShowData* group) const {
    const std::vector<GridShowData*>& groups = m_vecGridShow.items();
    for (size_t i = 0; i < groups.size() && i < m_itemSources.size(); ++i) {
        if (groups[i] == group) return &m_itemSources[i];
    }
    return nullptr;
}

std::vector<GridShowData*>& CPropEditView::GetGridShows() { return m_vecGridShow.items(); }

ContainerData CPropEditView::GetContainer() {
    const ContainerData* shared = nullptr;
    if (m_pContainerTable) {
        auto found = m_pContainerTable->find(m_container.name);
        if (found != m_pContainerTable->end()) shared = &found->second;
    }
    if (!shared) {
        TOOLS::CLogHelper(kPropShowCfgSource, line::kContainerNotInTable).Assert(0);
        return ContainerData();
    }
    ContainerData result = *shared;
    // The first of the view's own listeners of a name gives that listener its data.
    std::map<CString, const CString*> ownData;
    for (const ListenerData& own : m_container.listeners) ownData.emplace(own.name, &own.data);
    for (ListenerData& listener : result.listeners) {
        auto data = ownData.find(listener.name);
        if (data != ownData.end()) listener.data = *data->second;
    }
    return result;
}

}  // namespace CONFIG
