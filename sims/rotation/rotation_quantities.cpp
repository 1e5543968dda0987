#include "sims/rotation/rotation_quantities.h"

#include "runtime/numeric/hypot.h"
#include "sims/experiment.h"

#include <cmath>

namespace rotation {
namespace {

const sims::Quantity<Model> kQuantities[] = {
    {{"x", QT_TRANSLATE_NOOP("RotationQuantities", "x座標"), "twip"}, [](const Model& m) { return m.BallX; }},
    {{"y", QT_TRANSLATE_NOOP("RotationQuantities", "y座標"), "twip"}, [](const Model& m) { return m.BallY; }},
    {{"distance", QT_TRANSLATE_NOOP("RotationQuantities", "ポインタまでの距離"), "twip"},
     [](const Model& m) { return rt::hypot(m.BallX - m.MouseX, m.BallY - m.MouseY); }},
    {{"speed", QT_TRANSLATE_NOOP("RotationQuantities", "速さ"), "twip/tick"}, [](const Model& m) { return rt::hypot(m.VelocityX, m.VelocityY); }},
};


}  // namespace

std::span<const sims::Quantity<Model>> quantities() { return kQuantities; }


}  // namespace rotation
