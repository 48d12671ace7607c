// The main window driven as a user drives it, with scripted answers: start-up,
// open/save/close, layout options, zoom and toggles, pointer read-out, map
// and tree filters, InstaLeg, Locate, the tree and its listing, drops, the
// add and delete commands.

#include "MainformFixture.h"

#include "ConfigSysListCols.h"
#include "Legend.h"
#include "MapView.h"
#include "NavigatorTree.h"
#include "SystemList.h"

#include <QCursor>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QMenuBar>
#include <QSplitter>
#include <QToolBar>

using namespace hexlane::ui;

// ---------------------------------------------------------------- start-up

TEST_F(MainformTest, StartsWithAnEmptyUniverseAndEveryViewOptionOn) {
    EXPECT_EQ(window->windowTitle(), "Hexlane - IISS Map : Untitled[*]");
    EXPECT_EQ(window->size(), QSize(830, 632));
    const TUniverse& u = window->Universe();
    EXPECT_TRUE(u.HasContainers());
    EXPECT_EQ(u.HexSize, 0);
    EXPECT_FALSE(u.MapDirty);
    EXPECT_TRUE(u.AutoRefresh);
    for (const char* checked : {"rAutoRefresh", "rUniverseInspector", "rShowSystemList", "rShowMap"})
        EXPECT_TRUE(Action(checked)->isChecked()) << checked;
    EXPECT_FALSE(Action("rUseAltTL")->isChecked());
    EXPECT_FALSE(Action("rUseSectorHexAddressing")->isChecked());
    EXPECT_EQ(TopTexts(), QStringList({"Sectors", "Allegiances", "Routes"}));
    EXPECT_EQ(ChildTexts({"Sectors"}), QStringList({"Surveyed", "Not Surveyed"}));
    window->RefreshIfDirty();
    EXPECT_FALSE(window->Map()->HasPicture());
}

