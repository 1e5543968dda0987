#pragma once
// The length of (x, y), the same bits on every platform.
//
// std::hypot is not correctly rounded, and C libraries round its last bit
// differently (glibc 2.35 and later, musl in the WebAssembly build, the
// older glibc, other systems), so a quantity computed with it would differ
// between the desktop and the browser. rt::hypot is Borges' corrected
// algorithm (C. F. Borges, "An Improved Algorithm for hypot(a,b)", 2019) in
// the form without fused multiply-add, built from +, -, *, / and sqrt only,
// which IEEE 754 rounds the same everywhere: on Debian 12 (glibc 2.36) it
// gives exactly std::hypot's bits.
//  - hypot(x, y) = hypot(|x|, |y|) = hypot(y, x);
//  - an infinite argument gives +inf (even with a NaN), otherwise a NaN
//    gives a NaN;
//  - huge and tiny arguments are scaled by 2^600 so nothing overflows or
//    underflows on the way.

namespace rt {

double hypot(double x, double y);

}  // namespace rt
