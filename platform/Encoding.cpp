#include "Encoding.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>
#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif

#include "CodePage.h"
#include "FileSystem.h"

namespace TOOLS {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8CodePoint(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

std::uint64_t LoadWord(const unsigned char* s) {
    std::uint64_t word;
    std::memcpy(&word, s, sizeof word);
    return word;
}

// The number of bytes whose high bit `marks` has set (the other bits clear).
size_t CountMarked(std::uint64_t marks) {
    return static_cast<size_t>(((marks >> 7) * 0x0101010101010101ull) >> 56);
}

// The number of leading ASCII bytes.
size_t AsciiPrefix(const unsigned char* s, size_t length) {
    size_t i = 0;
    while (i + 8 <= length && (LoadWord(s + i) & kHighBits) == 0) i += 8;
    while (i < length && s[i] < 0x80) ++i;
    return i;
}

// The wide code units that well-formed UTF-8 decodes to: one per byte that does not continue a
// sequence, and a second one for a four-byte sequence where wchar_t is 16 bits. Less than or
// equal to what any other text decodes to, before its first ill-formed sequence.
size_t CountWideUnits(const unsigned char* s, size_t length) {
    size_t units = 0;
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        const std::uint64_t word = LoadWord(s + i);
        // 10xxxxxx continues a sequence; 11110xxx begins one of four bytes.
        units += 8 - CountMarked(word & ~(word << 1) & kHighBits);
        if (sizeof(wchar_t) == 2) {
            units += CountMarked(word & (word << 1) & (word << 2) & (word << 3) & kHighBits);
        }
    }
    for (; i < length; ++i) {
        units += (s[i] >> 6) != 2;
        if (sizeof(wchar_t) == 2) units += s[i] >= 0xF0;
    }
    return units;
}

// Writes one code point as wchar_t: a surrogate pair where wchar_t is 16 bits and the code
// point lies beyond the first plane. Returns the code units written.
inline size_t PutCodePoint(char32_t cp, wchar_t* out) {
    if (sizeof(wchar_t) == 2 && cp >= 0x10000) {
        cp -= 0x10000;
        out[0] = static_cast<wchar_t>(0xD800 + (cp >> 10));
        out[1] = static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
        return 2;
    }
    out[0] = static_cast<wchar_t>(cp);
    return 1;
}

bool Continues(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes well-formed UTF-8 into `out`, which has room for CountWideUnits of it. False at the
// first ill-formed sequence, having written only what came before it.
bool DecodeWellFormed(const unsigned char* s, size_t length, wchar_t* out, size_t& written) {
    size_t i = 0;
    size_t n = 0;
    while (i < length) {
        const unsigned char lead = s[i];
        if (lead < 0x80) {
            // ASCII comes in runs: names, numbers, markup between the Chinese texts.
            while (i + 8 <= length && (LoadWord(s + i) & kHighBits) == 0) {
                for (size_t k = 0; k < 8; ++k) out[n + k] = static_cast<wchar_t>(s[i + k]);
                i += 8;
                n += 8;
            }
            while (i < length && s[i] < 0x80) out[n++] = static_cast<wchar_t>(s[i++]);
            continue;
        }
        if ((lead & 0xF0) == 0xE0) {  // most Chinese characters
            if (length - i < 3) return false;
            // A continuation byte is 10xxxxxx: flipping its top bit leaves less than 0x40.
            const unsigned low1 = s[i + 1] ^ 0x80u;
            const unsigned low2 = s[i + 2] ^ 0x80u;
            if ((low1 | low2) >= 0x40) return false;
            const char32_t cp = ((lead & 0x0Fu) << 12) | (low1 << 6) | low2;
            if (cp < 0x800 || cp - 0xD800 < 0x800) return false;  // overlong or a surrogate
            out[n++] = static_cast<wchar_t>(cp);
            i += 3;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            if (length - i < 2 || !Continues(s[i + 1])) return false;
            out[n++] = static_cast<wchar_t>(((lead & 0x1Fu) << 6) | (s[i + 1] & 0x3Fu));
            i += 2;
            continue;
        }
        char32_t cp = 0;
        const size_t sequence = Utf8Sequence(s + i, length - i, cp);
        if (sequence == 0) return false;
        i += sequence;
        n += PutCodePoint(cp, out + n);
    }
    written = n;
    return true;
}

// Any text: each ill-formed sequence becomes U+FFFD, byte by byte.
CString DecodeReplacing(const unsigned char* bytes, size_t length) {
    // Each sequence gives at most as many code units as it has bytes (a surrogate pair where
    // wchar_t is 16 bits comes from four bytes).
    CString result;
    wchar_t* out = result.GetBufferSetLength(static_cast<int>(length));
    size_t i = 0;
    size_t n = 0;
    while (i < length) {
        char32_t cp = 0;
        size_t sequence = Utf8Sequence(bytes + i, length - i, cp);
        if (sequence == 0) {
            cp = kReplacement;
            sequence = 1;
        }
        i += sequence;
        n += PutCodePoint(cp, out + n);
    }
    result.ReleaseBuffer(static_cast<int>(n));
    // Rare enough to copy: kept tight like the rest.
    if (2 * n < length) return CString(result.GetString(), static_cast<int>(n));
    return result;
}

void FailAt(const std::string& decoded, const char* message, DecodeFailure& failure) {
    failure.message = message;
    LineAndColumnAt(decoded.data(), decoded.size(), decoded.size(), failure.line, failure.column);
}

// The bytes of `word` that are not ASCII or are NUL, each marked by its high bit. Only the
// lowest mark is exact (a NUL can mark the byte above it too), which is the one used.
std::uint64_t NotAsciiOrNul(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    return (word | ((word - kOnes) & ~word)) & kHighBits;
}

// The index of the first byte (in memory order) that `marks`, not 0, marks.
size_t FirstMarked(std::uint64_t marks) {
#if defined(_MSC_VER) && !defined(__clang__)
    unsigned long bit = 0;
    _BitScanForward64(&bit, marks);
    return bit / 8;
#elif defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return static_cast<size_t>(__builtin_clzll(marks)) / 8;
#else
    return static_cast<size_t>(__builtin_ctzll(marks)) / 8;
#endif
}

// Whether the three bytes at `s` are a well-formed three-byte sequence (most Chinese
// characters): a continuation byte is 10xxxxxx, so flipping its top bit leaves less than 0x40.
bool ThreeByteSequence(const unsigned char* s) {
    const unsigned low1 = s[1] ^ 0x80u;
    const unsigned low2 = s[2] ^ 0x80u;
    const char32_t cp = ((s[0] & 0x0Fu) << 12) | (low1 << 6) | low2;
    return (s[0] & 0xF0) == 0xE0 && (low1 | low2) < 0x40 && cp >= 0x800 && cp - 0xD800 >= 0x800;
}

// Checks that `text` from `start` on is UTF-8 without U+0000.
bool ValidateUtf8(std::string_view text, size_t start, DecodeFailure& failure) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    size_t i = start;
    while (i < size) {
        // ASCII without NUL, most of every file, eight bytes at a time; the word that holds
        // anything else says where it is.
        bool other = false;
        while (i + 8 <= size) {
            const std::uint64_t marks = NotAsciiOrNul(LoadWord(bytes + i));
            if (marks != 0) {
                i += FirstMarked(marks);
                other = true;
                break;
            }
            i += 8;
        }
        if (!other) {
            while (i < size && bytes[i] - 1u < 0x7Fu) ++i;
            if (i >= size) break;
        }
        // Chinese texts are runs of three-byte characters.
        while (size - i >= 3 && ThreeByteSequence(bytes + i)) i += 3;
        if (i >= size) break;
        const unsigned char b = bytes[i];
        if (b - 1u < 0x7Fu) continue;
        char32_t cp = 0;
        const size_t length = b == 0 ? 0 : Utf8Sequence(bytes + i, size - i, cp);
        if (length == 0) {
            failure.message = b == 0 ? "NUL character" : "invalid UTF-8";
            LineAndColumnAt(text.data() + start, size - start, i - start, failure.line,
                            failure.column);
            return false;
        }
        i += length;
    }
    return true;
}

bool DecodeUtf16(std::string_view bytes, size_t start, bool bigEndian, std::string& out,
                 DecodeFailure& failure) {
    if ((bytes.size() - start) % 2 != 0) {
        failure.message = "UTF-16 text with an odd number of bytes";
        return false;
    }
    out.clear();
    out.reserve(bytes.size() - start);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    auto unitAt = [&](size_t i) -> char32_t {
        return bigEndian ? (char32_t(p[i]) << 8) | p[i + 1] : (char32_t(p[i + 1]) << 8) | p[i];
    };
    for (size_t i = start; i < bytes.size(); i += 2) {
        char32_t cp = unitAt(i);
        if (cp == 0) {
            FailAt(out, "NUL character", failure);
            return false;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            const char32_t low = i + 2 < bytes.size() ? unitAt(i + 2) : 0;
            if (low < 0xDC00 || low > 0xDFFF) {
                FailAt(out, "unpaired UTF-16 surrogate", failure);
                return false;
            }
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            FailAt(out, "unpaired UTF-16 surrogate", failure);
            return false;
        }
        AppendUtf8CodePoint(cp, out);
    }
    return true;
}

void AppendUtf16(const std::string& utf8, bool bigEndian, std::string& out) {
    out.reserve(out.size() + utf8.size() * 2);
    auto unit = [&](char32_t u) {
        const char hi = static_cast<char>(u >> 8);
        const char lo = static_cast<char>(u & 0xFF);
        if (bigEndian) {
            out += hi;
            out += lo;
        } else {
            out += lo;
            out += hi;
        }
    };
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        const size_t length = Utf8Sequence(p + i, utf8.size() - i, cp);
        if (length == 0) {
            cp = kReplacement;
            i += 1;
        } else {
            i += length;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(0xD800 + (cp >> 10));
            unit(0xDC00 + (cp & 0x3FF));
        } else {
            unit(cp);
        }
    }
}

