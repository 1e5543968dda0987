#pragma once
// Tested floating point for model code.
//
// The models write their formulas as plain double arithmetic. The processor
// keeps sticky status flags for overflow, division by zero and invalid
// operations; a model clears them when it starts a step and calls
// checkFloatStatus() after each line (or phase) whose result must be sound.
// A flag that is set raises the matching RuntimeError, so a diverging motion
// stops with an error instead of drawing garbage.
//
// The build keeps the arithmetic exactly as written (-ffp-contract=off, no
// fast-math), so the flags see the same operations as the source.

namespace rt {

// Clears the overflow, division-by-zero and invalid-operation flags.
void clearFloatStatus() noexcept;

// Throws RuntimeError if any of the three flags is set (invalid operation
// first, then division by zero, then overflow), after clearing them.
void checkFloatStatus();

}  // namespace rt
