// The main window between maps and between runs: File > New, the recent
// files, and what the window remembers in the settings (geometry, toolbars,
// splitters, the system list's columns).

#include "Mainform.h"

#include "DefineUniverse.h"
#include "MapView.h"
#include "Settings.h"
#include "SystemList.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QSplitter>

#include <map>

namespace hexlane::ui {

// ---------------------------------------------------------------- new

void TfMainform::rNewClick() {
    if (!AskToSaveChanges()) return;
    // The same replacement of the universe that opening a map goes through,
    // then the window as at start: no file, Auto Refresh on, no picture.
    std::unique_ptr<TUniverse> universe = TUniverse::CreateNew();
    universe->AutoRefresh = true;
    if (!SetUniverse(std::move(universe))) return;
    autoRefresh_->setChecked(true);
    useAltTL_->setChecked(false);
    useSectorHexAddressing_->setChecked(false);
    for (QLabel* panel : panels_) panel->clear();
    lastMapPoint_ = {};
    Invalidate();
}

// ---------------------------------------------------------------- recent files

void TfMainform::NoteRecentFile(const QString& path) {
    Settings::SetRecentFiles(WithRecentFile(Settings::RecentFiles(), path));
    FillRecentMenu();
}

void TfMainform::FillRecentMenu() {
    recentMenu_->clear();
    const QStringList files = Settings::RecentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString& path = files[i];
        // Access keys 1-9, then 0 for the tenth.
        const QString name = QFileInfo(path).fileName().replace('&', "&&");
        QAction* item = recentMenu_->addAction(QString("&%1 %2").arg((i + 1) % 10).arg(name));
        item->setToolTip(path);
        item->setData(path);
        connect(item, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
    recentMenu_->addSeparator();
    QAction* clear = recentMenu_->addAction("Clear Menu");
    clear->setObjectName("rClearRecent");
    clear->setEnabled(!files.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        Settings::SetRecentFiles({});
        FillRecentMenu();
    });
    recentMenu_->setEnabled(true);
}

void TfMainform::OpenRecent(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        QStringList files = Settings::RecentFiles();
        files.removeAll(path);
        Settings::SetRecentFiles(files);
        FillRecentMenu();
        prompter_->Error(QString("The map \"%1\" no longer exists. It has been removed from the recent files.")
                             .arg(path));
        return;
    }
    OpenMapFile(path);
}

// ---------------------------------------------------------------- settings

namespace {

const QString kGeometry = QStringLiteral("window/geometry");
const QString kState = QStringLiteral("window/state");
const QString kMainSplitter = QStringLiteral("window/mainSplitter");
const QString kContentSplitter = QStringLiteral("window/contentSplitter");
const QString kColumns = QStringLiteral("systemList/columns");

// The star columns as "number:shown:width" entries in table order.
QStringList ColumnsText(const std::vector<TSysListCol>& columns) {
    QStringList text;
    for (const TSysListCol& col : columns)
        text.push_back(QString("%1:%2:%3").arg(col.Number).arg(col.Visible ? 1 : 0).arg(col.Width));
    return text;
}

void ApplyColumnsText(const QStringList& text, std::vector<TSysListCol>& columns) {
    for (const QString& entry : text) {
        const QStringList parts = entry.split(':');
        bool okNumber = false, okWidth = false;
        const int number = parts.value(0).toInt(&okNumber);
        const int width = parts.value(2).toInt(&okWidth);
        if (parts.size() != 3 || !okNumber || !okWidth) continue;
        for (TSysListCol& col : columns)
            if (col.Number == number) {
                col.Visible = parts[1] == "1";
                if (width >= 10 && width <= 2000) col.Width = width;
            }
    }
}

}  // namespace

void TfMainform::SaveSettings() {
    // Widths the user dragged in the list's header belong to the columns shown.
    if (listModel_->Kind() == ColumnKind::Stars) {
        std::map<int, int> widths;
        for (int c = 0; c < listModel_->columnCount(); ++c)
            widths[listModel_->ColumnNumber(c)] = listView_->header()->sectionSize(c);
        for (TSysListCol& col : columns_)
            if (const auto found = widths.find(col.Number); found != widths.end() && found->second > 0)
                col.Width = found->second;
    }
    Settings::SetValue(kGeometry, saveGeometry());
    Settings::SetValue(kState, saveState());
    Settings::SetValue(kMainSplitter, mainSplitter_->saveState());
    Settings::SetValue(kContentSplitter, contentSplitter_->saveState());
    Settings::Store().setValue(kColumns, ColumnsText(columns_));
    SaveViewSettings();
    Settings::Store().sync();
}

void TfMainform::RestoreSettings() {
    if (const QByteArray geometry = Settings::Value(kGeometry); !geometry.isEmpty()) restoreGeometry(geometry);
    if (const QByteArray state = Settings::Value(kState); !state.isEmpty()) restoreState(state);
    if (const QByteArray split = Settings::Value(kMainSplitter); !split.isEmpty()) mainSplitter_->restoreState(split);
    if (const QByteArray split = Settings::Value(kContentSplitter); !split.isEmpty())
        contentSplitter_->restoreState(split);
    const QStringList columns = Settings::Store().value(kColumns).toStringList();
    if (!columns.isEmpty()) {
        ApplyColumnsText(columns, columns_);
        listModel_->SetStarColumns(columns_, true);
    }
    RestoreViewSettings();
}

}  // namespace hexlane::ui
