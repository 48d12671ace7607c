// The window as a desktop program, continued: status read-outs, zoom
// commands, Escape, the remembered view, Close and Revert, the shortcut
// list and toolbar tips, dropped files, and windows that open on screen.

#include "MainformFixture.h"
#include "MapView.h"
#include "ScreenFit.h"
#include "Settings.h"

#include <QHelpEvent>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>

using hexlane::ui::FitWithin;

TEST_F(MainformTest, TheStatusBarNamesTheHexUnderThePointerAndTheZoom) {
    Open(Write(*SmallMap(), "small.map"));
    const TStar* home = Star("Home");
    const int S = window->Universe().HexSize;
    const struct {
        QPoint at;
        const char* hex;
    } table[] = {
        {{home->PictureX, home->PictureY}, "Alpha 0304"},
        {{home->PictureX, home->PictureY + S}, "Alpha 0305"},       // empty
        {{home->PictureX + S, home->PictureY + S / 2}, "Alpha 0404"},  // the next column stands half a hex lower
        {{-5, -5}, ""},                                             // off the picture
    };
    for (const auto& t : table) {
        window->rImageMouseMove(t.at);
        EXPECT_EQ(window->PointerHexText(), t.hex) << t.at.x() << "," << t.at.y();
    }
    EXPECT_EQ(window->ZoomText(), "Zoom 100%");
    Action("rZoomIn")->trigger();
    EXPECT_EQ(window->ZoomText(), "Zoom 300%");
    Action("rActualSize")->trigger();
    EXPECT_EQ(window->Universe().HexSize, 30);
    EXPECT_EQ(Action("rActualSize")->shortcut(), QKeySequence("Ctrl+0"));
    // The small map fits the view whole only at the smallest zoom.
    window->Map()->resize(400, 300);
    Action("rZoomToFit")->trigger();
    EXPECT_EQ(window->Universe().HexSize, 10);
    EXPECT_EQ(window->findChild<QLabel*>("rZoomPanel")->text(), "Zoom 33%");
}

TEST_F(MainformTest, EscapeLeavesInstaLegAndTheModeShowsWhilePicking) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Routes", "Main"}));
    prompter.InputAnswers = {QString("Loose")};
    window->rmInstaLegClick();
    ASSERT_TRUE(window->InstaLegActive());
    EXPECT_EQ(window->ModeText(), "InstaLeg: pick the first star (Esc cancels)");
    EXPECT_TRUE(window->findChild<QLabel*>("rModePanel")->isVisible());
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->InstaLegActive());
    EXPECT_TRUE(window->ModeText().isEmpty());
    EXPECT_FALSE(window->findChild<QLabel*>("rModePanel")->isVisible());
    EXPECT_EQ(Route("Main")->ChildrenOf<TRouteLeg>().size(), 2u);  // the unfinished leg went
    EXPECT_FALSE(window->Universe().ManagerRequiresSaving);
}

TEST_F(MainformTest, LayersAndPanesAreRememberedAcrossARestart) {
    const QString map = Write(*SmallMap(), "small.map");
    Open(map);
    Action("rShowNames")->trigger();
    Action("rShowRoutes")->trigger();
    Action("rShowBorders")->trigger();
    Action("rUniverseInspector")->trigger();  // hides the tree
    window->close();
    window = std::make_unique<hexlane::ui::TfMainform>(&prompter);
    EXPECT_FALSE(Action("rUniverseInspector")->isChecked());
    EXPECT_TRUE(window->findChild<QWidget*>("rNavigatorPane")->isHidden());
    Open(map);
    const TUniverse& u = window->Universe();
    EXPECT_TRUE(u.ShowNames && u.ShowRoutes && u.ShowBorders);
    EXPECT_FALSE(u.ShowStarports || u.ShowSectorLines || u.ShowAllInfo);
    EXPECT_TRUE(Action("rShowNames")->isChecked());
}

TEST_F(MainformTest, CloseEmptiesTheWindowAndRevertGoesBackToTheSavedMap) {
    const QString map = Write(*SmallMap(), "small.map");
    Open(map);
    TManager::Destroy(Star("Vega"));
    window->Document().MarkChanged();
    prompter.YesNoAnswers = {false};
    Action("rRevert")->trigger();
    EXPECT_FALSE(Star("Vega"));  // the user said no
    prompter.YesNoAnswers = {true};
    Action("rRevert")->trigger();
    EXPECT_TRUE(Star("Vega"));
    EXPECT_FALSE(window->Universe().ManagerRequiresSaving);
    EXPECT_EQ(window->FileName(), map);

    Action("rClose")->trigger();
    EXPECT_TRUE(window->FileName().isEmpty());
    EXPECT_FALSE(Star("Vega"));
    Action("rRevert")->trigger();
    EXPECT_EQ(prompter.Last(), "info: This map has no saved file to go back to.");
}

