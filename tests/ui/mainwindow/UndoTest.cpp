// The undo history of the main window: every kind of command undone and
// redone to the very bytes a save writes, the changed flag following the
// history, and the window's pointers after a state comes back.

#include "MainformFixture.h"

#include "MapView.h"
#include "ObjectStream.h"
#include "UndoHistory.h"

#include <QLineEdit>
#include <QPushButton>

using namespace hexlane::ui;

namespace {

std::string Bytes(const TUniverse& universe) {
    std::string out;
    hexlane::WriteObjectStream(universe, out);
    return out;
}

}  // namespace

class UndoTest : public MainformTest {
protected:
    void SetUp() override {
        MainformTest::SetUp();
        Open(Write(*SmallMap(), "small.map"));
    }
    void Undo() { Action("rUndo")->trigger(); }
    void Redo() { Action("rRedo")->trigger(); }
    QPoint At(const std::string& star) { return {Star(star)->PictureX, Star(star)->PictureY}; }
};

TEST_F(UndoTest, EachKindOfCommandIsOneStepBackToTheBytesBeforeAndForwardToTheBytesAfter) {
    struct Command {
        const char* step;  // the text after "Undo "
        std::function<void()> run;
    };
    const Command commands[] = {
        {"Delete Sector",
         [this] {
             window->SelectNode({"Sectors", "Not Surveyed", "Beta"});
             prompter.YesNoAnswers = {true};
             window->rmDeleteSectorClick();
         }},
        {"Delete Star",
         [this] {
             window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"});
             SelectRows({0});
             prompter.YesNoAnswers = {true};
             window->rmDeleteStarClick();
         }},
        {"Delete Leg",
         [this] {
             window->SelectNode({"Routes", "Main"});
             SelectRows({1});
             prompter.YesNoAnswers = {true};
             window->rmDeleteLegClick();
         }},
        {"Delete Route",
         [this] {
             window->SelectNode({"Routes", "side"});
             prompter.YesNoAnswers = {true};
             window->rmDeleteRouteClick();
         }},
        {"Add Allegiance",
         [this] {
             prompter.InputAnswers = {QString("Solomani")};
             window->rmAddAllegianceClick();
         }},
        {"Drop onto beta",
         [this] {
             window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"});
             SelectRows({0, 1});
             prompter.YesNoAnswers = {true};
             window->rListingDragDrop(Node({"Allegiances", "beta"}));
         }},
        {"Edit System Homeworld",
         [this] {
             WhenModal("Star System Editor", [](QDialog& editor) {
                 Control<QLineEdit>(editor, "rSystemName")->setText("Homeworld");
                 Control<QPushButton>(editor, "rOK")->click();
             });
             window->rImageClick(At("Vega"));
         }},
        {"InstaLeg",
         [this] {
             window->SelectNode({"Routes", "Main"});
             prompter.InputAnswers = {QString("Hop")};
             window->rmInstaLegClick();
             window->rImageClick(At("Rim"));
             window->rImageClick(At("Homeworld"));
         }},
        {"Remove Sector From Display",
         [this] {
             window->SelectNode({"Sectors", "Surveyed", "Alpha"});
             Trigger(window->TreePopup(), "Remove Sector From Display");
         }},
        {"Define Alternate Tech Levels",
         [this] {
             WhenModal("Define Alternate Tech Levels", [](QDialog& dialog) {
                 Control<QPushButton>(dialog, "rDefaults")->click();
                 Control<QPushButton>(dialog, "rOK")->click();
             });
             Action("rDefineAltTL")->trigger();
         }},
        {"Overlay Maps",
         [this] {
             auto other = SmallMap();
             other->FindStar("Vega")->UPC = "X000000";
             other->FindRoute("Main")->Legs().front()->EStarName = "Vega";
             prompter.YesNoAnswers = {true};
             prompter.OpenAnswers = {Write(*other, "other.map")};
             uitest::WhenShown("Errors/Messages", [](QDialog& d) { d.reject(); });
             Action("rOverlayMaps")->trigger();
         }},
    };
    const std::string opened = Bytes(window->Universe());
    std::string before = opened;
    for (const Command& command : commands) {
        SCOPED_TRACE(command.step);
        command.run();
        const std::string after = Bytes(window->Universe());
        ASSERT_NE(after, before) << "the command changed nothing";
        EXPECT_EQ(Action("rUndo")->text(), QString("&Undo ") + command.step);
        Undo();
        EXPECT_EQ(Bytes(window->Universe()), before);
        EXPECT_EQ(Action("rRedo")->text(), QString("&Redo ") + command.step);
        Redo();
        EXPECT_EQ(Bytes(window->Universe()), after);
        before = after;
    }
    // The whole history back to the map as opened, and forward again.
    const std::string last = before;
    while (Action("rUndo")->isEnabled()) Undo();
    EXPECT_EQ(Bytes(window->Universe()), opened);
    EXPECT_EQ(Action("rUndo")->text(), "Undo");
    while (Action("rRedo")->isEnabled()) Redo();
    EXPECT_EQ(Bytes(window->Universe()), last);
    EXPECT_EQ(Action("rRedo")->text(), "Redo");
}

TEST_F(UndoTest, CommandsThatChangeNothingOrOnlyVisibilityAddNoStep) {
    EXPECT_EQ(MenuTexts("rEditMenu").mid(0, 3), QStringList({"Undo", "Redo", ""}));
    EXPECT_EQ(Action("rUndo")->shortcuts(), QList<QKeySequence>({QKeySequence("Ctrl+Z")}));
    EXPECT_EQ(Action("rRedo")->shortcuts(),
              QList<QKeySequence>({QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}));
    prompter.YesNoAnswers = {false};
    window->SelectNode({"Sectors", "Surveyed", "Gamma"});
    window->rmDeleteSectorClick();  // answered No
    window->SelectNode({"Allegiances", "Alpha"});
    Trigger(window->TreePopup(), "Remove Stars In This Allegiance From Display");  // Visible only
    EXPECT_FALSE(Action("rUndo")->isEnabled());
    EXPECT_EQ(window->History().Stack().count(), 0);
}

