#include "PlanVoyage.h"

#include "AccessKeys.h"

#include "Activity.h"
#include "DefineUniverse.h"
#include "DialogParts.h"
#include "FileIO.h"
#include "Navigation.h"
#include "Prompter.h"
#include "Settings.h"
#include "UiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStringListModel>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include <new>

namespace hexlane::ui {

namespace {

using voyage::FuelSource;
using voyage::VoyageStop;

const QString kProfilesKey = QStringLiteral("Voyage/ShipProfiles");
const QString kLastProfileKey = QStringLiteral("Voyage/LastProfile");

const QStringList kColumns{"Stop", "Sector", "Hex", "Parsecs", "Refuel", "Tons", "Credits", "Day"};

// Profiles are kept as one list of "name<TAB>hull<TAB>jump<TAB>tank<TAB>fuel".
QStringList StoredProfiles() { return Settings::Store().value(kProfilesKey).toStringList(); }

QString Tons(int hull, int parsecs) {
    const long long tenths = static_cast<long long>(hull) * parsecs;
    return tenths % 10 ? QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10) : QString::number(tenths / 10);
}

QString CsvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QSpinBox* Spin(QWidget* parent, const char* name, int low, int high, int value) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(low, high);
    spin->setValue(value);
    return spin;
}

QCheckBox* Check(QWidget* parent, const char* name, const QString& text, bool on) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(on);
    return box;
}

QPushButton* PickButton(QWidget* parent, const char* name) {
    QPushButton* button = MakeButton(QStringLiteral("Pick on Map"), name, parent);
    button->setToolTip(QStringLiteral("Click a system on the map (Esc cancels)"));
    button->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    button->setCheckable(true);  // down while its pick is awaited
    return button;
}

// A list of systems the user fills by name: the name field with Add and
// Remove beside it (one row), the list below it, and Pick on Map.
struct SystemListParts {
    QLineEdit* Name;
    QListWidget* List;
    QPushButton* Add;
    QPushButton* Remove;
    QPushButton* Pick;
    QHBoxLayout* Row;
};

SystemListParts MakeSystemList(QWidget* parent, const char* name, const char* list, const char* add,
                               const char* remove, const char* pick) {
    SystemListParts parts{new QLineEdit(parent), new QListWidget(parent),
                          MakeButton(QStringLiteral("Add"), add, parent),
                          MakeButton(QStringLiteral("Remove"), remove, parent), PickButton(parent, pick),
                          new QHBoxLayout};
    parts.Name->setObjectName(QLatin1String(name));
    parts.Name->setMinimumWidth(110);  // room for a name beside the buttons
    parts.List->setObjectName(QLatin1String(list));
    for (QPushButton* b : {parts.Add, parts.Remove}) b->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    parts.Row->addWidget(parts.Name, 1);
    parts.Row->addWidget(parts.Add);
    parts.Row->addWidget(parts.Remove);
    return parts;
}

// A name field with Pick on Map beside it.
QHBoxLayout* PickRow(QLineEdit* edit, QPushButton* pick) {
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(pick);
    return row;
}

}  // namespace

