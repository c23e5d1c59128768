#include "Tools.h"

#include <iterator>
#include <string_view>
#include <unordered_map>

namespace TOOLS {
namespace {

using KADO::Product::EKADOComponentType;
using KADO::Product::EKADOParameterType;

template <typename Enum>
struct NameEntry {
    const wchar_t* name;
    Enum value;
};

constexpr NameEntry<EKADOComponentType> kComponentNames[] = {
    {L"Wall", KADO::Product::Wall},
    {L"Beam", KADO::Product::Beam},
    {L"Slab", KADO::Product::Slab},
    {L"Column", KADO::Product::Column},
    {L"Foundation", KADO::Product::Foundation},
    {L"TowerCrane", KADO::Product::TowerCrane},
    {L"Scaffold", KADO::Product::Scaffold},
    {L"Pipe", KADO::Product::Pipe},
    {L"Opening", KADO::Product::Opening},
    {L"Road", KADO::Product::Road},
    {L"Fence", KADO::Product::Fence},
    {L"Building", KADO::Product::Building},
    {L"OtherComponent", KADO::Product::OtherComponentType},
};

// The first name of a value is the one GetParamNameByType answers.
constexpr NameEntry<EKADOParameterType> kParamNames[] = {
    {L"Name", KADO::Product::Name},
    {L"Length", KADO::Product::Length},
    {L"Width", KADO::Product::Width},
    {L"Height", KADO::Product::Height},
    {L"Thickness", KADO::Product::Thickness},
    {L"Material", KADO::Product::Material},
    {L"Elevation", KADO::Product::Elevation},
    {L"Color", KADO::Product::Color},
    {L"Category", KADO::Product::Category},
    {L"SectionShape", KADO::Product::SectionShape},
    {L"\u7c7b\u522b", KADO::Product::Category},                  // 类别
    {L"\u622a\u9762\u5f62\u72b6", KADO::Product::SectionShape},  // 截面形状
};

// Names are looked up for every parameter and instance a folder holds: hash them.
template <typename Enum, size_t N>
Enum ValueOf(const NameEntry<Enum> (&table)[N], std::wstring_view name, Enum unknown) {
    static const std::unordered_map<std::wstring_view, Enum> byName = [&table] {
        std::unordered_map<std::wstring_view, Enum> map;
        for (const auto& entry : table) map.emplace(entry.name, entry.value);
        return map;
    }();
    const auto found = byName.find(name);
    return found == byName.end() ? unknown : found->second;
}

template <typename Enum, size_t N>
CString NameOf(const NameEntry<Enum> (&table)[N], Enum value) {
    for (const auto& entry : table) {
        if (entry.value == value) return CString(entry.name);
    }
    return CString();
}

template <typename Enum, size_t N>
std::vector<CONFIG::NamedValue> AllNames(const NameEntry<Enum> (&table)[N]) {
    std::vector<CONFIG::NamedValue> names;
    names.reserve(N);
    for (const auto& entry : table) names.push_back({CString(entry.name), entry.value});
    return names;
}

template <typename List>
void Split(const CString& text, List& out, const CString& delimiter) {
    const std::wstring_view s = text.str();
    const std::wstring_view d = delimiter.str();
    if (d.empty()) {
        out.push_back(text);
        return;
    }
    size_t start = 0;
    for (size_t pos; (pos = s.find(d, start)) != std::wstring::npos; start = pos + d.size()) {
        out.push_back(CString(s.data() + start, static_cast<int>(pos - start)));
    }
    out.push_back(start == 0 ? text
                             : CString(s.data() + start, static_cast<int>(s.size() - start)));
}

struct ArrayAppender {
    CStringArray& array;
    void push_back(const CString& s) { array.Add(s); }
};

}  // namespace

EKADOComponentType CKADOHandler::GetComponentTypeByName(std::wstring_view name) {
    return ValueOf(kComponentNames, name, KADO::Product::InvalidComponentType);
}

CString CKADOHandler::GetComponentNameByType(EKADOComponentType type) {
    return NameOf(kComponentNames, type);
}

EKADOParameterType CKADOHandler::GetParamTypeByName(std::wstring_view name) {
    return ValueOf(kParamNames, name, KADO::Product::InvalidParameterType);
}

CString CKADOHandler::GetParamNameByType(EKADOParameterType type) {
    return NameOf(kParamNames, type);
}

std::vector<CONFIG::NamedValue> CKADOHandler::GetComponentNames() {
    return AllNames(kComponentNames);
}

std::vector<CONFIG::NamedValue> CKADOHandler::GetParamNames() { return AllNames(kParamNames); }

CLocHandler::CLocHandler(const CString& loc, wchar_t separator)
    : loc_(loc), separator_(separator) {}

void CLocHandler::SetLoc(const CString& loc) { loc_ = loc; }

namespace {
// The index-th part of `loc` (a leading separator ignored), or empty.
CString LocPart(const CString& loc, wchar_t separator, int index) {
    const std::wstring_view part = CLocHandler::Part(loc.str(), separator, index);
    return CString(part.data(), static_cast<int>(part.size()));
}
}  // namespace

std::wstring_view CLocHandler::Part(std::wstring_view loc, wchar_t separator, int index) {
    size_t start = !loc.empty() && loc[0] == separator ? 1 : 0;
    for (; index > 0; --index) {
        const size_t next = loc.find(separator, start);
        if (next == std::wstring_view::npos) return {};
        start = next + 1;
    }
    const size_t end = loc.find(separator, start);
    return loc.substr(start, (end == std::wstring_view::npos ? loc.size() : end) - start);
}

bool CLocHandler::IsValid() const {
    return loc_.GetAt(0) == separator_ && !LocPart(loc_, separator_, 0).IsEmpty() &&
           !LocPart(loc_, separator_, 1).IsEmpty();
}

CString CLocHandler::GetDaLei() const { return LocPart(loc_, separator_, 0); }

CString CLocHandler::GetXiaoLei() const { return LocPart(loc_, separator_, 1); }

void TransStrToAry(CString text, std::vector<CString>& out, const CString& delimiter) {
    Split(text, out, delimiter);
}

void TransStrToAry(CString text, CStringArray& out, const CString& delimiter) {
    ArrayAppender appender{out};
    Split(text, appender, delimiter);
}

}  // namespace TOOLS
