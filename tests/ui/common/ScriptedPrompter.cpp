#include "ScriptedPrompter.h"

#include <QPrinter>

#include <gtest/gtest.h>

using hexlane::ui::Answer;

namespace {

// GCC 12 reports a false "may be used uninitialized" inside std::optional<QString>.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
template <typename T>
T Take(std::deque<T>& queue, const QString& call, T fallback) {
    if (queue.empty()) {
        ADD_FAILURE() << "no answer queued for " << call.toStdString();
        return fallback;
    }
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

}  // namespace

bool ScriptedPrompter::AllAnswersUsed() const {
    return YesNoAnswers.empty() && YesNoCancelAnswers.empty() && InputAnswers.empty() && OpenAnswers.empty() &&
           SaveAnswers.empty() && ColourAnswers.empty() && PrinterAnswers.empty();
}

void ScriptedPrompter::Information(const QString& text) { Log << "info: " + text; }

void ScriptedPrompter::Error(const QString& text) { Log << "error: " + text; }

bool ScriptedPrompter::YesNo(const QString& text, hexlane::ui::Look look) {
    Log << "yesno: " + text;
    Looks << look;
    return Take(YesNoAnswers, Log.back(), false);
}

Answer ScriptedPrompter::YesNoCancel(const QString& text) {
    Log << "ync: " + text;
    return Take(YesNoCancelAnswers, Log.back(), Answer::Cancel);
}

std::optional<QString> ScriptedPrompter::Input(const QString& title, const QString& prompt,
                                               const QString& defaultText) {
    Log << "input: " + title + "|" + prompt + "|" + defaultText;
    return Take(InputAnswers, Log.back(), std::optional<QString>());
}

std::optional<QString> ScriptedPrompter::OpenFile(const hexlane::ui::FileChoice& choice) {
    Log << "open: " + choice.Filter;
    return Take(OpenAnswers, Log.back(), std::optional<QString>());
}

std::optional<QString> ScriptedPrompter::SaveFile(const hexlane::ui::FileChoice& choice) {
    Log << "save: " + choice.Filter;
    LastSaveInitial = choice.InitialPath;
    return Take(SaveAnswers, Log.back(), std::optional<QString>());
}

std::optional<QColor> ScriptedPrompter::Colour(const QColor&, const QString& title) {
    Log << "colour: " + title;
    return Take(ColourAnswers, Log.back(), std::optional<QColor>());
}

bool ScriptedPrompter::ChoosePrinter(QPrinter& printer) {
    Log << "printer";
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(PrintFile);
    return Take(PrinterAnswers, Log.back(), false);
}

void ScriptedPrompter::PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    Log << "preview";
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(PrintFile);
    paint(printer);
}
