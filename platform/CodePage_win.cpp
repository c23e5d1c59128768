#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CodePage.h"
#include "Encoding.h"

namespace TOOLS {
namespace {

// The Windows code page of each legacy encoding: 936 (GBK), 54936 (GB18030).
UINT WindowsCodePage(TextEncoding codePage) {
    return codePage == TextEncoding::kGb18030 ? 54936 : 936;
}

// Conversions run a chunk at a time: one call for a chunk that converts, one call per character
// only inside the chunk that holds the fault, so a long text costs linear time either way.
// Encoding starts with small chunks and doubles them while they convert, since a caller that
// meets a character the code page lacks starts again right after it.
constexpr size_t kChunk = 4096;
constexpr size_t kFirstChunk = 32;

// Length of the GBK/GB18030 character that starts at `p`, from its byte pattern alone: one byte
// below 0x80, four when the second byte is a digit (GB18030's four-byte form), two otherwise.
size_t LegacyCharLength(const unsigned char* p, size_t available) {
    if (p[0] < 0x80) return 1;
    if (available >= 2 && p[1] >= 0x30 && p[1] <= 0x39) return 4;
    return 2;
}

// GB18030 where the system lacks code page 54936 (Wine, for one): its one- and two-byte
// characters are GBK's (code page 936), and its four-byte characters count, in order, the
// Unicode characters that the shorter forms leave out, so their table follows from code page 936.
constexpr UINT kGbk = 936;
constexpr UINT kGb18030 = 54936;
constexpr size_t kFourByteBmpCount = 39420;
// Code page 936 gives private-use characters for a few dozen two-byte codes to which GB18030
// gives real characters, the first being U+01F9. From there on the count of characters left to
// the four-byte form differs, so the stand-in knows the four-byte forms of the basic plane
// below U+01F9 only, and refuses the others rather than guess: reading fails with a diagnostic,
// and writing uses a character reference.
constexpr wchar_t kFirstDisagreement = 0x01F9;

// The BMP characters of GB18030's four-byte form, ascending; the index of one is its linear
// four-byte number. Built once, from one conversion of every BMP character to code page 936.
const std::vector<wchar_t>& FourByteBmpCharacters() {
    static const std::vector<wchar_t> table = [] {
        std::wstring all;
        for (wchar_t c = 0x80; c != 0; ++c) {
            if (c < 0xD800 || c > 0xDFFF) all += c;
        }
        std::string bytes(all.size() * 2, '\0');
        const int written = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, all.data(),
                                                static_cast<int>(all.size()), &bytes[0],
                                                static_cast<int>(bytes.size()), "?", nullptr);
        std::vector<wchar_t> fourByte;
        fourByte.reserve(kFourByteBmpCount);
        size_t at = 0;
        for (const wchar_t c : all) {
            if (at >= static_cast<size_t>(written > 0 ? written : 0)) break;
            const auto lead = static_cast<unsigned char>(bytes[at]);
            if (lead >= 0x81) {
                at += 2;  // a two-byte character
            } else {
                if (lead == '?') fourByte.push_back(c);  // no GBK bytes for it
                at += 1;
            }
        }
        return fourByte;
    }();
    return table;
}

// The character of a GB18030 four-byte sequence, or 0 when it names none.
char32_t DecodeFourBytes(const unsigned char* p) {
    if (p[1] < 0x30 || p[1] > 0x39 || p[2] < 0x81 || p[2] > 0xFE || p[3] < 0x30 || p[3] > 0x39) {
        return 0;
    }
    const auto linear = [&](unsigned first) {
        return ((static_cast<char32_t>(p[0] - first) * 10 + (p[1] - 0x30)) * 126 + (p[2] - 0x81)) *
                   10 +
               (p[3] - 0x30);
    };
    if (p[0] >= 0x81 && p[0] <= 0x84) {
        const std::vector<wchar_t>& table = FourByteBmpCharacters();
        const char32_t index = linear(0x81);
        return index < table.size() && table[index] < kFirstDisagreement ? table[index] : 0;
    }
    if (p[0] >= 0x90 && p[0] <= 0xE3) {
        const char32_t cp = 0x10000 + linear(0x90);
        return cp <= 0x10FFFF ? cp : 0;
    }
    return 0;
}

void AppendFourBytes(char32_t index, unsigned first, std::string& bytes) {
    char out[4];
    out[3] = static_cast<char>(0x30 + index % 10);
    index /= 10;
    out[2] = static_cast<char>(0x81 + index % 126);
    index /= 126;
    out[1] = static_cast<char>(0x30 + index % 10);
    out[0] = static_cast<char>(first + index / 10);
    bytes.append(out, 4);
}

bool DecodeWhole(UINT codePage, const char* bytes, size_t size, std::wstring& wide);
bool EncodeWhole(UINT codePage, const wchar_t* wide, size_t size, std::string& bytes);

// GB18030 through code page 936 and the four-byte table.
bool DecodeGb18030Fallback(const char* bytes, size_t size, std::wstring& wide) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    size_t run = 0;  // start of the pending one- and two-byte characters
    size_t at = 0;
    while (at < size) {
        const size_t length = LegacyCharLength(p + at, size - at);
        if (length != 4) {
            at += length;
            continue;
        }
        if (at + 4 > size) return false;
        if (at > run && !DecodeWhole(kGbk, bytes + run, at - run, wide)) return false;
        const char32_t cp = DecodeFourBytes(p + at);
        if (cp == 0) return false;
        if (cp >= 0x10000) {
            wide += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(cp);
        }
        at += 4;
        run = at;
    }
    return at == run || DecodeWhole(kGbk, bytes + run, at - run, wide);
}

