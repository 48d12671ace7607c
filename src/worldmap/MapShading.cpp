// Sea level and shade classes, polar ice and colours of the fractal world map.

#include "worldmap/ColourTable.h"
#include "worldmap/FractalMap.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orbiscarta {

namespace {

int ClassFrom(double value) {
    if (value < 1) return 1;
    if (value > 255) return 31;
    return static_cast<int>(value);
}

}  // namespace

void ShadeClasses(std::int32_t* cells, int n, int m, std::int32_t waterPercent) {
    const std::int64_t count = std::int64_t{n} * m;
    std::int64_t highest = 1;
    std::int64_t lowest = -1;
    for (std::int64_t i = 0; i < count; ++i) {
        highest = std::max<std::int64_t>(highest, cells[i]);
        lowest = std::min<std::int64_t>(lowest, cells[i]);
    }
    const std::int64_t range = highest - lowest + 1;

    // Heights in 30 bands (bins 1-31) above the lowest point.
    std::array<std::int64_t, 256> histogram{};
    for (std::int64_t i = 0; i < count; ++i) {
        const double share = static_cast<double>(cells[i] - lowest + 1) / static_cast<double>(range);
        const int bin = static_cast<int>(std::trunc(share * 30)) + 1;
        ++histogram[static_cast<std::size_t>(std::clamp(bin, 0, 255))];
    }

    // The sea rises to the first band by which the requested share is under water.
    const std::int64_t target = std::int64_t{waterPercent} * n * m / 100;
    std::int64_t below = 0;
    int band = 0;
    for (; band < 256; ++band) {
        below += histogram[static_cast<std::size_t>(band)];
        if (below >= target) break;
    }
    const std::int64_t seaLevel = range * band / 30 + lowest;

    double landSpan = static_cast<double>(highest - seaLevel);
    if (landSpan == 0) landSpan = 0.000001;
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int64_t v = cells[i];
        double shade;
        if (v < seaLevel)
            shade = std::trunc(static_cast<double>(v - lowest) / static_cast<double>(seaLevel - lowest) * 15) + 1;
        else
            shade = std::trunc(static_cast<double>(v - seaLevel) / landSpan * 15) + 16;
        cells[i] = ClassFrom(shade);
    }
}

namespace {

struct Position {
    int X;
    int Y;
};

// Freezes the 4-connected region of class c around (x0, y0), wrapping round
// in longitude; the fill never moves up into row 0. Visits the cells in the
// order up, down, left, right with an explicit stack, as deep as the region.
std::int64_t FreezeRegion(std::int32_t* cells, int n, int m, int x0, int y0, std::int32_t c,
                          std::vector<Position>& stack) {
    const std::int32_t ice = c < 16 ? 32 : c + 17;
    auto cell = [&](int x, int y) -> std::int32_t& { return cells[std::int64_t{x} * m + y]; };
    std::int64_t frozen = 0;
    stack.clear();
    stack.push_back({x0, y0});
    while (!stack.empty()) {
        const Position at = stack.back();
        stack.pop_back();
        std::int32_t& here = cell(at.X, at.Y);
        if (here != c) continue;
        here = ice;
        ++frozen;
        const int left = at.X == 0 ? n - 1 : at.X - 1;
        const int right = at.X == n - 1 ? 0 : at.X + 1;
        // Pushed in reverse, so the first neighbour is taken first.
        if (cell(right, at.Y) == c) stack.push_back({right, at.Y});
        if (cell(left, at.Y) == c) stack.push_back({left, at.Y});
        if (at.Y + 1 < m && cell(at.X, at.Y + 1) == c) stack.push_back({at.X, at.Y + 1});
        if (at.Y - 1 > 0 && cell(at.X, at.Y - 1) == c) stack.push_back({at.X, at.Y - 1});
    }
    return frozen;
}

}  // namespace

IceCounts FreezePoles(std::int32_t* classes, int n, int m, std::int32_t icePercent) {
    const std::int64_t count = std::int64_t{n} * m;
    const std::int64_t target = std::int64_t{icePercent} * n * m / 100;
    IceCounts counts;
    if (target <= 0 || target > count) return counts;

    std::vector<Position> stack;
    // One pass scans rows in the given order, each from the left, freezing
    // every unfrozen cell's region until more than the target is ice.
    auto pass = [&](int firstRow, int step) {
        std::int64_t frozen = 0;
        for (int y = firstRow; y >= 0 && y < m; y += step) {
            for (int x = 0; x < n; ++x) {
                const std::int32_t c = classes[std::int64_t{x} * m + y];
                if (c < 32) frozen += FreezeRegion(classes, n, m, x, y, c, stack);
                if (frozen > target) return frozen;
            }
        }
        return frozen;
    };
    counts.North = pass(0, 1);
    counts.South = pass(m - 1, -1);
    return counts;
}

void ApplyColours(std::int32_t* cells, std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i)
        cells[i] = CellColour(std::clamp<std::int32_t>(cells[i], 0, kColourClasses - 1));
}

}  // namespace orbiscarta
