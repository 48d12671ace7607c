// The map under the pointer: the right-click menu of a system or of an empty
// hex, the read-outs of the status bar (the hex under the pointer, the zoom,
// the picking mode), Escape out of a picking mode, and the zooms that fit
// the map to the view or show it at its actual size.

#include "Mainform.h"

#include "DefineUniverse.h"
#include "MapGeometry.h"
#include "MapView.h"
#include "NavigatorTree.h"
#include "PlanVoyage.h"
#include "Settings.h"
#include "SystemList.h"
#include "UiText.h"
#include "ViewState.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <cmath>

namespace hexlane::ui {

namespace {

constexpr int kActualSize = 30;  // the hex size a map opens at first

int FloorDiv(int a, int b) {
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

QLabel* Panel(QStatusBar* bar, const char* name, const QString& tip) {
    auto* label = new QLabel(bar);
    label->setObjectName(name);
    label->setToolTip(tip);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    bar->addPermanentWidget(label);
    return label;
}

}  // namespace

void TfMainform::CreateContextCommands() {
    QStatusBar* bar = statusBar();
    modePanel_ = Panel(bar, "rModePanel", "The picking mode (Esc leaves it)");
    modePanel_->hide();
    hexPanel_ = Panel(bar, "rHexPanel", "Sector and hex under the pointer");
    hexPanel_->setMinimumWidth(120);
    zoomPanel_ = Panel(bar, "rZoomPanel", "Zoom");

    // View > Zoom to Fit and Actual Size, below Zoom Out.
    QMenu* view = findChild<QMenu*>("rViewMenu");
    QAction* fit = NewAction("rZoomToFit", "Zoom to &Fit", &TfMainform::rZoomToFitClick);
    QAction* actual = NewAction("rActualSize", "Actual Si&ze", &TfMainform::rActualSizeClick);
    actual->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    QAction* after = findChild<QAction*>("rRefresh");
    view->insertAction(after, fit);
    view->insertAction(after, actual);

    // Escape (the window's cancel action) also lets the picked systems go.
    if (QAction* cancel = findChild<QAction*>("rCancelPicking"))
        connect(cancel, &QAction::triggered, this, [this] {
            planVoyage_->CancelPick();
            SetMapSelection({});
        });
    connect(this, &TfMainform::InstaLegChanged, this, &TfMainform::UpdateModeIndicator);
    UpdateModeIndicator();
    UpdateZoomIndicator();
}

// ---------------------------------------------------------------- the hex under the pointer

TSector* TfMainform::SectorHexAt(QPoint p, int& column, int& row) const {
    const render::MapFrame frame = render::MapFrame::FromUniverse(*universe_);
    const int S = frame.M.S;
    if (!frame.HasExtent() || S <= 0) return nullptr;
    // The hex whose centre is nearest: columns stand S apart, odd map-wide
    // columns half a hex lower than even ones.
    const int c = FloorDiv(p.x() - frame.HalfHexX + S / 2, S);
    const int g = frame.MinHexX + c;  // map-wide column, 1 for the first sector's first
    const int shift = (g % 2 != 0) ? frame.M.H : S;
    const int r = FloorDiv(p.y() - shift + S / 2, S);
    const int h = frame.MinHexY + r;
    const int sectorX = FloorDiv(g - 1, 32) + 1, sectorY = FloorDiv(h - 1, 40) + 1;
    column = g - (sectorX - 1) * 32;
    row = h - (sectorY - 1) * 40;
    if (const TSectors* sectors = universe_->Sectors())
        for (TSector* sector : sectors->ChildrenOf<TSector>())
            if (sector->SectorCoordsX == sectorX && sector->SectorCoordsY == sectorY) return sector;
    return nullptr;
}

void TfMainform::ShowPointerHex(QPoint picturePoint) {
    int column = 0, row = 0;
    const TSector* sector = mapView_->HasPicture() && QRect(QPoint(), mapView_->PictureSize()).contains(picturePoint)
                                ? SectorHexAt(picturePoint, column, row)
                                : nullptr;
    hexPanel_->setText(sector ? FromMap(sector->Name1) + " " + QString::fromStdString(render::HexNumber(column, row))
                              : QString());
}

QString TfMainform::PointerHexText() const { return hexPanel_->text(); }

// ---------------------------------------------------------------- modes and zoom

void TfMainform::UpdateModeIndicator() {
    modePanel_->setText(ModeText());
    modePanel_->setVisible(!ModeText().isEmpty());
}

QString TfMainform::ModeText() const {
    if (planVoyage_ && planVoyage_->Picking() != TfPlanVoyage::PickTarget::None) return planVoyage_->PickingText();
    if (!instaLegActive_) return {};
    return instaLeg_ && !instaLeg_->SStarName.empty() ? QStringLiteral("InstaLeg: pick the second star (Esc cancels)")
                                                      : QStringLiteral("InstaLeg: pick the first star (Esc cancels)");
}

void TfMainform::LeavePickingMode() {
    // The half-made leg goes with the mode: nothing else changes.
    planVoyage_->CancelPick();
    CancelInstaLeg();
}

void TfMainform::VoyagePickingChanged() {
    if (planVoyage_->Picking() != TfPlanVoyage::PickTarget::None) {
        // One picking mode at a time: a leg being picked stays as it is.
        EndInstaLeg();
        // The next click goes to the map, and Escape with it.
        activateWindow();
        mapView_->setFocus();
    }
    UpdateModeIndicator();
}

QString TfMainform::ZoomText() const {
    const int size = universe_ ? universe_->HexSize : 0;
    return size > 0 ? QString("Zoom %1%").arg(std::lround(100.0 * size / kActualSize)) : QString();
}

void TfMainform::UpdateZoomIndicator() { zoomPanel_->setText(ZoomText()); }

void TfMainform::rActualSizeClick() {
    while (universe_->HexSize > kActualSize && render::ZoomOut(*universe_)) {}
    while (universe_->HexSize > 0 && universe_->HexSize < kActualSize && render::ZoomIn(*universe_)) {}
    Settings::SetZoom(universe_->HexSize);
    UpdateZoomIndicator();
    Invalidate();
}

void TfMainform::rZoomToFitClick() {
    if (universe_->HexSize <= 0) return;
    // The largest zoom at which the whole picture fits the view, else the smallest.
    const QSize room = mapView_->viewport()->size();
    int best = 10;
    for (int size : {90, 30, 10}) {
        const QSize picture = render::PictureSize(render::MapFrame::FromUniverse(*universe_, size));
        if (picture.width() <= room.width() && picture.height() <= room.height()) {
            best = size;
            break;
        }
    }
    while (universe_->HexSize > best && render::ZoomOut(*universe_)) {}
    while (universe_->HexSize < best && render::ZoomIn(*universe_)) {}
    Settings::SetZoom(universe_->HexSize);
    UpdateZoomIndicator();
    Invalidate();
}

// ---------------------------------------------------------------- the right-click menu

QMenu* TfMainform::ContextPopupAt(QPoint picturePoint) {
    lastMapPoint_ = picturePoint;
    delete contextPopup_;
    contextPopup_ = new QMenu(this);
    contextPopup_->setObjectName("rMapContextPopup");
    QMenu* m = contextPopup_;
    auto item = [&](const char* name, const QString& text, auto fn) {
        QAction* action = m->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, fn);
        return action;
    };
    if (TStar* star = StarUnderLastPoint()) {
        // Copy and Delete act on the systems picked on the map when this is
        // one of them, else on this one alone.
        auto pickThis = [this, star] {
            const std::vector<TStar*> picked = MapSelection();
            if (std::find(picked.begin(), picked.end(), star) == picked.end()) SetMapSelection({star});
        };
        item("rmEditSystem", "&Edit System...", [this, star] {
            if (EditStar(star)) FillList();
        });
        item("rmDeleteSystem", "Dele&te...", [this, pickThis] {
            pickThis();
            rDeleteClick();
        });
        item("rmCopySystem", "&Copy", [this, pickThis] {
            pickThis();
            rCopyClick();
        });
        m->addSeparator();
        item("rmInstaLegFrom", "&InstaLeg From Here...", [this, star] {
            const std::string name = star->Name1;
            rmInstaLegClick();
            // The leg starts at this system: the second pick ends it.
            if (instaLegActive_ && instaLeg_ && universe_->FindStar(name)) {
                instaLeg_->SStarName = name;
                UpdateModeIndicator();
            }
        });
        item("rmPlanVoyageFrom", "Plan &Voyage From Here...", [this, star] { PlanVoyageFrom(*star); });
        item("rmPlanVoyageTo", "Plan Voyage To &Here...", [this, star] { PlanVoyageTo(*star); });
        // While the planner is open, the system can go straight into its lists.
        if (planVoyage_->isVisible()) {
            item("rmAddWaypoint", "Add as &Waypoint", [this, star] {
                planVoyage_->AddSystem(TfPlanVoyage::PickTarget::Waypoint, *star);
            });
            item("rmAvoidSystem", "Av&oid This System", [this, star] {
                planVoyage_->AddSystem(TfPlanVoyage::PickTarget::Avoid, *star);
            });
        }
        item("rmFindInList", "&Find in List", [this, star] { SelectInTreeAndList(*star); });
    } else {
        int column = 0, row = 0;
        TSector* sector = SectorHexAt(picturePoint, column, row);
        QAction* add = item("rmNewSystemHere", "New S&ystem Here...", [this, sector, column, row] {
            Edit("Define New System", [&] {
            TStar* star = sector->Create<TStar>();
            star->Allegiance = "Independent";
            star->Name1 = "New Star";
            const int position = (column - 1) / 8 * 4 + (row - 1) / 10;
            star->SubSectorName = sector->SSName[static_cast<std::size_t>(position)];
            star->StarCoordsX = (column - 1) % 8 + 1;
            star->StarCoordsY = (row - 1) % 10 + 1;
            star->UPC = "000000";
            star->Starport = "U";
            star->Spaceport = "U";
            star->SetTechLevel("U");
            star->TravelZoneCode = tzcUnknown;
            if (!EditStar(star)) TManager::Destroy(star);
            });
            RefreshKeepingNode();
        });
        QAction* paste = item("rmPasteHere", "&Paste", [this, sector, column, row] { PasteInto(*sector, column, row); });
        add->setEnabled(sector != nullptr);
        paste->setEnabled(sector != nullptr && !QGuiApplication::clipboard()->text().isEmpty());
    }
    m->addSeparator();
    m->addActions(mapPopup_->actions());
    return m;
}

}  // namespace hexlane::ui
