// Conversions between the legacy Chinese code pages and UTF-8, one implementation per host
// (iconv on POSIX, the code-page functions of the Windows API on Windows).
#pragma once

#include <cstddef>
#include <string>

#include "Encoding.h"

namespace TOOLS {

enum class CodePageStatus {
    kDone,         // all of the input was converted
    kStopped,      // conversion stopped at input it cannot convert; `consumed` says where
    kUnavailable,  // this host has no converter for the code page
};

// The code page's name for messages: "GBK" or "GB18030".
const char* CodePageName(TextEncoding codePage);

// Appends the UTF-8 form of `bytes` (GBK or GB18030) to `utf8`. `consumed` is the count of input
// bytes converted; on kStopped the bytes from there on are invalid or end inside a character.
CodePageStatus DecodeCodePage(TextEncoding codePage, const char* bytes, size_t size,
                              std::string& utf8, size_t& consumed);

// Appends the bytes of UTF-8 text in `codePage` to `bytes`. `consumed` is the count of input
// bytes converted; on kStopped the character from there on has no bytes in the code page (or
// the input is not UTF-8 there).
CodePageStatus EncodeCodePage(TextEncoding codePage, const char* utf8, size_t size,
                              std::string& bytes, size_t& consumed);

}  // namespace TOOLS
