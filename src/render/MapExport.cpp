#include "MapExport.h"

#include "DefineUniverse.h"
#include "FileIO.h"
#include "MapBitmap.h"
#include "MapPainter.h"
#include "MapRenderer.h"
#include "PngFile.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QIODevice>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace hexlane::render {

namespace {

// A write-only device over the one safe writer: the content goes to its
// temporary file, and only Commit puts it in place of the target; a device
// dropped before that leaves the target as it was.
class SafeFileDevice final : public QIODevice {
public:
    explicit SafeFileDevice(const QString& path) : file_(path.toStdString()) {}
    bool Open() { return file_.Open() && QIODevice::open(QIODevice::WriteOnly); }
    bool Commit() {
        close();
        return !failed_ && file_.Commit();
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (std::fwrite(data, 1, static_cast<std::size_t>(size), file_.Handle()) != static_cast<std::size_t>(size)) {
            failed_ = true;
            return -1;
        }
        return size;
    }

private:
    hexlane::ReplacingOutputFile file_;
    bool failed_ = false;
};

bool Fail(QString* error, const QString& text) {
    if (error) *error = text;
    return false;
}

// The size of the picture at a hex size from the picture of its level,
// capped as the level's picture is.
QSize ScaledSize(QSize level, double scale) {
    auto side = [scale](int length) {
        return static_cast<int>(std::clamp(std::ceil(length * scale - 1e-6), 1.0, double(1 << 30)));
    };
    return QSize(side(level.width()), side(level.height()));
}

}  // namespace

QString TooManyPagesText() {
    return QStringLiteral("The map would need more than %1 pages at this hex size: choose a smaller hex size or "
                          "fit it to one page.")
        .arg(kMaxPages);
}

bool IsRasterHexSize(int hexSize) {
    return hexSize == 10 || hexSize == 30 || hexSize == 90;
}

QSize PictureSizeAt(const TUniverse& u, int hexSize) {
    const int level = LevelForHexSize(hexSize);
    return ScaledSize(PictureSize(MapFrame::FromUniverse(u, level)), double(hexSize) / level);
}

bool ExportPng(const TUniverse& u, const QRectF& areaHexes, int hexSize, const QString& path,
               const ContinueFn& progress, QString* error) {
    if (IsRasterHexSize(hexSize)) {
        // The raster picture, pixel for pixel as Save Bitmap writes it.
        const MapRenderer renderer(LayoutMap(u, hexSize));
        const QRect region = PixelsOf(areaHexes, hexSize, renderer.PictureSize());
        if (region.isEmpty()) return Fail(error, QStringLiteral("The part of the map to draw is empty."));
        const int bandRows = BandRowsFor(region.width(), renderer.MarginX(), renderer.MarginY());
        QImage scratch;
        return WritePng(
            path, region.width(), region.height(), bandRows, PngPixels::Palette16,
            [&](int top, int rows, std::uint8_t* band, std::int64_t stride) {
                renderer.RenderIndices(QRect(region.x(), region.y() + top, region.width(), rows), band,
                                       static_cast<int>(stride), &scratch);
            },
            progress, error);
    }
    const MapPainter map = MapPainter::ForHexSize(u, hexSize);
    const double scale = double(hexSize) / map.LevelHexSize();
    const QRect region = PixelsOf(areaHexes, hexSize, ScaledSize(map.PictureSize(), scale));
    if (region.isEmpty()) return Fail(error, QStringLiteral("The part of the map to draw is empty."));
    // Bands of about 32 MB of pixels.
    const int bandRows = static_cast<int>(std::clamp<std::int64_t>((32 << 20) / (std::int64_t(region.width()) * 4), 16, 2048));
    return WritePng(
        path, region.width(), region.height(), bandRows, PngPixels::Rgb32,
        [&](int top, int rows, std::uint8_t* band, std::int64_t stride) {
            QImage image(band, region.width(), rows, static_cast<qsizetype>(stride), QImage::Format_RGB32);
            QPainter p(&image);
            p.scale(scale, scale);
            map.Paint(p, QRectF(region.x() / scale, (region.y() + top) / scale, region.width() / scale, rows / scale));
        },
        progress, error);
}

bool ExportSvg(const TUniverse& u, const QRectF& areaHexes, int hexSize, const QString& path, const QString& title,
               QString* error) {
    const MapPainter map = MapPainter::ForHexSize(u, hexSize);
    const double scale = double(hexSize) / map.LevelHexSize();
    const QRect region = PixelsOf(areaHexes, hexSize, ScaledSize(map.PictureSize(), scale));
    if (region.isEmpty()) return Fail(error, QStringLiteral("The part of the map to draw is empty."));
    SafeFileDevice file(path);
    if (!file.Open()) return Fail(error, QStringLiteral("Cannot write %1").arg(path));
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(region.size());
        svg.setViewBox(QRect(QPoint(0, 0), region.size()));
        svg.setResolution(96);
        svg.setTitle(title);
        QPainter p;
        if (!p.begin(&svg)) {
            return Fail(error, QStringLiteral("Cannot write %1").arg(path));
        }
        p.scale(scale, scale);
        map.Paint(p, QRectF(region.x() / scale, region.y() / scale, region.width() / scale, region.height() / scale));
        p.end();
    }
    if (!file.Commit()) return Fail(error, QStringLiteral("Cannot write %1").arg(path));
    return true;
}

bool ExportPdf(const TUniverse& u, const QRectF& areaHexes, const PageSetup& setup, const QPageSize& page,
               const QString& path, const ContinueFn& onPage, QString* error) {
    SafeFileDevice file(path);
    if (!file.Open()) return Fail(error, QStringLiteral("Cannot write %1").arg(path));
    PrintOutcome outcome;
    {
        QPdfWriter pdf(&file);
        pdf.setPageSize(page);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(setup.Title);
        pdf.setCreator(QStringLiteral("Hexlane"));
        outcome = PrintMap(u, areaHexes, pdf, setup, onPage);
    }
    if (outcome != PrintOutcome::Done) {
        switch (outcome) {
        case PrintOutcome::Cancelled: return Fail(error, QStringLiteral("Stopped: %1 was not written.").arg(path));
        case PrintOutcome::TooManyPages: return Fail(error, TooManyPagesText());
        default: return Fail(error, QStringLiteral("Cannot write %1").arg(path));
        }
    }
    if (!file.Commit()) return Fail(error, QStringLiteral("Cannot write %1").arg(path));
    return true;
}

}  // namespace hexlane::render
