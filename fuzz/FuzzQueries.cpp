#include <list>
#include <set>
#include <vector>

#include <siteconfig/CPropertiesConfig.h>
#include <siteconfig/IPropEditView.h>
#include <siteconfig/IPropertyShow.h>
#include <siteconfig/PropGridData.h>
#include "FuzzSupport.h"
#include "Tools.h"

namespace fuzzing {
namespace {

using CONFIG::GridItemData;
using KADO::Product::EKADOComponentType;
using KADO::Product::EKADOParameterType;

constexpr size_t kMaxQuestions = 32;

const wchar_t* const kComponentNames[] = {L"Wall", L"Beam",       L"Slab",     L"Column",
                                          L"Pipe", L"TowerCrane", L"Scaffold", L"Building",
                                          L"",     L"wall"};

// Reads every field, so that a dangling or uninitialised record shows under the sanitizers.
size_t Touch(const CString& text) {
    size_t sum = static_cast<size_t>(text.GetLength());
    if (!text.IsEmpty())
        sum += static_cast<size_t>(text[0]) + static_cast<size_t>(text[text.GetLength() - 1]);
    return sum;
}

size_t WalkRecord(const CONFIG::PropertyInsData& record, int depth) {
    size_t sum = static_cast<size_t>(record.compType) + Touch(record.category) +
                 Touch(record.initName) + Touch(record.sectionShape) + Touch(record.graphLibId);
    for (const auto& param : record.params) {
        sum += static_cast<size_t>(param.first) + param.second.first.size() +
               param.second.second.size();
    }
    for (const auto& child : record.children) sum += WalkRecord(child, depth + 1);
    return sum;
}

size_t WalkItem(const GridItemData& item, int depth);

size_t WalkItems(const std::list<GridItemData*>& items, int depth) {
    size_t sum = 0;
    for (const GridItemData* item : items) {
        Check(item != nullptr, "an item list holds a null item");
        sum += WalkItem(*item, depth + 1);
    }
    return sum;
}

size_t WalkItem(const GridItemData& item, int depth) {
    size_t sum = Touch(item.id) + static_cast<size_t>(item.paramType) +
                 static_cast<size_t>(item.itemVar) + Touch(item.name) + Touch(item.tips) +
                 Touch(item.control) + Touch(item.style) + static_cast<size_t>(item.enable) +
                 Touch(item.options.text) + Touch(item.param) + (item.canBePrivate ? 1 : 0);
    for (const CString& group : item.groups) sum += Touch(group);
    for (const CONFIG::SwitchData* entry : item.options.switches) {
        Check(entry != nullptr, "a switch list holds a null switch");
        sum += Touch(entry->title) + Touch(entry->param) + WalkItems(entry->items, depth);
    }
    for (const CONFIG::AssembleData* entry : item.options.assembles) {
        Check(entry != nullptr, "an assemble list holds a null entry");
        sum += Touch(entry->title) + Touch(entry->type) + static_cast<size_t>(entry->paramType);
        for (const CONFIG::OptionStateData* state : entry->states) {
            Check(state != nullptr, "a state list holds a null state");
            sum += Touch(state->control) + Touch(state->style) + Touch(state->option) +
                   Touch(state->format) + (state->enable ? 1 : 0) + (state->edit ? 1 : 0) +
                   (state->readOnly ? 1 : 0);
        }
    }
    return sum;
}

size_t WalkContainer(const CONFIG::ContainerData& container) {
    size_t sum = Touch(container.name);
    for (const auto& listener : container.listeners) {
        sum += Touch(listener.name) + Touch(listener.data) + static_cast<size_t>(listener.kind);
    }
    return sum;
}

volatile size_t g_sink = 0;

}  // namespace

void QueryView(CONFIG::IPropEditView& view) {
    size_t sum = 0;
    for (int mode = -1; mode <= 5; ++mode) {
        std::vector<CString> classes;
        if (view.GetMarkClasses(mode, classes)) {
            for (const CString& name : classes) sum += Touch(name);
        }
    }
    for (int kind = -1; kind <= 6; ++kind) {
        if (const CONFIG::GridShowData* group = view.FindGridShow(kind)) {
            Check(group->kind == kind, "FindGridShow answers a group of another kind");
        }
    }
    for (const CONFIG::GridShowData* group : view.GetGridShows()) {
        Check(group != nullptr, "a view holds a null group");
        sum += static_cast<size_t>(group->kind) + Touch(group->param) + WalkItems(group->items, 0);
    }
    sum += WalkContainer(view.GetContainer());
    g_sink = g_sink + sum;
}

void QueryDisplay(CONFIG::IPropertyShow& show) {
    size_t sum = 0;
    std::vector<CString> defined;
    show.GetDefineLocs(defined);
    std::vector<CString> shown;
    show.GetShowLocs(shown);
    std::vector<CString> texts = defined;
    texts.insert(texts.end(), shown.begin(), shown.end());
    texts.push_back(L"");
    texts.push_back(L"\\");
    if (texts.size() > kMaxQuestions) texts.resize(kMaxQuestions);
    const CString sections[] = {L"Wall", L"Wall常规", L"Beam", L""};
    for (const CString& loc : texts) {
        std::vector<CString> expanded;
        show.GetSectionLocs(loc, expanded);
        for (const CString& text : expanded) sum += Touch(text);
        sum += show.IsLocShown(loc) ? 1 : 0;
        sum += show.IsComponentIncluded(loc) ? 1 : 0;
        for (const CString& section : sections) {
            CONFIG::IPropEditView* view = show.GetPropEditView(section, loc);
            Check(view != nullptr, "GetPropEditView answers no view");
            QueryView(*view);
        }
    }
    for (const wchar_t* name : kComponentNames) {
        const EKADOComponentType type = TOOLS::CKADOHandler::GetComponentTypeByName(name);
        sum += static_cast<size_t>(show.GetComponentKind(type));
        sum += static_cast<size_t>(show.GetView3DMode(type));
        sum += show.IsComponentTypeIncluded(type) ? 1 : 0;
    }
    std::vector<EKADOParameterType> meters;
    show.GetMeterParams(meters);
    for (EKADOParameterType type : meters) sum += show.IsViewParam(type) ? 1 : 0;
    if (CONFIG::ContainerTable* table = show.GetEnableContainers()) {
        for (const auto& entry : *table) sum += Touch(entry.first) + WalkContainer(entry.second);
    }
    // The editable lists: remove half of the defined locations, add one, show them all.
    std::vector<CString> half(defined.begin(), defined.begin() + defined.size() / 2);
    show.RemoveDefineLocs(half);
    show.AddDefineLoc(L"\\基本构件\\墙");
    std::vector<CString> after;
    show.GetDefineLocs(after);
    show.SetShowLocs(after);
    g_sink = g_sink + sum;
}

void QueryProperties(CONFIG::CPropertiesConfig& config) {
    size_t sum = 0;
    std::list<CONFIG::PropertyInsData> templates;
    config.GetTemplateCompIns(templates);
    std::list<CONFIG::PropertyInsData> models;
    config.GetPropModelCompIns(models);
    std::set<EKADOComponentType> types = {KADO::Product::InvalidComponentType,
                                          KADO::Product::OtherComponentType};
    for (const wchar_t* name : kComponentNames) types.insert(config.GetComponentTypeByName(name));
    size_t asked = 0;
    for (const auto* list : {&templates, &models}) {
        for (const CONFIG::PropertyInsData& record : *list) {
            sum += WalkRecord(record, 0);
            if (++asked > kMaxQuestions) continue;
            types.insert(record.compType);
            sum += static_cast<size_t>(config.GetType(record.category));
            CONFIG::PropertyInsData found;
            sum += config.GetTemplateCompIns(record.category, found) ? 1 : 0;
            CONFIG::PropertyInsData changed;
            if (config.GetBaseComChangSharpData(record.compType, record.category,
                                                record.sectionShape, changed)) {
                sum += WalkRecord(changed, 0);
            }
            sum += config.PropertyCanEdit(record.initName) ? 1 : 0;
            for (const auto& param : record.params) {
                const CString name = config.GetParamNameByType(param.first);
                sum += static_cast<size_t>(config.GetParamTypeByName(name));
                break;
            }
        }
    }
    for (EKADOComponentType type : types) {
        sum += Touch(config.GetDefaultName(type));
        CONFIG::PropertyInsData data;
        config.GetPropertyInsData(type, data);
        sum += WalkRecord(data, 0);
        sum += config.HasChildren(type) ? 1 : 0;
        std::list<CONFIG::PropertyInsData> children;
        config.GetChildData(type, children);
        for (const auto& child : children) sum += WalkRecord(child, 0);
        CONFIG::PropertyInsData pooled;
        config.GetPoolCompIns(type, pooled);
        sum += WalkRecord(pooled, 0);
        sum += Touch(config.GetComponentNameByType(type));
        sum += config.PropertyCanEdit(type) ? 1 : 0;
    }
    if (CONFIG::IPropertyShow* show = config.GetPropertyShowConfig()) QueryDisplay(*show);
    // Copies own their tables and display configuration: both must answer after the other is
    // gone.
    {
        CONFIG::CPropertiesConfig copy(config);
        CONFIG::CPropertiesConfig assigned = copy;
        assigned = config;
        std::list<CONFIG::PropertyInsData> copied;
        copy.GetTemplateCompIns(copied);
        Check(copied.size() == templates.size(), "a copy holds another number of templates");
        if (CONFIG::IPropertyShow* show = assigned.GetPropertyShowConfig()) QueryDisplay(*show);
    }
    g_sink = g_sink + sum;
}

}  // namespace fuzzing
