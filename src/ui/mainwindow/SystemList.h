#pragma once
// The system list above the map: a read-only table of the stars of a
// subsector or allegiance, or of the legs of a route. Each row refers to its
// star or leg; the commands act on the selected rows through these references.

#include "SysListColumns.h"

#include <QAbstractTableModel>
#include <QString>
#include <QTreeView>

#include <vector>

class QMimeData;
class TRouteLeg;
class TStar;
class TUniverse;

namespace hexlane::ui {

// Which column set the list has. None also makes the next star setup rebuild.
enum class ColumnKind { None, Stars, Legs };

// Rows and columns of the system list. Cell texts are computed when a row is
// added, so the star and leg references are only good until the next refill.
class SystemListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Drag data of the list: the dragged row numbers as decimal text, comma separated.
    static constexpr const char* kRowsMimeType = "application/x-hexlane-system-rows";

    explicit SystemListModel(QObject* parent = nullptr);

    // Rebuilds the columns from the visible entries of `table`, in table order,
    // unless the list already has star columns and `force` is false. A rebuild
    // removes all rows and the sort state.
    void SetStarColumns(const std::vector<TSysListCol>& table, bool force = false);
    // The four leg columns, unless the list already has them; a rebuild
    // removes all rows and the sort state.
    void SetLegColumns();
    ColumnKind Kind() const { return kind_; }
    int ColumnWidth(int column) const;
    // The star column table number (or leg column index) of a column; -1 when none.
    int ColumnNumber(int column) const;

    // Removes all rows, keeps the columns.
    void Clear();
    // Removes all columns and rows; the kind becomes None.
    void RemoveColumns();

    // Appends one row per star, in order. Needs star columns; with none, nothing is added.
    void AddStars(const std::vector<TStar*>& stars);
    // Appends one row per leg: name, start star, end star and their distance
    // (-1 when a star is missing; no distance unless both names are set).
    // Needs the leg columns.
    void AddLegs(const std::vector<TRouteLeg*>& legs, const TUniverse& universe);
    void AddLeg(TRouteLeg* leg, const TUniverse& universe);

    TStar* StarAt(int row) const;
    TRouteLeg* LegAt(int row) const;
    QString CellText(int row, int column) const;

    // A click on header `column`: a new column sorts ascending, the same one
    // again reverses the direction. Rows are ordered by that column's text,
    // case-insensitively in the user's locale (numbers as text); ties keep
    // their order.
    void SortByHeader(int column);
    // No sort column, ascending; the rows keep their order.
    void ResetSort();
    int SortColumn() const { return sortColumn_; }  // -1 when none
    int SortDirection() const { return sortDirection_; }  // +1 ascending, -1 descending

    // The row numbers carried by drag data of the list; empty for other data.
    static std::vector<int> RowsFromMimeData(const QMimeData* data);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

signals:
    // The columns were rebuilt or removed (views apply the widths).
    void columnsSetUp();
    // The sort column or direction changed.
    void sortChanged();

private:
    struct Row {
        TStar* Star;
        TRouteLeg* Leg;
        qsizetype FirstCell;  // index of the row's first cell in cells_
    };
    struct Column {
        QString Caption;
        int Width;
        int Number;  // star column number, or the leg column 0-3
    };

    void SetColumns(ColumnKind kind, std::vector<Column> columns);
    void AppendLeg(TRouteLeg* leg, const TUniverse& universe);

    ColumnKind kind_ = ColumnKind::None;
    std::vector<Column> columns_;
    std::vector<Row> rows_;
    std::vector<QString> cells_;  // columns_.size() texts per row, in order of adding
    int sortColumn_ = -1;
    int sortDirection_ = 1;
};

// The view of the system list (objectName "rSystemList"): whole-row multiple
// selection, read-only, rows draggable; a header click sorts through the model.
class SystemListView : public QTreeView {
    Q_OBJECT
public:
    explicit SystemListView(QWidget* parent = nullptr);

    SystemListModel* Model() const { return model_; }
    // Selected row numbers, ascending (the order shown).
    std::vector<int> SelectedRows() const;

signals:
    void deleteKeyPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ApplyColumnWidths();
    void ShowSortIndicator();

    SystemListModel* model_;
};

}  // namespace hexlane::ui
