// What compiled formulas compute, the errors that end an evaluation, and the
// generated code checked against a plain evaluator of the postfix items.

#include "FC.h"
#include "FCLib.h"
#include "ReferenceEval.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

long double Eval(const std::string& text, std::vector<long double> x = {}) {
    TFormulaCompilerE f;
    EXPECT_EQ(f.Compile(text), 0) << text;
    return f.Evaluate(std::span<const long double>(x.data(), x.size()));
}

// The message of the error that ends the evaluation, or "" without one.
std::string ErrorOf(const std::string& text, std::vector<long double> x = {}) {
    TFormulaCompilerE f;
    EXPECT_EQ(f.Compile(text), 0) << text;
    try {
        f.Evaluate(std::span<const long double>(x.data(), x.size()));
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

const char* const kDivision = "Floating point division by zero";
const char* const kInvalid = "Invalid floating point operation";
const char* const kOverflow = "Floating point overflow";

TEST(Evaluator, PowersGiveTheRealResultWhereOneExists) {
    EXPECT_EQ(Eval("POW(2, 10)"), 1024);
    EXPECT_EQ(Eval("2^10"), 1024);
    EXPECT_NEAR(static_cast<double>(Eval("2^0.5")), std::sqrt(2.0), 1e-15);
    EXPECT_EQ(Eval("0^2"), 0);  // mended: the logarithm form failed here
    EXPECT_EQ(Eval("0^0"), 1);
    EXPECT_EQ(Eval("(-2)^2"), 4);
    EXPECT_EQ(Eval("(-2)^3"), -8);
    EXPECT_EQ(Eval("%0^2", {0}), 0);  // a dry world's LEVEL_HYDROGRAPHICS^2
    EXPECT_EQ(ErrorOf("(-8)^(1/3)"), kInvalid);
    EXPECT_EQ(ErrorOf("0^(-1)"), kDivision);
    EXPECT_EQ(ErrorOf("10^5000"), kOverflow);
}

TEST(Evaluator, RoundingAndIntegerFunctions) {
    EXPECT_EQ(Eval("ROUND(2.5)"), 2);
    EXPECT_EQ(Eval("ROUND(3.5)"), 4);
    EXPECT_EQ(Eval("ROUND(-2.5)"), -2);
    EXPECT_EQ(Eval("ROUND(2147483647.4)"), 2147483647);
    EXPECT_EQ(ErrorOf("ROUND(2147483648)"), kInvalid);
    EXPECT_EQ(Eval("INT(-2.7)"), -2);
    EXPECT_EQ(Eval("FRAC(-2.75)"), -0.75L);
    EXPECT_EQ(Eval("FACT(4.6)"), 120);
    EXPECT_EQ(Eval("FACT(-3)"), 6);
    EXPECT_EQ(Eval("FACT(0)"), 1);
    EXPECT_EQ(Eval("FACT(1)"), 1);
    EXPECT_EQ(ErrorOf("FACT(2000)"), kOverflow);
    EXPECT_EQ(ErrorOf("FACT(3E9)"), kInvalid);  // beyond 32 bits, and no endless loop
    EXPECT_EQ(Eval("BINOM(5, 2)"), 10);
    EXPECT_EQ(Eval("BINOM(2, 5)"), 0);
    EXPECT_EQ(Eval("BINOM(5, 0)"), 1);
    EXPECT_EQ(Eval("BINOM(-5.2, 1.6)"), 10);
    EXPECT_EQ(ErrorOf("BINOM(2E9, 2E9)"), kOverflow);
}

TEST(Evaluator, LogicalFunctionsAndComparisons) {
    EXPECT_EQ(Eval("SIGN(-0.1)"), -1);
    EXPECT_EQ(Eval("SIGN(0)"), 0);
    EXPECT_EQ(Eval("SIGN(7)"), 1);
    EXPECT_EQ(Eval("NOT(0.001)"), 0);
    EXPECT_EQ(Eval("NOT(0)"), 1);
    EXPECT_EQ(Eval("IIF(-1, 2, 3)"), 2);
    EXPECT_EQ(Eval("IIF(0, 2, 3)"), 3);
    EXPECT_EQ(Eval("OR(1, 0, 0)"), 1);
    EXPECT_EQ(Eval("AND(1, 0, 1)"), 0);
    EXPECT_EQ(Eval("OR(1, 1)"), 2);
    EXPECT_EQ(Eval("AND(2, 3)"), 6);
    EXPECT_EQ(Eval("MIN(3, -1, 2)"), -1);
    EXPECT_EQ(Eval("MAX(3, -1, 7, 2)"), 7);
    EXPECT_EQ(Eval("1 = 1.0"), 1);
    EXPECT_EQ(Eval("2 <> 2"), 0);
    EXPECT_EQ(Eval("2 >= 2") + Eval("2 <= 1") * 10 + Eval("3 > 2") * 100, 101);
    EXPECT_EQ(Eval("1 = 1+1E-18"), 0);  // exact equality at full precision
}

TEST(Evaluator, TranscendentalFunctions) {
    EXPECT_EQ(Eval("PI"), 3.141592653589793238462643383279502884L);
    EXPECT_EQ(Eval("LN2"), 0.693147180559945309417232121458176568L);
    EXPECT_NEAR(static_cast<double>(Eval("ACOS(0)")), M_PI / 2, 1e-15);
    EXPECT_NEAR(static_cast<double>(Eval("ACOS(-1)")), M_PI, 1e-15);
    EXPECT_NEAR(static_cast<double>(Eval("ASIN(-1)")), -M_PI / 2, 1e-15);
    EXPECT_NEAR(static_cast<double>(Eval("COTAN(1)")), 1 / std::tan(1.0), 1e-15);
    EXPECT_NEAR(static_cast<double>(Eval("LG(1000)")), 3, 1e-15);
    EXPECT_NEAR(static_cast<double>(Eval("COSH(1)")), std::cosh(1.0), 1e-15);
    EXPECT_NEAR(static_cast<double>(Eval("SINH(-1)")), std::sinh(-1.0), 1e-15);
    EXPECT_NEAR(static_cast<double>(Eval("TANH(0.5)")), std::tanh(0.5), 1e-15);
    EXPECT_NEAR(static_cast<double>(Eval("ACOSH(2)")), std::acosh(2.0), 1e-15);
    EXPECT_NEAR(static_cast<double>(Eval("ASINH(-2)")), std::asinh(-2.0), 1e-15);
    EXPECT_NEAR(static_cast<double>(Eval("ATANH(0.5)")), std::atanh(0.5), 1e-15);
    EXPECT_EQ(Eval("SQR(3)+CUBE(2)+ABS(-1)+SQRT(16)+EXP(0)+LN(1)"), 23);
    // Mended: large arguments no longer fail although the result exists.
    EXPECT_EQ(Eval("TANH(10000)"), 1);
    EXPECT_NEAR(static_cast<double>(Eval("ASINH(-1E10)")), std::asinh(-1e10), 1e-12);
}

TEST(Evaluator, FloatingPointErrorsEndTheEvaluationWithTheFirstOne) {
    EXPECT_EQ(ErrorOf("1/0"), kDivision);
    EXPECT_EQ(ErrorOf("0/0"), kInvalid);
    EXPECT_EQ(ErrorOf("LN(0)"), kDivision);
    EXPECT_EQ(ErrorOf("LG(-1)"), kInvalid);
    EXPECT_EQ(ErrorOf("SQRT(-1)"), kInvalid);
    EXPECT_EQ(ErrorOf("ACOS(1.5)"), kInvalid);
    EXPECT_EQ(ErrorOf("ASIN(-2)"), kInvalid);
    EXPECT_EQ(ErrorOf("EXP(100000)"), kOverflow);
    EXPECT_EQ(ErrorOf("1E4000*1E4000"), kOverflow);
    EXPECT_EQ(ErrorOf("COTAN(0)"), kDivision);
    EXPECT_EQ(ErrorOf("ATANH(1)"), kDivision);
    // Errors are not hidden by what follows them, and the first one counts.
    EXPECT_EQ(ErrorOf("IIF(0, 1/0, 2)"), kDivision);
    EXPECT_EQ(ErrorOf("(1/0) > 5"), kDivision);
    EXPECT_EQ(ErrorOf("NOT(SQRT(-1))"), kInvalid);
    EXPECT_EQ(ErrorOf("5/(1E4000*1E4000)"), kOverflow);
    EXPECT_EQ(ErrorOf("MIN(2, 1/0)"), kDivision);
    EXPECT_EQ(ErrorOf("ATAN(EXP(1E5))"), kOverflow);
    EXPECT_EQ(ErrorOf("1/0+SQRT(-1)"), kDivision);
    EXPECT_EQ(ErrorOf("SQRT(-1)+1/0"), kInvalid);
    EXPECT_EQ(ErrorOf("%0/%1 + LN(%2)", {1, 2, 0}), kDivision);
    // Underflow is not an error.
    EXPECT_EQ(Eval("1E-4000*1E-4000"), 0);
}

TEST(Evaluator, ParametersReadTheGivenValuesAndMissingOnesAreZero) {
    EXPECT_EQ(Eval("%0*10+%1", {3, 4}), 34);
    EXPECT_EQ(Eval("%0+%5", {1}), 1);
    EXPECT_EQ(Eval("%12", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}), 13);
    // An infinite parameter is no error by itself, also through powers and
    // library functions; what is invalid for it stays invalid.
    EXPECT_TRUE(std::isinf(Eval("%0+1", {INFINITY})));
    EXPECT_TRUE(std::isinf(Eval("((%0+1)*2)^2", {INFINITY})));
    EXPECT_TRUE(std::isinf(Eval("EXP(%0)", {INFINITY})));
    EXPECT_EQ(Eval("ATAN(%0) > 1", {INFINITY}), 1);
    EXPECT_EQ(ErrorOf("SQRT(%0)", {-INFINITY}), kInvalid);
    EXPECT_EQ(ErrorOf("%0>1", {NAN}), kInvalid);
}

TEST(Evaluator, ExternalVariablesAndFunctionsCallTheirHandlers) {
    TFormulaCompilerE f;
    f.SetUnknownNames(true);
    ASSERT_EQ(f.Compile("Speed*2 + Scale(Speed, 10, %0)"), 0);
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"Speed", "Scale", "Speed"}));
    EXPECT_THROW(
        {
            try {
                f.Evaluate({1});
            } catch (const EFCError& e) {
                EXPECT_STREQ(e.what(), "Unknown variable name");
                EXPECT_EQ(e.Code, -5);
                throw;
            }
        },
        EFCError);
    int variableCalls = 0;
    f.OnVariable = [&](const std::string& name) {
        ++variableCalls;
        EXPECT_EQ(name, "Speed");
        return 3.0L;
    };
    try {
        f.Evaluate({1});
        FAIL() << "no error raised";
    } catch (const EFCError& e) {
        EXPECT_STREQ(e.what(), "Unknown function name");
        EXPECT_EQ(e.Code, -6);
    }
    std::vector<long double> seen;
    f.OnFunction = [&](const std::string& name, std::span<const long double> x) {
        EXPECT_EQ(name, "Scale");
        seen.assign(x.begin(), x.end());
        return x[0] * x[1] + x[2];
    };
    variableCalls = 0;
    EXPECT_EQ(f.Evaluate({5}), 6 + 35);
    EXPECT_EQ(variableCalls, 2);  // once per occurrence and evaluation
    EXPECT_EQ(seen, (std::vector<long double>{3, 10, 5}));
    // A handler may even compile the formula anew; the running code finishes.
    f.OnVariable = [&](const std::string&) {
        EXPECT_EQ(f.Compile("7"), 0);
        return 3.0L;
    };
    EXPECT_EQ(f.Evaluate({5}), 6 + 35);
    EXPECT_EQ(f.Evaluate({5}), 7);
    ASSERT_EQ(f.Compile("Speed*2 + Scale(Speed, 10, %0)"), 0);
    // Flags raised inside a handler are not the formula's errors.
    f.OnVariable = [](const std::string&) { return std::sqrt(-1.0L) == 0 ? 0.0L : 2.0L; };
    EXPECT_EQ(f.Evaluate({0}), 4 + 20);
}

