#include "RecordsFloor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include <siteconfig/SiteConfigNames.h>

namespace bench {
namespace {

using CONFIG::GridItemData;
using CONFIG::PropertyInsData;
using CONFIG::PropertyParam;
using KADO::Product::EKADOComponentType;
using KADO::Product::EKADOParameterType;

// The parse-only baseline's options, which are the library's for the trees it only reads.
constexpr unsigned kParseOptions =
    pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_fragment;

// ---- Text ------------------------------------------------------------------------------------

// Code units of the wide form of UTF-8 text; `hasCr` tells whether a line end needs rewriting.
size_t WideLength(const char* text, size_t size, bool& hasCr) {
    size_t units = 0;
    bool cr = false;
    for (size_t i = 0; i < size; ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        units += (byte & 0xC0) != 0x80;
        if (sizeof(wchar_t) == 2) units += byte >= 0xF0;  // a surrogate pair
        cr |= byte == '\r';
    }
    hasCr = cr;
    return units;
}

// Decodes at most `room` code units; the folder is well-formed UTF-8, so nothing is checked.
size_t Decode(const char* text, size_t size, wchar_t* out, size_t room) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    const auto* end = s + size;
    size_t n = 0;
    while (s < end && n < room) {
        const unsigned lead = *s;
        if (lead < 0x80) {
            out[n++] = static_cast<wchar_t>(lead);
            ++s;
            continue;
        }
        const ptrdiff_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const ptrdiff_t extra = std::min(length, end - s) - 1;
        char32_t cp = lead & (0x3Fu >> extra);
        for (ptrdiff_t k = 1; k <= extra; ++k) cp = cp << 6 | (s[k] & 0x3Fu);
        s += 1 + extra;
        if (sizeof(wchar_t) == 2 && cp >= 0x10000 && n + 1 < room) {
            cp -= 0x10000;
            out[n++] = static_cast<wchar_t>(0xD800 + (cp >> 10));
            cp = 0xDC00 + (cp & 0x3FF);
        }
        out[n++] = static_cast<wchar_t>(cp);
    }
    return n;
}

// Line ends as LF, as the library hands texts out. Only element texts can hold a CR: the
// parser has turned those of attribute values into blanks.
std::string WithLineFeeds(const char* text, size_t size) {
    std::string out;
    out.reserve(size);
    for (size_t i = 0; i < size; ++i) {
        if (text[i] != '\r') {
            out += text[i];
        } else {
            out += '\n';
            if (i + 1 < size && text[i + 1] == '\n') ++i;
        }
    }
    return out;
}

// Each text is counted first and then decoded into a buffer of its exact length: one
// allocation per kept text, none for an empty one.
void DecodeInto(std::string_view utf8, CString& out) {
    bool hasCr = false;
    const size_t units = WideLength(utf8.data(), utf8.size(), hasCr);
    if (hasCr) return DecodeInto(WithLineFeeds(utf8.data(), utf8.size()), out);
    if (units == 0) return;
    wchar_t* buffer = out.GetBufferSetLength(static_cast<int>(units));
    out.ReleaseBuffer(static_cast<int>(Decode(utf8.data(), utf8.size(), buffer, units)));
}

void DecodeInto(std::string_view utf8, std::wstring& out) {
    bool hasCr = false;
    const size_t units = WideLength(utf8.data(), utf8.size(), hasCr);
    if (hasCr) return DecodeInto(WithLineFeeds(utf8.data(), utf8.size()), out);
    out.resize(units);
    out.resize(Decode(utf8.data(), utf8.size(), out.data(), units));
}

CString Wide(std::string_view utf8) {
    CString out;
    DecodeInto(utf8, out);
    return out;
}

// An element's text as the library reads it: its first text or CDATA child (the parser keeps
// no layout whitespace), or "".
const char* TextOf(pugi::xml_node element) {
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        const pugi::xml_node_type type = child.type();
        if (type == pugi::node_pcdata || type == pugi::node_cdata) return child.value();
    }
    return "";
}

bool HasText(pugi::xml_node element) {
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        const pugi::xml_node_type type = child.type();
        if (type == pugi::node_pcdata || type == pugi::node_cdata) return true;
    }
    return false;
}

