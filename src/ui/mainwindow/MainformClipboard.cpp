// Several systems at once: picking them on the map (Ctrl+click, Shift+drag),
// and Copy, Cut, Paste, Duplicate, Delete and Select All of the Edit menu.
// The clipboard carries T5 tab-delimited rows with their heading line, so a
// spreadsheet, another map or another program takes them as they are; a
// paste reads them back through the sector import, which makes the names
// unique. Each command that changes the map is one undo step.

#include "Mainform.h"

#include "DefineUniverse.h"
#include "ImportT5.h"
#include "SectorRecord.h"
#include "MapMarks.h"
#include "MapView.h"
#include "MergeErrorsWindow.h"
#include "NavigatorTree.h"
#include "SectorExport.h"
#include "SectorFormat.h"
#include "SystemList.h"
#include "UiText.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>

#include <algorithm>
#include <map>
#include <set>

namespace hexlane::ui {

namespace {

constexpr int kColumns = 32, kRows = 40;

// A star's hex in its sector's numbering (column 1-32, row 1-40); false when
// its subsector is not one of the sector's.
bool SectorHex(const TSector& sector, const TStar& star, int& column, int& row) {
    const int position = sector.FindSubsector(star.SubSectorName);
    if (position == 0) return false;
    column = (position - 1) / 4 * 8 + star.StarCoordsX;
    row = (position - 1) % 4 * 10 + star.StarCoordsY;
    return column >= 1 && column <= kColumns && row >= 1 && row <= kRows;
}

bool ParseHex(const std::string& hex, int& column, int& row) {
    if (hex.size() != 4 || !std::all_of(hex.begin(), hex.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    column = std::stoi(hex.substr(0, 2));
    row = std::stoi(hex.substr(2, 2));
    return column >= 1 && column <= kColumns && row >= 1 && row <= kRows;
}

// The hexes of a sector that hold a system.
struct Occupancy {
    std::vector<bool> Taken = std::vector<bool>(kColumns * kRows, false);
    static int Index(int column, int row) { return (column - 1) * kRows + (row - 1); }
    // The hex itself when free, else the next free one in hex-number order
    // (down the column, then the next column), wrapping round; false when
    // the sector is full.
    bool Claim(int& column, int& row) {
        column = std::clamp(column, 1, kColumns);
        row = std::clamp(row, 1, kRows);
        const int start = Index(column, row);
        for (int step = 0; step < kColumns * kRows; ++step) {
            const int at = (start + step) % (kColumns * kRows);
            if (Taken[at]) continue;
            Taken[at] = true;
            column = at / kRows + 1;
            row = at % kRows + 1;
            return true;
        }
        return false;
    }
};

}  // namespace

void TfMainform::CreateClipboardCommands() {
    QMenu* edit = findChild<QMenu*>("rEditMenu");
    QAction* first = edit->actions().value(3);  // after Undo, Redo and their separator
    const struct {
        const char* name;
        const char* text;
        QKeySequence::StandardKey key;
        void (TfMainform::*slot)();
    } items[] = {
        {"rCut", "Cu&t", QKeySequence::Cut, &TfMainform::rCutClick},
        {"rCopy", "&Copy", QKeySequence::Copy, &TfMainform::rCopyClick},
        {"rPaste", "&Paste", QKeySequence::Paste, &TfMainform::rPasteClick},
        {"rDuplicate", "Dup&licate", QKeySequence::UnknownKey, &TfMainform::rDuplicateClick},
        {"rDelete", "&Delete", QKeySequence::Delete, &TfMainform::rDeleteClick},
        {"rSelectAll", "Select &All", QKeySequence::SelectAll, &TfMainform::rSelectAllClick},
    };
    for (const auto& item : items) {
        QAction* action = NewAction(item.name, item.text, item.slot);
        if (item.key != QKeySequence::UnknownKey) action->setShortcuts(item.key);
        edit->insertAction(first, action);
    }
    findChild<QAction*>("rDuplicate")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    // The Delete key keeps its meaning in the tree and the list (their own
    // delete commands); the menu item's key acts on the map.
    QAction* del = findChild<QAction*>("rDelete");
    del->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    mapView_->addAction(del);
    edit->insertSeparator(first);

    mapMarks_ = new MapMarks(mapView_);
    mapMarks_->SetSource([this](int& hexSize) {
        std::vector<QPoint> centres;
        hexSize = universe_ ? universe_->HexSize : 0;
        if (!mapView_->HasPicture()) return centres;
        for (const TStar* star : MapSelection()) centres.emplace_back(star->PictureX, star->PictureY);
        return centres;
    });
    connect(mapView_, &MapView::pickToggled, this, [this](QPoint at) {
        TStar* star = universe_->StarAtPoint(at.x(), at.y());
        if (!star) return;
        std::vector<TStar*> picked = MapSelection();
        if (auto found = std::find(picked.begin(), picked.end(), star); found != picked.end())
            picked.erase(found);
        else
            picked.push_back(star);
        SetMapSelection(std::move(picked));
        Status(QString("%1 system(s) picked").arg(mapSelection_.size()));
    });
    connect(mapView_, &MapView::bandPicked, this, [this](QRect band, bool add) {
        std::vector<TStar*> picked = add ? MapSelection() : std::vector<TStar*>{};
        universe_->ForEachStar([&](const TStar& star) {
            const TSector* sector = star.Sector();
            if (star.Visible && sector && !sector->ExcludeFromDisplay() &&
                band.contains(star.PictureX, star.PictureY) &&
                std::find(picked.begin(), picked.end(), &star) == picked.end())
                picked.push_back(const_cast<TStar*>(&star));
        });
        SetMapSelection(std::move(picked));
        Status(QString("%1 system(s) picked").arg(mapSelection_.size()));
    });
    // A plain click, or a choice in the list, ends the picking on the map.
    connect(mapView_, &MapView::clicked, this, [this] { SetMapSelection({}); });
    connect(listView_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!listView_->SelectedRows().empty()) SetMapSelection({});
    });
}

// ---------------------------------------------------------------- picking

std::vector<TStar*> TfMainform::MapSelection() const {
    // Only systems still in the map: a command, an undo or another map may
    // have taken the others away.
    // The map's systems are looked for among the few picked, not the other
    // way round: the map marks ask for the selection at every repaint.
    if (mapSelection_.empty() || !universe_) return {};
    const std::set<const TStar*> picked(mapSelection_.begin(), mapSelection_.end());
    std::set<const TStar*> live;
    universe_->ForEachStar([&](const TStar& star) {
        if (picked.count(&star)) live.insert(&star);
    });
    std::vector<TStar*> stars;
    for (TStar* star : mapSelection_)
        if (live.count(star)) stars.push_back(star);
    return stars;
}

void TfMainform::SetMapSelection(std::vector<TStar*> stars) {
    mapSelection_ = std::move(stars);
    if (mapMarks_) mapMarks_->update();
}

std::vector<TStar*> TfMainform::ChosenStars() const {
    std::vector<TStar*> stars = MapSelection();
    if (!stars.empty()) return stars;
    for (TStar* star : SelectedStars())
        if (star) stars.push_back(star);
    return stars;
}

// ---------------------------------------------------------------- commands

void TfMainform::RefreshKeepingNode() {
    QStringList path;
    for (const QTreeWidgetItem* node = SelectedNode(); node; node = node->parent()) path.prepend(node->text(0));
    RefreshViews();
    if (path.size() > 2 && path[0] == "Sectors" && !SelectNode(path)) {
        // A sector that gained or lost its last system changed group.
        path[1] = path[1] == "Surveyed" ? "Not Surveyed" : "Surveyed";
        SelectNode(path);
    } else if (path.size() > 1) {
        SelectNode(path);
    }
    RefreshIfDirty();
}

void TfMainform::rCopyClick() {
    const std::vector<TStar*> stars = ChosenStars();
    if (stars.empty()) {
        Status("No system is selected to copy.");
        return;
    }
    std::vector<std::string> lines;
    const std::string text = T5TabTextOfStars(*universe_, {stars.begin(), stars.end()}, lines);
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(text));
    data->setData("text/tab-separated-values", QByteArray::fromStdString(text));
    QGuiApplication::clipboard()->setMimeData(data);
    Status(QString("%1 system(s) copied").arg(stars.size()));
}

