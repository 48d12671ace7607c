#include "FindSystem.h"

#include "AccessKeys.h"

#include "DefineUniverse.h"
#include "MapGeometry.h"
#include "Prompter.h"
#include "UiText.h"

#include <QCompleter>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

#include <algorithm>
#include <unordered_map>

namespace hexlane::ui {

SystemNameIndex::SystemNameIndex(const TUniverse& universe) {
    std::unordered_map<std::string, int> count;
    std::vector<TStar*> stars;
    if (const TSectors* sectors = universe.Sectors())
        for (const TSector* sector : sectors->ChildrenOf<TSector>())
            for (TStar* star : sector->ChildrenOf<TStar>()) {
                stars.push_back(star);
                ++count[star->Name1];
            }
    std::vector<Entry> entries;
    entries.reserve(stars.size());
    for (TStar* star : stars) {
        const QString name = FromMap(star->Name1);
        const QString foldedName = name.toCaseFolded();
        if (count[star->Name1] > 1) {
            const TSector* sector = star->Sector();
            const QString label = name + QStringLiteral(" (") + FromMap(sector ? sector->Name1 : std::string()) +
                                  ' ' + QString::fromStdString(render::StarHexNumber(*star, true)) + ')';
            entries.push_back({label, label.toCaseFolded(), foldedName, star});
        } else {
            entries.push_back({name, foldedName, foldedName, star});
        }
    }
    // Sorted through an order of indices: moving the entries themselves is dearer.
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return entries[a].Folded < entries[b].Folded; });
    entries_.reserve(entries.size());
    for (std::size_t i : order) entries_.push_back(std::move(entries[i]));
}

QStringList SystemNameIndex::Matches(const QString& text, int limit) const {
    QStringList found;
    const QString folded = text.trimmed().toCaseFolded();
    for (const Entry& entry : entries_) {
        if (found.size() >= limit) break;
        if (entry.Folded.contains(folded)) found.push_back(entry.Label);
    }
    return found;
}

TStar* SystemNameIndex::Find(const QString& text) const {
    const QString folded = text.trimmed().toCaseFolded();
    if (folded.isEmpty()) return nullptr;
    for (const Entry& entry : entries_)
        if (entry.Folded == folded) return entry.Star;
    for (const Entry& entry : entries_)
        if (entry.FoldedName == folded) return entry.Star;
    // Enter on a part of a name takes the first system the completion lists.
    for (const Entry& entry : entries_)
        if (entry.Folded.contains(folded)) return entry.Star;
    return nullptr;
}

TfFindSystem::TfFindSystem(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
    setObjectName(QStringLiteral("TfFindSystem"));
    setWindowTitle(QStringLiteral("Find System"));
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("rFindText"));
    field_->setMinimumWidth(260);
    field_->setClearButtonEnabled(true);
    auto* label = new QLabel(QStringLiteral("&System:"), this);
    label->setBuddy(field_);

    // The list is filtered here (substring, any case), not by the completer.
    model_ = new QStringListModel(this);
    completer_ = new QCompleter(model_, this);
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setMaxVisibleItems(12);
    field_->setCompleter(completer_);
    connect(field_, &QLineEdit::textEdited, this, &TfFindSystem::Refilter);
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), this, [this](const QString& text) {
        field_->setText(text);
        rFindClick();
    });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* find = buttons->addButton(QStringLiteral("&Find"), QDialogButtonBox::AcceptRole);
    find->setObjectName(QStringLiteral("rFind"));
    find->setDefault(true);
    buttons->addButton(QDialogButtonBox::Close)->setObjectName(QStringLiteral("rClose"));
    connect(find, &QPushButton::clicked, this, &TfFindSystem::rFindClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(label, field_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfFindSystem::Load(const TUniverse& universe) {
    index_ = SystemNameIndex(universe);
    field_->clear();
    model_->setStringList({});
    field_->setFocus();
}

void TfFindSystem::Refilter(const QString& text) {
    model_->setStringList(text.trimmed().isEmpty() ? QStringList() : index_.Matches(text, kMaxCompletions));
    if (model_->rowCount() > 0 && field_->isVisible()) completer_->complete();
}

QStringList TfFindSystem::Completions() const { return model_->stringList(); }

void TfFindSystem::rFindClick() {
    // Enter in the completion's popup both chooses and presses Find: the
    // second press finds the window already closed.
    if (!isVisible()) return;
    const QString text = field_->text();
    if (text.trimmed().isEmpty()) return;
    TStar* star = index_.Find(text);
    if (!star) {
        prompter_.Information(QStringLiteral("No system is named \"%1\".").arg(text.trimmed()));
        field_->setFocus();
        return;
    }
    completer_->popup()->hide();
    accept();
    if (locate_) locate_(*star);
}

}  // namespace hexlane::ui
