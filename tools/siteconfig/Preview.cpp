#include "Preview.h"

#include <sstream>
#include <vector>

namespace sctool {
namespace {

using Json = nlohmann::ordered_json;

std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Text(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

std::vector<std::string> Split(const std::string& text, char delimiter) {
    std::vector<std::string> pieces;
    std::string piece;
    std::istringstream in(text);
    while (std::getline(in, piece, delimiter)) pieces.push_back(piece);
    return pieces;
}

constexpr const char* kStyle = R"(
body { font: 14px/1.4 "Noto Sans CJK SC", "Microsoft YaHei", "Segoe UI", sans-serif;
       margin: 24px; color: #1f2328; background: #f6f8fa; }
h1 { font-size: 18px; margin: 0 0 4px; }
.meta { color: #57606a; margin: 0 0 16px; }
.meta code { background: #eaeef2; padding: 1px 4px; border-radius: 3px; }
table.grid { border-collapse: collapse; width: 560px; background: #fff;
             border: 1px solid #8c959f; }
.grid td, .grid th { border: 1px solid #d0d7de; padding: 3px 6px; vertical-align: top; }
.group-head th { background: #dde4ee; text-align: left; font-weight: 600; }
.group-head .param { color: #57606a; font-weight: normal; margin-left: 8px; }
td.caption { width: 40%; background: #f6f8fa; }
.caption .var { display: block; color: #8c959f; font-size: 11px; }
.tips { display: block; color: #57606a; font-size: 11px; }
tr.disabled td { color: #8c959f; background: #f0f0f0; }
.tag { display: inline-block; font-size: 11px; background: #ddf4ff; color: #0969da;
       border-radius: 8px; padding: 0 6px; margin: 2px 2px 0 0; }
.badge { font-size: 11px; background: #fff8c5; border-radius: 3px; padding: 0 4px; }
input[type=text], select { width: 95%; }
.switch { margin: 4px 0 0 8px; border-left: 3px solid #d0d7de; padding-left: 6px; }
.switch table.grid { width: 100%; border-color: #d0d7de; }
.switch-title { font-weight: 600; }
table.states { border-collapse: collapse; margin-top: 4px; font-size: 12px; }
.states td, .states th { border: 1px solid #d0d7de; padding: 1px 4px; }
section { margin-top: 18px; }
h2 { font-size: 15px; margin: 0 0 6px; }
)";

class PageWriter {
public:
    explicit PageWriter(const PreviewInput& input) : input_(input) {}

    std::string Render() {
        const std::string title = "属性表预览 / property grid: " + input_.typeAndSection;
        out_ << "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"zh-CN\">\n"
             << "<head>\n<meta charset=\"utf-8\"/>\n<title>" << Escape(title) << "</title>\n"
             << "<style>" << kStyle << "</style>\n</head>\n<body>\n";
        out_ << "<h1>" << Escape(title) << "</h1>\n<p class=\"meta\">位置 / location <code>"
             << Escape(input_.loc) << "</code> · " << Escape(input_.viewLabel) << "</p>\n";
        Grid();
        MarkClasses();
        Container();
        out_ << "</body>\n</html>\n";
        return out_.str();
    }

private:
    void Grid() {
        out_ << "<table class=\"grid\">\n";
        const Json& groups = input_.view.at("groups");
        if (groups.empty()) {
            out_ << "<tbody><tr><td>(no item groups)</td></tr></tbody>\n";
        }
        for (const Json& group : groups) {
            out_ << "<tbody class=\"group\" data-kind=\"" << Escape(Text(group, "kind"))
                 << "\">\n<tr class=\"group-head\"><th colspan=\"2\">"
                 << Escape(Text(group, "kind"));
            if (!Text(group, "param").empty()) {
                out_ << "<span class=\"param\">" << Escape(Text(group, "param")) << "</span>";
            }
            out_ << "</th></tr>\n";
            for (const Json& item : group.at("items")) Row(item, "item");
            out_ << "</tbody>\n";
        }
        out_ << "</table>\n";
    }

    void Row(const Json& item, const char* rowClass) {
        const bool enabled = item.value("enable", true);
        out_ << "<tr class=\"" << rowClass << (enabled ? "" : " disabled") << "\" data-name=\""
             << Escape(Text(item, "name")) << "\">";
        out_ << "<td class=\"caption\"";
        if (!Text(item, "tips").empty()) out_ << " title=\"" << Escape(Text(item, "tips")) << "\"";
        out_ << ">" << Escape(Text(item, "name"));
        if (item.value("canBePrivate", false)) out_ << " <span class=\"badge\">私有</span>";
        if (!Text(item, "variable").empty()) {
            out_ << "<span class=\"var\">" << Escape(Text(item, "variable")) << "</span>";
        }
        out_ << "</td><td class=\"control\">";
        Control(item, enabled);
        if (!Text(item, "tips").empty()) {
            out_ << "<span class=\"tips\">" << Escape(Text(item, "tips")) << "</span>";
        }
        if (item.contains("groups")) {
            for (const Json& name : item.at("groups")) {
                out_ << "<span class=\"tag\">" << Escape(name.get<std::string>()) << "</span>";
            }
        }
        out_ << "</td></tr>\n";
    }

    void Control(const Json& item, bool enabled) {
        const std::string control = Text(item, "control");
        const std::string value = ValueOf(item);
        const std::string disabled = enabled ? "" : " disabled=\"disabled\"";
        const Json options = item.value("options", Json::object());
        const std::string text = Text(options, "text");
        if (options.contains("switches")) {
            Switches(options.at("switches"), enabled);
        } else if (options.contains("assembles")) {
            Assembles(options.at("assembles"));
        } else if (control == "CheckBox") {
            const bool checked = value == "true" || value == "1";
            out_ << "<input type=\"checkbox\"" << (checked ? " checked=\"checked\"" : "")
                 << disabled << "/>";
        } else if (control == "ComboBox" || !text.empty()) {
            out_ << "<select" << disabled << ">";
            bool selected = false;
            for (const std::string& option : Split(text, ';')) {
                const bool match = !selected && option == value;
                selected = selected || match;
                out_ << "<option" << (match ? " selected=\"selected\"" : "") << ">"
                     << Escape(option) << "</option>";
            }
            if (!selected && !value.empty()) {
                out_ << "<option selected=\"selected\">" << Escape(value) << "</option>";
            }
            out_ << "</select>";
        } else if (control == "Static") {
            out_ << "<span class=\"static\">" << Escape(value) << "</span>";
        } else if (control == "ColorPicker" && value.size() == 7 && value[0] == '#') {
            out_ << "<input type=\"color\" value=\"" << Escape(value) << "\"" << disabled << "/>";
        } else {
            out_ << "<input type=\"text\" value=\"" << Escape(value) << "\"" << disabled << "/>";
        }
    }

    void Switches(const Json& switches, bool enabled) {
        const std::string name = "switch" + std::to_string(++switchGroups_);
        bool first = true;
        for (const Json& sw : switches) {
            out_ << "<div class=\"switch\"><label class=\"switch-title\"><input type=\"radio\" "
                    "name=\""
                 << name << "\"" << (first ? " checked=\"checked\"" : "")
                 << (enabled ? "" : " disabled=\"disabled\"") << "/> " << Escape(Text(sw, "title"))
                 << "</label>";
            first = false;
            if (!sw.at("items").empty()) {
                out_ << "<table class=\"grid\">";
                for (const Json& sub : sw.at("items")) Row(sub, "subitem");
                out_ << "</table>";
            }
            out_ << "</div>";
        }
    }

    void Assembles(const Json& assembles) {
        for (const Json& assemble : assembles) {
            out_ << "<div class=\"switch\"><span class=\"switch-title\">"
                 << Escape(Text(assemble, "title")) << "</span> <span class=\"var\">"
                 << Escape(Text(assemble, "param")) << "</span>"
                 << "<table class=\"states\"><tr><th>option</th><th>control</th><th>format</th>"
                 << "<th>enable</th><th>edit</th><th>read-only</th></tr>";
            for (const Json& state : assemble.at("states")) {
                out_ << "<tr><td>" << Escape(Text(state, "option")) << "</td><td>"
                     << Escape(Text(state, "control")) << "</td><td>"
                     << Escape(Text(state, "format")) << "</td><td>"
                     << (state.value("enable", false) ? "✓" : "") << "</td><td>"
                     << (state.value("edit", false) ? "✓" : "") << "</td><td>"
                     << (state.value("readOnly", false) ? "✓" : "") << "</td></tr>";
            }
            out_ << "</table></div>";
        }
    }

    std::string ValueOf(const Json& item) const {
        const auto it = input_.values.find(Text(item, "variable"));
        return it == input_.values.end() ? std::string() : it->second;
    }

    void MarkClasses() {
        out_ << "<section class=\"marks\">\n<h2>标注类 / mark classes</h2>\n<ul>\n";
        for (const auto& [mode, classes] : input_.view.at("markClasses").items()) {
            out_ << "<li>" << Escape(mode) << ":";
            for (const Json& name : classes) {
                out_ << " <span class=\"tag\">" << Escape(name.get<std::string>()) << "</span>";
            }
            out_ << "</li>\n";
        }
        out_ << "</ul>\n</section>\n";
    }

    void Container() {
        out_ << "<section class=\"container\">\n<h2>监听容器 / container</h2>\n";
        const Json& container = input_.view.at("container");
        if (container.is_null()) {
            out_ << "<p>(none)</p>\n";
        } else {
            out_ << "<p>" << Escape(Text(container, "name")) << "</p>\n<ul>\n";
            for (const Json& listener : container.at("listeners")) {
                out_ << "<li>" << Escape(Text(listener, "name")) << " ("
                     << Escape(Text(listener, "kind")) << "): " << Escape(Text(listener, "data"))
                     << "</li>\n";
            }
            out_ << "</ul>\n";
        }
        out_ << "</section>\n";
    }

    const PreviewInput& input_;
    std::ostringstream out_;
    int switchGroups_ = 0;
};

}  // namespace

std::string RenderPreview(const PreviewInput& input) { return PageWriter(input).Render(); }

}  // namespace sctool
