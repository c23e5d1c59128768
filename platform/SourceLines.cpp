#include "SourceLines.h"

#include <algorithm>

#include "Encoding.h"
#include "FileSystem.h"

namespace TOOLS {

bool CSourceLines::Load(const CString& path) {
    m_text.clear();
    m_lineStarts.clear();
    FileBytes bytes;
    std::string error;
    std::string converted;
    std::string_view text;
    DocumentEncoding encoding;
    DecodeFailure failure;
    if (!ReadConfigurationFile(path, bytes, error) ||
        !DecodeXmlDocument(std::string_view(bytes.data(), bytes.size()), text, converted, encoding,
                           failure)) {
        return false;
    }
    m_text.assign(text.data(), text.size());
    m_lineStarts.push_back(0);
    for (size_t i = 0; i < m_text.size(); ++i) {
        if (m_text[i] == '\n' ||
            (m_text[i] == '\r' && (i + 1 == m_text.size() || m_text[i + 1] != '\n'))) {
            m_lineStarts.push_back(i + 1);
        }
    }
    return true;
}

bool CSourceLines::Locate(size_t offset, int& line, int& column) const {
    if (m_lineStarts.empty() || offset > m_text.size()) return false;
    const auto next = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    int characters = 0;
    for (size_t i = *(next - 1); i < offset; ++i) {
        if ((static_cast<unsigned char>(m_text[i]) & 0xC0) != 0x80) ++characters;
    }
    line = static_cast<int>(next - m_lineStarts.begin());
    column = characters + 1;
    return true;
}

bool CSourceLines::LocateElement(size_t nameOffset, int& line, int& column) const {
    if (nameOffset < 1 || nameOffset > m_text.size() || m_text[nameOffset - 1] != '<') {
        return false;
    }
    return Locate(nameOffset - 1, line, column);
}

}  // namespace TOOLS