bool EncodeGb18030Fallback(const wchar_t* wide, size_t size, std::string& bytes) {
    const std::vector<wchar_t>& table = FourByteBmpCharacters();
    const size_t used = bytes.size();
    size_t run = 0;  // start of the pending characters that GBK holds
    for (size_t i = 0; i < size; ++i) {
        const wchar_t c = wide[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < size && wide[i + 1] >= 0xDC00 &&
                          wide[i + 1] <= 0xDFFF;
        const auto found = std::lower_bound(table.begin(), table.end(), c);
        const bool fourByte =
            c >= 0x80 && c < kFirstDisagreement && found != table.end() && *found == c;
        if (!pair && !fourByte) continue;
        if (i > run && !EncodeWhole(kGbk, wide + run, i - run, bytes)) {
            bytes.resize(used);
            return false;
        }
        if (pair) {
            const char32_t cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                                (static_cast<char32_t>(wide[i + 1]) - 0xDC00);
            AppendFourBytes(cp - 0x10000, 0x90, bytes);
            ++i;
        } else {
            AppendFourBytes(static_cast<char32_t>(found - table.begin()), 0x81, bytes);
        }
        run = i + 1;
    }
    if (size > run && !EncodeWhole(kGbk, wide + run, size - run, bytes)) {
        bytes.resize(used);
        return false;
    }
    return true;
}

// Decodes [bytes, bytes + size), which holds whole characters; false when any is invalid.
bool DecodeWhole(UINT codePage, const char* bytes, size_t size, std::wstring& wide) {
    if (codePage == kGb18030 && !IsValidCodePage(kGb18030)) {
        return DecodeGb18030Fallback(bytes, size, wide);
    }
    const int length = static_cast<int>(size);
    const int needed =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
    if (needed <= 0) return false;
    const size_t used = wide.size();
    wide.resize(used + static_cast<size_t>(needed));
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, &wide[used],
                               needed) == needed;
}

// Encodes UTF-16 text; false when any character has no bytes in the code page.
bool EncodeWhole(UINT codePage, const wchar_t* wide, size_t size, std::string& bytes) {
    if (codePage == kGb18030 && !IsValidCodePage(kGb18030)) {
        return EncodeGb18030Fallback(wide, size, bytes);
    }
    const int length = static_cast<int>(size);
    // Code page 54936 takes no flags and no default character: it holds every character.
    const bool gb18030 = codePage == 54936;
    const DWORD flags = gb18030 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = gb18030 ? nullptr : &usedDefault;
    const int needed =
        WideCharToMultiByte(codePage, flags, wide, length, nullptr, 0, nullptr, usedDefaultOut);
    if (needed <= 0 || usedDefault) return false;
    const size_t used = bytes.size();
    bytes.resize(used + static_cast<size_t>(needed));
    const int written = WideCharToMultiByte(codePage, flags, wide, length, &bytes[used], needed,
                                            nullptr, usedDefaultOut);
    if (written != needed || usedDefault) {
        bytes.resize(used);
        return false;
    }
    return true;
}

