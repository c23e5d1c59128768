#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "Tools.h"

namespace TOOLS {
namespace {

wchar_t Fold(wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); }

// Windows-style wildcard match ("*" any run, "?" one character) without regard to case.
// Iterative with one backtrack point, so it is linear in practice and never recurses.
bool WildcardMatch(std::wstring_view pattern, std::wstring_view name) {
    size_t p = 0, n = 0, starP = std::wstring::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::wstring::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

}  // namespace

void CPathOperator::GetAllSpecifyFileInDir(const CString& pattern, std::vector<CString>& files) {
    const std::wstring_view text = pattern.str();
    const size_t cut = text.find_last_of(L"\\/");
    const CString folder = cut == std::wstring::npos ? CString() : pattern.Left(int(cut) + 1);
    const std::wstring_view wildcard = cut == std::wstring::npos ? text : text.substr(cut + 1);

    const std::string nativeFolder = folder.IsEmpty() ? std::string(".") : NativePath(folder);
    DIR* dir = opendir(nativeFolder.c_str());
    if (!dir) return;
    std::vector<CString> names;
    while (const dirent* entry = readdir(dir)) {
        const CString name =
            WideFromUtf8(entry->d_name, std::char_traits<char>::length(entry->d_name));
        if (!WildcardMatch(wildcard, name.str())) continue;
        struct stat info;
        const std::string full = nativeFolder + "/" + entry->d_name;
        if (stat(full.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    for (const CString& name : names) files.push_back(folder + name);
}

}  // namespace TOOLS