TEST_F(MainformTest, MenusToolbarsAndStatusBarAreLaidOutAsTheUserKnowsThem) {
    QStringList menus;
    for (QAction* a : window->menuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&View", "Se&ctor", "&Map", "&Options", "&System", "&Help"}));
    EXPECT_EQ(MenuTexts("rFileMenu"),
              QStringList({"&New", "&Open...", "Open &Recent", "&Save", "Save &As...", "&Close", "Rever&t", "",
                           "Specia&l", "",
                           "&Export Picture...", "Print Pre&view...", "&Print...", "", "E&xit"}));
    EXPECT_EQ(MenuTexts("rSpecialMenu"), QStringList({"&Selected Save...", "Save &Bitmap As...",
                                                       "Import Hexlane 4x Map", "&Import Sector File...",
                                                       "&Export Sector File...", "Import Sector &Metadata...",
                                                       "Export Sector Me&tadata...", "Import &ESP File..."}));
    EXPECT_EQ(Action("rPrint")->shortcut(), QKeySequence(QKeySequence::Print));
    EXPECT_FALSE(Action("rImport4xMap")->isEnabled());
    EXPECT_FALSE(Action("rImportESP")->isVisible());

    const std::pair<const char*, QStringList> bars[] = {
        {"rFileToolBar",
         {"Open Map", "Save Map", "Undo", "Redo", "Print Preview", "Selected Save", "Save Bitmap", "Merge Maps", "Overlay Maps",
          "Import Sector File"}},
        {"rDisplayToolBar",
         {"Toggle all System Information", "Toggle Allegiance Colors", "Toggle Comm/Trade Routes",
          "Toggle System Contents", "Toggle Starports", "Toggle System Names", "Toggle Sector Lines",
          "Toggle Subsector Lines", "Toggle Polity Borders"}},
        {"rImageToolBar", {"Refresh Image", "Zoom Out", "Zoom In"}},
        {"rEditToolBar", {"Edit Sectors/Subsectors", "Query"}},
        {"rNavToolBar", {"Navigation Information"}},
    };
    for (const auto& [name, hints] : bars) {
        auto* bar = window->findChild<QToolBar*>(name);
        ASSERT_TRUE(bar) << name;
        QStringList shown;
        for (QAction* a : bar->actions()) {
            shown << a->toolTip();
            EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
        }
        EXPECT_EQ(shown, hints) << name;
        EXPECT_EQ(window->toolBarArea(bar), Qt::TopToolBarArea);
    }

    const int widths[4] = {150, 150, 150, 100};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(window->findChild<QLabel*>(QString("rPanel%1").arg(i + 1))->width(), widths[i]);
}

// ---------------------------------------------------------------- open

TEST_F(MainformTest, OpeningAMapShowsItAtHexSize30WithEveryDisplaySwitchOff) {
    const QString path = Write(*SmallMap(), "small.map");
    Open(path);
    EXPECT_EQ(window->windowTitle(), "Hexlane - IISS Map : " + path + "[*]");
    const TUniverse& u = window->Universe();
    EXPECT_EQ(u.HexSize, 30);
    EXPECT_FALSE(u.ShowNames || u.ShowStarports || u.ShowRoutes || u.ShowAllInfo || u.UseSectorHexAddressing);
    EXPECT_FALSE(Action("rUseSectorHexAddressing")->isChecked());
    EXPECT_TRUE(window->Map()->HasPicture());
    EXPECT_FALSE(u.MapDirty);
    EXPECT_EQ(window->PanelText(5), "IISS Survey Data Ready");
    EXPECT_FALSE(u.ManagerRequiresSaving);
}

TEST_F(MainformTest, OpenAsksAboutUnsavedChangesFirst) {
    Open(Write(*SmallMap(), "small.map"));
    window->Universe().ManagerRequiresSaving = true;
    prompter.YesNoCancelAnswers = {Answer::Cancel};
    window->rOpenClick();
    EXPECT_EQ(prompter.Log, QStringList({"ync: Save the Universe First?"}));

    // Yes with a save that cannot happen keeps the map as well.
    prompter.Log.clear();
    prompter.YesNoCancelAnswers = {Answer::Yes};
    const QString before = window->FileName();
    fs::remove_all(dir);
    window->rOpenClick();
    ASSERT_EQ(prompter.Log.size(), 2);
    EXPECT_TRUE(prompter.Log[1].startsWith("error: ")) << prompter.Log[1].toStdString();
    EXPECT_TRUE(window->Universe().ManagerRequiresSaving);
    EXPECT_EQ(window->FileName(), before);
}

TEST_F(MainformTest, AMapThatCannotBeReadLeavesTheOpenMapAsItWas) {
    const QString good = Write(*SmallMap(), "small.map");
    Open(good);
    const TUniverse* before = &window->Universe();

    const QString garbage = Path("garbage.map");
    WriteBytes(garbage, "TPF0\x09TUniverse\x00garbage");
    prompter.OpenAnswers = {garbage};
    window->rOpenClick();
    EXPECT_TRUE(prompter.Last().startsWith("error: ")) << prompter.Last().toStdString();
    EXPECT_EQ(&window->Universe(), before);
    EXPECT_EQ(window->FileName(), good);
    EXPECT_EQ(window->windowTitle(), "Hexlane - IISS Map : " + good + "[*]");
    EXPECT_EQ(ChildTexts({"Sectors", "Surveyed"}), QStringList({"Alpha", "Gamma"}));

    // A map without its containers is corrupt, and also changes nothing.
    TUniverse bare;
    const QString corrupt = Write(bare, "corrupt.map");
    prompter.OpenAnswers = {corrupt};
    window->rOpenClick();
    EXPECT_EQ(prompter.Last(), "error: Corrupt Map file.");
    EXPECT_EQ(&window->Universe(), before);
    EXPECT_EQ(window->FileName(), good);
}

TEST_F(MainformTest, AnOldFlatMapOpensInContainersAndNamesWhatItLeftOut) {
    // Before containers existed everything stood under the universe; a star
    // named its sector in SectorName.
    testutil::Bytes b;
    b.Sig().Record("TUniverse");
    b.Short("ManagerVersion").Raw({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x40});  // 4.0
    b.End();
    b.Record("TSector").Str("Name1", "Home").Int8("SectorCoordsX", 1).Int8("SectorCoordsY", 1);
    b.Str("SS0101Name", "a").End().End();
    for (const char* sectorName : {"Home", "Elsewhere"}) {
        b.Record("TStar").Str("Name1", std::string("Star in ") + sectorName).Str("SectorName", sectorName);
        b.Str("SubSectorName", "a").Int8("StarCoordsX", 1).Int8("StarCoordsY", 1).End().End();
    }
    b.End();
    const QString path = Path("old.map");
    WriteBytes(path, QByteArray::fromStdString(b.s));
    Open(path);
    EXPECT_EQ(ChildTexts({"Sectors", "Surveyed"}), QStringList({"Home"}));
    EXPECT_TRUE(Star("Star in Home"));
    EXPECT_FALSE(Star("Star in Elsewhere"));
    EXPECT_TRUE(prompter.Last().startsWith("info: ")) << prompter.Last().toStdString();
    EXPECT_TRUE(prompter.Last().contains("Star : Star in Elsewhere")) << prompter.Last().toStdString();
    EXPECT_DOUBLE_EQ(window->Universe().ManagerVersion, 4.51);
}

// ---------------------------------------------------------------- save and close

TEST_F(MainformTest, SaveAsksForAFileOnlyWhenThereIsNoneAndWritesTheRealTechLevels) {
    window->Universe().UseAltTL = true;
    prompter.SaveAnswers = {std::nullopt};
    EXPECT_EQ(window->rSaveClick(), SaveOutcome::Cancelled);
    EXPECT_TRUE(window->Universe().UseAltTL);
    EXPECT_TRUE(window->FileName().isEmpty());

    const QString path = Path("saved.map");
    prompter.SaveAnswers = {path};
    EXPECT_EQ(window->rSaveClick(), SaveOutcome::Saved);
    EXPECT_TRUE(fs::exists(path.toStdString()));
    EXPECT_EQ(window->FileName(), path);
    EXPECT_EQ(window->windowTitle(), "Hexlane - IISS Map : " + path + "[*]");
    EXPECT_TRUE(window->Universe().UseAltTL);

    // Known file: no chooser.
    EXPECT_EQ(window->rSaveClick(), SaveOutcome::Saved);
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

TEST_F(MainformTest, SaveAsThatFailsStillShowsTheNewFileInTheTitle) {
    const QString path = Path("missing-folder/x.map");
    prompter.SaveAnswers = {path};
    window->rSaveAsClick();
    EXPECT_TRUE(prompter.Last().startsWith("error: "));
    EXPECT_EQ(window->windowTitle(), "Hexlane - IISS Map : " + path + "[*]");
}

TEST_F(MainformTest, CloseAsksOnlyAboutChangesAndStaysOpenUnlessTheMapWasSavedOrLeft) {
    window->show();
    window->Universe().ManagerRequiresSaving = true;

    prompter.YesNoCancelAnswers = {Answer::Cancel};
    EXPECT_FALSE(window->close());

    // Yes, then the file chooser is cancelled: nothing was saved, so stay.
    prompter.YesNoCancelAnswers = {Answer::Yes};
    prompter.SaveAnswers = {std::nullopt};
    EXPECT_FALSE(window->close());

    // Yes with a failing save: stay.
    prompter.YesNoCancelAnswers = {Answer::Yes};
    prompter.SaveAnswers = {Path("missing-folder/x.map")};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(prompter.AllAnswersUsed());

    prompter.YesNoCancelAnswers = {Answer::No};
    EXPECT_TRUE(window->close());

    // An unchanged map closes without a question.
    window->show();
    window->Universe().ManagerRequiresSaving = false;
    prompter.Log.clear();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(prompter.Log.isEmpty());
}

TEST_F(MainformTest, SaveBitmapWritesTheShownPictureAsA4BitBitmap) {
    prompter.Log.clear();
    window->rSaveBitmapClick();  // no map yet: nothing to write
    EXPECT_TRUE(prompter.Last().startsWith("info: "));

    Open(Write(*SmallMap(), "small.map"));
    const QString path = Path("map.bmp");
    prompter.SaveAnswers = {path};
    window->rSaveBitmapClick();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(30);
    EXPECT_TRUE(head.startsWith("BM"));
    EXPECT_EQ(static_cast<int>(head[28]), 4);  // bits per pixel
    const QImage image(path);
    EXPECT_EQ(image.size(), window->Map()->PictureSize());
}

// ---------------------------------------------------------------- options, zoom, toggles

TEST_F(MainformTest, ListAndMapOptionsLayOutTheContentPane) {
    window->show();
    Open(Write(*SmallMap(), "small.map"));
    Action("rShowSystemList")->trigger();
    Action("rShowMap")->trigger();
    EXPECT_FALSE(window->List()->isVisible());
    EXPECT_FALSE(window->Map()->isVisible());
    for (const char* name : {"rmLocateStar", "rmLocateStartStar", "rmLocateEndStar"})
        for (QAction* a : window->findChildren<QAction*>(name)) EXPECT_FALSE(a->isEnabled()) << name;

    Action("rShowMap")->trigger();
    EXPECT_TRUE(window->Map()->isVisible());
    EXPECT_FALSE(window->List()->isVisible());
    for (QAction* a : window->findChildren<QAction*>("rmLocateStar")) EXPECT_TRUE(a->isEnabled());

    Action("rShowSystemList")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(window->List()->isVisible());
    EXPECT_EQ(window->List()->height(), 100);

    Action("rUniverseInspector")->trigger();
    EXPECT_FALSE(window->Tree()->isVisible());
}

TEST_F(MainformTest, ZoomAndDisplayTogglesRebuildThePicture) {
    Open(Write(*SmallMap(), "small.map"));
    const QSize at30 = window->Map()->PictureSize();
    Action("rZoomIn")->trigger();
    window->RefreshIfDirty();
    EXPECT_EQ(window->Universe().HexSize, 90);
    EXPECT_GT(window->Map()->PictureSize().width(), at30.width());
    Action("rZoomIn")->trigger();  // the largest size already
    EXPECT_FALSE(window->Universe().MapDirty);
    Action("rZoomOut")->trigger();
    Action("rZoomOut")->trigger();
    window->RefreshIfDirty();
    EXPECT_EQ(window->Universe().HexSize, 10);

    Action("rShowNames")->trigger();
    EXPECT_TRUE(window->Universe().ShowNames);
    EXPECT_TRUE(window->Universe().MapDirty);
    window->RefreshIfDirty();
    EXPECT_FALSE(window->Universe().MapDirty);
    Action("rShowAllInfo")->trigger();
    const TUniverse& u = window->Universe();
    EXPECT_TRUE(u.ShowAllInfo && u.ShowRoutes && u.ShowStarports && u.ShowSectorLines && u.ShowAllegianceColors);

    // Without Auto Refresh only Refresh rebuilds.
    Action("rAutoRefresh")->trigger();
    EXPECT_FALSE(u.AutoRefresh);
    Action("rShowNames")->trigger();
    window->RefreshIfDirty();
    EXPECT_TRUE(u.MapDirty);
    Action("rRefresh")->trigger();
    EXPECT_FALSE(u.MapDirty);

    Action("rUseAltTL")->trigger();
    EXPECT_TRUE(u.UseAltTL);
    Action("rUseSectorHexAddressing")->trigger();
    EXPECT_TRUE(u.UseSectorHexAddressing);
}

TEST_F(MainformTest, RefreshPlacesTheStarsAnewBeforeDrawing) {
    Open(Write(*SmallMap(), "small.map"));
    TStar* home = Star("Home");
    const int column = home->HexX;
    home->StarCoordsX += 1;  // moved without the extent being computed
    Action("rRefresh")->trigger();
    EXPECT_EQ(home->HexX, column + 1);
    EXPECT_FALSE(window->Universe().MapDirty);
}

// ---------------------------------------------------------------- pointer and map popup

TEST_F(MainformTest, PointerShowsTheStarUnderItInTheFirstFourPanels) {
    Open(Write(*SmallMap(), "small.map"));
    const TStar* home = Star("Home");
    window->rImageMouseMove(QPoint(home->PictureX + 14, home->PictureY - 14));
    EXPECT_EQ(window->PanelText(1), "Home");
    EXPECT_EQ(window->PanelText(2), "a");
    EXPECT_EQ(window->PanelText(3), "Alpha");
    EXPECT_EQ(window->PanelText(4), "A 788899 C");
    // Exactly half a hex away is outside.
    window->rImageMouseMove(QPoint(home->PictureX + 15, home->PictureY));
    for (int panel = 1; panel <= 4; ++panel) EXPECT_EQ(window->PanelText(panel), "") << panel;
}

TEST_F(MainformTest, MapPopupFiltersActOnTheStarUnderThePointer) {
    Open(Write(*SmallMap(), "small.map"));
    window->rImageMouseMove(QPoint(1, 1));
    Trigger(window->MapPopup(), "Display Only This Sector");
    EXPECT_EQ(prompter.Last(), "info: Please activate this menu item somewhere over a star in the sector.");
    Trigger(window->MapPopup(), "Remove Subsector From Display");
    EXPECT_EQ(prompter.Last(), "info: Please activate this menu item somewhere over a star in the Subsector.");
    EXPECT_FALSE(window->Universe().ManagerRequiresSaving);

    const TStar* home = Star("Home");
    window->rImageMouseMove(QPoint(home->PictureX, home->PictureY));
    Trigger(window->MapPopup(), "Display Only This Subsector");
    EXPECT_TRUE(Star("Home")->Visible);
    EXPECT_TRUE(Star("Far")->Visible);
    EXPECT_FALSE(Star("Rim")->Visible);
    EXPECT_TRUE(Sector("Gamma")->ExcludeFromDisplay());
    EXPECT_TRUE(window->Universe().ManagerRequiresSaving);
    EXPECT_TRUE(window->Universe().MapDirty);
}

TEST_F(MainformTest, TreePopupFiltersActOnTheSelectedNode) {
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Gamma"}));
    Trigger(window->TreePopup(), "Display Only This Sector");
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "b"}));
    Trigger(window->TreePopup(), "Remove Subsector From Display");
    EXPECT_FALSE(Star("Rim")->Visible);
    Trigger(window->TreePopup(), "Add Sector To Display");  // shows the removed subsector again
    EXPECT_TRUE(Star("Rim")->Visible);
    EXPECT_FALSE(Sector("Gamma")->ExcludeFromDisplay());

    ASSERT_TRUE(window->SelectNode({"Allegiances", "Alpha"}));
    Trigger(window->TreePopup(), "Display Only The Stars In This Allegiance");
    EXPECT_TRUE(Star("Home")->Visible);
    EXPECT_FALSE(Star("Rim")->Visible);
    EXPECT_TRUE(Sector("Gamma")->ExcludeFromDisplay());

    ASSERT_TRUE(window->SelectNode({"Routes", "Main"}));
    Trigger(window->TreePopup(), "Remove Stars On This Route From Display");
    EXPECT_FALSE(Star("Home")->Visible);
    EXPECT_FALSE(Star("Far")->Visible);
}

