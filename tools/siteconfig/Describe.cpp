#include "Describe.h"

#include "Findings.h"

namespace sctool {
namespace {

using CONFIG::CConfigTables;
using KADO::Product::EKADOComponentType;
using KADO::Product::EKADOParameterType;

// The library's name of `value`, or "#N" when it has none.
std::string NameOf(const std::vector<CONFIG::NamedValue>& names, int value) {
    CString name;
    return CONFIG::FindName(names, value, name) ? TOOLS::Utf8FromWide(name)
                                                : "#" + std::to_string(value);
}

Json Strings(const std::vector<CString>& texts) {
    Json list = Json::array();
    for (const CString& text : texts) list.push_back(TOOLS::Utf8FromWide(text));
    return list;
}

void PutIfNotEmpty(Json& j, const char* key, const CString& text) {
    if (!text.IsEmpty()) j[key] = TOOLS::Utf8FromWide(text);
}

Json DescribeOptions(const Names& names, const CONFIG::ItemOptions& options) {
    Json j = Json::object();
    PutIfNotEmpty(j, "text", options.text);
    if (!options.switches.empty()) {
        Json switches = Json::array();
        for (const CONFIG::SwitchData* sw : options.switches) {
            Json s;
            s["title"] = TOOLS::Utf8FromWide(sw->title);
            s["param"] = TOOLS::Utf8FromWide(sw->param);
            Json items = Json::array();
            for (const CONFIG::GridItemData* item : sw->items) {
                items.push_back(DescribeItem(names, *item));
            }
            s["items"] = std::move(items);
            switches.push_back(std::move(s));
        }
        j["switches"] = std::move(switches);
    }
    if (!options.assembles.empty()) {
        Json assembles = Json::array();
        for (const CONFIG::AssembleData* assemble : options.assembles) {
            Json a;
            a["title"] = TOOLS::Utf8FromWide(assemble->title);
            a["type"] = TOOLS::Utf8FromWide(assemble->type);
            names.PutParameter(a, "param", assemble->paramType);
            Json states = Json::array();
            for (const CONFIG::OptionStateData* state : assemble->states) {
                Json s;
                s["enable"] = state->enable;
                s["edit"] = state->edit;
                s["readOnly"] = state->readOnly;
                PutIfNotEmpty(s, "control", state->control);
                PutIfNotEmpty(s, "style", state->style);
                PutIfNotEmpty(s, "option", state->option);
                PutIfNotEmpty(s, "format", state->format);
                states.push_back(std::move(s));
            }
            a["states"] = std::move(states);
            assembles.push_back(std::move(a));
        }
        j["assembles"] = std::move(assembles);
    }
    return j;
}

Json TypeList(const Names& names, const std::map<EKADOComponentType, int>& table,
              const char* valueKey, std::string (*valueName)(int)) {
    Json list = Json::array();
    for (const auto& [type, value] : table) {
        Json entry;
        names.PutComponent(entry, "type", type);
        entry[valueKey] = valueName(value);
        list.push_back(std::move(entry));
    }
    return list;
}

template <typename Records>
Json RecordList(const Names& names, const Records& records) {
    Json list = Json::array();
    for (const auto& record : records) list.push_back(DescribeRecord(names, record));
    return list;
}

// `key` is the name, or null with the number beside it as `key`Value.
void PutName(Json& j, const std::string& key, const CString& name, long long value) {
    if (name.IsEmpty()) {
        j[key] = nullptr;
        j[key + "Value"] = value;
    } else {
        j[key] = TOOLS::Utf8FromWide(name);
    }
}

// A list entry: the name, or {"name": null, "value": N}.
Json NameEntry(const CString& name, long long value) {
    if (!name.IsEmpty()) return TOOLS::Utf8FromWide(name);
    return Json{{"name", nullptr}, {"value", value}};
}

}  // namespace

void Names::PutComponent(Json& j, const std::string& key, EKADOComponentType type) const {
    PutName(j, key, config_.GetComponentNameByType(type), type);
}

void Names::PutParameter(Json& j, const std::string& key, EKADOParameterType type) const {
    PutName(j, key, config_.GetParamNameByType(type), type);
}

Json Names::ParameterEntry(EKADOParameterType type) const {
    return NameEntry(config_.GetParamNameByType(type), type);
}

std::string ViewModeName(int mode) { return NameOf(CONFIG::GetViewModeNames(), mode); }

std::string PartKindName(int kind) {
    if (kind == CONFIG::kPartNone) return "(none)";
    return NameOf(CONFIG::GetPartKindNames(), kind);
}

std::string ComponentKindName(int kind) { return NameOf(CONFIG::GetComponentKindNames(), kind); }

std::string ItemVarName(int itemVar) { return NameOf(CONFIG::GetItemVarNames(), itemVar); }

Json DescribeRecord(const Names& names, const CONFIG::PropertyInsData& record) {
    Json j;
    names.PutComponent(j, "type", record.compType);
    j["initName"] = TOOLS::Utf8FromWide(record.initName);
    j["category"] = TOOLS::Utf8FromWide(record.category);
    j["sectionShape"] = TOOLS::Utf8FromWide(record.sectionShape);
    j["graphLibId"] = TOOLS::Utf8FromWide(record.graphLibId);
    Json params = Json::array();
    for (const CONFIG::PropertyParam& param : record.params) {
        Json p;
        names.PutParameter(p, "name", param.first);
        p["value"] = TOOLS::Utf8FromWide(param.second.second);
        if (param.second.first != param.second.second)
            p["userValue"] = TOOLS::Utf8FromWide(param.second.first);
        params.push_back(std::move(p));
    }
    j["params"] = std::move(params);
    if (!record.children.empty()) j["children"] = RecordList(names, record.children);
    return j;
}

Json DescribeItem(const Names& names, const CONFIG::GridItemData& item) {
    Json j;
    PutIfNotEmpty(j, "id", item.id);
    j["name"] = TOOLS::Utf8FromWide(item.name);
    if (item.paramType != KADO::Product::InvalidParameterType) {
        names.PutParameter(j, "variable", item.paramType);
    }
    const std::string itemVar = ItemVarName(item.itemVar);
    if (!itemVar.empty()) j["itemVar"] = itemVar;
    PutIfNotEmpty(j, "tips", item.tips);
    PutIfNotEmpty(j, "control", item.control);
    PutIfNotEmpty(j, "style", item.style);
    j["enable"] = item.enable != 0;
    Json options = DescribeOptions(names, item.options);
    if (!options.empty()) j["options"] = std::move(options);
    if (!item.groups.empty()) j["groups"] = Strings(item.groups);
    PutIfNotEmpty(j, "param", item.param);
    if (item.canBePrivate) j["canBePrivate"] = true;
    return j;
}

Json DescribeContainer(const CONFIG::ContainerData& container) {
    Json j;
    j["name"] = TOOLS::Utf8FromWide(container.name);
    Json listeners = Json::array();
    for (const CONFIG::ListenerData& listener : container.listeners) {
        Json l;
        l["name"] = TOOLS::Utf8FromWide(listener.name);
        l["data"] = TOOLS::Utf8FromWide(listener.data);
        l["kind"] = PartKindName(listener.kind);
        listeners.push_back(std::move(l));
    }
    j["listeners"] = std::move(listeners);
    return j;
}

Json DescribeView(const Names& names, CONFIG::IPropEditView& view) {
    Json j;
    Json marks = Json::object();
    for (const CONFIG::NamedValue& mode : CONFIG::GetViewModeNames()) {
        std::vector<CString> classes;
        if (view.GetMarkClasses(mode.value, classes)) {
            marks[TOOLS::Utf8FromWide(mode.name)] = Strings(classes);
        }
    }
    j["markClasses"] = std::move(marks);
    Json groups = Json::array();
    for (const CONFIG::GridShowData* group : view.GetGridShows()) {
        Json g;
        g["kind"] = PartKindName(group->kind);
        g["param"] = TOOLS::Utf8FromWide(group->param);
        Json items = Json::array();
        for (const CONFIG::GridItemData* item : group->items) {
            items.push_back(DescribeItem(names, *item));
        }
        g["items"] = std::move(items);
        groups.push_back(std::move(g));
    }
    j["groups"] = std::move(groups);
    return j;
}

Json DescribeViewContainer(CONFIG::IPropEditView& view) {
    const CONFIG::ContainerData container = view.GetContainer();
    if (container.name.IsEmpty() && container.listeners.empty()) return nullptr;
    return DescribeContainer(container);
}

Json DumpConfig(CONFIG::CPropertiesConfig& config) {
    const Names names(config);
    const CConfigTables inspector(config);
    // Room for every table (and a caller's few more) up front: growing an object copies its
    // members, whose keys are const, instead of moving them.
    Json dump = Json::object();
    dump.get_ref<Json::object_t&>().reserve(16);

    Json definitions = Json::array();
    for (const auto& entry : inspector.GetDefinitions()) {
        definitions.push_back(DescribeRecord(names, entry.second));
    }
    dump["definitions"] = std::move(definitions);
    dump["templates"] = RecordList(names, inspector.GetTemplates());
    dump["models"] = RecordList(names, inspector.GetPropModels());
    dump["shapePool"] = RecordList(names, inspector.GetShapePool());

    Json categories = Json::array();
    for (const auto& [type, texts] : inspector.GetCategoryIndex()) {
        Json entry;
        names.PutComponent(entry, "type", type);
        entry["categories"] = Strings({texts.begin(), texts.end()});
        categories.push_back(std::move(entry));
    }
    dump["categoryIndex"] = std::move(categories);

    Json locations;
    locations["defined"] = Strings(inspector.GetDefineLocs());
    locations["shown"] = Strings(inspector.GetShowLocs());
    Json sections = Json::array();
    for (const auto& [loc, texts] : inspector.GetSectionSelect()) {
        Json entry;
        entry["loc"] = TOOLS::Utf8FromWide(loc);
        entry["texts"] = Strings(texts);
        sections.push_back(std::move(entry));
    }
    locations["sectionSelect"] = std::move(sections);
    dump["locations"] = std::move(locations);

    Json views;
    if (CONFIG::IPropEditView* grid = inspector.GetGridTemplateView()) {
        views["gridTemplate"] = DescribeView(names, *grid);
    }
    Json locationViews = Json::array();
    int index = 0;
    for (const CONFIG::LocationViewInfo& info : inspector.GetLocationViews()) {
        Json v;
        v["index"] = ++index;
        v["loc"] = TOOLS::Utf8FromWide(info.loc);
        v["typeAndSections"] = Strings(info.typeAndSections);
        const Json described = DescribeView(names, *info.view);
        for (const auto& [key, value] : described.items()) v[key] = value;
        v["container"] = DescribeViewContainer(*info.view);
        locationViews.push_back(std::move(v));
    }
    views["locationViews"] = std::move(locationViews);
    dump["views"] = std::move(views);

    dump["kinds"] = TypeList(names, inspector.GetComponentKinds(), "kind", ComponentKindName);

    Json parameters;
    Json viewParams = Json::array();
    for (EKADOParameterType type : inspector.GetViewParams()) {
        viewParams.push_back(names.ParameterEntry(type));
    }
    Json meterParams = Json::array();
    for (EKADOParameterType type : inspector.GetMeterParams()) {
        meterParams.push_back(names.ParameterEntry(type));
    }
    parameters["view"] = std::move(viewParams);
    parameters["meter"] = std::move(meterParams);
    dump["parameters"] = std::move(parameters);

    dump["viewModes"] = TypeList(names, inspector.GetView3DModes(), "mode", ViewModeName);

    Json containers = Json::array();
    for (const auto& entry : inspector.GetContainers()) {
        containers.push_back(DescribeContainer(entry.second));
    }
    dump["containers"] = std::move(containers);
    return dump;
}

Json DescribePlugins(const CONFIG::PluginCheck& plugins, const std::string& root) {
    Json j;
    Json libraries = Json::array();
    for (const CONFIG::PluginLibrary& library : plugins.libraries) {
        Json entry;
        entry["path"] = DisplayPath(TOOLS::Utf8FromWide(library.path), root);
        entry["loaded"] = library.loaded;
        libraries.push_back(std::move(entry));
    }
    j["libraries"] = std::move(libraries);
    const std::vector<CONFIG::NamedValue> names = CONFIG::GetComponentTypeNames();
    Json handlers = Json::array();
    for (const EKADOComponentType type : plugins.handlerTypes) {
        CString name;
        CONFIG::FindName(names, type, name);
        handlers.push_back(NameEntry(name, type));
    }
    j["handlers"] = std::move(handlers);
    return j;
}

Json DescribeSettings(const CONFIG::CResourceConfig& settings) {
    Json list = Json::array();
    for (const auto& [key, value] : CConfigTables::GetResourceValues(settings)) {
        Json entry;
        entry["key"] = TOOLS::Utf8FromWide(key);
        entry["value"] = TOOLS::Utf8FromWide(value);
        list.push_back(std::move(entry));
    }
    return list;
}

}  // namespace sctool
