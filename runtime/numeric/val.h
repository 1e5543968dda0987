#pragma once
// Reading a number typed into a parameter box.
//
// Val returns the number at the start of the text:
//  - blanks, tabs and line feeds are skipped anywhere, even inside the number
//    ("1 2.5" is 12.5);
//  - an optional sign, digits with at most one period as the decimal point,
//    then an optional exponent (E or D, either case, an optional sign, digits);
//  - "&H" reads hexadecimal digits and "&O" octal digits, as a 16-bit signed
//    value when it fits in four hex digits (so "&HFFFF" is -1) and as a 32-bit
//    signed value otherwise ("&HFFFFFFFF" is -1); more than 32 bits overflow;
//  - reading stops at the first character that cannot continue the number,
//    and a text without a number gives 0.
// A decimal number beyond the range of a double raises the overflow error;
// one too small to represent gives 0.

#include <string_view>

namespace rt {

double Val(std::string_view text);

}  // namespace rt
