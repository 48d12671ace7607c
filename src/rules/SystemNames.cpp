#include "SystemNames.h"

#include "DefineUniverse.h"

#include <array>
#include <cctype>

namespace hexlane::rules {

namespace {

// Consonant openings, vowel cores and closing consonants. Only the last
// syllable closes, so no word piles up consonants in its middle.
constexpr std::array<const char*, 30> kOnsets = {"b",  "br", "c",  "d",  "dr", "f", "g",  "gr", "h",  "j",
                                                 "k",  "kh", "l",  "m",  "n",  "p", "pr", "qu", "r",  "s",
                                                 "sh", "st", "t",  "th", "tr", "v", "vr", "w",  "y",  "z"};
constexpr std::array<const char*, 12> kVowels = {"a", "e", "i", "o", "u", "a", "e", "o", "ai", "ea", "io", "ou"};
constexpr std::array<const char*, 12> kCodas = {"", "", "", "n", "r", "s", "l", "m", "th", "x", "nd", "rn"};

template <std::size_t N>
const char* Pick(TSeededDie& die, const std::array<const char*, N>& table) {
    return table[die.Below(static_cast<std::uint32_t>(N))];
}

bool StartsWithStar(const std::string& name) {
    static constexpr char star[] = "star";
    if (name.size() < 4) return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != star[i]) return false;
    return true;
}

}  // namespace

std::string SyllableName(TSeededDie& die, int extraSyllables) {
    // Two syllables mostly, three often, one (closed) now and then.
    const std::uint32_t shape = die.Below(20);
    const int syllables = (shape < 2 ? 1 : shape < 13 ? 2 : 3) + extraSyllables;
    std::string name;
    for (int i = 0; i < syllables; ++i) {
        // A longer word may open on a vowel; inside it every syllable has a consonant.
        if (i > 0 || syllables == 1 || die.Below(6) != 0) name += Pick(die, kOnsets);
        name += Pick(die, kVowels);
    }
    // A word of one syllable always closes, so it has three letters at least.
    const char* coda = Pick(die, kCodas);
    name += syllables == 1 && !*coda ? "n" : coda;
    name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

TNameMaker::TNameMaker(const TUniverse& universe) {
    universe.ForEachStar([this](const TStar& star) { taken_.insert(star.Name1); });
}

std::string TNameMaker::Make(TSeededDie& die) {
    // After a run of names already taken, the words grow a syllable longer,
    // where there is always room.
    for (int attempt = 0;; ++attempt) {
        std::string name = SyllableName(die, attempt / 8);
        if (!StartsWithStar(name) && taken_.insert(name).second) return name;
    }
}

}  // namespace hexlane::rules
