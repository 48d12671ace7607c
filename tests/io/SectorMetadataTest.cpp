// Sector metadata XML: what an import changes and skips, malformed files, and
// a round trip through export.

#include "SectorMetadata.h"

#include "TestUtil.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Two sectors side by side and one below, a few systems and one Xboat leg.
std::unique_ptr<TUniverse> SmallMap() {
    auto u = TUniverse::CreateNew();
    TSector* west = testutil::AddSector(*u, "Vellan", 1, 1);
    TSector* east = testutil::AddSector(*u, "Orrim", 2, 1);
    testutil::AddSector(*u, "Tarsk", 1, 2);
    testutil::AddStar(*west, "Amber", 1, 1);
    testutil::AddStar(*west, "Brill", 2, 3);
    testutil::AddStar(*west, "Cato", 32, 40);
    testutil::AddStar(*east, "Dunmore", 1, 2);
    TRoute* xboat = u->Routes()->Create<TRoute>();
    xboat->Name1 = "Xboat";
    TRouteLeg* leg = xboat->Create<TRouteLeg>();
    leg->SStarName = "Brill";
    leg->EStarName = "Amber";
    auto* league = u->Allegiances()->Create<TAllegiance>();
    league->Name1 = "Kestrel League";
    league->ImportCode = "KeLe";
    u->ComputeExtent();
    return u;
}

std::set<std::string> Legs(const TUniverse& u) {
    std::set<std::string> out;
    for (const auto& r : u.Routes()->Children())
        for (const auto& l : r->Children())
            if (const auto* leg = As<TRouteLeg>(l.get())) out.insert(r->Name1 + ":" + leg->SStarName + ">" + leg->EStarName);
    return out;
}

const char* kFile = R"(<?xml version="1.0"?>
<Sector Tags="Fan">
  <Name>Vellan</Name><X>-3</X><Y>0</Y>
  <Credits>ignored without complaint</Credits>
  <Subsectors>
    <Subsector Index="A">Amberlight</Subsector>
    <Subsector Index="E">Second Row</Subsector>
    <Subsector Index="P">Far Corner</Subsector>
  </Subsectors>
  <Routes>
    <Route Start="0101" End="0203" />
    <Route Start="0101" End="0203" Type="Trade" />
    <Route Start="3240" End="0102" EndOffsetX="1" Type="Trade" Color="#ff0000" Style="Dashed" />
    <Route Start="0101" End="0505" />
    <Route Start="0101" End="0101" StartOffsetY="-1" />
    <Route Start="0101" End="9999" />
  </Routes>
  <Borders><Border Allegiance="KeLe">0101 0102</Border><Border>0505</Border></Borders>
  <Allegiances><Allegiance Code="KeLe">Kestrel League</Allegiance></Allegiances>
</Sector>)";

}  // namespace

TEST(SectorMetadata, ImportRenamesSubsectorsAddsLegsAndListsWhatItSkipped) {
    auto u = SmallMap();
    TSector* vellan = u->FindSector("Vellan");
    const TMetadataImportResult r = ImportSectorMetadataText(*u, *vellan, kFile);
    ASSERT_TRUE(r.Ok) << r.Message;
    // A-D the top row: E is the first subsector of the second row.
    EXPECT_EQ(vellan->SubsectorName(1, 1), "Amberlight");
    EXPECT_EQ(vellan->SubsectorName(1, 2), "Second Row");
    EXPECT_EQ(vellan->SubsectorName(4, 4), "Far Corner");
    EXPECT_EQ(vellan->SubsectorName(2, 1), "e");  // untouched (the test sector names columns first)
    EXPECT_EQ(r.SubsectorsRenamed, 3);
    // Systems keep their hexes under the new names.
    const TStar* cato = u->FindStar("Cato");
    EXPECT_EQ(cato->SubSectorName, "Far Corner");
    EXPECT_EQ(cato->SectorHexColumn() * 100 + cato->SectorHexRow(), 3240);
    // Amber-Brill was on the map already (reversed, in any route); Trade is
    // new, with the offset leg into the eastern sector.
    EXPECT_EQ(Legs(*u), (std::set<std::string>{"Xboat:Brill>Amber", "Trade:Cato>Dunmore"}));
    EXPECT_EQ(r.RoutesCreated, 1);
    EXPECT_EQ(u->FindRoute("Trade")->Color, 0x0000FF);
    EXPECT_EQ(u->FindRoute("Trade")->LineType, 1);
    EXPECT_TRUE(u->ManagerRequiresSaving);
    // Skipped ends, and the borders said once.
    ASSERT_EQ(r.Lines.size(), 4u);
    EXPECT_NE(r.Lines[0].find("hex 0505 of Vellan is empty"), std::string::npos);
    EXPECT_NE(r.Lines[1].find("is not on the map"), std::string::npos);
    EXPECT_NE(r.Lines[2].find("is not a hex"), std::string::npos);
    EXPECT_NE(r.Lines[3].find("borders"), std::string::npos);
    // A second import of the same file adds nothing.
    EXPECT_EQ(ImportSectorMetadataText(*u, *vellan, kFile).LegsAdded, 0);
}

