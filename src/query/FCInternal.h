#pragma once
// Internals shared by the formula compiler's front end, code generator and
// evaluator. Not part of the public interface.

#include "FC.h"
#include "FCArray.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace fc {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$';
}
inline bool IsIdentPart(char c) { return IsIdentStart(c) || IsDigit(c); }
inline bool IsComparisonChar(char c) { return c == '<' || c == '=' || c == '>'; }
inline bool IsWhiteSpace(char c) { return c == ' ' || c == '\r' || c == '\n'; }
bool SameTextNoCase(std::string_view a, std::string_view b);

// Identifiers are cut to this many characters.
inline constexpr int kMaxNameLength = 31;
// Library functions are referenced by 256 + their position.
inline constexpr int kLibBase = 256;
// Rows of the built-in table that the compiler refers to directly.
enum : int { kCHS = 0, kZERO = 1, kONE = 2, kPI = 3, kLN2 = 4, kNOT = 5, kPOW = 6 };

// Runs the whole front end on a source text: alias expansion, scanning with
// the adjacency and argument checks, unary rewriting and postfix conversion.
// Returns 0, a syntax error position counted in the expanded text, or -1.
int FrontEnd(const std::string& source, const TFormulaLib* lib, bool unknownNames,
             TInternalExprArray& postfix, std::vector<std::string>& names);
// Preparation and scanning only (the library's check of a new entry).
int CheckSyntax(const std::string& source, const TFormulaLib* lib);
// Single stages, exposed for the code generator and for tests.
int Scan(const std::string& expanded, const TFormulaLib* lib, bool unknownNames,
         TInternalExprArray& items, std::vector<std::string>& names);
void RewriteUnary(TInternalExprArray& items);
void ToPostfix(const TInternalExprArray& items, TInternalExprArray& postfix);

// Instruction set of the compiled code. Each instruction is one opcode byte,
// followed by 32-bit operands (least significant byte first) where noted. The
// evaluator keeps the top of the value stack in an accumulator; the deeper
// values live in a stack array whose depth is known at compile time.
//   _S  left operand popped from the stack, right operand the accumulator
//   _X  right operand parameter X[n]        _K  constant pool entry n
//   _T  stack slot n (arguments of inlined library functions)
//   R.. the leaf is the left operand and the accumulator the right one
#define FC_BINARY_OPS(X) X(ADD) X(SUB) X(MUL) X(DIV) X(POW) X(GT) X(LT) X(GE) X(LE) X(EQ) X(NE)
#define FC_UNARY_OPS(X)                                                                       \
    X(CHS) X(NOT) X(SIN) X(COS) X(TAN) X(COTAN) X(ATAN) X(ACOS) X(ASIN) X(ABS) X(SQRT) X(EXP) \
    X(LN) X(LG) X(INT) X(FRAC) X(SQR) X(CUBE) X(ROUND) X(SIGN) X(FACT) X(COSH) X(SINH)       \
    X(TANH) X(ACOSH) X(ASINH) X(ATANH)

enum Op : std::uint8_t {
    // Loads: LD_ when the accumulator is free, PLD_ pushes it first. Operand n.
    LD_X, LD_K, LD_T, LD_V, PLD_X, PLD_K, PLD_T, PLD_V,
    PUSH,        // stack <- accumulator
    DROP,        // n: remove n values below the accumulator
#define FC_OP4(name) name##_S, name##_X, name##_K, name##_T,
    FC_BINARY_OPS(FC_OP4)
#undef FC_OP4
    RSUB_X, RSUB_K, RSUB_T, RDIV_X, RDIV_K, RDIV_T, RPOW_X, RPOW_K, RPOW_T,
    // Fused "acc = acc op1 (a op2 b)" for op1, op2 in + - * / and the leaves
    // a, b parameters or constants (XX, XK, KX): FUSED + (op1 * 4 + op2) * 3 + form,
    // operands a then b.
    FUSED,
    FUSED_LAST = FUSED + 47,
#define FC_OP1(name) U_##name,
    FC_UNARY_OPS(FC_OP1)
#undef FC_OP1
    BINOM_S,     // binom(pop, acc)
    IIF_S,       // two values popped, accumulator the third
    MIN_N, MAX_N, OR_N, AND_N,  // n: arguments (n - 1 popped)
    CALLU,       // name index, n: external function with n arguments
    RET,
    kOpCount
};

struct TCompiledFormula;

// A compiled formula; replaced as a whole by each successful compile.
struct TCompiledFormula {
    TCodeArray Code;
    std::vector<long double> Pool;
    std::vector<std::string> Names;
    int StackDepth = 0;       // values the stack array must hold
    int ParameterCount = 0;   // highest %N read from X, plus 1
    bool External = false;    // calls OnVariable or OnFunction
    // Stack for formulas deeper than the evaluator's local array, made at
    // compile time; a second evaluation running at the same time (from a
    // handler, or another thread) makes its own.
    std::unique_ptr<long double[]> DeepStack;
    mutable std::atomic_flag DeepStackBusy;
};

// Values the evaluator keeps in its local array; deeper formulas use DeepStack.
inline constexpr int kLocalStack = 128;

// Generates code for a postfix item list; returns 0 or -1.
int GenerateCode(const TInternalExprArray& postfix, const TFormulaLib* lib,
                 std::vector<std::string> names, TCompiledFormula& out);

}  // namespace fc
