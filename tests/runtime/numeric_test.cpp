// Reading numbers from parameter boxes and the checked conversions.

#include "runtime/numeric/convert.h"
#include "runtime/numeric/float_check.h"
#include "runtime/numeric/runtime_error.h"
#include "runtime/numeric/val.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace {

using rt::ErrorNumber;
constexpr std::nullopt_t kOverflow = std::nullopt;

// The value a conversion gives, or nothing when it raises the overflow error.
template <typename F>
std::optional<double> valueOrOverflow(F convert)
{
    try {
        return convert();
    } catch (const rt::RuntimeError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::Overflow);
        return kOverflow;
    }
}

struct ValRow {
    const char* name;
    std::string text;
    std::optional<double> expected;
};

class ValReads : public ::testing::TestWithParam<ValRow> {};

TEST_P(ValReads, NumberOrOverflow)
{
    EXPECT_EQ(valueOrOverflow([] { return rt::Val(GetParam().text); }), GetParam().expected)
        << "text: \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Val, ValReads,
    ::testing::Values(
        ValRow{"integer", "200", 200}, ValRow{"decimal", "0.002", 0.002}, ValRow{"leading_point", ".5", 0.5},
        ValRow{"plus_sign", "+.5", 0.5}, ValRow{"trailing_point", "5.", 5}, ValRow{"negative", "-12.25", -12.25},
        ValRow{"empty", "", 0}, ValRow{"blanks_only", "  \t\n ", 0}, ValRow{"letters", "abc", 0},
        ValRow{"sign_only", "-", 0}, ValRow{"double_sign", "--5", 0}, ValRow{"stops_at_comma", "1,5", 1},
        ValRow{"stops_at_second_point", "1.2.3", 1.2}, ValRow{"stops_at_letter", "12abc", 12},
        ValRow{"leading_blanks", "   42", 42}, ValRow{"blanks_inside", "1 2 . 5", 12.5},
        ValRow{"tab_and_line_feed_inside", "1\t0\n0", 100}, ValRow{"blank_after_sign", "- 7", -7},
        ValRow{"exponent", "1.5e3", 1500}, ValRow{"exponent_upper", "2E-2", 0.02},
        ValRow{"exponent_plus", "3e+2", 300}, ValRow{"exponent_d", "1d3", 1000},
        ValRow{"exponent_blanks", "1 e 2", 100}, ValRow{"exponent_without_digits", "7e", 7},
        ValRow{"exponent_sign_only", "7e-", 7},
        ValRow{"largest_double", "1.7976931348623157e308", std::numeric_limits<double>::max()},
        ValRow{"below_smallest", "1e-400", 0}, ValRow{"subnormal", "4.9e-324", 4.9e-324},
        ValRow{"hex", "&H10", 16}, ValRow{"hex_lower", "&hff", 255}, ValRow{"hex_16bit_wraps", "&HFFFF", -1},
        ValRow{"hex_16bit_min", "&H8000", -32768}, ValRow{"hex_32bit", "&H10000", 65536},
        ValRow{"hex_32bit_wraps", "&HFFFFFFFF", -1}, ValRow{"hex_no_digits", "&H", 0}, ValRow{"hex_stops", "&H1G", 1},
        ValRow{"octal", "&O777", 511}, ValRow{"octal_stops_at_8", "&O78", 7}, ValRow{"ampersand_alone", "&", 0},
        ValRow{"full_width_digits", "１０", 0}, ValRow{"minus_zero", "-0", -0.0},
        ValRow{"beyond_double", "1e309", kOverflow}, ValRow{"beyond_double_negative", "-1e309", kOverflow},
        ValRow{"fraction_beyond_double", "0.5e310", kOverflow},
        ValRow{"huge_exponent", "1e99999999999999999999", kOverflow},
        ValRow{"hex_beyond_32_bits", "&H100000000", kOverflow},
        ValRow{"long_number_beyond_double", std::string("1").append(100000, '0'), kOverflow},
        ValRow{"long_number_below_smallest", std::string("0.").append(100000, '0').append("1"), 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Val, ManyDigitsAreReadWhole)
{
    EXPECT_DOUBLE_EQ(rt::Val(std::string(300, '9') + "e-300"), 1.0);
}

struct RoundRow {
    const char* name;
    double (*convert)(double);
    double value;
    std::optional<double> expected;
};

class Rounding : public ::testing::TestWithParam<RoundRow> {};

TEST_P(Rounding, TiesToEvenOrOverflow)
{
    EXPECT_EQ(valueOrOverflow([] { return GetParam().convert(GetParam().value); }), GetParam().expected);
}

constexpr auto int16 = [](double v) -> double { return rt::ToInt16(v); };
constexpr auto int32 = [](double v) -> double { return rt::ToInt32(v); };

INSTANTIATE_TEST_SUITE_P(
    Convert, Rounding,
    ::testing::Values(
        RoundRow{"int16_tie_down", int16, 10.5, 10}, RoundRow{"int16_tie_up", int16, 11.5, 12},
        RoundRow{"int16_below_half", int16, 2.49, 2}, RoundRow{"int16_negative_tie", int16, -2.5, -2},
        RoundRow{"int16_min_tie", int16, -32768.5, -32768}, RoundRow{"int16_max", int16, 32767.4, 32767},
        RoundRow{"int16_max_tie_overflows", int16, 32767.5, kOverflow},
        RoundRow{"int16_below_min", int16, -32769, kOverflow}, RoundRow{"int16_nan", int16, std::nan(""), kOverflow},
        RoundRow{"int32_tie_down", int32, 10.5, 10}, RoundRow{"int32_tie_up", int32, 11.5, 12},
        RoundRow{"int32_beyond_int16", int32, 70000.0, 70000}, RoundRow{"int32_max", int32, 2147483647.0, 2147483647},
        RoundRow{"int32_max_tie_overflows", int32, 2147483647.5, kOverflow},
        RoundRow{"int32_min_tie", int32, -2147483648.5, -2147483648.0},
        RoundRow{"int32_huge", int32, 1e300, kOverflow}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToSingle, RoundsToNearestAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(rt::ToSingle(807.984), 807.984f);
    EXPECT_EQ(rt::ToSingle(0.1), 0.1f);
    EXPECT_EQ(rt::ToSingle(3.4028234663852886e38), std::numeric_limits<float>::max());
    for (double beyond : {3.5e38, -1e300})
        EXPECT_EQ(valueOrOverflow([&] { return rt::ToSingle(beyond); }), kOverflow) << beyond;
    EXPECT_THROW(rt::ToSingle(std::nan("")), rt::RuntimeError);
}

// Values the compiler cannot fold, so the operations happen at run time.
volatile double g_zero = 0.0;
volatile double g_one = 1.0;
volatile double g_huge = 1e308;

TEST(FloatStatus, RaisesTheMatchingErrorOnceAndLetsSoundArithmeticPass)
{
    using rt::Checked;
    const struct {
        const char* name;
        double (*operation)();
        ErrorNumber expected;
    } rows[] = {
        {"division_by_zero", [] { return double(Checked(g_one) / g_zero); }, ErrorNumber::DivisionByZero},
        {"zero_by_zero", [] { return double(Checked(g_zero) / g_zero); }, ErrorNumber::InvalidOperation},
        {"overflow", [] { return double(Checked(g_huge) * 10.0); }, ErrorNumber::Overflow},
        {"square_root_of_negative", [] { return double(rt::sqrt(-Checked(g_one))); },
         ErrorNumber::InvalidOperation},
        // Several faults before one check: invalid first, then division by zero.
        {"overflow_then_invalid", [] { return double(Checked(g_huge) * 10.0 * 0.0); },
         ErrorNumber::InvalidOperation},
        {"overflow_and_division_by_zero", [] { return double(Checked(g_huge) * 10.0 + Checked(g_one) / g_zero); },
         ErrorNumber::DivisionByZero},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        rt::clearFloatStatus();
        volatile double result = row.operation();
        (void)result;
        try {
            rt::checkFloatStatus();
            ADD_FAILURE() << "no error";
        } catch (const rt::RuntimeError& e) {
            EXPECT_EQ(e.number(), row.expected);
        }
        EXPECT_NO_THROW(rt::checkFloatStatus());  // the faults are cleared with the report
    }
    rt::clearFloatStatus();
    volatile double x = Checked(g_one) / 3.0 + Checked(1e-320) * g_one;  // inexact and subnormal are not faults
    (void)x;
    EXPECT_NO_THROW(rt::checkFloatStatus());
}

// Each tested operation against the faults an x86-64 processor's status
// flags report for it, with the operands as they reach it.
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kSignallingNaN = std::numeric_limits<double>::signaling_NaN();
constexpr double kMax = std::numeric_limits<double>::max();
constexpr rt::FloatFaults kNone = 0, kOver = rt::kFloatOverflow, kDivZero = rt::kFloatDivisionByZero,
                          kInvalid = rt::kFloatInvalid;

enum class Op { Add, Sub, Mul, Div, Sqrt, Less, GreaterEqual, Equal };

struct Operation {
    const char* name;
    Op op;
    double a, b;
    rt::FloatFaults expected;
};

class CheckedOperation : public ::testing::TestWithParam<Operation> {};

TEST_P(CheckedOperation, RaisesWhatTheProcessorFlags)
{
    using rt::Checked;
    const Operation& o = GetParam();
    const Checked a = o.a;
    const double b = o.b;
    rt::clearFloatStatus();
    volatile double sink = 0;
    switch (o.op) {
    case Op::Add: sink = a + b; break;
    case Op::Sub: sink = a - b; break;
    case Op::Mul: sink = a * b; break;
    case Op::Div: sink = a / b; break;
    case Op::Sqrt: sink = rt::sqrt(a); break;
    case Op::Less: sink = a < b; break;
    case Op::GreaterEqual: sink = a >= b; break;
    case Op::Equal: sink = a == b; break;
    }
    (void)sink;
    EXPECT_EQ(rt::floatStatus(), o.expected);
    rt::clearFloatStatus();
}

INSTANTIATE_TEST_SUITE_P(
    FloatStatus, CheckedOperation,
    ::testing::Values(
        Operation{"SumOverflows", Op::Add, kMax, kMax, kOver},
        Operation{"SumRoundsBackToTheLargest", Op::Add, kMax, 1e291, kNone},
        Operation{"DifferenceOverflows", Op::Sub, -kMax, kMax, kOver},
        Operation{"InfinityMinusInfinity", Op::Sub, kInf, kInf, kInvalid},
        Operation{"InfinityPlusMinusInfinity", Op::Add, kInf, -kInf, kInvalid},
        Operation{"InfinityPlusNumber", Op::Add, kInf, 1, kNone},
        Operation{"QuietNaNPlusNumber", Op::Add, kNaN, 1, kNone},
        Operation{"QuietNaNMinusInfinity", Op::Sub, kNaN, kInf, kNone},
        Operation{"SignallingNaNPlusNumber", Op::Add, kSignallingNaN, 1, kInvalid},
        Operation{"ProductOverflows", Op::Mul, 1e200, -1e200, kOver},
        Operation{"ZeroTimesInfinity", Op::Mul, 0, kInf, kInvalid},
        Operation{"NegativeZeroTimesInfinity", Op::Mul, -0.0, -kInf, kInvalid},
        Operation{"InfinityTimesNumber", Op::Mul, kInf, -2, kNone},
        Operation{"ProductUnderflows", Op::Mul, 1e-200, 1e-200, kNone},
        Operation{"QuietNaNTimesZero", Op::Mul, kNaN, 0, kNone},
        Operation{"NumberByZero", Op::Div, -3, 0, kDivZero},
        Operation{"NumberByNegativeZero", Op::Div, 3, -0.0, kDivZero},
        Operation{"ZeroByZero", Op::Div, 0, 0, kInvalid},
        Operation{"InfinityByZero", Op::Div, kInf, 0, kNone},
        Operation{"InfinityByInfinity", Op::Div, -kInf, kInf, kInvalid},
        Operation{"NumberByInfinity", Op::Div, 5, kInf, kNone},
        Operation{"QuotientOverflows", Op::Div, 1e300, 1e-300, kOver},
        Operation{"QuotientBySubnormalOverflows", Op::Div, 1, 1e-320, kOver},
        Operation{"QuietNaNByZero", Op::Div, kNaN, 0, kNone},
        Operation{"SquareRootOfNegative", Op::Sqrt, -1e-300, 0, kInvalid},
        Operation{"SquareRootOfNegativeInfinity", Op::Sqrt, -kInf, 0, kInvalid},
        Operation{"SquareRootOfNegativeZero", Op::Sqrt, -0.0, 0, kNone},
        Operation{"SquareRootOfInfinity", Op::Sqrt, kInf, 0, kNone},
        Operation{"SquareRootOfQuietNaN", Op::Sqrt, kNaN, 0, kNone},
        Operation{"OrderedComparisonWithNaN", Op::Less, kNaN, 60, kInvalid},
        Operation{"OrderedComparisonWithNaNRight", Op::GreaterEqual, 1380, kNaN, kInvalid},
        Operation{"OrderedComparisonOfInfinities", Op::Less, -kInf, kInf, kNone},
        Operation{"EqualityWithQuietNaN", Op::Equal, kNaN, 0, kNone},
        Operation{"EqualityWithSignallingNaN", Op::Equal, kSignallingNaN, 0, kInvalid}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
