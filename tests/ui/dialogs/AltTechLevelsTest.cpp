// The alternate tech level dialog: what it shows, the standard table behind
// "Defaults", the checks on OK in their order, and that Cancel and failed
// checks leave the universe's table as it was.

#include "DefineAltTechLevels.h"

#include "ScriptedPrompter.h"
#include "TestUtil.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <memory>

using hexlane::ui::TfDefineAltTechLevels;

namespace {

const char* const kCodes = "0123456789ABCDEFG";

struct AltTechLevels : ::testing::Test {
    ScriptedPrompter prompter;
    std::unique_ptr<TUniverse> universe = TUniverse::CreateNew();
    TfDefineAltTechLevels dialog{prompter};

    void Open() {
        dialog.Load(*universe);
        dialog.show();
    }
    QLineEdit* Desc(int level) { return Find<QLineEdit>(QStringLiteral("rTL%1AltDesc").arg(QLatin1Char(kCodes[level]))); }
    QSpinBox* Value(int level) { return Find<QSpinBox>(QStringLiteral("rTL%1AltValue").arg(QLatin1Char(kCodes[level]))); }
    QPushButton* Button(const char* name) { return Find<QPushButton>(QString::fromLatin1(name)); }
    bool Focused(QWidget* w) { return dialog.focusWidget() == w; }
    bool HasLabel(const QString& text) {
        for (QLabel* l : dialog.findChildren<QLabel*>())
            if (l->text() == text) return true;
        return false;
    }
    template <class W>
    W* Find(const QString& name) {
        W* w = dialog.findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
};

}  // namespace

TEST_F(AltTechLevels, OpensOnTheUniverseTable) {
    universe->TLAltDesc[3] = "Steam";
    universe->TLAltValue[3] = 2;
    universe->TLAltValue[16] = 16;
    Open();
    EXPECT_EQ(dialog.windowTitle(), "Define Alternate Tech Levels");
    EXPECT_EQ(Desc(0)->text(), "");
    EXPECT_EQ(Desc(3)->text(), "Steam");
    EXPECT_EQ(Value(0)->value(), 0);
    EXPECT_EQ(Value(3)->value(), 2);
    EXPECT_EQ(Value(16)->value(), 16);
    // The value steps by the arrows only, 0 to 16, without wrapping round.
    EXPECT_EQ(Value(16)->maximum(), 16);
    EXPECT_FALSE(Value(16)->wrapping());
    Value(16)->stepUp();
    EXPECT_EQ(Value(16)->value(), 16);
    for (const char* text : {"Alternate TL", "Alternate Tech Level Description", "9", "10 (A)", "15 (F)", "16+ (G+)",
                             "Stone Age.  Primitive", "Occasional non-Imperial",
                             "Note : Tech Level descriptions are saved with the Map File."})
        EXPECT_TRUE(HasLabel(QString::fromLatin1(text))) << text;
}

TEST_F(AltTechLevels, StoredValuesOutsideTheRangeAreNamedBeforeTheyAreShownClamped) {
    universe->TLAltValue[3] = -2;
    universe->TLAltValue[10] = 25;
    universe->TLAltValue[16] = 16;
    Open();
    EXPECT_EQ(prompter.Log, QStringList({"info: These alternate tech levels of the map are outside 0 to 16:\n"
                                         "3: -2, shown as 0\nA: 25, shown as 16\n"
                                         "OK stores the values shown; Cancel leaves the map as it is."}));
    EXPECT_EQ(Value(10)->value(), 16);
    EXPECT_EQ(universe->TLAltValue[10], 25);
}

TEST_F(AltTechLevels, NewTableNeedsDescriptionsAndDefaultsFillThemIn) {
    Open();
    Button("rOK")->click();
    EXPECT_EQ(prompter.Log, QStringList({"info: All Fields must be filled in."}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(Focused(Desc(0)));
    EXPECT_FALSE(universe->ManagerRequiresSaving);

    Button("rDefaults")->click();
    EXPECT_EQ(universe->TLAltDesc[0], "");  // nothing written before OK
    EXPECT_EQ(Desc(0)->text(), "0 - Stone Age. Primitive");
    EXPECT_EQ(Desc(1)->text(), "1 - Bronze Age to Middle Ages.");
    EXPECT_EQ(Desc(10)->text(), "A - Interstellar community");
    EXPECT_EQ(Desc(15)->text(), "F - Technical maximum Imperial");
    EXPECT_EQ(Desc(16)->text(), "G - Occasional non-Imperial");
    Button("rOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompter.Log.size(), 1);
    EXPECT_EQ(universe->TLAltDesc[9], "9 - circa 2030 - 2059");
    EXPECT_EQ(universe->TLAltDesc[12], "C - Average Imperial");
    for (int level = 0; level < 17; ++level) EXPECT_EQ(universe->TLAltValue[static_cast<std::size_t>(level)], level);
    EXPECT_TRUE(universe->ManagerRequiresSaving);
}

TEST_F(AltTechLevels, ValuesMayRepeatButNeverFall) {
    Open();
    dialog.rDefaultsClick();
    Desc(5)->clear();
    Value(1)->setValue(3);
    Value(2)->setValue(2);
    // Descriptions are checked first.
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_TRUE(Focused(Desc(5)));
    Desc(5)->setText("Diesel");
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_TRUE(Focused(Value(1)));
    EXPECT_EQ(prompter.Log, QStringList({"info: All Fields must be filled in.", "info: Tech Levels must be in order"}));
    EXPECT_EQ(universe->TLAltValue[1], 0);
    EXPECT_EQ(universe->TLAltDesc[5], "");
    EXPECT_FALSE(universe->ManagerRequiresSaving);

    // 0, 0, 1, 1, 2, 2 ... is in order.
    for (int level = 0; level < 17; ++level) Value(level)->setValue(level / 2);
    EXPECT_TRUE(dialog.rOKClick());
    EXPECT_EQ(universe->TLAltValue[1], 0);
    EXPECT_EQ(universe->TLAltValue[16], 8);
    EXPECT_EQ(universe->TLAltDesc[5], "Diesel");
}

TEST_F(AltTechLevels, CancelAndUnstorableTextsLeaveTheTableAsItWas) {
    universe->TLAltDesc.fill("old");
    Open();
    dialog.rDefaultsClick();
    Button("rCancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(universe->TLAltDesc[0], "old");
    EXPECT_EQ(universe->TLAltValue[16], 0);
    EXPECT_FALSE(universe->ManagerRequiresSaving);

    Open();
    Desc(7)->setText(QStringLiteral("\u4e2d"));
    EXPECT_FALSE(dialog.rOKClick());
    EXPECT_TRUE(Focused(Desc(7)));
    EXPECT_TRUE(prompter.Last().startsWith("error: "));
    EXPECT_EQ(universe->TLAltDesc[7], "old");

    // Texts come and go through the map's code page.
    Desc(7)->setText(QStringLiteral("Caf\u00e9"));
    EXPECT_TRUE(dialog.rOKClick());
    EXPECT_EQ(universe->TLAltDesc[7], "Caf\xe9");
}
