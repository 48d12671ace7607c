#pragma once
// The psionic institute generator: rolls which of the four kinds of psionic
// institute (commercial, educational, government, security) a star system has,
// a compact rating code for each and the system's UAP value, and lets the user
// edit the codes before they are written into the star. The rolling is plain
// functions over a dice source, so any source of dice can drive it.

#include <QDialog>

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QLineEdit;
class QSpinBox;
class TStar;

namespace hexlane::ui {

class Prompter;

// A die: returns a uniformly random integer in [1, sides].
using PsiDice = std::function<int(int sides)>;

// Real dice from a generator seeded from the clock when this is called.
PsiDice ClockSeededDice();

// The four kinds of institute, in the order in which they are rolled.
enum class PsiKind { Commercial = 0, Educational = 1, Government = 2, Security = 3 };
inline constexpr int kPsiKinds = 4;

// The values rolled for one institute.
struct PsiInstitute {
    bool Present = false;
    int SP = 0, IR = 0, AM = 0, QI = 0;
    // Talents in the order drawn: talent number (2 "TP", 3 "CL", 4 "AW",
    // 5 "TK", 6 "TL") and its level 1-9.
    std::vector<std::pair<int, int>> Talents;
};

// One generation for a star: the new UAP and the four institutes.
struct PsiRoll {
    int UAP = 0;
    std::array<PsiInstitute, kPsiKinds> Institutes;
    // The rating codes in kind order (commercial, educational, government, security).
    std::array<std::string, kPsiKinds> Codes() const;
};

// 1 for UAP 0-3, 2 for 4-6, 3 for 7 or more.
int UapClass(int uap);
// 1 for law level 0-3, 2 for 4-7, 3 for 8-9, 4 for 10 or more.
int LawClass(int lawLevel);
// An institute is present when 2D6 plus its modifier is below this value.
int PresenceThreshold(int uapClass, int lawClass, PsiKind kind);

// The rating code: the kind's letter and the values, e.g. "E/SP2/IR9/AM6/QI3/CL5/TP7";
// an absent institute gives the all-zero code "E/SP0/IR0/AM0/QI0/TP0/CL0/AW0/TK0/TL0".
std::string PsiRatingCode(PsiKind kind, const PsiInstitute& institute);

// Rolls UAP, presence and the values of every present institute from the
// star's population, government and law level indexes.
PsiRoll RollPsiInstitutes(const TStar& star, const PsiDice& dice);

// "Psionic Institute Information": the four rating codes (editable) and UAP.
// OK writes them into the star; the dialog never sets the star's PsiInstitute.
class TfGenPsiInstitute : public QDialog {
    Q_OBJECT
public:
    using Dice = PsiDice;

    explicit TfGenPsiInstitute(Prompter& prompter, QWidget* parent = nullptr);

    // The dice for the next generations; an empty one restores real dice.
    void SetDice(Dice dice);
    // Shows the star's UAP; shows its stored codes when it already has a psionic
    // institute, otherwise rolls everything anew.
    void Load(TStar& star);
    // Writes the four codes and UAP into the star and closes with OK; false
    // (dialog left open) when a code holds a character a map cannot store.
    bool rOKClick();
    // Load, then the modal dialog: 1 for OK, 0 for Cancel.
    int Execute(TStar& star);

private:
    Prompter& prompter_;
    Dice dice_;
    TStar* star_ = nullptr;
    std::array<QLineEdit*, kPsiKinds> codes_{};
    QSpinBox* uap_ = nullptr;
};

}  // namespace hexlane::ui
