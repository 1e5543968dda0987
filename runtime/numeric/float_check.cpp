#include "runtime/numeric/float_check.h"

#include "runtime/numeric/runtime_error.h"

#include <cstdint>
#include <cstring>

namespace rt {

namespace {

// A NaN whose quiet bit (the top bit of the fraction) is clear: the
// processor reports any operation on it as invalid. Every NaN the program
// makes itself is quiet.
bool signalling(double x) noexcept
{
    if (!std::isnan(x))
        return false;
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return (bits & (std::uint64_t{1} << 51)) == 0;
}

// The faults common to every operation: a signalling operand, or a NaN
// made from numbers.
FloatFaults invalidFaults(double a, double b, double result) noexcept
{
    if (signalling(a) || signalling(b))
        return kFloatInvalid;
    if (std::isnan(result) && !std::isnan(a) && !std::isnan(b))
        return kFloatInvalid;
    return 0;
}

}  // namespace

namespace detail {

FloatFaults sumFaults(double a, double b, double result) noexcept
{
    if (std::isinf(result) && std::isfinite(a) && std::isfinite(b))
        return kFloatOverflow;
    return invalidFaults(a, b, result);  // inf + (-inf)
}

FloatFaults productFaults(double a, double b, double result) noexcept
{
    if (std::isinf(result) && std::isfinite(a) && std::isfinite(b))
        return kFloatOverflow;
    return invalidFaults(a, b, result);  // 0 * inf
}

FloatFaults quotientFaults(double a, double b, double result) noexcept
{
    if (std::isinf(result) && std::isfinite(a) && std::isfinite(b))
        return b == 0 ? kFloatDivisionByZero : kFloatOverflow;
    return invalidFaults(a, b, result);  // 0 / 0, inf / inf; inf / 0 is inf and sound
}

FloatFaults squareRootFaults(double a, double result) noexcept
{
    return invalidFaults(a, 0, result);  // a negative number, -inf included
}

FloatFaults comparisonFaults(double a, double b, bool ordered) noexcept
{
    if (ordered && (std::isnan(a) || std::isnan(b)))
        return kFloatInvalid;
    return signalling(a) || signalling(b) ? kFloatInvalid : 0;
}

}  // namespace detail

int floatFaultError(FloatFaults faults) noexcept
{
    if (faults & kFloatInvalid)
        return static_cast<int>(ErrorNumber::InvalidOperation);
    if (faults & kFloatDivisionByZero)
        return static_cast<int>(ErrorNumber::DivisionByZero);
    if (faults & kFloatOverflow)
        return static_cast<int>(ErrorNumber::Overflow);
    return 0;
}

void checkFloatStatus()
{
    const FloatFaults raised = detail::floatStatus;
    if (raised == 0)
        return;
    detail::floatStatus = 0;
    throw RuntimeError(static_cast<ErrorNumber>(floatFaultError(raised)));
}

}  // namespace rt
