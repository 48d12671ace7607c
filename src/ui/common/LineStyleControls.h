#pragma once
// Controls shared by the route, leg and allegiance dialogs: a colour swatch
// that asks the Prompter for a new colour, the line type and hatch style
// lists, the line thickness box, and the OK/Cancel row.

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

#include <cstdint>

class QBoxLayout;
class QGroupBox;

namespace hexlane::ui {

class Prompter;

// A button filled with a map colour (0x00BBGGRR). Clicking it opens the
// colour chooser; a confirmed choice becomes the swatch's colour. A value the
// user never changes is handed back exactly as it was loaded.
class TColorSwatch : public QPushButton {
    Q_OBJECT
public:
    TColorSwatch(Prompter& prompter, const QString& chooserTitle, QWidget* parent = nullptr);

    std::int32_t Value() const { return value_; }
    void SetValue(std::int32_t value);
    // Opens the chooser on the current colour (what a click does).
    void Choose();

private:
    void Repaint();

    Prompter& prompter_;
    QString chooserTitle_;
    std::int32_t value_ = 0;
};

// Line types by index: "Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot".
QComboBox* MakeLineTypeBox(QWidget* parent);
// Selects a stored line type; an unknown value shows as "Solid", as it draws.
void SetLineType(QComboBox* box, int lineType);

// Hatch styles by index, in the order of TBrushStyle.
QComboBox* MakeHatchStyleBox(QWidget* parent);

// Line thickness 1 to 5: arrows only, no typing, no wrap round.
class TThicknessBox : public QSpinBox {
    Q_OBJECT
public:
    explicit TThicknessBox(QWidget* parent = nullptr);
};

// Colour swatch, line type and thickness in one group box.
struct TLineControls {
    TLineControls(Prompter& prompter, const QString& title, QWidget* parent);
    // Shows a line's colour, type and thickness (0 shows as 1, more than 5 as 5).
    void Show(std::int32_t color, int lineType, int thickness);
    void SetEnabled(bool enabled);

    QGroupBox* Box;
    TColorSwatch* Color;
    QComboBox* LineType;
    TThicknessBox* Thickness;
};

// A standard button box of "OK" (the default button) and "Cancel", named rOK and rCancel.
QBoxLayout* MakeOkCancelRow(QWidget* parent, QPushButton*& ok, QPushButton*& cancel);

}  // namespace hexlane::ui
