#pragma once
// The voyage planner dialog: a ship profile (kept in the settings), the fuel
// sources allowed, what to avoid, waypoints and an objective; plans the best
// itinerary over the map in memory and shows it as a table, which can be
// kept as a new route, printed or saved as CSV.

#include "VoyagePlanner.h"

#include <QDialog>

#include <functional>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStringListModel;
class QTableWidget;
class TStar;
class TUniverse;

namespace hexlane::ui {

class Activity;
class Prompter;

class TfPlanVoyage : public QDialog {
    Q_OBJECT
public:
    // `activity` (may be null) shows the busy cursor during a search.
    explicit TfPlanVoyage(Prompter& prompter, Activity* activity, QWidget* parent = nullptr);

    // Runs "Create Route" as one command of the window's document (one undo
    // step; the views follow it).
    void SetRunEdit(std::function<void(const std::function<void()>&)> run) { runEdit_ = std::move(run); }

    // Prepares the dialog for the map (lists of systems and allegiances),
    // with the start and destination filled in when given, without showing it.
    void Load(TUniverse& universe, const TStar* from = nullptr, const TStar* to = nullptr);
    // Load, then the modal dialog until the user closes it.
    void Execute(TUniverse& universe, const TStar* from = nullptr, const TStar* to = nullptr);
    // The map popup's "Plan Voyage From Here" / "To Here".
    void ExecuteFrom(TUniverse& universe, const TStar& star) { Execute(universe, &star, nullptr); }
    void ExecuteTo(TUniverse& universe, const TStar& star) { Execute(universe, nullptr, &star); }

    void rPlanClick();
    void rCreateRouteClick();
    void rPrintClick();
    void rSaveCsvClick();
    void rSaveProfileClick();
    void rDeleteProfileClick();

    // The last itinerary planned (Found false before or after a failure).
    const voyage::VoyagePlan& Plan() const { return plan_; }
    // Its stops' map-wide hex coordinates, start to end, for drawing.
    std::vector<std::pair<int, int>> ItineraryHexPath() const { return plan_.HexPath(); }
    // The itinerary as CSV text (a header line and one line per stop).
    QString ItineraryCsv() const;

signals:
    // The itinerary changed (planned, or cleared): the map redraws its line.
    void itineraryChanged();

private:
    void BuildProfileControls(QFormLayout* form);
    void LoadProfiles();
    void ShowProfile(const QString& name);
    voyage::Ship CurrentShip() const;
    void ClearItinerary();
    void FillTable();
    const TStar* Lookup(const QLineEdit* edit, const QString& role);
    void AddSystemTo(QLineEdit* edit, QListWidget* list);
    QStringList ItineraryRow(const voyage::VoyageStop& stop) const;
    QString TotalsText() const;

    Prompter& prompter_;
    Activity* activity_;
    std::function<void(const std::function<void()>&)> runEdit_;
    TUniverse* universe_ = nullptr;
    voyage::VoyagePlan plan_;
    int planHull_ = 200;

    QStringListModel* systemNames_;
    QComboBox* profile_;
    QSpinBox* hull_;
    QSpinBox* jump_;
    QSpinBox* tank_;
    QSpinBox* fuelNow_;
    QLineEdit* from_;
    QLineEdit* to_;
    QCheckBox* refined_;
    QCheckBox* unrefined_;
    QCheckBox* gas_;
    QCheckBox* water_;
    QCheckBox* avoidAmber_;
    QCheckBox* avoidRed_;
    QListWidget* avoidAllegiances_;
    QLineEdit* avoidName_;
    QListWidget* avoidSystems_;
    QLineEdit* waypointName_;
    QListWidget* waypoints_;
    QComboBox* objective_;
    QTableWidget* itinerary_;
    QLabel* totals_;
    QPushButton* createRoute_;
    QPushButton* print_;
    QPushButton* saveCsv_;
};

}  // namespace hexlane::ui
