#include "runtime/numeric/number_text.h"

#include <fast_float/fast_float.h>

#include <cmath>

namespace rt {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// fast_float rounds exactly as the desktop's library does (which is built on
// the same algorithm), but it hands back infinity for a number too large and
// zero for one too small, where from_chars calls both out of range and keeps
// the old value. The words inf and nan are numbers in their own right.
template <class Number>
std::from_chars_result read(const char* first, const char* last, Number& out)
{
    Number value = 0;
    const auto r = fast_float::from_chars(first, last, value);
    if (r.ec != std::errc())
        return {r.ptr, r.ec};
    const char* p = first;
    if (p != r.ptr && *p == '-')
        ++p;
    const bool word = p != r.ptr && !isDigit(*p) && *p != '.';
    if (!word) {
        if (std::isinf(value))
            return {r.ptr, std::errc::result_out_of_range};
        if (value == 0) {
            for (; p != r.ptr && *p != 'e' && *p != 'E'; ++p) {
                if (*p >= '1' && *p <= '9')
                    return {r.ptr, std::errc::result_out_of_range};
            }
        }
    }
    out = value;
    return {r.ptr, std::errc()};
}

}  // namespace

std::from_chars_result readNumber(const char* first, const char* last, double& out)
{
    return read(first, last, out);
}

std::from_chars_result readNumber(const char* first, const char* last, float& out)
{
    return read(first, last, out);
}

}  // namespace rt
