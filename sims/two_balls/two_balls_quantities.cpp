#include "sims/two_balls/two_balls_quantities.h"

#include "runtime/numeric/hypot.h"
#include "sims/experiment.h"

#include <cmath>

namespace two_balls {
namespace {

constexpr double kInertiaPerMass = 1 / ForceFactor;

double height1(const Model& m) { return Ball1Floor - m.Ball1.Y; }
double height2(const Model& m) { return Ball2Floor - m.Ball2.Y; }
double speed(const Ball& b) { return rt::hypot(b.VelocityX, b.VelocityY); }
double springLength(const Model& m) { return rt::hypot(m.Ball1.X - m.Ball2.X, m.Ball1.Y - m.Ball2.Y); }

double ballEnergy(const Ball& b, double gravity, double height)
{
    const double inertia = kInertiaPerMass * b.Mass;
    const double v2 = b.VelocityX * b.VelocityX + b.VelocityY * b.VelocityY;
    return 0.5 * inertia * v2 + inertia * gravity * height;
}

const sims::Quantity<Model> kQuantities[] = {
    {{"height1", QT_TRANSLATE_NOOP("TwoBallsQuantities", "ボール1の高さ"), "unit"}, height1},
    {{"height2", QT_TRANSLATE_NOOP("TwoBallsQuantities", "ボール2の高さ"), "unit"}, height2},
    {{"speed1", QT_TRANSLATE_NOOP("TwoBallsQuantities", "ボール1の速さ"), "unit/tick"}, [](const Model& m) { return speed(m.Ball1); }},
    {{"speed2", QT_TRANSLATE_NOOP("TwoBallsQuantities", "ボール2の速さ"), "unit/tick"}, [](const Model& m) { return speed(m.Ball2); }},
    {{"spring_length", QT_TRANSLATE_NOOP("TwoBallsQuantities", "バネの長さ"), "unit"}, springLength},
    {{"total", QT_TRANSLATE_NOOP("TwoBallsQuantities", "全エネルギー"), "mass·unit²/tick²"}, totalEnergy},
    {{"bounces", QT_TRANSLATE_NOOP("TwoBallsQuantities", "跳ね返り"), "count"},
     [](const Model& m) { return static_cast<double>(int{m.LastBounces.Ball1} + int{m.LastBounces.Ball2}); }},
};


}  // namespace

double totalEnergy(const Model& m)
{
    const double stretch = springLength(m) - m.RestLength;
    return ballEnergy(m.Ball1, m.Gravity, height1(m)) + ballEnergy(m.Ball2, m.Gravity, height2(m))
           + 0.5 * m.Stiffness * (stretch * stretch);
}

std::span<const sims::Quantity<Model>> quantities() { return kQuantities; }


}  // namespace two_balls
