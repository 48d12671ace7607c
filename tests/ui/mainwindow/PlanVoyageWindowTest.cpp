// The voyage planner from the main window: System > "Plan Voyage...", the
// window opened with a start beside the map, its route as one undo step, its
// line over the map, systems picked on the map, and the map replaced under it.

#include "MainformFixture.h"
#include "MapRenderer.h"
#include "MapView.h"
#include "PlanVoyage.h"
#include "VoyageLayer.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

using hexlane::ui::TfPlanVoyage;
using Pick = TfPlanVoyage::PickTarget;

TEST_F(MainformTest, PlanVoyageMakesARouteAsOneUndoStep) {
    Open(Write(*SmallMap(), "small.map"));
    EXPECT_TRUE(Action("rPlanVoyage"));
    window->RefreshIfDirty();
    const std::size_t routes = window->Universe().Routes()->Children().size();
    prompter.InputAnswers = {QString("Trip")};
    window->PlanVoyageFrom(*window->Universe().FindStar("Home"));
    QDialog& dialog = *window->PlanVoyageDialog();
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(Control<QLineEdit>(dialog, "rFrom")->text(), "Home");
    Control<QLineEdit>(dialog, "rTo")->setText("Far");
    Control<QSpinBox>(dialog, "rJump")->setValue(6);
    Control<QSpinBox>(dialog, "rTank")->setValue(6);
    Control<QSpinBox>(dialog, "rFuelNow")->setValue(6);
    Control<QPushButton>(dialog, "rPlan")->click();
    Control<QPushButton>(dialog, "rCreateRoute")->click();
    Control<QPushButton>(dialog, "rClose")->click();
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_NE(window->Universe().FindRoute("Trip"), nullptr);
    EXPECT_EQ(Action("rUndo")->text(), "&Undo Create Route");
    Action("rUndo")->trigger();
    EXPECT_EQ(window->Universe().FindRoute("Trip"), nullptr);
    EXPECT_EQ(window->Universe().Routes()->Children().size(), routes);
}

namespace {

// Whether the map view's picture holds the voyage's line.
bool MapShowsVoyage(const hexlane::ui::MapView& view) {
    if (!view.Renderer()) return false;
    for (const auto& s : view.Renderer()->Layout().Picture.Shapes)
        if (s.Kind == hexlane::render::ShapeKind::Polyline && s.Pen.True == hexlane::render::kInkVoyage) return true;
    return false;
}

}  // namespace

TEST_F(MainformTest, TheItineraryShowsOnTheMapUntilCleared) {
    Open(Write(*SmallMap(), "small.map"));
    const TUniverse& u = window->Universe();
    std::vector<std::pair<int, int>> planned;
    auto planToFar = [](QDialog& dialog) {
        Control<QLineEdit>(dialog, "rTo")->setText("Far");
        Control<QSpinBox>(dialog, "rJump")->setValue(6);
        Control<QSpinBox>(dialog, "rTank")->setValue(6);
        Control<QSpinBox>(dialog, "rFuelNow")->setValue(6);
        Control<QPushButton>(dialog, "rPlan")->click();
    };
    window->PlanVoyageFrom(*u.FindStar("Home"));
    QDialog& dialog = *window->PlanVoyageDialog();
    planToFar(dialog);
    planned = window->PlanVoyageDialog()->ItineraryHexPath();
    EXPECT_EQ(u.VoyageLine, planned);
    // A plan that fails takes the line away; the next one puts it back.
    Control<QLineEdit>(dialog, "rTo")->setText("Vega");
    Control<QSpinBox>(dialog, "rJump")->setValue(1);
    Control<QSpinBox>(dialog, "rTank")->setValue(1);
    Control<QPushButton>(dialog, "rPlan")->click();
    EXPECT_TRUE(u.VoyageLine.empty());
    planToFar(dialog);
    Control<QPushButton>(dialog, "rClose")->click();
    // Kept once the dialog closes, so that the map prints and exports with it.
    ASSERT_EQ(planned.size(), 2u);
    EXPECT_EQ(u.VoyageLine, planned);
    window->RefreshIfDirty();
    EXPECT_TRUE(MapShowsVoyage(*window->Map()));
    // Not map data: the document is unchanged.
    EXPECT_FALSE(Action("rUndo")->isEnabled());

    Action("rClearVoyageLine")->trigger();
    EXPECT_TRUE(u.VoyageLine.empty());
    window->RefreshIfDirty();
    EXPECT_FALSE(MapShowsVoyage(*window->Map()));
}

namespace {

QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
    return texts;
}

}  // namespace

