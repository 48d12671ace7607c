// generate and check: fill the empty hexes of a sector (or one subsector)
// with systems rolled by a rule set, and list the systems of a map whose codes
// a rule set cannot give.

#include "Command.h"
#include "ToolMap.h"

#include "DefineUniverse.h"
#include "GenerateSystems.h"
#include "RuleCheck.h"

#include <charconv>
#include <iostream>
#include <random>

namespace {

using namespace hexlane::rules;

const std::vector<std::string> kRuleSets = {"classic", "modern"};
const std::vector<std::string> kDensities = {"rift", "sparse", "standard", "dense"};

// ---- generate ----

// A seed: a whole number 0 to 2^64 - 1, digits only (no sign, no wrapping).
bool ParseSeed(const std::string& text, std::uint64_t& seed) {
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, seed);
    return !text.empty() && text[0] != '-' && text[0] != '+' && error == std::errc() && ptr == end;
}
const CLI::Validator IsSeed(
    [](const std::string& text) {
        std::uint64_t seed = 0;
        return ParseSeed(text, seed) ? std::string() : "not a seed (a whole number 0-18446744073709551615): " + text;
    },
    "N");

struct GenerateOptions {
    std::string map, sector, subsector, rules = "classic", density = "standard", allegiance, out;
    std::uint64_t seed = 0;
    bool hasSeed = false;
};

int RunGenerate(const GenerateOptions& o) {
    std::string sectorName, subsectorName, allegianceName;
    if (!tool::ToMapText(o.sector, sectorName) || !tool::ToMapText(o.subsector, subsectorName) ||
        !tool::ToMapText(o.allegiance, allegianceName))
        return 1;
    TGenerateOptions options;
    ParseRuleSet(o.rules, options.Rules);
    ParseDensity(o.density, options.Density);
    // Without --seed a new one is drawn and printed, so the run can be repeated.
    options.Seed = o.hasSeed ? o.seed : (static_cast<std::uint64_t>(std::random_device{}()) << 32) ^ std::random_device{}();

    auto universe = tool::OpenForTool(o.map);
    if (!universe) return 1;
    TSector* sector = universe->FindSector(sectorName);
    if (!sector) return tool::Fail("Invalid Sector Pointer");
    if (!o.subsector.empty() && !FindSubsectorByText(*sector, subsectorName, options.SubsectorX, options.SubsectorY))
        return tool::Fail("There is no subsector \"" + o.subsector + "\" in the sector \"" + o.sector + "\"");
    if (!allegianceName.empty()) {
        const TAllegiance* allegiance = universe->FindAllegiance(allegianceName);
        if (!allegiance) return tool::Fail("There is no allegiance named \"" + o.allegiance + "\"");
        options.Allegiance = allegiance->Name1;
    }
    const int made = GenerateSystems(*universe, *sector, options);
    std::cout << made << (made == 1 ? " system" : " systems") << " made (" << RuleSetName(options.Rules) << " rules, "
              << DensityName(options.Density) << ", seed " << options.Seed << ")\n";
    std::string message;
    if (!universe->SaveToFile(o.out.empty() ? o.map : o.out, message)) return tool::Fail(message);
    return 0;
}

tool::RegisterCommand generateCmd(
    "generate",
    "generate MAP SECTOR [--subsector A-P|NAME] [--rules classic|modern] [--density rift|sparse|standard|dense] "
    "[--seed N] [--allegiance NAME] [-o OUT.map]",
    "Fills the empty hexes of a sector (or of one subsector) with systems rolled by a rule set.",
    [](CLI::App& app) {
        auto o = std::make_shared<GenerateOptions>();
        tool::AddFile(app, "MAP", o->map, "the map file");
        app.add_option("SECTOR", o->sector, "the sector's name")->required();
        app.add_option("--subsector", o->subsector, "only this subsector: its name, or its letter A-P");
        app.add_option("--rules", o->rules, "the rule set (default classic)")->check(CLI::IsMember(kRuleSets));
        app.add_option("--density", o->density, "how many hexes hold a system (default standard)")
            ->check(CLI::IsMember(kDensities));
        app.add_option_function<std::string>(
               "--seed",
               [o](const std::string& text) {
                   ParseSeed(text, o->seed);
                   o->hasSeed = true;
               },
               "the seed; the same seed and options give the same systems (default: a new one, printed)")
            ->check(IsSeed);
        app.add_option("--allegiance", o->allegiance, "the allegiance of the new systems (default none)");
        tool::AddOutput(app, o->out);
        return [o] { return RunGenerate(*o); };
    });

// ---- check ----

struct CheckOptions {
    std::string map, rules = "classic", sector;
};

int RunCheck(const CheckOptions& o) {
    std::string sectorName;
    if (!tool::ToMapText(o.sector, sectorName)) return 1;
    TRuleSet rules = TRuleSet::Classic;
    ParseRuleSet(o.rules, rules);
    auto universe = tool::OpenForTool(o.map);
    if (!universe) return 1;
    const TSector* only = nullptr;
    if (!o.sector.empty() && !(only = universe->FindSector(sectorName))) return tool::Fail("Invalid Sector Pointer");
    const std::vector<TRuleFinding> findings = CheckAgainstRules(*universe, rules, only);
    std::string text;
    for (const TRuleFinding& f : findings) text += tool::ToUtf8(f.Line()) + '\n';
    std::cout << text;
    if (findings.empty()) std::cout << "No system breaks the " << RuleSetName(rules) << " rules.\n";
    return findings.empty() ? 0 : 1;
}

tool::RegisterCommand checkCmd("check", "check MAP [--rules classic|modern] [--sector NAME]",
                               "Lists every system whose codes the rule set cannot give, one reason a line; "
                               "exit status 1 when any is found.",
                               [](CLI::App& app) {
                                   auto o = std::make_shared<CheckOptions>();
                                   tool::AddFile(app, "MAP", o->map, "the map file");
                                   app.add_option("--rules", o->rules, "the rule set (default classic)")
                                       ->check(CLI::IsMember(kRuleSets));
                                   app.add_option("--sector", o->sector, "only the systems of this sector");
                                   return [o] { return RunCheck(*o); };
                               });

}  // namespace
