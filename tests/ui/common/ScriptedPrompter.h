#pragma once
// A Prompter for tests: records every text it is shown, one line per call
// ("info: text", "error: text", "yesno: text", "ync: text", "input: title|prompt|default",
// "open: filter", "save: filter", "colour: title", "printer", "preview"), and
// answers from queues.
// A question without a queued answer fails the test and gets the
// cautious answer (No, Cancel, nothing).

#include "Prompter.h"

#include <QStringList>

#include <deque>
#include <ostream>

// Readable QStrings and lists in test failures.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{';
    for (const QString& text : list) *os << " \"" << text.toStdString() << '"';
    *os << " }";
}

class ScriptedPrompter final : public hexlane::ui::Prompter {
public:
    // Answers, used first in first out.
    std::deque<bool> YesNoAnswers;
    std::deque<hexlane::ui::Answer> YesNoCancelAnswers;
    std::deque<std::optional<QString>> InputAnswers;
    std::deque<std::optional<QString>> OpenAnswers;
    std::deque<std::optional<QString>> SaveAnswers;
    std::deque<std::optional<QColor>> ColourAnswers;
    std::deque<bool> PrinterAnswers;
    // Where an accepted printer dialog and the preview print: a PDF file.
    QString PrintFile;

    // Every call in order.
    QString LastSaveInitial;  // the path the last save chooser proposed
    QStringList Log;
    // The look of every Yes/No question, in order.
    QList<hexlane::ui::Look> Looks;
    // The text of the last message or question, empty when none was shown.
    QString Last() const { return Log.isEmpty() ? QString() : Log.back(); }
    // True when every queued answer was used.
    bool AllAnswersUsed() const;

    void Information(const QString& text) override;
    void Error(const QString& text) override;
    bool YesNo(const QString& text, hexlane::ui::Look look) override;
    hexlane::ui::Answer YesNoCancel(const QString& text) override;
    std::optional<QString> Input(const QString& title, const QString& prompt, const QString& defaultText) override;
    std::optional<QString> OpenFile(const hexlane::ui::FileChoice& choice) override;
    std::optional<QString> SaveFile(const hexlane::ui::FileChoice& choice) override;
    std::optional<QColor> Colour(const QColor& initial, const QString& title) override;
    bool ChoosePrinter(QPrinter& printer) override;
    // Draws the pages once, as the preview does when it opens.
    void PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;
};
