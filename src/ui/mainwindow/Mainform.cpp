// The main window: construction, menus, toolbars, status bar, layout of the
// panes, the view options and the display toggles.

#include "Mainform.h"

#include "AboutHexlane.h"
#include "ConfigSysListCols.h"
#include "ConfigureAllegiance.h"
#include "ConfigureRoute.h"
#include "ConfigureRoutes.h"
#include "Credits.h"
#include "DefineAltTechLevels.h"
#include "AccessKeys.h"
#include "ScreenFit.h"
#include "DefineUniverse.h"
#include "DropDowns.h"
#include "EditSS.h"
#include "GenPsiInstitute.h"
#include "GenWorld.h"
#include "Icons.h"
#include "ImportESPDialog.h"
#include "ImportSecDialog.h"
#include "Legend.h"
#include "MapView.h"
#include "MergeErrorsWindow.h"
#include "NavigationInformation.h"
#include "NavigatorTree.h"
#include "Query.h"
#include "PlanVoyage.h"
#include "SearchPathInfo.h"
#include "SelectedSaveDialog.h"
#include "SystemList.h"
#include "UndoHistory.h"
#include "BordersLayer.h"
#include "ViewState.h"
#include "sysedit.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <new>

namespace hexlane::ui {

using render::DisplayToggle;

TfMainform::TfMainform(Prompter* prompter, QWidget* parent) : QMainWindow(parent), prompter_(prompter) {
    setObjectName("TfMainform");
    if (!prompter_) {
        ownPrompter_ = std::make_unique<QtPrompter>(this);
        prompter_ = ownPrompter_.get();
    }
    setWindowTitle("Hexlane[*]");
    setWindowIcon(AppIcon());

    CreateActions();
    CreateUndoActions();
    CreateMenus();
    CreateToolBars();
    CreateCentralArea();
    CreateStatusBar();
    CreatePopups();
    CreateConventions();
    CreateClipboardCommands();
    CreateContextCommands();
    CreateDesktopCommands();

    // The windows the commands show, created once and kept.
    sysEdit_ = new TfSysEdit(*prompter_, this);
    legDialog_ = new TfConfigureRoutes(*prompter_, this);
    sectorGrid_ = new TfEditSS(*prompter_, this);
    pathSearch_ = new TfSearchPathInfo(*prompter_, this, this);
    navigation_ = new TfNavigationInformation(*prompter_, this, *pathSearch_, this);
    // The navigation dialog's edit buttons open the system editor as the map
    // does; the list may show the record the editor replaces.
    navigation_->SetEditStar([this](TStar& star) -> TStar* {
        if (!EditStar(&star)) return nullptr;
        FillList();
        return sysEdit_->Result();
    });
    navigation_->SetMapChanged([this] { Invalidate(); });  // "Plot These Systems Only"
    // "Create Route" and each sector import are commands of their own.
    pathSearch_->SetRunEdit([this](const std::function<void()>& create) { Edit("Create Route", create); });
    planVoyage_ = new TfPlanVoyage(*prompter_, this, this);
    planVoyage_->SetRunEdit([this](const std::function<void()>& create) { Edit("Create Route", create); });
    connect(planVoyage_, &TfPlanVoyage::itineraryChanged, this, &TfMainform::ShowItineraryOnMap);
    connect(planVoyage_, &TfPlanVoyage::pickingChanged, this, &TfMainform::VoyagePickingChanged);
    legend_ = new TfLegend(this);
    allegianceDialog_ = new TfConfigureAllegiance(*prompter_, this);
    about_ = new TfAboutHexlane(this);
    messages_ = new TfMergeErrors(this);
    routeDialog_ = new TfConfigureRoute(*prompter_, this);
    altTechLevels_ = new TfDefineAltTechLevels(*prompter_, this);
    columnChooser_ = new TfConfigSysListCols(this);
    genWorld_ = new TfGenWorld(*prompter_, this);
    selectedSave_ = new TfSelectedSave(*prompter_, this, this);
    query_ = new TfQuery(*prompter_, this, this);
    query_->SetMapChanged([this] { Invalidate(); });  // after each query, behind the dialog
    psiDialog_ = new TfGenPsiInstitute(*prompter_, this);
    credits_ = new TfCredits(this);
    auto* importESP = new TfImportESP(*prompter_, this);
    connect(findChild<QAction*>("rImportESP"), &QAction::triggered, importESP, &QDialog::exec);
    importSec_ = new TfImportSec(*prompter_, *messages_, this, this);
    // Each import that read a file is one step; the views follow it while
    // the dialog stays open, before the message window shows.
    importSec_->SetRunEdit([this](const std::function<void()>& import) { Edit("Import Sector File", import); });
    sysEdit_->SetWorldMapDialog([this](TStar& star) { genWorld_->Execute(star); });
    sysEdit_->SetPsiDialog([this](TStar& star) { psiDialog_->Execute(star); });
    CreateRulesCommands();
    GivePopupAccessKeys();

    // The first start: about two thirds of the screen, in its middle (what
    // the settings remember replaces it from then on).
    resize(830, 632);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        resize(std::max(830, room.width() * 2 / 3), std::max(632, room.height() * 2 / 3));
        move(room.center() - rect().center());
    }
    FitToolbarsInRows();