TEST(SectorMetadata, AFileThatIsNotSectorMetadataChangesNothing) {
    struct Row {
        const char* xml;
        const char* message;
    } rows[] = {
        {"<Sector>\n  <Subsectors>\n    <Subsector Index=\"A\">x</Subsectors>\n</Sector>", "line 3, column"},
        {"<Sector><Name>a</Name>", "line 1, column"},
        {"", "not well-formed"},
        {"<?xml version=\"1.0\"?>\n<Galaxy><Subsectors/></Galaxy>", "root element is not Sector"},
        {"<Sector><Routes><Route Start=\"0101\" End=\"0203\"></Routes></Sector>", "mismatch"},
    };
    for (const Row& row : rows) {
        auto u = SmallMap();
        u->ManagerRequiresSaving = false;
        const std::string before = testutil::Stream(*u);
        const TMetadataImportResult r = ImportSectorMetadataText(*u, *u->FindSector("Vellan"), row.xml);
        EXPECT_FALSE(r.Ok) << row.xml;
        EXPECT_NE(r.Message.find(row.message), std::string::npos) << r.Message;
        EXPECT_EQ(testutil::Stream(*u), before);
        EXPECT_FALSE(u->ManagerRequiresSaving);
    }
}

TEST(SectorMetadata, ExportThenImportGivesBackNamesAndLegs) {
    auto source = SmallMap();
    ASSERT_TRUE(ImportSectorMetadataText(*source, *source->FindSector("Vellan"), kFile).Ok);
    TMetadataExportOptions options;
    options.X = -3;
    options.Borders.push_back({"KeLe", 0x00FF8040, {{1, 1}, {2, 1}, {2, 2}}});
    const std::string xml = SectorMetadataXml(*source, *source->FindSector("Vellan"), options);
    EXPECT_NE(xml.find("<X>-3</X>"), std::string::npos);
    EXPECT_NE(xml.find("<Y>1</Y>"), std::string::npos);
    EXPECT_NE(xml.find("<Border Allegiance=\"KeLe\" Color=\"#4080ff\">0101 0201 0202</Border>"), std::string::npos);
    EXPECT_NE(xml.find("<Allegiance Code=\"KeLe\">Kestrel League</Allegiance>"), std::string::npos);
    EXPECT_NE(xml.find("End=\"0102\" EndOffsetX=\"1\" Type=\"Trade\""), std::string::npos);

    auto target = SmallMap();
    TSector* vellan = target->FindSector("Vellan");
    const TMetadataImportResult back = ImportSectorMetadataText(*target, *vellan, xml);
    ASSERT_TRUE(back.Ok) << back.Message;
    EXPECT_EQ(vellan->SSName, source->FindSector("Vellan")->SSName);
    // The same legs, each once; leg names follow the importing route.
    EXPECT_EQ(Legs(*target), Legs(*source));
    std::string message;
    const std::string path = ::testing::TempDir() + "/vellan-metadata.xml";
    ASSERT_TRUE(ExportSectorMetadata(*source, *source->FindSector("Vellan"), path, options, message)) << message;
    auto third = SmallMap();
    const TMetadataImportResult fromFile = ImportSectorMetadata(*third, *third->FindSector("Vellan"), path);
    ASSERT_TRUE(fromFile.Ok) << fromFile.Message;
    EXPECT_EQ(Legs(*third), Legs(*source));
}
