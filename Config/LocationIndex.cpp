#include "LocationIndex.h"

#include <algorithm>
#include <utility>

#include "Tools.h"

namespace CONFIG {

namespace {

struct Keyed {
    std::wstring_view key;
    size_t position;
};

// The positions of `keyed` in the order of their keys.
std::vector<size_t> PositionsByKey(std::vector<Keyed>& keyed) {
    std::sort(keyed.begin(), keyed.end(),
              [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    std::vector<size_t> positions;
    positions.reserve(keyed.size());
    for (const Keyed& entry : keyed) positions.push_back(entry.position);
    return positions;
}

bool IsValidLocation(const CString& text) { return TOOLS::CLocHandler(text, L'\\').IsValid(); }

CString MajorCategory(const CString& loc) {
    TOOLS::CLocHandler handler;
    handler.SetLoc(loc);
    return handler.GetDaLei();
}

bool IsOneCharacterRepeated(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [&](wchar_t c) { return c == text.front(); });
}

}  // namespace

CLocationIndex::CLocationIndex(const std::vector<CString>& shown, const SectionTable& sections)
    : m_shown(shown) {
    std::vector<Keyed> byText;
    std::vector<Keyed> firstTwoDiffer;
    std::vector<Keyed> firstTwoEqual;
    byText.reserve(m_shown.size());
    for (size_t position = 0; position < m_shown.size(); ++position) {
        const std::wstring_view text = m_shown[position].str();
        byText.push_back({text, position});
        // A collected text is never empty, so it needs a character after the first.
        if (text.size() < 2) continue;
        (text[0] == text[1] ? firstTwoEqual : firstTwoDiffer).push_back({text.substr(1), position});
    }
    m_byText = PositionsByKey(byText);
    m_bySuffix = PositionsByKey(firstTwoDiffer);
    m_sameStart = m_bySuffix.size();
    const std::vector<size_t> equal = PositionsByKey(firstTwoEqual);
    m_bySuffix.insert(m_bySuffix.end(), equal.begin(), equal.end());

    for (const auto& [key, texts] : sections) {
        SectionKey& entry = m_sections.emplace_hint(m_sections.end(), key, SectionKey())->second;
        entry.texts.reserve(texts.size());
        for (const CString& text : texts) {
            ListedText listed{text, IsValidLocation(text), Collected()};
            if (listed.valid) {
                entry.listedShown = entry.listedShown || IsShown(text);
            } else {
                listed.collected = Collect(text.str());
                entry.listedShown = entry.listedShown || listed.collected.Any();
            }
            entry.texts.push_back(std::move(listed));
        }
        entry.asCategory = Collect(key.str());
    }
}

CLocationIndex::Collected CLocationIndex::Collect(std::wstring_view text) const {
    Collected collected;
    // The empty text occurs first at index 0 of every text.
    if (text.empty()) return collected;
    const auto startingWithText = [&](size_t begin, size_t end, size_t& first, size_t& last) {
        const auto from = m_bySuffix.begin() + static_cast<std::ptrdiff_t>(begin);
        const auto to = m_bySuffix.begin() + static_cast<std::ptrdiff_t>(end);
        const auto lower = std::partition_point(
            from, to, [&](size_t position) { return Suffix(position) < text; });
        const auto upper = std::partition_point(lower, to, [&](size_t position) {
            return Suffix(position).substr(0, text.size()) == text;
        });
        first = static_cast<size_t>(lower - m_bySuffix.begin());
        last = static_cast<size_t>(upper - m_bySuffix.begin());
    };
    startingWithText(0, m_sameStart, collected.first[0], collected.last[0]);
    // A text occurs at both index 0 and index 1 of a location only when it is one character
    // repeated and the location begins with that character twice: those locations hold the
    // text first at index 0.
    if (!IsOneCharacterRepeated(text)) {
        startingWithText(m_sameStart, m_bySuffix.size(), collected.first[1], collected.last[1]);
    }
    return collected;
}

void CLocationIndex::AppendCollected(const Collected& collected, std::vector<CString>& locs) const {
    if (!collected.Any()) return;
    std::vector<size_t> positions;
    for (int part = 0; part < 2; ++part) {
        positions.insert(positions.end(),
                         m_bySuffix.begin() + static_cast<std::ptrdiff_t>(collected.first[part]),
                         m_bySuffix.begin() + static_cast<std::ptrdiff_t>(collected.last[part]));
    }
    // Ordered by text in the index, collected in list order.
    std::sort(positions.begin(), positions.end());
    for (size_t position : positions) locs.push_back(m_shown[position]);
}

void CLocationIndex::AppendSectionLocs(const CString& loc, std::vector<CString>& locs) const {
    const auto listed = m_sections.find(loc);
    if (listed != m_sections.end()) {
        for (const ListedText& text : listed->second.texts) {
            if (text.valid) {
                locs.push_back(text.text);
            } else {
                AppendCollected(text.collected, locs);
            }
        }
        return;
    }
    // The list stored under a listed major category is not used: the category collects.
    const auto category = m_sections.find(MajorCategory(loc));
    if (category != m_sections.end()) {
        AppendCollected(category->second.asCategory, locs);
    } else {
        locs.push_back(loc);
    }
}

bool CLocationIndex::IsExpansionShown(const CString& loc) const {
    const auto listed = m_sections.find(loc);
    if (listed != m_sections.end()) return listed->second.listedShown;
    // Whatever a text collects comes from the shown list.
    const auto category = m_sections.find(MajorCategory(loc));
    if (category != m_sections.end()) return category->second.asCategory.Any();
    return IsShown(loc);
}

bool CLocationIndex::IsShown(const CString& loc) const {
    const std::wstring_view text = loc.str();
    const auto found = std::lower_bound(
        m_byText.begin(), m_byText.end(), text,
        [&](size_t position, std::wstring_view value) { return m_shown[position].str() < value; });
    return found != m_byText.end() && m_shown[*found].str() == text;
}

}  // namespace CONFIG
