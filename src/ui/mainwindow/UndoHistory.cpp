#include "UndoHistory.h"

#include "MapSnapshot.h"

#include <QUndoCommand>

#include <algorithm>
#include <vector>

namespace hexlane::ui {

// One step: the states before and after a command that already happened.
class SnapshotStep final : public QUndoCommand {
public:
    SnapshotStep(UndoHistory& history, const QString& text, UndoHistory::Snapshot before,
                 UndoHistory::Snapshot after)
        : QUndoCommand(text), history_(history), before_(std::move(before)), after_(std::move(after)) {}

    void undo() override { history_.Apply(before_); }
    void redo() override {
        // The first redo is the push of a command that is already done.
        if (pushed_) history_.Apply(after_);
        pushed_ = true;
    }

    const UndoHistory::Snapshot& Before() const { return before_; }
    const UndoHistory::Snapshot& After() const { return after_; }

private:
    UndoHistory& history_;
    UndoHistory::Snapshot before_, after_;
    bool pushed_ = false;
};

UndoHistory::UndoHistory(RestoreFn restore, QObject* parent)
    : QObject(parent), restore_(std::move(restore)), stack_(this) {
    stack_.setUndoLimit(kMaxSteps);
}

void UndoHistory::Reset(const TUniverse& universe) { Reset(TakeSnapshot(universe, nullptr)); }

void UndoHistory::Reset(std::shared_ptr<const MapSnapshot> first) {
    const std::size_t estimate = SnapshotMemory({first.get()});
    Clear();
    live_ = std::move(first);
    estimate_ = estimate;
}

void UndoHistory::Clear() {
    stack_.clear();
    live_.reset();
    estimate_ = 0;
}

bool UndoHistory::Record(const TUniverse& universe, const QString& what) { return Record(universe, what, nullptr); }

SnapshotPieces UndoHistory::LivePieces(const TUniverse& universe) const {
    return live_ ? PiecesOf(universe, *live_) : SnapshotPieces{};
}

bool UndoHistory::Record(const TUniverse& universe, const QString& what, const SnapshotPieces* unchanged) {
    if (!live_) {
        Reset(universe);
        return false;
    }
    Snapshot after = TakeSnapshot(universe, live_.get(), unchanged);
    if (SameState(*after, *live_)) return false;
    Snapshot before = live_;
    live_ = after;
    estimate_ += after->AddedBytes;
    stack_.push(new SnapshotStep(*this, what, std::move(before), std::move(after)));
    if (estimate_ > maxBytes_) DropOldestWhileOverBudget();
    return true;
}

void UndoHistory::Resync(const TUniverse& universe) {
    if (!live_) return;
    Snapshot now = TakeSnapshot(universe, live_.get());
    if (!SameState(*now, *live_)) live_ = std::move(now);
}

void UndoHistory::Apply(const Snapshot& target) {
    if (replaying_ || !live_ || target == live_) return;
    if (restore_(*live_, *target)) live_ = target;
}

std::size_t UndoHistory::MemoryBytes() const {
    std::vector<const MapSnapshot*> all;
    if (live_) all.push_back(live_.get());
    for (int i = 0; i < stack_.count(); ++i) {
        const auto* step = static_cast<const SnapshotStep*>(stack_.command(i));
        all.push_back(step->Before().get());
        all.push_back(step->After().get());
    }
    return SnapshotMemory(all);
}

void UndoHistory::DropOldestWhileOverBudget() {
    // The stack drops its oldest steps only by its count limit: beyond the
    // memory budget it is rebuilt from the steps that stay, without
    // restoring anything, and its position and clean state are put back.
    struct Kept {
        QString text;
        Snapshot before, after;
    };
    std::vector<Kept> steps;
    for (int i = 0; i < stack_.count(); ++i) {
        const auto* step = static_cast<const SnapshotStep*>(stack_.command(i));
        steps.push_back({step->text(), step->Before(), step->After()});
    }
    int dropped = 0;
    std::size_t memory = MemoryBytes();
    while (memory > maxBytes_ && steps.size() > static_cast<std::size_t>(dropped) + 1) {
        ++dropped;
        std::vector<const MapSnapshot*> left;
        for (std::size_t i = dropped; i < steps.size(); ++i) {
            left.push_back(steps[i].before.get());
            left.push_back(steps[i].after.get());
        }
        memory = SnapshotMemory(left);
    }
    estimate_ = memory;
    if (dropped == 0) return;
    const int index = stack_.index() - dropped;
    const int clean = stack_.cleanIndex() >= dropped ? stack_.cleanIndex() - dropped : -1;
    replaying_ = true;
    stack_.clear();
    for (std::size_t i = dropped; i < steps.size(); ++i)
        stack_.push(new SnapshotStep(*this, steps[i].text, steps[i].before, steps[i].after));
    if (clean >= 0) {
        stack_.setIndex(clean);
        stack_.setClean();
    } else {
        stack_.resetClean();
    }
    stack_.setIndex(std::max(index, 0));
    replaying_ = false;
}

}  // namespace hexlane::ui
