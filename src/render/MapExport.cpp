#include "MapExport.h"

#include "DefineUniverse.h"
#include "MapBitmap.h"
#include "MapPainter.h"
#include "MapRenderer.h"
#include "PngFile.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace hexlane::render {

namespace {

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return Fail(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(region.size());
        svg.setViewBox(QRect(QPoint(0, 0), region.size()));
        svg.setResolution(96);
        svg.setTitle(title);
        QPainter p;
        if (!p.begin(&svg)) {
            file.cancelWriting();
            return Fail(error, QStringLiteral("Cannot write %1").arg(path));
        }
        p.scale(scale, scale);
        map.Paint(p, QRectF(region.x() / scale, region.y() / scale, region.width() / scale, region.height() / scale));
        p.end();
    }
    if (!file.commit()) return Fail(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    return true;
}

bool ExportPdf(const TUniverse& u, const QRectF& areaHexes, const PageSetup& setup, const QPageSize& page,
               const QString& path, const ContinueFn& onPage, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return Fail(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
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
        file.cancelWriting();
        switch (outcome) {
        case PrintOutcome::Cancelled: return Fail(error, QStringLiteral("Stopped: %1 was not written.").arg(path));
        case PrintOutcome::TooManyPages: return Fail(error, TooManyPagesText());
        default: return Fail(error, QStringLiteral("Cannot write %1").arg(path));
        }
    }
    if (!file.commit()) return Fail(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    return true;
}

}  // namespace hexlane::render
