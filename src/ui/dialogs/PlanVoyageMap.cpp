// The planner window beside the map: the map's names and allegiances, the
// map replaced under the window, and systems picked on the map.

#include "PlanVoyage.h"

#include "DefineUniverse.h"
#include "UiText.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringListModel>

namespace hexlane::ui {

namespace {

QString HexText(const TStar& star) {
    return QStringLiteral("%1 %2%3")
        .arg(FromMap(star.SectorName()))
        .arg(star.SectorHexColumn(), 2, 10, QLatin1Char('0'))
        .arg(star.SectorHexRow(), 2, 10, QLatin1Char('0'));
}

}  // namespace

void TfPlanVoyage::Load(TUniverse& universe, const TStar* from, const TStar* to) {
    CancelPick();
    universe_ = &universe;
    LoadProfiles();
    FillNames();
    if (from) SetSystem(from_, *from);
    if (to) SetSystem(to_, *to);
    FillAllegiances({});
    ClearItinerary();
}

void TfPlanVoyage::FillNames() {
    QStringList names;
    if (universe_) universe_->ForEachStar([&](const TStar& star) { names << FromMap(star.Name1); });
    names.removeDuplicates();
    systemNames_->setStringList(names);
}

void TfPlanVoyage::FillAllegiances(const QStringList& checked) {
    avoidAllegiances_->clear();
    if (TAllegiances* list = universe_ ? universe_->Allegiances() : nullptr)
        for (TAllegiance* a : list->ChildrenOf<TAllegiance>()) {
            QString text = FromMap(a->Name1);
            if (!a->ImportCode.empty()) text += QStringLiteral(" (") + FromMap(a->ImportCode) + QLatin1Char(')');
            auto* item = new QListWidgetItem(text, avoidAllegiances_);
            const QByteArray name = QByteArray::fromStdString(a->Name1);
            item->setData(Qt::UserRole, name);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(checked.contains(QString::fromLatin1(name.toHex())) ? Qt::Checked : Qt::Unchecked);
        }
}

// The checked allegiances' names (hex-coded: the map's bytes, whatever they are).
QStringList TfPlanVoyage::CheckedAllegiances() const {
    QStringList names;
    for (int row = 0; row < avoidAllegiances_->count(); ++row)
        if (avoidAllegiances_->item(row)->checkState() == Qt::Checked)
            names << QString::fromLatin1(avoidAllegiances_->item(row)->data(Qt::UserRole).toByteArray().toHex());
    return names;
}

void TfPlanVoyage::Execute(TUniverse& universe, const TStar* from, const TStar* to) {
    if (isVisible() && universe_ == &universe) {
        if (from) SetSystem(from_, *from);
        if (to) SetSystem(to_, *to);
    } else {
        Load(universe, from, to);
    }
    show();
    raise();
    activateWindow();
}

void TfPlanVoyage::Retarget(TUniverse& universe) {
    CancelPick();
    const QStringList checked = CheckedAllegiances();
    universe_ = &universe;
    FillNames();
    FillAllegiances(checked);
    for (QListWidget* list : {waypoints_, avoidSystems_})
        for (int row = list->count() - 1; row >= 0; --row)
            if (!Resolve(list->item(row)->text(), list->item(row)->data(kHexRole))) delete list->takeItem(row);
    for (QLineEdit* edit : {from_, to_})
        if (edit->property(kHexProperty).isValid() && !Resolve(edit->text(), edit->property(kHexProperty))) {
            edit->clear();
            edit->setProperty(kHexProperty, QVariant());
        }
}

void TfPlanVoyage::ForgetMap() {
    CancelPick();
    hide();
    universe_ = nullptr;
    ClearItinerary();
    for (QLineEdit* edit : {from_, to_, waypointName_, avoidName_}) {
        edit->clear();
        edit->setProperty(kHexProperty, QVariant());
    }
    waypoints_->clear();
    avoidSystems_->clear();
    avoidAllegiances_->clear();
    systemNames_->setStringList({});
}

// ---------------------------------------------------------------- picking on the map

void TfPlanVoyage::StartPick(PickTarget target) {
    if (!universe_ || target == picking_) return;
    picking_ = target;
    emit pickingChanged();
}

void TfPlanVoyage::CancelPick() {
    if (picking_ == PickTarget::None) return;
    picking_ = PickTarget::None;
    emit pickingChanged();
}

void TfPlanVoyage::TakePick(const TStar& star) {
    const PickTarget target = picking_;
    if (target == PickTarget::None) return;
    picking_ = PickTarget::None;
    AddSystem(target, star);
    emit pickingChanged();
}

void TfPlanVoyage::ShowPicking() {
    for (const auto& [button, target] : pickButtons_) button->setChecked(target == picking_);
}

QString TfPlanVoyage::PickingText() const {
    switch (picking_) {
    case PickTarget::From: return QStringLiteral("Plan Voyage: click the start system (Esc cancels)");
    case PickTarget::To: return QStringLiteral("Plan Voyage: click the destination (Esc cancels)");
    case PickTarget::Waypoint: return QStringLiteral("Plan Voyage: click a waypoint (Esc cancels)");
    case PickTarget::Avoid: return QStringLiteral("Plan Voyage: click a system to avoid (Esc cancels)");
    case PickTarget::None: break;
    }
    return {};
}

void TfPlanVoyage::AddSystem(PickTarget target, const TStar& star) {
    if (target == PickTarget::From || target == PickTarget::To) {
        SetSystem(target == PickTarget::From ? from_ : to_, star);
        return;
    }
    if (target != PickTarget::Waypoint && target != PickTarget::Avoid) return;
    QListWidget* list = target == PickTarget::Waypoint ? waypoints_ : avoidSystems_;
    const QString name = FromMap(star.Name1);
    const QPoint hex(star.HexX, star.HexY);
    // A waypoint may come again later in the voyage; an avoided system once is enough.
    if (list == avoidSystems_)
        for (int row = 0; row < list->count(); ++row)
            if (list->item(row)->text() == name && list->item(row)->data(kHexRole).toPoint() == hex) return;
    auto* item = new QListWidgetItem(name, list);
    item->setData(kHexRole, hex);
    item->setToolTip(HexText(star));
    list->setCurrentItem(item);
}

void TfPlanVoyage::SetSystem(QLineEdit* edit, const TStar& star) {
    edit->setText(FromMap(star.Name1));
    edit->setProperty(kHexProperty, QPoint(star.HexX, star.HexY));
    edit->setToolTip(HexText(star));
}

void TfPlanVoyage::keyPressEvent(QKeyEvent* event) {
    // Escape while picking ends the picking, not the window.
    if (event->key() == Qt::Key_Escape && picking_ != PickTarget::None) {
        CancelPick();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfPlanVoyage::hideEvent(QHideEvent* event) {
    CancelPick();
    QDialog::hideEvent(event);
}

const TStar* TfPlanVoyage::Resolve(const QString& text, const QVariant& hex) const {
    const std::optional<std::string> name = ToMap(text.trimmed());
    if (!name || !universe_) return nullptr;
    if (hex.isValid()) {
        const QPoint at = hex.toPoint();
        const TStar* found = nullptr;
        universe_->ForEachStar([&](const TStar& star) {
            if (!found && star.HexX == at.x() && star.HexY == at.y() && star.Name1 == *name) found = &star;
        });
        if (found) return found;
    }
    return universe_->FindStar(*name);
}

}  // namespace hexlane::ui
