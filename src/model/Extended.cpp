#include "Extended.h"

#include <bit>
#include <cstring>
#include <limits>

namespace hexlane {

namespace {

std::uint64_t DoubleBits(double d) {
    std::uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}

double BitsToDouble(std::uint64_t u) {
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}

// m >> s rounded to nearest, ties to even (s >= 1).
std::uint64_t ShiftRound(std::uint64_t m, int s) {
    if (s > 64) return 0;
    std::uint64_t q, rem, half;
    if (s == 64) {
        q = 0;
        rem = m;
        half = std::uint64_t{1} << 63;
    } else {
        q = m >> s;
        rem = m & ((std::uint64_t{1} << s) - 1);
        half = std::uint64_t{1} << (s - 1);
    }
    if (rem > half || (rem == half && (q & 1))) ++q;
    return q;
}

}  // namespace

Extended80 DoubleToExtended(double value) {
    const std::uint64_t bits = DoubleBits(value);
    const unsigned sign = static_cast<unsigned>(bits >> 63);
    const int exp = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t frac = bits & ((std::uint64_t{1} << 52) - 1);

    std::uint64_t mantissa = 0;
    unsigned exponent = 0;
    if (exp == 0x7FF) {  // infinity or NaN
        exponent = 0x7FFF;
        mantissa = (std::uint64_t{1} << 63) | (frac << 11);
    } else if (exp == 0) {
        if (frac != 0) {  // subnormal double: normalise
            const int top = 63 - std::countl_zero(frac);  // 0..51
            mantissa = frac << (63 - top);
            exponent = static_cast<unsigned>(top - 1074 + 16383);
        }
    } else {
        mantissa = (std::uint64_t{1} << 63) | (frac << 11);
        exponent = static_cast<unsigned>(exp - 1023 + 16383);
    }

    Extended80 out{};
    for (int i = 0; i < 8; ++i) out[static_cast<size_t>(i)] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    const unsigned top = exponent | (sign << 15);
    out[8] = static_cast<std::uint8_t>(top & 0xFF);
    out[9] = static_cast<std::uint8_t>(top >> 8);
    return out;
}

double ExtendedToDouble(const std::uint8_t* b) {
    std::uint64_t m = 0;
    for (int i = 7; i >= 0; --i) m = (m << 8) | b[i];
    const unsigned top = static_cast<unsigned>(b[8]) | (static_cast<unsigned>(b[9]) << 8);
    const bool negative = (top & 0x8000) != 0;
    const int e = static_cast<int>(top & 0x7FFF);
    const std::uint64_t signBit = negative ? (std::uint64_t{1} << 63) : 0;

    if (e == 0x7FFF) {
        if ((m << 1) == 0) return negative ? -std::numeric_limits<double>::infinity()
                                           : std::numeric_limits<double>::infinity();
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (m == 0) return BitsToDouble(signBit);

    // Value = m * 2^(E - 63) with m normalised so that its top bit is set.
    int E = (e == 0 ? 1 : e) - 16383;
    const int lead = std::countl_zero(m);
    m <<= lead;
    E -= lead;

    std::uint64_t result;
    if (E >= -1022) {
        std::uint64_t q = ShiftRound(m, 11);  // 53 significant bits
        if (q == (std::uint64_t{1} << 53)) {
            q >>= 1;
            ++E;
        }
        if (E > 1023) return BitsToDouble(signBit | (std::uint64_t{0x7FF} << 52));
        result = (static_cast<std::uint64_t>(E + 1023) << 52) | (q & ((std::uint64_t{1} << 52) - 1));
    } else {
        // Subnormal result; a carry into bit 52 yields the smallest normal, which
        // is the same bit pattern.
        result = ShiftRound(m, 11 + (-1022 - E));
    }
    return BitsToDouble(signBit | result);
}

}  // namespace hexlane
