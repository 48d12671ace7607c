// The psionic institute generator: the rating codes, the rolls driven by
// scripted dice, the shape of many real rolls, and the dialog's opening, OK
// and Cancel.

#include "GenPsiInstitute.h"

#include "ScriptedPrompter.h"
#include "UiText.h"
#include "TestUtil.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <deque>
#include <set>

using namespace hexlane::ui;

namespace {

// Dice that return the scripted values in order, each checked to be a D6;
// past the script they cycle 1-6 so that any further draw ends.
struct ScriptedDice {
    std::deque<int> values;
    int used = 0;
    int cycle = 0;
    PsiDice Dice() {
        return [this](int sides) {
            EXPECT_EQ(sides, 6);
            ++used;
            if (values.empty()) return cycle++ % 6 + 1;
            const int v = values.front();
            values.pop_front();
            return v;
        };
    }
};

std::unique_ptr<TUniverse> MakeUniverse(TStar*& star, const std::string& upc) {
    auto u = TUniverse::CreateNew();
    TSector* sector = testutil::AddSector(*u, "Spinward", 0, 0);
    star = testutil::AddStar(*sector, "Regina", 19, 10, upc);
    return u;
}

// Presence of C, E, G, S for a star when the UAP dice give `uap` + 2 and the
// four presence rolls are the given 2D6 totals.
std::string Presence(const std::string& upc, int uapDie1, int uapDie2, std::array<int, 4> totals) {
    TStar* star = nullptr;
    auto u = MakeUniverse(star, upc);
    ScriptedDice dice;
    dice.values = {uapDie1, uapDie2};
    for (int total : totals) {
        const int first = std::min(6, total - 1);
        dice.values.push_back(first);
        dice.values.push_back(total - first);
    }
    const PsiRoll roll = RollPsiInstitutes(*star, dice.Dice());
    std::string out;
    for (const PsiInstitute& inst : roll.Institutes) out += inst.Present ? '1' : '0';
    return out;
}

}  // namespace

TEST(PsiCodes, AbsentInstitutesShowTheirAllZeroCodeAndPresentOnesTheirValuesAndTalents) {
    const PsiInstitute absent;
    EXPECT_EQ(PsiRatingCode(PsiKind::Commercial, absent), "C/SP0/IR0/AM0/QI0/TP0/CL0/AW0/TK0/TL0");
    EXPECT_EQ(PsiRatingCode(PsiKind::Educational, absent), "E/SP0/IR0/AM0/QI0/TP0/CL0/AW0/TK0/TL0");
    EXPECT_EQ(PsiRatingCode(PsiKind::Government, absent), "G/SP0/IR0/AM0/QI0/TP0/CL0/AW0/TK0/TL0");
    EXPECT_EQ(PsiRatingCode(PsiKind::Security, absent), "S/SP0/IR0/AM0/QI0/TP0/CL0/AW0/TK0/TL0");

    PsiInstitute present;
    present.Present = true;
    present.SP = 2;
    present.IR = 10;
    present.AM = 6;
    present.QI = 3;
    present.Talents = {{3, 5}, {2, 7}, {6, 9}, {4, 1}, {5, 2}};
    EXPECT_EQ(PsiRatingCode(PsiKind::Educational, present), "E/SP2/IR10/AM6/QI3/CL5/TP7/TL9/AW1/TK2");
}

TEST(PsiRolls, ScriptedDiceGiveEveryValueInTheirOrder) {
    TStar* star = nullptr;
    auto u = MakeUniverse(star, "788652");  // population 6, government 5, law level 2
    ScriptedDice dice;
    dice.values = {
        6, 6,  // UAP 10: UAP class 3, with law class 1: C below 12, E 12, G 4, S 2
        5, 6,  // C 11: present
        6, 6,  // E 12: absent
        1, 1,  // G 2: present
        1, 1,  // S 2: never below 2
        // commercial
        6, 6,        // SP roll 12 - 7 + 6 = 11: SP 2
        3, 4,        // IR 7 + 1 - 2 = 6
        6, 6,        // AM 12 - 4 = 8
        5, 5,        // q = 10 - 7 + 7 = 10: QI 4
        6,           // 6 - 3 = 3 talents
        1, 3, 1, 1,  // 0 drawn again, then 2 (TP), level 2 - 1 limited to 2: 1
        3, 6, 6, 6,  // 2 again drawn again, 5 (TK), level 11: 8
        4, 4, 3,     // 3 (CL), level 6: 4
        // government
        1, 2,  // SP roll 2: SP 0
        6, 5,  // IR 11 + 3 limited to 10
        1, 1,  // AM 2 - 3 limited to 0
        6, 6,  // q = 12 - 5 + 5 = 12: QI 4
        1,     // 1 - 1 = 0 talents, at least 1
        6, 5, 5,  // TL, level 10: 7
    };
    const std::size_t scripted = dice.values.size();
    const PsiRoll roll = RollPsiInstitutes(*star, dice.Dice());
    EXPECT_EQ(static_cast<std::size_t>(dice.used), scripted);
    EXPECT_EQ(roll.UAP, 10);
    const auto codes = roll.Codes();
    EXPECT_EQ(codes[0], "C/SP2/IR6/AM8/QI4/TP1/TK8/CL4");
    EXPECT_EQ(codes[1], "E/SP0/IR0/AM0/QI0/TP0/CL0/AW0/TK0/TL0");
    EXPECT_EQ(codes[2], "G/SP0/IR10/AM0/QI4/TL7");
    EXPECT_EQ(codes[3], "S/SP0/IR0/AM0/QI0/TP0/CL0/AW0/TK0/TL0");
}

