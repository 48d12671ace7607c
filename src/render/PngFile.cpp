#include "PngFile.h"

#include "FileIO.h"
#include "MapExport.h"
#include "Palette.h"
#include "worldmap/BitmapHeader.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <vector>

namespace hexlane::render {

namespace {

struct PngState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    char message[200] = {};
};

void OnError(png_structp png, png_const_charp text) {
    auto* state = static_cast<PngState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", text);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Everything that calls into libpng, which reports failure by a long jump
// back here: only plain values live in this frame, so the jump skips no
// destructor. Returns 0 when done, 1 on a libpng failure, 2 when stopped.
int WriteRows(PngState& s, std::FILE* file, int width, int height, int bandRows, PngPixels pixels,
              const PngBandFn& fill, const ProgressFn& progress, std::uint8_t* band, std::int64_t stride,
              std::uint8_t* packed) {
    if (setjmp(png_jmpbuf(s.png))) return 1;
    png_init_io(s.png, file);
    // The pictures are large areas of few colours: fast compression already
    // shrinks them well, and unfiltered rows suit indexed pixels.
    png_set_compression_level(s.png, 1);
    png_set_compression_strategy(s.png, Z_RLE);
    if (pixels == PngPixels::Palette16) {
        png_set_IHDR(s.png, s.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 4,
                     PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_color colours[kPaletteSize];
        for (int i = 0; i < kPaletteSize; ++i) {
            const QRgb c = Palette()[static_cast<std::size_t>(i)];
            colours[i] = {static_cast<png_byte>(qRed(c)), static_cast<png_byte>(qGreen(c)), static_cast<png_byte>(qBlue(c))};
        }
        png_set_PLTE(s.png, s.info, colours, kPaletteSize);
        png_set_filter(s.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    } else {
        png_set_IHDR(s.png, s.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_filter(s.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    }
    png_set_pHYs(s.png, s.info, 3780, 3780, PNG_RESOLUTION_METER);  // 96 dots per inch
    png_write_info(s.png, s.info);
    if (pixels == PngPixels::Rgb32) {
        // QImage's 32-bit pixels are B, G, R, unused in memory on little-endian
        // machines and unused, R, G, B on big-endian ones.
        if (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
            png_set_bgr(s.png);
            png_set_filler(s.png, 0, PNG_FILLER_AFTER);
        } else {
            png_set_filler(s.png, 0, PNG_FILLER_BEFORE);
        }
    }
    const int bands = (height + bandRows - 1) / bandRows;
    for (int b = 0; b < bands; ++b) {
        const int top = b * bandRows;
        const int rows = std::min(bandRows, height - top);
        fill(top, rows, band, stride);
        for (int y = 0; y < rows; ++y) {
            std::uint8_t* row = band + y * stride;
            if (pixels == PngPixels::Palette16) {
                worldmap::PackNibbles(row, width, packed);
                row = packed;
            }
            png_write_row(s.png, row);
        }
        if (progress && !progress(b + 1, bands)) return 2;
    }
    png_write_end(s.png, s.info);
    return 0;
}

}  // namespace

bool WritePng(const QString& path, int width, int height, int bandRows, PngPixels pixels, const PngBandFn& fill,
              const ProgressFn& progress, QString* error) {
    auto fail = [&](const QString& text) {
        if (error) *error = text;
        return false;
    };
    if (width <= 0 || height <= 0) return fail(QStringLiteral("The picture is empty."));
    bandRows = std::clamp(bandRows, 1, height);
    const std::int64_t stride = static_cast<std::int64_t>(width) * (pixels == PngPixels::Rgb32 ? 4 : 1);
    std::vector<std::uint8_t> band, packed;
    try {
        band.resize(static_cast<std::size_t>(stride) * static_cast<std::size_t>(bandRows));
        packed.resize(static_cast<std::size_t>(width) / 2 + 1);
    } catch (const std::bad_alloc&) {
        return fail(QStringLiteral("Not enough memory for a picture %1 pixels wide.").arg(width));
    }

    ReplacingOutputFile file(path.toStdString());
    if (!file.Open()) return fail(WriteFailedText(path));
    PngState state;
    state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
    if (state.png) state.info = png_create_info_struct(state.png);
    if (!state.info) {
        png_destroy_write_struct(&state.png, nullptr);
        return fail(QStringLiteral("Not enough memory to write %1").arg(path));
    }
    const int result = WriteRows(state, file.Handle(), width, height, bandRows, pixels, fill, progress, band.data(),
                                 stride, packed.data());
    png_destroy_write_struct(&state.png, &state.info);
    if (result == 1) return fail(WriteFailedText(path, QString::fromLocal8Bit(state.message)));
    if (result == 2) return fail(StoppedText(path));
    if (!file.Commit()) return fail(WriteFailedText(path));
    return true;
}

}  // namespace hexlane::render
