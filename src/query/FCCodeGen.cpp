// Code generation: reduces the postfix item list to the instruction list run
// by the evaluator. Leaf operands (parameters, constants, arguments of inlined
// library functions) are not loaded when they appear but when the operator or
// call that consumes them is reached, so most operators take one of their
// operands straight from its source.

#include "FCInternal.h"
#include "FCLib.h"

#include <stdexcept>

namespace fc {

namespace {

// Kinds of entries on the compile-time value stack.
enum class Slot : std::uint8_t { Value, X, K, T };

struct Entry {
    Slot kind;
    std::int32_t arg;
    // A pending pair "a op b" of two leaves not yet loaded (op >= 0).
    int pairOp = -1;
    Slot bKind = Slot::Value;
    std::int32_t bArg = 0;
};

constexpr std::uint8_t kArith[4] = {ADD_S, SUB_S, MUL_S, DIV_S};

int ArithIndex(std::uint8_t base) {
    for (int i = 0; i < 4; ++i)
        if (kArith[i] == base) return i;
    return -1;
}

int Variant(Slot s) { return static_cast<int>(s); }  // offset of _X, _K, _T after _S

std::uint8_t UnaryOp(int row) {
    switch (row) {
    case 0: return U_CHS;
    case 5: return U_NOT;
    case 7: return U_SIN;
    case 8: return U_COS;
    case 9: return U_TAN;
    case 10: return U_COTAN;
    case 11: return U_ATAN;
    case 12: return U_ACOS;
    case 13: return U_ASIN;
    case 14: return U_ABS;
    case 15: return U_SQRT;
    case 16: return U_EXP;
    case 17: return U_LN;
    case 18: return U_LG;
    case 19: return U_INT;
    case 20: return U_FRAC;
    case 21: return U_SQR;
    case 22: return U_CUBE;
    case 23: return U_ROUND;
    case 25: return U_SIGN;
    case 26: return U_FACT;
    case 28: return U_COSH;
    case 29: return U_SINH;
    case 30: return U_TANH;
    case 31: return U_ACOSH;
    case 32: return U_ASINH;
    case 33: return U_ATANH;
    default: return kOpCount;
    }
}

long double BuiltinConstant(int row) {
    switch (row) {
    case kZERO: return 0.0L;
    case kONE: return 1.0L;
    case kPI: return 3.141592653589793238462643383279502884L;
    case kLN2: return 0.693147180559945309417232121458176568L;
    default: throw std::logic_error("not a constant");
    }
}

class Generator {
public:
    Generator(const TFormulaLib* lib, TCompiledFormula& out) : lib_(lib), out_(out) {}

    void Run(const TInternalExprArray& postfix, const std::vector<Entry>* binding) {
        TIntArray calls;  // per open call: kind, index, stack height
        for (int i = 0; i < postfix.Count(); ++i) {
            const ExprItem item = postfix.Item(i);
            switch (item.Kind) {
            case 'c':
                if (item.Index == -1) {
                    vs_.push_back({Slot::K, Constant(item.Value)});
                } else if (item.Index >= kLibBase) {
                    InlineLibrary(item.Index - kLibBase, 0);
                } else {
                    vs_.push_back({Slot::K, Constant(BuiltinConstant(item.Index))});
                }
                break;
            case 'a':
                if (binding) {
                    if (item.Index < 0 || item.Index >= static_cast<int>(binding->size()))
                        throw std::logic_error("parameter without argument");
                    vs_.push_back((*binding)[static_cast<std::size_t>(item.Index)]);
                } else {
                    vs_.push_back({Slot::X, item.Index});
                    if (item.Index + 1 > out_.ParameterCount) out_.ParameterCount = item.Index + 1;
                }
                break;
            case 'v':
                Load({Slot::Value, 0}, item.Index);
                vs_.push_back({Slot::Value, 0});
                out_.External = true;
                break;
            case 'f':
            case 'u':
                calls.AddInt(item.Kind);
                calls.AddInt(item.Index);
                calls.AddInt(static_cast<std::int32_t>(vs_.size()));
                break;
            case '&': {
                const int top = calls.Count() - 3;
                if (top < 0) throw std::logic_error("count without call");
                const char kind = static_cast<char>(calls.Read(top));
                const int index = calls.Read(top + 1);
                const int height = calls.Read(top + 2);
                for (int k = 0; k < 3; ++k) calls.Delete(calls.Count() - 1);
                const int n = item.Index;
                if (n < 1 || static_cast<int>(vs_.size()) - height != n)
                    throw std::logic_error("argument count mismatch");
                if (kind == 'u') ExternalCall(index, n);
                else if (index >= kLibBase) InlineLibrary(index - kLibBase, n);
                else BuiltinCall(index, n);
                break;
            }
            case 'o': {
                static const std::uint8_t ops[6] = {GT_S, LT_S, GE_S, LE_S, EQ_S, NE_S};
                static const std::uint8_t swapped[6] = {LT_S, GT_S, LE_S, GE_S, EQ_S, NE_S};
                if (item.Index < 0 || item.Index > 5) throw std::logic_error("comparison");
                Binary(ops[item.Index], swapped[item.Index]);
                break;
            }
            case '+': Binary(ADD_S, ADD_S); break;
            case '*': Binary(MUL_S, MUL_S); break;
            case '-': Binary(SUB_S, RSUB_X - 1); break;
            case '/': Binary(DIV_S, RDIV_X - 1); break;
            case '^': Binary(POW_S, RPOW_X - 1); break;
            default: throw std::logic_error("unexpected item");
            }
        }
    }