TEST(PsiRolls, PresenceFollowsUapAndLawClassesAndTheStarsOwnModifiers) {
    // UAP 0 (class 1), law 0 (class 1): C below 4, E 5, G 3, S 6; totals just at each threshold.
    EXPECT_EQ(Presence("788650", 1, 1, {4, 5, 3, 6}), "0000");
    EXPECT_EQ(Presence("788650", 1, 1, {3, 4, 2, 5}), "1111");
    // Population below 5 lowers the commercial and educational totals by 1.
    EXPECT_EQ(Presence("788450", 1, 1, {4, 5, 3, 6}), "1100");
    // Population above 8 raises them; government above 9 raises the government total.
    EXPECT_EQ(Presence("7889A0", 1, 1, {3, 4, 2, 5}), "0001");
    // UAP 10 (class 3), law A (class 4): C 4, E 5, G 12, S 6.
    EXPECT_EQ(Presence("78865A", 6, 6, {3, 4, 11, 5}), "1111");
    EXPECT_EQ(Presence("78865A", 6, 6, {4, 5, 12, 6}), "0000");
    // UAP class 3 with law class 1 never has a security institute.
    EXPECT_EQ(Presence("788653", 6, 6, {12, 12, 12, 2}), "0000");
}

TEST(PsiRolls, ManyRealRollsAlwaysGiveWellFormedCodes) {
    const QRegularExpression shape(
        QStringLiteral("^[CEGS]/SP([0-6])/IR(10|[0-9])/AM(10|[0-9])/QI[0-5]((/(TP|CL|AW|TK|TL)[1-9]){1,5})$"));
    std::array<int, 11> uapCount{};
    int present = 0;
    for (const char* upc : {"788000", "788A05", "7886D9", "78859A"}) {
        TStar* star = nullptr;
        auto u = MakeUniverse(star, upc);
        const PsiDice dice = ClockSeededDice();
        for (int i = 0; i < 2500; ++i) {
            const PsiRoll roll = RollPsiInstitutes(*star, dice);
            ASSERT_GE(roll.UAP, 0);
            ASSERT_LE(roll.UAP, 10);
            ++uapCount[static_cast<std::size_t>(roll.UAP)];
            for (int k = 0; k < kPsiKinds; ++k) {
                const PsiInstitute& inst = roll.Institutes[static_cast<std::size_t>(k)];
                const std::string code = PsiRatingCode(static_cast<PsiKind>(k), inst);
                if (!inst.Present) continue;
                ++present;
                const auto match = shape.match(QString::fromStdString(code));
                ASSERT_TRUE(match.hasMatch()) << code;
                std::set<int> talents;
                for (const auto& t : inst.Talents) talents.insert(t.first);
                ASSERT_EQ(talents.size(), inst.Talents.size()) << code;
                if (k == 0) {
                    ASSERT_LE(inst.Talents.size(), 3u) << code;
                    ASSERT_EQ(talents.count(6), 0u) << code;
                }
                if (k == 1) {
                    ASSERT_GE(inst.Talents.size(), 2u) << code;
                }
                // Population 0: the SP roll is at most 5, so SP is always 0.
                if (upc[3] == '0') {
                    ASSERT_EQ(inst.SP, 0) << code;
                }
            }
        }
    }
    EXPECT_GT(present, 1000);
    // 2D6 - 2 over 10000 rolls: 7 in 36 is the most likely (about 1667), 0 and 10 rare (about 278).
    EXPECT_NEAR(uapCount[5], 10000 / 6.0, 200);
    EXPECT_NEAR(uapCount[0], 10000 / 36.0, 100);
    EXPECT_NEAR(uapCount[10], 10000 / 36.0, 100);
}

// ------------------------------------------------------------------ dialog

namespace {

struct PsiDialog {
    ScriptedPrompter prompter;
    TfGenPsiInstitute dialog{prompter};
    QLineEdit* Edit(const char* name) { return dialog.findChild<QLineEdit*>(name); }
    QSpinBox* Uap() { return dialog.findChild<QSpinBox*>("rUAP"); }
    QStringList Codes() {
        QStringList out;
        for (const char* n : {"rComPsiRating", "rEduPsiRating", "rGovPsiRating", "rSecPsiRating"}) out << Edit(n)->text();
        return out;
    }
};

}  // namespace

