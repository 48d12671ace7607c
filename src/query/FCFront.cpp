// Front end of the formula compiler: scanning with adjacency and argument
// checks, unary rewriting, and conversion to postfix order.

#include "FCInternal.h"
#include "FCLib.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

namespace fc {

namespace {

bool InSet(std::string_view set, char kind) { return set.find(kind) != std::string_view::npos; }

// Which item may follow which; anything not listed is a syntax error.
bool Allowed(char prev, char next) {
    switch (prev) {
    case '(':
    case ',':
        return InSet("(!+-acfuv", next);
    case '!':
    case '*':
    case '+':
    case '-':
    case '/':
    case '^':
    case 'o':
        return InSet("(acfuv", next);
    case ')':
    case 'a':
    case 'c':
    case 'v':
        return InSet("),o*+-/^", next);
    case 'f':
    case 'u':
        return next == '&';
    case '&':
        return next == '(';
    default:
        return false;
    }
}

// Standard decimal conversion: digits, optional fraction, optional signed exponent.
bool ConvertNumber(std::string_view text, long double& value) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsDigit(text[i])) ++i;
    if (i == 0) return false;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) ++i;
    }
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        const std::size_t digits = i;
        while (i < n && IsDigit(text[i])) ++i;
        if (i == digits) return false;
    }
    if (i != n) return false;
    long double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + n, v, std::chars_format::general);
    if (r.ptr != text.data() + n) return false;
    if (r.ec == std::errc()) {
        value = v;
        return true;
    }
    if (r.ec != std::errc::result_out_of_range) return false;
    // Out of range: too large is an error, too small is the nearest tiny value.
    const std::size_t epos = text.find_first_of("Ee");
    const std::string_view mantissa = text.substr(0, epos);
    long long exponent = 0;
    if (epos != std::string_view::npos) {
        std::size_t k = epos + 1;
        const bool negative = text[k] == '-';
        if (text[k] == '+' || text[k] == '-') ++k;
        for (; k < n; ++k) exponent = std::min(exponent * 10 + (text[k] - '0'), 1000000000LL);
        if (negative) exponent = -exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    long long lead = 0;
    bool nonZero = false;
    for (std::size_t k = 0; k < mantissa.size() && !nonZero; ++k) {
        if (k == point || mantissa[k] == '0') continue;
        nonZero = true;
        lead = k < point ? static_cast<long long>(point - k - 1) : -static_cast<long long>(k - point);
    }
    if (nonZero && lead + exponent >= 0) return false;
    const std::string scaled = std::string(mantissa) + "e" + std::to_string(exponent + 4000);
    long double w = 0;
    const auto r2 = std::from_chars(scaled.data(), scaled.data() + scaled.size(), w);
    value = r2.ec == std::errc() ? w * 1e-4000L : 0.0L;
    return true;
}

// Walks the text once, appending items and checking them as they come.
class Scanner {
public:
    Scanner(const std::string& text, const TFormulaLib* lib, bool unknownNames,
            TInternalExprArray& items, std::vector<std::string>& names)
        : s_(text), len_(static_cast<int>(text.size())), lib_(lib), unknownNames_(unknownNames),
          items_(items), names_(names) {}

    int Run() {
        int counted = 0;
        const bool ok = ArgList(1, false, counted);
        if (overflow_) return kFormulaTooDeep;
        if (ok && P_ == len_) return 0;
        return P_ - 1;
    }

private:
    char At(int pos) const { return s_[static_cast<std::size_t>(pos - 1)]; }

