#include "LineRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace hexlane::render {

namespace {

using i64 = std::int64_t;

// num / den rounded to the nearest integer, halves away from zero (den > 0).
i64 RoundDiv(i64 num, i64 den) {
    i64 q = num / den, r = num % den;
    if (2 * std::llabs(r) >= den) q += num < 0 ? -1 : 1;
    return q;
}

struct Pattern {
    int count = 0;
    int segments[6] = {};  // on, off, on, off ... in pixels for a 1-pixel pen
};

Pattern PatternFor(LineStyle style) {
    switch (style) {
    case LineStyle::Solid: return {};
    case LineStyle::Dash: return {2, {18, 6}};
    case LineStyle::Dot: return {2, {3, 3}};
    case LineStyle::DashDot: return {4, {9, 6, 3, 6}};
    case LineStyle::DashDotDot: return {6, {9, 3, 3, 3, 3, 3}};
    }
    return {};
}

// First k in [lo, hi] for which pred holds, pred being false then true over
// the range; hi + 1 when it never holds.
template <class Pred>
i64 FirstTrue(i64 lo, i64 hi, Pred pred) {
    i64 a = lo, b = hi + 1;
    while (a < b) {
        const i64 mid = a + (b - a) / 2;
        if (pred(mid))
            b = mid;
        else
            a = mid + 1;
    }
    return a;
}

}  // namespace

LineStyle LineStyleFromType(int lineType) {
    switch (lineType) {
    case 1: return LineStyle::Dash;
    case 2: return LineStyle::Dot;
    case 3: return LineStyle::DashDot;
    case 4: return LineStyle::DashDotDot;
    default: return LineStyle::Solid;
    }
}

void DrawLine(PixelWindow& w, int x0, int y0, int x1, int y1, std::uint32_t colour, int width, LineStyle style) {
    if (w.Width <= 0 || w.Height <= 0 || !w.Bits) return;
    width = std::max(1, width);
    const i64 dx = i64(x1) - x0, dy = i64(y1) - y0;
    const i64 n = std::max(std::llabs(dx), std::llabs(dy));
    // No real picture is a thousand million pixels across; beyond that the
    // products below could overflow.
    if (n > (i64(1) << 30)) return;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const i64 a0 = xMajor ? x0 : y0, b0 = xMajor ? y0 : x0;
    const i64 da = xMajor ? dx : dy, db = xMajor ? dy : dx;
    const i64 sa = da < 0 ? -1 : 1;
    const double length = std::sqrt(double(dx) * double(dx) + double(dy) * double(dy));

    // Pixels across the line, measured along the minor axis, so that a
    // slanted line is as thick as a straight one.
    const i64 span = n == 0 ? width : std::max<i64>(1, std::llround(width * length / double(n)));
    const i64 lo = -(span - 1) / 2, hi = lo + span - 1;
    // A line of no length is a square of the pen's width.
    const i64 majorLo = n == 0 ? lo : 0, majorHi = n == 0 ? hi : 0;

    const i64 winA0 = xMajor ? w.OriginX : w.OriginY;
    const i64 winA1 = winA0 + (xMajor ? w.Width : w.Height) - 1;
    const i64 winB0 = xMajor ? w.OriginY : w.OriginX;
    const i64 winB1 = winB0 + (xMajor ? w.Height : w.Width) - 1;

    auto minorAt = [&](i64 k) { return n == 0 ? b0 : b0 + RoundDiv(k * db, n); };

    // Steps k = 0 .. n whose major coordinate a0 + sa·k lies in the window.
    i64 kFirst, kLast;
    if (sa > 0) {
        kFirst = winA0 - majorHi - a0;
        kLast = winA1 - majorLo - a0;
    } else {
        kFirst = a0 + majorLo - winA1;
        kLast = a0 + majorHi - winA0;
    }
    kFirst = std::max<i64>(kFirst, 0);
    kLast = std::min<i64>(kLast, n);
    if (kFirst > kLast) return;
    // ... and whose span across reaches the window (the minor coordinate
    // moves monotonically with k).
    if (db >= 0) {
        kFirst = FirstTrue(kFirst, kLast, [&](i64 k) { return minorAt(k) + hi >= winB0; });
        kLast = FirstTrue(kFirst, kLast, [&](i64 k) { return minorAt(k) + lo > winB1; }) - 1;
    } else {
        kFirst = FirstTrue(kFirst, kLast, [&](i64 k) { return minorAt(k) + lo <= winB1; });
        kLast = FirstTrue(kFirst, kLast, [&](i64 k) { return minorAt(k) + hi < winB0; }) - 1;
    }

    const Pattern pattern = PatternFor(style);
    i64 period = 0;
    for (int i = 0; i < pattern.count; ++i) period += i64(pattern.segments[i]) * width;

    auto plot = [&](i64 a, i64 b) {
        const i64 x = xMajor ? a : b, y = xMajor ? b : a;
        if (x < w.OriginX || y < w.OriginY || x >= i64(w.OriginX) + w.Width || y >= i64(w.OriginY) + w.Height) return;
        w.Bits[(y - w.OriginY) * w.Stride + (x - w.OriginX)] = colour;
    };

    for (i64 k = kFirst; k <= kLast; ++k) {
        if (period > 0 && n > 0) {
            // Distance from the start along the line decides dash or gap.
            i64 pos = static_cast<i64>(std::floor(double(k) * length / double(n))) % period;
            bool on = true;
            for (int i = 0; i < pattern.count; ++i) {
                const i64 seg = i64(pattern.segments[i]) * width;
                if (pos < seg) {
                    on = i % 2 == 0;
                    break;
                }
                pos -= seg;
            }
            if (!on) continue;
        }
        const i64 a = a0 + sa * k, b = minorAt(k);
        for (i64 ma = majorLo; ma <= majorHi; ++ma)
            for (i64 o = lo; o <= hi; ++o) plot(a + ma, b + o);
    }
}

}  // namespace hexlane::render
