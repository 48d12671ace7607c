// The print and export scope dialog: the part of the map and the pages as
// chosen, the title line that follows the chosen part, the choices kept for
// the next dialog, the controls each format takes; and the export chooser's
// extension for a bare name.

#include "DialogTesting.h"
#include "PrintScopeDialog.h"
#include "Prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

namespace {

const std::vector<std::string> kSectors = {"Alpha", "Gamma"};
const std::vector<std::pair<std::string, std::string>> kSubsectors = {{"Alpha", "Core"}, {"Gamma", "Rim"}};

}  // namespace

TEST(PrintScopeDialog, AcceptedChoicesComeBackInTheNextDialog) {
    {
        PrintScopeDialog d;
        d.Load(kSectors, kSubsectors, "My Map");
        uitest::WhenShown("Print", [](QDialog& shown) {
            auto* list = Find<QComboBox>(shown, "rSubsectorList");
            list->setCurrentIndex(1);
            emit list->activated(1);
            Find<QComboBox>(shown, "rStyle")->setCurrentIndex(1);
            Find<QComboBox>(shown, "rDetail")->setCurrentIndex(2);
            Find<QComboBox>(shown, "rOrientation")->setCurrentIndex(2);
            Find<QRadioButton>(shown, "rPoster")->setChecked(true);
            Find<QSpinBox>(shown, "rHexSize")->setValue(64);
            Find<QDoubleSpinBox>(shown, "rOverlap")->setValue(6);
            Find<QDoubleSpinBox>(shown, "rMargin")->setValue(4);
            Find<QCheckBox>(shown, "rLegend")->setChecked(false);
            Find<QCheckBox>(shown, "rPageNumbers")->setChecked(false);
            Find<QPushButton>(shown, "rOK")->click();
        });
        ASSERT_TRUE(d.Execute("Print"));
    }
    namespace r = hexlane::render;
    const struct {
        std::vector<std::pair<std::string, std::string>> subsectors;
        PrintScope scope;
    } cases[] = {
        {kSubsectors, PrintScope::Subsector},
        {{{"Alpha", "Core"}}, PrintScope::WholeMap},  // the remembered one is gone
    };
    for (const auto& c : cases) {
        PrintScopeDialog d;
        d.Load(kSectors, c.subsectors, "My Map");
        const PrintChoice choice = d.Choice();
        EXPECT_EQ(choice.Scope, c.scope);
        EXPECT_EQ(choice.Subsector, c.scope == PrintScope::Subsector ? "Rim" : "");
        EXPECT_EQ(choice.Setup.ExactArea, c.scope == PrintScope::Subsector);
        EXPECT_EQ(choice.Setup.Look.Style, r::PictureStyle::Atlas);
        EXPECT_EQ(choice.Setup.Look.Detail, r::DetailChoice::Names);
        EXPECT_FALSE(choice.Setup.Look.Legend);
        EXPECT_EQ(choice.Setup.Orientation, r::PageOrientation::Landscape);
        EXPECT_EQ(choice.Setup.Mode, r::PageMode::Poster);
        EXPECT_EQ(choice.Setup.HexSize, 64);
        EXPECT_EQ(choice.Setup.OverlapMm, 6);
        EXPECT_EQ(choice.Setup.MarginMm, 4);
        EXPECT_FALSE(choice.Setup.PageNumbers);
    }
}

TEST(PrintScopeDialog, PaperTakesPagesAndPicturesTakePixels) {
    namespace r = hexlane::render;
    PrintScopeDialog d;
    d.Load(kSectors, kSubsectors, "My Map");
    d.SetMeasure([](const PrintChoice&) { return QRectF(0, 0, 24, 30); }, QPageSize(QPageSize::A4));
    const struct {
        r::PictureFormat format;
        bool paper;
        const char* line;  // the start of the line of pages or pixels
    } cases[] = {
        {r::PictureFormat::Print, true, "1 page of A4"},
        {r::PictureFormat::Pdf, true, "1 page of A4"},
        {r::PictureFormat::Png, false, "1200 x 1500 pixels; a hex is 13.2 mm at 96"},
        {r::PictureFormat::Svg, false, "1200 x 1500 pixels"},
    };
    Find<QSpinBox>(d, "rHexSize")->setValue(50);
    for (const auto& c : cases) {
        d.SetFormat(c.format);
        for (const char* name : {"rFitPage", "rPoster", "rOrientation", "rMargin", "rPageNumbers"})
            EXPECT_EQ(Find<QWidget>(d, name)->isEnabled(), c.paper) << name;
        EXPECT_EQ(Find<QWidget>(d, "rPixelsPerInch")->isEnabled(), !c.paper);
        EXPECT_EQ(Find<QWidget>(d, "rHexSize")->isEnabled(), !c.paper);  // fitted paper takes no hex size
        EXPECT_TRUE(Find<QLabel>(d, "rPlanLine")->text().startsWith(c.line)) << Find<QLabel>(d, "rPlanLine")->text().toStdString();
        EXPECT_EQ(d.Choice().Setup.Mode, r::PageMode::Fit);
    }
}

TEST(ExportChooser, ABareNameTakesTheSelectedFiltersExtension) {
    const struct {
        const char *path, *filter, *expected;
    } cases[] = {
        {"/m/map", "PNG Files (*.png)", "/m/map.png"},
        {"/m/map", "SVG Files (*.svg)", "/m/map.svg"},
        {"/m/map.", "PDF Files (*.pdf)", "/m/map.pdf"},
        {"/m/map.pdf", "PNG Files (*.png)", "/m/map.pdf"},  // a typed extension stays
        {"/m.d/map", "PNG Files (*.png)", "/m.d/map.png"},
        {"/m/map", "All Files (*)", "/m/map"},
    };
    for (const auto& c : cases) EXPECT_EQ(WithFilterExtension(c.path, c.filter), c.expected) << c.path;
}
