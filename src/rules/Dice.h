#pragma once
// Dice for the rule tables. TDie is what the tables roll, so tests can script
// every roll; TSeededDie is the generator's die, driven by a fixed PRNG whose
// output is the same on every platform and standard library.

#include <cstdint>

namespace hexlane::rules {

// One six-sided die.
class TDie {
public:
    virtual ~TDie() = default;
    // 1-6.
    virtual int Roll() = 0;
    int Roll2D() { return Roll() + Roll(); }
};

// SplitMix64's output function (Steele, Lea and Flood, 2014): a bijective
// mix of 64 bits, used to turn keys into independent-looking seeds.
std::uint64_t Mix64(std::uint64_t x);

// A die on SplitMix64: the state advances by 0x9E3779B97F4A7C15 and each
// 64-bit output is Mix64 of the state. Rolls are made by rejection, never by
// a library distribution, so a seed gives the same rolls everywhere.
class TSeededDie final : public TDie {
public:
    explicit TSeededDie(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        state_ += 0x9E3779B97F4A7C15ull;
        return Mix64(state_);
    }
    // Uniform in 0 .. n-1 (n > 0), without modulo bias.
    std::uint32_t Below(std::uint32_t n);
    int Roll() override { return static_cast<int>(Below(6)) + 1; }

private:
    std::uint64_t state_;
};

}  // namespace hexlane::rules
