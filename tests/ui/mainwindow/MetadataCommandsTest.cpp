// "Import Sector Metadata..." and "Export Sector Metadata..." in the window:
// one undo step, malformed files refused, the file written.

#include "MainformFixture.h"

#include <fstream>
#include <sstream>

TEST_F(MainformTest, SectorMetadataImportIsOneUndoStepAndExportWritesTheFile) {
    auto map = SmallMap();
    Open(Write(*map, "small.map"));
    const QString good = Path("alpha.xml");
    WriteBytes(good, "<Sector><Subsectors><Subsector Index=\"A\">Homeward</Subsector></Subsectors>"
                     "<Routes><Route Start=\"0304\" End=\"0406\" EndOffsetX=\"1\" Type=\"Courier\"/></Routes></Sector>");
    const QString bad = Path("bad.xml");
    WriteBytes(bad, "<Sector>\n<Name>Alpha</Sector>");

    // The tree popup of a sector.
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha"}));
    prompter.OpenAnswers.push_back(good);
    Trigger(window->TreePopup(), "Import Sector Metadata...");
    EXPECT_EQ(Sector("Alpha")->SubsectorName(1, 1), "Homeward");
    EXPECT_EQ(Star("Home")->SubSectorName, "Homeward");
    ASSERT_TRUE(window->Universe().FindRoute("Courier"));
    EXPECT_EQ(Action("rUndo")->text(), "&Undo Import Sector Metadata");
    Action("rUndo")->trigger();
    EXPECT_EQ(Sector("Alpha")->SubsectorName(1, 1), "a");
    EXPECT_FALSE(window->Universe().FindRoute("Courier"));

    // The File menu, for the selected sector: a malformed file changes nothing.
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha"}));
    prompter.OpenAnswers.push_back(bad);
    Action("rImportMetadata")->trigger();
    EXPECT_TRUE(prompter.Last().startsWith("error: The metadata file is not well-formed XML")) << prompter.Last().toStdString();
    EXPECT_TRUE(prompter.Last().contains("line 2, column")) << prompter.Last().toStdString();
    EXPECT_EQ(Action("rUndo")->text(), "Undo");

    prompter.SaveAnswers.push_back(Path("out.xml"));
    Action("rExportMetadata")->trigger();
    std::ifstream in(dir / "out.xml");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("<Name>Alpha</Name>"), std::string::npos);
    EXPECT_NE(text.str().find("<Route Start=\"0304\" End=\"0608\" Type=\"Main\" />"), std::string::npos);
    EXPECT_TRUE(prompter.AllAnswersUsed());
}
