// The expansion of a location over the shown location list and the section selection, answered
// without scanning the shown list.
#pragma once

#include <cstddef>
#include <map>
#include <string_view>
#include <vector>

#include <siteconfig/CString.h>

namespace CONFIG {

// A location expands by the section selection: a listed location into its texts (a valid
// location as itself, any other text collected), otherwise a location whose major category is
// listed into what the category collects, otherwise into itself. Collecting a text gathers, in
// list order, every shown location in which the first occurrence of the text begins at index 1.
//
// Built whole from the two tables and never changed afterwards: whoever changes a table builds
// a new index. It keeps its own copies of the texts (sharing their buffers), so it is copied
// with the tables. Queries change nothing and raise no report, so several threads may query one
// index at once.
class CLocationIndex {
public:
    using SectionTable = std::map<CString, std::vector<CString>>;

    // The index of an empty shown list and an empty section selection.
    CLocationIndex() = default;
    CLocationIndex(const std::vector<CString>& shown, const SectionTable& sections);

    // Appends the expansion of `loc` to `locs`, in expansion order.
    void AppendSectionLocs(const CString& loc, std::vector<CString>& locs) const;
    // Whether the expansion of `loc` holds a shown location.
    bool IsExpansionShown(const CString& loc) const;
    // Whether `loc` is an entry of the shown list.
    bool IsShown(const CString& loc) const;

private:
    // The shown locations that collecting one text gathers: a run of each part of m_bySuffix.
    struct Collected {
        size_t first[2] = {0, 0};
        size_t last[2] = {0, 0};
        bool Any() const { return first[0] != last[0] || first[1] != last[1]; }
    };
    struct ListedText {
        CString text;
        bool valid = false;
        Collected collected;  // what the text collects when it is not valid
    };
    struct SectionKey {
        std::vector<ListedText> texts;
        bool listedShown = false;  // whether the expansion of the listed key holds a shown one
        Collected asCategory;      // what the key collects as a major category
    };

    Collected Collect(std::wstring_view text) const;
    void AppendCollected(const Collected& collected, std::vector<CString>& locs) const;
    std::wstring_view Suffix(size_t position) const { return m_shown[position].str().substr(1); }

    std::vector<CString> m_shown;
    // Positions in m_shown, ordered by text.
    std::vector<size_t> m_byText;
    // Positions of the shown texts of two or more characters, ordered by the text after its
    // first character: first those whose first two characters differ, then, from m_sameStart,
    // those whose first two characters are equal.
    std::vector<size_t> m_bySuffix;
    size_t m_sameStart = 0;
    std::map<CString, SectionKey> m_sections;
};

}  // namespace CONFIG
