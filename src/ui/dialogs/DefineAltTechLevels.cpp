#include "DefineAltTechLevels.h"

#include "AccessKeys.h"

#include "DefineUniverse.h"
#include "LineStyleControls.h"
#include "Prompter.h"
#include "UiText.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QVBoxLayout>

#include <optional>
#include <string>

namespace hexlane::ui {

namespace {

// The code character of tech level 0-16: "0" to "9", then "A" to "G".
QChar LevelCode(int level) { return QLatin1Char("0123456789ABCDEFG"[level]); }

const char* const kStandardDescriptions[TfDefineAltTechLevels::kLevels] = {
    "Stone Age.  Primitive",  "Bronze Age to Middle Ages", "circa 1400 - 1700",
    "circa 1700 - 1860",      "circa 1860 - 1900",         "circa 1900 - 1939",
    "circa 1940 - 1969",      "circa 1970 - 1999",         "circa 2000 - 2029",
    "circa 2030 - 2059",      "Interstellar Community",    "Average Imperial",
    "Average Imperial",       "Above Average Imperial",    "Above Average Imperial",
    "Technical Maximum Imperial", "Occasional non-Imperial"};

const char* const kDefaultDescriptions[TfDefineAltTechLevels::kLevels] = {
    "0 - Stone Age. Primitive",      "1 - Bronze Age to Middle Ages.", "2 - circa 1400 - 1700",
    "3 - circa 1700 - 1860",         "4 - circa 1860 - 1900",          "5 - circa 1900 - 1939",
    "6 - circa 1940 - 1969",         "7 - circa 1970 - 1999",          "8 - circa 2000 - 2029",
    "9 - circa 2030 - 2059",         "A - Interstellar community",     "B - Average Imperial",
    "C - Average Imperial",          "D - Above Average Imperial",     "E - Above Average Imperial",
    "F - Technical maximum Imperial", "G - Occasional non-Imperial"};

// The standard level as the row names it: 0 to 9, 10 (A) to 15 (F), 16+ (G+).
QString LevelName(int level) {
    if (level < 10) return QString::number(level);
    if (level < 16) return QStringLiteral("%1 (%2)").arg(level).arg(LevelCode(level));
    return QStringLiteral("16+ (G+)");
}

// The alternate value: 0-16 by the arrows only, no typing, no wrap round.
class TAltLevelBox : public QSpinBox {
public:
    explicit TAltLevelBox(QWidget* parent) : QSpinBox(parent) {
        setRange(0, TfDefineAltTechLevels::kLevels - 1);
        setWrapping(false);
        lineEdit()->setReadOnly(true);
    }
};

}  // namespace

TfDefineAltTechLevels::TfDefineAltTechLevels(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setWindowTitle(QStringLiteral("Define Alternate Tech Levels"));

    auto* table = new QGridLayout;
    table->addWidget(new QLabel(QStringLiteral("Alternate TL"), this), 0, 0);
    table->addWidget(new QLabel(QStringLiteral("Alternate Tech Level Description"), this), 0, 3);
    for (int level = 0; level < kLevels; ++level) {
        const QString code = LevelCode(level);
        auto* value = new TAltLevelBox(this);
        value->setObjectName(QStringLiteral("rTL%1AltValue").arg(code));
        auto* description = new QLineEdit(this);
        description->setObjectName(QStringLiteral("rTL%1AltDesc").arg(code));
        description->setMinimumWidth(220);
        const int row = level + 1;
        table->addWidget(value, row, 0);
        table->addWidget(new QLabel(LevelName(level), this), row, 1);
        table->addWidget(new QLabel(QString::fromLatin1(kStandardDescriptions[level]), this), row, 2);
        table->addWidget(description, row, 3);
        values_[static_cast<std::size_t>(level)] = value;
        descriptions_[static_cast<std::size_t>(level)] = description;
    }

    auto* note = new QLabel(QStringLiteral("Note : Tech Level descriptions are saved with the Map File."), this);

    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QBoxLayout* buttons = MakeOkCancelRow(this, ok, cancel);
    auto* defaults = new QPushButton(QStringLiteral("Defaults"), this);
    defaults->setObjectName(QStringLiteral("rDefaults"));
    defaults->setAutoDefault(false);
    buttons->addWidget(defaults);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(table);
    layout->addWidget(note);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &TfDefineAltTechLevels::rOKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, &TfDefineAltTechLevels::rDefaultsClick);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfDefineAltTechLevels::Load(TUniverse& universe) {
    universe_ = &universe;
    QStringList outOfRange;
    for (std::size_t i = 0; i < kLevels; ++i) {
        descriptions_[i]->setText(FromMap(universe.TLAltDesc[i]));
        // The arrows reach 0-16 only, so a stored value beyond that is shown
        // clamped; the user hears of it before OK could store the change.
        const int stored = universe.TLAltValue[i];
        values_[i]->setValue(stored);
        if (values_[i]->value() != stored)
            outOfRange << QStringLiteral("%1: %2, shown as %3")
                              .arg(LevelCode(static_cast<int>(i)))
                              .arg(stored)
                              .arg(values_[i]->value());
    }
    descriptions_[0]->setFocus();
    if (!outOfRange.isEmpty())
        prompter_.Information(QStringLiteral("These alternate tech levels of the map are outside 0 to 16:\n") +
                              outOfRange.join(QLatin1Char('\n')) +
                              QStringLiteral("\nOK stores the values shown; Cancel leaves the map as it is."));
}

void TfDefineAltTechLevels::rDefaultsClick() {
    for (std::size_t i = 0; i < kLevels; ++i) {
        descriptions_[i]->setText(QString::fromLatin1(kDefaultDescriptions[i]));
        values_[i]->setValue(static_cast<int>(i));
    }
}

bool TfDefineAltTechLevels::rOKClick() {
    if (!universe_) return false;
    for (QLineEdit* description : descriptions_) {
        if (description->text().isEmpty()) {
            prompter_.Information(QStringLiteral("All Fields must be filled in."));
            description->setFocus();
            return false;
        }
    }
    for (std::size_t i = 0; i + 1 < kLevels; ++i) {
        if (values_[i]->value() > values_[i + 1]->value()) {
            prompter_.Information(QStringLiteral("Tech Levels must be in order"));
            values_[i]->setFocus();
            return false;
        }
    }
    std::array<std::string, kLevels> texts;
    for (std::size_t i = 0; i < kLevels; ++i) {
        std::optional<std::string> text = ToMap(descriptions_[i]->text());
        if (!text) {
            prompter_.Error(NotStorableMessage());
            descriptions_[i]->setFocus();
            return false;
        }
        texts[i] = std::move(*text);
    }
    for (std::size_t i = 0; i < kLevels; ++i) {
        universe_->TLAltDesc[i] = std::move(texts[i]);
        universe_->TLAltValue[i] = values_[i]->value();
    }
    MarkChanged(*universe_);
    accept();
    return true;
}

bool TfDefineAltTechLevels::Execute(TUniverse& universe) {
    Load(universe);
    const bool ok = exec() == QDialog::Accepted;
    universe_ = nullptr;
    return ok;
}

}  // namespace hexlane::ui
