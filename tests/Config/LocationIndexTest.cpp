// The location index, through the display configuration that answers GetSectionLocs and
// IsLocShown from it: compared with the expansion rules written out plainly, on random tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "PropShowCfg.h"
#include "TestSupport.h"
#include "Tools.h"

namespace CONFIG {
namespace {

using testing_support::ReportCapture;
using testing_support::TempDir;

using Texts = std::vector<std::wstring>;

// Texts as standard strings, which the test framework prints readably.
Texts Wide(const std::vector<CString>& texts) {
    Texts wide;
    for (const CString& text : texts) wide.emplace_back(text.str());
    return wide;
}
using Sections = std::map<std::wstring, Texts>;

// The expansion rules, as plainly as they read: no index, every collection a scan.
class Expansion {
public:
    Expansion(Texts shown, Sections sections)
        : shown_(std::move(shown)), sections_(std::move(sections)) {}

    Texts SectionLocs(const std::wstring& loc) const {
        const auto listed = sections_.find(loc);
        if (listed != sections_.end()) {
            Texts expanded;
            for (const std::wstring& text : listed->second) {
                if (TOOLS::CLocHandler(CString(text), L'\\').IsValid()) {
                    expanded.push_back(text);
                } else {
                    const Texts collected = Collect(text);
                    expanded.insert(expanded.end(), collected.begin(), collected.end());
                }
            }
            return expanded;
        }
        TOOLS::CLocHandler handler;
        handler.SetLoc(CString(loc));
        const std::wstring major(handler.GetDaLei().str());
        if (sections_.count(major) > 0) return Collect(major);
        return {loc};
    }

    bool IsLocShown(const std::wstring& loc) const {
        for (const std::wstring& text : SectionLocs(loc)) {
            if (std::find(shown_.begin(), shown_.end(), text) != shown_.end()) return true;
        }
        return false;
    }

private:
    // Every shown location in which the first occurrence of `text` begins at index 1.
    Texts Collect(const std::wstring& text) const {
        Texts collected;
        for (const std::wstring& shown : shown_) {
            if (shown.find(text) == 1) collected.push_back(shown);
        }
        return collected;
    }

    Texts shown_;
    Sections sections_;
};

// Texts that share prefixes, repeat one character, lack parts or the leading separator, or are
// empty: the cases where an index by prefix could go wrong.
class TextSource {
public:
    explicit TextSource(std::uint32_t seed) : random_(seed) {}

    size_t Below(size_t n) { return n == 0 ? 0 : static_cast<size_t>(random_() % n); }
    bool OneIn(size_t n) { return Below(n) == 0; }
    template <typename T>
    const T& Pick(const std::vector<T>& from) {
        return from[Below(from.size())];
    }

    std::wstring Part() { return Pick(kParts); }

    std::wstring Text() {
        switch (Below(10)) {
            case 0:
            case 1:
            case 2:
                return L"\\" + Part() + L"\\" + Part();
            case 3:
                return L"\\" + Part() + L"\\" + Part() + L"\\" + Part();
            case 4:
                return L"\\" + Part();
            case 5:
                return Part() + L"\\" + Part();
            case 6:
                return Part();
            case 7:
                return L"";
            case 8:
                return Pick(kOdd);
            default:
                return Part() + Part();
        }
    }

private:
    const std::vector<std::wstring> kParts{L"a", L"aa", L"ab", L"b", L"ba", L"中", L"中a"};
    const std::vector<std::wstring> kOdd{L"\\",       L"\\\\",     L"\\\\a",     L"aaa",
                                         L"\\a\\\\b", L"\\\\a\\b", L"\\aa\\aaa", L"a\\",
                                         L"\\a\\b\\", L"中中中"};
    std::mt19937 random_;
};

// One "PropertyLocShow.xml": the defined (and so shown) locations and the section selection,
// entries in file order, repeated keys included.
struct LocationFile {
    struct Entry {
        std::wstring key;
        Texts texts;
        bool withoutLoc = false;  // the empty key written as an entry without "loc"
    };
    Texts defined;
    std::vector<Entry> entries;

    static std::string Utf8(const std::wstring& text) {
        std::string out;
        for (wchar_t c : text) {
            const auto u = static_cast<std::uint32_t>(c);
            if (u < 0x80) {
                out += static_cast<char>(u);
            } else {
                out += static_cast<char>(0xE0 | (u >> 12));
                out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (u & 0x3F));
            }
        }
        return out;
    }

