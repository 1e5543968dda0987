#include "measure/picture_svg.h"

#include "runtime/canvas/scale.h"
#include "runtime/numeric/number_text.h"

#include <algorithm>
#include <cstdio>

namespace measure {
namespace {

constexpr int kTwipsPerPixel = static_cast<int>(rt::kTwipsPerPixel);

std::string colour(rt::Color c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", rt::redOf(c), rt::greenOf(c), rt::blueOf(c));
    return text;
}

void attribute(std::string& out, const char* name, float v)
{
    out.append(" ").append(name).append("=\"");
    rt::appendShortest(out, v);
    out.append("\"");
}

void pen(std::string& out, rt::Color c, int widthPixels)
{
    out.append(" stroke=\"").append(colour(c)).append("\" stroke-width=\"");
    out.append(std::to_string(std::max(widthPixels, 1) * kTwipsPerPixel)).append("\"");
}

}  // namespace

std::string pictureSvg(const rt::Canvas& canvas, int widthTwips, int heightTwips)
{
    const std::string w = std::to_string(widthTwips);
    const std::string h = std::to_string(heightTwips);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\""
                      + rt::shortestText(double(widthTwips) / kTwipsPerPixel) + "\" height=\""
                      + rt::shortestText(double(heightTwips) / kTwipsPerPixel) + "\" viewBox=\"0 0 " + w + " " + h
                      + "\" stroke-linecap=\"round\">\n";
    out.append("<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"" + colour(canvas.BackColor) + "\"/>\n");
    for (const rt::DrawOp& op : canvas.displayList()) {
        switch (op.kind) {
        case rt::DrawOp::Kind::Line:
            out.append("<line");
            attribute(out, "x1", op.x1);
            attribute(out, "y1", op.y1);
            attribute(out, "x2", op.x2);
            attribute(out, "y2", op.y2);
            pen(out, op.color, op.width);
            out.append("/>\n");
            break;
        case rt::DrawOp::Kind::Box:
        case rt::DrawOp::Kind::FilledBox: {
            // A path rather than a rect: a box of no height (the two balls'
            // floor) is still its outline, as the window draws it.
            const float left = std::min(op.x1, op.x2), right = std::max(op.x1, op.x2);
            const float top = std::min(op.y1, op.y2), bottom = std::max(op.y1, op.y2);
            out.append("<path d=\"M");
            rt::appendShortest(out, left);
            out.append(" ");
            rt::appendShortest(out, top);
            out.append("H");
            rt::appendShortest(out, right);
            out.append("V");
            rt::appendShortest(out, bottom);
            out.append("H");
            rt::appendShortest(out, left);
            out.append("Z\"");
            if (op.kind == rt::DrawOp::Kind::FilledBox)
                out.append(" fill=\"").append(colour(op.color)).append("\"");
            else
                out.append(" fill=\"none\"");
            pen(out, op.color, op.width);
            out.append("/>\n");
            break;
        }
        case rt::DrawOp::Kind::Circle:
            out.append("<circle");
            attribute(out, "cx", op.x1);
            attribute(out, "cy", op.y1);
            attribute(out, "r", op.x2);
            out.append(" fill=\"").append(op.filled ? colour(op.fillColor) : std::string("none")).append("\"");
            pen(out, op.color, op.width);
            out.append("/>\n");
            break;
        }
    }
    out.append("</svg>\n");
    return out;
}

}  // namespace measure
