// The navigator tree and the listing it decides: building the tree, filling
// the system list for the selected node, the tree's status text, popups,
// double clicks, drops of list rows on nodes and the add commands.

#include "Mainform.h"

#include "DefineUniverse.h"
#include "Icons.h"
#include "NavigatorTree.h"
#include "SystemList.h"
#include "UiText.h"

#include <QLabel>
#include <QMenu>

#include <algorithm>
#include <unordered_map>

namespace hexlane::ui {

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kObjectRole = Qt::UserRole + 1;
constexpr int kNameRole = Qt::UserRole + 2;  // the node's name as map bytes

QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, QTreeWidget* tree, const std::string& name, NodeKind kind,
                         int icon, TManager* object = nullptr) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setIcon(0, TreeIcon(icon));
    item->setData(0, kKindRole, static_cast<int>(kind));
    item->setData(0, kObjectRole, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
    TfMainform::SetNodeName(item, name);
    return item;
}

TManager* NodeObject(const QTreeWidgetItem* item) {
    return item ? reinterpret_cast<TManager*>(item->data(0, kObjectRole).value<quintptr>()) : nullptr;
}

// (name, object) pairs sorted by name without regard to case.
template <typename T>
std::vector<T*> SortedByName(const std::vector<T*>& objects) {
    std::vector<T*> sorted = objects;
    std::stable_sort(sorted.begin(), sorted.end(), [](const T* a, const T* b) {
        return FromMap(a->Name1).compare(FromMap(b->Name1), Qt::CaseInsensitive) < 0;
    });
    return sorted;
}

}  // namespace

// ---------------------------------------------------------------- nodes

NodeKind TfMainform::KindOf(const QTreeWidgetItem* item) {
    return item ? static_cast<NodeKind>(item->data(0, kKindRole).toInt()) : NodeKind::Root;
}

std::string TfMainform::NodeName(const QTreeWidgetItem* item) {
    return item->data(0, kNameRole).toByteArray().toStdString();
}

void TfMainform::SetNodeName(QTreeWidgetItem* item, const std::string& name) {
    item->setText(0, FromMap(name));
    item->setData(0, kNameRole, QByteArray::fromStdString(name));
}

int TfMainform::LevelOf(const QTreeWidgetItem* item) {
    int level = 0;
    for (const QTreeWidgetItem* p = item ? item->parent() : nullptr; p; p = p->parent()) ++level;
    return level;
}

TSector* TfMainform::SectorOf(const QTreeWidgetItem* item) const {
    return As<TSector>(NodeObject(item));
}

TAllegiance* TfMainform::AllegianceOf(const QTreeWidgetItem* item) const {
    return As<TAllegiance>(NodeObject(item));
}

TRoute* TfMainform::RouteOf(const QTreeWidgetItem* item) const {
    return As<TRoute>(NodeObject(item));
}

QTreeWidgetItem* TfMainform::SelectedNode() const {
    const auto selected = tree_->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

bool TfMainform::SelectNode(const QStringList& path) {
    QTreeWidgetItem* found = nullptr;
    for (int i = 0; i < tree_->topLevelItemCount() && !found; ++i)
        if (tree_->topLevelItem(i)->text(0) == path.value(0)) found = tree_->topLevelItem(i);
    for (int depth = 1; found && depth < path.size(); ++depth) {
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < found->childCount() && !next; ++i)
            if (found->child(i)->text(0) == path[depth]) next = found->child(i);
        found = next;
    }
    if (!found) return false;
    tree_->setCurrentItem(found);
    UpdateTreeStatus();
    return true;
}

// ---------------------------------------------------------------- rebuild

