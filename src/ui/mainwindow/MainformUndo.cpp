// The main window's undo history: the Undo and Redo actions, one step per
// command that changed the stored map, and the return to a recorded state,
// which replaces the universe the way opening a map does.

#include "Mainform.h"

#include "DefineUniverse.h"
#include "Icons.h"
#include "MapSnapshot.h"
#include "MapView.h"
#include "NavigatorTree.h"
#include "SystemList.h"
#include "UndoHistory.h"

#include <QAction>
#include <QScrollBar>

namespace hexlane::ui {

void TfMainform::CreateUndoActions() {
    history_ = new UndoHistory(
        [this](const MapSnapshot& live, const MapSnapshot& target) { return RestoreState(live, target); }, this);
    undo_ = NewAction("rUndo", "Undo", &TfMainform::rUndoClick);
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo_->setIcon(ToolbarIcon("Undo"));
    redo_ = NewAction("rRedo", "Redo", &TfMainform::rRedoClick);
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    redo_->setIcon(ToolbarIcon("Redo"));

    QUndoStack& stack = history_->Stack();
    // "&Undo <what>" while there is a step to undo, plain "Undo" otherwise;
    // the toolbar's tooltip is the text without its mnemonic.
    auto texts = [this] {
        const QUndoStack& s = history_->Stack();
        undo_->setEnabled(s.canUndo());
        undo_->setText(s.canUndo() ? "&Undo " + s.undoText() : QStringLiteral("Undo"));
        undo_->setStatusTip(QString(undo_->text()).remove('&'));
        redo_->setEnabled(s.canRedo());
        redo_->setText(s.canRedo() ? "&Redo " + s.redoText() : QStringLiteral("Redo"));
        redo_->setStatusTip(QString(redo_->text()).remove('&'));
    };
    connect(&stack, &QUndoStack::indexChanged, this, texts);
    connect(&stack, &QUndoStack::undoTextChanged, this, texts);
    connect(&stack, &QUndoStack::redoTextChanged, this, texts);
    // The changed flag is that of the history: unchanged exactly at the
    // state last opened or saved.
    auto clean = [this] {
        if (!universe_) return;
        universe_->ManagerRequiresSaving = !history_->Stack().isClean();
        SyncModified();
    };
    connect(&stack, &QUndoStack::indexChanged, this, clean);
    connect(&stack, &QUndoStack::cleanChanged, this, clean);
    texts();
}

void TfMainform::SyncModified() { setWindowModified(universe_->ManagerRequiresSaving); }

TfMainform::Step::Step(TfMainform* window, const QString& what)
    : window_(window), outermost_(window->stepDepth_++ == 0) {
    if (outermost_) window_->stepText_ = what;
}

TfMainform::Step::~Step() {
    if (--window_->stepDepth_ == 0) window_->RecordStep(window_->stepText_);
}

void TfMainform::Step::Rename(const QString& what) {
    if (outermost_) window_->stepText_ = what;
}

void TfMainform::RecordStep(const QString& what) {
    // A command that left the stored data as it was adds nothing (the
    // changed flag stays as the command set it).
    history_->Record(*universe_, what);
    SyncModified();
}

void TfMainform::rUndoClick() {
    if (stepDepth_ > 0 || !history_->Stack().canUndo()) return;
    // Changes that no step holds yet: the leg InstaLeg is still making goes
    // with the undo; anything else becomes a step of its own first.
    if (instaLegActive_)
        history_->Resync(*universe_);
    else
        RecordStep("Edit");
    history_->Stack().undo();
}

void TfMainform::rRedoClick() {
    if (stepDepth_ > 0 || !history_->Stack().canRedo()) return;
    if (instaLegActive_)
        history_->Resync(*universe_);
    else
        RecordStep("Edit");  // a new step ends the steps to redo, as any command does
    history_->Stack().redo();
}

bool TfMainform::RestoreState(const MapSnapshot& live, const MapSnapshot& target) {
    BusyScope busy(this);
    std::unique_ptr<TUniverse> restored = RestoreSnapshot(*universe_, live, target);
    if (!restored) {
        prompter_->Error("The map could not be brought back to that state.");
        return false;
    }
    // What the window showed, to show again where it still exists.
    QStringList path;
    for (const QTreeWidgetItem* node = SelectedNode(); node; node = node->parent()) path.prepend(node->text(0));
    const int listScroll = listView_->verticalScrollBar()->value();
    const QPoint mapScroll = mapView_->ScrollPosition();

    SetUniverse(std::move(restored), /*newHistory=*/false);
    RebuildTree();
    if (!path.isEmpty() && !SelectNode(path) && path.size() > 2 && path[0] == "Sectors") {
        // A sector that gained or lost its last system changed group.
        path[1] = path[1] == "Surveyed" ? "Not Surveyed" : "Surveyed";
        SelectNode(path);
    }
    listView_->verticalScrollBar()->setValue(listScroll);
    RefreshIfDirty();
    mapView_->ScrollTo(mapScroll.x(), mapScroll.y());
    Invalidate();
    return true;
}

}  // namespace hexlane::ui
