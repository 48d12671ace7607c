// The main window as a desktop program: standard keys, wheel zoom and drag on
// the map, View toggles, File > New, recent files, remembered settings and
// Find System.

#include "ClippedTextTips.h"
#include "FindSystem.h"
#include "MainformFixture.h"
#include "MapRenderer.h"
#include "MapView.h"
#include "Settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QMessageBox>
#include "AccessKeys.h"
#include <QComboBox>
#include <QGroupBox>
#include <QLayout>
#include <QLabel>
#include <QMap>
#include <QRegularExpression>
#include <QPushButton>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolBar>
#include <QWheelEvent>

#include <map>
#include <set>
#include <vector>

using hexlane::ui::Answer;

namespace {

void Wheel(QWidget* viewport, QPoint at, int angle, Qt::KeyboardModifiers modifiers) {
    QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

void Mouse(QWidget* viewport, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, viewport->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

std::string Named(const QWidget* w) {
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    return (w->objectName().isEmpty() && button ? button->text() : w->objectName()).toStdString() + " (" +
           w->metaObject()->className() + ")";
}

}  // namespace

TEST_F(MainformTest, StandardKeysReachTheirCommands) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Open(Write(*SmallMap(), "small.map"));
    bool findShown = false;
    const struct {
        const char* keys;
        std::function<void()> before;
        std::function<bool()> done;
    } table[] = {
        {"Ctrl+O", [&] { prompter.OpenAnswers = {std::nullopt}; },
         [&] { return prompter.Last() == "open: Map File (*.map)"; }},
        {"Ctrl+Shift+S", [&] { prompter.SaveAnswers = {std::nullopt}; },
         [&] { return prompter.Last() == "save: Map File (*.map)"; }},
        {"Ctrl+S", [&] { window->Universe().ManagerRequiresSaving = true; },
         [&] { return !window->Universe().ManagerRequiresSaving; }},
        {"Ctrl++", [] {}, [&] { return window->Universe().HexSize == 90; }},
        {"Ctrl+-", [] {}, [&] { return window->Universe().HexSize == 30; }},
        {"Ctrl+=", [] {}, [&] { return window->Universe().HexSize == 90; }},
        {"F5",
         [&] {
             Action("rAutoRefresh")->trigger();
             Action("rShowNames")->trigger();
         },
         [&] { return !window->Universe().MapDirty; }},
        {"Ctrl+F", [&] { WhenModal("Find System", [&](QDialog& d) { findShown = true, d.reject(); }); },
         [&] { return findShown; }},
        {"Ctrl+N", [] {}, [&] { return window->FileName().isEmpty() && window->Universe().HexSize == 0; }},
        {"Ctrl+Q", [] {}, [&] { return !window->isVisible(); }},
    };
    for (const auto& row : table) {
        // The offscreen platform does not give the window back its focus
        // when a dialog closes, as a desktop does.
        QApplication::setActiveWindow(window.get());
        window->Tree()->setFocus();
        row.before();
        QTest::keySequence(window.get(), QKeySequence(row.keys));
        EXPECT_TRUE(row.done()) << row.keys;
    }
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

TEST_F(MainformTest, WheelZoomKeepsThePointUnderThePointer) {
    window->resize(900, 700);
    window->show();
    Open(Write(*SmallMap(), "small.map"));
    QCoreApplication::processEvents();
    hexlane::ui::MapView* map = window->Map();
    QWidget* viewport = map->viewport();
    const TStar* home = Star("Home");
    map->ScrollTo(home->PictureX - 200, home->PictureY - 150);
    const QPoint under = QPoint(home->PictureX, home->PictureY) - map->ScrollPosition();

    // A plain wheel scrolls; with Ctrl it zooms in and out about the pointer.
    Wheel(viewport, under, 120, Qt::NoModifier);
    EXPECT_EQ(window->Universe().HexSize, 30);
    for (const auto& [angle, size] : {std::pair{120, 90}, std::pair{-120, 30}}) {
        const QPoint before = QPoint(home->PictureX, home->PictureY) - map->ScrollPosition();
        Wheel(viewport, before, angle, Qt::ControlModifier);
        ASSERT_EQ(window->Universe().HexSize, size);
        const QPoint after = QPoint(home->PictureX, home->PictureY) - map->ScrollPosition();
        EXPECT_LE((after - before).manhattanLength(), 2) << size;
    }
}

TEST_F(MainformTest, DragOnEmptyMapPansAndNeverOpensTheEditor) {
    window->resize(900, 700);
    window->show();
    Open(Write(*SmallMap(), "small.map"));
    Action("rZoomIn")->trigger();
    QCoreApplication::processEvents();
    hexlane::ui::MapView* map = window->Map();
    QWidget* viewport = map->viewport();
    const TStar* home = Star("Home");
    map->ScrollTo(home->PictureX - 100, home->PictureY - 100);
    // Left from empty map, middle from a star: both move the picture with the pointer.
    for (const auto& [button, from] : {std::pair{Qt::LeftButton, QPoint(300, 300)}, std::pair{Qt::MiddleButton, QPoint(100, 100)}}) {
        const QPoint scroll = map->ScrollPosition();
        Mouse(viewport, QEvent::MouseButtonPress, from, button, button);
        Mouse(viewport, QEvent::MouseMove, from + QPoint(-20, -10), Qt::NoButton, button);
        Mouse(viewport, QEvent::MouseMove, from + QPoint(-40, -30), Qt::NoButton, button);
        Mouse(viewport, QEvent::MouseButtonRelease, from + QPoint(-40, -30), button, Qt::NoButton);
        EXPECT_EQ(map->ScrollPosition() - scroll, QPoint(40, 30)) << button;
    }
    EXPECT_TRUE(prompter.Log.isEmpty());  // no editor, no message
}

TEST_F(MainformTest, DisplayToggleChecksFollowToggleAllSystemInformation) {
    Open(Write(*SmallMap(), "small.map"));
    const char* toggles[] = {"rShowAllInfo",   "rShowAllegianceColors", "rShowRoutes",      "rShowSystemContents",
                             "rShowStarports", "rShowNames",            "rShowSectorLines", "rShowSubsectorLines",
                             "rShowBorders"};
    auto checks = [&] {
        QString marks;
        for (const char* name : toggles) marks += Action(name)->isChecked() ? '1' : '0';
        return marks;
    };
    const struct {
        const char* trigger;
        const char* expected;
    } steps[] = {
        {nullptr, "000000000"},
        {"rShowAllInfo", "111111110"},  // the borders are not one of all the information
        {"rShowNames", "111110110"},
        {"rShowAllInfo", "000000000"},
        {"rShowRoutes", "001000000"},
        {"rShowBorders", "001000001"},
    };
    for (const auto& step : steps) {
        if (step.trigger) Action(step.trigger)->trigger();
        EXPECT_EQ(checks(), step.expected) << (step.trigger ? step.trigger : "after open");
    }
    EXPECT_TRUE(window->Universe().ShowRoutes);
    EXPECT_FALSE(window->Universe().ShowNames);
}

// The borders layer follows the document: a change of allegiance recomputes
// the regions before the picture is rebuilt, and undo brings them back.
TEST_F(MainformTest, BordersFollowTheAllegiancesOfTheMap) {
    auto map = SmallMap();
    for (const auto& c : map->Allegiances()->Children())
        if (auto* a = dynamic_cast<TAllegiance*>(c.get()); a && a->Name1 == "Alpha") a->ImportCode = "Al";
    Open(Write(*map, "polity.map"));
    auto borderLines = [&] {
        window->RefreshIfDirty();
        const auto* renderer = window->Map()->Renderer();
        int lines = 0;
        if (renderer)
            for (const auto& shape : renderer->Layout().Picture.Shapes)
                lines += shape.Kind == hexlane::render::ShapeKind::Polyline;
        return lines;
    };
    EXPECT_EQ(borderLines(), 0);
    Action("rShowBorders")->trigger();
    const int shown = borderLines();
    EXPECT_GT(shown, 0);
    // Far leaves Alpha, which keeps one system and so claims nothing.
    ASSERT_TRUE(window->Document().Edit("Change allegiance", [&] { Star("Far")->Allegiance = "Independent"; },
                                        hexlane::ui::MapDocument::Picture));
    EXPECT_EQ(borderLines(), 0);
    window->rUndoClick();
    EXPECT_EQ(borderLines(), shown);
}

TEST_F(MainformTest, NewAsksAboutChangesThenStartsAnEmptyUniverse) {
    Open(Write(*SmallMap(), "small.map"));
    window->Universe().ManagerRequiresSaving = true;
    prompter.YesNoCancelAnswers = {Answer::Cancel, Answer::No};
    window->rNewClick();
    EXPECT_EQ(prompter.Last(), "ync: Save the Universe First?");
    EXPECT_TRUE(Star("Home"));
    window->rNewClick();
    EXPECT_FALSE(Star("Home"));
    EXPECT_TRUE(window->FileName().isEmpty());
    EXPECT_EQ(window->windowTitle(), "Hexlane - IISS Map : Untitled[*]");
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(ChildTexts({"Sectors", "Surveyed"}), QStringList());
    EXPECT_FALSE(window->Universe().ManagerRequiresSaving);
    window->RefreshIfDirty();
    EXPECT_FALSE(window->Map()->HasPicture());
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

TEST_F(MainformTest, RecentFilesKeepTheLastTenNewestFirstAndDropMissingOnes) {
    QStringList many;
    for (int i = 0; i < 12; ++i) many = hexlane::ui::WithRecentFile(many, QString("/m/%1.map").arg(i));
    many = hexlane::ui::WithRecentFile(many, "/m/5.map");
    EXPECT_EQ(many, QStringList({"/m/5.map", "/m/11.map", "/m/10.map", "/m/9.map", "/m/8.map", "/m/7.map",
                                 "/m/6.map", "/m/4.map", "/m/3.map", "/m/2.map"}));

    const QString a = Write(*SmallMap(), "a.map"), b = Write(*SmallMap(), "b.map");
    Open(a);
    Open(b);
    prompter.SaveAnswers = {a};
    window->rSaveAsClick();  // saving counts as using
    QStringList listed;
    for (QAction* item : window->RecentMenu()->actions())
        if (!item->data().toString().isEmpty()) listed << item->data().toString();
    EXPECT_EQ(listed, QStringList({a, b}));

    fs::remove(b.toStdString());
    window->OpenRecent(b);
    EXPECT_TRUE(prompter.Last().startsWith("error: The map \"" + b + "\" no longer exists.")) << prompter.Last().toStdString();
    EXPECT_EQ(hexlane::ui::Settings::RecentFiles(), QStringList({a}));
}

TEST_F(MainformTest, SettingsSurviveARestart) {
    const QString map = Write(*SmallMap(), "small.map");
    Open(map);
    Action("rZoomIn")->trigger();
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    window->List()->header()->resizeSection(0, 222);
    window->findChild<QToolBar*>("rNavToolBar")->hide();
    window->resize(917, 655);
    window->close();
    window = std::make_unique<hexlane::ui::TfMainform>(&prompter);

    EXPECT_EQ(window->size(), QSize(917, 655));
    EXPECT_TRUE(window->findChild<QToolBar*>("rNavToolBar")->isHidden());
    EXPECT_EQ(hexlane::ui::Settings::RecentFiles(), QStringList({map}));
    Open(map);
    EXPECT_EQ(window->Universe().HexSize, 90);
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Alpha", "a"}));
    EXPECT_EQ(window->List()->header()->sectionSize(0), 222);
}

TEST_F(MainformTest, FindSystemTellsNamesakesApartAndShowsTheOneChosen) {
    auto universe = SmallMap();
    testutil::AddStar(*universe->FindSector("Alpha"), "Vega", 20, 30);
    Open(Write(*universe, "namesakes.map"));
    for (const auto& [typed, sector, panel] :
         {std::tuple{"vega (alpha", "Alpha", "Vega"}, std::tuple{"Vega (Gamma 0406)", "Gamma", "Vega"},
          std::tuple{"hOmE", "Alpha", "Home"}}) {
        WhenModal("Find System", [&, typed = QString(typed)](QDialog& dialog) {
            auto* find = qobject_cast<hexlane::ui::TfFindSystem*>(&dialog);
            ASSERT_TRUE(find);
            find->Field()->setText(typed);
            emit find->Field()->textEdited(typed);
            if (typed == "vega (alpha") {
                EXPECT_EQ(find->Completions(), QStringList({"Vega (Alpha 2030)"}));
            } else if (typed == "hOmE") {
                EXPECT_EQ(find->Completions(), QStringList({"Home"}));
            }
            find->rFindClick();
        });
        window->rFindSystemClick();
        ASSERT_EQ(window->List()->SelectedRows().size(), 1u) << typed;
        const TStar* found = window->ListModel()->StarAt(window->List()->SelectedRows().front());
        ASSERT_TRUE(found) << typed;
        EXPECT_EQ(found->Name1, panel);
        EXPECT_EQ(found->Sector()->Name1, sector) << typed;
        EXPECT_EQ(window->PanelText(1), panel) << typed;
        EXPECT_EQ(window->PanelText(3), sector) << typed;
    }
}

TEST_F(MainformTest, EveryDialogFitsASmallScreenAndItsDropDownsShowWholeEntries) {
    // 1024 x 768 less a title bar and a panel.
    const QSize screen(1024, 700);
    Open(Write(*SmallMap(), "small.map"));
    for (QDialog* dialog : window->findChildren<QDialog*>()) {
        // The size it opens with (its own when it sets one) and the least it takes.
        const QSize opens = dialog->testAttribute(Qt::WA_Resized) ? dialog->size() : dialog->sizeHint();
        const QSize needs = opens.expandedTo(dialog->minimumSizeHint());
        EXPECT_LE(needs.width(), screen.width()) << dialog->windowTitle().toStdString();
        EXPECT_LE(needs.height(), screen.height()) << dialog->windowTitle().toStdString();
        for (QComboBox* list : dialog->findChildren<QComboBox*>()) {
            int widest = 0;
            for (int i = 0; i < list->count(); ++i)
                widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->itemText(i)));
            EXPECT_GE(list->view()->minimumWidth(), widest) << list->objectName().toStdString();
        }
    }
}

TEST_F(MainformTest, NamesCutShortShowWholeAsATooltip) {
    auto universe = SmallMap();
    universe->FindSector("Alpha")->Name1 = "Alpha of the Very Long Name Beyond Any Pane";
    Open(Write(*universe, "long.map"));
    window->resize(900, 600);
    window->show();
    QCoreApplication::processEvents();
    auto* tips = qobject_cast<hexlane::ui::ClippedTextTips*>(window->Tree()->itemDelegate());
    ASSERT_TRUE(tips);
    for (const auto& [path, clipped] : {std::pair{QStringList{"Sectors", "Surveyed", "Alpha of the Very Long Name Beyond Any Pane"}, true},
                                        std::pair{QStringList{"Sectors", "Surveyed", "Gamma"}, false}}) {
        QTreeWidgetItem* node = Node(path);
        ASSERT_TRUE(node);
        const QModelIndex index = window->Tree()->indexFromItem(node);
        QStyleOptionViewItem option;
        option.initFrom(window->Tree());
        option.rect = window->Tree()->visualRect(index);
        option.widget = window->Tree();
        EXPECT_EQ(tips->Clipped(option, index), clipped) << path.last().toStdString();
    }
    ASSERT_TRUE(window->SelectNode({"Sectors", "Surveyed", "Gamma", "a"}));
    EXPECT_EQ(window->ListModel()->headerData(0, Qt::Horizontal, Qt::ToolTipRole),
              window->ListModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole));
}

