// The 4-bit Windows bitmap writer: header, palette, row order, padding, odd
// widths, bands, progress and failures; pictures read back with Qt.

#include "MapBitmap.h"
#include "MapExport.h"
#include "MapRenderer.h"
#include "Palette.h"
#include "RenderFixtures.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using namespace hexlane::render;

namespace {

std::uint32_t U32(const QByteArray& b, int at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

std::uint16_t U16(const QByteArray& b, int at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint8_t>(b[at + 1]) << 8));
}

// Index of pixel (x, y) in a made-up picture.
std::uint8_t Pattern(int x, int y) {
    return static_cast<std::uint8_t>((x * 3 + y * 5) % 16);
}

BandFn PatternBands(int width, std::vector<int>* tops = nullptr) {
    return [width, tops](int top, int rows, std::uint8_t* out) {
        if (tops) tops->push_back(top);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < width; ++x) out[y * width + x] = Pattern(x, top + y);
    };
}

}  // namespace

TEST(Bitmap, HeaderPaletteRowOrderAndPadding) {
    QTemporaryDir dir;
    const QString file = dir.filePath("p.bmp");
    std::vector<int> tops;
    std::vector<std::pair<int, int>> progress;
    ASSERT_TRUE(WriteBitmap4(file, 5, 3, 2, PatternBands(5, &tops),
                             [&](int done, int total) {
                                 progress.emplace_back(done, total);
                                 return true;
                             },
                             nullptr));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    ASSERT_EQ(b.size(), 118 + 3 * 4);
    EXPECT_EQ(b.left(2), QByteArray("BM"));
    EXPECT_EQ(U32(b, 2), 130u);   // file size
    EXPECT_EQ(U32(b, 6), 0u);
    EXPECT_EQ(U32(b, 10), 118u);  // pixels start after the 16-colour table
    EXPECT_EQ(U32(b, 14), 40u);
    EXPECT_EQ(U32(b, 18), 5u);
    EXPECT_EQ(U32(b, 22), 3u);    // positive height: bottom row first
    EXPECT_EQ(U16(b, 26), 1);
    EXPECT_EQ(U16(b, 28), 4);
    EXPECT_EQ(U32(b, 30), 0u);    // not compressed
    EXPECT_EQ(U32(b, 34), 12u);
    EXPECT_EQ(U32(b, 46), 16u);
    for (int i = 0; i < 16; ++i) {
        const QRgb c = Palette()[static_cast<std::size_t>(i)];
        const int at = 54 + 4 * i;
        EXPECT_EQ(static_cast<std::uint8_t>(b[at]), qBlue(c)) << i;
        EXPECT_EQ(static_cast<std::uint8_t>(b[at + 1]), qGreen(c)) << i;
        EXPECT_EQ(static_cast<std::uint8_t>(b[at + 2]), qRed(c)) << i;
        EXPECT_EQ(b[at + 3], 0);
    }
    EXPECT_EQ(static_cast<std::uint8_t>(b[54 + 4 * 1 + 2]), 128);  // maroon
    EXPECT_EQ(static_cast<std::uint8_t>(b[54 + 4 * 7]), 192);      // silver
    // Rows bottom-up, the left pixel in the high nibble, padded to 4 bytes.
    for (int fileRow = 0; fileRow < 3; ++fileRow) {
        const int y = 2 - fileRow, at = 118 + fileRow * 4;
        EXPECT_EQ(static_cast<std::uint8_t>(b[at]), Pattern(0, y) << 4 | Pattern(1, y));
        EXPECT_EQ(static_cast<std::uint8_t>(b[at + 1]), Pattern(2, y) << 4 | Pattern(3, y));
        EXPECT_EQ(static_cast<std::uint8_t>(b[at + 2]), Pattern(4, y) << 4);
        EXPECT_EQ(b[at + 3], 0);
    }
    // Bands from the bottom up, progress after each.
    EXPECT_EQ(tops, (std::vector<int>{1, 0}));
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));
}

TEST(Bitmap, QtReadsBackEveryWidth) {
    QTemporaryDir dir;
    for (int width : {1, 2, 3, 7, 8, 9, 31, 33}) {
        const int height = 11;
        const QString file = dir.filePath(QStringLiteral("w%1.bmp").arg(width));
        ASSERT_TRUE(WriteBitmap4(file, width, height, 4, PatternBands(width), {}, nullptr));
        const QImage image(file);
        ASSERT_EQ(image.size(), QSize(width, height)) << width;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(image.pixel(x, y), Palette()[Pattern(x, y)]) << width << ": " << x << "," << y;
    }
}

TEST(Bitmap, TheMapWrittenInBandsEqualsThePicture) {
    auto u = renderfix::SmallUniverse();
    u->SetHexSize(30);
    const MapRenderer r(*u);
    const QSize size = r.PictureSize();
    QTemporaryDir dir;
    const QString file = dir.filePath("map.bmp");
    // Thin bands: many band edges cross systems, names and lines.
    ASSERT_TRUE(WriteBitmap4(
        file, size.width(), size.height(), 37,
        [&](int top, int rows, std::uint8_t* out) {
            r.RenderIndices(QRect(0, top, size.width(), rows), out, size.width());
        },
        {}, nullptr));
    const QImage read = QImage(file).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(read, r.Render(QRect(QPoint(0, 0), size)));

    // The whole-picture save and a region of it.
    const QString whole = dir.filePath("whole.bmp");
    PictureJob job;
    job.Format = PictureFormat::Bitmap;
    job.Path = whole;
    job.Screen = &r;
    ASSERT_TRUE(ExportPicture(*u, job).Done());
    EXPECT_EQ(QImage(whole).convertToFormat(QImage::Format_RGB32), read);
    const QRect region(33, 41, 101, 77);
    job.Area = QRectF(region.x() / 30.0, region.y() / 30.0, region.width() / 30.0, region.height() / 30.0);
    ASSERT_TRUE(ExportPicture(*u, job).Done());
    EXPECT_EQ(QImage(whole).convertToFormat(QImage::Format_RGB32), read.copy(region));
}

TEST(Bitmap, AFailedWriteLeavesTheTargetAsItWas) {
    QTemporaryDir dir;
    const QString file = dir.filePath("keep.bmp");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    QString error;
    // More than a bitmap file can hold (over 4 GB).
    EXPECT_FALSE(WriteBitmap4(file, 100000, 100000, 16, PatternBands(100000), {}, &error));
    EXPECT_FALSE(error.isEmpty());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));

    error.clear();
    EXPECT_FALSE(WriteBitmap4(dir.filePath("no/such/folder/x.bmp"), 4, 4, 4, PatternBands(4), {}, &error));
    EXPECT_FALSE(error.isEmpty());

    // Stopped after its first band: the old file stays.
    error.clear();
    EXPECT_FALSE(WriteBitmap4(file, 64, 64, 8, PatternBands(64), [](int, int) { return false; }, &error));
    EXPECT_TRUE(error.startsWith("Stopped")) << error.toStdString();
    ASSERT_TRUE(f.seek(0));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
}
