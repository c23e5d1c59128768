#include "PropertiesConfigImpl.h"

#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "CheckSession.h"
#include "GraphLibrary.h"
#include "LoadWork.h"
#include "LogHelper.h"
#include "PropShowCfg.h"
#include "ReportLines.h"
#include "TextInterner.h"
#include "Tools.h"
#include "XMLTree.h"

namespace CONFIG {
namespace {

using TOOLS::CKADOHandler;
using TOOLS::CLogHelper;
using TOOLS::IXMLTree;

constexpr KADO::Product::EKADOParameterType kCategoryParam = KADO::Product::Category;
constexpr KADO::Product::EKADOParameterType kSectionShapeParam = KADO::Product::SectionShape;

// Graph-library models.
const wchar_t kSkippedMinorCategory[] = L"E319DA3639614AAD84BDEE1A83470676";
const wchar_t kOtherComponentsMajor[] = L"\u5176\u5b83\u6784\u4ef6";  // 其它构件
const wchar_t kOtherComponentsLocation[] =
    L"\\\u5176\u5b83\u56fe\u5e93\\\u5176\u5b83\u6784\u4ef6";  // \其它图库\其它构件
const wchar_t kRegularSectionShape[] = L"\u5e38\u89c4";       // 常规
// Locations under the base-component major category are shape-pool categories as they stand.
const wchar_t kBaseComponentMajor[] = L"\u57fa\u672c\u6784\u4ef6";  // 基本构件

// The tags and attributes of property files and file lists, converted once: every file of a
// folder is read with them.
struct XmlNames {
    TOOLS::XmlName filelist{L"filelist"};
    TOOLS::XmlName file{L"file"};
    TOOLS::XmlName property{L"Property"};
    TOOLS::XmlName initName{L"InitName"};
    TOOLS::XmlName clsName{L"ClsName"};
    TOOLS::XmlName graphLibId{L"GraphLibId"};
    TOOLS::XmlName pool{L"Pool"};
    TOOLS::XmlName common{L"Common"};
    TOOLS::XmlName fish{L"Fish"};
    TOOLS::XmlName var{L"Var"};
    TOOLS::XmlName val{L"Val"};
    TOOLS::XmlName ins{L"Ins"};
};

const XmlNames& Names() {
    static const XmlNames names;
    return names;
}

PropertyParam MakeParam(EKADOParameterType type, const CString& userValue, const CString& value) {
    return PropertyParam(type,
                         std::make_pair(std::wstring(userValue.str()), std::wstring(value.str())));
}

// The paths that the folder's "filelist.cfg" names, in its order.
void GetFileList(std::vector<CString>& files, const CString& folder) {
    files.clear();
    std::unique_ptr<IXMLTree> tree = TOOLS::CXMLTreeCreator::Allocate();
    tree->LoadFile(folder + L"filelist.cfg");
    CCheckSession::CheckLoaded(*tree, FileKind::kFileList, folder + L"filelist.cfg");
    if (!tree->FindElement(Names().filelist)) return;
    int count = 0;
    if (!tree->GetNamedChildCount(Names().file, count) || count <= 0) return;
    for (int i = 0; i < count; ++i) {
        if (!tree->IntoChild(Names().file, i)) break;
        CString name;
        if (tree->GetText(name)) {
            files.push_back(folder + name);
            if (CCheckSession* check = CCheckSession::Current()) {
                check->Listed(files.back(), folder + L"filelist.cfg", *tree, name);
            }
        }
        tree->OutOfElement();
    }
}

}  // namespace

CPropertiesConfigImpl::CPropertiesConfigImpl(
    const CString& definitionFolder, const CString& displayFolder, const CString& templateFolder,
    const CString& propModelFolder, const CString& graphLibrary1, const CString& graphLibrary2,
    const CString& shapePoolFolder) {
    const TOOLS::ScopedTextInterning sharing;
    InitPropertyOrigData(definitionFolder);
    InitSharpPool(shapePoolFolder);
    InitIns(LoadPart::kTemplates, m_lstTemplateIns, m_sources.templates, templateFolder);
    InitIns(LoadPart::kPropertyModels, m_lstPropModelIns, m_sources.propModels, propModelFolder);
    InitPropShowCfg(displayFolder);
    // Both libraries add to the shown locations, which are set once, after them.
    ShownLocations shown(*m_pPropShowCfg);
    InitOtherGraphDataConfig({graphLibrary1, graphLibrary2}, m_lstTemplateIns, shown);
    m_pPropShowCfg->SetShowLocs(std::move(shown.list));
    IndexCategories();
}

CPropertiesConfigImpl::CPropertiesConfigImpl(const CPropertiesConfigImpl& other)
    : m_mapOrigProperty(other.m_mapOrigProperty),
      m_setSharpPool(other.m_setSharpPool),
      m_lstTemplateIns(other.m_lstTemplateIns),
      m_lstPropModelIns(other.m_lstPropModelIns),
      m_mapTypeCategories(other.m_mapTypeCategories),
      m_pPropShowCfg(other.m_pPropShowCfg ? std::make_unique<CPropShowCfg>(*other.m_pPropShowCfg)
                                          : nullptr),
      m_mapCategoryType(other.m_mapCategoryType),
      m_sources(other.m_sources) {
    // The pool's sources are keyed by its elements: the copy's elements stand in the same order.
    m_sources.shapePool.clear();
    auto mine = m_setSharpPool.begin();
    for (const PropertyInsData& record : other.m_setSharpPool) {
        const auto found = other.m_sources.shapePool.find(&record);
        if (found != other.m_sources.shapePool.end()) {
            m_sources.shapePool.emplace(&*mine, found->second);
        }
        ++mine;
    }
}

// Members go in reverse order of declaration: the display configuration before the tables.
CPropertiesConfigImpl::~CPropertiesConfigImpl() = default;

// ---- Definitions -------------------------------------------------------------------------

void CPropertiesConfigImpl::InitPropertyOrigData(const CString& folder) {
    std::vector<CString> files;
    GetSoftwareDefaultInitFiles(folder, files);
    DefinitionClaims claims;
    ReadPropertyFiles(LoadPart::kDefinitions, files, &claims, [&](size_t i, PropertyFile& file) {
        const EKADOComponentType type = file.record.compType;
        const CString category = file.record.category;
        CCheckSession* check = CCheckSession::Current();
        if (check && type != KADO::Product::InvalidComponentType) {
            check->Definition(type, CKADOHandler::GetComponentNameByType(type), files[i]);
        }
        if (m_mapOrigProperty.try_emplace(type, std::move(file.record)).second) {
            m_sources.definitions.emplace(
                type, SourceRef::Make(m_sources.files.Index(files[i]), file.offset));
        }
        AddTypeCategory(type, category);
    });
}

bool CPropertiesConfigImpl::DefinitionClaims::Claim(EKADOComponentType type, size_t file) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto [first, added] = m_first.try_emplace(type, file);
    if (added) return false;
    if (first->second < file) return true;
    first->second = file;
    return false;
}