// ---------------------------------------------------------------- InstaLeg and Locate

TEST_F(MainformTest, InstaLegPicksTheNewLegsStarsWithTwoClicks) {
    Open(Write(*SmallMap(), "small.map"));
    window->rmInstaLegClick();  // "Sectors" is selected
    EXPECT_EQ(prompter.Last(), "info: Select a Route first");

    ASSERT_TRUE(window->SelectNode({"Routes", "Main"}));
    prompter.InputAnswers = {QString("Hop")};
    window->rmInstaLegClick();
    EXPECT_EQ(prompter.Log.mid(prompter.Log.size() - 2),
              QStringList({"input: Add Leg|Leg Name|", "info: Select starting point on map."}));
    ASSERT_EQ(window->ListModel()->rowCount(), 3);
    EXPECT_EQ(window->ListModel()->CellText(2, 0), "Hop");
    EXPECT_TRUE(window->InstaLegActive());

    window->rImageClick(QPoint(1, 1));  // empty space: nothing
    const TStar* home = Star("Home");
    const QPoint onHome(home->PictureX, home->PictureY);
    window->rImageClick(onHome);
    EXPECT_EQ(prompter.Last(), "info: Pick end star on map.");
    window->rImageClick(onHome);
    EXPECT_EQ(prompter.Last(), "info: InstaLeg turned off.");
    EXPECT_FALSE(window->InstaLegActive());
    const TRouteLeg* leg = Route("Main")->Legs().back();
    EXPECT_EQ(leg->Name1, "Hop");
    EXPECT_EQ(leg->SStarName, "Home");
    EXPECT_EQ(leg->EStarName, "Home");
    EXPECT_TRUE(window->Universe().ManagerRequiresSaving);
    EXPECT_EQ(window->ListModel()->CellText(2, 3), "0");
}

