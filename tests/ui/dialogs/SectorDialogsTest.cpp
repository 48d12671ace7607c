// The sector grid and the sector dialog: the grid's cells and colours, new
// sectors kept only on OK, what the sector dialog shows, its checks on OK in
// their order, renaming subsectors with their systems, Delete with its two
// questions, and Cancel.

#include "DialogTesting.h"
#include "EditSS.h"
#include "EditSectorInfo.h"

#include "ScriptedPrompter.h"
#include "TestUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <functional>
#include <memory>

using hexlane::ui::Look;
using hexlane::ui::TfEditSectorInfo;
using hexlane::ui::TfEditSS;
using State = TfEditSS::CellState;
using uitest::Find;
using uitest::WhenModal;

namespace {

// Object name of the subsector edit in column c, row r.
QString SS(int c, int r) { return QStringLiteral("rSS0%1").arg(c) + QStringLiteral("0%1").arg(r); }

const QString kSectorDialog = QStringLiteral("Edit Sector Information");

// Presses a button of the sector dialog once it is up, after setting edits.
void AnswerSectorDialog(const char* button, std::function<void(QDialog&)> edit = {}) {
    WhenModal(kSectorDialog, [button, edit](QDialog& d) {
        if (edit) edit(d);
        Find<QPushButton>(d, QString::fromLatin1(button))->click();
    });
}

struct Universe : ::testing::Test {
    ScriptedPrompter prompter;
    std::unique_ptr<TUniverse> universe = TUniverse::CreateNew();

    std::size_t SectorCount() const { return universe->Sectors()->ChildrenOf<TSector>().size(); }
};

struct SectorDialog : Universe {
    TfEditSectorInfo dialog{prompter};
    TSector* sector = testutil::AddSector(*universe, "Spinward", 3, 2);

    // Subsectors named as a new sector's are: "a" to "d" across the first row ...
    SectorDialog() {
        for (int c = 1; c <= 4; ++c)
            for (int r = 1; r <= 4; ++r)
                sector->SubsectorName(c, r) = TfEditSectorInfo::DefaultSubsectorName(c, r).toStdString();
    }

    QLineEdit* Edit(const QString& name) { return Find<QLineEdit>(dialog, name); }
    bool Focused(const QString& name) { return dialog.focusWidget() == dialog.findChild<QWidget*>(name); }
    void Open() {
        dialog.Load(*universe, *sector);
        dialog.show();
    }
};

}  // namespace

// ---- sector grid ----

TEST_F(Universe, GridShowsEachPositionWithItsSectorColourAndHint) {
    TSector* shown = testutil::AddSector(*universe, "Shown", 1, 1);
    testutil::AddStar(*shown, "Home", 1, 1);
    testutil::AddSector(*universe, "Empty", 2, 1);
    TSector* excluded = testutil::AddSector(*universe, "Hidden", 16, 9);
    testutil::AddStar(*excluded, "Far", 1, 1);
    excluded->SetExcludeFromDisplay(true);
    testutil::AddSector(*universe, "Outside", 17, 1);  // no cell

    TfEditSS grid{prompter};
    grid.Load(*universe);
    EXPECT_EQ(grid.windowTitle(), "Edit Sectors/Subsectors");
    EXPECT_EQ(grid.findChildren<QPushButton*>(QRegularExpression("^r\\d{4}$")).size(), 144);
    // Key, caption, state and hint of each cell that holds a sector, and of the rest.
    auto cell = [&](int x, int y) {
        return QStringLiteral("%1 %2 %3 %4")
            .arg(grid.Cell(x, y)->objectName(), grid.Cell(x, y)->text())
            .arg(static_cast<int>(grid.StateAt(x, y)))
            .arg(grid.Cell(x, y)->toolTip());
    };
    EXPECT_EQ(cell(1, 1), "r0101 01,01 3 Shown");
    EXPECT_EQ(cell(2, 1), "r0201 02,01 1 Empty");
    EXPECT_EQ(cell(16, 9), "r1609 16,09 2 Hidden");
    int empty = 0;
    for (int x = 1; x <= 16; ++x)
        for (int y = 1; y <= 9; ++y) empty += cell(x, y).endsWith(" 0 ") && !grid.SectorAt(x, y);
    EXPECT_EQ(empty, 141);

    // The cells are drawn in their colours.
    grid.show();
    auto colourOf = [&](int x, int y) { return grid.Cell(x, y)->grab().toImage().pixelColor(4, 4); };
    EXPECT_EQ(colourOf(1, 1), QColor(Qt::blue));
    EXPECT_EQ(colourOf(2, 1), QColor(Qt::white));
    EXPECT_EQ(colourOf(16, 9), QColor(Qt::red));
    EXPECT_EQ(colourOf(5, 5), grid.palette().color(QPalette::Button));
}

