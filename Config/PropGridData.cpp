#include <siteconfig/PropGridData.h>

#include "GridItemCopy.h"

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
        to.switches.push_back(copy.release());
    }
    for (const AssembleData* source : from.assembles) {
        auto copy = std::make_unique<AssembleData>();
        CopyAssemble(*source, *copy);
        to.assembles.push_back(copy.release());
    }
}

void CopySwitch(const SwitchData& from, SwitchData& to, ItemCopy mode) {
    to.title = from.title;
    to.param = from.param;
    for (const GridItemData* item : from.items) {
        to.items.push_back(CloneGridItem(*item, mode).release());
    }
}

void CopyAssemble(const AssembleData& from, AssembleData& to) {
    to.title = from.title;
    to.type = from.type;
    to.paramType = from.paramType;
    for (const OptionStateData* state : from.states) {
        to.states.push_back(std::make_unique<OptionStateData>(*state).release());
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
        copy->items.push_back(CloneGridItem(*item, ItemCopy::kExact).release());
    }
    return copy;
}

}  // namespace CONFIG
