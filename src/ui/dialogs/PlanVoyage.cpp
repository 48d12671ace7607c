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

// A list of systems the user fills by name: the name field with Add and
// Remove beside it (one row), and the list below it.
struct SystemListParts {
    QLineEdit* Name;
    QListWidget* List;
    QPushButton* Add;
    QPushButton* Remove;
    QHBoxLayout* Row;
};

SystemListParts MakeSystemList(QWidget* parent, const char* name, const char* list, const char* add,
                               const char* remove) {
    SystemListParts parts{new QLineEdit(parent), new QListWidget(parent),
                          MakeButton(QStringLiteral("Add"), add, parent),
                          MakeButton(QStringLiteral("Remove"), remove, parent), new QHBoxLayout};
    parts.Name->setObjectName(QLatin1String(name));
    parts.Name->setMinimumWidth(110);  // room for a name beside the buttons
    parts.List->setObjectName(QLatin1String(list));
    for (QPushButton* b : {parts.Add, parts.Remove}) b->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    parts.Row->addWidget(parts.Name, 1);
    parts.Row->addWidget(parts.Add);
    parts.Row->addWidget(parts.Remove);
    return parts;
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
    voyageForm->addRow(QStringLiteral("From"), from_);
    voyageForm->addRow(QStringLiteral("To"), to_);
    voyageForm->addRow(QStringLiteral("Objective"), objective_);
    const SystemListParts waypoint = MakeSystemList(voyage, "rWaypointName", "rWaypoints", "rAddWaypoint", "rRemoveWaypoint");
    waypointName_ = waypoint.Name;
    waypoints_ = waypoint.List;
    QPushButton* addWaypoint = waypoint.Add;
    QPushButton* removeWaypoint = waypoint.Remove;
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
    const SystemListParts avoided = MakeSystemList(avoid, "rAvoidName", "rAvoidSystems", "rAddAvoid", "rRemoveAvoid");
    avoidName_ = avoided.Name;
    avoidSystems_ = avoided.List;
    QPushButton* addAvoid = avoided.Add;
    QPushButton* removeAvoid = avoided.Remove;
    auto* lists = new QHBoxLayout;
    auto* allegianceColumn = new QVBoxLayout;
    allegianceColumn->addWidget(new QLabel(QStringLiteral("Allegiances"), avoid));
    allegianceColumn->addWidget(avoidAllegiances_);
    auto* systemColumn = new QVBoxLayout;
    systemColumn->addWidget(new QLabel(QStringLiteral("Systems"), avoid));
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
                        unrefined_,   gas_,          water_,         from_,          to_,
                        objective_,   waypointName_, addWaypoint,    removeWaypoint, waypoints_,
                        avoidAmber_,  avoidRed_,     avoidAllegiances_, avoidName_,  addAvoid,
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

void TfPlanVoyage::Load(TUniverse& universe, const TStar* from, const TStar* to) {
    universe_ = &universe;
    LoadProfiles();
    QStringList names;
    universe.ForEachStar([&](const TStar& star) { names << FromMap(star.Name1); });
    names.removeDuplicates();
    systemNames_->setStringList(names);
    if (from) from_->setText(FromMap(from->Name1));
    if (to) to_->setText(FromMap(to->Name1));
    avoidAllegiances_->clear();
    if (TAllegiances* list = universe.Allegiances())
        for (TAllegiance* a : list->ChildrenOf<TAllegiance>()) {
            QString text = FromMap(a->Name1);
            if (!a->ImportCode.empty()) text += QStringLiteral(" (") + FromMap(a->ImportCode) + QLatin1Char(')');
            auto* item = new QListWidgetItem(text, avoidAllegiances_);
            item->setData(Qt::UserRole, QByteArray::fromStdString(a->Name1));
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    ClearItinerary();
}

void TfPlanVoyage::Execute(TUniverse& universe, const TStar* from, const TStar* to) {
    Load(universe, from, to);
    exec();
    // The plan points into the map, which may change once the dialog closes.
    ClearItinerary();
    universe_ = nullptr;
}

const TStar* TfPlanVoyage::Lookup(const QLineEdit* edit, const QString& role) {
    const QString text = edit->text().trimmed();
    const std::optional<std::string> name = ToMap(text);
    const TStar* star = name && universe_ ? universe_->FindStar(*name) : nullptr;
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
    QLineEdit probe;
    for (QListWidget* list : {waypoints_, avoidSystems_})
        for (int row = 0; row < list->count(); ++row) {
            probe.setText(list->item(row)->text());
            const TStar* star = Lookup(&probe, QString());
            if (!star) return;
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
    itinerary_->setRowCount(static_cast<int>(plan_.Stops.size()));
    for (int row = 0; row < itinerary_->rowCount(); ++row) {
        const QStringList cells = ItineraryRow(plan_.Stops[static_cast<std::size_t>(row)]);
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
    for (const VoyageStop& stop : plan_.Stops) {
        QStringList fields = ItineraryRow(stop);
        for (QString& f : fields) f = CsvField(f);
        lines << fields.join(QLatin1Char(','));
    }
    const voyage::Totals& t = plan_.Total;
    lines << QStringLiteral("Total,,,%1,,,%2,%3").arg(t.Parsecs).arg(t.Cost).arg(t.Days);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void TfPlanVoyage::rCreateRouteClick() {
    if (!universe_ || !plan_.Found || plan_.Stops.size() < 2) {
        prompter_.Information(QStringLiteral("No Route to Plot"));
        return;
    }
    const QString proposed = QStringLiteral("Voyage %1 to %2")
                                 .arg(FromMap(plan_.Stops.front().Star->Name1), FromMap(plan_.Stops.back().Star->Name1));
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
    for (std::size_t i = 1; i < plan_.Stops.size(); ++i) {
        names.push_back(plan_.Stops[i - 1].Star->Name1);
        names.push_back(plan_.Stops[i].Star->Name1);
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
    for (const VoyageStop& stop : plan_.Stops) {
        html += QStringLiteral("<tr>");
        for (const QString& cell : ItineraryRow(stop)) html += QStringLiteral("<td>%1</td>").arg(cell.toHtmlEscaped());
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
