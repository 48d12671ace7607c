#pragma once
// The allegiance dialog: the colour and hatch style in which the
// allegiance's systems are marked, the code by which sector files name it
// (one, two or four characters, unique among allegiances) and free notes.
// Changes the allegiance only on OK.

#include <QDialog>

#include <string>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class TAllegiance;
class TUniverse;

namespace hexlane::ui {

class Prompter;
class TColorSwatch;

class TfConfigureAllegiance : public QDialog {
    Q_OBJECT
public:
    explicit TfConfigureAllegiance(Prompter& prompter, QWidget* parent = nullptr);

    void Load(TUniverse& universe, TAllegiance& allegiance);
    // Refuses an import code that another allegiance already has, then one
    // that is not one, two or four characters long (message, focus on the code);
    // otherwise writes the allegiance, marks the map changed and accepts.
    bool rOKClick();
    // Load, then the modal dialog: 1 for OK, 0 for Cancel.
    int EditAllegiance(TUniverse& universe, TAllegiance& allegiance);

private:
    Prompter& prompter_;
    TUniverse* universe_ = nullptr;
    TAllegiance* allegiance_ = nullptr;
    // The notes as loaded and as first shown: untouched notes go back byte for byte.
    std::string loadedNotes_;
    QString shownNotes_;

    TColorSwatch* color_;
    QLineEdit* importCode_;
    QComboBox* hatchStyle_;
    QPlainTextEdit* notes_;
};

}  // namespace hexlane::ui