TEST_F(MainformTest, EveryDialogHasDistinctAccessKeysAndEnterPressesItsDefaultButton) {
    for (QDialog* dialog : window->findChildren<QDialog*>()) {
        const std::string title = dialog->windowTitle().toStdString();
        QStringList texts;
        for (QLabel* label : dialog->findChildren<QLabel*>())
            if (label->buddy() && label->window() == dialog) texts << label->text();
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            if ((qobject_cast<QPushButton*>(button) || qobject_cast<QCheckBox*>(button)) && button->window() == dialog)
                texts << button->text();
        QMap<QChar, QString> keys;
        QStringList keyless;
        for (const QString& text : texts) {
            if (!text.contains(QRegularExpression("[A-Za-z]"))) continue;  // "<<", "01,02"
            const int at = QString(text).replace("&&", "__").indexOf('&');
            if (at < 0) {
                keyless << text;
                continue;
            }
            const QChar key = text[at + 1].toLower();
            EXPECT_FALSE(keys.contains(key)) << title << ": " << text.toStdString() << " and "
                                             << keys.value(key).toStdString();
            keys.insert(key, text);
        }
        // A caption is left without a key only when every letter of it is taken.
        for (const QString& text : keyless)
            for (const QChar c : text)
                EXPECT_TRUE(!c.isLetter() || keys.contains(c.toLower())) << title << ": " << text.toStdString();
        int defaults = 0;
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            defaults += button->isDefault() && button->window() == dialog ? 1 : 0;
        EXPECT_LE(defaults, 1) << title;
    }
}

