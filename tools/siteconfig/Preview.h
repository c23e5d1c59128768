// A self-contained HTML page that draws an edit view as the application's property grid.
#pragma once

#include <map>
#include <string>

#include <nlohmann/json.hpp>

namespace sctool {

struct PreviewInput {
    std::string typeAndSection;
    std::string loc;
    std::string viewLabel;                      // which view was chosen, in words
    nlohmann::ordered_json view;                // DescribeView, with "container" (object or null)
    std::map<std::string, std::string> values;  // parameter name -> value shown in the grid
};

// XHTML-compatible markup: every element closed, every attribute quoted, no scripts and no
// outside resources. Each top-level item is one row of class "item".
std::string RenderPreview(const PreviewInput& input);

}  // namespace sctool