// Calls `piece` with each piece of `text` between delimiters, empty pieces included.
template <typename Piece>
void ForEachPiece(std::string_view text, std::string_view delimiter, Piece&& piece) {
    size_t start = 0;
    for (size_t at; (at = text.find(delimiter, start)) != std::string_view::npos;
         start = at + delimiter.size()) {
        piece(text.substr(start, at - start));
    }
    piece(text.substr(start));
}

void SplitInto(std::string_view text, std::string_view delimiter, std::vector<CString>& out) {
    ForEachPiece(text, delimiter, [&](std::string_view piece) { out.push_back(Wide(piece)); });
}

// ---- Names -----------------------------------------------------------------------------------

// One of the library's name tables in UTF-8, for looking names up before any decoding.
class NameTable {
public:
    NameTable(const std::vector<CONFIG::NamedValue>& names, int unknown) : unknown_(unknown) {
        for (const CONFIG::NamedValue& entry : names) {
            entries_.emplace_back(TOOLS::Utf8FromWide(entry.name), entry.value);
        }
    }

    int Find(std::string_view name) const {
        for (const auto& [text, value] : entries_) {
            if (text == name) return value;
        }
        return unknown_;
    }

private:
    std::vector<std::pair<std::string, int>> entries_;
    int unknown_;
};

struct Names {
    NameTable components{CONFIG::GetComponentTypeNames(), KADO::Product::InvalidComponentType};
    NameTable params{CONFIG::GetParameterTypeNames(), KADO::Product::InvalidParameterType};
    NameTable viewModes{CONFIG::GetViewModeNames(), CONFIG::kViewPouMian};
    NameTable partKinds{CONFIG::GetPartKindNames(), CONFIG::kPartMain};
    NameTable componentKinds{CONFIG::GetComponentKindNames(), 0};
    NameTable itemVars{CONFIG::GetItemVarNames(), CONFIG::kItemVarNone};
    std::vector<std::pair<std::string, int>> viewModeOrder;

    Names() {
        for (const CONFIG::NamedValue& mode : CONFIG::GetViewModeNames()) {
            viewModeOrder.emplace_back(TOOLS::Utf8FromWide(mode.name), mode.value);
        }
    }

    EKADOComponentType Component(std::string_view name) const {
        return static_cast<EKADOComponentType>(components.Find(name));
    }
    EKADOParameterType Param(std::string_view name) const {
        return static_cast<EKADOParameterType>(params.Find(name));
    }
};

const Names& TheNames() {
    static const Names names;
    return names;
}

// Graph-library models.
constexpr std::string_view kSkippedMinorCategory = "E319DA3639614AAD84BDEE1A83470676";
constexpr std::string_view kOtherComponentsMajor = "其它构件";
const wchar_t kOtherComponentsLocation[] = L"\\\u5176\u5b83\u56fe\u5e93\\\u5176\u5b83\u6784\u4ef6";
const wchar_t kRegularSectionShape[] = L"\u5e38\u89c4";  // 常规

// The index-th part of a location (a leading '\' ignored), or "".
std::string_view LocationPart(std::string_view loc, int index) {
    size_t start = !loc.empty() && loc[0] == '\\' ? 1 : 0;
    for (; index > 0; --index) {
        const size_t next = loc.find('\\', start);
        if (next == std::string_view::npos) return {};
        start = next + 1;
    }
    const size_t end = loc.find('\\', start);
    return loc.substr(start, (end == std::string_view::npos ? loc.size() : end) - start);
}

// The decimal value of a "ref" text as the C library reads it is not zero.
bool IsNonZeroDecimal(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    if (*text == '+' || *text == '-') ++text;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (*text != '0') return true;
    }
    return false;
}

}  // namespace

// ---- Files -----------------------------------------------------------------------------------

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) return false;
    struct stat info;
    const bool sized = ::fstat(file, &info) == 0;
    if (sized) {
        bytes.resize(static_cast<size_t>(info.st_size));
        size_t used = 0;
        while (used < bytes.size()) {
            const ssize_t got = ::read(file, &bytes[used], bytes.size() - used);
            if (got <= 0) break;
            used += static_cast<size_t>(got);
        }
        bytes.resize(used);
    }
    ::close(file);
    return sized;
}

namespace {

// One file read whole and parsed in place.
class ParsedFile {
public:
    // False, and no document, when the file cannot be read or parsed.
    bool Load(const std::string& path) {
        document_.reset();
        if (!ReadFileBytes(path, buffer_)) return false;
        const pugi::xml_parse_result parsed = document_.load_buffer_inplace(
            buffer_.data(), buffer_.size(), kParseOptions, pugi::encoding_utf8);
        if (parsed) return true;
        document_.reset();
        return false;
    }

