#pragma once
// MapDocument: the one open map. It owns the universe, its file name, the
// undo history and the modified state (modified: not at the state last
// opened or saved). Every command that changes the map runs through Edit,
// which records the command's undo step after the command returns and says
// what changed; the views listen to Changed and Replaced instead of being
// refreshed by each command.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class QUndoStack;
class TManager;
class TUniverse;

namespace hexlane {
struct MapSnapshot;
struct SnapshotItem;
}

namespace hexlane::ui {

class Prompter;
class UndoHistory;

class MapDocument final : public QObject {
    Q_OBJECT

public:
    // What a change concerns, for the views that show it.
    enum Change : unsigned {
        Layout = 1,       // stars added, removed or moved: the extent and the picture
        Structure = 2,    // sectors, allegiances or routes added, removed or renamed (the tree)
        Listing = 4,      // the members of sectors, allegiances or routes (the list)
        Picture = 8,      // only what the picture shows (codes, colours, legs, visibility)
        Everything = Layout | Structure | Listing | Picture,
    };

    // What a command changed, so that only that is snapshotted: the objects
    // just below the universe's containers (a sector, a route, an
    // allegiance) whose own record or children it changed. Objects the
    // command added are found without being named; a command that creates
    // and destroys such objects, or changes many, touches everything.
    struct Touched {
        bool everything = true;
        std::unordered_set<const TManager*> objects;
        static Touched All() { return {}; }
        static Touched Only(std::initializer_list<const TManager*> list) {
            Touched t;
            t.everything = false;
            for (const TManager* o : list)
                if (o) t.objects.insert(o);
            return t;
        }
        void Add(const TManager* object) {
            if (object) objects.insert(object);
        }
    };

    MapDocument(Prompter& prompter, QObject* parent);
    ~MapDocument() override;

    TUniverse& Universe() const { return *universe_; }
    bool HasUniverse() const { return universe_ != nullptr; }
    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& path);
    // The name the title shows: the file's, or "Untitled".
    QString DisplayName() const;

    UndoHistory& History() const { return *history_; }
    QUndoStack& Stack() const;
    bool IsModified() const;

    // Makes `universe` the open map (Open, New) with a new history whose
    // first state it is. Every allocation of that happens inside one guard:
    // out of memory keeps the old map and says "Not enough memory to open
    // this map."; false then.
    bool Replace(std::unique_ptr<TUniverse> universe, const QString& fileName);
    // The window closes: the history goes.
    void ClearHistory();

    // Runs `command` as one undo step named `what`: when it returns, what it
    // changed becomes the step (none when the stored map is the same) and
    // Changed(changes) is emitted. A command run inside another adds to the
    // outer one's step. Out of memory while recording drops the history
    // with a message; the change itself stays. False when the command threw.
    bool Edit(const QString& what, const std::function<void()>& command, unsigned changes = Everything,
              Touched touched = Touched::All());
    // The running command touched `object` too (found out while it ran).
    void Touch(const TManager* object) { stepTouched_.Add(object); }
    // Names the step of the running command, when it is the outermost one.
    void Rename(const QString& what);
    bool Editing() const { return depth_ > 0; }

    // A change that goes into the next step recorded (the leg of an InstaLeg
    // while its stars are picked): the views hear of it now.
    void ChangedWithoutStep(unsigned changes);
    // Records the pending change as a step of its own, named `what`.
    void RecordPending(const QString& what, Touched touched = Touched::All());

    // The map was saved: this is the unmodified state.
    void MarkSaved();
    // The map counts as changed (or not) although no step holds a change.
    void MarkChanged(bool changed = true);

    void Undo();
    void Redo();

    // Called before any command runs (a pending pick ends there).
    void SetBeforeCommand(std::function<void()> hook) { beforeCommand_ = std::move(hook); }

signals:
    // The universe is a different object now (opened, new, or an undone or
    // redone state): every view lets go of the old one and shows this one.
    void Replaced();
    // A command, undo or redo changed the map (see Change).
    void Changed(unsigned changes);
    void ModifiedChanged(bool modified);
    // Around an undone or redone state replacing the universe: the views
    // note what they showed before Replaced and show it again after.
    void AboutToRestore();
    void Restored();

private:
    void Record(const QString& what, const Touched& touched);
    bool Restore(const MapSnapshot& live, const MapSnapshot& target);
    void SyncModified();
    void OutOfMemory(const QString& what);

    Prompter& prompter_;
    std::unique_ptr<TUniverse> universe_;
    QString fileName_;
    UndoHistory* history_;
    std::function<void()> beforeCommand_;
    int depth_ = 0;
    QString stepText_;
    unsigned stepChanges_ = 0;
    Touched stepTouched_;
    std::unordered_map<const TManager*, std::shared_ptr<const hexlane::SnapshotItem>> livePieces_;
    bool markedChanged_ = false;
    bool lastModified_ = false;
};

}  // namespace hexlane::ui
