#include "MapPages.h"

#include "DefineUniverse.h"
#include "MapGeometry.h"
#include "PageLegend.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>

#include <algorithm>
#include <cmath>

namespace hexlane::render {

namespace {

// Any hex size will do to measure in hexes: the one whose halves are whole.
constexpr int kMeasureSize = 30;

std::vector<const TSector*> ShownSectors(const TUniverse& u) {
    std::vector<const TSector*> out;
    if (TSectors* sectors = u.Sectors())
        for (const auto& child : sectors->Children())
            if (auto* sector = dynamic_cast<const TSector*>(child.get()); sector && !sector->ExcludeFromDisplay())
                out.push_back(sector);
    return out;
}

// Hexes of the block of `across` x `down` hexes whose first map-wide column
// and row are given: the boundary lines' rectangle widened by the hex corners
// that stick out left and right and the lower half hex of odd columns.
QRectF Block(const TUniverse& u, long long column, long long row, int across, int down) {
    const MapFrame f = MapFrame::FromUniverse(u, kMeasureSize);
    return QRectF(static_cast<double>(column - f.MinHexX) - 0.2, static_cast<double>(row - f.MinHexY), across + 0.4,
                  down + 0.5);
}

}  // namespace

QRectF WholeMapHexes(const TUniverse& u) {
    const QSize size = PictureSize(MapFrame::FromUniverse(u, kMeasureSize));
    return QRectF(0, 0, double(size.width()) / kMeasureSize, double(size.height()) / kMeasureSize);
}

std::optional<QRectF> SectorHexes(const TUniverse& u, const std::string& name) {
    for (const TSector* s : ShownSectors(u))
        if (s->Name1 == name)
            return Block(u, (static_cast<long long>(s->SectorCoordsX) - 1) * 32 + 1,
                         (static_cast<long long>(s->SectorCoordsY) - 1) * 40 + 1, 32, 40);
    return std::nullopt;
}

std::optional<QRectF> SubsectorHexes(const TUniverse& u, const std::string& sectorName,
                                     const std::string& subsectorName) {
    for (const TSector* s : ShownSectors(u)) {
        if (!sectorName.empty() && s->Name1 != sectorName) continue;
        const int k = s->FindSubsector(subsectorName);
        if (k == 0 || subsectorName.empty()) continue;
        const TSectorHex first = TSectorHex::AtPosition(k, 1, 1);
        return Block(u, (static_cast<long long>(s->SectorCoordsX) - 1) * TSectorHex::kColumns + first.Column,
                     (static_cast<long long>(s->SectorCoordsY) - 1) * TSectorHex::kRows + first.Row,
                     TSectorHex::kSubsectorColumns, TSectorHex::kSubsectorRows);
    }
    return std::nullopt;
}

std::vector<std::string> ShownSectorNames(const TUniverse& u) {
    std::vector<std::string> names;
    for (const TSector* s : ShownSectors(u)) names.push_back(s->Name1);
    return names;
}

std::vector<std::pair<std::string, std::string>> ShownSubsectorNames(const TUniverse& u) {
    std::vector<std::pair<std::string, std::string>> names;
    // Subsectors in letter order, A-D the top row from the left, then the
    // rows below (their names are stored column by column).
    for (const TSector* s : ShownSectors(u))
        for (int k = 0; k < 16; ++k)
            if (const std::string& ss = s->SSName[static_cast<std::size_t>(TSector::SubsectorIndex(k % 4 + 1, k / 4 + 1))];
                !ss.empty())
                names.emplace_back(s->Name1, ss);
    return names;
}

QRect PixelsOf(const QRectF& hexes, double hexSize, QSize picture) {
    const int left = static_cast<int>(std::floor(hexes.left() * hexSize + 1e-6));
    const int top = static_cast<int>(std::floor(hexes.top() * hexSize + 1e-6));
    const int right = static_cast<int>(std::ceil(hexes.right() * hexSize - 1e-6));
    const int bottom = static_cast<int>(std::ceil(hexes.bottom() * hexSize - 1e-6));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).intersected(QRect(QPoint(0, 0), picture));
}

QRectF PagePlan::PageArea(const QRectF& area, int index) const {
    const double w = Part.width() * Pitch, h = Part.height() * Pitch, ov = Overlap * Pitch;
    const int column = index % Across, row = index / Across;
    return QRectF(area.left() + column * (w - ov), area.top() + row * (h - ov), w, h).intersected(area);
}

PaperPlan PagePlan::OnPaper(double dpi) const {
    const double mm = 25.4 / dpi;
    const auto inMm = [mm](const QRectF& r) { return r.isEmpty() ? QRectF() : QRectF(r.topLeft() * mm, r.size() * mm); };
    return {Pages(), MmPerHex(dpi), Landscape, inMm(MapBox), inMm(LegendBox)};
}

QString PagePlan::Coordinates(int index) const {
    // Columns A..Z, then AA, AB...
    int column = index % std::max(Across, 1);
    QString letters;
    do {
        letters.prepend(QChar('A' + column % 26));
        column = column / 26 - 1;
    } while (column >= 0);
    return letters + QString::number(index / std::max(Across, 1) + 1);
}

MapLayout PictureLayout(const TUniverse& u, const PageSetup& setup, int hexSize, double mmPerHex,
                        const QRectF& areaHexes) {
    if (!PrintLookOf(setup)) return LayoutMap(u, LevelForHexSize(hexSize));
    return LayoutPrint(u, setup.Look, mmPerHex, setup.ExactArea ? areaHexes : QRectF());
}

