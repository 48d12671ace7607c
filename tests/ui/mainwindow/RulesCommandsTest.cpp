// Generate Systems and Check Against Rules in the window: the dialog, its
// preview and checks, the tree popup and the sector grid, one undo step, and
// the findings in the "Errors/Messages" window.

#include "CheckRulesDialog.h"
#include "DialogTesting.h"
#include "EditSS.h"
#include "GenerateSystems.h"
#include "GenerateSystemsDialog.h"
#include "MainformFixture.h"
#include "MergeErrorsWindow.h"
#include "RuleCheck.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace hexlane::ui;
using namespace hexlane::rules;
using namespace uitest;

namespace {

int StarsIn(const TUniverse& u, const std::string& sector) {
    const TSector* s = u.FindSector(sector);
    return s ? static_cast<int>(s->Stars().size()) : -1;
}

}  // namespace

TEST_F(MainformTest, GenerateDialogPreviewsChecksTheSeedAndFillsTheChosenPart) {
    auto universe = SmallMap();
    TSector* alpha = universe->FindSector("Alpha");
    ScriptedPrompter questions;
    TfGenerateSystems dialog(questions);
    dialog.Load(*universe, alpha, 1, 1);  // subsector a of Alpha: Home and Far are there
    EXPECT_FALSE(Control<QLineEdit>(dialog, "rSeed")->text().isEmpty());  // a new seed is offered
    EXPECT_EQ(Control<QComboBox>(dialog, "rAllegiance")->currentText(), "(none)");
    Control<QLineEdit>(dialog, "rSeed")->setText("2026");
    Control<QComboBox>(dialog, "rDensity")->setCurrentText("Dense");
    TGenerateOptions expected;
    expected.Seed = 2026;
    expected.Density = TDensity::Dense;
    expected.SubsectorX = expected.SubsectorY = 1;
    EXPECT_EQ(dialog.PreviewCount(), TSystemGenerator::Count(*alpha, expected));
    EXPECT_EQ(Control<QLabel>(dialog, "rPreview")->text(),
              QString("%1 systems will be made.").arg(dialog.PreviewCount()));

    Control<QLineEdit>(dialog, "rSeed")->clear();
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_EQ(questions.Last(), "info: The seed must be a whole number from 0 to 18446744073709551615.");
    EXPECT_EQ(StarsIn(*universe, "Alpha"), 3);

    Control<QLineEdit>(dialog, "rSeed")->setText("2026");
    Control<QComboBox>(dialog, "rAllegiance")->setCurrentText("Alpha");
    Control<QComboBox>(dialog, "rRules")->setCurrentText("Modern");
    const int preview = dialog.PreviewCount();
    ASSERT_TRUE(dialog.rOKClick());
    EXPECT_EQ(dialog.Made(), preview);
    EXPECT_EQ(StarsIn(*universe, "Alpha"), 3 + preview);
    for (TStar* star : alpha->Stars())
        if (star->Name1 != "Home" && star->Name1 != "Far" && star->Name1 != "Rim") {
            EXPECT_EQ(star->SubSectorName, "a");
            EXPECT_EQ(star->Allegiance, "Alpha");
        }
    // The new systems check clean: what is found is the old systems' missing zone.
    EXPECT_EQ(CheckAgainstRules(*universe, TRuleSet::Modern, alpha).size(), 3u);
}

TEST_F(MainformTest, GenerateFromTheTreePopupIsOneUndoStep) {
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Sectors", "Not Surveyed", "Beta"}));
    int made = 0;
    WhenModal("Generate Systems", [&made](QDialog& d) {
        Control<QLineEdit>(d, "rSeed")->setText("77");
        made = static_cast<TfGenerateSystems&>(d).PreviewCount();
        Control<QPushButton>(d, "rOK")->click();
    });
    Trigger(window->TreePopup(), "Generate Systems...");
    EXPECT_GT(made, 300);
    EXPECT_EQ(StarsIn(window->Universe(), "Beta"), made);
    EXPECT_EQ(ChildTexts({"Sectors", "Surveyed"}), QStringList({"Alpha", "Gamma", "Beta"}));
    EXPECT_EQ(Action("rUndo")->text(), "&Undo Generate Systems");
    Action("rUndo")->trigger();
    EXPECT_EQ(StarsIn(window->Universe(), "Beta"), 0);
    EXPECT_FALSE(window->Universe().ManagerRequiresSaving);

    // Cancel changes nothing and adds no step.
    WhenModal("Generate Systems", [](QDialog& d) { Control<QPushButton>(d, "rCancel")->click(); });
    Action("rGenerateSystems")->trigger();
    EXPECT_EQ(StarsIn(window->Universe(), "Beta"), 0);
    EXPECT_EQ(Action("rUndo")->text(), "Undo");
}

TEST_F(MainformTest, TheSectorGridOffersGenerateOnCellsWithASector) {
    Open(Write(*SmallMap(), "small.map"));
    WhenModal("Edit Sectors/Subsectors", [](QDialog& d) {
        auto& grid = static_cast<TfEditSS&>(d);
        EXPECT_EQ(grid.CellPopup(5, 5), nullptr);  // no sector there
        QMenu* popup = grid.CellPopup(1, 2);       // Beta
        ASSERT_TRUE(popup);
        QTimer::singleShot(0, [] {
            auto* generate = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(generate);
            EXPECT_EQ(Control<QComboBox>(*generate, "rSector")->currentText(), "Beta");
            Control<QLineEdit>(*generate, "rSeed")->setText("5");
            Control<QPushButton>(*generate, "rOK")->click();
        });
        popup->findChild<QAction*>("rmGenerateSystems")->trigger();
        EXPECT_EQ(grid.StateAt(1, 2), TfEditSS::CellState::Included);
        Control<QPushButton>(d, "rClose")->click();
    });
    Action("rEditSectors")->trigger();
    EXPECT_GT(StarsIn(window->Universe(), "Beta"), 300);
    EXPECT_EQ(Action("rUndo")->text(), "&Undo Generate Systems");
}

TEST_F(MainformTest, CheckAgainstRulesListsFindingsInTheMessagesWindow) {
    Open(Write(*SmallMap(), "small.map"));
    WhenModal("Check Against Rules", [](QDialog& d) {
        Control<QComboBox>(d, "rSector")->setCurrentText("Alpha");
        Control<QPushButton>(d, "rOK")->click();
    });
    QStringList shown;
    WhenShown("Errors/Messages", [&shown](QDialog& d) {
        shown = static_cast<TfMergeErrors&>(d).Lines();
        d.accept();
    });
    Action("rCheckRules")->trigger();
    // The three systems of Alpha have no travel zone; law level 9 makes them amber.
    EXPECT_EQ(shown, QStringList({"Home (Alpha 0304): travel zone Unknown where the rules give Amber",
                                  "Far (Alpha 0608): travel zone Unknown where the rules give Amber",
                                  "Rim (Alpha 0215): travel zone Unknown where the rules give Amber"}));
    EXPECT_EQ(MenuTexts("rMapMenu"), QStringList({"&Check Against Rules..."}));
    EXPECT_EQ(MenuTexts("rSectorMenu"), QStringList({"&Generate Systems..."}));
}
