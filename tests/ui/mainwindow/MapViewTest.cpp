// The tiled map view: what it shows, which tiles it renders and keeps, how
// it reports a rebuild, scrolling, and the pointer signals in picture
// coordinates.

#include "Activity.h"
#include "DefineUniverse.h"
#include "MapRenderer.h"
#include "MapView.h"
#include "TestUtil.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using hexlane::ui::Activity;
using hexlane::ui::MapView;

namespace {

// Records every report of a long operation.
class FakeActivity : public Activity {
public:
    void BeginBusy() override { log.push_back("busy on"); }
    void EndBusy() override { log.push_back("busy off"); }
    void Progress(int percent) override {
        log.push_back("progress " + std::to_string(percent));
        if (percent >= 0) progress.push_back(percent);
    }
    void Status(const QString& text) override {
        log.push_back("status " + text.toStdString());
        if (onStatus) onStatus(text);
    }

    std::function<void(const QString&)> onStatus;
    std::vector<std::string> log;
    std::vector<int> progress;
};

// Sectors in a block of across x down, a star in the middle of each and
// one in each corner hex of the block, every display switch on.
std::unique_ptr<TUniverse> Block(int across, int down, int hexSize) {
    auto u = TUniverse::CreateNew();
    for (int x = 1; x <= across; ++x)
        for (int y = 1; y <= down; ++y) {
            TSector* s = testutil::AddSector(*u, "S" + std::to_string(x) + "_" + std::to_string(y), x, y);
            TStar* mid = testutil::AddStar(*s, "Mid" + std::to_string(x) + "_" + std::to_string(y), 16, 20);
            mid->TravelZoneCode = tzcAmber;
            mid->SystemContent = scNavalBase | scGasGiant;
            if (x == 1 && y == 1) testutil::AddStar(*s, "First", 1, 1);
            if (x == across && y == down) testutil::AddStar(*s, "Last", 32, 40);
        }
    u->ShowNames = u->ShowStarports = u->ShowSystemContents = u->ShowSectorLines = u->ShowSubsectorLines = true;
    u->AutoRefresh = true;
    u->SetHexSize(hexSize);
    u->ComputeExtent();
    u->MapDirty = true;
    return u;
}

// Block(2, 2) with everything the picture can show: allegiance fills and
// hatches, a capital, a visited system, a planetoid belt, a red zone and a
// route.
std::unique_ptr<TUniverse> Rich(int hexSize) {
    auto u = Block(2, 2, hexSize);
    u->ShowRoutes = u->ShowAllegianceColors = u->UseSectorHexAddressing = true;
    auto* empire = u->Allegiances()->Create<TAllegiance>();
    empire->Name1 = "Empire";
    empire->Color = 0x0000FF;
    empire->Style = bsDiagCross;
    auto* league = u->Allegiances()->Create<TAllegiance>();
    league->Name1 = "League";
    league->Color = 0x00FF00;
    TSector* s = u->FindSector("S1_1");
    TStar* capital = testutil::AddStar(*s, "Capital Prime", 4, 5);
    capital->SubsectorCapital = true;
    capital->Allegiance = "Empire";
    TStar* belt = testutil::AddStar(*s, "Belt", 5, 5, "000000");
    belt->Visited = true;
    belt->TravelZoneCode = tzcRed;
    belt->Allegiance = "League";
    belt->SystemContent = scPrison | scAncientSite | scResearchStation;
    auto* route = u->Routes()->Create<TRoute>();
    route->ShowRoute = true;
    route->Color = 0x00FFFF;
    auto* leg = route->Create<TRouteLeg>();
    leg->SStarName = "Capital Prime";
    leg->EStarName = "Mid2_2";
    u->ComputeExtent();
    return u;
}

QImage Shot(MapView& view) {
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Number of tiles that cover the part of the picture in view.
int TilesInView(const MapView& view) {
    const QRect r = QRect(view.ScrollPosition(), view.viewport()->size())
                        .intersected(QRect(QPoint(0, 0), view.PictureSize()));
    if (r.isEmpty()) return 0;
    const int t = MapView::kTileSize;
    return (r.right() / t - r.left() / t + 1) * (r.bottom() / t - r.top() / t + 1);
}

class MapViewTest : public ::testing::Test {
protected:
    void Open(std::unique_ptr<TUniverse> u, QSize size = {420, 330}) {
        universe = std::move(u);
        view = std::make_unique<MapView>();
        view->resize(size);
        view->SetUniverse(universe.get());
        view->show();
        QApplication::processEvents();
    }
    std::unique_ptr<TUniverse> universe;
    std::unique_ptr<MapView> view;
};

void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, QPoint global) {
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, QPointF(at), QPointF(global), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

}  // namespace

TEST_F(MapViewTest, ShowsExactlyTheMapPictureWhereverItIsScrolled) {
    for (int hexSize : {10, 30, 90}) {
        Open(Rich(hexSize));
        ASSERT_TRUE(view->Rebuild(nullptr));
        // The picture as a renderer on the universe itself draws it.
        const hexlane::render::MapRenderer reference(*universe);
        ASSERT_EQ(view->PictureSize(), reference.PictureSize());
        const QSize vp = view->viewport()->size();
        for (const QPoint at : {QPoint(0, 0), QPoint(123, 77), QPoint(3 * hexSize, 5 * hexSize),
                                QPoint(100000, 100000)}) {
            view->ScrollTo(at.x(), at.y());
            const QRect rect(view->ScrollPosition(), vp);
            const QImage expected = reference.Render(rect).convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(Shot(*view), expected) << "hex size " << hexSize << " at " << at.x() << ", " << at.y();
        }
        // The view is smaller than the picture, so the last position is the far corner.
        EXPECT_EQ(view->ScrollPosition(), QPoint(view->PictureSize().width() - vp.width(),
                                                 view->PictureSize().height() - vp.height()));
    }
}

TEST_F(MapViewTest, RendersOnlyNewlyExposedTilesAndReusesCachedOnes) {
    Open(Block(2, 2, 30));
    ASSERT_TRUE(view->Rebuild(nullptr));
    // The rebuild renders the tiles in view, and painting them renders nothing more.
    const int first = TilesInView(*view);
    EXPECT_EQ(view->TilesRendered(), first);
    Shot(*view);
    EXPECT_EQ(view->TilesRendered(), first);

    // A small step right brings one more column of tiles into view.
    const int t = MapView::kTileSize;
    const int width = view->viewport()->width();
    const int step = t - width % t + 1;  // just enough to touch the next column
    view->ScrollTo(step, 0);
    Shot(*view);
    const int rows = (view->viewport()->height() - 1) / t + 1;
    EXPECT_EQ(view->TilesRendered(), first + rows);

    // Back again: everything is still cached.
    view->ScrollTo(0, 0);
    Shot(*view);
    view->ScrollTo(step, 0);
    Shot(*view);
    EXPECT_EQ(view->TilesRendered(), first + rows);
    EXPECT_EQ(view->CachedTiles(), first + rows);

    // A rebuild starts over.
    ASSERT_TRUE(view->Rebuild(nullptr));
    EXPECT_EQ(view->TilesRendered(), TilesInView(*view));
    EXPECT_EQ(view->CachedTiles(), TilesInView(*view));
}

TEST_F(MapViewTest, CacheStaysWithinItsBoundOnAHugePicture) {
    // All 144 sector positions at the largest zoom: 46,080 x 32,400 pixels.
    Open(Block(16, 9, 90), {800, 600});
    EXPECT_EQ(view->CacheLimit(), MapView::kDefaultCacheBytes);
    const qint64 limit = 3 << 20;  // 48 tiles of one byte a pixel
    view->SetCacheLimit(limit);
    ASSERT_TRUE(view->Rebuild(nullptr));
    EXPECT_EQ(view->PictureSize(), QSize(46080 + 45, 32400 + 45));

    int painted = 0;
    for (int y = 0; y < 32400; y += 4050)
        for (int x = 0; x < 46080; x += 5120) {
            view->ScrollTo(x, y);
            Shot(*view);
            ++painted;
            ASSERT_LE(view->CacheBytes(), limit);
        }
    EXPECT_GE(view->TilesRendered(), painted * 6);
    EXPECT_LE(view->CachedTiles(), 48);
    // Lowering the bound drops tiles at once.
    view->SetCacheLimit(limit / 4);
    EXPECT_LE(view->CacheBytes(), limit / 4);
    EXPECT_EQ(Shot(*view), view->Renderer()->Render(QRect(view->ScrollPosition(), view->viewport()->size()))
                               .convertToFormat(QImage::Format_RGB32));
}

TEST_F(MapViewTest, RebuildClearsMapDirtyAndReportsItsProgress) {
    Open(Block(1, 1, 30));
    FakeActivity activity;
    ASSERT_TRUE(view->Rebuild(&activity));
    EXPECT_FALSE(universe->MapDirty);
    EXPECT_TRUE(view->HasPicture());

    const auto& log = activity.log;
    ASSERT_GE(log.size(), 7u);
    EXPECT_EQ(log[0], "progress 0");
    EXPECT_EQ(log[1], "status Configuring IISS Survey Data ...");
    EXPECT_EQ(log[2], "busy on");
    EXPECT_EQ(log[log.size() - 4], "progress 100");
    EXPECT_EQ(log[log.size() - 3], "status IISS Survey Data Ready");
    EXPECT_EQ(log[log.size() - 2], "progress -1");
    EXPECT_EQ(log[log.size() - 1], "busy off");
    // Progress only moves forward, with steps between the ends.
    EXPECT_TRUE(std::is_sorted(activity.progress.begin(), activity.progress.end()));
    EXPECT_GE(activity.progress.size(), 4u);

    // While the next rebuild runs (the status lets the window repaint), the
    // old picture is still there to show.
    FakeActivity again;
    std::vector<bool> shown;
    again.onStatus = [&](const QString&) {
        shown.push_back(view->HasPicture());
        Shot(*view);
    };
    universe->MapDirty = true;
    ASSERT_TRUE(view->Rebuild(&again));
    EXPECT_EQ(shown, std::vector<bool>({true, true}));
    EXPECT_FALSE(universe->MapDirty);
}

TEST_F(MapViewTest, WithoutAMapNothingIsDrawn) {
    Open(nullptr);
    FakeActivity activity;
    EXPECT_FALSE(view->Rebuild(&activity));
    EXPECT_FALSE(view->HasPicture());
    EXPECT_EQ(view->Renderer(), nullptr);
    EXPECT_TRUE(view->PictureSize().isEmpty());

    // A universe before any map is opened: hex size 0.
    auto blank = TUniverse::CreateNew();
    blank->MapDirty = true;
    view->SetUniverse(blank.get());
    EXPECT_FALSE(view->Rebuild(&activity));
    EXPECT_FALSE(blank->MapDirty);
    EXPECT_FALSE(view->HasPicture());
    EXPECT_TRUE(activity.log.empty());

    const QImage shot = Shot(*view);
    EXPECT_EQ(view->TilesRendered(), 0);
    const QRgb background = view->palette().window().color().rgb();
    for (const QPoint p : {QPoint(0, 0), QPoint(shot.width() / 2, shot.height() / 2),
                           QPoint(shot.width() - 1, shot.height() - 1)})
        EXPECT_EQ(shot.pixel(p), background);
    EXPECT_EQ(view->ScrollPosition(), QPoint(0, 0));
}

TEST_F(MapViewTest, SettingAnotherUniverseDropsThePicture) {
    Open(Block(1, 1, 30));
    ASSERT_TRUE(view->Rebuild(nullptr));
    auto other = Block(1, 1, 10);
    view->SetUniverse(other.get());
    EXPECT_FALSE(view->HasPicture());
    EXPECT_EQ(view->CachedTiles(), 0);
    ASSERT_TRUE(view->Rebuild(nullptr));
    EXPECT_EQ(view->PictureSize(), view->Renderer()->PictureSize());
    EXPECT_EQ(view->PictureSize().width(), 31 * 10 + 15);
}

TEST_F(MapViewTest, PictureOutsideTheViewIsBackground) {
    // One star: a 75 x 45 picture in a larger view.
    auto u = TUniverse::CreateNew();
    testutil::AddStar(*testutil::AddSector(*u, "One", 1, 1), "Solo", 10, 7);
    u->SetHexSize(30);
    u->ComputeExtent();
    Open(std::move(u));
    ASSERT_TRUE(view->Rebuild(nullptr));
    EXPECT_EQ(view->PictureSize(), QSize(75, 45));
    EXPECT_EQ(view->ScrollPosition(), QPoint(0, 0));
    const QImage shot = Shot(*view);
    const QImage picture = view->Renderer()->Render(QRect(0, 0, 75, 45)).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.copy(0, 0, 75, 45), picture);
    EXPECT_EQ(shot.pixel(45, 30), qRgb(0, 0, 255));  // the star's world dot (it has water)
    const QRgb background = view->palette().window().color().rgb();
    EXPECT_EQ(shot.pixel(75, 10), background);
    EXPECT_EQ(shot.pixel(10, 45), background);
}

