// The planned voyage over the map: its shapes in the display list at each
// zoom, drawn by every backend, and in exported pictures.

#include "DefineUniverse.h"
#include "MapExport.h"
#include "MapLayout.h"
#include "MapPainter.h"
#include "MapRenderer.h"
#include "MapStyle.h"
#include "RenderFixtures.h"
#include "SvgWriter.h"
#include "VoyageLayer.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

using namespace hexlane::render;

namespace {

// Regina -> Amberline -> Redstone of the small universe, as the planner gives them.
std::vector<std::pair<int, int>> Trip(const TUniverse& u) {
    std::vector<std::pair<int, int>> hexes;
    for (const char* name : {"Regina", "Amberline", "Redstone"}) {
        const TStar* s = u.FindStar(name);
        hexes.emplace_back(s->HexX, s->HexY);
    }
    return hexes;
}


}  // namespace

TEST(VoyageLayer, OneSegmentPerJumpAndARingPerStopOverEverythingElse) {
    auto u = renderfix::SmallUniverse();
    const struct {
        int hexSize, width;
    } cases[] = {{10, 2}, {30, 3}, {90, 6}};
    for (const auto& c : cases) {
        u->SetHexSize(c.hexSize);
        u->VoyageLine.clear();
        const MapLayout plain = LayoutMap(*u, c.hexSize);
        u->VoyageLine = Trip(*u);
        const MapLayout layout = LayoutMap(*u, c.hexSize);
        const DisplayList& list = layout.Picture;
        // The same picture with one group more, the last.
        ASSERT_EQ(list.Groups.size(), plain.Picture.Groups.size() + 1) << c.hexSize;
        const ShapeGroup& g = list.Groups.back();
        ASSERT_EQ(g.End - g.First, 4u) << c.hexSize;
        const Shape& line = list.Shapes[g.First];
        EXPECT_TRUE(line.Kind == ShapeKind::Polyline && line.Count == 3u && line.Pen == Ink::Both(kInkVoyage));
        EXPECT_EQ(line.Width, c.width) << c.hexSize;
        for (std::uint32_t i = 0; i < 3; ++i) {
            const auto [x, y] = u->VoyageLine[i];
            const QPoint stop = LegEndPoint(layout.Frame, x, y);
            EXPECT_EQ(list.Points[line.First + i], stop);
            const Shape& ring = list.Shapes[g.First + 1 + i];
            // Unfilled, so the system inside stays visible.
            EXPECT_TRUE(ring.Kind == ShapeKind::Ellipses && ring.Fill == 0 && ring.Pen == Ink::Both(kInkVoyage));
            const Box outer = EllipseBox(list, ring, 0);
            EXPECT_EQ(QPoint((outer.Left + outer.Right) / 2, (outer.Top + outer.Bottom) / 2), stop);
        }
    }
}

TEST(VoyageLayer, EveryBackendAndExportDrawsIt) {
    auto u = renderfix::SmallUniverse();
    u->SetHexSize(30);
    u->VoyageLine = Trip(*u);
    const MapLayout layout = LayoutMap(*u, 30);
    const QRect whole(QPoint(0, 0), layout.Size);
    const auto [x0, y0] = u->VoyageLine[0];
    const auto [x1, y1] = u->VoyageLine[1];
    const QPoint a = LegEndPoint(layout.Frame, x0, y0), b = LegEndPoint(layout.Frame, x1, y1);
    const QPoint middle = (a + b) / 2;
    const QPoint ringTop = a - QPoint(0, VoyageStopRing(layout.Frame.M, a)[0].Bottom - a.y() - 1);

    const QImage palette = MapRenderer(layout).Render(whole);
    QImage truth(layout.Size, QImage::Format_RGB32);
    {
        QPainter p(&truth);
        MapPainter(layout).Paint(p, QRectF(whole));
    }
    for (const QImage* image : {&palette, static_cast<const QImage*>(&truth)}) {
        EXPECT_TRUE(renderfix::NearInk(*image, middle, kInkVoyage));
        EXPECT_TRUE(renderfix::NearInk(*image, ringTop, kInkVoyage));
    }
    EXPECT_EQ(palette.pixel(middle) & 0xFFFFFF, kInkVoyage & 0xFFFFFF);

    // The SVG file of an export in the screen look: the line and the unfilled rings.
    QTemporaryDir dir;
    PictureJob job;
    job.Format = PictureFormat::Svg;
    job.HexSize = 30;
    job.Pages.Look.Style = PictureStyle::Screen;
    job.Path = dir.filePath("trip.svg");
    ASSERT_TRUE(ExportPicture(*u, job).Done());
    QFile file(job.Path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray svg = file.readAll();
    EXPECT_TRUE(svg.contains("fill=\"none\" stroke=\"#ff00ff\" stroke-width=\"3\"")) << "line";
    EXPECT_TRUE(svg.contains("fill=\"none\" stroke=\"#ff00ff\" stroke-width=\"1\"/>")) << "rings";
}
