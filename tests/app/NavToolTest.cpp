#include "ToolRunner.h"

#include "DefineUniverse.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

namespace {

// Stars along row 1 at columns Start 1, Cafe 2, Mid 4, End 7, Far 30.
std::string LineMap(const std::string& dir) {
    auto u = TUniverse::CreateNew();
    TSector* s = testutil::AddSector(*u, "Line", 1, 1);
    testutil::AddStar(*s, "Start", 1, 1);
    testutil::AddStar(*s, "Mid", 4, 1);
    testutil::AddStar(*s, "End", 7, 1);
    testutil::AddStar(*s, "Far", 30, 1);
    testutil::AddStar(*s, "Caf\xe9", 2, 1);
    const std::string path = dir + "/line.map";
    std::string msg;
    EXPECT_TRUE(u->SaveToFile(path, msg));
    return path;
}

}  // namespace

TEST(NavTool, PathPrintsTheLegsAndTheJumpCount) {
    const std::string map = LineMap(TempFolder("path"));
    ToolResult r = RunTool({"path", map, "Start", "End", "--jump", "3"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "Start <-> Mid\nMid <-> End\nNumber of Jumps = 2\n");
    r = RunTool({"path", map, "Start", "End", "--jump", "3", "--time"});
    EXPECT_EQ(r.Out, "Start <-> Mid\nMid <-> End\nNumber of Jumps = 2\n");
}

TEST(NavTool, PathRefusalsAndFailures) {
    const std::string map = LineMap(TempFolder("pathfail"));
    ToolResult r = RunTool({"path", map, "Start", "End", "--jump", "0"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "There is nothing in range of this rustbucket.  Try putting in a Jump Drive.\n");
    r = RunTool({"path", map, "Start", "End", "--jump", "6"});
    EXPECT_EQ(r.Err, "This is a trivial solution.  The Destination is within your ship's jump range.\n");
    r = RunTool({"path", map, "Start", "Far", "--jump", "4"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "Path not found\n");
    r = RunTool({"path", map, "Nobody", "Far", "--jump", "4"});
    EXPECT_EQ(r.Err, "Invalid Star Pointer\n");
    r = RunTool({"path", map, "Start", "Far"});
    EXPECT_EQ(r.Status, 2);
}

TEST(NavTool, RadiusListsSystemsInMapOrder) {
    const std::string map = LineMap(TempFolder("radius"));
    ToolResult r = RunTool({"radius", map, "Caf\xc3\xa9", "2"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "Start\nMid\nCaf\xc3\xa9\n");
    r = RunTool({"radius", map, "Far", "1"});
    EXPECT_EQ(r.Out, "Far\n");
    r = RunTool({"radius", map, "Far", "0"});
    EXPECT_EQ(r.Err, "Please enter a value greater than 0.\n");
}
