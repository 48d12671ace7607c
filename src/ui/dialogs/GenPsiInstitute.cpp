#include "GenPsiInstitute.h"

#include "AccessKeys.h"

#include "Prompter.h"
#include "UiText.h"

#include "DefineStar.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <random>

namespace hexlane::ui {

namespace {

constexpr char kLetters[kPsiKinds] = {'C', 'E', 'G', 'S'};

// Presence thresholds by UAP class, law class and kind (C, E, G, S). The
// security value 2 for UAP class 3 and law class 1 is never reached by 2D6.
constexpr int kThreshold[3][4][kPsiKinds] = {
    {{4, 5, 3, 6}, {6, 7, 4, 6}, {3, 4, 6, 11}, {2, 3, 7, 4}},
    {{8, 10, 3, 5}, {8, 10, 8, 7}, {4, 5, 10, 6}, {3, 4, 11, 5}},
    {{12, 12, 4, 2}, {10, 12, 10, 4}, {4, 7, 11, 8}, {4, 5, 12, 6}},
};

// Per-kind constants of the value rolls.
struct KindConstants {
    int IR, AM, QI, Count, Level;
    int TalentShift;  // subtracted from the talent die: a commercial institute has no TL
};
constexpr KindConstants kConstants[kPsiKinds] = {
    {1, -4, -7, -3, -1, 1},
    {4, -1, -3, 1, 1, 0},
    {3, -3, -5, -1, 0, 0},
    {5, -2, -3, -2, -2, 0},
};

// SP by the limited SP roll 7-15 (below 7 always 0), per kind.
constexpr int kSpTable[9][kPsiKinds] = {
    {0, 1, 1, 0}, {1, 1, 1, 0}, {1, 2, 2, 1}, {2, 2, 2, 1}, {2, 3, 3, 2},
    {3, 3, 3, 2}, {4, 4, 4, 3}, {5, 5, 5, 3}, {6, 6, 6, 4},
};

const char* TalentCode(int talent) {
    switch (talent) {
    case 2: return "TP";
    case 3: return "CL";
    case 4: return "AW";
    case 5: return "TK";
    case 6: return "TL";
    default: return "??";
    }
}

int TwoD6(const PsiDice& dice) { return dice(6) + dice(6); }

int QualityIndex(int q) {
    if (q <= 2) return 0;
    if (q <= 4) return 1;
    if (q <= 6) return 2;
    if (q <= 8) return 3;
    if (q <= 12) return 4;
    return 5;
}

int TalentLevel(int t) {
    static constexpr int kLevels[13] = {0, 0, 1, 2, 3, 3, 4, 5, 6, 7, 7, 8, 9};
    return kLevels[std::clamp(t, 2, 12)];
}

int Modifier(const TStar& star, PsiKind kind) {
    switch (kind) {
    case PsiKind::Commercial:
    case PsiKind::Educational:
        if (star.PopIndex() < 5) return -1;
        if (star.PopIndex() > 8) return 1;
        return 0;
    case PsiKind::Government: return star.GovIndex() > 9 ? 1 : 0;
    case PsiKind::Security: return 0;
    }
    return 0;
}

void RollValues(PsiInstitute& inst, PsiKind kind, int population, const PsiDice& dice) {
    const int k = static_cast<int>(kind);
    const KindConstants& c = kConstants[k];
    const int spRoll = std::clamp(TwoD6(dice) - 7 + population, 0, 15);
    inst.SP = spRoll < 7 ? 0 : kSpTable[spRoll - 7][k];
    inst.IR = std::clamp(TwoD6(dice) + c.IR - inst.SP, 0, 10);
    inst.AM = std::clamp(TwoD6(dice) + c.AM, 0, 10);
    inst.QI = QualityIndex(std::clamp(TwoD6(dice) + c.QI + (inst.IR + inst.AM) / 2, 0, 15));
    const int count = std::clamp(dice(6) + c.Count, 1, 5);
    inst.Talents.clear();
    for (int i = 0; i < count; ++i) {
        int talent = 0;
        const auto taken = [&](int t) {
            return std::any_of(inst.Talents.begin(), inst.Talents.end(), [t](const auto& p) { return p.first == t; });
        };
        do {
            talent = dice(6) - c.TalentShift;
        } while (talent < 2 || taken(talent));
        inst.Talents.emplace_back(talent, TalentLevel(TwoD6(dice) + c.Level));
    }
}

}  // namespace

PsiDice ClockSeededDice() {
    // Two generations within one clock tick still differ.
    static std::atomic<unsigned> serial{0};
    const auto ticks = static_cast<unsigned long long>(std::chrono::system_clock::now().time_since_epoch().count());
    std::seed_seq seed{static_cast<unsigned>(ticks), static_cast<unsigned>(ticks >> 32), serial++};
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine](int sides) { return std::uniform_int_distribution<int>(1, std::max(sides, 1))(*engine); };
}

int UapClass(int uap) {
    if (uap <= 3) return 1;
    if (uap <= 6) return 2;
    return 3;
}

int LawClass(int lawLevel) {
    if (lawLevel <= 3) return 1;
    if (lawLevel <= 7) return 2;
    if (lawLevel <= 9) return 3;
    return 4;
}

int PresenceThreshold(int uapClass, int lawClass, PsiKind kind) {
    return kThreshold[std::clamp(uapClass, 1, 3) - 1][std::clamp(lawClass, 1, 4) - 1][static_cast<int>(kind)];
}

