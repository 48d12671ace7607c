#include "GenerateSystemsDialog.h"

#include "AccessKeys.h"

#include "DefineUniverse.h"
#include "GenerateSystems.h"
#include "DialogParts.h"
#include "Prompter.h"
#include "SortedNames.h"
#include "UiText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace hexlane::ui {

using namespace hexlane::rules;

namespace {

QComboBox* Combo(const char* name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace

TfGenerateSystems::TfGenerateSystems(Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      prompter_(prompter),
      sector_(Combo("rSector", this)),
      scope_(Combo("rScope", this)),
      rules_(Combo("rRules", this)),
      density_(Combo("rDensity", this)),
      seed_(new QLineEdit(this)),
      allegiance_(Combo("rAllegiance", this)),
      previewLabel_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Generate Systems"));
    rules_->addItems({QStringLiteral("Classic"), QStringLiteral("Modern")});
    density_->addItems({QStringLiteral("Rift"), QStringLiteral("Sparse"), QStringLiteral("Standard"),
                        QStringLiteral("Dense")});
    density_->setCurrentIndex(static_cast<int>(TDensity::Standard));
    seed_->setObjectName(QStringLiteral("rSeed"));
    // Seeds are whole numbers of up to 20 digits (64 bits).
    seed_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,20}")), seed_));
    previewLabel_->setObjectName(QStringLiteral("rPreview"));

    auto* newSeed = MakeButton(QStringLiteral("New Seed"), "rNewSeed", this);
    auto* seedRow = new QHBoxLayout;
    seedRow->addWidget(seed_, 1);
    seedRow->addWidget(newSeed);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Sector"), sector_);
    form->addRow(QStringLiteral("Generate In"), scope_);
    form->addRow(QStringLiteral("Rules"), rules_);
    form->addRow(QStringLiteral("Density"), density_);
    form->addRow(QStringLiteral("Seed"), seedRow);
    form->addRow(QStringLiteral("Allegiance"), allegiance_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("rOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("rCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { rOKClick(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(previewLabel_);
    layout->addWidget(buttons);

    // Tab follows the reading order.
    QWidget* const order[] = {sector_, scope_, rules_, density_, seed_, newSeed, allegiance_,
                              buttons->button(QDialogButtonBox::Ok), buttons->button(QDialogButtonBox::Cancel)};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);

    connect(newSeed, &QPushButton::clicked, this, [this] { rNewSeedClick(); });
    connect(sector_, &QComboBox::currentIndexChanged, this, [this] {
        FillScopes();
        UpdatePreview();
    });
    for (QComboBox* box : {scope_, density_})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { UpdatePreview(); });
    connect(seed_, &QLineEdit::textChanged, this, [this] { UpdatePreview(); });
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfGenerateSystems::Load(TUniverse& universe, TSector* sector, int subsectorX, int subsectorY) {
    universe_ = &universe;
    made_ = -1;
    sectors_ = universe.Sectors()->ChildrenOf<TSector>();
    {
        const QSignalBlocker block(sector_);
        sector_->clear();
        for (TSector* s : sectors_) sector_->addItem(FromMap(s->Name1));
        const auto at = std::find(sectors_.begin(), sectors_.end(), sector);
        sector_->setCurrentIndex(at == sectors_.end() ? (sectors_.empty() ? -1 : 0)
                                                      : static_cast<int>(at - sectors_.begin()));
    }
    FillScopes();
    if (subsectorX >= 1 && subsectorX <= 4 && subsectorY >= 1 && subsectorY <= 4) {
        const QSignalBlocker block(scope_);
        scope_->setCurrentIndex(1 + (subsectorY - 1) * 4 + (subsectorX - 1));
    }
    allegiance_->clear();
    allegiance_->addItem(QStringLiteral("(none)"));
    QStringList names;
    for (const TAllegiance* a : universe.Allegiances()->ChildrenOf<TAllegiance>()) names << FromMap(a->Name1);
    for (int i : SortedOrder(names)) allegiance_->addItem(names[i]);
    rNewSeedClick();  // also shows the preview
}

int TfGenerateSystems::Execute(TUniverse& universe, TSector* sector, int subsectorX, int subsectorY) {
    Load(universe, sector, subsectorX, subsectorY);
    return exec() == QDialog::Accepted ? made_ : -1;
}

void TfGenerateSystems::FillScopes() {
    const QSignalBlocker block(scope_);
    scope_->clear();
    scope_->addItem(QStringLiteral("Whole Sector"));
    // The subsectors across the rows, as the sector dialog's letters run.
    const TSector* sector = ChosenSector();
    for (int y = 1; y <= 4; ++y)
        for (int x = 1; x <= 4; ++x)
            scope_->addItem(QStringLiteral("Subsector %1,%2").arg(x).arg(y) +
                            (sector ? QStringLiteral(" - ") + FromMap(sector->SSName[static_cast<std::size_t>(
                                                                  TSector::SubsectorIndex(x, y))])
                                    : QString()));
}

TSector* TfGenerateSystems::ChosenSector() const {
    const int i = sector_->currentIndex();
    return i >= 0 && i < static_cast<int>(sectors_.size()) ? sectors_[static_cast<std::size_t>(i)] : nullptr;
}

bool TfGenerateSystems::ReadOptions(TGenerateOptions& options) const {
    bool ok = false;
    options.Seed = seed_->text().toULongLong(&ok);
    options.Rules = rules_->currentIndex() == 1 ? TRuleSet::Modern : TRuleSet::Classic;
    options.Density = static_cast<TDensity>(std::max(0, density_->currentIndex()));
    const int scope = scope_->currentIndex();
    options.SubsectorX = scope > 0 ? (scope - 1) % 4 + 1 : 0;
    options.SubsectorY = scope > 0 ? (scope - 1) / 4 + 1 : 0;
    options.Allegiance.clear();
    if (allegiance_->currentIndex() > 0) options.Allegiance = ToMap(allegiance_->currentText()).value_or(std::string());
    return ok;
}

void TfGenerateSystems::UpdatePreview() {
    TGenerateOptions options;
    const TSector* sector = ChosenSector();
    if (!sector || !ReadOptions(options)) {
        preview_ = 0;
        previewLabel_->setText(sector ? QStringLiteral("Enter a seed.") : QStringLiteral("The map has no sectors."));
        return;
    }
    preview_ = TSystemGenerator::Count(*sector, options);
    previewLabel_->setText(preview_ == 1 ? QStringLiteral("1 system will be made.")
                                         : QStringLiteral("%1 systems will be made.").arg(preview_));
}

void TfGenerateSystems::rNewSeedClick() {
    // Up to nine digits: short enough to note down and type again.
    seed_->setText(QString::number(QRandomGenerator::global()->bounded(1, 1000000000)));
    UpdatePreview();
}

bool TfGenerateSystems::rOKClick() {
    TGenerateOptions options;
    TSector* sector = ChosenSector();
    if (!sector) {
        prompter_.Information(QStringLiteral("The map has no sectors."));
        sector_->setFocus();
        return false;
    }
    if (!ReadOptions(options)) {
        prompter_.Information(QStringLiteral("The seed must be a whole number from 0 to 18446744073709551615."));
        seed_->setFocus();
        return false;
    }
    made_ = GenerateSystems(*universe_, *sector, options);
    accept();
    return true;
}

}  // namespace hexlane::ui
