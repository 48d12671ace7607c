#pragma once
// The alternate tech level table ("Define Alternate Tech Levels"): for each
// standard tech level 0 to 16 a value on the alternate scale and a free
// description. "Defaults" fills in the standard table; OK checks it and
// writes it into the universe.

#include <QDialog>

#include <array>

class QLineEdit;
class QSpinBox;
class TUniverse;

namespace hexlane::ui {

class Prompter;

class TfDefineAltTechLevels : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLevels = 17;

    explicit TfDefineAltTechLevels(Prompter& prompter, QWidget* parent = nullptr);

    // Shows the universe's table.
    void Load(TUniverse& universe);
    // The standard table in the controls; the universe is not touched.
    void rDefaultsClick();
    // Checks the table (message and focus on the first failure, dialog stays
    // open, false); otherwise writes it, marks the map changed and accepts.
    bool rOKClick();
    // Load, then the modal dialog: true for OK.
    bool Execute(TUniverse& universe);

private:
    Prompter& prompter_;
    TUniverse* universe_ = nullptr;
    std::array<QSpinBox*, kLevels> values_{};
    std::array<QLineEdit*, kLevels> descriptions_{};
};

}  // namespace hexlane::ui
