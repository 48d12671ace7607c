#include "ConfigureAllegiance.h"

#include "AccessKeys.h"

#include "DefineUniverse.h"
#include "LineStyleControls.h"
#include "Prompter.h"
#include "UiText.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace hexlane::ui {

namespace {

// Memos show line breaks as "\n"; map files keep them as "\r\n".
QString ShownMemoText(const std::string& bytes) {
    QString text = FromMap(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

}  // namespace

TfConfigureAllegiance::TfConfigureAllegiance(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setWindowTitle(QStringLiteral("Configure Allegiance "));

    color_ = new TColorSwatch(prompter_, QStringLiteral("Select Allegiance Color"), this);
    color_->setObjectName(QStringLiteral("rColor"));
    importCode_ = new QLineEdit(this);
    importCode_->setObjectName(QStringLiteral("rImportCode"));
    importCode_->setMaximumWidth(importCode_->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMM")));
    hatchStyle_ = MakeHatchStyleBox(this);
    notes_ = new QPlainTextEdit(this);
    notes_->setObjectName(QStringLiteral("rNotes"));
    notes_->setTabChangesFocus(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Select Allegiance Color"), color_);
    form->addRow(QStringLiteral("Import Code"), importCode_);
    form->addRow(QStringLiteral("Hatch Style"), hatchStyle_);
    form->addRow(QStringLiteral("Notes"), notes_);

    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QBoxLayout* buttons = MakeOkCancelRow(this, ok, cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &TfConfigureAllegiance::rOKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(380, 300);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfConfigureAllegiance::Load(TUniverse& universe, TAllegiance& allegiance) {
    universe_ = &universe;
    allegiance_ = &allegiance;
    setWindowTitle(QStringLiteral("Configure Allegiance ") + FromMap(allegiance.Name1));
    color_->SetValue(allegiance.Color);
    importCode_->setText(FromMap(allegiance.ImportCode));
    loadedNotes_ = allegiance.Notes;
    shownNotes_ = ShownMemoText(allegiance.Notes);
    notes_->setPlainText(shownNotes_);
    const int style = static_cast<int>(allegiance.Style);
    hatchStyle_->setCurrentIndex(style < hatchStyle_->count() ? style : 0);
    importCode_->setFocus();
}

bool TfConfigureAllegiance::rOKClick() {
    if (!allegiance_ || !universe_) return false;
    const std::optional<std::string> code = ToMap(importCode_->text());
    if (!code) {
        prompter_.Error(NotStorableMessage());
        importCode_->setFocus();
        return false;
    }
    if (const TAllegiance* other = universe_->FindAllegianceByImportCode(*code); other && other != allegiance_) {
        prompter_.Information(
            QStringLiteral("An Allegiance with this Import Code already exits.\nPlease select a different Code."));
        importCode_->setFocus();
        return false;
    }
    // Four characters for the codes that today's sector files use.
    if (code->empty() || code->size() == 3 || code->size() > 4) {
        prompter_.Information(QStringLiteral("Allegiance Import Codes must be one, two or four characters in Length."));
        importCode_->setFocus();
        return false;
    }
    std::string notes = loadedNotes_;
    if (notes_->toPlainText() != shownNotes_) {
        QString typed = notes_->toPlainText();
        typed.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        const std::optional<std::string> bytes = ToMap(typed);
        if (!bytes) {
            prompter_.Error(NotStorableMessage());
            notes_->setFocus();
            return false;
        }
        notes = *bytes;
    }

    allegiance_->Color = color_->Value();
    allegiance_->ImportCode = *code;
    allegiance_->Notes = std::move(notes);
    allegiance_->Style = static_cast<TBrushStyle>(hatchStyle_->currentIndex());
    // The allegiance's colour and hatch are part of the map picture.
    universe_->MapDirty = true;
    MarkChanged(*universe_);
    accept();
    return true;
}

int TfConfigureAllegiance::EditAllegiance(TUniverse& universe, TAllegiance& allegiance) {
    Load(universe, allegiance);
    return exec() == QDialog::Accepted ? 1 : 0;
}

}  // namespace hexlane::ui
