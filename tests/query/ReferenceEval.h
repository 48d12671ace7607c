#pragma once
// A plain evaluator of the compiler's postfix item list: one value stack, the
// flags cleared and tested around every operation, library functions evaluated
// by recursion. It shares nothing with the code generator or the instruction
// loop, so comparing the two checks the generated code.

#include "FCInternal.h"
#include "FCLib.h"

#include <cfenv>
#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace reference {

// The square root with the invalid flag for a negative operand on every
// system (MinGW's sqrtl does not raise it).
inline long double Sqrt(long double v) {
    const long double r = std::sqrt(v);
    if (std::isnan(r) && !std::isnan(v)) std::feraiseexcept(FE_INVALID);
    return r;
}

// The value, or the message of the first error.
struct Outcome {
    bool ok = false;
    long double value = 0;
    std::string error;
};

inline bool SameOutcome(const Outcome& a, const Outcome& b) {
    if (a.ok != b.ok) return false;
    if (!a.ok) return a.error == b.error;
    if (std::isnan(a.value) || std::isnan(b.value)) return std::isnan(a.value) && std::isnan(b.value);
    return a.value == b.value;
}

class Evaluator {
public:
    explicit Evaluator(const TFormulaLib* lib) : lib_(lib) {}

    Outcome Run(const std::string& source, bool unknownNames, std::span<const long double> x,
                const TVariableEvent& onVariable = {}, const TFunctionEvent& onFunction = {}) {
        onVariable_ = onVariable;
        onFunction_ = onFunction;
        TInternalExprArray postfix;
        std::vector<std::string> names;
        Outcome out;
        if (fc::FrontEnd(source, lib_, unknownNames, postfix, names) != 0) {
            out.error = "compile";
            return out;
        }
        names_ = names;
        std::vector<long double> params(x.begin(), x.end());
        params.resize(std::max<std::size_t>(params.size(), kMaxParameter + 1), 0.0L);
        std::feclearexcept(FE_ALL_EXCEPT);
        error_.clear();
        const std::optional<long double> v = Eval(postfix, params, 0);
        std::feclearexcept(FE_ALL_EXCEPT);
        if (!v) {
            out.error = error_;
            return out;
        }
        out.ok = true;
        out.value = *v;
        return out;
    }

private:
    bool Fail(const std::string& message) {
        error_ = message;
        return false;
    }

    // Tests the flags raised by the operation just done.
    bool Flags() {
        const int f = std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
        std::feclearexcept(FE_ALL_EXCEPT);
        if (f & FE_OVERFLOW) return Fail("Floating point overflow");
        if (f & FE_DIVBYZERO) return Fail("Floating point division by zero");
        if (f & FE_INVALID) return Fail("Invalid floating point operation");
        return true;
    }

    // Functions of the maths library report by their result for finite
    // arguments (NaN invalid, infinity a pole or an overflow), not by the
    // flags their intermediate steps may leave; an infinity from a zero
    // (first) argument is a pole whether or not the library says so.
    static void Settle(long double r, long double a, long double b = 0) {
        if (!std::isfinite(a) || !std::isfinite(b)) return;
        const bool pole = std::fetestexcept(FE_DIVBYZERO) || a == 0;
        std::feclearexcept(FE_ALL_EXCEPT);
        if (std::isnan(r)) std::feraiseexcept(FE_INVALID);
        else if (std::isinf(r)) std::feraiseexcept(pole ? FE_DIVBYZERO : FE_OVERFLOW);
    }

    static bool Int32(long double x, long double& r) {
        r = std::rint(x);
        return r >= -2147483648.0L && r <= 2147483647.0L;
    }

