// The leg, route and allegiance dialogs: what they show when opened, the
// leg's system lists and search edits, the override of a leg's line, the
// checks on OK in their order, and that Cancel changes nothing.

#include "DialogTesting.h"
#include "ConfigureAllegiance.h"
#include "ConfigureRoute.h"
#include "ConfigureRoutes.h"
#include "LineStyleControls.h"
#include "ScriptedPrompter.h"
#include "TestUtil.h"
#include "UiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace hexlane::ui;
using namespace uitest;

namespace {

QStringList Entries(QListView* list) {
    QStringList out;
    for (int row = 0; row < list->model()->rowCount(); ++row) out << list->model()->index(row, 0).data().toString();
    return out;
}

int SelectedRow(QListView* list) {
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void SelectRow(QListView* list, int row) {
    list->selectionModel()->setCurrentIndex(list->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
}

void ClickRow(QListView* list, int row) {
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    ASSERT_TRUE(rect.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

// Two sectors; names chosen so that sorting without regard to case, the
// namesakes and the search by beginning all show.
struct Map {
    std::unique_ptr<TUniverse> universe = TUniverse::CreateNew();
    TSector* spinward = testutil::AddSector(*universe, "Spinward", 1, 1);
    TSector* trailing = testutil::AddSector(*universe, "Trailing", 2, 1);
    TRoute* route = universe->Routes()->Create<TRoute>();

    Map() {
        for (const char* name : {"beta", "Alphabet", "Ab", "Gamma"})
            testutil::AddStar(*spinward, name, 1 + static_cast<int>(spinward->ChildCount()), 1);
        for (const char* name : {"alpha", "Abc", "Alpha", "Gamma"})
            testutil::AddStar(*trailing, name, 1 + static_cast<int>(trailing->ChildCount()), 1);
        route->Name1 = "Spinward Main";
        route->Color = 0x0000FF;  // red
        route->LineType = 2;
        route->LineThickness = 3;
    }
    TRouteLeg* Leg(const std::string& name, const std::string& from, const std::string& to) {
        TRouteLeg* leg = route->Create<TRouteLeg>();
        leg->Name1 = name;
        leg->SStarName = from;
        leg->EStarName = to;
        return leg;
    }
};

struct LegDialog {
    ScriptedPrompter prompter;
    TfConfigureRoutes dialog{prompter};
    QLineEdit* name = Find<QLineEdit>(dialog, "rLegName");
    QLineEdit* startSearch = Find<QLineEdit>(dialog, "rStartSearch");
    QLineEdit* endSearch = Find<QLineEdit>(dialog, "rEndSearch");
    QListView* startList = Find<QListView>(dialog, "rStartList");
    QListView* endList = Find<QListView>(dialog, "rEndList");
    QCheckBox* override = Find<QCheckBox>(dialog, "rOverride");
    TColorSwatch* color = Find<TColorSwatch>(dialog, "rColor");
    QComboBox* lineType = Find<QComboBox>(dialog, "rLineType");
    QSpinBox* thickness = Find<QSpinBox>(dialog, "rThickness");

    LegDialog(Map& map, TRouteLeg& leg) {
        dialog.Load(*map.universe, *map.route, leg);
        dialog.show();
    }
    QString LineControls() const {
        return QString("%1 %2 %3 %4")
            .arg(color->isEnabled() ? "on" : "off")
            .arg(lineType->currentText())
            .arg(thickness->value())
            .arg(color->Value(), 6, 16, QChar('0'));
    }
};

const QStringList kSorted = {"Ab", "Abc", "alpha", "Alpha", "Alphabet", "beta", "Gamma", "Gamma"};

}  // namespace

// ---- leg dialog ----

TEST(LegDialog, OpensANewLegOnTheFirstEntriesAndAnExistingLegOnItsSystems) {
    Map map;
    TRouteLeg* fresh = map.Leg("Jump 1", "", "");
    LegDialog d(map, *fresh);
    EXPECT_EQ(d.dialog.windowTitle(), "Configure Communication/Trade Leg");
    EXPECT_EQ(d.name->text(), "Jump 1");
    EXPECT_EQ(Entries(d.startList), kSorted);
    EXPECT_EQ(SelectedRow(d.startList), 0);
    EXPECT_EQ(SelectedRow(d.endList), 0);
    // Not overriding: the line controls are off and show the route's line.
    EXPECT_EQ(d.LineControls(), "off Dot 3 0000ff");

    TRouteLeg* leg = map.Leg("Spur", "alpha", "Gamma");
    leg->OverrideProperties = true;
    leg->Color = 0xFF0000;
    leg->LineType = 4;
    leg->LineThickness = 5;
    d.dialog.Load(*map.universe, *map.route, *leg);
    EXPECT_EQ(SelectedRow(d.startList), 2);  // "alpha", not its namesake "Alpha"
    EXPECT_EQ(SelectedRow(d.endList), 6);
    EXPECT_EQ(d.startSearch->text(), "alpha");
    EXPECT_EQ(d.endSearch->text(), "Gamma");
    EXPECT_EQ(d.LineControls(), "on Dash Dot Dot 5 ff0000");
}

TEST(LegDialog, LegWhoseSystemWasDeletedOpensWithoutSelectionAndSavesOnceSystemsAreChosen) {
    Map map;
    TRouteLeg* leg = map.Leg("Spur", "beta", "Gone");
    leg->OverrideProperties = true;
    leg->Color = 0x00FF00;
    LegDialog d(map, *leg);

    EXPECT_EQ(d.prompter.Log, QStringList{"info: Start Leg and/or End Leg no longer exist."});
    EXPECT_EQ(SelectedRow(d.startList), -1);
    EXPECT_EQ(SelectedRow(d.endList), -1);
    EXPECT_EQ(d.startSearch->text(), "");
    // The leg's own line is still shown, so saving does not drop it.
    EXPECT_EQ(d.LineControls(), "on Solid 1 00ff00");

    SelectRow(d.startList, 5);
    SelectRow(d.endList, 1);
    ASSERT_TRUE(d.dialog.rOKClick());
    EXPECT_EQ(leg->SStarName, "beta");
    EXPECT_EQ(leg->EStarName, "Abc");
    EXPECT_TRUE(leg->OverrideProperties);
    EXPECT_EQ(leg->Color, 0x00FF00);
    EXPECT_TRUE(map.universe->MapDirty);
    EXPECT_TRUE(map.universe->ManagerRequiresSaving);
}

TEST(LegDialog, TypingSelectsTheFirstEntryBeginningWithItAndClickingCopiesTheEntryIntoTheEdit) {
    Map map;
    TRouteLeg* leg = map.Leg("Spur", "beta", "beta");
    LegDialog d(map, *leg);

    d.startSearch->clear();
    QTest::keyClicks(d.startSearch, "ALP");
    EXPECT_EQ(SelectedRow(d.startList), 2);
    QTest::keyClicks(d.endSearch, "x");  // "betax": no match, the selection stays
    EXPECT_EQ(SelectedRow(d.endList), 5);
    QTest::keyClick(d.endSearch, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(d.endSearch, Qt::Key_Backspace);  // emptied: nothing changes
    EXPECT_EQ(SelectedRow(d.endList), 5);
    // The first entry counts too, though a later one begins the same way.
    QTest::keyClicks(d.endSearch, "ab");
    EXPECT_EQ(SelectedRow(d.endList), 0);
    EXPECT_EQ(SelectedRow(d.startList), 2);

    // A click keeps the clicked entry, though its namesake "alpha" comes first.
    ClickRow(d.startList, 3);
    EXPECT_EQ(d.startSearch->text(), "Alpha");
    EXPECT_EQ(SelectedRow(d.startList), 3);
    ClickRow(d.endList, 7);
    EXPECT_EQ(d.endSearch->text(), "Gamma");
    ASSERT_TRUE(d.dialog.rOKClick());
    EXPECT_EQ(leg->SStarName, "Alpha");
    EXPECT_EQ(leg->EStarName, "Gamma");
}

TEST(LegDialog, OverrideSwitchesTheLineControlsAndWritesThemOnlyWhenChecked) {
    Map map;
    TRouteLeg* leg = map.Leg("Spur", "Ab", "beta");
    leg->OverrideProperties = true;
    leg->Color = 0x123456;
    leg->LineType = 1;
    leg->LineThickness = 4;
    LegDialog d(map, *leg);
    d.override->setChecked(false);
    EXPECT_EQ(d.LineControls().left(3), "off");
    d.lineType->setCurrentIndex(3);  // not written while off
    ASSERT_TRUE(d.dialog.rOKClick());
    EXPECT_FALSE(leg->OverrideProperties);
    EXPECT_EQ(leg->Color, 0x123456);
    EXPECT_EQ(leg->LineType, 1);
    EXPECT_EQ(leg->LineThickness, 4);

    d.dialog.Load(*map.universe, *map.route, *leg);
    EXPECT_EQ(d.LineControls(), "off Dot 3 0000ff");  // the route's line
    d.override->setChecked(true);
    EXPECT_EQ(d.LineControls().left(2), "on");
    d.prompter.ColourAnswers.push_back(QColor(0x10, 0x20, 0x30));
    d.color->click();
    d.thickness->setValue(2);
    ASSERT_TRUE(d.dialog.rOKClick());
    EXPECT_EQ(d.prompter.Log, QStringList{"colour: Color"});
    EXPECT_TRUE(leg->OverrideProperties);
    EXPECT_EQ(leg->Color, 0x302010);
    EXPECT_EQ(leg->LineType, 2);
    EXPECT_EQ(leg->LineThickness, 2);
}

TEST(LegDialog, OkChecksTheNameThenTheSelectionsThenThatTheSystemsStillExist) {
    Map map;
    TRouteLeg* leg = map.Leg("Spur", "", "");
    LegDialog d(map, *leg);

    d.name->clear();
    d.startList->selectionModel()->clear();
    EXPECT_FALSE(d.dialog.rOKClick());
    EXPECT_EQ(d.prompter.Log, QStringList{"info: Please enter a name for the Leg"});
    EXPECT_EQ(d.dialog.focusWidget(), d.name);

    d.name->setText(QString::fromUtf8("Route \u03A9"));  // not in Windows-1252
    EXPECT_FALSE(d.dialog.rOKClick());
    EXPECT_EQ(d.prompter.Last(), "error: " + NotStorableMessage());
    EXPECT_EQ(d.dialog.focusWidget(), d.name);

    // A list without selection: nothing said.
    d.name->setText(QString::fromUtf8("Caf\u00E9 run"));
    d.prompter.Log.clear();
    EXPECT_FALSE(d.dialog.rOKClick());
    EXPECT_TRUE(d.prompter.Log.isEmpty());
    EXPECT_EQ(d.dialog.focusWidget(), d.startList);

    // A system deleted while the dialog is open.
    SelectRow(d.startList, 5);
    TManager::Destroy(map.universe->FindStar("beta"));
    EXPECT_FALSE(d.dialog.rOKClick());
    EXPECT_EQ(d.prompter.Log, QStringList{"info: Invalid pointer for Start/End Legs"});
    EXPECT_EQ(d.dialog.focusWidget(), d.startList);

    EXPECT_EQ(leg->Name1, "Spur");
    EXPECT_EQ(leg->SStarName, "");
    EXPECT_FALSE(map.universe->MapDirty);
    EXPECT_FALSE(map.universe->ManagerRequiresSaving);
    EXPECT_NE(d.dialog.result(), QDialog::Accepted);

    SelectRow(d.startList, 6);
    ASSERT_TRUE(d.dialog.rOKClick());
    EXPECT_EQ(leg->Name1, "Caf\xE9 run");
    EXPECT_EQ(leg->SStarName, "Gamma");
}

// ---- route dialog ----

TEST(RouteDialog, ShowsTheRouteAndWritesAllSixFieldsEvenAnEmptyName) {
    Map map;
    map.route->ShowRoute = true;
    ScriptedPrompter prompter;
    TfConfigureRoute dialog(prompter);
    dialog.Load(*map.universe, *map.route);
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), "Configure Route Spinward Main");
    auto* enable = Find<QCheckBox>(dialog, "rEnableRoute");
    auto* user = Find<QCheckBox>(dialog, "rUserDefined");
    auto* name = Find<QLineEdit>(dialog, "rRouteName");
    auto* lineType = Find<QComboBox>(dialog, "rLineType");
    auto* thickness = Find<QSpinBox>(dialog, "rThickness");
    EXPECT_TRUE(enable->isChecked());
    EXPECT_FALSE(user->isChecked());
    EXPECT_EQ(name->text(), "Spinward Main");
    EXPECT_EQ(lineType->currentText(), "Dot");
    EXPECT_EQ(thickness->value(), 3);

    name->setText(QString::fromUtf8("\u4E1D\u8DEF"));
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_EQ(prompter.Log, QStringList{"error: " + NotStorableMessage()});
    EXPECT_EQ(dialog.focusWidget(), name);
    EXPECT_EQ(map.route->Name1, "Spinward Main");
    EXPECT_FALSE(map.universe->ManagerRequiresSaving);

    enable->setChecked(false);
    user->setChecked(true);
    name->clear();
    lineType->setCurrentIndex(0);
    thickness->setValue(5);
    prompter.ColourAnswers.push_back(QColor(0, 0, 255));
    Find<QPushButton>(dialog, "rColor")->click();
    ASSERT_TRUE(dialog.rOKClick());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompter.Last(), "colour: Color");
    EXPECT_EQ(map.route->Name1, "");
    EXPECT_FALSE(map.route->ShowRoute);
    EXPECT_TRUE(map.route->User);
    EXPECT_EQ(map.route->Color, 0xFF0000);
    EXPECT_EQ(map.route->LineType, 0);
    EXPECT_EQ(map.route->LineThickness, 5);
    EXPECT_TRUE(map.universe->ManagerRequiresSaving);
}

TEST(RouteDialog, ThicknessIsOneToFiveByArrowsOnlyAndUnknownValuesShowInRange) {
    Map map;
    map.route->LineThickness = 0;  // a new route's
    map.route->LineType = 9;
    ScriptedPrompter prompter;
    TfConfigureRoute dialog(prompter);
    dialog.Load(*map.universe, *map.route);
    auto* thickness = Find<QSpinBox>(dialog, "rThickness");

    EXPECT_EQ(thickness->value(), 1);
    EXPECT_EQ(Find<QComboBox>(dialog, "rLineType")->currentText(), "Solid");
    thickness->stepDown();
    EXPECT_EQ(thickness->value(), 1);
    QTest::keyClicks(thickness, "4");  // typing does nothing
    EXPECT_EQ(thickness->value(), 1);
    for (int i = 0; i < 6; ++i) thickness->stepUp();
    EXPECT_EQ(thickness->value(), 5);  // no wrap round

    map.route->LineThickness = 9;
    dialog.Load(*map.universe, *map.route);
    EXPECT_EQ(thickness->value(), 5);
}

// ---- allegiance dialog ----

namespace {

struct AllegianceDialog {
    Map map;
    TAllegiance* imperium = map.universe->Allegiances()->Create<TAllegiance>();
    TAllegiance* other = map.universe->Allegiances()->Create<TAllegiance>();
    ScriptedPrompter prompter;
    TfConfigureAllegiance dialog{prompter};
    QLineEdit* code = Find<QLineEdit>(dialog, "rImportCode");
    QPlainTextEdit* notes = Find<QPlainTextEdit>(dialog, "rNotes");
    QComboBox* hatch = Find<QComboBox>(dialog, "rHatchStyle");

    AllegianceDialog() {
        imperium->Name1 = "Third Imperium";
        imperium->ImportCode = "Im";
        imperium->Color = 0x00FFFF;
        imperium->Style = bsCross;
        imperium->Notes = "Capital: Capital\r\nFounded 0";
        other->ImportCode = "Zh";
        dialog.Load(*map.universe, *imperium);
        dialog.show();
    }
    // Enters a code and presses OK; the message shown, if any.
    QString TryCode(const QString& text) {
        prompter.Log.clear();
        code->setText(text);
        const bool ok = dialog.rOKClick();
        EXPECT_EQ(ok, prompter.Log.isEmpty()) << text.toStdString();
        if (!ok) {
            EXPECT_EQ(dialog.focusWidget(), code);
        }
        return prompter.Last();
    }
};

const QString kCodeUsed = "info: An Allegiance with this Import Code already exits.\nPlease select a different Code.";
const QString kCodeLength = "info: Allegiance Import Codes must be one, two or four characters in Length.";

}  // namespace

TEST(AllegianceDialog, ImportCodeMustBeOneTwoOrFourCharactersAndNotAnotherAllegiancesCode) {
    AllegianceDialog d;
    EXPECT_EQ(d.dialog.windowTitle(), "Configure Allegiance Third Imperium");
    EXPECT_EQ(d.code->text(), "Im");
    EXPECT_EQ(d.TryCode("Zh"), kCodeUsed);
    EXPECT_EQ(d.TryCode(""), kCodeLength);
    for (const char* code : {"Imp", "ImDdx"}) EXPECT_EQ(d.TryCode(code), kCodeLength) << code;
    // Another allegiance's over-long code is found first: the order of the checks.
    d.other->ImportCode = "Zhd";
    EXPECT_EQ(d.TryCode("Zhd"), kCodeUsed);
    EXPECT_EQ(d.imperium->ImportCode, "Im");
    EXPECT_FALSE(d.map.universe->ManagerRequiresSaving);

    EXPECT_EQ(d.TryCode("Im"), "");  // its own code
    EXPECT_TRUE(d.map.universe->ManagerRequiresSaving);
    EXPECT_TRUE(d.map.universe->MapDirty);
    for (const char* code : {"I", " ", "zh", "ImDd"}) {
        d.dialog.Load(*d.map.universe, *d.imperium);
        EXPECT_EQ(d.TryCode(code), "") << code;
        EXPECT_EQ(d.imperium->ImportCode, code);
    }
}

TEST(AllegianceDialog, ColourSwatchTakesOnlyAConfirmedChoiceAndHatchStylesFollowBrushOrder) {
    AllegianceDialog d;
    auto* swatch = Find<QPushButton>(d.dialog, "rColor");
    d.prompter.ColourAnswers = {std::nullopt, QColor(200, 100, 50)};
    swatch->click();  // cancelled
    ASSERT_TRUE(d.dialog.rOKClick());
    EXPECT_EQ(d.imperium->Color, 0x00FFFF);
    EXPECT_EQ(d.imperium->Style, bsCross);

    d.dialog.Load(*d.map.universe, *d.imperium);
    swatch->click();
    d.hatch->setCurrentIndex(d.hatch->findText("DiagCross"));
    ASSERT_TRUE(d.dialog.rOKClick());
    EXPECT_EQ(d.imperium->Color, 0x3264C8);
    EXPECT_EQ(d.imperium->Style, bsDiagCross);
    EXPECT_EQ(d.prompter.Log, QStringList({"colour: Select Allegiance Color", "colour: Select Allegiance Color"}));

    // A system colour (top byte set) goes back unchanged when not touched.
    d.imperium->Color = static_cast<std::int32_t>(0x8000000F);
    d.dialog.Load(*d.map.universe, *d.imperium);
    d.hatch->setCurrentIndex(d.hatch->findText("Clear"));
    ASSERT_TRUE(d.dialog.rOKClick());
    EXPECT_EQ(d.imperium->Color, static_cast<std::int32_t>(0x8000000F));
    EXPECT_EQ(d.imperium->Style, bsClear);
}

TEST(AllegianceDialog, NotesKeepMapLineBreaksAndRefuseTextAMapCannotStore) {
    AllegianceDialog d;
    EXPECT_EQ(d.notes->toPlainText(), "Capital: Capital\nFounded 0");
    d.imperium->Notes = "one\ntwo";  // a lone line feed, left alone while untouched
    d.dialog.Load(*d.map.universe, *d.imperium);
    ASSERT_TRUE(d.dialog.rOKClick());
    EXPECT_EQ(d.imperium->Notes, "one\ntwo");

    d.dialog.Load(*d.map.universe, *d.imperium);
    d.notes->setPlainText(QString::fromUtf8("Na\u00EFve\nthree"));
    ASSERT_TRUE(d.dialog.rOKClick());
    EXPECT_EQ(d.imperium->Notes, "Na\xEFve\r\nthree");

    d.dialog.Load(*d.map.universe, *d.imperium);
    d.prompter.Log.clear();
    d.notes->setPlainText(QString::fromUtf8("\u2603"));
    d.code->setText("Z");
    EXPECT_FALSE(d.dialog.rOKClick());
    EXPECT_EQ(d.prompter.Log, QStringList{"error: " + NotStorableMessage()});
    EXPECT_EQ(d.dialog.focusWidget(), d.notes);
    EXPECT_EQ(d.imperium->ImportCode, "Im");
}

// ---- Cancel ----

TEST(RouteDialogs, CancelLeavesTheObjectAndTheMapAsTheyWere) {
    Map map;
    ScriptedPrompter prompter;
    TfConfigureRoute route(prompter);
    route.Load(*map.universe, *map.route);
    Find<QLineEdit>(route, "rRouteName")->setText("Renamed");
    Find<QPushButton>(route, "rCancel")->click();
    EXPECT_EQ(route.result(), QDialog::Rejected);
    EXPECT_EQ(map.route->Name1, "Spinward Main");

    TRouteLeg* leg = map.Leg("Spur", "Ab", "beta");
    LegDialog d(map, *leg);
    d.name->setText("Other");
    SelectRow(d.endList, 6);
    d.override->setChecked(true);
    Find<QPushButton>(d.dialog, "rCancel")->click();
    EXPECT_EQ(d.dialog.result(), QDialog::Rejected);
    EXPECT_EQ(leg->Name1, "Spur");
    EXPECT_EQ(leg->EStarName, "beta");
    EXPECT_FALSE(leg->OverrideProperties);
    EXPECT_FALSE(map.universe->ManagerRequiresSaving);
    EXPECT_FALSE(map.universe->MapDirty);
}
