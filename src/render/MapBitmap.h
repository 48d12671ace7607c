#pragma once
// 4-bit-per-pixel Windows bitmaps with the 16-colour palette, written as a
// stream of bands so that memory stays bounded whatever the picture's size.
// The file is written beside the target under a temporary name and renamed
// over it only when complete.

#include "Progress.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace hexlane::render {

// Fills `rows` rows of palette indices (0-15), one byte per pixel, row y of
// the band at indices + y * width; `top` is the band's first row.
using BandFn = std::function<void(int top, int rows, std::uint8_t* indices)>;

// Bytes per pixel row in the file: two pixels a byte, padded to 4 bytes.
std::int64_t Bitmap4RowBytes(int width);

// Writes a width x height 4-bit bitmap whose rows `fill` produces in bands
// of at most bandRows rows (from the bottom band up, the order of rows in
// the file); the progress is told after each band and stops the job by
// returning false. False with a message in `error` when the file cannot be
// written, was stopped or the picture does not fit a bitmap file; the
// target is then left as it was.
bool WriteBitmap4(const QString& path, int width, int height, int bandRows, const BandFn& fill,
                  const ProgressFn& progress, QString* error);

// Rows per band for a picture of this width drawn with these margins, so
// that one band's working image stays near `budgetBytes`.
int BandRowsFor(int width, int marginX, int marginY, std::int64_t budgetBytes = 32 << 20);

}  // namespace hexlane::render