void TfMainform::rCutClick() {
    const std::vector<TStar*> stars = ChosenStars();
    if (stars.empty()) return;
    rCopyClick();
    DeleteStars("Cut", stars);
}

void TfMainform::rDeleteClick() {
    // The tree and the list delete what they hold when they have the focus.
    if (tree_->hasFocus()) return TreeDeleteKey();
    if (listView_->hasFocus()) return ListDeleteKey();
    if (const std::vector<TStar*> picked = MapSelection(); !picked.empty()) {
        if (!prompter_->YesNo("Delete Star(s) from the Universe?", Look::Warning)) return;
        DeleteStars("Delete Star", picked);
        return;
    }
    // Otherwise what the Delete key does where the user chose last.
    if (!listView_->SelectedRows().empty())
        ListDeleteKey();
    else
        TreeDeleteKey();
}

void TfMainform::DeleteStars(const QString& what, const std::vector<TStar*>& stars) {
    SetMapSelection({});
    listModel_->Clear();
    Edit(what, [&] {
        for (TStar* star : stars) TManager::Destroy(star);
    });
    RefreshKeepingNode();
}

void TfMainform::rSelectAllClick() {
    SetMapSelection({});
    listView_->selectAll();
}

void TfMainform::rPasteClick() {
    // The hex under the pointer, when the pointer is over the map.
    const QPoint inView = mapView_->viewport()->mapFromGlobal(QCursor::pos());
    if (mapView_->isVisible() && mapView_->HasPicture() && mapView_->viewport()->rect().contains(inView)) {
        lastMapPoint_ = mapView_->ViewportToPicture(inView);
        int column = 0, row = 0;
        if (TSector* sector = SectorHexAt(lastMapPoint_, column, row)) {
            PasteInto(*sector, column, row);
            return;
        }
    }
    // Else the top-left hex of the subsector chosen in the tree.
    QTreeWidgetItem* node = SelectedNode();
    if (KindOf(node) == NodeKind::Subsector)
        if (TSector* sector = SectorOf(node->parent())) {
            const int position = sector->FindSubsector(NodeName(node));
            if (position > 0) {
                PasteInto(*sector, (position - 1) / 4 * 8 + 1, (position - 1) % 4 * 10 + 1);
                return;
            }
        }
    prompter_->Information("Point at a hex of a sector on the map, or choose a subsector in the tree, to paste into.");
}

