#include <siteconfig/PropGridData.h>

#include <memory>
#include <utility>

#include "GridItemCopy.h"
#include "OwnedPtrs.h"

namespace CONFIG {

AssembleData::~AssembleData() {
    for (OptionStateData* state : states) delete state;
}

SwitchData::~SwitchData() {
    for (GridItemData* item : items) delete item;
}

ItemOptions::~ItemOptions() {
    for (SwitchData* item : switches) delete item;
    for (AssembleData* item : assembles) delete item;
}

GridShowData::~GridShowData() {
    for (GridItemData* item : items) delete item;
}

void CopyGridItem(const GridItemData& from, GridItemData& to, ItemCopy mode) {
    if (mode == ItemCopy::kExact) {
        to.id = from.id;
        to.canBePrivate = from.canBePrivate;
    }
    to.paramType = from.paramType;
    to.itemVar = from.itemVar;
    to.name = from.name;
    to.tips = from.tips;
    to.control = from.control;
    to.style = from.style;
    to.enable = from.enable;
    CopyItemOptions(from.options, to.options, mode);
    to.param = from.param;
    to.groups = from.groups;
}

void CopyItemOptions(const ItemOptions& from, ItemOptions& to, ItemCopy mode) {
    to.text = from.text;
    for (const SwitchData* source : from.switches) {
        auto copy = std::make_unique<SwitchData>();
        CopySwitch(*source, *copy, mode);
        AppendOwned(to.switches, std::move(copy));
    }
    for (const AssembleData* source : from.assembles) {
        auto copy = std::make_unique<AssembleData>();
        CopyAssemble(*source, *copy);
        AppendOwned(to.assembles, std::move(copy));
    }
}

void CopySwitch(const SwitchData& from, SwitchData& to, ItemCopy mode) {
    to.title = from.title;
    to.param = from.param;
    for (const GridItemData* item : from.items) {
        AppendOwned(to.items, CloneGridItem(*item, mode));
    }
}

void CopyAssemble(const AssembleData& from, AssembleData& to) {
    to.title = from.title;
    to.type = from.type;
    to.paramType = from.paramType;
    for (const OptionStateData* state : from.states) {
        AppendOwned(to.states, std::make_unique<OptionStateData>(*state));
    }
}

std::unique_ptr<GridItemData> CloneGridItem(const GridItemData& from, ItemCopy mode) {
    auto copy = std::make_unique<GridItemData>();
    CopyGridItem(from, *copy, mode);
    return copy;
}

std::unique_ptr<GridShowData> CloneGridShow(const GridShowData& from) {
    auto copy = std::make_unique<GridShowData>();
    copy->kind = from.kind;
    copy->param = from.param;
    for (const GridItemData* item : from.items) {
        AppendOwned(copy->items, CloneGridItem(*item, ItemCopy::kExact));
    }
    return copy;
}

}  // namespace CONFIG