void TfMainform::RebuildTree() {
    rebuildingTree_ = true;
    tree_->setUpdatesEnabled(false);
    tree_->clear();
    listModel_->ResetSort();

    QTreeWidgetItem* sectors = AddNode(nullptr, tree_, "Sectors", NodeKind::Root, 1);
    QTreeWidgetItem* surveyed = AddNode(sectors, tree_, "Surveyed", NodeKind::SectorGroup, 1);
    QTreeWidgetItem* notSurveyed = AddNode(sectors, tree_, "Not Surveyed", NodeKind::SectorGroup, 1);
    QTreeWidgetItem* allegiances = AddNode(nullptr, tree_, "Allegiances", NodeKind::Root, 1);
    QTreeWidgetItem* routes = AddNode(nullptr, tree_, "Routes", NodeKind::Root, 1);

    for (TSector* sector : universe_->Sectors()->ChildrenOf<TSector>()) {
        QTreeWidgetItem* node =
            AddNode(sector->HasStars() ? surveyed : notSurveyed, tree_, sector->Name1, NodeKind::Sector, 0, sector);
        for (const std::string& name : sector->SSName) AddNode(node, tree_, name, NodeKind::Subsector, 2);
    }
    for (TAllegiance* a : SortedByName(universe_->Allegiances()->ChildrenOf<TAllegiance>()))
        AddNode(allegiances, tree_, a->Name1, NodeKind::Allegiance, 2, a);
    for (TRoute* r : SortedByName(universe_->Routes()->ChildrenOf<TRoute>()))
        AddNode(routes, tree_, r->Name1, NodeKind::Route, 2, r);

    sectors->setExpanded(true);
    surveyed->setExpanded(true);
    tree_->setUpdatesEnabled(true);
    rebuildingTree_ = false;
    // Selecting "Sectors" empties the list and detaches the popups.
    tree_->clearSelection();
    tree_->setCurrentItem(sectors);
}

// ---------------------------------------------------------------- listing

void TfMainform::TreeSelectionChanged() {
    if (!rebuildingTree_) FillList();
}

void TfMainform::FillList() {
    treePopup_ = nullptr;
    listPopup_ = nullptr;
    listModel_->ResetSort();
    listModel_->Clear();
    listing_ = ListingMode::None;

    QTreeWidgetItem* node = SelectedNode();
    const NodeKind kind = KindOf(node);
    if (!node || kind == NodeKind::Root || kind == NodeKind::SectorGroup || kind == NodeKind::Sector) {
        if (kind == NodeKind::Sector) treePopup_ = sectorPopup_;
        // The count below the tree follows the node, not the last listing.
        if (node)
            UpdateTreeStatus();
        else
            treeStatus_->clear();
        return;
    }

    BusyScope busy(this);
    listView_->setUpdatesEnabled(false);
    if (kind == NodeKind::Subsector) {
        treePopup_ = subsectorPopup_;
        listPopup_ = starPopup_;
        listing_ = ListingMode::SubsectorStars;
        listModel_->SetStarColumns(columns_);
        std::vector<TStar*> stars;
        if (TSector* sector = SectorOf(node->parent())) {
            const std::string name = NodeName(node);
            for (TStar* star : sector->Stars())
                if (star->SubSectorName == name) stars.push_back(star);
        }
        listModel_->AddStars(stars);
    } else if (kind == NodeKind::Allegiance) {
        treePopup_ = allegiancePopup_;
        listPopup_ = membersPopup_;
        listing_ = ListingMode::AllegianceMembers;
        listModel_->SetStarColumns(columns_);
        const std::string name = NodeName(node);
        std::vector<TStar*> stars;
        universe_->ForEachStar([&](TStar& star) {
            if (star.Allegiance == name) stars.push_back(&star);
        });
        listModel_->AddStars(stars);
    } else if (kind == NodeKind::Route) {
        treePopup_ = routePopup_;
        listPopup_ = legPopup_;
        listing_ = ListingMode::RouteLegs;
        listModel_->SetLegColumns();
        if (TRoute* route = RouteOf(node)) listModel_->AddLegs(route->Legs(), *universe_);
    }
    UpdateTreeStatus();
    listView_->setUpdatesEnabled(true);
}

