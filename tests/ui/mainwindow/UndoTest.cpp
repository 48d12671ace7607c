// The undo history of the main window: every kind of command undone and
// redone to the very bytes a save writes, the changed flag following the
// history, and the window's pointers after a state comes back.

#include "MainformFixture.h"

#include "MapView.h"
#include "ObjectStream.h"
#include "UndoHistory.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>

#include <fstream>

using namespace hexlane::ui;

namespace {

std::string Bytes(const TUniverse& universe) {
    std::string out;
    hexlane::WriteObjectStream(universe, out);
    return out;
}

// Makes the entry with this text the current, selected one of a list or a
// drop-down list, as a click would.
void Pick(QAbstractItemView* list, const QString& text) {
    ASSERT_TRUE(list);
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, text, 1,
                                                       Qt::MatchFixedString | Qt::MatchCaseSensitive);
    ASSERT_FALSE(found.isEmpty()) << text.toStdString();
    list->setCurrentIndex(found.front());
}
void Pick(QComboBox* box, const QString& text) {
    ASSERT_TRUE(box);
    ASSERT_GE(box->findText(text), 0) << text.toStdString();
    box->setCurrentIndex(box->findText(text));
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
        {"Add Route",
         [this] {
             prompter.InputAnswers = {QString("Trunk")};
             window->rmAddRouteClick();
         }},
        {"Edit Route Trunk",
         [this] {
             WhenModal("Configure Route Trunk", [](QDialog& dialog) {
                 Control<QLineEdit>(dialog, "rRouteName")->setText("Spine");
                 Control<QPushButton>(dialog, "rOK")->click();
             });
             window->rListingDblClick(Node({"Routes", "Trunk"}));
         }},
        {"Add Leg",
         [this] {
             window->SelectNode({"Routes", "Spine"});
             prompter.InputAnswers = {QString("Spur")};
             WhenModal("Configure Communication/Trade Leg", [](QDialog& dialog) {
                 Pick(Control<QListView>(dialog, "rStartList"), "Rim");
                 Pick(Control<QListView>(dialog, "rEndList"), "Homeworld");
                 Control<QPushButton>(dialog, "rOK")->click();
             });
             window->rmAddLegClick();
         }},
        {"Edit Leg Spur",
         [this] {
             window->SelectNode({"Routes", "Spine"});
             SelectRows({0});
             WhenModal("Configure Communication/Trade Leg", [](QDialog& dialog) {
                 Control<QLineEdit>(dialog, "rLegName")->setText("Spur Line");
                 Control<QPushButton>(dialog, "rOK")->click();
             });
             window->rSystemListDblClick();
         }},
        {"Drop onto Spine",
         [this] {
             window->SelectNode({"Routes", "Main"});
             SelectRows({0});
             window->rListingDragDrop(Node({"Routes", "Spine"}));
         }},
        {"Edit Allegiance Alpha",
         [this] {
             WhenModal("Configure Allegiance Alpha", [](QDialog& dialog) {
                 Control<QLineEdit>(dialog, "rImportCode")->setText("Al");
                 Control<QPushButton>(dialog, "rOK")->click();
             });
             window->rListingDblClick(Node({"Allegiances", "Alpha"}));
         }},
        {"Delete Allegiance",
         [this] {
             window->SelectNode({"Allegiances", "Solomani"});
             prompter.YesNoAnswers = {true};
             window->rmDeleteAllegianceClick();
         }},
        {"Add Star",
         [this] {
             window->SelectNode({"Sectors", "Surveyed", "Gamma", "a"});
             WhenModal("Star System Editor", [](QDialog& editor) {
                 Control<QLineEdit>(editor, "rSystemName")->setText("Nova");
                 Pick(Control<QComboBox>(editor, "rSector"), "Gamma");
                 Control<QLineEdit>(editor, "rColumn")->setText("3");
                 Control<QLineEdit>(editor, "rRow")->setText("10");
                 Control<QPushButton>(editor, "rOK")->click();
             });
             window->rmAddStarClick();
         }},
        {"Define New System",
         [this] {
             WhenModal("Star System Editor", [](QDialog& editor) {
                 Control<QLineEdit>(editor, "rSystemName")->setText("Nebula");
                 Pick(Control<QComboBox>(editor, "rSector"), "Gamma");
                 Pick(Control<QComboBox>(editor, "rSubsector"), "b");
                 Control<QLineEdit>(editor, "rColumn")->setText("2");
                 Control<QLineEdit>(editor, "rRow")->setText("3");
                 Control<QPushButton>(editor, "rOK")->click();
             });
             Action("rDefineNewSystem")->trigger();
         }},
        {"Create Route",
         [this] {
             window->RefreshIfDirty();  // the search uses the places of the last drawing
             prompter.InputAnswers = {QString("Trip")};
             WhenModal("Navigation Information", [](QDialog& navigation) {
                 Pick(Control<QListView>(navigation, "rOriginList"), "Homeworld");
                 Pick(Control<QListView>(navigation, "rDestinationList"), "Nebula");
                 uitest::WhenModal("Find Path from Homeworld to Nebula", [](QDialog& path) {
                     Control<QSpinBox>(path, "rJumpRange")->setValue(4);  // by way of Nova
                     Control<QPushButton>(path, "rFindPath")->click();
                     Control<QPushButton>(path, "rCreateRoute")->click();
                     Control<QPushButton>(path, "rClose")->click();
                 });
                 Control<QPushButton>(navigation, "rFindPath")->click();
                 Control<QPushButton>(navigation, "rClose")->click();
             });
             Action("rNavigation")->trigger();
         }},
        {"Drop onto b",
         [this] {
             window->SelectNode({"Sectors", "Surveyed", "Gamma", "a"});
             SelectRows({0});
             window->rListingDragDrop(Node({"Sectors", "Surveyed", "Alpha", "b"}));
         }},
        {"Edit Sectors/Subsectors",
         [this] {
             WhenModal("Edit Sectors/Subsectors", [](QDialog& grid) {
                 QTimer::singleShot(0, [] {
                     auto* sector = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                     ASSERT_TRUE(sector);
                     Control<QLineEdit>(*sector, "rSectorName")->setText("Delta");
                     Control<QPushButton>(*sector, "rOK")->click();
                 });
                 Control<QPushButton>(grid, "r0302")->click();  // an empty position: a new sector
                 Control<QPushButton>(grid, "rClose")->click();
             });
             Action("rEditSectors")->trigger();
         }},
        {"Import Sector File",
         [this] {
             std::ofstream((dir / "Delta.sec").string())
                 << "....+....1....+....2....+....3....+....4....+....5....+....6....+....7....+....8\n"
                 << "Pulsar        0101 A788899-C   " << std::string(17, ' ') << "   103    G2 V\n";
             prompter.OpenAnswers = {Path("Delta.sec")};
             uitest::WhenShown("Import Sector File", [](QDialog& d) {
                 Pick(Control<QComboBox>(d, "rSectorList"), "Delta");
                 Control<QPushButton>(d, "rImport")->click();
                 d.reject();
             });
             Action("rImportSectorFile")->trigger();
         }},
        {"Display Only This Subsector",
         [this] {
             window->SelectNode({"Sectors", "Surveyed", "Gamma", "b"});
             Trigger(window->TreePopup(), "Display Only This Subsector");
         }},
        {"Merge Maps",
         [this] {
             auto other = SmallMap();
             other->ManagerVersion = kMapFormatVersion;  // a merge takes maps of the current format only
             testutil::AddStar(*other->FindSector("Gamma"), "Quasar", 5, 5);
             prompter.YesNoAnswers = {true};
             prompter.OpenAnswers = {Write(*other, "merged.map")};
             uitest::WhenShown("Errors/Messages", [](QDialog& d) { d.reject(); });
             Action("rMergeMaps")->trigger();
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

// InstaLeg is one step from the leg's creation to the second pick; Escape
// and Undo while picking take back the leg only; any other command ends the
// picking with the leg as it is; finishing always leaves the map changed.
TEST_F(UndoTest, InstaLegIsOneStepAndCancellingTakesBackTheLegOnly) {
    enum End { Finish, Escape, UndoKey, OtherCommand, SaveThenFinish };
    struct Case {
        const char* name;
        int picks;  // stars picked before the end
        End end;
        bool legStays;
        QStringList undoTexts;  // the steps above "Add Allegiance Solomani", newest first
    };
    const Case cases[] = {
        {"finished", 2, Finish, true, {"InstaLeg"}},
        {"escape before a pick", 0, Escape, false, {}},
        {"escape after one pick", 1, Escape, false, {}},
        {"undo while picking", 1, UndoKey, false, {}},
        {"another command", 1, OtherCommand, true, {"Add Allegiance", "InstaLeg"}},
        {"saved while picking", 2, SaveThenFinish, true, {"InstaLeg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.YesNoCancelAnswers = {Answer::No};
        Open(Path("small.map"));
        prompter.InputAnswers = {QString("Solomani")};
        window->rmAddAllegianceClick();
        const std::string before = Bytes(window->Universe());
        const bool modifiedBefore = window->isWindowModified();
        ASSERT_TRUE(window->SelectNode({"Routes", "Main"}));
        const std::size_t legs = window->Universe().FindRoute("Main")->Legs().size();
        prompter.InputAnswers = {QString("Hop")};
        window->rmInstaLegClick();
        ASSERT_TRUE(window->InstaLegActive());
        EXPECT_EQ(window->PanelText(5), "Pick the first star (Esc cancels)");
        const char* stars[] = {"Home", "Vega"};
        for (int i = 0; i < c.picks && i < 2; ++i) {
            if (c.end == SaveThenFinish && i == 1) {
                ASSERT_EQ(window->rSaveClick(), SaveOutcome::Saved);
                EXPECT_FALSE(window->isWindowModified());
            }
            window->rImageClick(At(stars[i]));
            if (i == 0) {
                EXPECT_EQ(window->PanelText(5), "Pick the second star");
            }
        }
        switch (c.end) {
        case Escape:
            Action("rCancelPicking")->trigger();
            break;
        case UndoKey:
            Undo();
            break;
        case OtherCommand:
            prompter.InputAnswers = {QString("Vilani")};
            window->rmAddAllegianceClick();
            break;
        default:
            break;
        }
        EXPECT_FALSE(window->InstaLegActive());
        EXPECT_EQ(window->PanelText(5), "");
        const TRoute* main = window->Universe().FindRoute("Main");
        EXPECT_EQ(main->Legs().size(), legs + (c.legStays ? 1 : 0));
        EXPECT_TRUE(window->Universe().FindAllegiance("Solomani")) << "nothing else is undone";
        if (!c.legStays) {
            EXPECT_EQ(Bytes(window->Universe()), before);
            EXPECT_EQ(window->isWindowModified(), modifiedBefore);
        } else {
            EXPECT_TRUE(window->isWindowModified());
        }
        if (c.picks == 2) {
            EXPECT_EQ(main->Legs().back()->EStarName, "Vega");
        }
        // The steps the InstaLeg left, then the one before it.
        for (const QString& text : c.undoTexts) {
            EXPECT_EQ(Action("rUndo")->text(), "&Undo " + text);
            Undo();
        }
        EXPECT_EQ(Action("rUndo")->text(), "&Undo Add Allegiance");
        EXPECT_EQ(Bytes(window->Universe()), before);
    }
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
