#pragma once
// What the rotation experiment measures and reads. Lengths are twips, the
// model's own unit.

#include "measure/quantity.h"
#include "sims/rotation/rotation_model.h"

#include <span>

namespace rotation {

std::span<const measure::Quantity<Model>> quantities();

// Text1..Text3 in the window's order; its InitSimulation reads them as
// Text2, Text3, Text1.
std::span<const measure::Parameter> parameters();

}  // namespace rotation
