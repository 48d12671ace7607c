// The column chooser: the two lists, the move rules, the buttons' states and
// applying the choice to the column table.

#include "ConfigSysListCols.h"

#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

using hexlane::ui::DefaultSysListColumns;
using hexlane::ui::TfConfigSysListCols;
using hexlane::ui::TSysListCol;

namespace {

struct Chooser {
    TfConfigSysListCols dialog;
    QListWidget* available = dialog.findChild<QListWidget*>("rAvailable");
    QListWidget* visible = dialog.findChild<QListWidget*>("rVisible");
    QPushButton* button(const char* name) { return dialog.findChild<QPushButton*>(name); }

    explicit Chooser(const std::vector<TSysListCol>& table) { dialog.Load(table); }

    static QStringList Texts(QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
    static QStringList Selected(QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->isSelected()) out << list->item(i)->text();
        return out;
    }
    static void Select(QListWidget* list, std::initializer_list<const char*> captions) {
        list->clearSelection();
        for (const char* c : captions) {
            const auto found = list->findItems(QString::fromLatin1(c), Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << c;
            found[0]->setSelected(true);
        }
    }
    QString Buttons() {
        QString s;
        for (const char* n : {"rAdd", "rAddAll", "rRemove", "rRemoveAll"}) s += button(n)->isEnabled() ? '1' : '0';
        return s;
    }
};

std::vector<TSysListCol> Shown(std::initializer_list<const char*> captions) {
    auto table = DefaultSysListColumns();
    for (auto& col : table) {
        col.Visible = false;
        for (const char* c : captions)
            if (col.Caption == QLatin1String(c)) col.Visible = true;
    }
    return table;
}

}  // namespace

TEST(ConfigSysListCols, LoadsHiddenColumnsAlphabeticallyAndShownInTableOrder) {
    Chooser c(DefaultSysListColumns());
    EXPECT_EQ(c.dialog.windowTitle(), "System List Column Configuration");
    EXPECT_EQ(Chooser::Texts(c.visible), QStringList({"System Name", "SP", "UPC", "TL", "Allegiance"}));
    const QStringList available = Chooser::Texts(c.available);
    ASSERT_EQ(available.size(), 25);
    // Without regard to case: "Scout Base" before "Sector" before "SpP".
    EXPECT_EQ(available.first(), "Capital");
    EXPECT_EQ(available.mid(available.indexOf("Scout Base"), 5),
              QStringList({"Scout Base", "Scout Way Station", "Sector", "SpP", "Subsector"}));
    EXPECT_EQ(available.last(), "Zhodani Naval Base");
    EXPECT_EQ(c.Buttons(), "1111");
    EXPECT_EQ(c.available->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST(ConfigSysListCols, ButtonsFollowTheListsContentsFromTheStart) {
    Chooser none(Shown({}));
    EXPECT_EQ(none.Buttons(), "1100");
    auto all = DefaultSysListColumns();
    for (auto& col : all) col.Visible = true;
    Chooser full(all);
    EXPECT_EQ(full.Buttons(), "0011");

    none.button("rAddAll")->click();
    EXPECT_EQ(none.Buttons(), "0011");
    EXPECT_EQ(none.available->count(), 0);
    EXPECT_EQ(none.visible->count(), 30);
    none.button("rRemoveAll")->click();
    EXPECT_EQ(none.Buttons(), "1100");
    EXPECT_EQ(Chooser::Texts(none.available).first(), "Allegiance");
}

TEST(ConfigSysListCols, MovingSelectedGoesFromLastToFirstAndSelectsTheNextEntry) {
    Chooser c(Shown({"System Name"}));
    // Available begins: Allegiance, Capital, Clan Naval Base, Coords, Corsair Base, ...
    Chooser::Select(c.available, {"Capital", "Coords"});
    c.button("rAdd")->click();
    // Coords is moved first, then Capital.
    EXPECT_EQ(Chooser::Texts(c.visible), QStringList({"System Name", "Coords", "Capital"}));
    // The entry now at the first selected position (Clan Naval Base) is selected.
    EXPECT_EQ(Chooser::Selected(c.available), QStringList({"Clan Naval Base"}));
    EXPECT_EQ(Chooser::Texts(c.available).mid(0, 3), QStringList({"Allegiance", "Clan Naval Base", "Corsair Base"}));

    // Moving back keeps the alphabetical list sorted; past the end the last entry is selected.
    Chooser::Select(c.visible, {"Capital"});
    c.button("rRemove")->click();
    EXPECT_EQ(Chooser::Texts(c.available).mid(0, 3), QStringList({"Allegiance", "Capital", "Clan Naval Base"}));
    EXPECT_EQ(Chooser::Selected(c.visible), QStringList({"Coords"}));

    // Double click moves the selected entries of the clicked list.
    Chooser::Select(c.visible, {"System Name", "Coords"});
    emit c.visible->itemDoubleClicked(c.visible->item(0));
    EXPECT_EQ(c.visible->count(), 0);
    EXPECT_EQ(c.Buttons(), "1100");
    Chooser::Select(c.available, {"Zhodani Naval Base"});
    emit c.available->itemDoubleClicked(c.available->item(0));
    EXPECT_EQ(Chooser::Texts(c.visible), QStringList({"Zhodani Naval Base"}));
    // Zhodani was the last entry: its position is past the end now, so the new last one is selected.
    EXPECT_EQ(Chooser::Selected(c.available), QStringList({"Visited"}));
    EXPECT_EQ(c.Buttons(), "1111");
}

TEST(ConfigSysListCols, ApplyKeepsTableOrder) {
    auto table = DefaultSysListColumns();
    Chooser c(table);
    Chooser::Select(c.available, {"Visited"});
    c.button("rAdd")->click();
    Chooser::Select(c.available, {"Capital"});
    c.button("rAdd")->click();
    Chooser::Select(c.visible, {"SP"});
    c.button("rRemove")->click();
    c.button("rOK")->click();
    EXPECT_EQ(c.dialog.result(), QDialog::Accepted);

    c.dialog.Apply(table);
    QStringList shown;
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].Number, static_cast<int>(i));
        if (table[i].Visible) shown << table[i].Caption;
    }
    EXPECT_EQ(shown, QStringList({"System Name", "Visited", "UPC", "TL", "Capital", "Allegiance"}));
}
