#include "MapExport.h"

#include "DefineUniverse.h"
#include "ExactPart.h"
#include "FileIO.h"
#include "MapBitmap.h"
#include "MapPainter.h"
#include "MapRenderer.h"
#include "PngFile.h"
#include "SvgWriter.h"

#include <QFileInfo>
#include <QImage>
#include <QIODevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <new>

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

ExportResult Failed(const QString& text) {
    return {ExportOutcome::Failed, text};
}

ExportResult FromWriter(bool written, const QString& error, bool* stopped) {
    if (written) return {};
    return {stopped && *stopped ? ExportOutcome::Stopped : ExportOutcome::Failed, error};
}

// Wraps the caller's progress to remember whether it asked to stop.
ProgressFn Remembering(const ProgressFn& progress, bool& stopped) {
    if (!progress) return {};
    return [&progress, &stopped](int done, int total) {
        const bool go = progress(done, total);
        if (!go) stopped = true;
        return go;
    };
}

// The size of the picture at a hex size from the picture of its level,
// capped as the level's picture is.
QSize ScaledSize(QSize level, double scale) {
    auto side = [scale](int length) {
        return static_cast<int>(std::clamp(std::ceil(length * scale - 1e-6), 1.0, double(1 << 30)));
    };
    return QSize(side(level.width()), side(level.height()));
}

const QString kEmptyPart = QStringLiteral("The part of the map to draw is empty.");

// The raster picture's indices, band by band, as a bitmap or a 16-colour PNG.
ExportResult ExportRaster(const MapRenderer& renderer, const PictureJob& job, const QRectF& area,
                          const ProgressFn& progress) {
    const QRect region = PixelsOf(area, job.HexSize, renderer.PictureSize());
    if (region.isEmpty()) return Failed(kEmptyPart);
    const int bandRows = BandRowsFor(region.width(), renderer.MarginX(), renderer.MarginY());
    QImage scratch;  // one working image for all full bands
    bool stopped = false;
    const ProgressFn told = Remembering(progress, stopped);
    QString error;
    bool written;
    if (job.Format == PictureFormat::Bitmap) {
        written = WriteBitmap4(
            job.Path, region.width(), region.height(), bandRows,
            [&](int top, int rows, std::uint8_t* indices) {
                renderer.RenderIndices(QRect(region.x(), region.y() + top, region.width(), rows), indices,
                                       region.width(), &scratch);
            },
            told, &error);
    } else {
        written = WritePng(
            job.Path, region.width(), region.height(), bandRows, PngPixels::Palette16,
            [&](int top, int rows, std::uint8_t* band, std::int64_t stride) {
                renderer.RenderIndices(QRect(region.x(), region.y() + top, region.width(), rows), band,
                                       static_cast<int>(stride), &scratch);
            },
            told, &error);
    }
    return FromWriter(written, error, &stopped);
}

// The hex's millimetres on a picture of the job's pixels per inch.
double MmPerHexOf(const PictureJob& job) {
    const double ppi = job.PixelsPerInch > 0 ? job.PixelsPerInch : 96.0;
    return job.HexSize / ppi * 25.4;
}

ExportResult ExportScaledPng(const TUniverse& u, const PictureJob& job, const QRectF& area,
                             const ProgressFn& progress) {
    const MapPainter map(PictureLayout(u, job.Pages, job.HexSize, MmPerHexOf(job), area));
    const double scale = double(job.HexSize) / map.LevelHexSize();
    const QRect region = PixelsOf(area, job.HexSize, ScaledSize(map.PictureSize(), scale));
    if (region.isEmpty()) return Failed(kEmptyPart);
    const QPolygonF exact = job.Pages.ExactArea ? ExactOutline(map.Layout().Frame, area) : QPolygonF();
    // Bands of about 32 MB of pixels.
    const int bandRows =
        static_cast<int>(std::clamp<std::int64_t>((32 << 20) / (std::int64_t(region.width()) * 4), 16, 2048));
    bool stopped = false;
    QString error;
    const bool written = WritePng(
        job.Path, region.width(), region.height(), bandRows, PngPixels::Rgb32,
        [&](int top, int rows, std::uint8_t* band, std::int64_t stride) {
            QImage image(band, region.width(), rows, static_cast<qsizetype>(stride), QImage::Format_RGB32);
            QPainter p(&image);
            p.scale(scale, scale);
            map.Paint(p, QRectF(region.x() / scale, (region.y() + top) / scale, region.width() / scale, rows / scale),
                      exact);
        },
        Remembering(progress, stopped), &error);
    return FromWriter(written, error, &stopped);
}

