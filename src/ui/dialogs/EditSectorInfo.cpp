#include "EditSectorInfo.h"

#include "AccessKeys.h"

#include "DefineUniverse.h"
#include "LineStyleControls.h"
#include "Prompter.h"
#include "UiText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hexlane::ui {

namespace {

QString TwoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

}  // namespace

QString TfEditSectorInfo::DefaultSubsectorName(int column, int row) {
    return QString(QLatin1Char(static_cast<char>('a' + (row - 1) * 4 + (column - 1))));
}

TfEditSectorInfo::TfEditSectorInfo(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
    setWindowTitle(QStringLiteral("Edit Sector Information"));

    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("rSectorName"));
    auto* nameLabel = new QLabel(QStringLiteral("Sector Name"), this);
    nameLabel->setBuddy(name_);
    x_ = new QLabel(this);
    x_->setObjectName(QStringLiteral("rSectorX"));
    y_ = new QLabel(this);
    y_->setObjectName(QStringLiteral("rSectorY"));
    exclude_ = new QCheckBox(QStringLiteral("Exclude From Display"), this);
    exclude_->setObjectName(QStringLiteral("rExcludeFromDisplay"));

    auto* top = new QGridLayout;
    top->addWidget(nameLabel, 0, 0);
    top->addWidget(name_, 0, 1, 1, 3);
    top->addWidget(x_, 1, 1);
    top->addWidget(y_, 1, 2);
    top->addWidget(exclude_, 2, 1, 1, 3);

    // The subsector edits stand as the subsectors lie in the sector: column c
    // left to right, row r top to bottom. Each is named for its property
    // digits (rSS0203 edits the subsector in column 2, row 3).
    auto* group = new QGroupBox(QStringLiteral("Subsector Names"), this);
    auto* grid = new QGridLayout(group);
    for (int c = 1; c <= 4; ++c) {
        for (int r = 1; r <= 4; ++r) {
            auto* edit = new QLineEdit(group);
            edit->setObjectName(QStringLiteral("rSS") + TwoDigits(c) + TwoDigits(r));
            auto* label = new QLabel(QStringLiteral("Subsector %1,%2").arg(c).arg(r), group);
            label->setBuddy(edit);
            grid->addWidget(label, (r - 1) * 2, c - 1);
            grid->addWidget(edit, (r - 1) * 2 + 1, c - 1);
            subsectors_[static_cast<std::size_t>((c - 1) * 4 + (r - 1))] = edit;
        }
    }

    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QBoxLayout* buttons = MakeOkCancelRow(this, ok, cancel);
    auto* remove = new QPushButton(QStringLiteral("Delete"), this);
    remove->setObjectName(QStringLiteral("rDelete"));
    remove->setAutoDefault(false);
    buttons->addWidget(remove);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Tab goes through the subsector edits row by row, as they are read.
    setTabOrder(name_, exclude_);
    QWidget* previous = exclude_;
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t c = 0; c < 4; ++c) {
            setTabOrder(previous, subsectors_[c * 4 + r]);
            previous = subsectors_[c * 4 + r];
        }
    }
    for (QWidget* next : std::initializer_list<QWidget*>{ok, cancel, remove}) {
        setTabOrder(previous, next);
        previous = next;
    }

    connect(ok, &QPushButton::clicked, this, &TfEditSectorInfo::rOKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(remove, &QPushButton::clicked, this, &TfEditSectorInfo::rDeleteClick);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfEditSectorInfo::Load(TUniverse& universe, TSector& sector) {
    universe_ = &universe;
    sector_ = &sector;
    deleted_ = false;
    name_->setText(FromMap(sector.Name1));
    x_->setText(QStringLiteral("X = ") + QString::number(sector.SectorCoordsX));
    y_->setText(QStringLiteral("Y = ") + QString::number(sector.SectorCoordsY));
    exclude_->setChecked(sector.ExcludeFromDisplay());
    for (int c = 1; c <= 4; ++c) {
        for (int r = 1; r <= 4; ++r) {
            const std::size_t i = static_cast<std::size_t>(TSector::SubsectorIndex(c, r));
            const QString name = FromMap(sector.SSName[i]);
            subsectors_[i]->setText(name.isEmpty() ? DefaultSubsectorName(c, r) : name);
        }
    }
    name_->setFocus();
}

bool TfEditSectorInfo::rOKClick() {
    if (!universe_ || !sector_) return false;

    std::vector<QLineEdit*> edits{name_};
    edits.insert(edits.end(), subsectors_.begin(), subsectors_.end());
    for (QLineEdit* edit : edits) {
        if (edit->text().isEmpty()) {
            prompter_.Information(QStringLiteral("All fields must be completed"));
            edit->setFocus();
            return false;
        }
    }
    for (std::size_t i = 0; i < subsectors_.size(); ++i) {
        for (std::size_t j = i + 1; j < subsectors_.size(); ++j) {
            if (subsectors_[i]->text() == subsectors_[j]->text()) {
                prompter_.Information(QStringLiteral("All fields must be Unique"));
                subsectors_[j]->setFocus();
                return false;
            }
        }
    }
    std::vector<std::string> texts;
    for (QLineEdit* edit : edits) {
        std::optional<std::string> text = ToMap(edit->text());
        if (!text) {
            prompter_.Error(NotStorableMessage());
            edit->setFocus();
            return false;
        }
        texts.push_back(std::move(*text));
    }

    // Each system keeps its place: note the subsector it lies in under the
    // old names, then give it that subsector's new name.
    std::vector<std::pair<TStar*, std::size_t>> placed;
    for (TStar* star : sector_->Stars())
        if (const int k = sector_->FindSubsector(star->SubSectorName); k > 0)
            placed.emplace_back(star, static_cast<std::size_t>(k - 1));

    sector_->Name1 = texts[0];
    sector_->SetExcludeFromDisplay(exclude_->isChecked());
    for (std::size_t i = 0; i < sector_->SSName.size(); ++i) sector_->SSName[i] = texts[i + 1];
    for (const auto& [star, k] : placed) star->SubSectorName = sector_->SSName[k];

    universe_->MapDirty = true;
    MarkChanged(*universe_);
    accept();
    return true;
}

void TfEditSectorInfo::rDeleteClick() {
    if (!universe_ || !sector_) return;
    if (prompter_.YesNo(QStringLiteral("Delete Sector from the Universe?"), Look::Question)) {
        if (!sector_->HasStars() ||
            prompter_.YesNo(QStringLiteral("There are still systems in this sector.\n\nIf this sector is deleted, "
                                           "then all systems \nwill be deleted, also.\n\nContinue with deletion?"),
                            Look::Warning)) {
            TManager::Destroy(sector_);
            sector_ = nullptr;
            deleted_ = true;
        }
    }
    universe_->MapDirty = true;
    MarkChanged(*universe_);
    reject();
}

int TfEditSectorInfo::EditSector(TUniverse& universe, TSector& sector) {
    Load(universe, sector);
    return exec() == QDialog::Accepted ? 1 : 0;
}

}  // namespace hexlane::ui