int TfMainform::PasteInto(TSector& sector, int column, int row) {
    int pasted = 0;
    const QString text = QGuiApplication::clipboard()->text();
    Edit("Paste", [&] { pasted = PasteText(text, sector, column, row); });
    AfterPaste(sector);
    return pasted;
}

void TfMainform::rDuplicateClick() {
    const std::vector<TStar*> stars = ChosenStars();
    if (stars.empty()) return;
    // Each sector's systems go back into it, as near their originals as
    // free hexes allow.
    std::map<TSector*, std::vector<const TStar*>> bySector;
    for (TStar* star : stars)
        if (TSector* sector = star->Sector()) bySector[sector].push_back(star);
    std::vector<TStar*> fresh;
    Edit("Duplicate", [&] {
    for (auto& [sector, group] : bySector) {
        std::vector<std::string> lines;
        const std::string text = T5TabTextOfStars(*universe_, group, lines);
        int column = kColumns, row = kRows;
        for (const TStar* star : group) {
            int c = 0, r = 0;
            if (SectorHex(*sector, *star, c, r)) column = std::min(column, c), row = std::min(row, r);
        }
        PasteText(QString::fromStdString(text), *sector, column, row);
        fresh.insert(fresh.end(), pastedStars_.begin(), pastedStars_.end());
    }
    });
    pastedStars_ = std::move(fresh);
    RefreshKeepingNode();
    SetMapSelection(pastedStars_);
}

