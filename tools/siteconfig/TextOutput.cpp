#include "TextOutput.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <string>

namespace sctool {
namespace {

using Json = nlohmann::ordered_json;

// yaml-cpp (0.7, Debian's) was tried first and dropped: it writes "\x01b" as "\x1b", writes DEL
// and U+2028 unescaped, never quotes "yes", "6000" or "null", and its literal blocks always clip
// the final line break and carry no indentation indicator. The rules below are few and the
// command's tests check the output with two YAML parsers.

// Stands for a malformed UTF-8 sequence: no character, so never printable; written as U+FFFD.
constexpr char32_t kMalformed = 0x110000;

// One code point of UTF-8 text at `at`, advancing it; kMalformed for a malformed sequence.
char32_t NextCodePoint(const std::string& text, size_t& at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    size_t length = lead < 0x80           ? 1
                    : (lead >> 5) == 0x6  ? 2
                    : (lead >> 4) == 0xE  ? 3
                    : (lead >> 3) == 0x1E ? 4
                                          : 0;
    if (length == 0 || at + length > text.size()) {
        ++at;
        return kMalformed;
    }
    char32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return kMalformed;
        }
        value = value << 6 | (byte(at + i) & 0x3F);
    }
    at += length;
    const bool overlong = (length == 2 && value < 0x80) || (length == 3 && value < 0x800) ||
                          (length == 4 && value < 0x10000);
    if (overlong || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return kMalformed;
    return value;
}

// What both YAML 1.1 and 1.2 readers accept as it stands in a scalar, line breaks excluded.
bool IsPrintable(char32_t c) {
    return (c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0xD7FF && c != 0x2028 && c != 0x2029) ||
           (c >= 0xE000 && c <= 0xFFFD && c != 0xFEFF) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool AllPrintable(const std::string& text, bool allowLineBreaks) {
    for (size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x20 && byte <= 0x7E) {  // most texts are mostly ASCII
            ++at;
            continue;
        }
        const char32_t c = NextCodePoint(text, at);
        if ((c == '\n' || c == '\t') && allowLineBreaks) continue;
        if (!IsPrintable(c)) return false;
    }
    return true;
}

// Plain texts that a YAML 1.1 or 1.2 reader takes for null, a boolean or a merge key.
bool IsReservedWord(const std::string& text) {
    if (text.empty() || text.size() > 5 || std::strchr("nNyYtTfFoO~<=", text[0]) == nullptr) {
        return false;
    }
    static const char* const kWords[] = {"null", "Null", "NULL", "~",     "y",     "Y",     "yes",
                                         "Yes",  "YES",  "n",    "N",     "no",    "No",    "NO",
                                         "true", "True", "TRUE", "false", "False", "FALSE", "on",
                                         "On",   "ON",   "off",  "Off",   "OFF",   "<<",    "="};
    for (const char* word : kWords) {
        if (text == word) return true;
    }
    return false;
}

bool NeedsQuotes(const std::string& text) {
    if (text.empty() || IsReservedWord(text)) return true;
    const char first = text.front();
    // Indicators, and whatever may start a number, a date or a time: "+1", ".5", "-1", "2024-".
    if (std::strchr("-?:,[]{}#&*!|>'\"%@` \t+.", first) != nullptr) return true;
    if (first >= '0' && first <= '9') return true;
    if (text.back() == ' ' || text.back() == ':') return true;
    if (text.find(": ") != std::string::npos || text.find(" #") != std::string::npos) return true;
    if (text.find('\t') != std::string::npos) return true;
    return !AllPrintable(text, false);
}

// A block scalar holds a text exactly when every character may stand as it is and the first
// line starts with neither a blank nor a line break (the block's indentation comes from it).
bool FitsLiteralBlock(const std::string& text) {
    if (text.find('\n') == std::string::npos) return false;
    const char first = text.front();
    if (first == ' ' || first == '\t' || first == '\n') return false;
    return AllPrintable(text, true);
}

void WriteDoubleQuoted(std::ostream& out, const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    out << '"';
    for (size_t at = 0; at < text.size();) {
        const size_t start = at;
        const char32_t c = NextCodePoint(text, at);
        switch (c) {
            case '"':
                out << "\\\"";
                continue;
            case '\\':
                out << "\\\\";
                continue;
            case '\n':
                out << "\\n";
                continue;
            case '\t':
                out << "\\t";
                continue;
            case '\r':
                out << "\\r";
                continue;
            default:
                break;
        }
        if (IsPrintable(c)) {
            out.write(text.data() + start, static_cast<std::streamsize>(at - start));
            continue;
        }
        if (c == kMalformed) {
            out << "\\uFFFD";
            continue;
        }
        const int digits = c <= 0xFF ? 2 : c <= 0xFFFF ? 4 : 8;
        out << '\\' << (digits == 2 ? 'x' : digits == 4 ? 'u' : 'U');
        for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out << kHex[(c >> shift) & 0xF];
    }
    out << '"';
}

void Indent(std::ostream& out, int columns) {
    static const std::string kSpaces(64, ' ');
    for (int left = columns; left > 0; left -= static_cast<int>(kSpaces.size())) {
        out.write(kSpaces.data(), std::min<std::streamsize>(left, kSpaces.size()));
    }
}

void WriteLiteralBlock(std::ostream& out, const std::string& text, int indent) {
    size_t breaks = 0;
    while (breaks < text.size() && text[text.size() - 1 - breaks] == '\n') ++breaks;
    out << (breaks == 0 ? "|-" : breaks == 1 ? "|" : "|+") << '\n';
    const std::string body = text.substr(0, text.size() - breaks);
    size_t begin = 0;
    while (true) {
        const size_t end = body.find('\n', begin);
        const std::string line = body.substr(begin, end - begin);
        if (!line.empty()) {
            Indent(out, indent);
            out << line;
        }
        out << '\n';
        if (end == std::string::npos) break;
        begin = end + 1;
    }
    for (size_t i = 1; i < breaks; ++i) out << '\n';
}

// Writes a text after a "key:" or "-" and a blank; ends the line. `indent`: that of the
// enclosing node's entries, block contents go two further.
void WriteString(std::ostream& out, const std::string& text, int indent) {
    if (FitsLiteralBlock(text)) {
        WriteLiteralBlock(out, text, indent + 2);
    } else if (NeedsQuotes(text)) {
        WriteDoubleQuoted(out, text);
        out << '\n';
    } else {
        out << text << '\n';
    }
}

void WriteKey(std::ostream& out, const std::string& key) {
    // Readers take an implicit key of at most 1024 characters; longer ones are written out.
    if (key.size() > 1000) {
        out << "? ";
        WriteDoubleQuoted(out, key);
        out << "\n:";
        return;
    }
    if (NeedsQuotes(key) || key.find('\n') != std::string::npos) {
        WriteDoubleQuoted(out, key);
    } else {
        out << key;
    }
    out << ':';
}

bool IsLeaf(const Json& value) { return !value.is_structured() || value.empty(); }

void WriteLeaf(std::ostream& out, const Json& value, int indent) {
    if (value.is_string()) return WriteString(out, value.get_ref<const std::string&>(), indent);
    if (value.is_null()) {
        out << "null\n";
    } else if (value.is_array()) {
        out << "[]\n";
    } else if (value.is_object()) {
        out << "{}\n";
    } else {
        out << value.dump() << '\n';
    }
}

void WriteNode(std::ostream& out, const Json& value, int indent);

// The members of an object at `indent`; the first continues the line already begun when
// `continuesLine` (a list entry's "- ").
void WriteMembers(std::ostream& out, const Json& object, int indent, bool continuesLine) {
    bool first = true;
    for (const auto& [key, member] : object.items()) {
        if (!(first && continuesLine)) Indent(out, indent);
        first = false;
        WriteKey(out, key);
        if (IsLeaf(member)) {
            out << ' ';
            WriteLeaf(out, member, indent);
        } else {
            out << '\n';
            WriteNode(out, member, indent + 2);
        }
    }
}

void WriteNode(std::ostream& out, const Json& value, int indent) {
    if (value.is_object() && !value.empty()) return WriteMembers(out, value, indent, false);
    if (!value.is_array() || value.empty()) {
        Indent(out, indent);
        return WriteLeaf(out, value, indent);
    }
    for (const Json& element : value) {
        Indent(out, indent);
        out << '-';
        if (IsLeaf(element)) {
            out << ' ';
            WriteLeaf(out, element, indent);
        } else if (element.is_object()) {
            out << ' ';
            WriteMembers(out, element, indent + 2, true);
        } else {
            out << '\n';
            WriteNode(out, element, indent + 2);
        }
    }
}

}  // namespace

void WriteText(std::ostream& out, const Json& value) { WriteNode(out, value, 0); }

void Emit(const Json& value, bool json) {
    if (json) {
        std::cout << value.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    } else {
        WriteText(std::cout, value);
    }
}

}  // namespace sctool
