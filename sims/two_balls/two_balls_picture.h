#pragma once
// The two balls' picture: the floor line, the spring, the large yellow ball
// and over it the small red one, at DisplayScale twips per unit.

#include "runtime/canvas/canvas.h"
#include "sims/two_balls/two_balls_model.h"

namespace two_balls {

void drawPicture(rt::Canvas& canvas, const Model& m);

}  // namespace two_balls
