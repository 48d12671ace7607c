#include "Query.h"

#include "AccessKeys.h"

#include "Activity.h"
#include "DefineUniverse.h"
#include "DialogParts.h"
#include "ListClicks.h"
#include "Prompter.h"
#include "SortedNames.h"
#include "UiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>

namespace hexlane::ui {

namespace {

// The map name of a list entry travels with it, so look-ups compare the
// map's own bytes.
constexpr int kNameRole = Qt::UserRole;

QListWidget* ScopeList(QWidget* parent, const char* objectName) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(objectName));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

std::string NameOf(const QListWidgetItem* item) { return item->data(kNameRole).toByteArray().toStdString(); }

QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts.push_back(list->item(row)->text());
    return texts;
}

std::vector<std::string> Names(const QListWidget* list) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(list->count()));
    for (int row = 0; row < list->count(); ++row) names.push_back(NameOf(list->item(row)));
    return names;
}

QListWidgetItem* MakeItem(const std::string& name) {
    auto* item = new QListWidgetItem(FromMap(name));
    item->setData(kNameRole, QByteArray::fromStdString(name));
    return item;
}

// Puts an entry into a sorted list at its place.
void AddSorted(QListWidget* list, QListWidgetItem* item) {
    list->insertItem(SortedInsertPosition(Texts(list), item->text()), item);
}

void FillSorted(QListWidget* list, const std::vector<std::string>& names) {
    list->clear();
    QStringList texts;
    for (const std::string& name : names) texts.push_back(FromMap(name));
    for (int i : SortedOrder(texts)) list->addItem(MakeItem(names[static_cast<std::size_t>(i)]));
}

// Moves the selected entry of `from` (if any) into `to`.
void MoveSelected(QListWidget* from, QListWidget* to) {
    const QList<QListWidgetItem*> selected = from->selectedItems();
    if (selected.isEmpty()) return;
    AddSorted(to, from->takeItem(from->row(selected.first())));
}

void MoveAll(QListWidget* from, QListWidget* to) {
    while (from->count() > 0) AddSorted(to, from->takeItem(0));
}

}  // namespace