TfPlanVoyage::TfPlanVoyage(Prompter& prompter, Activity* activity, QWidget* parent)
    : QDialog(parent), prompter_(prompter), activity_(activity) {
    setObjectName(QStringLiteral("TfPlanVoyage"));
    setWindowTitle(QStringLiteral("Plan Voyage"));

    auto* ship = new QGroupBox(QStringLiteral("Ship"), this);
    auto* shipForm = new QFormLayout(ship);
    BuildProfileControls(shipForm);

    auto* voyage = new QGroupBox(QStringLiteral("Voyage"), this);
    auto* voyageForm = new QFormLayout(voyage);
    from_ = new QLineEdit(voyage);
    from_->setObjectName(QStringLiteral("rFrom"));
    to_ = new QLineEdit(voyage);
    to_->setObjectName(QStringLiteral("rTo"));
    objective_ = new QComboBox(voyage);
    objective_->setObjectName(QStringLiteral("rObjective"));
    objective_->addItems({"Fewest jumps", "Fewest parsecs", "Cheapest", "Fewest days"});
    QPushButton* pickFrom = PickButton(voyage, "rPickFrom");
    QPushButton* pickTo = PickButton(voyage, "rPickTo");
    voyageForm->addRow(QStringLiteral("From"), PickRow(from_, pickFrom));
    voyageForm->addRow(QStringLiteral("To"), PickRow(to_, pickTo));
    voyageForm->addRow(QStringLiteral("Objective"), objective_);
    const SystemListParts waypoint =
        MakeSystemList(voyage, "rWaypointName", "rWaypoints", "rAddWaypoint", "rRemoveWaypoint", "rPickWaypoint");
    waypointName_ = waypoint.Name;
    waypoints_ = waypoint.List;
    QPushButton* addWaypoint = waypoint.Add;
    QPushButton* removeWaypoint = waypoint.Remove;
    QPushButton* pickWaypoint = waypoint.Pick;
    waypoint.Row->addWidget(pickWaypoint);
    voyageForm->addRow(QStringLiteral("Waypoints"), waypoint.Row);
    voyageForm->addRow(QString(), waypoints_);

    auto* fuel = new QGroupBox(QStringLiteral("Fuel Sources"), this);
    auto* fuelRow = new QGridLayout(fuel);
    refined_ = Check(fuel, "rRefined", QStringLiteral("Refined"), true);
    unrefined_ = Check(fuel, "rUnrefined", QStringLiteral("Unrefined"), true);
    gas_ = Check(fuel, "rGas", QStringLiteral("Gas Giant"), true);
    water_ = Check(fuel, "rWater", QStringLiteral("Water"), true);
    fuelRow->addWidget(refined_, 0, 0);
    fuelRow->addWidget(unrefined_, 0, 1);
    fuelRow->addWidget(gas_, 1, 0);
    fuelRow->addWidget(water_, 1, 1);

    auto* avoid = new QGroupBox(QStringLiteral("Avoid as Stops"), this);
    auto* avoidLayout = new QVBoxLayout(avoid);
    auto* zones = new QHBoxLayout;
    avoidAmber_ = Check(avoid, "rAvoidAmber", QStringLiteral("Amber Zones"), false);
    avoidRed_ = Check(avoid, "rAvoidRed", QStringLiteral("Red Zones"), false);
    zones->addWidget(avoidAmber_);
    zones->addWidget(avoidRed_);
    avoidAllegiances_ = new QListWidget(avoid);
    avoidAllegiances_->setObjectName(QStringLiteral("rAvoidAllegiances"));
    avoidAllegiances_->setMinimumWidth(150);
    const SystemListParts avoided =
        MakeSystemList(avoid, "rAvoidName", "rAvoidSystems", "rAddAvoid", "rRemoveAvoid", "rPickAvoid");
    avoidName_ = avoided.Name;
    avoidSystems_ = avoided.List;
    QPushButton* addAvoid = avoided.Add;
    QPushButton* removeAvoid = avoided.Remove;
    QPushButton* pickAvoid = avoided.Pick;
    auto* lists = new QHBoxLayout;
    auto* allegianceColumn = new QVBoxLayout;
    allegianceColumn->addWidget(new QLabel(QStringLiteral("Allegiances"), avoid));
    allegianceColumn->addWidget(avoidAllegiances_);
    auto* systemColumn = new QVBoxLayout;
    auto* systemsHeading = new QHBoxLayout;  // the heading, with Pick on Map at its end
    systemsHeading->addWidget(new QLabel(QStringLiteral("Systems"), avoid), 1);
    systemsHeading->addWidget(pickAvoid);
    systemColumn->addLayout(systemsHeading);
    systemColumn->addLayout(avoided.Row);
    systemColumn->addWidget(avoidSystems_);
    lists->addLayout(allegianceColumn, 1);
    lists->addLayout(systemColumn, 1);
    avoidLayout->addLayout(zones);
    avoidLayout->addLayout(lists);

    itinerary_ = new QTableWidget(0, static_cast<int>(kColumns.size()), this);
    itinerary_->setObjectName(QStringLiteral("rItinerary"));
    itinerary_->setHorizontalHeaderLabels(kColumns);
    itinerary_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    itinerary_->verticalHeader()->hide();
    itinerary_->horizontalHeader()->setStretchLastSection(false);
    totals_ = new QLabel(this);
    totals_->setObjectName(QStringLiteral("rTotals"));

    QPushButton* planButton = MakeButton(QStringLiteral("Plan"), "rPlan", this);
    createRoute_ = MakeButton(QStringLiteral("Create Route"), "rCreateRoute", this);
    print_ = MakeButton(QStringLiteral("Print..."), "rPrint", this);
    saveCsv_ = MakeButton(QStringLiteral("Save CSV..."), "rSaveCsv", this);
    QPushButton* close = MakeButton(QStringLiteral("Close"), "rClose", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(planButton);
    buttons->addStretch();
    for (QPushButton* b : {createRoute_, print_, saveCsv_, close}) buttons->addWidget(b);

    // Two columns: the ship and its fuel; the voyage and what it avoids.
    auto* left = new QVBoxLayout;
    left->addWidget(ship);
    left->addWidget(fuel);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(voyage);
    right->addWidget(avoid);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right, 1);
    for (QListWidget* list : {waypoints_, avoidAllegiances_, avoidSystems_}) list->setMaximumHeight(72);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(itinerary_, 1);
    layout->addWidget(totals_);
    layout->addLayout(buttons);

    // The system names complete from the map's systems.
    systemNames_ = new QStringListModel(this);
    for (QLineEdit* edit : {from_, to_, waypointName_, avoidName_}) {
        auto* completer = new QCompleter(systemNames_, edit);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        edit->setCompleter(completer);
    }
    connect(addWaypoint, &QPushButton::clicked, this, [this] { AddSystemTo(waypointName_, waypoints_); });
    connect(removeWaypoint, &QPushButton::clicked, this, [this] { delete waypoints_->currentItem(); });
    connect(addAvoid, &QPushButton::clicked, this, [this] { AddSystemTo(avoidName_, avoidSystems_); });
    connect(removeAvoid, &QPushButton::clicked, this, [this] { delete avoidSystems_->currentItem(); });
    const std::pair<QPushButton*, PickTarget> picks[] = {
        {pickFrom, PickTarget::From}, {pickTo, PickTarget::To}, {pickWaypoint, PickTarget::Waypoint}, {pickAvoid, PickTarget::Avoid}};
    for (const auto& [button, target] : picks) {
        pickButtons_.emplace_back(button, target);
        // A second click on the button that is down ends the picking.
        connect(button, &QPushButton::clicked, this, [this, target = target] {
            if (picking_ == target)
                CancelPick();
            else
                StartPick(target);
            ShowPicking();
        });
    }
    connect(this, &TfPlanVoyage::pickingChanged, this, &TfPlanVoyage::ShowPicking);
    // A name typed over a picked one means the first system of that name.
    for (QLineEdit* edit : {from_, to_})
        connect(edit, &QLineEdit::textEdited, edit, [edit] { edit->setProperty(kHexProperty, QVariant()); });
    connect(planButton, &QPushButton::clicked, this, &TfPlanVoyage::rPlanClick);
    connect(createRoute_, &QPushButton::clicked, this, &TfPlanVoyage::rCreateRouteClick);
    connect(print_, &QPushButton::clicked, this, &TfPlanVoyage::rPrintClick);
    connect(saveCsv_, &QPushButton::clicked, this, &TfPlanVoyage::rSaveCsvClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // Tab follows the reading order: the ship, the fuel sources, the voyage,
    // what to avoid, the itinerary and the buttons.
    QWidget* order[] = {profile_,     findChild<QPushButton*>(QStringLiteral("rSaveProfile")),
                        findChild<QPushButton*>(QStringLiteral("rDeleteProfile")),
                        hull_,        jump_,         tank_,          fuelNow_,       refined_,
                        unrefined_,   gas_,          water_,         from_,          pickFrom,
                        to_,          pickTo,        objective_,     waypointName_,  addWaypoint,
                        removeWaypoint, pickWaypoint, waypoints_,    avoidAmber_,    avoidRed_,
                        avoidAllegiances_, pickAvoid, avoidName_,    addAvoid,
                        removeAvoid,  avoidSystems_, itinerary_,     planButton,     createRoute_,
                        print_,       saveCsv_,      close};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    ClearItinerary();
    resize(900, 690);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfPlanVoyage::BuildProfileControls(QFormLayout* form) {
    QWidget* owner = form->parentWidget();
    profile_ = new QComboBox(owner);
    profile_->setObjectName(QStringLiteral("rProfile"));
    profile_->setEditable(true);
    hull_ = Spin(owner, "rHull", 1, 1000000, 200);
    hull_->setSuffix(QStringLiteral(" tons"));
    jump_ = Spin(owner, "rJump", 1, 6, 2);
    tank_ = Spin(owner, "rTank", 1, 12, 2);
    fuelNow_ = Spin(owner, "rFuelNow", 0, 2, 2);
    // The fuel in the tank never exceeds the tank.
    connect(tank_, &QSpinBox::valueChanged, this, [this](int tank) { fuelNow_->setMaximum(tank); });
    QPushButton* save = MakeButton(QStringLiteral("Save"), "rSaveProfile", owner);
    QPushButton* remove = MakeButton(QStringLiteral("Delete"), "rDeleteProfile", owner);
    auto* profileButtons = new QHBoxLayout;
    profileButtons->addWidget(save);
    profileButtons->addWidget(remove);
    form->addRow(QStringLiteral("Profile"), profile_);
    form->addRow(QString(), profileButtons);
    form->addRow(QStringLiteral("Hull"), hull_);
    form->addRow(QStringLiteral("Jump (parsecs)"), jump_);
    form->addRow(QStringLiteral("Tank (parsecs)"), tank_);
    form->addRow(QStringLiteral("Fuel now (parsecs)"), fuelNow_);
    connect(save, &QPushButton::clicked, this, &TfPlanVoyage::rSaveProfileClick);
    connect(remove, &QPushButton::clicked, this, &TfPlanVoyage::rDeleteProfileClick);
    connect(profile_, &QComboBox::textActivated, this, &TfPlanVoyage::ShowProfile);
}

void TfPlanVoyage::LoadProfiles() {
    profile_->clear();
    for (const QString& entry : StoredProfiles()) profile_->addItem(entry.section(QLatin1Char('\t'), 0, 0));
    const QString last = Settings::Store().value(kLastProfileKey).toString();
    if (profile_->findText(last) >= 0) ShowProfile(last);
}

void TfPlanVoyage::ShowProfile(const QString& name) {
    for (const QString& entry : StoredProfiles()) {
        const QStringList parts = entry.split(QLatin1Char('\t'));
        if (parts.size() != 5 || parts[0] != name) continue;
        profile_->setCurrentText(name);
        hull_->setValue(parts[1].toInt());
        jump_->setValue(parts[2].toInt());
        tank_->setValue(parts[3].toInt());
        fuelNow_->setValue(parts[4].toInt());
        Settings::Store().setValue(kLastProfileKey, name);
        return;
    }
}

void TfPlanVoyage::rSaveProfileClick() {
    const QString name = profile_->currentText().trimmed().remove(QLatin1Char('\t'));
    if (name.isEmpty()) {
        prompter_.Information(QStringLiteral("Please name the ship."));
        return;
    }
    QStringList entries;
    for (const QString& entry : StoredProfiles())
        if (entry.section(QLatin1Char('\t'), 0, 0) != name) entries << entry;
    const voyage::Ship s = CurrentShip();
    entries << QStringList{name, QString::number(s.Hull), QString::number(s.Jump), QString::number(s.Tank),
                           QString::number(s.FuelNow)}
                   .join(QLatin1Char('\t'));
    entries.sort(Qt::CaseInsensitive);
    Settings::Store().setValue(kProfilesKey, entries);
    Settings::Store().setValue(kLastProfileKey, name);
    LoadProfiles();
}

void TfPlanVoyage::rDeleteProfileClick() {
    const QString name = profile_->currentText();
    QStringList entries = StoredProfiles();
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const QString& e) { return e.section(QLatin1Char('\t'), 0, 0) == name; }),
                  entries.end());
    Settings::Store().setValue(kProfilesKey, entries);
    LoadProfiles();
    profile_->setCurrentText(QString());
}

