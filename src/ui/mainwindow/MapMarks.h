#pragma once
// MapMarks: a see-through layer over the map view's client area that rings
// the systems picked on the map and shows the band being dragged out to pick
// them. It takes no mouse input and draws nothing of the map itself.

#include <QPoint>
#include <QRect>
#include <QWidget>

#include <functional>
#include <vector>

namespace hexlane::ui {

class MapView;

class MapMarks : public QWidget {
public:
    explicit MapMarks(MapView* view);

    // What to ring, asked at each paint: centres (picture points) of the
    // systems and the hex size, so the rings follow every new picture.
    using Source = std::function<std::vector<QPoint>(int& hexSize)>;
    void SetSource(Source source) { source_ = std::move(source); }
    std::vector<QPoint> Marks() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FollowViewport();

    MapView* view_;
    Source source_;
};

}  // namespace hexlane::ui
