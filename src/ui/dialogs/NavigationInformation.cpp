#include "NavigationInformation.h"

#include "AccessKeys.h"

#include "Activity.h"
#include "DefineUniverse.h"
#include "DialogParts.h"
#include "ListClicks.h"
#include "Navigation.h"
#include "Prompter.h"
#include "SearchPathInfo.h"
#include "SortedNames.h"
#include "UiText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QStringListModel>
#include <QVBoxLayout>

#include <algorithm>

namespace hexlane::ui {

namespace {

QLabel* Label(QWidget* parent, const char* objectName, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    return label;
}

QListView* NameList(QWidget* parent, const char* objectName, QStringListModel* model) {
    auto* list = new QListView(parent);
    list->setObjectName(QString::fromLatin1(objectName));
    list->setModel(model);
    list->setUniformItemSizes(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

}  // namespace

TfNavigationInformation::TfNavigationInformation(Prompter& prompter, Activity* activity,
                                                 TfSearchPathInfo& pathSearch, QWidget* parent)
    : QDialog(parent),
      prompter_(prompter),
      activity_(activity),
      pathSearch_(pathSearch),
      model_(new QStringListModel(this)),
      resultModel_(new QStringListModel(this)) {
    setWindowTitle(QStringLiteral("Navigation Information"));

    QWidget* originBox = MakeSide(origin_, QStringLiteral("Origin System"), "rOriginBox", "rOriginName",
                                  "rOriginList", "rEditOrigin", QStringLiteral("Edit Origin System"));
    QWidget* destinationBox =
        MakeSide(destination_, QStringLiteral("Destination System"), "rDestinationBox", "rDestinationName",
                 "rDestinationList", "rEditDestination", QStringLiteral("Edit Destination System"));

    distance_ = Label(this, "rDistance", QStringLiteral("Distance : "));
    count_ = Label(this, "rCount", QStringLiteral("Number of Systems : "));
    QPushButton* findPath =
        MakeButton(QStringLiteral("Find Shortest Path Between Origin and Destination Systems"), "rFindPath", this);

    // The radius query.
    auto* query = new QGroupBox(QStringLiteral("Query"), this);
    query->setObjectName(QStringLiteral("rQueryBox"));
    radius_ = new QSpinBox(query);
    radius_->setObjectName(QStringLiteral("rRadius"));
    radius_->setRange(1, 32767);
    radius_->setValue(1);
    auto* radiusLabel = new QLabel(QStringLiteral("Radius From Origin"), query);
    radiusLabel->setBuddy(radius_);
    auto* explanation = new QLabel(QStringLiteral("Find all systems a given radius from the Origin System"), query);
    explanation->setWordWrap(true);
    result_ = NameList(query, "rResult", resultModel_);
    auto* resultLabel = new QLabel(QStringLiteral("Result"), query);
    resultLabel->setBuddy(result_);
    distanceFromOrigin_ = Label(query, "rDistanceFromOrigin", QStringLiteral("0"));
    distanceFromDestination_ = Label(query, "rDistanceFromDestination", QStringLiteral("0"));
    QPushButton* queryNow = MakeButton(QStringLiteral("Query Now"), "rQueryNow", query);
    QPushButton* plot = MakeButton(QStringLiteral("Plot These Systems Only"), "rPlotOnly", query);

    auto* radiusRow = new QHBoxLayout;
    radiusRow->addWidget(radiusLabel);
    radiusRow->addWidget(radius_);
    radiusRow->addStretch();
    auto* readouts = new QGridLayout;
    readouts->addWidget(new QLabel(QStringLiteral("Distance from Origin"), query), 0, 0);
    readouts->addWidget(distanceFromOrigin_, 0, 1);
    readouts->addWidget(new QLabel(QStringLiteral("Distance from Destination"), query), 1, 0);
    readouts->addWidget(distanceFromDestination_, 1, 1);
    readouts->setColumnStretch(1, 1);
    auto* queryLayout = new QVBoxLayout(query);
    queryLayout->addLayout(radiusRow);
    queryLayout->addWidget(explanation);
    queryLayout->addWidget(resultLabel);
    queryLayout->addWidget(result_, 1);
    queryLayout->addLayout(readouts);
    queryLayout->addWidget(queryNow);
    queryLayout->addWidget(plot);

    QPushButton* close = MakeButton(QStringLiteral("Close"), "rClose", this);

    auto* sides = new QHBoxLayout;
    sides->addWidget(originBox, 1);
    sides->addWidget(destinationBox, 1);
    sides->addWidget(query, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(findPath);
    bottom->addStretch();
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sides, 1);
    layout->addWidget(distance_);
    layout->addWidget(count_);
    layout->addLayout(bottom);

    // The find button stands below the query box: Tab reaches it after the query.
    setTabOrder(plot, findPath);

    connect(findPath, &QPushButton::clicked, this, &TfNavigationInformation::rFindPathClick);
    connect(queryNow, &QPushButton::clicked, this, &TfNavigationInformation::rQueryNowClick);
    connect(plot, &QPushButton::clicked, this, &TfNavigationInformation::rPlotClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    OnEntryChosen(
        result_, [this] { return selecting_; }, [this](const QModelIndex& index) { ResultClicked(index.row()); });
    resize(760, 520);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

TfNavigationInformation::~TfNavigationInformation() = default;

QWidget* TfNavigationInformation::MakeSide(TSide& side, const QString& title, const char* boxName,
                                           const char* nameName, const char* listName, const char* editName,
                                           const QString& editCaption) {
    auto* group = new QGroupBox(title, this);
    group->setObjectName(QString::fromLatin1(boxName));
    side.Name = new QLineEdit(group);
    side.Name->setObjectName(QString::fromLatin1(nameName));
    side.List = NameList(group, listName, model_);
    QPushButton* edit = MakeButton(editCaption, editName, group);

    auto* layout = new QVBoxLayout(group);
    layout->addWidget(side.Name);
    layout->addWidget(side.List, 1);
    layout->addWidget(edit);

    // Only typing searches: a name copied in from the list must not move the
    // selection to another entry that begins the same way.
    connect(side.Name, &QLineEdit::textEdited, this, [this, &side](const QString& text) { NameTyped(side, text); });
    OnEntryChosen(
        side.List, [this] { return selecting_; },
        [this, &side](const QModelIndex& index) { EntryClicked(side, index); });
    connect(side.List, &QListView::doubleClicked, this, [this, &side] { EditSide(side); });
    connect(edit, &QPushButton::clicked, this, [this, &side] { EditSide(side); });
    return group;
}

void TfNavigationInformation::Load(TUniverse& universe, const TStar* origin) {
    universe_ = &universe;
    if (origin) origin_.Name->setText(FromMap(origin->Name1));
    results_.clear();
    resultModel_->setStringList({});
    FillLists();
}

void TfNavigationInformation::Execute(TUniverse& universe, const TStar* origin) {
    Load(universe, origin);
    exec();
}

void TfNavigationInformation::ForgetMap() {
    universe_ = nullptr;
    selecting_ = true;
    model_->setStringList({});
    resultModel_->setStringList({});
    selecting_ = false;
    names_.clear();
    results_.clear();
    origin_.Name->clear();
    destination_.Name->clear();
    distance_->setText(QStringLiteral("Distance : "));
    count_->setText(QStringLiteral("Number of Systems : "));
    distanceFromOrigin_->setText(QStringLiteral("0"));
    distanceFromDestination_->setText(QStringLiteral("0"));
}

void TfNavigationInformation::FillLists() {
    BusyScope busy(activity_);
    std::vector<std::string> names;
    universe_->ForEachStar([&](const TStar& star) { names.push_back(star.Name1); });
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& n : names) texts.push_back(FromMap(n));
    QStringList sorted;
    sorted.reserve(texts.size());
    names_.clear();
    names_.reserve(names.size());
    for (int i : SortedOrder(texts)) {
        sorted.push_back(texts[i]);
        names_.push_back(std::move(names[static_cast<std::size_t>(i)]));
    }
    selecting_ = true;
    model_->setStringList(sorted);
    selecting_ = false;
    count_->setText(QStringLiteral("Total Number of Systems : %1").arg(names_.size()));

    distance_->setText(QStringLiteral("Distance : "));
    for (TSide* side : {&origin_, &destination_}) {
        const QString text = side->Name->text();
        if (!text.isEmpty()) Select(*side, RowOfText(text));
    }
    if (SelectedRow(origin_) >= 0 && SelectedRow(destination_) >= 0) UpdateReadout();
}

void TfNavigationInformation::NameTyped(TSide& side, const QString& text) {
    if (text.isEmpty()) return;
    const QStringList& entries = model_->stringList();
    for (qsizetype row = 0; row < entries.size(); ++row) {
        if (entries[row].startsWith(text, Qt::CaseInsensitive)) {
            Select(side, static_cast<int>(row));
            break;
        }
    }
    UpdateReadout();
}

void TfNavigationInformation::EntryClicked(TSide& side, const QModelIndex& index) {
    side.Name->setText(index.data().toString());
    UpdateReadout();
}

void TfNavigationInformation::UpdateReadout() {
    std::string originName, destinationName;
    if (!SelectedName(origin_, originName) || !SelectedName(destination_, destinationName)) return;
    const TStar* origin = universe_->FindStar(originName);
    const TStar* destination = universe_->FindStar(destinationName);
    if (origin && destination)
        distance_->setText(QStringLiteral("Straight Line Distance between Origin and Destination is %1 parsecs")
                               .arg(TUniverse::StarDistance(origin, destination)));
    else
        prompter_.Information(QStringLiteral("Invalid Star Pointer"));
}

void TfNavigationInformation::rEditOriginClick() { EditSide(origin_); }
void TfNavigationInformation::rEditDestinationClick() { EditSide(destination_); }

void TfNavigationInformation::EditSide(TSide& side) {
    std::string name;
    if (!universe_ || !SelectedName(side, name)) return;
    TStar* star = universe_->FindStar(name);
    if (!star) {
        prompter_.Information(QStringLiteral("Invalid Pointer to Star"));
        return;
    }
    if (!editStar_) return;
    // The editor may rename the system: the lists follow the map, and the
    // field the edited record's name.
    if (const TStar* edited = editStar_(*star)) {
        side.Name->setText(FromMap(edited->Name1));
        FillLists();
    }
}

void TfNavigationInformation::rFindPathClick() {
    std::string originName, destinationName;
    if (!universe_ || !SelectedName(origin_, originName) || !SelectedName(destination_, destinationName)) {
        prompter_.Information(QStringLiteral("Please select an Origin and Destination Star"));
        return;
    }
    TStar* origin = universe_->FindStar(originName);
    TStar* destination = universe_->FindStar(destinationName);
    if (origin && destination)
        pathSearch_.ShowPathSearch(*universe_, *origin, *destination);
    else
        prompter_.Information(QStringLiteral("Invalid Star Pointer"));
}

void TfNavigationInformation::rQueryNowClick() {
    results_.clear();
    resultModel_->setStringList({});
    if (radius_->value() < 1) {
        prompter_.Information(QStringLiteral("Please enter a value greater than 0."));
        radius_->setFocus();
        return;
    }
    std::string originName;
    if (!universe_ || !SelectedName(origin_, originName)) {
        prompter_.Information(QStringLiteral("Please Select an Origin System."));
        return;
    }
    // A missing origin would measure every distance as -1 and list the whole map.
    const TStar* origin = universe_->FindStar(originName);
    if (!origin) {
        prompter_.Information(QStringLiteral("Invalid Star Pointer"));
        return;
    }
    {
        BusyScope busy(activity_);
        results_ = SystemsWithinRadius(*universe_, *origin, radius_->value());
        QStringList texts;
        texts.reserve(static_cast<qsizetype>(results_.size()));
        for (const std::string& n : results_) texts.push_back(FromMap(n));
        selecting_ = true;
        resultModel_->setStringList(texts);
        selecting_ = false;
    }
}

void TfNavigationInformation::rPlotClick() {
    if (!universe_) return;
    const std::string message = PlotTheseSystemsOnly(*universe_, results_);
    if (!message.empty()) {
        prompter_.Information(FromMap(message));
        return;
    }
    if (mapChanged_) mapChanged_();
}

void TfNavigationInformation::ResultClicked(int row) {
    if (!universe_ || row < 0 || static_cast<std::size_t>(row) >= results_.size()) return;
    const std::string& name = results_[static_cast<std::size_t>(row)];
    const TStar* result = universe_->FindStar(name);
    std::string originName, destinationName;
    if (SelectedName(origin_, originName))
        distanceFromOrigin_->setNum(TUniverse::StarDistance(universe_->FindStar(originName), result));
    // Measured from the destination chosen before this click, which the click
    // then replaces.
    if (SelectedName(destination_, destinationName))
        distanceFromDestination_->setNum(TUniverse::StarDistance(universe_->FindStar(destinationName), result));

    const auto it = std::find(names_.begin(), names_.end(), name);
    if (it == names_.end()) {
        selecting_ = true;
        destination_.List->selectionModel()->clear();
        selecting_ = false;
    } else {
        Select(destination_, static_cast<int>(it - names_.begin()));
        destination_.Name->setText(FromMap(name));
    }
    UpdateReadout();
}

void TfNavigationInformation::Select(TSide& side, int row) {
    if (row < 0 || row >= model_->rowCount()) return;
    const QModelIndex index = model_->index(row);
    selecting_ = true;
    side.List->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    selecting_ = false;
    side.List->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

int TfNavigationInformation::SelectedRow(const TSide& side) const {
    const QModelIndexList selected = side.List->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

bool TfNavigationInformation::SelectedName(const TSide& side, std::string& name) const {
    const int row = SelectedRow(side);
    if (row < 0 || static_cast<std::size_t>(row) >= names_.size()) return false;
    name = names_[static_cast<std::size_t>(row)];
    return true;
}

int TfNavigationInformation::RowOfText(const QString& text) const {
    const int row = static_cast<int>(model_->stringList().indexOf(text));
    return row;
}

}  // namespace hexlane::ui
