#pragma once
// Two balls joined by a spring, falling under gravity onto two floor lines.
//
// Units: length in model units (drawn as DisplayScale = 3 twips each, x to
// the right, y downward), time in ticks, so velocities are units per tick and
// accelerations units per tick per tick. Every quantity is a double.
//
// One step (StepBalls), each line using the newest values above it:
//   1. d        = |P1 - P2|                      (separation of the centres)
//   2. u        = (P1 - P2) / d                  (unit vector from Ball2 to Ball1)
//   3. f        = -Stiffness * (d - RestLength)  (negative when stretched)
//   4. Force    = u * f                          (on Ball1; Ball2 feels -Force)
//   5. Accel_i  = (+/-Force * ForceFactor) / Mass_i
//   6. V_i      = (Accel_i + V_i [+ Gravity in y]) * (1 - Resistance)
//   7. P_i      = V_i + P_i
//   8. Ball1: y > Ball1Floor  ->  VelocityY = -VelocityY, y = Ball1Floor, bounce
//   9. Ball2: y > Ball2Floor  ->  likewise at Ball2Floor
// Gravity is an acceleration added as it stands, not a force divided by the
// mass. Accelerations come from the positions at the start of the step; the
// positions move by the velocities of this step (semi-implicit Euler). A
// bounce reverses the whole vertical velocity and costs no speed of its own.
//
// Rest (TestAtRest, after the tick's picture): every velocity component
// below RestSpeed in magnitude and each ball within 5 units of its floor
// (strictly beyond its rest line); then both are put exactly on their floors.
//
// Every floating-point line of a step is tested: coinciding centres (d = 0),
// a mass of 0 or a motion that grows without bound (|1 - Resistance| > 1)
// raise the runtime's error at the line where they happen (rt::Checked).

namespace two_balls {

constexpr double StartX = 660;         // Ball1's start x; Ball2 starts RestLength to its right
constexpr double StartY = 720;         // start y of both balls
constexpr double ForceFactor = 0.5;    // acceleration = force * ForceFactor / mass
constexpr double Ball1Floor = 1380;    // greatest y of Ball1's centre after a step
constexpr double Ball2Floor = 1400;    // greatest y of Ball2's centre after a step
constexpr double Ball1RestLine = 1375; // Ball1 lies on its floor only below this line
constexpr double Ball2RestLine = 1395; // Ball2 likewise
constexpr double RestSpeed = 0.8;      // units per tick, each velocity component
constexpr double DisplayScale = 3;     // twips per model unit

struct Ball {
    double X = 0;          // centre, units
    double Y = 0;          // centre, units, downward
    double VelocityX = 0;  // units per tick
    double VelocityY = 0;  // units per tick, downward
    double AccelX = 0;     // spring acceleration of the latest step, units per tick^2
    double AccelY = 0;
    double Mass = 0;       // mass units; only the ratio to the spring force matters
};

// The floor bounces of one step; a beep is due for each, Ball1's first.
struct Bounces {
    bool Ball1 = false;
    bool Ball2 = false;

    bool operator==(const Bounces&) const = default;
};

struct Model {
    double RestLength = 0;  // natural length of the spring, units
    double Stiffness = 0;   // force per unit of stretch
    double Resistance = 0;  // share of every velocity lost per tick
    double Gravity = 0;     // units per tick^2, added to each VelocityY
    Ball Ball1;             // the large ball
    Ball Ball2;             // the small ball
    double ForceX = 0;      // spring force on Ball1 of the latest step
    double ForceY = 0;
    Bounces LastBounces{};  // the bounces of the latest step

    // The pair side by side at the start height, the spring at its natural
    // length. Velocities and parameters are kept.
    void ResetBalls();

    // One tick of the physics; throws rt::RuntimeError on an arithmetic
    // fault, leaving the state as far as the step got.
    Bounces StepBalls();

    // True (and both balls put exactly on their floors) once the pair lies
    // still on its floors; otherwise false and nothing changes.
    bool TestAtRest();

    // A press at the pointer, in twips: Ball1 goes there at rest.
    void GrabBall1(float pointerX, float pointerY);
};

}  // namespace two_balls
