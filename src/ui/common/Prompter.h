#pragma once
// Every modal question the editor asks and every message it shows goes
// through a Prompter: the window code never opens a message box or a file
// chooser itself. The editor uses QtPrompter; tests use a scripted fake that
// records the texts and returns queued answers.

#include <QColor>
#include <QString>

#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace hexlane::ui {

enum class Answer { Yes, No, Cancel };

// The look of a Yes/No question: a confirmation of something the user asked
// for (question mark) or a warning before something that loses data.
enum class Look { Question, Warning };

// A file chooser's settings. Filter in Qt's form: "Map File (*.map)".
struct FileChoice {
    QString Title;
    QString Filter;
    QString DefaultExtension;  // without the dot; added when the user types none
    QString InitialPath;       // folder or file proposed first
};

// The extension of a chooser filter's first pattern, without the dot:
// "png" for "PNG Files (*.png)"; empty when it names none.
QString FilterExtension(const QString& filter);
// The path as a save chooser returns it: a file name without an extension
// gets the extension of the filter the user had selected, so a name typed
// under "PNG Files" is a .png file whatever the chooser's first filter is.
QString WithFilterExtension(const QString& path, const QString& selectedFilter);

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message with an OK button.
    virtual void Information(const QString& text) = 0;
    virtual void Error(const QString& text) = 0;
    // True for Yes.
    virtual bool YesNo(const QString& text, Look look = Look::Question) = 0;
    virtual Answer YesNoCancel(const QString& text) = 0;
    // A one-line text; nothing when cancelled.
    virtual std::optional<QString> Input(const QString& title, const QString& prompt,
                                         const QString& defaultText) = 0;
    // The chosen path of an existing file; nothing when cancelled.
    virtual std::optional<QString> OpenFile(const FileChoice& choice) = 0;
    // The chosen path; the chooser has already asked before an existing file
    // is overwritten. Nothing when cancelled.
    virtual std::optional<QString> SaveFile(const FileChoice& choice) = 0;
    virtual std::optional<QColor> Colour(const QColor& initial, const QString& title) = 0;
    // The printer dialog: true when the user chose to print; the printer then
    // holds the choices made. By default nothing is printed.
    virtual bool ChoosePrinter(QPrinter& printer) {
        (void)printer;
        return false;
    }
    // The print preview of the printer's pages; `paint` draws them whenever
    // the preview needs them. By default no preview is shown.
    virtual void PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
        (void)printer;
        (void)paint;
    }
};

// The Prompter of the real editor: Qt's message boxes, input dialog, file
// choosers and colour dialog, parented to `parent`.
class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    void Information(const QString& text) override;
    void Error(const QString& text) override;
    bool YesNo(const QString& text, Look look) override;
    Answer YesNoCancel(const QString& text) override;
    std::optional<QString> Input(const QString& title, const QString& prompt, const QString& defaultText) override;
    std::optional<QString> OpenFile(const FileChoice& choice) override;
    std::optional<QString> SaveFile(const FileChoice& choice) override;
    std::optional<QColor> Colour(const QColor& initial, const QString& title) override;
    bool ChoosePrinter(QPrinter& printer) override;
    void PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;

private:
    QWidget* parent_;
};

}  // namespace hexlane::ui
