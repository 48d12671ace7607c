// The voyage planner dialog: planning from the controls, the table, the
// messages, ship profiles kept in the settings, a route made of the
// itinerary, and the CSV file.

#include "Activity.h"
#include "DialogTesting.h"
#include "PlanVoyage.h"
#include "ScriptedPrompter.h"
#include "TestUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace hexlane::ui;
using namespace uitest;

namespace {

struct CountingActivity final : Activity {
    int Depth = 0, Uses = 0;
    void BeginBusy() override { ++Depth, ++Uses; }
    void EndBusy() override { --Depth; }
    void Progress(int) override {}
    void Status(const QString&) override {}
};

// Along row 1, two parsecs apart: Port (class C), Giant (gas giant, amber,
// of the Red League), Dry and Far (nothing to buy).
struct VoyageMap {
    std::unique_ptr<TUniverse> u = TUniverse::CreateNew();
    VoyageMap() {
        TSector* s = testutil::AddSector(*u, "Reach", 1, 1);
        TAllegiance* league = u->Allegiances()->Create<TAllegiance>();
        league->Name1 = "Red League";
        league->ImportCode = "RL";
        testutil::AddStar(*s, "Port", 1, 1, "500555")->Starport = "C";
        TStar* giant = testutil::AddStar(*s, "Giant", 3, 1, "500555");
        giant->SystemContent = 0x80;
        giant->TravelZoneCode = tzcAmber;
        giant->Allegiance = "Red League";
        testutil::AddStar(*s, "Dry", 5, 1, "500555")->Starport = "X";
        testutil::AddStar(*s, "Far", 7, 1, "500555")->Starport = "X";
        u->ComputeExtent();
    }
};

struct Dialog {
    ScriptedPrompter prompter;
    CountingActivity activity;
    TfPlanVoyage dialog{prompter, &activity};
    template <class W>
    W* Get(const char* name) {
        return Find<W>(dialog, QString::fromLatin1(name));
    }
    void Click(const char* name) { Get<QPushButton>(name)->click(); }
    QStringList Row(int row) {
        QStringList cells;
        auto* table = Get<QTableWidget>("rItinerary");
        for (int c = 0; c < table->columnCount(); ++c) cells << table->item(row, c)->text();
        return cells;
    }
};

}  // namespace

TEST(PlanVoyageDialog, PlansFromTheControlsAndShowsTheItinerary) {
    VoyageMap map;
    Dialog d;
    int changes = 0;
    QObject::connect(&d.dialog, &TfPlanVoyage::itineraryChanged, [&] { ++changes; });
    d.dialog.Load(*map.u, map.u->FindStar("Port"), nullptr);
    EXPECT_EQ(d.Get<QLineEdit>("rFrom")->text(), "Port");
    EXPECT_EQ(d.Get<QListWidget>("rAvoidAllegiances")->item(0)->text(), "Red League (RL)");
    d.Get<QLineEdit>("rTo")->setText("Dry");
    d.Get<QSpinBox>("rFuelNow")->setValue(0);
    d.Click("rPlan");
    ASSERT_TRUE(d.dialog.Plan().Found) << d.prompter.Last().toStdString();
    EXPECT_EQ(d.Row(0), QStringList({"Port", "Reach", "0101", "0", "unrefined", "40", "4100", "0"}));
    EXPECT_EQ(d.Row(1), QStringList({"Giant", "Reach", "0301", "2", "gas", "40", "0", "7"}));
    EXPECT_EQ(d.Row(2), QStringList({"Dry", "Reach", "0501", "2", "", "", "0", "15"}));
    EXPECT_EQ(d.Get<QLabel>("rTotals")->text(), "Total: 2 jumps, 4 parsecs, Cr4100, 15 days");
    EXPECT_EQ(d.dialog.ItineraryHexPath().size(), 3u);
    EXPECT_GE(changes, 1);
    EXPECT_EQ(d.activity.Depth, 0);
    EXPECT_EQ(d.activity.Uses, 1);

    // Avoiding the Red League leaves no way; the table empties and says why.
    d.Get<QListWidget>("rAvoidAllegiances")->item(0)->setCheckState(Qt::Checked);
    d.Click("rPlan");
    EXPECT_FALSE(d.dialog.Plan().Found);
    EXPECT_EQ(d.Get<QTableWidget>("rItinerary")->rowCount(), 0);
    EXPECT_EQ(d.prompter.Last(), "info: No route to Dry (Reach 0501). The nearest system the ship can reach is Port "
                                 "(Reach 0101), 4 parsecs from it.");
    EXPECT_FALSE(d.Get<QPushButton>("rCreateRoute")->isEnabled());

    // A waypoint is never avoided; unknown names are said before planning.
    d.Get<QLineEdit>("rWaypointName")->setText("Nowhere");
    d.Click("rAddWaypoint");
    EXPECT_EQ(d.prompter.Last(), "info: No system is named \"Nowhere\".");
    d.Get<QLineEdit>("rWaypointName")->setText("Giant");
    d.Click("rAddWaypoint");
    d.Click("rPlan");
    EXPECT_TRUE(d.dialog.Plan().Found);
}

