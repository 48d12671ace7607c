#pragma once
// Runs hexlane-tool in a child process and collects its output.

#include <string>
#include <vector>

struct ToolResult {
    int Status = -1;
    std::string Out;
    std::string Err;
};

ToolResult RunTool(const std::vector<std::string>& args);
// The same with another copy of the program.
ToolResult RunProgram(const std::string& program, const std::vector<std::string>& args);
// The same with the arguments as one text, quoted as the shell (POSIX) or the
// C run time (Windows) splits it.
ToolResult RunCommandLine(const std::string& program, const std::string& arguments);

// A fresh folder under the system's temporary folder, removed at exit of the test.
std::string TempFolder(const std::string& name);
