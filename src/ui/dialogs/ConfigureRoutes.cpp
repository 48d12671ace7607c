#include "ConfigureRoutes.h"

#include "AccessKeys.h"

#include "DefineUniverse.h"
#include "LineStyleControls.h"
#include "Prompter.h"
#include "SortedNames.h"
#include "UiText.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

#include <algorithm>

namespace hexlane::ui {

TfConfigureRoutes::TfConfigureRoutes(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter), model_(new QStringListModel(this)) {
    setWindowTitle(QStringLiteral("Configure Communication/Trade Leg"));

    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("rLegName"));
    auto* nameRow = new QFormLayout;
    nameRow->addRow(QStringLiteral("Leg Name"), name_);

    QWidget* startBox = MakeSide(start_, QStringLiteral("Start Leg"), "rStartBox", "rStartSearch", "rStartList");
    QWidget* endBox = MakeSide(end_, QStringLiteral("End Leg"), "rEndBox", "rEndSearch", "rEndList");
    auto* sides = new QHBoxLayout;
    sides->addWidget(startBox);
    sides->addWidget(endBox);

    override_ = new QCheckBox(QStringLiteral("Override Leg Properties"), this);
    override_->setObjectName(QStringLiteral("rOverride"));
    line_ = std::make_unique<TLineControls>(prompter_, QStringLiteral("Leg Line Properties"), this);
    line_->Box->setObjectName(QStringLiteral("rLineProperties"));
    line_->SetEnabled(false);

    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QBoxLayout* buttons = MakeOkCancelRow(this, ok, cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addLayout(sides, 1);
    layout->addWidget(override_);
    layout->addWidget(line_->Box);
    layout->addLayout(buttons);

    connect(override_, &QCheckBox::toggled, this, &TfConfigureRoutes::OverrideToggled);
    connect(ok, &QPushButton::clicked, this, &TfConfigureRoutes::rOKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(520, 520);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

TfConfigureRoutes::~TfConfigureRoutes() = default;

QWidget* TfConfigureRoutes::MakeSide(TSide& side, const QString& title, const char* boxName,
                                     const char* searchName, const char* listName) {
    auto* group = new QGroupBox(title, this);
    group->setObjectName(QString::fromLatin1(boxName));
    side.Search = new QLineEdit(group);
    side.Search->setObjectName(QString::fromLatin1(searchName));
    side.Search->setClearButtonEnabled(true);
    side.List = new QListView(group);
    side.List->setObjectName(QString::fromLatin1(listName));
    side.List->setModel(model_);
    side.List->setUniformItemSizes(true);
    side.List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    side.List->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* layout = new QVBoxLayout(group);
    layout->addWidget(side.Search);
    layout->addWidget(side.List, 1);

    // Only typing searches: a name copied in from the list must not move the
    // selection to another entry that begins the same way.
    QLineEdit* search = side.Search;
    connect(search, &QLineEdit::textEdited, this, [this, &side](const QString& text) { SearchTyped(side, text); });
    connect(side.List, &QListView::clicked, this,
            [search](const QModelIndex& index) { search->setText(index.data().toString()); });
    return group;
}

void TfConfigureRoutes::Load(TUniverse& universe, TRoute& route, TRouteLeg& leg) {
    universe_ = &universe;
    route_ = &route;
    leg_ = &leg;

    // Every system's name, sorted without regard to case; namesakes stay in map order.
    std::vector<std::string> names;
    universe.ForEachStar([&](const TStar& star) { names.push_back(star.Name1); });
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& n : names) texts.push_back(FromMap(n));
    const std::vector<int> order = SortedOrder(texts);
    QStringList sorted;
    sorted.reserve(texts.size());
    names_.clear();
    names_.reserve(names.size());
    for (int i : order) {
        sorted.push_back(texts[i]);
        names_.push_back(std::move(names[static_cast<std::size_t>(i)]));
    }
    model_->setStringList(sorted);

    name_->setText(FromMap(leg.Name1));
    for (TSide* side : {&start_, &end_}) {
        side->Search->clear();
        side->List->selectionModel()->clear();
    }

    if (leg.SStarName.empty() && leg.EStarName.empty()) {
        Select(start_, 0);
        Select(end_, 0);
    } else if (!universe.FindStar(leg.SStarName) || !universe.FindStar(leg.EStarName)) {
        prompter_.Information(QStringLiteral("Start Leg and/or End Leg no longer exist."));
    } else {
        Select(start_, RowOfName(leg.SStarName));
        Select(end_, RowOfName(leg.EStarName));
        start_.Search->setText(FromMap(leg.SStarName));
        end_.Search->setText(FromMap(leg.EStarName));
    }

    // The override is shown even when a system is missing, so that mending
    // the systems does not turn the leg's own line off unasked. A leg that
    // draws in its route's line starts from that line when the user overrides.
    override_->setChecked(leg.OverrideProperties);
    if (leg.OverrideProperties)
        line_->Show(leg.Color, leg.LineType, leg.LineThickness);
    else
        line_->Show(route.Color, route.LineType, route.LineThickness);
    OverrideToggled(leg.OverrideProperties);
    name_->setFocus();
}

bool TfConfigureRoutes::rOKClick() {
    if (!leg_ || !universe_) return false;
    if (name_->text().isEmpty()) {
        prompter_.Information(QStringLiteral("Please enter a name for the Leg"));
        name_->setFocus();
        return false;
    }
    const std::optional<std::string> name = ToMap(name_->text());
    if (!name) {
        prompter_.Error(NotStorableMessage());
        name_->setFocus();
        return false;
    }
    for (TSide* side : {&start_, &end_}) {
        if (SelectedRow(*side) < 0) {
            side->List->setFocus();
            return false;
        }
    }
    TStar* start = universe_->FindStar(names_[static_cast<std::size_t>(SelectedRow(start_))]);
    TStar* end = universe_->FindStar(names_[static_cast<std::size_t>(SelectedRow(end_))]);
    if (!start || !end) {
        prompter_.Information(QStringLiteral("Invalid pointer for Start/End Legs"));
        (start ? end_ : start_).List->setFocus();
        return false;
    }

    leg_->SStarName = start->Name1;
    leg_->EStarName = end->Name1;
    leg_->Name1 = *name;
    leg_->OverrideProperties = override_->isChecked();
    if (leg_->OverrideProperties) {
        leg_->Color = line_->Color->Value();
        leg_->LineType = static_cast<std::uint8_t>(line_->LineType->currentIndex());
        leg_->LineThickness = static_cast<std::uint8_t>(line_->Thickness->value());
    }
    universe_->MapDirty = true;
    MarkChanged(*universe_);
    accept();
    return true;
}

int TfConfigureRoutes::EditLeg(TUniverse& universe, TRoute& route, TRouteLeg& leg) {
    Load(universe, route, leg);
    return exec() == QDialog::Accepted ? 1 : 0;
}

void TfConfigureRoutes::SearchTyped(TSide& side, const QString& text) {
    if (text.isEmpty()) return;
    const QStringList& entries = model_->stringList();
    for (qsizetype row = 0; row < entries.size(); ++row) {
        if (entries[row].startsWith(text, Qt::CaseInsensitive)) {
            Select(side, static_cast<int>(row));
            return;
        }
    }
}

void TfConfigureRoutes::Select(TSide& side, int row) {
    if (row < 0 || row >= model_->rowCount()) return;
    const QModelIndex index = model_->index(row);
    side.List->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    side.List->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

int TfConfigureRoutes::SelectedRow(const TSide& side) const {
    const QModelIndexList selected = side.List->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

int TfConfigureRoutes::RowOfName(const std::string& name) const {
    const auto it = std::find(names_.begin(), names_.end(), name);
    return it == names_.end() ? -1 : static_cast<int>(it - names_.begin());
}

void TfConfigureRoutes::OverrideToggled(bool checked) { line_->SetEnabled(checked); }

}  // namespace hexlane::ui