    // What the first showing of the window does: a new empty universe with
    // Auto Refresh on, the tree, the column table and the list's columns.
    NewUniverse();
    universe_->AutoRefresh = true;
    autoRefresh_->setChecked(true);
    columns_ = DefaultSysListColumns();
    listModel_->SetStarColumns(columns_);
    RebuildTree();
    RestoreSettings();
    // Every dialog's drop-down lists show their entries whole.
    WidenDropDownPopups(this);
    // Every dialog, whenever it is made, opens within the screen's room.
    KeepDialogsOnScreen(this);
}

TfMainform::~TfMainform() {
    // The views refer into the universe: detach them before it goes, and
    // the window hears nothing more of the document while it goes.
    listModel_->Clear();
    mapView_->SetUniverse(nullptr);
    render::AttachRegions(universe_, nullptr);
    planVoyage_->disconnect(this);
    planVoyage_->ForgetMap();
    document_->Stack().disconnect(this);
    document_->disconnect(this);
    delete document_;
    document_ = nullptr;
    universe_ = nullptr;
}

// ---------------------------------------------------------------- actions

QAction* TfMainform::NewAction(const char* objectName, const QString& text, void (TfMainform::*slot)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(objectName);
    if (slot) connect(action, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
    return action;
}

namespace {

// Toolbar buttons have no captions: the hint is their tooltip and names the icon.
void Hint(QAction* action, const QString& hint) {
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setIcon(ToolbarIcon(hint));
}

}  // namespace

void TfMainform::CreateActions() {
    // File
    NewAction("rNew", "&New", &TfMainform::rNewClick);
    Hint(NewAction("rOpen", "&Open...", &TfMainform::rOpenClick), "Open Map");
    auto* save = NewAction("rSave", "&Save");
    connect(save, &QAction::triggered, this, [this] { rSaveClick(); });
    Hint(save, "Save Map");
    NewAction("rSaveAs", "Save &As...", &TfMainform::rSaveAsClick);
    Hint(NewAction("rSelectedSave", "&Selected Save...", &TfMainform::rSelectedSaveClick), "Selected Save");
    Hint(NewAction("rSaveBitmap", "Save &Bitmap As...", &TfMainform::rSaveBitmapClick), "Save Bitmap");
    NewAction("rImport4xMap", "Import Hexlane 4x Map")->setEnabled(false);
    // The menu item stays disabled; the toolbar button carries the command.
    NewAction("rImportSector", "&Import Sector File...", &TfMainform::rImportSectorFileClick)->setEnabled(false);
    NewAction("rExportSector", "&Export Sector File...", &TfMainform::rExportSectorClick);
    NewAction("rImportMetadata", "Import Sector &Metadata...", &TfMainform::rImportMetadataClick);
    NewAction("rExportMetadata", "Export Sector Me&tadata...", &TfMainform::rExportMetadataClick);
    // Never shown: the one way to the ESP import dialog (connected below).
    NewAction("rImportESP", "Import &ESP File...")->setVisible(false);
    connect(NewAction("rExit", "E&xit"), &QAction::triggered, this, &QWidget::close);

    // Commands of the File toolbar (print preview also in the File menu).
    Hint(NewAction("rPrintPreview", "Print Pre&view...", &TfMainform::rPrintPreviewClick), "Print Preview");
    NewAction("rPrint", "&Print...", &TfMainform::rPrintClick)->setShortcut(QKeySequence::Print);
    NewAction("rExportPicture", "&Export Picture...", &TfMainform::rExportPictureClick);
    Hint(NewAction("rMergeMaps", {}, &TfMainform::rMergeMapsClick), "Merge Maps");
    Hint(NewAction("rOverlayMaps", {}, &TfMainform::rOverlayMapsClick), "Overlay Maps");
    Hint(NewAction("rImportSectorFile", {}, &TfMainform::rImportSectorFileClick), "Import Sector File");

    // Edit
    Hint(NewAction("rEditSectors", "&Sectors/Subsectors...", &TfMainform::rEditSectorsClick), "Edit Sectors/Subsectors");
    Hint(NewAction("rQuery", "&Query...", &TfMainform::rQueryClick), "Query");
    Hint(NewAction("rNavigation", "&Navigation Information...", &TfMainform::rNavigationClick),
         "Navigation Information");
    NewAction("rPlanVoyage", "Plan &Voyage...", &TfMainform::rPlanVoyageClick);
    NewAction("rClearVoyageLine", "C&lear Voyage Line", &TfMainform::rClearVoyageLineClick);
    NewAction("rDefineNewSystem", "Define New S&ystem...", &TfMainform::rDefineNewSystemClick);
    NewAction("rDefineNewAllegiance", "Define New Alle&giance...", &TfMainform::rmAddAllegianceClick);
    NewAction("rDefineNewRoute", "Define New R&oute...", &TfMainform::rmAddRouteClick);

    // Options
    autoRefresh_ = NewAction("rAutoRefresh", "&Auto Refresh");
    autoRefresh_->setCheckable(true);
    connect(autoRefresh_, &QAction::triggered, this, [this](bool checked) {
        universe_->AutoRefresh = checked;
        if (checked) Invalidate();
    });
    universeInspector_ = NewAction("rUniverseInspector", "&Universe Inspector");
    universeInspector_->setCheckable(true);
    universeInspector_->setChecked(true);
    connect(universeInspector_, &QAction::triggered, this,
            [this](bool checked) { navigatorPane_->setVisible(checked); });
    showList_ = NewAction("rShowSystemList", "System &List", &TfMainform::LayoutContentPane);
    showList_->setCheckable(true);
    showList_->setChecked(true);
    showMap_ = NewAction("rShowMap", "&Map", &TfMainform::LayoutContentPane);
    showMap_->setCheckable(true);
    showMap_->setChecked(true);
    useAltTL_ = NewAction("rUseAltTL", "Use Alternate &Tech Levels");
    useAltTL_->setCheckable(true);
    connect(useAltTL_, &QAction::triggered, this, [this](bool checked) { universe_->UseAltTL = checked; });
    useSectorHexAddressing_ = NewAction("rUseSectorHexAddressing", "Use &Sector Hex Addressing");
    useSectorHexAddressing_->setCheckable(true);
    connect(useSectorHexAddressing_, &QAction::triggered, this,
            [this](bool checked) { universe_->UseSectorHexAddressing = checked; });

    // System
    NewAction("rDefineAltTL", "Define Alternate Tech Levels...", &TfMainform::rDefineAltTLClick);
    NewAction("rSystemListColumns", "&System List Columns...", &TfMainform::rSystemListColumnsClick);

    // Help
    connect(NewAction("rCredits", "&Credits"), &QAction::triggered, this, [this] { credits_->exec(); });
    connect(NewAction("rAbout", "&About..."), &QAction::triggered, this, [this] { about_->exec(); });

    // Display Parameters and Image toolbars.
    const struct {
        const char* name;
        const char* hint;
        DisplayToggle which;
    } toggles[] = {
        {"rShowAllInfo", "Toggle all System Information", DisplayToggle::AllInfo},
        {"rShowAllegianceColors", "Toggle Allegiance Colors", DisplayToggle::AllegianceColors},
        {"rShowRoutes", "Toggle Comm/Trade Routes", DisplayToggle::Routes},
        {"rShowSystemContents", "Toggle System Contents", DisplayToggle::SystemContents},
        {"rShowStarports", "Toggle Starports", DisplayToggle::Starports},
        {"rShowNames", "Toggle System Names", DisplayToggle::Names},
        {"rShowSectorLines", "Toggle Sector Lines", DisplayToggle::SectorLines},
        {"rShowSubsectorLines", "Toggle Subsector Lines", DisplayToggle::SubsectorLines},
        {"rShowBorders", "Toggle Polity Borders", DisplayToggle::Borders},
    };
    for (const auto& t : toggles) {
        QAction* action = NewAction(t.name, {});
        Hint(action, t.hint);
        const DisplayToggle which = t.which;
        connect(action, &QAction::triggered, this, [this, which] { ToggleDisplay(static_cast<int>(which)); });
    }
    Hint(NewAction("rRefresh", {}, &TfMainform::rRefreshClick), "Refresh Image");
    QAction* zoomOut = NewAction("rZoomOut", {});
    Hint(zoomOut, "Zoom Out");
    connect(zoomOut, &QAction::triggered, this, [this] { ZoomAbout(false); });
    QAction* zoomIn = NewAction("rZoomIn", {});
    Hint(zoomIn, "Zoom In");
    connect(zoomIn, &QAction::triggered, this, [this] { ZoomAbout(true); });
}

void TfMainform::ToggleDisplay(int which) {
    render::Toggle(*universe_, static_cast<DisplayToggle>(which));
    RefreshRegions();
    SaveViewSettings();
    SyncDisplayChecks();
    Invalidate();
}

void TfMainform::CreateMenus() {
    auto action = [this](const char* name) { return findChild<QAction*>(name); };
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("rFileMenu");
    file->addAction(action("rNew"));
    file->addAction(action("rOpen"));
    file->addAction(action("rSave"));
    file->addAction(action("rSaveAs"));
    QMenu* special = file->addMenu("Specia&l");
    special->setObjectName("rSpecialMenu");
    special->addAction(action("rSelectedSave"));
    special->addAction(action("rSaveBitmap"));
    special->addAction(action("rImport4xMap"));
    special->addAction(action("rImportSector"));
    special->addAction(action("rExportSector"));
    special->addAction(action("rImportMetadata"));
    special->addAction(action("rExportMetadata"));
    special->addAction(action("rImportESP"));
    file->addSeparator();
    file->addAction(action("rExportPicture"));
    file->addAction(action("rPrintPreview"));
    file->addAction(action("rPrint"));
    file->addSeparator();
    file->addAction(action("rExit"));

    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("rEditMenu");
    edit->addAction(undo_);
    edit->addAction(redo_);
    edit->addSeparator();
    edit->addAction(action("rEditSectors"));
    edit->addAction(action("rQuery"));
    edit->addAction(action("rNavigation"));
    edit->addSeparator();
    edit->addAction(action("rDefineNewSystem"));
    edit->addAction(action("rDefineNewAllegiance"));
    edit->addAction(action("rDefineNewRoute"));

    QMenu* options = menuBar()->addMenu("&Options");
    options->setObjectName("rOptionsMenu");
    options->addAction(autoRefresh_);
    options->addSeparator();
    options->addAction(universeInspector_);
    options->addAction(showList_);
    options->addAction(showMap_);
    options->addSeparator();
    options->addAction(useAltTL_);
    options->addAction(useSectorHexAddressing_);

    QMenu* system = menuBar()->addMenu("&System");
    system->setObjectName("rSystemMenu");
    system->addAction(action("rPlanVoyage"));
    system->addAction(action("rClearVoyageLine"));
    system->addAction(action("rDefineAltTL"));
    system->addAction(action("rSystemListColumns"));

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("rHelpMenu");
    help->addAction(action("rCredits"));
    help->addAction(action("rAbout"));
}

void TfMainform::CreateToolBars() {
    const struct {
        const char* name;
        const char* title;
        std::vector<const char*> actions;
    } bars[] = {
        {"rFileToolBar", "File",
         {"rOpen", "rSave", "rUndo", "rRedo", "rPrintPreview", "rSelectedSave", "rSaveBitmap", "rMergeMaps", "rOverlayMaps",
          "rImportSectorFile"}},
        {"rDisplayToolBar", "Display Parameters",
         {"rShowAllInfo", "rShowAllegianceColors", "rShowRoutes", "rShowSystemContents", "rShowStarports",
          "rShowNames", "rShowSectorLines", "rShowSubsectorLines", "rShowBorders"}},
        {"rImageToolBar", "Image", {"rRefresh", "rZoomOut", "rZoomIn"}},
        {"rEditToolBar", "Edit", {"rEditSectors", "rQuery"}},
        {"rNavToolBar", "Nav", {"rNavigation"}},
    };
    for (const auto& bar : bars) {
        QToolBar* toolbar = addToolBar(bar.title);
        toolbar->setObjectName(bar.name);
        toolbar->setAllowedAreas(Qt::TopToolBarArea | Qt::LeftToolBarArea | Qt::RightToolBarArea);
        for (const char* name : bar.actions) toolbar->addAction(findChild<QAction*>(name));
    }
}

void TfMainform::CreateCentralArea() {
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    mainSplitter_ = new QSplitter(Qt::Horizontal, central);
    mainSplitter_->setObjectName("rMainSplitter");
    mainSplitter_->setChildrenCollapsible(false);

    // Navigator pane: the tree and its one-panel status line.
    navigatorPane_ = new QWidget(mainSplitter_);
    navigatorPane_->setObjectName("rNavigatorPane");
    auto* navLayout = new QVBoxLayout(navigatorPane_);
    navLayout->setContentsMargins(0, 0, 0, 0);
    navLayout->setSpacing(0);
    tree_ = new NavigatorTree(navigatorPane_);
    treeStatus_ = new QLabel(navigatorPane_);
    treeStatus_->setObjectName("rTreeStatus");
    treeStatus_->setFrameShape(QFrame::StyledPanel);
    treeStatus_->setFrameShadow(QFrame::Sunken);
    navLayout->addWidget(tree_);
    navLayout->addWidget(treeStatus_);

    // Content pane: the system list above the map.
    contentSplitter_ = new QSplitter(Qt::Vertical, mainSplitter_);
    contentSplitter_->setObjectName("rContentPane");
    contentSplitter_->setChildrenCollapsible(false);
    listView_ = new SystemListView(contentSplitter_);
    listModel_ = listView_->Model();
    listView_->setContextMenuPolicy(Qt::CustomContextMenu);
    mapView_ = new MapView(contentSplitter_);
    contentSplitter_->addWidget(listView_);
    contentSplitter_->addWidget(mapView_);
    contentSplitter_->setStretchFactor(1, 1);
    contentSplitter_->setSizes({100, 400});

    mainSplitter_->addWidget(navigatorPane_);
    mainSplitter_->addWidget(contentSplitter_);
    mainSplitter_->setStretchFactor(1, 1);
    mainSplitter_->setSizes({185, 645});

    progress_ = new QProgressBar(central);
    progress_->setObjectName("rProgress");
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(12);
    progress_->hide();

    outer->addWidget(mainSplitter_, 1);
    outer->addWidget(progress_);
    setCentralWidget(central);

    tree_->SetDragSource(listView_);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &TfMainform::TreeSelectionChanged);
    connect(tree_, &QTreeWidget::itemClicked, this, [this] { UpdateTreeStatus(); });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { rListingDblClick(item); });
    connect(tree_, &NavigatorTree::rowsDropped, this, &TfMainform::rListingDragDrop);
    connect(tree_, &NavigatorTree::deleteKeyPressed, this, &TfMainform::TreeDeleteKey);
    connect(tree_, &QWidget::customContextMenuRequested, this, &TfMainform::ShowTreePopup);
    connect(listView_, &QAbstractItemView::doubleClicked, this, [this] { rSystemListDblClick(); });
    connect(listView_, &SystemListView::deleteKeyPressed, this, &TfMainform::ListDeleteKey);
    connect(listView_, &QWidget::customContextMenuRequested, this, &TfMainform::ShowListPopup);
    connect(mapView_, &MapView::pointerMoved, this, &TfMainform::rImageMouseMove);
    connect(mapView_, &MapView::clicked, this, &TfMainform::rImageClick);
    connect(mapView_, &MapView::contextMenuRequested, this, &TfMainform::ShowMapPopup);
}

