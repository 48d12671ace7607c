// The system list: star cell texts under the chosen columns, leg rows, column
// setup, sorting by header clicks, selection and drag data.

#include "SystemList.h"

#include "DefineUniverse.h"
#include "TestUtil.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

using hexlane::ui::ColumnKind;
using hexlane::ui::DefaultSysListColumns;
using hexlane::ui::StarCellText;
using hexlane::ui::SystemListModel;
using hexlane::ui::SystemListView;
using hexlane::ui::TSysListCol;

namespace {

std::vector<TSysListCol> OnlyVisible(std::initializer_list<const char*> captions) {
    std::vector<TSysListCol> table = DefaultSysListColumns();
    for (TSysListCol& col : table) {
        col.Visible = false;
        for (const char* c : captions)
            if (col.Caption == QLatin1String(c)) col.Visible = true;
    }
    return table;
}

QString TextUnder(const TStar& star, const char* caption) {
    for (const TSysListCol& col : DefaultSysListColumns())
        if (col.Caption == QLatin1String(caption)) return StarCellText(star, col.Number);
    ADD_FAILURE() << "no column " << caption;
    return {};
}

struct Fixture {
    std::unique_ptr<TUniverse> u = TUniverse::CreateNew();
    TSector* sector = testutil::AddSector(*u, "Spinward", 0, 0);
};

QStringList Column(const SystemListModel& m, int column) {
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r) out << m.CellText(r, column);
    return out;
}

}  // namespace

TEST(SysListColumns, CellTextsOfAStar) {
    Fixture f;
    TStar* s = testutil::AddStar(*f.sector, "Caf\xE9", 3, 7);  // Windows-1252 e acute
    s->SystemContent = 0x20000;
    s->TravelZoneCode = tzcAmber;
    s->Visited = true;
    s->SubSectorName = "Core";

    EXPECT_EQ(TextUnder(*s, "System Name"), QString::fromUtf8("Café"));
    EXPECT_EQ(TextUnder(*s, "Coords"), "3,7");
    EXPECT_EQ(TextUnder(*s, "Vargr Naval Base"), "Yes");
    EXPECT_EQ(TextUnder(*s, "Corsair Base"), "No");
    EXPECT_EQ(TextUnder(*s, "Travel Code"), "Amber");
    EXPECT_EQ(TextUnder(*s, "Visited"), "Yes");
    EXPECT_EQ(TextUnder(*s, "Capital"), "No");
    EXPECT_EQ(TextUnder(*s, "Sector"), "Spinward");
    EXPECT_EQ(TextUnder(*s, "Subsector"), "Core");

    s->TravelZoneCode = tzcUnknown;
    EXPECT_EQ(TextUnder(*s, "Travel Code"), "Unknown");

    // The tech level follows the universe's alternate table while it is in use.
    s->SetTechLevel("C");
    f.u->TLAltValue[12] = 5;
    EXPECT_EQ(TextUnder(*s, "TL"), "C");
    f.u->UseAltTL = true;
    EXPECT_EQ(TextUnder(*s, "TL"), "5");

    // A star outside any sector has no sector name.
    TStar loose;
    EXPECT_EQ(TextUnder(loose, "Sector"), "");
}

