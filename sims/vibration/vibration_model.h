#pragma once
// A ball hanging on a vertical spring, vibrating with viscous damping.
//
// One-dimensional, advanced once per tick (time unit: one tick); every
// quantity is a double. Position is the spring's length in model units,
// which is also the ball's depth below the top edge (drawn at 8 twips per
// unit). There is no gravity: the ball swings about the spring's natural
// length.
//
// One step (Step), semi-implicit Euler with a damping factor on the whole
// new velocity, each line using the newest values above it:
//   1. Force    = (Position - RestLength) * (-Stiffness)
//   2. Accel    = Force / Mass
//   3. Velocity = (1 - Viscosity) * (Accel + Velocity)
//   4. Position = Position + Velocity
// Each line is tested as it is written (rt::checkFloatStatus), so a mass of
// 0 stops at the division and a motion that grows without bound stops at its
// first overflow, with the state as far as the step got.
//
// A press pulls the ball to the press's X (taken as a length) and lets it go
// at rest.

namespace vibration {

constexpr double StartPosition = 100;  // model units: the length after a reset
constexpr double TwipsPerUnit = 8;     // one unit of spring length on screen

// The state in the order the window has always declared it.
struct Model {
    double Force = 0;       // spring force of the latest step, force units
    double Stiffness = 0;   // force units per unit of stretch
    double RestLength = 0;  // natural length of the spring, units
    double Position = 0;    // spring length = ball depth, units
    double Velocity = 0;    // units per tick
    double Accel = 0;       // acceleration of the latest step, units per tick^2
    double Mass = 0;        // mass units; acceleration = force / mass
    double Viscosity = 0;   // share of the velocity lost per tick

    // The spring at StartPosition, the ball at rest. Force and Accel keep
    // their values: the next step writes them before it reads them.
    void Reset();

    // One tick of the physics; throws rt::RuntimeError on an arithmetic
    // fault.
    void Step();

    // A press at the pointer's X, in twips: the spring takes that length and
    // the ball is let go at rest.
    void Pull(float pointerX);
};

}  // namespace vibration