void TfMainform::AfterPaste(TSector& sector) {
    (void)sector;
    RefreshKeepingNode();
    // The new systems become the ones picked on the map.
    SetMapSelection(pastedStars_);
    if (!pasteLines_.empty()) {
        messages_->Clear();
        messages_->AddLines(pasteLines_);
        messages_->ShowIfAny();
    }
}

int TfMainform::PasteText(const QString& text, TSector& sector, int column, int row) {
    pastedStars_.clear();
    pasteLines_.clear();
    const std::string bytes = text.toStdString();
    const TSectorFormat format = DetectSectorFormat(bytes);
    if (format != TSectorFormat::T5Tab && format != TSectorFormat::T5Column) {
        prompter_->Information("The clipboard holds no systems to paste.");
        return 0;
    }
    std::vector<TSystemRecord> records;
    std::vector<std::pair<std::size_t, std::string>> messages;
    std::string refused;
    if (!T5Records(bytes, format, records, messages, refused)) {
        prompter_->Information(FromMap(refused));
        return 0;
    }
    // The sector each row names, by line (the records keep only the hex).
    std::map<std::size_t, std::string> sectorOfLine;
    for (const TT5Row& r : ReadT5Rows(bytes, format).Rows) sectorOfLine[r.Line] = r[tfSector];
    // The rows keep their places to one another: each row's hex on the whole
    // map (its sector's place, when this map has a sector of that name),
    // moved so the top-left of them all lands on the hex asked for.
    struct Place {
        int Column = 0, Row = 0;
        bool Good = false;
    };
    std::vector<Place> places(records.size());
    int left = 1 << 20, top = 1 << 20;
    for (std::size_t i = 0; i < records.size(); ++i) {
        int c = 0, w = 0;
        if (!ParseHex(records[i].Hex, c, w)) continue;  // the builder refuses it with its reason
        const std::string& name = sectorOfLine[records[i].Line];
        if (const TSector* from = name.empty() ? nullptr : universe_->FindSector(name)) {
            c += (from->SectorCoordsX - 1) * kColumns;
            w += (from->SectorCoordsY - 1) * kRows;
        }
        places[i] = {c, w, true};
        left = std::min(left, c);
        top = std::min(top, w);
    }
    Occupancy hexes;
    for (const TStar* star : sector.Stars()) {
        int c = 0, w = 0;
        if (SectorHex(sector, *star, c, w)) hexes.Taken[Occupancy::Index(c, w)] = true;
    }
    std::vector<std::string> full;
    std::vector<TSystemRecord> placed;
    for (std::size_t i = 0; i < records.size(); ++i) {
        TSystemRecord& r = records[i];
        if (places[i].Good) {
            int c = column + places[i].Column - left, w = row + places[i].Row - top;
            if (!hexes.Claim(c, w)) {
                full.push_back(r.Name + " not pasted: " + sector.Name1 + " has no free hex");
                continue;
            }
            char hex[8];
            std::snprintf(hex, sizeof hex, "%02d%02d", c, w);
            r.Hex = hex;
        }
        placed.push_back(std::move(r));
    }
    if (placed.empty()) {
        // Nothing to add: the map stays as it is, and the user learns why.
        for (auto& [line, message] : messages) pasteLines_.push_back(message);
        pasteLines_.insert(pasteLines_.end(), full.begin(), full.end());
        return 0;
    }
    const std::size_t before = sector.Stars().size();
    TSectorImportResult result = BuildStars(*universe_, sector, placed, std::move(messages), kT5RecordRules);
    const std::vector<TStar*> all = sector.Stars();
    pastedStars_.assign(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
    pasteLines_ = std::move(result.Lines);
    pasteLines_.insert(pasteLines_.end(), full.begin(), full.end());
    Status(QString("%1 system(s) pasted into %2").arg(pastedStars_.size()).arg(FromMap(sector.Name1)));
    return static_cast<int>(pastedStars_.size());
}

}  // namespace hexlane::ui