    // The root element when its tag is `tag`; null otherwise.
    pugi::xml_node Root(const char* tag) const {
        const pugi::xml_node root = document_.document_element();
        return std::strcmp(root.name(), tag) == 0 ? root : pugi::xml_node();
    }

private:
    std::string buffer_;
    pugi::xml_document document_;
};

bool EndsWithIgnoringCase(std::string_view name, std::string_view suffix) {
    if (name.size() < suffix.size()) return false;
    name.remove_prefix(name.size() - suffix.size());
    return std::equal(name.begin(), name.end(), suffix.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

// The regular files of `folder` whose names end with `suffix` (ignoring ASCII case, as the
// library's wildcard does), in the library's order: UTF-8 byte order is code point order.
std::vector<std::string> FilesEndingWith(const std::string& folder, std::string_view suffix) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (EndsWithIgnoringCase(name, suffix) && entry.is_regular_file(error)) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    for (std::string& name : names) name.insert(0, folder);
    return names;
}

// ---- Property files --------------------------------------------------------------------------

// The element that holds "Common" and "Ins": "Pool", or the root when there is none.
pugi::xml_node PoolOf(pugi::xml_node root) {
    const pugi::xml_node pool = root.child("Pool");
    return pool ? pool : root;
}

// The category a property file's parameters give, without building its record.
CString CategoryOf(pugi::xml_node root) {
    const Names& names = TheNames();
    const char* category = "";
    for (pugi::xml_node fish : PoolOf(root).child("Common").children("Fish")) {
        if (names.Param(fish.attribute("Var").value()) == KADO::Product::Category) {
            category = fish.attribute("Val").value();
        }
    }
    return Wide(category);
}

void ReadInstances(pugi::xml_node parent, std::list<PropertyInsData>& list) {
    const Names& names = TheNames();
    for (pugi::xml_node node : parent.children("Property")) {
        PropertyInsData& record = list.emplace_back();
        const char* graphLibId = TextOf(node.child("GraphLibId"));
        if (*graphLibId) DecodeInto(graphLibId, record.graphLibId);
        for (pugi::xml_attribute attribute : node.attributes()) {
            const std::string_view name = attribute.name();
            const std::string_view text = attribute.value();
            if (name == "clsname") {
                record.compType = names.Component(text);
            } else if (name == "insname") {
                DecodeInto(text, record.initName);
            } else {
                // "value|user value", or one text for both; more pieces keep neither.
                PropertyParam& param = record.params.emplace_back();
                param.first = names.Param(name);
                std::wstring& userValue = param.second.first;
                std::wstring& value = param.second.second;
                const size_t bar = text.find('|');
                if (bar == std::string_view::npos) {
                    DecodeInto(text, value);
                    userValue = value;
                } else if (text.find('|', bar + 1) == std::string_view::npos) {
                    DecodeInto(text.substr(0, bar), value);
                    DecodeInto(text.substr(bar + 1), userValue);
                }
            }
        }
        ReadInstances(node, record.children);
    }
}

void ReadProperty(pugi::xml_node root, EKADOComponentType type, PropertyInsData& record) {
    const Names& names = TheNames();
    DecodeInto(TextOf(root.child("InitName")), record.initName);
    record.compType = type;
    DecodeInto(TextOf(root.child("GraphLibId")), record.graphLibId);
    const pugi::xml_node pool = PoolOf(root);
    for (pugi::xml_node fish : pool.child("Common").children("Fish")) {
        PropertyParam& param = record.params.emplace_back();
        param.first = names.Param(fish.attribute("Var").value());
        std::wstring& value = param.second.second;
        DecodeInto(fish.attribute("Val").value(), value);
        param.second.first = value;
        if (param.first == KADO::Product::Category) {
            record.category = CString(value);
        } else if (param.first == KADO::Product::SectionShape) {
            record.sectionShape = CString(value);
        }
    }
    ReadInstances(pool.child("Ins"), record.children);
}

// A parameter whose value and user value are both `text`.
void AddParam(PropertyInsData& record, EKADOParameterType type, const CString& text) {
    PropertyParam& param = record.params.emplace_back();
    param.first = type;
    param.second.first.assign(text.GetString(), static_cast<size_t>(text.GetLength()));
    param.second.second = param.second.first;
}

EKADOComponentType TypeOf(pugi::xml_node root) {
    return TheNames().Component(TextOf(root.child("ClsName")));
}

// ---- Grid items ------------------------------------------------------------------------------

// The item templates, keyed by their UTF-8 id, while the display folder is read.
using ItemTemplates = std::unordered_map<std::string, std::unique_ptr<GridItemData>>;

template <typename List, typename Record>
void AppendOwned(List& list, std::unique_ptr<Record> record) {
    list.push_back(nullptr);
    list.back() = record.release();
}

std::unique_ptr<GridItemData> CloneContent(const GridItemData& from);

// A template's (or a base group's) content into `to`, which keeps its id and canBePrivate;
// the items of switches become fresh records.
void CopyContent(const GridItemData& from, GridItemData& to) {
    to.paramType = from.paramType;
    to.itemVar = from.itemVar;
    to.name = from.name;
    to.tips = from.tips;
    to.control = from.control;
    to.style = from.style;
    to.enable = from.enable;
    to.options.text = from.options.text;
    for (const CONFIG::SwitchData* source : from.options.switches) {
        auto copy = std::make_unique<CONFIG::SwitchData>();
        copy->title = source->title;
        copy->param = source->param;
        for (const GridItemData* item : source->items) {
            AppendOwned(copy->items, CloneContent(*item));
        }
        AppendOwned(to.options.switches, std::move(copy));
    }
    for (const CONFIG::AssembleData* source : from.options.assembles) {
        auto copy = std::make_unique<CONFIG::AssembleData>();
        copy->title = source->title;
        copy->type = source->type;
        copy->paramType = source->paramType;
        for (const CONFIG::OptionStateData* state : source->states) {
            AppendOwned(copy->states, std::make_unique<CONFIG::OptionStateData>(*state));
        }
        AppendOwned(to.options.assembles, std::move(copy));
    }
    to.param = from.param;
    to.groups = from.groups;
}

std::unique_ptr<GridItemData> CloneContent(const GridItemData& from) {
    auto copy = std::make_unique<GridItemData>();
    CopyContent(from, *copy);
    return copy;
}

// Reads "Item" elements into records. Items with an id take their content from the templates;
// without templates (reading the templates themselves) ids are keys only and are not kept.
class ItemReader {
public:
    explicit ItemReader(const ItemTemplates* templates) : templates_(templates) {}

    void ReadItems(pugi::xml_node parent, std::list<GridItemData*>& items) const {
        for (pugi::xml_node node : parent.children("Item")) {
            auto item = std::make_unique<GridItemData>();
            ReadItem(node, *item);
            AppendOwned(items, std::move(item));
        }
    }

    void ReadItem(pugi::xml_node node, GridItemData& item) const {
        const char* id = node.attribute("id").value();
        if (templates_) {
            DecodeInto(id, item.id);
            if (*id) {
                const auto found = templates_->find(id);
                if (found != templates_->end()) CopyContent(*found->second, item);
                return;
            }
        }
        enum Field {
            kName,
            kVariable,
            kItemVar,
            kTips,
            kControl,
            kStyle,
            kParam,
            kPrivate,
            kEnable,
            kGroup,
            kOptions,
            kFieldCount
        };
        static const char* const kTags[kFieldCount] = {
            "Name",  "Variable",     "ItemVar", "Tips",  "Control", "Style",
            "Param", "CanBePrivate", "Enable",  "Group", "Options"};
        // The first child of each tag, in one pass over the children.
        pugi::xml_node fields[kFieldCount];
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            const char* name = child.name();
            for (int f = 0; f < kFieldCount; ++f) {
                if (!fields[f] && name[0] == kTags[f][0] && std::strcmp(name, kTags[f]) == 0) {
                    fields[f] = child;
                    break;
                }
            }
        }
        const Names& names = TheNames();
        DecodeInto(TextOf(fields[kName]), item.name);
        item.paramType = names.Param(TextOf(fields[kVariable]));
        item.itemVar = names.itemVars.Find(TextOf(fields[kItemVar]));
        DecodeInto(TextOf(fields[kTips]), item.tips);
        if (fields[kOptions]) ReadOptions(fields[kOptions], item.options);
        DecodeInto(TextOf(fields[kControl]), item.control);
        DecodeInto(TextOf(fields[kStyle]), item.style);
        DecodeInto(TextOf(fields[kParam]), item.param);
        item.canBePrivate = std::strcmp(TextOf(fields[kPrivate]), "true") == 0;
        if (std::strcmp(TextOf(fields[kEnable]), "false") == 0) item.enable = 0;
        // An item without a "Group" text keeps no groups rather than one empty group name.
        if (HasText(fields[kGroup])) SplitInto(TextOf(fields[kGroup]), "\\v", item.groups);
    }

private:
    void ReadOptions(pugi::xml_node node, CONFIG::ItemOptions& options) const {
        // The library reads the text when the element counts one child at most.
        int elements = 0;
        for (pugi::xml_node child = node.first_child(); child && elements < 2;
             child = child.next_sibling()) {
            elements += child.type() == pugi::node_element;
        }
        if (elements <= 1) DecodeInto(TextOf(node), options.text);
        for (pugi::xml_node switchNode : node.children("Switch")) {
            auto entry = std::make_unique<CONFIG::SwitchData>();
            DecodeInto(switchNode.attribute("title").value(), entry->title);
            DecodeInto(switchNode.attribute("param").value(), entry->param);
            ReadItems(switchNode, entry->items);
            AppendOwned(options.switches, std::move(entry));
        }
        for (pugi::xml_node assemble : node.children("Assemble")) {
            auto entry = std::make_unique<CONFIG::AssembleData>();
            DecodeInto(assemble.attribute("title").value(), entry->title);
            entry->paramType = TheNames().Param(assemble.attribute("param").value());
            const char* type = assemble.attribute("type").value();
            DecodeInto(type, entry->type);
            if (*type) ReadStates(assemble, type, *entry);
            AppendOwned(options.assembles, std::move(entry));
        }
    }

    static void ReadStates(pugi::xml_node assemble, const char* type, CONFIG::AssembleData& entry) {
        for (pugi::xml_node node : assemble.children(type)) {
            auto state = std::make_unique<CONFIG::OptionStateData>();
            state->enable = std::strcmp(node.attribute("IsEnable").value(), "true") == 0;
            state->edit = std::strcmp(node.attribute("IsEidt").value(), "true") == 0;
            state->readOnly = std::strcmp(node.attribute("IsReadOnly").value(), "true") == 0;
            DecodeInto(TextOf(node.child("Control")), state->control);
            DecodeInto(TextOf(node.child("Style")), state->style);
            DecodeInto(TextOf(node.child("Option")), state->option);
            DecodeInto(TextOf(node.child("Format")), state->format);
            AppendOwned(entry.states, std::move(state));
        }
    }

    const ItemTemplates* templates_;
};

void ReadContainer(pugi::xml_node node, CONFIG::ContainerData& container) {
    if (!node) return;
    DecodeInto(node.attribute("name").value(), container.name);
    for (pugi::xml_node entry : node.children("Listener")) {
        CONFIG::ListenerData& listener = container.listeners.emplace_back();
        const char* name = entry.attribute("name").value();
        DecodeInto(name, listener.name);
        DecodeInto(entry.attribute("data").value(), listener.data);
        if (const char* separator = std::strchr(name, '_')) {
            listener.kind = TheNames().partKinds.Find(separator + 1);
        }
    }
}

// ---- The builder -----------------------------------------------------------------------------

class FloorBuilder {
public:
    explicit FloorBuilder(RecordsFloor& floor) : floor_(floor) {}