TEST_F(MainformTest, TheShortcutListNamesEveryKeyAndToolbarTipsShowTheirs) {
    const QStringList lines = window->ShortcutLines();
    for (QAction* action : window->findChildren<QAction*>())
        for (const QKeySequence& key : action->shortcuts()) {
            const QString keys = key.toString(QKeySequence::NativeText);
            EXPECT_TRUE(lines.filter("\t").filter(keys).size() > 0) << keys.toStdString();
        }
    EXPECT_TRUE(lines.contains("Open...\t" + QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText)));
    WhenModal("Keyboard Shortcuts", [](QDialog& d) { d.reject(); });
    Action("rKeyboardShortcuts")->trigger();

    window->show();
    auto* bar = window->findChild<QToolBar*>("rFileToolBar");
    QWidget* open = bar->widgetForAction(Action("rOpen"));
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), open->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(open, &help);
    EXPECT_EQ(QToolTip::text(), "Open Map (" + QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText) + ")");
    EXPECT_EQ(Action("rOpen")->toolTip(), "Open Map");  // the hint itself stays as it is
}

TEST_F(MainformTest, ADroppedMapOpensAndASectorFileDroppedOnASectorImportsIntoIt) {
    const QString map = Write(*SmallMap(), "small.map");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(map)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(window->FileName(), map);

    const QString sec = Path("beta.tab");
    WriteBytes(sec, "Hex\tName\tUWP\tBases\tRemarks\tZone\tPBG\tAllegiance\tStars\r\n"
                    "0101\tDropstone\tA788899-C\t\t\t\t123\t\t\r\n");
    const struct {
        QStringList node;
        bool imported;
    } table[] = {{{"Sectors", "Surveyed", "Alpha"}, false},  // has systems
                 {{"Routes", "Main"}, false},
                 {{"Sectors", "Not Surveyed", "Beta"}, true}};
    for (const auto& t : table) {
        window->ImportDroppedSectorFiles(Node(t.node), {sec});
        EXPECT_EQ(Star("Dropstone") != nullptr, t.imported) << t.node.join("/").toStdString();
    }
    EXPECT_EQ(Star("Dropstone")->Sector()->Name1, "Beta");
}

TEST_F(MainformTest, WindowsOpenWithinTheScreen) {
    const QRect room(0, 0, 1280, 1000);
    const struct {
        QRect frame, fitted;
    } table[] = {
        {{100, 100, 400, 300}, {100, 100, 400, 300}},    // inside: as it is
        {{559, 200, 900, 600}, {380, 200, 900, 600}},    // past the right edge: moved in
        {{-50, -20, 300, 200}, {0, 0, 300, 200}},        // past the top-left
        {{10, 10, 1500, 1200}, {0, 0, 1280, 1000}},      // larger: cut to the room
    };
    for (const auto& t : table) EXPECT_EQ(FitWithin(t.frame, room), t.fitted) << t.frame.x();

    // A dialog over a window at the screen's right edge still opens whole.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window->move(screen.right() - 200, screen.top());
    window->show();
    Open(Write(*SmallMap(), "small.map"));
    WhenModal("Query Survey Chart", [&](QDialog& d) {
        // Whole when it fits the screen; from its left edge when it is wider
        // than the screen of the tests (800 pixels) can hold.
        const QRect frame = d.frameGeometry();
        EXPECT_GE(frame.left(), screen.left());
        EXPECT_TRUE(frame.right() <= screen.right() || frame.left() == screen.left()) << frame.x() << "+" << frame.width();
        EXPECT_GE(frame.top(), screen.top());
        d.reject();
    });
    window->rQueryClick();
}

TEST_F(MainformTest, TheFirstStartTakesTwoThirdsOfTheScreenAndShowsEveryToolbarButton) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_GE(window->width(), screen.width() * 2 / 3);
    EXPECT_GE(window->height(), screen.height() * 2 / 3);
    EXPECT_LE(std::abs(window->geometry().center().x() - screen.center().x()), 1);
    window->show();
    QCoreApplication::processEvents();
    for (QToolBar* bar : window->findChildren<QToolBar*>())
        for (QAction* a : bar->actions())
            EXPECT_TRUE(bar->widgetForAction(a)->isVisible()) << a->toolTip().toStdString();
}