std::string PsiRatingCode(PsiKind kind, const PsiInstitute& inst) {
    const std::string letter(1, kLetters[static_cast<int>(kind)]);
    if (!inst.Present) return letter + "/SP0/IR0/AM0/QI0/TP0/CL0/AW0/TK0/TL0";
    std::string code = letter + "/SP" + std::to_string(inst.SP) + "/IR" + std::to_string(inst.IR) + "/AM" +
                       std::to_string(inst.AM) + "/QI" + std::to_string(inst.QI);
    for (const auto& [talent, level] : inst.Talents) code += std::string("/") + TalentCode(talent) + std::to_string(level);
    return code;
}

std::array<std::string, kPsiKinds> PsiRoll::Codes() const {
    std::array<std::string, kPsiKinds> codes;
    for (int k = 0; k < kPsiKinds; ++k) codes[static_cast<std::size_t>(k)] = PsiRatingCode(static_cast<PsiKind>(k), Institutes[static_cast<std::size_t>(k)]);
    return codes;
}

PsiRoll RollPsiInstitutes(const TStar& star, const PsiDice& dice) {
    PsiRoll roll;
    roll.UAP = TwoD6(dice) - 2;
    const int uapClass = UapClass(roll.UAP);
    const int lawClass = LawClass(star.LLIndex());
    for (int k = 0; k < kPsiKinds; ++k) {
        const auto kind = static_cast<PsiKind>(k);
        roll.Institutes[static_cast<std::size_t>(k)].Present =
            TwoD6(dice) + Modifier(star, kind) < PresenceThreshold(uapClass, lawClass, kind);
    }
    for (int k = 0; k < kPsiKinds; ++k) {
        PsiInstitute& inst = roll.Institutes[static_cast<std::size_t>(k)];
        if (inst.Present) RollValues(inst, static_cast<PsiKind>(k), star.PopIndex(), dice);
    }
    return roll;
}

// ------------------------------------------------------------------ dialog

namespace {

// A number changed only with its arrows: the text cannot be typed.
class ArrowOnlySpinBox final : public QSpinBox {
public:
    explicit ArrowOnlySpinBox(QWidget* parent) : QSpinBox(parent) { lineEdit()->setReadOnly(true); }
};

}  // namespace

TfGenPsiInstitute::TfGenPsiInstitute(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
    setWindowTitle(QStringLiteral("Psionic Institute Information"));

    auto* note = new QLabel(QStringLiteral("Information to be decoded by the GM"), this);
    note->setObjectName(QStringLiteral("rNote"));

    auto* form = new QFormLayout;
    static const char* const kNames[kPsiKinds] = {"rComPsiRating", "rEduPsiRating", "rGovPsiRating", "rSecPsiRating"};
    static const char* const kCaptions[kPsiKinds] = {"Commercial", "Educational", "Government", "Security"};
    // Room for the longest code a roll can give.
    const int codeWidth = QFontMetrics(font()).horizontalAdvance(QStringLiteral("E/SP6/IR10/AM10/QI5/TP9/CL9/AW9/TK9/TL9")) + 16;
    for (int k = 0; k < kPsiKinds; ++k) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(kNames[k]));
        edit->setMinimumWidth(codeWidth);
        codes_[static_cast<std::size_t>(k)] = edit;
        form->addRow(QString::fromLatin1(kCaptions[k]), edit);
    }
    uap_ = new ArrowOnlySpinBox(this);
    uap_->setObjectName(QStringLiteral("rUAP"));
    uap_->setRange(0, 10);
    uap_->setWrapping(false);
    uap_->setMaximumWidth(QFontMetrics(font()).horizontalAdvance(QStringLiteral("10")) + 48);
    form->addRow(QStringLiteral("UAP"), uap_);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    auto* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    buttons->setObjectName(QStringLiteral("rButtons"));
    ok->setObjectName(QStringLiteral("rOK"));
    cancel->setObjectName(QStringLiteral("rCancel"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { rOKClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Every label, button and check box of the dialog gets its access key.
    GiveAccessKeys(this);
}

void TfGenPsiInstitute::SetDice(Dice dice) { dice_ = std::move(dice); }

void TfGenPsiInstitute::Load(TStar& star) {
    star_ = &star;
    uap_->setValue(star.UAP);
    if (star.PsiInstitute) {
        const CompactString* stored[kPsiKinds] = {&star.ComPsiRating, &star.EduPsiRating, &star.GovPsiRating,
                                                  &star.SecPsiRating};
        for (int k = 0; k < kPsiKinds; ++k) codes_[static_cast<std::size_t>(k)]->setText(FromMap(*stored[k]));
        return;
    }
    const PsiRoll roll = RollPsiInstitutes(star, dice_ ? dice_ : ClockSeededDice());
    const auto codes = roll.Codes();
    for (int k = 0; k < kPsiKinds; ++k)
        codes_[static_cast<std::size_t>(k)]->setText(QString::fromStdString(codes[static_cast<std::size_t>(k)]));
    uap_->setValue(roll.UAP);
}

bool TfGenPsiInstitute::rOKClick() {
    if (!star_) return false;
    std::array<std::string, kPsiKinds> texts;
    for (int k = 0; k < kPsiKinds; ++k) {
        QLineEdit* edit = codes_[static_cast<std::size_t>(k)];
        auto text = ToMap(edit->text());
        if (!text) {
            prompter_.Error(NotStorableMessage());
            edit->setFocus();
            return false;
        }
        texts[static_cast<std::size_t>(k)] = std::move(*text);
    }
    star_->ComPsiRating = std::move(texts[0]);
    star_->EduPsiRating = std::move(texts[1]);
    star_->GovPsiRating = std::move(texts[2]);
    star_->SecPsiRating = std::move(texts[3]);
    star_->UAP = uap_->value();
    accept();
    return true;
}

int TfGenPsiInstitute::Execute(TStar& star) {
    Load(star);
    return exec() == QDialog::Accepted ? 1 : 0;
}

}  // namespace hexlane::ui
