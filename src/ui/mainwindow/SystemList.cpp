#include "SystemList.h"

#include "DefineRoute.h"
#include "DefineStar.h"
#include "DefineUniverse.h"
#include "MapText.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>

#include <algorithm>
#include <numeric>

namespace hexlane::ui {

// ---------------------------------------------------------------- model

SystemListModel::SystemListModel(QObject* parent) : QAbstractTableModel(parent) {}

void SystemListModel::SetColumns(ColumnKind kind, std::vector<Column> columns) {
    beginResetModel();
    kind_ = kind;
    columns_ = std::move(columns);
    rows_.clear();
    cells_.clear();
    sortColumn_ = -1;
    sortDirection_ = 1;
    endResetModel();
    emit columnsSetUp();
    emit sortChanged();
}

void SystemListModel::SetStarColumns(const std::vector<TSysListCol>& table, bool force) {
    if (kind_ == ColumnKind::Stars && !force) return;
    std::vector<Column> columns;
    for (const TSysListCol& col : table)
        if (col.Visible) columns.push_back({col.Caption, col.Width, col.Number});
    SetColumns(ColumnKind::Stars, std::move(columns));
}

void SystemListModel::SetLegColumns() {
    if (kind_ == ColumnKind::Legs) return;
    SetColumns(ColumnKind::Legs, {{QStringLiteral("Leg Name"), 150, 0},
                                  {QStringLiteral("Start Star"), 150, 1},
                                  {QStringLiteral("End Star"), 150, 2},
                                  {QStringLiteral("Distance"), 55, 3}});
}

void SystemListModel::RemoveColumns() {
    SetColumns(ColumnKind::None, {});
}

int SystemListModel::ColumnNumber(int column) const {
    if (column < 0 || column >= static_cast<int>(columns_.size())) return -1;
    return columns_[static_cast<std::size_t>(column)].Number;
}

int SystemListModel::ColumnWidth(int column) const {
    if (column < 0 || column >= static_cast<int>(columns_.size())) return 0;
    return columns_[static_cast<std::size_t>(column)].Width;
}

void SystemListModel::Clear() {
    if (rows_.empty()) return;
    beginRemoveRows(QModelIndex(), 0, static_cast<int>(rows_.size()) - 1);
    rows_.clear();
    cells_.clear();
    endRemoveRows();
}

void SystemListModel::AddStars(const std::vector<TStar*>& stars) {
    if (kind_ != ColumnKind::Stars || columns_.empty() || stars.empty()) return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(stars.size()) - 1);
    rows_.reserve(rows_.size() + stars.size());
    cells_.reserve(cells_.size() + stars.size() * columns_.size());
    for (TStar* star : stars) {
        rows_.push_back({star, nullptr, static_cast<qsizetype>(cells_.size())});
        for (const Column& col : columns_) cells_.push_back(star ? StarCellText(*star, col.Number) : QString());
    }
    endInsertRows();
}

void SystemListModel::AppendLeg(TRouteLeg* leg, const TUniverse& universe) {
    rows_.push_back({nullptr, leg, static_cast<qsizetype>(cells_.size())});
    if (!leg) {
        cells_.resize(cells_.size() + columns_.size());
        return;
    }
    cells_.push_back(render::MapText(leg->Name1));
    cells_.push_back(render::MapText(leg->SStarName));
    cells_.push_back(render::MapText(leg->EStarName));
    if (!leg->SStarName.empty() && !leg->EStarName.empty())
        cells_.push_back(QString::number(TUniverse::StarDistance(universe.FindStar(leg->SStarName),
                                                                 universe.FindStar(leg->EStarName))));
    else
        cells_.emplace_back();
}

void SystemListModel::AddLegs(const std::vector<TRouteLeg*>& legs, const TUniverse& universe) {
    if (kind_ != ColumnKind::Legs || legs.empty()) return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(legs.size()) - 1);
    for (TRouteLeg* leg : legs) AppendLeg(leg, universe);
    endInsertRows();
}

void SystemListModel::AddLeg(TRouteLeg* leg, const TUniverse& universe) {
    AddLegs({leg}, universe);
}

TStar* SystemListModel::StarAt(int row) const {
    if (row < 0 || row >= rowCount()) return nullptr;
    return rows_[static_cast<std::size_t>(row)].Star;
}

TRouteLeg* SystemListModel::LegAt(int row) const {
    if (row < 0 || row >= rowCount()) return nullptr;
    return rows_[static_cast<std::size_t>(row)].Leg;
}

QString SystemListModel::CellText(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return QString();
    return cells_[static_cast<std::size_t>(rows_[static_cast<std::size_t>(row)].FirstCell + column)];
}

void SystemListModel::ResetSort() {
    if (sortColumn_ == -1 && sortDirection_ == 1) return;
    sortColumn_ = -1;
    sortDirection_ = 1;
    emit sortChanged();
}

