// The main window as a desktop program: the standard shortcuts, the View menu
// with the display toggles as checkable items, zooming about a point of the
// map, and Edit > Find System.

#include "Mainform.h"

#include "ClippedTextTips.h"
#include "DefineUniverse.h"
#include "FindSystem.h"
#include "MapGeometry.h"
#include "MapView.h"
#include "NavigatorTree.h"
#include "Settings.h"
#include "SystemList.h"
#include "UiText.h"
#include "ViewState.h"

#include <QAction>
#include <QDockWidget>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace hexlane::ui {

using render::DisplayToggle;

namespace {

// The display toggles: action, caption in the View menu, flag.
struct ToggleItem {
    const char* Name;
    const char* Caption;
    DisplayToggle Which;
};
constexpr ToggleItem kToggles[] = {
    {"rShowAllInfo", "All &System Information", DisplayToggle::AllInfo},
    {"rShowAllegianceColors", "&Allegiance Colors", DisplayToggle::AllegianceColors},
    {"rShowRoutes", "Comm/Trade &Routes", DisplayToggle::Routes},
    {"rShowSystemContents", "System &Contents", DisplayToggle::SystemContents},
    {"rShowStarports", "Star&ports", DisplayToggle::Starports},
    {"rShowNames", "System &Names", DisplayToggle::Names},
    {"rShowSectorLines", "S&ector Lines", DisplayToggle::SectorLines},
    {"rShowSubsectorLines", "Su&bsector Lines", DisplayToggle::SubsectorLines},
    {"rShowBorders", "Polit&y Borders", DisplayToggle::Borders},
};

bool Shown(const TUniverse& u, DisplayToggle which) {
    switch (which) {
    case DisplayToggle::Names: return u.ShowNames;
    case DisplayToggle::Starports: return u.ShowStarports;
    case DisplayToggle::SystemContents: return u.ShowSystemContents;
    case DisplayToggle::Routes: return u.ShowRoutes;
    case DisplayToggle::SectorLines: return u.ShowSectorLines;
    case DisplayToggle::SubsectorLines: return u.ShowSubsectorLines;
    case DisplayToggle::AllegianceColors: return u.ShowAllegianceColors;
    case DisplayToggle::AllInfo: return u.ShowAllInfo;
    case DisplayToggle::Borders: return u.ShowBorders;
    }
    return false;
}

// A picture point as a place on the hex grid (fractional column and row),
// which stays the same place at every zoom.
QPointF GridPlace(const render::MapFrame& frame, QPointF picturePoint) {
    const QPointF origin = render::CellCentre(frame, 0, 0);
    const double dx = (render::CellCentre(frame, 2, 0).x() - origin.x()) / 2.0;
    const double dy = render::CellCentre(frame, 0, 1).y() - origin.y();
    if (dx <= 0 || dy <= 0) return {};
    return {(picturePoint.x() - origin.x()) / dx, (picturePoint.y() - origin.y()) / dy};
}

QPoint PicturePoint(const render::MapFrame& frame, QPointF place) {
    const QPointF origin = render::CellCentre(frame, 0, 0);
    const double dx = (render::CellCentre(frame, 2, 0).x() - origin.x()) / 2.0;
    const double dy = render::CellCentre(frame, 0, 1).y() - origin.y();
    return QPointF(origin.x() + place.x() * dx, origin.y() + place.y() * dy).toPoint();
}

}  // namespace

