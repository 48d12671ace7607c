#pragma once
// The parts of the print look that the map and its legend share: the sizes
// of each detail level in layout pixels (kPrintHexSize to a hex), its inks,
// and the system symbols (worlds, zone rings, base and content glyphs), so
// that the legend shows exactly what the map draws.

#include "DisplayList.h"
#include "PrintStyle.h"

#include <QRgb>

#include <array>
#include <cstdint>

class TStar;

namespace hexlane::render::print {

// Sizes of one detail level, in layout pixels, offsets from the hex's
// centre (y grows downwards). Fonts are given by their pixel height.
struct Metrics {
    DetailLevel Level = DetailLevel::Dots;
    int WorldR = 16;      // world disc
    int DryRim = 4;       // outline of a dry world
    int ZoneR = 0;        // zone ring (0: no rings)
    int ZoneWidth = 0;
    int GlyphR = 0;       // half the size of a base or content glyph (0: none)
    int GlyphX = 0;       // glyph columns at -GlyphX and +GlyphX
    std::array<int, 3> GlyphY{};  // glyph rows, top to bottom
    int NumberFont = 0, NumberTop = 0;  // hex number (0: none)
    int PortFont = 0, PortTop = 0;      // starport letter
    int NameFont = 0, NameTop = 0;      // system name
    int UwpFont = 0, UwpTop = 0;        // profile under the name (0: none)
};
Metrics MetricsFor(DetailLevel level);

// The point size (FontSpec::Points) whose pixel height is about `pixels`.
int PointsFor(int pixels);

// A physical width of `mm` millimetres in layout pixels at a hex of
// `mmPerHex`, at least `least` and at most `most`.
int Px(double mm, double mmPerHex, int least, int most);

// The inks of the print look (true colours; the palette half is the nearest
// palette colour, never used on paper).
Ink InkOf(QRgb colour);
inline constexpr QRgb kGridInk = 0xFFA8A8A8;
inline constexpr QRgb kSubsectorInk = 0xFF6E6E6E;
inline constexpr QRgb kSectorInk = 0xFF202020;
inline constexpr QRgb kNumberInk = 0xFF606060;
inline constexpr QRgb kTextInk = 0xFF000000;
inline constexpr QRgb kGlyphInk = 0xFF000000;
inline constexpr QRgb kWetInk = 0xFF1E5AA8;
inline constexpr QRgb kDryInk = 0xFF000000;
inline constexpr QRgb kAmberInk = 0xFFE89A00;
inline constexpr QRgb kRedInk = 0xFFC81414;
inline constexpr QRgb kPaper = 0xFFFFFFFF;
inline constexpr QRgb kNoBox = 0x00FFFFFF;      // a text's backing box that is not drawn
inline constexpr QRgb kFadedInk = 0x2E000000;   // subsector names behind the hexes
inline constexpr QRgb kSectorNameInk = 0x22000000;

// A light tint of an allegiance's colour for its hexes: mostly paper, so
// that every symbol stays readable on it; lighter still for the atlas,
// where dark colours would turn to dark greys.
QRgb Tint(QRgb colour, bool atlas);

// Whether a world has water (filled) or none (outlined), and is a belt.
bool IsWet(const TStar& star);
bool IsBelt(const TStar& star);

// The world at `centre`: a filled disc when wet, an outlined one when dry,
// a cluster of small dots for a belt.
void AddWorld(DisplayList& list, const Metrics& m, QPoint centre, bool wet, bool belt);
// The ring of an amber (thick, dashed) or red (thick, solid) zone.
void AddZoneRing(DisplayList& list, const Metrics& m, QPoint centre, bool red);

// The glyphs of bases and system contents, and the content bits each stands for.
enum class Glyph : std::uint8_t { GasGiant, NavalBase, ScoutBase, OtherBase, Research, Belts };
inline constexpr int kGlyphCount = 6;
std::int32_t GlyphBits(Glyph glyph);
// A glyph of half-size r around `at`.
void AddGlyph(DisplayList& list, Glyph glyph, QPoint at, int r);
// The glyphs of a system's content bits in their places around the world.
void AddContentGlyphs(DisplayList& list, const Metrics& m, QPoint centre, std::int32_t content);

// The greys of the atlas look: every true colour of the list by its
// luminance (alpha kept); coloured lines, rings and texts no lighter than a
// mid grey, so that a pale route, border or zone ring still prints.
QRgb Grey(QRgb colour);
void ToGreys(DisplayList& list);

}  // namespace hexlane::render::print
