#pragma once
// Pictures of the map, one way for every picture the window and the tool
// make: a PictureJob says what (a part of the map in hexes), where (a file or
// a printer), how large (pixels per hex, or pages) and in which format, and
// ExportPicture does it. 4-bit bitmaps and PNG files at the zoom levels 10,
// 30 and 90 are the raster picture itself; PNG at any other size, PDF and
// printing are the vector painter's; SVG is written element by element as
// the shapes are drawn. Every file replaces its target only when complete; a
// stopped or failed export leaves the target as it was.

#include "MapPages.h"

#include <QPageSize>
#include <QRectF>
#include <QString>

#include <optional>
#include <utility>

class QPagedPaintDevice;
class TUniverse;

namespace hexlane::render {

class MapRenderer;

inline constexpr int kMinExportHexSize = 4;
inline constexpr int kMaxExportHexSize = 200;

enum class PictureFormat { Bitmap, Png, Svg, Pdf, Print };

// The format a file's name asks for (.bmp, .png, .svg, .pdf, any case).
std::optional<PictureFormat> FormatOfFile(const QString& path);

struct PictureJob {
    PictureFormat Format = PictureFormat::Png;
    // The part of the map in hexes (see MapPages.h); empty: the whole map.
    QRectF Area;
    // Pixels per hex of a bitmap (10, 30 or 90), a PNG or an SVG.
    int HexSize = 30;
    // PDF and printing: one page fitted or a poster, margin, title line; the
    // title also names an SVG drawing, and the look applies to every picture
    // but the 16-colour ones.
    PageSetup Pages;
    // PNG and SVG: pixels per inch, which sets the hex's size for the detail.
    double PixelsPerInch = 96;
    QPageSize Paper{QPageSize::A4};  // PDF
    QString Path;                    // every format but Print
    QPagedPaintDevice* Printer = nullptr;  // Print
    // Bitmap and PNG at its zoom level: draw this picture (the one on
    // screen) instead of laying the universe out anew.
    const MapRenderer* Screen = nullptr;
};

enum class ExportOutcome { Done, Stopped, Failed };

struct ExportResult {
    ExportResult() = default;
    ExportResult(ExportOutcome outcome, QString message) : Outcome(outcome), Message(std::move(message)) {}
    ExportOutcome Outcome = ExportOutcome::Done;
    QString Message;  // why it failed or stopped; empty when done
    PaperPlan Paper;  // PDF and printing: the pages printed and the hex's size on them
    bool Done() const { return Outcome == ExportOutcome::Done; }
};

// Makes the picture. The progress is told after each band or page and stops
// the job by returning false.
ExportResult ExportPicture(const TUniverse& universe, const PictureJob& job, const ProgressFn& progress = {});

// The messages of a failed and of a stopped file.
QString WriteFailedText(const QString& path, const QString& reason = {});
QString StoppedText(const QString& path);
// The message for a poster of more than kMaxPages pages.
QString TooManyPagesText();

// True for the zoom levels whose PNG is the raster picture (10, 30, 90).
bool IsRasterHexSize(int hexSize);

// The picture's size in pixels at a hex size (the whole displayed map).
QSize PictureSizeAt(const TUniverse& universe, int hexSize);

}  // namespace hexlane::render
