// Plain-text output of a JSON value: one "key: value" per line, nested values indented, list
// entries marked "- ". Stable and diff-friendly.
#pragma once

#include <ostream>

#include <nlohmann/json.hpp>

namespace sctool {

void WriteText(std::ostream& out, const nlohmann::ordered_json& value);

}  // namespace sctool
