#pragma once
// MapView: the scrolling view of the hex map picture. The picture is never
// held whole: it is cut into square tiles that a MapRenderer draws on demand
// when they come into view, kept in a least-recently-used cache of bounded
// size, so memory stays the same whatever the universe's size. Picture
// pixels are the view's client coordinates plus the scroll offsets.
//
// The renderer draws from the display list made at the last Rebuild, which
// owns all it draws, so the picture on screen stays the one of that rebuild
// (and safe to draw) while the universe is edited or replaced, until the
// next Rebuild; the view keeps no copy of the universe.

#include <QAbstractScrollArea>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QSize>

#include <list>
#include <memory>

class QRubberBand;
class TUniverse;

namespace hexlane::render {
class MapRenderer;
}

namespace hexlane::ui {

class Activity;

class MapView : public QAbstractScrollArea {
    Q_OBJECT

public:
    // Edge of a square tile in picture pixels.
    static constexpr int kTileSize = 256;
    // Default bound of the tile cache (tiles are kept at one byte a pixel).
    static constexpr qint64 kDefaultCacheBytes = qint64(48) << 20;

    explicit MapView(QWidget* parent = nullptr);
    ~MapView() override;

    // The universe that the next Rebuild lays out (may be null). Drops the
    // picture at once: the view is blank until the next Rebuild.
    void SetUniverse(TUniverse* universe);
    // Another state of the same map (an undone or redone command): the
    // picture, drawn from its own copy, stays on screen with its scroll
    // position until the next rebuild.
    void KeepPictureFor(TUniverse* universe) { universe_ = universe; }
    TUniverse* Universe() const { return universe_; }

    // Lays the universe out anew, drops every cached tile, clears MapDirty,
    // sets the scroll ranges, renders the tiles in view and repaints,
    // reporting through `activity` (may be null). False, with no picture,
    // when there is no universe or no map is open (hex size 0).
    bool Rebuild(Activity* activity);

    bool HasPicture() const { return renderer_ != nullptr; }
    // The renderer of the picture on screen (for saving it); null without one.
    const render::MapRenderer* Renderer() const { return renderer_.get(); }
    // Size of the picture; empty without one.
    QSize PictureSize() const;

    // Scrolls so that picture point (x, y) is at the view's top-left corner,
    // each coordinate clamped to its scroll range.
    void ScrollTo(int x, int y);
    QPoint ScrollPosition() const;
    // Screen position of a picture point.
    QPoint PictureToGlobal(QPoint picturePoint) const;
    // Picture point of a point in the view's client area.
    QPoint ViewportToPicture(QPoint viewportPoint) const;

    // Whether the wheel alone asks for zoom steps (it always does with Ctrl).
    void SetWheelZooms(bool on) { wheelZooms_ = on; }
    // True while a drag with the middle button, or with the left button from
    // empty map, moves the picture.
    bool Panning() const { return panning_; }

    // The pointing-hand pointer until the pointer next moves over the map,
    // then the cross-hair again.
    void ShowPointingHand();
    bool PointingHandShown() const { return pointingHand_; }

    // ---- counters (tests and benchmarks) ----
    // Tiles rendered since the last Rebuild (including those it rendered).
    int TilesRendered() const { return tilesRendered_; }
    int CachedTiles() const { return static_cast<int>(tiles_.size()); }
    qint64 CacheBytes() const { return cacheBytes_; }
    qint64 CacheLimit() const { return cacheLimit_; }
    // Changes the cache bound, dropping the least recently used tiles over it.
    void SetCacheLimit(qint64 bytes);

signals:
    // The pointer moved over the view (mouse tracking is on).
    void pointerMoved(QPoint picturePoint);
    // The left button was pressed and released without moving away.
    void clicked(QPoint picturePoint);
    // The right button asked for the popup menu: the picture point where the
    // button went down and the screen position for the menu.
    void contextMenuRequested(QPoint picturePoint, QPoint globalPos);
    // The wheel asked for one zoom step about a point of the client area.
    void zoomRequested(QPoint viewportPoint, bool in);
    // A click with Ctrl held: the system there joins or leaves the picked ones.
    void pickToggled(QPoint picturePoint);
    // A drag with Shift held ended: the systems within the band (a picture
    // rectangle) are picked; `add` when Ctrl was held too.
    void bandPicked(QRect pictureRect, bool add);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct Tile {
        QImage Image;
        std::list<quint64>::iterator Use;  // position in the use order
    };

    void DropPicture();
    // A blank view: no picture, no scrolling, the normal pointer.
    void ShowNoPicture();
    void UpdateScrollBars();
    void UpdateCursor(QPoint picturePoint);
    // Picture rectangle of tile (tx, ty), cut at the picture's edge.
    QRect TileRect(int tx, int ty) const;
    // Tile column and row range covering a picture rectangle (inclusive).
    bool TileRange(const QRect& pictureRect, int& tx0, int& ty0, int& tx1, int& ty1) const;
    // The tile, from the cache or rendered now.
    QImage TileImage(int tx, int ty);
    void Evict();

    TUniverse* universe_ = nullptr;
    std::unique_ptr<render::MapRenderer> renderer_;
    QHash<quint64, Tile> tiles_;
    std::list<quint64> useOrder_;  // most recently used first
    qint64 cacheBytes_ = 0;
    qint64 cacheLimit_ = kDefaultCacheBytes;
    int tilesRendered_ = 0;
    QImage scratch_;  // the renderer's working image, kept between tiles

    bool leftDown_ = false;
    QPoint leftDownAt_;          // client coordinates
    QPoint rightDownPoint_{-1, -1};
    bool rightDown_ = false;
    bool pointingHand_ = false;
    QPoint handShownAt_;         // screen position when the hand was shown
    bool crossHair_ = false;     // which cursor the view shows now
    bool wheelZooms_ = false;
    int wheelAngle_ = 0;         // wheel turn not yet spent on a zoom step
    bool middleDown_ = false;
    bool leftOnEmpty_ = false;   // the left button went down on no star
    bool panning_ = false;
    QPoint panFrom_;             // client coordinates of the last pan step
    QRubberBand* band_ = nullptr;  // while a Shift+drag picks systems
    Qt::KeyboardModifiers leftDownModifiers_;
};

}  // namespace hexlane::ui
