#pragma once
// Checked conversions used wherever a double leaves the models: integer
// properties (timer intervals, node counts) and drawing coordinates.

#include <cstdint>

namespace rt {

// Rounded to the nearest integer, ties to even (10.5 -> 10, 11.5 -> 12).
// Outside the target range, or not a number: the overflow error.
std::int16_t ToInt16(double value);
std::int32_t ToInt32(double value);

// A timer interval in milliseconds as a timer accepts it: 0 to 65535, any
// other value the invalid-property-value error. Headless runs check the
// timer box with it exactly as the window's timer does.
std::int32_t CheckedInterval(std::int32_t milliseconds);

// Rounded to the nearest single. A finite value beyond the range of a single
// is the overflow error; a NaN is the invalid-operation error.
float ToSingle(double value);

}  // namespace rt
