// Where the records of the tables were read. Loading keeps, beside each record, the file and
// the offset of its element in the decoded text: a few bytes and no work while loading. Lines
// and columns are counted only when a tool asks, by reading those files once more.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include <siteconfig/CString.h>
#include <siteconfig/SiteConfigTables.h>

namespace TOOLS {
class CSourceLines;
class IXMLTree;
}  // namespace TOOLS

namespace CONFIG {

struct SourceRef {
    static constexpr std::uint32_t kNoFile = 0xFFFFFFFFu;
    std::uint32_t file = kNoFile;  // index into the owner's CSourceFiles
    std::uint32_t offset = 0;      // of the element's tag name; 0 when unknown

    // `offset` as IXMLTree::GetElementOffset gives it.
    static SourceRef Make(std::uint32_t file, size_t offset) {
        return {file, offset > 0xFFFFFFFFu ? 0u : static_cast<std::uint32_t>(offset)};
    }
};

// The files a table holder read, each once.
class CSourceFiles {
public:
    // The index of `path`. Records come in runs from one file, so only the last path is
    // compared; a path met again after another gets a second index, which is harmless.
    std::uint32_t Index(const CString& path);
    // The cursor's element of `tree`, loaded from file `file` of this table.
    SourceRef At(std::uint32_t file, TOOLS::IXMLTree& tree) const;

    const CString& Path(std::uint32_t file) const { return m_paths[file]; }

private:
    std::vector<CString> m_paths;
};

// Turns references into positions, reading each file at most once.
class CSourceResolver {
public:
    explicit CSourceResolver(const CSourceFiles& files);
    ~CSourceResolver();
    CSourceResolver(const CSourceResolver&) = delete;
    CSourceResolver& operator=(const CSourceResolver&) = delete;

    // Empty file for a record that was not read from a file (added through an interface).
    SourcePosition Resolve(SourceRef ref);

    template <typename Key>
    std::map<Key, SourcePosition> Resolve(const std::map<Key, SourceRef>& refs) {
        std::map<Key, SourcePosition> positions;
        for (const auto& [key, ref] : refs)
            positions.emplace_hint(positions.end(), key, Resolve(ref));
        return positions;
    }
    std::vector<SourcePosition> Resolve(const std::vector<SourceRef>& refs);

private:
    const CSourceFiles& m_files;
    std::map<std::uint32_t, std::unique_ptr<TOOLS::CSourceLines>> m_lines;  // null: unreadable
};

}  // namespace CONFIG
