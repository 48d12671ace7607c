// Every kind of shape of a display list, drawn by each backend: the raster
// in palette inks, the painter and the SVG writer in true colours.

#include "MapLayout.h"
#include "MapPainter.h"
#include "MapRenderer.h"
#include "MapStyle.h"
#include "Palette.h"
#include "RenderFixtures.h"
#include "SvgWriter.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace hexlane::render;

namespace {

constexpr QRgb kOrange = 0xFFFF8000, kTeal = 0xFF008080, kOlive = 0xFF808000, kPurple = 0xFF800080;

// A point inside each shape and the ink it must show there.
struct Probe {
    const char* kind;
    QPoint at;
    Ink ink;
};

// A layout of the 30-pixel zoom whose list holds one shape of each kind,
// each in its own place, with palette and true colours that differ.
MapLayout ShapesLayout(std::vector<Probe>& probes) {
    auto u = renderfix::SmallUniverse();
    u->SetHexSize(30);
    MapLayout layout = LayoutMap(*u, 30);
    DisplayList& list = layout.Picture;
    list.Shapes.clear();
    list.Groups.clear();
    list.Points.clear();
    list.Chars.clear();
    const Ink red{kInkRed, kOrange}, blue{kInkBlue, kTeal}, black = Ink::Both(kInkBlack);
    const Ink yellow{kInkYellow, kOlive}, fuchsia{0xFFFF00FF, kPurple};

    list.BeginGroup(true);
    list.AddGrid(Ink::Both(kInkSilver), false, false, 0);
    list.EndGroup();
    list.BeginGroup();
    const QPoint hex = CellCentre(layout.Frame, 1, 1);
    list.AddHex(hex, Ink::Both(kInkSilver), red, Qt::SolidPattern);
    list.AddEllipse(Box{hex.x() - 3, hex.y() - 3, hex.x() + 4, hex.y() + 4}, blue, blue);
    list.EndGroup();
    list.BeginGroup();
    list.AddText(QPoint(100, 150), QStringLiteral("MMMM"), 0, fuchsia);
    list.AddLine(QPoint(60, 200), QPoint(160, 200), yellow, 3, LineStyle::Solid);
    list.AddPolyline({QPoint(60, 240), QPoint(110, 240), QPoint(110, 290)}, red, 3, LineStyle::Solid);
    list.AddPolygon({QPoint(200, 200), QPoint(260, 200), QPoint(260, 260), QPoint(200, 260)}, black, blue,
                    Qt::SolidPattern);
    const Box pair[] = {{300, 200, 311, 211}, {320, 200, 331, 211}};
    list.AddEllipses(pair, 2, fuchsia, fuchsia);
    list.EndGroup();

    probes = {{"grid", QPoint(CellCentre(layout.Frame, 4, 4).x(), CellCentre(layout.Frame, 4, 4).y() - 15),
               Ink::Both(kInkSilver)},
              {"hex", hex + QPoint(6, 6), red},
              {"ellipse", hex, blue},
              {"line", QPoint(100, 200), yellow},
              {"polyline", QPoint(110, 270), red},
              {"polygon", QPoint(230, 230), blue},
              {"first of ellipses", QPoint(305, 205), fuchsia},
              {"second of ellipses", QPoint(325, 205), fuchsia}};
    return layout;
}

bool HasInk(const QImage& image, QPoint at, QRgb ink) {
    return (image.pixel(at) & 0xFFFFFF) == (ink & 0xFFFFFF);
}


}  // namespace

