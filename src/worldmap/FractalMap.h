#pragma once
// The fractal world-map computation behind CreateMap, in stages that can be
// run and checked one by one: fault-line marks, relief, shade classes, polar
// ice and colours. All stages work on one column-by-column grid of N*M cells
// (cell (x, y) at index x*M + y).

#include "worldmap/Orbiscarta.h"

#include <cstdint>
#include <vector>

namespace orbiscarta {

// The map computation uses this rounded value of pi throughout.
inline constexpr double kPi = 3.141593;

struct MapParameters {
    std::int32_t Seed = 0;
    std::int32_t FaultCount = 0;
    std::int32_t N = 0;  // columns (longitude steps)
    std::int32_t M = 0;  // rows (latitude steps)
    std::int32_t WaterPercent = 0;
    std::int32_t IcePercent = 0;
};

// Linear congruential generator of the map: state = state*214013 + 2531011,
// each draw the bits 16-30 of the new state (0..32767). Only the low 16 bits
// of the seed count, taken as a signed value.
class RandomGenerator {
public:
    explicit RandomGenerator(std::int32_t seed);
    int Next();

private:
    std::uint32_t state_;
};

// Number of fault lines a FaultCount asks for: its low 16 bits as a signed
// value, none when that is 0 or below.
int FaultLineCount(std::int32_t faultCount);

// sin(2*i*pi/N) for i = 0 .. N-1; every index into the table is taken modulo N.
std::vector<double> SineTable(int n);

// One fault line, drawn from the generator: the great circle's tangent of
// inclination, its start column and the mark (+1 or -1) it leaves.
struct FaultLine {
    double TanB = 0.0;
    std::int32_t Xsi = 0;
    std::int32_t Delta = 0;
};

// Draws every fault line in sequence from the seeded generator.
std::vector<FaultLine> DrawFaultLines(std::int32_t seed, std::int32_t faultCount, int n);

// Adds the marks of all fault lines (left half of the map, plus row 0 of the
// column after it where a line passes a pole) to cells, which holds N*M
// values. The lines are split over `threads` threads, each with its own mark
// buffer; the result is the same for any thread count.
void MarkFaultLines(const MapParameters& p, const std::vector<double>& sines, std::int32_t* cells,
                    unsigned threads);

// The same marks computed the plain way: one thread, each line's draws taken
// right before its marks. Kept as the reference for the threaded version.
void MarkFaultLinesPlain(const MapParameters& p, const std::vector<double>& sines, std::int32_t* cells);

// Thread count CreateMap uses: enough work per thread to pay for starting it,
// never more than the machine's hardware threads.
unsigned DefaultThreadCount(const MapParameters& p);

// Copies the left half, turned by 180 degrees, onto the right half:
// cell (x + N/2, M - y) = cell (x, y) for x < N/2, 1 <= y < M.
void MirrorMarks(std::int32_t* cells, int n, int m);

// Replaces each cell from row 1 down by the running sum of its column.
void AccumulateRelief(std::int32_t* cells, int n, int m);

// Water level and shade classes (1-31) from the relief, in place.
void ShadeClasses(std::int32_t* cells, int n, int m, std::int32_t waterPercent);

// Frozen cells of the two polar passes.
struct IceCounts {
    std::int64_t North = 0;
    std::int64_t South = 0;
};

// Covers both poles with ice (classes 32-48) to the requested share, in place.
IceCounts FreezePoles(std::int32_t* classes, int n, int m, std::int32_t icePercent);

// Replaces each shade class by its colour value.
void ApplyColours(std::int32_t* cells, std::int64_t count);

// How the fault lines are marked: the plain reference, or split over threads.
enum class FaultMarking { Plain, Threaded };

// The whole computation into `cells` (N*M values). Returns false, leaving
// cells untouched, when the size is unusable or memory runs short. `threads`
// counts only for FaultMarking::Threaded (0 means DefaultThreadCount).
bool GenerateMap(const MapParameters& p, std::int32_t* cells, FaultMarking marking,
                 unsigned threads = 0);

}  // namespace orbiscarta
