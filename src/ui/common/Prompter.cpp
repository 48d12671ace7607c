#include "Prompter.h"

#include "Settings.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>

namespace hexlane::ui {

namespace {

QString Title() { return QStringLiteral("Hexlane"); }

}  // namespace

void QtPrompter::Information(const QString& text) { QMessageBox::information(parent_, Title(), text); }

void QtPrompter::Error(const QString& text) { QMessageBox::critical(parent_, Title(), text); }

bool QtPrompter::YesNo(const QString& text, Look look) {
    const auto buttons = QMessageBox::Yes | QMessageBox::No;
    const auto answer = look == Look::Warning ? QMessageBox::warning(parent_, Title(), text, buttons, QMessageBox::No)
                                              : QMessageBox::question(parent_, Title(), text, buttons, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

Answer QtPrompter::YesNoCancel(const QString& text) {
    const auto answer = QMessageBox::question(parent_, Title(), text,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                              QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) return Answer::Yes;
    if (answer == QMessageBox::No) return Answer::No;
    return Answer::Cancel;
}

std::optional<QString> QtPrompter::Input(const QString& title, const QString& prompt, const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok) return std::nullopt;
    return text;
}

QString FilterExtension(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral(R"(\*\.([A-Za-z0-9_]+))"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString WithFilterExtension(const QString& path, const QString& selectedFilter) {
    const QString extension = FilterExtension(selectedFilter);
    if (path.isEmpty() || extension.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    // A name ending in a dot is given the extension after it.
    return path + (path.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")) + extension;
}

namespace {

// A chooser given no place starts in the folder it showed last, and each
// choice is remembered per chooser title.
QString StartPath(const FileChoice& choice) {
    return choice.InitialPath.isEmpty() ? Settings::LastFolder(choice.Title) : choice.InitialPath;
}

std::optional<QString> Remember(const FileChoice& choice, const QString& path) {
    Settings::SetLastFolder(choice.Title, QFileInfo(path).absolutePath());
    return path;
}

}  // namespace

std::optional<QString> QtPrompter::OpenFile(const FileChoice& choice) {
    QFileDialog dialog(parent_, choice.Title, StartPath(choice), choice.Filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(choice.DefaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return Remember(choice, dialog.selectedFiles().front());
}

std::optional<QString> QtPrompter::SaveFile(const FileChoice& choice) {
    // QFileDialog asks before an existing file is overwritten (the default
    // unless DontConfirmOverwrite is set).
    QFileDialog dialog(parent_, choice.Title, StartPath(choice), choice.Filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(choice.DefaultExtension);
    // The extension added to a bare name follows the filter the user selects.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &choice](const QString& filter) {
        const QString extension = FilterExtension(filter);
        dialog.setDefaultSuffix(extension.isEmpty() ? choice.DefaultExtension : extension);
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().front();
    const QString path = WithFilterExtension(chosen, dialog.selectedNameFilter());
    // A dialog that did not add the extension itself did not ask about the
    // file that name now points at.
    if (path != chosen && QFileInfo::exists(path) &&
        !YesNo(QStringLiteral("%1 already exists. Do you want to replace it?").arg(QFileInfo(path).fileName()),
               Look::Warning))
        return std::nullopt;
    return Remember(choice, path);
}

std::optional<QColor> QtPrompter::Colour(const QColor& initial, const QString& title) {
    const QColor colour = QColorDialog::getColor(initial, parent_, title);
    if (!colour.isValid()) return std::nullopt;
    return colour;
}

bool QtPrompter::ChoosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

void QtPrompter::PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog dialog(&printer, parent_);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&paint](QPrinter* p) { paint(*p); });
    dialog.exec();
}

}  // namespace hexlane::ui
