#include "PrintScopeDialog.h"

#include "AccessKeys.h"
#include "DropDowns.h"

#include "DialogParts.h"
#include "MapExport.h"
#include "MapText.h"

#include <QDialogButtonBox>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace hexlane::ui {

namespace {

template <class W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

PrintScopeDialog::PrintScopeDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("PrintScopeDialog");
    auto* partBox = new QGroupBox("Part of the map", this);
    whole_ = Named(new QRadioButton("&Whole map as displayed", partBox), "rScopeWhole");
    view_ = Named(new QRadioButton("The part in the &view", partBox), "rScopeView");
    sector_ = Named(new QRadioButton("One &sector:", partBox), "rScopeSector");
    subsector_ = Named(new QRadioButton("One su&bsector:", partBox), "rScopeSubsector");
    sectorList_ = Named(new QComboBox(partBox), "rSectorList");
    subsectorList_ = Named(new QComboBox(partBox), "rSubsectorList");
    whole_->setChecked(true);
    auto* partLayout = new QFormLayout(partBox);
    partLayout->addRow(whole_);
    partLayout->addRow(view_);
    partLayout->addRow(sector_, sectorList_);
    partLayout->addRow(subsector_, subsectorList_);

    auto* pagesBox = new QGroupBox("Pages", this);
    fit_ = Named(new QRadioButton("&Fit to one page", pagesBox), "rFitPage");
    poster_ = Named(new QRadioButton("&Poster at a hex size of", pagesBox), "rPoster");
    fit_->setChecked(true);
    hexSize_ = Named(new QSpinBox(pagesBox), "rHexSize");
    hexSize_->setRange(render::kMinExportHexSize, render::kMaxExportHexSize);
    hexSize_->setValue(30);
    hexSize_->setSuffix(" pixels");
    hexSize_->setToolTip("Pixels per hex, at 96 pixels per inch; also the size of PNG and SVG pictures");
    margin_ = Named(new QDoubleSpinBox(pagesBox), "rMargin");
    margin_->setRange(0, 50);
    margin_->setValue(10);
    margin_->setSuffix(" mm");
    titleLine_ = Named(new QCheckBox("&Title line:", pagesBox), "rTitleLine");
    titleLine_->setChecked(true);
    titleText_ = Named(new QLineEdit(pagesBox), "rTitleText");
    pageNumbers_ = Named(new QCheckBox("Page &numbers", pagesBox), "rPageNumbers");
    pageNumbers_->setChecked(true);
    auto* pagesLayout = new QFormLayout(pagesBox);
    pagesLayout->addRow(fit_);
    pagesLayout->addRow(poster_, hexSize_);
    pagesLayout->addRow("&Margin:", margin_);
    pagesLayout->addRow(titleLine_, titleText_);
    pagesLayout->addRow(pageNumbers_);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = MakeButton("OK", "rOK", this);
    auto* cancel = MakeButton("Cancel", "rCancel", this);
    ok->setDefault(true);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(partBox);
    layout->addWidget(pagesBox);
    layout->addWidget(buttons);

    for (QRadioButton* b : {whole_, view_, sector_, subsector_, fit_, poster_})
        connect(b, &QRadioButton::toggled, this, &PrintScopeDialog::UpdateEnabled);
    for (QRadioButton* b : {whole_, view_, sector_, subsector_})
        connect(b, &QRadioButton::toggled, this, &PrintScopeDialog::ProposeTitle);
    connect(titleLine_, &QCheckBox::toggled, this, &PrintScopeDialog::UpdateEnabled);
    connect(titleText_, &QLineEdit::textEdited, this, [this] { titleTyped_ = true; });
    // Choosing from a list chooses that part of the map.
    connect(sectorList_, &QComboBox::activated, this, [this] {
        sector_->setChecked(true);
        ProposeTitle();
    });
    connect(subsectorList_, &QComboBox::activated, this, [this] {
        subsector_->setChecked(true);
        ProposeTitle();
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    UpdateEnabled();
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
    WidenDropDownPopups(this);
}

void PrintScopeDialog::Load(const std::vector<std::string>& sectors,
                            const std::vector<std::pair<std::string, std::string>>& subsectors,
                            const QString& mapTitle) {
    sectors_ = sectors;
    subsectors_ = subsectors;
    sectorList_->clear();
    for (const std::string& s : sectors) sectorList_->addItem(render::MapText(s));
    subsectorList_->clear();
    for (const auto& [sector, subsector] : subsectors)
        subsectorList_->addItem(render::MapText(sector) + QStringLiteral(": ") + render::MapText(subsector));
    // A scope whose list became empty falls back to the whole map.
    if ((sector_->isChecked() && sectors.empty()) || (subsector_->isChecked() && subsectors.empty()))
        whole_->setChecked(true);
    if (mapTitle_ != mapTitle) titleTyped_ = false;
    mapTitle_ = mapTitle;
    ProposeTitle();
    UpdateEnabled();
}

void PrintScopeDialog::ProposeTitle() {
    if (titleTyped_) return;
    if (sector_->isChecked()) titleText_->setText(sectorList_->currentText());
    else if (subsector_->isChecked()) titleText_->setText(subsectorList_->currentText());
    else titleText_->setText(mapTitle_);
}

void PrintScopeDialog::UpdateEnabled() {
    sector_->setEnabled(sectorList_->count() > 0);
    subsector_->setEnabled(subsectorList_->count() > 0);
    sectorList_->setEnabled(sectorList_->count() > 0);
    subsectorList_->setEnabled(subsectorList_->count() > 0);
    titleText_->setEnabled(titleLine_->isChecked());
}

PrintChoice PrintScopeDialog::Choice() const {
    PrintChoice c;
    if (view_->isChecked()) c.Scope = PrintScope::View;
    const int s = sectorList_->currentIndex(), ss = subsectorList_->currentIndex();
    if (sector_->isChecked() && s >= 0 && s < static_cast<int>(sectors_.size())) {
        c.Scope = PrintScope::Sector;
        c.Sector = sectors_[static_cast<std::size_t>(s)];
    }
    if (subsector_->isChecked() && ss >= 0 && ss < static_cast<int>(subsectors_.size())) {
        c.Scope = PrintScope::Subsector;
        c.Sector = subsectors_[static_cast<std::size_t>(ss)].first;
        c.Subsector = subsectors_[static_cast<std::size_t>(ss)].second;
    }
    c.Setup.Mode = poster_->isChecked() ? render::PageMode::Poster : render::PageMode::Fit;
    c.Setup.HexSize = hexSize_->value();
    c.Setup.MarginMm = margin_->value();
    c.Setup.Title = titleLine_->isChecked() ? titleText_->text() : QString();
    c.Setup.PageNumbers = pageNumbers_->isChecked();
    return c;
}

std::optional<PrintChoice> PrintScopeDialog::Execute(const QString& title) {
    setWindowTitle(title);
    if (exec() != QDialog::Accepted) return std::nullopt;
    return Choice();
}

}  // namespace hexlane::ui
