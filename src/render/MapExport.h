#pragma once
// Pictures of the map as files: PNG at any hex size (the raster picture
// itself at the zoom levels 10, 30 and 90, the vector painter at any other
// size), SVG with names as text, PDF on pages as for printing. Every file
// replaces its target only when complete; a stopped or failed export leaves
// the target as it was.

#include "MapPages.h"

#include <QPageSize>
#include <QRectF>
#include <QString>

class TUniverse;

namespace hexlane::render {

inline constexpr int kMinExportHexSize = 4;
inline constexpr int kMaxExportHexSize = 200;

// The message for a poster of more than kMaxPages pages.
QString TooManyPagesText();

// True for the zoom levels whose PNG is the raster picture (10, 30, 90).
bool IsRasterHexSize(int hexSize);

// The picture's size in pixels at a hex size (the whole displayed map).
QSize PictureSizeAt(const TUniverse& universe, int hexSize);

// `areaHexes` (see MapPages.h) of the picture at `hexSize` pixels per hex as
// a PNG file, band by band. The progress is told after each band.
bool ExportPng(const TUniverse& universe, const QRectF& areaHexes, int hexSize, const QString& path,
               const ContinueFn& progress, QString* error);
// The same area as an SVG drawing of the picture's size in pixels.
bool ExportSvg(const TUniverse& universe, const QRectF& areaHexes, int hexSize, const QString& path,
               const QString& title, QString* error);
// The area on PDF pages of the given size as the setup says (one page
// fitted, or a poster).
bool ExportPdf(const TUniverse& universe, const QRectF& areaHexes, const PageSetup& setup, const QPageSize& page,
               const QString& path, const ContinueFn& onPage, QString* error);

}  // namespace hexlane::render
