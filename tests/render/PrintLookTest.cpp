// The print look: detail by the hex's size on paper, what each level puts in
// the list, exact parts, the atlas greys and the legend.

#include "MapPages.h"
#include "PrintStyle.h"
#include "RenderFixtures.h"
#include "SvgWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

using namespace hexlane::render;

namespace {

std::set<QString> Texts(const DisplayList& list) {
    std::set<QString> out;
    for (const Shape& s : list.Shapes)
        if (s.Kind == ShapeKind::Text) out.insert(QString(list.TextOf(s).constData(), s.Count));  // a copy
    return out;
}

int Count(const DisplayList& list, ShapeKind kind) {
    int n = 0;
    for (const Shape& s : list.Shapes) n += s.Kind == kind;
    return n;
}

MapLayout Print(const TUniverse& u, double mm, PictureStyle style = PictureStyle::Print, QRectF exact = {}) {
    PrintLook look;
    look.Style = style;
    return LayoutPrint(u, look, mm, exact);
}

}  // namespace

TEST(PrintLook, DetailFollowsTheHexSizeOnPaper) {
    const struct {
        DetailChoice Choice;
        double Mm;
        DetailLevel Want;
    } cases[] = {
        {DetailChoice::Auto, 3, DetailLevel::Dots},     {DetailChoice::Auto, 5.9, DetailLevel::Names},
        {DetailChoice::Auto, 14.9, DetailLevel::Names}, {DetailChoice::Auto, 20, DetailLevel::Full},
        {DetailChoice::Auto, 30, DetailLevel::FullUwp}, {DetailChoice::Dots, 30, DetailLevel::Dots},
        {DetailChoice::Names, 2, DetailLevel::Names},   {DetailChoice::Full, 6, DetailLevel::Full},
        {DetailChoice::Full, 40, DetailLevel::FullUwp},
    };
    for (const auto& c : cases) EXPECT_EQ(DetailFor(c.Choice, c.Mm), c.Want) << c.Mm;
}

TEST(PrintLook, EachLevelDrawsWhatItShould) {
    auto u = renderfix::SmallUniverse();
    const std::string& before = u->Sectors()->Children().front()->Children().front()->Name1;
    const struct {
        double Mm;
        bool Names, Numbers, Uwp;
        int Polygons;  // glyphs: Regina's naval star and scout triangle; Everything's and its square and diamond
    } cases[] = {{3, false, false, false, 0}, {6, true, true, false, 0}, {20, true, true, false, 6},
                 {30, true, true, true, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Mm);
        const MapLayout layout = Print(*u, c.Mm);
        const auto texts = Texts(layout.Picture);
        EXPECT_EQ(texts.count("Amberline"), c.Names ? 1u : 0u);
        EXPECT_EQ(texts.count("A"), c.Names ? 1u : 0u);  // a starport letter
        EXPECT_EQ(texts.count("0304"), c.Numbers ? 1u : 0u);
        EXPECT_EQ(texts.count("C5A4600-C"), c.Uwp ? 1u : 0u);
        EXPECT_EQ(Count(layout.Picture, ShapeKind::Polygon), c.Polygons);
        EXPECT_EQ(layout.Size, QSize(PictureSize(layout.Frame)));
    }
    EXPECT_EQ(u->Sectors()->Children().front()->Children().front()->Name1, before);
}