    void Build(const GeneratedConfig& config) {
        ReadDefinitions(config.definitions);
        ReadShapePool(config.shapePool);
        floor_.fileTemplates = ReadListed(config.templates, floor_.templates);
        ReadListed(config.models, floor_.propModels);
        ReadDisplay(config.display);
        knownLocs_.reserve(floor_.showLocs.size() * 2);
        for (const CString& loc : floor_.showLocs) knownLocs_.insert(loc.str());
        ReadGraphLibrary(config.graphLibrary1);
        ReadGraphLibrary(config.graphLibrary2);
    }

private:
    void AddCategory(EKADOComponentType type, const CString& category) {
        floor_.categories[type].insert(category);
    }

    // Only the first definition of a type is kept; the others give their category alone.
    void ReadDefinitions(const std::string& folder) {
        for (const std::string& path : FilesEndingWith(folder, "_POOL.xml")) {
            pugi::xml_node root;
            if (file_.Load(path)) root = file_.Root("Property");
            const EKADOComponentType type =
                root ? TypeOf(root) : KADO::Product::InvalidComponentType;
            const auto [kept, isNew] = floor_.definitions.try_emplace(type);
            if (isNew && root) ReadProperty(root, type, kept->second);
            if (!root) {
                AddCategory(type, CString());
            } else {
                AddCategory(type, isNew ? kept->second.category : CategoryOf(root));
            }
        }
    }

