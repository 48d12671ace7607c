#pragma once
// The star query dialog ("Query Survey Chart"): the user writes a formula over
// named properties of a star system, chooses the sectors and subsectors to
// look at, and each Query leaves visible only the systems for which the
// formula is true. The dialog stays open across queries; the map behind it is
// repainted after each one.

#include "StarQuery.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class TSector;
class TUniverse;

namespace hexlane::ui {

class Activity;
class Prompter;

class TfQuery : public QDialog {
    Q_OBJECT
public:
    // `activity` (may be null) shows the busy cursor while a query runs.
    explicit TfQuery(Prompter& prompter, Activity* activity, QWidget* parent = nullptr);
    ~TfQuery() override;

    // Called after a query changed the systems' Visible flags (MapDirty is
    // set and the extent recomputed): the window repaints the map.
    void SetMapChanged(std::function<void()> changed) { mapChanged_ = std::move(changed); }

    // What showing the dialog does: every sector of the map goes into
    // "Sectors to Query". The query text, the chosen variable and the check
    // box keep what they held.
    void Load(TUniverse& universe);
    // Load, then the modal dialog until the user closes it. True when at
    // least one query changed the map.
    bool Execute(TUniverse& universe);

    // "Query": runs the query text over the chosen sectors and subsectors.
    void rQueryClick();
    void rAddVariableClick();
    void rClearClick();

    // The engine (its compiler and library), for inspection.
    const TStarQuery& Engine() const { return engine_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MakeFormulaArea();
    QWidget* MakeScopeArea();
    void SetQueryText(const QString& text);
    void VariableChosen(int index);

    // Sector entries: clicking one in "Sectors to Query" shows its subsectors.
    void SectorChosen(QListWidgetItem* item);
    // After every sector move: the subsector lists start again for the new scope.
    void SubsectorRefresh();
    void FillSubsectorsOf(const TSector& sector);
    void SetSubsectorControlsEnabled(bool enabled);

    Prompter& prompter_;
    Activity* activity_;
    std::function<void()> mapChanged_;
    TUniverse* universe_ = nullptr;
    TStarQuery engine_;
    bool changed_ = false;
    // Set while the dialog itself changes a list, so that only the user's
    // choices act as clicks.
    bool filling_ = false;

    QPlainTextEdit* text_ = nullptr;
    QComboBox* variable_ = nullptr;
    QLabel* help_ = nullptr;
    QLabel* result_ = nullptr;
    QCheckBox* visibleOnly_ = nullptr;
    QPushButton* query_ = nullptr;

    QListWidget* sectorsToQuery_ = nullptr;
    QListWidget* availableSectors_ = nullptr;
    QListWidget* subsectorsToQuery_ = nullptr;
    QListWidget* availableSubsectors_ = nullptr;
    // The subsector lists with their move buttons and labels.
    std::vector<QWidget*> subsectorControls_;
};

}  // namespace hexlane::ui