TEST_F(MainformTest, ADialogAsksForItsAccessKeysAndQtsOwnDialogsKeepTheirTexts) {
    QDialog later(window.get());
    auto* label = new QLabel("Name", &later);
    label->setBuddy(new QLineEdit(&later));
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &later);
    hexlane::ui::GiveAccessKeys(&later);
    EXPECT_EQ(label->text(), "&Name");
    EXPECT_TRUE(box->button(QDialogButtonBox::Ok)->isDefault());
    // Nothing rewrites a dialog that did not ask.
    QMessageBox message(QMessageBox::Information, "Title", "Text", QMessageBox::Ok | QMessageBox::Cancel,
                        window.get());
    const QString before = message.button(QMessageBox::Cancel)->text();
    message.show();
    EXPECT_EQ(message.button(QMessageBox::Cancel)->text(), before);
    message.hide();
}

TEST_F(MainformTest, TheControlsUsersReachForHaveAccessKeys) {
    const struct {
        const char* dialog;  // object name or window title
        std::vector<const char*> texts;
    } table[] = {
        {"Edit Sector Information", {"Delete"}},
        {"Path Search Information", {"Find Path", "Create Route", "Close"}},
        {"Define Alternate Tech Levels", {"Defaults"}},
        {"Star System Editor", {"Sector", "Subsector", "Column", "Row", "Visited", "User Surveyed"}},
    };
    std::map<QString, QWidget*> windows;
    for (QDialog* d : window->findChildren<QDialog*>()) windows[d->windowTitle()] = d, windows[d->objectName()] = d;
    for (const auto& [name, texts] : table) {
        QWidget* dialog = windows[name];
        ASSERT_TRUE(dialog) << name;
        for (const char* text : texts) {
            bool keyed = false, found = false;
            for (QWidget* w : dialog->findChildren<QWidget*>()) {
                QString caption;
                if (auto* b = qobject_cast<QAbstractButton*>(w)) caption = b->text();
                if (auto* l = qobject_cast<QLabel*>(w)) caption = l->text();
                if (QString(caption).remove('&').remove(':') != text) continue;
                found = true;
                keyed = keyed || caption.contains(QRegularExpression("&[^&]"));
            }
            EXPECT_TRUE(found && keyed) << name << ": " << text << (found ? " has no key" : " not found");
        }
    }
    // The popups and the Toolbars menu too.
    for (const char* menu : {"rMapPopup", "rSectorPopup", "rStarPopup", "rLegPopup", "rToolbarsMenu"})
        for (QAction* a : window->findChild<QMenu*>(menu)->actions())
            EXPECT_TRUE(a->isSeparator() || a->text().contains('&')) << menu << ": " << a->text().toStdString();
}

