#include "RecordCensus.h"

#include <cstdint>
#include <cstdio>
#include <list>
#include <string>
#include <string_view>
#include <vector>

#include <siteconfig/SiteConfigNames.h>
#include <siteconfig/SiteConfigTables.h>

namespace bench {
namespace {

using CONFIG::GridItemData;
using CONFIG::PropertyInsData;

const char* const kCountNames[kCensusCounts] = {
    "definitions",         "shape-pool entries", "file templates", "graph-library models",
    "property models",     "instances",          "parameters",     "category texts",
    "defined locations",   "shown locations",    "section keys",   "section texts",
    "small-table entries", "containers",         "listeners",      "location views",
    "mark-class lists",    "item groups",        "grid items",     "switches",
    "assembles",           "option states",      "wide characters"};

class CensusTaker {
public:
    explicit CensusTaker(RecordCensus& census)
        : counts_(census.counts), checksum_(census.textChecksum) {}

    void Text(std::wstring_view text) {
        counts_[kWideChars] += static_cast<long long>(text.size());
        std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (const wchar_t unit : text) {
            hash = (hash ^ static_cast<std::uint64_t>(unit)) * 1099511628211ull;
        }
        checksum_ += hash;
    }
    void Text(const CString& text) { Text(text.str()); }
    void Text(const std::wstring& text) { Text(std::wstring_view(text)); }

    void Texts(const std::vector<CString>& texts, CensusCount kind) {
        counts_[kind] += static_cast<long long>(texts.size());
        for (const CString& text : texts) Text(text);
    }

    void Record(const PropertyInsData& record) {
        Text(record.category);
        Text(record.initName);
        Text(record.sectionShape);
        Text(record.graphLibId);
        for (const auto& param : record.params) {
            ++counts_[kParams];
            Text(param.second.first);
            Text(param.second.second);
        }
        for (const PropertyInsData& child : record.children) {
            ++counts_[kInstances];
            Record(child);
        }
    }

    void Counted(const PropertyInsData& record, CensusCount kind) {
        ++counts_[kind];
        Record(record);
    }

    template <typename List>
    void Records(const List& records, CensusCount kind) {
        for (const PropertyInsData& record : records) Counted(record, kind);
    }

    // The listed files' records first, then the graph libraries' models.
    void Templates(const std::list<PropertyInsData>& templates, size_t fileTemplates) {
        size_t index = 0;
        for (const PropertyInsData& record : templates) {
            Counted(record, index++ < fileTemplates ? kFileTemplates : kGraphModels);
        }
    }

    template <typename Map>
    void Categories(const Map& categories) {
        for (const auto& entry : categories) {
            counts_[kCategories] += static_cast<long long>(entry.second.size());
            for (const CString& text : entry.second) Text(text);
        }
    }

    template <typename Map>
    void SectionSelect(const Map& sections) {
        for (const auto& [key, texts] : sections) {
            ++counts_[kSectionKeys];
            Text(key);
            Texts(texts, kSectionTexts);
        }
    }

    void SmallTable(size_t entries) {
        counts_[kSmallTableEntries] += static_cast<long long>(entries);
    }

    void Container(const CONFIG::ContainerData& container) {
        ++counts_[kContainers];
        Text(container.name);
        for (const CONFIG::ListenerData& listener : container.listeners) {
            ++counts_[kListeners];
            Text(listener.name);
            Text(listener.data);
        }
    }

    void Item(const GridItemData& item) {
        ++counts_[kGridItems];
        Text(item.id);
        Text(item.name);
        Text(item.tips);
        Text(item.control);
        Text(item.style);
        Text(item.param);
        for (const CString& group : item.groups) Text(group);
        Text(item.options.text);
        for (const CONFIG::SwitchData* entry : item.options.switches) {
            ++counts_[kSwitches];
            Text(entry->title);
            Text(entry->param);
            for (const GridItemData* nested : entry->items) Item(*nested);
        }
        for (const CONFIG::AssembleData* entry : item.options.assembles) {
            ++counts_[kAssembles];
            Text(entry->title);
            Text(entry->type);
            for (const CONFIG::OptionStateData* state : entry->states) {
                ++counts_[kStates];
                Text(state->control);
                Text(state->style);
                Text(state->option);
                Text(state->format);
            }
        }
    }

    void Group(const CONFIG::GridShowData& group) {
        ++counts_[kGroups];
        Text(group.param);
        for (const GridItemData* item : group.items) Item(*item);
    }

    void MarkClasses(const std::vector<CString>& classes) {
        ++counts_[kMarkClasses];
        for (const CString& text : classes) Text(text);
    }

