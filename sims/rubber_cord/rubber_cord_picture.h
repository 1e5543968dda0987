#pragma once
// The rubber cord's picture: the olive frame on the walls, then the cord as
// one thick polyline, node i at (3 * X(i), 3 * Y(i)) twips.

#include "runtime/canvas/canvas.h"
#include "sims/rubber_cord/chain_model.h"

namespace rubber_cord {

void drawPicture(rt::Canvas& canvas, const ChainModel& chain);

}  // namespace rubber_cord