std::string AsciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The encoding name of a leading XML declaration ("<?xml ... encoding='GBK' ?>"), or empty.
std::string DeclaredEncoding(std::string_view text) {
    const size_t end = XmlDeclarationLength(text);
    size_t pos = 5;
    while (end > 0 && (pos = text.find("encoding", pos)) != std::string::npos && pos < end) {
        const bool separate = IsXmlSpace(text[pos - 1]);
        pos += 8;
        if (!separate) continue;
        while (pos < end && IsXmlSpace(text[pos])) ++pos;
        if (pos >= end || text[pos] != '=') continue;
        ++pos;
        while (pos < end && IsXmlSpace(text[pos])) ++pos;
        if (pos >= end || (text[pos] != '"' && text[pos] != '\'')) continue;
        const size_t close = text.find(text[pos], pos + 1);
        if (close == std::string::npos || close > end) return {};
        return std::string(text.substr(pos + 1, close - pos - 1));
    }
    return {};
}

bool DecodeLegacy(std::string_view bytes, TextEncoding encoding, std::string& out,
                  DecodeFailure& failure) {
    out.clear();
    out.reserve(bytes.size() + bytes.size() / 2);
    size_t consumed = 0;
    switch (DecodeCodePage(encoding, bytes.data(), bytes.size(), out, consumed)) {
        case CodePageStatus::kUnavailable:
            failure.message = std::string("no converter from ") + CodePageName(encoding);
            return false;
        case CodePageStatus::kStopped:
            FailAt(out,
                   encoding == TextEncoding::kGb18030 ? "invalid GB18030 text" : "invalid GBK text",
                   failure);
            return false;
        case CodePageStatus::kDone:
            break;
    }
    const size_t nul = out.find('\0');
    if (nul != std::string::npos) {
        out.resize(nul);
        FailAt(out, "NUL character", failure);
        return false;
    }
    return true;
}

