#include "ToolRunner.h"

#include "DefineUniverse.h"
#include "TestUtil.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string SaveSample(const std::string& dir) {
    auto u = TUniverse::CreateNew();
    TSector* s = testutil::AddSector(*u, "Home", 2, 1);
    TStar* a = testutil::AddStar(*s, "Caf\xe9", 10, 7, "574734");
    a->SystemContent = 0x82;
    testutil::AddStar(*s, "Beta", 11, 7);
    TRoute* r = u->Routes()->Create<TRoute>();
    r->Name1 = "Main";
    r->Color = 0xFF;
    TAllegiance* al = u->Allegiances()->Create<TAllegiance>();
    al->Name1 = "Independent";
    const std::string path = dir + "/sample.map";
    std::string msg;
    EXPECT_TRUE(u->SaveToFile(path, msg));
    return path;
}

}  // namespace

TEST(Tool, NewWritesTheEmptyMap) {
    const std::string dir = TempFolder("new");
    ToolResult r = RunTool({"new", dir + "/empty.map"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(ReadFile(dir + "/empty.map"), testutil::Stream(*TUniverse::CreateNew()));
    EXPECT_EQ(ReadFile(dir + "/empty.map").size(), 294u);
}

TEST(Tool, DumpPrintsTheTreeAsTextAndJson) {
    const std::string dir = TempFolder("dump");
    const std::string map = SaveSample(dir);
    ToolResult text = RunTool({"dump", map});
    ASSERT_EQ(text.Status, 0) << text.Err;
    EXPECT_NE(text.Out.find("TUniverse \"\""), std::string::npos);
    EXPECT_NE(text.Out.find("\n  TRoutes \"\"\n    TRoute \"Main\" ShowRoute=false Color=clRed"), std::string::npos);
    EXPECT_NE(text.Out.find("\n      TStar \"Caf\xc3\xa9\" Allegiance=\"Independent\""), std::string::npos);

    ToolResult json = RunTool({"dump", "--json", map});
    ASSERT_EQ(json.Status, 0) << json.Err;
    const auto doc = nlohmann::json::parse(json.Out);
    EXPECT_EQ(doc["class"], "TUniverse");
    ASSERT_EQ(doc["children"].size(), 3u);
    const auto& sector = doc["children"][1]["children"][0];
    EXPECT_EQ(sector["name1"], "Home");
    EXPECT_EQ(sector["properties"]["SectorCoordsX"], 2);
    EXPECT_EQ(sector["properties"]["SS0203Name"], "g");
    const auto& star = sector["children"][0];
    EXPECT_EQ(star["name1"], "Caf\xc3\xa9");
    EXPECT_EQ(star["properties"]["TravelZoneCode"], "tzcUnknown");
    EXPECT_EQ(star["properties"]["SystemContent"], 0x82);
    EXPECT_EQ(star["properties"]["Notes"], "");
    EXPECT_EQ(star["derived"]["HexX"], 42);
    EXPECT_EQ(star["derived"]["HexY"], 7);
    EXPECT_EQ(star["derived"]["DistZ"], 28);
    EXPECT_EQ(star["derived"]["TradeCodesStr"], "Agr ");
    EXPECT_EQ(star["derived"]["SectorName"], "Home");
    EXPECT_EQ(star["derived"]["TLIndex"], 12);
    EXPECT_FALSE(doc["children"][0]["children"][0].contains("derived"));
}

TEST(Tool, ConvertStampsTheVersionAndKeepsTheData) {
    const std::string dir = TempFolder("convert");
    const std::string map = SaveSample(dir);
    ToolResult r = RunTool({"convert", map, dir + "/out.map"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    auto u = TUniverse::CreateNew();
    std::string msg;
    ASSERT_TRUE(u->LoadFromFile(dir + "/out.map", msg));
    EXPECT_EQ(u->ManagerVersion, 4.51);
    EXPECT_NE(u->FindStar("Beta"), nullptr);
}

TEST(Tool, FailuresPrintTheSystemTextAndExitWithOne) {
    const std::string dir = TempFolder("fail");
    ToolResult r = RunTool({"dump", dir + "/missing.map"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "Error Creating Filestream\n");

    std::ofstream(dir + "/junk.map") << "TPF0\x09TUniverse";
    r = RunTool({"convert", dir + "/junk.map", dir + "/out.map"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "Error Reading File\n");

    TUniverse bare;
    std::string msg;
    ASSERT_TRUE(bare.SaveToFile(dir + "/bare.map", msg));
    r = RunTool({"convert", dir + "/bare.map", dir + "/out.map"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "Corrupt Map file.\n");

    r = RunTool({"new", dir + "/no/such/folder/x.map"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "Error Creating Filestream\n");

    r = RunTool({"dump"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Err.find("usage: hexlane-tool dump [--json] MAP"), std::string::npos);
    r = RunTool({"frobnicate"});
    EXPECT_EQ(r.Status, 2);
}
