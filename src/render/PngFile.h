#pragma once
// PNG files written row band by row band through libpng, so memory stays
// bounded whatever the picture's size: 4-bit indexed with the 16-colour
// palette for the raster picture, 8-bit RGB for the vector painter's bands.
// The file replaces its target only when complete.

#include "Progress.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace hexlane::render {

enum class PngPixels {
    Palette16,  // the band is one palette index (0-15) per byte
    Rgb32,      // the band is QImage::Format_RGB32 pixels (4 bytes each)
};

// Fills `rows` rows starting at picture row `top` into `band`, rows
// `stride` bytes apart.
using PngBandFn = std::function<void(int top, int rows, std::uint8_t* band, std::int64_t stride)>;

// Writes the file; false with a message in `error` when it could not be
// written or was stopped (the target is then left as it was).
bool WritePng(const QString& path, int width, int height, int bandRows, PngPixels pixels, const PngBandFn& fill,
              const ProgressFn& progress, QString* error);

}  // namespace hexlane::render