TEST_F(MainformTest, DeletingTheLegInstaLegWaitsForEndsInstaLeg) {
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Routes", "Main"}));
    prompter.InputAnswers = {QString("Hop")};
    window->rmInstaLegClick();
    SelectRows({2});
    prompter.YesNoAnswers = {true};
    window->rmDeleteLegClick();
    EXPECT_FALSE(window->InstaLegActive());
    // A click on a star opens the system editor again instead of filling a leg.
    const TStar* home = Star("Home");
    prompter.Log.clear();
    WhenModal("Star System Editor", [](QDialog& editor) { editor.reject(); });
    window->rImageClick(QPoint(home->PictureX, home->PictureY));
    EXPECT_TRUE(prompter.Log.isEmpty());
}

TEST_F(MainformTest, LocateBringsTheStarToTheMiddleAndThePointerOntoIt) {
    window->show();
    Open(Write(*SmallMap(), "small.map"));
    Action("rZoomIn")->trigger();
    window->RefreshIfDirty();
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Gamma", "a"}));
    SelectRows({0});
    QCoreApplication::processEvents();  // the shown window's layout settles
    window->rmLocateStarClick();
    const TStar* vega = Star("Vega");
    const QPoint scroll = window->Map()->ScrollPosition();
    const QSize picture = window->Map()->PictureSize();
    const QSize viewport = window->Map()->viewport()->size();
    EXPECT_EQ(scroll.x(), std::clamp(vega->PictureX - viewport.width() / 2, 0, std::max(0, picture.width() - viewport.width())));
    EXPECT_EQ(scroll.y(), std::clamp(vega->PictureY - viewport.height() / 2, 0, std::max(0, picture.height() - viewport.height())));
    EXPECT_EQ(QCursor::pos(), window->Map()->PictureToGlobal(QPoint(vega->PictureX, vega->PictureY)));
}

