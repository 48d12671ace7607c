#include "MapView.h"

#include "Activity.h"
#include "DefineUniverse.h"
#include "Icons.h"
#include "MapLayout.h"
#include "MapRenderer.h"
#include "Palette.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QRegion>
#include <QRubberBand>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <vector>

namespace hexlane::ui {

namespace {

const QString kConfiguring = QStringLiteral("Configuring IISS Survey Data ...");
const QString kReady = QStringLiteral("IISS Survey Data Ready");

quint64 TileKey(int tx, int ty) {
    return (quint64(quint32(tx)) << 32) | quint32(ty);
}

const QList<QRgb>& ColourTable() {
    static const QList<QRgb> table(render::Palette().begin(), render::Palette().end());
    return table;
}

int FloorDiv(int a, int b) {
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

MapView::MapView(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("rMapView"));
    viewport()->setObjectName(QStringLiteral("rImage"));
    viewport()->setMouseTracking(true);
    // Every pixel of the client area is painted by paintEvent.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);  // arrow and page keys scroll
    UpdateScrollBars();
}

MapView::~MapView() = default;

void MapView::SetUniverse(TUniverse* universe) {
    universe_ = universe;
    ShowNoPicture();
}

void MapView::DropPicture() {
    renderer_.reset();
    tiles_.clear();
    useOrder_.clear();
    cacheBytes_ = 0;
    tilesRendered_ = 0;
}

void MapView::ShowNoPicture() {
    DropPicture();
    UpdateScrollBars();
    if (crossHair_) {
        crossHair_ = false;
        viewport()->unsetCursor();
    }
    viewport()->update();
}

bool MapView::Rebuild(Activity* activity) {
    if (!universe_ || universe_->HexSize <= 0) {
        // No map open: nothing to draw.
        if (universe_) universe_->MapDirty = false;
        ShowNoPicture();
        return false;
    }
    universe_->MapDirty = false;
    if (activity) {
        activity->Progress(0);
        activity->Status(kConfiguring);
    }
    BusyScope busy(activity);

    // The picture on screen is its own display list, which refers to nothing
    // in the universe: it stays on screen (and can be repainted) while the
    // universe is edited or replaced, until the new one is ready.
    render::MapLayout layout = render::LayoutMap(*universe_);
    if (activity) activity->Progress(40);
    auto renderer = std::make_unique<render::MapRenderer>(std::move(layout));
    DropPicture();
    renderer_ = std::move(renderer);
    UpdateScrollBars();

    // The tiles in view now, so the first paint only shows them.
    int tx0, ty0, tx1, ty1;
    const QRect visible(ScrollPosition(), viewport()->size());
    if (TileRange(visible, tx0, ty0, tx1, ty1)) {
        const int total = (tx1 - tx0 + 1) * (ty1 - ty0 + 1);
        int done = 0;
        for (int ty = ty0; ty <= ty1; ++ty)
            for (int tx = tx0; tx <= tx1; ++tx) {
                TileImage(tx, ty);
                ++done;
                if (activity) activity->Progress(40 + 60 * done / total);
            }
    }
    if (activity) {
        activity->Progress(100);
        activity->Status(kReady);
        activity->Progress(-1);
    }
    viewport()->update();
    return true;
}

QSize MapView::PictureSize() const {
    return renderer_ ? renderer_->PictureSize() : QSize();
}

void MapView::ScrollTo(int x, int y) {
    // The scroll bars clamp to their ranges.
    horizontalScrollBar()->setValue(x);
    verticalScrollBar()->setValue(y);
}

QPoint MapView::ScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QPoint MapView::ViewportToPicture(QPoint viewportPoint) const {
    return viewportPoint + ScrollPosition();
}

QPoint MapView::PictureToGlobal(QPoint picturePoint) const {
    return viewport()->mapToGlobal(picturePoint - ScrollPosition());
}

void MapView::ShowPointingHand() {
    pointingHand_ = true;
    // The pointer may just have been put here, and the move that put it may
    // still arrive: only a move away from this spot ends the hand.
    handShownAt_ = QCursor::pos();
    crossHair_ = false;
    viewport()->setCursor(Qt::PointingHandCursor);
}

void MapView::UpdateCursor(QPoint picturePoint) {
    if (pointingHand_) return;
    const bool over = HasPicture() && QRect(QPoint(0, 0), PictureSize()).contains(picturePoint);
    if (over == crossHair_) return;
    crossHair_ = over;
    if (over)
        viewport()->setCursor(MapCursor());
    else
        viewport()->unsetCursor();
}

void MapView::SetCacheLimit(qint64 bytes) {
    cacheLimit_ = std::max<qint64>(0, bytes);
    Evict();
}

void MapView::UpdateScrollBars() {
    const QSize picture = PictureSize();
    const QSize view = viewport()->size();
    const int step = universe_ && universe_->HexSize > 0 ? std::max(16, universe_->HexSize) : 16;
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, std::max(0, picture.width() - view.width()));
    v->setRange(0, std::max(0, picture.height() - view.height()));
    h->setPageStep(std::max(1, view.width()));
    v->setPageStep(std::max(1, view.height()));
    h->setSingleStep(step);
    v->setSingleStep(step);
}

QRect MapView::TileRect(int tx, int ty) const {
    return QRect(tx * kTileSize, ty * kTileSize, kTileSize, kTileSize)
        .intersected(QRect(QPoint(0, 0), PictureSize()));
}

bool MapView::TileRange(const QRect& pictureRect, int& tx0, int& ty0, int& tx1, int& ty1) const {
    const QRect r = pictureRect.intersected(QRect(QPoint(0, 0), PictureSize()));
    if (r.isEmpty()) return false;
    tx0 = FloorDiv(r.left(), kTileSize);
    ty0 = FloorDiv(r.top(), kTileSize);
    tx1 = FloorDiv(r.right(), kTileSize);
    ty1 = FloorDiv(r.bottom(), kTileSize);
    return true;
}

QImage MapView::TileImage(int tx, int ty) {
    const quint64 key = TileKey(tx, ty);
    auto found = tiles_.find(key);
    if (found != tiles_.end()) {
        useOrder_.splice(useOrder_.begin(), useOrder_, found->Use);
        return found->Image;
    }
    const QRect rect = TileRect(tx, ty);
    // One byte a pixel: the picture has only the 16 palette colours.
    QImage image(rect.size(), QImage::Format_Indexed8);
    if (image.isNull()) return image;
    image.setColorTable(ColourTable());
    renderer_->RenderIndices(rect, image.bits(), static_cast<int>(image.bytesPerLine()), &scratch_);
    ++tilesRendered_;
    useOrder_.push_front(key);
    tiles_.insert(key, Tile{image, useOrder_.begin()});
    cacheBytes_ += image.sizeInBytes();
    Evict();
    return image;
}

void MapView::Evict() {
    while (cacheBytes_ > cacheLimit_ && !useOrder_.empty()) {
        const quint64 key = useOrder_.back();
        useOrder_.pop_back();
        auto found = tiles_.find(key);
        if (found == tiles_.end()) continue;
        cacheBytes_ -= found->Image.sizeInBytes();
        tiles_.erase(found);
    }
}

void MapView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QPoint offset = ScrollPosition();
    const QRect picture = QRect(QPoint(0, 0), PictureSize()).translated(-offset);  // client coordinates
    const QRegion exposed = event->region();

