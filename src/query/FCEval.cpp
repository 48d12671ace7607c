// The evaluator: a tight interpreter loop over the compiled instruction list.
//
// Errors are found through the floating-point status flags, but reading them
// stalls the floating-point pipeline, so the fast run does not read them. With
// finite inputs every error (division by zero, invalid operation, overflow)
// makes the result of the operation that raised it infinite or NaN, and such a
// value stays infinite or NaN through every later operation except those that
// can map it to a finite value again (division, power, comparisons, NOT, SIGN,
// ATAN, EXP, TANH, MIN, MAX, IIF, and values dropped unused). The fast run
// tests the operands of just those operations and the final result; when one
// is not finite (or the formula calls external handlers) the formula runs
// again in the checked mode, which clears the flags and tests them after every
// instruction, so it reports the first error exactly as it happened.

#include "FCInternal.h"

#include <atomic>
#include <cfenv>
#include <cmath>
#include <limits>
#include <memory>

namespace fc {
namespace {

constexpr int kErrorFlags = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
enum : int { kSuspect = 4, kOk = 0, kZeroDivide = 1, kInvalid = 2, kOverflow = 3, kUnknownVariable = -5, kUnknownFunction = -6 };

inline std::int32_t Rd(const std::uint8_t* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                     static_cast<std::uint32_t>(p[2]) << 16 |
                                     static_cast<std::uint32_t>(p[3]) << 24);
}

int FlagsToError(int flags) {
    if (flags & FE_OVERFLOW) return kOverflow;
    if (flags & FE_DIVBYZERO) return kZeroDivide;
    return kInvalid;
}

// Nearest integer, halves to even, through a signed 32-bit integer.
inline bool RoundInt32(long double x, long double& r) {
    r = std::rint(x);
    return r >= -2147483648.0L && r <= 2147483647.0L;
}

inline int Round(long double& acc) {
    long double r;
    if (!RoundInt32(acc, r)) return kInvalid;
    acc = r;
    return kOk;
}

inline int Fact(long double& acc) {
    long double n;
    if (!RoundInt32(std::fabs(acc), n)) return kInvalid;
    long double r = 1;
    for (long double i = 2; i <= n; i += 1) {
        r *= i;
        if (std::isinf(r)) break;  // overflowed; the flag reports it
    }
    acc = r;
    return kOk;
}

inline int Binom(long double x, long double& acc) {
    long double n, k;
    if (!RoundInt32(std::fabs(x), n) || !RoundInt32(std::fabs(acc), k)) return kInvalid;
    if (k > n) {
        acc = 0;
        return kOk;
    }
    long double num = 1, den = 1;
    for (long double i = 0; i < k; i += 1) {
        num *= n - i;
        if (std::isinf(num)) break;
    }
    for (long double i = 2; i <= k; i += 1) {
        den *= i;
        if (std::isinf(den)) break;
    }
    acc = num / den;
    return kOk;
}

inline long double Sign(long double x) { return x > 0 ? 1.0L : (x < 0 ? -1.0L : 0.0L); }

inline long double Stop(int& status, int reason) {
    status = reason;
    return 0;
}

struct Frame {
    const std::uint8_t* code;
    const long double* X;
    const long double* K;
    long double* stack;
    const TCompiledFormula* prog;
    const TFormulaCompilerE* owner;
};

// v - v is 0 for every finite v and NaN for infinities and NaN; unlike a
// comparison with the largest value it needs no 80-bit constant from memory.
// It raises the invalid flag for infinities, so only the fast run uses it.
inline bool Finite(long double v) { return v - v == 0.0L; }

// The maths library may leave flags behind from intermediate steps even when
// its result is right (powl(1E4000, 1) raises overflow). In the checked mode a
// function of finite arguments therefore reports by its result: NaN is an
// invalid operation, an infinity a division by zero when the library raised
// that and an overflow otherwise, and a finite value no error at all.
template <bool Checked>
inline void Settle(long double result, long double a, long double b = 0) {
    if constexpr (Checked) {
        // std::isfinite, as Finite's subtraction raises the invalid flag for infinities
        if (!std::isfinite(a) || !std::isfinite(b)) return;
        const int pole = std::fetestexcept(FE_DIVBYZERO);
        std::feclearexcept(kErrorFlags);
        if (std::isnan(result)) std::feraiseexcept(FE_INVALID);
        else if (std::isinf(result)) std::feraiseexcept(pole ? FE_DIVBYZERO : FE_OVERFLOW);
    }
}

template <bool Checked>
inline long double Pow(long double l, long double r) {
    const long double v = std::pow(l, r);
    Settle<Checked>(v, l, r);
    return v;
}

// Returns the formula's value; status gets kOk or the reason the run stopped.
// Kept out of line so that the loop has the registers to itself.
template <bool Checked>
[[gnu::noinline]] long double Run(const Frame& f, int& status) {
    // Leaves the fast run when a value that could vanish is not finite.
#define CHECK(v)                                                \
    if constexpr (!Checked) {                                   \
        if (!Finite(v)) return Stop(status, kSuspect);                        \
    }
#define CHECK2(a, b)                                            \
    if constexpr (!Checked) {                                   \
        if (!Finite(a) || !Finite(b)) return Stop(status, kSuspect);          \
    }
    const std::uint8_t* ip = f.code;
    const long double* const X = f.X;
    const long double* const K = f.K;
    long double* const base = f.stack;
    long double* sp = base;
    long double acc = 0;
    for (;;) {
        switch (*ip++) {
#define LOADS(SRC, EXPR)                                                    \
    case LD_##SRC: acc = EXPR; ip += 4; break;                              \
    case PLD_##SRC: *sp++ = acc; acc = EXPR; ip += 4; break;
            LOADS(X, X[Rd(ip)])
            LOADS(K, K[Rd(ip)])
            LOADS(T, base[Rd(ip)])
#undef LOADS
        case LD_V:
        case PLD_V:
            if constexpr (Checked) {
                if (!f.owner->OnVariable) return Stop(status, kUnknownVariable);
                if (ip[-1] == PLD_V) *sp++ = acc;
                acc = f.owner->OnVariable(f.prog->Names[static_cast<std::size_t>(Rd(ip))]);
                ip += 4;
                std::feclearexcept(kErrorFlags);  // flags of the handler's own work are not ours
                break;
            } else {
                return Stop(status, kSuspect);  // formulas with handlers run checked
            }
        case PUSH: *sp++ = acc; break;
        case DROP: {
            const int n = Rd(ip);
            ip += 4;
            for (int i = 0; i < n; ++i) { --sp; CHECK(*sp) }
            break;
        }
#define BINARY(NAME, EXPR, TEST)                                                                   \
    case NAME##_S: { const long double l = *--sp, r = acc; TEST acc = (EXPR); break; }           \
    case NAME##_X: { const long double l = acc, r = X[Rd(ip)]; ip += 4; TEST acc = (EXPR); break; } \
    case NAME##_K: { const long double l = acc, r = K[Rd(ip)]; ip += 4; TEST acc = (EXPR); break; } \
    case NAME##_T: { const long double l = acc, r = base[Rd(ip)]; ip += 4; TEST acc = (EXPR); break; }
#define REVERSED(NAME, EXPR)                                                                   \
    case R##NAME##_X: { const long double l = X[Rd(ip)], r = acc; ip += 4; CHECK2(l, r) acc = (EXPR); break; } \
    case R##NAME##_K: { const long double l = K[Rd(ip)], r = acc; ip += 4; CHECK2(l, r) acc = (EXPR); break; } \
    case R##NAME##_T: { const long double l = base[Rd(ip)], r = acc; ip += 4; CHECK2(l, r) acc = (EXPR); break; }
            BINARY(ADD, l + r, )
            BINARY(SUB, l - r, )
            BINARY(MUL, l * r, )
            BINARY(DIV, l / r, CHECK2(l, r))
            BINARY(POW, Pow<Checked>(l, r), CHECK2(l, r))
            BINARY(GT, l > r ? 1.0L : 0.0L, CHECK2(l, r))
            BINARY(LT, l < r ? 1.0L : 0.0L, CHECK2(l, r))
            BINARY(GE, l >= r ? 1.0L : 0.0L, CHECK2(l, r))
            BINARY(LE, l <= r ? 1.0L : 0.0L, CHECK2(l, r))
            BINARY(EQ, l == r ? 1.0L : 0.0L, CHECK2(l, r))
            BINARY(NE, l != r ? 1.0L : 0.0L, CHECK2(l, r))
            REVERSED(SUB, l - r)
            REVERSED(DIV, l / r)
            REVERSED(POW, Pow<Checked>(l, r))
#undef BINARY
#undef REVERSED
// acc = acc op1 (a op2 b); division tests its operands like DIV.
#define OPERATE_ADD(l, r) (l + r)
#define OPERATE_SUB(l, r) (l - r)
#define OPERATE_MUL(l, r) (l * r)
#define OPERATE_DIV(l, r) (l / r)
#define TEST_ADD(l, r)
#define TEST_SUB(l, r)
#define TEST_MUL(l, r)
#define TEST_DIV(l, r) CHECK2(l, r)
#define FUSED_FORM(N, OP1, OP2, SA, SB)                                      \
    case N: {                                                                \
        const long double a = SA[Rd(ip)], bv = SB[Rd(ip + 4)];               \
        ip += 8;                                                             \
        TEST_##OP2(a, bv)                                                    \
        const long double t = OPERATE_##OP2(a, bv);                          \
        TEST_##OP1(acc, t)                                                   \
        acc = OPERATE_##OP1(acc, t);                                         \
        break;                                                               \
    }
#define FUSED_OPS(I1, OP1, I2, OP2)                                         \
    FUSED_FORM(FUSED + ((I1) * 4 + (I2)) * 3 + 0, OP1, OP2, X, X)           \
    FUSED_FORM(FUSED + ((I1) * 4 + (I2)) * 3 + 1, OP1, OP2, X, K)           \
    FUSED_FORM(FUSED + ((I1) * 4 + (I2)) * 3 + 2, OP1, OP2, K, X)
#define FUSED_OUTER(I1, OP1) \
    FUSED_OPS(I1, OP1, 0, ADD) FUSED_OPS(I1, OP1, 1, SUB) FUSED_OPS(I1, OP1, 2, MUL) FUSED_OPS(I1, OP1, 3, DIV)
            FUSED_OUTER(0, ADD)
            FUSED_OUTER(1, SUB)
            FUSED_OUTER(2, MUL)
            FUSED_OUTER(3, DIV)
#undef FUSED_OUTER
#undef FUSED_OPS
#undef FUSED_FORM
        case U_CHS: acc = -acc; break;
        case U_NOT: CHECK(acc) acc = acc == 0 ? 1.0L : 0.0L; break;
        case U_SIN: { const long double in = acc; acc = std::sin(acc); Settle<Checked>(acc, in); break; }
        case U_COS: { const long double in = acc; acc = std::cos(acc); Settle<Checked>(acc, in); break; }
        case U_TAN: { const long double in = acc; acc = std::tan(acc); Settle<Checked>(acc, in); break; }
        case U_COTAN: { const long double in = acc; acc = 1.0L / std::tan(acc); Settle<Checked>(acc, in); break; }
        case U_ATAN: { const long double in = acc; CHECK(acc) acc = std::atan(acc); Settle<Checked>(acc, in); break; }
        case U_ACOS: { const long double in = acc; acc = std::atan2(std::sqrt((1.0L - acc) * (1.0L + acc)), acc); Settle<Checked>(acc, in); break; }
        case U_ASIN: { const long double in = acc; acc = std::atan2(acc, std::sqrt((1.0L - acc) * (1.0L + acc))); Settle<Checked>(acc, in); break; }
        case U_ABS: acc = std::fabs(acc); break;
        case U_SQRT: acc = std::sqrt(acc); break;
        case U_EXP: { const long double in = acc; CHECK(acc) acc = std::exp(acc); Settle<Checked>(acc, in); break; }
        case U_LN: { const long double in = acc; acc = std::log(acc); Settle<Checked>(acc, in); break; }
        case U_LG: { const long double in = acc; acc = std::log10(acc); Settle<Checked>(acc, in); break; }
        case U_INT: acc = std::trunc(acc); break;
        case U_FRAC: acc = acc - std::trunc(acc); break;
        case U_SQR: acc = acc * acc; break;
        case U_CUBE: acc = acc * acc * acc; break;
        case U_ROUND: if (const int e = Round(acc)) return Stop(status, e); break;
        case U_SIGN: CHECK(acc) acc = Sign(acc); break;
        case U_FACT: if (const int e = Fact(acc)) return Stop(status, e); break;
        case U_COSH: { const long double in = acc; const long double e = std::exp(acc); acc = (e + 1.0L / e) / 2; Settle<Checked>(acc, in); break; }
        case U_SINH: { const long double in = acc; const long double e = std::exp(acc); acc = (e - 1.0L / e) / 2; Settle<Checked>(acc, in); break; }
        case U_TANH: { const long double in = acc;
            CHECK(acc)
            // (e^2x - 1) / (e^2x + 1), taken on |x| so that large arguments give +-1
            const long double e = std::exp(-2 * std::fabs(acc));
            acc = std::copysign((1.0L - e) / (1.0L + e), acc);
            Settle<Checked>(acc, in); break;
        }
        case U_ACOSH: { const long double in = acc; acc = std::log(acc + std::sqrt(acc * acc - 1.0L)); Settle<Checked>(acc, in); break; }
        case U_ASINH: { const long double in = acc;
            // ln(x + sqrt(x^2 + 1)), taken on |x| to avoid cancellation for negative x
            const long double a = std::fabs(acc);
            acc = std::copysign(std::log(a + std::sqrt(a * a + 1.0L)), acc);
            Settle<Checked>(acc, in); break;
        }
        case U_ATANH: { const long double in = acc; acc = std::log(std::sqrt((1.0L + acc) / (1.0L - acc))); Settle<Checked>(acc, in); break; }
        case BINOM_S: if (const int e = Binom(*--sp, acc)) return Stop(status, e); break;
        case IIF_S: sp -= 2; CHECK2(sp[0], sp[1]) CHECK(acc) acc = sp[0] != 0 ? sp[1] : acc; break;
#define VARIADIC(NAME, EXPR, TEST)                                                      \
    case NAME##_N: {                                                              \
        const int n = Rd(ip); ip += 4;                                            \
        for (int i = n - 2; i >= 0; --i) { const long double l = *--sp, r = acc; TEST acc = (EXPR); } \
        break;                                                              \
    }
            VARIADIC(MIN, l < r ? l : r, CHECK2(l, r))
            VARIADIC(MAX, l > r ? l : r, CHECK2(l, r))
            VARIADIC(OR, l + r, )
            VARIADIC(AND, l * r, )
#undef VARIADIC
        case CALLU:
            if constexpr (Checked) {
                if (!f.owner->OnFunction) return Stop(status, kUnknownFunction);
                const std::int32_t name = Rd(ip), n = Rd(ip + 4);
                ip += 8;
                *sp++ = acc;
                sp -= n;
                acc = f.owner->OnFunction(f.prog->Names[static_cast<std::size_t>(name)],
                                          std::span<const long double>(sp, static_cast<std::size_t>(n)));
                std::feclearexcept(kErrorFlags);
                break;
            } else {
                return Stop(status, kSuspect);
            }
        case RET:
            CHECK(acc)
            status = kOk;
            return acc;
        default:
            return Stop(status, kInvalid);  // not produced by the code generator
        }
#undef CHECK
#undef CHECK2
        if constexpr (Checked) {
            if (const int flags = std::fetestexcept(kErrorFlags)) return Stop(status, FlagsToError(flags));
        }
    }
}

}  // namespace
}  // namespace fc