// Appends the UTF-16 form of the well-formed UTF-8 character at `s` and returns its length in
// bytes; 0 (appending nothing) when the bytes there are not a well-formed character.
size_t AppendUtf16Character(const unsigned char* s, size_t available, std::wstring& wide) {
    char32_t cp = 0;
    const size_t length = Utf8Sequence(s, available, cp);
    if (length == 0) return 0;
    if (cp >= 0x10000) {
        cp -= 0x10000;
        wide += static_cast<wchar_t>(0xD800 + (cp >> 10));
        wide += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
        wide += static_cast<wchar_t>(cp);
    }
    return length;
}

bool IsAvailable(UINT codePage) {
    // GB18030 needs code page 54936, or GBK's to build it from.
    return IsValidCodePage(codePage) || (codePage == kGb18030 && IsValidCodePage(kGbk));
}

}  // namespace

const char* CodePageName(TextEncoding codePage) {
    return codePage == TextEncoding::kGb18030 ? "GB18030" : "GBK";
}

CodePageStatus DecodeCodePage(TextEncoding codePage, const char* bytes, size_t size,
                              std::string& utf8, size_t& consumed) {
    consumed = 0;
    const UINT windowsCodePage = WindowsCodePage(codePage);
    if (!IsAvailable(windowsCodePage)) return CodePageStatus::kUnavailable;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    std::wstring wide;
    while (consumed < size) {
        // The next chunk: whole characters, up to about kChunk bytes.
        size_t end = consumed;
        while (end < size && end - consumed < kChunk) {
            const size_t length = LegacyCharLength(p + end, size - end);
            if (end + length > size) break;  // the text ends inside this character
            end += length;
        }
        wide.clear();
        if (end > consumed &&
            DecodeWhole(windowsCodePage, bytes + consumed, end - consumed, wide)) {
            AppendUtf8(wide.data(), wide.size(), utf8);
            consumed = end;
            continue;
        }
        // The chunk holds a fault: convert up to it, one character at a time.
        while (consumed < size) {
            const size_t length = LegacyCharLength(p + consumed, size - consumed);
            wide.clear();
            if (consumed + length > size ||
                !DecodeWhole(windowsCodePage, bytes + consumed, length, wide)) {
                return CodePageStatus::kStopped;
            }
            AppendUtf8(wide.data(), wide.size(), utf8);
            consumed += length;
        }
    }
    return CodePageStatus::kDone;
}

CodePageStatus EncodeCodePage(TextEncoding codePage, const char* utf8, size_t size,
                              std::string& bytes, size_t& consumed) {
    consumed = 0;
    const UINT windowsCodePage = WindowsCodePage(codePage);
    if (!IsAvailable(windowsCodePage)) return CodePageStatus::kUnavailable;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    std::wstring wide;
    std::vector<size_t> ends;  // where each character of the chunk ends in `utf8`
    size_t chunk = kFirstChunk;
    while (consumed < size) {
        // The next chunk: whole UTF-8 characters as UTF-16, up to the first invalid sequence.
        wide.clear();
        ends.clear();
        size_t at = consumed;
        while (at < size && ends.size() < chunk) {
            const size_t length = AppendUtf16Character(p + at, size - at, wide);
            if (length == 0) break;
            at += length;
            ends.push_back(at);
        }
        if (ends.empty()) return CodePageStatus::kStopped;  // not UTF-8 here
        if (EncodeWhole(windowsCodePage, wide.data(), wide.size(), bytes)) {
            consumed = at;
            chunk = std::min(chunk * 2, kChunk);
            continue;
        }
        // The chunk holds a character the code page lacks: encode up to it, one at a time.
        size_t unit = 0;
        for (const size_t end : ends) {
            const size_t units = p[consumed] >= 0xF0 ? 2 : 1;
            if (!EncodeWhole(windowsCodePage, wide.data() + unit, units, bytes)) {
                return CodePageStatus::kStopped;
            }
            unit += units;
            consumed = end;
        }
    }
    return CodePageStatus::kDone;
}

}  // namespace TOOLS
