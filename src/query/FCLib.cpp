#include "FCLib.h"

#include "FC.h"
#include "FCInternal.h"

#include <algorithm>
#include <stdexcept>

namespace {

bool IsValidEntryName(const std::string& name) {
    if (name.empty()) return false;
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!letter(name[0])) return false;
    return std::all_of(name.begin() + 1, name.end(), [&](char c) { return letter(c) || fc::IsDigit(c); });
}

// Expansion stops beyond these limits, which only a library built outside
// AddEntry (an alias that refers to itself) or an absurd chain can reach.
constexpr int kMaxExpandDepth = 64;
constexpr std::size_t kMaxExpandedLength = 1 << 16;

}  // namespace

TFunctionList::TFunctionList(TFormulaLib* owner) : owner_(owner) {
    if (!owner) throw EFCError(-1, "");
}

const std::string& TFunctionList::EntryName(int i) const {
    return strings_.at(static_cast<std::size_t>(2 * i));
}

const std::string& TFunctionList::EntrySource(int i) const {
    return strings_.at(static_cast<std::size_t>(2 * i + 1));
}

int TFunctionList::AddEntry(const std::string& name, const std::string& source) {
    if (!IsValidEntryName(name)) return -2;
    if (!IsFreeName(name)) return -3;
    const int code = fc::CheckSyntax(source, owner_);
    if (code != 0) return code;
    strings_.push_back(name);
    strings_.push_back(source);
    return 0;
}

void TFunctionList::DeleteEntry(int i) {
    const std::string name = EntryName(i);
    if (!owner_->IsUnreferenced(name)) throw EFCError(-4, FormulaErrorMessage(-4));
    strings_.erase(strings_.begin() + 2 * i, strings_.begin() + 2 * i + 2);
}

bool TFunctionList::IsFreeName(const std::string& name) const {
    return FindBuiltinFunction(name) < 0 && owner_->FindFunction(name) < 0 &&
           owner_->FindAlias(name) < 0;
}

void TFunctionList::ReadStrings(const std::vector<std::string>& strings) {
    strings_.clear();
    strings_.insert(strings_.end(), strings.begin(), strings.end());
}

TFormulaLib::TFormulaLib() : Functions(this), Aliases(this) {}

TFormulaLib::~TFormulaLib() {
    for (TCustomFormula* f : users_) f->lib_ = nullptr;
}

void TFormulaLib::AddUser(TCustomFormula* formula) { users_.push_back(formula); }

void TFormulaLib::RemoveUser(TCustomFormula* formula) {
    users_.erase(std::remove(users_.begin(), users_.end(), formula), users_.end());
}

namespace {
int FindEntry(const TFunctionList& list, const std::string& name) {
    for (int i = 0; i < list.EntryCount(); ++i)
        if (fc::SameTextNoCase(list.EntryName(i), name)) return i;
    return -1;
}
}  // namespace

int TFormulaLib::FindFunction(const std::string& name) const { return FindEntry(Functions, name); }

int TFormulaLib::FindAlias(const std::string& name) const { return FindEntry(Aliases, name); }

int TFormulaLib::FindWord(const std::string& text, const std::string& name) {
    if (name.empty() || name.size() > text.size()) return -1;
    const std::size_t last = text.size() - name.size();
    for (std::size_t p = 0; p <= last; ++p) {
        if (!fc::SameTextNoCase(std::string_view(text).substr(p, name.size()), name)) continue;
        if (p > 0 && fc::IsIdentPart(text[p - 1])) continue;
        const std::size_t after = p + name.size();
        if (after < text.size() && fc::IsIdentPart(text[after])) continue;
        return static_cast<int>(p) + 1;
    }
    return -1;
}

std::string TFormulaLib::ExpandAliases(const std::string& text) const { return Expand(text, 0); }

std::string TFormulaLib::Expand(const std::string& text, int depth) const {
    if (depth > kMaxExpandDepth) throw std::length_error("alias expansion too deep");
    std::string result = text;
    for (int a = 0; a < Aliases.EntryCount(); ++a) {
        const std::string& name = Aliases.EntryName(a);
        int p = FindWord(result, name);
        if (p < 0) continue;
        const std::string replacement = Expand(Aliases.EntrySource(a), depth + 1);
        while (p >= 0) {
            result.replace(static_cast<std::size_t>(p - 1), name.size(), replacement);
            if (result.size() > kMaxExpandedLength) throw std::length_error("alias expansion too long");
            p = FindWord(result, name);
        }
    }
    return result;
}

bool TFormulaLib::IsUnreferenced(const std::string& name) const {
    for (const TFunctionList* list : {&Aliases, &Functions})
        for (int i = 0; i < list->EntryCount(); ++i)
            if (FindWord(list->EntrySource(i), name) >= 0) return false;
    return true;
}

int TFormulaLib::FunctionParameterCount(int i) const {
    return TCustomFormula::ParameterCount(Functions.EntrySource(i), this);
}