long double TFormulaCompilerE::Evaluate(std::span<const long double> X) const {
    using namespace fc;
    const TCompiledFormula& prog = *compiled_;
    if (!prog.External && prog.StackDepth <= kLocalStack &&
        X.size() >= static_cast<std::size_t>(prog.ParameterCount) && prog.Code.Count() > 0) {
        long double stack[kLocalStack];
        const Frame frame{prog.Code.Data(), X.data(), prog.Pool.data(), stack, &prog, this};
        int e = kOk;
        const long double r = Run<false>(frame, e);
        if (e == kOk) return r;
    }
    return EvaluateChecked(X);
}

long double TFormulaCompilerE::EvaluateChecked(std::span<const long double> X) const {
    using namespace fc;
    // A handler may compile this formula anew while it runs; the code it runs
    // must stay alive until the end.
    const std::shared_ptr<const TCompiledFormula> keep = compiled_;
    const TCompiledFormula& prog = *keep;
    if (prog.Code.Count() == 0) return 0;
    const long double* x = X.data();
    long double padded[kMaxParameter + 1];
    if (X.size() < static_cast<std::size_t>(prog.ParameterCount)) {
        for (int i = 0; i <= kMaxParameter; ++i)
            padded[i] = static_cast<std::size_t>(i) < X.size() ? X[static_cast<std::size_t>(i)] : 0.0L;
        x = padded;
    }
    long double local[kLocalStack];
    long double* stack = local;
    std::unique_ptr<long double[]> own;
    struct Release {
        std::atomic_flag* flag = nullptr;
        ~Release() {
            if (flag) flag->clear(std::memory_order_release);
        }
    } release;
    if (prog.StackDepth > kLocalStack) {
        if (!prog.DeepStackBusy.test_and_set(std::memory_order_acquire)) {
            release.flag = &prog.DeepStackBusy;
            stack = prog.DeepStack.get();
        } else {
            own.reset(new long double[static_cast<std::size_t>(prog.StackDepth)]);
            stack = own.get();
        }
    }
    const Frame frame{prog.Code.Data(), x, prog.Pool.data(), stack, &prog, this};
    int e = kOk;
    if (!prog.External) {
        const long double r = Run<false>(frame, e);
        if (e == kOk) return r;
    }
    // Clear what may be left from before, find the first error, and leave the
    // error flags clear.
    std::feclearexcept(kErrorFlags);
    const long double result = Run<true>(frame, e);
    std::feclearexcept(kErrorFlags);
    switch (e) {
    case kOk: return result;
    case kZeroDivide: throw EFormulaMathError(EFormulaMathError::TKind::ZeroDivide);
    case kOverflow: throw EFormulaMathError(EFormulaMathError::TKind::Overflow);
    case kInvalid: throw EFormulaMathError(EFormulaMathError::TKind::InvalidOp);
    default: throw EFCError(e, FormulaErrorMessage(e));
    }
}