    void ReadShapePool(const std::string& folder) {
        for (const std::string& path : FilesEndingWith(folder, ".xml")) {
            PropertyInsData record;
            if (file_.Load(path)) {
                if (const pugi::xml_node root = file_.Root("Property")) {
                    ReadProperty(root, TypeOf(root), record);
                }
            }
            floor_.shapePool.insert(std::move(record));
        }
    }

    // The files "filelist.cfg" lists, one record each; returns how many.
    size_t ReadListed(const std::string& folder, std::list<PropertyInsData>& list) {
        std::vector<std::string> paths;
        if (file_.Load(folder + "filelist.cfg")) {
            for (pugi::xml_node entry : file_.Root("filelist").children("file")) {
                if (HasText(entry)) paths.push_back(folder + TextOf(entry));
            }
        }
        for (const std::string& path : paths) {
            PropertyInsData& record = list.emplace_back();
            if (file_.Load(path)) {
                if (const pugi::xml_node root = file_.Root("Property")) {
                    ReadProperty(root, TypeOf(root), record);
                }
            }
            AddCategory(record.compType, record.category);
        }
        return paths.size();
    }

    void ReadDisplay(const std::string& folder) {
        ItemTemplates templates;
        if (file_.Load(folder + "ItemTemplate.xml")) {
            const ItemReader reader(nullptr);
            for (pugi::xml_node node : file_.Root("Items").children("Item")) {
                auto item = std::make_unique<GridItemData>();
                reader.ReadItem(node, *item);
                templates.try_emplace(node.attribute("id").value(), std::move(item));
            }
        }
        const ItemReader reader(&templates);
        ReadEditView(folder + "GridTemplate.xml", reader, nullptr, floor_.gridTemplate);
        ReadLocationShow(folder, reader);
        ReadContainers(folder + "EnableContainer.xml");
    }

