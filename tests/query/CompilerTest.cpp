// The formula language's front end: error positions, adjacency, argument
// counting, unary rewriting, precedence, and the compiler component's rules.

#include "FC.h"
#include "FCInternal.h"
#include "FCLib.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

int CompileCode(const std::string& text, bool unknownNames = false) {
    TFormulaCompilerE f;
    if (unknownNames) f.SetUnknownNames(true);
    return f.Compile(text);
}

long double Eval(const std::string& text, std::vector<long double> x = {}) {
    TFormulaCompilerE f;
    const int code = f.Compile(text);
    EXPECT_EQ(code, 0) << text;
    return f.Evaluate(std::span<const long double>(x.data(), x.size()));
}

// The kinds of the postfix items of a text, one character each.
std::string PostfixKinds(const std::string& text) {
    TInternalExprArray postfix;
    std::vector<std::string> names;
    EXPECT_EQ(fc::FrontEnd(text, nullptr, true, postfix, names), 0) << text;
    std::string kinds;
    for (int i = 0; i < postfix.Count(); ++i) kinds += postfix.Kind(i);
    return kinds;
}

TEST(Compiler, SyntaxErrorsAreReportedAtThePositionInTheExpandedText) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"", 0},            // the empty formula is the constant 0
        {"   ", 4},         // only spaces: the closing position, length plus 1
        {"1+", 3},          {"(1", 3},        {"1)", 2},          {"2 3", 3},
        {"2 * -3", 5},      {"%0<-1", 4},     {"SIN (1)", 4},     {"PI()", 3},
        {"SIN(1,2)", 6},    {"MIN()", 5},     {"(1,2)", 3},       {"1,2", 2},
        {"%0!", 3},         {"1.5E", 4},      {"1..2", 4},        {".5", 1},
        {"FOO+1", 3},       {"1=<2", 3},      {"1<<2", 3},        {"1=>2", 3},
        {"1\t+2", 2},       {"1==2", 3},      {"%", 1},           {"%x", 1},
        {"SIN", 4},         {"SIN(1", 6},     {"1 & 2", 3},       {"2(3)", 2},
        {"--1", 2},         {"!", 2},         {"IIF(1,2)", 8},    {"1E99999", 7},
        {"%99999999999", 12},
    };
    for (const auto& [text, code] : cases) EXPECT_EQ(CompileCode(text), code) << '"' << text << '"';
}

TEST(Compiler, ValidFormulasOfTheEdgeCases) {
    EXPECT_EQ(Eval("2 * (-3)"), -6);
    EXPECT_EQ(Eval("%0<(-1)", {-2}), 1);
    EXPECT_NEAR(static_cast<double>(Eval("PI+2")), 5.14159265358979, 1e-14);
    EXPECT_EQ(Eval("MIN(5)"), 5);
    EXPECT_EQ(Eval("POW((2,3))"), 8);  // the inner comma separates the call's arguments
    EXPECT_EQ(Eval("!0"), 1);
    EXPECT_EQ(Eval("!%0", {3}), 0);
    EXPECT_EQ(Eval("1.5E+3"), 1500);
    EXPECT_EQ(Eval("1.E2"), 100);
    EXPECT_EQ(Eval("1<>2"), 1);
    EXPECT_NEAR(static_cast<double>(Eval("sin(pi)")), 0, 1e-18);  // names ignore case
    EXPECT_EQ(Eval(" 1 +\r\n2 "), 3);                               // CR and LF are white space
    EXPECT_EQ(Eval("1E-5000"), 0);                                  // too small is zero
}

TEST(Compiler, UnaryOperatorsBindToTheOneOperandAfterThem) {
    EXPECT_EQ(Eval("-2^2"), 4);
    EXPECT_EQ(Eval("-%0^2", {3}), 9);
    EXPECT_NEAR(static_cast<double>(Eval("-SIN(%0)+1", {0.5L})), 1 - std::sin(0.5), 1e-15);
    EXPECT_EQ(Eval("+%0-(-%0)", {2}), 4);
    EXPECT_EQ(Eval("!%0+1", {0}), 2);
    EXPECT_EQ(Eval("-(2+3)*2"), -10);
    EXPECT_EQ(Eval("MAX(-1,-%0)", {5}), -1);
    // A minus before a literal folds into it; before 0 or 1 it is applied to ZERO or ONE.
    EXPECT_EQ(PostfixKinds("-2"), "c");
    EXPECT_EQ(PostfixKinds("-1"), "fc&");
    EXPECT_EQ(PostfixKinds("-%0"), "fa&");
    EXPECT_EQ(PostfixKinds("-SIN(1)"), "ffc&&");
}

