#include "runtime/numeric/hypot.h"

#include <cmath>

namespace rt {
namespace {

constexpr double kScale = 0x1p-600;
constexpr double kLarge = 0x1p+511;  // above it the squares could overflow
constexpr double kTiny = 0x1p-511;   // below it they could underflow
constexpr double kEpsilon = 0x1p-54; // a smaller side does not change the sum

// ax >= ay > 0, both well inside the range: the rounded square root,
// corrected by one step that takes in the rounding errors of the squares
// and of the sum (the branch keeps each term exact enough).
double corrected(double ax, double ay)
{
    double h = std::sqrt(ax * ax + ay * ay);
    double t1 = 0;
    double t2 = 0;
    if (h <= 2.0 * ay) {
        const double delta = h - ay;
        t1 = ax * (2.0 * delta - ax);
        t2 = (delta - 2.0 * (ax - ay)) * delta;
    } else {
        const double delta = h - ax;
        t1 = 2.0 * delta * (ax - 2.0 * ay);
        t2 = (4.0 * delta - ay) * ay + delta * delta;
    }
    h -= (t1 + t2) / (2.0 * h);
    return h;
}

}  // namespace

double hypot(double x, double y)
{
    if (!std::isfinite(x) || !std::isfinite(y)) {
        if (std::isinf(x) || std::isinf(y))
            return INFINITY;
        return x + y;
    }
    x = std::fabs(x);
    y = std::fabs(y);
    const double ax = x < y ? y : x;
    const double ay = x < y ? x : y;
    if (ax > kLarge) {
        if (ay <= ax * kEpsilon)
            return ax + ay;
        return corrected(ax * kScale, ay * kScale) / kScale;
    }
    if (ay < kTiny) {
        if (ax >= ay / kEpsilon)
            return ax + ay;
        return corrected(ax / kScale, ay / kScale) * kScale;
    }
    if (ay <= ax * kEpsilon)
        return ax + ay;
    return corrected(ax, ay);
}

}  // namespace rt
