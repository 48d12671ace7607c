#include "ToolRunner.h"

#include "DefineUniverse.h"
#include "TestUtil.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

// Along row 1, two parsecs apart: Port (class C starport) at column 1, Giant
// (gas giant, class A starport) at 3, Dry (nothing) at 5, Far at 7; Lone at
// 30. Giant is amber and of the Red League (code RL).
std::string VoyageMap(const std::string& dir) {
    auto u = TUniverse::CreateNew();
    TSector* s = testutil::AddSector(*u, "Reach", 1, 1);
    TAllegiance* league = u->Allegiances()->Create<TAllegiance>();
    league->Name1 = "Red League";
    league->ImportCode = "RL";
    testutil::AddStar(*s, "Port", 1, 1, "500555")->Starport = "C";
    TStar* giant = testutil::AddStar(*s, "Giant", 3, 1, "500555");
    giant->SystemContent = 0x80;
    giant->TravelZoneCode = tzcAmber;
    giant->Allegiance = "Red League";
    testutil::AddStar(*s, "Dry", 5, 1, "500555")->Starport = "X";
    testutil::AddStar(*s, "Far", 7, 1, "500555")->Starport = "X";
    testutil::AddStar(*s, "Lone", 30, 1, "500555");
    const std::string path = dir + "/voyage.map";
    std::string msg;
    EXPECT_TRUE(u->SaveToFile(path, msg));
    return path;
}

}  // namespace

TEST(PlanTool, PrintsTheItineraryAsATableAndAsJson) {
    const std::string map = VoyageMap(TempFolder("plan"));
    ToolResult r = RunTool({"plan", map, "Port", "Dry", "--jump", "2", "--fuel-now", "0"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out,
              "Stop   Sector  Hex   Parsecs  Refuel     Tons  Credits  Day\n"
              "Port   Reach   0101        0  unrefined    40     4100    0\n"
              "Giant  Reach   0301        2  gas          40        0    7\n"
              "Dry    Reach   0501        2  -             -        0   15\n"
              "Total: 2 jumps, 4 parsecs, Cr4100, 15 days\n");

    r = RunTool({"plan", map, "Port", "Dry", "--jump", "2", "--fuel-now", "0", "--by", "days", "--tons", "155",
                 "--json"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto j = nlohmann::json::parse(r.Out);
    EXPECT_EQ(j.dump(),
              R"({"cost":7300,"days":14,"jumps":2,"parsecs":4,"stops":[)"
              R"({"bought":2,"cost":3200,"fuel":2,"hex":"0101","name":"Port","refuel":"unrefined","sector":"Reach"},)"
              R"({"bought":2,"cost":4100,"fuel":2,"hex":"0301","name":"Giant","refuel":"unrefined","sector":"Reach"},)"
              R"({"bought":0,"cost":0,"fuel":0,"hex":"0501","name":"Dry","refuel":null,"sector":"Reach"}]})");
    EXPECT_EQ(r.Out.substr(0, 9), R"({"jumps":)");  // the fields in the documented order
}

TEST(PlanTool, OptionsShapeTheVoyage) {
    const std::string map = VoyageMap(TempFolder("planopts"));
    auto json = [&](std::vector<std::string> extra) {
        std::vector<std::string> args{"plan", map, "Port", "Far", "--jump", "2", "--fuel", "4", "--json"};
        args.insert(args.end(), extra.begin(), extra.end());
        ToolResult r = RunTool(args);
        return r.Status == 0 ? nlohmann::json::parse(r.Out) : nlohmann::json(r.Status);
    };
    // Full tank by default: Port to Giant to Dry on four parsecs, filled at Giant.
    EXPECT_EQ(json({})["stops"][1]["refuel"], "gas");
    EXPECT_EQ(json({"--refuel", "refined,unrefined"})["stops"][1]["refuel"], "unrefined");
    EXPECT_EQ(json({"--refuel", "refined"})["stops"][1]["refuel"], "refined");
    EXPECT_EQ(json({"--refuel", "water"}), 1);  // no fuel for the last jump anywhere
    EXPECT_EQ(json({"--avoid-zone", "amber"}), 1);
    EXPECT_EQ(json({"--avoid-zone", "red"})["jumps"], 3);
    EXPECT_EQ(json({"--avoid-allegiance", "RL"}), 1);
    EXPECT_EQ(json({"--avoid-allegiance", "Red League"}), 1);
    EXPECT_EQ(json({"--avoid", "Giant", "--via", "Giant"})["jumps"], 3);  // a waypoint is never avoided
    EXPECT_EQ(json({"--via", "Dry", "--via", "Giant"})["jumps"], 5);      // waypoints in the order given
}

TEST(PlanTool, FailuresAndMisuse) {
    const std::string map = VoyageMap(TempFolder("planfail"));
    ToolResult r = RunTool({"plan", map, "Port", "Lone", "--jump", "2"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err,
              "No route to Lone (Reach 3001). The nearest system the ship can reach is Dry (Reach 0501), 25 parsecs "
              "from it.\n");
    EXPECT_TRUE(r.Out.empty());
    EXPECT_EQ(RunTool({"plan", map, "Port", "Nowhere", "--jump", "2"}).Status, 1);
    EXPECT_EQ(RunTool({"plan", map, "Port", "Far", "--jump", "2", "--avoid-allegiance", "ZZ"}).Status, 1);
    for (std::vector<std::string> misuse :
         {std::vector<std::string>{"plan", map, "Port", "Far"},
          {"plan", map, "Port", "Far", "--jump", "7"},
          {"plan", map, "Port", "Far", "--jump", "2", "--fuel", "13"},
          {"plan", map, "Port", "Far", "--jump", "2", "--fuel-now", "3"},
          {"plan", map, "Port", "Far", "--jump", "2", "--refuel", "coal"},
          {"plan", map, "Port", "Far", "--jump", "2", "--avoid-zone", "green"},
          {"plan", map, "Port", "Far", "--jump", "2", "--by", "speed"},
          {"plan", map, "Port", "Far", "--jump", "2", "--tons", "0"}})
        EXPECT_EQ(RunTool(misuse).Status, 2) << misuse.back();
}
