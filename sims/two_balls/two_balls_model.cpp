#include "sims/two_balls/two_balls_model.h"

#include "runtime/numeric/float_check.h"

#include <cmath>

namespace two_balls {

using rt::Checked;

void Model::ResetBalls()
{
    // Only the positions: a reset while the balls move keeps their
    // velocities, so the pair leaves the start at once the way it was going.
    Ball2.X = RestLength + StartX;
    Ball1.Y = StartY;
    Ball2.Y = StartY;
    Ball1.X = StartX;
}

Bounces Model::StepBalls()
{
    // Each statement is tested on its own, so the error names the first
    // operation that went wrong: an overflow in the separation is reported
    // as such, not as the invalid operation it leads to further down.
    rt::clearFloatStatus();

    const double dx = Checked(Ball1.X) - Ball2.X;
    rt::checkFloatStatus();
    const double dy = Checked(Ball1.Y) - Ball2.Y;
    rt::checkFloatStatus();
    const double d = rt::sqrt(Checked(dx) * dx + Checked(dy) * dy);
    rt::checkFloatStatus();

    // Coinciding centres have no direction: 0 / 0 stops the step here.
    const double ux = Checked(dx) / d;
    rt::checkFloatStatus();
    const double uy = Checked(dy) / d;
    rt::checkFloatStatus();

    const double f = Checked(-Stiffness) * (Checked(d) - RestLength);
    rt::checkFloatStatus();

    ForceX = Checked(ux) * f;
    rt::checkFloatStatus();
    ForceY = Checked(uy) * f;
    rt::checkFloatStatus();

    // Ball2 feels the opposite force. A mass of 0 stops here whatever the
    // force: x / 0 is a division by zero, 0 / 0 an invalid operation.
    Ball1.AccelX = Checked(ForceX) * ForceFactor / Ball1.Mass;
    rt::checkFloatStatus();
    Ball1.AccelY = Checked(ForceY) * ForceFactor / Ball1.Mass;
    rt::checkFloatStatus();
    Ball2.AccelX = Checked(-ForceX) * ForceFactor / Ball2.Mass;
    rt::checkFloatStatus();
    Ball2.AccelY = Checked(-ForceY) * ForceFactor / Ball2.Mass;
    rt::checkFloatStatus();

    // Resistance scales the whole new velocity, gravity included, so a
    // factor beyond 1 in magnitude makes the motion grow until it overflows.
    Ball1.VelocityX = (Checked(Ball1.AccelX) + Ball1.VelocityX) * (1 - Checked(Resistance));
    rt::checkFloatStatus();
    Ball1.VelocityY = (Checked(Ball1.AccelY) + Ball1.VelocityY + Gravity) * (1 - Checked(Resistance));
    rt::checkFloatStatus();
    Ball2.VelocityX = (Checked(Ball2.AccelX) + Ball2.VelocityX) * (1 - Checked(Resistance));
    rt::checkFloatStatus();
    Ball2.VelocityY = (Checked(Ball2.AccelY) + Ball2.VelocityY + Gravity) * (1 - Checked(Resistance));
    rt::checkFloatStatus();

    Ball1.X = Checked(Ball1.VelocityX) + Ball1.X;
    rt::checkFloatStatus();
    Ball1.Y = Checked(Ball1.VelocityY) + Ball1.Y;
    rt::checkFloatStatus();
    Ball2.X = Checked(Ball2.VelocityX) + Ball2.X;
    rt::checkFloatStatus();
    Ball2.Y = Checked(Ball2.VelocityY) + Ball2.Y;
    rt::checkFloatStatus();

    // A ball that ends exactly on its floor has not passed it: no bounce.
    // One that has is put back on the floor with its vertical velocity
    // reversed; x and the horizontal velocity are left alone.
    Bounces bounces;
    if (Ball1.Y > Ball1Floor) {
        Ball1.VelocityY = -Ball1.VelocityY;
        Ball1.Y = Ball1Floor;
        bounces.Ball1 = true;
    }
    if (Ball2.Y > Ball2Floor) {
        Ball2.VelocityY = -Ball2.VelocityY;
        Ball2.Y = Ball2Floor;
        bounces.Ball2 = true;
    }
    LastBounces = bounces;
    return bounces;
}

bool Model::TestAtRest()
{
    const bool still = std::fabs(Ball1.VelocityX) < RestSpeed
                       && std::fabs(Ball1.VelocityY) < RestSpeed
                       && std::fabs(Ball2.VelocityX) < RestSpeed
                       && std::fabs(Ball2.VelocityY) < RestSpeed;
    const bool onFloors = Ball1.Y > Ball1RestLine && Ball2.Y > Ball2RestLine;
    if (!(still && onFloors))
        return false;
    // The step never leaves a ball below its floor, so this moves each ball
    // down by at most 5 units; the velocities stay for a later grab.
    Ball1.Y = Ball1Floor;
    Ball2.Y = Ball2Floor;
    return true;
}

void Model::GrabBall1(float pointerX, float pointerY)
{
    // Divided in double, as the pointer's twips are exact in a float but a
    // third of them is not.
    Ball1.X = static_cast<double>(pointerX) / DisplayScale;
    Ball1.Y = static_cast<double>(pointerY) / DisplayScale;
    Ball1.VelocityX = 0;
    Ball1.VelocityY = 0;
}

}  // namespace two_balls
