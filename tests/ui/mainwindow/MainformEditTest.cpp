// The main window's commands that open an editing dialog: the system editor
// from the map, the list, "Define New System" and "Add Star...", the leg
// dialog from "Add Leg..." and the list, the route and allegiance dialogs from
// the tree. The dialogs are answered once they are up, as a user would.

#include "MainformFixture.h"

#include "SystemList.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

using namespace hexlane::ui;

namespace {

// Picks the entry with this text in a combo box.
void Choose(QComboBox* box, const QString& text) {
    ASSERT_TRUE(box);
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
}

}  // namespace

TEST_F(MainformTest, AClickOnAStarEditsItAndTheViewsFollow) {
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    const TStar* home = Star("Home");
    WhenModal("Star System Editor", [](QDialog& editor) {
        Control<QLineEdit>(editor, "rSystemName")->setText("Homeworld");
        Control<QPushButton>(editor, "rOK")->click();
    });
    window->rImageClick(QPoint(home->PictureX, home->PictureY));
    EXPECT_FALSE(Star("Home"));
    ASSERT_TRUE(Star("Homeworld"));
    EXPECT_EQ(Route("Main")->Legs()[0]->SStarName, "Homeworld");  // its legs follow the new name
    EXPECT_TRUE(window->Universe().ManagerRequiresSaving);
    EXPECT_TRUE(window->Universe().MapDirty);
    EXPECT_EQ(window->ListModel()->CellText(1, 0), "Homeworld");  // the list shows the new record
    window->RefreshIfDirty();
    EXPECT_FALSE(window->Universe().MapDirty);
}

TEST_F(MainformTest, DefineNewSystemKeepsTheRecordOnlyOnOk) {
    Open(Write(*SmallMap(), "small.map"));
    const std::size_t children = window->Universe().Children().size();
    WhenModal("Star System Editor", [](QDialog& editor) { Control<QPushButton>(editor, "rCancel")->click(); });
    Action("rDefineNewSystem")->trigger();
    EXPECT_EQ(window->Universe().Children().size(), children);
    EXPECT_FALSE(Star("New Star"));

    WhenModal("Star System Editor", [](QDialog& editor) {
        Choose(Control<QComboBox>(editor, "rSector"), "Gamma");
        Choose(Control<QComboBox>(editor, "rSubsector"), "b");
        Control<QLineEdit>(editor, "rColumn")->setText("2");
        Control<QLineEdit>(editor, "rRow")->setText("3");
        Control<QPushButton>(editor, "rOK")->click();
    });
    Action("rDefineNewSystem")->trigger();
    EXPECT_EQ(window->Universe().Children().size(), children);
    const TStar* added = Star("New Star");
    ASSERT_TRUE(added);
    EXPECT_EQ(added->Owner(), Sector("Gamma"));
    EXPECT_EQ(added->SubSectorName, "b");
}

TEST_F(MainformTest, AddStarNeedsASubsectorAndStartsInIt) {
    Open(Write(*SmallMap(), "small.map"));
    window->rmAddStarClick();
    EXPECT_EQ(prompter.Last(), "info: Select a Subsector first.");

    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    WhenModal("Star System Editor", [](QDialog& editor) {
        EXPECT_EQ(Control<QComboBox>(editor, "rSubsector")->currentText(), "");  // no sector chosen yet
        Choose(Control<QComboBox>(editor, "rSector"), "Alpha");
        EXPECT_EQ(Control<QComboBox>(editor, "rSubsector")->currentText(), "a");
        Control<QLineEdit>(editor, "rColumn")->setText("8");
        Control<QLineEdit>(editor, "rRow")->setText("10");
        Control<QPushButton>(editor, "rOK")->click();
    });
    Trigger(window->TreePopup(), "Add Star...");
    EXPECT_EQ(window->ListModel()->rowCount(), 3);
    EXPECT_EQ(window->TreeStatusText(), "Systems : 3");
}

TEST_F(MainformTest, AddLegKeepsTheLegOnlyOnOk) {
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Routes", "side"}));
    prompter.InputAnswers = {QString("Spur")};
    WhenModal("Configure Communication/Trade Leg", [](QDialog& dialog) { dialog.reject(); });
    Trigger(window->ListPopup(), "Add Leg...");
    EXPECT_TRUE(Route("side")->Legs().empty());
    EXPECT_EQ(window->ListModel()->rowCount(), 0);

    prompter.InputAnswers = {QString("Spur")};
    WhenModal("Configure Communication/Trade Leg", [](QDialog& dialog) {
        // Pick the first system in both lists.
        for (const char* name : {"rStartList", "rEndList"}) {
            auto* list = Control<QListView>(dialog, name);
            list->setCurrentIndex(list->model()->index(0, 0));
        }
        Control<QPushButton>(dialog, "rOK")->click();
    });
    Trigger(window->ListPopup(), "Add Leg...");
    ASSERT_EQ(Route("side")->Legs().size(), 1u);
    EXPECT_EQ(Route("side")->Legs()[0]->Name1, "Spur");
    EXPECT_EQ(window->ListModel()->rowCount(), 1);
    EXPECT_TRUE(window->Universe().MapDirty);
}

TEST_F(MainformTest, DoubleClicksOpenTheDialogOfTheNodeOrRow) {
    Open(Write(*SmallMap(), "small.map"));
    WhenModal("Configure Route Main", [](QDialog& dialog) {
        Control<QLineEdit>(dialog, "rRouteName")->setText("Trunk");
        Control<QPushButton>(dialog, "rOK")->click();
    });
    window->rListingDblClick(Node({"Routes", "Main"}));
    EXPECT_TRUE(Route("Trunk"));
    EXPECT_EQ(ChildTexts({"Routes"}), QStringList({"Trunk", "side"}));  // renamed in place
    EXPECT_TRUE(window->Universe().MapDirty);

    WhenModal("Configure Allegiance Alpha", [](QDialog& dialog) { dialog.reject(); });
    window->rListingDblClick(Node({"Allegiances", "Alpha"}));

    ASSERT_TRUE(window->SelectNode({"Routes", "Trunk"}));
    SelectRows({1});
    WhenModal("Configure Communication/Trade Leg", [](QDialog& dialog) { dialog.reject(); });
    window->rSystemListDblClick();

    ASSERT_TRUE(window->SelectNode({"Allegiances", "Alpha"}));
    SelectRows({0});
    WhenModal("Star System Editor", [](QDialog& dialog) { dialog.reject(); });
    window->rSystemListDblClick();
    EXPECT_TRUE(Star("Home"));
}
