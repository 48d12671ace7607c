// The polity borders layer: its shapes in the display list, its inks in the
// 16-colour raster, and the tool's --show borders.

#include "BordersLayer.h"
#include "MapLayout.h"
#include "MapRenderer.h"
#include "MapStyle.h"
#include "Palette.h"
#include "RenderFixtures.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace hexlane::render;

namespace {

// Two polities of two systems each, far apart, in a red and a blue just off
// the palette, and a non-aligned pair that claims nothing.
std::unique_ptr<TUniverse> PolityUniverse() {
    auto u = TUniverse::CreateNew();
    renderfix::AddAllegiance(*u, "Aurelia", 0x0000E0, bsSolid)->ImportCode = "Au";
    renderfix::AddAllegiance(*u, "Brisk League", 0xE00000, bsSolid)->ImportCode = "Bl";
    renderfix::AddAllegiance(*u, "Drifters", 0x00FF00, bsSolid)->ImportCode = "NaDr";
    TSector* s = renderfix::AddSector(*u, "Gamma", 1, 1);
    const struct {
        const char *name, *port, *allegiance;
        int column, row;
    } stars[] = {{"Aure", "A", "Aurelia", 4, 4},        {"Bastion", "B", "Aurelia", 5, 6},
                 {"Brisk", "C", "Brisk League", 16, 12}, {"Carrow", "C", "Brisk League", 17, 13},
                 {"Drift", "D", "Drifters", 10, 18},     {"Eddy", "D", "Drifters", 11, 18}};
    for (const auto& st : stars) {
        TStar* star = renderfix::AddStar(*s, st.name, st.column, st.row);
        star->Starport = st.port;
        star->Allegiance = st.allegiance;
    }
    u->ComputeExtent();
    u->ShowBorders = true;
    return u;
}

}  // namespace

TEST(Borders, ClosedLinesInThePolitysInksAndNamesWhereTextIsDrawn) {
    auto u = PolityUniverse();
    std::size_t loops = 0;
    for (const auto& r : regions::ComputeRegions(*u))
        for (const auto& piece : r.Pieces) loops += piece.Outlines.size();
    const struct {
        int hexSize;
        bool shown, names;
    } cases[] = {{30, false, false}, {10, true, false}, {30, true, true}, {90, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hexSize);
        u->ShowBorders = c.shown;
        u->SetHexSize(c.hexSize);
        const DisplayList list = LayoutMap(*u).Picture;
        std::map<QRgb, QRgb> inks;  // true colour -> palette ink
        QStringList texts;
        std::size_t lines = 0;
        for (const Shape& s : list.Shapes) {
            if (s.Kind == ShapeKind::Text) texts << list.TextOf(s);
            if (s.Kind != ShapeKind::Polyline) continue;
            ++lines;
            inks[s.Pen.True] = s.Pen.Palette;
            EXPECT_EQ(s.Width, kBorderWidth);
            ASSERT_GT(s.Count, 6u);
            EXPECT_EQ(list.Points[s.First], list.Points[s.First + s.Count - 1]);
        }
        EXPECT_EQ(lines, c.shown ? loops : 0);
        if (c.shown) {
            EXPECT_EQ(inks, (std::map<QRgb, QRgb>{{MapColourToRgb(0x0000E0), kInkRed}, {MapColourToRgb(0xE00000), kInkBlue}}));
        }
        EXPECT_EQ(texts.contains("AURELIA") && texts.contains("BRISK LEAGUE"), c.names);
        EXPECT_FALSE(texts.contains("DRIFTERS"));
    }
}

TEST(Borders, TheRasterDrawsThemInTheNearestPaletteInk) {
    auto u = PolityUniverse();
    u->SetHexSize(30);
    const MapRenderer r(*u);
    const QImage image = r.Render(QRect(QPoint(0, 0), r.PictureSize()));
    const DisplayList& list = r.Layout().Picture;
    int checked = 0;
    for (const Shape& s : list.Shapes)
        for (std::uint32_t k = s.First; s.Kind == ShapeKind::Polyline && k + 1 < s.First + s.Count; ++k) {
            // The middle of each side is on the line; the picture ends at the last system's hex.
            const QPoint mid = (list.Points[k] + list.Points[k + 1]) / 2;
            if (!image.rect().contains(mid)) continue;
            ++checked;
            EXPECT_EQ(image.pixel(mid) | 0xFF000000, s.Pen.Palette) << mid.x() << "," << mid.y();
        }
    EXPECT_GT(checked, 20);
}

#if defined(HEXLANE_TOOL)
TEST(Borders, TheToolDrawsThemOnlyWhenAsked) {
    QTemporaryDir dir;
    const QString map = dir.filePath("polities.map");
    std::string message;
    ASSERT_TRUE(PolityUniverse()->SaveToFile(map.toStdString(), message)) << message;
    auto render = [&](const QString& show) {
        QProcess p;
        p.start(QStringLiteral(HEXLANE_TOOL), {"render", map, dir.filePath("out.png"), "--hex", "30", "--show", show});
        p.waitForFinished(60000);
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QImage(dir.filePath("out.png")).convertToFormat(QImage::Format_RGB32);
    };
    auto u = PolityUniverse();
    u->SetHexSize(30);
    renderfix::ShowEverything(*u);
    const MapRenderer r(*u);  // the editor's picture of the same layers
    const QImage bordered = render("all,borders");
    EXPECT_EQ(bordered, r.Render(QRect(QPoint(0, 0), r.PictureSize())));
    EXPECT_NE(render("all"), bordered);
}
#endif
