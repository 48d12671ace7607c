#pragma once
// Finding a system by name: SystemNameIndex holds the names of every system of
// a universe, folded for case-insensitive substring search, with namesakes
// told apart by sector and hex ("Vega (Quillon 1910)"); TfFindSystem is the
// small "Find System" window with a completing search field whose Enter
// hands the chosen system to the main window.

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QCompleter;
class QLineEdit;
class QStringListModel;
class TStar;
class TUniverse;

namespace hexlane::ui {

class Prompter;

class SystemNameIndex {
public:
    SystemNameIndex() = default;
    // Every star of every sector, sorted by label (case-insensitively).
    explicit SystemNameIndex(const TUniverse& universe);

    int Size() const { return static_cast<int>(entries_.size()); }
    const QString& Label(int i) const { return entries_[static_cast<std::size_t>(i)].Label; }
    TStar* Star(int i) const { return entries_[static_cast<std::size_t>(i)].Star; }

    // Labels that contain `text` ignoring case, in index order, at most `limit`.
    QStringList Matches(const QString& text, int limit) const;
    // The star whose label equals `text` ignoring case; failing that, the
    // first whose name does, then the first whose label contains it; null
    // when none.
    TStar* Find(const QString& text) const;

private:
    struct Entry {
        QString Label;
        QString Folded;      // the label, case-folded
        QString FoldedName;  // the name alone, case-folded
        TStar* Star;
    };
    std::vector<Entry> entries_;
};

class TfFindSystem final : public QDialog {
    Q_OBJECT
public:
    // Most completions the popup lists at once.
    static constexpr int kMaxCompletions = 500;

    TfFindSystem(Prompter& prompter, QWidget* parent = nullptr);

    // Indexes the universe's systems and clears the field (before each showing).
    void Load(const TUniverse& universe);
    // What Enter does with the system found.
    void SetLocate(std::function<void(TStar&)> locate) { locate_ = std::move(locate); }

    QLineEdit* Field() const { return field_; }
    // The completions listed for the field's text now.
    QStringList Completions() const;
    // Finds the field's text: locates the system and closes, or says that
    // there is none and stays open.
    void rFindClick();

private:
    void Refilter(const QString& text);

    Prompter& prompter_;
    SystemNameIndex index_;
    QLineEdit* field_;
    QCompleter* completer_;
    QStringListModel* model_;
    std::function<void(TStar&)> locate_;
};

}  // namespace hexlane::ui
