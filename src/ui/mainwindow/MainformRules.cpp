// Systems by the game's rules: Sector > "Generate Systems..." (also on the
// tree's sector and subsector popups and the sector grid's cells) and Map >
// "Check Against Rules...", whose findings go to the "Errors/Messages" window.

#include "Mainform.h"

#include "CheckRulesDialog.h"
#include "DefineUniverse.h"
#include "EditSS.h"
#include "GenerateSystemsDialog.h"
#include "MergeErrorsWindow.h"
#include "NavigatorTree.h"
#include "RuleTables.h"
#include "SystemList.h"

#include <QAction>
#include <QMenuBar>
#include <QTreeWidgetItem>

namespace hexlane::ui {

namespace {

// The window's menu of this object name, made (before the Options menu) when
// the window has none yet.
QMenu* MenuNamed(QMainWindow& window, const char* objectName, const QString& title) {
    if (auto* menu = window.menuBar()->findChild<QMenu*>(QString::fromLatin1(objectName))) return menu;
    auto* menu = new QMenu(title, window.menuBar());
    menu->setObjectName(QString::fromLatin1(objectName));
    auto* options = window.menuBar()->findChild<QMenu*>(QStringLiteral("rOptionsMenu"));
    window.menuBar()->insertMenu(options ? options->menuAction() : nullptr, menu);
    return menu;
}

}  // namespace

void TfMainform::CreateRulesCommands() {
    generateSystems_ = new TfGenerateSystems(*prompter_, this);
    checkRules_ = new TfCheckRules(this);

    QAction* generate = NewAction("rGenerateSystems", "&Generate Systems...", &TfMainform::rGenerateSystemsClick);
    QAction* check = NewAction("rCheckRules", "&Check Against Rules...", &TfMainform::rCheckRulesClick);
    MenuNamed(*this, "rSectorMenu", QStringLiteral("Se&ctor"))->addAction(generate);
    MenuNamed(*this, "rMapMenu", QStringLiteral("&Map"))->addAction(check);

    // At the end of the tree's popups, after the items they always had.
    for (QMenu* popup : {sectorPopup_, subsectorPopup_}) {
        popup->addSeparator();
        QAction* item = popup->addAction(QStringLiteral("Generate Systems..."));
        item->setObjectName(QStringLiteral("rmGenerateSystems"));
        connect(item, &QAction::triggered, this, &TfMainform::rGenerateSystemsClick);
    }
    // From the sector grid: one step of its own inside the grid's session.
    sectorGrid_->SetGenerateSystems([this](TSector& sector) {
        // What the grid changed before becomes the grid's own step.
        document_->RecordPending(QStringLiteral("Edit Sectors/Subsectors"));
        if (generateSystems_->Execute(*universe_, &sector) > 0)
            document_->RecordPending(QStringLiteral("Generate Systems"));
    });
}

void TfMainform::rGenerateSystemsClick() {
    // The sector or subsector selected in the tree is offered first.
    TSector* sector = SelectedSector();
    int x = 0, y = 0;
    QTreeWidgetItem* node = SelectedNode();
    if (sector && KindOf(node) == NodeKind::Subsector) {
        const int index = node->parent()->indexOfChild(node);  // the subsectors in stored order
        x = index / 4 + 1;
        y = index % 4 + 1;
    }
    QStringList path;
    for (const QTreeWidgetItem* n = node; n; n = n->parent()) path.prepend(n->text(0));

    bool made = false;
    Edit(QStringLiteral("Generate Systems"), [&] {
        listModel_->Clear();  // the list lets go of its star references while the sector grows
        made = generateSystems_->Execute(*universe_, sector, x, y) > 0;
    });
    // A sector that gained its first systems moved to "Surveyed".
    if (made && !path.isEmpty() && !SelectNode(path) && path.size() > 2 && path[0] == "Sectors") {
        path[1] = QStringLiteral("Surveyed");
        SelectNode(path);
    }
}

void TfMainform::rCheckRulesClick() {
    if (!checkRules_->Execute(*universe_)) return;
    BusyScope busy(this);
    const std::vector<std::string> lines = checkRules_->Check(*universe_);
    if (lines.empty()) {
        prompter_->Information(QStringLiteral("No system breaks the %1 rules.")
                                   .arg(QString::fromLatin1(rules::RuleSetName(checkRules_->RuleSet()))));
        return;
    }
    messages_->Clear();
    messages_->AddLines(lines);
    messages_->ShowModal();
}

}  // namespace hexlane::ui
