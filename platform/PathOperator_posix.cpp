#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "Tools.h"
#include "Wildcard.h"

namespace TOOLS {
namespace {

// Names compared without regard to case, as on Windows.
bool SameLetter(wchar_t a, wchar_t b) {
    return a == b || std::towlower(static_cast<wint_t>(a)) == std::towlower(static_cast<wint_t>(b));
}

struct CloseDir {
    void operator()(DIR* dir) const { closedir(dir); }
};

// A regular file, or a symbolic link to one. The type readdir gives saves the stat, but for a
// link or where the file system leaves the type unknown.
bool IsRegularFile(const std::string& folder, const dirent& entry) {
#if defined(_DIRENT_HAVE_D_TYPE) || defined(DT_REG)
    if (entry.d_type == DT_REG) return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
#endif
    struct stat info;
    const std::string full = folder + "/" + entry.d_name;
    return stat(full.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

void CPathOperator::GetAllSpecifyFileInDir(const CString& pattern, std::vector<CString>& files) {
    const std::wstring_view text = pattern.str();
    const size_t cut = text.find_last_of(L"\\/");
    const CString folder = cut == std::wstring::npos ? CString() : pattern.Left(int(cut) + 1);
    const std::wstring_view wildcard = cut == std::wstring::npos ? text : text.substr(cut + 1);

    const std::string nativeFolder = folder.IsEmpty() ? std::string(".") : NativePath(folder);
    // Closed however the listing ends: a name that cannot be stored throws.
    const std::unique_ptr<DIR, CloseDir> dir(opendir(nativeFolder.c_str()));
    if (!dir) return;
    std::vector<CString> names;
    while (const dirent* entry = readdir(dir.get())) {
        const CString name =
            WideFromUtf8(entry->d_name, std::char_traits<char>::length(entry->d_name));
        if (!WildcardMatch(wildcard, name.str(), SameLetter)) continue;
        if (!IsRegularFile(nativeFolder, *entry)) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const CString& name : names) files.push_back(folder + name);
}

}  // namespace TOOLS