void TfMainform::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("rStatusBar");
    bar->setSizeGripEnabled(true);
    const int widths[5] = {150, 150, 150, 100, 50};
    for (int i = 0; i < 5; ++i) {
        panels_[i] = new QLabel(bar);
        panels_[i]->setObjectName(QString("rPanel%1").arg(i + 1));
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        // The last panel holds the long operations' texts, wider than 50
        // pixels: it starts at 50 and takes what the text needs.
        if (i < 4)
            panels_[i]->setFixedWidth(widths[i]);
        else
            panels_[i]->setMinimumWidth(widths[i]);
        bar->addWidget(panels_[i], i == 4 ? 1 : 0);
    }
}

QString TfMainform::PanelText(int panel) const {
    return panel >= 1 && panel <= 5 ? panels_[panel - 1]->text() : QString();
}

QString TfMainform::TreeStatusText() const { return treeStatus_->text(); }

// ---------------------------------------------------------------- layout

void TfMainform::LayoutContentPane() {
    // The check of the clicked item has already been inverted by the action.
    const bool list = showList_->isChecked();
    const bool map = showMap_->isChecked();
    listView_->setVisible(list);
    mapView_->setVisible(map);
    if (list && map) {
        const int total = std::max(contentSplitter_->height(), 200);
        contentSplitter_->setSizes({100, total - 100});
    }
    UpdateLocateActions();
    if (map) Invalidate();
}

