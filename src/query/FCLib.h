#pragma once
// The formula library: named aliases, replaced as whole words before a formula
// is scanned, and named functions with %N parameters, expanded in line where
// a formula calls them.

#include <string>
#include <vector>

class TFormulaLib;
class TCustomFormula;

// A list of name/source pairs kept as one string list (name, source, name ...).
class TFunctionList {
public:
    // The owner is required; without one the list raises EFCError with an empty message.
    explicit TFunctionList(TFormulaLib* owner);

    int EntryCount() const { return static_cast<int>(strings_.size() / 2); }
    const std::string& EntryName(int i) const;
    const std::string& EntrySource(int i) const;

    // 0 added; -2 invalid identifier; -3 name not free; p > 0 the source's syntax
    // error position; -1 the source could not be checked. Never raises.
    int AddEntry(const std::string& name, const std::string& source);
    // Removes pair i unless another entry's source uses its name (EFCError -4).
    void DeleteEntry(int i);
    // Removes every pair.
    void Clear() { strings_.clear(); }
    bool IsFreeName(const std::string& name) const;

    // The stored form: all strings in order. Reading empties the list first.
    const std::vector<std::string>& Strings() const { return strings_; }
    void ReadStrings(const std::vector<std::string>& strings);

private:
    TFormulaLib* owner_;
    std::vector<std::string> strings_;
};

// A library of aliases and functions that formulas may use through their Lib.
class TFormulaLib {
public:
    TFormulaLib();
    // Formulas that use this library lose their reference to it.
    ~TFormulaLib();
    TFormulaLib(const TFormulaLib&) = delete;
    TFormulaLib& operator=(const TFormulaLib&) = delete;

    TFunctionList Functions;
    TFunctionList Aliases;

    // Position of the first entry whose name equals the name without case, or -1.
    int FindFunction(const std::string& name) const;
    int FindAlias(const std::string& name) const;
    // The text with every alias replaced, recursively, as whole words without case.
    std::string ExpandAliases(const std::string& text) const;
    // True when no alias or function source uses the name as a whole word.
    bool IsUnreferenced(const std::string& name) const;
    // ParameterCount of function i's source.
    int FunctionParameterCount(int i) const;

    // 1-based position of the first whole-word occurrence of name in text,
    // compared without case, or -1.
    static int FindWord(const std::string& text, const std::string& name);

private:
    friend class TCustomFormula;
    std::string Expand(const std::string& text, int depth) const;
    void AddUser(TCustomFormula* formula);
    void RemoveUser(TCustomFormula* formula);
    std::vector<TCustomFormula*> users_;
};
