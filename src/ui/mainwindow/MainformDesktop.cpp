// The window's own commands as a desktop program has them: File > Close and
// Revert, Help > Keyboard Shortcuts, toolbar tips that name their keys,
// files dropped on the window or on a sector of the tree, and the view
// (display layers, panes) remembered between runs.

#include "Mainform.h"

#include "AccessKeys.h"
#include "DefineUniverse.h"
#include "ImportSec.h"
#include "KeyboardShortcuts.h"
#include "MergeErrorsWindow.h"
#include "NavigatorTree.h"
#include "Settings.h"
#include "UiText.h"
#include "ViewState.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <functional>

namespace hexlane::ui {

namespace {

const QString kLayers = QStringLiteral("view/layers");
const QString kPanes = QStringLiteral("view/panes");

// The display flags in a fixed order, for the settings (the borders came
// last: settings written before them hold the first eight).
constexpr int kLayerCount = 9;
bool* LayerFlags(TUniverse& u, int i) {
    bool* flags[] = {&u.ShowNames,          &u.ShowStarports,      &u.ShowSystemContents,   &u.ShowRoutes,
                     &u.ShowSectorLines,    &u.ShowSubsectorLines, &u.ShowAllegianceColors, &u.ShowAllInfo,
                     &u.ShowBorders};
    return i >= 0 && i < kLayerCount ? flags[i] : nullptr;
}

QStringList LocalFiles(const QMimeData* data) {
    QStringList paths;
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

bool IsMapFile(const QString& path) { return QFileInfo(path).suffix().compare("map", Qt::CaseInsensitive) == 0; }

// A toolbar button's tip: its hint, and its keys when it has some.
QString ToolbarTip(const QAction* action) {
    const QString keys = action->shortcut().toString(QKeySequence::NativeText);
    return keys.isEmpty() ? action->toolTip() : action->toolTip() + " (" + keys + ")";
}

}  // namespace

void TfMainform::CreateDesktopCommands() {
    QMenu* file = findChild<QMenu*>("rFileMenu");
    QAction* close = NewAction("rClose", "&Close", &TfMainform::rCloseClick);
    close->setShortcuts(QKeySequence::Close);
    QAction* revert = NewAction("rRevert", "Rever&t", &TfMainform::rRevertClick);
    // Below Save As, before the Special menu.
    QAction* special = findChild<QMenu*>("rSpecialMenu")->menuAction();
    file->insertAction(special, close);
    file->insertAction(special, revert);
    file->insertSeparator(special);

    QMenu* help = findChild<QMenu*>("rHelpMenu");
    QAction* keys = NewAction("rKeyboardShortcuts", "&Keyboard Shortcuts", &TfMainform::rKeyboardShortcutsClick);
    help->insertAction(help->actions().value(0), keys);

    // Toolbar tips name the keys of their command.
    for (QToolBar* bar : findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
        for (QAction* a : bar->actions())
            if (QWidget* button = bar->widgetForAction(a)) button->installEventFilter(this);

    // Map files dropped on the window open; sector files dropped on a sector
    // of the tree import into it.
    setAcceptDrops(true);
    connect(tree_, &NavigatorTree::filesDropped, this, &TfMainform::ImportDroppedSectorFiles);
}

void TfMainform::GivePopupAccessKeys() {
    // The popups and the Toolbars menu get access keys, as the menus have.
    for (const char* name : {"rMapPopup", "rSectorPopup", "rSubsectorPopup", "rAllegiancePopup", "rRoutePopup",
                             "rStarPopup", "rMembersPopup", "rLegPopup", "rToolbarsMenu"})
        if (auto* menu = findChild<QMenu*>(name)) GiveMenuAccessKeys(menu);
}

bool TfMainform::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip)
        if (auto* button = qobject_cast<QToolButton*>(watched); button && button->defaultAction()) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), ToolbarTip(button->defaultAction()),
                               button);
            return true;
        }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- close and revert

void TfMainform::rCloseClick() {
    // The window stays, with no map in it: what New leaves.
    rNewClick();
}

void TfMainform::rRevertClick() {
    if (FileName().isEmpty() || !QFileInfo(FileName()).isFile()) {
        prompter_->Information("This map has no saved file to go back to.");
        return;
    }
    if (document_->IsModified() &&
        !prompter_->YesNo("Go back to the map as it was last saved?\n\nThe changes made since are lost.",
                          Look::Warning))
        return;
    const QString path = FileName();
    BusyScope busy(this);
    ReadMap(path);
}

// ---------------------------------------------------------------- shortcuts

QStringList TfMainform::ShortcutLines() const {
    QStringList lines;
    std::function<void(const QMenu*)> walk = [&](const QMenu* menu) {
        for (const QAction* a : menu->actions()) {
            if (a->menu()) {
                walk(a->menu());
                continue;
            }
            const QList<QKeySequence> keys = a->shortcuts();
            if (keys.isEmpty() || a->isSeparator()) continue;
            QStringList texts;
            for (const QKeySequence& key : keys) texts << key.toString(QKeySequence::NativeText);
            QString name = QString(a->text()).remove(QRegularExpression("&(?!&)"));
            if (name.isEmpty()) name = a->toolTip();
            lines << name + "\t" + texts.join(", ");
        }
    };
    for (const QAction* top : menuBar()->actions())
        if (top->menu()) walk(top->menu());
    // The keys and gestures of the map, the tree and the list.
    lines << "Leave picking on the map (InstaLeg, Plan Voyage)\tEsc"
          << "Delete the selected objects of the tree or the list\tDel"
          << "Pick one more system on the map\tCtrl+Click"
          << "Pick the systems within a band on the map\tShift+Drag"
          << "Zoom about the pointer\tCtrl+Wheel"
          << "Move the map\tMiddle-drag, or drag from empty map";
    return lines;
}