    // Scans an argument list (or the whole text); for a call, the list must
    // start right at the next character with '('.
    bool ArgList(int expected, bool isCall, int& counter) {
        if (++nesting_ > kMaxFormulaNesting + 1) {  // the whole text is one list too
            overflow_ = true;
            return false;
        }
        counter = 1;
        int depth = 0;
        char last = 0;
        if (isCall && (P_ >= len_ || At(P_ + 1) != '(')) {
            if (P_ < len_) ++P_;
            return false;
        }
        do {
            if (P_ >= len_) return false;
            ++P_;
            const char ch = At(P_);
            char kind = 0;
            bool check = true;
            if (ch == '%') {
                const int start = P_;
                int j = P_;
                while (j < len_ && IsDigit(At(j + 1))) ++j;
                if (j == P_) return false;
                std::int32_t n = 0;
                const char* first = s_.data() + P_;
                const auto r = std::from_chars(first, s_.data() + j, n);
                P_ = j;
                if (r.ec != std::errc()) return false;
                // Compiled code can read only the first parameters.
                if (n > kMaxParameter) {
                    P_ = start;
                    return false;
                }
                items_.AddItem('a', n);
                kind = 'a';
            } else if (IsDigit(ch)) {
                int j = P_;
                while (j < len_) {
                    const char c = At(j + 1);
                    if (IsDigit(c) || c == '.' || c == 'E' || c == 'e' ||
                        ((c == '+' || c == '-') && (At(j) == 'E' || At(j) == 'e')))
                        ++j;
                    else
                        break;
                }
                const std::string_view text(s_.data() + P_ - 1, static_cast<std::size_t>(j - P_ + 1));
                P_ = j;
                long double value = 0;
                if (!ConvertNumber(text, value)) return false;
                items_.AddItem('c', -1, value);
                kind = 'c';
            } else if (IsIdentStart(ch)) {
                int j = P_;
                while (j < len_ && IsIdentPart(At(j + 1))) ++j;
                const int take = std::min(j - P_ + 1, kMaxNameLength);
                const std::string name(s_.data() + P_ - 1, static_cast<std::size_t>(take));
                P_ = j;
                bool wasCall = false;
                if (!Identifier(name, kind, wasCall)) return false;
                if (wasCall) {
                    check = false;
                    kind = ')';
                }
            } else if (IsComparisonChar(ch)) {
                int j = P_;
                while (j < len_ && IsComparisonChar(At(j + 1))) ++j;
                const std::string_view run(s_.data() + P_ - 1, static_cast<std::size_t>(j - P_ + 1));
                P_ = j;
                int row = -1;
                for (int k = 0; k < 6; ++k)
                    if (run == ComparisonOperators[k]) row = k;
                if (row < 0) return false;
                items_.AddItem('o', row);
                kind = 'o';
            } else if (ch == ',') {
                ++counter;
                items_.AddItem(',', 0);
                kind = ',';
            } else if (IsWhiteSpace(ch)) {
                continue;  // to the loop condition: no item, no check
            } else {
                items_.AddItem(ch, 0);
                kind = ch;
                if (ch == '(') ++depth;
                if (ch == ')') --depth;
            }
            if (depth < 0) return false;
            if (expected >= 0 && counter > expected) return false;
            if (check) {
                if (!Allowed(prev_, kind)) return false;
                prev_ = kind;
            }
            last = kind;
        } while (!(depth == 0 || P_ >= len_));
        --nesting_;
        return last == ')' && depth == 0 && (expected < 0 || counter == expected);
    }

    // Resolves a name: built-in function, library function, or unknown name.
    bool Identifier(const std::string& name, char& kind, bool& wasCall) {
        const int row = FindBuiltinFunction(name);
        if (row >= 0) {
            const int arity = BuiltinFunctions[row].Arity;
            if (arity == 0) {
                items_.AddItem('c', row);
                kind = 'c';
                return true;
            }
            return Call('f', row, arity == kVariadic ? -1 : arity, wasCall);
        }
        const int fn = lib_ ? lib_->FindFunction(name) : -1;
        if (fn >= 0) {
            const int n = lib_->FunctionParameterCount(fn);
            if (n == 0) {
                items_.AddItem('c', kLibBase + fn);
                kind = 'c';
                return true;
            }
            return Call('f', kLibBase + fn, n, wasCall);
        }
        if (!unknownNames_) return false;
        names_.push_back(name);
        const int p = static_cast<int>(names_.size()) - 1;
        if (P_ < len_ && At(P_ + 1) == '(') return Call('u', p, -1, wasCall);
        items_.AddItem('v', p);
        kind = 'v';
        return true;
    }

    // Appends a call and its argument count, then scans the argument list.
    bool Call(char kind, int index, int expected, bool& wasCall) {
        wasCall = true;
        items_.AddItem(kind, index);
        const int countItem = items_.AddItem('&', expected < 0 ? (kind == 'u' ? 0 : -1) : expected);
        int counted = 0;
        if (!ArgList(expected, true, counted)) return false;
        if (expected < 0) {
            items_.SetIndex(countItem, counted);
            items_.SetValue(countItem, kind == 'f' ? 1.0L : 0.0L);
        }
        return true;
    }

    const std::string& s_;
    const int len_;
    const TFormulaLib* lib_;
    const bool unknownNames_;
    TInternalExprArray& items_;
    std::vector<std::string>& names_;
    int P_ = 0;
    char prev_ = '(';
    int nesting_ = 0;
    bool overflow_ = false;
};

int Precedence(char kind) {
    switch (kind) {
    case '(': return 1;
    case ')': return 2;
    case ',': return 3;
    case 'o': return 4;
    case '+':
    case '-': return 5;
    case '*':
    case '/': return 6;
    case '^': return 7;
    case '&': return 8;
    default: return 0;
    }
}

bool IsUnaryAt(const TInternalExprArray& items, int i) {
    const char k = items.Kind(i);
    if (k != '+' && k != '-' && k != '!') return false;
    if (i == 0) return true;
    const char before = items.Kind(i - 1);
    return before == '(' || before == ',';
}

}  // namespace

bool SameTextNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

int Scan(const std::string& expanded, const TFormulaLib* lib, bool unknownNames,
         TInternalExprArray& items, std::vector<std::string>& names) {
    const std::string text = expanded.empty() ? std::string("0") : "(" + expanded + ")";
    Scanner scanner(text, lib, unknownNames, items, names);
    return scanner.Run();
}