    bool Call(int row, std::vector<long double>& args, long double& r) {
        const long double x = args[0];
        switch (row) {
        case 0: r = -x; break;
        case 5: r = x == 0 ? 1 : 0; break;
        case 6: r = std::pow(x, args[1]); break;
        case 7: r = std::sin(x); break;
        case 8: r = std::cos(x); break;
        case 9: r = std::tan(x); break;
        case 10: r = 1 / std::tan(x); break;
        case 11: r = std::atan(x); break;
        case 12: r = std::atan2(Sqrt((1 - x) * (1 + x)), x); break;
        case 13: r = std::atan2(x, Sqrt((1 - x) * (1 + x))); break;
        case 14: r = std::fabs(x); break;
        case 15: r = Sqrt(x); break;
        case 16: r = std::exp(x); break;
        case 17: r = std::log(x); break;
        case 18: r = std::log10(x); break;
        case 19: r = std::trunc(x); break;
        case 20: r = x - std::trunc(x); break;
        case 21: r = x * x; break;
        case 22: r = x * x * x; break;
        case 23:
            if (!Int32(x, r)) return Fail("Invalid floating point operation");
            break;
        case 24: r = x != 0 ? args[1] : args[2]; break;
        case 25: r = x > 0 ? 1 : (x < 0 ? -1 : 0); break;
        case 26: {
            long double n;
            if (!Int32(std::fabs(x), n)) return Fail("Invalid floating point operation");
            r = 1;
            for (long double i = 2; i <= n && !std::isinf(r); i += 1) r *= i;
            break;
        }
        case 27: {
            long double n, k;
            if (!Int32(std::fabs(x), n) || !Int32(std::fabs(args[1]), k))
                return Fail("Invalid floating point operation");
            if (k > n) {
                r = 0;
                break;
            }
            long double num = 1, den = 1;
            for (long double i = 0; i < k && !std::isinf(num); i += 1) num *= n - i;
            for (long double i = 2; i <= k && !std::isinf(den); i += 1) den *= i;
            r = num / den;
            break;
        }
        case 28: { const long double e = std::exp(x); r = (e + 1 / e) / 2; break; }
        case 29: { const long double e = std::exp(x); r = (e - 1 / e) / 2; break; }
        case 30: { const long double e = std::exp(-2 * std::fabs(x)); r = std::copysign((1 - e) / (1 + e), x); break; }
        case 31: r = std::log(x + Sqrt(x * x - 1)); break;
        case 32: { const long double a = std::fabs(x); r = std::copysign(std::log(a + Sqrt(a * a + 1)), x); break; }
        case 33: r = std::log(Sqrt((1 + x) / (1 - x))); break;
        case 34: case 35: case 36: case 37: {
            r = args.back();
            for (int i = static_cast<int>(args.size()) - 2; i >= 0; --i) {
                const long double l = args[static_cast<std::size_t>(i)];
                if (row == 34) r = l < r ? l : r;
                else if (row == 35) r = l > r ? l : r;
                else if (row == 36) r = l + r;
                else r = l * r;
            }
            break;
        }
        default: return Fail("not a function");
        }
        static const bool library[38] = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 1, 1,
                                         0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0};
        if (library[row]) Settle(r, x, row == 6 ? args[1] : 0.0L);
        return Flags();
    }

    std::optional<long double> Eval(const TInternalExprArray& items, const std::vector<long double>& params, int depth) {
        std::vector<long double> st;
        std::vector<std::pair<ExprItem, std::size_t>> calls;
        for (int i = 0; i < items.Count(); ++i) {
            const ExprItem it = items.Item(i);
            switch (it.Kind) {
            case 'c':
                if (it.Index == -1) st.push_back(it.Value);
                else if (it.Index < 256) {
                    static const long double k[] = {0, 0, 1, 3.141592653589793238462643383279502884L,
                                                    0.693147180559945309417232121458176568L};
                    st.push_back(k[it.Index]);
                } else {
                    auto v = Library(it.Index - 256, {}, depth);
                    if (!v) return std::nullopt;
                    st.push_back(*v);
                }
                break;
            case 'a': st.push_back(params[static_cast<std::size_t>(it.Index)]); break;
            case 'v':
                if (!onVariable_) return Fail("Unknown variable name"), std::nullopt;
                st.push_back(onVariable_(names_[static_cast<std::size_t>(it.Index)]));
                std::feclearexcept(FE_ALL_EXCEPT);
                break;
            case 'f':
            case 'u': calls.push_back({it, st.size()}); break;
            case '&': {
                const auto [call, height] = calls.back();
                calls.pop_back();
                std::vector<long double> args(st.begin() + static_cast<std::ptrdiff_t>(height), st.end());
                st.resize(height);
                long double r = 0;
                if (call.Kind == 'u') {
                    if (!onFunction_) return Fail("Unknown function name"), std::nullopt;
                    r = onFunction_(names_[static_cast<std::size_t>(call.Index)], args);
                    std::feclearexcept(FE_ALL_EXCEPT);
                } else if (call.Index >= 256) {
                    auto v = Library(call.Index - 256, args, depth);
                    if (!v) return std::nullopt;
                    r = *v;
                } else if (!Call(call.Index, args, r)) {
                    return std::nullopt;
                }
                st.push_back(r);
                break;
            }
            default: {
                const long double rr = st.back();
                st.pop_back();
                const long double l = st.back();
                long double r = 0;
                switch (it.Kind) {
                case '+': r = l + rr; break;
                case '-': r = l - rr; break;
                case '*': r = l * rr; break;
                case '/': r = l / rr; break;
                case '^':
                    r = std::pow(l, rr);
                    Settle(r, l, rr);
                    break;
                case 'o': {
                    const bool b[6] = {l > rr, l < rr, l >= rr, l <= rr, l == rr, l != rr};
                    r = b[it.Index] ? 1 : 0;
                    break;
                }
                default: return Fail("item"), std::nullopt;
                }
                if (!Flags()) return std::nullopt;
                st.back() = r;
            }
            }
        }
        return st.back();
    }

    std::optional<long double> Library(int i, const std::vector<long double>& args, int depth) {
        TInternalExprArray body;
        std::vector<std::string> names;
        if (depth > 64 || fc::FrontEnd(lib_->Functions.EntrySource(i), lib_, false, body, names) != 0)
            return Fail("library"), std::nullopt;
        std::vector<long double> params = args;
        params.resize(std::max<std::size_t>(params.size(), kMaxParameter + 1), 0.0L);
        return Eval(body, params, depth + 1);
    }

    const TFormulaLib* lib_;
    TVariableEvent onVariable_;
    TFunctionEvent onFunction_;
    std::vector<std::string> names_;
    std::string error_;
};

}  // namespace reference