bool EncodeLegacy(const std::string& utf8, TextEncoding encoding, std::string& out,
                  std::string& error) {
    const char* in = utf8.data();
    size_t inLeft = utf8.size();
    while (inLeft > 0) {
        size_t consumed = 0;
        const CodePageStatus status = EncodeCodePage(encoding, in, inLeft, out, consumed);
        if (status == CodePageStatus::kDone) break;
        if (status == CodePageStatus::kUnavailable) {
            error = std::string("no converter to ") + CodePageName(encoding);
            return false;
        }
        in += consumed;
        inLeft -= consumed;
        // A character this code page has no bytes for: write it as a character reference.
        char32_t cp = 0;
        size_t length = Utf8Sequence(reinterpret_cast<const unsigned char*>(in), inLeft, cp);
        if (length == 0) {
            cp = kReplacement;
            length = 1;
        }
        char reference[16];
        std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(cp));
        out += reference;
        in += length;
        inLeft -= length;
    }
    return true;
}

}  // namespace

size_t Utf8Sequence(const unsigned char* s, size_t available, char32_t& cp) {
    const unsigned char lead = s[0];
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    size_t length;
    char32_t smallest;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1Fu;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0Fu;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07u;
        smallest = 0x10000;
    } else {
        return 0;
    }
    if (available < length) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((s[k] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (s[k] & 0x3Fu);
    }
    if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

void AppendUtf8(const wchar_t* text, size_t length, std::string& out) {
    for (size_t i = 0; i < length; ++i) {
        char32_t cp = static_cast<char32_t>(text[i]);
        if (sizeof(wchar_t) == 2) {
            cp &= 0xFFFF;
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < length) {
                const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
        AppendUtf8CodePoint(cp, out);
    }
}

CString WideFromUtf8(std::string_view utf8) {
    const size_t length = utf8.size();
    if (length == 0) return CString();
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    // Sized exactly before decoding, so that Chinese text (three bytes a character) is neither
    // decoded into a buffer three times too large nor copied to a tight one after. ASCII text
    // needs no count.
    const size_t ascii = AsciiPrefix(bytes, length);
    const size_t units =
        ascii == length ? length : ascii + CountWideUnits(bytes + ascii, length - ascii);
    CString result;
    wchar_t* out = result.GetBufferSetLength(static_cast<int>(units));
    for (size_t i = 0; i < ascii; ++i) out[i] = static_cast<wchar_t>(bytes[i]);
    size_t written = 0;
    if (ascii < length && !DecodeWellFormed(bytes + ascii, length - ascii, out + ascii, written)) {
        return DecodeReplacing(bytes, length);
    }
    result.ReleaseBuffer(static_cast<int>(ascii + written));
    return result;
}

std::string Utf8FromWide(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    AppendUtf8(text.data(), text.size(), out);
    return out;
}

size_t XmlDeclarationLength(std::string_view text) {
    // A declaration is short; a missing "?>" must not make the search read the whole file.
    constexpr size_t kLongestDeclaration = 1024;
    if (text.size() < 6 || text.compare(0, 5, "<?xml") != 0 || !IsXmlSpace(text[5])) return 0;
    const size_t end = text.find("?>", 5);
    if (end == std::string::npos || end > kLongestDeclaration) return 0;
    return end + 2;
}

void LineAndColumnAt(const char* text, size_t size, size_t offset, int& line, int& column) {
    line = 1;
    column = 1;
    const size_t end = offset < size ? offset : size;
    for (size_t i = 0; i < end; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++line;
            column = 1;
        } else if (c == '\r' && !(i + 1 < size && text[i + 1] == '\n')) {
            ++line;
            column = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++column;  // a CR before LF counts as a character of its line
        }
    }
}

bool DecodeXmlDocument(std::string_view bytes, std::string_view& text, std::string& converted,
                       DocumentEncoding& encoding, DecodeFailure& failure) {
    encoding = DocumentEncoding();
    failure = DecodeFailure();
    converted.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = bytes.size();

    if (size >= 4 && ((p[0] == 0xFF && p[1] == 0xFE && p[2] == 0 && p[3] == 0) ||
                      (p[0] == 0 && p[1] == 0 && p[2] == 0xFE && p[3] == 0xFF))) {
        failure.message = "unsupported encoding \"UTF-32\"";
        return false;
    }
    if (size >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        encoding.byteOrderMark = true;
        if (!ValidateUtf8(bytes, 3, failure)) return false;
        text = bytes.substr(3);
        return true;
    }
    const bool little = size >= 2 && p[0] == 0xFF && p[1] == 0xFE;
    const bool big = size >= 2 && p[0] == 0xFE && p[1] == 0xFF;
    // Without a byte order mark, UTF-16 still shows in the "<?" that opens the declaration.
    const bool littleBare =
        !little && size >= 4 && p[0] == '<' && p[1] == 0 && p[2] == '?' && p[3] == 0;
    const bool bigBare = !big && size >= 4 && p[0] == 0 && p[1] == '<' && p[2] == 0 && p[3] == '?';
    if (little || big || littleBare || bigBare) {
        encoding.encoding = (big || bigBare) ? TextEncoding::kUtf16BE : TextEncoding::kUtf16LE;
        encoding.byteOrderMark = little || big;
        if (!DecodeUtf16(bytes, encoding.byteOrderMark ? 2 : 0, big || bigBare, converted,
                         failure)) {
            return false;
        }
        text = converted;
        return true;
    }

    const std::string declared = AsciiLower(DeclaredEncoding(bytes));
    if (declared == "gb2312" || declared == "gbk") {
        encoding.encoding = TextEncoding::kGbk;
    } else if (declared == "gb18030") {
        encoding.encoding = TextEncoding::kGb18030;
    } else if (!declared.empty() && declared != "utf-8" && declared != "utf8" &&
               declared != "us-ascii" && declared != "ascii" && declared != "utf-16") {
        // ("UTF-16" declared over single-byte text is a common slip; the text is read as
        // UTF-8, which it must then be.)
        failure.message = "unsupported encoding \"" + DeclaredEncoding(bytes) + "\"";
        return false;
    }
    if (encoding.encoding == TextEncoding::kUtf8) {
        if (!ValidateUtf8(bytes, 0, failure)) return false;
        text = bytes;
        return true;
    }
    if (!DecodeLegacy(bytes, encoding.encoding, converted, failure)) return false;
    text = converted;
    return true;
}

bool DecodeXmlDocument(std::string& text, DocumentEncoding& encoding, DecodeFailure& failure) {
    std::string converted;
    std::string_view utf8;
    if (!DecodeXmlDocument(text, utf8, converted, encoding, failure)) return false;
    if (utf8.data() == converted.data()) {
        text.swap(converted);
    } else {
        text.erase(0, static_cast<size_t>(utf8.data() - text.data()));
    }
    return true;
}

bool EncodeXmlDocument(const std::string& utf8, const DocumentEncoding& encoding,
                       std::string& bytes, std::string& error) {
    bytes.clear();
    switch (encoding.encoding) {
        case TextEncoding::kUtf8:
            if (encoding.byteOrderMark) bytes = "\xEF\xBB\xBF";
            bytes += utf8;
            return true;
        case TextEncoding::kUtf16LE:
        case TextEncoding::kUtf16BE: {
            const bool big = encoding.encoding == TextEncoding::kUtf16BE;
            if (encoding.byteOrderMark) bytes = big ? "\xFE\xFF" : "\xFF\xFE";
            AppendUtf16(utf8, big, bytes);
            return true;
        }
        case TextEncoding::kGbk:
        case TextEncoding::kGb18030:
            return EncodeLegacy(utf8, encoding.encoding, bytes, error);
    }
    error = "unknown encoding";
    return false;
}

}  // namespace TOOLS
