// The Star System Editor: opening, the checks on OK with their messages and
// focus, moving the record into the chosen sector, writing the fields, leg
// renaming, the code and trade code labels, and Cancel.

#include "sysedit.h"

#include "ScriptedPrompter.h"
#include "TestUtil.h"
#include "UiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using hexlane::ui::TfSysEdit;

namespace {

struct Editor : ::testing::Test {
    ScriptedPrompter prompter;
    std::unique_ptr<TUniverse> universe = TUniverse::CreateNew();
    TSector* alpha = testutil::AddSector(*universe, "Alpha", 1, 1);
    TSector* beta = testutil::AddSector(*universe, "beta", 2, 1);
    TfSysEdit dialog{prompter};

    Editor() {
        for (const char* name : {"Imperium", "Independent", "aslan"})
            universe->Allegiances()->Create<TAllegiance>()->Name1 = name;
    }

    template <class W>
    W* Get(const char* name) {
        W* w = dialog.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QComboBox* List(const char* name) { return Get<QComboBox>(name); }
    QLineEdit* Edit(const char* name) { return Get<QLineEdit>(name); }
    QCheckBox* Box(const char* name) { return Get<QCheckBox>(name); }
    QString Text(const char* name) { return Get<QLabel>(name)->text(); }
    void Choose(const char* list, const QString& text) {
        QComboBox* l = List(list);
        const int i = l->findText(text);
        ASSERT_GE(i, 0) << list << " has no " << text.toStdString();
        l->setCurrentIndex(i);
    }
    // Picks the entry of a code list that starts with the code character.
    void Code(const char* list, char code) {
        QComboBox* l = List(list);
        for (int i = 0; i < l->count(); ++i)
            if (l->itemText(i).startsWith(QLatin1Char(code))) return l->setCurrentIndex(i);
        ADD_FAILURE() << list << " has no code " << code;
    }
    bool Focused(const char* name) { return dialog.focusWidget() == dialog.findChild<QWidget*>(name); }
    static bool Owns(TSector* sector, const TStar* star) {
        const auto stars = sector->Stars();
        return std::find(stars.begin(), stars.end(), star) != stars.end();
    }
    static QStringList Entries(QComboBox* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
        return out;
    }
};

}  // namespace

TEST_F(Editor, OpeningShowsTheRecord) {
    TStar* s = testutil::AddStar(*alpha, "Regina", 19, 10, "A788899");  // subsector "i", column 3, row 10
    s->UPC = "A78";  // shown as stored until a list changes
    s->Allegiance = "ASLAN";
    s->SetTechLevel("D");
    s->SystemContent = scGasGiant | scNavalBase | 1;
    s->TravelZoneCode = tzcAmber;
    s->Visited = true;
    s->SubsectorCapital = true;
    s->Notes = "first\r\nsecond";
    dialog.Load(*universe, s);

    EXPECT_EQ(dialog.windowTitle(), "Star System Editor");
    EXPECT_EQ(Edit("rSystemName")->text(), "Regina");
    EXPECT_EQ(Text("rUPC"), "A78");
    EXPECT_EQ(List("rSize")->currentText(), "A - 10000 mi Diameter");
    EXPECT_EQ(List("rAtmosphere")->currentText(), "7- Standard, Tainted");
    EXPECT_EQ(List("rHydrographics")->currentText(), "8 - 80% water");
    // Missing characters decode to the lists' last entries.
    EXPECT_EQ(List("rPopulation")->currentText(), "A - Tens of Billions Inhabitants");
    EXPECT_EQ(List("rGovernment")->currentIndex(), 13);
    EXPECT_EQ(List("rLawLevel")->currentIndex(), 10);
    EXPECT_EQ(List("rStarport")->currentText(), "A - Excellent quality with refined fuel, overhaul, shipyards");
    EXPECT_EQ(List("rSpaceport")->currentText(), "Y - No Space Port");
    EXPECT_EQ(List("rTechLevel")->currentText(), "D - Above Average Imperial");
    EXPECT_EQ(List("rGovernment")->itemText(3),
              "3 - Self-Perpetuating Oligarchy.  Rule by a restricted minority, with little or no input from the "
              "masses.");
    EXPECT_EQ(List("rSize")->count(), 13);
    EXPECT_EQ(List("rAtmosphere")->count(), 16);
    EXPECT_EQ(List("rTechLevel")->count(), 17);

    EXPECT_EQ(Edit("rColumn")->text(), "3");
    EXPECT_EQ(Edit("rRow")->text(), "10");
    EXPECT_EQ(Entries(List("rSector")), QStringList({"Alpha", "beta"}));
    EXPECT_EQ(List("rSector")->currentText(), "Alpha");
    EXPECT_EQ(List("rSubsector")->count(), 16);
    EXPECT_EQ(List("rSubsector")->currentText(), "i");
    // Sorted without regard to case, selected the same way.
    EXPECT_EQ(Entries(List("rAllegiance")), QStringList({"aslan", "Imperium", "Independent"}));
    EXPECT_EQ(List("rAllegiance")->currentText(), "aslan");
    EXPECT_EQ(List("rTravelCode")->currentText(), "Amber");
    EXPECT_TRUE(Box("rGasGiants")->isChecked());
    EXPECT_TRUE(Box("rImperialNavalBase")->isChecked());
    EXPECT_FALSE(Box("rPrison")->isChecked());
    EXPECT_TRUE(Box("rVisited")->isChecked());
    EXPECT_FALSE(Box("rUserSurveyed")->isChecked());
    EXPECT_TRUE(Box("rSubsectorCapital")->isChecked());
    EXPECT_EQ(Get<QPlainTextEdit>("rNotes")->toPlainText(), "first\nsecond");
    // Trade codes of the lists' selections, A78ADA: the missing characters count as letters.
    EXPECT_EQ(Text("rTradeCodes"), "Ind ");
    EXPECT_FALSE(Get<QPushButton>("rPsiInstitutes")->isEnabled());
    EXPECT_TRUE(Get<QLabel>("rAltTL")->isHidden());
    EXPECT_TRUE(Get<QLabel>("rAltTLCaption")->isHidden());
}

TEST_F(Editor, ChecksRunInOrderWithTheirMessagesAndFocus) {
    TStar* s = testutil::AddStar(*alpha, "Regina", 3, 4);
    testutil::AddStar(*alpha, "Efate", 5, 6);  // subsector "a", column 5, row 6
    dialog.Load(*universe, s);

    for (const char* column : {"0", "9", "x", "", "2.5"}) {
        Edit("rColumn")->setText(QString::fromLatin1(column));
        Edit("rRow")->setText("11");  // also wrong: only the first failure is reported
        prompter.Log.clear();
        EXPECT_FALSE(dialog.rOKClick()) << column;
        EXPECT_EQ(prompter.Log, QStringList({"info: Enter a valid integer between 1 and 8"})) << column;
        EXPECT_TRUE(Focused("rColumn"));
    }
    Edit("rColumn")->setText("8");
    for (const char* row : {"11", "0", "ten"}) {
        Edit("rRow")->setText(QString::fromLatin1(row));
        prompter.Log.clear();
        EXPECT_FALSE(dialog.rOKClick());
        EXPECT_EQ(prompter.Log, QStringList({"info: Enter a valid integer between 1 and 10"})) << row;
        EXPECT_TRUE(Focused("rRow"));
    }
    Edit("rRow")->setText("10");

    List("rSector")->setCurrentIndex(-1);
    EXPECT_EQ(List("rSubsector")->count(), 0);
    prompter.Log.clear();
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_EQ(prompter.Log, QStringList({"info: Select a Sector"}));
    EXPECT_TRUE(Focused("rSector"));

    // The subsector chosen by the user is replaced by the record's own when
    // the sector changes: "a" exists in beta too.
    Choose("rSector", "beta");
    EXPECT_EQ(List("rSubsector")->currentText(), "a");
    List("rSubsector")->setCurrentIndex(-1);
    prompter.Log.clear();
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_EQ(prompter.Log, QStringList({"info: Select a Subsector"}));
    EXPECT_TRUE(Focused("rSubsector"));

    // The hex of another system of the chosen sector and subsector is taken.
    Choose("rSector", "Alpha");
    Edit("rColumn")->setText("5");
    Edit("rRow")->setText(" 6 ");
    prompter.Log.clear();
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_EQ(prompter.Log, QStringList({"info: A system already exits in that location.\nSelect another."}));

    // Nothing was changed by the refused attempts; the dialog is still open.
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_TRUE(Owns(alpha, s));
    EXPECT_EQ(s->StarCoordsX, 3);
    EXPECT_FALSE(universe->ManagerRequiresSaving);
    EXPECT_EQ(dialog.Result(), nullptr);
}

TEST_F(Editor, OkReplacesTheRecordByACopyThatKeepsEveryValue) {
    TStar* s = testutil::AddStar(*alpha, "Regina", 19, 10, "A788899");
    s->MapIndex = 7;
    s->Skewing = -3;
    s->UAP = 12;
    s->ComPsiRating = "B";
    s->Orbit = 4;
    s->SystemContent = scGasGiant;
    s->SysData = "raw\nlines";  // untouched memos go back byte for byte
    s->Marked = true;           // working flags start afresh
    s->Color = 5;
    TStar* other = testutil::AddStar(*alpha, "Efate", 1, 1);
    dialog.Load(*universe, s);
    ASSERT_TRUE(dialog.rOKClick());
    EXPECT_TRUE(prompter.Log.isEmpty());

    TStar* r = dialog.Result();
    ASSERT_NE(r, nullptr);
    EXPECT_NE(r, s);
    EXPECT_EQ(alpha->Stars(), (std::vector<TStar*>{other, r}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(r->Name1, "Regina");
    EXPECT_EQ(r->UPC, "A78889");  // six characters
    EXPECT_EQ(r->Starport, "A");
    EXPECT_EQ(r->Spaceport, "Y");
    EXPECT_EQ(r->StoredTechLevel(), "C");
    EXPECT_EQ(r->SubSectorName, "i");
    EXPECT_EQ(r->StarCoordsX, 3);
    EXPECT_EQ(r->StarCoordsY, 10);
    EXPECT_EQ(r->Allegiance, "Independent");
    EXPECT_EQ(r->SystemContent, scGasGiant);
    EXPECT_EQ(r->MapIndex, 7);
    EXPECT_EQ(r->Skewing, -3);
    EXPECT_EQ(r->UAP, 12);
    EXPECT_EQ(r->ComPsiRating, "B");
    EXPECT_EQ(r->Orbit, 4);
    EXPECT_EQ(r->SysData, "raw\nlines");
    EXPECT_FALSE(r->Marked);
    EXPECT_EQ(r->Color, 0);
    EXPECT_TRUE(r->Visible);
    EXPECT_TRUE(universe->ManagerRequiresSaving);
    EXPECT_TRUE(universe->MapDirty);
}

TEST_F(Editor, OkMovesTheSystemIntoTheChosenSectorAndWritesTheControls) {
    TStar* s = testutil::AddStar(*alpha, "Regina", 3, 4);
    TStar* occupant = testutil::AddStar(*beta, "Efate", 5, 6);  // "a" 5/6 of beta
    dialog.Load(*universe, s);
    Choose("rSector", "beta");
    Choose("rSubsector", "b");
    Edit("rColumn")->setText("5");
    Edit("rRow")->setText("6");  // the same hex in another subsector is free
    Choose("rAllegiance", "Imperium");
    Choose("rTravelCode", "Red");
    Box("rSubsectorCapital")->setChecked(true);
    Box("rUserSurveyed")->setChecked(true);
    Box("rPsiInstitute")->setChecked(true);
    Code("rStarport", 'E');
    Code("rSpaceport", 'G');
    Code("rTechLevel", 'F');
    Get<QPlainTextEdit>("rNotes")->setPlainText("line 1\nline 2");
    ASSERT_TRUE(dialog.rOKClick());

    TStar* r = dialog.Result();
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(alpha->Stars().empty());
    EXPECT_EQ(beta->Stars(), (std::vector<TStar*>{occupant, r}));
    EXPECT_EQ(r->SubSectorName, "b");
    EXPECT_EQ(r->StarCoordsX, 5);
    EXPECT_EQ(r->StarCoordsY, 6);
    EXPECT_EQ(r->Allegiance, "Imperium");
    EXPECT_EQ(r->TravelZoneCode, tzcRed);
    EXPECT_TRUE(r->SubsectorCapital);
    EXPECT_TRUE(r->UserSurveyed);
    EXPECT_TRUE(r->PsiInstitute);
    EXPECT_FALSE(r->Visited);
    EXPECT_EQ(r->Starport, "E");
    EXPECT_EQ(r->Spaceport, "G");
    EXPECT_EQ(r->StoredTechLevel(), "F");
    EXPECT_EQ(r->Notes, "line 1\r\nline 2");
}

TEST_F(Editor, ANewSystemOwnedByTheUniverseNeedsASectorAndLeavesTheUniverse) {
    // A record defined by hand, before the editor completes it.
    auto* s = universe->Create<TStar>();
    s->Name1 = "New Star";
    s->Allegiance = "Independent";
    s->UPC = "000000";
    s->Starport = s->Spaceport = "U";
    s->SetTechLevel("U");
    const std::size_t children = universe->ChildCount();
    dialog.Load(*universe, s);
    EXPECT_EQ(List("rSector")->currentIndex(), -1);
    EXPECT_EQ(List("rSubsector")->count(), 0);
    EXPECT_EQ(List("rAllegiance")->currentText(), "Independent");
    EXPECT_EQ(List("rTechLevel")->currentText(), "G - Occasional non-Imperial");
    EXPECT_EQ(Text("rTradeCodes"), "NI V AB ");

    Edit("rColumn")->setText("1");
    Edit("rRow")->setText("1");
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_EQ(prompter.Log, QStringList({"info: Select a Sector"}));
    Choose("rSector", "beta");
    EXPECT_EQ(List("rSubsector")->currentIndex(), -1);
    Choose("rSubsector", "p");
    Edit("rSystemName")->setText("Caf\u00e9 \u20ac");
    ASSERT_TRUE(dialog.rOKClick());

    TStar* r = dialog.Result();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(universe->ChildCount(), children - 1);
    EXPECT_EQ(beta->Stars(), std::vector<TStar*>{r});
    EXPECT_EQ(r->Name1, "Caf\xe9 \x80");  // Windows-1252 bytes
    EXPECT_EQ(r->SubSectorName, "p");
    EXPECT_EQ(r->Starport, "X");
    EXPECT_EQ(r->Spaceport, "Y");
    EXPECT_EQ(r->StoredTechLevel(), "G");
    EXPECT_EQ(r->SystemContent, 1);  // no box checked
}

TEST_F(Editor, RenamingASystemRenamesTheLegsThatNamedIt) {
    TStar* s = testutil::AddStar(*alpha, "Regina", 3, 4);
    testutil::AddStar(*alpha, "Efate", 5, 6);
    auto* route = universe->Routes()->Create<TRoute>();
    auto leg = [&](const char* from, const char* to) {
        auto* l = route->Create<TRouteLeg>();
        l->SStarName = from;
        l->EStarName = to;
        return l;
    };
    TRouteLeg* out = leg("Regina", "Efate");
    TRouteLeg* in = leg("Efate", "Regina");
    TRouteLeg* elsewhere = leg("Efate", "Regina Prime");
    dialog.Load(*universe, s);
    Edit("rSystemName")->setText("Efate");  // a duplicate name is allowed
    ASSERT_TRUE(dialog.rOKClick());
    EXPECT_EQ(out->SStarName, "Efate");
    EXPECT_EQ(in->EStarName, "Efate");
    EXPECT_EQ(elsewhere->EStarName, "Regina Prime");
    EXPECT_EQ(dialog.Result()->Name1, "Efate");
}

TEST_F(Editor, ContentBoxesAreBitsAndNoneStoresOne) {
    TStar* s = testutil::AddStar(*alpha, "Regina", 3, 4);
    s->SystemContent = scAncientSite | scVargrNavalBase | scDroyneNavalBase;
    dialog.Load(*universe, s);
    EXPECT_TRUE(Box("rAncientSite")->isChecked());
    EXPECT_TRUE(Box("rVargrNavalBase")->isChecked());
    EXPECT_TRUE(Box("rDroyneNavalBase")->isChecked());
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) box->setChecked(false);
    Box("rGasGiants")->setChecked(true);
    Box("rPrison")->setChecked(true);
    ASSERT_TRUE(dialog.rOKClick());
    EXPECT_EQ(dialog.Result()->SystemContent, 192);

    // Every box has its own bit.
    dialog.Load(*universe, dialog.Result());
    const char* const boxes[] = {"rImperialNavalBase",       "rImperialNavalDepot",      "rImperialScoutBase",
                                 "rImperialScoutWayStation", "rResearchStation",         "rPrison",
                                 "rGasGiants",               "rAsteroidBelts",           "rInterface",
                                 "rVargrCorsairBase",        "rIndependentMilitaryBase", "rIndependentNavalBase",
                                 "rDroyneNavalBase",         "rAslanClanNavalBase",      "rAslanTlaukhuNavalBase",
                                 "rZhodaniNavalBase",        "rVargrNavalBase",          "rAncientSite"};
    for (const char* name : boxes) Box(name)->setChecked(true);
    ASSERT_TRUE(dialog.rOKClick());
    EXPECT_EQ(dialog.Result()->SystemContent, 0x7FFFE);

    dialog.Load(*universe, dialog.Result());
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) box->setChecked(false);
    ASSERT_TRUE(dialog.rOKClick());
    EXPECT_EQ(dialog.Result()->SystemContent, 1);
}

TEST_F(Editor, CodeAndTradeLabelsFollowTheLists) {
    TStar* s = testutil::AddStar(*alpha, "Regina", 3, 4, "574734");
    dialog.Load(*universe, s);
    EXPECT_EQ(Text("rTradeCodes"), "Ag ");
    // Ancient Site is no code change: the label keeps the stored code.
    s->UPC = "57473";
    dialog.Load(*universe, s);
    Box("rAncientSite")->setChecked(true);
    EXPECT_EQ(Text("rUPC"), "57473");
    Box("rInterface")->setChecked(true);
    EXPECT_EQ(Text("rUPC"), "57473A");

    Code("rSize", 'R');
    Code("rAtmosphere", '0');
    EXPECT_EQ(Text("rUPC"), "R0473A");
    EXPECT_EQ(Text("rTradeCodes"), "V IC ");  // R counts as size 1: no "AB"
    Code("rHydrographics", 'A');
    EXPECT_EQ(Text("rTradeCodes"), "V IC W ");
    Code("rSize", '0');
    Code("rAtmosphere", '8');
    Code("rHydrographics", '3');
    Code("rPopulation", '8');
    Code("rGovernment", '9');
    EXPECT_EQ(Text("rTradeCodes"), "Rich AB ");
    Code("rAtmosphere", '2');
    Code("rHydrographics", '0');
    Code("rPopulation", 'A');
    EXPECT_EQ(Text("rTradeCodes"), "NAg Ind Poor AB D ");
    Code("rAtmosphere", 'F');  // letters count as 10
    EXPECT_EQ(Text("rUPC"), "0F0A9A");
    EXPECT_EQ(Text("rTradeCodes"), "AB D ");
}

TEST_F(Editor, AlternateTechLevelLabelShowsOnlyWithAlternateLevels) {
    universe->UseAltTL = true;
    for (int i = 0; i < 17; ++i) {
        universe->TLAltDesc[static_cast<std::size_t>(i)] = "Alt " + std::to_string(i);
        universe->TLAltValue[static_cast<std::size_t>(i)] = 16 - i;
    }
    TStar* s = testutil::AddStar(*alpha, "Regina", 3, 4);  // stored "C"
    dialog.Load(*universe, s);
    EXPECT_TRUE(universe->UseAltTL);
    // The list shows the stored code, the label that code's alternate description.
    EXPECT_EQ(List("rTechLevel")->currentIndex(), 12);
    EXPECT_FALSE(Get<QLabel>("rAltTL")->isHidden());
    EXPECT_EQ(Text("rAltTLCaption"), "Alt TL : ");
    EXPECT_EQ(Text("rAltTL"), "Alt 12");
    Code("rTechLevel", '3');
    EXPECT_EQ(Text("rAltTL"), "Alt 3");
    ASSERT_TRUE(dialog.rOKClick());
    EXPECT_EQ(dialog.Result()->StoredTechLevel(), "3");
}

TEST_F(Editor, CancelUndoesWhatTheSubDialogsWrote) {
    TStar* s = testutil::AddStar(*alpha, "Regina", 3, 4);
    s->MapIndex = 1;
    s->Skewing = 2;
    s->UAP = 3;
    s->EduPsiRating = "7";
    dialog.SetWorldMapDialog([](TStar& star) {
        star.MapIndex = 40;
        star.Skewing = 50;
    });
    dialog.SetPsiDialog([](TStar& star) {
        star.UAP = 99;
        star.ComPsiRating = star.EduPsiRating = star.GovPsiRating = star.SecPsiRating = "X";
    });
    dialog.Load(*universe, s);
    auto* psi = Get<QPushButton>("rPsiInstitutes");
    EXPECT_FALSE(psi->isEnabled());
    Box("rPsiInstitute")->setChecked(true);
    EXPECT_TRUE(psi->isEnabled());
    Get<QPushButton>("rMap")->click();
    psi->click();
    Edit("rSystemName")->setText("Changed");
    EXPECT_EQ(s->MapIndex, 40);
    EXPECT_EQ(s->SecPsiRating, "X");

    dialog.rCancelClick();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(Owns(alpha, s));
    EXPECT_EQ(s->MapIndex, 1);
    EXPECT_EQ(s->Skewing, 2);
    EXPECT_EQ(s->UAP, 3);
    EXPECT_EQ(s->ComPsiRating, "");
    EXPECT_EQ(s->EduPsiRating, "7");
    EXPECT_EQ(s->GovPsiRating, "");
    EXPECT_EQ(s->SecPsiRating, "");
    EXPECT_EQ(s->Name1, "Regina");
    EXPECT_FALSE(s->PsiInstitute);
    EXPECT_FALSE(universe->ManagerRequiresSaving);

    // Closing by Escape or the window's close button is the same Cancel.
    dialog.Load(*universe, s);
    Get<QPushButton>("rMap")->click();
    dialog.reject();
    EXPECT_EQ(s->MapIndex, 1);

    // What the sub-dialogs wrote is kept on OK.
    dialog.Load(*universe, s);
    Get<QPushButton>("rMap")->click();
    ASSERT_TRUE(dialog.rOKClick());
    EXPECT_EQ(dialog.Result()->MapIndex, 40);
    EXPECT_EQ(dialog.Result()->Skewing, 50);
}

TEST_F(Editor, TextsAMapCannotStoreAreRefused) {
    TStar* s = testutil::AddStar(*alpha, "Regina", 3, 4);
    dialog.Load(*universe, s);
    Edit("rSystemName")->setText(QString::fromUtf8("Re\xce\xb3ina"));  // Greek gamma
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_EQ(prompter.Log, QStringList({"error: " + hexlane::ui::NotStorableMessage()}));
    EXPECT_TRUE(Focused("rSystemName"));

    Edit("rSystemName")->setText("Regina");
    Get<QPlainTextEdit>("rSysData")->setPlainText(QString::fromUtf8("\xe2\x86\x92 trade"));  // arrow
    prompter.Log.clear();
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_EQ(prompter.Log, QStringList({"error: " + hexlane::ui::NotStorableMessage()}));
    EXPECT_TRUE(Focused("rSysData"));
    EXPECT_TRUE(Owns(alpha, s));
    EXPECT_EQ(dialog.Result(), nullptr);
}

TEST_F(Editor, EachSectorEntryIsItsOwnSector) {
    // Two sectors whose names differ only in case: the record stays in its own.
    TSector* upper = testutil::AddSector(*universe, "ALPHA", 3, 1);
    upper->SSName[0] = "Core";
    TStar* s = testutil::AddStar(*upper, "Regina", 3, 4);
    dialog.Load(*universe, s);
    EXPECT_EQ(List("rSector")->currentText(), "ALPHA");
    EXPECT_EQ(List("rSubsector")->currentText(), "Core");
    ASSERT_TRUE(dialog.rOKClick());
    EXPECT_TRUE(Owns(upper, dialog.Result()));
    EXPECT_TRUE(alpha->Stars().empty());
}

TEST_F(Editor, AnAllegianceMissingFromTheListIsShownAndKept) {
    TStar* s = testutil::AddStar(*alpha, "Regina", 3, 4);
    s->Allegiance = "Unknown";
    dialog.Load(*universe, s);
    EXPECT_EQ(Entries(List("rAllegiance")), QStringList({"aslan", "Imperium", "Independent", "Unknown"}));
    EXPECT_EQ(List("rAllegiance")->currentText(), "Unknown");
    ASSERT_TRUE(dialog.rOKClick());
    TStar* r = dialog.Result();
    EXPECT_EQ(r->Allegiance, "Unknown");

    // The extra entry belongs to that system only; a listed one adds none.
    r->Allegiance = "Imperium";
    dialog.Load(*universe, r);
    EXPECT_EQ(Entries(List("rAllegiance")), QStringList({"aslan", "Imperium", "Independent"}));
}

TEST_F(Editor, NoRecordIsNotShown) {
    EXPECT_EQ(dialog.EditStar(*universe, nullptr), -1);
    dialog.Load(*universe, nullptr);
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_TRUE(prompter.Log.isEmpty());
}

TEST_F(Editor, TheTwoMemosLineUp) {
    dialog.show();
    dialog.layout()->activate();
    auto* notes = Get<QWidget>("rNotes");
    auto* data = Get<QWidget>("rSysData");
    const QRect a(notes->mapTo(&dialog, QPoint()), notes->size());
    const QRect b(data->mapTo(&dialog, QPoint()), data->size());
    EXPECT_EQ(a.top(), b.top());
    EXPECT_EQ(a.bottom(), b.bottom());
    dialog.hide();
}
