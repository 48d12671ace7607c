// The voyage planner from the main window: System > "Plan Voyage...", the
// dialog opened with a start, and its route as one undo step.

#include "MainformFixture.h"

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
