// What the picture shows: the system symbol at each zoom, names, zones,
// belts, allegiance fills, palette reduction and the line rasterizer.

#include "LineRaster.h"
#include "MapRenderer.h"
#include "Palette.h"
#include "RenderFixtures.h"

#include <gtest/gtest.h>

#include <set>

using namespace hexlane::render;

namespace {

const QRgb kWhite = qRgb(255, 255, 255), kSilver = qRgb(192, 192, 192), kBlack = qRgb(0, 0, 0),
           kBlue = qRgb(0, 0, 255), kYellow = qRgb(255, 255, 0), kRed = qRgb(255, 0, 0);

// A universe of one sector with one star at hex (5, 6), and the picture.
struct OneStar {
    std::unique_ptr<TUniverse> u = TUniverse::CreateNew();
    TSector* sector = renderfix::AddSector(*u, "A", 1, 1);
    TStar* star = renderfix::AddStar(*sector, "Solo", 5, 6);
    TStar* far = renderfix::AddStar(*sector, "Far", 9, 10);  // widens the picture

    QImage Picture(int S) {
        u->SetHexSize(S);
        u->ComputeExtent();
        const MapRenderer r(*u);
        return r.Render(QRect(QPoint(0, 0), r.PictureSize()));
    }
    QPoint Centre() const { return {star->PictureX, star->PictureY}; }
};

std::set<QRgb> ColoursIn(const QImage& image, const QRect& area) {
    std::set<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) colours.insert(image.pixel(x, y));
    return colours;
}

int Count(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
    return n;
}

}  // namespace

TEST(Drawing, AtTheSmallestZoomASystemIsATwoByTwoDotAndNothingElse) {
    OneStar w;
    w.star->TravelZoneCode = tzcAmber;
    w.star->SystemContent = 0x7FFFE;
    w.u->ShowNames = w.u->ShowStarports = w.u->ShowSystemContents = true;
    const QImage picture = w.Picture(10);
    const QPoint c = w.Centre();
    EXPECT_EQ(Count(picture, kBlack), 8);  // two stars
    for (int dy = -1; dy <= 0; ++dy)
        for (int dx = -1; dx <= 0; ++dx) EXPECT_EQ(picture.pixel(c.x() + dx, c.y() + dy), kBlack);
    EXPECT_EQ(ColoursIn(picture, picture.rect()), (std::set<QRgb>{kWhite, kSilver, kBlack}));
}

TEST(Drawing, ZonesWorldsAndBelts) {
    OneStar w;
    w.star->TravelZoneCode = tzcAmber;
    w.star->UPC = "7A2000";
    QImage p = w.Picture(30);
    QPoint c = w.Centre();
    EXPECT_EQ(p.pixel(c.x() + 8, c.y()), kYellow);   // inside the disc, outside the world dot
    EXPECT_EQ(p.pixel(c.x(), c.y()), kBlack);        // dry world: black dot
    EXPECT_EQ(p.pixel(c.x() + 11, c.y()), kWhite);   // the disc ends at R

    w.star->TravelZoneCode = tzcRed;
    w.star->UPC = "7A7000";
    p = w.Picture(30);
    EXPECT_EQ(p.pixel(c.x(), c.y() - 10), kRed);     // the ring
    EXPECT_EQ(p.pixel(c.x() + 7, c.y()), kWhite);    // white inside
    EXPECT_EQ(p.pixel(c.x(), c.y()), kBlue);         // hydrographics 7: a blue world

    // Size "0": four dots around an empty centre, blue when wet.
    w.star->TravelZoneCode = tzcGreen;
    w.star->UPC = "0A5000";
    for (int S : {30, 90}) {
        p = w.Picture(S);
        c = w.Centre();
        const int o = S == 30 ? 2 : 3;
        EXPECT_EQ(p.pixel(c.x(), c.y()), kWhite) << S;
        for (QPoint d : {QPoint(-o, 0), QPoint(o, 0), QPoint(0, -o), QPoint(0, o)})
            EXPECT_EQ(p.pixel(c + d), kBlue) << S << " " << d.x() << "," << d.y();
    }
    w.star->UPC = "0A2000";
    p = w.Picture(30);
    c = w.Centre();
    EXPECT_EQ(p.pixel(c.x() - 2, c.y()), kBlack);
}

TEST(Drawing, CapitalsAreWrittenInCapitalsAndVisitedNamesInBlue) {
    OneStar capital, plain;
    capital.star->Name1 = "New Star";
    capital.star->SubsectorCapital = true;
    plain.star->Name1 = "NEW STAR";
    capital.u->ShowNames = plain.u->ShowNames = true;
    EXPECT_EQ(capital.Picture(30), plain.Picture(30));

    plain.star->Name1 = "New Star";
    const QImage lower = plain.Picture(30);
    EXPECT_NE(capital.Picture(30), lower);
    const QRect nameArea(plain.Centre().x() - 30, plain.Centre().y() + 3, 61, 11);
    EXPECT_TRUE(ColoursIn(lower, nameArea).count(kBlack));
    EXPECT_FALSE(ColoursIn(lower, nameArea).count(kBlue));
    plain.star->Visited = true;
    const QImage visited = plain.Picture(30);
    EXPECT_TRUE(ColoursIn(visited, nameArea).count(kBlue));
    EXPECT_FALSE(ColoursIn(visited, nameArea).count(kBlack));
}

