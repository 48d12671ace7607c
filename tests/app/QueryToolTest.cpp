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
