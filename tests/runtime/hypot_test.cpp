// rt::hypot gives the same bits everywhere and, on the desktop's C library
// (glibc 2.35 or later), exactly what std::hypot gave the quantities there.

#include "runtime/numeric/hypot.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace {

std::uint64_t bits(double v) { return std::bit_cast<std::uint64_t>(v); }

struct HypotCase {
    const char* name;
    double x;
    double y;
    double length;
};

class HypotTable : public testing::TestWithParam<HypotCase> {};

TEST_P(HypotTable, GivesThePinnedBits)
{
    const HypotCase& c = GetParam();
    EXPECT_EQ(bits(rt::hypot(c.x, c.y)), bits(c.length)) << rt::hypot(c.x, c.y);
    EXPECT_EQ(bits(rt::hypot(-c.y, c.x)), bits(c.length));
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Lengths, HypotTable, testing::Values(
    HypotCase{"ThreeFourFive", 3, 4, 5},
    HypotCase{"NotCorrectlyRoundedAsTheDesktop", 3525, 2025, 4065.2490698602955},
    HypotCase{"BothZero", 0, -0.0, 0},
    HypotCase{"OneSideZero", 0, -7, 7},
    HypotCase{"HugeWithoutOverflow", 1e308, 1e308, 1.4142135623730951e308},
    HypotCase{"Overflow", 1.7976931348623157e308, 1.7976931348623157e308, kInf},
    HypotCase{"SubnormalsWithoutUnderflow", 3e-310, 4e-310, 4.9999999999999847e-310},
    HypotCase{"SmallestSubnormal", 5e-324, 5e-324, 5e-324},
    HypotCase{"FarApartScaled", 0x1p600, 0x1p560, 4.149515568880993e+180},
    HypotCase{"SmallSideTooSmallToCount", 1.5, 0x1p-60, 1.5},
    HypotCase{"InfinityBeatsNaN", std::numeric_limits<double>::quiet_NaN(), -kInf, kInf}),
    [](const testing::TestParamInfo<HypotCase>& info) { return std::string(info.param.name); });

TEST(Hypot, NaNGivesNaN) { EXPECT_TRUE(std::isnan(rt::hypot(std::numeric_limits<double>::quiet_NaN(), 1))); }

#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 35))
// Pairs of every kind: twips on the window, any bit patterns, sides far
// apart in size, subnormals.
TEST(Hypot, SameBitsAsTheDesktopLibrary)
{
    std::mt19937_64 random(1207);
    auto check = [](double x, double y) { ASSERT_EQ(bits(rt::hypot(x, y)), bits(std::hypot(x, y))) << x << ", " << y; };
    for (int i = 0; i < 1'000'000; ++i) {
        check(static_cast<double>(random() % 20000) - 10000.0, static_cast<double>(random() % 20000) - 10000.0);
        check(std::bit_cast<double>(random()), std::bit_cast<double>(random()));
        check(std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 40) - 63),
              std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 40) - 63));
        check(std::bit_cast<double>(random()), std::ldexp(std::bit_cast<double>(random() >> 2),
                                                          -static_cast<int>(random() % 1000)));
    }
}
#endif

}  // namespace
