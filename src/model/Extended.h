#pragma once
// Conversion between double and the 80-bit extended-precision format used for
// floating-point values in map files (64-bit mantissa with explicit integer
// bit, 15-bit exponent biased by 16383, sign; little-endian, 10 bytes).
// Done on bit fields so it does not depend on the compiler's long double.

#include <array>
#include <cstdint>

namespace hexlane {

using Extended80 = std::array<std::uint8_t, 10>;

// Exact: every double has an extended representation.
Extended80 DoubleToExtended(double value);

// Rounds to nearest, ties to even; values beyond the double range become
// infinities, tiny ones subnormals or zero.
double ExtendedToDouble(const std::uint8_t* bytes);

}  // namespace hexlane
