#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "Tools.h"
#include "Wildcard.h"
#include "WindowsError.h"

namespace TOOLS {
namespace {

// Letters compared as the file system compares names: without regard to case. The system's own
// wildcard matching is not used: it also matches the short 8.3 names ("*.xml" would find
// "a.xmlx").
bool SameLetter(wchar_t a, wchar_t b) {
    return a == b || CompareStringOrdinal(&a, 1, &b, 1, TRUE) == CSTR_EQUAL;
}

struct CloseFind {
    void operator()(HANDLE find) const { FindClose(find); }
};

}  // namespace

void CPathOperator::GetAllSpecifyFileInDir(const CString& pattern, std::vector<CString>& files) {
    const std::wstring_view text = pattern.str();
    const size_t cut = text.find_last_of(L"\\/");
    const CString folder = cut == std::wstring_view::npos ? CString() : pattern.Left(int(cut) + 1);
    const std::wstring wildcard(cut == std::wstring_view::npos ? text : text.substr(cut + 1));

    std::wstring search = folder.IsEmpty() ? std::wstring(L".\\") : WindowsPath(NativePath(folder));
    search += L'*';
    WIN32_FIND_DATAW entry;
    const HANDLE first = FindFirstFileExW(search.c_str(), FindExInfoBasic, &entry,
                                          FindExSearchNameMatch, nullptr, 0);
    if (first == INVALID_HANDLE_VALUE) return;
    // Closed however the listing ends: a name that cannot be stored throws.
    const std::unique_ptr<void, CloseFind> find(first);
    std::vector<CString> names;
    do {
        // Regular files only: no folders, and no devices.
        if (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) continue;
        const std::wstring name = entry.cFileName;
        if (WildcardMatch(wildcard, name, SameLetter)) names.emplace_back(name);
    } while (FindNextFileW(find.get(), &entry));
    std::sort(names.begin(), names.end());
    for (const CString& name : names) files.push_back(folder + name);
}

}  // namespace TOOLS