    void ReadEditView(const std::string& path, const ItemReader& reader, const FloorEditView* base,
                      FloorEditView& view) {
        if (!viewFile_.Load(path)) return;
        const pugi::xml_node root = viewFile_.Root("PropEditView");
        if (!root) return;
        const Names& names = TheNames();
        if (const pugi::xml_node marks = root.child("MarkShow")) {
            for (const auto& [tag, mode] : names.viewModeOrder) {
                const pugi::xml_node node = marks.child(tag.c_str());
                if (!node) continue;
                std::vector<CString> classes;
                SplitInto(node.attribute("markclass").value(), ";", classes);
                view.markClasses.emplace(mode, std::move(classes));
            }
        }
        for (pugi::xml_node node : root.child("GridShow").children()) {
            if (node.type() != pugi::node_element) continue;
            auto group = std::make_unique<CONFIG::GridShowData>();
            group->kind = names.partKinds.Find(node.name());
            DecodeInto(node.attribute("param").value(), group->param);
            reader.ReadItems(node, group->items);
            if (base && IsNonZeroDecimal(node.attribute("ref").value())) {
                const auto baseGroup = std::find_if(
                    base->groups.begin(), base->groups.end(),
                    [&](const auto& candidate) { return candidate->kind == group->kind; });
                if (baseGroup != base->groups.end()) {
                    for (const GridItemData* item : (*baseGroup)->items) {
                        AppendOwned(group->items, CloneContent(*item));
                    }
                }
            }
            view.groups.push_back(std::move(group));
        }
        ReadContainer(root.child("Container"), view.container);
    }

