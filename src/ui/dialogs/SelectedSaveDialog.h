#pragma once
// TfSelectedSave: the "Selected Save" options dialog and the command behind
// it, which writes the shown sectors with the systems that pass the star
// filters, the allegiances and the routes that pass the route filters to a
// new map file. The universe in memory is not changed. The boxes keep their
// state from one use to the next.

#include "SelectedSave.h"

#include <QDialog>
#include <QString>

#include <optional>

class QCheckBox;
class TUniverse;

namespace hexlane::ui {

class Activity;
class Prompter;

class TfSelectedSave : public QDialog {
    Q_OBJECT

public:
    TfSelectedSave(Prompter& prompter, Activity* activity, QWidget* parent = nullptr);

    // The options as the boxes stand.
    TSelectedSaveOptions Options() const;

    // The modal dialog; the options on OK, nothing otherwise.
    std::optional<TSelectedSaveOptions> Execute();

    // The whole command: the options dialog, then the map-file chooser
    // (starting in `folder`), then the file is written. True when a file was
    // written; a write failure is shown as an error.
    bool SaveSelected(TUniverse& universe, const QString& folder);

private:
    QCheckBox* Box(const char* objectName, const QString& caption);
    // Keeps the dependent boxes in line with their group boxes.
    void UpdateDependents();

    Prompter& prompter_;
    Activity* activity_;

    QCheckBox* sectors_;
    QCheckBox* sectorVisible_;
    QCheckBox* stars_;
    QCheckBox* starVisible_;
    QCheckBox* starVisited_;
    QCheckBox* starMapped_;
    QCheckBox* starUserSurveyed_;
    QCheckBox* allegiances_;
    QCheckBox* routes_;
    QCheckBox* routeVisible_;
    QCheckBox* routeUserDefined_;
};

}  // namespace hexlane::ui
