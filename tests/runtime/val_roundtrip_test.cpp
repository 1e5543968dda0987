// Whatever double a teacher types, Val gives back exactly that double: the
// shortest text that round-trips, in plain and exponent form, also with
// blanks, tabs and line feeds sprinkled through it.

#include "runtime/numeric/val.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace {

std::string shortest(double value, std::chars_format format)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format);
    return std::string(buffer, result.ptr);
}

std::string sprinkled(const std::string& text, std::mt19937_64& random)
{
    static const char blanks[] = {' ', '\t', '\n'};
    std::string out;
    for (char c : text) {
        if (random() % 3 == 0)
            out += blanks[random() % 3];
        out += c;
    }
    return out;
}

// Every bit pattern is equally likely, so all exponents, subnormals and
// both zeros come up; NaN and infinity are no numbers a box can hold.
double randomDouble(std::mt19937_64& random)
{
    for (;;) {
        const double value = std::bit_cast<double>(random());
        if (std::isfinite(value))
            return value;
    }
}

TEST(ValRoundTrip, ShortestTextGivesTheSameDouble)
{
    std::mt19937_64 random(20261207);
    for (int i = 0; i < 200'000; ++i) {
        const double value = i < 4 ? std::array{0.0, -0.0, 5e-324, 1.7976931348623157e308}[i]
                                   : randomDouble(random);
        for (const auto format : {std::chars_format::general, std::chars_format::scientific}) {
            const std::string text = shortest(value, format);
            ASSERT_EQ(std::bit_cast<std::uint64_t>(rt::Val(text)), std::bit_cast<std::uint64_t>(value))
                << text;
            const std::string blanked = sprinkled(text, random);
            ASSERT_EQ(std::bit_cast<std::uint64_t>(rt::Val(blanked)), std::bit_cast<std::uint64_t>(value))
                << '"' << blanked << '"';
        }
    }
}

}  // namespace
