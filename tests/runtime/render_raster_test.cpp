// A window's whole picture drawn into plain 32-bit pixels with no window
// system, as a browser draws it into a canvas: thick lines and boxes by the
// rule (a pixel is drawn when its centre lies on the shape), thin pens and
// circles as the desktop draws them (one pixel per step, antialiased edges:
// tests/web/page_picture_test.cpp holds them against the desktop's pixels)
// and so judged here only clear of their edges; in the display list's
// order, nothing outside the buffer touched, colours laid out as asked.

#include "runtime/canvas/raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

using rt::DrawOp;
using Ops = std::vector<DrawOp>;

constexpr rt::Color kBack = rt::RGB(240, 240, 240);
constexpr rt::Color kInk = rt::RGB(0, 0, 0);
constexpr rt::Color kRed = rt::RGB(255, 0, 0);
constexpr rt::Color kBlue = rt::RGB(0, 0, 255);
constexpr int kWidthPx = 200;  // at 100 %
constexpr int kHeightPx = 150;
constexpr std::uint32_t kSentinel = 0x12345678;  // beyond each row's width

// Where a pixel is sampled, and how far from an edge the fill may stray
// (joined stretches of a polyline), as the rasterizer documents them.
constexpr double kSample = 0.5 - 1.0 / 1024;
constexpr double kTolerance = 1.0 / 128 + 1e-9;
// How far from the edge of a thin pen's line or of a circle a pixel may
// differ from the rule: a thin line steps a pixel at a time, a circle's
// edge is antialiased over a pixel.
constexpr double kEdgeZone = 1.0 + 1e-9;

DrawOp line(float x1, float y1, float x2, float y2, int width, rt::Color color = kInk)
{
    return {DrawOp::Kind::Line, x1, y1, x2, y2, color, 0, false, width};
}
DrawOp box(float x1, float y1, float x2, float y2, int width, bool filled, rt::Color color = kInk)
{
    return {filled ? DrawOp::Kind::FilledBox : DrawOp::Kind::Box, x1, y1, x2, y2, color, 0, false, width};
}
DrawOp circle(float x, float y, float radius, int width, rt::Color color, bool filled = false,
              rt::Color fill = kRed)
{
    return {DrawOp::Kind::Circle, x, y, radius, 0, color, fill, filled, width};
}

// A cord of short wandering steps from (x, y), in twips.
Ops cord(float x, float y, int steps, rt::Color color = kInk)
{
    Ops ops;
    for (int i = 0; i < steps; ++i) {
        const auto nx = static_cast<float>(x + 23.7 + 9.1 * std::sin(i * 0.7));
        const auto ny = static_cast<float>(y + 31.3 * std::cos(i * 0.23));
        ops.push_back(line(x, y, nx, ny, 5, color));
        x = nx;
        y = ny;
    }
    return ops;
}

double segmentDistance(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay, length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0, 1.0) : 0;
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// How far inside an op's shape a sample point lies (negative outside), in
// device pixels, and in which colour it draws there.
struct Cover {
    double depth;
    rt::Color color;
};

Cover coverOf(const DrawOp& op, double px, double py, double scale)
{
    const double half = op.width * 15 * scale / 2;
    const double ax = op.x1 * scale, ay = op.y1 * scale, bx = op.x2 * scale, by = op.y2 * scale;
    switch (op.kind) {
    case DrawOp::Kind::Line:
        if (ax == bx && ay == by)  // a thin line of no length is a dot, a thick one nothing
            return {op.width * 15 * scale <= 1
                        ? 0.5 - std::hypot(px - std::floor(ax + 0.5) - 0.5, py - std::floor(ay + 0.5) - 0.5)
                        : -1e9,
                    op.color};
        return {half - segmentDistance(px, py, ax, ay, bx, by), op.color};
    case DrawOp::Kind::Box:
    case DrawOp::Kind::FilledBox: {
        const double sides = std::min({segmentDistance(px, py, ax, ay, bx, ay), segmentDistance(px, py, bx, ay, bx, by),
                                       segmentDistance(px, py, bx, by, ax, by), segmentDistance(px, py, ax, by, ax, ay)});
        double depth = half - sides;
        if (op.kind == DrawOp::Kind::FilledBox)
            depth = std::max(depth, std::min({px - std::min(ax, bx), std::max(ax, bx) - px, py - std::min(ay, by),
                                              std::max(ay, by) - py}));
        return {depth, op.color};
    }
    case DrawOp::Kind::Circle: {
        const double d = std::hypot(px - ax, py - ay), r = op.x2 * scale;
        const double ring = half - std::abs(d - r);
        if (op.filled && ring < 0 && d <= r)
            return {r - half - d, op.fillColor};  // the fill shows inside the ring
        return {ring, op.color};
    }
    }
    return {-1e9, op.color};
}

struct Picture {
    const char* name;
    Ops ops;
    double ratio = 1;  // device pixels per pixel: scale = ratio / 15
};
void PrintTo(const Picture& p, std::ostream* os) { *os << p.name; }

class WholePicture : public ::testing::TestWithParam<Picture> {};

