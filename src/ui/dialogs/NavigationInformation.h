#pragma once
// The navigation dialog: picks an origin and a destination system from lists
// of every system of the map, shows their straight-line distance, lists the
// systems within a radius of the origin, can restrict the map to those
// systems, opens the system editor on either system and the path search
// dialog for the two.

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QSpinBox;
class QStringListModel;
class TStar;
class TUniverse;

namespace hexlane::ui {

class Activity;
class Prompter;
class TfSearchPathInfo;

class TfNavigationInformation : public QDialog {
    Q_OBJECT
public:
    // Opens the system editor on a star of the map; gives the record that
    // holds the star after OK (the editor may replace it), null on Cancel.
    using EditStarFn = std::function<TStar*(TStar&)>;

    // `activity` (may be null) shows the busy cursor while the lists fill.
    TfNavigationInformation(Prompter& prompter, Activity* activity, TfSearchPathInfo& pathSearch,
                            QWidget* parent = nullptr);
    ~TfNavigationInformation() override;

    void SetEditStar(EditStarFn edit) { editStar_ = std::move(edit); }
    // Called after "Plot These Systems Only" changed the map: the window
    // repaints it.
    void SetMapChanged(std::function<void()> changed) { mapChanged_ = std::move(changed); }

    // What showing the dialog does: empties the result, fills both lists with
    // every system's name and selects the systems the name fields hold. With
    // an origin given, its name goes into the origin field first.
    void Load(TUniverse& universe, const TStar* origin = nullptr);
    // Load, then the modal dialog until the user closes it.
    void Execute(TUniverse& universe, const TStar* origin = nullptr);
    // Another map replaces the current one: the name fields, lists, result and
    // read-outs name systems of the old map, so they start empty again.
    void ForgetMap();

    void rEditOriginClick();
    void rEditDestinationClick();
    // "Find Shortest Path Between Origin and Destination Systems".
    void rFindPathClick();
    void rQueryNowClick();
    // "Plot These Systems Only".
    void rPlotClick();

    // Names of the systems the last query found, in map order.
    const std::vector<std::string>& Results() const { return results_; }

private:
    struct TSide {
        QLineEdit* Name = nullptr;
        QListView* List = nullptr;
    };
    QWidget* MakeSide(TSide& side, const QString& title, const char* boxName, const char* nameName,
                      const char* listName, const char* editName, const QString& editCaption);
    // Fills both lists (same sorted names) and selects the named entries.
    void FillLists();
    void NameTyped(TSide& side, const QString& text);
    void EntryClicked(TSide& side, const QModelIndex& index);
    void EditSide(TSide& side);
    void ResultClicked(int row);
    void UpdateReadout();

    void Select(TSide& side, int row);
    int SelectedRow(const TSide& side) const;
    // The map name of the selected entry; empty when nothing is selected.
    bool SelectedName(const TSide& side, std::string& name) const;
    int RowOfText(const QString& text) const;

    Prompter& prompter_;
    Activity* activity_;
    TfSearchPathInfo& pathSearch_;
    EditStarFn editStar_;
    std::function<void()> mapChanged_;

    TUniverse* universe_ = nullptr;
    // Both lists show the same sorted names; names_ holds them as stored in the map.
    QStringListModel* model_;
    std::vector<std::string> names_;
    QStringListModel* resultModel_;
    std::vector<std::string> results_;
    // Set while the dialog itself moves a selection, so that only the user's
    // choices act as clicks.
    bool selecting_ = false;

    TSide origin_;
    TSide destination_;
    QLabel* distance_;
    QLabel* count_;
    QSpinBox* radius_;
    QListView* result_;
    QLabel* distanceFromOrigin_;
    QLabel* distanceFromDestination_;
};

}  // namespace hexlane::ui
