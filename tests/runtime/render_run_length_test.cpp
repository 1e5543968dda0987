// Where the replay switches from Qt's strokes to its own span fill: a run
// of connected thick lines shorter than eight is Qt's picture pixel for
// pixel; from eight on it is the span fill, which covers exactly the pixels
// whose centres lie within half the pen's width of a segment. The polyline
// below is chosen so that the two ways differ in a few fringe pixels, so a
// picture tells which way drew it.

#include "runtime/forms/render.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using rt::DrawOp;
using Ops = std::vector<DrawOp>;

constexpr int kWidthPx = 400;
constexpr int kHeightPx = 300;
constexpr int kPen = 5;

// `count` connected lines at odd angles and lengths, none on whole pixels.
Ops zigzag(int count)
{
    Ops ops;
    double x = 613.7, y = 1021.3;
    for (int i = 0; i < count; ++i) {
        const double nx = x + 217.3 + 37.1 * (i % 3);
        const double ny = y + ((i % 2 == 0) ? 1333.9 : -1187.7) + 11.3 * i;
        ops.push_back({DrawOp::Kind::Line, static_cast<float>(x), static_cast<float>(y), static_cast<float>(nx),
                       static_cast<float>(ny), rt::RGB(0, 0, 0), 0, false, kPen});
        x = ops.back().x2;
        y = ops.back().y2;
    }
    return ops;
}

QImage render(const Ops& ops, rt::ThickLines mode)
{
    QImage image(kWidthPx, kHeightPx, QImage::Format_RGB32);
    QPainter painter(&image);
    rt::renderPicture(painter, ops, rt::RGB(255, 255, 255), mode);
    painter.end();
    return image;
}

// The span fill's own rule, pixel by pixel: a pixel is covered when its
// sample point (its centre, nudged by a hair up and left) lies within half
// the pen's width of a segment.
QImage capsules(const Ops& ops)
{
    QImage image(kWidthPx, kHeightPx, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    const double radius = kPen / 2.0;
    const double sample = 0.5 - 1.0 / 1024;
    for (const DrawOp& op : ops) {
        const double ax = op.x1 / 15.0, ay = op.y1 / 15.0, bx = op.x2 / 15.0, by = op.y2 / 15.0;
        const double dx = bx - ax, dy = by - ay, length2 = dx * dx + dy * dy;
        for (int y = 0; y < kHeightPx; ++y)
            for (int x = 0; x < kWidthPx; ++x) {
                const double px = x + sample - ax, py = y + sample - ay;
                const double t = std::clamp((px * dx + py * dy) / length2, 0.0, 1.0);
                const double ex = px - t * dx, ey = py - t * dy;
                if (ex * ex + ey * ey <= radius * radius)
                    image.setPixel(x, y, qRgb(0, 0, 0));
            }
    }
    return image;
}

int differing(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return count;
}

class RunLength : public ::testing::TestWithParam<int> {};

TEST_P(RunLength, ShortRunsAreQtsStrokesLongerOnesTheSpanFill)
{
    const int count = GetParam();
    const Ops ops = zigzag(count);
    const QImage stroked = render(ops, rt::ThickLines::Stroke);
    const QImage drawn = render(ops, rt::ThickLines::Spans);
    if (count < 8) {
        EXPECT_EQ(differing(drawn, stroked), 0) << "a run of " << count << " is stroked by Qt";
    } else {
        EXPECT_GT(differing(drawn, stroked), 0) << "a run of " << count << " is filled by spans";
        EXPECT_EQ(differing(drawn, capsules(ops)), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Render, RunLength, ::testing::Values(1, 2, 6, 7, 8, 9, 10, 16),
                         [](const auto& info) { return "Lines" + std::to_string(info.param); });

// The polyline must tell the two ways apart from its first lines on, or a
// shifted switch-over could go unseen.
TEST(RunLength, EveryPrefixOfThePolylineShowsWhichWayDrewIt)
{
    for (int count = 1; count <= 16; ++count) {
        const Ops ops = zigzag(count);
        EXPECT_GT(differing(capsules(ops), render(ops, rt::ThickLines::Stroke)), 0) << count;
    }
}

}  // namespace
