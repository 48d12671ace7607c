#pragma once
// UndoHistory: the undo and redo steps of the main window. Each step holds
// the snapshots of the stored map before and after one command (consecutive
// steps share their snapshots and every unchanged piece of them); undoing or
// redoing hands the snapshot to reach to the window, which rebuilds the
// universe from it. The QUndoStack gives the texts, the actions' states and
// the clean state that follows the last open or save.

#include <QObject>
#include <QUndoStack>

#include <cstddef>
#include <functional>
#include <memory>
#include <unordered_map>

class TManager;
class TUniverse;
namespace hexlane {
struct MapSnapshot;
struct SnapshotItem;
using SnapshotPieces = std::unordered_map<const TManager*, std::shared_ptr<const SnapshotItem>>;
}

namespace hexlane::ui {

class UndoHistory final : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxSteps = 100;
    static constexpr std::size_t kMaxBytes = std::size_t(256) << 20;

    // Rebuilds the live universe, whose snapshot is `live`, as `target`;
    // false when it could not (the state stays as it was).
    using RestoreFn = std::function<bool(const MapSnapshot& live, const MapSnapshot& target)>;

    UndoHistory(RestoreFn restore, QObject* parent);

    QUndoStack& Stack() { return stack_; }

    // Forgets every step; `universe` as it is now is the clean state.
    void Reset(const TUniverse& universe);
    // Forgets every step; `first`, a snapshot of the universe now, is the
    // clean state.
    void Reset(std::shared_ptr<const MapSnapshot> first);
    // Forgets every step and the state (the window closes).
    void Clear();
    // Adds one step named `what` from the last recorded state to the state
    // of `universe`, unless the stored data is the same. True when added.
    bool Record(const TUniverse& universe, const QString& what);
    // As Record, writing again only the objects that are not in `unchanged`
    // (the pieces of the last recorded state for objects a command left
    // alone; see LivePieces).
    bool Record(const TUniverse& universe, const QString& what, const SnapshotPieces* unchanged);
    // The pieces of the last recorded state, which must be the state of
    // `universe` now.
    SnapshotPieces LivePieces(const TUniverse& universe) const;
    bool HasState() const { return live_ != nullptr; }
    // Takes the snapshot of `universe` as the state that undo and redo start
    // from, dropping changes that were never recorded.
    void Resync(const TUniverse& universe);
    // The state now is the saved one.
    void SetSaved() { stack_.setClean(); }

    // Memory held by all steps' snapshots, shared pieces counted once.
    std::size_t MemoryBytes() const;
    // The memory beyond which the oldest steps go (kMaxBytes unless set).
    void SetMaxBytes(std::size_t bytes) { maxBytes_ = bytes; }

private:
    friend class SnapshotStep;
    using Snapshot = std::shared_ptr<const MapSnapshot>;
    void Apply(const Snapshot& target);
    void DropOldestWhileOverBudget();

    RestoreFn restore_;
    QUndoStack stack_;
    Snapshot live_;  // the state of the live universe as last taken or restored
    std::size_t estimate_ = 0;  // memory estimate: all of the first state plus each step's new pieces
    bool replaying_ = false;    // the stack is being rebuilt: steps move without restoring
    std::size_t maxBytes_ = kMaxBytes;
};

}  // namespace hexlane::ui
