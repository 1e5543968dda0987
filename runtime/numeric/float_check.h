#pragma once
// Tested floating point for model code.
//
// The models write their formulas as double arithmetic on rt::Checked
// values. Every operation on a Checked value is done as written, correctly
// rounded, and notes the IEEE faults it meets (overflow, division by zero,
// invalid operation) in a sticky status that the program keeps itself, one
// per thread. A model clears the status when it starts a step and calls
// checkFloatStatus() after each line (or phase) whose result must be sound;
// a fault that was noted raises the matching RuntimeError, so a diverging
// motion stops with an error instead of drawing garbage.
//
// The faults are the ones an x86-64 processor's status flags report for the
// same operations, decided from the operands and the result alone, so every
// build (including those for machines without status flags) stops at the
// same line with the same error:
//   overflow          finite operands, an infinite result (not x / 0)
//   division by zero  a finite non-zero number divided by zero
//   invalid           a result that is not a number made from operands that
//                     are numbers (inf - inf, 0 * inf, 0 / 0, inf / inf, the
//                     square root of a negative number); an ordered
//                     comparison (<, <=, >, >=) with a NaN operand; any
//                     operation on a signalling NaN
// A quiet NaN operand raises nothing: it was already reported where it was
// made. Underflow and inexact results are not faults.
//
// The sound case costs one test of the result: the operands are looked at
// only when the result is not finite.
//
// Plain double arithmetic is not tested at all: the type keeps its value
// only as long as it is written as Checked (sqrt included: rt::sqrt, not
// std::sqrt).

#include <cmath>
#include <concepts>
#include <type_traits>

namespace rt {

// Raised faults as bits; several can be raised before a check.
using FloatFaults = unsigned;
constexpr FloatFaults kFloatOverflow = 1;
constexpr FloatFaults kFloatDivisionByZero = 2;
constexpr FloatFaults kFloatInvalid = 4;

namespace detail {
inline thread_local FloatFaults floatStatus = 0;

// The faults of a result that is not finite, or of a comparison with a NaN.
FloatFaults sumFaults(double a, double b, double result) noexcept;  // a + b, or a - b as a + (-b)
FloatFaults productFaults(double a, double b, double result) noexcept;
FloatFaults quotientFaults(double a, double b, double result) noexcept;
FloatFaults squareRootFaults(double a, double result) noexcept;
FloatFaults comparisonFaults(double a, double b, bool ordered) noexcept;
}  // namespace detail

// Clears the overflow, division-by-zero and invalid-operation faults.
inline void clearFloatStatus() noexcept { detail::floatStatus = 0; }

// The faults raised since the last clear.
inline FloatFaults floatStatus() noexcept { return detail::floatStatus; }

// Adds faults found by other means (a whole phase's results classified at
// once) to the status.
inline void raiseFloatFaults(FloatFaults faults) noexcept { detail::floatStatus |= faults; }

// Throws RuntimeError if any fault is raised (invalid operation first, then
// division by zero, then overflow), after clearing them.
void checkFloatStatus();

// The error checkFloatStatus() raises for these faults: 16, 11 or 6, or 0
// for none.
int floatFaultError(FloatFaults faults) noexcept;

// A double whose arithmetic is tested. It converts to and from double
// freely, so formulas read as they are written: one Checked operand makes
// the operation (and the rest of the expression built on it) tested.
class Checked {
public:
    constexpr Checked(double value) noexcept : m_value(value) {}
    constexpr operator double() const noexcept { return m_value; }

private:
    double m_value;
};

// Numbers that mix with Checked: any arithmetic type, exactly matched, so
// the tested operator wins over the built-in one.
template <typename T>
concept Number = std::is_arithmetic_v<T> && !std::same_as<T, bool>;

namespace detail {

inline Checked noteIfNotFinite(Checked result, FloatFaults (*classify)(double, double, double) noexcept,
                               double a, double b) noexcept
{
    if (!std::isfinite(static_cast<double>(result))) [[unlikely]]
        floatStatus |= classify(a, b, result);
    return result;
}

inline bool compared(bool result, double a, double b, bool ordered) noexcept
{
    if (std::isnan(a) || std::isnan(b)) [[unlikely]]
        floatStatus |= comparisonFaults(a, b, ordered);
    return result;
}

}  // namespace detail

inline Checked operator+(Checked a, Checked b) noexcept
{
    return detail::noteIfNotFinite(double(a) + double(b), detail::sumFaults, a, b);
}
inline Checked operator-(Checked a, Checked b) noexcept
{
    return detail::noteIfNotFinite(double(a) - double(b), detail::sumFaults, a, -double(b));
}
inline Checked operator*(Checked a, Checked b) noexcept
{
    return detail::noteIfNotFinite(double(a) * double(b), detail::productFaults, a, b);
}
inline Checked operator/(Checked a, Checked b) noexcept
{
    return detail::noteIfNotFinite(double(a) / double(b), detail::quotientFaults, a, b);
}
// A change of sign touches only the sign bit and raises nothing.
inline Checked operator-(Checked a) noexcept { return -double(a); }

inline Checked sqrt(Checked a) noexcept
{
    const double result = std::sqrt(double(a));
    if (!std::isfinite(result)) [[unlikely]]
        detail::floatStatus |= detail::squareRootFaults(a, result);
    return result;
}

inline bool operator<(Checked a, Checked b) noexcept
{
    return detail::compared(double(a) < double(b), a, b, true);
}
inline bool operator<=(Checked a, Checked b) noexcept
{
    return detail::compared(double(a) <= double(b), a, b, true);
}
inline bool operator>(Checked a, Checked b) noexcept
{
    return detail::compared(double(a) > double(b), a, b, true);
}
inline bool operator>=(Checked a, Checked b) noexcept
{
    return detail::compared(double(a) >= double(b), a, b, true);
}
inline bool operator==(Checked a, Checked b) noexcept
{
    return detail::compared(double(a) == double(b), a, b, false);
}

// The same with a plain number on either side.
#define SPRINGLAB_CHECKED_MIXED(op, R)                                                   \
    template <Number T>                                                                  \
    inline R operator op(Checked a, T b) noexcept { return a op Checked(double(b)); }    \
    template <Number T>                                                                  \
    inline R operator op(T a, Checked b) noexcept { return Checked(double(a)) op b; }
SPRINGLAB_CHECKED_MIXED(+, Checked)
SPRINGLAB_CHECKED_MIXED(-, Checked)
SPRINGLAB_CHECKED_MIXED(*, Checked)
SPRINGLAB_CHECKED_MIXED(/, Checked)
SPRINGLAB_CHECKED_MIXED(<, bool)
SPRINGLAB_CHECKED_MIXED(<=, bool)
SPRINGLAB_CHECKED_MIXED(>, bool)
SPRINGLAB_CHECKED_MIXED(>=, bool)
SPRINGLAB_CHECKED_MIXED(==, bool)
#undef SPRINGLAB_CHECKED_MIXED

}  // namespace rt
