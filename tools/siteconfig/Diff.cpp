#include "Diff.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include <siteconfig/CResourceConfig.h>
#include <siteconfig/SiteConfigCheck.h>
#include <siteconfig/SiteConfigTables.h>

#include "Describe.h"
#include "Findings.h"
#include "Progress.h"
#include "TextOutput.h"

namespace sctool {
namespace {

namespace fs = std::filesystem;
using CONFIG::SourcePosition;

// One table of the comparison: where its records lie in a side's description and the fields
// that identify a record. The elements of a list of names are their own key, shown under the
// one key name.
struct Table {
    const char* name;
    const char* pointer;
    std::vector<const char*> keys;
    const char* positional = nullptr;  // a field that only numbers the records: not compared
};

// Templates and models need not be unique by any field: records of equal key pair up in order.
const std::vector<Table>& Tables() {
    static const std::vector<Table> tables = {
        {"definitions", "/definitions", {"type"}},
        {"templates", "/templates", {"type", "category", "sectionShape", "graphLibId"}},
        {"models", "/models", {"type", "category", "sectionShape", "graphLibId"}},
        {"shapePool", "/shapePool", {"type", "category", "sectionShape"}},
        {"categoryIndex", "/categoryIndex", {"type"}},
        {"locations.defined", "/locations/defined", {"loc"}},
        {"locations.shown", "/locations/shown", {"loc"}},
        {"locations.sectionSelect", "/locations/sectionSelect", {"loc"}},
        {"views.gridTemplate", "/views/gridTemplate", {}},
        {"views.locationViews", "/views/locationViews", {"loc", "typeAndSections"}, "index"},
        {"kinds", "/kinds", {"type"}},
        {"parameters.view", "/parameters/view", {"param"}},
        {"parameters.meter", "/parameters/meter", {"param"}},
        {"viewModes", "/viewModes", {"type"}},
        {"containers", "/containers", {"name"}},
        {"settings", "/settings", {"key"}},
        {"plugins.libraries", "/plugins/libraries", {"path"}},
        {"plugins.handlers", "/plugins/handlers", {"type"}},
    };
    return tables;
}

// One configuration as the comparison sees it: its tables as `dump` describes them, with its
// settings and plug-in list; and, by table name and in record order, where each record was
// read: {"file", "line"} and, for views, "parts": where the items inside were read, at the
// same places as the items are in the record.
struct Side {
    std::string root;
    Json tables;
    Json where = Json::object();
};

Json Position(const SourcePosition& source, const std::string& root) {
    Json j;
    j["file"] = source.file.IsEmpty() ? Json(nullptr)
                                      : Json(DisplayPath(TOOLS::Utf8FromWide(source.file), root));
    j["line"] = source.line > 0 ? Json(source.line) : Json(nullptr);
    return j;
}

Json Positions(const std::vector<SourcePosition>& sources, const std::string& root) {
    Json list = Json::array();
    for (const SourcePosition& source : sources) list.push_back(Position(source, root));
    return list;
}

// The positions of records kept in a map by a text key, in the order of the described records.
Json PositionsByKey(const Json& records, const char* field,
                    const std::map<CString, SourcePosition>& sources, const std::string& root) {
    Json list = Json::array();
    for (const Json& record : records) {
        const auto found = sources.find(TOOLS::WideFromUtf8(record.at(field).get<std::string>()));
        list.push_back(Position(found == sources.end() ? SourcePosition() : found->second, root));
    }
    return list;
}

// The items' positions, shaped as the view's description is: {"groups": [{"items": [...]}]}.
Json ItemParts(const std::vector<std::vector<SourcePosition>>& groups, const std::string& root) {
    Json list = Json::array();
    for (const std::vector<SourcePosition>& items : groups) {
        Json group;
        group["items"] = Positions(items, root);
        list.push_back(std::move(group));
    }
    Json parts;
    parts["groups"] = std::move(list);
    return parts;
}

// Fills `side.where` from the library's provenance. Tables it gives none for stay without.
void Locate(Side& side, const CONFIG::ConfigSources& sources,
            const std::map<CString, SourcePosition>& settings, const std::string& pluginList) {
    const std::string& root = side.root;
    Json& where = side.where;
    Json definitions = Json::array();  // in type order, as the described definitions
    for (const auto& entry : sources.definitions) {
        definitions.push_back(Position(entry.second, root));
    }
    where["definitions"] = std::move(definitions);
    where["templates"] = Positions(sources.templates, root);
    where["models"] = Positions(sources.propModels, root);
    where["shapePool"] = Positions(sources.shapePool, root);
    where["locations.defined"] = Positions(sources.defineLocs, root);
    where["locations.sectionSelect"] = PositionsByKey(
        side.tables.at("locations").at("sectionSelect"), "loc", sources.sectionSelect, root);
    where["containers"] =
        PositionsByKey(side.tables.at("containers"), "name", sources.containers, root);
    where["settings"] = PositionsByKey(side.tables.at("settings"), "key", settings, root);

    // The grid template has no element of its own: its file is where its items are.
    Json grid = Position(SourcePosition(), root);
    for (const auto& group : sources.gridTemplateItems) {
        for (const SourcePosition& item : group) {
            if (grid["file"].is_null() && !item.file.IsEmpty()) grid = Position(item, root);
        }
    }
    grid["line"] = nullptr;
    grid["parts"] = ItemParts(sources.gridTemplateItems, root);
    where["views.gridTemplate"] = Json::array({std::move(grid)});
    Json views = Json::array();
    for (size_t i = 0; i < sources.locationViews.size(); ++i) {
        Json view = Position(sources.locationViews[i], root);
        if (i < sources.viewItems.size()) view["parts"] = ItemParts(sources.viewItems[i], root);
        views.push_back(std::move(view));
    }
    where["views.locationViews"] = std::move(views);

    // The plug-in list gives no lines for its entries: the list itself is where they are.
    SourcePosition list;
    list.file = TOOLS::WideFromUtf8(pluginList);
    const Json& plugins = side.tables.at("plugins");
    for (const char* table : {"libraries", "handlers"}) {
        Json positions = Json::array();
        for (size_t i = 0; i < plugins.at(table).size(); ++i) {
            positions.push_back(Position(list, root));
        }
        where[std::string("plugins.") + table] = std::move(positions);
    }
}

// Loads one root as the application does and describes it. Problems of loading go to
// standard error, the files named as the library named them, so that either side is clear.
Side LoadSide(const Options& options, const std::string& root) {
    Layout layout = options.layout;
    layout.root = root;
    Side side;
    side.root = root;

    FindingCollector findings;
    std::unique_ptr<CONFIG::CPropertiesConfig> config;
    {
        const ScopedLoadProgress progress(options.quiet);
        config = LoadProperties(layout);
    }
    CONFIG::CResourceConfig settings;  // stored values: "AppDir" is the command's, not the file's
    const size_t before = findings.findings().size();
    // A file that cannot be read is diagnosed already; one with another root is not.
    if (!settings.Load(layout.PathW("--resource")) && findings.findings().size() == before) {
        Finding finding;
        finding.file = layout.Path("--resource");
        finding.message = "no \"Config\" element (missing, unreadable or another root)";
        findings.Add(std::move(finding));
    }
    CONFIG::PluginCheck plugins;
    for (const CONFIG::ConfigFinding& problem : CONFIG::CheckPlugins(
             TOOLS::WideFromUtf8(layout.ResolvedAppDir()), layout.PathW("--plugins"), &plugins)) {
        Finding finding;
        finding.file = TOOLS::Utf8FromWide(problem.file);
        finding.line = problem.line;
        finding.column = problem.column;
        finding.code = TOOLS::Utf8FromWide(problem.code);
        finding.message = TOOLS::Utf8FromWide(problem.message);
        findings.Add(std::move(finding));
    }
    if (!findings.findings().empty()) {
        for (const Finding& finding : findings.findings()) {
            std::cerr << FormatFinding(finding, "") << '\n';
        }
        std::cerr << "siteconfig: " << findings.findings().size() << " problem(s) while loading "
                  << root << "; run \"siteconfig check " << root << "\" for details\n";
    }

    // Describing asks each view for its container, which reports when the table lacks it;
    // loading already said so.
    findings.SetMuted(true);
    side.tables = DumpConfig(*config);
    side.tables["settings"] = DescribeSettings(settings);
    side.tables["plugins"] = DescribePlugins(plugins, layout.ResolvedAppDir());
    Locate(side, CONFIG::CConfigTables(*config).GetSources(),
           CONFIG::CConfigTables::GetResourceSources(settings), layout.Path("--plugins"));
    return side;
}

std::string KeyText(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Compares two records field by field. Field paths read as the description does:
// "params[Length].value", "groups[0].items[墙厚].tips"; elements of lists whose objects all
// carry distinct names are matched by name, so that one inserted element is shown as itself.
class FieldComparison {
public:
    FieldComparison(const Json* partsA, const Json* partsB) : partsA_(partsA), partsB_(partsB) {}

    void Compare(const Json& a, const Json& b, const std::string& path, const std::string& ptrA,
                 const std::string& ptrB, const char* skip = nullptr) {
        if (skip == nullptr && a == b) return;
        if (a.is_object() && b.is_object()) {
            for (const auto& [key, value] : a.items()) {
                if (skip != nullptr && key == skip) continue;
                const auto other = b.find(key);
                if (other == b.end()) {
                    Add(Member(path, key), &value, ptrA + Step(key), nullptr, {});
                } else {
                    Compare(value, *other, Member(path, key), ptrA + Step(key), ptrB + Step(key));
                }
            }
            for (const auto& [key, value] : b.items()) {
                if ((skip == nullptr || key != skip) && !a.contains(key)) {
                    Add(Member(path, key), nullptr, {}, &value, ptrB + Step(key));
                }
            }
            return;
        }
        if (a.is_array() && b.is_array()) {
            if (CompareByName(a, b, path, ptrA, ptrB)) return;
            if (a.size() == b.size()) {
                for (size_t i = 0; i < a.size(); ++i) {
                    const std::string index = std::to_string(i);
                    Compare(a[i], b[i], path + "[" + index + "]", ptrA + "/" + index,
                            ptrB + "/" + index);
                }
                return;
            }
        }
        Add(path, &a, ptrA, &b, ptrB);
    }

    // The record moved against the others both sides have: its places in the two tables.
    void Moved(size_t from, size_t to) {
        Json field;
        field["field"] = "(position)";
        field["old"] = from + 1;
        field["new"] = to + 1;
        fields_.push_back(std::move(field));
    }

    Json TakeFields() { return std::move(fields_); }

private:
    static std::string Member(const std::string& path, const std::string& key) {
        return path.empty() ? key : path + "." + key;
    }

    // `key` as one step of a JSON pointer.
    static std::string Step(const std::string& key) {
        std::string step = "/";
        for (const char c : key) step += c == '~' ? "~0" : c == '/' ? "~1" : std::string(1, c);
        return step;
    }

    static bool IndexByName(const Json& list, std::unordered_map<std::string, size_t>& index) {
        for (size_t i = 0; i < list.size(); ++i) {
            const auto name = list[i].is_object() ? list[i].find("name") : list[i].end();
            if (name == list[i].end() || !name->is_string()) return false;
            if (!index.emplace(name->get<std::string>(), i).second) return false;
        }
        return true;
    }

    bool CompareByName(const Json& a, const Json& b, const std::string& path,
                       const std::string& ptrA, const std::string& ptrB) {
        std::unordered_map<std::string, size_t> namesA, namesB;
        if (a.empty() || b.empty() || !IndexByName(a, namesA) || !IndexByName(b, namesB)) {
            return false;
        }
        Json orderA = Json::array(), orderB = Json::array();  // the names both sides have
        for (size_t i = 0; i < a.size(); ++i) {
            const std::string& name = a[i].at("name").get_ref<const std::string&>();
            const std::string element = path + "[" + name + "]";
            const auto other = namesB.find(name);
            if (other == namesB.end()) {
                Add(element, &a[i], ptrA + "/" + std::to_string(i), nullptr, {});
                continue;
            }
            orderA.push_back(name);
            Compare(a[i], b[other->second], element, ptrA + "/" + std::to_string(i),
                    ptrB + "/" + std::to_string(other->second));
        }
        for (size_t i = 0; i < b.size(); ++i) {
            const std::string& name = b[i].at("name").get_ref<const std::string&>();
            if (namesA.count(name) == 0) {
                Add(path + "[" + name + "]", nullptr, {}, &b[i], ptrB + "/" + std::to_string(i));
            } else {
                orderB.push_back(name);
            }
        }
        // The order of a list is part of what it says (items are shown in it).
        if (orderA != orderB) Add(path + " (order)", &orderA, ptrA, &orderB, ptrB);
        return true;
    }

    // The position of the innermost part of the record at `pointer` that has one, or null.
    static Json PartPosition(const Json* parts, std::string pointer) {
        if (parts == nullptr) return nullptr;
        while (!pointer.empty()) {
            const Json::json_pointer at(pointer);
            if (parts->contains(at)) {
                const Json& part = parts->at(at);
                if (part.is_object() && part.contains("file")) return part;
            }
            pointer.erase(pointer.rfind('/'));
        }
        return nullptr;
    }

    void Add(const std::string& path, const Json* a, const std::string& ptrA, const Json* b,
             const std::string& ptrB) {
        Json field;
        field["field"] = path.empty() ? "(value)" : path;
        if (a != nullptr) field["old"] = *a;
        if (b != nullptr) field["new"] = *b;
        Json where = Json::object();
        if (a != nullptr) {
            Json at = PartPosition(partsA_, ptrA);
            if (!at.is_null()) where["a"] = std::move(at);
        }
        if (b != nullptr) {
            Json at = PartPosition(partsB_, ptrB);
            if (!at.is_null()) where["b"] = std::move(at);
        }
        if (!where.empty()) field["where"] = std::move(where);
        fields_.push_back(std::move(field));
    }

    const Json* partsA_;
    const Json* partsB_;
    Json fields_ = Json::array();
};

// The records of a table in a side's description: its list, or its one record.
std::vector<const Json*> Records(const Json& tables, const char* pointer) {
    std::vector<const Json*> records;
    const Json::json_pointer at(pointer);
    if (!tables.contains(at)) return records;
    const Json& table = tables.at(at);
    if (table.is_array()) {
        for (const Json& record : table) records.push_back(&record);
    } else if (!table.is_null()) {
        records.push_back(&table);
    }
    return records;
}

// A name the configuration has no text for is described as null with its number beside it, in
// "<field>Value" (or, in a list of names, as {"name": null, "value": N}): the number is then
// part of the key.
Json KeyOf(const Table& table, const Json& record) {
    Json key = Json::object();
    if (table.keys.empty()) return key;
    if (!record.is_object() || !record.contains(table.keys.front())) {
        key[table.keys.front()] = record;
        return key;
    }
    for (const char* field : table.keys) {
        key[field] = record.contains(field) ? record.at(field) : Json(nullptr);
        const std::string number = std::string(field) + "Value";
        if (record.contains(number)) key[number] = record.at(number);
    }
    return key;
}

const Json& WhereOf(const Side& side, const Table& table, size_t index) {
    static const Json unknown = {{"file", nullptr}, {"line", nullptr}};
    const auto list = side.where.find(table.name);
    if (list == side.where.end() || index >= list->size()) return unknown;
    return (*list)[index];
}

Json Place(const Json& where) {
    Json place;
    place["file"] = where.at("file");
    place["line"] = where.at("line");
    return place;
}

const Json* Parts(const Json& where) {
    const auto parts = where.find("parts");
    return parts == where.end() ? nullptr : &*parts;
}

Json Entry(const char* change, Json key, const Json* whereA, const Json* whereB) {
    Json entry;
    entry["change"] = change;
    entry["key"] = std::move(key);
    Json where = Json::object();
    if (whereA != nullptr) where["a"] = Place(*whereA);
    if (whereB != nullptr) where["b"] = Place(*whereB);
    entry["where"] = std::move(where);
    return entry;
}

struct Counts {
    size_t added = 0;
    size_t removed = 0;
    size_t changed = 0;
};

// Which pairs keep their order: a longest increasing run of their places on side B (taken in
// side A's order), found in n log n. The others moved against the records around them.
std::vector<bool> KeptInOrder(const std::vector<size_t>& places) {
    std::vector<size_t> tails;  // tails[k]: index into `places` of the least end of a run of k+1
    std::vector<size_t> before(places.size(), SIZE_MAX);
    for (size_t i = 0; i < places.size(); ++i) {
        const auto at =
            std::lower_bound(tails.begin(), tails.end(), places[i],
                             [&](size_t tail, size_t place) { return places[tail] < place; });
        if (at != tails.begin()) before[i] = *(at - 1);
        if (at == tails.end()) {
            tails.push_back(i);
        } else {
            *at = i;
        }
    }
    std::vector<bool> kept(places.size(), false);
    for (size_t i = tails.empty() ? SIZE_MAX : tails.back(); i != SIZE_MAX; i = before[i]) {
        kept[i] = true;
    }
    return kept;
}

// Pairs the records of one table by key, in hash maps: linear in the records, but for the
// order check.
Json CompareTable(const Table& table, const Side& a, const Side& b, Counts& counts) {
    const std::vector<const Json*> recordsA = Records(a.tables, table.pointer);
    const std::vector<const Json*> recordsB = Records(b.tables, table.pointer);
    std::unordered_map<std::string, std::vector<size_t>> byKey;
    for (size_t j = 0; j < recordsB.size(); ++j) {
        byKey[KeyText(KeyOf(table, *recordsB[j]))].push_back(j);
    }
    std::unordered_map<std::string, size_t> used;
    std::vector<size_t> pairedWith(recordsA.size(), SIZE_MAX);
    std::vector<bool> matched(recordsB.size(), false);
    std::vector<size_t> places;  // of the paired records on side B, in side A's order
    for (size_t i = 0; i < recordsA.size(); ++i) {
        const std::string text = KeyText(KeyOf(table, *recordsA[i]));
        const auto candidates = byKey.find(text);
        size_t& next = used[text];
        if (candidates == byKey.end() || next >= candidates->second.size()) continue;
        pairedWith[i] = candidates->second[next++];
        matched[pairedWith[i]] = true;
        places.push_back(pairedWith[i]);
    }
    const std::vector<bool> inOrder = KeptInOrder(places);

    Json entries = Json::array();
    size_t pair = 0;
    for (size_t i = 0; i < recordsA.size(); ++i) {
        Json key = KeyOf(table, *recordsA[i]);
        const Json& whereA = WhereOf(a, table, i);
        const size_t j = pairedWith[i];
        if (j == SIZE_MAX) {
            entries.push_back(Entry("removed", std::move(key), &whereA, nullptr));
            ++counts.removed;
            continue;
        }
        const Json& whereB = WhereOf(b, table, j);
        FieldComparison fields(Parts(whereA), Parts(whereB));
        if (!inOrder[pair++]) fields.Moved(i, j);
        fields.Compare(*recordsA[i], *recordsB[j], "", "", "", table.positional);
        Json changed = fields.TakeFields();
        if (changed.empty()) continue;
        Json entry = Entry("changed", std::move(key), &whereA, &whereB);
        entry["fields"] = std::move(changed);
        entries.push_back(std::move(entry));
        ++counts.changed;
    }
    for (size_t j = 0; j < recordsB.size(); ++j) {
        if (matched[j]) continue;
        entries.push_back(
            Entry("added", KeyOf(table, *recordsB[j]), nullptr, &WhereOf(b, table, j)));
        ++counts.added;
    }
    return entries;
}

}  // namespace

int RunDiff(const Options& options, const std::string& rootA, const std::string& rootB) {
    for (const std::string* root : {&rootA, &rootB}) {
        std::error_code ec;
        if (!fs::is_directory(*root, ec)) {
            return Fail(kExitUsage, *root + ": no such configuration folder");
        }
    }
    const Side a = LoadSide(options, rootA);
    const Side b = LoadSide(options, rootB);

    Counts counts;
    Json changes = Json::object();
    for (const Table& table : Tables()) {
        Json entries = CompareTable(table, a, b, counts);
        if (!entries.empty()) changes[table.name] = std::move(entries);
    }
    const bool equal = changes.empty();
    Json result;
    result["a"] = rootA;
    result["b"] = rootB;
    result["equal"] = equal;
    result["added"] = counts.added;
    result["removed"] = counts.removed;
    result["changed"] = counts.changed;
    result["changes"] = std::move(changes);
    if (options.json) {
        std::cout << result.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    } else {
        WriteText(std::cout, result);
    }
    return equal ? kExitClean : kExitProblems;
}

}  // namespace sctool
