// hexlane-tool: command-line companion of the Hexlane editor.

#include "Command.h"

#include <algorithm>
#include <iostream>

namespace tool {

std::vector<Command>& Commands() {
    static std::vector<Command> commands;
    return commands;
}

RegisterCommand::RegisterCommand(std::string name, std::string usage, CommandFn fn) {
    Commands().push_back({std::move(name), std::move(usage), std::move(fn)});
}

int Fail(const std::string& text) {
    std::cerr << text << '\n';
    return 1;
}

int UsageError(const std::string& commandName) {
    for (const auto& c : Commands())
        if (c.name == commandName) std::cerr << "usage: hexlane-tool " << c.usage << '\n';
    return 2;
}

bool TakeFlag(Args& args, const std::string& name) {
    auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end()) return false;
    args.erase(it);
    return true;
}

bool TakeOption(Args& args, const std::string& name, std::string& value) {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == name) {
            value = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            return true;
        }
    }
    return false;
}

std::vector<std::string> TakeRepeated(Args& args, const std::string& name) {
    std::vector<std::string> values;
    std::string v;
    while (TakeOption(args, name, v)) values.push_back(v);
    return values;
}

}  // namespace tool

static void PrintUsage(std::ostream& out) {
    auto cmds = tool::Commands();
    std::sort(cmds.begin(), cmds.end(),
              [](const tool::Command& a, const tool::Command& b) { return a.name < b.name; });
    out << "usage: hexlane-tool COMMAND [ARGS]\n\ncommands:\n";
    for (const auto& c : cmds) out << "  " << c.usage << '\n';
}

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
        PrintUsage(argc < 2 ? std::cerr : std::cout);
        return argc < 2 ? 2 : 0;
    }
    const std::string name = argv[1];
    for (const auto& c : tool::Commands()) {
        if (c.name == name) {
            tool::Args args(argv + 2, argv + argc);
            try {
                return c.run(args);
            } catch (const std::exception& e) {
                return tool::Fail(e.what());
            }
        }
    }
    std::cerr << "hexlane-tool: unknown command \"" << name << "\"\n";
    PrintUsage(std::cerr);
    return 2;
}
