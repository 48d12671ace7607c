#pragma once
// Registry of hexlane-tool commands. Each command file defines one
// RegisterCommand object; main() dispatches on the first argument.

#include <functional>
#include <string>
#include <vector>

namespace tool {

using Args = std::vector<std::string>;
// A command gets its own arguments (without the command name) and returns the
// process exit status.
using CommandFn = std::function<int(const Args&)>;

struct Command {
    std::string name;
    std::string usage;   // one line, e.g. "dump [--json] MAP"
    CommandFn run;
};

std::vector<Command>& Commands();

struct RegisterCommand {
    RegisterCommand(std::string name, std::string usage, CommandFn fn);
};

// Writes the text (the system's own message) to standard error and returns 1.
int Fail(const std::string& text);
// Writes the usage line of a command to standard error and returns 2.
int UsageError(const std::string& commandName);

// Option helpers over an argument list: Flag removes "--name" if present;
// Option removes "--name VALUE" and returns VALUE (or the fallback).
bool TakeFlag(Args& args, const std::string& name);
bool TakeOption(Args& args, const std::string& name, std::string& value);
std::vector<std::string> TakeRepeated(Args& args, const std::string& name);

}  // namespace tool
