// Lines and columns of a configuration file, for offsets into the text its document was parsed
// from. Parsing in place cuts names short and moves text over resolved references, so the
// parsed buffer no longer tells where lines end: the file is read and decoded once more.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <siteconfig/CString.h>

namespace TOOLS {

class CSourceLines {
public:
    // Reads `path` and decodes it as a document is decoded for parsing. False when the file
    // cannot be read or decoded now.
    bool Load(const CString& path);

    // The decoded text (UTF-8) as it was before parsing.
    const std::string& Text() const { return m_text; }

    // Line and column (both 1-based, the column counted in characters) of byte `offset` of the
    // text. Lines end at LF, CR LF or a lone CR. False, both untouched, past the end.
    bool Locate(size_t offset, int& line, int& column) const;

    // As Locate, for the offset of an element's tag name: the position of the "<" before it.
    // False also when no "<" stands there, as when the file has changed since it was loaded.
    bool LocateElement(size_t nameOffset, int& line, int& column) const;

private:
    std::string m_text;
    std::vector<size_t> m_lineStarts;
};

}  // namespace TOOLS