TEST_F(UndoTest, TheChangedFlagFollowsTheHistoryFromTheLastSave) {
    auto changed = [this] { return window->Universe().ManagerRequiresSaving; };
    prompter.InputAnswers = {QString("One"), QString("Two")};
    window->rmAddAllegianceClick();
    EXPECT_TRUE(changed());
    EXPECT_TRUE(window->isWindowModified());
    ASSERT_EQ(window->rSaveClick(), SaveOutcome::Saved);
    EXPECT_FALSE(window->isWindowModified());
    window->rmAddAllegianceClick();
    Undo();
    EXPECT_FALSE(changed());
    EXPECT_FALSE(window->isWindowModified());
    Undo();
    EXPECT_TRUE(changed());
    EXPECT_TRUE(window->isWindowModified());
    Redo();
    EXPECT_FALSE(changed());

    // Opening a map starts a new history.
    Open(Path("small.map"));
    EXPECT_FALSE(Action("rUndo")->isEnabled());
    EXPECT_FALSE(Action("rRedo")->isEnabled());
}

// The tree and the list refer to objects that a restored state replaces:
// they show the same nodes and rows again, on the new objects.
TEST_F(UndoTest, TheTreeAndTheListFollowTheObjectsThatComeBack) {
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    SelectRows({0});
    prompter.YesNoAnswers = {true};
    window->rmDeleteStarClick();
    ASSERT_EQ(window->ListModel()->rowCount(), 1);
    const QPoint scroll = window->Map()->ScrollPosition();
    Undo();
    EXPECT_EQ(window->Tree()->currentItem()->text(0), "a");
    EXPECT_EQ(window->Tree()->currentItem()->parent()->text(0), "Alpha");
    ASSERT_EQ(window->ListModel()->rowCount(), 2);
    EXPECT_EQ(window->ListModel()->StarAt(0), Star("Home"));
    EXPECT_EQ(window->Map()->ScrollPosition(), scroll);
    EXPECT_TRUE(window->Map()->HasPicture());

    // Delete the sector from its subsector's node, bring it back, select
    // its subsector again and redo the deletion under the list's rows.
    prompter.YesNoAnswers = {true, true};
    window->rmDeleteSectorClick();
    ASSERT_FALSE(Sector("Alpha"));
    Undo();
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    ASSERT_EQ(window->ListModel()->rowCount(), 2);
    Redo();
    EXPECT_FALSE(Sector("Alpha"));
    EXPECT_EQ(window->ListModel()->rowCount(), 0);
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Gamma", "a"}));
    Undo();
    EXPECT_EQ(window->Tree()->currentItem()->parent()->text(0), "Gamma");
    ASSERT_EQ(window->ListModel()->rowCount(), 1);
    EXPECT_EQ(window->ListModel()->StarAt(0), Star("Vega"));
}

TEST_F(UndoTest, UndoWhileInstaLegWaitsDropsTheUnfinishedLeg) {
    prompter.InputAnswers = {QString("Solomani"), QString("Hop")};
    window->rmAddAllegianceClick();
    const std::string before = Bytes(window->Universe());
    window->SelectNode({"Routes", "Main"});
    window->rmInstaLegClick();
    window->rImageClick(At("Home"));
    ASSERT_TRUE(window->InstaLegActive());
    Undo();
    EXPECT_FALSE(window->InstaLegActive());
    EXPECT_FALSE(window->Universe().FindAllegiance("Solomani"));
    Redo();
    EXPECT_EQ(Bytes(window->Universe()), before);
}

// At most 100 steps, and no more memory than the budget: the oldest steps
// go first, the others still undo to their exact bytes, and a saved state
// that went with them is never reached again.
TEST_F(UndoTest, TheHistoryDropsItsOldestStepsBeyondItsCountAndItsMemory) {
    auto addAllegiances = [this](int from, int count, std::vector<std::string>* states) {
        for (int i = from; i < from + count; ++i) {
            prompter.InputAnswers = {QString("Empire %1").arg(i)};
            window->rmAddAllegianceClick();
            if (states) states->push_back(Bytes(window->Universe()));
        }
    };
    addAllegiances(0, UndoHistory::kMaxSteps + 5, nullptr);
    EXPECT_EQ(window->History().Stack().count(), UndoHistory::kMaxSteps);

    prompter.YesNoCancelAnswers = {Answer::No};  // the changes go
    Open(Path("small.map"));
    const std::size_t opened = window->History().MemoryBytes();
    std::vector<std::string> states{Bytes(window->Universe())};
    const std::size_t budget = 4 * opened;  // the map grows to about three times its size
    window->History().SetMaxBytes(budget);
    addAllegiances(0, 30, &states);
    const int kept = window->History().Stack().count();
    EXPECT_LT(kept, 30);
    EXPECT_GE(kept, 3);
    EXPECT_LE(window->History().MemoryBytes(), budget);
    while (Action("rUndo")->isEnabled()) Undo();
    EXPECT_EQ(Bytes(window->Universe()), states[states.size() - 1 - static_cast<std::size_t>(kept)]);
    EXPECT_TRUE(window->Universe().ManagerRequiresSaving);
    while (Action("rRedo")->isEnabled()) Redo();
    EXPECT_EQ(Bytes(window->Universe()), states.back());
}
