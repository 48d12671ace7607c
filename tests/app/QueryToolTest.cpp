#include "ToolRunner.h"

#include "DefineUniverse.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

TEST(QueryTool, EvalPrintsTheValueOrTheError) {
    ToolResult r = RunTool({"eval", "%0*2+SQRT(%1)", "3", "16"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "10\n");
    r = RunTool({"eval", "1/%0"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "Floating point division by zero\n");
    r = RunTool({"eval", "(2+"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_FALSE(r.Err.empty());
}

TEST(QueryTool, FormulasAndNumbersBeginningWithAMinusAreArguments) {
    const std::string deep = [] {
        std::string f;
        for (int i = 0; i < 2001; ++i) f += "SIN(";
        return f + "0" + std::string(2001, ')');
    }();
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out, err;
    } cases[] = {
        {{"eval", "-%0^2", "3"}, 0, "9\n", ""},
        {{"eval", "%0*2", "-3"}, 0, "-6\n", ""},
        {{"eval", "%0+%1", "-1.5", "-.5"}, 0, "-2\n", ""},
        {{"eval", "--", "-%0", "-2"}, 0, "2\n", ""},
        // A subnormal parameter, as the same literal in a formula.
        {{"eval", "%0*1e4000", "1e-4950"}, 0, RunTool({"eval", "1e-4950*1e4000"}).Out, ""},
        {{"eval", "%0", "1e5000"}, 1, "", "Not a finite number: 1e5000\n"},
        {{"eval", deep.substr(4, deep.size() - 5)}, 0, "0\n", ""},  // 2000 calls
        {{"eval", deep}, 1, "", "Formula nested too deep (at most 2000 calls)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1].substr(0, 20));
        const ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.Status, c.status) << r.Err;
        EXPECT_EQ(r.Out, c.out);
        EXPECT_EQ(r.Err, c.err);
    }
}

TEST(QueryTool, QueryPrintsTheSystemsLeftVisible) {
    const std::string dir = TempFolder("query");
    auto u = TUniverse::CreateNew();
    TSector* s = testutil::AddSector(*u, "Home", 1, 1);
    testutil::AddStar(*s, "Rich", 1, 1, "788899");
    testutil::AddStar(*s, "Poor", 2, 1, "300300");
    testutil::AddStar(*testutil::AddSector(*u, "Away", 2, 1), "Elsewhere", 1, 1, "788899");
    std::string msg;
    ASSERT_TRUE(u->SaveToFile(dir + "/q.map", msg));
    ToolResult r = RunTool({"query", dir + "/q.map", "IS_RICH", "--sector", "Home"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    // Systems outside the sectors queried are hidden too.
    EXPECT_EQ(r.Out, "Rich\n");
    r = RunTool({"query", dir + "/q.map", "IS_RICH"});
    EXPECT_EQ(r.Out, "Rich\nElsewhere\n");
    r = RunTool({"query", dir + "/q.map", "IS_RICH", "--sector", "Nowhere"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "Invalid Sector Pointer\n");
}

TEST(QueryTool, AMapOfOneSectorIsQueriedWhole) {
    const std::string dir = TempFolder("query1");
    auto u = TUniverse::CreateNew();
    TSector* s = testutil::AddSector(*u, "Home", 1, 1);
    testutil::AddStar(*s, "Rich", 1, 1, "788899");
    testutil::AddStar(*s, "Poor", 2, 1, "300300");
    std::string msg;
    ASSERT_TRUE(u->SaveToFile(dir + "/one.map", msg));
    ToolResult r = RunTool({"query", dir + "/one.map", "IS_RICH"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "Rich\n");
}