void CPropertiesConfigImpl::ReadPropertyFiles(
    LoadPart part, const std::vector<CString>& paths, DefinitionClaims* claims,
    const std::function<void(size_t, PropertyFile&)>& take) {
    RunOnLoadThreads(
        part, paths.size(), [&](size_t i) { return ReadPropertyFile(paths[i], claims, i); }, take);
}

void CPropertiesConfigImpl::GetSoftwareDefaultInitFiles(const CString& folder,
                                                        std::vector<CString>& files) {
    TOOLS::CPathOperator::GetAllSpecifyFileInDir(folder + L"*_POOL.xml", files);
}

CPropertiesConfigImpl::PropertyFile CPropertiesConfigImpl::ReadPropertyFile(
    const CString& path, DefinitionClaims* claims, size_t index) {
    PropertyFile file;
    PropertyInsData& data = file.record;
    std::unique_ptr<IXMLTree> tree = TOOLS::CXMLTreeCreator::Allocate();
    tree->LoadFile(path);
    CCheckSession::CheckLoaded(*tree, FileKind::kProperty, path);
    const XmlNames& names = Names();
    if (!tree->FindElement(names.property)) return file;
    file.offset = tree->GetElementOffset();  // SourceRef::Make takes kNoOffset as unknown

    CString text;
    tree->GetChildText(names.initName, text);
    data.initName = text;
    text = CString();
    const bool named = tree->GetChildText(names.clsName, text);
    data.compType = CKADOHandler::GetComponentTypeByName(text);
    CCheckSession* check = CCheckSession::Current();
    if (check && named) check->ChildNamed(path, *tree, L"ClsName");
    if (check && data.compType == KADO::Product::InvalidComponentType) {
        if (named) {
            check->UnknownName(L"unknown-type", L"component type", text, path, *tree, L"ClsName");
        } else {
            check->MissingElement(L"ClsName", L"the file names no component type", path, *tree);
        }
    }
    text = CString();
    tree->GetChildText(names.graphLibId, text);
    data.graphLibId = text;
    if (check && !text.IsEmpty()) check->ChildNamed(path, *tree, L"GraphLibId");
    // A later definition of a type is dropped: only its category counts, and what reading it
    // reports. A check reads it all, for the names it holds.
    const bool dropped = claims && claims->Claim(data.compType, index) && !check;

    tree->IntoChild(names.pool, 0);  // when absent, "Common" and "Ins" stand under "Property"
    if (tree->IntoChild(names.common, 0)) {
        int count = 0;
        tree->GetNamedChildCount(names.fish, count);
        for (int i = 0; i < count; ++i) {
            if (!tree->IntoChild(names.fish, i)) break;
            CString name;
            CString value;
            tree->GetAttribute(names.var, name);
            const EKADOParameterType type = CKADOHandler::GetParamTypeByName(name);
            if (dropped && type != kCategoryParam) {
                tree->OutOfElement();
                continue;
            }
            tree->GetAttribute(names.val, value);
            if (check && type == KADO::Product::InvalidParameterType) {
                check->UnknownName(L"unknown-param", L"parameter", name, path, *tree, nullptr,
                                   L"Var");
            }
            if (type == kCategoryParam) {
                data.category = value;
            } else if (type == kSectionShapeParam) {
                data.sectionShape = value;
            }
            if (!dropped) data.params.push_back(MakeParam(type, value, value));
            tree->OutOfElement();
        }
        tree->OutOfElement();
    }
    if (tree->IntoChild(names.ins, 0)) {
        GetInsProperty(tree.get(), dropped ? nullptr : &data.children, 1);
        tree->OutOfElement();
    }
    return file;
}

