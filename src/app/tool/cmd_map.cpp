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

// JSON form, written object by object so that a large map never needs its
// whole document in memory; the layout is that of a one-space indented dump.
// `depth` is the indent of the object's braces.
void DumpJson(std::ostream& out, const TManager& obj, std::size_t depth) {
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
    const std::string pad(depth, ' ');
    std::string text = j.dump(1);
    text.erase(text.size() - 2);  // the closing "\n}"
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 1 + depth)
        text.insert(at + 1, pad);
    out << text << ",\n" << pad << " \"children\": ";
    const auto& children = obj.Children();
    if (children.empty()) {
        out << "[]";
    } else {
        out << "[\n";
        for (std::size_t i = 0; i < children.size(); ++i) {
            out << pad << "  ";
            DumpJson(out, *children[i], depth + 2);
            out << (i + 1 < children.size() ? ",\n" : "\n");
        }
        out << pad << " ]";
    }
    out << '\n' << pad << '}';
}

int Save(TManager& root, const std::string& path) {
    std::string message;
    if (!root.SaveToFile(path, message)) return tool::Fail(message);
    return 0;
}

struct NewOptions {
    std::string out;
};
tool::RegisterCommand newCmd("new", "new OUT.map", "Writes an empty map.", [](CLI::App& app) {
    auto o = std::make_shared<NewOptions>();
    tool::AddFile(app, "OUT.map", o->out, "the map file to write");
    return [o] { return Save(*TUniverse::CreateNew(), o->out); };
});

struct ConvertOptions {
    std::string in, out;
};
tool::RegisterCommand convertCmd("convert", "convert IN.map OUT.map",
                                 "Opens a map as the editor does (upgrading it) and saves it.", [](CLI::App& app) {
                                     auto o = std::make_shared<ConvertOptions>();
                                     tool::AddFile(app, "IN.map", o->in, "the map file to read");
                                     tool::AddFile(app, "OUT.map", o->out, "the map file to write");
                                     return [o] {
                                         auto u = tool::OpenForTool(o->in);
                                         return u ? Save(*u, o->out) : 1;
                                     };
                                 });

struct DumpOptions {
    bool json = false;
    std::string map;
};
tool::RegisterCommand dumpCmd("dump", "dump [--json] MAP", "Prints a map's objects as stored.", [](CLI::App& app) {
    auto o = std::make_shared<DumpOptions>();
    app.add_flag("--json", o->json, "one JSON document instead of text lines");
    tool::AddFile(app, "MAP", o->map, "the map file");
    return [o] {
        // The file as it stands: no upgrade, no version stamp.
        auto universe = std::make_unique<TUniverse>();
        std::string message;
        if (!universe->LoadFromFile(o->map, message)) return tool::Fail(message);
        universe->ComputeExtent();
        if (o->json) {
            DumpJson(std::cout, *universe, 0);
            std::cout << '\n';
        } else {
            DumpText(*universe, 0);
        }
        return 0;
    };
});

}  // namespace