TEST_F(MainformTest, EveryMenuGivesEachItemItsOwnAccessKey) {
    // The key of a text: the character after its first single '&'.
    auto keyOf = [](const QString& text) {
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != '&') continue;
            if (text[i + 1] != '&') return text[i + 1].toLower();
            ++i;
        }
        return QChar();
    };
    std::vector<QMenu*> menus;
    for (QAction* a : window->menuBar()->actions())
        if (a->menu()) menus.push_back(a->menu());
    for (const char* popup : {"rMapPopup", "rSectorPopup", "rStarPopup", "rLegPopup"})
        menus.push_back(window->findChild<QMenu*>(popup));
    for (std::size_t i = 0; i < menus.size(); ++i) {
        ASSERT_TRUE(menus[i]);
        std::map<QChar, QString> taken;
        for (QAction* a : menus[i]->actions()) {
            if (a->menu()) menus.push_back(a->menu());
            if (a->isSeparator() || !a->isVisible() || a->text().isEmpty()) continue;
            const QChar key = keyOf(a->text());
            if (key.isNull()) continue;
            const auto [at, fresh] = taken.emplace(key, a->text());
            EXPECT_TRUE(fresh) << menus[i]->title().toStdString() << ": " << a->text().toStdString() << " and "
                               << at->second.toStdString();
        }
    }
}

