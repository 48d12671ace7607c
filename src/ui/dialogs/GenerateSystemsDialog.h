#pragma once
// "Generate Systems": fills the empty hexes of a sector, or of one of its
// subsectors, with systems rolled by a rule set. The user picks the sector,
// the part of it, the rule set, the density, the seed (a new one is offered
// each time) and the allegiance to give the systems (none by default); the
// dialog shows how many systems the choice will make before OK.

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class TSector;
class TUniverse;

namespace hexlane::rules {
struct TGenerateOptions;
}

namespace hexlane::ui {

class Prompter;

class TfGenerateSystems : public QDialog {
    Q_OBJECT
public:
    explicit TfGenerateSystems(Prompter& prompter, QWidget* parent = nullptr);

    // Fills the controls from the universe with `sector` chosen (the first
    // sector when null) and its subsector x, y (0, 0: the whole sector), and
    // offers a new seed.
    void Load(TUniverse& universe, TSector* sector = nullptr, int subsectorX = 0, int subsectorY = 0);
    // Load, then the modal dialog: the number of systems made on OK, -1 on Cancel.
    int Execute(TUniverse& universe, TSector* sector = nullptr, int subsectorX = 0, int subsectorY = 0);

    // What the controls say now (false: the seed is not a number).
    bool ReadOptions(rules::TGenerateOptions& options) const;
    TSector* ChosenSector() const;
    // Recounts the systems the choice makes and shows it.
    void UpdatePreview();
    int PreviewCount() const { return preview_; }
    // A new random seed in the seed field.
    void rNewSeedClick();
    // Checks the seed (message and focus when it is not a number, dialog
    // stays open, false); otherwise generates, marks the map changed and accepts.
    bool rOKClick();
    int Made() const { return made_; }

private:
    void FillScopes();

    Prompter& prompter_;
    TUniverse* universe_ = nullptr;
    std::vector<TSector*> sectors_;
    QComboBox* sector_;
    QComboBox* scope_;
    QComboBox* rules_;
    QComboBox* density_;
    QLineEdit* seed_;
    QComboBox* allegiance_;
    QLabel* previewLabel_;
    int preview_ = 0;
    int made_ = -1;
};

}  // namespace hexlane::ui
