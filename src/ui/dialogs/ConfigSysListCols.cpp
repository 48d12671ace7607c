#include "ConfigSysListCols.h"

#include "AccessKeys.h"

#include "DialogParts.h"
#include "SortedNames.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <set>

namespace hexlane::ui {

namespace {

QListWidget* MakeList(const char* name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

}  // namespace

TfConfigSysListCols::TfConfigSysListCols(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("System List Column Configuration"));

    available_ = MakeList("rAvailable", this);
    visible_ = MakeList("rVisible", this);
    add_ = MakeButton(QStringLiteral(">"), "rAdd", this);
    addAll_ = MakeButton(QStringLiteral(">>"), "rAddAll", this);
    remove_ = MakeButton(QStringLiteral("<"), "rRemove", this);
    removeAll_ = MakeButton(QStringLiteral("<<"), "rRemoveAll", this);
    auto* ok = MakeButton(QStringLiteral("OK"), "rOK", this);
    auto* cancel = MakeButton(QStringLiteral("Cancel"), "rCancel", this);
    ok->setDefault(true);

    auto* availableLabel = new QLabel(QStringLiteral("Available Columns"), this);
    availableLabel->setBuddy(available_);
    auto* visibleLabel = new QLabel(QStringLiteral("Visible Columns"), this);
    visibleLabel->setBuddy(visible_);

    auto* moveButtons = new QVBoxLayout;
    moveButtons->addStretch();
    for (QPushButton* b : {add_, addAll_, remove_, removeAll_}) moveButtons->addWidget(b);
    moveButtons->addStretch();

    auto* grid = new QGridLayout;
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(visibleLabel, 0, 2);
    grid->addWidget(available_, 1, 0);
    grid->addLayout(moveButtons, 1, 1);
    grid->addWidget(visible_, 1, 2);

    auto* bottom = new QDialogButtonBox(this);
    bottom->addButton(ok, QDialogButtonBox::AcceptRole);
    bottom->addButton(cancel, QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(bottom);

    connect(add_, &QPushButton::clicked, this, [this] { MoveSelected(available_, visible_); });
    connect(addAll_, &QPushButton::clicked, this, [this] { MoveAll(available_, visible_); });
    connect(remove_, &QPushButton::clicked, this, [this] { MoveSelected(visible_, available_); });
    connect(removeAll_, &QPushButton::clicked, this, [this] { MoveAll(visible_, available_); });
    connect(available_, &QListWidget::itemDoubleClicked, this, [this] { MoveSelected(available_, visible_); });
    connect(visible_, &QListWidget::itemDoubleClicked, this, [this] { MoveSelected(visible_, available_); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    UpdateButtons();
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfConfigSysListCols::Load(const std::vector<TSysListCol>& table) {
    available_->clear();
    visible_->clear();
    for (const TSysListCol& col : table) Insert(col.Visible ? visible_ : available_, col.Caption);
    UpdateButtons();
}

void TfConfigSysListCols::Apply(std::vector<TSysListCol>& table) const {
    std::set<QString> shown;
    for (int i = 0; i < visible_->count(); ++i) shown.insert(visible_->item(i)->text());
    for (TSysListCol& col : table) col.Visible = shown.count(col.Caption) != 0;
}

void TfConfigSysListCols::Insert(QListWidget* to, const QString& caption) {
    int position = to->count();
    if (to == available_) {
        QStringList listed;
        for (int i = 0; i < to->count(); ++i) listed.push_back(to->item(i)->text());
        position = SortedInsertPosition(listed, caption);
    }
    to->insertItem(position, caption);
}

void TfConfigSysListCols::MoveSelected(QListWidget* from, QListWidget* to) {
    int first = -1;
    for (int i = from->count() - 1; i >= 0; --i) {
        if (!from->item(i)->isSelected()) continue;
        first = i;
        std::unique_ptr<QListWidgetItem> item(from->takeItem(i));
        Insert(to, item->text());
    }
    if (first >= 0 && from->count() > 0) {
        const int row = std::min(first, from->count() - 1);
        from->clearSelection();
        from->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
    UpdateButtons();
}

void TfConfigSysListCols::MoveAll(QListWidget* from, QListWidget* to) {
    while (from->count() > 0) {
        std::unique_ptr<QListWidgetItem> item(from->takeItem(0));
        Insert(to, item->text());
    }
    UpdateButtons();
}

void TfConfigSysListCols::UpdateButtons() {
    const bool anyAvailable = available_->count() > 0;
    const bool anyVisible = visible_->count() > 0;
    add_->setEnabled(anyAvailable);
    addAll_->setEnabled(anyAvailable);
    remove_->setEnabled(anyVisible);
    removeAll_->setEnabled(anyVisible);
}

}  // namespace hexlane::ui
