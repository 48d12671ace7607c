// The print and export scope dialog: the part of the map and the pages as
// chosen, and the title line that follows the chosen part.

#include "DialogTesting.h"
#include "PrintScopeDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace hexlane::ui;
using uitest::Find;

TEST(PrintScopeDialog, ChoiceFollowsTheControlsAndTheTitleTheChosenPart) {
    PrintScopeDialog d;
    d.Load({"Alpha", "Gamma"}, {{"Alpha", "Core"}, {"Gamma", "Rim"}}, "My Map");
    const struct {
        const char* scope;
        int entry;  // in the scope's list
        PrintScope expected;
        const char *sector, *subsector, *title;
    } cases[] = {
        {"rScopeWhole", -1, PrintScope::WholeMap, "", "", "My Map"},
        {"rScopeSector", 1, PrintScope::Sector, "Gamma", "", "Gamma"},
        {"rScopeSubsector", 1, PrintScope::Subsector, "Gamma", "Rim", "Gamma: Rim"},
        {"rScopeView", -1, PrintScope::View, "", "", "My Map"},
    };
    for (const auto& c : cases) {
        if (c.entry >= 0) {
            auto* list = Find<QComboBox>(d, c.expected == PrintScope::Sector ? "rSectorList" : "rSubsectorList");
            list->setCurrentIndex(c.entry);
            emit list->activated(c.entry);  // as a user's choice from the list
        } else {
            Find<QRadioButton>(d, c.scope)->setChecked(true);
        }
        const PrintChoice choice = d.Choice();
        EXPECT_EQ(choice.Scope, c.expected) << c.scope;
        EXPECT_EQ(choice.Sector, c.sector) << c.scope;
        EXPECT_EQ(choice.Subsector, c.subsector) << c.scope;
        EXPECT_EQ(choice.Setup.Title, c.title) << c.scope;
    }
    // A title of the user's own stays; pages and their parts as set.
    QTest::keyClicks(Find<QLineEdit>(d, "rTitleText"), " Plus");
    Find<QRadioButton>(d, "rScopeWhole")->setChecked(true);
    Find<QRadioButton>(d, "rPoster")->setChecked(true);
    Find<QSpinBox>(d, "rHexSize")->setValue(64);
    Find<QCheckBox>(d, "rPageNumbers")->setChecked(false);
    const PrintChoice choice = d.Choice();
    EXPECT_EQ(choice.Setup.Title, "My Map Plus");
    EXPECT_EQ(choice.Setup.Mode, hexlane::render::PageMode::Poster);
    EXPECT_EQ(choice.Setup.HexSize, 64);
    EXPECT_FALSE(choice.Setup.PageNumbers);
    Find<QCheckBox>(d, "rTitleLine")->setChecked(false);
    EXPECT_TRUE(d.Choice().Setup.Title.isEmpty());
}