TEST(Compiler, BinaryOperatorsAreLeftAssociativeWithThePrecedenceTable) {
    EXPECT_EQ(Eval("2^3^2"), 64);
    EXPECT_EQ(Eval("1<2<3"), 1);  // (1<2) is 1, and 1<3
    EXPECT_EQ(Eval("3>2>1"), 0);  // (3>2) is 1, and 1>1 is false
    EXPECT_EQ(Eval("2+3*4^2"), 50);
    EXPECT_EQ(Eval("8/4/2"), 1);
    EXPECT_EQ(Eval("1+1=2"), 1);
    EXPECT_EQ(Eval("10-4-3"), 3);
    EXPECT_EQ(PostfixKinds("1+2*3"), "ccc*+");
    EXPECT_EQ(PostfixKinds("SIN(1)^2"), "fc&c^");
}

TEST(Compiler, IdentifiersAreCutTo31CharactersAndUnknownNamesCollected) {
    TFormulaCompilerE f;
    f.SetUnknownNames(true);
    ASSERT_EQ(f.Compile("FOO+foo*Bar(1,2)"), 0);
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"FOO", "foo", "Bar"}));
    const std::string longName(40, 'Q');
    ASSERT_EQ(f.Compile(longName + "+1"), 0);
    EXPECT_EQ(f.Names(), std::vector<std::string>{std::string(31, 'Q')});
    // Without unknown names, a long name fails at its last character.
    EXPECT_EQ(CompileCode(longName), 40);
}

TEST(Compiler, ParametersAbove12AreASyntaxErrorAtThePercentSign) {
    EXPECT_EQ(CompileCode("%12+1"), 0);
    EXPECT_EQ(CompileCode("%13"), 1);
    EXPECT_EQ(CompileCode("1 + %20*2"), 5);
    EXPECT_EQ(CompileCode("MAX(%0, %0130)"), 9);
}

TEST(Compiler, ParameterCountIsTheHighestNumberPlusOne) {
    EXPECT_EQ(TCustomFormula::ParameterCount("", nullptr), 0);
    EXPECT_EQ(TCustomFormula::ParameterCount("%0", nullptr), 1);
    EXPECT_EQ(TCustomFormula::ParameterCount("%3 + %1", nullptr), 4);
    EXPECT_EQ(TCustomFormula::ParameterCount("%x %99999999999 %2", nullptr), 3);
    TFormulaLib lib;
    ASSERT_EQ(lib.Aliases.AddEntry("SPEED", "%4"), 0);
    EXPECT_EQ(TCustomFormula::ParameterCount("SPEED*2", &lib), 5);
    EXPECT_EQ(TCustomFormula::ParameterCount("SPEED*2", nullptr), 0);
}

TEST(Compiler, AFailedCompileChangesNothing) {
    TFormulaCompilerE f;
    f.SetUnknownNames(true);
    ASSERT_EQ(f.Compile("A+2"), 0);
    EXPECT_EQ(f.Compile("A+"), 3);
    EXPECT_EQ(f.Source(), "A+2");
    EXPECT_EQ(f.Names(), std::vector<std::string>{"A"});
    f.OnVariable = [](const std::string&) { return 1.0L; };
    EXPECT_EQ(f.Evaluate({}), 3);
}

TEST(Compiler, SettingSourceCompilesAndRaisesTheErrorMessage) {
    TFormulaCompilerE f;
    EXPECT_EQ(f.Source(), "1");
    EXPECT_EQ(f.Evaluate({}), 1);
    f.SetSource("2+2");
    EXPECT_EQ(f.Evaluate({}), 4);
    try {
        f.SetSource("2+");
        FAIL() << "no error raised";
    } catch (const EFCError& e) {
        EXPECT_STREQ(e.what(), "Syntax error at pos 3");
        EXPECT_EQ(e.Code, 3);
    }
    EXPECT_EQ(f.Source(), "2+2");
    EXPECT_EQ(f.Evaluate({}), 4);
}

