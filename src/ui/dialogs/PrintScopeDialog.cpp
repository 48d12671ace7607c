#include "PrintScopeDialog.h"

#include "AccessKeys.h"
#include "DropDowns.h"

#include "DialogParts.h"
#include "MapText.h"
#include "Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace hexlane::ui {

namespace {

template <class W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QComboBox* Choices(QWidget* parent, const char* name, std::initializer_list<std::pair<const char*, int>> items) {
    auto* box = Named(new QComboBox(parent), name);
    for (const auto& [text, value] : items) box->addItem(QString::fromLatin1(text), value);
    return box;
}

int ChosenValue(const QComboBox* box) { return box->currentData().toInt(); }

void ChooseValue(QComboBox* box, int value) {
    if (const int i = box->findData(value); i >= 0) box->setCurrentIndex(i);
}

// Where the choices are kept between uses and sessions.
QString Key(const char* name) { return QStringLiteral("print/") + QLatin1String(name); }

QByteArray Bytes(const std::string& text) { return QByteArray::fromStdString(text); }

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

    auto* lookBox = new QGroupBox("Look", this);
    style_ = Choices(lookBox, "rStyle",
                     {{"Print", int(render::PictureStyle::Print)},
                      {"Atlas (greys)", int(render::PictureStyle::Atlas)},
                      {"Screen look", int(render::PictureStyle::Screen)}});
    detail_ = Choices(lookBox, "rDetail",
                      {{"Automatic", int(render::DetailChoice::Auto)},
                       {"Dots", int(render::DetailChoice::Dots)},
                       {"Names", int(render::DetailChoice::Names)},
                       {"Full", int(render::DetailChoice::Full)}});
    detail_->setToolTip("Automatic follows the size of a hex on paper");
    legend_ = Named(new QCheckBox("L&egend", lookBox), "rLegend");
    legend_->setChecked(true);
    auto* lookLayout = new QFormLayout(lookBox);
    lookLayout->addRow("St&yle:", style_);
    lookLayout->addRow("&Detail:", detail_);
    lookLayout->addRow(legend_);

    auto* pagesBox = new QGroupBox("Size and pages", this);
    fit_ = Named(new QRadioButton("&Fit to one page", pagesBox), "rFitPage");
    poster_ = Named(new QRadioButton("&Poster over several pages", pagesBox), "rPoster");
    fit_->setChecked(true);
    hexSize_ = Named(new QSpinBox(pagesBox), "rHexSize");
    hexSize_->setRange(render::kMinExportHexSize, render::kMaxExportHexSize);
    hexSize_->setValue(30);
    hexSize_->setSuffix(" pixels");
    hexSize_->setToolTip("Pixels per hex: of a poster at 96 pixels per inch, or of a PNG or SVG picture");
    pixelsPerInch_ = Named(new QSpinBox(pagesBox), "rPixelsPerInch");
    pixelsPerInch_->setRange(24, 1200);
    pixelsPerInch_->setValue(96);
    pixelsPerInch_->setToolTip("PNG and SVG: how many pixels make an inch, which sets a hex's size for the detail");
    orientation_ = Choices(pagesBox, "rOrientation",
                           {{"Automatic", int(render::PageOrientation::Auto)},
                            {"Portrait", int(render::PageOrientation::Portrait)},
                            {"Landscape", int(render::PageOrientation::Landscape)}});
    overlap_ = Named(new QDoubleSpinBox(pagesBox), "rOverlap");
    overlap_->setRange(0, 50);
    overlap_->setSuffix(" mm");
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
    pagesLayout->addRow(poster_);
    pagesLayout->addRow("&Hex size:", hexSize_);
    pagesLayout->addRow("Pixels per &inch:", pixelsPerInch_);
    pagesLayout->addRow("&Orientation:", orientation_);
    pagesLayout->addRow("O&verlap:", overlap_);
    pagesLayout->addRow("&Margin:", margin_);
    pagesLayout->addRow(titleLine_, titleText_);
    pagesLayout->addRow(pageNumbers_);