voyage::Ship TfPlanVoyage::CurrentShip() const {
    voyage::Ship s;
    s.Name = profile_->currentText().toStdString();
    s.Hull = hull_->value();
    s.Jump = jump_->value();
    s.Tank = tank_->value();
    s.FuelNow = std::min(fuelNow_->value(), s.Tank);
    return s;
}

const TStar* TfPlanVoyage::Lookup(const QLineEdit* edit, const QString& role) {
    const QString text = edit->text().trimmed();
    const TStar* star = Resolve(text, edit->property(kHexProperty));
    if (!star)
        prompter_.Information(text.isEmpty() ? QStringLiteral("Please name the %1 system.").arg(role)
                                             : QStringLiteral("No system is named \"%1\".").arg(text));
    return star;
}

void TfPlanVoyage::AddSystemTo(QLineEdit* edit, QListWidget* list) {
    if (Lookup(edit, QStringLiteral("added"))) {
        list->addItem(edit->text().trimmed());
        edit->clear();
    }
}

void TfPlanVoyage::ClearItinerary() {
    plan_ = {};
    rows_.clear();
    stopNames_.clear();
    hexPath_.clear();
    itinerary_->setRowCount(0);
    totals_->clear();
    for (QPushButton* b : {createRoute_, print_, saveCsv_}) b->setEnabled(false);
    emit itineraryChanged();
}