TEST_F(MapViewTest, ThePictureStaysTheOneOfTheLastRebuildWhileTheUniverseChanges) {
    auto u = Block(2, 2, 30);
    testutil::AddStar(*u->FindSector("S2_2"), "Near", 30, 39);
    u->ComputeExtent();
    Open(std::move(u));
    ASSERT_TRUE(view->Rebuild(nullptr));
    // The far corner, not yet rendered, as it looks now.
    const QRect far(view->PictureSize().width() - view->viewport()->width(),
                    view->PictureSize().height() - view->viewport()->height(), view->viewport()->width(),
                    view->viewport()->height());
    QImage before;
    {
        hexlane::render::MapRenderer reference(*universe);
        before = reference.Render(far).convertToFormat(QImage::Format_RGB32);
    }
    // Edits that change what lies there, with automatic refresh off: one
    // star renamed, one deleted.
    universe->AutoRefresh = false;
    universe->FindStar("Near")->Name1 = "Renamed";
    TManager::Destroy(universe->FindStar("Last"));
    universe->MapDirty = true;

    view->ScrollTo(far.x(), far.y());
    EXPECT_EQ(Shot(*view), before);

    // The next rebuild shows the edits.
    ASSERT_TRUE(view->Rebuild(nullptr));
    view->ScrollTo(far.x(), far.y());
    EXPECT_NE(Shot(*view), before);
}

