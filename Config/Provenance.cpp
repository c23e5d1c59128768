#include "Provenance.h"

#include "SourceLines.h"
#include "XMLTree.h"

namespace CONFIG {

std::uint32_t CSourceFiles::Index(const CString& path) {
    if (m_paths.empty() || m_paths.back() != path) m_paths.push_back(path);
    return static_cast<std::uint32_t>(m_paths.size() - 1);
}

SourceRef CSourceFiles::At(std::uint32_t file, TOOLS::IXMLTree& tree) const {
    return SourceRef::Make(file, tree.GetElementOffset());
}

CSourceResolver::CSourceResolver(const CSourceFiles& files) : m_files(files) {}

CSourceResolver::~CSourceResolver() = default;

SourcePosition CSourceResolver::Resolve(SourceRef ref) {
    SourcePosition position;
    if (ref.file == SourceRef::kNoFile) return position;
    position.file = m_files.Path(ref.file);
    auto [entry, added] = m_lines.try_emplace(ref.file);
    if (added) {
        auto lines = std::make_unique<TOOLS::CSourceLines>();
        if (lines->Load(position.file)) entry->second = std::move(lines);
    }
    if (entry->second &&
        !entry->second->LocateElement(ref.offset, position.line, position.column)) {
        position.line = position.column = 0;
    }
    return position;
}

std::vector<SourcePosition> CSourceResolver::Resolve(const std::vector<SourceRef>& refs) {
    std::vector<SourcePosition> positions;
    positions.reserve(refs.size());
    for (const SourceRef& ref : refs) positions.push_back(Resolve(ref));
    return positions;
}

}  // namespace CONFIG
