// Fault lines (threaded), mirror and relief of the fractal world map, and the
// whole computation in order.

#include "worldmap/FractalMap.h"

#include "worldmap/ArcTangentRows.h"

#include "Parallel.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace orbiscarta {

RandomGenerator::RandomGenerator(std::int32_t seed)
    : state_(static_cast<std::uint32_t>(std::int32_t{static_cast<std::int16_t>(seed)})) {}

int RandomGenerator::Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
}

int FaultLineCount(std::int32_t faultCount) {
    return std::max(0, int{static_cast<std::int16_t>(faultCount)});
}

std::vector<double> SineTable(int n) {
    std::vector<double> sines(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) sines[static_cast<std::size_t>(i)] = std::sin(2.0 * i * kPi / n);
    return sines;
}

std::vector<FaultLine> DrawFaultLines(std::int32_t seed, std::int32_t faultCount, int n) {
    RandomGenerator random(seed);
    const int count = FaultLineCount(faultCount);
    std::vector<FaultLine> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int r1 = random.Next();
        const int r2 = random.Next();
        const int r3 = random.Next();
        const int r4 = random.Next();
        // A coin shows 1 for the upper half of the draws (r/32767 rounded).
        const bool coin1 = r1 >= 16384;
        const bool coin2 = r2 >= 16384;
        const double alpha = (r3 / 32767.0 - 0.5) * kPi;
        const double beta = (r4 / 32767.0 - 0.5) * kPi;
        FaultLine line;
        line.TanB = std::tan(std::acos(std::cos(alpha) * std::cos(beta)));
        line.Xsi = static_cast<std::int32_t>(std::trunc(static_cast<double>(n / 2) - (n / kPi) * beta));
        line.Delta = coin1 == coin2 ? -1 : 1;
        lines.push_back(line);
    }
    return lines;
}

namespace {

// Marks of the lines [first, last) into marks, which covers the columns
// 0 .. N/2-1 and row 0 of column N/2 (a line through a pole can reach it).
// With a row table the arctangents are looked up; the marks are the same.
void MarkRange(const FaultLine* first, const FaultLine* last, const double* sines, int n, int m,
               const ArcTangentRows* rows, std::int32_t* marks) {
    const int halfN = n / 2;
    const double halfM = m / 2.0;
    const double scale = m / kPi;
    for (const FaultLine* line = first; line != last; ++line) {
        // Sine index Xsi - Phi + N, taken modulo N, stepped down with Phi.
        int k = ((line->Xsi % n) + n) % n;
        std::size_t cursor = rows ? rows->CursorFor(rows->Direct(sines[k] * line->TanB)) : 0;
        std::int32_t* column = marks;
        for (int phi = 0; phi < halfN; ++phi, column += m) {
            const double z = sines[k] * line->TanB;
            const double offset = rows ? rows->Find(z, cursor) : std::trunc(std::atan(z) * scale);
            const int theta = static_cast<int>(offset + halfM);
            // theta == m is row 0 of the next column, still inside the marks.
            if (static_cast<unsigned>(theta) <= static_cast<unsigned>(m)) column[theta] += line->Delta;
            if (--k < 0) k = n - 1;
        }
    }
}

}  // namespace

void MarkFaultLines(const MapParameters& p, const std::vector<double>& sines, std::int32_t* cells,
                    unsigned threads) {
    const int n = p.N;
    const int m = p.M;
    if (n / 2 == 0) return;
    const std::vector<FaultLine> lines = DrawFaultLines(p.Seed, p.FaultCount, n);
    if (lines.empty()) return;

    // Building the row table costs some arctangents per row; it pays once the
    // lines need many times as many.
    std::unique_ptr<ArcTangentRows> rows;
    const double evaluations = static_cast<double>(lines.size()) * (n / 2);
    if (evaluations > 4 * ArcTangentRows::BuildCost(m)) rows = std::make_unique<ArcTangentRows>(m);

    const std::size_t parts = std::clamp<std::size_t>(threads, 1, lines.size());
    const std::size_t markCount = static_cast<std::size_t>(n / 2) * static_cast<std::size_t>(m) + 1;
    auto bound = [&](std::size_t part) { return lines.data() + lines.size() * part / parts; };
    const ArcTangentRows* table = rows.get();

    // The first share marks straight into cells; every other share gets its own buffer.
    std::vector<std::vector<std::int32_t>> buffers(parts - 1, std::vector<std::int32_t>(markCount));
    hexlane::RunParts(static_cast<unsigned>(parts), [&](unsigned part) {
        std::int32_t* marks = part == 0 ? cells : buffers[part - 1].data();
        MarkRange(bound(part), bound(part + 1), sines.data(), n, m, table, marks);
    });

    for (const auto& marks : buffers)
        for (std::size_t i = 0; i < markCount; ++i) cells[i] += marks[i];
}

unsigned DefaultThreadCount(const MapParameters& p) {
    // Each thread should have some milliseconds of arctangents to do.
    constexpr std::int64_t kEvaluationsPerThread = 200000;
    const std::int64_t evaluations = std::int64_t{FaultLineCount(p.FaultCount)} * (p.N / 2);
    const std::int64_t wanted = std::max<std::int64_t>(1, evaluations / kEvaluationsPerThread);
    // Every thread beyond the first has a mark buffer of half the map, so
    // the count is also capped: on a machine of many cores a large map would
    // otherwise take gigabytes.
    constexpr unsigned kMaxThreads = 8;
    const unsigned hardware = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads);
    return static_cast<unsigned>(std::min<std::int64_t>(wanted, hardware));
}

void MirrorMarks(std::int32_t* cells, int n, int m) {
    const int halfN = n / 2;
    for (int x = 0; x < halfN; ++x) {
        const std::int32_t* source = cells + std::int64_t{x} * m;
        std::int32_t* target = cells + std::int64_t{x + halfN} * m;
        for (int y = 1; y < m; ++y) target[m - y] = source[y];
    }
}

void AccumulateRelief(std::int32_t* cells, int n, int m) {
    for (int x = 0; x < n; ++x) {
        std::int32_t* column = cells + std::int64_t{x} * m;
        for (int y = 1; y < m; ++y) column[y] += column[y - 1];
    }
}

bool GenerateMap(const MapParameters& p, std::int32_t* cells, FaultMarking marking, unsigned threads) {
    if (cells == nullptr || !ValidMapSize(p.N, p.M)) return false;
    try {
        // Work on a grid of our own, so a failure leaves the caller's buffer
        // as it was and its earlier contents cannot leak into the map.
        const std::int64_t count = std::int64_t{p.N} * p.M;
        std::vector<std::int32_t> grid(static_cast<std::size_t>(count));
        const std::vector<double> sines = SineTable(p.N);
        if (marking == FaultMarking::Plain)
            MarkFaultLinesPlain(p, sines, grid.data());
        else
            MarkFaultLines(p, sines, grid.data(), threads == 0 ? DefaultThreadCount(p) : threads);
        MirrorMarks(grid.data(), p.N, p.M);
        AccumulateRelief(grid.data(), p.N, p.M);
        ShadeClasses(grid.data(), p.N, p.M, p.WaterPercent);
        FreezePoles(grid.data(), p.N, p.M, p.IcePercent);
        ApplyColours(grid.data(), count);
        std::copy(grid.begin(), grid.end(), cells);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

}  // namespace orbiscarta
