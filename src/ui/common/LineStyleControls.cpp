#include "LineStyleControls.h"

#include "Palette.h"
#include "Prompter.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QSizePolicy>

#include <algorithm>

namespace hexlane::ui {

namespace {

const QSize kSwatchIcon(40, 14);
const QSize kListIcon(36, 14);

QPixmap LineIcon(Qt::PenStyle style) {
    QPixmap pixmap(kListIcon);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::black, 2, style, Qt::FlatCap));
    painter.drawLine(1, kListIcon.height() / 2, kListIcon.width() - 2, kListIcon.height() / 2);
    return pixmap;
}

QPixmap HatchIcon(Qt::BrushStyle style) {
    QPixmap pixmap(kListIcon);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.setBrush(QBrush(Qt::black, style));
    painter.drawRect(0, 0, kListIcon.width() - 1, kListIcon.height() - 1);
    return pixmap;
}

}  // namespace

// ---- colour swatch ----

TColorSwatch::TColorSwatch(Prompter& prompter, const QString& chooserTitle, QWidget* parent)
    : QPushButton(parent), prompter_(prompter), chooserTitle_(chooserTitle) {
    setAutoDefault(false);
    setIconSize(kSwatchIcon);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setToolTip(chooserTitle);
    Repaint();
    connect(this, &QPushButton::clicked, this, &TColorSwatch::Choose);
}

void TColorSwatch::SetValue(std::int32_t value) {
    value_ = value;
    Repaint();
}

void TColorSwatch::Choose() {
    const QColor initial = QColor::fromRgb(hexlane::render::MapColourToRgb(value_));
    const std::optional<QColor> chosen = prompter_.Colour(initial, chooserTitle_);
    if (!chosen || !chosen->isValid()) return;
    SetValue(static_cast<std::int32_t>(chosen->red() | (chosen->green() << 8) | (chosen->blue() << 16)));
}

void TColorSwatch::Repaint() {
    QPixmap pixmap(kSwatchIcon);
    pixmap.fill(QColor::fromRgb(hexlane::render::MapColourToRgb(value_)));
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, kSwatchIcon.width() - 1, kSwatchIcon.height() - 1);
    painter.end();
    setIcon(QIcon(pixmap));  // a disabled swatch shows its icon greyed
}

// ---- lists ----

QComboBox* MakeLineTypeBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("rLineType"));
    box->setIconSize(kListIcon);
    const struct {
        const char* text;
        Qt::PenStyle pen;
    } types[] = {{"Solid", Qt::SolidLine},
                 {"Dash", Qt::DashLine},
                 {"Dot", Qt::DotLine},
                 {"Dash Dot", Qt::DashDotLine},
                 {"Dash Dot Dot", Qt::DashDotDotLine}};
    for (const auto& t : types) box->addItem(LineIcon(t.pen), QString::fromLatin1(t.text));
    return box;
}

void SetLineType(QComboBox* box, int lineType) {
    box->setCurrentIndex(lineType >= 0 && lineType < box->count() ? lineType : 0);
}

QComboBox* MakeHatchStyleBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("rHatchStyle"));
    box->setIconSize(kListIcon);
    const struct {
        const char* text;
        Qt::BrushStyle brush;
    } styles[] = {{"Solid", Qt::SolidPattern},     {"Clear", Qt::NoBrush},
                  {"Horizontal", Qt::HorPattern},  {"Vertical", Qt::VerPattern},
                  {"FDiagonal", Qt::FDiagPattern}, {"BDiagonal", Qt::BDiagPattern},
                  {"Cross", Qt::CrossPattern},     {"DiagCross", Qt::DiagCrossPattern}};
    for (const auto& s : styles) box->addItem(HatchIcon(s.brush), QString::fromLatin1(s.text));
    return box;
}

// ---- thickness ----

TThicknessBox::TThicknessBox(QWidget* parent) : QSpinBox(parent) {
    setObjectName(QStringLiteral("rThickness"));
    setRange(1, 5);
    setWrapping(false);
    lineEdit()->setReadOnly(true);  // the arrows and arrow keys still step
}

// ---- the group of line controls ----

TLineControls::TLineControls(Prompter& prompter, const QString& title, QWidget* parent)
    : Box(new QGroupBox(title, parent)),
      Color(new TColorSwatch(prompter, QStringLiteral("Color"), Box)),
      LineType(MakeLineTypeBox(Box)),
      Thickness(new TThicknessBox(Box)) {
    Color->setObjectName(QStringLiteral("rColor"));

    auto* colorLabel = new QLabel(QStringLiteral("Color"), Box);
    auto* typeLabel = new QLabel(QStringLiteral("Type"), Box);
    auto* thicknessLabel = new QLabel(QStringLiteral("Thickness"), Box);
    colorLabel->setBuddy(Color);
    typeLabel->setBuddy(LineType);
    thicknessLabel->setBuddy(Thickness);

    auto* grid = new QGridLayout(Box);
    grid->addWidget(colorLabel, 0, 0);
    grid->addWidget(Color, 0, 1, Qt::AlignLeft);
    grid->addWidget(typeLabel, 1, 0);
    grid->addWidget(LineType, 1, 1);
    grid->addWidget(thicknessLabel, 2, 0);
    grid->addWidget(Thickness, 2, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
}

void TLineControls::Show(std::int32_t color, int lineType, int thickness) {
    Color->SetValue(color);
    SetLineType(LineType, lineType);
    Thickness->setValue(std::clamp(thickness, Thickness->minimum(), Thickness->maximum()));
}

void TLineControls::SetEnabled(bool enabled) {
    Color->setEnabled(enabled);
    LineType->setEnabled(enabled);
    Thickness->setEnabled(enabled);
}

// ---- OK / Cancel ----

QBoxLayout* MakeOkCancelRow(QWidget* parent, QPushButton*& ok, QPushButton*& cancel) {
    ok = new QPushButton(QStringLiteral("OK"), parent);
    ok->setObjectName(QStringLiteral("rOK"));
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("Cancel"), parent);
    cancel->setObjectName(QStringLiteral("rCancel"));
    cancel->setAutoDefault(false);
    auto* box = new QDialogButtonBox(parent);
    box->addButton(ok, QDialogButtonBox::AcceptRole);
    box->addButton(cancel, QDialogButtonBox::RejectRole);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(box);
    return row;
}

}  // namespace hexlane::ui
