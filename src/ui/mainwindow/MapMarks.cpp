#include "MapMarks.h"

#include "MapView.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace hexlane::ui {

MapMarks::MapMarks(MapView* view) : QWidget(view), view_(view) {
    setObjectName("rMapMarks");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    // A sibling of the client area, so the area's own scrolling never moves it.
    view->installEventFilter(this);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { update(); });
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { update(); });
    FollowViewport();
}

std::vector<QPoint> MapMarks::Marks() const {
    int hexSize = 0;
    return source_ ? source_(hexSize) : std::vector<QPoint>{};
}

void MapMarks::FollowViewport() { setGeometry(view_->viewport()->geometry()); }

bool MapMarks::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest))
        FollowViewport();
    return false;
}

void MapMarks::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    int hexSize = 0;
    const std::vector<QPoint> centres = source_ ? source_(hexSize) : std::vector<QPoint>{};
    if (centres.empty()) return;
    const QPoint offset = view_->ScrollPosition();
    const int radius = std::max(6, hexSize / 2);
    painter.setBrush(Qt::NoBrush);
    for (const QPoint& centre : centres) {
        const QPoint at = centre - offset;
        painter.setPen(QPen(QColor(255, 255, 255), 4));
        painter.drawEllipse(at, radius, radius);
        painter.setPen(QPen(palette().highlight().color(), 2));
        painter.drawEllipse(at, radius, radius);
    }
}

}  // namespace hexlane::ui
