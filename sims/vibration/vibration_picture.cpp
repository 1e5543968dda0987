#include "sims/vibration/vibration_picture.h"

namespace vibration {
namespace {

constexpr int kSegments = 40;        // zig-zag lines of the spring
constexpr double kSpringLeft = 455;  // x of the zig-zag's even points
constexpr double kSpringWidth = 100;
constexpr double kBallX = 500;
constexpr double kBallRadius = 100;

}  // namespace

void drawPicture(rt::Canvas& canvas, const Model& m)
{
    canvas.Cls();
    canvas.FillColor = rt::RGB(255, 0, 0);
    canvas.FillStyle = rt::kSolid;
    const double h = m.Position / 5;
    canvas.Line(kSpringLeft, 0, kSpringLeft, 0);
    for (int i = 1; i <= kSegments; ++i)
        canvas.LineTo(kSpringLeft + kSpringWidth * (i % 2), i * h);
    canvas.Circle(kBallX, m.Position * TwipsPerUnit, kBallRadius);
}

}  // namespace vibration