// `level` is the nesting level of the instances read now: 1 for the children of "Ins". Without
// `list` the instances are only walked for what reading them reports.
void CPropertiesConfigImpl::GetInsProperty(IXMLTree* tree, std::list<PropertyInsData>* list,
                                           int level) {
    const XmlNames& names = Names();
    int count = 0;
    tree->GetNamedChildCount(names.property, count);
    if (count < 1) return;
    if (level > TOOLS::kMaxReadDepth) {
        TOOLS::ReportDiagnostic(
            TOOLS::CurrentLogContext(), 0, 0,
            TOOLS::CurrentLogContext() + L": instances nested deeper than 256 levels are not read",
            L"too-deep");
        return;
    }
    for (int i = 0; i < count; ++i) {
        if (!tree->IntoChild(names.property, i)) break;
        TOOLS::XMLAttributeList attributes;
        tree->GetAttributes(attributes);
        if (!list) {
            for (const auto& [name, text] : attributes) {
                if (name != L"clsname" && name != L"insname") CheckValueSplit(text);
            }
            GetInsProperty(tree, nullptr, level + 1);
            tree->OutOfElement();
            continue;
        }
        // Built in place: the list's elements never move, so the nested reader may fill it.
        PropertyInsData& record = list->emplace_back();
        CString graphLibId;
        tree->GetChildText(names.graphLibId, graphLibId);
        if (!graphLibId.IsEmpty()) record.graphLibId = graphLibId;
        CCheckSession* check = CCheckSession::Current();
        for (const auto& [name, text] : attributes) {
            if (name == L"clsname") {
                record.compType = CKADOHandler::GetComponentTypeByName(text);
                if (check && record.compType == KADO::Product::InvalidComponentType) {
                    check->UnknownName(L"unknown-type", L"component type", text,
                                       TOOLS::CurrentLogContext(), *tree);
                }
            } else if (name == L"insname") {
                record.initName = text;
            } else {
                CString value;
                CString userValue;
                GetVauleAndUserValue(text, value, userValue);
                record.params.push_back(
                    MakeParam(CKADOHandler::GetParamTypeByName(name), userValue, value));
            }
        }
        GetInsProperty(tree, &record.children, level + 1);
        tree->OutOfElement();
    }
}