TEST(Evaluator, FlagsLeftSetByOtherCodeAreNoError) {
    TFormulaCompilerE f;
    ASSERT_EQ(f.Compile("%0/2+1"), 0);
    std::feraiseexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
    EXPECT_EQ(f.Evaluate({4}), 3);
    EXPECT_EQ(f.Evaluate({4}), 3);
}

TEST(Evaluator, DeepFormulasUseAStackLargerThanTheLocalOne) {
    std::string text = "1";
    for (int i = 0; i < 300; ++i) text = "%0+(" + text + ")*%1";
    std::string alternate = "1";
    for (int i = 0; i < 300; ++i) alternate = "%0+" + alternate + "*%1";
    TFormulaCompilerE f, g;
    ASSERT_EQ(f.Compile(text), 0);
    ASSERT_EQ(g.Compile(alternate), 0);
    reference::Evaluator ref(nullptr);
    const std::vector<long double> x = {0.5L, 0.75L};
    EXPECT_TRUE(reference::SameOutcome(ref.Run(text, false, x), {true, f.Evaluate(x), ""}));
    EXPECT_TRUE(reference::SameOutcome(ref.Run(alternate, false, x), {true, g.Evaluate(x), ""}));
    // A handler may evaluate the same deep formula again while it runs.
    TFormulaCompilerE h;
    h.SetUnknownNames(true);
    ASSERT_EQ(h.Compile("Depth+" + text), 0);
    int depth = 0;
    h.OnVariable = [&](const std::string&) -> long double {
        if (++depth > 2) return 0;
        return h.Evaluate(x);
    };
    const long double inner = f.Evaluate(x);
    EXPECT_EQ(h.Evaluate(x), inner + (inner + (0 + inner)));
}