TEST_F(MapViewTest, ScrollToClampsToTheScrollRanges) {
    Open(Block(1, 1, 30));
    ASSERT_TRUE(view->Rebuild(nullptr));
    const QSize picture = view->PictureSize();
    const QSize vp = view->viewport()->size();
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), picture.width() - vp.width());
    EXPECT_EQ(view->verticalScrollBar()->maximum(), picture.height() - vp.height());

    view->ScrollTo(-40, 1000000);
    EXPECT_EQ(view->ScrollPosition(), QPoint(0, picture.height() - vp.height()));
    view->ScrollTo(1000000, -1);
    EXPECT_EQ(view->ScrollPosition(), QPoint(picture.width() - vp.width(), 0));
    view->ScrollTo(55, 66);
    EXPECT_EQ(view->ScrollPosition(), QPoint(55, 66));

    // A larger view has less to scroll: the position is clamped again.
    view->ScrollTo(1000000, 1000000);
    view->resize(view->size() + QSize(100, 50));
    QApplication::processEvents();
    const QSize bigger = view->viewport()->size();
    EXPECT_EQ(view->ScrollPosition(), QPoint(picture.width() - bigger.width(), picture.height() - bigger.height()));
}

TEST_F(MapViewTest, PictureToGlobalAndThePointerSignalsUsePictureCoordinates) {
    Open(Block(1, 1, 30));
    ASSERT_TRUE(view->Rebuild(nullptr));
    view->ScrollTo(100, 50);
    EXPECT_EQ(view->PictureToGlobal(QPoint(130, 90)), view->viewport()->mapToGlobal(QPoint(30, 40)));

    std::vector<QPoint> moved, clicked, menus, menuGlobals;
    QObject::connect(view.get(), &MapView::pointerMoved, [&](QPoint p) { moved.push_back(p); });
    QObject::connect(view.get(), &MapView::clicked, [&](QPoint p) { clicked.push_back(p); });
    QObject::connect(view.get(), &MapView::contextMenuRequested, [&](QPoint p, QPoint g) {
        menus.push_back(p);
        menuGlobals.push_back(g);
    });
    QWidget* vp = view->viewport();
    const QPoint g(500, 400);

    SendMouse(vp, QEvent::MouseMove, QPoint(10, 20), Qt::NoButton, g);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0], QPoint(110, 70));

    // A click: press and release in place.
    SendMouse(vp, QEvent::MouseButtonPress, QPoint(10, 20), Qt::LeftButton, g);
    EXPECT_TRUE(clicked.empty());
    SendMouse(vp, QEvent::MouseButtonRelease, QPoint(11, 20), Qt::LeftButton, g);
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], QPoint(111, 70));

    // A press dragged away before the release is no click.
    SendMouse(vp, QEvent::MouseButtonPress, QPoint(10, 20), Qt::LeftButton, g);
    SendMouse(vp, QEvent::MouseButtonRelease, QPoint(60, 20), Qt::LeftButton, g);
    EXPECT_EQ(clicked.size(), 1u);
    // Nor is a release without a press.
    SendMouse(vp, QEvent::MouseButtonRelease, QPoint(10, 20), Qt::LeftButton, g);
    EXPECT_EQ(clicked.size(), 1u);

    // The popup uses the point where the right button went down.
    SendMouse(vp, QEvent::MouseButtonPress, QPoint(30, 40), Qt::RightButton, g);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(35, 44), QPoint(635, 444));
    QApplication::sendEvent(vp, &menu);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0], QPoint(130, 90));
    EXPECT_EQ(menuGlobals[0], QPoint(635, 444));
    // From the keyboard: where the event says.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 6), QPoint(7, 8));
    QApplication::sendEvent(vp, &key);
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[1], QPoint(105, 56));
}

