#include "MapPages.h"

#include "DefineUniverse.h"
#include "MapGeometry.h"
#include "MapPainter.h"
#include "MapText.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

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
    const QSizeF page = MapBox.size() / Scale;
    const int column = index % Across, row = index / Across;
    return QRectF(area.left() + column * page.width(), area.top() + row * page.height(), page.width(), page.height())
        .intersected(area);
}

PagePlan PlanPages(const QRectF& areaHexes, QSizeF pageSize, double dpi, double lineHeight, const PageSetup& setup) {
    PagePlan plan;
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
    const double areaW = std::max(areaHexes.width(), 1e-3), areaH = std::max(areaHexes.height(), 1e-3);
    const double devicePerPixel = dpi / 96.0;  // device pixels per picture pixel
    if (setup.Mode == PageMode::Fit) {
        const double perHex = std::min(content.width() / areaW, content.height() / areaH);  // device pixels
        plan.HexSize = std::max(1, static_cast<int>(std::floor(perHex / devicePerPixel)));
        plan.Scale = perHex / LevelForHexSize(plan.HexSize);
        const QSizeF size(areaW * perHex, areaH * perHex);
        plan.MapBox = QRectF(content.left() + (content.width() - size.width()) / 2, content.top(), size.width(),
                             size.height());
        return plan;
    }
    plan.HexSize = std::clamp(setup.HexSize, 1, 1000);
    const double perHex = plan.HexSize * devicePerPixel;
    plan.Scale = perHex / LevelForHexSize(plan.HexSize);
    // A sliver of less than a thousandth of a page gets no page of its own.
    // Counted in doubles and capped, so that no area overflows the count.
    auto pagesFor = [](double length, double page) {
        return static_cast<int>(std::clamp(std::ceil(length / page - 1e-3), 1.0, double(kMaxPages + 1)));
    };
    plan.Across = pagesFor(areaW * perHex, content.width());
    plan.Down = pagesFor(areaH * perHex, content.height());
    plan.MapBox = content;
    return plan;
}

PaperPlan PlanOnPaper(const QRectF& areaHexes, const QPageSize& paper, const PageSetup& setup) {
    constexpr double dpi = 1200;
    const QSizeF page = paper.sizePoints() / 72.0 * dpi;
    const double line = 10.0 / 72 * dpi * 1.2;
    const PagePlan plan = PlanPages(areaHexes, page, dpi, line, setup);
    PaperPlan out;
    out.Pages = plan.Count();
    out.MmPerHex = plan.Scale * LevelForHexSize(plan.HexSize) / dpi * 25.4;
    return out;
}

PrintOutcome PrintMap(const TUniverse& universe, const QRectF& areaHexes, QPagedPaintDevice& device,
                      const PageSetup& setup, const ProgressFn& onPage) {
    QFont lineFont(QStringLiteral("Arial"));
    lineFont.setPointSizeF(10);
    const QFontMetricsF lineMetrics(lineFont, &device);
    const PagePlan plan = PlanPages(areaHexes, QSizeF(device.width(), device.height()), device.logicalDpiX(),
                                    lineMetrics.height(), setup);
    if (static_cast<long long>(plan.Across) * plan.Down > kMaxPages) return PrintOutcome::TooManyPages;
    QPainter painter;
    if (!painter.begin(&device)) return PrintOutcome::Failed;
    const MapPainter map = MapPainter::ForHexSize(universe, plan.HexSize);
    const double level = map.LevelHexSize();
    const QRectF area(areaHexes.left() * level, areaHexes.top() * level, areaHexes.width() * level,
                      areaHexes.height() * level);
    const int pages = plan.Count();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return PrintOutcome::Failed;
        }
        const QRectF part = plan.PageArea(area, i);
        painter.save();
        painter.translate(plan.MapBox.topLeft());
        painter.scale(plan.Scale, plan.Scale);
        map.Paint(painter, part);
        painter.restore();
        painter.setFont(lineFont);
        painter.setPen(Qt::black);
        if (!plan.TitleBox.isEmpty())
            painter.drawText(plan.TitleBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, setup.Title);
        if (!plan.NumberBox.isEmpty())
            painter.drawText(plan.NumberBox, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine,
                             QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages));
        if (onPage && !onPage(i + 1, pages)) {
            painter.end();
            return PrintOutcome::Cancelled;
        }
    }
    return painter.end() ? PrintOutcome::Done : PrintOutcome::Failed;
}

}  // namespace hexlane::render
