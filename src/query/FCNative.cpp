// Machine code for simple formulas on x86-64.
//
// The interpreter keeps every value it cannot hold in its accumulator in
// memory, in the 80-bit format, and loading or storing that format costs
// several times a double on current processors (it is microcoded on recent
// AMD cores): a formula of twenty operators spends most of its time moving
// values. Here the instruction list of a formula made only of loads,
// arithmetic, comparisons and a few exact functions is translated once, at
// compile time, into x87 instructions that keep the whole value stack in the
// FPU's eight registers. The operations are the very ones the interpreter
// performs, in the same order and with the same rounding, so the values are
// identical.
//
// The parameters the formula reads most are loaded once, into the lowest
// registers, as far as the values leave room; the others are read from memory
// where they are used. Constants that a double holds exactly are read as
// doubles, which costs no more than a register.
//
// Errors are found as the interpreter's fast run finds them (see FCEval.cpp):
// with finite inputs every error leaves an infinity or a NaN that stays one
// through every later operation except divisions, comparisons, NOT and values
// dropped unused. The code tests the operands of just those and the result
// (v - v is 0 for finite values and a NaN for the others) and leaves through
// a stop that reports a suspect value; the caller then runs the interpreter,
// which finds and reports the first error exactly. A test costs time but never
// changes an outcome. Reading the FPU's flags instead would wait for every
// operation in flight and cost more than the formula itself.
//
// Anything else (library functions of the maths library, rounding, handlers,
// stacks deeper than the registers) stays with the interpreter, as does every
// platform other than x86-64 Linux and 64-bit Windows (built with MinGW) and
// any system that refuses executable memory.

#include "FCInternal.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

// The code follows the System V calling convention of x86-64 Linux, which
// MinGW's compiler can also call on 64-bit Windows.
#if defined(__x86_64__) && (defined(__linux__) || (defined(_WIN32) && defined(__GNUC__)))
#define FC_NATIVE 1
#else
#define FC_NATIVE 0
#endif

namespace fc {

#if FC_NATIVE

namespace {

constexpr int kRegisters = 8;

// Bytes of operands after an opcode.
int OperandBytes(std::uint8_t op) {
    if ((op >= FUSED && op <= FUSED_LAST) || op == CALLU) return 8;
    if (op <= PLD_V || op == DROP || (op >= MIN_N && op <= AND_N)) return 4;
    if (op >= ADD_S && op <= RPOW_T) return (op >= RSUB_X || (op - ADD_S) % 4 != 0) ? 4 : 0;
    return 0;
}

// Where an operand comes from: an FPU register (a parameter held there for
// the whole run, or a value of the stack), a double constant, or an 80-bit
// value in memory (a parameter, or a constant after the code).
struct Source {
    enum Kind { Register, Double, Zero, One, Parameter, Extended, Invalid } kind;
    int index = 0;  // the register's place from the bottom, or the parameter
    long double value = 0;
};

class Translator {
public:
    Translator(const TCompiledFormula& prog, const std::vector<int>& residents)
        : prog_(prog), residents_(residents) {}

    // The machine code with its constants, or nothing when some instruction
    // is beyond this translator or the registers do not suffice.
    std::optional<std::vector<std::uint8_t>> Translate() {
        const std::uint8_t* ip = prog_.Code.Data();
        const std::uint8_t* const end = ip + prog_.Code.Count();
        Bytes({0xF3, 0x0F, 0x1E, 0xFA});  // endbr64, for processes that check indirect calls
        for (int x : residents_) LoadParameter(x);
        depth_ = peak_ = 0;  // the parameters stay below the values
        while (ip < end) {
            const std::uint8_t op = *ip++;
            auto operand = [&](int k = 0) {
                std::int32_t v;
                std::memcpy(&v, ip + 4 * k, 4);
                return v;
            };
            if (op == RET) {
                if (depth_ != 1 || ip != end) return std::nullopt;
                Test(0);
                for (std::size_t i = 0; i < residents_.size(); ++i) Bytes({0xDD, 0xD9});  // fstp st(1)
                Bytes({0xC6, 0x06, 0x00, 0xC3});  // mov byte [rsi], 0; ret
                return Finish();
            }
            if (!Instruction(op, operand)) return std::nullopt;
            ip += OperandBytes(op);
            if (Resident() + peak_ > kRegisters) return std::nullopt;
        }
        return std::nullopt;
    }

private:
    int Resident() const { return static_cast<int>(residents_.size()); }

