#pragma once
// The 16-colour palette of the map picture (the standard VGA colours) and the
// reduction of any colour to its nearest palette entry, so that every pixel of
// the picture is one of these 16 colours.

#include <QImage>
#include <QRgb>

#include <array>
#include <cstdint>

namespace hexlane::render {

inline constexpr int kPaletteSize = 16;

// Index order as written into a 4-bit bitmap's colour table.
enum PaletteIndex : std::uint8_t {
    pcBlack, pcMaroon, pcGreen, pcOlive, pcNavy, pcPurple, pcTeal, pcSilver,
    pcGrey, pcRed, pcLime, pcYellow, pcBlue, pcFuchsia, pcAqua, pcWhite
};

const std::array<QRgb, kPaletteSize>& Palette();

// The palette entry nearest to the colour (squared RGB distance; the first
// entry wins a tie). No dithering anywhere.
int NearestPaletteIndex(QRgb colour);
QRgb NearestPaletteColour(QRgb colour);

// A map colour value (0x00BBGGRR) as RGB. Values with a non-zero top byte
// (system colours and the "none"/"default" markers of the map format) have no
// RGB of their own here; their low three bytes are used.
QRgb MapColourToRgb(std::int32_t value);
// The palette colour a map colour value is drawn in.
QRgb MapColourOnPalette(std::int32_t value);

// Palette index of a picture pixel: exact for the 16 colours, nearest for any
// other value. Fast enough to run over every pixel of a large picture.
int PixelPaletteIndex(QRgb pixel);

// The picture as an 8-bit indexed image with the 16-entry colour table.
QImage ToPaletteImage(const QImage& picture);

}  // namespace hexlane::render