TEST(PsiDialog, AStarWithAnInstituteShowsItsStoredTextsAndRollsNothing) {
    TStar* star = nullptr;
    auto u = MakeUniverse(star, "788652");
    star->PsiInstitute = true;
    star->UAP = 4;
    star->ComPsiRating = "typed by hand";
    star->EduPsiRating = "E/SP1/IR2/AM3/QI4/TP5";
    star->GovPsiRating = "";
    star->SecPsiRating = "S\xE9";  // Windows-1252 e acute
    PsiDialog d;
    d.dialog.SetDice([](int) -> int {
        ADD_FAILURE() << "no dice are rolled for a star that has its institute";
        return 1;
    });
    d.dialog.Load(*star);
    EXPECT_EQ(d.dialog.windowTitle(), "Psionic Institute Information");
    EXPECT_EQ(d.Codes(), QStringList({"typed by hand", "E/SP1/IR2/AM3/QI4/TP5", "", QString::fromUtf8("S\u00e9")}));
    EXPECT_EQ(d.Uap()->value(), 4);

    // OK writes back what is shown, byte for byte.
    ASSERT_TRUE(d.dialog.rOKClick());
    EXPECT_EQ(star->SecPsiRating, "S\xE9");
    EXPECT_EQ(star->ComPsiRating, "typed by hand");
    EXPECT_TRUE(d.prompter.Log.isEmpty());
}

TEST(PsiDialog, WithoutAnInstituteItRollsAnewAndOkWritesTheEditedCodesAndUapOnly) {
    TStar* star = nullptr;
    auto u = MakeUniverse(star, "788652");
    star->UAP = 3;
    PsiDialog d;
    ScriptedDice dice;
    dice.values = {6, 6, 5, 6, 6, 6, 1, 1, 1, 1};  // UAP 10; commercial and government present
    d.dialog.SetDice(dice.Dice());
    d.dialog.Load(*star);
    EXPECT_EQ(d.Uap()->value(), 10);
    const QStringList codes = d.Codes();
    EXPECT_TRUE(codes[0].startsWith("C/SP")) << codes[0].toStdString();
    EXPECT_EQ(codes[1], "E/SP0/IR0/AM0/QI0/TP0/CL0/AW0/TK0/TL0");
    EXPECT_TRUE(codes[2].startsWith("G/SP")) << codes[2].toStdString();
    EXPECT_EQ(codes[3], "S/SP0/IR0/AM0/QI0/TP0/CL0/AW0/TK0/TL0");
    // Nothing is written before OK.
    EXPECT_EQ(star->UAP, 3);
    EXPECT_TRUE(star->ComPsiRating.empty());

    // UAP takes 0-10 by its arrows only.
    QSpinBox* uap = d.Uap();
    EXPECT_EQ(uap->minimum(), 0);
    EXPECT_EQ(uap->maximum(), 10);
    EXPECT_FALSE(uap->wrapping());
    EXPECT_TRUE(uap->findChild<QLineEdit*>()->isReadOnly());
    uap->stepUp();
    EXPECT_EQ(uap->value(), 10);
    uap->stepDown();
    d.Edit("rSecPsiRating")->setText("S/custom");
    ASSERT_TRUE(d.dialog.rOKClick());
    EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(star->UAP, 9);
    EXPECT_EQ(star->ComPsiRating, codes[0].toStdString());
    EXPECT_EQ(star->EduPsiRating, codes[1].toStdString());
    EXPECT_EQ(star->GovPsiRating, codes[2].toStdString());
    EXPECT_EQ(star->SecPsiRating, "S/custom");
    EXPECT_FALSE(star->PsiInstitute);

    // Until the institute is stored, every opening rolls anew.
    PsiDialog again;
    ScriptedDice other;
    other.values = {1, 1, 6, 6, 6, 6, 6, 6, 6, 6};  // UAP 0, nothing present
    again.dialog.SetDice(other.Dice());
    again.dialog.Load(*star);
    EXPECT_EQ(again.Uap()->value(), 0);
    EXPECT_EQ(again.Codes()[0], "C/SP0/IR0/AM0/QI0/TP0/CL0/AW0/TK0/TL0");
}

TEST(PsiDialog, CancelAndUnstorableTextsWriteNothing) {
    TStar* star = nullptr;
    auto u = MakeUniverse(star, "788652");
    star->UAP = 2;
    {
        PsiDialog d;
        d.dialog.Load(*star);
        d.dialog.findChild<QPushButton*>("rCancel")->click();
        EXPECT_EQ(d.dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(star->UAP, 2);
    EXPECT_TRUE(star->ComPsiRating.empty());

    PsiDialog d;
    d.dialog.Load(*star);
    d.Edit("rGovPsiRating")->setText(QString::fromUtf8("G/\u03a8"));  // Greek psi: not in Windows-1252
    EXPECT_FALSE(d.dialog.rOKClick());
    EXPECT_EQ(d.prompter.Log, QStringList({"error: " + NotStorableMessage()}));
    EXPECT_EQ(star->UAP, 2);
    EXPECT_TRUE(star->ComPsiRating.empty());
}