    void ReadLocationShow(const std::string& folder, const ItemReader& reader) {
        if (!file_.Load(folder + "PropertyLocShow.xml")) return;
        const pugi::xml_node root = file_.Root("UI");
        if (!root) return;
        const Names& names = TheNames();
        for (pugi::xml_node loc : root.child("PropDefineShow").children("Loc")) {
            floor_.defineLocs.push_back(Wide(TextOf(loc)));
        }
        floor_.showLocs = floor_.defineLocs;
        for (pugi::xml_node loc : root.child("SectionSelect").children("Loc")) {
            const auto [entry, isNew] =
                floor_.sectionSelect.try_emplace(Wide(loc.attribute("loc").value()));
            if (isNew) SplitInto(TextOf(loc), ";", entry->second);
        }
        for (pugi::xml_node property : root.child("Properties").children("Property")) {
            floor_.componentKinds.emplace(
                names.Component(property.attribute("clsname").value()),
                names.componentKinds.Find(property.child("Kind").attribute("kd").value()));
        }
        if (const pugi::xml_node viewParams = root.child("ViewParam")) {
            ForEachPiece(TextOf(viewParams), ";", [&](std::string_view name) {
                floor_.viewParams.insert(names.Param(name));
            });
        }
        if (const pugi::xml_node meterParams = root.child("MeterParam")) {
            ForEachPiece(TextOf(meterParams), ";", [&](std::string_view name) {
                floor_.meterParams.push_back(names.Param(name));
            });
        }
        for (pugi::xml_node entry : root.child("PropEditView").children("View")) {
            FloorEditView& view = floor_.locationViews.emplace_back();
            ReadEditView(folder + entry.attribute("view").value(), reader, &floor_.gridTemplate,
                         view);
            DecodeInto(entry.attribute("loc").value(), view.loc);
            SplitInto(entry.attribute("typeandsection").value(), ";", view.typeAndSections);
        }
        for (pugi::xml_node entry : root.child("View3DMode").children("ViewMode")) {
            const int mode = names.viewModes.Find(entry.attribute("name").value());
            ForEachPiece(entry.attribute("clsname").value(), ";", [&](std::string_view name) {
                floor_.view3DModes[names.Component(name)] = mode;
            });
        }
    }

    void ReadContainers(const std::string& path) {
        if (!file_.Load(path)) return;
        for (pugi::xml_node node : file_.Root("Containers").children("Container")) {
            CONFIG::ContainerData container;
            ReadContainer(node, container);
            CString name = container.name;
            floor_.containers.try_emplace(std::move(name), std::move(container));
        }
    }

    // Each model becomes a template record; its location joins the shown list once.
    void ReadGraphLibrary(const std::string& path) {
        if (!file_.Load(path)) return;
        const Names& names = TheNames();
        for (pugi::xml_node model : file_.Root("GraphLibrary").children("Model")) {
            const std::string_view loc = model.attribute("loc").value();
            const std::string_view minor = LocationPart(loc, 1);
            if (minor == kSkippedMinorCategory) continue;
            const bool otherComponents = LocationPart(loc, 0) == kOtherComponentsMajor;

            PropertyInsData& record = floor_.templates.emplace_back();
            if (otherComponents) {
                record.compType = KADO::Product::OtherComponentType;
                record.category = otherLocation_;
            } else {
                record.compType = names.Component(minor);
                if (record.compType == KADO::Product::InvalidComponentType) {
                    record.compType = KADO::Product::OtherComponentType;
                }
                DecodeInto(loc, record.category);
                if (knownLocs_.insert(record.category.str()).second) {
                    floor_.showLocs.push_back(record.category);
                }
            }
            DecodeInto(model.attribute("name").value(), record.initName);
            DecodeInto(model.attribute("id").value(), record.graphLibId);
            AddParam(record, KADO::Product::Category, record.category);
            record.sectionShape = record.compType == KADO::Product::OtherComponentType
                                      ? record.initName
                                      : regularShape_;
            AddParam(record, KADO::Product::SectionShape, record.sectionShape);
            AddCategory(record.compType, record.category);
        }
    }

    RecordsFloor& floor_;
    ParsedFile file_;
    ParsedFile viewFile_;
    // The shown list's texts, viewed in the kept strings' buffers.
    std::unordered_set<std::wstring_view> knownLocs_;
    const CString otherLocation_{kOtherComponentsLocation};
    const CString regularShape_{kRegularSectionShape};
};

}  // namespace

std::unique_ptr<RecordsFloor> BuildRecordsFloor(const GeneratedConfig& config) {
    auto floor = std::make_unique<RecordsFloor>();
    FloorBuilder(*floor).Build(config);
    return floor;
}

}  // namespace bench
