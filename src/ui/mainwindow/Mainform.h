#pragma once
// TfMainform: the editor's one main window around the current universe. It
// shows the universe in the navigator tree, the system list and the map view,
// and carries every command of the menus, toolbars and popups. The code is
// split by command group: Mainform.cpp (window, menus, toolbars, options),
// MainformFile.cpp (open, save, close), MainformTree.cpp (navigator tree,
// listing, drag and drop, add commands), MainformMap.cpp (map interaction,
// display filters, InstaLeg, Locate), MainformDelete.cpp (delete commands),
// MainformEdit.cpp (system editor and the dialogs it leads to),
// MainformDialogs.cpp (sector, tech level, import, merge, selected save,
// query and navigation dialogs), MainformPrint.cpp (print, print preview,
// picture export), MainformExport.cpp (sector file export), MainformView.cpp
// (View menu, shortcuts, zoom about a point, Find System), MainformSession.cpp
// (New, recent files, remembered settings), MainformUndo.cpp (undo, redo, the
// Undo History pane and the views following the document, MapDocument.h),
// MainformRules.cpp (systems generated and checked by the game's rules).

#include "Activity.h"
#include "MapDocument.h"
#include "Prompter.h"
#include "RegionCache.h"
#include "SysListColumns.h"

#include <QMainWindow>
#include <QPoint>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QPrinter;
class QProgressBar;
class QProgressDialog;
class QRectF;
class QSplitter;
class QToolBar;
class QTreeWidgetItem;
class TAllegiance;
class TManager;
class TRoute;
class TRouteLeg;
class TSector;
class TStar;
class TUniverse;

namespace hexlane {
struct MapSnapshot;
}

namespace hexlane::render {
struct PictureJob;
enum class PictureFormat;
}

