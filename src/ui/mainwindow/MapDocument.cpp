#include "MapDocument.h"

#include "DefineUniverse.h"
#include "MapSnapshot.h"
#include "Prompter.h"
#include "UndoHistory.h"

#include <QFileInfo>
#include <QUndoStack>

#include <new>

namespace hexlane::ui {

MapDocument::MapDocument(Prompter& prompter, QObject* parent)
    : QObject(parent),
      prompter_(prompter),
      history_(new UndoHistory(
          [this](const MapSnapshot& live, const MapSnapshot& target) { return Restore(live, target); }, this)) {
    QUndoStack& stack = history_->Stack();
    // Any move of the history (a step, undo, redo, a save) settles the
    // modified state on the history alone.
    auto follow = [this] {
        markedChanged_ = false;
        SyncModified();
    };
    connect(&stack, &QUndoStack::indexChanged, this, follow);
    connect(&stack, &QUndoStack::cleanChanged, this, follow);
}

MapDocument::~MapDocument() = default;

QUndoStack& MapDocument::Stack() const { return history_->Stack(); }

void MapDocument::SetFileName(const QString& path) {
    fileName_ = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

QString MapDocument::DisplayName() const { return fileName_.isEmpty() ? QStringLiteral("Untitled") : fileName_; }

bool MapDocument::IsModified() const { return markedChanged_ || !history_->Stack().isClean(); }

void MapDocument::SyncModified() {
    const bool modified = IsModified();
    if (universe_) universe_->ManagerRequiresSaving = modified;
    if (modified != lastModified_) {
        lastModified_ = modified;
        emit ModifiedChanged(modified);
    }
}

void MapDocument::OutOfMemory(const QString& what) {
    // What the history held is let go first, so that the message and what
    // follows have memory to work with.
    history_->Clear();
    prompter_.Error(what);
}

bool MapDocument::Replace(std::unique_ptr<TUniverse> universe, const QString& fileName) {
    // The old map stays until the new one's first state is taken and every
    // view shows the new one; out of memory on the way puts it back.
    std::unique_ptr<TUniverse> old = std::move(universe_);
    const QString oldName = fileName_;
    std::shared_ptr<const MapSnapshot> first;
    try {
        first = TakeSnapshot(*universe, nullptr);
        universe_ = std::move(universe);
        SetFileName(fileName);
        emit Replaced();
    } catch (const std::bad_alloc&) {
        first.reset();
        universe_.reset();
        universe.reset();
        universe_ = std::move(old);
        fileName_ = oldName;
        if (universe_) emit Replaced();
        prompter_.Error(QStringLiteral("Not enough memory to open this map."));
        return false;
    }
    history_->Reset(std::move(first));
    markedChanged_ = universe_->ManagerRequiresSaving;
    SyncModified();
    emit ModifiedChanged(IsModified());
    old.reset();
    return true;
}

void MapDocument::ClearHistory() { history_->Clear(); }

bool MapDocument::Edit(const QString& what, const std::function<void()>& command, unsigned changes,
                       Touched touched) {
    const bool outermost = depth_ == 0;
    if (outermost) {
        if (beforeCommand_) beforeCommand_();
        stepText_ = what;
        stepChanges_ = 0;
        stepTouched_ = Touched::Only({});
        // The pieces of the state before the command, for the objects it
        // will say it left alone (a history dropped for want of memory
        // starts again here).
        try {
            if (!history_->HasState() && universe_) history_->Reset(*universe_);
            if (history_->HasState()) livePieces_ = history_->LivePieces(*universe_);
        } catch (const std::bad_alloc&) {
            history_->Clear();
            livePieces_.clear();
        }
    }
    stepChanges_ |= changes;
    if (touched.everything)
        stepTouched_.everything = true;
    else
        for (const TManager* object : touched.objects) stepTouched_.objects.insert(object);

    // A command that raises the model's own changed flag (an editor's OK on
    // an unchanged record) leaves the map changed even without a step.
    const bool flagged = universe_ && universe_->ManagerRequiresSaving;
    ++depth_;
    bool ran = true;
    try {
        command();
    } catch (const std::bad_alloc&) {
        ran = false;
        prompter_.Error(QStringLiteral("Not enough memory to finish \"%1\".").arg(what));
    } catch (...) {
        --depth_;
        throw;
    }
    --depth_;
    if (universe_ && !flagged && universe_->ManagerRequiresSaving) markedChanged_ = true;
    if (!outermost) return ran;

    Record(stepText_, stepTouched_);
    livePieces_.clear();
    if (stepChanges_) emit Changed(stepChanges_);
    return ran;
}

void MapDocument::Record(const QString& what, const Touched& touched) {
    try {
        const SnapshotPieces* unchanged = nullptr;
        if (!touched.everything && !livePieces_.empty()) {
            for (const TManager* object : touched.objects) livePieces_.erase(object);
            unchanged = &livePieces_;
        }
        history_->Record(*universe_, what, unchanged);
    } catch (const std::bad_alloc&) {
        OutOfMemory(QStringLiteral("Not enough memory to keep the undo history: it was cleared. "
                                   "The change itself was made."));
        markedChanged_ = true;
    }
    SyncModified();
}

void MapDocument::Rename(const QString& what) {
    if (depth_ == 1) stepText_ = what;
}

void MapDocument::ChangedWithoutStep(unsigned changes) {
    if (changes) emit Changed(changes);
}

void MapDocument::RecordPending(const QString& what, Touched touched) {
    // The pieces are matched by the shape of the universe now, which the
    // pending change must not have altered above the touched objects.
    if (!touched.everything) {
        try {
            livePieces_ = history_->LivePieces(*universe_);
        } catch (const std::bad_alloc&) {
            livePieces_.clear();
        }
    }
    Record(what, touched);
    livePieces_.clear();
}

void MapDocument::MarkSaved() {
    history_->SetSaved();
    markedChanged_ = false;
    SyncModified();
}

void MapDocument::MarkChanged(bool changed) {
    markedChanged_ = changed;
    SyncModified();
}

void MapDocument::Undo() {
    if (depth_ > 0 || !history_->Stack().canUndo()) return;
    if (beforeCommand_) beforeCommand_();
    try {
        history_->Stack().undo();
    } catch (const std::bad_alloc&) {
        OutOfMemory(QStringLiteral("Not enough memory to undo: the undo history was cleared."));
    }
}

void MapDocument::Redo() {
    if (depth_ > 0 || !history_->Stack().canRedo()) return;
    if (beforeCommand_) beforeCommand_();
    try {
        history_->Stack().redo();
    } catch (const std::bad_alloc&) {
        OutOfMemory(QStringLiteral("Not enough memory to redo: the undo history was cleared."));
    }
}

bool MapDocument::Restore(const MapSnapshot& live, const MapSnapshot& target) {
    std::unique_ptr<TUniverse> restored = RestoreSnapshot(*universe_, live, target);
    if (!restored) {
        prompter_.Error(QStringLiteral("The map could not be brought back to that state."));
        return false;
    }
    emit AboutToRestore();
    std::unique_ptr<TUniverse> old = std::move(universe_);
    universe_ = std::move(restored);
    emit Replaced();
    // The restored universe has its extent; the views were refilled when
    // they took it, the list with the tree's selection after Restored.
    emit Changed(Picture);
    emit Restored();
    old.reset();
    return true;
}

}  // namespace hexlane::ui
