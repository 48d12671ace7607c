// The row table gives exactly the directly computed arctangent row for any z.

#include "worldmap/ArcTangentRows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using orbiscarta::ArcTangentRows;

TEST(ArcTangentRows, LooksUpExactlyWhatTheArctangentGives) {
    std::mt19937_64 random(20240611);
    for (int m : {1, 2, 3, 7, 48, 75, 480, 481, 4096}) {
        const ArcTangentRows rows(m);
        EXPECT_EQ(rows.Lowest(), rows.Direct(-std::numeric_limits<double>::max()));
        EXPECT_EQ(rows.Highest(), rows.Direct(std::numeric_limits<double>::max()));
        EXPECT_LT(rows.Highest(), m / 2.0);
        std::size_t cursor = rows.CursorFor(0);
        auto check = [&](double z) {
            ASSERT_EQ(rows.Find(z, cursor), rows.Direct(z)) << "m " << m << " z " << z;
        };
        // At, just below and just above every step point, and between neighbours.
        for (int value = rows.Lowest() + 1; value <= rows.Highest(); ++value) {
            const double point = rows.StepPoint(value);
            EXPECT_EQ(rows.Direct(point), value);
            EXPECT_LT(rows.Direct(std::nextafter(point, -HUGE_VAL)), value);
            for (double z : {point, std::nextafter(point, -HUGE_VAL), std::nextafter(point, HUGE_VAL),
                             point * (1 + 2e-6), point * (1 - 2e-6), point * 1.01})
                check(z);
        }
        // Sine times tangent of inclination, as the fault lines form them.
        std::uniform_real_distribution<double> sine(-1, 1), angle(0, 3.141593);
        for (int i = 0; i < 20000; ++i) check(sine(random) * std::tan(angle(random)));
        for (double z : {0.0, -0.0, 1e-300, -1e-300, 1e300, -1e300}) check(z);
    }
}