    void LocationView(const CString& loc, const std::vector<CString>& typeAndSections) {
        ++counts_[kLocationViews];
        Text(loc);
        for (const CString& text : typeAndSections) Text(text);
    }

private:
    std::array<long long, kCensusCounts>& counts_;
    std::uint64_t& checksum_;
};

// A view as the interface lends it: groups, and the mark classes of each view mode.
void LentView(CensusTaker& taker, CONFIG::IPropEditView& view) {
    for (const CONFIG::GridShowData* group : view.GetGridShows()) taker.Group(*group);
    for (const CONFIG::NamedValue& mode : CONFIG::GetViewModeNames()) {
        std::vector<CString> classes;
        if (view.GetMarkClasses(mode.value, classes)) taker.MarkClasses(classes);
    }
}

void FloorView(CensusTaker& taker, const FloorEditView& view) {
    for (const auto& group : view.groups) taker.Group(*group);
    for (const auto& entry : view.markClasses) taker.MarkClasses(entry.second);
}

std::string Thousands(long long value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<size_t>(at), ",");
    }
    return digits;
}

}  // namespace

RecordCensus CensusOfLibrary(const CONFIG::CPropertiesConfig& config, size_t fileTemplates) {
    RecordCensus census;
    CensusTaker taker(census);
    const CONFIG::CConfigTables tables(config);
    for (const auto& entry : tables.GetDefinitions()) {
        taker.Counted(entry.second, kDefinitions);
    }
    taker.Records(tables.GetShapePool(), kShapePool);
    taker.Templates(tables.GetTemplates(), fileTemplates);
    taker.Records(tables.GetPropModels(), kPropModels);
    taker.Categories(tables.GetCategoryIndex());
    taker.Texts(tables.GetDefineLocs(), kDefineLocs);
    taker.Texts(tables.GetShowLocs(), kShowLocs);
    taker.SectionSelect(tables.GetSectionSelect());
    taker.SmallTable(tables.GetComponentKinds().size());
    taker.SmallTable(tables.GetViewParams().size());
    taker.SmallTable(tables.GetMeterParams().size());
    taker.SmallTable(tables.GetView3DModes().size());
    for (const auto& entry : tables.GetContainers()) {
        taker.Text(entry.first);
        taker.Container(entry.second);
    }
    LentView(taker, *tables.GetGridTemplateView());
    for (const CONFIG::LocationViewInfo& view : tables.GetLocationViews()) {
        taker.LocationView(view.loc, view.typeAndSections);
        LentView(taker, *view.view);
    }
    return census;
}

RecordCensus CensusOfFloor(const RecordsFloor& floor) {
    RecordCensus census;
    CensusTaker taker(census);
    for (const auto& entry : floor.definitions) {
        taker.Counted(entry.second, kDefinitions);
    }
    taker.Records(floor.shapePool, kShapePool);
    taker.Templates(floor.templates, floor.fileTemplates);
    taker.Records(floor.propModels, kPropModels);
    taker.Categories(floor.categories);
    taker.Texts(floor.defineLocs, kDefineLocs);
    taker.Texts(floor.showLocs, kShowLocs);
    taker.SectionSelect(floor.sectionSelect);
    taker.SmallTable(floor.componentKinds.size());
    taker.SmallTable(floor.viewParams.size());
    taker.SmallTable(floor.meterParams.size());
    taker.SmallTable(floor.view3DModes.size());
    for (const auto& entry : floor.containers) {
        taker.Text(entry.first);
        taker.Container(entry.second);
    }
    FloorView(taker, floor.gridTemplate);
    for (const FloorEditView& view : floor.locationViews) {
        taker.LocationView(view.loc, view.typeAndSections);
        FloorView(taker, view);
    }
    return census;
}

bool PrintCensusCheck(const RecordCensus& library, const RecordCensus& floor) {
    std::string differences;
    for (int i = 0; i < kCensusCounts; ++i) {
        if (library.counts[i] == floor.counts[i]) continue;
        differences += std::string(differences.empty() ? "" : "; ") + kCountNames[i] + " " +
                       Thousands(floor.counts[i]) + " (library " + Thousands(library.counts[i]) +
                       ")";
    }
    if (library.textChecksum != floor.textChecksum) {
        differences += std::string(differences.empty() ? "" : "; ") + "the texts' checksums";
    }
    if (!differences.empty()) {
        std::printf("warning: the records floor differs from the library's tables: %s\n",
                    differences.c_str());
        return false;
    }
    const auto& c = floor.counts;
    std::printf(
        "records check: floor and library agree: %s definitions, %s shape-pool entries, "
        "%s + %s templates, %s models, %s instances, %s parameters, %s grid items, "
        "%s wide characters\n",
        Thousands(c[kDefinitions]).c_str(), Thousands(c[kShapePool]).c_str(),
        Thousands(c[kFileTemplates]).c_str(), Thousands(c[kGraphModels]).c_str(),
        Thousands(c[kPropModels]).c_str(), Thousands(c[kInstances]).c_str(),
        Thousands(c[kParams]).c_str(), Thousands(c[kGridItems]).c_str(),
        Thousands(c[kWideChars]).c_str());
    return true;
}

}  // namespace bench