void TfMainform::UpdateLocateActions() {
    for (QAction* action : locateActions_) action->setEnabled(showMap_->isChecked());
}

// ---------------------------------------------------------------- universe

void TfMainform::NewUniverse() { SetUniverse(TUniverse::CreateNew()); }

bool TfMainform::SetUniverse(std::unique_ptr<TUniverse> universe, const QString& fileName) {
    // A map opens with the display layers the user chose last.
    if (universe) ApplyRememberedLayers(*universe);
    return document_->Replace(std::move(universe), fileName);
}

void TfMainform::AttachViews() {
    // The views refer into the old universe until they are refilled.
    const bool picking = instaLegActive_;
    instaLegActive_ = false;
    instaLeg_ = nullptr;
    SetMapSelection({});
    listModel_->Clear();
    // Dialogs that keep values between openings drop those of the old map.
    if (navigation_) navigation_->ForgetMap();
    render::AttachRegions(universe_, nullptr);
    regions_.Clear();
    universe_ = &document_->Universe();
    // The voyage planner follows an undone or redone state of the same map;
    // another map closes it.
    if (planVoyage_) {
        if (viewState_.noted)
            planVoyage_->Retarget(*universe_);
        else
            planVoyage_->ForgetMap();
    }
    render::AttachRegions(universe_, &regions_);
    if (viewState_.noted) {
        // An undone or redone state: the picture stays until it is redrawn.
        mapView_->KeepPictureFor(universe_);
    } else {
        mapView_->SetUniverse(nullptr);
        mapView_->SetUniverse(universe_);
    }
    SyncDisplayChecks();
    // The pointer read-out and the list's columns belong to the old map.
    for (int i = 0; i < 4; ++i) panels_[i]->clear();
    if (listing_ == ListingMode::RouteLegs) listModel_->SetStarColumns(columns_, true);
    listing_ = ListingMode::None;
    if (picking) {
        panels_[4]->clear();
        emit InstaLegChanged();
    }
    RebuildTree();
    UpdateTitle();
}

