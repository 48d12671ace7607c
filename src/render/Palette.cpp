#include "Palette.h"

#include <limits>

namespace hexlane::render {

namespace {

constexpr std::array<QRgb, kPaletteSize> kColours = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

// The 16 colours differ in the top three bits of at least one channel, so
// those nine bits identify a palette colour.
constexpr int Key(QRgb c) {
    return ((qRed(c) >> 5) << 6) | ((qGreen(c) >> 5) << 3) | (qBlue(c) >> 5);
}

struct KeyTable {
    std::array<std::int8_t, 512> index{};
    KeyTable() {
        index.fill(-1);
        for (int i = 0; i < kPaletteSize; ++i) index[static_cast<std::size_t>(Key(kColours[static_cast<std::size_t>(i)]))] = static_cast<std::int8_t>(i);
    }
};

const KeyTable& Keys() {
    static const KeyTable table;
    return table;
}

}  // namespace

const std::array<QRgb, kPaletteSize>& Palette() {
    return kColours;
}

int NearestPaletteIndex(QRgb colour) {
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < kPaletteSize; ++i) {
        const QRgb p = kColours[static_cast<std::size_t>(i)];
        const int dr = qRed(colour) - qRed(p), dg = qGreen(colour) - qGreen(p), db = qBlue(colour) - qBlue(p);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

QRgb NearestPaletteColour(QRgb colour) {
    return kColours[static_cast<std::size_t>(NearestPaletteIndex(colour))];
}

QRgb MapColourToRgb(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    return qRgb(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

QRgb MapColourOnPalette(std::int32_t value) {
    return NearestPaletteColour(MapColourToRgb(value));
}

int PixelPaletteIndex(QRgb pixel) {
    const int i = Keys().index[static_cast<std::size_t>(Key(pixel))];
    if (i >= 0 && (kColours[static_cast<std::size_t>(i)] & 0xFFFFFF) == (pixel & 0xFFFFFF)) return i;
    return NearestPaletteIndex(pixel);
}

QImage ToPaletteImage(const QImage& picture) {
    const QImage rgb = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
    QImage out(rgb.size(), QImage::Format_Indexed8);
    if (out.isNull()) return out;
    out.setColorTable(QList<QRgb>(kColours.begin(), kColours.end()));
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* dst = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) dst[x] = static_cast<uchar>(PixelPaletteIndex(src[x]));
    }
    return out;
}

}  // namespace hexlane::render
