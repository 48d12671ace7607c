#include "EditSS.h"

#include "AccessKeys.h"

#include "DefineUniverse.h"
#include "EditSectorInfo.h"
#include "UiText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace hexlane::ui {

namespace {

QString TwoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

// Text that stays readable on a cell or legend field of this colour (judged
// by perceived brightness: pure blue is dark though its lightness is not).
QColor TextOn(const QColor& background) { return qGray(background.rgb()) < 128 ? Qt::white : Qt::black; }

QString ColourSheet(const char* type, const QColor& background) {
    return QStringLiteral("%1 { background-color: %2; color: %3; border: 1px solid #808080; padding: 2px; }")
        .arg(QLatin1String(type), background.name(), TextOn(background).name());
}

}  // namespace

TfEditSS::TfEditSS(Prompter& prompter, QWidget* parent)
    : QDialog(parent), sectorDialog_(new TfEditSectorInfo(prompter, this)) {
    setWindowTitle(QStringLiteral("Edit Sectors/Subsectors"));

    auto* grid = new QGridLayout;
    grid->setSpacing(1);
    for (int y = 1; y <= kRows; ++y) {
        for (int x = 1; x <= kColumns; ++x) {
            auto* button = new QPushButton(TwoDigits(x) + QLatin1Char(',') + TwoDigits(y), this);
            button->setObjectName(QLatin1Char('r') + TwoDigits(x) + TwoDigits(y));
            button->setAutoDefault(false);
            button->setFixedSize(44, 26);
            grid->addWidget(button, y - 1, x - 1);
            cells_[static_cast<std::size_t>(IndexOf(x, y))].Button = button;
            connect(button, &QPushButton::clicked, this, [this, x, y] { rCellClick(x, y); });
            button->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(button, &QWidget::customContextMenuRequested, this, [this, x, y, button](QPoint at) {
                if (QMenu* popup = CellPopup(x, y)) popup->exec(button->mapToGlobal(at));
            });
        }
    }

    auto* legend = new QGroupBox(QStringLiteral("Legend"), this);
    legend->setObjectName(QStringLiteral("rLegend"));
    auto* legendLayout = new QVBoxLayout(legend);
    const struct {
        const char* text;
        CellState state;
    } entries[] = {{"No Systems", CellState::NoSystems},
                   {"Excluded", CellState::Excluded},
                   {"Included", CellState::Included}};
    for (const auto& entry : entries) {
        auto* label = new QLabel(QString::fromLatin1(entry.text), legend);
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(ColourSheet("QLabel", StateColour(entry.state)));
        legendLayout->addWidget(label);
    }

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("rClose"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* side = new QVBoxLayout;
    side->addWidget(close);
    side->addSpacing(12);
    side->addWidget(legend);
    side->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(side);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FillGrid();
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfEditSS::Load(TUniverse& universe) {
    universe_ = &universe;
    FillGrid();
}

void TfEditSS::Execute(TUniverse& universe) {
    Load(universe);
    exec();
    // The grid's references are good only while it is shown.
    universe_ = nullptr;
    FillGrid();
}

QColor TfEditSS::StateColour(CellState state) const {
    switch (state) {
        case CellState::NoSystems: return Qt::white;
        case CellState::Excluded: return Qt::red;
        case CellState::Included: return Qt::blue;
        case CellState::Empty: break;
    }
    return palette().color(QPalette::Button);
}

void TfEditSS::Paint(TCell& cell) const {
    cell.Button->setStyleSheet(ColourSheet("QPushButton", StateColour(cell.State)));
    cell.Button->setToolTip(cell.Sector ? FromMap(cell.Sector->Name1) : QString());
}

void TfEditSS::FillGrid() {
    for (TCell& cell : cells_) {
        cell.Sector = nullptr;
        cell.State = CellState::Empty;
    }
    if (universe_) {
        if (TSectors* sectors = universe_->Sectors()) {
            // A later sector at an occupied position takes the cell over.
            for (TSector* sector : sectors->ChildrenOf<TSector>()) {
                const int x = sector->SectorCoordsX, y = sector->SectorCoordsY;
                if (x < 1 || x > kColumns || y < 1 || y > kRows) continue;
                TCell& cell = cells_[static_cast<std::size_t>(IndexOf(x, y))];
                cell.Sector = sector;
                cell.State = !sector->HasStars()           ? CellState::NoSystems
                             : sector->ExcludeFromDisplay() ? CellState::Excluded
                                                            : CellState::Included;
            }
        }
    }
    for (TCell& cell : cells_) Paint(cell);
}

void TfEditSS::rCellClick(int x, int y) {
    if (!universe_ || x < 1 || x > kColumns || y < 1 || y > kRows) return;
    if (TSector* sector = SectorAt(x, y)) {
        sectorDialog_->EditSector(*universe_, *sector);
        FillGrid();
        return;
    }
    TSectors* sectors = universe_->Sectors();
    if (!sectors) return;
    TSector* sector = sectors->Create<TSector>();
    sector->SectorCoordsX = x;
    sector->SectorCoordsY = y;
    sector->Name1 = "Sector Name";
    if (sectorDialog_->EditSector(*universe_, *sector) != 1 && !sectorDialog_->Deleted()) TManager::Destroy(sector);
    FillGrid();
}

QPushButton* TfEditSS::Cell(int x, int y) const {
    if (x < 1 || x > kColumns || y < 1 || y > kRows) return nullptr;
    return cells_[static_cast<std::size_t>(IndexOf(x, y))].Button;
}

TSector* TfEditSS::SectorAt(int x, int y) const {
    if (x < 1 || x > kColumns || y < 1 || y > kRows) return nullptr;
    return cells_[static_cast<std::size_t>(IndexOf(x, y))].Sector;
}

TfEditSS::CellState TfEditSS::StateAt(int x, int y) const {
    if (x < 1 || x > kColumns || y < 1 || y > kRows) return CellState::Empty;
    return cells_[static_cast<std::size_t>(IndexOf(x, y))].State;
}

QMenu* TfEditSS::CellPopup(int x, int y) {
    popupSector_ = SectorAt(x, y);
    if (!popupSector_ || !generateSystems_) return nullptr;
    if (!cellPopup_) {
        cellPopup_ = new QMenu(this);
        cellPopup_->setObjectName(QStringLiteral("rCellPopup"));
        QAction* generate = cellPopup_->addAction(QStringLiteral("Generate Systems..."));
        generate->setObjectName(QStringLiteral("rmGenerateSystems"));
        connect(generate, &QAction::triggered, this, [this] {
            if (!popupSector_) return;
            generateSystems_(*popupSector_);
            FillGrid();
        });
    }
    return cellPopup_;
}

}  // namespace hexlane::ui
