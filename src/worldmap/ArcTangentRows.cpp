// Step points of trunc(atan(z) * M/pi), found by bisection over the doubles.

#include "worldmap/ArcTangentRows.h"

#include "worldmap/FractalMap.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace orbiscarta {

namespace {

// Relative width of the band around a step point where z is computed
// directly. A correctly rounded arctangent would need far less: this covers
// an arctangent error of dozens of units in the last place for every map size
// the library accepts.
constexpr double kBand = 1e-6;

// Doubles in order as integers, so bisection can halve the set of doubles.
std::int64_t KeyOf(double x) {
    const auto bits = std::bit_cast<std::int64_t>(x);
    return bits >= 0 ? bits : -(bits & std::numeric_limits<std::int64_t>::max());
}

double DoubleOf(std::int64_t key) {
    return key >= 0 ? std::bit_cast<double>(key)
                    : std::bit_cast<double>((-key) | std::numeric_limits<std::int64_t>::min());
}

}  // namespace

ArcTangentRows::ArcTangentRows(int m) : scale_(m / kPi) {
    const double largest = std::numeric_limits<double>::max();
    const double infinity = std::numeric_limits<double>::infinity();
    lowest_ = Direct(-largest);
    highest_ = Direct(largest);
    const std::size_t count = static_cast<std::size_t>(highest_ - lowest_) + 2;
    step_.resize(count);
    safeFrom_.resize(count);
    safeBelow_.resize(count);
    step_.front() = safeFrom_.front() = safeBelow_.front() = -infinity;
    step_.back() = safeFrom_.back() = safeBelow_.back() = infinity;
    for (int value = lowest_ + 1; value <= highest_; ++value) {
        std::int64_t below = KeyOf(-largest);  // gives less than value
        std::int64_t atLeast = KeyOf(largest);  // gives value or more
        for (;;) {
            // The keys span more than int64 can subtract; their gap fits uint64.
            const std::uint64_t gap = static_cast<std::uint64_t>(atLeast) - static_cast<std::uint64_t>(below);
            if (gap <= 1) break;
            const std::int64_t middle = below + static_cast<std::int64_t>(gap / 2);
            if (Direct(DoubleOf(middle)) >= value)
                atLeast = middle;
            else
                below = middle;
        }
        const double point = DoubleOf(atLeast);
        const std::size_t i = CursorFor(value);
        step_[i] = point;
        safeFrom_[i] = point + kBand * std::fabs(point);
        safeBelow_[i] = point - kBand * std::fabs(point);
    }
}

int ArcTangentRows::Direct(double z) const { return static_cast<int>(std::trunc(std::atan(z) * scale_)); }

int ArcTangentRows::Find(double z, std::size_t& cursor) const {
    std::size_t i = cursor;
    while (z >= step_[i + 1]) ++i;
    while (z < step_[i]) --i;
    cursor = i;
    if (z >= safeFrom_[i] && z < safeBelow_[i + 1]) return lowest_ + static_cast<int>(i);
    return Direct(z);
}

}  // namespace orbiscarta