    std::string Xml() const {
        std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<UI><PropDefineShow>";
        for (const std::wstring& loc : defined) xml += "<Loc>" + Utf8(loc) + "</Loc>";
        xml += "</PropDefineShow>\n<SectionSelect>";
        for (const Entry& entry : entries) {
            xml += entry.withoutLoc ? "<Loc>" : "<Loc loc=\"" + Utf8(entry.key) + "\">";
            for (size_t i = 0; i < entry.texts.size(); ++i) {
                xml += (i ? ";" : "") + Utf8(entry.texts[i]);
            }
            xml += "</Loc>";
        }
        return xml + "</SectionSelect></UI>\n";
    }

    // The section selection the file gives: the first entry of a key stays.
    Sections Selection() const {
        Sections sections;
        for (const Entry& entry : entries) sections.emplace(entry.key, entry.texts);
        return sections;
    }
};

class LocationIndexTest : public ::testing::Test {
protected:
    static constexpr std::uint32_t kSeed = 20261211;
    static constexpr int kTables = 150;

    LocationFile RandomFile(TextSource& source) {
        std::vector<std::wstring> pool;
        for (size_t i = 0, n = 4 + source.Below(8); i < n; ++i) pool.push_back(source.Text());
        LocationFile file;
        // Drawn from a small pool, the list holds duplicates; now and then it is long.
        for (size_t i = 0, n = source.Below(source.OneIn(8) ? 160 : 24); i < n; ++i) {
            file.defined.push_back(source.OneIn(4) ? source.Text() : source.Pick(pool));
        }
        for (size_t i = 0, n = source.Below(7); i < n; ++i) {
            LocationFile::Entry entry;
            switch (source.Below(5)) {
                case 0:
                    entry.key = source.Part();  // a major category
                    break;
                case 1:
                    entry.key = source.Pick(pool);  // a location that may be shown
                    break;
                case 2:
                    entry.key = file.entries.empty() ? L"" : source.Pick(file.entries).key;
                    break;
                default:
                    entry.key = source.Text();
            }
            entry.withoutLoc = entry.key.empty() && source.OneIn(2);
            for (size_t t = 0, m = 1 + source.Below(4); t < m; ++t) {
                switch (source.Below(3)) {
                    case 0:
                        entry.texts.push_back(source.Part());
                        break;
                    case 1:
                        entry.texts.push_back(source.Pick(pool));
                        break;
                    default:
                        entry.texts.push_back(source.Text());
                }
            }
            file.entries.push_back(std::move(entry));
        }
        return file;
    }

    // Locations to expand: listed keys, locations under a listed category, shown and unshown
    // locations, texts of the lists and fresh texts.
    std::vector<std::wstring> Queries(TextSource& source, const LocationFile& file) {
        std::vector<std::wstring> queries;
        for (const LocationFile::Entry& entry : file.entries) {
            queries.push_back(entry.key);
            queries.push_back(L"\\" + entry.key + L"\\x");
            queries.push_back(entry.key + L"\\y");
            queries.push_back(source.Pick(entry.texts));
        }
        for (size_t i = 0; i < 4 && !file.defined.empty(); ++i) {
            queries.push_back(source.Pick(file.defined));
        }
        for (int i = 0; i < 4; ++i) queries.push_back(source.Text());
        return queries;
    }

    // Expands every query with `show` and with the rules over `shown` and `sections`.
    static void ExpectExpansions(IPropertyShow& show, const Texts& shown, const Sections& sections,
                                 const std::vector<std::wstring>& queries) {
        std::vector<CString> actualShown;
        show.GetShowLocs(actualShown);
        ASSERT_EQ(Wide(actualShown), shown);
        const Expansion expected(shown, sections);
        for (const std::wstring& query : queries) {
            SCOPED_TRACE("query " + LocationFile::Utf8(query));
            // GetSectionLocs appends to what the list holds.
            std::vector<CString> expanded{L"kept"};
            EXPECT_TRUE(show.GetSectionLocs(CString(query), expanded));
            Texts want{L"kept"};
            const Texts rules = expected.SectionLocs(query);
            want.insert(want.end(), rules.begin(), rules.end());
            EXPECT_EQ(Wide(expanded), want);
            EXPECT_EQ(show.IsLocShown(CString(query)), expected.IsLocShown(query));
        }
    }