TEST(PlanVoyageDialog, ProfilesAreKeptInTheSettings) {
    VoyageMap map;
    {
        Dialog d;
        d.dialog.Load(*map.u);
        d.Get<QComboBox>("rProfile")->setCurrentText("Far Trader");
        d.Get<QSpinBox>("rHull")->setValue(400);
        d.Get<QSpinBox>("rJump")->setValue(3);
        d.Get<QSpinBox>("rTank")->setValue(6);
        d.Get<QSpinBox>("rFuelNow")->setValue(5);
        d.Click("rSaveProfile");
        d.Get<QComboBox>("rProfile")->setCurrentText("Scout");
        d.Get<QSpinBox>("rHull")->setValue(100);
        d.Click("rSaveProfile");
    }
    Dialog d;
    d.dialog.Load(*map.u);
    auto* profile = d.Get<QComboBox>("rProfile");
    ASSERT_EQ(profile->count(), 2);
    EXPECT_EQ(profile->currentText(), "Scout");  // the last one used
    EXPECT_EQ(d.Get<QSpinBox>("rHull")->value(), 100);
    profile->textActivated("Far Trader");
    EXPECT_EQ(d.Get<QSpinBox>("rHull")->value(), 400);
    EXPECT_EQ(d.Get<QSpinBox>("rTank")->value(), 6);
    EXPECT_EQ(d.Get<QSpinBox>("rFuelNow")->value(), 5);
    d.Click("rDeleteProfile");
    EXPECT_EQ(profile->count(), 1);
}

TEST(PlanVoyageDialog, CreatesARouteAndSavesCsv) {
    VoyageMap map;
    Dialog d;
    int routesMade = 0;
    d.dialog.SetRunEdit([&](const std::function<void()>& create) {
        create();
        ++routesMade;
    });
    d.dialog.Load(*map.u, map.u->FindStar("Port"), map.u->FindStar("Far"));
    d.Get<QSpinBox>("rTank")->setValue(4);
    d.Get<QSpinBox>("rFuelNow")->setValue(4);
    d.Get<QCheckBox>("rGas")->setChecked(false);
    d.Click("rPlan");
    ASSERT_TRUE(d.dialog.Plan().Found);

    d.prompter.InputAnswers.push_back(QString("Trade Run"));
    d.Click("rCreateRoute");
    EXPECT_EQ(d.prompter.Last(), "input: Create Route|Route Name|Voyage Port to Far");
    EXPECT_EQ(routesMade, 1);
    TRoute* route = map.u->FindRoute("Trade Run");
    ASSERT_NE(route, nullptr);
    std::vector<std::string> legs;
    for (TRouteLeg* leg : route->ChildrenOf<TRouteLeg>()) legs.push_back(std::string(leg->SStarName) + ">" + std::string(leg->EStarName));
    EXPECT_EQ(legs, (std::vector<std::string>{"Port>Giant", "Giant>Dry", "Dry>Far"}));

    QTemporaryDir dir;
    const QString path = dir.filePath("voyage.csv");
    d.prompter.SaveAnswers.push_back(path);
    d.Click("rSaveCsv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()),
              "Stop,Sector,Hex,Parsecs,Refuel,Tons,Credits,Day\n"
              "Port,Reach,0101,0,,,0,0\n"
              "Giant,Reach,0301,2,unrefined,40,5000,7\n"
              "Dry,Reach,0501,2,,,0,14\n"
              "Far,Reach,0701,2,,,0,21\n"
              "Total,,,6,,,5000,21\n");
    EXPECT_TRUE(d.prompter.AllAnswersUsed());
}

// Of two systems of one name, the one picked on the map is meant; a name
// typed means the first of that name in map order.
TEST(PlanVoyageDialog, APickedSystemIsTheOneClickedAmongNamesakes) {
    VoyageMap map;
    TStar* second = testutil::AddStar(*map.u->FindSector("Reach"), "Port", 1, 3, "500555");
    map.u->ComputeExtent();
    const TStar* first = map.u->FindStar("Port");
    ASSERT_NE(first, second);
    Dialog d;
    d.dialog.Load(*map.u, map.u->FindStar("Giant"), nullptr);
    for (const char* spin : {"rJump", "rTank", "rFuelNow"}) d.Get<QSpinBox>(spin)->setValue(4);
    for (const TStar* picked : {static_cast<const TStar*>(second), first}) {
        d.dialog.StartPick(TfPlanVoyage::PickTarget::To);
        d.dialog.TakePick(*picked);
        d.Click("rPlan");
        ASSERT_TRUE(d.dialog.Plan().Found) << d.prompter.Last().toStdString();
        EXPECT_EQ(d.dialog.ItineraryHexPath().back(), std::make_pair(picked->HexX, picked->HexY));
    }
    d.Get<QLineEdit>("rTo")->setText("Port");  // typed: the first
    emit d.Get<QLineEdit>("rTo")->textEdited("Port");
    d.dialog.StartPick(TfPlanVoyage::PickTarget::To);
    QTest::keyClick(&d.dialog, Qt::Key_Escape);  // ends the picking only
    EXPECT_EQ(d.dialog.Picking(), TfPlanVoyage::PickTarget::None);
    d.Click("rPlan");
    EXPECT_EQ(d.dialog.ItineraryHexPath().back(), std::make_pair(first->HexX, first->HexY));
}
