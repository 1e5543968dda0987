// Reading numbers from parameter boxes and the checked conversions.

#include "convert.h"
#include "float_check.h"
#include "runtime_error.h"
#include "val.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using rt::ErrorNumber;

struct ValRow {
    const char* name;
    std::string text;
    double expected;
};

class ValReads : public ::testing::TestWithParam<ValRow> {};

TEST_P(ValReads, Number)
{
    const ValRow& row = GetParam();
    const double value = rt::Val(row.text);
    EXPECT_EQ(value, row.expected) << "text: \"" << row.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Val, ValReads,
    ::testing::Values(
        ValRow{"integer", "200", 200}, ValRow{"decimal", "0.002", 0.002},
        ValRow{"leading_point", ".5", 0.5}, ValRow{"plus_sign", "+.5", 0.5},
        ValRow{"trailing_point", "5.", 5}, ValRow{"negative", "-12.25", -12.25},
        ValRow{"empty", "", 0}, ValRow{"blanks_only", "  \t\n ", 0},
        ValRow{"letters", "abc", 0}, ValRow{"sign_only", "-", 0},
        ValRow{"double_sign", "--5", 0}, ValRow{"stops_at_comma", "1,5", 1},
        ValRow{"stops_at_second_point", "1.2.3", 1.2}, ValRow{"stops_at_letter", "12abc", 12},
        ValRow{"leading_blanks", "   42", 42}, ValRow{"blanks_inside", "1 2 . 5", 12.5},
        ValRow{"tab_and_line_feed_inside", "1\t0\n0", 100}, ValRow{"blank_after_sign", "- 7", -7},
        ValRow{"exponent", "1.5e3", 1500}, ValRow{"exponent_upper", "2E-2", 0.02},
        ValRow{"exponent_plus", "3e+2", 300}, ValRow{"exponent_d", "1d3", 1000},
        ValRow{"exponent_blanks", "1 e 2", 100}, ValRow{"exponent_without_digits", "7e", 7},
        ValRow{"exponent_sign_only", "7e-", 7}, ValRow{"largest_double", "1.7976931348623157e308",
                                                         std::numeric_limits<double>::max()},
        ValRow{"below_smallest", "1e-400", 0}, ValRow{"subnormal", "4.9e-324", 4.9e-324},
        ValRow{"hex", "&H10", 16}, ValRow{"hex_lower", "&hff", 255},
        ValRow{"hex_16bit_wraps", "&HFFFF", -1}, ValRow{"hex_16bit_min", "&H8000", -32768},
        ValRow{"hex_32bit", "&H10000", 65536}, ValRow{"hex_32bit_wraps", "&HFFFFFFFF", -1},
        ValRow{"hex_no_digits", "&H", 0}, ValRow{"hex_stops", "&H1G", 1},
        ValRow{"octal", "&O777", 511}, ValRow{"octal_stops_at_8", "&O78", 7},
        ValRow{"ampersand_alone", "&", 0}, ValRow{"full_width_digits", "１０", 0},
        ValRow{"minus_zero", "-0", -0.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Val, LongNumberIsReadWhole)
{
    const std::string text = "1" + std::string(100000, '0');
    EXPECT_THROW(rt::Val(text), rt::RuntimeError);
    const std::string small = "0." + std::string(100000, '0') + "1";
    EXPECT_EQ(rt::Val(small), 0.0);
    const std::string digits = std::string(300, '9') + "e-300";
    EXPECT_DOUBLE_EQ(rt::Val(digits), 1.0);
}

struct OverflowRow {
    const char* name;
    std::string text;
};

class ValOverflows : public ::testing::TestWithParam<OverflowRow> {};

TEST_P(ValOverflows, RaisesOverflow)
{
    try {
        rt::Val(GetParam().text);
        FAIL() << "no error for " << GetParam().text;
    } catch (const rt::RuntimeError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::Overflow);
    }
}

INSTANTIATE_TEST_SUITE_P(Val, ValOverflows,
                         ::testing::Values(OverflowRow{"beyond_double", "1e309"},
                                           OverflowRow{"beyond_double_negative", "-1e309"},
                                           OverflowRow{"fraction_beyond_double", "0.5e310"},
                                           OverflowRow{"huge_exponent", "1e99999999999999999999"},
                                           OverflowRow{"hex_beyond_32_bits", "&H100000000"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RoundRow {
    const char* name;
    double value;
    long expected;  // or kOverflow
};
constexpr long kOverflow = std::numeric_limits<long>::min();

class Int16Rounding : public ::testing::TestWithParam<RoundRow> {};
class Int32Rounding : public ::testing::TestWithParam<RoundRow> {};

template <typename Convert>
void checkRounding(const RoundRow& row, Convert convert)
{
    if (row.expected == kOverflow) {
        try {
            convert(row.value);
            FAIL() << "no overflow for " << row.value;
        } catch (const rt::RuntimeError& e) {
            EXPECT_EQ(e.number(), ErrorNumber::Overflow);
        }
    } else {
        EXPECT_EQ(static_cast<long>(convert(row.value)), row.expected);
    }
}

TEST_P(Int16Rounding, TiesToEven) { checkRounding(GetParam(), rt::ToInt16); }
TEST_P(Int32Rounding, TiesToEven) { checkRounding(GetParam(), rt::ToInt32); }

INSTANTIATE_TEST_SUITE_P(
    Convert, Int16Rounding,
    ::testing::Values(RoundRow{"tie_down", 10.5, 10}, RoundRow{"tie_up", 11.5, 12},
                      RoundRow{"below_half", 2.49, 2}, RoundRow{"negative_tie", -2.5, -2},
                      RoundRow{"min_tie", -32768.5, -32768}, RoundRow{"max", 32767.4, 32767},
                      RoundRow{"max_tie_overflows", 32767.5, kOverflow},
                      RoundRow{"below_min", -32769, kOverflow},
                      RoundRow{"nan", std::nan(""), kOverflow}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Convert, Int32Rounding,
    ::testing::Values(RoundRow{"tie_down", 10.5, 10}, RoundRow{"tie_up", 11.5, 12},
                      RoundRow{"beyond_int16", 70000.0, 70000},
                      RoundRow{"max", 2147483647.0, 2147483647},
                      RoundRow{"max_tie_overflows", 2147483647.5, kOverflow},
                      RoundRow{"min_tie", -2147483648.5, -2147483648L},
                      RoundRow{"huge", 1e300, kOverflow}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToSingle, RoundsToNearestAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(rt::ToSingle(807.984), 807.984f);
    EXPECT_EQ(rt::ToSingle(0.1), 0.1f);
    EXPECT_EQ(rt::ToSingle(3.4028234663852886e38), std::numeric_limits<float>::max());
    EXPECT_THROW(rt::ToSingle(3.5e38), rt::RuntimeError);
    EXPECT_THROW(rt::ToSingle(-1e300), rt::RuntimeError);
    EXPECT_THROW(rt::ToSingle(std::nan("")), rt::RuntimeError);
}

// Values the compiler cannot fold, so the operations happen at run time.
volatile double g_zero = 0.0;
volatile double g_one = 1.0;
volatile double g_huge = 1e308;

struct FloatRow {
    const char* name;
    double (*operation)();
    ErrorNumber expected;
};

class FloatStatus : public ::testing::TestWithParam<FloatRow> {};

TEST_P(FloatStatus, RaisesTheMatchingError)
{
    rt::clearFloatStatus();
    volatile double result = GetParam().operation();
    (void)result;
    try {
        rt::checkFloatStatus();
        FAIL() << "no error";
    } catch (const rt::RuntimeError& e) {
        EXPECT_EQ(e.number(), GetParam().expected);
    }
    // The flags are cleared with the report: the next check passes.
    EXPECT_NO_THROW(rt::checkFloatStatus());
}

INSTANTIATE_TEST_SUITE_P(
    Float, FloatStatus,
    ::testing::Values(
        FloatRow{"division_by_zero", [] { return g_one / g_zero; }, ErrorNumber::DivisionByZero},
        FloatRow{"zero_by_zero", [] { return g_zero / g_zero; }, ErrorNumber::InvalidOperation},
        FloatRow{"overflow", [] { return g_huge * 10.0; }, ErrorNumber::Overflow},
        FloatRow{"square_root_of_negative", [] { return std::sqrt(-g_one); },
                 ErrorNumber::InvalidOperation}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FloatStatus, SoundArithmeticPasses)
{
    rt::clearFloatStatus();
    volatile double x = g_one / 3.0 + 1e-320 * g_one;  // inexact and subnormal are not faults
    (void)x;
    EXPECT_NO_THROW(rt::checkFloatStatus());
}

}  // namespace
