#pragma once
// The look of the map on paper: printing, PDF, SVG and PNG at sizes other
// than the zoom levels. The level of detail follows the size of a hex on the
// paper (or on the picture at its pixels per inch), not screen pixels, and
// the symbols are meant to read in print and in greyscale. It is a display
// list of its own, laid out at a fixed geometry and scaled by the backends,
// so the screen picture and the 16-colour pictures are untouched by it.

#include "MapLayout.h"

#include <QRectF>

#include <cstdint>
#include <vector>

class TUniverse;

namespace hexlane::render {

// Which look a picture takes: the screen picture's, the print look in
// colour, or the print look in greys for black-and-white printers.
enum class PictureStyle : std::uint8_t { Screen, Print, Atlas };

// The detail asked for: follow the hex's size on paper, or a fixed level.
enum class DetailChoice : std::uint8_t { Auto, Dots, Names, Full };

// The detail drawn: dots only; names (small), starports, zones and hex
// numbers; everything, bases as glyphs; and the UWP under the name.
enum class DetailLevel : std::uint8_t { Dots, Names, Full, FullUwp };

struct PrintLook {
    PictureStyle Style = PictureStyle::Print;
    DetailChoice Detail = DetailChoice::Auto;
    bool Legend = true;            // a legend box (single pages) or a legend page (posters)
    bool SectorHexNumbers = true;  // hex numbers within the sector (else within the subsector)
};

// The print layout's pitch of one hex, in layout pixels.
inline constexpr int kPrintHexSize = 120;

// The detail a hex of `mmPerHex` millimetres (pitch) gets under a choice.
DetailLevel DetailFor(DetailChoice choice, double mmPerHex);

// The print look of the universe's displayed map at kPrintHexSize layout
// pixels per hex, for a hex of `mmPerHex` millimetres; the part of the map
// is in hexes as in MapPages.h. With a non-empty `exactHexes`, the part is
// drawn exactly: systems outside it draw nothing, so no name of a neighbour
// reaches the page (nor a PDF's text). The universe's stars are left alone.
MapLayout LayoutPrint(const TUniverse& universe, const PrintLook& look, double mmPerHex,
                      const QRectF& exactHexes = {});

// The largest sample of the legend (a zone ring), in millimetres on paper.
inline constexpr double kMostSampleMm = 6.5;

// The legend of what a print layout of this look and detail shows (the
// symbols of the layers shown), as a small picture of its own in the same
// layout pixels as the map, so that it reads at the map's scale with labels
// of about 6 points and samples of at most kMostSampleMm: its Size is the
// legend box. Its rows run down columns of at most `maxRows` rows (few rows:
// a wide strip, many: a narrow column); 0: one column up to eight rows, else
// two. An empty layout (Size 0 x 0) when there is nothing to explain.
MapLayout LayoutLegend(const TUniverse& universe, const PrintLook& look, double mmPerHex, int maxRows = 0);
// The sizes of that legend (layout pixels) for 1, 2... rows to a column, up
// to all its rows in one column: element i is LayoutLegend's Size for
// maxRows i + 1. Empty when there is no legend.
std::vector<QSize> LegendSizes(const TUniverse& universe, const PrintLook& look, double mmPerHex);

}  // namespace hexlane::render
