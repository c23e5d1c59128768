// Type names, locations, file listing and splitting.
#pragma once

#include <string_view>
#include <vector>

#include <siteconfig/CString.h>
#include <siteconfig/KadoTypes.h>
#include <siteconfig/SiteConfigNames.h>

namespace TOOLS {

// Name <-> value conversions of component and parameter types. Lookups are exact and
// case-sensitive; "类别" and "截面形状" are aliases of Category and SectionShape.
class CKADOHandler {
public:
    // InvalidComponentType for an unknown name.
    static KADO::Product::EKADOComponentType GetComponentTypeByName(std::wstring_view name);
    static KADO::Product::EKADOComponentType GetComponentTypeByName(const CString& name) {
        return GetComponentTypeByName(name.str());
    }
    static KADO::Product::EKADOComponentType GetComponentTypeByName(const wchar_t* name) {
        return GetComponentTypeByName(std::wstring_view(name));
    }
    // Empty for an unknown value.
    static CString GetComponentNameByType(KADO::Product::EKADOComponentType type);
    // InvalidParameterType for an unknown name.
    static KADO::Product::EKADOParameterType GetParamTypeByName(std::wstring_view name);
    static KADO::Product::EKADOParameterType GetParamTypeByName(const CString& name) {
        return GetParamTypeByName(name.str());
    }
    static KADO::Product::EKADOParameterType GetParamTypeByName(const wchar_t* name) {
        return GetParamTypeByName(std::wstring_view(name));
    }
    // Empty for an unknown value.
    static CString GetParamNameByType(KADO::Product::EKADOParameterType type);

    // Every name and value of the tables above, in table order: for each value, the name that
    // Get...NameByType answers comes first.
    static std::vector<CONFIG::NamedValue> GetComponentNames();
    static std::vector<CONFIG::NamedValue> GetParamNames();
};

// A location: a text of parts, each preceded by the separator ("\基本构件\墙\直形墙").
class CLocHandler {
public:
    CLocHandler() : CLocHandler(CString(), L'\\') {}
    CLocHandler(const CString& loc, wchar_t separator);

    void SetLoc(const CString& loc);
    // True when the text begins with the separator and its first two parts are non-empty.
    bool IsValid() const;
    // The first part (major category); empty when there is none.
    CString GetDaLei() const;
    // The second part (minor category); empty when absent.
    CString GetXiaoLei() const;
    // The index-th part of `loc` (0: the major category), as a view into it; empty when absent.
    static std::wstring_view Part(std::wstring_view loc, wchar_t separator, int index);

private:
    CString loc_;
    wchar_t separator_;
};

class CPathOperator {
public:
    // `pattern` is a folder followed by a wildcard name ("*" and "?"), e.g. "D:\Cfg\*_POOL.xml".
    // Appends folder + name of every regular file of the folder whose name matches without
    // regard to letter case, sorted by name in ordinal order. A missing folder adds nothing.
    static void GetAllSpecifyFileInDir(const CString& pattern, std::vector<CString>& files);
};

// Splits `text` at every occurrence of the whole delimiter, keeping empty pieces: "" gives one
// empty piece, "a;" gives "a" and "", "a;;b" three pieces. Appends to `out`.
void TransStrToAry(CString text, std::vector<CString>& out, const CString& delimiter);
void TransStrToAry(CString text, CStringArray& out, const CString& delimiter);

}  // namespace TOOLS
