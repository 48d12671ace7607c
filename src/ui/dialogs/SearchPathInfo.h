#pragma once
// The path search dialog: finds a chain of jumps between two systems for a
// ship of a chosen jump range (shortest distance or shortest time), lists the
// jumps, and turns the last path found into a new route of the map.

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TStar;
class TUniverse;

namespace hexlane::ui {

class Activity;
class Prompter;

class TfSearchPathInfo : public QDialog {
    Q_OBJECT
public:
    // The longest jump the dialog offers. The search joins every two systems
    // within range, so a range far beyond any drive would build a graph of
    // billions of links on a large map.
    static constexpr int kMaxJumpRange = 20;

    // `activity` (may be null) shows the busy cursor during a search.
    explicit TfSearchPathInfo(Prompter& prompter, Activity* activity, QWidget* parent = nullptr);

    // Called after a route was created from a path: the window repaints the
    // map and rebuilds its navigator tree.
    // Runs the creation of a route as the window's command (the map's undo
    // step, the views following); without one it just runs.
    void SetRunEdit(std::function<void(const std::function<void()>&)> run) { runEdit_ = std::move(run); }

    // Prepares the dialog for the two stars (title, straight-line distance,
    // empty list of legs) without showing it.
    void Load(TUniverse& universe, TStar& origin, TStar& destination);
    // Load, then the modal dialog until the user closes it.
    void ShowPathSearch(TUniverse& universe, TStar& origin, TStar& destination);

    // "Find Path": the early refusals, or a search whose jumps fill the list.
    void rFindPathClick();
    // "Create Route": a new route of the map made of the last path's jumps.
    void rCreateRouteClick();

    // The last path found: two names per jump, as the search returned them.
    const std::vector<std::string>& LastResult() const { return lastResult_; }

private:
    Prompter& prompter_;
    Activity* activity_;
    std::function<void(const std::function<void()>&)> runEdit_;

    TUniverse* universe_ = nullptr;
    TStar* origin_ = nullptr;
    TStar* destination_ = nullptr;
    std::vector<std::string> lastResult_;

    QLabel* straightLine_;
    QSpinBox* jumpRange_;
    QCheckBox* visibleOnly_;
    QRadioButton* shortestDistance_;
    QRadioButton* shortestTime_;
    QListWidget* legs_;
    QLabel* jumpCount_;
    QPushButton* findPath_;
    QPushButton* createRoute_;
};

}  // namespace hexlane::ui
