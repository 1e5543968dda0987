#include "sims/vibration/vibration_quantities.h"

namespace vibration {

double kineticEnergy(const Model& m) { return 0.5 * m.Mass * (m.Velocity * m.Velocity); }

double springEnergy(const Model& m)
{
    const double stretch = m.Position - m.RestLength;
    return 0.5 * m.Stiffness * (stretch * stretch);
}

namespace {

const measure::Quantity<Model> kQuantities[] = {
    {{"position", "位置", "position (spring length)", "unit"}, [](const Model& m) { return m.Position; }},
    {{"velocity", "速度", "velocity", "unit/tick"}, [](const Model& m) { return m.Velocity; }},
    {{"force", "力", "force", "mass·unit/tick²"}, [](const Model& m) { return m.Force; }},
    {{"kinetic", "運動エネルギー", "kinetic energy", "mass·unit²/tick²"}, kineticEnergy},
    {{"spring", "バネのエネルギー", "spring energy", "mass·unit²/tick²"}, springEnergy},
    {{"total", "全エネルギー", "total energy", "mass·unit²/tick²"},
     [](const Model& m) { return kineticEnergy(m) + springEnergy(m); }},
};

const measure::Parameter kParameters[] = {
    {"timer", "タイマー", "Text1", "10"},
    {"length", "長さ", "Text2", "200"},
    {"stiffness", "バネ定数", "Text3", "5"},
    {"mass", "重さ", "Text4", "500"},
    {"viscosity", "粘性抵抗", "Text5", "0.002"},
};

}  // namespace

std::span<const measure::Quantity<Model>> quantities() { return kQuantities; }

std::span<const measure::Parameter> parameters() { return kParameters; }

}  // namespace vibration