TEST(PrintLook, AnExactPartHoldsNoTextOfItsNeighbours) {
    auto u = TUniverse::CreateNew();
    TSector* s = renderfix::AddSector(*u, "Alpha", 1, 1);
    for (int column = 1; column <= 24; ++column)
        for (int row = 1; row <= 30; ++row)
            renderfix::AddStar(*s, "S" + std::to_string(column * 100 + row), column, row);
    u->ComputeExtent();
    renderfix::ShowEverything(*u);
    // Subsector F: columns 9-16, rows 11-20.
    const auto block = SubsectorHexes(*u, "Alpha", "Alpha F");
    ASSERT_TRUE(block);
    const auto texts = Texts(Print(*u, 20, PictureStyle::Print, *block).Picture);
    for (int column = 1; column <= 24; ++column)
        for (int row = 1; row <= 30; ++row) {
            const bool inside = column >= 9 && column <= 16 && row >= 11 && row <= 20;
            const std::string name = "S" + std::to_string(column * 100 + row);
            char number[8];
            std::snprintf(number, sizeof number, "%02d%02d", column, row);
            EXPECT_EQ(texts.count(QString::fromStdString(name)), inside ? 1u : 0u) << name;
            EXPECT_EQ(texts.count(QString::fromLatin1(number)), inside ? 1u : 0u) << number;
        }
    EXPECT_EQ(texts.count("Alpha F"), 1u);
    EXPECT_EQ(texts.count("Alpha G"), 0u);
    EXPECT_EQ(texts.count("Alpha"), 0u);  // the sector's name sits outside the subsector
}

TEST(PrintLook, TheAtlasIsAllGrey) {
    auto u = renderfix::RichUniverse();
    u->ShowBorders = true;
    u->VoyageLine = {{3, 3}, {5, 4}, {7, 7}};
    PrintLook look;
    look.Style = PictureStyle::Atlas;
    const MapLayout map = LayoutPrint(*u, look, 20), legend = LayoutLegend(*u, look, 20);
    for (const DisplayList* list : {&map.Picture, &legend.Picture}) {
        ASSERT_GT(list->Shapes.size(), 10u);
        for (const Shape& s : list->Shapes)
            for (QRgb c : {s.Pen.True, s.Brush.True})
                ASSERT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c)) << std::hex << c;
    }
    // Tints stay light, and coloured rings and lines no lighter than a mid grey.
    for (const Shape& s : map.Picture.Shapes) {
        if (s.Kind == ShapeKind::Hex) {
            EXPECT_GE(qRed(s.Brush.True), 200);
        }
        if (s.Kind == ShapeKind::Ellipse && s.Fill == 0) {
            EXPECT_LE(qRed(s.Pen.True), 130);
        }
    }
    // The colour look is not.
    bool colour = false;
    for (const Shape& s : Print(*u, 20).Picture.Shapes) colour |= qRed(s.Pen.True) != qBlue(s.Pen.True);
    EXPECT_TRUE(colour);
}

TEST(PrintLook, TheLegendFollowsTheLayersAndTheDetail) {
    auto u = renderfix::SmallUniverse();
    const struct {
        double Mm;
        bool Contents, Routes, Allegiance, Voyage;
        std::vector<QString> Present, Absent;
    } cases[] = {
        {20, true, true, true, true, {"Gas giant", "Naval base", "Trade", "Imperium", "Voyage", "Red zone"}, {"Nobody"}},
        {20, false, false, false, false, {"Red zone", "World with water"}, {"Gas giant", "Trade", "Imperium", "Voyage"}},
        {6, true, true, false, false, {"Red zone", "Trade"}, {"Gas giant", "Imperium"}},
        {3, true, false, false, false, {"World without water"}, {"Red zone", "Subsector capital"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Mm);
        u->ShowSystemContents = c.Contents;
        u->ShowRoutes = c.Routes;
        u->ShowAllegianceColors = c.Allegiance;
        u->VoyageLine.clear();
        if (c.Voyage) u->VoyageLine = {{3, 4}, {8, 7}};
        const MapLayout legend = LayoutLegend(*u, PrintLook{}, c.Mm);
        EXPECT_GT(legend.Size.width(), 0);
        const auto texts = Texts(legend.Picture);
        for (const QString& t : c.Present) EXPECT_EQ(texts.count(t), 1u) << t.toStdString();
        for (const QString& t : c.Absent) EXPECT_EQ(texts.count(t), 0u) << t.toStdString();
    }
    PrintLook none;
    none.Legend = false;
    EXPECT_EQ(LayoutLegend(*u, none, 20).Size, QSize(0, 0));
}

TEST(PrintLook, TheLegendStaysSmallAndTakesTheShapeAsked) {
    auto u = renderfix::SmallUniverse();
    renderfix::ShowEverything(*u);
    const struct {
        double Mm;
        int Rows;
        bool Wide;        // wider than high
        double MostHighMm;
    } cases[] = {
        {22.6, 2, true, 20}, {40, 3, true, 30}, {22.6, 1 << 20, false, 150}, {6, 2, true, 20}, {3, 1 << 20, false, 150},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Mm << " mm, " << c.Rows << " rows");
        const MapLayout legend = LayoutLegend(*u, PrintLook{}, c.Mm, c.Rows);
        const std::vector<QSize> sizes = LegendSizes(*u, PrintLook{}, c.Mm);  // what the page plans with
        EXPECT_EQ(sizes.at(std::min<std::size_t>(static_cast<std::size_t>(c.Rows), sizes.size()) - 1), legend.Size);
        const QSizeF mm = QSizeF(legend.Size) * (c.Mm / kPrintHexSize);
        EXPECT_EQ(mm.width() > mm.height(), c.Wide);
        EXPECT_LE(mm.height(), c.MostHighMm);
        // Every sample (the zone rings the largest) within its cell, every
        // label about 6 points or more.
        for (const Shape& s : legend.Picture.Shapes)
            if (s.Kind == ShapeKind::Ellipse) {
                EXPECT_LE((s.B.x() - s.A.x() + s.Width) * c.Mm / kPrintHexSize, kMostSampleMm + 0.1);
            }
        for (const FontSpec& f : legend.Picture.Fonts) {
            EXPECT_GE(f.Points * 96.0 / 72 * c.Mm / kPrintHexSize / 25.4 * 72, 5.5);
        }
    }
}