TEST(Compiler, ChangingUnknownNamesRecompilesAndFallsBackToOne) {
    TFormulaCompilerE f;
    f.SetUnknownNames(true);
    f.SetSource("X*2");
    try {
        f.SetUnknownNames(false);
        FAIL() << "no error raised";
    } catch (const EFCError& e) {
        EXPECT_STREQ(e.what(), "Syntax error at pos 1");
    }
    EXPECT_FALSE(f.UnknownNames());
    EXPECT_EQ(f.Source(), "1");
    EXPECT_EQ(f.Evaluate({}), 1);
}

TEST(Compiler, WhileLoadingTheSourceIsOnlyStoredAndLoadedSwallowsItsError) {
    TFormulaCompilerE f;
    f.BeginLoading();
    f.SetSource("2*3");
    EXPECT_EQ(f.Evaluate({}), 1);  // not compiled yet
    f.Loaded();
    EXPECT_EQ(f.Evaluate({}), 6);
    f.BeginLoading();
    f.SetSource("2*");
    EXPECT_NO_THROW(f.Loaded());
    EXPECT_EQ(f.Source(), "1");
}

TEST(Compiler, ErrorCodesHaveTheirMessages) {
    EXPECT_EQ(FormulaErrorMessage(7), "Syntax error at pos 7");
    EXPECT_EQ(FormulaErrorMessage(-1), "Internal error");
    EXPECT_EQ(FormulaErrorMessage(-2), "Invalid identifier");
    EXPECT_EQ(FormulaErrorMessage(-3), "Reserved identifier");
    EXPECT_EQ(FormulaErrorMessage(-4), "This entry is referenced by others");
    EXPECT_EQ(FormulaErrorMessage(-5), "Unknown variable name");
    EXPECT_EQ(FormulaErrorMessage(-6), "Unknown function name");
    EXPECT_EQ(FormulaErrorMessage(kFormulaTooDeep), "Formula nested too deep (at most 2000 calls)");
    EXPECT_EQ(FormulaErrorMessage(-99), "Internal error");
    EXPECT_NO_THROW(TCustomFormula::RaiseFormulaError(0));
    EXPECT_THROW(TCustomFormula::RaiseFormulaError(-3), EFCError);
}

TEST(Compiler, TheLibraryReferenceIsClearedWhenTheLibraryIsDestroyed) {
    TFormulaCompilerE f;
    {
        TFormulaLib lib;
        f.SetLib(&lib);
        EXPECT_EQ(f.Lib(), &lib);
    }
    EXPECT_EQ(f.Lib(), nullptr);
    EXPECT_EQ(f.Compile("1+1"), 0);
}

TEST(Compiler, DeepNestingIsRefusedInsteadOfExhaustingTheStack) {
    std::string deep;
    for (int i = 0; i < 5000; ++i) deep += "SIN(";
    deep += "1";
    for (int i = 0; i < 5000; ++i) deep += ")";
    EXPECT_EQ(CompileCode(deep), kFormulaTooDeep);
    std::string parens = std::string(3000, '(') + "1" + std::string(3000, ')');
    EXPECT_EQ(Eval(parens), 1);  // plain parentheses need no recursion
}

TEST(Compiler, UnaryOperatorsNestedManyLevelsDeepCompileQuickly) {
    // Each level once moved the whole rest of the item list: 100,000 took seconds.
    const int levels = 100001;
    std::string minus;
    for (int i = 0; i < levels; ++i) minus += "-(";
    minus += "%0" + std::string(levels, ')');
    EXPECT_EQ(Eval(minus, {2}), -2);
    // A call as operand gets its closing parenthesis after the call's own.
    std::string calls;
    for (int i = 0; i < 1000; ++i) calls += "-ABS(";
    calls += "%0" + std::string(1000, ')');
    EXPECT_EQ(Eval(calls, {3}), -3);
}

}  // namespace
