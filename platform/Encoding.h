// Text encodings of XML documents and the UTF-8 <-> wide conversions of the platform layer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace TOOLS {

enum class TextEncoding {
    kUtf8,
    kUtf16LE,
    kUtf16BE,
    kGbk,  // also read for documents declared GB2312, whose bytes GBK extends
    kGb18030,
};

// How a document was encoded, so that it can be written back the same way.
struct DocumentEncoding {
    TextEncoding encoding = TextEncoding::kUtf8;
    bool byteOrderMark = false;
};

// Why a document could not be decoded. `line` and `column` (1-based, the column counted in
// characters) locate the fault when it lies at a place in the text; both are 0 otherwise.
struct DecodeFailure {
    std::string message;
    int line = 0;
    int column = 0;
};

// Converts the bytes of an XML document to UTF-8 in place, without byte order mark, and says
// how they were encoded. The encoding comes from the byte order mark (UTF-8, UTF-16 LE/BE),
// else from the byte pattern of a leading "<?" in UTF-16, else from the encoding named in the
// XML declaration (UTF-8, GB2312, GBK, GB18030; case-insensitive), else UTF-8. Invalid byte
// sequences, U+0000, and unsupported encodings fail: `text` is then unspecified and `failure`
// says why.
bool DecodeXmlDocument(std::string& text, DocumentEncoding& encoding, DecodeFailure& failure);
// The same, leaving UTF-8 bytes where they are: `text` becomes the document's UTF-8 text, either
// a part of `bytes` (past a byte order mark) or, for the other encodings, all of `converted`.
bool DecodeXmlDocument(std::string_view bytes, std::string_view& text, std::string& converted,
                       DocumentEncoding& encoding, DecodeFailure& failure);

// Converts UTF-8 text back to `encoding`, with a byte order mark when it had one. A character
// the legacy code page cannot hold is written as a character reference ("&#x1F600;"), which is
// exact inside attribute values and texts, the only places new characters enter a document.
// False with `error` when the conversion fails.
bool EncodeXmlDocument(const std::string& utf8, const DocumentEncoding& encoding,
                       std::string& bytes, std::string& error);

// Length of the XML declaration ("<?xml ... ?>") that opens `text`, or 0 when none does.
size_t XmlDeclarationLength(std::string_view text);

// Length (1-4) of the well-formed UTF-8 sequence at `s`, its code point in `cp`; 0 when the
// bytes there are not a well-formed sequence (overlong forms and surrogates included).
size_t Utf8Sequence(const unsigned char* s, size_t available, char32_t& cp);

// Appends the UTF-8 form of wide text to `out`; invalid code units become U+FFFD.
void AppendUtf8(const wchar_t* text, size_t length, std::string& out);

// Line and column (1-based; the column counts characters) of `offset` in UTF-8 text. Line ends
// are LF, CR LF or a lone CR.
void LineAndColumnAt(const char* text, size_t size, size_t offset, int& line, int& column);

}  // namespace TOOLS
