#pragma once
// Integer helpers of the system library, and the checked size arithmetic the
// library uses for every count, offset and size that comes from a file.

#include <cstdint>
#include <optional>

namespace VelSys {

// Nearest integer, halves away from zero; saturates to the int32 range and
// maps NaN to 0.
int iround(double value);

// a * b / c with a 64-bit intermediate, rounded to nearest (halves away from
// zero), saturated to int32. A zero divisor gives 0: callers avoid it.
int muldiv(int a, int b, int c);

// Distance between two points, in double.
double dis(int x1, int y1, int x2, int y2);

// Checked 64-bit arithmetic: empty on overflow or on a negative operand.
std::optional<std::int64_t> checkedMul(std::int64_t a, std::int64_t b);
std::optional<std::int64_t> checkedAdd(std::int64_t a, std::int64_t b);

// The largest single buffer the library allocates for decoded image data.
// A size above it is treated like a failed allocation ("OUT OF MEMORY").
inline constexpr std::int64_t kMaxAllocation = std::int64_t{1} << 31;

}  // namespace VelSys