    plan_ = Named(new QLabel(this), "rPlanLine");

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = MakeButton("OK", "rOK", this);
    auto* cancel = MakeButton("Cancel", "rCancel", this);
    ok->setDefault(true);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(partBox);
    left->addWidget(lookBox);
    left->addStretch();
    columns->addLayout(left);
    columns->addWidget(pagesBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(plan_);
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
    for (QComboBox* box : {sectorList_, subsectorList_, style_, detail_, orientation_})
        connect(box, &QComboBox::currentIndexChanged, this, &PrintScopeDialog::UpdateEnabled);
    for (QSpinBox* box : {hexSize_, pixelsPerInch_})
        connect(box, &QSpinBox::valueChanged, this, &PrintScopeDialog::UpdatePlan);
    for (QDoubleSpinBox* box : {margin_, overlap_})
        connect(box, &QDoubleSpinBox::valueChanged, this, &PrintScopeDialog::UpdatePlan);
    connect(pageNumbers_, &QCheckBox::toggled, this, &PrintScopeDialog::UpdatePlan);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    Restore();
    UpdateEnabled();
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
    WidenDropDownPopups(this);
}

void PrintScopeDialog::Restore() {
    const QSettings& s = Settings::Store();
    (s.value(Key("poster"), false).toBool() ? poster_ : fit_)->setChecked(true);
    hexSize_->setValue(s.value(Key("hexSize"), 30).toInt());
    pixelsPerInch_->setValue(s.value(Key("pixelsPerInch"), 96).toInt());
    margin_->setValue(s.value(Key("margin"), 10.0).toDouble());
    overlap_->setValue(s.value(Key("overlap"), 0.0).toDouble());
    titleLine_->setChecked(s.value(Key("titleLine"), true).toBool());
    pageNumbers_->setChecked(s.value(Key("pageNumbers"), true).toBool());
    legend_->setChecked(s.value(Key("legend"), true).toBool());
    ChooseValue(style_, s.value(Key("style"), int(render::PictureStyle::Print)).toInt());
    ChooseValue(detail_, s.value(Key("detail"), int(render::DetailChoice::Auto)).toInt());
    ChooseValue(orientation_, s.value(Key("orientation"), int(render::PageOrientation::Auto)).toInt());
}

void PrintScopeDialog::Remember() const {
    QSettings& s = Settings::Store();
    const PrintChoice c = Choice();
    s.setValue(Key("scope"), int(c.Scope));
    if (c.Scope == PrintScope::Sector) s.setValue(Key("sector"), Bytes(c.Sector));
    if (c.Scope == PrintScope::Subsector) {
        s.setValue(Key("subsectorSector"), Bytes(c.Sector));
        s.setValue(Key("subsector"), Bytes(c.Subsector));
    }
    s.setValue(Key("poster"), poster_->isChecked());
    s.setValue(Key("hexSize"), hexSize_->value());
    s.setValue(Key("pixelsPerInch"), pixelsPerInch_->value());
    s.setValue(Key("margin"), margin_->value());
    s.setValue(Key("overlap"), overlap_->value());
    s.setValue(Key("titleLine"), titleLine_->isChecked());
    s.setValue(Key("pageNumbers"), pageNumbers_->isChecked());
    s.setValue(Key("legend"), legend_->isChecked());
    s.setValue(Key("style"), ChosenValue(style_));
    s.setValue(Key("detail"), ChosenValue(detail_));
    s.setValue(Key("orientation"), ChosenValue(orientation_));
}

void PrintScopeDialog::Load(const std::vector<std::string>& sectors,
                            const std::vector<std::pair<std::string, std::string>>& subsectors,
                            const QString& mapTitle) {
    sectors_ = sectors;
    subsectors_ = subsectors;
    const QSignalBlocker blockSectors(sectorList_), blockSubsectors(subsectorList_);
    sectorList_->clear();
    for (const std::string& s : sectors) sectorList_->addItem(render::MapText(s));
    subsectorList_->clear();
    for (const auto& [sector, subsector] : subsectors)
        subsectorList_->addItem(render::MapText(sector) + QStringLiteral(": ") + render::MapText(subsector));

    // The part chosen last, when its list still holds it; else the whole map.
    const QSettings& s = Settings::Store();
    const auto scope = static_cast<PrintScope>(s.value(Key("scope"), int(PrintScope::WholeMap)).toInt());
    const std::string sector = s.value(Key("sector")).toByteArray().toStdString();
    const std::pair<std::string, std::string> subsector{s.value(Key("subsectorSector")).toByteArray().toStdString(),
                                                        s.value(Key("subsector")).toByteArray().toStdString()};
    const auto sectorAt = std::find(sectors_.begin(), sectors_.end(), sector);
    const auto subsectorAt = std::find(subsectors_.begin(), subsectors_.end(), subsector);
    if (sectorAt != sectors_.end()) sectorList_->setCurrentIndex(static_cast<int>(sectorAt - sectors_.begin()));
    if (subsectorAt != subsectors_.end())
        subsectorList_->setCurrentIndex(static_cast<int>(subsectorAt - subsectors_.begin()));
    if (scope == PrintScope::View) view_->setChecked(true);
    else if (scope == PrintScope::Sector && sectorAt != sectors_.end()) sector_->setChecked(true);
    else if (scope == PrintScope::Subsector && subsectorAt != subsectors_.end()) subsector_->setChecked(true);
    else whole_->setChecked(true);

    if (mapTitle_ != mapTitle) titleTyped_ = false;
    mapTitle_ = mapTitle;
    ProposeTitle();
    UpdateEnabled();
}

void PrintScopeDialog::SetFormat(render::PictureFormat format) {
    format_ = format;
    UpdateEnabled();
}

void PrintScopeDialog::SetMeasure(AreaFn areaOf, const QPageSize& paper, const TUniverse* universe) {
    areaOf_ = std::move(areaOf);
    paper_ = paper;
    universe_ = universe;
    UpdatePlan();
}

bool PrintScopeDialog::PaperFormat() const {
    return format_ == render::PictureFormat::Print || format_ == render::PictureFormat::Pdf;
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
    // Paper takes one page or a poster; a PNG or SVG picture is as large as
    // its pixels per hex make it.
    const bool paper = PaperFormat(), poster = paper && poster_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{fit_, poster_, orientation_, margin_, pageNumbers_})
        w->setEnabled(paper);
    hexSize_->setEnabled(!paper || poster);
    pixelsPerInch_->setEnabled(!paper);
    overlap_->setEnabled(poster);
    titleLine_->setEnabled(format_ != render::PictureFormat::Png);
    titleText_->setEnabled(titleLine_->isEnabled() && titleLine_->isChecked());
    // The screen look draws the detail of its zoom level.
    detail_->setEnabled(ChosenValue(style_) != int(render::PictureStyle::Screen));
    UpdatePlan();
}