    template <class Operand>
    bool Instruction(std::uint8_t op, Operand operand) {
        switch (op) {
        case LD_X: case PLD_X: case LD_K: case PLD_K: case LD_T: case PLD_T: {
            const Source s = Leaf("XKT"[(op - LD_X) % 4], operand());
            if (!Valid(s)) return false;
            Push(s);
            return true;
        }
        case PUSH: return true;  // the accumulator simply stays where it is
        default: break;
        }
        if (depth_ < 1) return false;  // everything else works on the accumulator
        switch (op) {
        case DROP: {
            const int n = operand();
            if (n < 0 || n >= depth_) return false;
            for (int i = 0; i < n; ++i) {
                Test(1);
                Bytes({0xDD, 0xD9});  // fstp st(1)
                --depth_;
            }
            return true;
        }
        case U_CHS: Bytes({0xD9, 0xE0}); return true;
        case U_ABS: Bytes({0xD9, 0xE1}); return true;
        case U_SQRT: Bytes({0xD9, 0xFA}); return true;
        case U_SQR: Bytes({0xD8, 0xC8}); return true;  // fmul st, st
        case U_CUBE:
            Grow(1);
            Bytes({0xD9, 0xC0, 0xD8, 0xC8, 0xDE, 0xC9});  // (x * x) * x
            --depth_;
            return true;
        case U_NOT:
            // acc == 0: compare 0 with acc, then the result as for EQ
            Test(0);
            Grow(1);
            Bytes({0xD9, 0xEE, 0xDF, 0xF1});  // fldz; fcomip st, st(1)
            --depth_;
            Select(0xDA, 0xC9);  // fcmove
            return true;
        default: break;
        }
        if (op >= FUSED && op <= FUSED_LAST) {
            // acc = acc op1 (a op2 b)
            const int index = op - FUSED, form = index % 3, op2 = index / 3 % 4, op1 = index / 12;
            const Source a = Leaf(form == 2 ? 'K' : 'X', operand(0)), b = Leaf(form == 1 ? 'K' : 'X', operand(1));
            if (!Valid(a) || !Valid(b)) return false;
            Push(a);
            Apply(op2, b, false);
            if (op1 == 3) TestTwo();
            Pop(op1, false);
            return true;
        }
        if (op >= ADD_S && op <= NE_T) {
            const int family = (op - ADD_S) / 4, variant = (op - ADD_S) % 4;
            if (family == 4) return false;  // powers go through the maths library
            if (variant == 0) {
                if (depth_ < 2) return false;
                if (family < 4) {
                    if (family == 3) TestTwo();
                    Pop(family, false);
                    return true;
                }
                return Compare(family - 5);
            }
            const Source s = Leaf("SXKT"[variant], operand());
            if (!Valid(s)) return false;
            if (family < 4) {
                Apply(family, s, false);
                return true;
            }
            Push(s);
            return Compare(family - 5);
        }
        if (op >= RSUB_X && op <= RDIV_T) {
            const int family = (op - RSUB_X) / 3 == 0 ? 1 : 3, variant = (op - RSUB_X) % 3;
            const Source s = Leaf("XKT"[variant], operand());
            if (!Valid(s)) return false;
            Apply(family, s, true);
            return true;
        }
        return false;
    }

    Source Leaf(char kind, std::int32_t n) const {
        if (kind == 'T') return n >= 0 ? Source{Source::Register, Resident() + n} : Source{Source::Invalid};
        if (kind == 'X') {
            if (n < 0 || n >= prog_.ParameterCount) return {Source::Invalid};  // beyond what the caller passes
            for (int j = 0; j < Resident(); ++j)
                if (residents_[static_cast<std::size_t>(j)] == n) return {Source::Register, j};
            return {Source::Parameter, n};
        }
        if (n < 0 || static_cast<std::size_t>(n) >= prog_.Pool.size()) return {Source::Invalid};
        const long double v = prog_.Pool[static_cast<std::size_t>(n)];
        if (v == 0 && !std::signbit(v)) return {Source::Zero, 0, v};
        if (v == 1) return {Source::One, 0, v};
        if (static_cast<long double>(static_cast<double>(v)) == v) return {Source::Double, 0, v};
        return {Source::Extended, 0, v};
    }

    // An operand the code generator could have produced: a register operand
    // lies below the top of the values.
    bool Valid(const Source& s) const {
        if (s.kind == Source::Invalid) return false;
        return s.kind != Source::Register || (s.index >= 0 && s.index < Resident() + depth_);
    }

    // The FPU stack position of a register operand.
    int Position(const Source& s) const { return Resident() + depth_ - 1 - s.index; }

    void LoadParameter(int n) {
        Grow(1);
        Bytes({0xDB, 0xAF});  // fld tbyte [rdi + 16 n]
        Int32(n * static_cast<std::int32_t>(sizeof(long double)));
    }