void TfMainform::UpdateTreeStatus() {
    QTreeWidgetItem* node = SelectedNode();
    if (!node) return;
    const int rows = listModel_->rowCount();
    QString text;
    switch (KindOf(node)) {
    case NodeKind::Root:
        if (node->text(0) == "Allegiances")
            text = QString("Empires : %1").arg(universe_->Allegiances()->ChildrenOf<TAllegiance>().size());
        else if (node->text(0) == "Routes")
            text = QString("Routes : %1").arg(universe_->Routes()->ChildrenOf<TRoute>().size());
        break;
    case NodeKind::SectorGroup: {
        // The stars of the sectors the group lists (always none under
        // "Not Surveyed").
        const bool surveyed = node->text(0) == "Surveyed";
        std::size_t count = 0;
        for (TSector* sector : universe_->Sectors()->ChildrenOf<TSector>())
            if (sector->HasStars() == surveyed) count += sector->Stars().size();
        text = QString("%1 : %2").arg(node->text(0)).arg(count);
        break;
    }
    case NodeKind::Sector:
        text = QString("Systems : %1").arg(SectorOf(node) ? SectorOf(node)->Stars().size() : 0);
        break;
    case NodeKind::Subsector:
        text = QString("Systems : %1").arg(rows);
        break;
    case NodeKind::Allegiance:
        text = QString("Members : %1").arg(rows);
        break;
    case NodeKind::Route:
        text = QString("Legs/Dist : %1 / %2").arg(rows).arg(RouteOf(node) ? RouteOf(node)->Distance() : 0);
        break;
    }
    treeStatus_->setText(text);
}

std::vector<TStar*> TfMainform::SelectedStars() const {
    std::vector<TStar*> stars;
    for (int row : listView_->SelectedRows()) stars.push_back(listModel_->StarAt(row));
    return stars;
}

std::vector<TRouteLeg*> TfMainform::SelectedLegs() const {
    std::vector<TRouteLeg*> legs;
    for (int row : listView_->SelectedRows()) legs.push_back(listModel_->LegAt(row));
    return legs;
}

// ---------------------------------------------------------------- popups and keys

void TfMainform::ShowTreePopup(QPoint pos) {
    // A right click acts on the node under the pointer: select it first.
    if (QTreeWidgetItem* item = tree_->itemAt(pos); item && item != SelectedNode()) {
        tree_->setCurrentItem(item);
        UpdateTreeStatus();
    }
    if (treePopup_) treePopup_->popup(tree_->viewport()->mapToGlobal(pos));
}

void TfMainform::ShowListPopup(QPoint pos) {
    if (listPopup_) listPopup_->popup(listView_->viewport()->mapToGlobal(pos));
}

void TfMainform::TreeDeleteKey() {
    switch (KindOf(SelectedNode())) {
    case NodeKind::Sector:
        rmDeleteSectorClick();
        break;
    case NodeKind::Allegiance:
        rmDeleteAllegianceClick();
        break;
    case NodeKind::Route:
        rmDeleteRouteClick();
        break;
    default:
        break;
    }
}

void TfMainform::ListDeleteKey() {
    if (listPopup_ == starPopup_ || listPopup_ == membersPopup_)
        rmDeleteStarClick();
    else if (listPopup_ == legPopup_)
        rmDeleteLegClick();
}

// ---------------------------------------------------------------- drag and drop

void TfMainform::rListingDragDrop(QTreeWidgetItem* target) {
    if (!target) return;
    BusyScope busy(this);
    const NodeKind source = KindOf(SelectedNode());
    const NodeKind kind = KindOf(target);
    if (LevelOf(target) == 0) {
        prompter_->Information("Cannot drop to this node");
        return;
    }
    if (source == NodeKind::Subsector && kind != NodeKind::Subsector) {
        if (kind != NodeKind::Allegiance) {
            prompter_->Information("These systems can only be dropped to other subsectors or Allegiances.");
            return;
        }
        if (!prompter_->YesNo("Should the chosen systems swear Allegiance\nto " + target->text(0) + "?")) return;
        const std::string name = NodeName(target);
        Edit(
            "Drop onto " + target->text(0),
            [&] {
                for (TStar* star : SelectedStars())
                    if (star) star->Allegiance = name;
            },
            MapDocument::Picture | MapDocument::Listing);
        return;
    }
    if (source == NodeKind::Allegiance && kind != NodeKind::Allegiance) {
        prompter_->Information("These systems can only be dropped to other Allegiances.");
        return;
    }
    if (source == NodeKind::Route && kind != NodeKind::Route) {
        prompter_->Information("These systems can only be dropped to other Routes.");
        return;
    }
    Edit("Drop onto " + target->text(0), [&] {
        if (source == NodeKind::Subsector)
            DropOnSubsector(target);
        else if (source == NodeKind::Allegiance)
            DropOnAllegiance(target);
        else if (source == NodeKind::Route)
            DropOnRoute(target);
        else
            prompter_->Information("Error : DragDrop");
    }, source == NodeKind::Subsector ? MapDocument::Layout | MapDocument::Listing
                                     : MapDocument::Picture | MapDocument::Listing);
}