TEST_F(Universe, EmptyCellMakesANewSectorThatStaysOnlyOnOk) {
    TfEditSS grid{prompter};
    grid.Load(*universe);

    AnswerSectorDialog("rCancel", [](QDialog& d) { EXPECT_EQ(Find<QLabel>(d, "rSectorY")->text(), "Y = 7"); });
    grid.rCellClick(4, 7);
    EXPECT_EQ(SectorCount(), 0u);
    EXPECT_EQ(grid.StateAt(4, 7), State::Empty);
    EXPECT_FALSE(universe->ManagerRequiresSaving);

    AnswerSectorDialog("rOK");
    grid.Cell(4, 7)->click();
    ASSERT_EQ(SectorCount(), 1u);
    const TSector* added = grid.SectorAt(4, 7);
    ASSERT_TRUE(added);
    EXPECT_EQ(added->Name1 + " " + std::to_string(added->SectorCoordsX) + "," + std::to_string(added->SectorCoordsY),
              "Sector Name 4,7");
    // Stored column by column: SS0101 "a", SS0102 "e" ... SS0404 "p".
    const std::array<std::string, 16> letters{"a", "e", "i", "m", "b", "f", "j", "n",
                                              "c", "g", "k", "o", "d", "h", "l", "p"};
    EXPECT_EQ(added->SSName, letters);
    EXPECT_EQ(grid.StateAt(4, 7), State::NoSystems);
    EXPECT_TRUE(universe->ManagerRequiresSaving);
    EXPECT_TRUE(universe->MapDirty);
    EXPECT_TRUE(prompter.Log.isEmpty());
}

