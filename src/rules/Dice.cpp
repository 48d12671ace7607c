#include "Dice.h"

namespace hexlane::rules {

std::uint64_t Mix64(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint32_t TSeededDie::Below(std::uint32_t n) {
    // Outputs below 2^64 mod n are refused, so every remainder is equally likely.
    const std::uint64_t threshold = (0 - static_cast<std::uint64_t>(n)) % n;
    std::uint64_t r;
    do r = Next();
    while (r < threshold);
    return static_cast<std::uint32_t>(r % n);
}

}  // namespace hexlane::rules
