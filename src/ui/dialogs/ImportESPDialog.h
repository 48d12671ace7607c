#pragma once
// TfImportESP: the "Import ESP File" dialog, where a file of extended system
// profiles (.esp) is chosen for a sector. Reading such files is not supported:
// the dialog lets the user pick a file, and "Import" leaves the map as it is.
// Only the main window's hidden "Import ESP File..." command opens it.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace hexlane::ui {

class Prompter;

class TfImportESP : public QDialog {
    Q_OBJECT

public:
    explicit TfImportESP(Prompter& prompter, QWidget* parent = nullptr);

    // The file chooser beside "Import Filename": a confirmed file goes into the
    // name edit and enables "Import"; cancelling changes nothing.
    void rBrowseClick();
    // Changes nothing.
    void rImportClick() {}

private:
    Prompter& prompter_;
    QLineEdit* fileName_;
    QComboBox* intoSector_;
    QLabel* records_;
    QPushButton* import_;
};

}  // namespace hexlane::ui
