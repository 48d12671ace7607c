// Printing the map's pages: the plan turned onto the device, the map drawn
// page by page, the legend, and on poster pages their coordinates and the
// marks where neighbouring pages join.

#include "ExactPart.h"
#include "MapPages.h"
#include "MapPainter.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <optional>

namespace hexlane::render {

namespace {

// The legend's place on a page and its scale (device pixels per layout
// pixel).
struct LegendPlace {
    QRectF Box;
    double Scale = 1;
};

void DrawLegend(QPainter& p, const MapPainter& legend, const LegendPlace& place) {
    p.save();
    p.translate(place.Box.topLeft());
    p.scale(place.Scale, place.Scale);
    legend.Paint(p, QRectF(QPointF(0, 0), legend.PictureSize()));
    p.restore();
    p.save();
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(place.Box);
    p.restore();
}

// A poster page's frame, and where it meets its neighbours: the pages to the
// right and below are laid over this one, so a dashed line shows where their
// edges go (it is covered once the poster is put together), with ticks at
// its ends; this page's own edges over its left and upper neighbours are
// marked by ticks in the margin, for cutting.
void DrawJoinMarks(QPainter& p, const PagePlan& plan, int index, const QRectF& box, double mm) {
    const int column = index % plan.Across, row = index / plan.Across;
    const double overlap = plan.Overlap * plan.Pitch * plan.Scale;
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::gray, 0));
    p.drawRect(box);
    if (overlap > 0) {
        QPen dashed(Qt::black, 0.2 * mm, Qt::DashLine);
        const QPen solid(Qt::black, 0.3 * mm);
        const double tick = 5 * mm;
        if (column + 1 < plan.Across) {
            const double x = box.right() - overlap;
            p.setPen(dashed);
            p.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
            p.setPen(solid);
            p.drawLine(QPointF(x, box.top()), QPointF(x, box.top() + tick));
            p.drawLine(QPointF(x, box.bottom()), QPointF(x, box.bottom() - tick));
        }
        if (row + 1 < plan.Down) {
            const double y = box.bottom() - overlap;
            p.setPen(dashed);
            p.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
            p.setPen(solid);
            p.drawLine(QPointF(box.left(), y), QPointF(box.left() + tick, y));
            p.drawLine(QPointF(box.right(), y), QPointF(box.right() - tick, y));
        }
        p.setPen(solid);
        // Ticks stay clear of the title line above and the numbers below.
        const double above = std::min(tick, (plan.TitleBox.isEmpty() ? box.top() : box.top() - plan.TitleBox.bottom()) - mm);
        if (column > 0) {
            p.drawLine(QPointF(box.left() - mm, box.top()), QPointF(box.left() - tick, box.top()));
            p.drawLine(QPointF(box.left() - mm, box.bottom()), QPointF(box.left() - tick, box.bottom()));
        }
        if (row > 0 && above > 0) {
            p.drawLine(QPointF(box.left(), box.top() - 0.5 * mm), QPointF(box.left(), box.top() - above));
            p.drawLine(QPointF(box.right(), box.top() - 0.5 * mm), QPointF(box.right(), box.top() - above));
        }
    }
    p.restore();
}

}  // namespace

QFont PageLineFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10);
    return font;
}

