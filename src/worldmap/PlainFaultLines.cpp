// The fault lines computed the plain way, one line after the other on one
// thread, each expression as the algorithm states it. The threaded version
// must give exactly these marks.

#include "worldmap/FractalMap.h"

#include <cmath>

namespace orbiscarta {

void MarkFaultLinesPlain(const MapParameters& p, const std::vector<double>& sines, std::int32_t* cells) {
    const int n = p.N;
    const int m = p.M;
    const double halfM = m / 2.0;
    const double scale = m / kPi;
    const std::int64_t lastIndex = std::int64_t{n} * m - 1;
    RandomGenerator random(p.Seed);
    const int count = FaultLineCount(p.FaultCount);
    for (int line = 0; line < count; ++line) {
        const int r1 = random.Next();
        const int r2 = random.Next();
        const int r3 = random.Next();
        const int r4 = random.Next();
        const int coin1 = static_cast<int>(std::trunc(r1 / 32767.0 + 0.5));
        const int coin2 = static_cast<int>(std::trunc(r2 / 32767.0 + 0.5));
        const double alpha = (r3 / 32767.0 - 0.5) * kPi;
        const double beta = (r4 / 32767.0 - 0.5) * kPi;
        const double tanB = std::tan(std::acos(std::cos(alpha) * std::cos(beta)));
        const int xsi = static_cast<int>(std::trunc(static_cast<double>(n / 2) - (n / kPi) * beta));
        for (int phi = 0; phi < n / 2; ++phi) {
            const int k = (((xsi - phi + n) % n) + n) % n;
            const double theta = std::trunc(std::trunc(std::atan(sines[k] * tanB) * scale) + halfM);
            const std::int64_t index = std::int64_t{phi} * m + static_cast<std::int64_t>(theta);
            if (index < 0 || index > lastIndex) continue;
            if (coin1 == coin2)
                cells[index] -= 1;
            else
                cells[index] += 1;
        }
    }
}

}  // namespace orbiscarta
