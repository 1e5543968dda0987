#include "sims/rotation/rotation_model.h"

#include "runtime/numeric/float_check.h"

namespace rotation {

using rt::Checked;

void Model::Reset()
{
    BallX = StartX;
    BallY = StartY;
    VelocityX = 0;
    VelocityY = 0;
}

void Model::Step()
{
    // Both velocities from the positions as they were, then both positions
    // by the new velocities. A Relax above 1 makes the motion grow without
    // bound; the test after each line stops it at the first overflow.
    rt::clearFloatStatus();
    VelocityX = ((Checked(BallX) - MouseX) * NegStiffness + VelocityX) * Relax;
    rt::checkFloatStatus();
    VelocityY = ((Checked(BallY) - MouseY) * NegStiffness + VelocityY) * Relax;
    rt::checkFloatStatus();
    BallX = Checked(BallX) + VelocityX;
    rt::checkFloatStatus();
    BallY = Checked(BallY) + VelocityY;
    rt::checkFloatStatus();
}

void Model::MovePointer(float pointerX, float pointerY)
{
    // Single-precision twips widen to double without change.
    MouseX = pointerX;
    MouseY = pointerY;
}

}  // namespace rotation