void TfMainform::DropOnSubsector(QTreeWidgetItem* target) {
    const std::string name = NodeName(target);
    TSector* targetSector = SectorOf(target->parent());
    for (TStar* star : SelectedStars()) {
        if (!star) {
            prompter_->Information("Invalid Star Pointer");
            break;
        }
        star->SubSectorName = name;
        // A star moves into another sector as a copy; the original goes.
        if (targetSector && star->Owner() != targetSector) {
            CloneObject(targetSector, *star);
            TManager::Destroy(star);
        }
    }
}

void TfMainform::DropOnAllegiance(QTreeWidgetItem* target) {
    const std::string name = NodeName(target);
    // How many stars of each name already swear allegiance to the target:
    // counted once, then kept up to date, so a large drop stays quick.
    std::unordered_map<std::string, int> members;
    universe_->ForEachStar([&](TStar& star) {
        if (star.Allegiance == name) ++members[star.Name1];
    });
    for (TStar* star : SelectedStars()) {
        if (!star) {
            prompter_->Information("Invalid Star Pointer");
            break;
        }
        const bool already = star->Allegiance == name;
        if (members[star->Name1] - (already ? 1 : 0) > 0) {
            prompter_->Information("This Empire already has a Star by that name.");
            break;
        }
        if (!already) {
            star->Allegiance = name;
            ++members[star->Name1];
        }
    }
}

void TfMainform::DropOnRoute(QTreeWidgetItem* target) {
    TRoute* route = RouteOf(target);
    if (!route) {
        prompter_->Information("Error : Invalid Route Pointer");
        return;
    }
    for (TRouteLeg* leg : SelectedLegs()) {
        if (!leg) {
            prompter_->Information("Error : Invalid Leg Pointer");
            break;
        }
        if (leg->Owner() == route) continue;  // already there: copying would only reorder it
        auto* copy = static_cast<TRouteLeg*>(CloneObject(route, *leg));
        if (leg == instaLeg_) instaLeg_ = copy;
        TManager::Destroy(leg);
    }
}

// ---------------------------------------------------------------- add commands

std::string TfMainform::AskName(const QString& title, const QString& prompt) {
    const auto answer = prompter_->Input(title, prompt, {});
    if (!answer || answer->isEmpty()) return {};
    const auto name = ToMap(*answer);
    if (!name) {
        prompter_->Error(NotStorableMessage());
        return {};
    }
    return *name;
}

void TfMainform::rmAddAllegianceClick() {
    const std::string name = AskName("Add Allegiance", "Allegiance");
    if (name.empty()) return;
    if (universe_->FindAllegiance(name)) {
        prompter_->Information("This Allegiance already exists.  Please select another name.");
        return;
    }
    BusyScope busy(this);
    Edit(
        "Add Allegiance", [&] { universe_->Allegiances()->Create<TAllegiance>()->Name1 = name; },
        MapDocument::Structure, MapDocument::Touched::Only({}));
}

void TfMainform::rmAddRouteClick() {
    const std::string name = AskName("Add Route", "Route Name");
    if (name.empty()) return;
    if (universe_->FindRoute(name)) {
        prompter_->Information("This Route already exists.  Please select another name.");
        return;
    }
    BusyScope busy(this);
    Edit(
        "Add Route",
        [&] {
            auto* route = universe_->Routes()->Create<TRoute>();
            route->Name1 = name;
            route->User = true;
        },
        MapDocument::Structure, MapDocument::Touched::Only({}));
}

}  // namespace hexlane::ui
