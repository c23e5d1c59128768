// Reads item groups and items of one XML file into property-grid records.
#pragma once

#include <list>
#include <string_view>
#include <vector>

#include <siteconfig/CString.h>
#include <siteconfig/PropGridData.h>

#include "Provenance.h"

namespace TOOLS {
class IXMLTree;
struct XmlChild;
}  // namespace TOOLS

namespace CONFIG {

class CItemTemplate;
class CPropEditView;

// Appends the pieces of `text` split at every occurrence of `delimiter` (not empty), empty pieces
// kept, as TOOLS::TransStrToAry splits; room for them is made once, and a text without the
// delimiter is shared rather than copied.
void AppendPieces(const CString& text, std::wstring_view delimiter, std::vector<CString>& pieces);

class CGridItemReader {
public:
    // `tree` is the loaded file at `path`; `templates`, when given, supplies the content of
    // items that carry an "id". All three are borrowed for the reader's lifetime.
    CGridItemReader(TOOLS::IXMLTree& tree, const CString& path, const CItemTemplate* templates);

    // Reads the first "GridShow" child of the current element (the root) and appends one group
    // per child of it. A group whose "ref" is not 0 also gets copies of the items of the first
    // group of its kind in `baseView`, when there is one.
    void ReadGridShow(std::vector<GridShowData*>& groups, const CPropEditView* baseView);
    // From now on ReadGridShow appends to `sources`, for each group, where its items were read
    // (`file` being the tree's file in the caller's table; copied items where the base view
    // has them).
    void RecordSources(std::uint32_t file, std::vector<std::vector<SourceRef>>& sources) {
        m_sourceFile = file;
        m_sources = &sources;
    }
    // Appends one new record per "Item" child of the current element, which stands at nesting
    // `level` (the root is level 1). Items nested deeper than the read limit are left unread.
    // `sources`, when given, receives where each item was read.
    void ReadItems(std::list<GridItemData*>& items, int level,
                   std::vector<SourceRef>* sources = nullptr);

    // "Name" 1000000 ... "ZTThickness" 1000004; empty gives 1000005, any other text is
    // reported and gives 1000005.
    static int GetItemVarByName(const CString& name);

private:
    void ReadItem(GridItemData& item, int level);
    void ReadItemGroup(std::list<GridItemData*>& items, CString& title, CString& param, int level,
                       std::vector<SourceRef>* sources);
    // Reads the item's "Options" child, `at` as GetChildTexts found it, with its text when it
    // has one.
    void ReadOptions(ItemOptions& options, int level, const TOOLS::XmlChild& at, CString* text);
    void ReadOptionStates(AssembleData& assemble, int level);
    // True (and one diagnostic per file) when an element at `level` lies beyond the read limit.
    bool TooDeep(int level);

    TOOLS::IXMLTree& m_tree;
    CString m_path;
    const CItemTemplate* m_pTemplates;
    bool m_depthReported = false;
    std::uint32_t m_sourceFile = SourceRef::kNoFile;
    std::vector<std::vector<SourceRef>>* m_sources = nullptr;
    // The last "Group" text read and the names it split into (none before the first).
    CString m_lastGroupText;
    std::vector<CString> m_lastGroupNames;
};

}  // namespace CONFIG
