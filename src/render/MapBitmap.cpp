#include "MapBitmap.h"

#include "MapRenderer.h"
#include "Palette.h"

#include "FileIO.h"

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <vector>

namespace hexlane::render {

namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;
constexpr int kPaletteBytes = 16 * 4;
constexpr int kPixelOffset = kFileHeaderBytes + kInfoHeaderBytes + kPaletteBytes;
constexpr std::int32_t kPixelsPerMetre = 3780;  // 96 dots per inch

void Put16(std::vector<char>& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void Put32(std::vector<char>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

std::vector<char> Header(int width, int height, std::uint32_t imageBytes) {
    std::vector<char> h;
    h.reserve(kPixelOffset);
    h.push_back('B');
    h.push_back('M');
    Put32(h, kPixelOffset + imageBytes);  // file size
    Put32(h, 0);                          // reserved
    Put32(h, kPixelOffset);               // offset of the pixels
    Put32(h, kInfoHeaderBytes);
    Put32(h, static_cast<std::uint32_t>(width));
    Put32(h, static_cast<std::uint32_t>(height));  // positive: rows stored bottom-up
    Put16(h, 1);                                   // planes
    Put16(h, 4);                                   // bits per pixel
    Put32(h, 0);                                   // no compression
    Put32(h, imageBytes);
    Put32(h, kPixelsPerMetre);
    Put32(h, kPixelsPerMetre);
    Put32(h, 16);  // colours used
    Put32(h, 0);   // all colours important
    for (QRgb c : Palette()) {
        h.push_back(static_cast<char>(qBlue(c)));
        h.push_back(static_cast<char>(qGreen(c)));
        h.push_back(static_cast<char>(qRed(c)));
        h.push_back(0);
    }
    return h;
}

}  // namespace

std::int64_t Bitmap4RowBytes(int width) {
    return (static_cast<std::int64_t>(width) + 7) / 8 * 4;
}

int BandRowsFor(int width, int marginX, int marginY, std::int64_t budgetBytes) {
    const std::int64_t perRow = (static_cast<std::int64_t>(width) + 2 * marginX) * 4;
    const std::int64_t rows = budgetBytes / std::max<std::int64_t>(perRow, 1) - 2 * marginY;
    // Bands much thinner than their margins would draw mostly margin.
    const std::int64_t least = std::max(64, 4 * marginY);
    return static_cast<int>(std::clamp<std::int64_t>(rows, least, std::max<std::int64_t>(least, 4096)));
}

bool WriteBitmap4(const QString& path, int width, int height, int bandRows, const BandFn& fill,
                  const BandProgressFn& progress, QString* error) {
    auto fail = [&](const QString& text) {
        if (error) *error = text;
        return false;
    };
    if (width <= 0 || height <= 0) return fail(QStringLiteral("The picture is empty."));
    const std::int64_t rowBytes = Bitmap4RowBytes(width);
    const std::int64_t imageBytes = rowBytes * height;
    if (imageBytes + kPixelOffset > 0xFFFFFFFFLL)
        return fail(QStringLiteral("The picture (%1 x %2 pixels) is too large for a bitmap file.").arg(width).arg(height));
    bandRows = std::clamp(bandRows, 1, height);

    // The one safe writer: the old file stays until every band was written.
    hexlane::ReplacingOutputFile file(path.toStdString());
    if (!file.Open()) return fail(QStringLiteral("Error Creating Filestream"));
    auto writeFailed = [&] {
        return fail(QStringLiteral("Cannot write %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    };
    auto write = [&](const char* data, std::size_t size) { return std::fwrite(data, 1, size, file.Handle()) == size; };
    const std::vector<char> header = Header(width, height, static_cast<std::uint32_t>(imageBytes));
    if (!write(header.data(), header.size())) return writeFailed();

    const int bands = (height + bandRows - 1) / bandRows;
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(width) * static_cast<std::size_t>(bandRows));
    std::vector<char> packed(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(bandRows));
    // The file holds the bottom row first: bands go from the bottom up and
    // each band's rows are written in reverse.
    for (int b = 0; b < bands; ++b) {
        const int bottom = height - b * bandRows;  // one past the band's last row
        const int top = std::max(0, bottom - bandRows);
        const int rows = bottom - top;
        fill(top, rows, indices.data());
        std::fill(packed.begin(), packed.end(), 0);
        for (int y = 0; y < rows; ++y) {
            const std::uint8_t* src = indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
            char* dst = packed.data() + static_cast<std::size_t>(rows - 1 - y) * static_cast<std::size_t>(rowBytes);
            for (int x = 0; x + 1 < width; x += 2)
                dst[x / 2] = static_cast<char>(((src[x] & 0xF) << 4) | (src[x + 1] & 0xF));
            if (width % 2) dst[width / 2] = static_cast<char>((src[width - 1] & 0xF) << 4);
        }
        if (!write(packed.data(), static_cast<std::size_t>(rowBytes * rows))) return writeFailed();
        if (progress) progress(b + 1, bands);
    }
    if (!file.Commit()) return writeFailed();
    return true;
}

bool SaveMapBitmap(const MapRenderer& renderer, const QString& path, QRect region, const BandProgressFn& progress,
                   QString* error) {
    if (region.isEmpty()) region = QRect(QPoint(0, 0), renderer.PictureSize());
    const int bandRows = BandRowsFor(region.width(), renderer.MarginX(), renderer.MarginY());
    QImage scratch;  // one working image for all full bands
    return WriteBitmap4(
        path, region.width(), region.height(), bandRows,
        [&](int top, int rows, std::uint8_t* indices) {
            renderer.RenderIndices(QRect(region.x(), region.y() + top, region.width(), rows), indices, region.width(),
                                   &scratch);
        },
        progress, error);
}

}  // namespace hexlane::render
