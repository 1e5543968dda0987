#include "sims/two_balls/two_balls_quantities.h"

#include <cmath>

namespace two_balls {
namespace {

constexpr double kInertiaPerMass = 1 / ForceFactor;

double height1(const Model& m) { return Ball1Floor - m.Ball1.Y; }
double height2(const Model& m) { return Ball2Floor - m.Ball2.Y; }
double speed(const Ball& b) { return std::hypot(b.VelocityX, b.VelocityY); }
double springLength(const Model& m) { return std::hypot(m.Ball1.X - m.Ball2.X, m.Ball1.Y - m.Ball2.Y); }

double ballEnergy(const Ball& b, double gravity, double height)
{
    const double inertia = kInertiaPerMass * b.Mass;
    const double v2 = b.VelocityX * b.VelocityX + b.VelocityY * b.VelocityY;
    return 0.5 * inertia * v2 + inertia * gravity * height;
}

const measure::Quantity<Model> kQuantities[] = {
    {{"height1", "ボール1の高さ", "height of ball 1", "unit"}, height1},
    {{"height2", "ボール2の高さ", "height of ball 2", "unit"}, height2},
    {{"speed1", "ボール1の速さ", "speed of ball 1", "unit/tick"}, [](const Model& m) { return speed(m.Ball1); }},
    {{"speed2", "ボール2の速さ", "speed of ball 2", "unit/tick"}, [](const Model& m) { return speed(m.Ball2); }},
    {{"spring_length", "バネの長さ", "spring length", "unit"}, springLength},
    {{"total", "全エネルギー", "total energy", "mass·unit²/tick²"}, totalEnergy},
    {{"bounces", "跳ね返り", "bounces this tick", "count"},
     [](const Model& m) { return static_cast<double>(int{m.LastBounces.Ball1} + int{m.LastBounces.Ball2}); }},
};

const measure::Parameter kParameters[] = {
    {"timer", "タイマー", "Text1", "10"},
    {"length", "バネの長さ", "Text2", "300"},
    {"stiffness", "バネの強さ", "Text7", "10"},
    {"resistance", "抵抗", "Text3", "0.02"},
    {"mass1", "質量１", "Text4", "1500"},
    {"mass2", "質量2", "Text5", "200"},
    {"gravity", "重力", "Text6", "0.98"},
};

}  // namespace

double totalEnergy(const Model& m)
{
    const double stretch = springLength(m) - m.RestLength;
    return ballEnergy(m.Ball1, m.Gravity, height1(m)) + ballEnergy(m.Ball2, m.Gravity, height2(m))
           + 0.5 * m.Stiffness * (stretch * stretch);
}

std::span<const measure::Quantity<Model>> quantities() { return kQuantities; }

std::span<const measure::Parameter> parameters() { return kParameters; }

}  // namespace two_balls
