#pragma once
// The Star System Editor: the one dialog in which a star system is created or
// changed. Load shows a record; OK validates the position, moves the record
// into the chosen sector (as a copy: the record passed in is destroyed) and
// writes every field; Cancel undoes what the world map and psionic institute
// sub-dialogs wrote directly into the record.

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TSector;
class TStar;
class TUniverse;

namespace hexlane::ui {

class Prompter;

class TfSysEdit : public QDialog {
    Q_OBJECT
public:
    explicit TfSysEdit(Prompter& prompter, QWidget* parent = nullptr);

    // The world map dialog and the psionic institute generator opened by the
    // "Map" and "Psi Institutes" buttons. Each may change MapIndex, Skewing,
    // UAP and the four psionic ratings of the star directly.
    void SetWorldMapDialog(std::function<void(TStar&)> open) { worldMapDialog_ = std::move(open); }
    void SetPsiDialog(std::function<void(TStar&)> open) { psiDialog_ = std::move(open); }

    // Shows the star (of `universe`) in the controls and remembers the fields
    // the sub-dialogs may change.
    void Load(TUniverse& universe, TStar* star);
    // Validates; on a failure shows the message, focuses the offending control
    // and returns false with the dialog still open. Otherwise moves and writes
    // the record and accepts.
    bool rOKClick();
    // Restores the sub-dialog fields and rejects.
    void rCancelClick();
    // Load and exec: 1 for OK, 0 for Cancel, -1 (not shown) for a null star.
    int EditStar(TUniverse& universe, TStar* star);
    // After OK: the record now holding the star (the one passed in is gone).
    TStar* Result() const { return result_; }

    // Escape and the window's close button cancel like the Cancel button.
    void reject() override;

private:
    void BuildControls();
    void BuildLayout();
    void FillSubsectors();
    // Code label, trade code label and alternate tech level label from the lists.
    void RefreshCodes();
    void UpdatePsiButton();
    QString AssembledCode() const;
    static QString TradeCodes(const QString& code);
    TSector* SelectedSector() const;
    // Writes the remembered sub-dialog fields back into the record (if any).
    void RestoreSubDialogFields();

    Prompter& prompter_;
    std::function<void(TStar&)> worldMapDialog_;
    std::function<void(TStar&)> psiDialog_;

    TUniverse* universe_ = nullptr;
    TStar* star_ = nullptr;
    TStar* result_ = nullptr;
    bool loading_ = false;

    // The values of the sub-dialog fields when the dialog opened.
    struct SubDialogFields {
        std::int32_t MapIndex = 0, Skewing = 0, UAP = 0;
        std::string ComPsiRating, EduPsiRating, GovPsiRating, SecPsiRating;
    } saved_;

    // Texts as loaded, so that untouched texts are written back byte for byte.
    QString shownName_, shownNotes_, shownSysData_;
    std::string loadedName_, loadedNotes_, loadedSysData_;

    // Sectors in the order of the sector list.
    std::vector<TSector*> sectors_;

    QLineEdit* name_ = nullptr;
    QLabel* upc_ = nullptr;
    QLabel* tradeCodes_ = nullptr;
    QComboBox* size_ = nullptr;
    QComboBox* atmosphere_ = nullptr;
    QComboBox* hydrographics_ = nullptr;
    QComboBox* population_ = nullptr;
    QComboBox* government_ = nullptr;
    QComboBox* lawLevel_ = nullptr;
    QComboBox* techLevel_ = nullptr;
    QComboBox* starport_ = nullptr;
    QComboBox* spaceport_ = nullptr;
    QLabel* altTLCaption_ = nullptr;
    QLabel* altTL_ = nullptr;
    std::array<QCheckBox*, 18> contents_{};
    QCheckBox* psiInstitute_ = nullptr;
    QLineEdit* column_ = nullptr;
    QLineEdit* row_ = nullptr;
    QComboBox* sector_ = nullptr;
    QComboBox* subsector_ = nullptr;
    QComboBox* allegiance_ = nullptr;
    QCheckBox* capital_ = nullptr;
    QComboBox* travelCode_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
    QCheckBox* visited_ = nullptr;
    QCheckBox* userSurveyed_ = nullptr;
    QPlainTextEdit* sysData_ = nullptr;
    QPushButton* map_ = nullptr;
    QPushButton* psiInstitutes_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace hexlane::ui
