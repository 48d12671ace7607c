#include "FC.h"

#include "FCInternal.h"
#include "FCLib.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

const TBuiltinFunction BuiltinFunctions[kBuiltinCount] = {
    {"CHS", 1},   {"ZERO", 0},  {"ONE", 0},   {"PI", 0},    {"LN2", 0},   {"NOT", 1},
    {"POW", 2},   {"SIN", 1},   {"COS", 1},   {"TAN", 1},   {"COTAN", 1}, {"ATAN", 1},
    {"ACOS", 1},  {"ASIN", 1},  {"ABS", 1},   {"SQRT", 1},  {"EXP", 1},   {"LN", 1},
    {"LG", 1},    {"INT", 1},   {"FRAC", 1},  {"SQR", 1},   {"CUBE", 1},  {"ROUND", 1},
    {"IIF", 3},   {"SIGN", 1},  {"FACT", 1},  {"BINOM", 2}, {"COSH", 1},  {"SINH", 1},
    {"TANH", 1},  {"ACOSH", 1}, {"ASINH", 1}, {"ATANH", 1}, {"MIN", kVariadic},
    {"MAX", kVariadic}, {"OR", kVariadic}, {"AND", kVariadic},
};

const char* const ComparisonOperators[6] = {">", "<", ">=", "<=", "=", "<>"};

int FindBuiltinFunction(std::string_view name) {
    for (int i = 0; i < kBuiltinCount; ++i)
        if (fc::SameTextNoCase(BuiltinFunctions[i].Name, name)) return i;
    return -1;
}

EFCError::EFCError(int code, const std::string& message) : std::runtime_error(message), Code(code) {}

namespace {
const char* MathMessage(EFormulaMathError::TKind kind) {
    switch (kind) {
    case EFormulaMathError::TKind::ZeroDivide: return "Floating point division by zero";
    case EFormulaMathError::TKind::InvalidOp: return "Invalid floating point operation";
    case EFormulaMathError::TKind::Overflow: return "Floating point overflow";
    }
    return "";
}
}  // namespace

EFormulaMathError::EFormulaMathError(TKind kind) : std::runtime_error(MathMessage(kind)), Kind(kind) {}

std::string FormulaErrorMessage(int code) {
    if (code > 0) {
        char buf[48];
        std::snprintf(buf, sizeof buf, "Syntax error at pos %d", code);
        return buf;
    }
    switch (code) {
    case -2: return "Invalid identifier";
    case -3: return "Reserved identifier";
    case -4: return "This entry is referenced by others";
    case -5: return "Unknown variable name";
    case -6: return "Unknown function name";
    case kFormulaTooDeep: return "Formula nested too deep (at most " + std::to_string(kMaxFormulaNesting) + " calls)";
    default: return "Internal error";
    }
}

TCustomFormula::TCustomFormula() {
    auto compiled = std::make_shared<fc::TCompiledFormula>();
    compiled_ = compiled;
    Compile("1");
}

TCustomFormula::~TCustomFormula() {
    if (lib_) lib_->RemoveUser(this);
}

void TCustomFormula::SetLib(TFormulaLib* lib) {
    if (lib == lib_) return;
    if (lib_) lib_->RemoveUser(this);
    lib_ = lib;
    if (lib_) lib_->AddUser(this);
}

void TCustomFormula::RaiseFormulaError(int code) {
    if (code != 0) throw EFCError(code, FormulaErrorMessage(code));
}

int TCustomFormula::Compile(const std::string& text) {
    try {
        TInternalExprArray postfix;
        std::vector<std::string> names;
        const int code = fc::FrontEnd(text, lib_, unknownNames_, postfix, names);
        if (code != 0) return code;
        auto compiled = std::make_shared<fc::TCompiledFormula>();
        if (fc::GenerateCode(postfix, lib_, std::move(names), *compiled) != 0) return -1;
        compiled_ = std::move(compiled);
        source_ = text;
        return 0;
    } catch (const std::exception&) {
        return -1;
    }
}

void TCustomFormula::SetSource(const std::string& text) {
    if (text == source_) return;
    if (loading_) {
        source_ = text;
        return;
    }
    RaiseFormulaError(Compile(text));
}

void TCustomFormula::Recompile() {
    const int code = Compile(source_);
    if (code != 0) {
        Compile("1");
        RaiseFormulaError(code);
    }
}

void TCustomFormula::SetUnknownNames(bool value) {
    if (value == unknownNames_) return;
    unknownNames_ = value;
    if (!loading_) Recompile();
}

void TCustomFormula::Loaded() {
    loading_ = false;
    try {
        Recompile();
    } catch (const EFCError&) {
        // A stored formula that no longer compiles falls back to "1" silently.
    }
}

int TCustomFormula::ParameterCount(const std::string& text, const TFormulaLib* lib) {
    const std::string expanded = lib ? lib->ExpandAliases(text) : text;
    long long highest = -1;
    const std::size_t n = expanded.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (expanded[i] != '%') continue;
        std::size_t j = i + 1;
        while (j < n && fc::IsDigit(expanded[j])) ++j;
        if (j == i + 1) continue;
        std::int32_t v = 0;
        const auto r = std::from_chars(expanded.data() + i + 1, expanded.data() + j, v);
        if (r.ec == std::errc() && v > highest) highest = v;
    }
    return static_cast<int>(std::min<long long>(highest + 1, 2147483647LL));
}

const std::vector<std::string>& TCustomFormula::Names() const { return compiled_->Names; }

const std::vector<long double>& TCustomFormula::ConstantPool() const { return compiled_->Pool; }

int TCustomFormula::CodeSize() const { return compiled_->Code.Count(); }

