#pragma once
// PrintScopeDialog: what to print or export and how, asked before printing,
// the print preview and picture export. The part of the map: the whole map
// as displayed, the part in the view, one sector or one subsector (chosen
// from lists of the shown ones); and its pages: fitted to one page, or at a
// chosen hex size over as many pages as needed, with a margin, a title line
// and page numbers. The choices stay from one use to the next.

#include "MapPages.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace hexlane::ui {

enum class PrintScope { WholeMap, View, Sector, Subsector };

struct PrintChoice {
    PrintScope Scope = PrintScope::WholeMap;
    std::string Sector;     // the sector, or the subsector's sector (map text)
    std::string Subsector;  // the subsector (map text)
    render::PageSetup Setup;
};

class PrintScopeDialog : public QDialog {
    Q_OBJECT

public:
    explicit PrintScopeDialog(QWidget* parent = nullptr);

    // Fills the lists and the proposed title (the map's name) before showing.
    void Load(const std::vector<std::string>& sectors,
              const std::vector<std::pair<std::string, std::string>>& subsectors, const QString& mapTitle);
    // The choices as the controls stand.
    PrintChoice Choice() const;
    // The modal dialog under `title`; the choices on OK, nothing otherwise.
    std::optional<PrintChoice> Execute(const QString& title);

private:
    void UpdateEnabled();
    // The title line follows the chosen part (the map's, the sector's or the
    // subsector's name) until the user types a title of their own.
    void ProposeTitle();

    QRadioButton *whole_, *view_, *sector_, *subsector_, *fit_, *poster_;
    QComboBox *sectorList_, *subsectorList_;
    QSpinBox* hexSize_;
    QDoubleSpinBox* margin_;
    QCheckBox *titleLine_, *pageNumbers_;
    QLineEdit* titleText_;
    QString mapTitle_;
    bool titleTyped_ = false;
    std::vector<std::pair<std::string, std::string>> subsectors_;
    std::vector<std::string> sectors_;
};

}  // namespace hexlane::ui