void TfPlanVoyage::rPlanClick() {
    if (!universe_) return;
    ClearItinerary();
    voyage::VoyageRequest r;
    r.From = Lookup(from_, QStringLiteral("start"));
    if (!r.From) return;
    r.To = Lookup(to_, QStringLiteral("destination"));
    if (!r.To) return;
    for (QListWidget* list : {waypoints_, avoidSystems_})
        for (int row = 0; row < list->count(); ++row) {
            const QListWidgetItem* item = list->item(row);
            const TStar* star = Resolve(item->text(), item->data(kHexRole));
            if (!star) {
                prompter_.Information(QStringLiteral("No system is named \"%1\".").arg(item->text()));
                return;
            }
            (list == waypoints_ ? r.Via : r.AvoidSystems).push_back(star);
        }
    r.Vessel = CurrentShip();
    r.Sources = 0;
    const std::pair<QCheckBox*, FuelSource> sources[] = {{refined_, FuelSource::Refined},
                                                         {unrefined_, FuelSource::Unrefined},
                                                         {gas_, FuelSource::Gas},
                                                         {water_, FuelSource::Water}};
    for (const auto& [box, source] : sources)
        if (box->isChecked()) r.Sources |= voyage::SourceBit(source);
    r.AvoidAmber = avoidAmber_->isChecked();
    r.AvoidRed = avoidRed_->isChecked();
    for (int row = 0; row < avoidAllegiances_->count(); ++row)
        if (avoidAllegiances_->item(row)->checkState() == Qt::Checked)
            r.AvoidAllegiances.push_back(avoidAllegiances_->item(row)->data(Qt::UserRole).toByteArray().toStdString());
    r.By = static_cast<voyage::Objective>(objective_->currentIndex());

    bool failed = false;
    {
        BusyScope busy(activity_);
        try {
            plan_ = voyage::PlanVoyage(*universe_, r);
        } catch (const std::bad_alloc&) {
            failed = true;
        }
    }
    if (failed) {
        prompter_.Error(QStringLiteral("Not enough memory to plan this voyage."));
        return;
    }
    if (!plan_.Found) {
        const QString message = FromMap(plan_.Message);
        ClearItinerary();
        prompter_.Information(message);
        return;
    }
    planHull_ = r.Vessel.Hull;
    // What the table, the CSV, the route and the line need is taken now; the
    // plan keeps no pointer into a map that may change while the window is open.
    hexPath_ = plan_.HexPath();
    for (VoyageStop& stop : plan_.Stops) {
        rows_.push_back(ItineraryRow(stop));
        stopNames_.push_back(stop.Star->Name1);
        stop.Star = nullptr;
    }
    plan_.Unreached = plan_.Nearest = nullptr;
    FillTable();
    emit itineraryChanged();
}