TEST_F(MainformTest, LocatingTheEndOfALegWhoseStarIsGoneOffersToDeleteTheLeg) {
    Open(Write(*SmallMap(), "small.map"));
    TManager::Destroy(Star("Rim"));
    ASSERT_TRUE(window->SelectNode({"Routes", "Main"}));
    EXPECT_EQ(window->ListModel()->CellText(1, 3), "-1");
    SelectRows({1});
    prompter.YesNoAnswers = {false};
    window->rmLocateEndStarClick();
    EXPECT_EQ(prompter.Last(), "yesno: Star no longer exists.\nDelete Route Leg?");
    EXPECT_EQ(Route("Main")->Legs().size(), 2u);
    SelectRows({1});
    prompter.YesNoAnswers = {true};
    window->rmLocateEndStarClick();
    EXPECT_EQ(Route("Main")->Legs().size(), 1u);
    EXPECT_EQ(window->ListModel()->rowCount(), 1);
}

// ---------------------------------------------------------------- tree and listing

TEST_F(MainformTest, TreeGroupsSectorsAndSortsAllegiancesAndRoutesWithoutCase) {
    Open(Write(*SmallMap(), "small.map"));
    EXPECT_EQ(ChildTexts({"Sectors", "Surveyed"}), QStringList({"Alpha", "Gamma"}));
    EXPECT_EQ(ChildTexts({"Sectors", "Not Surveyed"}), QStringList({"Beta"}));
    EXPECT_EQ(ChildTexts({"Sectors", "Not Surveyed", "Beta"}).size(), 16);
    EXPECT_EQ(ChildTexts({"Allegiances"}), QStringList({"Alpha", "beta", "Independent"}));
    EXPECT_EQ(ChildTexts({"Routes"}), QStringList({"Main", "side"}));
}

TEST_F(MainformTest, SelectionDecidesTheListingPopupsAndStatusText) {
    Open(Write(*SmallMap(), "small.map"));
    struct Case {
        QStringList node;
        ListingMode mode;
        int rows;
        QString status;
    };
    const Case cases[] = {
        {{"Sectors"}, ListingMode::None, 0, ""},
        {{"Allegiances"}, ListingMode::None, 0, "Empires : 3"},
        {{"Routes"}, ListingMode::None, 0, "Routes : 2"},
        {{"Sectors", "Surveyed"}, ListingMode::None, 0, "Surveyed : 4"},
        {{"Sectors", "Not Surveyed"}, ListingMode::None, 0, "Not Surveyed : 0"},
        {{"Sectors", "Surveyed", "Alpha"}, ListingMode::None, 0, "Systems : 3"},
        {{"Sectors", "Not Surveyed", "Beta"}, ListingMode::None, 0, "Systems : 0"},
        {{"Sectors", "Surveyed", "Alpha", "a"}, ListingMode::SubsectorStars, 2, "Systems : 2"},
        {{"Allegiances", "Alpha"}, ListingMode::AllegianceMembers, 2, "Members : 2"},
        {{"Routes", "Main"}, ListingMode::RouteLegs, 2,
         QString("Legs/Dist : 2 / %1").arg(Route("Main")->Distance())},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(window->SelectNode(c.node)) << c.node.join("/").toStdString();
        EXPECT_EQ(window->Listing(), c.mode) << c.node.join("/").toStdString();
        EXPECT_EQ(window->ListModel()->rowCount(), c.rows) << c.node.join("/").toStdString();
        EXPECT_EQ(window->TreeStatusText(), c.status) << c.node.join("/").toStdString();
    }
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha"}));
    EXPECT_EQ(window->TreePopup()->objectName(), "rSectorPopup");
    EXPECT_EQ(window->ListPopup(), nullptr);
    ASSERT_TRUE(window->SelectNode({"Routes", "Main"}));
    EXPECT_EQ(window->ListPopup()->objectName(), "rLegPopup");
    EXPECT_EQ(window->ListModel()->Kind(), ColumnKind::Legs);
    EXPECT_EQ(window->ListModel()->CellText(0, 0), "Main 1");
}

