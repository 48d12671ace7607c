#include "SelectedSaveDialog.h"

#include "AccessKeys.h"

#include "Activity.h"
#include "LineStyleControls.h"
#include "Prompter.h"
#include "UiText.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>

namespace hexlane::ui {

namespace {

// A column of boxes indented under their group box.
QVBoxLayout* Indented(std::initializer_list<QWidget*> boxes) {
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(20, 0, 0, 0);
    for (QWidget* box : boxes) layout->addWidget(box);
    return layout;
}

void Uncheck(std::initializer_list<QCheckBox*> boxes) {
    for (QCheckBox* box : boxes) box->setChecked(false);
}

void Enable(std::initializer_list<QCheckBox*> boxes, bool enabled) {
    for (QCheckBox* box : boxes) box->setEnabled(enabled);
}

}  // namespace

QCheckBox* TfSelectedSave::Box(const char* objectName, const QString& caption) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setChecked(true);
    return box;
}

TfSelectedSave::TfSelectedSave(Prompter& prompter, Activity* activity, QWidget* parent)
    : QDialog(parent), prompter_(prompter), activity_(activity) {
    setObjectName(QStringLiteral("TfSelectedSave"));
    setWindowTitle(QStringLiteral("Selected Save"));

    sectors_ = Box("rSectorInformation", QStringLiteral("Sector/Subsector Information"));
    sectorVisible_ = Box("rSectorVisible", QStringLiteral("Visible"));
    stars_ = Box("rStars", QStringLiteral("Stars"));
    starVisible_ = Box("rStarVisible", QStringLiteral("Visible"));
    starVisited_ = Box("rStarVisited", QStringLiteral("Visited"));
    starMapped_ = Box("rStarMapped", QStringLiteral("Mapped World"));
    starUserSurveyed_ = Box("rStarUserSurveyed", QStringLiteral("User Surveyed"));
    allegiances_ = Box("rAllegiances", QStringLiteral("Allegiances (if used by a saved star then saved anyway)"));
    routes_ = Box("rRoutes", QStringLiteral("Routes"));
    routeVisible_ = Box("rRouteVisible", QStringLiteral("Visible"));
    routeUserDefined_ = Box("rRouteUserDefined", QStringLiteral("User Defined"));

    auto* note = new QLabel(QStringLiteral("Use this function to save off specific parts of a map.  If no options are "
                                           "checked, then the map file is saved with nothing in it."),
                            this);
    note->setWordWrap(true);

    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QBoxLayout* buttons = MakeOkCancelRow(this, ok, cancel);

    auto* starFilters = Indented({starVisible_, starVisited_, starMapped_, starUserSurveyed_});
    auto* sectorOptions = Indented({sectorVisible_, stars_});
    sectorOptions->addLayout(starFilters);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sectors_);
    layout->addLayout(sectorOptions);
    layout->addWidget(allegiances_);
    layout->addWidget(routes_);
    layout->addLayout(Indented({routeVisible_, routeUserDefined_}));
    layout->addWidget(note);
    layout->addLayout(buttons);
    setFixedSize(380, sizeHint().height());

    connect(sectors_, &QCheckBox::toggled, this, &TfSelectedSave::UpdateDependents);
    connect(stars_, &QCheckBox::toggled, this, &TfSelectedSave::UpdateDependents);
    connect(routes_, &QCheckBox::toggled, this, &TfSelectedSave::UpdateDependents);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfSelectedSave::UpdateDependents() {
    // An unchecked group unchecks its options; checking it again only makes
    // them available. The star filters need both the sectors and the stars.
    if (!sectors_->isChecked()) Uncheck({sectorVisible_, stars_});
    if (!stars_->isChecked()) Uncheck({starVisible_, starVisited_, starMapped_, starUserSurveyed_});
    if (!routes_->isChecked()) Uncheck({routeVisible_, routeUserDefined_});
    Enable({sectorVisible_, stars_}, sectors_->isChecked());
    Enable({starVisible_, starVisited_, starMapped_, starUserSurveyed_}, sectors_->isChecked() && stars_->isChecked());
    Enable({routeVisible_, routeUserDefined_}, routes_->isChecked());
}

TSelectedSaveOptions TfSelectedSave::Options() const {
    TSelectedSaveOptions o;
    o.SectorInformation = sectors_->isChecked();
    o.SectorVisible = sectorVisible_->isChecked();
    o.Stars = stars_->isChecked();
    o.StarVisible = starVisible_->isChecked();
    o.StarVisited = starVisited_->isChecked();
    o.StarMapped = starMapped_->isChecked();
    o.StarUserSurveyed = starUserSurveyed_->isChecked();
    o.Allegiances = allegiances_->isChecked();
    o.Routes = routes_->isChecked();
    o.RouteVisible = routeVisible_->isChecked();
    o.RouteUserDefined = routeUserDefined_->isChecked();
    return o;
}

std::optional<TSelectedSaveOptions> TfSelectedSave::Execute() {
    if (exec() != QDialog::Accepted) return std::nullopt;
    return Options();
}

bool TfSelectedSave::SaveSelected(TUniverse& universe, const QString& folder) {
    const std::optional<TSelectedSaveOptions> options = Execute();
    if (!options) return false;
    // The chooser starts in the folder of the map in memory but proposes no
    // file: a part of the map must not overwrite the whole by a slip.
    const auto path = prompter_.SaveFile(FileChoice{QStringLiteral("Selected Save"),
                                                    QStringLiteral("Map File (*.map)"), QStringLiteral("map"), folder});
    if (!path) return false;
    std::string message;
    bool saved = false;
    {
        BusyScope busy(activity_);
        saved = SelectedSave(universe, *options, QFile::encodeName(*path).toStdString(), message);
    }
    if (!saved) prompter_.Error(QFile::decodeName(QByteArray::fromStdString(message)));
    return saved;
}

}  // namespace hexlane::ui