    void Push(const Source& s) {
        switch (s.kind) {
        case Source::Register: Bytes({0xD9, static_cast<std::uint8_t>(0xC0 + Position(s))}); break;  // fld st(i)
        case Source::Zero: Bytes({0xD9, 0xEE}); break;  // fldz
        case Source::One: Bytes({0xD9, 0xE8}); break;   // fld1
        case Source::Double: {
            Bytes({0xDD, 0x05});  // fld qword [rip + disp32]
            const double d = static_cast<double>(s.value);
            Constant(&d, sizeof d);
            break;
        }
        case Source::Extended:
            Bytes({0xDB, 0x2D});  // fld tbyte [rip + disp32]
            Constant(&s.value, 10);
            break;
        case Source::Parameter: LoadParameter(s.index); return;
        case Source::Invalid: return;  // refused before
        }
        Grow(1);
    }

    // acc = acc op s, or s op acc when reversed, for + - * / (0 to 3). A
    // register or a double is taken where it is; anything else is loaded.
    // A division tests its operands first, as the interpreter does.
    void Apply(int op, const Source& s, bool reversed) {
        static constexpr std::uint8_t kRegister[2][4] = {{0xC0, 0xE0, 0xC8, 0xF0}, {0xC0, 0xE8, 0xC8, 0xF8}};
        static constexpr std::uint8_t kMemory[2][4] = {{0, 4, 1, 6}, {0, 5, 1, 7}};
        if (s.kind == Source::Register) {
            if (op == 3) {
                Test(0);
                Test(Position(s));
            }
            Bytes({0xD8, static_cast<std::uint8_t>(kRegister[reversed][op] + Position(s))});  // fop st, st(i)
        } else if (s.kind == Source::Double || s.kind == Source::Zero || s.kind == Source::One) {
            if (op == 3) Test(0);  // constants are finite
            Bytes({0xDC, static_cast<std::uint8_t>(kMemory[reversed][op] << 3 | 5)});  // fop qword [rip + disp32]
            const double d = static_cast<double>(s.value);
            Constant(&d, sizeof d);
        } else {
            Push(s);
            if (op == 3) TestTwo();
            Pop(op, reversed);
        }
    }

    // st(1) = st(1) op st(0), or st(0) op st(1) when reversed, and pop.
    void Pop(int op, bool reversed) {
        static constexpr std::uint8_t kPop[2][4] = {{0xC1, 0xE9, 0xC9, 0xF9}, {0xC1, 0xE1, 0xC9, 0xF1}};
        Bytes({0xDE, kPop[reversed][op]});
        --depth_;
    }

    // st(1) compared with st(0), both replaced by 1 or 0.
    bool Compare(int which) {
        // fcmov opcode pairs for GT LT GE LE EQ NE after comparing l with r
        static constexpr std::uint8_t kSelect[6][2] = {{0xDB, 0xD1}, {0xDA, 0xC1}, {0xDB, 0xC1},
                                                       {0xDA, 0xD1}, {0xDA, 0xC9}, {0xDB, 0xC9}};
        TestTwo();
        Bytes({0xD9, 0xC9, 0xDF, 0xF1});  // fxch; fcomip st, st(1): l against r, l popped
        --depth_;
        Select(kSelect[which][0], kSelect[which][1]);
        return true;
    }

    // Replaces st(0) by 1 when the fcmov condition holds after the last
    // comparison, else 0.
    void Select(std::uint8_t a, std::uint8_t b) {
        Grow(2);
        Bytes({0xD9, 0xE8, 0xD9, 0xEE, a, b});  // fld1; fldz; fcmovcc st, st(1)
        Bytes({0xDD, 0xDA, 0xDD, 0xD8});        // fstp st(2); fstp st(0)
        depth_ -= 2;
    }

    // Leaves the run through a stop when st(i) is not finite: st(i) - st(i)
    // is a NaN then, and a NaN compares unordered with itself.
    void Test(int i) {
        Grow(1);
        Bytes({0xD9, static_cast<std::uint8_t>(0xC0 + i), 0xD8, 0xE0});  // fld st(i); fsub st, st
        Bytes({0xDF, 0xE8});                                            // fucomip st, st
        --depth_;
        Bytes({0x0F, 0x8A});  // jp stop
        stops_.push_back({code_.size(), static_cast<std::size_t>(Resident() + depth_)});
        Int32(0);
    }
    void TestTwo() {
        Test(0);
        Test(1);
    }

    void Grow(int n) {
        depth_ += n;
        if (depth_ > peak_) peak_ = depth_;
    }

