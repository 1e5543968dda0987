#include "sims/rubber_cord/rubber_cord_picture.h"

namespace rubber_cord {
namespace {

// The frame's left, top and right edges lie on the walls (3 * 60, 3 * 1860);
// its bottom is a little below the floor (3 * 1380 = 4140), so the cord
// resting at 1380 + Gravity still shows inside it.
constexpr double kFrameLeft = 180;
constexpr double kFrameTop = 180;
constexpr double kFrameRight = 5580;
constexpr double kFrameBottom = 4166;
constexpr rt::Color kFrameColor = rt::RGB(127, 127, 0);
constexpr int kFrameWidth = 1;  // pixels
constexpr int kCordWidth = 5;   // pixels
constexpr rt::Color kCordColor = rt::RGB(0, 0, 0);

}  // namespace

void drawPicture(rt::Canvas& canvas, const ChainModel& chain)
{
    canvas.Cls();
    canvas.DrawWidth = kFrameWidth;
    canvas.Line(kFrameLeft, kFrameTop, kFrameRight, kFrameBottom, kFrameColor, rt::LineShape::Box);

    // The cord as one polyline: a zero-length line puts the pen on node 0,
    // then each segment runs on from the pen to the next node. Nodes outside
    // the frame (pulled beyond it, or just below the floor) are drawn too.
    canvas.DrawWidth = kCordWidth;
    const ChainModel::Node& first = chain.node(0);
    const double x0 = ChainModel::DisplayScale * first.X;
    const double y0 = ChainModel::DisplayScale * first.Y;
    canvas.Line(x0, y0, x0, y0);
    const auto nodes = chain.nodes();
    for (std::size_t i = 1; i < nodes.size(); ++i)
        canvas.LineTo(ChainModel::DisplayScale * nodes[i].X, ChainModel::DisplayScale * nodes[i].Y,
                      kCordColor);
}

}  // namespace rubber_cord