TfQuery::TfQuery(Prompter& prompter, Activity* activity, QWidget* parent)
    : QDialog(parent), prompter_(prompter), activity_(activity) {
    setWindowTitle(QStringLiteral("Query Survey Chart"));

    QWidget* formula = MakeFormulaArea();
    QWidget* scope = MakeScopeArea();

    visibleOnly_ = new QCheckBox(QStringLiteral("Visble Systems Only"), this);
    visibleOnly_->setObjectName(QStringLiteral("rVisibleOnly"));

    query_ = new QPushButton(QStringLiteral("Query"), this);
    query_->setObjectName(QStringLiteral("rQuery"));
    query_->setDefault(true);
    QPushButton* close = MakeButton(QStringLiteral("Close"), "rClose", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(visibleOnly_);
    buttons->addStretch();
    buttons->addWidget(query_);
    buttons->addWidget(close);

    // What the last query left on the map, so it can be read while the
    // dialog covers part of the map.
    result_ = new QLabel(this);
    result_->setObjectName(QStringLiteral("rQueryResult"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(formula);
    layout->addWidget(scope, 1);
    layout->addWidget(result_);
    layout->addLayout(buttons);

    connect(query_, &QPushButton::clicked, this, &TfQuery::rQueryClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    SetSubsectorControlsEnabled(false);
    resize(640, 560);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

TfQuery::~TfQuery() = default;

QWidget* TfQuery::MakeFormulaArea() {
    auto* area = new QWidget(this);

    // Several lines tall so that long formulas stay readable; Enter runs the
    // query instead of breaking the line.
    text_ = new QPlainTextEdit(area);
    text_->setObjectName(QStringLiteral("rQueryText"));
    text_->setTabChangesFocus(true);
    text_->installEventFilter(this);
    text_->setFixedHeight(text_->fontMetrics().lineSpacing() * 4 + 12);
    QPushButton* clear = MakeButton(QStringLiteral("Clear"), "rClear", area);

    variable_ = new QComboBox(area);
    variable_->setObjectName(QStringLiteral("rVariable"));
    for (const char* name : QueryChooserOrder) variable_->addItem(QString::fromLatin1(name));
    variable_->setCurrentIndex(-1);
    QPushButton* add = MakeButton(QStringLiteral("Add Variable"), "rAddVariable", area);
    help_ = new QLabel(area);
    help_->setObjectName(QStringLiteral("rHelp"));

    // The tokens, each appended as it reads; the function buttons explain
    // their arguments in their hints.
    const struct {
        const char* objectName;
        const char* caption;
        const char* hint;
    } tokens[] = {
        {"rOpenBracket", "(", nullptr},
        {"rCloseBracket", ")", nullptr},
        {"rLess", "<", nullptr},
        {"rGreater", ">", nullptr},
        {"rEqual", "=", nullptr},
        {"rGreaterEqual", ">=", nullptr},
        {"rLessEqual", "<=", nullptr},
        {"rNotEqual", "<>", nullptr},
        {"rPlus", "+", nullptr},
        {"rMinus", "-", nullptr},
        {"rComma", ",", nullptr},
        {"rMin", "MIN", "Minimum of all included Arguments - MIN( 1,2,3 ) = 1"},
        {"rMax", "MAX", "Maximum of all included Arguments - MAX( 1,2,3 ) = 3"},
        {"rIif", "IIF", "IIF(X, Y, Z) : If X <> 0 return Y; otherwise return Z"},
        {"rAnd", "AND", "AND( 1,0,1 ) = 0 - Unlimited Arguments"},
        {"rOr", "OR", "OR( 1,0,0 ) = 1 - Unlimited Arguments"},
        {"rNot", "NOT", "NOT(X) : If X = 0 return 1; otherwise return 0"},
    };
    auto* tokenGrid = new QGridLayout;
    int column = 0;
    for (const auto& t : tokens) {
        const QString caption = QString::fromLatin1(t.caption);
        QPushButton* button = MakeButton(caption, t.objectName, area);
        if (t.hint) button->setToolTip(QString::fromLatin1(t.hint));
        connect(button, &QPushButton::clicked, this,
                [this, caption] { SetQueryText(text_->toPlainText() + caption); });
        tokenGrid->addWidget(button, column / 11, column % 11);
        ++column;
    }

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(text_, 1);
    textRow->addWidget(clear, 0, Qt::AlignTop);
    auto* variableRow = new QHBoxLayout;
    variableRow->addWidget(variable_, 1);
    variableRow->addWidget(add);
    variableRow->addWidget(help_, 1);

    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(textRow);
    layout->addLayout(variableRow);
    layout->addLayout(tokenGrid);

    connect(clear, &QPushButton::clicked, this, &TfQuery::rClearClick);
    connect(add, &QPushButton::clicked, this, &TfQuery::rAddVariableClick);
    connect(variable_, &QComboBox::currentIndexChanged, this, &TfQuery::VariableChosen);
    return area;
}

QWidget* TfQuery::MakeScopeArea() {
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("rScope"));

    sectorsToQuery_ = ScopeList(group, "rSectorsToQuery");
    availableSectors_ = ScopeList(group, "rAvailableSectors");
    subsectorsToQuery_ = ScopeList(group, "rSubsectorsToQuery");
    availableSubsectors_ = ScopeList(group, "rAvailableSubsectors");

    QPushButton* sectorOut = MakeButton(QStringLiteral(">"), "rSectorOut", group);
    QPushButton* sectorIn = MakeButton(QStringLiteral("<"), "rSectorIn", group);
    QPushButton* sectorAllOut = MakeButton(QStringLiteral(">>"), "rSectorAllOut", group);
    QPushButton* sectorAllIn = MakeButton(QStringLiteral("<<"), "rSectorAllIn", group);
    QPushButton* subsectorOut = MakeButton(QStringLiteral(">"), "rSubsectorOut", group);
    QPushButton* subsectorIn = MakeButton(QStringLiteral("<"), "rSubsectorIn", group);
    QPushButton* subsectorAllOut = MakeButton(QStringLiteral(">>"), "rSubsectorAllOut", group);
    QPushButton* subsectorAllIn = MakeButton(QStringLiteral("<<"), "rSubsectorAllIn", group);

    auto label = [group](const char* objectName, const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString::fromLatin1(text), group);
        l->setObjectName(QString::fromLatin1(objectName));
        l->setBuddy(buddy);
        return l;
    };
    QLabel* subsectorsLabel = label("rSubsectorsToQueryLabel", "Subsectors to Query", subsectorsToQuery_);
    QLabel* availableSubsectorsLabel =
        label("rAvailableSubsectorsLabel", "Available Subsectors", availableSubsectors_);
    auto* note = new QLabel(QStringLiteral("Subsectors can only be included in the Query if there is currently only "
                                           "one (1) sector included in the Query."),
                            group);
    note->setObjectName(QStringLiteral("rNote"));
    note->setWordWrap(true);

    auto moveButtons = [](std::initializer_list<QPushButton*> buttons) {
        auto* column = new QVBoxLayout;
        column->addStretch();
        for (QPushButton* b : buttons) column->addWidget(b);
        column->addStretch();
        return column;
    };

    auto* grid = new QGridLayout(group);
    grid->addWidget(label("rSectorsToQueryLabel", "Sectors to Query", sectorsToQuery_), 0, 0);
    grid->addWidget(label("rAvailableSectorsLabel", "Available Sectors", availableSectors_), 0, 2);
    grid->addWidget(sectorsToQuery_, 1, 0);
    grid->addLayout(moveButtons({sectorOut, sectorIn, sectorAllOut, sectorAllIn}), 1, 1);
    grid->addWidget(availableSectors_, 1, 2);
    grid->addWidget(subsectorsLabel, 2, 0);
    grid->addWidget(availableSubsectorsLabel, 2, 2);
    grid->addWidget(subsectorsToQuery_, 3, 0);
    grid->addLayout(moveButtons({subsectorOut, subsectorIn, subsectorAllOut, subsectorAllIn}), 3, 1);
    grid->addWidget(availableSubsectors_, 3, 2);
    grid->addWidget(note, 4, 0, 1, 3);

    // Tab goes across each row: the chosen list, its move buttons, the other list.
    const std::initializer_list<QWidget*> order = {
        sectorsToQuery_,    sectorOut,    sectorIn,    sectorAllOut,    sectorAllIn,    availableSectors_,
        subsectorsToQuery_, subsectorOut, subsectorIn, subsectorAllOut, subsectorAllIn, availableSubsectors_};
    for (auto it = order.begin() + 1; it != order.end(); ++it) setTabOrder(*(it - 1), *it);

    subsectorControls_ = {subsectorsToQuery_, availableSubsectors_, subsectorOut, subsectorIn,
                          subsectorAllOut,    subsectorAllIn,       subsectorsLabel, availableSubsectorsLabel};

    auto sectorMove = [this](auto move) {
        return [this, move] {
            filling_ = true;
            move();
            filling_ = false;
            SubsectorRefresh();
        };
    };
    connect(sectorOut, &QPushButton::clicked, this,
            sectorMove([this] { MoveSelected(sectorsToQuery_, availableSectors_); }));
    connect(sectorIn, &QPushButton::clicked, this,
            sectorMove([this] { MoveSelected(availableSectors_, sectorsToQuery_); }));
    connect(sectorAllOut, &QPushButton::clicked, this,
            sectorMove([this] { MoveAll(sectorsToQuery_, availableSectors_); }));
    connect(sectorAllIn, &QPushButton::clicked, this,
            sectorMove([this] { MoveAll(availableSectors_, sectorsToQuery_); }));
    connect(subsectorOut, &QPushButton::clicked, this,
            [this] { MoveSelected(subsectorsToQuery_, availableSubsectors_); });
    connect(subsectorIn, &QPushButton::clicked, this,
            [this] { MoveSelected(availableSubsectors_, subsectorsToQuery_); });
    connect(subsectorAllOut, &QPushButton::clicked, this,
            [this] { MoveAll(subsectorsToQuery_, availableSubsectors_); });
    connect(subsectorAllIn, &QPushButton::clicked, this,
            [this] { MoveAll(availableSubsectors_, subsectorsToQuery_); });

    OnEntryChosen(
        sectorsToQuery_, [this] { return filling_; },
        [this](const QModelIndex& index) { SectorChosen(sectorsToQuery_->item(index.row())); });
    return group;
}

void TfQuery::Load(TUniverse& universe) {
    universe_ = &universe;
    changed_ = false;
    filling_ = true;
    std::vector<std::string> sectors;
    if (TSectors* all = universe.Sectors())
        for (const TSector* s : all->ChildrenOf<TSector>()) sectors.push_back(s->Name1);
    FillSorted(sectorsToQuery_, sectors);
    availableSectors_->clear();
    filling_ = false;
    // The subsector controls follow the new scope at once: with a map of one
    // sector its subsectors are in the query from the start.
    SubsectorRefresh();
}

bool TfQuery::Execute(TUniverse& universe) {
    Load(universe);
    result_->clear();
    // Over the right-hand part of the window, leaving the tree and the left
    // of the map in view.
    if (QWidget* window = parentWidget() ? parentWidget()->window() : nullptr) {
        const QRect frame = window->geometry();
        move(std::max(frame.left(), frame.right() - width()), frame.top() + 40);
    }
    text_->setFocus();
    exec();
    return changed_;
}

void TfQuery::SetQueryText(const QString& text) {
    text_->setPlainText(text);
    text_->moveCursor(QTextCursor::End);
}

void TfQuery::VariableChosen(int index) {
    if (index >= 0) help_->setText(QString::fromLatin1(QueryHelpText(index)));
}

void TfQuery::rAddVariableClick() {
    if (variable_->currentIndex() < 0) return;
    const QString text = text_->toPlainText();
    const QString name = variable_->currentText();
    SetQueryText(text.isEmpty() ? name : text + QLatin1Char(' ') + name);
}

void TfQuery::rClearClick() { text_->clear(); }

bool TfQuery::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            query_->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfQuery::SectorChosen(QListWidgetItem* item) {
    if (!universe_ || !item) return;
    const TSector* sector = universe_->FindSector(NameOf(item));
    if (!sector) {
        prompter_.Information(QStringLiteral("Invalid Sector Pointer"));
        return;
    }
    FillSubsectorsOf(*sector);
}

void TfQuery::FillSubsectorsOf(const TSector& sector) {
    availableSubsectors_->clear();
    FillSorted(subsectorsToQuery_, std::vector<std::string>(sector.SSName.begin(), sector.SSName.end()));
}

void TfQuery::SubsectorRefresh() {
    subsectorsToQuery_->clear();
    availableSubsectors_->clear();
    const bool oneSector = sectorsToQuery_->count() == 1;
    SetSubsectorControlsEnabled(oneSector);
    // A scope of one sector starts with all of its subsectors, as a click on
    // its entry gives; an empty list would let no system match.
    if (oneSector && universe_)
        if (const TSector* sector = universe_->FindSector(NameOf(sectorsToQuery_->item(0))))
            FillSubsectorsOf(*sector);
}

void TfQuery::SetSubsectorControlsEnabled(bool enabled) {
    for (QWidget* w : subsectorControls_) w->setEnabled(enabled);
}

void TfQuery::rQueryClick() {
    if (!universe_) return;
    const std::optional<std::string> text = ToMap(text_->toPlainText());
    if (!text) {
        prompter_.Error(NotStorableMessage());
        text_->setFocus();
        return;
    }
    TStarQueryScope scope;
    scope.SectorsToQuery = Names(sectorsToQuery_);
    scope.SubsectorsToQuery = Names(subsectorsToQuery_);
    scope.VisibleSystemsOnly = visibleOnly_->isChecked();

    TStarQueryResult result;
    {
        BusyScope busy(activity_);
        result = engine_.Run(*universe_, *text, scope);
    }
    using TStatus = TStarQueryResult::TStatus;
    switch (result.Status) {
    case TStatus::Done: break;
    case TStatus::TooManyVariables: prompter_.Information(FromMap(result.Message)); break;
    case TStatus::CompileError:
    case TStatus::EvaluationError: prompter_.Error(FromMap(result.Message)); break;
    }
    // An evaluation error leaves the systems examined before it with their
    // new flags, so the map follows them as well.
    if (result.Status == TStatus::Done || result.Status == TStatus::EvaluationError) {
        int shown = 0, total = 0;
        for (const TSector* sector : universe_->Sectors()->ChildrenOf<TSector>())
            for (const TStar* star : sector->ChildrenOf<TStar>()) {
                ++total;
                if (star->Visible && !sector->ExcludeFromDisplay()) ++shown;
            }
        result_->setText(QStringLiteral("The last query left %1 of %2 systems visible.")
                             .arg(QLocale().toString(shown), QLocale().toString(total)));
        changed_ = true;
        if (mapChanged_) mapChanged_();
    }
}

}  // namespace hexlane::ui