    void Bytes(std::initializer_list<std::uint8_t> bytes) { code_.insert(code_.end(), bytes); }
    void Int32(std::int32_t v) {
        std::uint8_t b[4];
        std::memcpy(b, &v, 4);
        code_.insert(code_.end(), b, b + 4);
    }

    // A RIP-relative operand, patched once the constants have their places.
    void Constant(const void* bytes, std::size_t size) {
        constants_.push_back({code_.size(), data_.size()});
        Int32(0);
        data_.insert(data_.end(), static_cast<const std::uint8_t*>(bytes),
                     static_cast<const std::uint8_t*>(bytes) + size);
        data_.resize((data_.size() + 15) / 16 * 16);
    }

    static void Patch(std::vector<std::uint8_t>& code, std::size_t at, std::size_t target) {
        const auto disp = static_cast<std::int32_t>(static_cast<std::ptrdiff_t>(target) -
                                                    static_cast<std::ptrdiff_t>(at + 4));
        std::memcpy(&code[at], &disp, 4);
    }

    std::vector<std::uint8_t> Finish() {
        // The stops: each empties the FPU stack down to one value, as the
        // calling convention asks, and reports a suspect value.
        std::size_t stopAt[kRegisters + 1] = {};  // one stop per depth, made when first needed
        for (const Jump& stop : stops_) {
            std::size_t& at = stopAt[stop.depth];
            if (at == 0) {
                at = code_.size();
                for (std::size_t i = 1; i < stop.depth; ++i) Bytes({0xDD, 0xD8});  // fstp st(0)
                Bytes({0xC6, 0x06, 0x01, 0xC3});                          // mov byte [rsi], 1; ret
            }
            Patch(code_, stop.at, at);
        }
        const std::size_t dataStart = (code_.size() + 15) / 16 * 16;
        for (const Jump& c : constants_) Patch(code_, c.at, dataStart + c.depth);
        std::vector<std::uint8_t> out = code_;
        out.resize(dataStart, 0xCC);
        out.insert(out.end(), data_.begin(), data_.end());
        return out;
    }

    struct Jump {
        std::size_t at;
        std::size_t depth;  // values on the FPU stack at a stop; the data offset of a constant
    };

    const TCompiledFormula& prog_;
    const std::vector<int>& residents_;
    std::vector<std::uint8_t> code_, data_;
    std::vector<Jump> stops_, constants_;
    int depth_ = 0;
    int peak_ = 0;
};

// The parameters the code reads, most used first.
std::vector<int> ParametersByUse(const TCompiledFormula& prog) {
    int uses[kMaxParameter + 1] = {};
    const std::uint8_t* ip = prog.Code.Data();
    const std::uint8_t* const end = ip + prog.Code.Count();
    auto count = [&](const std::uint8_t* at) {
        std::int32_t n;
        std::memcpy(&n, at, 4);
        if (n >= 0 && n <= kMaxParameter) ++uses[n];
    };
    while (ip < end) {
        const std::uint8_t op = *ip++;
        if (op == LD_X || op == PLD_X || (op >= ADD_S && op <= NE_T && (op - ADD_S) % 4 == 1) || op == RSUB_X ||
            op == RDIV_X || op == RPOW_X) {
            count(ip);
        } else if (op >= FUSED && op <= FUSED_LAST) {
            const int form = (op - FUSED) % 3;
            if (form != 2) count(ip);
            if (form != 1) count(ip + 4);
        }
        ip += OperandBytes(op);
    }
    std::vector<int> order;
    for (int i = 0; i <= kMaxParameter; ++i)
        if (uses[i] > 0) order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return uses[a] > uses[b]; });
    return order;
}

}  // namespace

std::unique_ptr<TNativeCode> TNativeCode::Make(const TCompiledFormula& prog) {
    if (std::numeric_limits<long double>::digits != 64 || prog.External) return nullptr;
    // Keep as many parameters in registers as the values leave room for,
    // the most used ones first.
    std::vector<int> residents = ParametersByUse(prog);
    std::optional<std::vector<std::uint8_t>> bytes;
    for (;;) {
        bytes = Translator(prog, residents).Translate();
        if (bytes || residents.empty()) break;
        residents.pop_back();
    }
    if (!bytes) return nullptr;
    std::unique_ptr<TNativeCode> code(new TNativeCode);
    code->memory_ = hexlane::ExecutableMemory::Make(bytes->data(), bytes->size());
    if (!code->memory_) return nullptr;
    code->entry_ = reinterpret_cast<Entry>(const_cast<void*>(code->memory_->Entry()));
    return code;
}

#else

std::unique_ptr<TNativeCode> TNativeCode::Make(const TCompiledFormula&) { return nullptr; }

#endif

TNativeCode::~TNativeCode() = default;

}  // namespace fc
