// hexlane-tool borders, import-metadata and export-metadata, run as a script runs them.

#include "TestUtil.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class RegionsTool : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / ("hexlane-regions-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        // Two sectors side by side; the league spans their edge, the drifters claim nothing.
        auto u = TUniverse::CreateNew();
        TSector* west = testutil::AddSector(*u, "Vellan", 1, 1);
        TSector* east = testutil::AddSector(*u, "Orrim", 2, 1);
        for (auto [name, code] : {std::pair{"Kestrel League", "KeLe"}, std::pair{"Drift Worlds", "NaDw"}}) {
            auto* a = u->Allegiances()->Create<TAllegiance>();
            a->Name1 = name;
            a->ImportCode = code;
        }
        testutil::AddStar(*west, "Amber", 31, 10)->Allegiance = "Kestrel League";
        testutil::AddStar(*east, "Brill", 2, 11)->Allegiance = "Kestrel League";
        testutil::AddStar(*east, "Cato", 20, 20)->Allegiance = "Drift Worlds";
        testutil::AddStar(*east, "Dunmore", 22, 20)->Allegiance = "Drift Worlds";
        std::string message;
        ASSERT_TRUE(u->SaveToFile(Path("map.map"), message)) << message;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    int Run(const std::string& arguments) {
        const std::string command = std::string("\"") + HEXLANE_TOOL + "\" " + arguments + " >\"" + Path("out.txt") +
                                    "\" 2>\"" + Path("err.txt") + "\"";
        const int status = std::system(command.c_str());
        out = Read(Path("out.txt"));
        err = Read(Path("err.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path dir;
    std::string out, err;
};

}  // namespace

TEST_F(RegionsTool, BordersListsEachClaimingPolitysHexesBySector) {
    ASSERT_EQ(Run("borders \"" + Path("map.map") + "\" --json"), 0) << err;
    const auto j = nlohmann::json::parse(out);
    ASSERT_EQ(j["regions"].size(), 1u);
    EXPECT_EQ(j["regions"][0]["allegiance"], "Kestrel League");
    EXPECT_EQ(j["regions"][0]["code"], "KeLe");
    const auto& hexes = j["regions"][0]["hexes"];
    auto has = [&](const char* sector, const char* hex) {
        for (const auto& h : hexes)
            if (h[0] == sector && h[1] == hex) return true;
        return false;
    };
    EXPECT_TRUE(has("Vellan", "3110"));
    EXPECT_TRUE(has("Orrim", "0211"));
    EXPECT_FALSE(has("Orrim", "2020"));
    ASSERT_EQ(Run("borders \"" + Path("map.map") + "\" --sector Orrim --json"), 0) << err;
    const auto orrim = nlohmann::json::parse(out);
    for (const auto& h : orrim["regions"][0]["hexes"]) EXPECT_EQ(h[0], "Orrim");
    EXPECT_EQ(Run("borders \"" + Path("map.map") + "\" --sector Nowhere"), 1);
}

TEST_F(RegionsTool, MetadataGoesOutAndComesBackIn) {
    std::ofstream(Path("in.xml")) << "<Sector><Subsectors><Subsector Index=\"D\">Eastmark</Subsector></Subsectors>"
                                     "<Routes><Route Start=\"3110\" End=\"0211\" EndOffsetX=\"1\"/>"
                                     "<Route Start=\"0101\" End=\"0211\" EndOffsetX=\"1\"/></Routes></Sector>";
    ASSERT_EQ(Run("import-metadata \"" + Path("map.map") + "\" Vellan \"" + Path("in.xml") + "\" -o \"" +
                  Path("with.map") + "\""), 0) << err;
    EXPECT_NE(out.find("hex 0101 of Vellan is empty"), std::string::npos) << out;
    ASSERT_EQ(Run("export-metadata \"" + Path("with.map") + "\" Vellan \"" + Path("out.xml") + "\" --x -4 --y 2"), 0) << err;
    const std::string xml = Read(Path("out.xml"));
    for (const char* part : {"<X>-4</X>", "<Y>2</Y>", "<Name>Vellan</Name>", "<Subsector Index=\"D\">Eastmark</Subsector>",
                             "<Route Start=\"3110\" End=\"0211\" EndOffsetX=\"1\" Type=\"Xboat\" />",
                             "<Border Allegiance=\"KeLe\"", "<Allegiance Code=\"KeLe\">Kestrel League</Allegiance>"})
        EXPECT_NE(xml.find(part), std::string::npos) << part << "\n" << xml;
    // Back into the original map: the same name and leg, and the borders said once.
    ASSERT_EQ(Run("import-metadata \"" + Path("map.map") + "\" Vellan \"" + Path("out.xml") + "\""), 0) << err;
    EXPECT_NE(out.find("borders are computed"), std::string::npos) << out;
    EXPECT_EQ(Read(Path("map.map")), Read(Path("with.map")));
    // Malformed: exit 1 with line and column; the map stays as it was.
    std::ofstream(Path("bad.xml")) << "<Sector>\n<Routes>\n</Sector>";
    EXPECT_EQ(Run("import-metadata \"" + Path("map.map") + "\" Vellan \"" + Path("bad.xml") + "\""), 1);
    EXPECT_NE(err.find("line 3, column"), std::string::npos) << err;
    EXPECT_EQ(Read(Path("map.map")), Read(Path("with.map")));
}
