#pragma once
// Parts of the map to print or export, and their layout on pages: fitted to
// one page, or at a chosen hex size across as many pages as needed (a
// poster), with a margin, a title line and page numbers.
//
// A part of the map is given in hexes from the picture's top-left corner
// (one unit is the pitch of one hex), so the same part can be cut from the
// picture at any hex size.

#include "PrintStyle.h"
#include "Progress.h"

#include <QFont>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QPageSize;
class TUniverse;

namespace hexlane::render {

struct MapFrame;

// The whole picture of the universe's displayed sectors.
QRectF WholeMapHexes(const TUniverse& universe);
// The hexes of the sector with this name (the first of that name), with the
// hex corners that stick out over its boundary; nothing when no shown
// sector has the name.
std::optional<QRectF> SectorHexes(const TUniverse& universe, const std::string& sectorName);
// The hexes of a subsector: of the named sector when sectorName is not
// empty, else the first subsector of that name in any shown sector.
std::optional<QRectF> SubsectorHexes(const TUniverse& universe, const std::string& sectorName,
                                     const std::string& subsectorName);
// The names of the shown sectors, and of their subsectors as (sector,
// subsector) pairs, in map order and each sector's subsectors in letter
// order (A-P); unnamed subsectors are left out.
std::vector<std::string> ShownSectorNames(const TUniverse& universe);
std::vector<std::pair<std::string, std::string>> ShownSubsectorNames(const TUniverse& universe);

// A part of the map in pixels of a picture with `hexSize` pixels per hex,
// cut to that picture's size (width x height).
QRect PixelsOf(const QRectF& hexes, double hexSize, QSize picture);

enum class PageMode { Fit, Poster };
// Portrait or landscape paper; automatic: fewest pages, then least waste.
enum class PageOrientation { Auto, Portrait, Landscape };

struct PageSetup {
    PageMode Mode = PageMode::Fit;
    int HexSize = 30;       // poster: pixels per hex, at 96 pixels per inch
    double MarginMm = 10;   // inside the paint device's own page area
    QString Title;          // the title line; none when empty
    bool PageNumbers = true;
    PageOrientation Orientation = PageOrientation::Auto;
    double OverlapMm = 0;   // poster: how far neighbouring pages overlap
    PrintLook Look;         // print, PDF, SVG and PNG at other sizes
    // The part is a sector or subsector drawn exactly: its own hexes only,
    // clipped to their edges, nothing of the neighbours (see ExactPart.h).
    bool ExactArea = false;
};

// True when the setup draws the print look (not the screen picture).
inline bool PrintLookOf(const PageSetup& setup) {
    return setup.Look.Style != PictureStyle::Screen;
}

// The layout a picture of the setup's look draws: the screen picture at the
// zoom level of `hexSize` pixels per hex, or the print look for a hex of
// `mmPerHex` millimetres (exactly the part when the setup says so).
MapLayout PictureLayout(const TUniverse& universe, const PageSetup& setup, int hexSize, double mmPerHex,
                        const QRectF& areaHexes);

// How a part of the map lies on paper: the pages (a poster's legend page
// included) and the hex's size there, and the orientation chosen; where the
// map and a single page's legend lie, in millimetres from the top-left
// corner of the page's printable area (LegendBox empty when none).
struct PaperPlan {
    int Pages = 1;
    double MmPerHex = 0;
    bool Landscape = false;
    QRectF MapBox, LegendBox;
};
// With the universe, a fitted single page makes room for its legend as
// PlanPages says, so the hex's size is the one printed.
PaperPlan PlanOnPaper(const QRectF& areaHexes, const QPageSize& paper, const PageSetup& setup,
                      const TUniverse* universe = nullptr);

// Where the map goes on the pages and how large.
struct PagePlan {
    int Across = 1, Down = 1;
    int HexSize = 30;   // the picture's pixels per hex at 96 pixels per inch
    int Pitch = 30;     // layout pixels per hex of the layout drawn (its zoom level, or the print pitch)
    double Scale = 1;   // device pixels per layout pixel
    bool Landscape = false;   // the paper turned (wider than high)
    bool LegendPage = false;  // a poster's last page holds the legend
    QRectF Content;     // what margin, title and numbers leave, in device pixels
    QRectF MapBox;      // on every page, in device pixels
    QRectF TitleBox, NumberBox;  // empty when not printed
    // A fitted single page's legend: its box (device pixels; empty when
    // none), its scale (device pixels per layout pixel of the legend) and
    // its shape (LayoutLegend's maxRows).
    QRectF LegendBox;
    double LegendScale = 1;
    int LegendRows = 0;
    QSizeF Part;        // each page's part of the map, in hexes
    double Overlap = 0; // hexes that neighbouring pages share
    int Count() const { return Across * Down; }  // the map's pages
    int Pages() const { return Count() + (LegendPage ? 1 : 0); }
    // Millimetres of one hex on the paper of `dpi` device pixels per inch.
    double MmPerHex(double dpi) const { return Scale * Pitch / dpi * 25.4; }
    // The part of `area` (pixels of the layout drawn) on page `index`: pages
    // run across the first row from the left, then the next row; each holds
    // an even share of the area, widened by the overlap with its neighbours.
    QRectF PageArea(const QRectF& area, int index) const;
    // The pages, the hex's size and the boxes in millimetres.
    PaperPlan OnPaper(double dpi) const;
    // "A1", "B2": the page's column as a letter, its row as a number.
    QString Coordinates(int index) const;
};

// Plans the pages of `areaHexes` on paper of pageSize device pixels at
// `dpi`: the margin, then the title line at the top and the page numbers at
// the bottom (each one line of `lineHeight` device pixels), the map in what
// is left; fitted (the largest hex that fits) or at the setup's hex size over
// as many pages as needed, trimmed to the part and shared evenly. The paper
// is turned as the setup says; automatically, to the fewest pages, then the
// largest hex (fitted), else as given.
// With the universe, a fitted single page of the print look makes room for
// its legend: below or beside the map where the page has room, else over a
// corner of the map that holds no system, else the map is made just small
// enough to have the legend below or beside it (whichever keeps the larger
// hex); the legend never lies over a system.
PagePlan PlanPages(const QRectF& areaHexes, QSizeF pageSize, double dpi, double lineHeight, const PageSetup& setup,
                   const TUniverse* universe = nullptr);

// The font of the title line and the page numbers.
QFont PageLineFont();

enum class PrintOutcome { Done, Cancelled, Failed, TooManyPages };

// A poster of more pages than this is refused before anything is printed.
inline constexpr int kMaxPages = 1000;

// The pages printed and the hex's size on them go to `printed` when given.
PrintOutcome PrintMap(const TUniverse& universe, const QRectF& areaHexes, QPagedPaintDevice& device,
                      const PageSetup& setup, const ProgressFn& onPage, PaperPlan* printed = nullptr);

}  // namespace hexlane::render
