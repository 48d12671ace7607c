// Pictures of the small universe with every layer shown, at the three zooms,
// against reference pictures that were checked by eye. A changed picture
// fails until the references are deliberately made again:
//   HEXLANE_UPDATE_REFERENCES=1 render_tests --gtest_filter='Reference*'

#include "MapRenderer.h"
#include "Palette.h"
#include "RenderFixtures.h"

#include <QDir>
#include <QImage>

#include <algorithm>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

using namespace hexlane::render;

namespace {

class Reference : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(Reference, SmallUniverseMatchesItsReferencePicture) {
    const int S = GetParam();
    auto u = renderfix::SmallUniverse();
    u->SetHexSize(S);
    const MapRenderer r(*u);
    const QImage picture = r.Render(QRect(QPoint(0, 0), r.PictureSize()));
    const QString file = QStringLiteral(HEXLANE_TEST_DATA "/small_%1.png").arg(S);

    if (!qEnvironmentVariableIsEmpty("HEXLANE_UPDATE_REFERENCES")) {
        ASSERT_TRUE(ToPaletteImage(picture).save(file));
        GTEST_SKIP() << "reference written: " << file.toStdString();
    }
    const QImage reference = QImage(file).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(reference.isNull()) << "missing reference " << file.toStdString();
    ASSERT_EQ(picture.size(), reference.size());
    long differ = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) & 0xFFFFFF) != (reference.pixel(x, y) & 0xFFFFFF) && differ++ == 0) first = {x, y};
    if (differ) {
        const QString actual = QDir::temp().filePath(QStringLiteral("hexlane_small_%1_actual.png").arg(S));
        ToPaletteImage(picture).save(actual);
        ADD_FAILURE() << differ << " pixels differ, the first at " << first.x() << "," << first.y()
                      << "; this picture: " << actual.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(HexSizes, Reference, ::testing::Values(10, 30, 90));

namespace {

// FNV-1a over the palette indices of the whole picture, band by band, each
// drawn in slices whose working image stays within scratchBytes.
std::uint64_t PictureHash(const MapRenderer& r, std::int64_t scratchBytes) {
    const QSize size = r.PictureSize();
    const int rows = 256;
    std::vector<std::uint8_t> band(static_cast<std::size_t>(size.width()) * rows);
    QImage scratch;
    std::uint64_t h = 14695981039346656037ull;
    for (int top = 0; top < size.height(); top += rows) {
        const int n = std::min(rows, size.height() - top);
        r.RenderIndices(QRect(0, top, size.width(), n), band.data(), size.width(), &scratch, scratchBytes);
        for (std::size_t i = 0; i < static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(n); ++i)
            h = (h ^ band[i]) * 1099511628211ull;
    }
    return h;
}

}  // namespace

// Random maps at the three zooms, with every layer and with none, against
// the pictures the earlier drawing code made of them (their hashes): the
// 16-colour pictures stay the same pixel for pixel, also when every other one
// is drawn in narrow slices.
TEST(Reference, RandomMapsDrawAsBefore) {
    const struct {
        std::uint32_t seed;
        int hexSize;
        bool everything;
        std::uint64_t hash;
    } cases[] = {
        {1, 10, true, 0x459559798913963full},  {1, 30, true, 0x4b949737fdaa811aull},
        {1, 90, true, 0x516709aefb79588bull},  {2, 10, true, 0xb9670f9c649d4238ull},
        {2, 30, true, 0x7a4f2ff2e3414f4aull},  {2, 90, true, 0x58f69a348b6e4c63ull},
        {3, 30, false, 0x61eeb1fa4110ccbeull}, {3, 90, false, 0xde82b0a1d2a8a12aull},
    };
    bool sliced = false;
    for (const auto& c : cases) {
        auto u = renderfix::RichUniverse(c.seed);
        renderfix::ShowEverything(*u, c.everything);
        u->SetHexSize(c.hexSize);
        const MapRenderer r(*u);
        const std::uint64_t hash = PictureHash(r, sliced ? 256 << 10 : 32 << 20);
        sliced = !sliced;
        EXPECT_EQ(hash, c.hash) << "seed " << c.seed << " at " << c.hexSize << ": 0x" << std::hex << hash;
    }
}
