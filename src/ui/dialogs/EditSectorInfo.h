#pragma once
// The sector dialog ("Edit Sector Information"): one sector's name, whether
// it is left out of the map, and the names of its 16 subsectors. OK checks
// the names, writes them and moves the sector's systems along with renamed
// subsectors; Delete removes the sector with its systems after asking.

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class TSector;
class TUniverse;

namespace hexlane::ui {

class Prompter;

class TfEditSectorInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfEditSectorInfo(Prompter& prompter, QWidget* parent = nullptr);

    // Shows the sector; an empty subsector name shows as its default letter.
    void Load(TUniverse& universe, TSector& sector);
    // Checks the edits (message and focus on the first failure, dialog stays
    // open, false); otherwise writes the sector, renames the subsector of its
    // systems, marks the map changed and accepts.
    bool rOKClick();
    // Asks before deleting the sector with its systems; in every case marks
    // the map changed and closes with Cancel.
    void rDeleteClick();
    // Load, then the modal dialog: 1 for OK, 0 for Cancel.
    int EditSector(TUniverse& universe, TSector& sector);
    // True once Delete has destroyed the sector of the last Load.
    bool Deleted() const { return deleted_; }

    // The default name of the subsector in column c and row r (1-4): a letter
    // counted across the rows, "a" to "d" for the first row ... "m" to "p".
    static QString DefaultSubsectorName(int column, int row);

private:
    Prompter& prompter_;
    TUniverse* universe_ = nullptr;
    TSector* sector_ = nullptr;
    bool deleted_ = false;

    QLineEdit* name_ = nullptr;
    QLabel* x_ = nullptr;
    QLabel* y_ = nullptr;
    QCheckBox* exclude_ = nullptr;
    // In stored order: index (column - 1) * 4 + (row - 1).
    std::array<QLineEdit*, 16> subsectors_{};
};

}  // namespace hexlane::ui
