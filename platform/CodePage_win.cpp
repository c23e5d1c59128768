#include <windows.h>

#include <string>
#include <vector>

#include "CodePage.h"

namespace TOOLS {
namespace {

// The Windows code page of each legacy encoding: 936 (GBK), 54936 (GB18030).
UINT WindowsCodePage(TextEncoding codePage) {
    return codePage == TextEncoding::kGb18030 ? 54936 : 936;
}

// Conversions run a chunk at a time: one call for a chunk that converts, one call per character
// only inside the chunk that holds the fault, so a long text costs linear time either way.
constexpr size_t kChunk = 4096;

// Length of the GBK/GB18030 character that starts at `p`, from its byte pattern alone: one byte
// below 0x80, four when the second byte is a digit (GB18030's four-byte form), two otherwise.
size_t LegacyCharLength(const unsigned char* p, size_t available) {
    if (p[0] < 0x80) return 1;
    if (available >= 2 && p[1] >= 0x30 && p[1] <= 0x39) return 4;
    return 2;
}

// Decodes [bytes, bytes + size), which holds whole characters; false when any is invalid.
bool DecodeWhole(UINT codePage, const char* bytes, size_t size, std::wstring& wide) {
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
    const unsigned char lead = s[0];
    size_t length;
    char32_t cp;
    char32_t smallest;
    if (lead < 0x80) {
        wide += static_cast<wchar_t>(lead);
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
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
    if (cp >= 0x10000) {
        cp -= 0x10000;
        wide += static_cast<wchar_t>(0xD800 + (cp >> 10));
        wide += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
        wide += static_cast<wchar_t>(cp);
    }
    return length;
}

bool IsAvailable(UINT codePage) { return IsValidCodePage(codePage) != FALSE; }

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
    while (consumed < size) {
        // The next chunk: whole UTF-8 characters as UTF-16, up to the first invalid sequence.
        wide.clear();
        ends.clear();
        size_t at = consumed;
        while (at < size && ends.size() < kChunk) {
            const size_t length = AppendUtf16Character(p + at, size - at, wide);
            if (length == 0) break;
            at += length;
            ends.push_back(at);
        }
        if (ends.empty()) return CodePageStatus::kStopped;  // not UTF-8 here
        if (EncodeWhole(windowsCodePage, wide.data(), wide.size(), bytes)) {
            consumed = at;
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
