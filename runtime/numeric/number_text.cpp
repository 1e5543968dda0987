#include "runtime/numeric/number_text.h"

#include <fast_float/fast_float.h>

#define FMT_HEADER_ONLY
#include <fmt/format.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

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

void appendDigits(std::string& out, std::uint64_t digits)
{
    char buffer[24];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, digits);
    out.append(buffer, r.ptr);
}

template <class Number>
void append(std::string& out, Number v)
{
    if (std::signbit(v))
        out.push_back('-');
    if (std::isnan(v)) {
        out.append("nan");
        return;
    }
    if (std::isinf(v)) {
        out.append("inf");
        return;
    }
    if (v == 0) {
        out.push_back('0');
        return;
    }
    const auto decimal = fmt::detail::dragonbox::to_decimal(std::fabs(v));
    std::string digits;
    appendDigits(digits, decimal.significand);
    const int count = static_cast<int>(digits.size());
    // The value is 0.d1d2...dn times 10^point.
    const int point = count + decimal.exponent;
    const int exponent = point - 1;
    const int exponentWidth = std::abs(exponent) >= 100 ? 3 : 2;
    const int scientificLength = count + (count > 1 ? 1 : 0) + 2 + exponentWidth;
    const int fixedLength = point >= count ? point                       // 1230
                            : point > 0    ? count + 1                   // 12.3
                                           : 2 + (-point) + count;       // 0.0123
    if (fixedLength <= scientificLength) {
        if (point >= count) {
            // A whole number: its exact digits, not the shortest ones padded
            // with zeros (1.2345678901234568e20 is 123456789012345677877).
            fmt::format_to(std::back_inserter(out), "{:.0f}", static_cast<double>(std::fabs(v)));
        } else if (point > 0) {
            out.append(digits, 0, static_cast<std::size_t>(point));
            out.push_back('.');
            out.append(digits, static_cast<std::size_t>(point));
        } else {
            out.append("0.");
            out.append(static_cast<std::size_t>(-point), '0');
            out.append(digits);
        }
        return;
    }
    out.push_back(digits[0]);
    if (count > 1) {
        out.push_back('.');
        out.append(digits, 1);
    }
    out.push_back('e');
    out.push_back(exponent < 0 ? '-' : '+');
    const int magnitude = std::abs(exponent);
    if (magnitude < 10)
        out.push_back('0');
    appendDigits(out, static_cast<std::uint64_t>(magnitude));
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

void appendShortest(std::string& out, double v) { append(out, v); }

void appendShortest(std::string& out, float v) { append(out, v); }

std::string shortestText(double v)
{
    std::string out;
    append(out, v);
    return out;
}

}  // namespace rt
