// readNumber must read every text exactly as the desktop's std::from_chars
// does (value bits, characters used, error), and appendShortest write every
// number as the plain std::to_chars does, since the WebAssembly build has
// neither for floating point and CSV files and recordings must not change.

#include "runtime/numeric/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <charconv>
#include <cstdint>
#include <random>
#include <string>

namespace {

template <class Number>
void expectSameReading(const std::string& text)
{
    const char* first = text.data();
    const char* last = first + text.size();
    // The sentinel shows whether a failed read leaves the value alone.
    Number want = Number(7.25);
    Number got = Number(7.25);
    const auto w = std::from_chars(first, last, want);
    const auto g = rt::readNumber(first, last, got);
    EXPECT_EQ(static_cast<int>(g.ec), static_cast<int>(w.ec)) << text;
    EXPECT_EQ(g.ptr - first, w.ptr - first) << text;
    if constexpr (sizeof(Number) == 8)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(want)) << text;
    else
        EXPECT_EQ(std::bit_cast<std::uint32_t>(got), std::bit_cast<std::uint32_t>(want)) << text;
}

struct ReadCase {
    const char* name;
    const char* text;
};

class ReadNumberTable : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadNumberTable, ReadsAsFromChars)
{
    expectSameReading<double>(GetParam().text);
    expectSameReading<float>(GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadNumberTable, testing::Values(
    ReadCase{"Plain", "12.5"},
    ReadCase{"NegativeZero", "-0"},
    ReadCase{"LeadingPlusIsNoNumber", "+1"},
    ReadCase{"OnlyPoint", "."},
    ReadCase{"PointFirst", ".5"},
    ReadCase{"PointLast", "5."},
    ReadCase{"ExponentWithoutDigitsStops", "1e+"},
    ReadCase{"HexStopsAfterZero", "0x10"},
    ReadCase{"StopsAtComma", "3.5,4"},
    ReadCase{"Overflow", "1e400"},
    ReadCase{"OverflowNegative", "-1.7976931348623159e308"},
    ReadCase{"LargestDouble", "1.7976931348623157e308"},
    ReadCase{"HugeExponent", "1e99999999999999999999"},
    ReadCase{"Underflow", "1e-400"},
    ReadCase{"UnderflowLongMantissa", "0.000000000000000000000000000000000000000001e-400"},
    ReadCase{"ZeroWithHugeExponent", "0e400"},
    ReadCase{"ZerosWithHugeExponent", "000.000e-99999"},
    ReadCase{"HalfOfSmallestRoundsToZero", "2.4703282292062327e-324"},
    ReadCase{"JustAboveHalfOfSmallest", "2.4703282292062328e-324"},
    ReadCase{"DoubleSubnormalIsFloatUnderflow", "1e-320"},
    ReadCase{"FloatSubnormal", "1e-40"},
    ReadCase{"FloatOverflowOnly", "3.5e38"},
    ReadCase{"ManyDigitsHalfway", "9007199254740993.000000000000000000000000000001"},
    ReadCase{"Infinity", "infinity"},
    ReadCase{"InfShort", "-INF"},
    ReadCase{"InfPartial", "infinit"},
    ReadCase{"NotANumber", "nan"},
    ReadCase{"NotANumberPayload", "nan(abc)"},
    ReadCase{"NotANumberOpen", "nan("},
    ReadCase{"Letters", "abc"},
    ReadCase{"Empty", ""}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

// Texts made of the characters a number is built from, in any order, and
// the shortest texts of random doubles cut short or given more digits.
TEST(ReadNumberRandom, ReadsAsFromChars)
{
    std::mt19937_64 random(20261207);
    static const char alphabet[] = "0123456789000000000.-eE+-in";
    for (int i = 0; i < 300'000; ++i) {
        std::string text;
        const int length = static_cast<int>(random() % 24);
        for (int k = 0; k < length; ++k)
            text += alphabet[random() % (sizeof alphabet - 1)];
        expectSameReading<double>(text);
        expectSameReading<float>(text);

        char buffer[64];
        const double value = std::bit_cast<double>(random());
        std::string number(buffer, std::to_chars(buffer, buffer + sizeof buffer, value,
                                                 std::chars_format::scientific).ptr);
        const std::size_t e = number.find('e');
        if (e != std::string::npos && random() % 2)
            number.insert(e, std::to_string(random() % 1000));
        else if (number.size() > 3)
            number.resize(number.size() - random() % 3);
        expectSameReading<double>(number);
        expectSameReading<float>(number);
    }
}

template <class Number>
std::string desktopText(Number v)
{
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

template <class Number>
std::string ourText(Number v)
{
    std::string out;
    rt::appendShortest(out, v);
    return out;
}

struct WriteCase {
    const char* name;
    double value;
    const char* text;
};

class ShortestTextTable : public testing::TestWithParam<WriteCase> {};

TEST_P(ShortestTextTable, WritesAsToChars)
{
    const WriteCase& c = GetParam();
    EXPECT_EQ(rt::shortestText(c.value), c.text);
    EXPECT_EQ(desktopText(c.value), c.text);
    EXPECT_EQ(ourText(static_cast<float>(c.value)), desktopText(static_cast<float>(c.value)));
}

INSTANTIATE_TEST_SUITE_P(Numbers, ShortestTextTable, testing::Values(
    WriteCase{"Zero", 0.0, "0"},
    WriteCase{"NegativeZero", -0.0, "-0"},
    WriteCase{"Tenth", 0.1, "0.1"},
    WriteCase{"FixedOnATie", 0.001, "0.001"},
    WriteCase{"ExponentWhenShorter", 0.0001, "1e-04"},
    WriteCase{"TenBillionInExponentForm", 1e10, "1e+10"},
    WriteCase{"WholeNumberFixed", 123456.0, "123456"},
    WriteCase{"WholeNumberShowsExactDigits", 123456789012345680000.0, "123456789012345683968"},
    WriteCase{"ThreeDigitExponent", 1e100, "1e+100"},
    WriteCase{"NegativeMixed", -12.375, "-12.375"},
    WriteCase{"Largest", 1.7976931348623157e308, "1.7976931348623157e+308"},
    WriteCase{"SmallestNormal", 2.2250738585072014e-308, "2.2250738585072014e-308"},
    WriteCase{"SmallestSubnormal", 5e-324, "5e-324"},
    WriteCase{"Infinity", -std::numeric_limits<double>::infinity(), "-inf"},
    WriteCase{"NotANumber", std::numeric_limits<double>::quiet_NaN(), "nan"}),
    [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

// Numbers of every kind, compared with the desktop's text: any bit pattern
// (all exponents, subnormals, NaNs), whole numbers near where the fixed form
// stops being the shorter, powers of ten and their neighbours, and numbers
// with 15 to 17 digits halfway between two doubles' shortest texts.
TEST(ShortestTextRandom, WritesAsToChars)
{
    std::mt19937_64 random(1207);
    auto check = [](double v) {
        ASSERT_EQ(ourText(v), desktopText(v));
        const float f = static_cast<float>(v);
        ASSERT_EQ(ourText(f), desktopText(f));
    };
    for (int i = 0; i < 2'000'000; ++i) {
        check(std::bit_cast<double>(random()));
        const float f = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        ASSERT_EQ(ourText(f), desktopText(f));
    }
    for (int i = 0; i < 200'000; ++i) {
        const double whole = std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 40));
        check(whole);
        check(std::nextafter(whole, 0.0));
        const int digits = 15 + static_cast<int>(random() % 3);
        const double mantissa = static_cast<double>(random() % 100'000'000'000'000'000ULL) + 0.5;
        check(mantissa * std::pow(10.0, static_cast<int>(random() % 40) - 20 - digits));
    }
    for (int e = -330; e <= 310; ++e) {
        const double ten = std::pow(10.0, e);
        check(ten);
        check(std::nextafter(ten, 0.0));
        check(std::nextafter(ten, std::numeric_limits<double>::infinity()));
    }
    for (const double v : {std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
                           std::numeric_limits<double>::denorm_min(), -std::numeric_limits<double>::denorm_min(),
                           static_cast<double>(std::numeric_limits<float>::max()),
                           static_cast<double>(std::numeric_limits<float>::denorm_min())})
        check(v);
}

}  // namespace