QStringList TfPlanVoyage::ItineraryRow(const VoyageStop& s) const {
    return {FromMap(s.Star->Name1),
            FromMap(s.Star->SectorName()),
            QStringLiteral("%1%2").arg(s.Star->SectorHexColumn(), 2, 10, QLatin1Char('0')).arg(s.Star->SectorHexRow(), 2, 10, QLatin1Char('0')),
            QString::number(s.Parsecs),
            s.Bought ? QString::fromLatin1(voyage::SourceName(s.Refuel)) : QString(),
            s.Bought ? Tons(planHull_, s.Bought) : QString(),
            QString::number(s.Cost),
            QString::number(s.Day)};
}

QString TfPlanVoyage::TotalsText() const {
    const voyage::Totals& t = plan_.Total;
    return QStringLiteral("%1 jumps, %2 parsecs, Cr%3, %4 days").arg(t.Jumps).arg(t.Parsecs).arg(t.Cost).arg(t.Days);
}

void TfPlanVoyage::FillTable() {
    itinerary_->setRowCount(static_cast<int>(rows_.size()));
    for (int row = 0; row < itinerary_->rowCount(); ++row) {
        const QStringList& cells = rows_[static_cast<std::size_t>(row)];
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 3 || c >= 5) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            itinerary_->setItem(row, c, item);
        }
    }
    itinerary_->resizeColumnsToContents();
    itinerary_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    totals_->setText(QStringLiteral("Total: ") + TotalsText());
    for (QPushButton* b : {createRoute_, print_, saveCsv_}) b->setEnabled(true);
}