TEST_P(WholePicture, EveryPixelAsTheRuleHasItInTheListsOrder)
{
    const Picture& p = GetParam();
    const double scale = p.ratio / 15;
    const int width = static_cast<int>(kWidthPx * p.ratio), height = static_cast<int>(kHeightPx * p.ratio);
    const int stride = width + 3;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(stride) * height, kSentinel);
    rt::rasterPicture({pixels.data(), width, height, stride}, p.ops, kBack, scale, rt::PixelLayout::Argb);

    int wrong = 0, drawn = 0, beyond = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = width; x < stride; ++x)
            beyond += pixels[static_cast<std::size_t>(y) * stride + x] != kSentinel ? 1 : 0;
        for (int x = 0; x < width; ++x) {
            // The last op whose shape holds the sample point decides, unless
            // it or a later one has its edge too close to call.
            rt::Color expected = kBack;
            bool tooClose = false;
            for (const DrawOp& op : p.ops) {
                const Cover c = coverOf(op, x + kSample, y + kSample, scale);
                const bool thin = op.width * 15 * scale <= 1;
                if (std::abs(c.depth) <= (thin || op.kind == DrawOp::Kind::Circle ? kEdgeZone : kTolerance))
                    tooClose = true;
                else if (c.depth > 0)
                    expected = c.color, tooClose = false;
            }
            const std::uint32_t actual = pixels[static_cast<std::size_t>(y) * stride + x];
            drawn += actual != rt::argbPixel(kBack) ? 1 : 0;
            if (!tooClose && actual != rt::argbPixel(expected) && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << actual << ", not "
                              << rt::argbPixel(expected);
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(beyond, 0) << "pixels past a row's width were written";
    EXPECT_GT(drawn, 40 * p.ratio * p.ratio) << "the picture must show";
}

Ops ballOnFloorUnderCord()
{
    Ops ops{line(0, 1800, 3000, 1800, 1),                       // the floor
            circle(1500, 1200, 450, 1, kInk, true, kRed)};      // a ball on it
    const Ops c = cord(600, 900, 90);                           // a cord across the ball
    ops.insert(ops.end(), c.begin(), c.end());
    ops.push_back(box(2100, 300, 2700, 1500, 1, true, kBlue));  // a box over the cord's end
    return ops;
}

Ops offTheEdges()
{
    return {line(-600, 750, 3600, 900, 5),      // through the left and right sides
            box(2700, 1950, 3300, 2400, 3, true),  // past the bottom right corner
            circle(0, 0, 600, 3, kBlue, true),     // round the top left corner
            line(1500, -3e38f, 1500, 3e38f, 5)};   // from far beyond the top to far beyond the bottom
}

INSTANTIATE_TEST_SUITE_P(
    Raster, WholePicture,
    ::testing::Values(Picture{"ThinLines", {line(150, 300, 2850, 300, 1), line(300, 150, 1200, 2100, 1)}},
                      Picture{"ThickSlantedLine", {line(300, 450, 2400, 1650, 5)}, 2},
                      Picture{"BoxOutlines", {box(300, 300, 1500, 1200, 1, false), box(1650, 300, 2700, 1800, 3, false)}},
                      Picture{"FilledBox", {box(450, 450, 2550, 1650, 1, true, kBlue)}, 3},
                      Picture{"FilledBallOutlined", {circle(1500, 1100, 600, 1, kInk, true)}, 1.25},
                      Picture{"RingOnly", {circle(1500, 1100, 600, 3, kBlue)}, 2},
                      Picture{"BallOnFloorUnderCord", ballOnFloorUnderCord()},
                      Picture{"BallOnFloorUnderCordRatio3", ballOnFloorUnderCord(), 3},
                      Picture{"OffTheEdges", offTheEdges()}, Picture{"OffTheEdgesRatio2", offTheEdges(), 2}),
    [](const auto& info) { return std::string(info.param.name); });

// The same colour laid out for Qt's images and for a canvas's RGBA bytes.
struct Layout {
    const char* name;
    rt::PixelLayout layout;
    unsigned char bytes[4];  // the pixel in memory, first byte first (little-endian words)
};
void PrintTo(const Layout& l, std::ostream* os) { *os << l.name; }

class PixelLayout : public ::testing::TestWithParam<Layout> {};

TEST_P(PixelLayout, ColourBytesLandWhereTheBufferExpectsThem)
{
    std::uint32_t pixel = 0;
    rt::rasterPicture({&pixel, 1, 1, 1}, {}, rt::RGB(0x11, 0x22, 0x33), 1.0 / 15, GetParam().layout);
    unsigned char bytes[4];
    std::memcpy(bytes, &pixel, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(bytes[i], GetParam().bytes[i]) << "byte " << i;
}

INSTANTIATE_TEST_SUITE_P(Raster, PixelLayout,
                         ::testing::Values(Layout{"ArgbWordBgraBytes", rt::PixelLayout::Argb, {0x33, 0x22, 0x11, 0xFF}},
                                           Layout{"RgbaBytes", rt::PixelLayout::Rgba, {0x11, 0x22, 0x33, 0xFF}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
