// Several systems at once: picking on the map, the clipboard's T5 rows,
// paste, duplicate, cut and delete as single undo steps, and the map's
// right-click menu of a system or an empty hex.

#include "MainformFixture.h"
#include "MapView.h"
#include "PlanVoyage.h"
#include "UndoHistory.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QUndoStack>

namespace {

void Click(QWidget* viewport, QEvent::Type type, QPoint at, Qt::MouseButtons held, Qt::KeyboardModifiers modifiers) {
    QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, held, modifiers);
    QApplication::sendEvent(viewport, &event);
}

QStringList Names(const std::vector<TStar*>& stars) {
    QStringList names;
    for (const TStar* s : stars) names << QString::fromStdString(s->Name1);
    names.sort();
    return names;
}

// "Name@XXYY" of every system of a sector, sorted.
QStringList Placed(const TSector* sector) {
    QStringList placed;
    for (const TStar* s : sector->Stars()) {
        const int position = sector->FindSubsector(s->SubSectorName);
        placed << QString("%1@%2%3")
                      .arg(QString::fromStdString(s->Name1))
                      .arg((position - 1) / 4 * 8 + s->StarCoordsX, 2, 10, QChar('0'))
                      .arg((position - 1) % 4 * 10 + s->StarCoordsY, 2, 10, QChar('0'));
    }
    placed.sort();
    return placed;
}

// Closes the message window (it lists the renamed systems) whenever it is up.
struct CloseMessages {
    QTimer timer;
    int shown = 0;
    CloseMessages() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (d && d->windowTitle() == "Errors/Messages") ++shown, d->accept();
        });
        timer.start(5);
    }
};

}  // namespace

TEST_F(MainformTest, CtrlClickAndShiftDragPickSystemsOnTheMap) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Open(Write(*SmallMap(), "small.map"));
    QWidget* viewport = window->Map()->viewport();
    auto at = [&](const char* name) { return QPoint(Star(name)->PictureX, Star(name)->PictureY) - window->Map()->ScrollPosition(); };
    const QPoint home = at("Home"), far = at("Far");
    for (QPoint p : {home, far}) {
        Click(viewport, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::ControlModifier);
        Click(viewport, QEvent::MouseButtonRelease, p, Qt::NoButton, Qt::ControlModifier);
    }
    EXPECT_EQ(Names(window->MapSelection()), QStringList({"Far", "Home"}));
    // A second Ctrl+click lets one go; nothing opened the editor.
    Click(viewport, QEvent::MouseButtonPress, home, Qt::LeftButton, Qt::ControlModifier);
    Click(viewport, QEvent::MouseButtonRelease, home, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(Names(window->MapSelection()), QStringList({"Far"}));
    // A band from above-left of Home to below-right of Far picks both and no other.
    const QPoint from = home - QPoint(10, 10), to = far + QPoint(10, 10);
    Click(viewport, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::ShiftModifier);
    QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(viewport, &move);
    Click(viewport, QEvent::MouseButtonRelease, to, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(Names(window->MapSelection()), QStringList({"Far", "Home"}));
    EXPECT_EQ(window->ChosenStars().size(), 2u);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->MapSelection().empty());
}

