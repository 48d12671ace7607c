#pragma once
// PrintScopeDialog: what to print or export and how, asked before printing,
// the print preview and picture export. The part of the map: the whole map
// as displayed, the part in the view, one sector or one subsector (chosen
// from lists of the shown ones); its look (style, detail, legend); and its
// size: for paper (printing, PDF) fitted to one page or at a chosen hex size
// over as many pages as needed, with orientation, overlap, margin, title
// line and page numbers; for PNG and SVG pictures the pixels per hex and per
// inch. A line under the choices tells the pages (or pixels) and the hex's
// size in millimetres as the choices stand. The choices are remembered from
// one use to the next and between sessions.

#include "MapExport.h"
#include "MapPages.h"

#include <QDialog>
#include <QPageSize>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace hexlane::ui {

enum class PrintScope { WholeMap, View, Sector, Subsector };

struct PrintChoice {
    PrintScope Scope = PrintScope::WholeMap;
    std::string Sector;     // the sector, or the subsector's sector (map text)
    std::string Subsector;  // the subsector (map text)
    render::PageSetup Setup;       // HexSize is also a PNG's or SVG's pixels per hex
    double PixelsPerInch = 96;     // PNG and SVG
};

class PrintScopeDialog : public QDialog {
    Q_OBJECT

public:
    // The hexes of a chosen part of the map; nothing when it is not shown.
    using AreaFn = std::function<std::optional<QRectF>(const PrintChoice&)>;

    explicit PrintScopeDialog(QWidget* parent = nullptr);

    // Fills the lists and the proposed title (the map's name) before showing;
    // the remembered part is chosen again when its list still holds it.
    void Load(const std::vector<std::string>& sectors,
              const std::vector<std::pair<std::string, std::string>>& subsectors, const QString& mapTitle);
    // What is made: print or PDF (pages), or a PNG or SVG picture (pixels).
    void SetFormat(render::PictureFormat format);
    // How the line of pages and hex size measures a choice: the part's
    // hexes and the paper, and the map (a fitted page makes room for its
    // legend).
    void SetMeasure(AreaFn areaOf, const QPageSize& paper, const TUniverse* universe = nullptr);
    // The choices as the controls stand.
    PrintChoice Choice() const;
    // The line of pages (or pixels) and hex size as it stands.
    QString PlanText() const;
    // The modal dialog under `title`; the choices on OK (and remembered),
    // nothing otherwise.
    std::optional<PrintChoice> Execute(const QString& title);

private:
    void UpdateEnabled();
    void UpdatePlan();
    // The title line follows the chosen part (the map's, the sector's or the
    // subsector's name) until the user types a title of their own.
    void ProposeTitle();
    void Restore();
    void Remember() const;
    bool PaperFormat() const;

    QRadioButton *whole_, *view_, *sector_, *subsector_, *fit_, *poster_;
    QComboBox *sectorList_, *subsectorList_, *style_, *detail_, *orientation_;
    QSpinBox *hexSize_, *pixelsPerInch_;
    QDoubleSpinBox *margin_, *overlap_;
    QCheckBox *titleLine_, *pageNumbers_, *legend_;
    QLineEdit* titleText_;
    QLabel* plan_;
    QString mapTitle_;
    bool titleTyped_ = false;
    render::PictureFormat format_ = render::PictureFormat::Print;
    AreaFn areaOf_;
    const TUniverse* universe_ = nullptr;
    QPageSize paper_{QPageSize::A4};
    std::vector<std::pair<std::string, std::string>> subsectors_;
    std::vector<std::string> sectors_;
};

}  // namespace hexlane::ui
