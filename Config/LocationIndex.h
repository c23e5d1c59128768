// The expansion of a location over the shown location list and the section selection, answered
// without scanning the shown list.
#pragma once

#include <cstddef>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include <siteconfig/CString.h>

namespace CONFIG {

// A location expands by the section selection: a listed location into its texts (a valid
// location as itself, any other text collected), otherwise a location whose major category is
// listed into what the category collects, otherwise into itself. Collecting a text gathers, in
// list order, every shown location in which the first occurrence of the text begins at index 1.
//
// Built whole from the two tables and never changed afterwards: whoever changes a table builds
// a new index. It keeps positions in the shown list, not the list: every query is given the list
// the index was built from (or an equal one, so an index is copied with its list). It keeps its
// own copy of the section selection. Queries change nothing and raise no report, so several
// threads may query one index at once.
class CLocationIndex {
public:
    using SectionTable = std::map<CString, std::vector<CString>>;

    // The index of an empty shown list and an empty section selection.
    CLocationIndex() = default;
    CLocationIndex(const std::vector<CString>& shown, const SectionTable& sections);

    // Appends the expansion of `loc` to `locs`, in expansion order.
    void AppendSectionLocs(const std::vector<CString>& shown, const CString& loc,
                           std::vector<CString>& locs) const;
    // Whether the expansion of `loc` holds a shown location.
    bool IsExpansionShown(const std::vector<CString>& shown, const CString& loc) const;
    // Whether `loc` is an entry of the shown list.
    bool IsShown(const std::vector<CString>& shown, const CString& loc) const;
    // The section selection's texts that add nothing to an expansion: not a valid location, and
    // collecting no shown location. Each with its key, in key order then text order.
    std::vector<std::pair<CString, CString>> TextsCollectingNothing() const;

private:
    static constexpr size_t kNotKept = static_cast<size_t>(-1);

    // The shown locations that collecting one text gathers: a run of each part of m_bySuffix.
    struct Collected {
        size_t first[2] = {0, 0};
        size_t last[2] = {0, 0};
        // Where m_inListOrder holds the same positions in list order, or kNotKept.
        size_t inListOrder = kNotKept;
        size_t Count() const { return last[0] - first[0] + last[1] - first[1]; }
        bool Any() const { return Count() > 0; }
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

    Collected Collect(const std::vector<CString>& shown, std::wstring_view text) const;
    void KeepInListOrder(Collected& collected, size_t limit);
    void AppendPositions(const Collected& collected, std::vector<size_t>& positions) const;
    void AppendCollected(const std::vector<CString>& shown, const Collected& collected,
                         std::vector<CString>& locs) const;

    // Positions in the shown list, ordered by text.
    std::vector<size_t> m_byText;
    // Positions of the shown texts of two or more characters, ordered by the text after its
    // first character: first those whose first two characters differ, then, from m_sameStart,
    // those whose first two characters are equal.
    std::vector<size_t> m_bySuffix;
    size_t m_sameStart = 0;
    // What the texts of m_sections collect, one stretch in list order per text, while there are
    // no more positions than the shown list has: texts that each collect much of the list cannot
    // multiply its size. A query puts what does not fit in list order itself.
    std::vector<size_t> m_inListOrder;
    std::map<CString, SectionKey> m_sections;
};

}  // namespace CONFIG