TEST_F(MainformTest, DropsFromASubsectorGoToSubsectorsOrAllegiancesOnly) {
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    SelectRows({0, 1});
    window->rListingDragDrop(Node({"Routes"}));
    EXPECT_EQ(prompter.Last(), "info: Cannot drop to this node");
    window->rListingDragDrop(Node({"Sectors", "Surveyed"}));
    EXPECT_EQ(prompter.Last(), "info: These systems can only be dropped to other subsectors or Allegiances.");
    EXPECT_FALSE(window->Universe().ManagerRequiresSaving);

    prompter.YesNoAnswers = {false};
    window->rListingDragDrop(Node({"Allegiances", "beta"}));
    EXPECT_EQ(prompter.Last(), "yesno: Should the chosen systems swear Allegiance\nto beta?");
    EXPECT_EQ(Star("Home")->Allegiance, "Alpha");
    SelectRows({0, 1});
    prompter.YesNoAnswers = {true};
    window->rListingDragDrop(Node({"Allegiances", "beta"}));
    EXPECT_EQ(Star("Home")->Allegiance, "beta");
    EXPECT_EQ(Star("Far")->Allegiance, "beta");
    EXPECT_TRUE(window->Universe().ManagerRequiresSaving);

    // Onto a subsector of another sector: the star moves there.
    SelectRows({0});
    window->rListingDragDrop(Node({"Sectors", "Surveyed", "Gamma", "c"}));
    const TStar* home = Star("Home");
    EXPECT_EQ(home->SubSectorName, "c");
    EXPECT_EQ(home->Owner(), Sector("Gamma"));
    EXPECT_EQ(Sector("Alpha")->Stars().size(), 2u);
    EXPECT_EQ(window->ListModel()->rowCount(), 1);  // refilled: Far is left in a
}

TEST_F(MainformTest, DropsBetweenAllegiancesRefuseASecondStarOfTheSameName) {
    auto map = SmallMap();
    testutil::AddStar(*map->FindSector("Gamma"), "Home", 20, 5)->Allegiance = "Independent";
    Open(Write(*map, "small.map"));
    ASSERT_TRUE(window->SelectNode({"Allegiances", "Independent"}));
    SelectRows({2});  // Rim, Vega, then Gamma's Home
    window->rListingDragDrop(Node({"Sectors", "Surveyed", "Alpha", "a"}));
    EXPECT_EQ(prompter.Last(), "info: These systems can only be dropped to other Allegiances.");
    window->rListingDragDrop(Node({"Allegiances", "Alpha"}));
    EXPECT_EQ(prompter.Last(), "info: This Empire already has a Star by that name.");
    EXPECT_EQ(window->Universe().FindSector("Gamma")->Stars().back()->Allegiance, "Independent");

    SelectRows({1});  // Vega
    window->rListingDragDrop(Node({"Allegiances", "Alpha"}));
    EXPECT_EQ(Star("Vega")->Allegiance, "Alpha");
}

TEST_F(MainformTest, LegsDropOntoOtherRoutesOnly) {
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Routes", "Main"}));
    SelectRows({1});
    window->rListingDragDrop(Node({"Allegiances", "Alpha"}));
    EXPECT_EQ(prompter.Last(), "info: These systems can only be dropped to other Routes.");
    window->rListingDragDrop(Node({"Routes", "side"}));
    EXPECT_EQ(Route("Main")->Legs().size(), 1u);
    ASSERT_EQ(Route("side")->Legs().size(), 1u);
    EXPECT_EQ(Route("side")->Legs()[0]->Name1, "Main 2");
    EXPECT_EQ(window->ListModel()->rowCount(), 1);
}

// ---------------------------------------------------------------- add and delete

TEST_F(MainformTest, AddAllegianceAndRouteRefuseOnlyExactDuplicates) {
    Open(Write(*SmallMap(), "small.map"));
    prompter.InputAnswers = {QString("Alpha"), QString("ALPHA"), QString(), QString("Trade")};
    window->rmAddAllegianceClick();
    EXPECT_EQ(prompter.Last(), "info: This Allegiance already exists.  Please select another name.");
    window->rmAddAllegianceClick();
    EXPECT_EQ(ChildTexts({"Allegiances"}), QStringList({"Alpha", "ALPHA", "beta", "Independent"}));
    EXPECT_TRUE(window->Universe().ManagerRequiresSaving);
    window->rmAddRouteClick();  // empty answer: nothing
    EXPECT_EQ(ChildTexts({"Routes"}).size(), 2);
    window->rmAddRouteClick();
    const TRoute* trade = Route("Trade");
    ASSERT_TRUE(trade);
    EXPECT_TRUE(trade->User);
    EXPECT_FALSE(trade->ShowRoute);

    prompter.InputAnswers = {QString("Main")};
    Action("rDefineNewRoute")->trigger();
    EXPECT_EQ(prompter.Last(), "info: This Route already exists.  Please select another name.");

    // A name a map file cannot hold is refused, not mangled.
    prompter.InputAnswers = {QString::fromUtf8("\xE6\x98\x9F")};
    window->rmAddAllegianceClick();
    EXPECT_TRUE(prompter.Last().startsWith("error: "));
    EXPECT_EQ(ChildTexts({"Allegiances"}).size(), 4);
}