TEST(DisplayList, EveryShapeKindIsDrawnByEveryBackendInItsInk) {
    std::vector<Probe> probes;
    const MapLayout layout = ShapesLayout(probes);
    const QRect whole(QPoint(0, 0), layout.Size);

    const MapRenderer raster(layout);
    const QImage palette = raster.Render(whole);
    QImage truth(layout.Size, QImage::Format_RGB32);
    {
        QPainter p(&truth);
        MapPainter(layout).Paint(p, QRectF(whole));
    }
    for (const Probe& probe : probes) {
        EXPECT_TRUE(HasInk(palette, probe.at, probe.ink.Palette)) << probe.kind;
        EXPECT_TRUE(renderfix::NearInk(truth, probe.at, probe.ink.True)) << probe.kind;
    }
    // The text: some pixels in its ink in both, over its white box.
    const QRect text(80, 150, 40, 12);
    auto inked = [&](const QImage& image, QRgb ink) {
        int n = 0;
        for (int y = text.top(); y <= text.bottom(); ++y)
            for (int x = text.left(); x <= text.right(); ++x) n += HasInk(image, QPoint(x, y), ink);
        return n;
    };
    EXPECT_GT(inked(palette, 0xFFFF00FF), 10);
    int near = 0;
    for (int y = text.top(); y <= text.bottom(); y += 3)
        for (int x = text.left(); x <= text.right(); x += 3) near += renderfix::NearInk(truth, QPoint(x, y), kPurple);
    EXPECT_GT(near, 5);

    // The SVG writer writes each kind as its element, in true colours.
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    std::FILE* out = std::fopen(file.fileName().toLocal8Bit().constData(), "wb");
    ASSERT_TRUE(out);
    ASSERT_TRUE(WriteSvg(layout.Picture, out, whole, 1.0, QStringLiteral("T <&>"), {}));
    std::fclose(out);
    const QByteArray svg = file.readAll();
    for (const char* element : {"<path d=", "<polygon points=", "<ellipse ", "<text ", "<line ", "<polyline ",
                                "fill=\"#ff8000\"", "fill=\"#008080\"", "stroke=\"#808000\"", "fill=\"#800080\">MMMM</text>",
                                "<title>T &lt;&amp;&gt;</title>"})
        EXPECT_TRUE(svg.contains(element)) << element;
}

TEST(DisplayList, TheLayoutDrawsSystemsWithTheirOwnShapes) {
    auto u = renderfix::SmallUniverse();
    const struct {
        int hexSize;
        bool texts;
    } cases[] = {{10, false}, {30, true}, {90, true}};
    for (const auto& c : cases) {
        u->SetHexSize(c.hexSize);
        const MapLayout layout = LayoutMap(*u, c.hexSize);
        const DisplayList& list = layout.Picture;
        // The grid first, the lines last, one group a system between them.
        ASSERT_EQ(list.Groups.size(), layout.Stars.size() + 2) << c.hexSize;
        EXPECT_EQ(list.Shapes[list.Groups.front().First].Kind, ShapeKind::Grid);
        EXPECT_TRUE(list.Groups.back().Always);
        bool anyText = false;
        for (std::size_t g = 1; g + 1 < list.Groups.size(); ++g) {
            const ShapeGroup& group = list.Groups[g];
            EXPECT_TRUE(group.Reach.contains(layout.Stars[g - 1].Centre)) << c.hexSize;
            anyText = anyText || group.HasText;
        }
        EXPECT_EQ(anyText, c.texts) << c.hexSize;
    }
}

// The palette indices of the 16-colour pictures are those of the drawn
// pixels, also where a list inks a shape off the palette (nearest colour).
TEST(DisplayList, PaletteIndicesFollowTheDrawnPixels) {
    std::vector<Probe> probes;
    MapLayout layout = ShapesLayout(probes);
    layout.Picture.BeginGroup();
    layout.Picture.AddLine(QPoint(60, 320), QPoint(160, 320), Ink::Both(0xFFF01010), 3, LineStyle::Solid);
    layout.Picture.EndGroup();
    const MapRenderer raster(layout);
    const QRect whole(QPoint(0, 0), layout.Size);
    const QImage picture = raster.Render(whole);
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(whole.width() * whole.height()));
    raster.RenderIndices(whole, indices.data(), whole.width());
    int wrong = 0;
    for (int y = 0; y < whole.height(); ++y)
        for (int x = 0; x < whole.width(); ++x)
            wrong += indices[static_cast<std::size_t>(y * whole.width() + x)] != PixelPaletteIndex(picture.pixel(x, y));
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(indices[static_cast<std::size_t>(320 * whole.width() + 100)], pcRed);
}
