#pragma once
// The leg dialog: a route leg's name, its start and end systems (chosen from
// two lists of every system of the map, each with a search edit) and,
// optionally, its own line colour, type and thickness. Changes the leg only on OK.

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;
class QListView;
class QModelIndex;
class QStringListModel;
class TRoute;
class TRouteLeg;
class TUniverse;

namespace hexlane::ui {

class Prompter;
struct TLineControls;

class TfConfigureRoutes : public QDialog {
    Q_OBJECT
public:
    explicit TfConfigureRoutes(Prompter& prompter, QWidget* parent = nullptr);
    ~TfConfigureRoutes() override;

    // Fills the dialog from the leg; tells the user when its start or end
    // system no longer exists.
    void Load(TUniverse& universe, TRoute& route, TRouteLeg& leg);
    // Checks the entries in order; on a fault shows why (when there is
    // something to say), puts the focus on the control and returns false.
    // Otherwise writes the leg, marks the map changed and accepts.
    bool rOKClick();
    // Load, then the modal dialog: 1 for OK, 0 for Cancel.
    int EditLeg(TUniverse& universe, TRoute& route, TRouteLeg& leg);

private:
    struct TSide {
        QLineEdit* Search = nullptr;
        QListView* List = nullptr;
    };
    // The group box of one end: search edit above the list.
    QWidget* MakeSide(TSide& side, const QString& title, const char* boxName, const char* searchName,
                      const char* listName);
    // Selects the first entry that begins with the text, ignoring case.
    void SearchTyped(TSide& side, const QString& text);
    void Select(TSide& side, int row);
    int SelectedRow(const TSide& side) const;
    int RowOfName(const std::string& name) const;
    void OverrideToggled(bool checked);

    Prompter& prompter_;
    TUniverse* universe_ = nullptr;
    TRoute* route_ = nullptr;
    TRouteLeg* leg_ = nullptr;

    // Both lists show the same sorted names; names_ holds them as stored in the map.
    QStringListModel* model_;
    std::vector<std::string> names_;

    QLineEdit* name_;
    TSide start_;
    TSide end_;
    QCheckBox* override_;
    std::unique_ptr<TLineControls> line_;
};

}  // namespace hexlane::ui
