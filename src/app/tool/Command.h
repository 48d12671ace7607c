#pragma once
// Registry of hexlane-tool commands. Each command file defines one
// RegisterCommand object per command; main() builds one CLI11 subcommand for
// each and runs the one named on the command line.
//
// A command's setup declares its options and arguments on its subcommand,
// bound to variables it owns, and returns what runs after a successful parse:
//
//   struct DumpOptions { bool json = false; std::string map; };
//   tool::RegisterCommand dumpCmd("dump", "dump [--json] MAP", "Prints a map's objects.",
//       [](CLI::App& app) {
//           auto o = std::make_shared<DumpOptions>();
//           app.add_flag("--json", o->json, "JSON instead of text");
//           tool::AddFile(app, "MAP", o->map, "the map file");
//           return [o] { return Dump(*o); };
//       });
//
// Usage errors (unknown options, missing or surplus arguments, values out of
// range) are reported by the parser and end with exit status 2; a command's
// own failures print the system's message and return 1.

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

namespace tool {

// Runs the command once its arguments were parsed; returns the exit status.
using Runner = std::function<int()>;
using SetupFn = std::function<Runner(CLI::App&)>;

struct Command {
    std::string name;
    std::string usage;        // one line, e.g. "dump [--json] MAP"
    std::string description;  // shown in the help
    SetupFn setup;
};

std::vector<Command>& Commands();

struct RegisterCommand {
    RegisterCommand(std::string name, std::string usage, std::string description, SetupFn setup);
};

// Writes the text (the system's own message) to standard error and returns 1.
int Fail(const std::string& text);

// Writes a usage error found after parsing (a value the parser cannot check
// alone) with the command's usage line and returns 2.
int UsageFail(const std::string& commandName, const std::string& text);

// A required positional file name; an empty name is a usage error.
CLI::Option* AddFile(CLI::App& app, const std::string& name, std::string& target, const std::string& help);
// An optional "-o OUT.map" (written instead of the map read); empty when absent.
CLI::Option* AddOutput(CLI::App& app, std::string& target);

// Refuses an empty text ("the file name is empty").
extern const CLI::Validator NonEmptyFileName;

}  // namespace tool