TEST(PrintLook, SvgDrawsDashedRingsFadedAndLeftAlignedText) {
    auto u = renderfix::SmallUniverse();
    const MapLayout layout = Print(*u, 20);
    std::FILE* f = std::tmpfile();
    ASSERT_TRUE(f);
    ASSERT_TRUE(WriteSvg(layout.Picture, f, QRect(QPoint(0, 0), layout.Size), 0.25, "t", {}));
    std::rewind(f);
    std::string svg;
    for (int ch; (ch = std::fgetc(f)) != EOF;) svg += static_cast<char>(ch);
    std::fclose(f);
    EXPECT_NE(svg.find("stroke-dasharray"), std::string::npos);     // the amber ring
    EXPECT_NE(svg.find("fill-opacity=\"0."), std::string::npos);     // faded subsector names
    EXPECT_NE(svg.find("font-weight=\"bold\""), std::string::npos);  // the capital
}

TEST(PrintLook, SymbolsAreToldApartWithoutColour) {
    auto u = renderfix::SmallUniverse();
    const MapLayout layout = Print(*u, 20, PictureStyle::Atlas);
    int amber = 0, red = 0, wet = 0, dry = 0;
    for (const Shape& s : layout.Picture.Shapes) {
        if (s.Kind != ShapeKind::Ellipse) continue;
        if (s.Fill == 0 && s.Style == LineStyle::Dash) ++amber;              // a dashed ring
        if (s.Fill == 0 && s.Style == LineStyle::Solid && s.Width >= 2) ++red;  // a thick solid ring
        if (IsDisc(s) && s.B.x() - s.A.x() > 10) ++wet;                      // a filled world
        if (s.Fill != 0 && !IsDisc(s) && s.Brush.True == 0xFFFFFFFF) ++dry;  // an outlined world
    }
    EXPECT_EQ(amber, 1);
    EXPECT_EQ(red, 1);
    // Six worlds besides the two belts and the hidden star; Edge and Far Corner have no water.
    EXPECT_EQ(wet, 4);
    EXPECT_EQ(dry, 2);
    // The edges of the grid: hairlines, subsector and sector lines, each heavier than the last.
    std::set<int> widths;
    for (const Shape& s : layout.Picture.Shapes)
        if (s.Kind == ShapeKind::Polyline) widths.insert(s.Width);
    EXPECT_GE(widths.size(), 3u);
}