void SystemListModel::SortByHeader(int column) {
    if (column < 0 || column >= columnCount()) return;
    sortDirection_ = column == sortColumn_ ? -sortDirection_ : 1;
    sortColumn_ = column;

    // One key per row, computed once; the sort itself only compares keys. The
    // C locale's collation keys keep letter case, so there the key is the
    // case-folded text compared by code point.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const std::size_t n = rows_.size();
    std::vector<int> order(n);  // order[new position] = old position
    std::iota(order.begin(), order.end(), 0);
    const int direction = sortDirection_;
    auto text = [&](const Row& row) -> const QString& {
        return cells_[static_cast<std::size_t>(row.FirstCell + column)];
    };
    if (collator.locale().language() == QLocale::C) {
        std::vector<QString> keys;
        keys.reserve(n);
        for (const Row& row : rows_) keys.push_back(text(row).toCaseFolded());
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return keys[static_cast<std::size_t>(a)].compare(keys[static_cast<std::size_t>(b)]) * direction < 0;
        });
    } else {
        std::vector<QCollatorSortKey> keys;
        keys.reserve(n);
        for (const Row& row : rows_) keys.push_back(collator.sortKey(text(row)));
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return keys[static_cast<std::size_t>(a)].compare(keys[static_cast<std::size_t>(b)]) * direction < 0;
        });
    }

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Row> sorted;
    sorted.reserve(n);
    std::vector<int> newPosition(n);
    for (std::size_t i = 0; i < n; ++i) {
        sorted.push_back(rows_[static_cast<std::size_t>(order[i])]);
        newPosition[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    }
    rows_ = std::move(sorted);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from)
        to.append(index.isValid() && index.row() < static_cast<int>(n)
                      ? createIndex(newPosition[static_cast<std::size_t>(index.row())], index.column())
                      : QModelIndex());
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit sortChanged();
}

int SystemListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SystemListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant SystemListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return QVariant();
    return CellText(index.row(), index.column());
}

QVariant SystemListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return QVariant();
    const Column& col = columns_[static_cast<std::size_t>(section)];
    // The tooltip gives the whole caption of a header cut short.
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return col.Caption;
    return QVariant();
}

Qt::ItemFlags SystemListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

QStringList SystemListModel::mimeTypes() const {
    return {QString::fromLatin1(kRowsMimeType)};
}

QMimeData* SystemListModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<int> rows;
    for (const QModelIndex& index : indexes)
        if (index.isValid() && index.model() == this) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QByteArray text;
    for (int row : rows) {
        if (!text.isEmpty()) text.append(',');
        text.append(QByteArray::number(row));
    }
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kRowsMimeType), text);
    return data;
}

Qt::DropActions SystemListModel::supportedDragActions() const {
    // Copy: the drop target changes the map itself and refills the list; the
    // view must not try to remove the dragged rows afterwards.
    return Qt::CopyAction;
}

std::vector<int> SystemListModel::RowsFromMimeData(const QMimeData* data) {
    std::vector<int> rows;
    const QString type = QString::fromLatin1(kRowsMimeType);
    if (!data || !data->hasFormat(type)) return rows;
    const QByteArray text = data->data(type);
    for (const QByteArray& part : text.split(',')) {
        bool ok = false;
        const int row = part.toInt(&ok);
        if (ok && row >= 0) rows.push_back(row);
    }
    return rows;
}

// ---------------------------------------------------------------- view

SystemListView::SystemListView(QWidget* parent) : QTreeView(parent), model_(new SystemListModel(this)) {
    setObjectName(QStringLiteral("rSystemList"));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setSortingEnabled(false);
    setModel(model_);

    QHeaderView* head = header();
    head->setStretchLastSection(false);
    head->setSectionsMovable(false);
    head->setSectionsClickable(true);
    head->setSortIndicatorShown(false);
    connect(head, &QHeaderView::sectionClicked, model_, &SystemListModel::SortByHeader);
    connect(model_, &SystemListModel::columnsSetUp, this, &SystemListView::ApplyColumnWidths);
    connect(model_, &SystemListModel::sortChanged, this, &SystemListView::ShowSortIndicator);
}

void SystemListView::ApplyColumnWidths() {
    for (int c = 0; c < model_->columnCount(); ++c) header()->resizeSection(c, model_->ColumnWidth(c));
}

void SystemListView::ShowSortIndicator() {
    QHeaderView* head = header();
    if (model_->SortColumn() < 0) {
        head->setSortIndicatorShown(false);
        return;
    }
    head->setSortIndicator(model_->SortColumn(),
                           model_->SortDirection() > 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    head->setSortIndicatorShown(true);
}

std::vector<int> SystemListView::SelectedRows() const {
    std::vector<int> rows;
    if (!selectionModel()) return rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r) rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void SystemListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        emit deleteKeyPressed();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

}  // namespace hexlane::ui