    void Finish() {
        if (vs_.size() != 1) throw std::logic_error("unbalanced expression");
        MaterializeTop();
        Emit(RET);
        if (mem_ != 0) throw std::logic_error("unbalanced stack");
        out_.StackDepth = maxMem_;
        if (maxMem_ > kLocalStack) out_.DeepStack.reset(new long double[static_cast<std::size_t>(maxMem_)]);
        out_.Pool.resize(static_cast<std::size_t>(pool_.Count()));
        for (int i = 0; i < pool_.Count(); ++i) out_.Pool[static_cast<std::size_t>(i)] = pool_.ValueAt(i);
    }

private:
    void Emit(std::uint8_t op) { out_.Code.AddByte(op); }
    void Emit(std::uint8_t op, std::int32_t a) {
        out_.Code.AddByte(op);
        out_.Code.AddInt32(a);
    }
    void Emit(std::uint8_t op, std::int32_t a, std::int32_t b) {
        Emit(op, a);
        out_.Code.AddInt32(b);
    }

    void Grew(int extra = 0) {
        if (mem_ + extra > maxMem_) maxMem_ = mem_ + extra;
    }

    int Constant(long double v) {
        const int i = pool_.IndexOfValue(v);
        return i >= 0 ? i : pool_.AddValue(v);
    }

    // Loads a leaf (or an external variable, with its name index) into the
    // accumulator, pushing the accumulator first when it holds a value.
    void Load(Entry e, int nameIndex = 0) {
        MaterializePairs();
        LoadLeaf(e, nameIndex);
    }

    void LoadLeaf(Entry e, int nameIndex = 0) {
        std::uint8_t op;
        std::int32_t arg = e.arg;
        switch (e.kind) {
        case Slot::X: op = LD_X; break;
        case Slot::K: op = LD_K; break;
        case Slot::T: op = LD_T; break;
        default: op = LD_V; arg = nameIndex; break;
        }
        if (accLive_) {
            op = static_cast<std::uint8_t>(op + (PLD_X - LD_X));
            ++mem_;
            Grew();
        }
        Emit(op, arg);
        accLive_ = true;
    }

    void MaterializeTop() {
        MaterializePairs();
        Entry& top = vs_.back();
        if (top.kind != Slot::Value) {
            Load(top);
            vs_.back() = {Slot::Value, 0};
        }
    }

    void Push() {
        MaterializePairs();
        Emit(PUSH);
        ++mem_;
        Grew();
        accLive_ = false;
    }