// Each Pick on Map button makes the next click on a system of the map fill
// its own field or list; the status line says what is picked; a click on
// empty space waits on; Escape ends the picking and adds nothing.
TEST_F(MainformTest, SystemsPickedOnTheMapGoToTheListPicked) {
    Open(Write(*SmallMap(), "small.map"));
    Action("rPlanVoyage")->trigger();
    TfPlanVoyage& planner = *window->PlanVoyageDialog();
    auto at = [this](const char* name) { return QPoint(Star(name)->PictureX, Star(name)->PictureY); };
    auto text = [&](const char* field) { return Control<QLineEdit>(planner, field)->text(); };
    auto list = [&](const char* name) { return Texts(Control<QListWidget>(planner, name)).join(","); };
    struct Case {
        const char* button;
        const char* star;
        const char* status;
        std::function<QString()> result;
    } cases[] = {
        {"rPickFrom", "Rim", "click the start system", [&] { return text("rFrom"); }},
        {"rPickTo", "Vega", "click the destination", [&] { return text("rTo"); }},
        {"rPickWaypoint", "Far", "click a waypoint", [&] { return list("rWaypoints"); }},
        {"rPickAvoid", "Home", "click a system to avoid", [&] { return list("rAvoidSystems"); }},
    };
    for (const Case& c : cases) {
        Control<QPushButton>(planner, c.button)->click();
        EXPECT_TRUE(window->ModeText().contains(c.status)) << c.button << ": " << window->ModeText().toStdString();
        window->rImageClick(QPoint(1, 1));  // no system there: still picking
        EXPECT_NE(planner.Picking(), Pick::None) << c.button;
        EXPECT_TRUE(Control<QPushButton>(planner, c.button)->isChecked()) << c.button;
        window->rImageClick(at(c.star));
        EXPECT_EQ(c.result(), c.star) << c.button;
        EXPECT_EQ(planner.Picking(), Pick::None) << c.button;
        EXPECT_FALSE(Control<QPushButton>(planner, c.button)->isChecked()) << c.button;
        EXPECT_TRUE(window->ModeText().isEmpty());
    }
    EXPECT_FALSE(Action("rUndo")->isEnabled());  // picking edits nothing

    // A second click on the button, or Escape in the main window or in the
    // planner, ends picking and adds nothing.
    Control<QPushButton>(planner, "rPickWaypoint")->click();
    Control<QPushButton>(planner, "rPickWaypoint")->click();
    EXPECT_EQ(planner.Picking(), Pick::None);
    for (QWidget* where : {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(&planner)}) {
        Control<QPushButton>(planner, "rPickWaypoint")->click();
        if (where == window.get())
            Action("rCancelPicking")->trigger();
        else
            QTest::keyClick(where, Qt::Key_Escape);
        EXPECT_EQ(planner.Picking(), Pick::None);
        EXPECT_TRUE(window->ModeText().isEmpty());
        EXPECT_EQ(list("rWaypoints"), "Far");
    }
    EXPECT_TRUE(planner.isVisible());  // Escape while picking leaves the window open

    // The right-click menu of a system adds it while the planner is open.
    Trigger(window->ContextPopupAt(at("Rim")), "Add as Waypoint");
    Trigger(window->ContextPopupAt(at("Vega")), "Avoid This System");
    EXPECT_EQ(list("rWaypoints"), "Far,Rim");
    EXPECT_EQ(list("rAvoidSystems"), "Home,Vega");
    planner.close();
    QStringList items;
    for (QAction* a : window->ContextPopupAt(at("Rim"))->actions()) items << QString(a->text()).remove('&');
    EXPECT_FALSE(items.contains("Add as Waypoint"));
}

// Undo replaces the map in memory: the planner follows it and lets go of
// systems the restored map lacks; another map closes it and empties it.
TEST_F(MainformTest, TheMapReplacedUnderThePlannerLeavesNoStaleSystem) {
    Open(Write(*SmallMap(), "small.map"));
    Action("rPlanVoyage")->trigger();
    TfPlanVoyage& planner = *window->PlanVoyageDialog();
    // A system made after the planner opened, picked as a waypoint and avoided.
    window->Edit("Add Star", [this] { testutil::AddStar(*Sector("Gamma"), "Newcomer", 5, 6); });
    window->Universe().ComputeExtent();
    planner.AddSystem(Pick::Waypoint, *Star("Newcomer"));
    planner.AddSystem(Pick::Avoid, *Star("Newcomer"));
    planner.AddSystem(Pick::Waypoint, *Star("Rim"));
    planner.AddSystem(Pick::From, *Star("Newcomer"));
    planner.AddSystem(Pick::To, *Star("Far"));
    Control<QPushButton>(planner, "rPickAvoid")->click();

    Action("rUndo")->trigger();
    ASSERT_EQ(Star("Newcomer"), nullptr);
    EXPECT_TRUE(planner.isVisible());
    EXPECT_EQ(planner.Picking(), Pick::None);
    EXPECT_EQ(Texts(Control<QListWidget>(planner, "rWaypoints")), QStringList({"Rim"}));
    EXPECT_EQ(Control<QListWidget>(planner, "rAvoidSystems")->count(), 0);
    EXPECT_EQ(Control<QLineEdit>(planner, "rFrom")->text(), "");
    // It plans over the restored map.
    Control<QLineEdit>(planner, "rFrom")->setText("Home");
    Control<QPushButton>(planner, "rRemoveWaypoint")->click();
    for (const char* spin : {"rJump", "rTank", "rFuelNow"}) Control<QSpinBox>(planner, spin)->setValue(6);
    Control<QPushButton>(planner, "rPlan")->click();
    EXPECT_TRUE(planner.Plan().Found) << prompter.Last().toStdString();

    Control<QPushButton>(planner, "rPickWaypoint")->click();
    Open(Write(*SmallMap(), "other.map"));
    EXPECT_FALSE(planner.isVisible());
    EXPECT_EQ(planner.Picking(), Pick::None);
    EXPECT_TRUE(window->ModeText().isEmpty());
    EXPECT_FALSE(planner.Plan().Found);
    for (const char* name : {"rWaypoints", "rAvoidSystems", "rAvoidAllegiances"})
        EXPECT_EQ(Control<QListWidget>(planner, name)->count(), 0) << name;
    EXPECT_EQ(Control<QLineEdit>(planner, "rTo")->text(), "");
}
