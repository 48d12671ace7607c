// The main window's commands that open the sector grid, the alternate tech
// level table, the file dialogs and the search dialogs, and what the window
// refreshes after them. The dialogs are answered once they are up.

#include "DialogTesting.h"
#include "MainformFixture.h"

#include "SystemList.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <fstream>

using namespace hexlane::ui;
using namespace uitest;

namespace {

}  // namespace

TEST_F(MainformTest, EditSectorsRebuildsTheTreeAndTheMap) {
    Open(Write(*SmallMap(), "small.map"));
    WhenModal("Edit Sectors/Subsectors", [](QDialog& grid) {
        QTimer::singleShot(0, [] {
            auto* sector = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(sector);
            EXPECT_EQ(sector->windowTitle(), "Edit Sector Information");
            Control<QLineEdit>(*sector, "rSectorName")->setText("Delta");
            Control<QPushButton>(*sector, "rOK")->click();
        });
        Control<QPushButton>(grid, "r0302")->click();  // an empty position: a new sector
        Control<QPushButton>(grid, "rClose")->click();
    });
    Action("rEditSectors")->trigger();
    ASSERT_TRUE(Sector("Delta"));
    EXPECT_EQ(Sector("Delta")->SectorCoordsX, 3);
    EXPECT_EQ(ChildTexts({"Sectors", "Not Surveyed"}), QStringList({"Beta", "Delta"}));
    EXPECT_TRUE(window->Universe().ManagerRequiresSaving);
    EXPECT_TRUE(window->Universe().MapDirty);
}

TEST_F(MainformTest, DefineAltTechLevelsStoresTheTableOnOk) {
    Open(Write(*SmallMap(), "small.map"));
    WhenModal("Define Alternate Tech Levels", [](QDialog& dialog) {
        Control<QPushButton>(dialog, "rDefaults")->click();
        Control<QPushButton>(dialog, "rOK")->click();
    });
    Action("rDefineAltTL")->trigger();
    EXPECT_EQ(window->Universe().TLAltDesc[16], "G - Occasional non-Imperial");
    EXPECT_TRUE(window->Universe().ManagerRequiresSaving);
}

TEST_F(MainformTest, OverlayRefreshesTheViewsBeforeItsMessagesWhileTheListShowsReplacedStars) {
    Open(Write(*SmallMap(), "small.map"));
    const QString other = Write(*SmallMap(), "other.map");  // every star and leg a duplicate
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    ASSERT_GT(window->ListModel()->rowCount(), 0);
    prompter.YesNoAnswers.push_back(true);
    prompter.OpenAnswers.push_back(other);
    WhenShown("Errors/Messages", [this](QDialog& d) {
        EXPECT_EQ(window->ListModel()->rowCount(), 0);
        d.repaint();
        window->repaint();
        d.reject();
    });
    Action("rOverlayMaps")->trigger();
    window->RefreshIfDirty();
    EXPECT_TRUE(window->Universe().ManagerRequiresSaving);
    EXPECT_EQ(window->FileName(), Path("small.map"));
}

TEST_F(MainformTest, TheHiddenEspCommandOpensItsDialog) {
    bool shown = false;
    WhenModal("Import ESP File", [&shown](QDialog& d) {
        shown = true;
        Control<QPushButton>(d, "rClose")->click();
    });
    Action("rImportESP")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(Action("rImportESP")->isVisible());
    EXPECT_FALSE(window->Universe().ManagerRequiresSaving);
}

TEST_F(MainformTest, OpeningAnotherMapEmptiesTheNavigationDialog) {
    Open(Write(*SmallMap(), "small.map"));
    WhenModal("Navigation Information", [](QDialog& d) {
        Control<QLineEdit>(d, "rOriginName")->setText("Home");
        Control<QLineEdit>(d, "rDestinationName")->setText("Far");
        Control<QPushButton>(d, "rClose")->click();
    });
    Action("rNavigation")->trigger();

    Open(Write(*SmallMap(), "other.map"));  // the same names, yet another map
    WhenModal("Navigation Information", [](QDialog& d) {
        EXPECT_EQ(Control<QLineEdit>(d, "rOriginName")->text(), "");
        EXPECT_EQ(Control<QLineEdit>(d, "rDestinationName")->text(), "");
        EXPECT_EQ(Control<QLabel>(d, "rDistance")->text(), "Distance : ");
        Control<QPushButton>(d, "rClose")->click();
    });
    Action("rNavigation")->trigger();
}

