#pragma once
// The rotation's picture: the cord in the pen colour from the pointer to the
// mass, the mass a red disc with a pen rim, in twips. The tick clears the
// canvas before its step, so this draws onto a cleared canvas.

#include "runtime/canvas/canvas.h"
#include "sims/rotation/rotation_model.h"

namespace rotation {

void drawPicture(rt::Canvas& canvas, const Model& m);

}  // namespace rotation