namespace hexlane::ui {

class MapMarks;
class MapView;
class NavigatorTree;
class SystemListModel;
class SystemListView;
class TfAboutHexlane;
class TfCheckRules;
class TfGenerateSystems;
class TfConfigSysListCols;
class TfConfigureAllegiance;
class TfConfigureRoute;
class TfConfigureRoutes;
class TfCredits;
class TfDefineAltTechLevels;
class TfFindSystem;
class TfEditSS;
class TfImportSec;
class TfMergeErrors;
class TfNavigationInformation;
class TfQuery;
class TfSearchPathInfo;
class TfPlanVoyage;
class TfSelectedSave;
class TfGenPsiInstitute;
class TfGenWorld;
class TfLegend;
class TfSysEdit;
class UndoHistory;
class PrintScopeDialog;
struct PrintChoice;

// What a navigator node stands for.
enum class NodeKind { Root, SectorGroup, Sector, Subsector, Allegiance, Route };

// What the system list shows, decided by the tree's selection.
enum class ListingMode { None, SubsectorStars, AllegianceMembers, RouteLegs };

// How a save that was asked for ended.
enum class SaveOutcome { Saved, Failed, Cancelled };

class TfMainform final : public QMainWindow, public Activity {
    Q_OBJECT

public:
    // The window asks its questions through `prompter` (the Qt one when null;
    // the window does not own a given prompter).
    explicit TfMainform(Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~TfMainform() override;

    TUniverse& Universe() const { return *universe_; }
    const QString& FileName() const;
    // The open map: universe, file name, undo history, modified state.
    MapDocument& Document() const { return *document_; }
    // Opens a known file as the Open command does once a file is chosen
    // (the question about unsaved changes included). True when it was read.
    bool OpenMapFile(const QString& path);

    // The widgets, for tests and for the dialogs that refresh the views.
    MapView* Map() const { return mapView_; }
    NavigatorTree* Tree() const { return tree_; }
    SystemListView* List() const { return listView_; }
    SystemListModel* ListModel() const { return listModel_; }
    ListingMode Listing() const { return listing_; }
    const std::vector<TSysListCol>& Columns() const { return columns_; }
    QString PanelText(int panel) const;  // status panels 1-5
    QString TreeStatusText() const;
    bool InstaLegActive() const { return instaLegActive_; }
    QPoint LastMapPoint() const { return lastMapPoint_; }

    // Requests a repaint; the map picture is rebuilt first when MapDirty and
    // AutoRefresh are set and the Map option is on.
    void Invalidate();
    // Runs a pending rebuild now (what the repaint does).
    void RefreshIfDirty();
    // Rebuilds the navigator tree and selects "Sectors".
    void RebuildTree();
    // Rebuilds the tree, refills the list and repaints: after a command that
    // added or removed objects of the universe.
    void RefreshViews();
    // Refills the system list for the tree's selection.
    void FillList();
    // Selects the tree node with this path of texts ("Sectors", "Surveyed",
    // sector, subsector); true when found. For tests and the dialogs.
    bool SelectNode(const QStringList& path);
    // A node's name as the map's bytes (a sector's, subsector's, allegiance's
    // or route's name), kept beside the text the tree shows.
    static std::string NodeName(const QTreeWidgetItem* item);
    static void SetNodeName(QTreeWidgetItem* item, const std::string& name);

    // The map popup as the window builds it for a click at a picture point
    // (tests trigger its actions).
    QMenu* MapPopup() const { return mapPopup_; }
    // The popups the tree and the list currently offer (null: none).
    QMenu* TreePopup() const { return treePopup_; }
    QMenu* ListPopup() const { return listPopup_; }

    // ---- undo history (MainformUndo.cpp) ----
    UndoHistory& History() const;
    // Runs a command that may change the map as one undo step (see
    // MapDocument::Edit).
    bool Edit(const QString& what, const std::function<void()>& command, unsigned changes = MapDocument::Everything,
              const MapDocument::Touched& touched = MapDocument::Touched::All());
    void rUndoClick();
    void rRedoClick();
    // Ends InstaLeg's picking: the leg stays as it is (one step from its
    // creation on), or, cancelled, goes with nothing else undone.
    void EndInstaLeg();
    void CancelInstaLeg();
    QWidget* UndoPane() const { return undoPane_; }

    // Activity: busy cursor, progress bar, status panel 5.
    void BeginBusy() override;
    void EndBusy() override;
    void Progress(int percent) override;
    void Status(const QString& text) override;
    // A progress window with a Cancel button once a stoppable job runs long.
    void BeginCancellable(const QString& title) override;
    void EndCancellable() override;
    bool CancelRequested() override;

    // ---- commands (also reached through the actions) ----
    void rOpenClick();
    SaveOutcome rSaveClick();
    void rSaveAsClick();
    void rSaveBitmapClick();
    void rPrintClick();
    void rPrintPreviewClick();
    void rExportPictureClick();
    void rRefreshClick();
    void rSystemListColumnsClick();
    void rmAddAllegianceClick();
    void rmAddRouteClick();
    void rmInstaLegClick();
    void rmLocateStarClick();
    void rmLocateStartStarClick();
    void rmLocateEndStarClick();
    void rmDeleteSectorClick();
    void rmDeleteStarClick();
    void rmDeleteLegClick();
    void rmDeleteAllegianceClick();
    void rmDeleteRouteClick();
    // Drop of the list's selected rows on a tree node.
    void rListingDragDrop(QTreeWidgetItem* target);
    // A click on the map at a picture point (the editor's or InstaLeg's).
    void rImageClick(QPoint picturePoint);
    void rImageMouseMove(QPoint picturePoint);
    void rListingDblClick(QTreeWidgetItem* item);
    void rSystemListDblClick();
    void rDefineNewSystemClick();
    void rmAddStarClick();
    void rmAddLegClick();
    void rEditSectorsClick();
    void rDefineAltTLClick();
    void rImportSectorFileClick();
    // "Export Sector File...": the menu's (the selected sector, else the one
    // the user names) and the sector popup's.
    void rExportSectorClick();
    void rmExportSectorClick();
    // "Import Sector Metadata..." and "Export Sector Metadata...": the same
    // choice of sector (MainformMetadata.cpp).
    void rImportMetadataClick();
    void rExportMetadataClick();
    void rMergeMapsClick();
    void rOverlayMapsClick();
    void rSelectedSaveClick();
    void rQueryClick();
    void rNavigationClick();
    // The map popup's "Navigation Information...": the star under the last
    // map point (if any) becomes the origin.
    void rmNavigationClick();
    // System > "Plan Voyage...", and the same dialog with the start or the
    // destination given (the map popup's "Plan Voyage From Here" / "To Here").
    void rPlanVoyageClick();
    void PlanVoyageFrom(TStar& star);
    void PlanVoyageTo(TStar& star);
    TfPlanVoyage* PlanVoyageDialog() const { return planVoyage_; }
    // System > "Clear Voyage Line": the planned voyage no longer shows on the map.
    void rClearVoyageLineClick();
    // File > New: asks about unsaved changes, then an empty universe.
    void rNewClick();
    // Opens a map of the recent files list; a missing one is said and dropped.
    void OpenRecent(const QString& path);
    // Edit > Find System...
    void rFindSystemClick();
    // Scrolls the map to the star, selects it in the tree and the list and
    // shows it in the pointer read-out.
    void ShowFoundSystem(TStar& star);
    // Selects the star's subsector in the tree and its row in the list.
    void SelectInTreeAndList(TStar& star);
    // One zoom step, keeping the picture point under this view point (the
    // view's centre when none) where it is.
    void ZoomAbout(bool in, std::optional<QPoint> viewportPoint = std::nullopt);
    QMenu* RecentMenu() const { return recentMenu_; }
    TfFindSystem* FindSystemDialog() const { return findSystem_; }
    // Writes what the window remembers (geometry, toolbars, columns) to the settings.
    void SaveSettings();

    // ---- several systems at once (MainformClipboard.cpp) ----
    // The systems the Edit commands act on: those picked on the map, else
    // the stars selected in the list.
    std::vector<TStar*> ChosenStars() const;
    std::vector<TStar*> MapSelection() const;
    void SetMapSelection(std::vector<TStar*> stars);
    void rCopyClick();
    void rCutClick();
    // Edit > Paste: into the hex under the pointer when it is over the map,
    // else into the subsector selected in the tree.
    void rPasteClick();
    void rDuplicateClick();
    void rDeleteClick();
    void rSelectAllClick();
    // Pastes the clipboard's systems, the top-left one at hex (column, row)
    // of the sector (sector numbering, from 1). The number pasted.
    int PasteInto(TSector& sector, int column, int row);

    // ---- map popup, read-outs and modes (MainformContext.cpp) ----
    // The popup of a right click at a picture point: the commands of the
    // system there (or of the empty hex) above the map's own.
    QMenu* ContextPopupAt(QPoint picturePoint);
    // Ends a picking mode (InstaLeg: the unfinished leg goes; the voyage
    // planner's: nothing is added).
    void LeavePickingMode();
    QString ModeText() const;
    // The voyage planner began or ended waiting for a system of the map.
    void VoyagePickingChanged();
    QString PointerHexText() const;
    QString ZoomText() const;
    void rZoomToFitClick();
    void rActualSizeClick();

    // ---- window commands (MainformDesktop.cpp) ----
    void rCloseClick();
    void rRevertClick();
    void rKeyboardShortcutsClick();
    // "Command<TAB>Keys" lines of every action with a shortcut, menu order.
    QStringList ShortcutLines() const;
    // Opens a dropped map file or imports sector files into a sector node.
    bool OpenDroppedMap(const QString& path);
    void ImportDroppedSectorFiles(QTreeWidgetItem* target, const QStringList& paths);

    // Systems by the game's rules (MainformRules.cpp): Sector > "Generate
    // Systems..." (the tree's selected sector or subsector offered first) and
    // Map > "Check Against Rules...".
    void rGenerateSystemsClick();
    void rCheckRulesClick();
    TfGenerateSystems* GenerateSystemsDialog() const { return generateSystems_; }
    TfCheckRules* CheckRulesDialog() const { return checkRules_; }

signals:
    // InstaLeg's picking began or ended.
    void InstaLegChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The planned voyage over the map (MainformDialogs.cpp).
    void ShowItineraryOnMap();
    void SetVoyageLine(std::vector<std::pair<int, int>> hexes);

    // Print and export (MainformPrint.cpp): the scope dialog under a title
    // for what is made (print, PDF, SVG or PNG), the chosen part of the map in hexes, and one print job on a printer.
    std::optional<PrintChoice> ChoosePrintScope(const QString& title, render::PictureFormat format);
    std::optional<QRectF> ChoiceHexes(const PrintChoice& choice);
    // Prints, or draws the print preview's pages (which then never aborts
    // the printer and says so in the status bar).
    void PrintOn(QPrinter& printer, const PrintChoice& choice, const QRectF& hexes, bool preview = false);
    // Any picture (Save Bitmap, export, print) with progress and Cancel.
    bool RunPictureJob(const render::PictureJob& job, const QString& doing, const QString& done,
                       const QString& stopped);

    // Window construction (Mainform.cpp).
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateCentralArea();
    void CreateStatusBar();
    void CreatePopups();
    QAction* NewAction(const char* objectName, const QString& text, void (TfMainform::*slot)() = nullptr);
    void LayoutContentPane();
    void UpdateLocateActions();
    void NewUniverse();
    // Rebuilds the map picture; out of memory leaves the map undrawn with a message.
    void RebuildPicture();
    // Makes `universe` the open map with a new undo history (false: not
    // enough memory, the old map stays).
    bool SetUniverse(std::unique_ptr<TUniverse> universe, const QString& fileName = {});
    // The document's universe is another object: the views let go of the
    // old one and show the new one.
    void AttachViews();
    // What a command, undo or redo changed, shown by the views.
    void DocumentChanged(unsigned changes);
    void UpdateTitle();
    void ToggleDisplay(int which);
    // Brings the polity regions up to date while the borders layer is shown
    // (the cache recomputes only when what they are made of changed).
    void RefreshRegions();

    // Desktop conventions (MainformView.cpp, MainformSession.cpp,
    // MainformClipboard.cpp, MainformContext.cpp, MainformDesktop.cpp).
    void CreateConventions();
    void CreateClipboardCommands();
    void CreateContextCommands();
    void CreateDesktopCommands();
    void ShowPointerHex(QPoint picturePoint);
    void UpdateModeIndicator();
    void UpdateZoomIndicator();
    // Deletes the systems as one undo step named `what`.
    void DeleteStars(const QString& what, const std::vector<TStar*>& stars);
    // Places the text's T5 rows in the sector (inside an Edit); the stars
    // made and the lines for the message window stay for AfterPaste.
    int PasteText(const QString& text, TSector& sector, int column, int row);
    void AfterPaste(TSector& sector);
    // RefreshViews, keeping the tree's node (and so the list) where it can.
    void RefreshKeepingNode();
    // The sector and hex (sector numbering) under a picture point, also of
    // an empty hex; null off the sectors of the map.
    TSector* SectorHexAt(QPoint picturePoint, int& column, int& row) const;
    void SaveViewSettings();
    void RestoreViewSettings();
    static void ApplyRememberedLayers(TUniverse& universe);
    // Starts a new row of toolbars where the next would not fit the width.
    void FitToolbarsInRows();
    // Once every popup item is made (the last step of construction).
    void GivePopupAccessKeys();
    void SyncDisplayChecks();
    void RestoreSettings();
    void NoteRecentFile(const QString& path);
    void FillRecentMenu();

    // Files (MainformFile.cpp).
    bool AskToSaveChanges();  // false: the user cancelled or the save failed
    // Open with the file that `choose` gives (nothing: cancelled), between
    // the progress texts of opening.
    bool OpenWith(const std::function<std::optional<QString>()>& choose);
    bool ReadMap(const QString& path);
    SaveOutcome SaveTo(const QString& path);
    QString ChooseMapToSave();

    // Tree and list (MainformTree.cpp).
    static NodeKind KindOf(const QTreeWidgetItem* item);
    static int LevelOf(const QTreeWidgetItem* item);
    TSector* SectorOf(const QTreeWidgetItem* item) const;
    TAllegiance* AllegianceOf(const QTreeWidgetItem* item) const;
    TRoute* RouteOf(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* SelectedNode() const;
    void TreeSelectionChanged();
    void UpdateTreeStatus();
    void ShowTreePopup(QPoint pos);
    void ShowListPopup(QPoint pos);
    void TreeDeleteKey();
    void ListDeleteKey();
    std::vector<TStar*> SelectedStars() const;
    std::vector<TRouteLeg*> SelectedLegs() const;
    void DropOnSubsector(QTreeWidgetItem* target);
    void DropOnAllegiance(QTreeWidgetItem* target);
    void DropOnRoute(QTreeWidgetItem* target);
    // Opens the system editor on the star; on OK the extent, the picture and
    // the changed flag follow (the star itself is replaced by a copy).
    bool EditStar(TStar* star);
    // Asks for a new name; empty when cancelled, empty, or not storable.
    std::string AskName(const QString& title, const QString& prompt);

    void CreateRulesCommands();

    // Undo history (MainformUndo.cpp).
    void CreateUndoActions();
    // What the views showed before an undone or redone state, shown again
    // after: the tree node by its object, else by the names on its path.
    void NoteViewState();
    void RestoreViewState();
    void SyncModified();

    // Sector export (MainformExport.cpp).
    TSector* SelectedSector() const;  // of the selected sector or subsector node
    void ExportSectorFile(const TSector& sector);
    // The selected sector, else the one the user names (null: none).
    TSector* SectorForCommand(const QString& title);
    void ImportMetadataInto(TSector& sector);
    void ExportMetadataOf(const TSector& sector);

    // Map (MainformMap.cpp).
    void ShowMapPopup(QPoint picturePoint, QPoint globalPos);
    TStar* StarUnderLastPoint() const;
    void MapSectorFilter(int which);
    void MapSubsectorFilter(int which);
    void TreeFilter(int which);
    void Locate(TStar* star);
    void LocateLegEnd(bool start);

    Prompter* prompter_;
    std::unique_ptr<QtPrompter> ownPrompter_;
    MapDocument* document_ = nullptr;
    TUniverse* universe_ = nullptr;  // the document's
    QString exportFolder_;  // where the last sector file was exported
    QString metadataFolder_;  // where the last sector metadata file was read or written

    std::vector<TSysListCol> columns_;
    ListingMode listing_ = ListingMode::None;
    bool rebuildingTree_ = false;
    bool refreshQueued_ = false;
    regions::RegionCache regions_;  // the borders layer reads it, attached to the universe
    int busyDepth_ = 0;
    QPoint lastMapPoint_;
    bool instaLegActive_ = false;
    TRouteLeg* instaLeg_ = nullptr;
    bool instaLegWasModified_ = false;  // the modified state before the InstaLeg

    MapView* mapView_ = nullptr;
    NavigatorTree* tree_ = nullptr;
    SystemListView* listView_ = nullptr;
    SystemListModel* listModel_ = nullptr;
    QWidget* navigatorPane_ = nullptr;
    QSplitter* mainSplitter_ = nullptr;
    QSplitter* contentSplitter_ = nullptr;
    QLabel* treeStatus_ = nullptr;
    QLabel* panels_[5] = {};
    QProgressBar* progress_ = nullptr;
    QProgressDialog* cancelWindow_ = nullptr;
    PrintScopeDialog* printScope_ = nullptr;

    QMenu* mapPopup_ = nullptr;
    QMenu* sectorPopup_ = nullptr;
    QMenu* subsectorPopup_ = nullptr;
    QMenu* allegiancePopup_ = nullptr;
    QMenu* routePopup_ = nullptr;
    QMenu* starPopup_ = nullptr;
    QMenu* membersPopup_ = nullptr;
    QMenu* legPopup_ = nullptr;
    QMenu* treePopup_ = nullptr;  // the one attached now
    QMenu* listPopup_ = nullptr;

    QAction* autoRefresh_ = nullptr;
    QAction* universeInspector_ = nullptr;
    QAction* showList_ = nullptr;
    QAction* showMap_ = nullptr;
    QAction* useAltTL_ = nullptr;
    QAction* useSectorHexAddressing_ = nullptr;
    std::vector<QAction*> locateActions_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QWidget* undoPane_ = nullptr;
    struct ViewState {
        bool noted = false;
        NodeKind kind = NodeKind::Root;
        const TManager* object = nullptr;
        std::vector<std::string> names;  // the path's names as map bytes
        int listScroll = 0;
        QPoint mapScroll;
    } viewState_;

    TfSysEdit* sysEdit_ = nullptr;
    TfConfigureRoutes* legDialog_ = nullptr;
    TfConfigureAllegiance* allegianceDialog_ = nullptr;
    TfConfigureRoute* routeDialog_ = nullptr;
    TfGenWorld* genWorld_ = nullptr;
    TfGenPsiInstitute* psiDialog_ = nullptr;
    TfEditSS* sectorGrid_ = nullptr;  // owns the sector dialog
    TfDefineAltTechLevels* altTechLevels_ = nullptr;
    TfMergeErrors* messages_ = nullptr;  // the one "Errors/Messages" window
    TfSelectedSave* selectedSave_ = nullptr;
    TfImportSec* importSec_ = nullptr;
    TfSearchPathInfo* pathSearch_ = nullptr;
    TfNavigationInformation* navigation_ = nullptr;
    TfPlanVoyage* planVoyage_ = nullptr;
    TfQuery* query_ = nullptr;
    TfConfigSysListCols* columnChooser_ = nullptr;
    TfLegend* legend_ = nullptr;
    TfAboutHexlane* about_ = nullptr;
    TfCredits* credits_ = nullptr;
    TfFindSystem* findSystem_ = nullptr;
    TfGenerateSystems* generateSystems_ = nullptr;
    TfCheckRules* checkRules_ = nullptr;
    QMenu* recentMenu_ = nullptr;

    std::vector<TStar*> mapSelection_;  // systems picked on the map
    std::vector<TStar*> pastedStars_;   // made by the last paste
    std::vector<std::string> pasteLines_;
    MapMarks* mapMarks_ = nullptr;
    QMenu* contextPopup_ = nullptr;
    QLabel* modePanel_ = nullptr;
    QLabel* hexPanel_ = nullptr;
    QLabel* zoomPanel_ = nullptr;
};

}  // namespace hexlane::ui