TEST_F(MainformTest, ImportThroughTheToolbarThenSelectedSave) {
    Open(Write(*SmallMap(), "small.map"));
    const std::string line = "Nova          0101 A788899-C   " + std::string(17, ' ') + "   103    G2 V";
    {
        std::ofstream out((dir / "Beta.sec").string());
        out << "....+....1....+....2....+....3....+....4....+....5....+....6....+....7....+....8\n" << line << "\n";
    }
    prompter.OpenAnswers.push_back(Path("Beta.sec"));
    WhenShown("Import Sector File", [](QDialog& d) {
        d.findChild<QPushButton*>("rImport")->click();
        d.reject();
    });
    EXPECT_TRUE(Action("rImportSectorFile")->isEnabled());
    EXPECT_FALSE(Action("rImportSector")->isEnabled());
    Action("rImportSectorFile")->trigger();
    EXPECT_NE(Star("Nova"), nullptr);
    EXPECT_TRUE(Node({"Sectors", "Surveyed", "Beta"}));

    prompter.SaveAnswers.push_back(std::nullopt);  // the chooser cancelled: nothing written
    WhenShown("Selected Save", [](QDialog& d) { d.accept(); });
    Action("rSelectedSave")->trigger();
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

TEST_F(MainformTest, QueryAndNavigationOpenFromTheirActionsAndTheMapPopup) {
    Open(Write(*SmallMap(), "small.map"));
    WhenModal("Query Survey Chart", [](QDialog& d) {
        Control<QPlainTextEdit>(d, "rQueryText")->setPlainText("LEVEL_STARPORT");  // every starport is A (0)
        Control<QPushButton>(d, "rQuery")->click();
        Control<QPushButton>(d, "rClose")->click();
    });
    Action("rQuery")->trigger();
    EXPECT_FALSE(Star("Home")->Visible);
    EXPECT_FALSE(window->Universe().ManagerRequiresSaving);
    WhenModal("Query Survey Chart", [](QDialog& d) {
        Control<QPlainTextEdit>(d, "rQueryText")->setPlainText("1");
        Control<QPushButton>(d, "rQuery")->click();
        Control<QPushButton>(d, "rClose")->click();
    });
    Action("rQuery")->trigger();
    window->RefreshIfDirty();
    EXPECT_TRUE(Star("Home")->Visible);

    // From the map popup the star under the pointer is the origin.
    const TStar* home = Star("Home");
    window->rImageMouseMove(QPoint(home->PictureX, home->PictureY));
    WhenModal("Navigation Information", [](QDialog& d) {
        EXPECT_EQ(Control<QLineEdit>(d, "rOriginName")->text(), "Home");
        Control<QPushButton>(d, "rQueryNow")->click();
        Control<QPushButton>(d, "rPlotOnly")->click();
        Control<QPushButton>(d, "rClose")->click();
    });
    Trigger(window->MapPopup(), "Navigation Information...");
    EXPECT_TRUE(Star("Home")->Visible);
    EXPECT_FALSE(Star("Far")->Visible);
}

TEST_F(MainformTest, ExportSectorFileFromTheSectorPopupAndTheMenu) {
    auto map = SmallMap();
    testutil::AddStar(*map->FindSector("Alpha"), "A Name Beyond Fourteen", 9, 9);
    Open(Write(*map, "small.map"));

    // The popup of a sector: the chooser proposes its name; a classic file
    // lists what it shortened.
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha"}));
    prompter.SaveAnswers.push_back(Path("alpha.sec"));
    QString shown;
    WhenShown("Errors/Messages", [&shown](QDialog& d) {
        shown = d.findChild<QPlainTextEdit*>("rMessages")->toPlainText();
        d.reject();
    });
    Trigger(window->TreePopup(), "Export Sector File...");
    EXPECT_EQ(prompter.Log.back(),
              "save: Tab-delimited sector file (*.tab);;Column-delimited sector file (*.txt);;"
              "Classic sector file (*.sec);;All files (*)");
    EXPECT_EQ(shown, "A Name Beyond Fourteen shortened (Name)");
    EXPECT_TRUE(fs::exists(dir / "alpha.sec"));

    // The menu with no sector selected asks for one by name.
    ASSERT_TRUE(window->SelectNode({"Routes"}));
    prompter.InputAnswers = {QString("Gamma"), QString("Nowhere")};
    prompter.SaveAnswers.push_back(Path("gamma.tab"));
    Action("rExportSector")->trigger();
    EXPECT_TRUE(fs::exists(dir / "gamma.tab"));
    Action("rExportSector")->trigger();
    EXPECT_EQ(prompter.Last(), "info: Invalid Sector Pointer");
    prompter.SaveAnswers.push_back(Path("gamma.dat"));
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Gamma"}));
    Action("rExportSector")->trigger();
    EXPECT_EQ(prompter.Last(), "error: Sector files are written as .tab, .txt or .sec");
    EXPECT_TRUE(prompter.AllAnswersUsed());
}
