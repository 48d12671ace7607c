// The main window's side of the document: the Undo and Redo actions, the
// Undo History pane, the views following what the document says changed,
// and the selection shown again after an undone or redone state.

#include "Mainform.h"

#include "DefineUniverse.h"
#include "Icons.h"
#include "MapView.h"
#include "NavigatorTree.h"
#include "SystemList.h"
#include "UndoHistory.h"

#include <QAction>
#include <QDockWidget>
#include <QScrollBar>
#include <QUndoView>

namespace hexlane::ui {

void TfMainform::CreateUndoActions() {
    document_ = new MapDocument(*prompter_, this);
    connect(document_, &MapDocument::Replaced, this, &TfMainform::AttachViews);
    connect(document_, &MapDocument::Changed, this, &TfMainform::DocumentChanged);
    connect(document_, &MapDocument::AboutToRestore, this, &TfMainform::NoteViewState);
    connect(document_, &MapDocument::Restored, this, &TfMainform::RestoreViewState);
    connect(document_, &MapDocument::ModifiedChanged, this, &TfMainform::SyncModified);
    // Any other command ends InstaLeg's picking first, the leg as it is.
    document_->SetBeforeCommand([this] { EndInstaLeg(); });

    undo_ = NewAction("rUndo", "Undo", &TfMainform::rUndoClick);
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo_->setIcon(ToolbarIcon("Undo"));
    redo_ = NewAction("rRedo", "Redo", &TfMainform::rRedoClick);
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    redo_->setIcon(ToolbarIcon("Redo"));

    QUndoStack& stack = document_->Stack();
    // "&Undo <what>" while there is a step to undo, plain "Undo" otherwise;
    // the toolbar's tooltip is the text without its mnemonic. While InstaLeg
    // picks, Undo cancels it.
    auto texts = [this] {
        const QUndoStack& s = document_->Stack();
        undo_->setEnabled(s.canUndo() || instaLegActive_);
        undo_->setText(instaLegActive_ ? QStringLiteral("&Undo InstaLeg")
                       : s.canUndo()   ? "&Undo " + s.undoText()
                                       : QStringLiteral("Undo"));
        undo_->setStatusTip(QString(undo_->text()).remove('&'));
        redo_->setEnabled(s.canRedo() && !instaLegActive_);
        redo_->setText(s.canRedo() ? "&Redo " + s.redoText() : QStringLiteral("Redo"));
        redo_->setStatusTip(QString(redo_->text()).remove('&'));
    };
    connect(&stack, &QUndoStack::indexChanged, this, texts);
    connect(&stack, &QUndoStack::undoTextChanged, this, texts);
    connect(&stack, &QUndoStack::redoTextChanged, this, texts);
    connect(this, &TfMainform::InstaLegChanged, this, texts);
    texts();

    // View > Undo History: the steps of the history; a click on one goes
    // back or forward to it.
    auto* pane = new QDockWidget("Undo History", this);
    pane->setObjectName("rUndoHistoryPane");
    auto* view = new QUndoView(&stack, pane);
    view->setEmptyLabel("<opened map>");
    pane->setWidget(view);
    addDockWidget(Qt::RightDockWidgetArea, pane);
    pane->hide();
    undoPane_ = pane;
    // Escape cancels InstaLeg's picking (and the voyage planner's, and the
    // systems picked on the map: see CreateContextCommands).
    auto* cancel = new QAction(this);
    cancel->setObjectName("rCancelPicking");
    cancel->setShortcut(QKeySequence(Qt::Key_Escape));
    cancel->setShortcutContext(Qt::WindowShortcut);
    connect(cancel, &QAction::triggered, this, &TfMainform::CancelInstaLeg);
    addAction(cancel);

    // The pane moves the history directly: not while InstaLeg's leg waits
    // for its step.
    connect(this, &TfMainform::InstaLegChanged, view, [this, view] { view->setEnabled(!instaLegActive_); });
}

UndoHistory& TfMainform::History() const { return document_->History(); }

const QString& TfMainform::FileName() const { return document_->FileName(); }

bool TfMainform::Edit(const QString& what, const std::function<void()>& command, unsigned changes,
                      const MapDocument::Touched& touched) {
    return document_->Edit(what, command, changes, touched);
}

void TfMainform::SyncModified() { setWindowModified(document_->IsModified()); }

void TfMainform::UpdateTitle() {
    setWindowTitle(QStringLiteral("Hexlane - IISS Map : ") + document_->DisplayName() + "[*]");
    SyncModified();
}

void TfMainform::DocumentChanged(unsigned changes) {
    if (changes & MapDocument::Layout) universe_->ComputeExtent();
    if (changes & (MapDocument::Layout | MapDocument::Picture)) universe_->MapDirty = true;
    // Regions carry the allegiances' names and colours too; unchanged inputs cost a digest.
    if (changes & (MapDocument::Layout | MapDocument::Picture | MapDocument::Structure)) RefreshRegions();
    if (changes & MapDocument::Structure) {
        RebuildTree();
    } else if (changes & MapDocument::Listing) {
        FillList();
    }
    // The pointer read-out may name a system that is gone or moved.
    rImageMouseMove(lastMapPoint_);
    Invalidate();
}

void TfMainform::rUndoClick() {
    if (document_->Editing()) return;
    // Undo while InstaLeg picks takes back the InstaLeg only.
    if (instaLegActive_) {
        CancelInstaLeg();
        return;
    }
    BusyScope busy(this);
    document_->Undo();
}

void TfMainform::rRedoClick() {
    if (document_->Editing() || instaLegActive_) return;
    BusyScope busy(this);
    document_->Redo();
}

void TfMainform::NoteViewState() {
    viewState_ = {};
    viewState_.noted = true;
    if (const QTreeWidgetItem* node = SelectedNode()) {
        viewState_.kind = KindOf(node);
        viewState_.object = SectorOf(node) ? static_cast<const TManager*>(SectorOf(node))
                            : AllegianceOf(node) ? static_cast<const TManager*>(AllegianceOf(node))
                                                 : static_cast<const TManager*>(RouteOf(node));
        if (viewState_.kind == NodeKind::Subsector) viewState_.object = SectorOf(node->parent());
        for (; node; node = node->parent()) viewState_.names.insert(viewState_.names.begin(), NodeName(node));
    }
    viewState_.listScroll = listView_->verticalScrollBar()->value();
    viewState_.mapScroll = mapView_->ScrollPosition();
}

void TfMainform::RestoreViewState() {
    if (!viewState_.noted) return;
    const ViewState state = viewState_;
    viewState_ = {};
    // The node of the same object (kept across the restore when the command
    // left it alone), else the node of the same names, wherever its sector
    // group is now.
    auto matches = [&](const QTreeWidgetItem* item) {
        if (KindOf(item) != state.kind) return false;
        const QTreeWidgetItem* owner = state.kind == NodeKind::Subsector ? item->parent() : item;
        const TManager* object = SectorOf(owner) ? static_cast<const TManager*>(SectorOf(owner))
                                 : AllegianceOf(owner) ? static_cast<const TManager*>(AllegianceOf(owner))
                                                       : static_cast<const TManager*>(RouteOf(owner));
        if (state.object && object == state.object)
            return state.kind != NodeKind::Subsector || NodeName(item) == state.names.back();
        std::vector<std::string> names;
        for (const QTreeWidgetItem* n = item; n; n = n->parent()) names.insert(names.begin(), NodeName(n));
        if (names == state.names) return true;
        // A sector that gained or lost its last system changed group.
        return state.names.size() > 2 && names.size() == state.names.size() && names[0] == state.names[0] &&
               std::equal(names.begin() + 2, names.end(), state.names.begin() + 2);
    };
    QTreeWidgetItem* found = nullptr;
    if (!state.names.empty()) {
        std::vector<QTreeWidgetItem*> pending;
        for (int i = 0; i < tree_->topLevelItemCount(); ++i) pending.push_back(tree_->topLevelItem(i));
        // Exact object or path first, then the group-changed match.
        while (!pending.empty() && !found) {
            QTreeWidgetItem* item = pending.back();
            pending.pop_back();
            if (matches(item)) found = item;
            for (int i = 0; i < item->childCount(); ++i) pending.push_back(item->child(i));
        }
    }
    if (found) {
        tree_->setCurrentItem(found);
        UpdateTreeStatus();
    }
    listView_->verticalScrollBar()->setValue(state.listScroll);
    RefreshIfDirty();
    mapView_->ScrollTo(state.mapScroll.x(), state.mapScroll.y());
    Invalidate();
}

}  // namespace hexlane::ui
