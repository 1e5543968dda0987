#include "runtime/numeric/convert.h"

#include "runtime/numeric/runtime_error.h"

#include <cmath>
#include <limits>

namespace rt {
namespace {

template <typename Int>
Int roundChecked(double value)
{
    // nearbyint honours the default rounding mode, round-to-nearest-even,
    // and raises no inexact flag.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min())
          && rounded <= static_cast<double>(std::numeric_limits<Int>::max())))
        throw RuntimeError(ErrorNumber::Overflow);
    return static_cast<Int>(rounded);
}

}  // namespace

std::int16_t ToInt16(double value) { return roundChecked<std::int16_t>(value); }

std::int32_t ToInt32(double value) { return roundChecked<std::int32_t>(value); }

std::int32_t CheckedInterval(std::int32_t milliseconds)
{
    if (milliseconds < 0 || milliseconds > 65535)
        throw RuntimeError(ErrorNumber::InvalidPropertyValue);
    return milliseconds;
}

float ToSingle(double value)
{
    if (std::isnan(value))
        throw RuntimeError(ErrorNumber::InvalidOperation);
    const float single = static_cast<float>(value);
    if (std::isinf(single))
        throw RuntimeError(ErrorNumber::Overflow);
    return single;
}

}  // namespace rt
