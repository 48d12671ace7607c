// hexlane-tool: command-line companion of the Hexlane editor.

#include "Command.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <new>
#include <string>
#include <vector>

namespace tool {

std::vector<Command>& Commands() {
    static std::vector<Command> commands;
    return commands;
}

RegisterCommand::RegisterCommand(std::string name, std::string usage, std::string description, SetupFn setup) {
    Commands().push_back({std::move(name), std::move(usage), std::move(description), std::move(setup)});
}

int Fail(const std::string& text) {
    std::cerr << text << '\n';
    return 1;
}

int UsageFail(const std::string& commandName, const std::string& text) {
    std::cerr << "hexlane-tool " << commandName << ": " << text << '\n';
    for (const auto& c : Commands())
        if (c.name == commandName) std::cerr << "usage: hexlane-tool " << c.usage << '\n';
    return 2;
}

const CLI::Validator NonEmptyFileName(
    [](const std::string& text) { return text.empty() ? std::string("the file name is empty") : std::string(); },
    "FILE", "non-empty file name");

CLI::Option* AddFile(CLI::App& app, const std::string& name, std::string& target, const std::string& help) {
    return app.add_option(name, target, help)->required()->check(NonEmptyFileName);
}

CLI::Option* AddOutput(CLI::App& app, std::string& target) {
    return app.add_option("-o", target, "write the result to this map file instead of MAP")
        ->type_name("OUT.map")
        ->check(NonEmptyFileName);
}

}  // namespace tool

namespace {

std::vector<tool::Command> SortedCommands() {
    auto cmds = tool::Commands();
    std::sort(cmds.begin(), cmds.end(),
              [](const tool::Command& a, const tool::Command& b) { return a.name < b.name; });
    return cmds;
}

void PrintUsage(std::ostream& out) {
    out << "usage: hexlane-tool COMMAND [ARGS]\n\ncommands:\n";
    for (const auto& c : SortedCommands()) out << "  " << c.usage << '\n';
    out << "\nhexlane-tool COMMAND --help describes a command.\n";
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The option a token names, when it is one: "--name", "--name=VALUE", "-x" or
// "-xVALUE" of an option the command has. `unknown` is set for a token that
// only looks like an option ("--word", "-x"), which the parser then refuses.
const CLI::Option* OptionOf(const CLI::App& command, const std::string& token, bool& attached, bool& unknown) {
    attached = unknown = false;
    if (token.size() > 2 && token[0] == '-' && token[1] == '-') {
        const std::size_t eq = token.find('=');
        attached = eq != std::string::npos;
        const CLI::Option* option = command.get_option_no_throw(token.substr(0, eq));
        unknown = !option && IsLetter(token[2]);
        return option;
    }
    if (token.size() >= 2 && token[0] == '-' && IsLetter(token[1])) {
        const CLI::Option* option = command.get_option_no_throw(token.substr(0, 2));
        attached = token.size() > 2;
        unknown = !option && token.size() == 2;
        return option;
    }
    return nullptr;
}

// The arguments of a command put in the order the parser reads them right:
// its options (each with its values) first, then "--" and the positional
// arguments in their order. A positional argument may begin with "-" (a
// formula "-%0^2", a number -3); only a token that names an option, or looks
// like an option name, is taken for one. After "--" everything is positional.
std::vector<std::string> ArrangeArguments(const CLI::App& command, const std::vector<std::string>& args) {
    std::vector<std::string> options, positional;
    auto isOption = [&command](const std::string& token) {
        bool attached = false, unknown = false;
        return token == "--" || OptionOf(command, token, attached, unknown) || unknown;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& token = args[i];
        if (token == "--") {
            positional.insert(positional.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        }
        bool attached = false, unknown = false;
        const CLI::Option* option = OptionOf(command, token, attached, unknown);
        if (!option && !unknown) {
            positional.push_back(token);
            continue;
        }
        // A flag takes no value; an option its type's number of values.
        const int values = option && !attached && option->get_expected_max() > 0 ? option->get_type_size_max() : 0;
        // An option short of its values is left to the parser to report, in
        // the arguments as they were given.
        for (int k = 1; k <= values; ++k)
            if (i + k >= args.size() || isOption(args[i + k])) return args;
        if (values == 1 && args[i + 1].rfind('-', 0) == 0) {
            // Attached, so that a value beginning with "-" stays a value.
            const bool isLong = token[1] == '-';
            options.push_back(token + (isLong ? "=" : "") + args[++i]);
            continue;
        }
        options.push_back(token);
        for (int k = 0; k < values; ++k) options.push_back(args[++i]);
    }
    if (!positional.empty()) {
        options.push_back("--");
        options.insert(options.end(), positional.begin(), positional.end());
    }
    return options;
}

const tool::Command* Find(const std::string& name) {
    for (const auto& c : tool::Commands())
        if (c.name == name) return &c;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : std::string();
    if (argc < 2 || first == "--help" || first == "-h") {
        PrintUsage(argc < 2 ? std::cerr : std::cout);
        return argc < 2 ? 2 : 0;
    }
    const tool::Command* command = Find(first);
    if (!command) {
        std::cerr << "hexlane-tool: unknown command \"" << first << "\"\n";
        PrintUsage(std::cerr);
        return 2;
    }

    CLI::App root("Command-line companion of the Hexlane editor.", "hexlane-tool");
    root.require_subcommand(1, 1);
    std::map<const CLI::App*, tool::Runner> runners;
    try {
        for (const auto& c : SortedCommands()) {
            CLI::App* sub = root.add_subcommand(c.name, c.description);
            sub->footer("usage: hexlane-tool " + c.usage);
            runners[sub] = c.setup(*sub);
        }
        std::vector<std::string> args = ArrangeArguments(*root.get_subcommand(first),
                                                         std::vector<std::string>(argv + 2, argv + argc));
        args.insert(args.begin(), first);
        // The parser takes its arguments last first.
        std::reverse(args.begin(), args.end());
        root.parse(args);
    } catch (const CLI::CallForHelp&) {
        std::cout << root.get_subcommand(first)->help();
        return 0;
    } catch (const CLI::ParseError& e) {
        // An unknown option also leaves the arguments short; name it first.
        std::string text = e.what();
        if (const CLI::App* sub = root.get_subcommand(first)) {
            // Without the "--" put before the positional arguments.
            std::vector<std::string> extra = sub->remaining();
            extra.erase(std::remove(extra.begin(), extra.end(), "--"), extra.end());
            if (!extra.empty()) text = CLI::ExtrasError(extra).what();
        }
        return tool::UsageFail(first, text);
    }
    try {
        return runners.at(root.get_subcommand(first))();
    } catch (const std::bad_alloc&) {
        return tool::Fail("Not enough memory to complete this command.");
    } catch (const std::exception& e) {
        return tool::Fail(e.what());
    }
}
