// Any rectangle of the picture, drawn alone, equals the same part of the
// whole picture: pieces of odd sizes assembled give the whole, at every zoom,
// on a universe that uses every layer, hatch and pen style and long names.

#include "MapRenderer.h"
#include "RenderFixtures.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace hexlane::render;

namespace {

// Number of pixels where the pieces differ from the reference, and the first.
struct Difference {
    long count = 0;
    QPoint first{-1, -1};
};

Difference Compare(const QImage& reference, const QImage& assembled) {
    Difference d;
    for (int y = 0; y < reference.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(reference.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(assembled.constScanLine(y));
        for (int x = 0; x < reference.width(); ++x)
            if ((a[x] & 0xFFFFFF) != (b[x] & 0xFFFFFF)) {
                if (d.count++ == 0) d.first = QPoint(x, y);
            }
    }
    return d;
}

// The area rendered as one piece and again drawn from pieces of w x h.
Difference PiecesAgainstWhole(const MapRenderer& r, const QRect& area, int w, int h) {
    const QImage whole = r.Render(area);
    QImage assembled(area.size(), QImage::Format_RGB32);
    assembled.fill(Qt::black);
    QPainter p(&assembled);
    for (int y = area.top(); y <= area.bottom(); y += h)
        for (int x = area.left(); x <= area.right(); x += w) {
            const QRect piece = QRect(x, y, w, h).intersected(area);
            r.Draw(p, piece, piece.topLeft() - area.topLeft());
        }
    p.end();
    return Compare(whole, assembled);
}

class Tiles : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(Tiles, PiecesOfOddSizesAssembleToTheWholePicture) {
    const int S = GetParam();
    auto u = renderfix::RichUniverse();
    u->SetHexSize(S);
    u->UseSectorHexAddressing = S == 90;
    const MapRenderer r(*u);
    const QSize size = r.PictureSize();
    // At the largest zoom the whole is 5805 x 7245; a quarter of it (across
    // the sector corner, with every kind of primitive) keeps the test quick.
    const QRect area = S == 90 ? QRect(2200, 3000, 1700, 1300) : QRect(QPoint(0, 0), size);
    for (const QSize piece : {QSize(97, 61), QSize(253, 181)}) {
        const Difference d = PiecesAgainstWhole(r, area, piece.width(), piece.height());
        EXPECT_EQ(d.count, 0) << "hex size " << S << ", pieces " << piece.width() << " x " << piece.height()
                              << ": first difference at " << d.first.x() + area.x() << ","
                              << d.first.y() + area.y();
    }
}

INSTANTIATE_TEST_SUITE_P(HexSizes, Tiles, ::testing::Values(10, 30, 90));

TEST(Tiles, ThePictureAtItsEdgesEndsInWhite) {
    auto u = renderfix::SmallUniverse();
    const MapRenderer r(*u);
    const QSize size = r.PictureSize();
    const QImage beyond = r.Render(QRect(size.width() - 10, size.height() - 10, 30, 30));
    const QImage inside = r.Render(QRect(size.width() - 10, size.height() - 10, 10, 10));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            if (x < 10 && y < 10)
                ASSERT_EQ(beyond.pixel(x, y), inside.pixel(x, y));
            else
                ASSERT_EQ(beyond.pixel(x, y), qRgb(255, 255, 255));
        }
}
