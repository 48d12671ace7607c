// The hexlane-tool commands of the import layer, run as a script runs them.

#include "DefineUniverse.h"
#include "SecFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;
using secfile::Line;
using secfile::System;

namespace {

class Tool : public ::testing::Test {
protected:
    void SetUp() override {
        // ctest runs each test in its own process, side by side: the folder carries the
        // test's name and the process id so that no two share one.
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() /
              ("hexlane-io-tool-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }

    // Runs the tool; true when it exits with 0. Its output lands in out, err.
    bool Run(const std::string& arguments) {
        const std::string command = std::string("\"") + HEXLANE_TOOL + "\" " + arguments + " >\"" +
                                    Path("out.txt") + "\" 2>\"" + Path("err.txt") + "\"";
        const int status = std::system(command.c_str());
        out = Read(Path("out.txt"));
        err = Read(Path("err.txt"));
        return status == 0;
    }

    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    void Write(const std::string& name, const std::string& text) {
        std::ofstream(Path(name), std::ios::binary) << text;
    }

    std::unique_ptr<TUniverse> Load(const std::string& name) {
        auto u = std::make_unique<TUniverse>();
        std::string message;
        EXPECT_TRUE(u->LoadFromFile(Path(name), message)) << message;
        return u;
    }

    static std::string Q(const std::string& s) { return "\"" + s + "\""; }

    std::string SecFile(const std::vector<std::string>& names) {
        std::vector<std::string> lines;
        int row = 1;
        for (const std::string& n : names) {
            System s;
            s.Name = n;
            s.Hex = "01" + std::string(row < 10 ? "0" : "") + std::to_string(row);
            ++row;
            lines.push_back(Line(s));
        }
        return secfile::File(lines, {"Invented test sector"});
    }

    fs::path dir;
    std::string out, err;
};

}  // namespace

TEST_F(Tool, BuildAMapImportAndEditIt) {
    const std::string map = Q(Path("m.map"));
    ASSERT_TRUE(Run("add-sector " + map + " Alpha 1 1")) << err;
    ASSERT_TRUE(Run("add-sector " + map + " \"Beta Reach\" 2 1")) << err;
    EXPECT_FALSE(Run("add-sector " + map + " Gamma 2 1"));  // the position is taken
    EXPECT_FALSE(Run("add-sector " + map + " Gamma 17 1"));
    {
        auto u = Load("m.map");
        ASSERT_TRUE(u->HasContainers());
        const TSector* beta = u->FindSector("Beta Reach");
        ASSERT_TRUE(beta);
        EXPECT_EQ(beta->SectorCoordsX, 2);
        EXPECT_EQ(beta->SSName[0], "a");   // SS0101
        EXPECT_EQ(beta->SSName[4], "b");   // SS0201
        EXPECT_EQ(beta->SSName[1], "e");   // SS0102
        EXPECT_EQ(beta->SSName[15], "p");  // SS0404
        EXPECT_DOUBLE_EQ(u->ManagerVersion, 4.51);
    }

    ASSERT_TRUE(Run("set-allegiance " + map + " Compact --code Cv --color \"#FF8000\" --style Cross --notes \"Our own\"")) << err;
    EXPECT_FALSE(Run("set-allegiance " + map + " Other --code Cv"));
    EXPECT_NE(err.find("An Allegiance with this Import Code already exits."), std::string::npos);
    EXPECT_FALSE(Run("set-allegiance " + map + " Other --code Cvx"));
    EXPECT_NE(err.find("Allegiance Import Codes must be one, two or four characters in Length."), std::string::npos);

    Write("alpha.sec", SecFile({"Amber", "Birch", "", "Cedar"}) + "\n");
    // A refused row fails the command once the good rows are imported and saved.
    EXPECT_FALSE(Run("import-sec " + map + " Alpha " + Q(Path("alpha.sec"))));
    EXPECT_EQ(out, "Error at Line 7 Incomplete Data\nImported 4 of 5 systems\n");
    EXPECT_EQ(err, "");
    EXPECT_FALSE(Run("import-sec " + map + " Alpha " + Q(Path("alpha.sec"))));
    EXPECT_EQ(err, "the sector Alpha already holds systems\n");
    EXPECT_FALSE(Run("import-sec " + map + " Nowhere " + Q(Path("alpha.sec"))));
    EXPECT_EQ(err, "Invalid Sector Pointer\n");
    Write("empty.sec", "no ruler here\n");
    EXPECT_FALSE(Run("import-sec " + map + " \"Beta Reach\" " + Q(Path("empty.sec"))));
    EXPECT_EQ(err, "Nothing to do.\n");

    ASSERT_TRUE(Run("add-route " + map + " Spine Amber Birch Cedar --color clRed --line-type 2 --thickness 3")) << err;
    EXPECT_FALSE(Run("add-route " + map + " Spine Amber Birch"));
    EXPECT_EQ(err, "This Route already exists.  Please select another name.\n");
    EXPECT_FALSE(Run("add-route " + map + " Other Amber Nowhere"));

    EXPECT_FALSE(Run("set-alt-tl " + map + " --level 0 1 Stones"));  // the rest is still empty
    EXPECT_EQ(err, "All Fields must be filled in.\n");
    EXPECT_FALSE(Run("set-alt-tl " + map + " --defaults --level 0 5 Stones"));
    EXPECT_EQ(err, "Tech Levels must be in order\n");
    ASSERT_TRUE(Run("set-alt-tl " + map + " --defaults --level G 16 \"Beyond us\"")) << err;

    auto u = Load("m.map");
    const TAllegiance* compact = u->FindAllegiance("Compact");
    ASSERT_TRUE(compact);
    EXPECT_EQ(compact->Color, 0x0080FF);
    EXPECT_EQ(compact->Style, bsCross);
    EXPECT_EQ(compact->Notes, "Our own");
    EXPECT_EQ(u->FindSector("Alpha")->Stars().size(), 4u);
    EXPECT_TRUE(u->FindStar("Star788899"));
    EXPECT_EQ(u->FindStar("Cedar")->Allegiance, "Compact");
    const TRoute* spine = u->FindRoute("Spine");
    ASSERT_TRUE(spine);
    EXPECT_TRUE(spine->User && spine->ShowRoute);
    EXPECT_EQ(spine->LineType, 2);
    EXPECT_EQ(spine->LineThickness, 3);
    ASSERT_EQ(spine->Legs().size(), 2u);
    EXPECT_EQ(spine->Legs()[1]->SStarName, "Birch");
    EXPECT_EQ(spine->Legs()[1]->EStarName, "Cedar");
    EXPECT_EQ(u->TLAltDesc[10], "A - Interstellar community");
    EXPECT_EQ(u->TLAltDesc[16], "Beyond us");
    EXPECT_EQ(u->TLAltValue[12], 12);
}

TEST_F(Tool, MergeOverlayAndSelectedSave) {
    const std::string map = Q(Path("m.map")), other = Q(Path("o.map"));
    Write("a.sec", SecFile({"Amber", "Birch"}));
    Write("b.sec", SecFile({"Birch", "Cedar"}));
    ASSERT_TRUE(Run("add-sector " + map + " Alpha 1 1")) << err;
    ASSERT_TRUE(Run("import-sec " + map + " Alpha " + Q(Path("a.sec")))) << err;
    ASSERT_TRUE(Run("add-sector " + other + " Alpha 3 3")) << err;
    ASSERT_TRUE(Run("import-sec " + other + " Alpha " + Q(Path("b.sec")))) << err;

    ASSERT_TRUE(Run("merge " + map + " " + other + " -o " + Q(Path("merged.map")))) << err;
    EXPECT_EQ(out, "Sector : Alpha\nStar : Birch\n");
    ASSERT_TRUE(Run("overlay " + map + " " + other)) << err;
    EXPECT_EQ(out, "Sector : Alpha\nStar : Birch\n");
    EXPECT_FALSE(Run("merge " + map + " " + Q(Path("missing.map"))));
    EXPECT_EQ(err, "Error Creating Filestream\n");

    auto merged = Load("merged.map");
    auto overlaid = Load("m.map");
    ASSERT_EQ(merged->Sectors()->ChildCount(), 1u);
    EXPECT_EQ(merged->FindSector("Alpha")->SectorCoordsX, 1);
    EXPECT_EQ(merged->FindSector("Alpha")->Stars().size(), 3u);
    EXPECT_EQ(merged->FindStar("Birch")->StarCoordsY, 2);  // the one in memory stayed
    EXPECT_EQ(overlaid->FindStar("Birch")->StarCoordsY, 1);  // the loaded one replaced it

    ASSERT_TRUE(Run("selected-save " + map + " " + Q(Path("sel.map")) + " --no-sectors")) << err;
    auto selected = Load("sel.map");
    EXPECT_EQ(selected->ChildCount(), 3u);
    EXPECT_EQ(selected->Sectors()->ChildCount(), 0u);
    ASSERT_TRUE(Run("selected-save " + map + " " + Q(Path("sel.map")))) << err;
    EXPECT_EQ(Load("sel.map")->FindSector("Alpha")->Stars().size(), 3u);
}

TEST_F(Tool, ImportAT5FileAndExportTheSectorInEachFormat) {
    const std::string map = Path("t5.map");
    ASSERT_TRUE(Run("add-sector " + map + " Alpha 1 1")) << err;
    ASSERT_TRUE(Run("add-sector " + map + " Beta 2 1")) << err;
    Write("alpha.tab", "Hex\tName\tUWP\tAllegiance\tPBG\n0101\tAmber Reach\tA788899-C\tNwCo\t123\n"
                       "0102\tA Name Beyond Fourteen\tB574734-A\t\t000\n");
    ASSERT_TRUE(Run("import-sec " + map + " Alpha " + Q(Path("alpha.tab")))) << err;
    EXPECT_EQ(out, "Allegiance NwCo added\nImported 2 of 2 systems\n");

    for (const char* file : {"alpha.tab", "alpha.txt"}) {
        ASSERT_TRUE(Run("export-sec " + map + " Alpha " + Q(Path(std::string("out-") + file)))) << err;
        EXPECT_EQ(out, "");
    }
    ASSERT_TRUE(Run("export-sec " + map + " Alpha " + Q(Path("alpha.sec")))) << err;
    EXPECT_EQ(out, "Amber Reach shortened (Allegiance)\nA Name Beyond Fourteen shortened (Name)\n");
    ASSERT_TRUE(Run("import-sec " + map + " Beta " + Q(Path("out-alpha.txt")))) << err;
    EXPECT_EQ(Load("t5.map")->FindSector("Beta")->Stars().size(), 2u);

    EXPECT_FALSE(Run("export-sec " + map + " Gamma " + Q(Path("x.tab"))));
    EXPECT_EQ(err, "Invalid Sector Pointer\n");
    EXPECT_FALSE(Run("export-sec " + map + " Alpha " + Q(Path("x.csv"))));
    EXPECT_EQ(err, "Sector files are written as .tab, .txt or .sec\n");
    EXPECT_FALSE(Run("export-sec " + map + " Alpha"));
}

TEST_F(Tool, EverySectorArgumentMeansTheFirstSectorOfItsName) {
    const std::string map = Path("twins.map");
    ASSERT_TRUE(Run("add-sector " + map + " Twin 1 1")) << err;
    EXPECT_FALSE(Run("add-sector " + map + " Twin 2 1"));
    EXPECT_EQ(err, "a sector named Twin already exists\n");
    {
        // A map made elsewhere may hold two sectors of one name.
        auto u = Load("twins.map");
        TSector* second = u->Sectors()->Create<TSector>();
        second->Name1 = "Twin";
        second->SectorCoordsX = 2;
        second->SectorCoordsY = 1;
        second->SSName = u->FindSector("Twin")->SSName;
        std::string message;
        ASSERT_TRUE(u->SaveToFile(map, message)) << message;
    }
    Write("a.sec", SecFile({"Amber", "Birch"}));
    ASSERT_TRUE(Run("import-sec " + map + " Twin " + Q(Path("a.sec")))) << err;
    EXPECT_EQ(out, "Imported 2 of 2 systems\n");
    // The first is no longer empty: it is refused, not its namesake filled.
    EXPECT_FALSE(Run("import-sec " + map + " Twin " + Q(Path("a.sec"))));
    EXPECT_EQ(err, "the sector Twin already holds systems\n");
    {
        auto u = Load("twins.map");
        EXPECT_EQ(u->Sectors()->ChildrenOf<TSector>()[0]->Stars().size(), 2u);
        EXPECT_FALSE(u->Sectors()->ChildrenOf<TSector>()[1]->HasStars());
    }
    ASSERT_TRUE(Run("query " + map + " 1 --sector Twin")) << err;
    EXPECT_EQ(out, "Amber\nBirch\n");
}

TEST_F(Tool, RenamedNamesakesAreListed) {
    const std::string map = Path("n.map");
    ASSERT_TRUE(Run("add-sector " + map + " Alpha 1 1")) << err;
    Write("a.tab", "Hex\tName\tUWP\n0101\tNova\tA788899-C\n0102\tNova\tA788899-C\n0103\t\tA788899-C\n");
    ASSERT_TRUE(Run("import-sec " + map + " Alpha " + Q(Path("a.tab")))) << err;
    EXPECT_EQ(out, "Nova at Line 3 renamed Nova (2)\nImported 3 of 3 systems\n");
}
