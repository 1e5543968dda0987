#pragma once
// The spring's picture: a zig-zag of 40 lines from the top edge down to the
// ball, and the ball as a red disc, one unit of length as 8 twips. Drawn on
// the window, and on a bare canvas by runs without a window, so both meet
// the same coordinate errors.

#include "runtime/canvas/canvas.h"
#include "sims/vibration/vibration_model.h"

namespace vibration {

void drawPicture(rt::Canvas& canvas, const Model& m);

}  // namespace vibration
