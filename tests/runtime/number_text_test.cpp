// readNumber must read every text exactly as the desktop's std::from_chars
// does (value bits, characters used, error), since the WebAssembly build has
// no from_chars for floating point and the two must give the same runs.

#include "runtime/numeric/number_text.h"

#include <gtest/gtest.h>

#include <bit>
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

}  // namespace
