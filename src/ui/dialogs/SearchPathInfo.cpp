#include "SearchPathInfo.h"

#include "AccessKeys.h"

#include "Activity.h"
#include "DefineUniverse.h"
#include "DialogParts.h"
#include "Navigation.h"
#include "Prompter.h"
#include "UiText.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <new>

namespace hexlane::ui {

namespace {

QString JumpCountText(int count) { return QStringLiteral("Number of Jumps = %1").arg(count); }

}  // namespace

TfSearchPathInfo::TfSearchPathInfo(Prompter& prompter, Activity* activity, QWidget* parent)
    : QDialog(parent), prompter_(prompter), activity_(activity) {
    setWindowTitle(QStringLiteral("Path Search Information"));

    straightLine_ = new QLabel(QStringLiteral("Straight Line Distance :"), this);
    straightLine_->setObjectName(QStringLiteral("rStraightLine"));

    // The range is changed with the arrows only.
    jumpRange_ = new QSpinBox(this);
    jumpRange_->setObjectName(QStringLiteral("rJumpRange"));
    jumpRange_->setRange(0, kMaxJumpRange);
    jumpRange_->setValue(0);
    if (auto* edit = jumpRange_->findChild<QLineEdit*>()) edit->setReadOnly(true);
    auto* rangeLabel = new QLabel(QStringLiteral("Jump Range"), this);
    rangeLabel->setBuddy(jumpRange_);

    visibleOnly_ = new QCheckBox(QStringLiteral("Visible Stars Only"), this);
    visibleOnly_->setObjectName(QStringLiteral("rVisibleOnly"));

    auto* searchType = new QGroupBox(QStringLiteral("Search Type"), this);
    searchType->setObjectName(QStringLiteral("rSearchType"));
    shortestDistance_ = new QRadioButton(QStringLiteral("Shortest Distance/Fuel"), searchType);
    shortestDistance_->setObjectName(QStringLiteral("rShortestDistance"));
    shortestDistance_->setChecked(true);
    shortestTime_ = new QRadioButton(QStringLiteral("Shortest Time"), searchType);
    shortestTime_->setObjectName(QStringLiteral("rShortestTime"));
    auto* typeLayout = new QVBoxLayout(searchType);
    typeLayout->addWidget(shortestDistance_);
    typeLayout->addWidget(shortestTime_);

    legs_ = new QListWidget(this);
    legs_->setObjectName(QStringLiteral("rRouteLegs"));
    legs_->setUniformItemSizes(true);
    auto* legsLabel = new QLabel(QStringLiteral("Route Legs"), this);
    legsLabel->setBuddy(legs_);

    jumpCount_ = new QLabel(JumpCountText(0), this);
    jumpCount_->setObjectName(QStringLiteral("rJumpCount"));

    findPath_ = MakeButton(QStringLiteral("Find Path"), "rFindPath", this);
    createRoute_ = MakeButton(QStringLiteral("Create Route"), "rCreateRoute", this);
    QPushButton* close = MakeButton(QStringLiteral("Close"), "rClose", this);

    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(rangeLabel);
    rangeRow->addWidget(jumpRange_);
    rangeRow->addStretch();
    auto* settings = new QVBoxLayout;
    settings->addLayout(rangeRow);
    settings->addWidget(visibleOnly_);
    settings->addWidget(searchType);
    settings->addStretch();

    auto* legsColumn = new QVBoxLayout;
    legsColumn->addWidget(legsLabel);
    legsColumn->addWidget(legs_, 1);
    legsColumn->addWidget(jumpCount_);

    auto* middle = new QHBoxLayout;
    middle->addLayout(settings);
    middle->addLayout(legsColumn, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(findPath_);
    buttons->addWidget(createRoute_);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(straightLine_);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    connect(findPath_, &QPushButton::clicked, this, &TfSearchPathInfo::rFindPathClick);
    connect(createRoute_, &QPushButton::clicked, this, &TfSearchPathInfo::rCreateRouteClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    resize(560, 380);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfSearchPathInfo::Load(TUniverse& universe, TStar& origin, TStar& destination) {
    universe_ = &universe;
    origin_ = &origin;
    destination_ = &destination;
    legs_->clear();
    // A path found for other systems (or another map) must not become a route
    // of these two: the result goes with the list of legs it filled.
    lastResult_.clear();
    jumpCount_->setText(JumpCountText(0));
    setWindowTitle(QStringLiteral("Find Path from ") + FromMap(origin.Name1) + QStringLiteral(" to ") +
                   FromMap(destination.Name1));
    straightLine_->setText(QStringLiteral("Straight Line Distance = %1 parsecs")
                               .arg(TUniverse::StarDistance(&origin, &destination)));
}

void TfSearchPathInfo::ShowPathSearch(TUniverse& universe, TStar& origin, TStar& destination) {
    Load(universe, origin, destination);
    exec();
    // The stars belong to the map, which may change once the dialog is closed.
    origin_ = nullptr;
    destination_ = nullptr;
}

void TfSearchPathInfo::rFindPathClick() {
    if (!universe_ || !origin_ || !destination_) return;
    QString message;
    bool failed = false;
    {
        BusyScope busy(activity_);
        legs_->clear();
        const std::string refusal = PathSearchRefusal(*origin_, *destination_, jumpRange_->value());
        if (!refusal.empty()) {
            message = FromMap(refusal);
        } else {
            findPath_->setEnabled(false);
            createRoute_->setEnabled(false);
            FindPathResult result;
            try {
                result = universe_->FindPath(*origin_, *destination_, jumpRange_->value(), visibleOnly_->isChecked(),
                                             shortestDistance_->isChecked());
            } catch (const std::bad_alloc&) {
                failed = true;
            }
            lastResult_ = std::move(result.Names);
            for (const std::string& line : result.LegLines) legs_->addItem(FromMap(line));
            jumpCount_->setText(JumpCountText(legs_->count()));
            if (failed)
                message = QStringLiteral("Not enough memory to search with this jump range.");
            else if (lastResult_.empty())
                message = QStringLiteral("Path not found");
            findPath_->setEnabled(true);
            createRoute_->setEnabled(true);
        }
    }
    if (failed)
        prompter_.Error(message);
    else if (!message.isEmpty())
        prompter_.Information(message);
}

void TfSearchPathInfo::rCreateRouteClick() {
    if (!universe_) return;
    if (lastResult_.empty()) {
        prompter_.Information(QStringLiteral("No Route to Plot"));
        return;
    }
    const std::optional<QString> answer =
        prompter_.Input(QStringLiteral("Path Plot"), QStringLiteral("Path Name"), QStringLiteral("Path Name"));
    if (!answer || answer->isEmpty()) {
        prompter_.Information(QStringLiteral("Invalid Path Name"));
        return;
    }
    const std::optional<std::string> name = ToMap(*answer);
    if (!name) {
        prompter_.Error(NotStorableMessage());
        return;
    }
    CreateRouteResult result;
    auto create = [&] {
        BusyScope busy(activity_);
        result = CreateRouteFromPath(*universe_, lastResult_, *name);
    };
    // A route stopped at a missing star stays in the map, so the views follow
    // it as well.
    if (runEdit_)
        runEdit_(create);
    else
        create();
    if (!result.Message.empty()) prompter_.Information(FromMap(result.Message));
}

}  // namespace hexlane::ui
