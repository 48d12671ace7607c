#pragma once
// The row offset of a fault line at one column, trunc(atan(z) * M/pi), found
// without an arctangent for almost every z. The points where the value steps
// are located once per map with the same arctangent; a z farther than a
// millionth (relative) from every step point is placed between them, and any
// other z is computed directly. The value is therefore always the one the
// direct computation gives.

#include <cstddef>
#include <vector>

namespace orbiscarta {

class ArcTangentRows {
public:
    explicit ArcTangentRows(int m);

    // trunc(atan(z) * Scale), Scale = M/pi.
    int Direct(double z) const;

    // The same value for z. `cursor` remembers where the previous z was found,
    // so a nearby z takes a few steps; start it with CursorFor(Direct(z)).
    int Find(double z, std::size_t& cursor) const;
    std::size_t CursorFor(int value) const { return static_cast<std::size_t>(value - lowest_); }

    // Smallest and largest value any z gives.
    int Lowest() const { return lowest_; }
    int Highest() const { return highest_; }
    // Smallest z giving at least `value` (Lowest() < value <= Highest()).
    double StepPoint(int value) const { return step_[CursorFor(value)]; }

    // Arctangents it takes to build the table; worth it only for many more lookups.
    static double BuildCost(int m) { return 64.0 * m; }

private:
    double scale_;
    int lowest_;
    int highest_;
    // For each value from lowest_ to highest_ + 1: the smallest z giving at
    // least that value (-inf and +inf at the ends), and the band around it in
    // which z is computed directly.
    std::vector<double> step_;
    std::vector<double> safeFrom_;
    std::vector<double> safeBelow_;
};

}  // namespace orbiscarta
