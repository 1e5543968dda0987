#include "sims/rotation/rotation_picture.h"

namespace rotation {

void drawPicture(rt::Canvas& canvas, const Model& m)
{
    constexpr double kBallRadius = 50;
    canvas.FillColor = rt::RGB(255, 0, 0);
    canvas.FillStyle = rt::kSolid;
    canvas.Line(m.MouseX, m.MouseY, m.BallX, m.BallY);
    canvas.Circle(m.BallX, m.BallY, kBallRadius);
}

}  // namespace rotation
