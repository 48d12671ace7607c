#include "CheckRulesDialog.h"

#include "AccessKeys.h"

#include "DefineUniverse.h"
#include "RuleCheck.h"
#include "RuleTables.h"
#include "UiText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace hexlane::ui {

TfCheckRules::TfCheckRules(QWidget* parent) : QDialog(parent), rules_(new QComboBox(this)), sector_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Check Against Rules"));
    rules_->setObjectName(QStringLiteral("rRules"));
    rules_->addItems({QStringLiteral("Classic"), QStringLiteral("Modern")});
    sector_->setObjectName(QStringLiteral("rSector"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Rules"), rules_);
    form->addRow(QStringLiteral("Sector"), sector_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("rOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("rCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfCheckRules::Load(const TUniverse& universe) {
    sectors_.clear();
    sector_->clear();
    sector_->addItem(QStringLiteral("(all sectors)"));
    for (const TSector* s : universe.Sectors()->ChildrenOf<TSector>()) {
        sectors_.push_back(s);
        sector_->addItem(FromMap(s->Name1));
    }
}

bool TfCheckRules::Execute(const TUniverse& universe) {
    Load(universe);
    return exec() == QDialog::Accepted;
}

rules::TRuleSet TfCheckRules::RuleSet() const {
    return rules_->currentIndex() == 1 ? rules::TRuleSet::Modern : rules::TRuleSet::Classic;
}

const TSector* TfCheckRules::Sector() const {
    const int i = sector_->currentIndex() - 1;
    return i >= 0 && i < static_cast<int>(sectors_.size()) ? sectors_[static_cast<std::size_t>(i)] : nullptr;
}

std::vector<std::string> TfCheckRules::Check(const TUniverse& universe) const {
    std::vector<std::string> lines;
    for (const rules::TRuleFinding& f : rules::CheckAgainstRules(universe, RuleSet(), Sector()))
        lines.push_back(f.Line());
    return lines;
}

}  // namespace hexlane::ui
