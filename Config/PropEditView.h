// One property-grid layout read from an edit-view file (root "PropEditView").
#pragma once

#include <array>
#include <map>
#include <optional>
#include <vector>

#include <siteconfig/CString.h>
#include <siteconfig/IPropEditView.h>
#include <siteconfig/PropGridData.h>

#include "OwnedPtrs.h"
#include "Provenance.h"

namespace TOOLS {
class IXMLTree;
class XmlName;
}  // namespace TOOLS

namespace CONFIG {

class CItemTemplate;

class CPropEditView : public IPropEditView {
public:
    // `containerTable` is the owner's table, borrowed for the view's lifetime; it is read only
    // by GetContainer, so the owner may fill it after loading. May be null.
    explicit CPropEditView(const ContainerTable* containerTable);
    // A deep copy of `other` (groups, items and their options), linked to `baseView` and
    // `containerTable` instead of those of `other`.
    CPropEditView(const CPropEditView& other, const CPropEditView* baseView,
                  const ContainerTable* containerTable);
    CPropEditView(const CPropEditView&) = delete;
    CPropEditView& operator=(const CPropEditView&) = delete;
    ~CPropEditView() override;

    // Reads mark classes, item groups and the container of the file. Items with an "id" take
    // their content from `templates` when given. False, the view unchanged, when the file has
    // no "PropEditView" root (missing, unreadable or another root).
    // `files`, when given, is the owner's file table: the view then keeps where its items were
    // read (ItemSources).
    bool LoadEditView(const CString& path, const CItemTemplate* templates,
                      CSourceFiles* files = nullptr);
    // As above, from `tree`, a file already loaded from `path`; its cursor may stand anywhere
    // and is left on the root. Lets several views be read from one parse of a file. The view
    // keeps where its items were read when `sourceFile` is the file's index in the owner's
    // table. Safe on any thread as long as nothing else uses `tree`.
    bool LoadEditView(TOOLS::IXMLTree& tree, const CString& path, const CItemTemplate* templates,
                      std::uint32_t sourceFile = SourceRef::kNoFile);

    // The base view whose groups "ref" copies; set before loading. Borrowed.
    void SetBaseView(const CPropEditView* baseView) { m_pBaseView = baseView; }
    const CPropEditView* GetBaseView() const { return m_pBaseView; }
    void SetViewLoc(const CString& loc) { m_strLoc = loc; }
    CString GetViewLoc() const { return m_strLoc; }
    void SetTypeAndSections(std::vector<CString> sections) {
        m_vecTypeAndSection = std::move(sections);
    }
    const std::vector<CString>& GetTypeAndSections() const { return m_vecTypeAndSection; }

    bool GetMarkClasses(const int& viewMode, std::vector<CString>& classes) override;
    GridShowData* FindGridShow(int kind) override;
    std::vector<GridShowData*>& GetGridShows() override;
    ContainerData GetContainer() override;
    // The view's own "Container" as its file gives it, before merging with the shared table.
    const ContainerData& GetOwnContainer() const { return m_container; }

    // The first group of a part kind, or null; for readers that copy from a base view.
    const GridShowData* FindGroup(int kind) const;
    // For each group, where its items were read, in the owner's file table; empty when the view
    // was loaded without one.
    const std::vector<std::vector<SourceRef>>& ItemSources() const { return m_itemSources; }
    // Where the items of `group`, one of this view's groups, were read; null when unknown.
    const std::vector<SourceRef>* ItemSources(const GridShowData* group) const;

    // "PouMian" 0, "PingMian" 1, "LiMian" 2, "View3D" 3, "SGPaper" 4; any other name is
    // reported and gives 0.
    static int GetViewModeByName(const CString& name);
    // "Main" 0, "Attach" 1, "Struct" 2, "LeftRight" 3, "Side" 4; any other name is reported
    // and gives 0.
    static int GetPartKindByName(const CString& name);
    // Reads the index-th "Container" child of the current element into `container` (name set,
    // listeners appended). `container` is untouched when there is no such child.
    static void ReadContainer(TOOLS::IXMLTree& tree, ContainerData& container, int index);

private:
    void ReadMarkShow(TOOLS::IXMLTree& tree);
    // Reads the first child `tag`, the element of view mode `mode`.
    void ReadMarkClass(TOOLS::IXMLTree& tree, const TOOLS::XmlName& tag, int mode);

    CString m_strLoc;
    std::vector<CString> m_vecTypeAndSection;
    // Indexed by view mode (0 to 4); empty for a mode the file gives no element.
    static constexpr size_t kViewModeCount = 5;
    std::array<std::optional<std::vector<CString>>, kViewModeCount> m_markClasses;
    // The interface hands out this vector itself, so it stays a vector of raw pointers.
    OwnedPtrs<std::vector<GridShowData*>> m_vecGridShow;
    std::vector<std::vector<SourceRef>> m_itemSources;  // per group of m_vecGridShow
    ContainerData m_container;
    const CPropEditView* m_pBaseView = nullptr;
    const ContainerTable* m_pContainerTable = nullptr;
};

}  // namespace CONFIG
