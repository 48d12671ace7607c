#include "Extended.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using hexlane::DoubleToExtended;
using hexlane::ExtendedToDouble;

TEST(Extended, VersionNumberHasTheDocumentedBytes) {
    const hexlane::Extended80 e = DoubleToExtended(4.51);
    const hexlane::Extended80 expected = {0x00, 0x50, 0xB8, 0x1E, 0x85, 0xEB, 0x51, 0x90, 0x01, 0x40};
    EXPECT_EQ(e, expected);
    EXPECT_EQ(ExtendedToDouble(e.data()), 4.51);
}

TEST(Extended, EveryDoubleSurvivesTheRoundTrip) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < 200000; ++i) {
        std::uint64_t bits = rng();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (std::isnan(d)) continue;
        const hexlane::Extended80 e = DoubleToExtended(d);
        const double back = ExtendedToDouble(e.data());
        ASSERT_EQ(std::memcmp(&back, &d, sizeof d), 0) << d;
    }
    for (double d : {0.0, -0.0, 1.0, -1.0, std::numeric_limits<double>::denorm_min(),
                     std::numeric_limits<double>::min(), std::numeric_limits<double>::max(),
                     std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        const hexlane::Extended80 e = DoubleToExtended(d);
        const double back = ExtendedToDouble(e.data());
        EXPECT_EQ(std::memcmp(&back, &d, sizeof d), 0) << d;
    }
    EXPECT_TRUE(std::isnan(ExtendedToDouble(DoubleToExtended(std::nan("")).data())));
}

TEST(Extended, ExtraPrecisionRoundsToNearestEven) {
    // 1 + 2^-53 exactly half way between 1 and the next double: ties to even (1).
    hexlane::Extended80 e = DoubleToExtended(1.0);
    e[1] = 0x04;  // mantissa bit 10 = 2^-53 relative to the integer bit
    EXPECT_EQ(ExtendedToDouble(e.data()), 1.0);
    e[0] = 0x01;  // just above half way
    EXPECT_EQ(ExtendedToDouble(e.data()), std::nextafter(1.0, 2.0));
}

TEST(Extended, OutOfRangeValuesSaturateOrUnderflow) {
    // Exponent far above the double range.
    hexlane::Extended80 big = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x7F};
    EXPECT_EQ(ExtendedToDouble(big.data()), std::numeric_limits<double>::infinity());
    big[9] = 0xFF;
    EXPECT_EQ(ExtendedToDouble(big.data()), -std::numeric_limits<double>::infinity());
    hexlane::Extended80 tiny = {0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00};
    EXPECT_EQ(ExtendedToDouble(tiny.data()), 0.0);
    // Half of the smallest subnormal rounds to even (zero); a little more rounds up.
    hexlane::Extended80 h = {0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0};
    const int e = -1075 + 16383;
    h[8] = static_cast<std::uint8_t>(e & 0xFF);
    h[9] = static_cast<std::uint8_t>(e >> 8);
    EXPECT_EQ(ExtendedToDouble(h.data()), 0.0);
    h[0] = 1;
    EXPECT_EQ(ExtendedToDouble(h.data()), std::numeric_limits<double>::denorm_min());
}