TEST_F(MainformTest, EveryDialogTabsThroughItsControlsInReadingOrder) {
    // Reading order: a control comes before another when it lies on an
    // earlier row, or on the same row further left. Two places share a row
    // when the centre of one lies within the height of the other, so a list
    // or memo spanning several rows shares a row with all it spans. Each
    // layout and group box is read as a block: two controls are placed by
    // the outermost parts of the layout tree that hold one but not the other,
    // so a column of fields beside a column of buttons may be read column by
    // column, but within one grid or form the order is by rows. Tab, from the
    // first control after the dialog, must pass every control once and never
    // step back against this order.
    Open(Write(*SmallMap(), "small.map"));
    for (QDialog* dialog : window->findChildren<QDialog*>()) {
        const std::string title = dialog->windowTitle().toStdString();
        dialog->show();
        QCoreApplication::processEvents();
        // For every widget in the dialog's layouts, the layout items that hold
        // it from the outermost inward, each with its place in the dialog.
        using Place = std::pair<const void*, QRect>;
        std::map<QWidget*, std::vector<Place>> holders;
        std::function<void(QLayout*, std::vector<Place>)> walk = [&](QLayout* layout, std::vector<Place> outer) {
            for (int i = 0; i < layout->count(); ++i) {
                QLayoutItem* item = layout->itemAt(i);
                auto inner = outer;
                inner.emplace_back(item, QRect(layout->parentWidget()->mapTo(dialog, item->geometry().topLeft()),
                                               item->geometry().size()));
                if (QWidget* w = item->widget()) {
                    holders[w] = inner;
                    if (w->layout()) walk(w->layout(), inner);
                } else if (item->layout()) {
                    walk(item->layout(), inner);
                }
            }
        };
        if (dialog->layout()) walk(dialog->layout(), {});
        auto placesOf = [&](QWidget* w) {
            for (QWidget* p = w; p && p != dialog; p = p->parentWidget())
                if (holders.count(p)) return holders[p];
            return std::vector<Place>{{w, QRect(w->mapTo(dialog, QPoint()), w->size())}};
        };
        auto before = [&](QWidget* a, QWidget* b) {
            const auto pa = placesOf(a), pb = placesOf(b);
            std::size_t k = 0;
            while (k + 1 < std::min(pa.size(), pb.size()) && pa[k].first == pb[k].first) ++k;
            const QRect ra = pa[k].second, rb = pb[k].second;
            const int dy = rb.center().y() - ra.center().y();
            if (2 * std::abs(dy) <= std::max(ra.height(), rb.height())) return ra.center().x() < rb.center().x();
            return dy > 0;
        };
        auto tabbable = [&](QWidget* w) {
            return w->window() == dialog && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && w->isVisible() &&
                   w->isEnabled();
        };
        std::vector<QWidget*> chain;
        for (QWidget* w = dialog->nextInFocusChain(); w != dialog; w = w->nextInFocusChain())
            if (tabbable(w)) chain.push_back(w);
        int controls = 0;
        for (QWidget* w : dialog->findChildren<QWidget*>()) controls += tabbable(w) ? 1 : 0;
        EXPECT_EQ(std::set<QWidget*>(chain.begin(), chain.end()).size(), chain.size()) << title;
        EXPECT_EQ(int(chain.size()), controls) << title;
        std::string backwards;
        for (std::size_t i = 0; i < chain.size() && backwards.empty(); ++i)
            for (std::size_t j = i + 1; j < chain.size() && backwards.empty(); ++j)
                if (before(chain[j], chain[i])) backwards = Named(chain[i]) + " before " + Named(chain[j]);
        EXPECT_EQ(backwards, "") << title;
        dialog->hide();
    }
}
