// Val reads the exponent marker and the radix prefixes in either letter
// case: a pupil who types "1E3", "2d-1" or "&o17" gets the number, not the
// digits before the letter.

#include "runtime/numeric/val.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CaseRow {
    const char* name;
    const char* text;
    double expected;
};

class ValLetterCase : public ::testing::TestWithParam<CaseRow> {};

TEST_P(ValLetterCase, ReadsTheWholeNumber)
{
    EXPECT_EQ(rt::Val(GetParam().text), GetParam().expected) << "text: \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Val, ValLetterCase,
    ::testing::Values(
        // Every exponent marker, with and without a sign, after a fraction.
        CaseRow{"e_lower", "1.5e3", 1500}, CaseRow{"E_upper", "1.5E3", 1500},
        CaseRow{"d_lower", "1.5d3", 1500}, CaseRow{"D_upper", "1.5D3", 1500},
        CaseRow{"e_lower_negative", "25e-2", 0.25}, CaseRow{"E_upper_negative", "25E-2", 0.25},
        CaseRow{"d_lower_negative", "25d-2", 0.25}, CaseRow{"D_upper_negative", "25D-2", 0.25},
        CaseRow{"e_lower_plus", "7e+1", 70}, CaseRow{"E_upper_plus", "7E+1", 70},
        CaseRow{"d_lower_plus", "7d+1", 70}, CaseRow{"D_upper_plus", "7D+1", 70},
        CaseRow{"D_upper_after_sign", "-2D2", -200}, CaseRow{"E_upper_blank_inside", "3 E 1", 30},
        // Letters that are no marker end the number where they stand.
        CaseRow{"f_is_no_marker", "5f3", 5}, CaseRow{"F_is_no_marker", "5F3", 5},
        CaseRow{"x_is_no_marker", "5x3", 5}, CaseRow{"second_marker_stops", "2e1e1", 20},
        // Radix prefixes in both cases, with hexadecimal digits in both cases.
        CaseRow{"hex_H_upper", "&H1F", 31}, CaseRow{"hex_h_lower", "&h1F", 31},
        CaseRow{"hex_digits_lower", "&H1f", 31}, CaseRow{"hex_all_lower", "&hab", 171},
        CaseRow{"hex_all_upper", "&HAB", 171}, CaseRow{"hex_mixed_digits", "&hAbC", 2748},
        CaseRow{"hex_h_lower_wraps", "&hffff", -1}, CaseRow{"hex_h_lower_32_bits", "&h12345", 74565},
        CaseRow{"octal_O_upper", "&O17", 15}, CaseRow{"octal_o_lower", "&o17", 15},
        CaseRow{"octal_o_lower_wraps", "&o177777", -1}, CaseRow{"octal_o_lower_stops_at_8", "&o18", 1},
        CaseRow{"octal_o_lower_32_bits", "&o200000", 65536},
        CaseRow{"blank_after_ampersand_lower", "& h 10", 16}, CaseRow{"blank_after_ampersand_o", "& o 10", 8},
        // Other letters after the ampersand give no number, whatever their case.
        CaseRow{"ampersand_b", "&b101", 0}, CaseRow{"ampersand_B", "&B101", 0},
        CaseRow{"ampersand_x", "&x10", 0}, CaseRow{"ampersand_zero_is_no_octal", "&010", 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
