#pragma once
// The formula engine: a one-line arithmetic formula is compiled once into a
// compact instruction list and then evaluated many times over 80-bit extended
// values (long double on x86-64).

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TFormulaLib;
namespace fc {
struct TCompiledFormula;
}

// Error of the formula engine: compile errors raised through RaiseFormulaError,
// library errors and external names that have no handler at evaluation time.
class EFCError : public std::runtime_error {
public:
    EFCError(int code, const std::string& message);
    int Code;
};

// Floating-point error that ended an evaluation.
class EFormulaMathError : public std::runtime_error {
public:
    enum class TKind { ZeroDivide, InvalidOp, Overflow };
    explicit EFormulaMathError(TKind kind);
    TKind Kind;
};

// Message of a compile or library error code ("Syntax error at pos 3" ...).
std::string FormulaErrorMessage(int code);

// Calls and argument lists nest at most this deep; a deeper formula fails to
// compile with kFormulaTooDeep.
inline constexpr int kMaxFormulaNesting = 2000;
inline constexpr int kFormulaTooDeep = -7;

// One row of the built-in function table; Arity 255 means one or more arguments.
struct TBuiltinFunction {
    const char* Name;
    std::uint8_t Arity;
};
inline constexpr int kBuiltinCount = 38;
inline constexpr std::uint8_t kVariadic = 255;
extern const TBuiltinFunction BuiltinFunctions[kBuiltinCount];
extern const char* const ComparisonOperators[6];
// Row of a built-in function name (compared without case), or -1.
int FindBuiltinFunction(std::string_view name);

// Highest parameter number the compiled code can read (%0 ... %12).
inline constexpr int kMaxParameter = 12;

using TVariableEvent = std::function<long double(const std::string& VarName)>;
using TFunctionEvent =
    std::function<long double(const std::string& FuncName, std::span<const long double> X)>;

// The formula compiler: holds the source text, the optional library, and the
// compiled formula that replaces the previous one on each successful Compile.
class TCustomFormula {
public:
    TCustomFormula();
    virtual ~TCustomFormula();
    TCustomFormula(const TCustomFormula&) = delete;
    TCustomFormula& operator=(const TCustomFormula&) = delete;

    const std::string& Source() const { return source_; }
    // Compiles a text different from the current one and raises its error; the
    // previous formula stays in force on failure. While loading, only stores.
    void SetSource(const std::string& text);

    TFormulaLib* Lib() const { return lib_; }
    void SetLib(TFormulaLib* lib);

    bool UnknownNames() const { return unknownNames_; }
    // Stores a different value and recompiles the current source.
    void SetUnknownNames(bool value);

    TVariableEvent OnVariable;
    TFunctionEvent OnFunction;

    // Returns 0 on success, a syntax error position (> 0) or -1.
    int Compile(const std::string& text);
    static void RaiseFormulaError(int code);
    // Highest %N of the text (aliases expanded when a library is given) plus 1; 0 without any.
    static int ParameterCount(const std::string& text, const TFormulaLib* lib);

    // Names of unknown variables and functions, one per occurrence, in source order.
    const std::vector<std::string>& Names() const;
    // Constants the compiled code refers to.
    const std::vector<long double>& ConstantPool() const;
    // Size in bytes of the compiled code.
    int CodeSize() const;

    // Loading from a stored form: SetSource only stores until Loaded recompiles.
    void BeginLoading() { loading_ = true; }
    void Loaded();
    bool Loading() const { return loading_; }

protected:
    std::shared_ptr<const fc::TCompiledFormula> compiled_;

private:
    friend class TFormulaLib;
    void Recompile();

    std::string source_ = "1";
    TFormulaLib* lib_ = nullptr;
    bool unknownNames_ = false;
    bool loading_ = false;
};

// The formula compiler with its evaluator.
class TFormulaCompilerE : public TCustomFormula {
public:
    // Evaluates the compiled formula; %N reads X[N] (missing values count as 0).
    // Raises EFormulaMathError for a floating-point error and EFCError (-5, -6)
    // for an external name without handler; the first error ends the evaluation.
    long double Evaluate(std::span<const long double> X) const;
    long double Evaluate(std::initializer_list<long double> X) const {
        return Evaluate(std::span<const long double>(X.begin(), X.size()));
    }

private:
    // Everything but the plain fast run: short parameter lists, deep stacks,
    // external handlers, and finding and raising the first error.
    long double EvaluateChecked(std::span<const long double> X) const;
};