QString PrintScopeDialog::PlanText() const {
    const std::optional<QRectF> area = areaOf_ ? areaOf_(Choice()) : std::nullopt;
    if (!area || area->isEmpty()) return QString();
    const PrintChoice c = Choice();
    if (!PaperFormat()) {
        const double size = c.Setup.HexSize;
        return QStringLiteral("%1 x %2 pixels; a hex is %3 mm at %4 pixels per inch")
            .arg(static_cast<int>(std::ceil(area->width() * size - 1e-6)))
            .arg(static_cast<int>(std::ceil(area->height() * size - 1e-6)))
            .arg(size / c.PixelsPerInch * 25.4, 0, 'f', 1)
            .arg(c.PixelsPerInch);
    }
    const render::PaperPlan plan = render::PlanOnPaper(*area, paper_, c.Setup, universe_);
    return QStringLiteral("%1 %2 of %3 (%4); a hex is %5 mm")
        .arg(plan.Pages)
        .arg(plan.Pages == 1 ? QStringLiteral("page") : QStringLiteral("pages"))
        .arg(paper_.name())
        .arg(plan.Landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"))
        .arg(plan.MmPerHex, 0, 'f', 1);
}

void PrintScopeDialog::UpdatePlan() { plan_->setText(PlanText()); }

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
    render::PageSetup& p = c.Setup;
    p.Mode = PaperFormat() && poster_->isChecked() ? render::PageMode::Poster : render::PageMode::Fit;
    p.HexSize = hexSize_->value();
    p.MarginMm = margin_->value();
    p.Title = titleLine_->isChecked() ? titleText_->text() : QString();
    p.PageNumbers = pageNumbers_->isChecked();
    p.Orientation = static_cast<render::PageOrientation>(ChosenValue(orientation_));
    p.OverlapMm = p.Mode == render::PageMode::Poster ? overlap_->value() : 0;
    p.Look.Style = static_cast<render::PictureStyle>(ChosenValue(style_));
    p.Look.Detail = static_cast<render::DetailChoice>(ChosenValue(detail_));
    p.Look.Legend = legend_->isChecked();
    // A sector or subsector is drawn to its own edge, its neighbours left out.
    p.ExactArea = c.Scope == PrintScope::Sector || c.Scope == PrintScope::Subsector;
    c.PixelsPerInch = pixelsPerInch_->value();
    return c;
}

std::optional<PrintChoice> PrintScopeDialog::Execute(const QString& title) {
    setWindowTitle(title);
    UpdateEnabled();
    if (exec() != QDialog::Accepted) return std::nullopt;
    Remember();
    return Choice();
}

}  // namespace hexlane::ui
