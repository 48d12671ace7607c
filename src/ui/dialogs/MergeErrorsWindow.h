#pragma once
// TfMergeErrors: the editor's one "Errors/Messages" window. The sector file
// import and the merge and overlay commands clear it, add their message lines
// and show it modally at the end.

#include <QDialog>
#include <QStringList>

#include <string>
#include <vector>

class QPlainTextEdit;

namespace hexlane::ui {

class TfMergeErrors : public QDialog {
    Q_OBJECT

public:
    explicit TfMergeErrors(QWidget* parent = nullptr);

    void Clear();
    void AddLine(const QString& line);
    // Lines in the map's text (Windows-1252 bytes).
    void AddLines(const std::vector<std::string>& lines);
    const QStringList& Lines() const { return lines_; }
    bool IsEmpty() const { return lines_.isEmpty(); }

    // Shows the window modally with its lines, one per line of the text.
    void ShowModal();
    // Shows it only when it holds at least one line; true when shown.
    bool ShowIfAny();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QStringList lines_;
    bool textStale_ = false;
    QPlainTextEdit* text_;
};

}  // namespace hexlane::ui
