// The window around its document: the title of a new map, what the views
// forget when objects go or another map opens, and the Undo History pane.

#include "MainformFixture.h"

#include "Settings.h"
#include "UndoHistory.h"

#include <QDockWidget>
#include <QDir>
#include <QUndoStack>
#include <QUndoView>

using namespace hexlane::ui;

TEST_F(MainformTest, ANewMapIsUntitledAndItsFirstSaveAsksForAFileNamedUntitled) {
    Settings::SetLastFolder("Save As", QString::fromStdString(dir.string()));
    prompter.YesNoCancelAnswers = {Answer::No};
    window->rNewClick();
    EXPECT_EQ(window->windowTitle(), "Hexlane - IISS Map : Untitled[*]");
    EXPECT_FALSE(window->isWindowModified());
    prompter.InputAnswers = {QString("Solomani")};
    window->rmAddAllegianceClick();
    EXPECT_TRUE(window->isWindowModified());

    const QString path = Path("first.map");
    prompter.SaveAnswers = {path};
    EXPECT_EQ(window->rSaveClick(), SaveOutcome::Saved);
    EXPECT_EQ(prompter.LastSaveInitial, QDir(QString::fromStdString(dir.string())).filePath("Untitled.map"));
    EXPECT_EQ(window->windowTitle(), "Hexlane - IISS Map : " + path + "[*]");
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(MainformTest, ThePointerReadOutAndTheListingForgetWhatIsGone) {
    const QString small = Write(*SmallMap(), "small.map");
    Open(small);
    const int starColumns = window->ListModel()->columnCount();
    window->RefreshIfDirty();
    const TStar* vega = Star("Vega");
    window->rImageMouseMove({vega->PictureX, vega->PictureY});
    ASSERT_EQ(window->PanelText(1), "Vega");

    // The star under the pointer is deleted: the read-out no longer names it.
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Gamma", "a"}));
    SelectRows({0});
    prompter.YesNoAnswers = {true};
    window->rmDeleteStarClick();
    EXPECT_EQ(window->PanelText(1), "");

    // Another map opens while a route's legs are listed: no legs, no leg
    // columns, no "Legs/Dist" below the tree, no name in the read-out.
    window->findChild<QAction*>("rUndo")->trigger();
    window->rImageMouseMove({vega->PictureX, vega->PictureY});
    ASSERT_TRUE(window->SelectNode({"Routes", "Main"}));
    ASSERT_TRUE(window->TreeStatusText().startsWith("Legs/Dist"));
    ASSERT_NE(window->ListModel()->columnCount(), starColumns);
    prompter.YesNoCancelAnswers = {Answer::No};
    Open(small);
    EXPECT_EQ(window->ListModel()->rowCount(), 0);
    EXPECT_EQ(window->ListModel()->columnCount(), starColumns);
    EXPECT_FALSE(window->TreeStatusText().startsWith("Legs/Dist")) << window->TreeStatusText().toStdString();
    EXPECT_EQ(window->PanelText(1), "");
}

TEST_F(MainformTest, TheUndoHistoryPaneListsTheStepsAndGoesBackToOne) {
    Open(Write(*SmallMap(), "small.map"));
    QAction* toggle = window->findChild<QAction*>("rUndoHistory");
    ASSERT_TRUE(toggle);
    EXPECT_TRUE(MenuTexts("rViewMenu").contains("Undo &History"));
    auto* pane = qobject_cast<QDockWidget*>(window->UndoPane());
    ASSERT_TRUE(pane);
    window->show();
    EXPECT_FALSE(pane->isVisible());
    toggle->trigger();
    EXPECT_TRUE(pane->isVisible());
    auto* view = qobject_cast<QUndoView*>(pane->widget());
    ASSERT_TRUE(view);
    EXPECT_EQ(view->stack(), &window->History().Stack());

    for (const char* name : {"One", "Two"}) {
        prompter.InputAnswers = {QString(name)};
        window->rmAddAllegianceClick();
    }
    // The opened map, then one row per step.
    ASSERT_EQ(view->model()->rowCount(), 3);
    EXPECT_EQ(view->model()->index(1, 0).data().toString(), "Add Allegiance");
    view->setCurrentIndex(view->model()->index(0, 0));  // back to the map as opened
    EXPECT_FALSE(window->Universe().FindAllegiance("One"));
    EXPECT_FALSE(window->isWindowModified());
}
