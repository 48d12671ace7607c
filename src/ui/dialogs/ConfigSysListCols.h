#pragma once
// The column chooser of the system list: moves column captions between the
// hidden ("Available Columns", kept alphabetical) and the shown ("Visible
// Columns") list. OK accepts; the caller then applies the choice to the table.

#include "SysListColumns.h"

#include <QDialog>

#include <vector>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace hexlane::ui {

class TfConfigSysListCols : public QDialog {
    Q_OBJECT
public:
    explicit TfConfigSysListCols(QWidget* parent = nullptr);

    // Fills the two lists from the table: hidden columns alphabetically, shown ones in table order.
    void Load(const std::vector<TSysListCol>& table);
    // A column is visible exactly when its caption is in "Visible Columns";
    // the table's order and everything else stay as they are.
    void Apply(std::vector<TSysListCol>& table) const;

private:
    void MoveSelected(QListWidget* from, QListWidget* to);
    void MoveAll(QListWidget* from, QListWidget* to);
    // Puts a caption into `to`: sorted into the alphabetical list, appended to the other.
    void Insert(QListWidget* to, const QString& caption);
    void UpdateButtons();

    QListWidget* available_;
    QListWidget* visible_;
    QPushButton* add_;
    QPushButton* addAll_;
    QPushButton* remove_;
    QPushButton* removeAll_;
};

}  // namespace hexlane::ui
