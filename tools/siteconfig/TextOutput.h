// The command's text output: a JSON value written as block-style YAML that any YAML reader
// (1.1 or 1.2) parses back to the same value. Strings stay strings: a text that a reader would
// take for a number, a boolean or null is quoted, as is any text that a plain scalar cannot
// hold; multi-line texts are block scalars where one holds them exactly.
#pragma once

#include <ostream>

#include <nlohmann/json.hpp>

namespace sctool {

void WriteText(std::ostream& out, const nlohmann::ordered_json& value);

// A command's answer on standard output: JSON when `json`, else the YAML of WriteText.
void Emit(const nlohmann::ordered_json& value, bool json);

}  // namespace sctool
