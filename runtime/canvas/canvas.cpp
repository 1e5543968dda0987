#include "runtime/canvas/canvas.h"

#include "runtime/numeric/convert.h"
#include "runtime/numeric/runtime_error.h"

#include <cmath>

namespace rt {
namespace {

DrawOp::Kind kindOf(LineShape shape)
{
    switch (shape) {
    case LineShape::Box:
        return DrawOp::Kind::Box;
    case LineShape::FilledBox:
        return DrawOp::Kind::FilledBox;
    case LineShape::Line:
        break;
    }
    return DrawOp::Kind::Line;
}

// ToSingle, with the common case inline: a window drawing a cord of 32767
// segments converts four coordinates per line every tick. Anything that
// does not come out finite goes to ToSingle for its error.
float single(double value)
{
    const float f = static_cast<float>(value);
    return std::isfinite(f) ? f : ToSingle(value);
}

}  // namespace

Canvas::Canvas() = default;

void Canvas::resetCanvas(Color foreColor, Color backColor)
{
    ForeColor = foreColor;
    BackColor = backColor;
    FillColor = RGB(0, 0, 0);
    FillStyle = kTransparent;
    DrawWidth = 1;
    AutoRedraw = false;
    Cls();
}

void Canvas::Cls()
{
    // clear() keeps the capacity: a window that redraws every tick does not
    // allocate once its picture has reached its usual size.
    m_ops.clear();
    CurrentX = 0;
    CurrentY = 0;
    ++m_generation;
}

void Canvas::Line(double x1, double y1, double x2, double y2, std::optional<Color> color,
                  LineShape shape)
{
    const float fx1 = single(x1);
    const float fy1 = single(y1);
    const float fx2 = single(x2);
    const float fy2 = single(y2);
    DrawOp op;
    op.kind = kindOf(shape);
    op.x1 = fx1;
    op.y1 = fy1;
    op.x2 = fx2;
    op.y2 = fy2;
    op.color = color.value_or(ForeColor);
    op.width = DrawWidth;
    add(op);
    CurrentX = fx2;
    CurrentY = fy2;
}

void Canvas::LineTo(double x2, double y2, std::optional<Color> color, LineShape shape)
{
    Line(CurrentX, CurrentY, x2, y2, color, shape);
}

void Canvas::Circle(double x, double y, double radius, std::optional<Color> color)
{
    DrawOp op;
    op.kind = DrawOp::Kind::Circle;
    op.x1 = ToSingle(x);
    op.y1 = ToSingle(y);
    op.x2 = ToSingle(radius);
    op.color = color.value_or(ForeColor);
    op.fillColor = FillColor;
    op.filled = FillStyle == kSolid;
    op.width = DrawWidth;
    add(op);
    CurrentX = op.x1;
    CurrentY = op.y1;
}

void Canvas::add(DrawOp op)
{
    m_ops.push_back(op);
    ++m_generation;
}

}  // namespace rt