    // A binary operator; rev is the opcode family (less one) with the leaf as
    // left operand, or the operator itself for commutative ones and the mirrored
    // comparison.
    void Binary(std::uint8_t base, int rev) {
        if (vs_.size() < 2) throw std::logic_error("operator without operands");
        Entry r = vs_.back();
        Entry l = vs_[vs_.size() - 2];
        const int arith = ArithIndex(base);
        if (arith >= 0 && IsPair(l) && IsPair(r)) {
            MaterializePairs(true);  // the left pair; the right one may still fuse
            l = vs_[vs_.size() - 2];
        }
        if (arith >= 0 && l.kind == Slot::Value && IsPair(r)) {
            // acc = acc op1 (a op2 b) in one instruction
            const int form = r.kind == Slot::X ? (r.bKind == Slot::X ? 0 : 1) : 2;
            Emit(static_cast<std::uint8_t>(FUSED + (arith * 4 + r.pairOp) * 3 + form), r.arg, r.bArg);
            vs_.pop_back();
            --pairs_;
            return;
        }
        if (arith >= 0 && accLive_ && IsLeaf(l) && IsLeaf(r) && (l.kind == Slot::X || l.kind == Slot::K) &&
            (r.kind == Slot::X || r.kind == Slot::K) && !(l.kind == Slot::K && r.kind == Slot::K)) {
            // Keep "a op b" pending: its consumer may take it whole.
            Entry pair = l;
            pair.pairOp = arith;
            pair.bKind = r.kind;
            pair.bArg = r.arg;
            vs_.pop_back();
            vs_.back() = pair;
            ++pairs_;
            return;
        }
        if (MaterializePairs()) {
            r = vs_.back();
            l = vs_[vs_.size() - 2];
        }
        if (l.kind == Slot::Value && r.kind == Slot::Value) {
            Emit(base);
            --mem_;
        } else if (l.kind == Slot::Value) {
            Emit(static_cast<std::uint8_t>(base + Variant(r.kind)), r.arg);
        } else if (r.kind == Slot::Value) {
            Emit(static_cast<std::uint8_t>(rev + Variant(l.kind)), l.arg);
        } else {
            Load(l);
            Emit(static_cast<std::uint8_t>(base + Variant(r.kind)), r.arg);
        }
        vs_.pop_back();
        vs_.back() = {Slot::Value, 0};
    }

    static bool IsPair(const Entry& e) { return e.pairOp >= 0; }
    static bool IsLeaf(const Entry& e) { return e.kind != Slot::Value && e.pairOp < 0; }

    // Loads every pending pair (but the top entry when keepTop), lowest first,
    // as it would have been loaded where it stood. Returns whether there was one.
    bool MaterializePairs(bool keepTop = false) {
        if (pairs_ == 0) return false;
        const std::size_t end = keepTop ? vs_.size() - 1 : vs_.size();
        for (std::size_t i = 0; i < end; ++i) {
            Entry& e = vs_[i];
            if (!IsPair(e)) continue;
            --pairs_;
            const Entry a{e.kind, e.arg};
            LoadLeaf(a);
            Emit(static_cast<std::uint8_t>(kArith[e.pairOp] + Variant(e.bKind)), e.bArg);
            e = {Slot::Value, 0};
        }
        return true;
    }

    // Brings the top n entries into evaluation order: n - 1 on the stack and the
    // last in the accumulator. Returns how many values must be dropped from
    // below the result once the consumer has run.
    int Gather(int n) {
        MaterializePairs();
        const std::size_t first = vs_.size() - static_cast<std::size_t>(n);
        bool seenLeaf = false, copy = false;
        int values = 0;
        for (std::size_t i = first; i < vs_.size(); ++i) {
            if (vs_[i].kind != Slot::Value) seenLeaf = true;
            else {
                ++values;
                if (seenLeaf) copy = true;
            }
        }
        if (!copy) {
            for (std::size_t i = first; i < vs_.size(); ++i)
                if (vs_[i].kind != Slot::Value) {
                    Load(vs_[i]);
                    vs_[i] = {Slot::Value, 0};
                }
            return 0;
        }
        // A leaf stands before a computed value: load copies of all arguments
        // in order above the computed ones, and drop those afterwards.
        if (accLive_) Push();
        const int firstSlot = mem_ - values;
        int j = 0;
        for (std::size_t i = first; i < vs_.size(); ++i) {
            Entry e = vs_[i];
            if (e.kind == Slot::Value) e = {Slot::T, firstSlot + j++};
            Load(e);
            vs_[i] = {Slot::Value, 0};
        }
        return values;
    }