    // Around the picture: the window's background.
    const QRegion outside = exposed.subtracted(QRegion(picture));
    for (const QRect& r : outside) painter.fillRect(r, palette().window());
    if (!renderer_) return;

    // Each tile that touches the exposed region, once.
    std::vector<quint64> drawn;
    for (const QRect& r : exposed) {
        int tx0, ty0, tx1, ty1;
        if (!TileRange(r.translated(offset), tx0, ty0, tx1, ty1)) continue;
        for (int ty = ty0; ty <= ty1; ++ty)
            for (int tx = tx0; tx <= tx1; ++tx) {
                const quint64 key = TileKey(tx, ty);
                if (std::find(drawn.begin(), drawn.end(), key) != drawn.end()) continue;
                drawn.push_back(key);
                const QImage tile = TileImage(tx, ty);
                if (!tile.isNull()) painter.drawImage(TileRect(tx, ty).topLeft() - offset, tile);
            }
    }
}

void MapView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void MapView::scrollContentsBy(int dx, int dy) {
    viewport()->scroll(dx, dy);
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    // A drag moves the picture with the pointer; the left button starts one
    // only from empty map and only once it has moved a drag distance.
    if (band_) {
        band_->setGeometry(QRect(leftDownAt_, at).normalized());
        event->accept();
        return;
    }
    if (leftDown_ && (leftDownModifiers_ & Qt::ShiftModifier) &&
        (at - leftDownAt_).manhattanLength() >= QApplication::startDragDistance()) {
        // Shift+drag drags out a band that picks the systems within it.
        band_ = new QRubberBand(QRubberBand::Rectangle, viewport());
        band_->setGeometry(QRect(leftDownAt_, at).normalized());
        band_->show();
        event->accept();
        return;
    }
    if (!panning_ && ((middleDown_) || (leftDown_ && leftOnEmpty_ && !(leftDownModifiers_ & Qt::ShiftModifier) &&
                                        (at - leftDownAt_).manhattanLength() >= QApplication::startDragDistance()))) {
        panning_ = true;
        panFrom_ = middleDown_ ? panFrom_ : leftDownAt_;
        viewport()->setCursor(Qt::ClosedHandCursor);
    }
    if (panning_) {
        const QPoint step = at - panFrom_;
        panFrom_ = at;
        ScrollTo(horizontalScrollBar()->value() - step.x(), verticalScrollBar()->value() - step.y());
        event->accept();
        return;
    }
    const QPoint point = ViewportToPicture(at);
    if (pointingHand_ && event->globalPosition().toPoint() != handShownAt_) {
        pointingHand_ = false;
        viewport()->unsetCursor();
    }
    UpdateCursor(point);
    emit pointerMoved(point);
}

