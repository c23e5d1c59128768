#include "TextOutput.h"

#include <string>

namespace sctool {
namespace {

using Json = nlohmann::ordered_json;

bool IsLeaf(const Json& value) { return !value.is_structured() || value.empty(); }

std::string Scalar(const Json& value) {
    if (value.is_string()) {
        const std::string& text = value.get_ref<const std::string&>();
        return text.empty() ? "\"\"" : text;
    }
    if (value.is_null()) return "(none)";
    if (value.is_array()) return "[]";
    if (value.is_object()) return "{}";
    return value.dump();
}

void WriteValue(std::ostream& out, const Json& value, int indent);

// Writes the members of an object; the first one continues the line `firstPrefix` began.
void WriteMembers(std::ostream& out, const Json& object, int indent, bool continuesLine) {
    bool first = true;
    for (const auto& [key, member] : object.items()) {
        if (!(first && continuesLine)) out << std::string(static_cast<size_t>(indent), ' ');
        first = false;
        out << key << ':';
        if (IsLeaf(member)) {
            out << ' ' << Scalar(member) << '\n';
        } else {
            out << '\n';
            WriteValue(out, member, indent + 2);
        }
    }
}

void WriteValue(std::ostream& out, const Json& value, int indent) {
    const std::string pad(static_cast<size_t>(indent), ' ');
    if (value.is_object()) {
        WriteMembers(out, value, indent, false);
    } else if (value.is_array()) {
        for (const Json& element : value) {
            out << pad << '-';
            if (IsLeaf(element)) {
                out << ' ' << Scalar(element) << '\n';
            } else if (element.is_object()) {
                out << ' ';
                WriteMembers(out, element, indent + 2, true);
            } else {
                out << '\n';
                WriteValue(out, element, indent + 2);
            }
        }
    } else {
        out << pad << Scalar(value) << '\n';
    }
}

}  // namespace

void WriteText(std::ostream& out, const Json& value) { WriteValue(out, value, 0); }

}  // namespace sctool