    // Replaces the n gathered arguments by the consumer's result.
    void Consumed(int n, int drop) {
        mem_ -= n - 1;
        if (drop > 0) {
            Emit(DROP, drop);
            mem_ -= drop;
        }
        vs_.resize(vs_.size() - static_cast<std::size_t>(n) + 1);
        vs_.back() = {Slot::Value, 0};
    }

    void BuiltinCall(int row, int n) {
        if (row == kPOW) {
            Binary(POW_S, RPOW_X - 1);
            return;
        }
        std::uint8_t op;
        switch (row) {
        case 24: op = IIF_S; break;
        case 27: op = BINOM_S; break;
        case 34: op = MIN_N; break;
        case 35: op = MAX_N; break;
        case 36: op = OR_N; break;
        case 37: op = AND_N; break;
        default: op = UnaryOp(row); break;
        }
        if (op == kOpCount) throw std::logic_error("not a function");
        const bool variadic = op >= MIN_N && op <= AND_N;
        if (variadic && n == 1) return;  // one argument: the argument itself
        if (op == OR_N || op == AND_N) {
            // A sum or product, taken pairwise from the last argument to the
            // first, is the chain of additions or multiplications in that
            // order: it takes the arguments where they are, with no copies.
            for (int k = 1; k < n; ++k) Binary(op == OR_N ? ADD_S : MUL_S, op == OR_N ? ADD_S : MUL_S);
            return;
        }
        const int drop = Gather(n);
        if (variadic) Emit(op, n);
        else Emit(op);
        Consumed(n, drop);
    }

    void ExternalCall(int nameIndex, int n) {
        const int drop = Gather(n);
        Grew(1);  // the call pushes the accumulator so that all arguments are contiguous
        Emit(CALLU, nameIndex, n);
        Consumed(n, drop);
        out_.External = true;
    }

    // Compiles library function i in place, its %k standing for argument k.
    void InlineLibrary(int i, int n) {
        if (!lib_ || i >= lib_->Functions.EntryCount()) throw std::logic_error("no such function");
        if (++libDepth_ > kMaxLibDepth) throw std::length_error("library functions nested too deep");
        // Each use compiles the function's body again, so functions that use
        // others several times grow the code exponentially; stop long before
        // that costs minutes or gigabytes.
        if (++inlined_ > kMaxInlined) throw std::length_error("library functions used too often");
        const std::size_t first = vs_.size() - static_cast<std::size_t>(n);
        MaterializePairs();
        int values = 0;
        for (std::size_t k = first; k < vs_.size(); ++k)
            if (vs_[k].kind == Slot::Value) ++values;
        if (values > 0 && accLive_) Push();
        std::vector<Entry> binding;
        int j = 0;
        for (std::size_t k = first; k < vs_.size(); ++k) {
            Entry e = vs_[k];
            if (e.kind == Slot::Value) e = {Slot::T, mem_ - values + j++};
            binding.push_back(e);
        }
        vs_.resize(first);
        TInternalExprArray body;
        std::vector<std::string> names;
        if (FrontEnd(lib_->Functions.EntrySource(i), lib_, false, body, names) != 0)
            throw std::runtime_error("library function does not compile");
        const std::size_t height = vs_.size();
        Run(body, &binding);
        if (vs_.size() != height + 1) throw std::logic_error("library function result");
        if (values > 0) {
            MaterializeTop();
            Emit(DROP, values);
            mem_ -= values;
        }
        --libDepth_;
    }

    static constexpr int kMaxLibDepth = 64;
    static constexpr int kMaxInlined = 10000;

    const TFormulaLib* lib_;
    TCompiledFormula& out_;
    TArray pool_;
    std::vector<Entry> vs_;
    int mem_ = 0;
    int maxMem_ = 0;
    bool accLive_ = false;
    int pairs_ = 0;
    int libDepth_ = 0;
    int inlined_ = 0;
};

}  // namespace

int GenerateCode(const TInternalExprArray& postfix, const TFormulaLib* lib,
                 std::vector<std::string> names, TCompiledFormula& out) {
    try {
        out.Names = std::move(names);
        Generator gen(lib, out);
        gen.Run(postfix, nullptr);
        gen.Finish();
        return 0;
    } catch (const std::exception&) {
        return -1;
    }
}

}  // namespace fc