TEST(SystemListModel, RowsShowTheVisibleColumnsInTableOrder) {
    Fixture f;
    TStar* a = testutil::AddStar(*f.sector, "Alpha", 1, 1, "867A98");
    a->Allegiance = "Imperium";
    SystemListModel m;
    // Captions listed out of table order: the table decides.
    m.SetStarColumns(OnlyVisible({"Allegiance", "UPC"}));
    m.AddStars({a});
    ASSERT_EQ(m.columnCount(), 2);
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), "UPC");
    EXPECT_EQ(m.headerData(1, Qt::Horizontal).toString(), "Allegiance");
    EXPECT_EQ(m.ColumnWidth(0), 75);
    EXPECT_EQ(m.ColumnWidth(1), 100);
    EXPECT_EQ(m.data(m.index(0, 0)).toString(), "867A98");
    EXPECT_EQ(m.data(m.index(0, 1)).toString(), "Imperium");
    EXPECT_EQ(m.StarAt(0), a);
    EXPECT_EQ(m.LegAt(0), nullptr);
    EXPECT_FALSE(m.flags(m.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(m.flags(m.index(0, 0)) & Qt::ItemIsDragEnabled);
}

TEST(SystemListModel, HidingEveryColumnGivesNoColumnsAndNoRows) {
    Fixture f;
    TStar* a = testutil::AddStar(*f.sector, "Alpha", 1, 1);
    SystemListModel m;
    m.SetStarColumns(OnlyVisible({}));
    m.AddStars({a});
    EXPECT_EQ(m.columnCount(), 0);
    EXPECT_EQ(m.rowCount(), 0);
    EXPECT_EQ(m.StarAt(0), nullptr);
}

TEST(SystemListModel, ColumnsAreRebuiltOnlyWhenTheKindChangesOrOnForce) {
    Fixture f;
    TStar* a = testutil::AddStar(*f.sector, "Alpha", 1, 1);
    SystemListModel m;
    EXPECT_EQ(m.Kind(), ColumnKind::None);
    m.SetStarColumns(DefaultSysListColumns());
    EXPECT_EQ(m.Kind(), ColumnKind::Stars);
    EXPECT_EQ(m.columnCount(), 5);

    // A second star listing keeps the columns, even with another table.
    m.SetStarColumns(OnlyVisible({"UPC"}));
    EXPECT_EQ(m.columnCount(), 5);
    m.AddStars({a});
    m.Clear();
    EXPECT_EQ(m.rowCount(), 0);
    EXPECT_EQ(m.columnCount(), 5);

    m.SetLegColumns();
    EXPECT_EQ(m.Kind(), ColumnKind::Legs);
    QStringList legHeaders;
    for (int c = 0; c < m.columnCount(); ++c)
        legHeaders << m.headerData(c, Qt::Horizontal).toString() + ":" + QString::number(m.ColumnWidth(c));
    EXPECT_EQ(legHeaders, QStringList({"Leg Name:150", "Start Star:150", "End Star:150", "Distance:55"}));

    // Back to stars: rebuilt from the table given now.
    m.SetStarColumns(OnlyVisible({"UPC"}));
    EXPECT_EQ(m.columnCount(), 1);
    m.SetStarColumns(OnlyVisible({"UPC", "SP"}), true);
    EXPECT_EQ(m.columnCount(), 2);

    // After the chooser: no columns, and the next star setup rebuilds.
    m.AddStars({a});
    m.RemoveColumns();
    EXPECT_EQ(m.Kind(), ColumnKind::None);
    EXPECT_EQ(m.columnCount(), 0);
    EXPECT_EQ(m.rowCount(), 0);
    m.SetStarColumns(DefaultSysListColumns());
    EXPECT_EQ(m.columnCount(), 5);
}

TEST(SystemListModel, LegRowsShowNamesAndDistance) {
    Fixture f;
    testutil::AddStar(*f.sector, "Home", 1, 1);
    testutil::AddStar(*f.sector, "Away", 4, 1);
    f.u->ComputeExtent();
    TRoute* route = f.u->Routes()->Create<TRoute>();
    auto leg = [&](const char* name, const char* s, const char* e) {
        TRouteLeg* l = route->Create<TRouteLeg>();
        l->Name1 = name;
        l->SStarName = s;
        l->EStarName = e;
        return l;
    };
    TRouteLeg* good = leg("Main", "Home", "Away");
    leg("Broken", "Home", "Gone");
    leg("Open", "", "Away");

    SystemListModel m;
    m.SetLegColumns();
    m.AddLegs(route->Legs(), *f.u);
    ASSERT_EQ(m.rowCount(), 3);
    EXPECT_EQ(m.CellText(0, 0), "Main");
    EXPECT_EQ(m.CellText(0, 1), "Home");
    EXPECT_EQ(m.CellText(0, 2), "Away");
    EXPECT_EQ(m.CellText(0, 3), "3");
    EXPECT_EQ(m.CellText(1, 3), "-1");
    EXPECT_EQ(m.CellText(2, 3), "");
    EXPECT_EQ(m.LegAt(0), good);
    EXPECT_EQ(m.StarAt(0), nullptr);

    // A new leg appended on its own: its name and empty cells.
    TRouteLeg* fresh = leg("New", "", "");
    m.AddLeg(fresh, *f.u);
    ASSERT_EQ(m.rowCount(), 4);
    EXPECT_EQ(m.LegAt(3), fresh);
    EXPECT_EQ(QStringList({m.CellText(3, 0), m.CellText(3, 1), m.CellText(3, 3)}), QStringList({"New", "", ""}));
}

TEST(SystemListModel, HeaderClicksSortAscendingThenReverse) {
    Fixture f;
    struct S { const char* name; const char* sp; const char* upc; };
    const S data[] = {{"One", "C", "200000"}, {"Two", "A", "900000"}, {"Three", "B", "100000"}};
    std::vector<TStar*> stars;
    for (int i = 0; i < 3; ++i) {
        TStar* s = testutil::AddStar(*f.sector, data[i].name, i + 1, 1, data[i].upc);
        s->Starport = data[i].sp;
        stars.push_back(s);
    }
    SystemListModel m;
    m.SetStarColumns(DefaultSysListColumns());  // System Name, SP, UPC, TL, Allegiance
    m.AddStars(stars);
    EXPECT_EQ(m.SortColumn(), -1);

    m.SortByHeader(1);
    EXPECT_EQ(Column(m, 1), QStringList({"A", "B", "C"}));
    EXPECT_EQ(m.StarAt(0), stars[1]);  // rows keep their stars
    EXPECT_EQ(m.SortDirection(), 1);
    m.SortByHeader(1);
    EXPECT_EQ(Column(m, 1), QStringList({"C", "B", "A"}));
    EXPECT_EQ(m.SortDirection(), -1);
    m.SortByHeader(2);
    EXPECT_EQ(Column(m, 2), QStringList({"100000", "200000", "900000"}));
    EXPECT_EQ(m.SortColumn(), 2);
    EXPECT_EQ(m.SortDirection(), 1);

    m.ResetSort();
    EXPECT_EQ(m.SortColumn(), -1);
    EXPECT_EQ(m.SortDirection(), 1);
    // After a reset the same header sorts ascending again.
    m.SortByHeader(2);
    EXPECT_EQ(m.SortDirection(), 1);
}

TEST(SystemListModel, SortComparesTextWithoutCaseAndKeepsTies) {
    Fixture f;
    std::vector<TStar*> stars;
    const char* names[] = {"beta", "9", "Alpha", "10", "alpha", "Gamma"};
    for (int i = 0; i < 6; ++i) stars.push_back(testutil::AddStar(*f.sector, names[i], i + 1, 1));
    SystemListModel m;
    m.SetStarColumns(OnlyVisible({"System Name"}));
    m.AddStars(stars);
    m.SortByHeader(0);
    EXPECT_EQ(Column(m, 0), QStringList({"10", "9", "Alpha", "alpha", "beta", "Gamma"}));
    m.SortByHeader(0);
    EXPECT_EQ(Column(m, 0), QStringList({"Gamma", "beta", "Alpha", "alpha", "9", "10"}));
}

TEST(SystemListView, HeaderClickSortsAndKeepsTheSelectedStars) {
    Fixture f;
    TStar* c = testutil::AddStar(*f.sector, "Charlie", 1, 1);
    TStar* a = testutil::AddStar(*f.sector, "Able", 2, 1);
    TStar* b = testutil::AddStar(*f.sector, "Baker", 3, 1);
    SystemListView view;
    EXPECT_EQ(view.objectName(), "rSystemList");
    SystemListModel* m = view.Model();
    m->SetStarColumns(DefaultSysListColumns());
    EXPECT_EQ(view.header()->sectionSize(0), 150);
    EXPECT_EQ(view.header()->sectionSize(2), 75);
    m->AddStars({c, a, b});

    view.selectionModel()->select(m->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view.selectionModel()->select(m->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(view.SelectedRows(), std::vector<int>({0, 2}));

    emit view.header()->sectionClicked(0);
    EXPECT_EQ(m->SortColumn(), 0);
    EXPECT_TRUE(view.header()->isSortIndicatorShown());
    EXPECT_EQ(view.header()->sortIndicatorSection(), 0);
    EXPECT_EQ(view.header()->sortIndicatorOrder(), Qt::AscendingOrder);
    // Able, Baker, Charlie: the selected Charlie and Baker are now rows 2 and 1.
    std::vector<int> rows = view.SelectedRows();
    ASSERT_EQ(rows, std::vector<int>({1, 2}));
    EXPECT_EQ(m->StarAt(rows[0]), b);
    EXPECT_EQ(m->StarAt(rows[1]), c);

    emit view.header()->sectionClicked(0);
    EXPECT_EQ(view.header()->sortIndicatorOrder(), Qt::DescendingOrder);
    m->ResetSort();
    EXPECT_FALSE(view.header()->isSortIndicatorShown());
}

TEST(SystemListView, DragDataCarriesTheRowsAndDeleteKeyIsReported) {
    Fixture f;
    std::vector<TStar*> stars;
    for (int i = 0; i < 4; ++i) stars.push_back(testutil::AddStar(*f.sector, "S" + std::to_string(i), i + 1, 1));
    SystemListView view;
    SystemListModel* m = view.Model();
    m->SetStarColumns(DefaultSysListColumns());
    m->AddStars(stars);

    std::unique_ptr<QMimeData> data(m->mimeData({m->index(3, 0), m->index(1, 0), m->index(1, 2)}));
    EXPECT_EQ(m->mimeTypes(), QStringList({SystemListModel::kRowsMimeType}));
    EXPECT_EQ(SystemListModel::RowsFromMimeData(data.get()), std::vector<int>({1, 3}));
    QMimeData other;
    other.setText("1,2");
    EXPECT_TRUE(SystemListModel::RowsFromMimeData(&other).empty());

    int deletes = 0;
    QObject::connect(&view, &SystemListView::deleteKeyPressed, [&] { ++deletes; });
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &del);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &letter);
    EXPECT_EQ(deletes, 1);
}
