#include "sims/vibration/vibration_quantities.h"

#include "sims/experiment.h"

namespace vibration {

double kineticEnergy(const Model& m) { return 0.5 * m.Mass * (m.Velocity * m.Velocity); }

double springEnergy(const Model& m)
{
    const double stretch = m.Position - m.RestLength;
    return 0.5 * m.Stiffness * (stretch * stretch);
}

namespace {

const sims::Quantity<Model> kQuantities[] = {
    {{"position", QT_TRANSLATE_NOOP("VibrationQuantities", "位置"), "unit"}, [](const Model& m) { return m.Position; }},
    {{"velocity", QT_TRANSLATE_NOOP("VibrationQuantities", "速度"), "unit/tick"}, [](const Model& m) { return m.Velocity; }},
    {{"force", QT_TRANSLATE_NOOP("VibrationQuantities", "力"), "mass·unit/tick²"}, [](const Model& m) { return m.Force; }},
    {{"kinetic", QT_TRANSLATE_NOOP("VibrationQuantities", "運動エネルギー"), "mass·unit²/tick²"}, kineticEnergy},
    {{"spring", QT_TRANSLATE_NOOP("VibrationQuantities", "バネのエネルギー"), "mass·unit²/tick²"}, springEnergy},
    {{"total", QT_TRANSLATE_NOOP("VibrationQuantities", "全エネルギー"), "mass·unit²/tick²"},
     [](const Model& m) { return kineticEnergy(m) + springEnergy(m); }},
};


}  // namespace

std::span<const sims::Quantity<Model>> quantities() { return kQuantities; }


}  // namespace vibration