void TfMainform::CreateConventions() {
    auto action = [this](const char* name) { return findChild<QAction*>(name); };

    // Edit > Find System...
    QAction* find = NewAction("rFindSystem", "&Find System...", &TfMainform::rFindSystemClick);
    QMenu* edit = findChild<QMenu*>("rEditMenu");
    edit->addSeparator();
    edit->addAction(find);

    // The standard keys of the platform, shown in the menus.
    const struct {
        const char* name;
        QKeySequence::StandardKey key;
        const char* fallback;  // where the platform has none
    } keys[] = {
        {"rNew", QKeySequence::New, "Ctrl+N"},          {"rOpen", QKeySequence::Open, "Ctrl+O"},
        {"rSave", QKeySequence::Save, "Ctrl+S"},        {"rSaveAs", QKeySequence::SaveAs, "Ctrl+Shift+S"},
        {"rExit", QKeySequence::Quit, "Ctrl+Q"},        {"rFindSystem", QKeySequence::Find, "Ctrl+F"},
        {"rZoomIn", QKeySequence::ZoomIn, "Ctrl++"},    {"rZoomOut", QKeySequence::ZoomOut, "Ctrl+-"},
        {"rRefresh", QKeySequence::Refresh, "F5"},
    };
    for (const auto& k : keys) {
        QList<QKeySequence> sequences = QKeySequence::keyBindings(k.key);
        if (sequences.isEmpty()) sequences.push_back(QKeySequence(k.fallback));
        // Ctrl+= zooms in too: the same key as Ctrl++ without Shift.
        if (k.key == QKeySequence::ZoomIn && !sequences.contains(QKeySequence("Ctrl+=")))
            sequences.push_back(QKeySequence("Ctrl+="));
        action(k.name)->setShortcuts(sequences);
    }

    // File > Open Recent, under Open.
    QMenu* file = findChild<QMenu*>("rFileMenu");
    recentMenu_ = new QMenu("Open &Recent", this);
    recentMenu_->setObjectName("rRecentMenu");
    file->insertMenu(action("rSave"), recentMenu_);
    connect(recentMenu_, &QMenu::aboutToShow, this, &TfMainform::FillRecentMenu);
    FillRecentMenu();

    // View, between Edit and Options: the display toggles (checkable, as
    // their toolbar buttons now are), zoom, refresh, toolbars and panes.
    QMenu* view = new QMenu("&View", this);
    view->setObjectName("rViewMenu");
    menuBar()->insertMenu(findChild<QMenu*>("rOptionsMenu")->menuAction(), view);
    for (const ToggleItem& t : kToggles) {
        QAction* toggle = action(t.Name);
        toggle->setText(t.Caption);
        toggle->setCheckable(true);
        view->addAction(toggle);
        if (t.Which == DisplayToggle::AllInfo) view->addSeparator();
    }
    view->addSeparator();
    action("rZoomIn")->setText("Zoom &In");
    action("rZoomOut")->setText("Zoom &Out");
    action("rRefresh")->setText("Refresh Ima&ge");
    view->addAction(action("rZoomIn"));
    view->addAction(action("rZoomOut"));
    view->addAction(action("rRefresh"));
    QAction* wheel = view->addAction("&Wheel Zooms Without Ctrl");
    wheel->setObjectName("rWheelZooms");
    wheel->setCheckable(true);
    wheel->setChecked(Settings::WheelZooms());
    connect(wheel, &QAction::toggled, this, [this](bool on) {
        Settings::SetWheelZooms(on);
        mapView_->SetWheelZooms(on);
    });
    mapView_->SetWheelZooms(wheel->isChecked());
    view->addSeparator();
    QMenu* toolbars = view->addMenu("&Toolbars");
    toolbars->setObjectName("rToolbarsMenu");
    for (QToolBar* bar : findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
        toolbars->addAction(bar->toggleViewAction());
    view->addAction(universeInspector_);
    view->addAction(showList_);
    view->addAction(showMap_);
    QAction* history = static_cast<QDockWidget*>(undoPane_)->toggleViewAction();
    history->setObjectName("rUndoHistory");
    history->setText("Undo &History");
    view->addAction(history);

    // Names cut short by a narrow pane end in an ellipsis and show whole as a tooltip.
    tree_->setTextElideMode(Qt::ElideRight);
    tree_->setItemDelegate(new ClippedTextTips(tree_));
    listView_->setTextElideMode(Qt::ElideRight);
    listView_->setItemDelegate(new ClippedTextTips(listView_));

    // Hints stay tooltips: a status tip would hide the five status panels.
    for (QAction* each : findChildren<QAction*>()) each->setStatusTip({});

    connect(mapView_, &MapView::zoomRequested, this, [this](QPoint at, bool in) { ZoomAbout(in, at); });
    SyncDisplayChecks();
}

void TfMainform::SyncDisplayChecks() {
    if (!universe_) return;
    for (const ToggleItem& t : kToggles)
        if (QAction* toggle = findChild<QAction*>(t.Name)) toggle->setChecked(Shown(*universe_, t.Which));
}

void TfMainform::ZoomAbout(bool in, std::optional<QPoint> viewportPoint) {
    const QPoint at = viewportPoint.value_or(QRect(QPoint(), mapView_->viewport()->size()).center());
    // Only a picture on screen that shows the universe as it is can be kept
    // in place; otherwise the zoom waits for the next rebuild as before.
    const bool keep = mapView_->HasPicture() && !universe_->MapDirty && universe_->AutoRefresh &&
                      showMap_->isChecked();
    const QPointF place = GridPlace(render::MapFrame::FromUniverse(*universe_), mapView_->ViewportToPicture(at));
    if (!(in ? render::ZoomIn(*universe_) : render::ZoomOut(*universe_))) return;
    Settings::SetZoom(universe_->HexSize);
    UpdateZoomIndicator();
    if (!keep) {
        Invalidate();
        return;
    }
    mapView_->Rebuild(this);
    const QPoint target = PicturePoint(render::MapFrame::FromUniverse(*universe_), place);
    mapView_->ScrollTo(target.x() - at.x(), target.y() - at.y());
}

// ---------------------------------------------------------------- find

void TfMainform::rFindSystemClick() {
    if (!findSystem_) {
        findSystem_ = new TfFindSystem(*prompter_, this);
        findSystem_->SetLocate([this](TStar& star) { ShowFoundSystem(star); });
    }
    findSystem_->Load(*universe_);
    findSystem_->exec();
}

void TfMainform::ShowFoundSystem(TStar& star) {
    // The map first: Locate lets pending events run, which the selections
    // below must come after.
    const TSector* sector = star.Sector();
    bool located = false;
    if (showMap_->isChecked()) {
        RefreshIfDirty();
        located = mapView_->HasPicture() && star.Visible && sector && !sector->ExcludeFromDisplay();
        if (located)
            Locate(&star);
        else
            Status(FromMap(star.Name1) + " is not displayed on the map.");
    }
    SelectInTreeAndList(star);
    // The pointer read-out, as if the pointer rested on the star.
    if (located) rImageMouseMove(QPoint(star.PictureX, star.PictureY));
}

void TfMainform::SelectInTreeAndList(TStar& star) {
    const TSector* sector = star.Sector();
    // The tree: the star's subsector under its sector.
    QTreeWidgetItem* subsector = nullptr;
    for (QTreeWidgetItemIterator it(tree_); *it && !subsector; ++it)
        if (KindOf(*it) == NodeKind::Sector && SectorOf(*it) == sector)
            for (int i = 0; i < (*it)->childCount() && !subsector; ++i)
                if (NodeName((*it)->child(i)) == star.SubSectorName) subsector = (*it)->child(i);
    if (subsector) {
        tree_->setCurrentItem(subsector);
        UpdateTreeStatus();
    }
    // The list: its row.
    for (int row = 0; row < listModel_->rowCount(); ++row)
        if (listModel_->StarAt(row) == &star) {
            const QModelIndex index = listModel_->index(row, 0);
            listView_->setCurrentIndex(index);
            listView_->selectionModel()->select(index,
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            listView_->scrollTo(index);
            break;
        }
}

}  // namespace hexlane::ui
