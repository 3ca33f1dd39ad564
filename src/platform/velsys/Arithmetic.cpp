#include "platform/velsys/Arithmetic.h"

#include <climits>
#include <cmath>

namespace VelSys {

int iround(double value) {
    if (std::isnan(value)) return 0;
    const double r = std::round(value);
    if (r >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (r <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(r);
}

int muldiv(int a, int b, int c) {
    if (c == 0) return 0;
    const std::int64_t num = static_cast<std::int64_t>(a) * b;
    std::int64_t q = num / c;
    const std::int64_t rem = num % c;
    // Round halves away from zero: |2 rem| >= |c|.
    const std::int64_t twiceRem = rem < 0 ? -2 * rem : 2 * rem;
    const std::int64_t absC = c < 0 ? -static_cast<std::int64_t>(c) : c;
    if (twiceRem >= absC) q += ((num < 0) != (c < 0)) ? -1 : 1;
    if (q > INT_MAX) return INT_MAX;
    if (q < INT_MIN) return INT_MIN;
    return static_cast<int>(q);
}

double dis(int x1, int y1, int x2, int y2) {
    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    return std::sqrt(dx * dx + dy * dy);
}

std::optional<std::int64_t> checkedMul(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (a < 0 || b < 0 || __builtin_mul_overflow(a, b, &r)) return std::nullopt;
    return r;
}

std::optional<std::int64_t> checkedAdd(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (a < 0 || b < 0 || __builtin_add_overflow(a, b, &r)) return std::nullopt;
    return r;
}

}  // namespace VelSys
