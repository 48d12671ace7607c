#include "Legend.h"

#include "AccessKeys.h"

#include "DefineUniverse.h"
#include "MapGeometry.h"
#include "MapRenderer.h"

#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QVBoxLayout>

#include <cmath>

namespace hexlane::ui {

namespace {

using render::HexMetrics;

constexpr int kHexSize = 90;

// Centres of the two example hexes in the legend picture.
const QPoint kAmberAt(195, 136);
const QPoint kRedAt(195, 322);

const QColor kLabelInk(40, 48, 58);
const QColor kLeader(112, 126, 150);
const QColor kNoteInk(96, 106, 120);

// A one-sector universe holding the two example systems: an amber-zone
// system with every content marker, and a visited red-zone system whose
// world has water.
struct Examples {
    std::unique_ptr<TUniverse> Universe;
    TStar* Amber = nullptr;
    TStar* Red = nullptr;
};

TStar* AddExample(TSector& sector, const std::string& name, int column, int row) {
    TStar* star = sector.Create<TStar>();
    star->Name1 = name;
    const TSectorHex hex{column, row};
    star->StarCoordsX = hex.X();
    star->StarCoordsY = hex.Y();
    star->SubSectorName = sector.SSName[static_cast<std::size_t>(hex.SubsectorIndex())];
    star->Allegiance = "Independent";
    star->Visible = true;
    return star;
}

Examples MakeExamples() {
    Examples e;
    e.Universe = TUniverse::CreateNew();
    TUniverse& u = *e.Universe;
    TSector* sector = u.Sectors()->Create<TSector>();
    sector->Name1 = "Legend";
    sector->SectorCoordsX = 1;
    sector->SectorCoordsY = 1;
    for (int i = 0; i < 16; ++i) sector->SSName[static_cast<std::size_t>(i)] = "Subsector " + std::to_string(i + 1);

    // Far enough apart that nothing of one reaches the other's hex.
    e.Amber = AddExample(*sector, "Kestrel", 3, 3);
    e.Amber->UPC = "563687";  // hydrographics 3: a black world dot
    e.Amber->Starport = "A";
    e.Amber->TravelZoneCode = tzcAmber;
    e.Amber->SystemContent = scNavalBase | scNavalDepot | scScoutBase | scScoutWayStation | scResearchStation |
                             scPrison | scGasGiant | scPlanetoids | scAncientSite;

    e.Red = AddExample(*sector, "Orrin", 3, 8);
    e.Red->UPC = "887954";  // hydrographics 7: a blue world dot
    e.Red->Starport = "C";
    e.Red->TravelZoneCode = tzcRed;
    e.Red->Visited = true;

    u.ShowNames = u.ShowStarports = u.ShowSystemContents = true;
    u.SetHexSize(kHexSize);
    u.ComputeExtent();
    return e;
}

// One star's hex as the renderer draws it, cut out along the hex outline and
// centred on `at`.
void DrawHex(QPainter& p, const render::MapRenderer& renderer, const TStar& star, QPoint at) {
    const HexMetrics& m = renderer.Layout().Frame.M;
    const QPoint centre(star.PictureX, star.PictureY);
    const QRect source(centre.x() - m.W - 2, centre.y() - m.H - 2, 2 * m.W + 5, 2 * m.H + 5);
    const QImage piece = renderer.Render(source);
    const auto outline = render::HexOutline(m, at);
    const QPolygon hex(QList<QPoint>(outline.begin(), outline.end() - 1));

    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setClipRegion(QRegion(hex));
    p.drawImage(at - (centre - source.topLeft()), piece);
    p.setClipping(false);
    // The outline again, whole, in the map's grid colour.
    QPen pen(QColor(192, 192, 192));
    pen.setWidth(0);
    p.setPen(pen);
    p.drawPolyline(outline.data(), static_cast<int>(outline.size()));
    p.restore();
}

QFont LabelFont(bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(bold);
    return font;
}

// The point on a circle of `radius` around `centre` facing `from`.
QPointF Edge(QPointF centre, double radius, QPointF from) {
    const QPointF d = from - centre;
    const double length = std::hypot(d.x(), d.y());
    if (length <= 0) return centre;
    return centre + d * (radius / length);
}

enum class Side { Left, Right, Above, Below };

// A label with a thin leader line through `via` (may be empty) to `target`,
// ending `radius` pixels short of it. A left label ends at anchor.x, a right
// one starts there; labels above and below are centred on anchor.x.
void Callout(QPainter& p, const QString& text, QPoint anchor, Side side, QPointF target, double radius,
             const QList<QPointF>& via = {}) {
    const QFontMetrics fm(p.font());
    const int width = fm.horizontalAdvance(text);
    QPointF start;
    QPoint textAt;
    switch (side) {
    case Side::Left:
        textAt = QPoint(anchor.x() - width, anchor.y() + fm.ascent() / 2 - 1);
        start = QPointF(anchor.x() + 4, anchor.y());
        break;
    case Side::Right:
        textAt = QPoint(anchor.x(), anchor.y() + fm.ascent() / 2 - 1);
        start = QPointF(anchor.x() - 4, anchor.y());
        break;
    case Side::Above:
        textAt = QPoint(anchor.x() - width / 2, anchor.y());
        start = QPointF(anchor.x(), anchor.y() + fm.descent() + 3);
        break;
    case Side::Below:
        textAt = QPoint(anchor.x() - width / 2, anchor.y() + fm.ascent());
        start = QPointF(anchor.x(), anchor.y() - 3);
        break;
    }
    p.setPen(kLabelInk);
    p.drawText(textAt, text);

    QList<QPointF> line{start};
    line << via;
    line << Edge(target, radius, via.isEmpty() ? start : via.back());
    p.setPen(QPen(kLeader, 1.0));
    p.drawPolyline(line.data(), static_cast<int>(line.size()));
    p.setBrush(kLeader);
    p.drawEllipse(line.back(), 1.3, 1.3);
    p.setBrush(Qt::NoBrush);
}

}  // namespace

QImage TfLegend::LegendPicture() {
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    Examples e = MakeExamples();
    const render::MapRenderer renderer(*e.Universe);
    const HexMetrics& m = renderer.Layout().Frame.M;
    const int R = m.R, h = m.R / 2, d = m.D;

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    p.setFont(LabelFont(true));
    p.setPen(kLabelInk);
    p.drawText(QPoint(14, 24), QStringLiteral("Map Symbols"));
    p.setPen(QColor(210, 216, 224));
    p.drawLine(14, 32, kPictureWidth - 14, 32);

    DrawHex(p, renderer, *e.Amber, kAmberAt);
    DrawHex(p, renderer, *e.Red, kRedAt);

    // Content markers of the amber example, where the map puts them.
    const QPointF a = kAmberAt;
    const double mr = d + 1.5;  // leader lines stop just outside a marker
    const int left = kAmberAt.x() - 73, right = kAmberAt.x() + 73;
    p.setFont(LabelFont());
    Callout(p, QStringLiteral("Prison"), QPoint(left, a.y() - R), Side::Left, a + QPointF(-R, -R), mr);
    Callout(p, QStringLiteral("Naval Depot"), QPoint(left, a.y() - h), Side::Left, a + QPointF(-R, -h), mr);
    Callout(p, QStringLiteral("Naval Base"), QPoint(left, a.y()), Side::Left, a + QPointF(-R, 0), mr);
    Callout(p, QStringLiteral("Scout Way Station"), QPoint(left, a.y() + 30), Side::Left, a + QPointF(-h, 0), mr);
    Callout(p, QStringLiteral("Ancient Site"), QPoint(left, a.y() + 46), Side::Left, a + QPointF(-R, 5 * d), mr);
    Callout(p, QStringLiteral("Gas Giant"), QPoint(right, a.y() - R), Side::Right, a + QPointF(R, -R), mr);
    Callout(p, QStringLiteral("Planetoids"), QPoint(right, a.y() - h), Side::Right, a + QPointF(R, -h), mr);
    Callout(p, QStringLiteral("Research Station"), QPoint(right, a.y()), Side::Right, a + QPointF(R, 0), mr);
    Callout(p, QStringLiteral("Scout Base"), QPoint(right, a.y() + 30), Side::Right, a + QPointF(h, 0), mr);
    Callout(p, QStringLiteral("Amber Zone"), QPoint(right, a.y() + 46), Side::Right,
            a + QPointF(R * 0.7071, R * 0.7071), 1.0);

    // Starport letter and hex number, reached past the markers around them.
    const double lane = a.x() - R + d + 6;  // between the left markers and the hex number
    Callout(p, QStringLiteral("Starport"), QPoint(left, a.y() - 62), Side::Left, a + QPointF(-6, -m.Rise + 6), 1.0,
            {QPointF(lane, a.y() - 62), QPointF(lane, a.y() - m.Rise + 6)});
    Callout(p, QStringLiteral("Hex Number"), QPoint(right, a.y() - 62), Side::Right, a + QPointF(16, -m.H + 8), 1.0,
            {QPointF(a.x() + R - d - 6, a.y() - 62), QPointF(a.x() + R - d - 6, a.y() - m.H + 8)});
    Callout(p, QStringLiteral("System Name"), QPoint(a.x(), a.y() + 64), Side::Below, a + QPointF(0, d + 13), 1.0);

    // The red-zone example: ring, water world, visited name.
    const QPointF r = kRedAt;
    Callout(p, QStringLiteral("Red Zone"), QPoint(left, r.y() - 30), Side::Left,
            r + QPointF(-R * 0.7071, -R * 0.7071), 1.0);
    Callout(p, QStringLiteral("World with Water"), QPoint(right, r.y()), Side::Right, r, d + 1.5);
    Callout(p, QStringLiteral("Name in blue: a visited system"), QPoint(r.x(), r.y() + 64), Side::Below,
            r + QPointF(0, d + 13), 1.0);

    p.setPen(QColor(210, 216, 224));
    p.drawLine(14, 236, kPictureWidth - 14, 236);
    p.setPen(kNoteInk);
    QFont note = LabelFont();
    note.setPixelSize(11);
    p.setFont(note);
    p.drawText(QRect(14, kPictureHeight - 42, kPictureWidth - 28, 34), Qt::AlignCenter | Qt::TextWordWrap,
               QStringLiteral("Names, starports and markers are shown at the two larger zoom levels "
                              "when their toolbar switches are on."));
    return image;
}

TfLegend::TfLegend(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TfLegend"));
    setWindowTitle(QStringLiteral("Legend"));
    setModal(false);

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("rLegendPicture"));
    picture_->setPixmap(QPixmap::fromImage(LegendPicture()));
    picture_->setFixedSize(kPictureWidth, kPictureHeight);
    picture_->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

bool TfLegend::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_ && event->type() == QEvent::MouseButtonRelease) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace hexlane::ui
