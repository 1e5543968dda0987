#include "sims/rotation/rotation_quantities.h"

#include <cmath>

namespace rotation {
namespace {

const measure::Quantity<Model> kQuantities[] = {
    {{"x", "x座標", "x of the mass", "twip"}, [](const Model& m) { return m.BallX; }},
    {{"y", "y座標", "y of the mass (down)", "twip"}, [](const Model& m) { return m.BallY; }},
    {{"distance", "ポインタまでの距離", "distance to the pointer", "twip"},
     [](const Model& m) { return std::hypot(m.BallX - m.MouseX, m.BallY - m.MouseY); }},
    {{"speed", "速さ", "speed", "twip/tick"}, [](const Model& m) { return std::hypot(m.VelocityX, m.VelocityY); }},
};

const measure::Parameter kParameters[] = {
    {"timer", "タイマー", "Text1", "10"},
    {"stiffness", "バネ定数", "Text2", "0.02"},
    {"relax", "緩和係数", "Text3", "0.99"},
};

}  // namespace

std::span<const measure::Quantity<Model>> quantities() { return kQuantities; }

std::span<const measure::Parameter> parameters() { return kParameters; }

}  // namespace rotation
