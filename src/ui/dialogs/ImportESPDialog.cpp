#include "ImportESPDialog.h"

#include "AccessKeys.h"

#include "DialogParts.h"
#include "Prompter.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace hexlane::ui {

TfImportESP::TfImportESP(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
    setObjectName(QStringLiteral("TfImportESP"));
    setWindowTitle(QStringLiteral("Import ESP File"));

    fileName_ = new QLineEdit(this);
    fileName_->setObjectName(QStringLiteral("rImportFilename"));
    fileName_->setReadOnly(true);  // set by the chooser only
    fileName_->setMinimumWidth(260);
    QPushButton* browse = MakeButton(QStringLiteral("..."), "rBrowse", this);
    browse->setToolTip(QStringLiteral("Choose an Extended System Profile file"));
    // The target sector list stays empty: no ESP records are read.
    intoSector_ = new QComboBox(this);
    intoSector_->setObjectName(QStringLiteral("rIntoSector"));
    records_ = new QLabel(QStringLiteral("Number of Records : "), this);
    records_->setObjectName(QStringLiteral("rRecords"));

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Import Filename"), this), 0, 0);
    fields->addWidget(fileName_, 0, 1);
    fields->addWidget(browse, 0, 2);
    fields->addWidget(new QLabel(QStringLiteral("Into Sector"), this), 1, 0);
    fields->addWidget(intoSector_, 1, 1, 1, 2);
    fields->addWidget(records_, 2, 0, 1, 3);

    import_ = MakeButton(QStringLiteral("Import"), "rImport", this);
    import_->setEnabled(false);
    QPushButton* close = MakeButton(QStringLiteral("Close"), "rClose", this);
    close->setDefault(true);  // Escape closes through reject() as well
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(import_);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(browse, &QPushButton::clicked, this, &TfImportESP::rBrowseClick);
    connect(import_, &QPushButton::clicked, this, &TfImportESP::rImportClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfImportESP::rBrowseClick() {
    const auto path = prompter_.OpenFile(FileChoice{QStringLiteral("Open"),
                                                    QStringLiteral("Extended System Profile Files (*.esp)"),
                                                    QStringLiteral("esp"), fileName_->text()});
    if (!path) return;
    fileName_->setText(*path);
    import_->setEnabled(true);
}

}  // namespace hexlane::ui