TEST_F(Universe, GridFollowsEditsAndDeletionsOfItsSectors) {
    TSector* sector = testutil::AddSector(*universe, "Old", 2, 2);
    testutil::AddStar(*sector, "Home", 1, 1);
    TfEditSS grid{prompter};
    grid.Load(*universe);

    // Cancel on an existing sector keeps it; an edit shows in the cell.
    AnswerSectorDialog("rCancel", [](QDialog& d) { Find<QLineEdit>(d, "rSectorName")->setText("Ignored"); });
    grid.rCellClick(2, 2);
    EXPECT_EQ(grid.SectorAt(2, 2), sector);
    EXPECT_EQ(sector->Name1, "Old");
    AnswerSectorDialog("rOK", [](QDialog& d) {
        Find<QLineEdit>(d, "rSectorName")->setText("New");
        Find<QCheckBox>(d, "rExcludeFromDisplay")->setChecked(true);
    });
    grid.rCellClick(2, 2);
    EXPECT_EQ(grid.Cell(2, 2)->toolTip(), "New");
    EXPECT_EQ(grid.StateAt(2, 2), State::Excluded);

    // Deleted from its dialog: the cell is empty, and a click makes a new sector.
    prompter.YesNoAnswers = {true, true};
    AnswerSectorDialog("rDelete");
    grid.rCellClick(2, 2);
    EXPECT_EQ(SectorCount(), 0u);
    EXPECT_EQ(grid.StateAt(2, 2), State::Empty);
    EXPECT_TRUE(grid.Cell(2, 2)->toolTip().isEmpty());
    AnswerSectorDialog("rOK");
    grid.rCellClick(2, 2);
    ASSERT_EQ(SectorCount(), 1u);
    EXPECT_EQ(grid.SectorAt(2, 2)->Name1, "Sector Name");

    // A new sector deleted in its own dialog is gone once, not twice.
    prompter.YesNoAnswers = {true};
    AnswerSectorDialog("rDelete");
    grid.rCellClick(9, 9);
    EXPECT_EQ(SectorCount(), 1u);
    EXPECT_EQ(grid.StateAt(9, 9), State::Empty);
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

TEST_F(Universe, GridRunsModallyUntilClose) {
    testutil::AddSector(*universe, "Only", 1, 1);
    TfEditSS grid{prompter};
    WhenModal("Edit Sectors/Subsectors", [](QDialog& g) {
        AnswerSectorDialog("rOK", [](QDialog& d) { Find<QLineEdit>(d, "rSectorName")->setText("Renamed"); });
        Find<QPushButton>(g, "r0101")->click();
        Find<QPushButton>(g, "rClose")->click();
    });
    grid.Execute(*universe);
    EXPECT_EQ(universe->FindSector("Renamed")->SectorCoordsX, 1);
}

// ---- sector dialog ----

TEST_F(SectorDialog, OpensOnTheSectorWithDefaultLettersForEmptyNames) {
    sector->SSName.fill("");
    sector->SubsectorName(2, 3) = "Core";
    sector->SetExcludeFromDisplay(true);
    Open();
    EXPECT_EQ(dialog.windowTitle(), "Edit Sector Information");
    EXPECT_EQ(Edit("rSectorName")->text(), "Spinward");
    EXPECT_EQ(Find<QLabel>(dialog, "rSectorX")->text(), "X = 3");
    EXPECT_EQ(Find<QLabel>(dialog, "rSectorY")->text(), "Y = 2");
    EXPECT_TRUE(Find<QCheckBox>(dialog, "rExcludeFromDisplay")->isChecked());
    EXPECT_EQ(Edit(SS(1, 1))->text(), "a");
    EXPECT_EQ(Edit(SS(4, 1))->text(), "d");
    EXPECT_EQ(Edit(SS(1, 2))->text(), "e");
    EXPECT_EQ(Edit(SS(2, 3))->text(), "Core");
    EXPECT_EQ(Edit(SS(3, 3))->text(), "k");
    EXPECT_EQ(Edit(SS(4, 4))->text(), "p");
}

TEST_F(SectorDialog, OkChecksEmptyEditsThenDuplicatesInColumnOrder) {
    Open();
    Edit("rSectorName")->clear();
    Edit(SS(2, 1))->clear();
    Edit(SS(1, 2))->clear();
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_TRUE(Focused("rSectorName"));
    Edit("rSectorName")->setText("e");  // may equal a subsector's name
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_TRUE(Focused(SS(1, 2)));  // column 1 row 2 is checked before column 2 row 1
    Edit(SS(1, 2))->setText("e");
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_TRUE(Focused(SS(2, 1)));
    EXPECT_EQ(prompter.Log, QStringList(3, "info: All fields must be completed"));

    // 1,1 and 3,1 share "x", 1,3 and 1,4 share "y": the earliest edit with a
    // duplicate is 1,1, its first duplicate after it is 3,1.
    prompter.Log.clear();
    Edit(SS(2, 1))->setText("x");
    Edit(SS(1, 1))->setText("x");
    Edit(SS(1, 3))->setText("y");
    Edit(SS(1, 4))->setText("y");
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_TRUE(Focused(SS(2, 1)));
    Edit(SS(2, 1))->setText("X");  // case matters
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_TRUE(Focused(SS(1, 4)));
    EXPECT_EQ(prompter.Log, QStringList(2, "info: All fields must be Unique"));
    EXPECT_EQ(sector->Name1, "Spinward");
    EXPECT_FALSE(universe->ManagerRequiresSaving);

    Edit(SS(1, 4))->setText("Y");
    EXPECT_TRUE(dialog.rOKClick());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(sector->Name1, "e");
    EXPECT_EQ(sector->SubsectorName(1, 1), "x");
    EXPECT_EQ(sector->SubsectorName(2, 1), "X");
}

TEST_F(SectorDialog, OkRenamesTheSubsectorsOfTheSystemsAndWritesTheExclusion) {
    TStar* inA = testutil::AddStar(*sector, "InA", 1, 1);       // subsector "a"
    TStar* inB = testutil::AddStar(*sector, "InB", 9, 1);       // "b"
    TStar* inP = testutil::AddStar(*sector, "InP", 32, 40);     // "p"
    TStar* stray = testutil::AddStar(*sector, "Stray", 2, 2);
    stray->SubSectorName = "zz";
    inP->Visible = false;  // hidden by a display filter
    Open();
    // "a" becomes "Outer"; "b" and "p" swap names.
    Edit(SS(1, 1))->setText("Outer");
    Edit(SS(2, 1))->setText("p");
    Edit(SS(4, 4))->setText("b");
    Edit("rSectorName")->setText("Trailing");
    Find<QCheckBox>(dialog, "rExcludeFromDisplay")->setChecked(false);
    ASSERT_TRUE(dialog.rOKClick());
    EXPECT_EQ(inA->SubSectorName, "Outer");
    EXPECT_EQ(inB->SubSectorName, "p");
    EXPECT_EQ(inP->SubSectorName, "b");
    EXPECT_EQ(stray->SubSectorName, "zz");
    EXPECT_EQ(sector->Name1, "Trailing");
    EXPECT_EQ(sector->FindSubsector(inB->SubSectorName), TSector::SubsectorIndex(2, 1) + 1);
    // The exclusion is written through the sector: every system is shown again.
    EXPECT_FALSE(sector->ExcludeFromDisplay());
    EXPECT_TRUE(inP->Visible);
    EXPECT_TRUE(universe->MapDirty);
    EXPECT_TRUE(universe->ManagerRequiresSaving);

    Open();
    Find<QCheckBox>(dialog, "rExcludeFromDisplay")->setChecked(true);
    ASSERT_TRUE(dialog.rOKClick());
    EXPECT_TRUE(sector->ExcludeFromDisplay());
    EXPECT_FALSE(inA->Visible);
}

TEST_F(SectorDialog, CancelAndUnstorableTextsChangeNothing) {
    TStar* star = testutil::AddStar(*sector, "InA", 1, 1);
    Open();
    Edit("rSectorName")->setText("Changed");
    Edit(SS(1, 1))->setText("Outer");
    Find<QCheckBox>(dialog, "rExcludeFromDisplay")->setChecked(true);
    Find<QPushButton>(dialog, "rCancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(sector->Name1 + " " + sector->SubsectorName(1, 1) + " " + star->SubSectorName, "Spinward a a");
    EXPECT_FALSE(sector->ExcludeFromDisplay());
    EXPECT_FALSE(universe->ManagerRequiresSaving || universe->MapDirty);

    Open();
    Edit(SS(3, 2))->setText(QStringLiteral("\u4e2d"));
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_TRUE(Focused(SS(3, 2)));
    EXPECT_TRUE(prompter.Last().startsWith("error: "));
    EXPECT_EQ(sector->SubsectorName(3, 2), "g");
    EXPECT_FALSE(universe->ManagerRequiresSaving);
}

TEST_F(SectorDialog, DeleteAsksOnceForAnEmptySectorAndTwiceForOneWithSystems) {
    const QString first = "yesno: Delete Sector from the Universe?";
    const QString second =
        "yesno: There are still systems in this sector.\n\nIf this sector is deleted, then all systems \n"
        "will be deleted, also.\n\nContinue with deletion?";

    // No to the first question: kept, yet the map counts as changed; the dialog closes.
    Open();
    prompter.YesNoAnswers = {false};
    Find<QPushButton>(dialog, "rDelete")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.Deleted());
    EXPECT_EQ(SectorCount(), 1u);
    EXPECT_TRUE(universe->ManagerRequiresSaving);
    EXPECT_TRUE(universe->MapDirty);
    EXPECT_EQ(prompter.Log, QStringList({first}));

    // With systems: No to the second question keeps it, Yes deletes it with them.
    auto remove = [&](std::deque<bool> answers) {
        prompter.Log.clear();
        prompter.Looks.clear();
        Open();
        prompter.YesNoAnswers = std::move(answers);
        dialog.rDeleteClick();
    };
    testutil::AddStar(*sector, "Home", 1, 1);
    remove({true, false});
    EXPECT_EQ(SectorCount(), 1u);
    EXPECT_EQ(prompter.Log, QStringList({first, second}));
    // A question first; the loss of the systems is the warning.
    EXPECT_EQ(prompter.Looks, QList<Look>({Look::Question, Look::Warning}));
    remove({true, true});
    EXPECT_TRUE(dialog.Deleted());
    EXPECT_EQ(SectorCount(), 0u);
    EXPECT_FALSE(universe->FindStar("Home"));
    EXPECT_EQ(prompter.Log, QStringList({first, second}));

    // An empty sector goes on one Yes.
    sector = testutil::AddSector(*universe, "Bare", 1, 1);
    remove({true});
    EXPECT_EQ(SectorCount(), 0u);
    EXPECT_EQ(prompter.Log, QStringList({first}));
    EXPECT_FALSE(dialog.rOKClick());  // nothing left to write
}
