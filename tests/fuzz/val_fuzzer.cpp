// Any text may be typed or pasted into a parameter box. Val must either give
// a finite number or raise the overflow error, and the conversions that
// follow it must either give a value within half a unit of the number or
// raise their error: never crash, hang or read out of bounds.

#include "runtime/numeric/convert.h"
#include "runtime/numeric/runtime_error.h"
#include "runtime/numeric/val.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

template <typename Convert>
void convertChecked(double value, Convert convert)
{
    try {
        const double converted = static_cast<double>(convert(value));
        require(std::fabs(converted - value) <= 0.5);
    } catch (const rt::RuntimeError& e) {
        require(e.number() == rt::ErrorNumber::Overflow);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    double value = 0;
    try {
        value = rt::Val(text);
    } catch (const rt::RuntimeError& e) {
        require(e.number() == rt::ErrorNumber::Overflow);
        return 0;
    }
    require(std::isfinite(value));
    convertChecked(value, rt::ToInt16);
    convertChecked(value, rt::ToInt32);
    try {
        const float single = rt::ToSingle(value);
        require(std::isfinite(single));
    } catch (const rt::RuntimeError& e) {
        require(e.number() == rt::ErrorNumber::Overflow);
        require(std::fabs(value) > 3.4e38);
    }
    return 0;
}