PrintOutcome PrintMap(const TUniverse& universe, const QRectF& areaHexes, QPagedPaintDevice& device,
                      const PageSetup& setup, const ProgressFn& onPage, PaperPlan* printed) {
    const QFont lineFont = PageLineFont();
    const double dpi = device.logicalDpiX();
    const auto planFor = [&](const PageSetup& s) {
        const QFontMetricsF lineMetrics(lineFont, &device);
        return PlanPages(areaHexes, QSizeF(device.width(), device.height()), dpi, lineMetrics.height(), s, &universe);
    };
    PagePlan plan = planFor(setup);
    if (plan.Landscape != (device.width() > device.height())) {
        // Turn the device's pages, then plan on them as they now are.
        device.setPageOrientation(plan.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        PageSetup turned = setup;
        turned.Orientation = plan.Landscape ? PageOrientation::Landscape : PageOrientation::Portrait;
        plan = planFor(turned);
    }
    if (static_cast<long long>(plan.Across) * plan.Down > kMaxPages) return PrintOutcome::TooManyPages;
    const double mmPerHex = plan.MmPerHex(dpi);
    const MapPainter map(PictureLayout(universe, setup, plan.HexSize, mmPerHex, areaHexes));
    // The plan in the pixels of the layout drawn (its pitch is the plan's).
    const int level = map.LevelHexSize();
    plan.Scale = plan.Scale * plan.Pitch / level;
    plan.Pitch = level;
    const double scale = plan.Scale;  // device pixels per layout pixel
    const QRectF area(areaHexes.left() * level, areaHexes.top() * level, areaHexes.width() * level,
                      areaHexes.height() * level);
    const QPolygonF exact = setup.ExactArea ? ExactOutline(map.Layout().Frame, areaHexes) : QPolygonF();
    std::optional<MapPainter> legend;
    if (PrintLookOf(setup) && setup.Look.Legend) {
        MapLayout key = LayoutLegend(universe, setup.Look, mmPerHex, plan.LegendRows);
        if (!key.Size.isEmpty()) legend.emplace(std::move(key));
    }
    const bool legendPage = legend && plan.LegendPage;
    const int mapPages = plan.Count();
    const int pages = mapPages + (legendPage ? 1 : 0);
    const double mm = dpi / 25.4;
    if (printed) {
        *printed = plan.OnPaper(dpi);
        printed->Pages = pages;
    }

    QPainter painter;
    if (!painter.begin(&device)) return PrintOutcome::Failed;
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return PrintOutcome::Failed;
        }
        if (i < mapPages) {
            const QRectF part = plan.PageArea(area, i);
            painter.save();
            painter.translate(plan.MapBox.topLeft());
            painter.scale(scale, scale);
            map.Paint(painter, part, exact);
            painter.restore();
            const QRectF box(plan.MapBox.topLeft(), part.size() * scale);
            if (mapPages > 1) DrawJoinMarks(painter, plan, i, box, mm);
            if (legend && !legendPage && !plan.LegendBox.isEmpty()) {
                // In the room the plan made for it, at its scale (smaller
                // should the legend drawn be larger than the one planned).
                const QSizeF size = QSizeF(legend->PictureSize());
                const double fit = std::min({plan.LegendScale, plan.LegendBox.width() / size.width(),
                                             plan.LegendBox.height() / size.height()});
                DrawLegend(painter, *legend, {QRectF(plan.LegendBox.topLeft(), size * fit), fit});
            }
        } else {
            // The legend page: at the map's scale, smaller if it must be.
            const QSizeF size = QSizeF(legend->PictureSize());
            const double fit = std::min({scale, plan.Content.width() / size.width(), plan.Content.height() / size.height()});
            DrawLegend(painter, *legend, {QRectF(plan.Content.topLeft(), size * fit), fit});
        }
        painter.setFont(lineFont);
        painter.setPen(Qt::black);
        if (!plan.TitleBox.isEmpty())
            painter.drawText(plan.TitleBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, setup.Title);
        if (!plan.NumberBox.isEmpty())
            painter.drawText(plan.NumberBox, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine,
                             QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages));
        if (mapPages > 1 && i < mapPages) {
            // The page's place in the poster, in the line below the map (or above it).
            const QRectF line = !plan.NumberBox.isEmpty() ? plan.NumberBox
                                : !plan.TitleBox.isEmpty()
                                    ? plan.TitleBox
                                    : QRectF(plan.Content.left(), plan.Content.top() - 5 * mm, plan.Content.width(), 4 * mm);
            painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, plan.Coordinates(i));
        }
        if (onPage && !onPage(i + 1, pages)) {
            painter.end();
            return PrintOutcome::Cancelled;
        }
    }
    return painter.end() ? PrintOutcome::Done : PrintOutcome::Failed;
}

}  // namespace hexlane::render