// ---------------------------------------------------------------- activity

void TfMainform::BeginBusy() {
    if (busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TfMainform::EndBusy() {
    if (busyDepth_ > 0 && --busyDepth_ == 0) QApplication::restoreOverrideCursor();
}

void TfMainform::Progress(int percent) {
    if (percent < 0) {
        progress_->hide();
        return;
    }
    progress_->setValue(std::min(percent, 100));
    progress_->show();
}

void TfMainform::Status(const QString& text) {
    panels_[4]->setText(text);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ---------------------------------------------------------------- repaint

void TfMainform::Invalidate() {
    mapView_->viewport()->update();
    if (refreshQueued_) return;
    refreshQueued_ = true;
    QTimer::singleShot(0, this, &TfMainform::RefreshIfDirty);
}

void TfMainform::RefreshIfDirty() {
    refreshQueued_ = false;
    UpdateZoomIndicator();
    if (universe_->MapDirty && universe_->AutoRefresh && showMap_->isChecked()) RebuildPicture();
}

void TfMainform::RebuildPicture() {
    // The picture needs about as much memory again as the map: without it
    // the map stays open, undrawn.
    try {
        RefreshRegions();
        mapView_->Rebuild(this);
    } catch (const std::bad_alloc&) {
        universe_->MapDirty = false;
        mapView_->SetUniverse(universe_);
        Progress(-1);
        prompter_->Error("Not enough memory to draw the map.");
    }
}

void TfMainform::RefreshRegions() {
    if (universe_ && universe_->ShowBorders) regions_.Update(*universe_);
}

void TfMainform::rRefreshClick() {
    // Places every star anew first, so Refresh also mends an extent that a
    // change left behind; the picture is then out of date whatever AutoRefresh says.
    universe_->ComputeExtent();
    universe_->MapDirty = true;
    if (showMap_->isChecked()) RebuildPicture();
}

void TfMainform::closeEvent(QCloseEvent* event) {
    if (AskToSaveChanges()) {
        SaveSettings();
        document_->ClearHistory();
        event->accept();
    }
    else
        event->ignore();
}

}  // namespace hexlane::ui
