#include "MergeErrorsWindow.h"

#include "AccessKeys.h"

#include "UiText.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace hexlane::ui {

TfMergeErrors::TfMergeErrors(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfMergeErrors"));
    setWindowTitle(QStringLiteral("Errors/Messages"));

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("rMessages"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("rClose"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);  // Escape closes it as well

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(buttons);
    setFixedSize(420, 300);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfMergeErrors::Clear() {
    lines_.clear();
    text_->clear();
    textStale_ = false;
}

void TfMergeErrors::AddLine(const QString& line) {
    lines_ << line;
    textStale_ = true;
}

void TfMergeErrors::AddLines(const std::vector<std::string>& lines) {
    lines_.reserve(lines_.size() + static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) lines_ << FromMap(line);
    if (!lines.empty()) textStale_ = true;
}

void TfMergeErrors::showEvent(QShowEvent* event) {
    // The text is set once when the window appears rather than line by line:
    // a damaged file can give a message for each of many thousands of lines.
    if (textStale_) {
        text_->setPlainText(lines_.join(QLatin1Char('\n')));
        textStale_ = false;
    }
    QDialog::showEvent(event);
}

void TfMergeErrors::ShowModal() { exec(); }

bool TfMergeErrors::ShowIfAny() {
    if (lines_.isEmpty()) return false;
    ShowModal();
    return true;
}

}  // namespace hexlane::ui