    TempDir folder;
    ReportCapture diagnostics{
        ReportCapture::kDiagnosticsOnly};  // the folder's other files are missing
};

TEST_F(LocationIndexTest, ExpansionFollowsTheRulesOnRandomTables) {
    TextSource source(kSeed);
    ReportCapture reports(ReportCapture::kReportsOnly);
    for (int table = 0; table < kTables; ++table) {
        const LocationFile file = RandomFile(source);
        SCOPED_TRACE("seed " + std::to_string(kSeed) + ", table " + std::to_string(table) + ":\n" +
                     file.Xml());
        folder.Write("PropertyLocShow.xml", file.Xml());
        auto cfg = std::make_unique<CPropShowCfg>();
        cfg->LoadShowCfg(folder.WFolder());
        const Sections sections = file.Selection();
        const std::vector<std::wstring> queries = Queries(source, file);
        {
            SCOPED_TRACE("loaded");
            ExpectExpansions(*cfg, file.defined, sections, queries);
        }

        // Defining and removing locations leaves the shown list and the answers as they were.
        cfg->AddDefineLoc(CString(source.Text()));
        cfg->RemoveDefineLocs({CString(source.Pick(queries))});
        {
            SCOPED_TRACE("after AddDefineLoc and RemoveDefineLocs");
            ExpectExpansions(*cfg, file.defined, sections, queries);
        }

        // A copy answers alike, and keeps answering alike when the original's list changes.
        CPropShowCfg copy(*cfg);
        Texts shown;
        for (size_t i = 0, n = source.Below(20); i < n; ++i) {
            shown.push_back(source.OneIn(2) ? source.Text() : source.Pick(queries));
        }
        std::vector<CString> newList;
        for (const std::wstring& loc : shown) newList.emplace_back(loc);
        cfg->SetShowLocs(newList);
        {
            SCOPED_TRACE("after SetShowLocs");
            ExpectExpansions(*cfg, shown, sections, queries);
        }
        {
            SCOPED_TRACE("copy taken before SetShowLocs");
            ExpectExpansions(copy, file.defined, sections, queries);
        }
        {
            SCOPED_TRACE("copy taken after SetShowLocs");
            CPropShowCfg copied(*cfg);
            ExpectExpansions(copied, shown, sections, queries);
        }

        // A second load shows every defined location again and keeps the first entry of a key.
        const LocationFile second = RandomFile(source);
        folder.Write("PropertyLocShow.xml", second.Xml());
        cfg->LoadShowCfg(folder.WFolder());
        std::vector<CString> defined;
        cfg->GetDefineLocs(defined);
        Sections merged = sections;
        for (const auto& [key, texts] : second.Selection()) merged.emplace(key, texts);
        std::vector<std::wstring> moreQueries = Queries(source, second);
        moreQueries.insert(moreQueries.end(), queries.begin(), queries.end());
        {
            SCOPED_TRACE("second load:\n" + second.Xml());
            ExpectExpansions(*cfg, Wide(defined), merged, moreQueries);
        }
        ASSERT_EQ(reports.Count(), 0);
        if (HasFailure()) break;  // one table's failures are enough to read
    }
}

TEST_F(LocationIndexTest, CollectingSkipsLocationsThatBeginWithTheText) {
    // The text must occur first at index 1: a location that also begins with it is skipped.
    // That happens only for a text of one repeated character.
    const std::vector<std::wstring> shown{L"ba",    L"aa",     L"aab",  L"bab",    L"aaa",
                                          L"baa",   L"baab",   L"xab",  L"a\\b",   L"\\\\x",
                                          L"x\\\\", L"\\a\\b", L"\\aa", L"\\ab\\c"};
    const struct {
        const wchar_t* text;
        Texts collected;
    } cases[] = {
        {L"a", {L"ba", L"bab", L"baa", L"baab", L"xab", L"\\a\\b", L"\\aa", L"\\ab\\c"}},
        {L"aa", {L"baa", L"baab", L"\\aa"}},
        {L"ab", {L"aab", L"bab", L"xab", L"\\ab\\c"}},
        {L"\\", {L"a\\b", L"x\\\\"}},
        {L"\\\\", {L"x\\\\"}},
        {L"aab", {L"baab"}},
        {L"c", {}},
    };
    LocationFile file;
    for (const std::wstring& loc : shown) file.defined.push_back(loc);
    for (const auto& c : cases) file.entries.push_back({std::wstring(L"k") + c.text, {c.text}});
    ReportCapture reports(ReportCapture::kReportsOnly);
    folder.Write("PropertyLocShow.xml", file.Xml());
    CPropShowCfg cfg;
    cfg.LoadShowCfg(folder.WFolder());
    for (const auto& c : cases) {
        SCOPED_TRACE(LocationFile::Utf8(c.text));
        std::vector<CString> expanded;
        cfg.GetSectionLocs(CString(std::wstring(L"k") + c.text), expanded);
        EXPECT_EQ(Wide(expanded), c.collected);
        EXPECT_EQ(cfg.IsLocShown(CString(std::wstring(L"k") + c.text)), !c.collected.empty());
    }
    EXPECT_EQ(reports.Count(), 0);
}

}  // namespace
}  // namespace CONFIG
