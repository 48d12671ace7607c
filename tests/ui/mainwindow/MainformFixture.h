#pragma once
// A main window with a scripted Prompter, a temporary folder, and a small map
// of three sectors, three allegiances and two routes to open in it.

#include "DefineUniverse.h"
#include "DialogTesting.h"
#include "Mainform.h"
#include "NavigatorTree.h"
#include "ScriptedPrompter.h"
#include "SystemList.h"
#include "TestUtil.h"

#include <QAction>
#include <QDialog>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include <unistd.h>

namespace fs = std::filesystem;

class MainformTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / ("hexlane-ui-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        window = std::make_unique<hexlane::ui::TfMainform>(&prompter);
    }
    void TearDown() override {
        window.reset();
        fs::remove_all(dir);
    }

    QString Path(const std::string& name) const { return QString::fromStdString((dir / name).string()); }

    QString Write(TUniverse& universe, const std::string& name) {
        const QString path = Path(name);
        std::string message;
        EXPECT_TRUE(universe.SaveToFile(path.toStdString(), message)) << message;
        return path;
    }
    void WriteBytes(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Sectors Alpha (1,1) with Home and Far in subsector a and Rim in b,
    // Gamma (2,1) with Vega, Beta (1,2) empty; allegiances beta, Alpha,
    // Independent; routes Main (Home-Far, Far-Rim) and side (no legs).
    static std::unique_ptr<TUniverse> SmallMap() {
        auto u = TUniverse::CreateNew();
        TSector* alpha = testutil::AddSector(*u, "Alpha", 1, 1);
        TSector* gamma = testutil::AddSector(*u, "Gamma", 2, 1);
        testutil::AddSector(*u, "Beta", 1, 2);
        testutil::AddStar(*alpha, "Home", 3, 4)->Allegiance = "Alpha";
        testutil::AddStar(*alpha, "Far", 6, 8)->Allegiance = "Alpha";
        testutil::AddStar(*alpha, "Rim", 2, 15);
        testutil::AddStar(*gamma, "Vega", 4, 6);
        for (const char* name : {"beta", "Alpha", "Independent"})
            u->Allegiances()->Create<TAllegiance>()->Name1 = name;
        TRoute* main = u->Routes()->Create<TRoute>();
        main->Name1 = "Main";
        main->ShowRoute = true;
        const char* ends[2][2] = {{"Home", "Far"}, {"Far", "Rim"}};
        for (int i = 0; i < 2; ++i) {
            TRouteLeg* leg = main->Create<TRouteLeg>();
            leg->Name1 = "Main " + std::to_string(i + 1);
            leg->SStarName = ends[i][0];
            leg->EStarName = ends[i][1];
        }
        u->Routes()->Create<TRoute>()->Name1 = "side";
        return u;
    }

    // Opens a map through the window and lets the picture be drawn.
    void Open(const QString& path) {
        ASSERT_TRUE(window->OpenMapFile(path)) << prompter.Last().toStdString();
        window->RefreshIfDirty();
    }

    QAction* Action(const char* name) const {
        auto* action = window->findChild<QAction*>(name);
        EXPECT_TRUE(action) << name;
        return action;
    }
    void Trigger(QMenu* menu, const QString& text) {
        ASSERT_TRUE(menu) << "no popup for " << text.toStdString();
        // Items are known by their texts without the access key's mark.
        for (QAction* a : menu->actions())
            if (QString(a->text()).remove('&') == text) {
                a->trigger();
                return;
            }
        FAIL() << "no item " << text.toStdString() << " in " << menu->objectName().toStdString();
    }
    QStringList MenuTexts(const char* name) const {
        QStringList texts;
        for (QAction* a : window->findChild<QMenu*>(name)->actions()) texts << a->text();
        return texts;
    }

    QTreeWidgetItem* Node(const QStringList& path) const {
        QTreeWidget* tree = window->Tree();
        QTreeWidgetItem* found = nullptr;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            if (tree->topLevelItem(i)->text(0) == path[0]) found = tree->topLevelItem(i);
        for (int depth = 1; found && depth < path.size(); ++depth) {
            QTreeWidgetItem* next = nullptr;
            for (int i = 0; i < found->childCount(); ++i)
                if (found->child(i)->text(0) == path[depth]) next = found->child(i);
            found = next;
        }
        EXPECT_TRUE(found) << path.join("/").toStdString();
        return found;
    }
    QStringList TopTexts() const {
        QStringList texts;
        QTreeWidget* tree = window->Tree();
        for (int i = 0; i < tree->topLevelItemCount(); ++i) texts << tree->topLevelItem(i)->text(0);
        return texts;
    }
    QStringList ChildTexts(const QStringList& path) const {
        QStringList texts;
        if (QTreeWidgetItem* node = Node(path))
            for (int i = 0; i < node->childCount(); ++i) texts << node->child(i)->text(0);
        return texts;
    }
    void SelectRows(const std::vector<int>& rows) {
        hexlane::ui::SystemListView* view = window->List();
        view->clearSelection();
        for (int row : rows)
            view->selectionModel()->select(view->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    // Acts on the modal dialog that the next command opens (once it is up);
    // `title` is the dialog's expected title.
    void WhenModal(const QString& title, std::function<void(QDialog&)> act) {
        uitest::WhenModal(title, std::move(act));
    }
    template <typename T>
    static T* Control(QDialog& dialog, const char* name) {
        T* control = dialog.findChild<T*>(name);
        EXPECT_TRUE(control) << name;
        return control;
    }

    TStar* Star(const std::string& name) const { return window->Universe().FindStar(name); }
    TSector* Sector(const std::string& name) const { return window->Universe().FindSector(name); }
    TRoute* Route(const std::string& name) const { return window->Universe().FindRoute(name); }

    ScriptedPrompter prompter;
    std::unique_ptr<hexlane::ui::TfMainform> window;
    fs::path dir;
};
