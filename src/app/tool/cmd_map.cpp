// Map-file commands: new, convert, dump.

#include "Command.h"
#include "ToolMap.h"

#include "Codepage.h"
#include "DefineUniverse.h"
#include "OpenMap.h"
#include "Properties.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <iostream>

namespace {

using nlohmann::ordered_json;

std::string DoubleText(double v) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

// Text form: one line per object with the properties a save would write.
// A property's value as text: identifiers for enumerations and named colours,
// true/false, numbers, strings as UTF-8 in double quotes.
std::string ValueText(const TManager& obj, const PropInfo& p) {
    switch (p.Kind) {
    case PropKind::Boolean:
        return p.GetOrd(obj) ? "true" : "false";
    case PropKind::Enumeration: {
        const auto v = static_cast<std::size_t>(p.GetOrd(obj));
        return v < p.EnumNames.size() ? std::string(p.EnumNames[v]) : std::to_string(v);
    }
    case PropKind::Colour:
        if (const char* ident = ColourToIdent(static_cast<std::int32_t>(p.GetOrd(obj)))) return ident;
        return std::to_string(p.GetOrd(obj));
    case PropKind::Integer:
    case PropKind::Byte:
        return std::to_string(p.GetOrd(obj));
    case PropKind::Double:
        return DoubleText(p.GetDouble(obj));
    case PropKind::String:
    case PropKind::Char:
        return ordered_json(hexlane::Cp1252ToUtf8(p.GetString(obj))).dump();
    }
    return {};
}

ordered_json ValueJson(const TManager& obj, const PropInfo& p) {
    switch (p.Kind) {
    case PropKind::Boolean:
        return p.GetOrd(obj) != 0;
    case PropKind::Enumeration: {
        const auto v = static_cast<std::size_t>(p.GetOrd(obj));
        return v < p.EnumNames.size() ? ordered_json(std::string(p.EnumNames[v])) : ordered_json(v);
    }
    case PropKind::Colour:
    case PropKind::Integer:
    case PropKind::Byte:
        return p.GetOrd(obj);
    case PropKind::Double:
        return p.GetDouble(obj);
    case PropKind::String:
    case PropKind::Char:
        return hexlane::Cp1252ToUtf8(p.GetString(obj));
    }
    return nullptr;
}

void DumpText(const TManager& obj, int depth) {
    std::cout << std::string(static_cast<std::size_t>(depth) * 2, ' ') << obj.Class().Name << ' '
              << ordered_json(hexlane::Cp1252ToUtf8(obj.Name1)).dump();
    for (const PropInfo& p : obj.Class().Props)
        if (p.Name != "Name1" && WritesValue(obj, p)) std::cout << ' ' << p.Name << '=' << ValueText(obj, p);
    std::cout << '\n';
    for (const auto& c : obj.Children()) DumpText(*c, depth + 1);
}

ordered_json DumpJson(const TManager& obj) {
    ordered_json j;
    j["class"] = std::string(obj.Class().Name);
    j["name1"] = hexlane::Cp1252ToUtf8(obj.Name1);
    ordered_json properties = ordered_json::object();
    for (const PropInfo& p : obj.Class().Props)
        if (p.Stored) properties[std::string(p.Name)] = ValueJson(obj, p);
    j["properties"] = properties;
    if (auto* star = dynamic_cast<const TStar*>(&obj)) {
        j["derived"] = {
            {"HexX", star->HexX},
            {"HexY", star->HexY},
            {"DistX", star->DistX},
            {"DistZ", star->DistZ},
            {"PSIndex", star->PSIndex()},
            {"AtIndex", star->AtIndex()},
            {"HydroIndex", star->HydroIndex()},
            {"PopIndex", star->PopIndex()},
            {"GovIndex", star->GovIndex()},
            {"LLIndex", star->LLIndex()},
            {"SPIndex", star->SPIndex()},
            {"SpPIndex", star->SpPIndex()},
            {"TLIndex", star->TLIndex()},
            {"TradeCodesStr", star->TradeCodesStr()},
            {"SectorName", hexlane::Cp1252ToUtf8(star->SectorName())},
        };
    }
    ordered_json children = ordered_json::array();
    for (const auto& c : obj.Children()) children.push_back(DumpJson(*c));
    j["children"] = children;
    return j;
}

int Save(TManager& root, const std::string& path) {
    std::string message;
    if (!root.SaveToFile(path, message)) return tool::Fail(message);
    return 0;
}

tool::RegisterCommand newCmd("new", "new OUT.map", [](const tool::Args& args) {
    if (args.size() != 1) return tool::UsageError("new");
    return Save(*TUniverse::CreateNew(), args[0]);
});

tool::RegisterCommand convertCmd("convert", "convert IN.map OUT.map", [](const tool::Args& args) {
    if (args.size() != 2) return tool::UsageError("convert");
    auto u = tool::OpenForTool(args[0]);
    return u ? Save(*u, args[1]) : 1;
});

tool::RegisterCommand dumpCmd("dump", "dump [--json] MAP", [](const tool::Args& in) {
    tool::Args args = in;
    const bool json = tool::TakeFlag(args, "--json");
    if (args.size() != 1) return tool::UsageError("dump");
    // The file as it stands: no upgrade, no version stamp.
    auto universe = std::make_unique<TUniverse>();
    std::string message;
    if (!universe->LoadFromFile(args[0], message)) return tool::Fail(message);
    universe->ComputeExtent();
    if (json)
        std::cout << DumpJson(*universe).dump(1) << '\n';
    else
        DumpText(*universe, 0);
    return 0;
});

}  // namespace
