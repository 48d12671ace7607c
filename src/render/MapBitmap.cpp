#include "MapBitmap.h"

#include "MapExport.h"
#include "Palette.h"

#include "FileIO.h"
#include "worldmap/BitmapHeader.h"

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <vector>

namespace hexlane::render {

std::int64_t Bitmap4RowBytes(int width) {
    return worldmap::BitmapRowBytes(width, 4);
}

int BandRowsFor(int width, int marginX, int marginY, std::int64_t budgetBytes) {
    const std::int64_t perRow = (static_cast<std::int64_t>(width) + 2 * marginX) * 4;
    const std::int64_t rows = budgetBytes / std::max<std::int64_t>(perRow, 1) - 2 * marginY;
    // Bands much thinner than their margins would draw mostly margin.
    const std::int64_t least = std::max(64, 4 * marginY);
    return static_cast<int>(std::clamp<std::int64_t>(rows, least, std::max<std::int64_t>(least, 4096)));
}

bool WriteBitmap4(const QString& path, int width, int height, int bandRows, const BandFn& fill,
                  const ProgressFn& progress, QString* error) {
    auto fail = [&](const QString& text) {
        if (error) *error = text;
        return false;
    };
    if (width <= 0 || height <= 0) return fail(QStringLiteral("The picture is empty."));
    const std::int64_t rowBytes = Bitmap4RowBytes(width);
    std::vector<worldmap::BitmapColour> colours;
    for (QRgb c : Palette())
        colours.push_back({static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
                           static_cast<std::uint8_t>(qBlue(c))});
    std::vector<std::uint8_t> header;
    if (!worldmap::BitmapHeader(width, height, 4, colours, header))
        return fail(QStringLiteral("The picture (%1 x %2 pixels) is too large for a bitmap file.").arg(width).arg(height));
    bandRows = std::clamp(bandRows, 1, height);

    // The one safe writer: the old file stays until every band was written.
    hexlane::ReplacingOutputFile file(path.toStdString());
    if (!file.Open()) return fail(WriteFailedText(path, QString::fromLocal8Bit(std::strerror(errno))));
    auto writeFailed = [&] { return fail(WriteFailedText(path, QString::fromLocal8Bit(std::strerror(errno)))); };
    auto write = [&](const void* data, std::size_t size) { return std::fwrite(data, 1, size, file.Handle()) == size; };
    if (!write(header.data(), header.size())) return writeFailed();

    const int bands = (height + bandRows - 1) / bandRows;
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(width) * static_cast<std::size_t>(bandRows));
    // Packed rows go out a few at a time (about 1 MB): the band's indices are
    // the only copy of a whole band.
    const int chunkRows = static_cast<int>(std::clamp<std::int64_t>((1 << 20) / rowBytes, 1, bandRows));
    std::vector<std::uint8_t> packed(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(chunkRows));
    // The file holds the bottom row first: bands go from the bottom up and
    // each band's rows are written in reverse.
    for (int b = 0; b < bands; ++b) {
        const int bottom = height - b * bandRows;  // one past the band's last row
        const int top = std::max(0, bottom - bandRows);
        const int rows = bottom - top;
        fill(top, rows, indices.data());
        for (int last = rows - 1; last >= 0; last -= chunkRows) {
            const int n = std::min(chunkRows, last + 1);
            std::fill(packed.begin(), packed.end(), 0);
            for (int i = 0; i < n; ++i) {
                const std::uint8_t* src =
                    indices.data() + static_cast<std::size_t>(last - i) * static_cast<std::size_t>(width);
                worldmap::PackNibbles(src, width, packed.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(rowBytes));
            }
            if (!write(packed.data(), static_cast<std::size_t>(rowBytes * n))) return writeFailed();
        }
        if (progress && !progress(b + 1, bands)) return fail(StoppedText(path));
    }
    if (!file.Commit()) return writeFailed();
    return true;
}

}  // namespace hexlane::render