void TfMainform::rKeyboardShortcutsClick() {
    // Made once, at the first asking, and kept (known by its object name).
    auto* dialog = static_cast<TfKeyboardShortcuts*>(findChild<QDialog*>("TfKeyboardShortcuts"));
    if (!dialog) dialog = new TfKeyboardShortcuts(this);
    dialog->Load(ShortcutLines());
    dialog->exec();
}

// ---------------------------------------------------------------- drops

void TfMainform::dragEnterEvent(QDragEnterEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    if (std::any_of(files.begin(), files.end(), IsMapFile))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TfMainform::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    const auto map = std::find_if(files.begin(), files.end(), IsMapFile);
    if (map == files.end()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    OpenDroppedMap(*map);
}

bool TfMainform::OpenDroppedMap(const QString& path) {
    // As Open does once a file is chosen: the question about changes first.
    return OpenMapFile(path);
}

void TfMainform::ImportDroppedSectorFiles(QTreeWidgetItem* target, const QStringList& paths) {
    if (const auto map = std::find_if(paths.begin(), paths.end(), IsMapFile); map != paths.end()) {
        OpenDroppedMap(*map);
        return;
    }
    const NodeKind kind = KindOf(target);
    TSector* sector = kind == NodeKind::Sector      ? SectorOf(target)
                      : kind == NodeKind::Subsector ? SectorOf(target->parent())
                                                    : nullptr;
    if (!sector) {
        prompter_->Information("Drop a sector file onto a sector of the tree to import it there.");
        return;
    }
    if (paths.size() != 1) {
        prompter_->Information("A sector takes one sector file: drop one file at a time.");
        return;
    }
    if (sector->HasStars()) {
        prompter_->Information("Sector files import only into a sector without systems; " + FromMap(sector->Name1) +
                               " has systems.");
        return;
    }
    TSectorImportResult result;
    {
        BusyScope busy(this);
        Edit("Import Sector File", [&] {
            result = ImportSectorFile(*universe_, *sector, QFile::encodeName(paths.front()).toStdString());
        });
    }
    using TStatus = TSectorImportResult::TStatus;
    if (result.Status == TStatus::FileError) {
        prompter_->Error(QFile::decodeName(QByteArray::fromStdString(result.Message)));
        return;
    }
    if (result.Status != TStatus::Imported) {
        prompter_->Information(FromMap(result.Message));
        return;
    }
    RefreshKeepingNode();
    Status(QString("%1 systems imported").arg(result.StarsImported));
    messages_->Clear();
    messages_->AddLines(result.Lines);
    messages_->ShowIfAny();
}

// ---------------------------------------------------------------- toolbars

void TfMainform::FitToolbarsInRows() {
    // Each toolbar whole, without the chevron of hidden buttons: a toolbar
    // that would pass the window's right edge starts a new row.
    const int room = width();
    int used = 0;
    for (QToolBar* bar : findChildren<QToolBar*>(Qt::FindDirectChildrenOnly)) {
        if (toolBarArea(bar) != Qt::TopToolBarArea) continue;
        const int needs = bar->sizeHint().width() + 4;
        if (used > 0 && used + needs > room) {
            insertToolBarBreak(bar);
            used = 0;
        }
        used += needs;
    }
}

// ---------------------------------------------------------------- remembered view

void TfMainform::SaveViewSettings() {
    QStringList layers;
    for (int i = 0; i < kLayerCount; ++i) layers << (*LayerFlags(*universe_, i) ? "1" : "0");
    Settings::Store().setValue(kLayers, layers.join(""));
    const QString panes = QString("%1%2%3")
                              .arg(universeInspector_->isChecked() ? 1 : 0)
                              .arg(showList_->isChecked() ? 1 : 0)
                              .arg(showMap_->isChecked() ? 1 : 0);
    Settings::Store().setValue(kPanes, panes);
}

void TfMainform::RestoreViewSettings() {
    const QString panes = Settings::Store().value(kPanes).toString();
    if (panes.size() == 3) {
        universeInspector_->setChecked(panes[0] == '1');
        navigatorPane_->setVisible(panes[0] == '1');
        // At least one of the list and the map stays shown.
        showList_->setChecked(panes[1] == '1' || panes[2] != '1');
        showMap_->setChecked(panes[2] == '1');
        LayoutContentPane();
    }
    if (universe_) {
        ApplyRememberedLayers(*universe_);
        SyncDisplayChecks();
    }
}

void TfMainform::ApplyRememberedLayers(TUniverse& universe) {
    const QString layers = Settings::Store().value(kLayers).toString();
    if (layers.size() < 8 || layers.size() > kLayerCount) return;
    for (int i = 0; i < layers.size(); ++i) *LayerFlags(universe, i) = layers[i] == '1';
    universe.MapDirty = true;
}

}  // namespace hexlane::ui
