// The star query dialog, the navigation dialog and the path search dialog:
// what they show when opened, the checks and their messages in order, what
// each command changes in the map, and that closing changes nothing.

#include "DialogTesting.h"
#include "Activity.h"
#include "NavigationInformation.h"
#include "Query.h"
#include "ScriptedPrompter.h"
#include "SearchPathInfo.h"
#include "TestUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace hexlane::ui;
using namespace uitest;

namespace {

// Counts the busy cursor's uses; it must be balanced after every command.
struct CountingActivity final : Activity {
    int Depth = 0;
    int Uses = 0;
    void BeginBusy() override {
        ++Depth;
        ++Uses;
    }
    void EndBusy() override { --Depth; }
    void Progress(int) override {}
    void Status(const QString&) override {}
};

QStringList Entries(const QAbstractItemView* list) {
    QStringList out;
    for (int row = 0; row < list->model()->rowCount(); ++row) out << list->model()->index(row, 0).data().toString();
    return out;
}

QString Selected(const QAbstractItemView* list) {
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QStringLiteral("<none>") : selected.first().data().toString();
}

void ClickRow(QAbstractItemView* list, int row) {
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    ASSERT_TRUE(rect.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void ClickEntry(QAbstractItemView* list, const QString& text) {
    const int row = static_cast<int>(Entries(list).indexOf(text));
    ASSERT_GE(row, 0) << text.toStdString();
    ClickRow(list, row);
}

QStringList VisibleStars(const TUniverse& u) {
    QStringList out;
    u.ForEachStar([&](const TStar& s) {
        if (s.Visible) out << QString::fromStdString(s.Name1);
    });
    return out;
}

// Two sectors side by side. In Spinward's first column: Regina (row 1),
// efate (3), Alell (5), Yori (8); Hermit far off. Trailing holds a second
// Regina and Jenghe.
struct NavMap {
    std::unique_ptr<TUniverse> universe = TUniverse::CreateNew();
    TSector* spinward = testutil::AddSector(*universe, "Spinward", 1, 1);
    TSector* trailing = testutil::AddSector(*universe, "Trailing", 2, 1);
    TStar* regina = testutil::AddStar(*spinward, "Regina", 1, 1);
    TStar* efate = testutil::AddStar(*spinward, "efate", 1, 3);
    TStar* alell = testutil::AddStar(*spinward, "Alell", 1, 5);
    TStar* yori = testutil::AddStar(*spinward, "Yori", 1, 8);
    TStar* hermit = testutil::AddStar(*spinward, "Hermit", 20, 30);
    TStar* regina2 = testutil::AddStar(*trailing, "Regina", 1, 1);
    TStar* jenghe = testutil::AddStar(*trailing, "Jenghe", 3, 1);

    NavMap() { universe->ComputeExtent(); }
};

// ================================================================ path search

struct PathDialog {
    ScriptedPrompter prompter;
    CountingActivity activity;
    TfSearchPathInfo dialog{prompter, &activity};
    QLabel* straightLine = Find<QLabel>(dialog, "rStraightLine");
    QSpinBox* jumpRange = Find<QSpinBox>(dialog, "rJumpRange");
    QCheckBox* visibleOnly = Find<QCheckBox>(dialog, "rVisibleOnly");
    QRadioButton* byDistance = Find<QRadioButton>(dialog, "rShortestDistance");
    QRadioButton* byTime = Find<QRadioButton>(dialog, "rShortestTime");
    QListWidget* legs = Find<QListWidget>(dialog, "rRouteLegs");
    QLabel* jumpCount = Find<QLabel>(dialog, "rJumpCount");
    int routesCreated = 0;

    PathDialog() {
        dialog.SetRunEdit([this](const std::function<void()>& run) {
            run();
            ++routesCreated;
        });
    }
    void Click(const char* name) { Find<QPushButton>(dialog, name)->click(); }
};

TEST(PathSearchDialog, OpensBlankAndThenForTheTwoSystems) {
    NavMap map;
    PathDialog d;
    EXPECT_EQ(d.dialog.windowTitle(), "Path Search Information");
    EXPECT_EQ(d.straightLine->text(), "Straight Line Distance :");
    EXPECT_EQ(d.jumpRange->value(), 0);
    EXPECT_EQ(d.jumpRange->minimum(), 0);
    EXPECT_TRUE(d.byDistance->isChecked());
    EXPECT_FALSE(d.byTime->isChecked());
    EXPECT_EQ(d.jumpCount->text(), "Number of Jumps = 0");

    d.dialog.Load(*map.universe, *map.efate, *map.yori);
    EXPECT_EQ(d.dialog.windowTitle(), "Find Path from efate to Yori");
    EXPECT_EQ(d.straightLine->text(), "Straight Line Distance = 5 parsecs");
}

TEST(PathSearchDialog, RefusesWithoutADriveAndWithinRangeThenListsTheJumpsInLinkOrder) {
    NavMap map;
    PathDialog d;
    d.dialog.Load(*map.universe, *map.yori, *map.efate);
    d.Click("rFindPath");  // jump range 0
    d.jumpRange->setValue(5);
    d.Click("rFindPath");  // exactly the distance
    EXPECT_EQ(d.prompter.Log,
              QStringList({"info: There is nothing in range of this rustbucket.  Try putting in a Jump Drive.",
                           "info: This is a trivial solution.  The Destination is within your ship's jump range."}));
    EXPECT_TRUE(d.dialog.LastResult().empty());

    d.jumpRange->setValue(3);
    d.Click("rFindPath");
    EXPECT_EQ(d.prompter.Log.size(), 2);  // no message for a path found
    // From Yori to efate, but listed in the order of the links (map order).
    EXPECT_EQ(Entries(d.legs), QStringList({"efate <-> Alell", "Alell <-> Yori"}));
    EXPECT_EQ(d.jumpCount->text(), "Number of Jumps = 2");
    EXPECT_EQ(d.dialog.LastResult(), (std::vector<std::string>{"efate", "Alell", "Alell", "Yori"}));
    EXPECT_EQ(d.activity.Depth, 0);
    EXPECT_EQ(d.activity.Uses, 3);
}

TEST(PathSearchDialog, VisibleStarsOnlyAndAnUnreachableDestinationFindNoPath) {
    NavMap map;
    PathDialog d;
    d.dialog.Load(*map.universe, *map.efate, *map.yori);
    d.jumpRange->setValue(3);
    map.alell->Visible = false;
    d.visibleOnly->setChecked(true);
    d.Click("rFindPath");
    EXPECT_EQ(d.prompter.Last(), "info: Path not found");
    EXPECT_EQ(d.legs->count(), 0);
    EXPECT_EQ(d.jumpCount->text(), "Number of Jumps = 0");

    d.visibleOnly->setChecked(false);
    d.Click("rFindPath");
    EXPECT_EQ(d.legs->count(), 2);

    d.dialog.Load(*map.universe, *map.efate, *map.hermit);
    d.Click("rFindPath");
    EXPECT_EQ(d.prompter.Last(), "info: Path not found");
}

TEST(PathSearchDialog, TheSearchTypeChoosesWhatIsMinimised) {
    // From O to D (10 parsecs) with jumps of at most 6: along the column in
    // three short jumps (10 parsecs), or through W off the column in two
    // jumps of 6 (12 parsecs, no unused jump range).
    std::unique_ptr<TUniverse> u = TUniverse::CreateNew();
    TSector* s = testutil::AddSector(*u, "S", 1, 1);
    TStar* o = testutil::AddStar(*s, "O", 1, 1);
    testutil::AddStar(*s, "P", 1, 4);
    testutil::AddStar(*s, "Q", 1, 8);
    TStar* w = testutil::AddStar(*s, "W", 3, 6);
    TStar* d = testutil::AddStar(*s, "D", 1, 11);
    u->ComputeExtent();
    ASSERT_EQ(TUniverse::StarDistance(o, d), 10);
    ASSERT_EQ(TUniverse::StarDistance(o, w), 6);
    ASSERT_EQ(TUniverse::StarDistance(w, d), 6);

    PathDialog dialog;
    dialog.dialog.Load(*u, *o, *d);
    dialog.jumpRange->setValue(6);
    dialog.Click("rFindPath");
    EXPECT_EQ(Entries(dialog.legs), QStringList({"O <-> P", "P <-> Q", "Q <-> D"}));
    dialog.byTime->setChecked(true);
    dialog.Click("rFindPath");
    EXPECT_EQ(Entries(dialog.legs), QStringList({"O <-> W", "W <-> D"}));
}

TEST(PathSearchDialog, CreateRouteChecksInOrderAndNumbersTheLegsInListOrder) {
    NavMap map;
    PathDialog d;
    d.dialog.Load(*map.universe, *map.yori, *map.efate);
    d.Click("rCreateRoute");  // nothing found yet
    d.jumpRange->setValue(3);
    d.Click("rFindPath");
    d.prompter.InputAnswers = {std::nullopt, QString()};
    d.Click("rCreateRoute");  // cancelled
    d.Click("rCreateRoute");  // empty
    EXPECT_EQ(d.prompter.Log, QStringList({"info: No Route to Plot", "input: Path Plot|Path Name|Path Name",
                                           "info: Invalid Path Name", "input: Path Plot|Path Name|Path Name",
                                           "info: Invalid Path Name"}));
    EXPECT_TRUE(map.universe->Routes()->Children().empty());
    EXPECT_FALSE(map.universe->ManagerRequiresSaving);
    EXPECT_EQ(d.routesCreated, 0);

    d.prompter.InputAnswers = {QString("Trip")};
    d.Click("rCreateRoute");
    const TRoute* route = map.universe->FindRoute("Trip");
    ASSERT_TRUE(route);
    EXPECT_TRUE(route->ShowRoute);
    EXPECT_TRUE(route->User);
    const auto legs = route->Legs();
    ASSERT_EQ(legs.size(), 2u);
    EXPECT_EQ(legs[0]->Name1, "Trip - 0");
    EXPECT_EQ(legs[0]->SStarName, "efate");
    EXPECT_EQ(legs[0]->EStarName, "Alell");
    EXPECT_EQ(legs[1]->Name1, "Trip - 1");
    EXPECT_EQ(legs[1]->SStarName, "Alell");
    EXPECT_EQ(legs[1]->EStarName, "Yori");
    EXPECT_TRUE(map.universe->ShowRoutes);
    EXPECT_TRUE(map.universe->ManagerRequiresSaving);
    EXPECT_TRUE(map.universe->MapDirty);
    EXPECT_EQ(d.routesCreated, 1);
    EXPECT_TRUE(d.prompter.AllAnswersUsed());
}

TEST(PathSearchDialog, ARouteStoppedAtAMissingStarStaysAndTheViewsFollowIt) {
    NavMap map;
    PathDialog d;
    d.dialog.Load(*map.universe, *map.efate, *map.yori);
    d.jumpRange->setValue(3);
    d.Click("rFindPath");
    TManager::Destroy(map.yori);
    d.prompter.InputAnswers = {QString("Trip")};
    d.Click("rCreateRoute");
    EXPECT_EQ(d.prompter.Last(), "info: Invalid pointer for Start/End Legs");
    const TRoute* route = map.universe->FindRoute("Trip");
    ASSERT_TRUE(route);
    ASSERT_EQ(route->Legs().size(), 1u);
    EXPECT_EQ(route->Legs()[0]->Name1, "Trip - 0");
    EXPECT_EQ(d.routesCreated, 1);
}

TEST(PathSearchDialog, APathFoundForOtherSystemsIsNotOfferedAsARoute) {
    NavMap map;
    PathDialog d;
    d.dialog.Load(*map.universe, *map.efate, *map.yori);
    d.jumpRange->setValue(3);
    d.Click("rFindPath");
    ASSERT_EQ(d.legs->count(), 2);
    d.dialog.Load(*map.universe, *map.regina, *map.alell);
    EXPECT_EQ(d.legs->count(), 0);
    EXPECT_EQ(d.jumpCount->text(), "Number of Jumps = 0");
    d.Click("rCreateRoute");
    EXPECT_EQ(d.prompter.Last(), "info: No Route to Plot");
    EXPECT_TRUE(map.universe->Routes()->Children().empty());
}

// ================================================================ navigation

struct NavDialog {
    ScriptedPrompter prompter;
    CountingActivity activity;
    TfSearchPathInfo path{prompter, &activity};
    TfNavigationInformation dialog{prompter, &activity, path};
    QLineEdit* originName = Find<QLineEdit>(dialog, "rOriginName");
    QLineEdit* destinationName = Find<QLineEdit>(dialog, "rDestinationName");
    QListView* originList = Find<QListView>(dialog, "rOriginList");
    QListView* destinationList = Find<QListView>(dialog, "rDestinationList");
    QLabel* distance = Find<QLabel>(dialog, "rDistance");
    QLabel* count = Find<QLabel>(dialog, "rCount");
    QSpinBox* radius = Find<QSpinBox>(dialog, "rRadius");
    QListView* result = Find<QListView>(dialog, "rResult");
    QLabel* fromOrigin = Find<QLabel>(dialog, "rDistanceFromOrigin");
    QLabel* fromDestination = Find<QLabel>(dialog, "rDistanceFromDestination");
    int mapChanges = 0;
    std::vector<std::string> edited;

    NavDialog() {
        dialog.SetMapChanged([this] { ++mapChanges; });
        dialog.SetEditStar([this](TStar& star) -> TStar* {
            edited.push_back(star.Name1);
            return nullptr;
        });
    }
    void Open(NavMap& map, const TStar* origin = nullptr) {
        dialog.Load(*map.universe, origin);
        dialog.show();
    }
    void Click(const char* name) { Find<QPushButton>(dialog, name)->click(); }
    void Type(QLineEdit* field, const QString& text) {
        field->clear();
        QTest::keyClicks(field, text);
    }
};

TEST(NavigationDialog, OpensWithSortedListsAndKeepsTheNameFields) {
    NavMap map;
    NavDialog d;
    EXPECT_EQ(d.dialog.windowTitle(), "Navigation Information");
    EXPECT_EQ(d.distance->text(), "Distance : ");
    EXPECT_EQ(d.count->text(), "Number of Systems : ");
    EXPECT_EQ(d.radius->value(), 1);
    EXPECT_EQ(d.fromOrigin->text(), "0");
    EXPECT_EQ(d.fromDestination->text(), "0");

    d.Open(map);
    const QStringList sorted = {"Alell", "efate", "Hermit", "Jenghe", "Regina", "Regina", "Yori"};
    EXPECT_EQ(Entries(d.originList), sorted);
    EXPECT_EQ(Entries(d.destinationList), sorted);
    EXPECT_EQ(d.count->text(), "Total Number of Systems : 7");
    EXPECT_EQ(Selected(d.originList), "<none>");
    EXPECT_EQ(d.activity.Depth, 0);
    EXPECT_GE(d.activity.Uses, 1);

    // The fields survive closing; showing again selects what they name and
    // empties the result. The map popup opens with its star as the origin.
    d.Type(d.destinationName, "alell");
    d.Click("rClose");
    d.Open(map, map.yori);
    EXPECT_EQ(d.originName->text(), "Yori");
    EXPECT_EQ(d.destinationName->text(), "alell");
    EXPECT_EQ(Selected(d.originList), "Yori");
    EXPECT_EQ(Selected(d.destinationList), "<none>");  // "alell" is not an entry
    d.Click("rQueryNow");
    ASSERT_FALSE(d.dialog.Results().empty());
    d.Open(map);
    EXPECT_TRUE(d.dialog.Results().empty());
    EXPECT_EQ(d.result->model()->rowCount(), 0);
}

TEST(NavigationDialog, TypingAndClickingChooseSystemsAndShowTheirDistance) {
    NavMap map;
    NavDialog d;
    d.Open(map);
    d.Type(d.originName, "EF");
    EXPECT_EQ(Selected(d.originList), "efate");
    EXPECT_EQ(d.distance->text(), "Distance : ");  // no destination yet
    ClickEntry(d.destinationList, "Yori");
    EXPECT_EQ(d.destinationName->text(), "Yori");
    EXPECT_EQ(d.distance->text(), "Straight Line Distance between Origin and Destination is 5 parsecs");
    // A namesake is measured as the first of its name in map order.
    d.Type(d.destinationName, "reg");
    EXPECT_EQ(Selected(d.destinationList), "Regina");
    EXPECT_EQ(d.distance->text(), "Straight Line Distance between Origin and Destination is 2 parsecs");
    // A click on the entry already chosen still copies it into the field.
    ClickEntry(d.destinationList, "Regina");
    EXPECT_EQ(d.destinationName->text(), "Regina");
    EXPECT_TRUE(d.prompter.Log.isEmpty());
}

TEST(NavigationDialog, QueryNowChecksInOrderAndListsTheSystemsInRadiusInMapOrder) {
    NavMap map;
    NavDialog d;
    d.Open(map);
    d.Click("rQueryNow");
    EXPECT_EQ(d.prompter.Log, QStringList({"info: Please Select an Origin System."}));

    d.Type(d.originName, "Hermit");
    d.Click("rQueryNow");
    EXPECT_EQ(d.dialog.Results(), (std::vector<std::string>{"Hermit"}));  // no neighbours: just itself

    ClickEntry(d.originList, "efate");
    d.radius->setValue(2);
    d.Click("rQueryNow");
    EXPECT_EQ(Entries(d.result), QStringList({"Regina", "efate", "Alell"}));
    d.radius->setValue(100);
    d.Click("rQueryNow");
    EXPECT_EQ(Entries(d.result), QStringList({"Regina", "efate", "Alell", "Yori", "Hermit", "Regina", "Jenghe"}));
    EXPECT_EQ(d.prompter.Log.size(), 1);
}

TEST(NavigationDialog, ClickingAResultMeasuresItAndMakesItTheDestination) {
    NavMap map;
    NavDialog d;
    d.Open(map);
    ClickEntry(d.originList, "efate");
    ClickEntry(d.destinationList, "Yori");
    d.radius->setValue(2);
    d.Click("rQueryNow");
    ClickEntry(d.result, "Regina");
    EXPECT_EQ(d.fromOrigin->text(), "2");
    EXPECT_EQ(d.fromDestination->text(), "7");  // from Yori, the destination before the click
    EXPECT_EQ(Selected(d.destinationList), "Regina");
    EXPECT_EQ(d.destinationName->text(), "Regina");
    EXPECT_EQ(d.distance->text(), "Straight Line Distance between Origin and Destination is 2 parsecs");

    ClickEntry(d.result, "Alell");
    EXPECT_EQ(d.fromOrigin->text(), "2");
    EXPECT_EQ(d.fromDestination->text(), "4");  // from Regina
    EXPECT_EQ(Selected(d.destinationList), "Alell");
}

TEST(NavigationDialog, PlotTheseSystemsOnlyShowsExactlyTheResult) {
    NavMap map;
    NavDialog d;
    d.Open(map);
    d.Click("rPlotOnly");
    EXPECT_EQ(d.prompter.Log, QStringList({"info: Nothing to Do"}));
    EXPECT_EQ(VisibleStars(*map.universe).size(), 7);
    EXPECT_EQ(d.mapChanges, 0);

    ClickEntry(d.originList, "Alell");
    d.radius->setValue(2);
    d.Click("rQueryNow");
    d.Click("rPlotOnly");
    EXPECT_EQ(VisibleStars(*map.universe), QStringList({"efate", "Alell"}));  // the origin stays
    EXPECT_TRUE(map.universe->MapDirty);
    EXPECT_FALSE(map.universe->ManagerRequiresSaving);
    EXPECT_EQ(d.mapChanges, 1);
}

TEST(NavigationDialog, EditButtonsOpenTheEditorOnTheChosenSystem) {
    NavMap map;
    NavDialog d;
    d.Open(map);
    d.Click("rEditOrigin");  // nothing chosen: nothing happens
    EXPECT_TRUE(d.edited.empty());
    ClickEntry(d.originList, "Regina");
    d.Click("rEditOrigin");
    ASSERT_EQ(d.edited.size(), 1u);
    EXPECT_EQ(d.edited[0], "Regina");

    // A rename in the editor shows in the lists and the field at once.
    d.dialog.SetEditStar([&](TStar& star) -> TStar* {
        star.Name1 = "Capital";
        return &star;
    });
    ClickEntry(d.destinationList, "Jenghe");
    const QModelIndex jenghe = d.destinationList->currentIndex();
    emit d.destinationList->doubleClicked(jenghe);
    EXPECT_EQ(map.jenghe->Name1, "Capital");
    EXPECT_EQ(d.destinationName->text(), "Capital");
    EXPECT_EQ(Selected(d.destinationList), "Capital");
    EXPECT_TRUE(Entries(d.originList).contains("Capital"));
    EXPECT_EQ(Selected(d.originList), "Regina");

    // A system gone from the map since the lists were filled.
    ClickEntry(d.originList, "Hermit");
    TManager::Destroy(map.hermit);
    d.Click("rEditOrigin");
    EXPECT_EQ(d.prompter.Last(), "info: Invalid Pointer to Star");
}

TEST(NavigationDialog, FindShortestPathNeedsBothSystemsAndOpensThePathSearch) {
    NavMap map;
    NavDialog d;
    d.Open(map);
    ClickEntry(d.originList, "efate");
    d.Click("rFindPath");
    EXPECT_EQ(d.prompter.Log, QStringList({"info: Please select an Origin and Destination Star"}));

    ClickEntry(d.destinationList, "Yori");
    bool opened = false;
    WhenModal("Find Path from efate to Yori", [&](QDialog& path) {
        opened = true;
        EXPECT_EQ(Find<QLabel>(path, "rStraightLine")->text(), "Straight Line Distance = 5 parsecs");
        Find<QPushButton>(path, "rClose")->click();
    });
    d.Click("rFindPath");
    EXPECT_TRUE(opened);

    // A destination deleted while the dialog is open.
    TManager::Destroy(map.yori);
    d.Click("rFindPath");
    EXPECT_EQ(d.prompter.Last(), "info: Invalid Star Pointer");
}

// ================================================================ star query

// Spinward: Regina (starport A, subsector a), efate (B, a), Alell (C, e);
// the last subsector has no name. Trailing: Jenghe (A).
struct QueryMap {
    std::unique_ptr<TUniverse> universe = TUniverse::CreateNew();
    TSector* spinward = testutil::AddSector(*universe, "Spinward", 1, 1);
    TSector* trailing = testutil::AddSector(*universe, "trailing", 2, 1);
    TStar* regina = testutil::AddStar(*spinward, "Regina", 1, 1);
    TStar* efate = testutil::AddStar(*spinward, "efate", 1, 3);
    TStar* alell = testutil::AddStar(*spinward, "Alell", 9, 1);
    TStar* jenghe = testutil::AddStar(*trailing, "Jenghe", 3, 1);

    QueryMap() {
        efate->Starport = "B";
        alell->Starport = "C";
        spinward->SSName[15] = "";
        universe->ComputeExtent();
    }
};

struct QueryDialog {
    ScriptedPrompter prompter;
    CountingActivity activity;
    TfQuery dialog{prompter, &activity};
    QPlainTextEdit* text = Find<QPlainTextEdit>(dialog, "rQueryText");
    QComboBox* variable = Find<QComboBox>(dialog, "rVariable");
    QLabel* help = Find<QLabel>(dialog, "rHelp");
    QCheckBox* visibleOnly = Find<QCheckBox>(dialog, "rVisibleOnly");
    QListWidget* sectors = Find<QListWidget>(dialog, "rSectorsToQuery");
    QListWidget* availableSectors = Find<QListWidget>(dialog, "rAvailableSectors");
    QListWidget* subsectors = Find<QListWidget>(dialog, "rSubsectorsToQuery");
    QListWidget* availableSubsectors = Find<QListWidget>(dialog, "rAvailableSubsectors");
    int mapChanges = 0;

    QueryDialog() {
        dialog.SetMapChanged([this] { ++mapChanges; });
    }
    void Open(QueryMap& map) {
        dialog.Load(*map.universe);
        dialog.show();
    }
    void Click(const char* name) { Find<QPushButton>(dialog, name)->click(); }
    void Run(const QString& formula) {
        text->setPlainText(formula);
        Click("rQuery");
    }
    void Move(QListWidget* list, const QString& entry, const char* button) {
        const auto found = list->findItems(entry, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << entry.toStdString();
        list->setCurrentItem(found.first());
        Click(button);
    }
    // The enabled state of the subsector lists, their move buttons and labels.
    QString SubsectorControls() {
        QStringList states;
        for (const char* name : {"rSubsectorsToQuery", "rAvailableSubsectors", "rSubsectorOut", "rSubsectorIn",
                                 "rSubsectorAllOut", "rSubsectorAllIn", "rSubsectorsToQueryLabel",
                                 "rAvailableSubsectorsLabel"})
            states << (Find<QWidget>(dialog, name)->isEnabled() ? "on" : "off");
        states.removeDuplicates();
        return states.join(' ');
    }
};

QStringList Entries(const QListWidget* list) {
    QStringList out;
    for (int row = 0; row < list->count(); ++row) out << list->item(row)->text();
    return out;
}

TEST(QueryDialog, OpensWithEverySectorToQueryAndKeepsTheFormulaAcrossShowings) {
    QueryMap map;
    QueryDialog d;
    EXPECT_EQ(d.dialog.windowTitle(), "Query Survey Chart");
    EXPECT_EQ(d.visibleOnly->text().remove('&'), "Visble Systems Only");
    EXPECT_FALSE(d.visibleOnly->isChecked());
    EXPECT_EQ(d.variable->count(), 44);
    EXPECT_EQ(d.variable->currentIndex(), -1);
    EXPECT_EQ(d.variable->itemText(29), "HAS_ANCIENT_SITE");
    EXPECT_EQ(d.variable->itemText(43), "BEEN_USER_SURVEYED");

    d.Open(map);
    EXPECT_EQ(Entries(d.sectors), QStringList({"Spinward", "trailing"}));
    EXPECT_EQ(d.availableSectors->count(), 0);
    EXPECT_EQ(d.subsectors->count(), 0);
    EXPECT_EQ(d.SubsectorControls(), "off");

    d.text->setPlainText("IS_AG");
    d.variable->setCurrentIndex(3);
    d.visibleOnly->setChecked(true);
    d.Move(d.sectors, "trailing", "rSectorOut");
    d.Click("rClose");
    d.Open(map);
    EXPECT_EQ(d.text->toPlainText(), "IS_AG");
    EXPECT_EQ(d.variable->currentIndex(), 3);
    EXPECT_TRUE(d.visibleOnly->isChecked());
    EXPECT_EQ(Entries(d.sectors), QStringList({"Spinward", "trailing"}));
    EXPECT_EQ(d.availableSectors->count(), 0);
    EXPECT_EQ(d.SubsectorControls(), "off");
}

TEST(QueryDialog, VariableChooserHelpAddVariableTokensAndClearBuildTheText) {
    QueryDialog d;
    d.Click("rAddVariable");  // nothing chosen
    EXPECT_EQ(d.text->toPlainText(), "");
    const std::pair<int, const char*> helps[] = {
        {0, "A=0 B=1 C=2 D=3 E=4 X=5"}, {1, "0-16"}, {2, "0=0 R=1 S=2 1=3 2=4 3=5 ... A=12"},
        {3, "0-15"}, {4, "0-10"}, {5, "0-10"}, {6, "0-13"}, {7, "0-10"}, {8, "F=0 G=1 H=2 Y=3"},
        {9, "False = 0, True = 1"}, {43, "False = 0, True = 1"}};
    for (const auto& [index, text] : helps) {
        d.variable->setCurrentIndex(index);
        EXPECT_EQ(d.help->text(), text) << index;
    }
    d.variable->setCurrentIndex(0);
    d.Click("rAddVariable");
    d.Click("rLessEqual");
    d.Click("rMinus");
    d.variable->setCurrentIndex(29);
    d.Click("rAddVariable");
    d.Click("rIif");
    d.Click("rOpenBracket");
    d.Click("rComma");
    EXPECT_EQ(d.text->toPlainText(), "LEVEL_STARPORT<=- HAS_ANCIENT_SITEIIF(,");
    EXPECT_EQ(Find<QPushButton>(d.dialog, "rIif")->toolTip(), "IIF(X, Y, Z) : If X <> 0 return Y; otherwise return Z");
    d.Click("rClear");
    EXPECT_EQ(d.text->toPlainText(), "");
}

TEST(QueryDialog, SectorMovesRefreshTheSubsectorsAndAOneSectorScopeStartsWithAllItsSubsectors) {
    QueryMap map;
    QueryDialog d;
    d.Open(map);
    d.Move(d.sectors, "trailing", "rSectorOut");
    EXPECT_EQ(Entries(d.availableSectors), QStringList({"trailing"}));
    EXPECT_EQ(d.SubsectorControls(), "on");
    // Sixteen names, the empty one included, sorted.
    const QStringList all = {"", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o"};
    EXPECT_EQ(Entries(d.subsectors), all);

    d.Move(d.subsectors, "e", "rSubsectorOut");
    d.Move(d.subsectors, "b", "rSubsectorOut");
    EXPECT_EQ(Entries(d.availableSubsectors), QStringList({"b", "e"}));
    d.Move(d.availableSubsectors, "e", "rSubsectorIn");
    EXPECT_EQ(Entries(d.availableSubsectors), QStringList({"b"}));
    d.Click("rSubsectorAllOut");
    EXPECT_EQ(d.subsectors->count(), 0);
    EXPECT_EQ(d.availableSubsectors->count(), 16);
    d.Click("rSubsectorAllIn");
    EXPECT_EQ(d.subsectors->count(), 16);

    // Clicking the sector entry starts its subsectors afresh.
    d.Move(d.subsectors, "a", "rSubsectorOut");
    ClickRow(d.sectors, 0);
    EXPECT_EQ(Entries(d.subsectors), all);
    EXPECT_EQ(d.availableSubsectors->count(), 0);

    d.Click("rSectorAllIn");
    EXPECT_EQ(Entries(d.sectors), QStringList({"Spinward", "trailing"}));
    EXPECT_EQ(d.subsectors->count(), 0);
    EXPECT_EQ(d.SubsectorControls(), "off");
    d.Click("rSectorAllOut");
    EXPECT_EQ(Entries(d.availableSectors), QStringList({"Spinward", "trailing"}));
    EXPECT_EQ(d.SubsectorControls(), "off");

    // A sector renamed since the dialog was shown.
    d.Move(d.availableSectors, "Spinward", "rSectorIn");
    d.Move(d.availableSectors, "trailing", "rSectorIn");
    map.trailing->Name1 = "Trailing";
    d.subsectors->clear();
    ClickRow(d.sectors, 1);
    EXPECT_EQ(d.prompter.Log, QStringList({"info: Invalid Sector Pointer"}));
    EXPECT_EQ(d.subsectors->count(), 0);
}

TEST(QueryDialog, AQueryShowsTheMatchingSystemsWithinTheScopeAndRepaintsTheMap) {
    QueryMap map;
    QueryDialog d;
    d.Open(map);
    d.Run("LEVEL_STARPORT < 2");
    EXPECT_EQ(VisibleStars(*map.universe), QStringList({"Regina", "efate", "Jenghe"}));
    EXPECT_EQ(Find<QLabel>(d.dialog, "rQueryResult")->text(), "The last query left 3 of 4 systems visible.");
    EXPECT_TRUE(map.universe->MapDirty);
    EXPECT_FALSE(map.universe->ManagerRequiresSaving);
    EXPECT_EQ(d.mapChanges, 1);
    EXPECT_EQ(d.activity.Depth, 0);
    EXPECT_GE(d.activity.Uses, 1);

    // Sectors are compared without regard to case; one sector narrows by subsector.
    d.Move(d.sectors, "Spinward", "rSectorOut");
    map.trailing->Name1 = "TRAILING";
    d.Run("1");
    EXPECT_EQ(VisibleStars(*map.universe), QStringList({"Jenghe"}));
    map.trailing->Name1 = "trailing";
    d.Click("rSectorAllIn");
    d.Move(d.sectors, "trailing", "rSectorOut");
    d.Move(d.subsectors, "a", "rSubsectorOut");
    d.Run("1");
    EXPECT_EQ(VisibleStars(*map.universe), QStringList({"Alell"}));

    // With no sector to query nothing matches; an empty text is 0.
    d.Click("rSectorAllOut");
    d.Run("1");
    EXPECT_TRUE(VisibleStars(*map.universe).isEmpty());
    d.Click("rSectorAllIn");
    d.Run("");
    EXPECT_TRUE(VisibleStars(*map.universe).isEmpty());
    EXPECT_TRUE(d.prompter.Log.isEmpty());
}

TEST(QueryDialog, AMapOfOneSectorIsQueriedWholeFromTheStart) {
    QueryMap map;
    TManager::Destroy(map.trailing);
    QueryDialog d;
    d.Open(map);
    EXPECT_EQ(d.SubsectorControls(), "on");
    EXPECT_EQ(d.subsectors->count(), 16);
    d.Run("1");
    EXPECT_EQ(VisibleStars(*map.universe), QStringList({"Regina", "efate", "Alell"}));
}

TEST(QueryDialog, VisibleSystemsOnlyNarrowsThePreviousResult) {
    QueryMap map;
    QueryDialog d;
    d.Open(map);
    d.visibleOnly->setChecked(true);
    d.Run("LEVEL_STARPORT < 2");
    d.Run("LEVEL_STARPORT < 2");
    EXPECT_EQ(VisibleStars(*map.universe), QStringList({"Regina", "efate", "Jenghe"}));
    d.Run("LEVEL_STARPORT > 0");
    EXPECT_EQ(VisibleStars(*map.universe), QStringList({"efate"}));
}

TEST(QueryDialog, RefusalsAndErrorsLeaveTheMapAndTheEngineClean) {
    QueryMap map;
    QueryDialog d;
    d.Open(map);
    // Eleven names, two of them only inside longer words (IS_AG, IS_IND).
    d.Run("LEVEL_STARPORT + LEVEL_TECHLEVEL + LEVEL_PLANETSIZE + LEVEL_ATMOSPHERE + LEVEL_HYDROGRAPHICS + "
          "LEVEL_POPULATION + LEVEL_GOVERNMENT + LEVEL_LAW_LEVEL + LEVEL_SPACEPORT + IS_AGX + IS_INDY");
    EXPECT_EQ(d.prompter.Log, QStringList({"info: Can only perform queries of 10 or less parameters"}));
    EXPECT_EQ(VisibleStars(*map.universe).size(), 4);
    EXPECT_FALSE(map.universe->MapDirty);
    EXPECT_EQ(d.mapChanges, 0);

    d.Run("level_starport < 2");  // lower case is no variable
    ASSERT_EQ(d.prompter.Log.size(), 2);
    EXPECT_TRUE(d.prompter.Log[1].startsWith("error: Syntax error at pos ")) << d.prompter.Log[1].toStdString();
    EXPECT_EQ(VisibleStars(*map.universe).size(), 4);
    EXPECT_FALSE(map.universe->MapDirty);
    EXPECT_EQ(d.dialog.Engine().Lib.Aliases.EntryCount(), 0);
    EXPECT_EQ(d.activity.Depth, 0);

    d.Run("LEVEL_STARPORT = 2");
    EXPECT_EQ(VisibleStars(*map.universe), QStringList({"Alell"}));
    EXPECT_EQ(d.dialog.Engine().Lib.Aliases.EntryCount(), 0);
    EXPECT_EQ(d.prompter.Log.size(), 2);
}

TEST(QueryDialog, EnterInTheFormulaRunsTheQueryAndExecuteReportsAChange) {
    QueryMap map;
    QueryDialog d;
    bool changed = true;
    WhenModal("Query Survey Chart", [&](QDialog& dialog) { Find<QPushButton>(dialog, "rClose")->click(); });
    changed = d.dialog.Execute(*map.universe);
    EXPECT_FALSE(changed);  // closed without a query

    WhenModal("Query Survey Chart", [&](QDialog& dialog) {
        auto* text = Find<QPlainTextEdit>(dialog, "rQueryText");
        text->setPlainText("LEVEL_STARPORT");
        text->moveCursor(QTextCursor::End);
        QTest::keyClick(text, Qt::Key_Return);
        EXPECT_EQ(text->toPlainText(), "LEVEL_STARPORT");  // no line break
        Find<QPushButton>(dialog, "rClose")->click();
    });
    changed = d.dialog.Execute(*map.universe);
    EXPECT_TRUE(changed);
    EXPECT_EQ(VisibleStars(*map.universe), QStringList({"efate", "Alell"}));
}

}  // namespace
