#include "KeyboardShortcuts.h"

#include "AccessKeys.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace hexlane::ui {

TfKeyboardShortcuts::TfKeyboardShortcuts(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfKeyboardShortcuts"));
    setWindowTitle(QStringLiteral("Keyboard Shortcuts"));
    table_ = new QTableWidget(0, 2, this);
    table_->setObjectName(QStringLiteral("rShortcuts"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Command"), QStringLiteral("Keys")});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(460, 520);
    GiveAccessKeys(this);
}

void TfKeyboardShortcuts::Load(const QStringList& lines) {
    table_->setRowCount(static_cast<int>(lines.size()));
    for (int row = 0; row < lines.size(); ++row) {
        const QStringList parts = lines[row].split('\t');
        table_->setItem(row, 0, new QTableWidgetItem(parts.value(0)));
        table_->setItem(row, 1, new QTableWidgetItem(parts.value(1)));
    }
}

}  // namespace hexlane::ui
