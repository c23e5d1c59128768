#include "LocationIndex.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "Tools.h"

namespace CONFIG {

namespace {

bool IsValidLocation(const CString& text) { return TOOLS::CLocHandler(text, L'\\').IsValid(); }

CString MajorCategory(const CString& loc) {
    TOOLS::CLocHandler handler;
    handler.SetLoc(loc);
    return handler.GetDaLei();
}

// The text after the first character, where a collected text begins.
std::wstring_view Suffix(const CString& text) { return text.str().substr(1); }

bool IsOneCharacterRepeated(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [&](wchar_t c) { return c == text.front(); });
}

}  // namespace

CLocationIndex::CLocationIndex(const std::vector<CString>& shown, const SectionTable& sections)
    : m_byText(shown.size()) {
    std::iota(m_byText.begin(), m_byText.end(), size_t{0});
    std::sort(m_byText.begin(), m_byText.end(),
              [&](size_t a, size_t b) { return shown[a].str() < shown[b].str(); });

    // A collected text is never empty, so it needs a character after the first.
    m_bySuffix.reserve(shown.size());
    for (size_t position = 0; position < shown.size(); ++position) {
        if (shown[position].GetLength() >= 2) m_bySuffix.push_back(position);
    }
    const auto firstTwoDiffer = [&](size_t position) {
        return shown[position][0] != shown[position][1];
    };
    const auto bySuffix = [&](size_t a, size_t b) { return Suffix(shown[a]) < Suffix(shown[b]); };
    const auto equalStart = std::partition(m_bySuffix.begin(), m_bySuffix.end(), firstTwoDiffer);
    std::sort(m_bySuffix.begin(), equalStart, bySuffix);
    std::sort(equalStart, m_bySuffix.end(), bySuffix);
    m_sameStart = static_cast<size_t>(equalStart - m_bySuffix.begin());

    for (const auto& [key, texts] : sections) {
        SectionKey& entry = m_sections.emplace_hint(m_sections.end(), key, SectionKey())->second;
        entry.texts.reserve(texts.size());
        for (const CString& text : texts) {
            ListedText listed{text, IsValidLocation(text), Collected()};
            if (listed.valid) {
                entry.listedShown = entry.listedShown || IsShown(shown, text);
            } else {
                listed.collected = Collect(shown, text.str());
                KeepInListOrder(listed.collected, shown.size());
                entry.listedShown = entry.listedShown || listed.collected.Any();
            }
            entry.texts.push_back(std::move(listed));
        }
        entry.asCategory = Collect(shown, key.str());
        KeepInListOrder(entry.asCategory, shown.size());
    }
}

std::vector<std::pair<CString, CString>> CLocationIndex::TextsCollectingNothing() const {
    std::vector<std::pair<CString, CString>> texts;
    for (const auto& [key, entry] : m_sections) {
        for (const ListedText& listed : entry.texts) {
            if (!listed.valid && !listed.collected.Any()) texts.emplace_back(key, listed.text);
        }
    }
    return texts;
}

CLocationIndex::Collected CLocationIndex::Collect(const std::vector<CString>& shown,
                                                  std::wstring_view text) const {
    Collected collected;
    // The empty text occurs first at index 0 of every text.
    if (text.empty()) return collected;
    const auto startingWithText = [&](size_t begin, size_t end, size_t& first, size_t& last) {
        const auto from = m_bySuffix.begin() + static_cast<std::ptrdiff_t>(begin);
        const auto to = m_bySuffix.begin() + static_cast<std::ptrdiff_t>(end);
        const auto lower = std::partition_point(
            from, to, [&](size_t position) { return Suffix(shown[position]) < text; });
        const auto upper = std::partition_point(lower, to, [&](size_t position) {
            return Suffix(shown[position]).substr(0, text.size()) == text;
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

void CLocationIndex::AppendPositions(const Collected& collected,
                                     std::vector<size_t>& positions) const {
    for (int part = 0; part < 2; ++part) {
        positions.insert(positions.end(),
                         m_bySuffix.begin() + static_cast<std::ptrdiff_t>(collected.first[part]),
                         m_bySuffix.begin() + static_cast<std::ptrdiff_t>(collected.last[part]));
    }
}

void CLocationIndex::KeepInListOrder(Collected& collected, size_t limit) {
    const size_t count = collected.Count();
    if (count == 0 || m_inListOrder.size() + count > limit) return;
    collected.inListOrder = m_inListOrder.size();
    AppendPositions(collected, m_inListOrder);
    std::sort(m_inListOrder.begin() + static_cast<std::ptrdiff_t>(collected.inListOrder),
              m_inListOrder.end());
}

void CLocationIndex::AppendCollected(const std::vector<CString>& shown, const Collected& collected,
                                     std::vector<CString>& locs) const {
    if (!collected.Any()) return;
    if (collected.inListOrder != kNotKept) {
        const auto first =
            m_inListOrder.begin() + static_cast<std::ptrdiff_t>(collected.inListOrder);
        const auto last = first + static_cast<std::ptrdiff_t>(collected.Count());
        for (auto position = first; position != last; ++position) locs.push_back(shown[*position]);
        return;
    }
    // Ordered by text in the index, collected in list order.
    std::vector<size_t> positions;
    AppendPositions(collected, positions);
    std::sort(positions.begin(), positions.end());
    for (size_t position : positions) locs.push_back(shown[position]);
}

void CLocationIndex::AppendSectionLocs(const std::vector<CString>& shown, const CString& loc,
                                       std::vector<CString>& locs) const {
    const auto listed = m_sections.find(loc);
    if (listed != m_sections.end()) {
        for (const ListedText& text : listed->second.texts) {
            if (text.valid) {
                locs.push_back(text.text);
            } else {
                AppendCollected(shown, text.collected, locs);
            }
        }
        return;
    }
    // The list stored under a listed major category is not used: the category collects.
    const auto category = m_sections.find(MajorCategory(loc));
    if (category != m_sections.end()) {
        AppendCollected(shown, category->second.asCategory, locs);
    } else {
        locs.push_back(loc);
    }
}

bool CLocationIndex::IsExpansionShown(const std::vector<CString>& shown, const CString& loc) const {
    const auto listed = m_sections.find(loc);
    if (listed != m_sections.end()) return listed->second.listedShown;
    // Whatever a text collects comes from the shown list.
    const auto category = m_sections.find(MajorCategory(loc));
    if (category != m_sections.end()) return category->second.asCategory.Any();
    return IsShown(shown, loc);
}

bool CLocationIndex::IsShown(const std::vector<CString>& shown, const CString& loc) const {
    const std::wstring_view text = loc.str();
    const auto found = std::lower_bound(
        m_byText.begin(), m_byText.end(), text,
        [&](size_t position, std::wstring_view value) { return shown[position].str() < value; });
    return found != m_byText.end() && shown[*found].str() == text;
}

}  // namespace CONFIG
