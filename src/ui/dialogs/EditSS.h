#pragma once
// The sector grid ("Edit Sectors/Subsectors"): one cell per sector position,
// 16 columns by 9 rows, coloured by what the position holds. Clicking a cell
// opens the sector dialog on the sector there, or on a new sector when the
// position is empty (kept only when that dialog ends with OK).

#include <QColor>
#include <QDialog>

#include <array>
#include <functional>

class QMenu;
class QPushButton;
class TSector;
class TUniverse;

namespace hexlane::ui {

class Prompter;
class TfEditSectorInfo;

class TfEditSS : public QDialog {
    Q_OBJECT
public:
    static constexpr int kColumns = 16;
    static constexpr int kRows = 9;

    // What a cell's position holds; each has its colour.
    enum class CellState { Empty, NoSystems, Excluded, Included };

    explicit TfEditSS(Prompter& prompter, QWidget* parent = nullptr);

    // Fills the grid from the universe's sectors.
    void Load(TUniverse& universe);
    // Load, then the modal grid until "Close". The caller refreshes its views
    // afterwards: sectors may have been added, changed or deleted.
    void Execute(TUniverse& universe);

    // Resets every cell, then gives each sector inside the grid its cell.
    void FillGrid();
    // A click on the cell of sector position (x, y): the sector dialog on the
    // sector there, or on a new sector that stays only on OK. Refills the grid.
    void rCellClick(int x, int y);

    // A cell holding a sector offers "Generate Systems..." on its popup when
    // this is set; the grid is refilled after it ran.
    void SetGenerateSystems(std::function<void(TSector&)> generate) { generateSystems_ = std::move(generate); }
    // The popup of the cell at (x, y), ready to show; null when it offers nothing.
    QMenu* CellPopup(int x, int y);

    // The sector dialog that the cells open.
    TfEditSectorInfo& SectorDialog() const { return *sectorDialog_; }

    // The cell of sector position x 1-16, y 1-9 (null outside).
    QPushButton* Cell(int x, int y) const;
    // The sector the cell refers to (null: none, or outside the grid).
    TSector* SectorAt(int x, int y) const;
    CellState StateAt(int x, int y) const;
    // Empty: the dialog's face colour; no systems: white; excluded: red;
    // included: blue.
    QColor StateColour(CellState state) const;

private:
    struct TCell {
        QPushButton* Button = nullptr;
        TSector* Sector = nullptr;
        CellState State = CellState::Empty;
    };
    static int IndexOf(int x, int y) { return (y - 1) * kColumns + (x - 1); }
    void Paint(TCell& cell) const;

    TfEditSectorInfo* sectorDialog_;
    std::function<void(TSector&)> generateSystems_;
    QMenu* cellPopup_ = nullptr;
    TSector* popupSector_ = nullptr;
    TUniverse* universe_ = nullptr;
    std::array<TCell, kColumns * kRows> cells_{};
};

}  // namespace hexlane::ui
