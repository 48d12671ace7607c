// Pictures of the small universe with every layer shown, at the three zooms,
// against reference pictures that were checked by eye. A changed picture
// fails until the references are deliberately made again:
//   HEXLANE_UPDATE_REFERENCES=1 render_tests --gtest_filter='Reference*'

#include "MapRenderer.h"
#include "Palette.h"
#include "RenderFixtures.h"

#include <QDir>
#include <QImage>

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