ExportResult ExportSvg(const TUniverse& u, const PictureJob& job, const QRectF& area, const ProgressFn& progress) {
    const MapLayout layout = PictureLayout(u, job.Pages, job.HexSize, MmPerHexOf(job), area);
    const double scale = double(job.HexSize) / layout.Frame.M.S;
    const QRect region = PixelsOf(area, job.HexSize, ScaledSize(layout.Size, scale));
    if (region.isEmpty()) return Failed(kEmptyPart);
    const QPolygonF exact = job.Pages.ExactArea ? ExactOutline(layout.Frame, area) : QPolygonF();
    ReplacingOutputFile file(job.Path.toStdString());
    if (!file.Open()) return Failed(WriteFailedText(job.Path, QString::fromLocal8Bit(std::strerror(errno))));
    bool stopped = false;
    const bool written = WriteSvg(layout.Picture, file.Handle(), region, scale, job.Pages.Title,
                                  Remembering(progress, stopped), exact,
                                  PrintLookOf(job.Pages) ? job.PixelsPerInch : 96.0);
    if (stopped) return {ExportOutcome::Stopped, StoppedText(job.Path)};
    if (!written || std::fflush(file.Handle()) != 0)
        return Failed(WriteFailedText(job.Path, QString::fromLocal8Bit(std::strerror(errno))));
    if (!file.Commit()) return Failed(WriteFailedText(job.Path));
    return {};
}

// A PDF file's outcome (path given) or a printer's.
ExportResult Printed(PrintOutcome outcome, const QString& path = {}) {
    switch (outcome) {
    case PrintOutcome::Done: return {};
    case PrintOutcome::Cancelled:
        return {ExportOutcome::Stopped, path.isEmpty() ? QStringLiteral("Printing stopped.") : StoppedText(path)};
    case PrintOutcome::TooManyPages: return Failed(TooManyPagesText());
    case PrintOutcome::Failed: break;
    }
    return Failed(path.isEmpty() ? QStringLiteral("The map could not be printed.") : WriteFailedText(path));
}

ExportResult ExportPdf(const TUniverse& u, const PictureJob& job, const QRectF& area, const ProgressFn& progress) {
    SafeFileDevice file(job.Path);
    if (!file.Open()) return Failed(WriteFailedText(job.Path, QString::fromLocal8Bit(std::strerror(errno))));
    PrintOutcome outcome;
    PaperPlan paper;
    {
        QPdfWriter pdf(&file);
        pdf.setPageSize(job.Paper);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(job.Pages.Title);
        pdf.setCreator(QStringLiteral("Hexlane"));
        outcome = PrintMap(u, area, pdf, job.Pages, progress, &paper);
    }
    if (outcome != PrintOutcome::Done) return Printed(outcome, job.Path);
    if (!file.Commit()) return Failed(WriteFailedText(job.Path));
    ExportResult done;
    done.Paper = paper;
    return done;
}

}  // namespace

std::optional<PictureFormat> FormatOfFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("bmp")) return PictureFormat::Bitmap;
    if (suffix == QLatin1String("png")) return PictureFormat::Png;
    if (suffix == QLatin1String("svg")) return PictureFormat::Svg;
    if (suffix == QLatin1String("pdf")) return PictureFormat::Pdf;
    return std::nullopt;
}

QString WriteFailedText(const QString& path, const QString& reason) {
    return reason.isEmpty() ? QStringLiteral("Cannot write %1").arg(path)
                            : QStringLiteral("Cannot write %1: %2").arg(path, reason);
}

QString StoppedText(const QString& path) {
    return QStringLiteral("Stopped: %1 was not written.").arg(path);
}

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

namespace {

ExportResult Export(const TUniverse& u, const PictureJob& job, const ProgressFn& progress) {
    const QRectF area = job.Area.isEmpty() ? WholeMapHexes(u) : job.Area;
    switch (job.Format) {
    case PictureFormat::Bitmap:
        if (!IsRasterHexSize(job.HexSize))
            return Failed(QStringLiteral("The hex size of a bitmap is 10, 30 or 90, not %1.").arg(job.HexSize));
        [[fallthrough]];
    case PictureFormat::Png:
        if (IsRasterHexSize(job.HexSize)) {
            // The raster picture, pixel for pixel as on screen.
            if (job.Screen && job.Screen->Layout().Frame.M.S == job.HexSize)
                return ExportRaster(*job.Screen, job, area, progress);
            return ExportRaster(MapRenderer(LayoutMap(u, job.HexSize)), job, area, progress);
        }
        return ExportScaledPng(u, job, area, progress);
    case PictureFormat::Svg: return ExportSvg(u, job, area, progress);
    case PictureFormat::Pdf: return ExportPdf(u, job, area, progress);
    case PictureFormat::Print: {
        if (!job.Printer) return Failed(QStringLiteral("No printer was chosen."));
        PaperPlan paper;
        ExportResult result = Printed(PrintMap(u, area, *job.Printer, job.Pages, progress, &paper));
        result.Paper = paper;
        return result;
    }
    }
    return Failed(QStringLiteral("Unknown picture format."));
}

}  // namespace

ExportResult ExportPicture(const TUniverse& u, const PictureJob& job, const ProgressFn& progress) {
    // A picture too large for the memory left is a message, never the end of
    // the program; the target stays as it was.
    try {
        return Export(u, job, progress);
    } catch (const std::bad_alloc&) {
        return Failed(QStringLiteral("Not enough memory to draw this picture."));
    }
}

}  // namespace hexlane::render
