#pragma once
// The voyage planner dialog: a ship profile (kept in the settings), the fuel
// sources allowed, what to avoid, waypoints and an objective; plans the best
// itinerary over the map in memory and shows it as a table, which can be
// kept as a new route, printed or saved as CSV. The window is modeless: the
// map stays usable beside it, and the start, the destination, waypoints and
// avoided systems can be picked by clicking systems on the map.

#include "VoyagePlanner.h"

#include <QDialog>

#include <functional>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QHideEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStringListModel;
class QTableWidget;
class QVariant;
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

    // Where the next system clicked on the map goes.
    enum class PickTarget { None, From, To, Waypoint, Avoid };

    // Runs "Create Route" as one command of the window's document (one undo
    // step; the views follow it).
    void SetRunEdit(std::function<void(const std::function<void()>&)> run) { runEdit_ = std::move(run); }

    // Prepares the dialog for the map (lists of systems and allegiances),
    // with the start and destination filled in when given, without showing it.
    void Load(TUniverse& universe, const TStar* from = nullptr, const TStar* to = nullptr);
    // Shows the window beside the map (Load first unless it is already open
    // on this map, in which case only the given start or destination is set).
    void Execute(TUniverse& universe, const TStar* from = nullptr, const TStar* to = nullptr);
    // The map popup's "Plan Voyage From Here" / "To Here".
    void ExecuteFrom(TUniverse& universe, const TStar& star) { Execute(universe, &star, nullptr); }
    void ExecuteTo(TUniverse& universe, const TStar& star) { Execute(universe, nullptr, &star); }

    // Picking on the map: StartPick waits for a system (TakePick puts it in
    // the target's field or list and ends the wait; CancelPick ends it).
    void StartPick(PickTarget target);
    void TakePick(const TStar& star);
    void CancelPick();
    PickTarget Picking() const { return picking_; }
    // What is being picked, for the main window's status line (empty if nothing).
    QString PickingText() const;
    // Puts the system in the target's field or list at once.
    void AddSystem(PickTarget target, const TStar& star);

    // The document's map was replaced by another state of itself (undo,
    // redo): the window follows it; names of systems it no longer has leave
    // the lists, and picked start and destination that are gone are cleared.
    void Retarget(TUniverse& universe);
    // Another map (opened, new or closed): the window closes and forgets
    // everything of the old map.
    void ForgetMap();

    void rPlanClick();
    void rCreateRouteClick();
    void rPrintClick();
    void rSaveCsvClick();
    void rSaveProfileClick();
    void rDeleteProfileClick();

    // The last itinerary planned (Found false before or after a failure).
    // Its stops' systems are let go once the table is filled (the map may
    // change while the window is open): the table, the CSV and the route
    // work from the names and hexes taken then.
    const voyage::VoyagePlan& Plan() const { return plan_; }
    // Its stops' map-wide hex coordinates, start to end, for drawing.
    std::vector<std::pair<int, int>> ItineraryHexPath() const { return hexPath_; }
    // The itinerary as CSV text (a header line and one line per stop).
    QString ItineraryCsv() const;

signals:
    // The itinerary changed (planned, or cleared): the map redraws its line.
    void itineraryChanged();
    // Picking on the map began or ended.
    void pickingChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // A system picked on the map keeps its map-wide hex beside its name (in
    // a list item's data or a name field's property), so that of two systems
    // of one name the one clicked is meant.
    static constexpr int kHexRole = Qt::UserRole + 1;
    static constexpr const char* kHexProperty = "pickedHex";

    void BuildProfileControls(QFormLayout* form);
    void LoadProfiles();
    void ShowProfile(const QString& name);
    voyage::Ship CurrentShip() const;
    void ClearItinerary();
    void FillTable();
    void ShowPicking();  // the Pick on Map button of the pick awaited is down
    void FillNames();
    void FillAllegiances(const QStringList& checked);
    QStringList CheckedAllegiances() const;
    // The system an entry names: the one picked at its hex when it is still
    // there under that name, else the first of that name in map order.
    const TStar* Resolve(const QString& text, const QVariant& hex) const;
    const TStar* Lookup(const QLineEdit* edit, const QString& role);
    void AddSystemTo(QLineEdit* edit, QListWidget* list);
    void SetSystem(QLineEdit* edit, const TStar& star);
    QStringList ItineraryRow(const voyage::VoyageStop& stop) const;
    QString TotalsText() const;

    Prompter& prompter_;
    Activity* activity_;
    std::function<void(const std::function<void()>&)> runEdit_;
    TUniverse* universe_ = nullptr;
    voyage::VoyagePlan plan_;
    int planHull_ = 200;
    std::vector<QStringList> rows_;        // the table's rows
    std::vector<std::string> stopNames_;   // the stops' names, start to end
    std::vector<std::pair<int, int>> hexPath_;
    PickTarget picking_ = PickTarget::None;
    std::vector<std::pair<QPushButton*, PickTarget>> pickButtons_;

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