TEST(Drawing, AllegianceFillsUseThePaletteAndAnUnknownAllegianceLeavesTheHex) {
    OneStar w;
    w.u->ShowAllegianceColors = true;
    renderfix::AddAllegiance(*w.u, "Solid", 0x1020E0, bsSolid);    // (224, 32, 16): red
    renderfix::AddAllegiance(*w.u, "Hatched", 0x00FF00, bsCross);  // lime
    const QPoint inHex(-8, -10);  // inside the hex, clear of the world dot

    w.star->Allegiance = "Solid";
    QImage p = w.Picture(30);
    EXPECT_EQ(p.pixel(w.Centre() + inHex), kRed);
    w.star->Allegiance = "Hatched";
    p = w.Picture(30);
    const QPoint c = w.Centre();
    const auto hatch = ColoursIn(p, QRect(c.x() - 8, c.y() - 12, 8, 8));
    EXPECT_EQ(hatch, (std::set<QRgb>{kWhite, qRgb(0, 255, 0)}));
    w.star->Allegiance = "solid";  // names are case-sensitive: no such allegiance
    p = w.Picture(30);
    EXPECT_EQ(ColoursIn(p, QRect(c.x() - 8, c.y() - 12, 8, 8)), std::set<QRgb>{kWhite});
}

TEST(Drawing, ColoursReduceToTheNearestOfTheSixteen) {
    for (QRgb c : Palette()) EXPECT_EQ(NearestPaletteColour(c), c);
    EXPECT_EQ(NearestPaletteIndex(qRgb(200, 10, 10)), pcRed);
    EXPECT_EQ(NearestPaletteIndex(qRgb(255, 128, 0)), pcOlive);
    EXPECT_EQ(NearestPaletteIndex(qRgb(0, 128, 255)), pcTeal);
    EXPECT_EQ(NearestPaletteIndex(qRgb(170, 170, 170)), pcSilver);
    EXPECT_EQ(NearestPaletteIndex(qRgb(96, 96, 96)), pcGrey);
    // Map colours are 0x00BBGGRR.
    EXPECT_EQ(MapColourToRgb(0x00FF0000), qRgb(0, 0, 255));
    EXPECT_EQ(MapColourOnPalette(0x000000F0), kRed);
    for (int i = 0; i < kPaletteSize; ++i) EXPECT_EQ(PixelPaletteIndex(Palette()[static_cast<std::size_t>(i)]), i);
    EXPECT_EQ(PixelPaletteIndex(qRgb(250, 250, 240)), pcWhite);
}

namespace {

struct Canvas {
    std::vector<std::uint32_t> pixels;
    PixelWindow window;
    Canvas(int x, int y, int w, int h) : pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0) {
        window = {pixels.data(), w, w, h, x, y};
    }
    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>((y - window.OriginY) * window.Stride + (x - window.OriginX))];
    }
    int Lit() const {
        int n = 0;
        for (auto p : pixels) n += p != 0;
        return n;
    }
};

}  // namespace

TEST(Drawing, LinePenStylesAndWidths) {
    Canvas solid(0, 0, 120, 20);
    DrawLine(solid.window, 0, 10, 99, 10, 1, 1, LineStyle::Solid);
    EXPECT_EQ(solid.Lit(), 100);
    Canvas thick(0, 0, 120, 20);
    DrawLine(thick.window, 0, 10, 99, 10, 1, 3, LineStyle::Solid);
    EXPECT_EQ(thick.Lit(), 300);
    EXPECT_EQ(thick.At(50, 9), 1u);
    EXPECT_EQ(thick.At(50, 11), 1u);
    Canvas zero(0, 0, 120, 20);
    DrawLine(zero.window, 0, 10, 99, 10, 1, 0, LineStyle::Solid);
    EXPECT_EQ(zero.Lit(), 100);

    // Dash 18 on 6 off, dot 3/3, dash-dot 9/6/3/6, dash-dot-dot 9/3/3/3/3/3.
    const std::pair<LineStyle, int> styles[] = {
        {LineStyle::Dash, 72}, {LineStyle::Dot, 48}, {LineStyle::DashDot, 48}, {LineStyle::DashDotDot, 60}};
    for (const auto& [style, lit] : styles) {
        Canvas c(0, 0, 100, 3);
        DrawLine(c.window, 0, 1, 95, 1, 1, 1, style);
        EXPECT_EQ(c.Lit(), lit) << static_cast<int>(style);
        EXPECT_EQ(c.At(0, 1), 1u);  // every pattern starts with a dash at the start point
    }
    EXPECT_EQ(LineStyleFromType(7), LineStyle::Solid);
}

TEST(Drawing, ALongLineIsTheSameInEveryWindow) {
    // A thick dashed line across a large area, drawn into small windows, equals
    // the same part of one large window.
    const int x0 = -3000, y0 = -400, x1 = 9000, y1 = 1900;
    Canvas whole(-100, 0, 1400, 500);
    DrawLine(whole.window, x0, y0, x1, y1, 7, 3, LineStyle::DashDot);
    ASSERT_GT(whole.Lit(), 100);
    for (int x = -100; x < 1300; x += 97) {
        for (int y = 0; y < 500; y += 61) {
            Canvas piece(x, y, 97, 61);
            DrawLine(piece.window, x0, y0, x1, y1, 7, 3, LineStyle::DashDot);
            for (int py = y; py < y + 61 && py < 500; ++py)
                for (int px = x; px < x + 97 && px < 1300; ++px)
                    ASSERT_EQ(piece.At(px, py), whole.At(px, py)) << px << "," << py;
        }
    }
}
