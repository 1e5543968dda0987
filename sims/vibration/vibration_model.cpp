#include "sims/vibration/vibration_model.h"

#include "runtime/numeric/float_check.h"

namespace vibration {

using rt::Checked;

void Model::Reset()
{
    Position = StartPosition;
    Velocity = 0;
}

void Model::Step()
{
    // The velocity first, then the position moves by the new velocity. Each
    // line is tested as it is written, so a mass of 0 stops at the division.
    rt::clearFloatStatus();
    Force = (Checked(Position) - RestLength) * (-Stiffness);
    rt::checkFloatStatus();
    Accel = Checked(Force) / Mass;
    rt::checkFloatStatus();
    Velocity = (1 - Checked(Viscosity)) * (Checked(Accel) + Velocity);
    rt::checkFloatStatus();
    Position = Checked(Position) + Velocity;
    rt::checkFloatStatus();
}

void Model::Pull(float pointerX)
{
    // The horizontal position of the press becomes the spring's length:
    // further right pulls the ball further down.
    Position = static_cast<double>(pointerX);
    Velocity = 0;
}

}  // namespace vibration
