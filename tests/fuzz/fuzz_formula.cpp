// libFuzzer target for formula text: the input is split at the first two
// 0x01 bytes into up to three parts. The first part's lines are "NAME=SOURCE"
// library entries (aliases for lines starting with '@', functions otherwise),
// added through AddEntry; the second part is the formula; the third gives
// parameter values. Whatever compiles is evaluated, with unknown names both
// refused and accepted, and checked against the plain evaluator of the tests.

#include "FC.h"
#include "FCLib.h"
#include "../query/ReferenceEval.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string_view> Split(std::string_view text, char sep, std::size_t maxParts) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < maxParts) {
        const std::size_t p = text.find(sep);
        if (p == std::string_view::npos) break;
        parts.push_back(text.substr(0, p));
        text.remove_prefix(p + 1);
    }
    parts.push_back(text);
    return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts = Split(input, '\x01', 3);
    std::string_view libraryPart, formulaPart = parts[0], valuePart;
    if (parts.size() >= 2) {
        libraryPart = parts[0];
        formulaPart = parts[1];
    }
    if (parts.size() == 3) valuePart = parts[2];

    TFormulaLib lib;
    int entries = 0;
    for (std::string_view line : Split(libraryPart, '\n', 64)) {
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || ++entries > 8) continue;
        std::string name(line.substr(0, eq));
        const std::string source(line.substr(eq + 1));
        if (!name.empty() && name[0] == '@') lib.Aliases.AddEntry(name.substr(1), source);
        else lib.Functions.AddEntry(name, source);
    }

    std::vector<long double> x(kMaxParameter + 1, 0.0L);
    std::size_t k = 0;
    for (std::string_view v : Split(valuePart, ' ', kMaxParameter + 1)) {
        if (k > kMaxParameter) break;
        x[k++] = std::strtold(std::string(v).c_str(), nullptr);
    }

    const std::string formula(formulaPart);
    for (const bool unknownNames : {false, true}) {
        TFormulaCompilerE f;
        f.SetLib(&lib);
        if (unknownNames) f.SetUnknownNames(true);
        if (f.Compile(formula) != 0) continue;
        if (unknownNames) {
            f.OnVariable = [](const std::string& name) { return static_cast<long double>(name.size()); };
            f.OnFunction = [](const std::string&, std::span<const long double> a) {
                long double s = 0;
                for (long double v : a) s += v;
                return s;
            };
        }
        reference::Outcome got;
        try {
            got.value = f.Evaluate(x);
            got.ok = true;
        } catch (const std::exception& e) {
            got.error = e.what();
        }
        reference::Evaluator ref(&lib);
        const reference::Outcome want = ref.Run(formula, unknownNames, x, f.OnVariable, f.OnFunction);
        if (!reference::SameOutcome(got, want)) std::abort();
    }
    return 0;
}
