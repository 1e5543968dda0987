#pragma once
// A mass tied by an elastic cord to the mouse pointer. Moving the pointer
// drags the mass after it; circling the pointer swings the mass round it.
//
// Positions are in twips of the window's client area (origin top left, y
// down), time in ticks; every quantity is a double. One step (Step), each
// line using the newest values above it:
//   1. VelocityX = ((BallX - MouseX) * NegStiffness + VelocityX) * Relax
//   2. VelocityY = ((BallY - MouseY) * NegStiffness + VelocityY) * Relax
//   3. BallX     = BallX + VelocityX
//   4. BallY     = BallY + VelocityY
// Both velocities come from the positions before the move, the positions
// then move by the new velocities. The pull is proportional to the whole
// offset in each axis on its own: no mass, no gravity, no rest length, no
// walls. Each line is tested as it is written (rt::checkFloatStatus), so a
// Relax above 1 stops at the first overflow of the growing motion.
//
// The pointer (MouseX, MouseY) is whatever was last seen of it and is never
// reset: until it first moves the cord is held at the top-left corner.

namespace rotation {

constexpr double StartX = 240;  // twips: where a reset puts the mass
constexpr double StartY = 240;

// The state in the order the window has always declared it. All of it is 0
// until the first reset.
struct Model {
    double MouseX = 0;        // held end of the cord, twips
    double MouseY = 0;
    double BallX = 0;         // centre of the mass, twips
    double BallY = 0;
    double VelocityX = 0;     // twips per tick
    double VelocityY = 0;
    double NegStiffness = 0;  // the cord's stiffness with its sign turned, per tick^2
    double Relax = 0;         // share of the velocity kept per tick (1 keeps all)

    // The mass back at (StartX, StartY) at rest; the pointer stays.
    void Reset();

    // One tick of the physics; throws rt::RuntimeError on an arithmetic
    // fault, leaving the state as far as the step got.
    void Step();

    // The pointer seen at (x, y) twips: the cord's end follows it.
    void MovePointer(float pointerX, float pointerY);
};

}  // namespace rotation
