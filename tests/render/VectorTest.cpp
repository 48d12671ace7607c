// The vector painter against the raster picture: where systems lie at any
// hex size, and what each size draws.

#include "MapExport.h"
#include "MapPainter.h"
#include "MapRenderer.h"
#include "RenderFixtures.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <random>

using namespace hexlane::render;

namespace {

// A map of two sectors side by side with random systems in the first
// columns and rows of each, every layer but the text and the lines shown.
std::unique_ptr<TUniverse> RandomUniverse(unsigned seed) {
    std::mt19937 random(seed);
    auto u = TUniverse::CreateNew();
    renderfix::AddAllegiance(*u, "Realm", 0x3060C0, bsCross);
    for (int k = 0; k < 2; ++k) {
        TSector* s = renderfix::AddSector(*u, "S" + std::to_string(k), 1 + k, 1);
        for (int column = 1; column <= 9; ++column)
            for (int row = 1; row <= 11; ++row) {
                if (random() % 3) continue;
                TStar* star = renderfix::AddStar(*s, "N" + std::to_string(column * 100 + row), column, row,
                                                 std::string(1, "123456789A"[random() % 10]) + "5" +
                                                     std::string(1, "0123456789A"[random() % 11]) + "600");
                star->TravelZoneCode = static_cast<TTravelZoneCode>(random() % 4);
                star->SystemContent = static_cast<std::int32_t>(random() & 0x7FFFE);
                if (random() % 2) star->Allegiance = "Realm";
            }
    }
    u->ComputeExtent();
    renderfix::ShowEverything(*u);
    u->ShowNames = u->ShowStarports = u->ShowRoutes = u->ShowSectorLines = u->ShowSubsectorLines = false;
    return u;
}

}  // namespace

TEST(VectorPainter, EverySystemCentreIsWhereTheRasterPictureHasItAtEverySize) {
    for (unsigned seed : {1u, 2u, 3u}) {
        auto u = RandomUniverse(seed);
        for (int hexSize : {30, 45, 64, 90, 128}) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", hex size " + std::to_string(hexSize));
            const int level = LevelForHexSize(hexSize);
            u->SetHexSize(level);
            const MapRenderer raster(*u);
            const QImage rasterPicture = raster.Render(QRect(0, 0, raster.PictureSize().width(), 13 * level));
            const MapPainter vector = MapPainter::ForHexSize(*u, hexSize);
            const double scale = double(hexSize) / level;
            // The rows that hold systems, drawn from the picture's top.
            const int rows = static_cast<int>(std::min<double>(PictureSizeAt(*u, hexSize).height(), 13 * hexSize));
            QImage picture(PictureSizeAt(*u, hexSize).width(), rows, QImage::Format_RGB32);
            {
                QPainter p(&picture);
                p.scale(scale, scale);
                vector.Paint(p, QRectF(0, 0, vector.PictureSize().width(), rows / scale));
            }
            ASSERT_EQ(vector.Layout().Stars.size(), raster.Layout().Stars.size());
            const auto stars = renderfix::PlacedStars(*u);
            ASSERT_EQ(stars.size(), raster.Layout().Stars.size());
            for (std::size_t i = 0; i < raster.Layout().Stars.size(); ++i) {
                const StarPlacement& s = raster.Layout().Stars[i];
                const TStar* star = stars[i];
                EXPECT_EQ(vector.Layout().Stars[i].Centre, s.Centre);
                // A world dot (belts have no dot at their centre) in its
                // colour in both pictures, at the scaled centre in the vector one.
                if (star->PSUPCCode() == '0') continue;
                const QRgb world = star->HydroIndex() > 3 ? qRgb(0, 0, 255) : qRgb(0, 0, 0);
                const QPoint scaled(static_cast<int>(s.Centre.x() * scale), static_cast<int>(s.Centre.y() * scale));
                EXPECT_EQ(rasterPicture.pixel(s.Centre), world) << star->Name1;
                EXPECT_EQ(picture.pixel(scaled), world) << star->Name1;
            }
        }
    }
}

TEST(VectorPainter, LeavesTheStarsPicturePositionsOfTheMapViewAlone) {
    auto u = renderfix::SmallUniverse();
    const MapRenderer screen(*u);  // the view's layout at 30 writes the positions
    const TStar* regina = u->FindStar("Regina");
    const QPoint before(regina->PictureX, regina->PictureY);
    const MapPainter other = MapPainter::ForHexSize(*u, 128);
    EXPECT_EQ(other.LevelHexSize(), 90);
    EXPECT_EQ(QPoint(regina->PictureX, regina->PictureY), before);
}

TEST(VectorPainter, ZoomLevelOfAHexSizeIsTheNearestAtOrBelow) {
    const struct {
        int hexSize, level;
    } cases[] = {{4, 10}, {10, 10}, {29, 10}, {30, 30}, {64, 30}, {89, 30}, {90, 90}, {200, 90}};
    for (const auto& c : cases) EXPECT_EQ(LevelForHexSize(c.hexSize), c.level) << c.hexSize;
}