// "value|user value", or one text for both; more pieces are reported and give empty texts.
void CPropertiesConfigImpl::GetVauleAndUserValue(const CString& text, CString& value,
                                                 CString& userValue) {
    const int bar = text.Find(L'|');
    if (bar < 0) {
        value = text;
        userValue = text;
    } else if (text.Find(L'|', bar + 1) < 0) {
        value = text.Left(bar);
        userValue = text.Mid(bar + 1);
    } else {
        ReportValueSplit();
    }
}

void CPropertiesConfigImpl::CheckValueSplit(const CString& text) {
    const int bar = text.Find(L'|');
    if (bar >= 0 && text.Find(L'|', bar + 1) >= 0) ReportValueSplit();
}

void CPropertiesConfigImpl::ReportValueSplit() {
    CLogHelper(kPropertiesConfigSource, line::kInstanceValueSplit).Assert(0, L"");
}

bool CPropertiesConfigImpl::GetOrigProperty(EKADOComponentType type, PropertyInsData*& data) {
    const auto found = m_mapOrigProperty.find(type);
    if (found == m_mapOrigProperty.end()) {
        CLogHelper(kPropertiesConfigSource, line::kGetOrigProperty)
            .AssertFormat(0, L"CPropertiesConfig::GetOrigProperty Failed:%d", type);
        return false;
    }
    data = &found->second;
    return true;
}

void CPropertiesConfigImpl::AddTypeCategory(EKADOComponentType type, const CString& category) {
    m_mapTypeCategories[type].insert(category);
}

// ---- Templates, property models, shape pool ----------------------------------------------

void CPropertiesConfigImpl::InitIns(LoadPart part, std::list<PropertyInsData>& list,
                                    std::vector<SourceRef>& sources, const CString& folder) {
    std::vector<CString> files;
    GetFileList(files, folder);
    sources.reserve(sources.size() + files.size());
    ReadPropertyFiles(part, files, nullptr, [&](size_t i, PropertyFile& file) {
        PropertyInsData& record = list.emplace_back(std::move(file.record));
        sources.push_back(SourceRef::Make(m_sources.files.Index(files[i]), file.offset));
        AddTypeCategory(record.compType, record.category);
    });
}

void CPropertiesConfigImpl::InitSharpPool(const CString& folder) {
    if (folder.IsEmpty()) return;
    std::vector<CString> files;
    TOOLS::CPathOperator::GetAllSpecifyFileInDir(folder + L"*.xml", files);
    ReadPropertyFiles(LoadPart::kShapePool, files, nullptr, [&](size_t i, PropertyFile& file) {
        const SourceRef source = SourceRef::Make(m_sources.files.Index(files[i]), file.offset);
        const auto [entry, inserted] = m_setSharpPool.insert(std::move(file.record));
        if (inserted) m_sources.shapePool.emplace(&*entry, source);
    });
}

