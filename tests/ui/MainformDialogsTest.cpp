// The main window's commands that open the sector grid, the alternate tech
// level table, the file dialogs and the search dialogs, and what the window
// refreshes after them. The dialogs are answered once they are up.

#include "MainformFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace hexlane::ui;

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
