#pragma once
// Numbers as text, the same bytes on every platform the core is built for.
//
// readNumber reads a decimal number (an optional '-', digits with at most one
// period, an optional exponent; or inf, infinity, nan) exactly as the
// desktop's std::from_chars does, correctly rounded: on success ec is
// errc() and ptr is past the number; a finite number beyond the type's range,
// or one with a non-zero digit that rounds to zero, gives
// errc::result_out_of_range and leaves out unchanged; no number gives
// errc::invalid_argument. A leading '+' is no number.
//
// shortestText writes the shortest text that reads back to the same bits,
// byte for byte what the plain std::to_chars(first, last, v) writes: the
// fewest significant digits, in fixed or exponent form, whichever is shorter
// (fixed on a tie); a whole number in fixed form shows its exact digits
// ("1e+10", "123456789012345677877", "0.001", "1e-04", "-0", "inf", "-nan").

#include <charconv>
#include <string>

namespace rt {

std::from_chars_result readNumber(const char* first, const char* last, double& out);
std::from_chars_result readNumber(const char* first, const char* last, float& out);

void appendShortest(std::string& out, double v);
void appendShortest(std::string& out, float v);
std::string shortestText(double v);

}  // namespace rt
