#include "sims/two_balls/two_balls_picture.h"

namespace two_balls {
namespace {

constexpr double kFloorY = 4250;       // twips: where the small ball rests
constexpr double kFloorRight = 9000;   // past the right edge of the window
constexpr double kBall1Radius = 100;   // twips
constexpr double kBall2Radius = 50;

}  // namespace

void drawPicture(rt::Canvas& canvas, const Model& m)
{
    const double x1 = m.Ball1.X * DisplayScale;
    const double y1 = m.Ball1.Y * DisplayScale;
    const double x2 = m.Ball2.X * DisplayScale;
    const double y2 = m.Ball2.Y * DisplayScale;

    canvas.AutoRedraw = false;
    canvas.Cls();
    // A filled box of no height: a black line one pixel high.
    canvas.Line(0, kFloorY, kFloorRight, kFloorY, rt::RGB(0, 0, 0), rt::LineShape::FilledBox);
    canvas.Line(x1, y1, x2, y2);
    canvas.FillStyle = rt::kSolid;
    canvas.FillColor = rt::RGB(255, 255, 0);
    canvas.Circle(x1, y1, kBall1Radius);
    // The small ball last, so it lies over the large one where they meet.
    canvas.FillColor = rt::RGB(255, 0, 0);
    canvas.Circle(x2, y2, kBall2Radius);
    canvas.AutoRedraw = true;
}

}  // namespace two_balls