TEST_F(MainformTest, DeleteStarAndLegAskFirstAndAnswerANo) {
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    SelectRows({0});
    prompter.YesNoAnswers = {false};
    window->rmDeleteStarClick();
    EXPECT_EQ(prompter.Log.mid(prompter.Log.size() - 2),
              QStringList({"yesno: Delete Star(s) from the Universe?", "info: I didn't think you had that much power"}));
    EXPECT_TRUE(Star("Home"));
    prompter.YesNoAnswers = {true};
    window->rmDeleteStarClick();
    EXPECT_FALSE(Star("Home"));
    EXPECT_EQ(window->ListModel()->rowCount(), 1);
    EXPECT_TRUE(window->Universe().ManagerRequiresSaving);

    ASSERT_TRUE(window->SelectNode({"Routes", "Main"}));
    SelectRows({0, 1});
    prompter.YesNoAnswers = {false, true};
    window->rmDeleteLegClick();
    EXPECT_EQ(prompter.Last(), "info: I didn't think you had that kind of influence.");
    window->rmDeleteLegClick();
    EXPECT_TRUE(Route("Main")->Legs().empty());
}

TEST_F(MainformTest, DeleteAllegianceOnlyWhenItHasNoMembers) {
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Allegiances", "Alpha"}));
    window->rmDeleteAllegianceClick();
    EXPECT_EQ(prompter.Last(), "info: You must first move all Systems that belong to this empire to another.");
    EXPECT_TRUE(window->Universe().FindAllegiance("Alpha"));

    ASSERT_TRUE(window->SelectNode({"Allegiances", "beta"}));
    prompter.YesNoAnswers = {false, true};
    window->rmDeleteAllegianceClick();
    EXPECT_EQ(prompter.Last(), "info: I didn't think you had that many ships.");
    window->rmDeleteAllegianceClick();
    EXPECT_FALSE(window->Universe().FindAllegiance("beta"));
    EXPECT_EQ(ChildTexts({"Allegiances"}), QStringList({"Alpha", "Independent"}));
}

TEST_F(MainformTest, DeleteSectorAsksTwiceWhenItHasStarsAndDeleteRouteRebuildsTheTree) {
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "b"}));
    prompter.YesNoAnswers = {true, false};
    window->rmDeleteSectorClick();
    EXPECT_EQ(prompter.Log.mid(prompter.Log.size() - 2),
              QStringList({"yesno: Delete Alpha Sector from the Universe?",
                           "yesno: There are still systems in this sector.\n\nIf this sector is deleted, then all "
                           "systems \nwill be deleted, also.\n\nContinue with deletion?"}));
    EXPECT_EQ(prompter.Looks.mid(prompter.Looks.size() - 2),
              QList<hexlane::ui::Look>({hexlane::ui::Look::Question, hexlane::ui::Look::Warning}));
    EXPECT_TRUE(Sector("Alpha"));
    prompter.YesNoAnswers = {true, true};
    window->rmDeleteSectorClick();
    EXPECT_FALSE(Sector("Alpha"));
    EXPECT_EQ(ChildTexts({"Sectors", "Surveyed"}), QStringList({"Gamma"}));
    EXPECT_EQ(window->ListModel()->rowCount(), 0);

    // An empty sector goes after one question.
    ASSERT_TRUE(window->SelectNode({"Sectors", "Not Surveyed", "Beta"}));
    prompter.YesNoAnswers = {true};
    window->Tree()->setFocus();
    QTest::keyClick(window->Tree(), Qt::Key_Delete);
    EXPECT_FALSE(Sector("Beta"));

    ASSERT_TRUE(window->SelectNode({"Routes", "side"}));
    prompter.YesNoAnswers = {true};
    window->rmDeleteRouteClick();
    EXPECT_EQ(prompter.Last(), "yesno: Delete Selected Route(s) from the IISS Trade/Comm Route database?");
    EXPECT_EQ(ChildTexts({"Routes"}), QStringList({"Main"}));
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

TEST_F(MainformTest, DoubleClickOnASubsectorSaysItHasNothingToConfigure) {
    Open(Write(*SmallMap(), "small.map"));
    window->rListingDblClick(Node({"Sectors", "Surveyed", "Alpha", "a"}));
    EXPECT_EQ(prompter.Last(), "info: No Configurable features.");
}

// ---------------------------------------------------------------- the window as seen

TEST_F(MainformTest, TheWindowShowsTheMapPictureOnceAMapIsOpen) {
    window->show();
    Open(QString(HEXLANE_SAMPLES) + "/sample.map");
    QApplication::processEvents();
    const QImage shot = window->grab().toImage();
    const QRect mapArea(window->Map()->viewport()->mapTo(window.get(), QPoint(0, 0)),
                        window->Map()->viewport()->size());
    ASSERT_GT(mapArea.width(), 100);
    int ink = 0;
    for (int y = mapArea.top(); y <= mapArea.bottom(); y += 2)
        for (int x = mapArea.left(); x <= mapArea.right(); x += 2)
            if (shot.pixel(x, y) != qRgb(255, 255, 255)) ++ink;
    EXPECT_GT(ink, mapArea.width() * mapArea.height() / 4 / 50) << "the map area is blank";
}