namespace {

// The poster's pages along one side: as few as hold `length` hexes on pages
// of `page` hexes sharing `overlap`; a sliver of less than a thousandth of a
// page gets no page of its own. Counted in doubles and capped, so that no
// area overflows the count.
int PagesAlong(double length, double page, double overlap) {
    if (length <= page * (1 + 1e-3)) return 1;
    return static_cast<int>(
        std::clamp(std::ceil((length - overlap) / (page - overlap) - 1e-3), 1.0, double(kMaxPages + 1)));
}

// One orientation's plan: the page is as given.
PagePlan PlanOn(const QRectF& areaHexes, QSizeF pageSize, double dpi, double lineHeight, const PageSetup& setup) {
    PagePlan plan;
    plan.Landscape = pageSize.width() > pageSize.height();
    const double margin = std::max(0.0, setup.MarginMm) / 25.4 * dpi;
    QRectF content(margin, margin, pageSize.width() - 2 * margin, pageSize.height() - 2 * margin);
    if (!setup.Title.isEmpty()) {
        plan.TitleBox = QRectF(content.left(), content.top(), content.width(), lineHeight);
        content.setTop(content.top() + 1.5 * lineHeight);
    }
    if (setup.PageNumbers) {
        plan.NumberBox = QRectF(content.left(), content.bottom() - lineHeight, content.width(), lineHeight);
        content.setBottom(content.bottom() - 1.5 * lineHeight);
    }
    if (content.width() < 1) content.setWidth(1);
    if (content.height() < 1) content.setHeight(1);
    plan.Content = content;
    const double areaW = std::max(areaHexes.width(), 1e-3), areaH = std::max(areaHexes.height(), 1e-3);
    const double devicePerPixel = dpi / 96.0;  // device pixels per picture pixel
    const bool print = PrintLookOf(setup);
    double perHex;  // device pixels
    if (setup.Mode == PageMode::Fit) {
        perHex = std::min(content.width() / areaW, content.height() / areaH);
        plan.HexSize = std::max(1, static_cast<int>(std::floor(perHex / devicePerPixel)));
        plan.Part = QSizeF(areaW, areaH);
    } else {
        plan.HexSize = std::clamp(setup.HexSize, 1, 1000);
        perHex = plan.HexSize * devicePerPixel;
        // The overlap, at most a third of a page.
        const QSizeF page(content.width() / perHex, content.height() / perHex);
        plan.Overlap = std::clamp(setup.OverlapMm / 25.4 * dpi / perHex, 0.0,
                                  std::min(page.width(), page.height()) / 3);
        plan.Across = PagesAlong(areaW, page.width(), plan.Overlap);
        plan.Down = PagesAlong(areaH, page.height(), plan.Overlap);
        // An even share each: no page is left with a sliver.
        plan.Part = QSizeF(std::min(page.width(), (areaW + (plan.Across - 1) * plan.Overlap) / plan.Across),
                           std::min(page.height(), (areaH + (plan.Down - 1) * plan.Overlap) / plan.Down));
        plan.LegendPage = print && setup.Look.Legend;
    }
    plan.Pitch = print ? kPrintHexSize : LevelForHexSize(plan.HexSize);
    plan.Scale = perHex / plan.Pitch;
    const QSizeF size = plan.Part * perHex;
    plan.MapBox = QRectF(content.left() + std::max(0.0, content.width() - size.width()) / 2, content.top(),
                         size.width(), size.height());
    return plan;
}

}  // namespace

PagePlan PlanPages(const QRectF& areaHexes, QSizeF pageSize, double dpi, double lineHeight, const PageSetup& setup,
                   const TUniverse* universe) {
    const auto plan = [&](QSizeF page) {
        PagePlan p = PlanOn(areaHexes, page, dpi, lineHeight, setup);
        if (universe) MakeRoomForLegend(p, *universe, areaHexes, dpi, setup);
        return p;
    };
    const QSizeF turned(pageSize.height(), pageSize.width());
    const bool landscape = pageSize.width() > pageSize.height();
    switch (setup.Orientation) {
    case PageOrientation::Portrait: return plan(landscape ? turned : pageSize);
    case PageOrientation::Landscape: return plan(landscape ? pageSize : turned);
    case PageOrientation::Auto: break;
    }
    const PagePlan given = plan(pageSize);
    const PagePlan other = plan(turned);
    // Fewest pages; on one fitted page, the larger hex (the least paper
    // left blank); else the paper as given.
    if (other.Count() != given.Count()) return other.Count() < given.Count() ? other : given;
    if (setup.Mode == PageMode::Fit && other.Scale * other.Pitch > given.Scale * given.Pitch * (1 + 1e-9)) return other;
    return given;
}

PaperPlan PlanOnPaper(const QRectF& areaHexes, const QPageSize& paper, const PageSetup& setup,
                      const TUniverse* universe) {
    constexpr double dpi = 1200;
    const QSizeF page = QSizeF(paper.sizePoints()) / 72.0 * dpi;  // in doubles: no rounding to whole inches
    // The line's height as the printing measures it on its device.
    QImage device(1, 1, QImage::Format_Mono);
    device.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    device.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    const double line = QFontMetricsF(PageLineFont(), &device).height();
    const PagePlan plan = PlanPages(areaHexes, QSizeF(std::min(page.width(), page.height()),
                                                      std::max(page.width(), page.height())),
                                    dpi, line, setup, universe);
    return plan.OnPaper(dpi);
}

}  // namespace hexlane::render
