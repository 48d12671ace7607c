// The formula library: entry checks, alias expansion, deletion and functions.

#include "FC.h"
#include "FCLib.h"

#include <gtest/gtest.h>

namespace {

long double Eval(TFormulaLib& lib, const std::string& text, std::vector<long double> x = {}) {
    TFormulaCompilerE f;
    f.SetLib(&lib);
    EXPECT_EQ(f.Compile(text), 0) << text;
    return f.Evaluate(std::span<const long double>(x.data(), x.size()));
}

TEST(Library, NewEntriesNeedAValidFreeNameAndACompilingSource) {
    TFormulaLib lib;
    EXPECT_EQ(lib.Functions.AddEntry("SIN", "1"), -3);
    EXPECT_EQ(lib.Aliases.AddEntry("sin", "1"), -3);
    EXPECT_EQ(lib.Functions.AddEntry("2X", "1"), -2);
    EXPECT_EQ(lib.Functions.AddEntry("A$", "1"), -2);
    EXPECT_EQ(lib.Functions.AddEntry("", "1"), -2);
    EXPECT_EQ(lib.Functions.AddEntry("A", "A+1"), 1);  // A is not known while its source is checked
    EXPECT_EQ(lib.Functions.AddEntry("B", "1+"), 3);
    EXPECT_EQ(lib.Functions.AddEntry("_ok1", "%0"), 0);
    EXPECT_EQ(lib.Aliases.AddEntry("_OK1", "2"), -3);  // taken by a function, without case
    EXPECT_EQ(lib.Functions.EntryCount(), 1);
    EXPECT_EQ(lib.Functions.EntryName(0), "_ok1");
    EXPECT_EQ(lib.Functions.EntrySource(0), "%0");
    EXPECT_TRUE(lib.Functions.IsFreeName("other"));
    EXPECT_FALSE(lib.Functions.IsFreeName("max"));
}

TEST(Library, AliasesExpandAsWholeWordsWithoutCaseAndRecursively) {
    TFormulaLib lib;
    ASSERT_EQ(lib.Aliases.AddEntry("B", "%0*2"), 0);
    ASSERT_EQ(lib.Aliases.AddEntry("C", "B+1"), 0);
    EXPECT_EQ(lib.ExpandAliases("C"), "%0*2+1");
    EXPECT_EQ(Eval(lib, "C", {5}), 11);
    ASSERT_EQ(lib.Aliases.AddEntry("AB", "7"), 0);
    EXPECT_EQ(lib.ExpandAliases("ABC+ab+AB_"), "ABC+7+AB_");
    ASSERT_EQ(lib.Aliases.AddEntry("LEVEL_STARPORT", "%0"), 0);
    EXPECT_EQ(lib.ExpandAliases("LEVEL_STARPORT<2"), "%0<2");
    // Error positions count in the expanded text.
    TFormulaCompilerE f;
    f.SetLib(&lib);
    EXPECT_EQ(f.Compile("C+"), 8);  // "%0*2+1+" fails at its length plus 1
}

TEST(Library, FindWordMatchesWholeWordsOnly) {
    EXPECT_EQ(TFormulaLib::FindWord("x+abc", "ABC"), 3);
    EXPECT_EQ(TFormulaLib::FindWord("xabc abc", "abc"), 6);
    EXPECT_EQ(TFormulaLib::FindWord("abc$", "abc"), -1);
    EXPECT_EQ(TFormulaLib::FindWord("_abc", "abc"), -1);
    EXPECT_EQ(TFormulaLib::FindWord("abc", "abcd"), -1);
    EXPECT_EQ(TFormulaLib::FindWord("(abc)", "abc"), 2);
}

TEST(Library, EntriesUsedByOthersCannotBeDeleted) {
    TFormulaLib lib;
    ASSERT_EQ(lib.Aliases.AddEntry("B", "%0*2"), 0);
    ASSERT_EQ(lib.Aliases.AddEntry("C", "B+1"), 0);
    try {
        lib.Aliases.DeleteEntry(0);
        FAIL() << "no error raised";
    } catch (const EFCError& e) {
        EXPECT_STREQ(e.what(), "This entry is referenced by others");
        EXPECT_EQ(e.Code, -4);
    }
    EXPECT_EQ(lib.Aliases.EntryCount(), 2);
    EXPECT_FALSE(lib.IsUnreferenced("b"));
    lib.Aliases.DeleteEntry(1);
    lib.Aliases.DeleteEntry(0);
    EXPECT_EQ(lib.Aliases.EntryCount(), 0);
}

TEST(Library, FunctionsTakeTheirParameterCountAndExpandInLine) {
    TFormulaLib lib;
    ASSERT_EQ(lib.Functions.AddEntry("DOUBLE", "%0*2"), 0);
    EXPECT_EQ(lib.FunctionParameterCount(0), 1);
    EXPECT_EQ(Eval(lib, "DOUBLE(3)"), 6);
    TFormulaCompilerE f;
    f.SetLib(&lib);
    EXPECT_EQ(f.Compile("DOUBLE(3,4)"), 9);
    EXPECT_EQ(f.Compile("DOUBLE"), 7);
    ASSERT_EQ(lib.Functions.AddEntry("HYP", "SQRT(SQR(%0)+SQR(%1))"), 0);
    ASSERT_EQ(lib.Functions.AddEntry("TEN", "DOUBLE(5)"), 0);
    ASSERT_EQ(lib.Functions.AddEntry("PICK", "%2"), 0);
    EXPECT_EQ(Eval(lib, "HYP(3, %0+1) + TEN", {3}), 15);
    EXPECT_EQ(Eval(lib, "1 + PICK(%0, 2*%1, %1-%0) * 10", {1, 4}), 31);
    EXPECT_EQ(Eval(lib, "HYP(DOUBLE(1.5), PICK(1, %0, HYP(%0, %0*0)))", {4}), 5);
}

TEST(Library, FunctionsUsedTooOftenInLineAreRefusedNotExpandedForever) {
    auto times = [](const std::string& name, int n) {
        std::string text = name;
        for (int i = 1; i < n; ++i) text += "+" + name;
        return text;
    };
    TFormulaLib lib;
    ASSERT_EQ(lib.Functions.AddEntry("A", "1+1"), 0);
    ASSERT_EQ(lib.Functions.AddEntry("B", times("A", 30)), 0);
    ASSERT_EQ(lib.Functions.AddEntry("C", times("B", 30)), 0);  // 900 copies of A
    EXPECT_EQ(Eval(lib, "C"), 1800);
    TFormulaCompilerE f;
    f.SetLib(&lib);
    EXPECT_EQ(f.Compile(times("C", 12)), -1);  // 10,800 copies
}

TEST(Library, CompiledFormulasKeepNoLinkToTheLibrary) {
    TFormulaLib lib;
    ASSERT_EQ(lib.Functions.AddEntry("F", "%0+1"), 0);
    TFormulaCompilerE f;
    f.SetLib(&lib);
    ASSERT_EQ(f.Compile("F(1)"), 0);
    lib.Functions.DeleteEntry(0);
    EXPECT_EQ(f.Evaluate({}), 2);
}

TEST(Library, ListsReadFromAStoredFormAreUsedAsTheyStand) {
    TFormulaLib lib;
    lib.Functions.ReadStrings({"SUM2", "%0+%1", "DANGLING"});
    EXPECT_EQ(lib.Functions.EntryCount(), 1);
    EXPECT_EQ(lib.Functions.Strings().size(), 3u);
    EXPECT_EQ(Eval(lib, "SUM2(2,3)"), 5);
    // A stored alias that names itself cannot hang or crash the compiler.
    lib.Aliases.ReadStrings({"LOOP", "LOOP+1"});
    TFormulaCompilerE f;
    f.SetLib(&lib);
    EXPECT_EQ(f.Compile("LOOP"), -1);
    lib.Functions.ReadStrings({"SELF", "SELF(%0)"});
    lib.Aliases.Clear();
    EXPECT_EQ(f.Compile("SELF(1)"), -1);
}

TEST(Library, AListWithoutOwnerRaisesAnEmptyMessage) {
    try {
        TFunctionList list(nullptr);
        FAIL() << "no error raised";
    } catch (const EFCError& e) {
        EXPECT_STREQ(e.what(), "");
    }
}

}  // namespace
