#pragma once
// TfImportSec: the "Import Sector File" dialog. Lists the sectors that hold no
// systems, reads a chosen sector file into the selected one, and shows for
// reference what each base code letter and allegiance import code stands for.
// Problems with single lines go to the message window.

#include <QDialog>
#include <QString>

#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;
class TUniverse;

namespace hexlane::ui {

class Activity;
class Prompter;
class TfMergeErrors;

// The file chooser's filter: the classic and T5 sector files, and all files
// (the format is found from the contents, never the extension).
QString SectorImportFilter();

class TfImportSec : public QDialog {
    Q_OBJECT

public:
    // `messages` is the editor's message window; `activity` (may be null)
    // shows the busy cursor and the status while a file is read.
    TfImportSec(Prompter& prompter, TfMergeErrors& messages, Activity* activity, QWidget* parent = nullptr);

    // Called after every import that changed the universe, before the message
    // window appears: the main window redraws the map and rebuilds its tree.
    // Runs each import as the window's command (the map's undo step, the
    // views following); without one it just runs.
    void SetRunEdit(std::function<void(const std::function<void()>&)> run) { runEdit_ = std::move(run); }

    // Fills the lists from the universe (what opening the dialog does).
    void Load(TUniverse& universe);
    // Load, then the modal dialog until "Close".
    void Execute(TUniverse& universe);

    // The "Import" button: asks for the sector file (proposing the selected
    // sector's name + ".sec" in the folder last used) and imports it into the
    // selected sector. True when systems were read into the universe.
    bool rImportClick();

    // The folder the file chooser starts in (the current folder at first).
    void SetFolder(const QString& folder) { folder_ = folder; }
    const QString& Folder() const { return folder_; }

private:
    void FillSectors();
    void FillAllegianceCodes();
    void BaseCodeChanged();
    void AllegianceCodeChanged();
    std::string SelectedSector() const;

    Prompter& prompter_;
    TfMergeErrors& messages_;
    Activity* activity_;
    std::function<void(const std::function<void()>&)> runEdit_;
    TUniverse* universe_ = nullptr;
    QString folder_;

    QComboBox* sectors_;
    QPushButton* import_;
    QComboBox* baseCodes_;
    QLabel* baseDescription_;
    QComboBox* allegianceCodes_;
    QLabel* allegianceName_;
};

}  // namespace hexlane::ui
