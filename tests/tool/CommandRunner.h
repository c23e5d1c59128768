// Runs the built siteconfig command for the command's tests: its exit status and both outputs,
// on the example or on a copy of it that a test may break.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "TestSupport.h"

namespace command_test {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;
using testing_support::TempDir;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

inline void Replace(const fs::path& path, const std::string& from, const std::string& to) {
    std::string text = ReadFile(path);
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from << " not in " << path;
    text.replace(at, from.size(), to);
    WriteFile(path, text);
}

// Runs `program` with `args`; its outputs pass through files in `scratch`.
inline Result RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const fs::path& scratch) {
    std::string command = Quote(program);
    for (const std::string& arg : args) command += " " + Quote(arg);
    const fs::path out = scratch / "stdout.txt";
    const fs::path err = scratch / "stderr.txt";
    command += " >" + Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
    const int raw = std::system(command.c_str());
    Result result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadFile(out);
    result.err = ReadFile(err);
    return result;
}

// Runs the command with `args`; its outputs pass through files in `scratch`.
inline Result Run(const std::vector<std::string>& args, const fs::path& scratch) {
    return RunProgram(SITECONFIG_TOOL, args, scratch);
}

class SiteconfigCommand : public ::testing::Test {
protected:
    // A copy of the example that a test may break.
    fs::path CopyExample(const std::string& name = "site-layout") {
        const fs::path root = scratch_.NativeFolder() / name;
        fs::copy(SITECONFIG_EXAMPLE_DIR, root, fs::copy_options::recursive);
        return root;
    }
    Result Run(std::initializer_list<std::string> args) {
        return command_test::Run(std::vector<std::string>(args), scratch_.NativeFolder());
    }

    TempDir scratch_;
};

}  // namespace command_test
