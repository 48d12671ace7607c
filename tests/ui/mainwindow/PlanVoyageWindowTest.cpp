// The voyage planner from the main window: System > "Plan Voyage...", the
// dialog opened with a start, its route as one undo step, and its line
// over the map.

#include "MainformFixture.h"
#include "MapRenderer.h"
#include "MapView.h"
#include "PlanVoyage.h"
#include "VoyageLayer.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

TEST_F(MainformTest, PlanVoyageMakesARouteAsOneUndoStep) {
    Open(Write(*SmallMap(), "small.map"));
    EXPECT_TRUE(Action("rPlanVoyage"));
    window->RefreshIfDirty();
    const std::size_t routes = window->Universe().Routes()->Children().size();
    prompter.InputAnswers = {QString("Trip")};
    WhenModal("Plan Voyage", [](QDialog& dialog) {
        EXPECT_EQ(Control<QLineEdit>(dialog, "rFrom")->text(), "Home");
        Control<QLineEdit>(dialog, "rTo")->setText("Far");
        Control<QSpinBox>(dialog, "rJump")->setValue(6);
        Control<QSpinBox>(dialog, "rTank")->setValue(6);
        Control<QSpinBox>(dialog, "rFuelNow")->setValue(6);
        Control<QPushButton>(dialog, "rPlan")->click();
        Control<QPushButton>(dialog, "rCreateRoute")->click();
        Control<QPushButton>(dialog, "rClose")->click();
    });
    window->PlanVoyageFrom(*window->Universe().FindStar("Home"));
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
    WhenModal("Plan Voyage", [&](QDialog& dialog) {
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
    });
    window->PlanVoyageFrom(*u.FindStar("Home"));
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
