#include "PropGridData.h"

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

}  // namespace CONFIG
