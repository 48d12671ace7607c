#include "ToolRunner.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace

ToolResult RunTool(const std::vector<std::string>& args) { return RunProgram(HEXLANE_TOOL, args); }

ToolResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
    static int counter = 0;
    const fs::path dir = fs::temp_directory_path() / ("hexlane-tool-run-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path out = dir / ("out" + std::to_string(counter));
    const fs::path err = dir / ("err" + std::to_string(counter++));
    std::string cmd = Quote(program);
    for (const std::string& a : args) cmd += " " + Quote(a);
    cmd += " >" + Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
    const int raw = std::system(cmd.c_str());
    ToolResult r;
    r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.Out = Slurp(out);
    r.Err = Slurp(err);
    fs::remove(out);
    fs::remove(err);
    return r;
}

std::string TempFolder(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("hexlane-tool-test-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}