// ---------------------------------------------------------------- popups, list and columns

TEST_F(MainformTest, EachNodeAndListingOffersItsOwnPopup) {
    Open(Write(*SmallMap(), "small.map"));
    auto texts = [](QMenu* menu) {
        QStringList list;
        for (QAction* a : menu->actions()) list << (a->isSeparator() ? "-" : QString(a->text()).remove('&'));
        return list;
    };
    EXPECT_EQ(texts(window->MapPopup()),
              QStringList({"Legend...", "Navigation Information...", "Query...", "-", "Display Only This Sector",
                           "Remove Sector From Display", "-", "Display Only This Subsector",
                           "Remove Subsector From Display", "-", "Save Bitmap..."}));
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    EXPECT_EQ(texts(window->TreePopup()),
              QStringList({"Add Star...", "Delete Sector...", "-", "Display Only This Sector",
                           "Remove Sector From Display", "Add Sector To Display", "-", "Display Only This Subsector",
                           "Remove Subsector From Display", "Add Subsector To Display", "-", "Generate Systems..."}));
    EXPECT_EQ(texts(window->ListPopup()), QStringList({"Locate Star on Map", "-", "Add Star...", "Delete Star...", "-",
                                                       "System List Columns..."}));
    ASSERT_TRUE(window->SelectNode({"Allegiances", "Alpha"}));
    EXPECT_EQ(texts(window->TreePopup()),
              QStringList({"Add Allegiance...", "Delete Allegiance...", "-",
                           "Display Only The Stars In This Allegiance", "Remove Stars In This Allegiance From Display",
                           "Add Stars In This Allegiance To Display"}));
    EXPECT_EQ(texts(window->ListPopup()),
              QStringList({"Locate Star on Map", "-", "Delete Star...", "-", "System List Columns..."}));
    ASSERT_TRUE(window->SelectNode({"Routes", "Main"}));
    EXPECT_EQ(texts(window->TreePopup()),
              QStringList({"Add Route...", "Delete Route...", "-", "Display Only The Stars On This Route",
                           "Remove Stars On This Route From Display", "Add Stars On This Route To Display"}));
    EXPECT_EQ(texts(window->ListPopup()),
              QStringList({"Locate Start Star on Map", "Locate End Star on Map", "-", "InstaLeg...", "Add Leg...",
                           "Delete Leg...", "-", "System List Columns..."}));
    ASSERT_TRUE(window->SelectNode({"Sectors"}));
    EXPECT_EQ(window->TreePopup(), nullptr);
}

TEST_F(MainformTest, TheDeleteKeyInTheListDeletesTheSelectedStars) {
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Allegiances", "Alpha"}));
    SelectRows({1});
    prompter.YesNoAnswers = {true};
    QTest::keyClick(window->List(), Qt::Key_Delete);
    EXPECT_EQ(prompter.Last(), "yesno: Delete Star(s) from the Universe?");
    EXPECT_FALSE(Star("Far"));
    EXPECT_EQ(window->TreeStatusText(), "Members : 1");
}

TEST_F(MainformTest, ARefillOfTheListForgetsItsSortOrder) {
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    window->ListModel()->SortByHeader(0);
    EXPECT_EQ(window->ListModel()->CellText(0, 0), "Far");
    window->rListingDragDrop(window->Tree()->topLevelItem(0));  // a message only
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    window->FillList();
    EXPECT_EQ(window->ListModel()->SortColumn(), -1);
    EXPECT_EQ(window->ListModel()->CellText(0, 0), "Home");
}

TEST_F(MainformTest, TheColumnChooserSetsTheColumnsAndEmptiesTheList) {
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    // The chooser is modal: answer it once it is up.
    QTimer::singleShot(0, [this] {
        auto* chooser = window->findChild<TfConfigSysListCols*>();
        ASSERT_TRUE(chooser && chooser->isVisible());
        auto* available = chooser->findChild<QListWidget*>("rAvailable");
        for (int i = 0; i < available->count(); ++i)
            available->item(i)->setSelected(available->item(i)->text() == "Coords");
        chooser->findChild<QPushButton*>("rAdd")->click();
        chooser->findChild<QPushButton*>("rOK")->click();
    });
    window->rSystemListColumnsClick();
    EXPECT_EQ(window->ListModel()->rowCount(), 0);
    QStringList headers;
    for (int c = 0; c < window->ListModel()->columnCount(); ++c)
        headers << window->ListModel()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"System Name", "SP", "UPC", "TL", "Coords", "Allegiance"}));
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    window->FillList();
    EXPECT_EQ(window->ListModel()->CellText(0, 4), "3,4");
}

TEST_F(MainformTest, TheLegendAboutAndCreditsWindowsOpenFromTheirCommands) {
    Open(Write(*SmallMap(), "small.map"));
    Trigger(window->MapPopup(), "Legend...");
    auto* legend = window->findChild<TfLegend*>();
    ASSERT_TRUE(legend);
    EXPECT_TRUE(legend->isVisible());
    EXPECT_FALSE(legend->isModal());
    QStringList shown;
    for (const char* command : {"rAbout", "rCredits"}) {
        QTimer::singleShot(0, [&shown] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                shown << modal->windowTitle();
                modal->close();
            }
        });
        Action(command)->trigger();
    }
    EXPECT_EQ(shown, QStringList({"About Hexlane 4", "Credits"}));
}