// ---- Display configuration and graph libraries -------------------------------------------

void CPropertiesConfigImpl::InitPropShowCfg(const CString& folder) {
    if (!m_pPropShowCfg) m_pPropShowCfg = std::make_unique<CPropShowCfg>();
    // The graph libraries add shown locations next, and set them with the index.
    m_pPropShowCfg->LoadShowCfg(folder, CPropShowCfg::Indexing::kByCaller);
}

CPropertiesConfigImpl::ShownLocations::ShownLocations(IPropertyShow& show) {
    show.GetShowLocs(list);
    known.reserve(list.size());
    for (const CString& loc : list) known.insert(loc.str());
}

void CPropertiesConfigImpl::ShownLocations::Add(const CString& loc) {
    if (known.count(loc.str())) return;
    list.push_back(loc);
    known.insert(list.back().str());
}

// Graph-library models made into template records. What a model's location alone decides
// (whether the model is skipped, its type and category, whether the location is shown) is
// worked out once per location, not once per model.
class CPropertiesConfigImpl::GraphModels {
public:
    // Appends the record of a model; false, adding nothing, when its location is skipped.
    bool Add(const CString& loc, const CString& name, const CString& id);

    std::list<PropertyInsData> records;
    // The locations to show, each once, in the order the models first name them.
    std::vector<CString> shownLocs;
    // The categories with their types, each once, in the order the models first give them.
    std::vector<std::pair<EKADOComponentType, CString>> categories;

private:
    struct Location {
        CString text;  // holds the characters of the location's key
        bool skipped = false;
        EKADOComponentType type = KADO::Product::OtherComponentType;
        CString category;
    };
    const Location& Find(const CString& loc);
    const Location& FindText(const CString& loc);

    std::unordered_map<std::wstring_view, Location> m_locations;
    // Shared texts are found by the address of their characters, which the CString kept here
    // holds so that no other text can take it.
    std::unordered_map<const wchar_t*, std::pair<CString, const Location*>> m_byAddress;
    bool m_otherIndexed = false;
};

const CPropertiesConfigImpl::GraphModels::Location& CPropertiesConfigImpl::GraphModels::Find(
    const CString& loc) {
    const auto known = m_byAddress.find(loc.GetString());
    if (known != m_byAddress.end()) return *known->second.second;
    const Location& location = FindText(loc);
    m_byAddress.try_emplace(loc.GetString(), loc, &location);
    return location;
}

const CPropertiesConfigImpl::GraphModels::Location& CPropertiesConfigImpl::GraphModels::FindText(
    const CString& loc) {
    // Shared by the models instead of a copy each.
    static const CString kOtherLocation(kOtherComponentsLocation);
    const auto found = m_locations.find(loc.str());
    if (found != m_locations.end()) return found->second;
    Location location;
    location.text = loc;
    const std::wstring_view minor = TOOLS::CLocHandler::Part(loc.str(), L'\\', 1);
    location.skipped = minor == kSkippedMinorCategory;
    if (!location.skipped) {
        if (TOOLS::CLocHandler::Part(loc.str(), L'\\', 0) == kOtherComponentsMajor) {
            location.category = kOtherLocation;
            if (!m_otherIndexed) {
                m_otherIndexed = true;
                categories.emplace_back(location.type, location.category);
            }
        } else {
            const EKADOComponentType type = CKADOHandler::GetComponentTypeByName(minor);
            if (type != KADO::Product::InvalidComponentType) location.type = type;
            location.category = loc;
            shownLocs.push_back(loc);
            categories.emplace_back(location.type, location.category);
        }
    }
    // The key views the characters that location.text keeps.
    return m_locations.emplace(loc.str(), std::move(location)).first->second;
}

