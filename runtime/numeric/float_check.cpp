#include "runtime/numeric/float_check.h"

#include "runtime/numeric/runtime_error.h"

#include <cfenv>

namespace rt {

namespace {
constexpr int kTested = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
}

void clearFloatStatus() noexcept { std::feclearexcept(kTested); }

void checkFloatStatus()
{
    const int raised = std::fetestexcept(kTested);
    if (raised == 0)
        return;
    std::feclearexcept(kTested);
    if (raised & FE_INVALID)
        throw RuntimeError(ErrorNumber::InvalidOperation);
    if (raised & FE_DIVBYZERO)
        throw RuntimeError(ErrorNumber::DivisionByZero);
    throw RuntimeError(ErrorNumber::Overflow);
}

}  // namespace rt
