#include "Completion.h"

#include <sstream>
#include <vector>

namespace sctool {
namespace {

struct Node {
    std::string path;  // command words below the top level, e.g. "settings get"
    std::vector<std::string> commands;
    std::vector<std::string> options;       // every flag and option name
    std::vector<std::string> valueOptions;  // those that take a value (a path, mostly)
};

std::string Join(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
    return text;
}

void Collect(const CLI::App& app, const std::string& path, std::vector<Node>& nodes) {
    Node node;
    node.path = path;
    for (const CLI::App* sub : app.get_subcommands({})) node.commands.push_back(sub->get_name());
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_positional() && option->get_lnames().empty() &&
            option->get_snames().empty()) {
            continue;
        }
        std::vector<std::string> names;
        for (const std::string& name : option->get_snames()) names.push_back("-" + name);
        for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
        node.options.insert(node.options.end(), names.begin(), names.end());
        if (option->get_items_expected_min() > 0) {
            node.valueOptions.insert(node.valueOptions.end(), names.begin(), names.end());
        }
    }
    nodes.push_back(node);
    for (const CLI::App* sub : app.get_subcommands({})) {
        Collect(*sub, path.empty() ? sub->get_name() : path + " " + sub->get_name(), nodes);
    }
}

}  // namespace

std::string BashCompletion(const CLI::App& app) {
    std::vector<Node> nodes;
    Collect(app, "", nodes);
    std::ostringstream out;
    out << "# bash completion for siteconfig (written by `siteconfig completion bash`)\n"
           "_siteconfig() {\n"
           "    local cur=\"${COMP_WORDS[COMP_CWORD]}\" prev=\"\" path=\"\" word i\n"
           "    ((COMP_CWORD > 0)) && prev=\"${COMP_WORDS[COMP_CWORD - 1]}\"\n"
           "    local commands options values\n"
           "    _siteconfig_node() {\n"
           "        case \"$1\" in\n";
    for (const Node& node : nodes) {
        out << "            '" << node.path << "') commands='" << Join(node.commands)
            << "'; options='" << Join(node.options) << "'; values='" << Join(node.valueOptions)
            << "' ;;\n";
    }
    out << "            *) return 1 ;;\n"
           "        esac\n"
           "    }\n"
           "    _siteconfig_node ''\n"
           "    # Walk the words before the cursor: a command word descends, an option that\n"
           "    # takes a value skips it.\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        word=\"${COMP_WORDS[i]}\"\n"
           "        if [[ \" $values \" == *\" $word \"* ]]; then\n"
           "            ((i++))\n"
           "        elif [[ \" $commands \" == *\" $word \"* ]]; then\n"
           "            path=\"${path:+$path }$word\"\n"
           "            _siteconfig_node \"$path\"\n"
           "        fi\n"
           "    done\n"
           "    if [[ \" $values \" == *\" $prev \"* ]]; then\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    elif [[ \"$cur\" == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -W \"$commands\" -- \"$cur\") $(compgen -f -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -o filenames -F _siteconfig siteconfig\n";
    return out.str();
}

}  // namespace sctool