bool CPropertiesConfigImpl::GraphModels::Add(const CString& loc, const CString& name,
                                             const CString& id) {
    static const CString kRegular(kRegularSectionShape);
    const Location& location = Find(loc);
    if (location.skipped) return false;
    PropertyInsData& record = records.emplace_back();
    record.compType = location.type;
    record.category = location.category;
    record.initName = name;
    record.graphLibId = id;
    record.params.push_back(MakeParam(kCategoryParam, record.category, record.category));
    record.sectionShape =
        record.compType == KADO::Product::OtherComponentType ? record.initName : kRegular;
    record.params.push_back(
        MakeParam(kSectionShapeParam, record.sectionShape, record.sectionShape));
    return true;
}

void CPropertiesConfigImpl::InitOtherGraphDataConfig(const std::vector<CString>& paths,
                                                     std::list<PropertyInsData>& list,
                                                     ShownLocations& shown) {
    // The libraries are read and parsed, and their records built, on the load's threads; the
    // records are taken in order.
    struct Library {
        GraphModels models;
        std::vector<size_t> offsets;  // of each record
        // Under a check: every model's three texts and offset, as the check takes them.
        CStringArray checked;
        std::vector<size_t> checkedOffsets;
    };
    CCheckSession* check = CCheckSession::Current();
    const auto read = [&](size_t i) {
        Library library;
        std::function<void(IXMLTree&)> inspect;
        if (check) {
            inspect = [&](IXMLTree& tree) {
                check->CheckFormat(tree, FileKind::kGraphLibrary, paths[i]);
            };
        }
        // The texts are gathered first and the records built once the document is freed, so
        // that the records take its room rather than adding to it.
        CStringArray texts;
        std::vector<size_t> offsets;
        TOOLS::CBimSerialDataLibrary().GetAllModelInfo(paths[i], texts, inspect, &offsets);
        const int modelCount = texts.GetSize() / 3;
        for (int k = 0; k < modelCount; ++k) {
            if (library.models.Add(texts[3 * k], texts[3 * k + 1], texts[3 * k + 2])) {
                library.offsets.push_back(offsets[static_cast<size_t>(k)]);
            }
        }
        if (check) {
            library.checked = std::move(texts);
            library.checkedOffsets = std::move(offsets);
        }
        return library;
    };
    const auto take = [&](size_t i, Library& library) {
        if (check) check->GraphModels(paths[i], library.checked, library.checkedOffsets);
        const std::uint32_t file = m_sources.files.Index(paths[i]);
        m_sources.templates.reserve(m_sources.templates.size() + library.offsets.size());
        for (const size_t offset : library.offsets) {
            m_sources.templates.push_back(SourceRef::Make(file, offset));
        }
        TakeGraphModels(library.models, list, shown);
    };
    RunOnLoadThreads(LoadPart::kGraphLibraries, paths.size(), read, take);
}

void CPropertiesConfigImpl::TakeGraphModels(GraphModels& models, std::list<PropertyInsData>& list,
                                            ShownLocations& shown) {
    list.splice(list.end(), models.records);
    for (const CString& loc : models.shownLocs) shown.Add(loc);
    for (const auto& [type, category] : models.categories) AddTypeCategory(type, category);
}

// Three texts per model (location, name, identifier); a remainder of one or two is ignored.
void CPropertiesConfigImpl::AddGraphModels(const CStringArray& models,
                                           std::list<PropertyInsData>& list) {
    GraphModels records;
    const int modelCount = models.GetSize() / 3;
    for (int k = 0; k < modelCount; ++k) {
        records.Add(models[3 * k], models[3 * k + 1], models[3 * k + 2]);
    }
    ShownLocations shown(*m_pPropShowCfg);
    TakeGraphModels(records, list, shown);
    m_pPropShowCfg->SetShowLocs(std::move(shown.list));
}

// ---- Queries -------------------------------------------------------------------------------

void CPropertiesConfigImpl::IndexCategories() {
    // Types ascend, and a category keeps the first type that claims it.
    for (const auto& [type, categories] : m_mapTypeCategories) {
        for (const CString& category : categories) m_mapCategoryType.emplace(category, type);
    }
}

