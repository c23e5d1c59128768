// Copies of property-grid records. The records themselves are not copyable because the
// library copies items by two different rules.
#pragma once

#include <memory>

#include <siteconfig/PropGridData.h>

namespace CONFIG {

enum class ItemCopy {
    // Template and "ref" copies: the destination keeps its own id and canBePrivate, and the
    // items nested in switches are fresh records (empty id, canBePrivate false).
    kContent,
    // A duplicate of every field at every level, for copying a whole configuration.
    kExact,
};

// Copies `from` into `to`: scalar and text fields and groups are replaced; switches and
// assembles are appended as new records.
void CopyGridItem(const GridItemData& from, GridItemData& to, ItemCopy mode);
void CopyItemOptions(const ItemOptions& from, ItemOptions& to, ItemCopy mode);
void CopySwitch(const SwitchData& from, SwitchData& to, ItemCopy mode);
void CopyAssemble(const AssembleData& from, AssembleData& to);

// A new record with the initial values, into which `from` is copied.
std::unique_ptr<GridItemData> CloneGridItem(const GridItemData& from, ItemCopy mode);
// A duplicate of a group and all its items.
std::unique_ptr<GridShowData> CloneGridShow(const GridShowData& from);

}  // namespace CONFIG
