#pragma once
// What the rotation experiment measures and reads. Lengths are twips, the
// model's own unit.

#include "sims/quantity.h"
#include "sims/rotation/rotation_model.h"

#include <span>

namespace rotation {

std::span<const sims::Quantity<Model>> quantities();


}  // namespace rotation