QString TfPlanVoyage::ItineraryCsv() const {
    QStringList lines{kColumns.join(QLatin1Char(','))};
    for (QStringList fields : rows_) {
        for (QString& f : fields) f = CsvField(f);
        lines << fields.join(QLatin1Char(','));
    }
    const voyage::Totals& t = plan_.Total;
    lines << QStringLiteral("Total,,,%1,,,%2,%3").arg(t.Parsecs).arg(t.Cost).arg(t.Days);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void TfPlanVoyage::rCreateRouteClick() {
    if (!universe_ || !plan_.Found || stopNames_.size() < 2) {
        prompter_.Information(QStringLiteral("No Route to Plot"));
        return;
    }
    const QString proposed = QStringLiteral("Voyage %1 to %2")
                                 .arg(FromMap(stopNames_.front()), FromMap(stopNames_.back()));
    const std::optional<QString> answer = prompter_.Input(QStringLiteral("Create Route"), QStringLiteral("Route Name"), proposed);
    if (!answer) return;
    if (answer->trimmed().isEmpty()) {
        prompter_.Information(QStringLiteral("Invalid Path Name"));
        return;
    }
    const std::optional<std::string> name = ToMap(*answer);
    if (!name) {
        prompter_.Error(NotStorableMessage());
        return;
    }
    // The jumps in travel order, two names each, as a route is made of them.
    std::vector<std::string> names;
    for (std::size_t i = 1; i < stopNames_.size(); ++i) {
        names.push_back(stopNames_[i - 1]);
        names.push_back(stopNames_[i]);
    }
    CreateRouteResult result;
    auto create = [&] { result = CreateRouteFromPath(*universe_, names, *name); };
    if (runEdit_)
        runEdit_(create);
    else
        create();
    if (!result.Message.empty()) prompter_.Information(FromMap(result.Message));
}

void TfPlanVoyage::rPrintClick() {
    if (!plan_.Found) return;
    QPrinter printer(QPrinter::HighResolution);
    if (!prompter_.ChoosePrinter(printer)) return;
    QString html = QStringLiteral("<h3>%1</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>")
                       .arg(windowTitle().toHtmlEscaped());
    for (const QString& c : kColumns) html += QStringLiteral("<th>%1</th>").arg(c);
    html += QStringLiteral("</tr>");
    for (const QStringList& row : rows_) {
        html += QStringLiteral("<tr>");
        for (const QString& cell : row) html += QStringLiteral("<td>%1</td>").arg(cell.toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table><p>Total: %1</p>").arg(TotalsText().toHtmlEscaped());
    QTextDocument document;
    document.setHtml(html);
    BusyScope busy(activity_);
    document.print(&printer);
}

void TfPlanVoyage::rSaveCsvClick() {
    if (!plan_.Found) return;
    const std::optional<QString> path = prompter_.SaveFile(
        {QStringLiteral("Save Itinerary"), QStringLiteral("CSV files (*.csv)"), QStringLiteral("csv"), QString()});
    if (!path) return;
    const QByteArray bytes = ItineraryCsv().toUtf8();
    ReplacingOutputFile file(QFile::encodeName(*path).toStdString());
    if (!file.Open() || !file.WriteAll(bytes.constData(), static_cast<std::size_t>(bytes.size())))
        prompter_.Error(QStringLiteral("Cannot write %1").arg(*path));
}

}  // namespace hexlane::ui
