#pragma once
// What the spring-vibration experiment measures and reads.
//
// Energies take the model's own units: with force = mass * acceleration
// (Accel = Force / Mass), the kinetic energy is ½·Mass·Velocity² and the
// spring's ½·Stiffness·(Position − RestLength)², both in
// mass·unit²/tick². Their sum, the total, never grows while Viscosity is
// positive; with Viscosity 0 the semi-implicit step keeps a slightly
// different quadratic form exactly, so the total only wobbles about its start.

#include "sims/quantity.h"
#include "sims/vibration/vibration_model.h"

#include <span>

namespace vibration {

std::span<const sims::Quantity<Model>> quantities();


double kineticEnergy(const Model& m);
double springEnergy(const Model& m);

}  // namespace vibration
