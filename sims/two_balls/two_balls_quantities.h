#pragma once
// What the two-ball experiment measures and reads.
//
// Heights are measured up from each ball's own floor (the model's y grows
// downward). The step's acceleration is Force * ForceFactor / Mass, so each
// ball moves as a body of inertia Mass / ForceFactor = 2·Mass; the total
// energy counts it so:
//   E = Σ Mass_i·v_i² + Σ 2·Mass_i·Gravity·height_i + ½·Stiffness·(d − RestLength)²
// in mass·unit²/tick². It stays put without resistance or bounces, falls with
// resistance, and each bounce (a ball put back on its floor) changes it.

#include "sims/quantity.h"
#include "sims/two_balls/two_balls_model.h"

#include <span>

namespace two_balls {

std::span<const sims::Quantity<Model>> quantities();


double totalEnergy(const Model& m);

}  // namespace two_balls