TEST_F(MainformTest, CopiedSystemsTravelAsT5RowsAndPasteDuplicateCutAreOneUndoStepEach) {
    Open(Write(*SmallMap(), "small.map"));
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    SelectRows({0, 1});  // Home (0304) and Far (0608)
    window->rCopyClick();
    const QStringList lines = QGuiApplication::clipboard()->text().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("Sector\tSS\tHex\tName\tUWP"));
    EXPECT_TRUE(lines[1].startsWith("Alpha\tA\t0304\tHome\t") || lines[2].startsWith("Alpha\tA\t0304\tHome\t"));

    CloseMessages messages;
    QUndoStack& stack = window->History().Stack();
    const struct {
        const char* what;
        std::function<void()> act;
        const char* sector;
        QStringList after;
    } table[] = {
        // Pasted with their places kept, the top-left at the hex asked for,
        // names made unique; Vega's hex is taken, so Home's copy moves on.
        {"Paste", [&] { window->PasteInto(*Sector("Gamma"), 1, 2); }, "Gamma",
         {"Far (2)@0407", "Home (2)@0102", "Vega@0406"}},
        {"Paste", [&] { window->PasteInto(*Sector("Gamma"), 4, 6); }, "Gamma",
         {"Far (2)@0710", "Home (2)@0407", "Vega@0406"}},
        {"Duplicate", [&] { window->SetMapSelection({Star("Vega")}), window->rDuplicateClick(); }, "Gamma",
         {"Vega (2)@0407", "Vega@0406"}},
        {"Cut", [&] { window->SetMapSelection({Star("Rim")}), window->rCutClick(); }, "Alpha",
         {"Far@0608", "Home@0304"}},
    };
    for (const auto& step : table) {
        const QStringList before = Placed(Sector(step.sector));
        const int index = stack.index();
        step.act();
        EXPECT_EQ(Placed(Sector(step.sector)), step.after) << step.what;
        EXPECT_EQ(stack.index(), index + 1) << step.what;
        EXPECT_EQ(stack.undoText(), step.what);
        window->rUndoClick();
        EXPECT_EQ(Placed(Sector(step.sector)), before) << step.what;
    }
    // What Cut took is on the clipboard, ready to go elsewhere.
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains("\tRim\t"));
    // Select All takes the list's rows, which Copy then takes.
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    window->rSelectAllClick();
    EXPECT_EQ(Names(window->ChosenStars()), QStringList({"Far", "Home"}));
    // A clipboard of no systems pastes nothing and says so.
    QGuiApplication::clipboard()->setText("just words");
    EXPECT_EQ(window->PasteInto(*Sector("Beta"), 1, 1), 0);
    EXPECT_EQ(prompter.Last(), "info: The clipboard holds no systems to paste.");
}

TEST_F(MainformTest, RightClickOffersTheCommandsOfTheSystemOrTheEmptyHexThere) {
    Open(Write(*SmallMap(), "small.map"));
    auto texts = [](QMenu* menu, int count) {
        QStringList list;
        for (QAction* a : menu->actions().mid(0, count)) list << (a->isSeparator() ? "-" : QString(a->text()).remove('&'));
        return list;
    };
    const TStar* vega = Star("Vega");
    QMenu* onStar = window->ContextPopupAt(QPoint(vega->PictureX, vega->PictureY));
    EXPECT_EQ(texts(onStar, 10),
              QStringList({"Edit System...", "Delete...", "Copy", "-", "InstaLeg From Here...", "Plan Voyage From Here...",
                           "Plan Voyage To Here...", "Find in List", "-", "Legend..."}));
    // Every item has its own access key.
    QSet<QChar> keys;
    for (QAction* a : onStar->actions())
        if (!a->isSeparator()) {
            const int at = a->text().indexOf('&');
            ASSERT_GE(at, 0) << a->text().toStdString();
            EXPECT_FALSE(keys.contains(a->text()[at + 1].toLower())) << a->text().toStdString();
            keys.insert(a->text()[at + 1].toLower());
        }
    Trigger(onStar, "Find in List");
    ASSERT_EQ(window->List()->SelectedRows().size(), 1u);
    EXPECT_EQ(window->ListModel()->StarAt(window->List()->SelectedRows().front()), vega);
    for (const auto& [item, field] : {std::pair{"Plan Voyage From Here...", "rFrom"}, std::pair{"Plan Voyage To Here...", "rTo"}}) {
        Trigger(window->ContextPopupAt(QPoint(vega->PictureX, vega->PictureY)), item);
        QDialog& d = *window->PlanVoyageDialog();
        EXPECT_EQ(Control<QLineEdit>(d, field)->text(), "Vega") << field;
        d.reject();
    }
    Trigger(window->ContextPopupAt(QPoint(vega->PictureX, vega->PictureY)), "Copy");
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains("\tVega\t"));

    // One hex below Vega is empty: a new system or the clipboard's go there.
    CloseMessages messages;
    const QPoint below(vega->PictureX, vega->PictureY + window->Universe().HexSize);
    QMenu* onEmpty = window->ContextPopupAt(below);
    EXPECT_EQ(texts(onEmpty, 3), QStringList({"New System Here...", "Paste", "-"}));
    Trigger(onEmpty, "Paste");
    EXPECT_EQ(Placed(Sector("Gamma")), QStringList({"Vega (2)@0407", "Vega@0406"}));
    WhenModal("Star System Editor", [](QDialog& d) { d.reject(); });
    Trigger(window->ContextPopupAt(below + QPoint(0, window->Universe().HexSize)), "New System Here...");
    EXPECT_EQ(Sector("Gamma")->Stars().size(), 2u);  // cancelled: nothing added
}
