// The wildcard match of file listing, shared by the hosts.
#pragma once

#include <string_view>

namespace TOOLS {

// Windows-style wildcard match ("*" any run, "?" one character); `same(a, b)` compares two
// letters as the host's file system compares names. Iterative with one backtrack point, so it
// is linear in practice and never recurses.
template <typename SameLetter>
bool WildcardMatch(std::wstring_view pattern, std::wstring_view name, SameLetter same) {
    size_t p = 0, n = 0, starP = std::wstring_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || same(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::wstring_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

}  // namespace TOOLS