EKADOComponentType CPropertiesConfigImpl::GetType(const CString& category) {
    const auto found = m_mapCategoryType.find(category);
    if (found != m_mapCategoryType.end()) return found->second;
    CLogHelper(kPropertiesConfigSource, line::kGetType)
        .AssertFormat(0, L"CPropertiesConfig::GetType Failed:%s", category);
    return KADO::Product::InvalidComponentType;
}

CString CPropertiesConfigImpl::GetDefaultName(EKADOComponentType type) {
    PropertyInsData* definition = nullptr;
    if (GetOrigProperty(type, definition)) return definition->initName;
    CLogHelper(kPropertiesConfigSource, line::kGetDefaultName)
        .AssertFormat(0, L"CPropertiesConfig::GetDefaultName Failed:%d", type);
    return CString();
}

void CPropertiesConfigImpl::GetPropertyInsData(EKADOComponentType type, PropertyInsData& data) {
    PropertyInsData* definition = nullptr;
    if (!GetOrigProperty(type, definition)) return;
    if (&data.params != &definition->params) data.params = definition->params;
    data.graphLibId = definition->graphLibId;
}

bool CPropertiesConfigImpl::GetBaseComChangSharpData(EKADOComponentType type, const CString& loc,
                                                     const CString& shape, PropertyInsData& data) {
    PropertyInsData key;
    key.compType = type;
    key.category = loc;
    const CString major = TOOLS::CLocHandler(loc, L'\\').GetDaLei();
    if (major != kBaseComponentMajor)
        key.category.Format(L"\\%s\\%s%s", major, shape, major.Right(1));
    key.sectionShape = shape;
    const auto found = m_setSharpPool.find(key);
    if (found == m_setSharpPool.end()) {
        CLogHelper(kPropertiesConfigSource, line::kShapeChangeNotInPool).Assert(0, L"");
        return false;
    }
    data = *found;
    return true;
}

bool CPropertiesConfigImpl::HasChildren(EKADOComponentType type) {
    PropertyInsData* definition = nullptr;
    return GetOrigProperty(type, definition) && !definition->children.empty();
}

void CPropertiesConfigImpl::GetChildData(EKADOComponentType type,
                                         std::list<PropertyInsData>& children) {
    PropertyInsData* definition = nullptr;
    if (GetOrigProperty(type, definition) && &children != &definition->children) {
        children = definition->children;
    }
}

bool CPropertiesConfigImpl::GetTemplateCompIns(const CString& category, PropertyInsData& data) {
    for (const PropertyInsData& record : m_lstTemplateIns) {
        if (record.category == category) {
            data = record;
            return true;
        }
    }
    return false;
}

void CPropertiesConfigImpl::GetTemplateCompIns(std::list<PropertyInsData>& templates) {
    if (&templates != &m_lstTemplateIns) templates = m_lstTemplateIns;
}

void CPropertiesConfigImpl::GetPropModelCompIns(std::list<PropertyInsData>& models) {
    if (&models != &m_lstPropModelIns) models = m_lstPropModelIns;
}

void CPropertiesConfigImpl::GetPoolCompIns(EKADOComponentType type, PropertyInsData& data) {
    PropertyInsData* definition = nullptr;
    if (GetOrigProperty(type, definition)) data = *definition;
}

IPropertyShow* CPropertiesConfigImpl::GetPropertyShowConfig() { return m_pPropShowCfg.get(); }

bool CPropertiesConfigImpl::PropertyCanEdit(const CString& name) {
    IPropertyShow* show = GetPropertyShowConfig();
    return show ? show->IsComponentIncluded(name) : true;
}

bool CPropertiesConfigImpl::PropertyCanEdit(EKADOComponentType type) {
    IPropertyShow* show = GetPropertyShowConfig();
    return show ? show->IsComponentTypeIncluded(type) : true;
}

}  // namespace CONFIG