// The fast run gives the reference values to the last bit (the sign of zero
// included) and its errors, also when a value turns out not finite deep in
// the stack or is dropped unused.
TEST(Evaluator, FastRunGivesTheReferenceValuesAndErrorsOnEdgeInputs) {
    std::string deep = "%0";
    for (int i = 0; i < 9; ++i) deep = "(%1-%2)*(" + deep + "+%3)";  // nine values on the stack
    const std::string cases[] = {
        "(%0+%1)*%2-%3/(%4+1)+%0*%1-%2*%3+%4/2-(%0-%1)*(%2+%3)+%4*%4-%0/(%1+3)+%2",
        "%0/(%1-(%2-%3/%4))*(-%0)",
        "2/%0 - %1/3 + 0.1/(%2-0) - %3/1E4000 + 1E4000*%4 + (0.1-%0*%1)",
        // each of these loses a value that is not finite, but for the tests
        "(%0+%3)/(%1*%2)",
        "2/(%0*%1)",
        "NOT(%0)*2",
        "SECOND(%0*%1*1E4000, %2) - DOUBLE(%3/%4)",
        "(%3+%4)/(%0-%0)",
        "(%0>%1)+(%0<%1)*2+(%0>=%2)*4+(%0<=%3)*8+(%0=%4)*16+(%0<>%1)*32+(1<%0)*64",
        "NOT(%0-%1)+ABS(-%2)+SQR(%3)+CUBE(%4)+SQRT(%0)+OR(%1,%2)*AND(%3,%4)",
        "%0*%1+%2*%3+%4*%5+%6*%7+%8*%9+%10*%11+%12/%0+(%1-%2)*(%3-%4)",
        deep,
        "SIN(%0)+%1",
    };
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const std::vector<std::vector<long double>> inputs = {
        {1.5L, -2.25L, 3, 0.5L, 7, 1, 2, 3, 4, 5, 6, 7, 8},  {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {-1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1},            {1E4000L, 1E4000L, -1E4000L, 2, 3, 1, 1, 1, 1, 1, 1, 1, 1},
        {2, 3, inf, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},           {nan, 3, 4, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
        {-0.0L, 0.0L, 5, 1, 2, 1, 1, 1, 1, 1, 1, 1, 1}};
    TFormulaLib lib;
    ASSERT_EQ(lib.Functions.AddEntry("DOUBLE", "%0*2"), 0);
    ASSERT_EQ(lib.Functions.AddEntry("SECOND", "%1"), 0);  // drops its first argument
    reference::Evaluator ref(&lib);
    for (const std::string& text : cases) {
        TFormulaCompilerE f;
        f.SetLib(&lib);
        ASSERT_EQ(f.Compile(text), 0) << text;
        for (const auto& x : inputs) {
            reference::Outcome got;
            try {
                got = {true, f.Evaluate(x), ""};
            } catch (const std::exception& e) {
                got.error = e.what();
            }
            const reference::Outcome want = ref.Run(text, false, x);
            EXPECT_TRUE(reference::SameOutcome(got, want) && std::signbit(got.value) == std::signbit(want.value))
                << text << " with %0=" << static_cast<double>(x[0]) << ": got "
                << (got.ok ? std::to_string(static_cast<double>(got.value)) : got.error);
        }
    }
}

// ---- generated code against the plain evaluator ----

class RandomFormula {
public:
    explicit RandomFormula(std::uint32_t seed) : rng_(seed) {}

    std::string Make(int depth) {
        const int pick = Next(depth <= 0 ? 4 : 14);
        switch (pick) {
        case 0: return "%" + std::to_string(Next(5));
        case 1: {
            static const char* const k[] = {"0", "1", "2", "0.5", "3", "10", "1E300", "1E4000", "PI", "LN2", "ZERO", "ONE"};
            return k[Next(12)];
        }
        case 2: return "TWO";
        case 3: return "%" + std::to_string(Next(3));
        case 4:
        case 5:
        case 6: {
            static const char* const ops[] = {"+", "-", "*", "/", "^", "<", ">", "=", "<>", ">=", "<="};
            return Make(depth - 1) + ops[Next(depth > 3 ? 4 : 11)] + Make(depth - 1);
        }
        case 7: return "(" + Make(depth - 1) + ")";
        case 8: return "(-(" + Make(depth - 1) + "))";
        case 9: {
            static const char* const f1[] = {"SIN", "COS", "ABS", "SQRT", "LN", "EXP", "INT", "FRAC", "SQR",
                                             "ROUND", "SIGN", "NOT", "ATAN", "TANH", "CUBE", "FACT", "COTAN"};
            return std::string(f1[Next(17)]) + "(" + Make(depth - 1) + ")";
        }
        case 10: {
            static const char* const fv[] = {"MIN", "MAX", "OR", "AND"};
            std::string s = std::string(fv[Next(4)]) + "(" + Make(depth - 1);
            for (int i = Next(4); i > 0; --i) s += "," + Make(depth - 1);
            return s + ")";
        }
        case 11: return "IIF(" + Make(depth - 1) + "," + Make(depth - 1) + "," + Make(depth - 1) + ")";
        case 12: {
            static const char* const f2[] = {"POW", "BINOM", "ADD3", "DOUBLE", "SECOND"};
            const int k = Next(5);
            std::string s = std::string(f2[k]) + "(" + Make(depth - 1) + "," + Make(depth - 1);
            if (k == 2) s += "," + Make(depth - 1);
            if (k == 3) s = std::string("DOUBLE(") + Make(depth - 1);
            return s + ")";
        }
        default: return "(!" + Make(0) + ")";
        }
    }

private:
    int Next(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }
    std::mt19937 rng_;
};

TEST(Evaluator, GeneratedCodeAgreesWithThePlainEvaluatorOnRandomFormulas) {
    TFormulaLib lib;
    ASSERT_EQ(lib.Functions.AddEntry("DOUBLE", "%0*2"), 0);
    ASSERT_EQ(lib.Functions.AddEntry("ADD3", "%0+%1*%2-DOUBLE(%0)"), 0);
    ASSERT_EQ(lib.Functions.AddEntry("SECOND", "%1"), 0);  // the first argument is unused
    ASSERT_EQ(lib.Functions.AddEntry("TWO", "1+1"), 0);
    reference::Evaluator ref(&lib);
    RandomFormula gen(12345);
    const std::vector<std::vector<long double>> inputs = {
        {0, 0, 0, 0, 0}, {1.5L, -2.25L, 3, 0.5L, 7}, {-1, 1, 1E300L, -1E-300L, 2}, {2, 3, 5, 7, 11}};
    int compared = 0, errors = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string text = gen.Make(1 + i % 6);
        TFormulaCompilerE f;
        f.SetLib(&lib);
        ASSERT_EQ(f.Compile(text), 0) << text;
        for (const auto& x : inputs) {
            reference::Outcome got;
            try {
                got.value = f.Evaluate(x);
                got.ok = true;
            } catch (const std::exception& e) {
                got.error = e.what();
                ++errors;
            }
            const reference::Outcome want = ref.Run(text, false, x);
            ASSERT_TRUE(reference::SameOutcome(got, want))
                << text << " with %0=" << static_cast<double>(x[0]) << ": got "
                << (got.ok ? std::to_string(static_cast<double>(got.value)) : got.error) << ", want "
                << (want.ok ? std::to_string(static_cast<double>(want.value)) : want.error);
            ++compared;
        }
    }
    EXPECT_EQ(compared, 80000);
    EXPECT_GT(errors, 1000);  // the error paths were exercised too
}

}  // namespace