TEST_F(MapViewTest, PointingHandLastsUntilThePointerMovesAgain) {
    Open(Block(1, 1, 30));
    ASSERT_TRUE(view->Rebuild(nullptr));
    QWidget* vp = view->viewport();
    SendMouse(vp, QEvent::MouseMove, QPoint(10, 10), Qt::NoButton, QPoint(300, 300));
    EXPECT_EQ(vp->cursor().shape(), Qt::BitmapCursor);  // the cross-hair over the picture

    view->ShowPointingHand();
    EXPECT_EQ(vp->cursor().shape(), Qt::PointingHandCursor);
    // The move that put the pointer there does not end it.
    SendMouse(vp, QEvent::MouseMove, QPoint(12, 12), Qt::NoButton, QCursor::pos());
    EXPECT_EQ(vp->cursor().shape(), Qt::PointingHandCursor);
    SendMouse(vp, QEvent::MouseMove, QPoint(14, 14), Qt::NoButton, QCursor::pos() + QPoint(3, 3));
    EXPECT_EQ(vp->cursor().shape(), Qt::BitmapCursor);
    EXPECT_FALSE(view->PointingHandShown());
}

TEST_F(MapViewTest, ObjectNamesForTheWindowCode) {
    Open(nullptr);
    EXPECT_EQ(view->objectName(), "rMapView");
    EXPECT_EQ(view->viewport()->objectName(), "rImage");
    EXPECT_TRUE(view->viewport()->hasMouseTracking());
}
