#pragma once
// TfKeyboardShortcuts: Help > Keyboard Shortcuts, a table of every command
// that has a key (and the keys and mouse gestures of the map and the lists),
// in the order of the menus.

#include <QDialog>
#include <QStringList>

class QTableWidget;

namespace hexlane::ui {

class TfKeyboardShortcuts : public QDialog {
public:
    explicit TfKeyboardShortcuts(QWidget* parent = nullptr);
    // Each line "Command<TAB>Keys".
    void Load(const QStringList& lines);
    QTableWidget* Table() const { return table_; }

private:
    QTableWidget* table_;
};

}  // namespace hexlane::ui