// One pass from the first item to the last, writing a new list, so that the
// time stays linear however many unary operators there are and however deeply
// they nest. The result is the same as rewriting from the last item to the
// first: the item before a unary operator is taken from the original list,
// and the operand after it as already rewritten (a literal 0 or 1 is then
// ZERO or ONE, so -0 and -1 become CHS calls, while -2 is the literal -2).
void RewriteUnary(TInternalExprArray& items) {
    TInternalExprArray out;
    out.SetCapacity(items.Count());  // at least this many; grows for each rewritten operator
    // Parenthesis depths at which a call made the operand of a unary operator
    // closes; the closing parenthesis added after that call is written there.
    std::vector<int> closeAfterCall;
    int depth = 0;
    // Follows the parentheses of an item just written.
    auto track = [&](char kind) {
        if (kind == '(') ++depth;
        if (kind != ')') return;
        --depth;
        if (!closeAfterCall.empty() && closeAfterCall.back() == depth) {
            closeAfterCall.pop_back();
            out.AddItem(')', 0);
            --depth;
        }
    };
    auto emit = [&](ExprItem item) {
        if (item.Kind == 'c' && item.Index == -1) {
            if (item.Value == 0) item.Index = kZERO;
            else if (item.Value == 1) item.Index = kONE;
        }
        out.AddItem(item);
        track(item.Kind);
    };
    const int n = items.Count();
    for (int i = 0; i < n; ++i) {
        const char kind = items.Kind(i);
        if (!IsUnaryAt(items, i)) {
            if (kind == 'c' && items.Index(i) == -1) {
                emit(items.Item(i));
            } else {
                out.Add(items.Data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(items.ElementSize()));
                track(kind);
            }
            continue;
        }
        const ExprItem item = items.Item(i);
        if (item.Kind == '+') continue;
        const bool hasOperand = i + 1 < n;  // always true for scanned input
        const ExprItem operand = hasOperand ? items.Item(i + 1) : ExprItem{};
        if (item.Kind == '-' && operand.Kind == 'c' && operand.Index == -1 && operand.Value != 0 &&
            operand.Value != 1) {
            out.AddItem('c', -1, -operand.Value);
            ++i;
            continue;
        }
        // Unary minus and not become calls of CHS and NOT on the operand after them.
        out.AddItem('f', item.Kind == '-' ? kCHS : kNOT);
        out.AddItem('&', 1);
        if (!hasOperand) continue;
        const char k = operand.Kind;
        if (k == 'a' || k == 'c' || k == 'v') {
            emit(ExprItem{'(', 0, 0});
            emit(operand);
            emit(ExprItem{')', 0, 0});
            ++i;
        } else if (k == 'f' || k == 'u') {
            emit(ExprItem{'(', 0, 0});
            closeAfterCall.push_back(depth);
        }
        // An operand in parentheses is itself the argument list.
    }
    items = std::move(out);
}

void ToPostfix(const TInternalExprArray& items, TInternalExprArray& postfix) {
    TInternalExprArray stack;
    for (int i = 0; i < items.Count(); ++i) {
        const ExprItem item = items.Item(i);
        const int prec = Precedence(item.Kind);
        if (prec == 0) {
            postfix.AddItem(item);
        } else if (item.Kind == '(') {
            stack.AddItem(item);
        } else {
            while (stack.Count() > 0 && Precedence(stack.Kind(stack.Count() - 1)) >= prec) {
                postfix.AddItem(stack.Item(stack.Count() - 1));
                stack.Delete(stack.Count() - 1);
            }
            if (item.Kind == ')') {
                if (stack.Count() > 0) stack.Delete(stack.Count() - 1);
            } else if (item.Kind != ',') {
                stack.AddItem(item);
            }
        }
    }
    while (stack.Count() > 0) {
        postfix.AddItem(stack.Item(stack.Count() - 1));
        stack.Delete(stack.Count() - 1);
    }
}

int FrontEnd(const std::string& source, const TFormulaLib* lib, bool unknownNames,
             TInternalExprArray& postfix, std::vector<std::string>& names) {
    try {
        const std::string expanded = lib ? lib->ExpandAliases(source) : source;
        TInternalExprArray items;
        const int code = Scan(expanded, lib, unknownNames, items, names);
        if (code != 0) return code;
        RewriteUnary(items);
        ToPostfix(items, postfix);
        return 0;
    } catch (const std::exception&) {
        return -1;
    }
}

int CheckSyntax(const std::string& source, const TFormulaLib* lib) {
    try {
        const std::string expanded = lib ? lib->ExpandAliases(source) : source;
        TInternalExprArray items;
        std::vector<std::string> names;
        return Scan(expanded, lib, false, items, names);
    } catch (const std::exception&) {
        return -1;
    }
}

}  // namespace fc