void MapView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        leftDown_ = true;
        leftDownAt_ = at;
        leftDownModifiers_ = event->modifiers();
        const QPoint point = ViewportToPicture(at);
        leftOnEmpty_ = HasPicture() && !(universe_ && universe_->StarAtPoint(point.x(), point.y()));
    } else if (event->button() == Qt::MiddleButton) {
        middleDown_ = true;
        panFrom_ = at;
    } else if (event->button() == Qt::RightButton) {
        rightDown_ = true;
        rightDownPoint_ = ViewportToPicture(at);
    }
    event->accept();
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasPanning = panning_;
    if (event->button() == Qt::MiddleButton) middleDown_ = false;
    if (event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton) {
        if (panning_) {
            panning_ = false;
            crossHair_ = false;
            viewport()->unsetCursor();
            UpdateCursor(ViewportToPicture(event->position().toPoint()));
        }
    }
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    if (band_) {
        const QRect picked = band_->geometry().translated(ScrollPosition());
        delete band_;
        band_ = nullptr;
        leftDown_ = false;
        event->accept();
        emit bandPicked(picked, leftDownModifiers_ & Qt::ControlModifier);
        return;
    }
    if (wasPanning) {
        // A drag never counts as a click.
        leftDown_ = false;
        event->accept();
        return;
    }
    // A click opens editors: it counts on release, and only when the pointer
    // stayed where the button went down.
    const bool click = leftDown_ && (at - leftDownAt_).manhattanLength() < QApplication::startDragDistance();
    leftDown_ = false;
    event->accept();
    if (click && (leftDownModifiers_ & Qt::ControlModifier))
        emit pickToggled(ViewportToPicture(at));
    else if (click)
        emit clicked(ViewportToPicture(at));
}

void MapView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier) && !wheelZooms_) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // One zoom step per notch (120 eighths of a degree), however the turn
    // arrives (fine-grained wheels and touchpads send parts of a notch).
    event->accept();
    wheelAngle_ += event->angleDelta().y();
    const QPoint at = event->position().toPoint();
    while (wheelAngle_ >= 120) {
        wheelAngle_ -= 120;
        emit zoomRequested(at, true);
    }
    while (wheelAngle_ <= -120) {
        wheelAngle_ += 120;
        emit zoomRequested(at, false);
    }
}

void MapView::contextMenuEvent(QContextMenuEvent* event) {
    QPoint point = ViewportToPicture(event->pos());
    if (event->reason() == QContextMenuEvent::Mouse && rightDown_) point = rightDownPoint_;
    rightDown_ = false;
    event->accept();
    emit contextMenuRequested(point, event->globalPos());
}

}  // namespace hexlane::ui
