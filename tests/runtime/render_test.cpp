// The replay's fast thick polylines against Qt's own round-capped strokes
// of the same ops: the same picture but for a thin fringe, on images at
// device pixel ratios 1 to 3, for the largest rubber cord in each of its
// poses, through the layer on pixmaps and clipped painters, and in the
// display list's order.

#include "sims/rubber_cord/cord_poses.h"
#include "tests/support/typed_windows.h"
#include "runtime/forms/render.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using rt::DrawOp;
using Ops = std::vector<DrawOp>;

constexpr rt::Color kWhite = rt::RGB(255, 255, 255);
constexpr int kWidthPx = 578;  // the rubber-cord window's surface
constexpr int kHeightPx = 309;

DrawOp line(float x1, float y1, float x2, float y2, int width, rt::Color color = rt::RGB(0, 0, 0))
{
    return {DrawOp::Kind::Line, x1, y1, x2, y2, color, 0, false, width};
}

// A cord-like polyline in twips: a zero-length line on its first point, then
// each line from the end of the one before. Mostly short wandering steps,
// now and then a long jump, some steps of no length, some leaving the
// picture; the same on every run.
Ops wanderingPolyline(int segments, int width, double step, std::uint32_t seed)
{
    std::uint32_t state = seed;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0;  // [0, 1)
    };
    float x = 4000, y = 2000;
    Ops ops{line(x, y, x, y, width)};
    double heading = 0;
    for (int i = 0; i < segments; ++i) {
        heading += (next() - 0.5) * 1.5;
        double length = step * (0.2 + next());
        const double pick = next();
        if (pick < 0.02)
            length *= 30;  // a long jump
        else if (pick < 0.04)
            length = 0;  // coinciding nodes
        auto nx = static_cast<float>(x + length * std::cos(heading));
        auto ny = static_cast<float>(y + length * std::sin(heading));
        if (nx < -2000 || nx > 10000 || ny < -2000 || ny > 6500) {  // turn back
            heading += 3.14159;
            nx = x;
            ny = y;
        }
        ops.push_back(line(x, y, nx, ny, width));
        x = nx;
        y = ny;
    }
    return ops;
}

// A straight run of equal segments from (1500, 1500) twips.
Ops straightRun(float dx, float dy, int width, int segments = 20)
{
    Ops ops;
    for (int i = 0; i < segments; ++i)
        ops.push_back(line(1500 + i * dx, 1500 + i * dy, 1500 + (i + 1) * dx, 1500 + (i + 1) * dy, width));
    return ops;
}

Ops withWidth(Ops ops, int width)
{
    for (DrawOp& op : ops)
        op.width = width;
    return ops;
}

QImage render(const Ops& ops, rt::ThickLines mode, double ratio = 1, double rotation = 0, double opacity = 1,
             int widthPx = kWidthPx)
{
    QImage image(static_cast<int>(widthPx * ratio), static_cast<int>(kHeightPx * ratio),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);  // a rotated background leaves the corners
    QPainter painter(&image);
    painter.rotate(rotation);
    painter.setOpacity(opacity);
    rt::renderPicture(painter, ops, kWhite, mode);
    return image;
}

// The replay on a pixmap, whose pixels are not the replay's to write: the
// runs go through the layer.
QImage throughTheLayer(const Ops& ops, double ratio = 1)
{
    QPixmap pixmap(static_cast<int>(kWidthPx * ratio), static_cast<int>(kHeightPx * ratio));
    pixmap.setDevicePixelRatio(ratio);
    QPainter painter(&pixmap);
    rt::renderPicture(painter, ops, kWhite, rt::ThickLines::Spans);
    painter.end();
    return pixmap.toImage();
}

struct Comparison {
    int differing = 0;  // pixels of different colour
    int covered = 0;    // pixels of the reference that are not the background
};

Comparison compare(const QImage& reference, const QImage& actual)
{
    Comparison c;
    const QImage a = reference.convertToFormat(QImage::Format_RGB32);
    const QImage b = actual.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < a.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            c.differing += ra[x] != rb[x] ? 1 : 0;
            c.covered += ra[x] != qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    return c;
}

struct Picture {
    const char* name;
    Ops ops;
    bool fringe;  // Qt's stroke but for a thin fringe; otherwise exactly it
    double ratio = 1;
    double rotation = 0, opacity = 1;  // of the caller's painter
};

class ThickPolyline : public ::testing::TestWithParam<Picture> {};

TEST_P(ThickPolyline, IsQtsStrokeButForAFringe)
{
    const Picture& p = GetParam();
    const Comparison c = compare(render(p.ops, rt::ThickLines::Stroke, p.ratio, p.rotation, p.opacity),
                                 render(p.ops, rt::ThickLines::Spans, p.ratio, p.rotation, p.opacity));
    ASSERT_GT(c.covered, 100) << "the polyline must show";
    // Qt flattens its round caps into polygons and rounds the outline to a
    // fixed-point grid, so pixels whose centres lie within a hair of the
    // edge may go either way: a few in a thousand. A pen half a pixel off,
    // a pixel too wide or a gap at a corner costs far more.
    EXPECT_LE(c.differing, p.fringe ? c.covered / 100 : 0) << c.differing << " of " << c.covered;
}

Ops runOfNoLength()
{
    // Qt draws nothing for lines of no length, and neither may the run. One
    // visible line keeps the picture from being empty.
    Ops ops(30, line(3000, 2000, 3000, 2000, 5));
    ops.push_back(line(150, 150, 1500, 150, 5));
    return ops;
}

INSTANTIATE_TEST_SUITE_P(
    Render, ThickPolyline,
    ::testing::Values(
        // Wandering cords: the fast way, within the fringe.
        Picture{"CordRatio1", wanderingPolyline(3000, 5, 30, 12345), true},
        Picture{"CordRatio2", wanderingPolyline(3000, 5, 30, 12345), true, 2},
        Picture{"WidePenLongSteps", wanderingPolyline(300, 12, 400, 12345), true},
        Picture{"PenThreeHundredPixelsWide", withWidth(straightRun(30, 10, 5), 300), true},
        Picture{"TwoPixelPen", wanderingPolyline(2000, 2, 60, 12345), true},
        Picture{"ThreePixelPenRatio2", wanderingPolyline(2000, 3, 60, 12345), true, 2},
        Picture{"CordRatio3", wanderingPolyline(3000, 5, 30, 12345), true, 3},
        Picture{"CordRatioOneAndAHalf", wanderingPolyline(3000, 5, 30, 12345), true, 1.5},
        Picture{"PileOfShortStepsRatioOneAndAQuarter", wanderingPolyline(20000, 5, 3, 4321), true, 1.25},
        Picture{"LongCordRatio1", wanderingPolyline(32767, 5, 30, 12345), true},
        // Thousands of steps far shorter than a pixel, tangled in a small
        // area: most of their capsules lie on pixels already covered.
        Picture{"PileOfShortSteps", wanderingPolyline(20000, 5, 3, 4321), true},
        Picture{"PileOfShortStepsRatio2", wanderingPolyline(20000, 5, 3, 4321), true, 2},
        Picture{"PileOfShortStepsRatio3", wanderingPolyline(20000, 5, 3, 4321), true, 3},
        // Runs on whole pixels: every edge pixel centre lies exactly on the
        // capsule's edge, where the two ways must agree pixel for pixel.
        Picture{"HorizontalFivePixels", straightRun(150, 0, 5), false},
        Picture{"VerticalFivePixels", straightRun(0, 150, 5), false},
        Picture{"HorizontalFourPixels", straightRun(150, 0, 4), false},
        Picture{"LeftwardsRatio2", straightRun(-150, 0, 5), false, 2},
        Picture{"UpwardsRatio2", straightRun(0, -150, 3), false, 2},
        Picture{"DownwardsRatio3", straightRun(0, 150, 5), false, 3},
        Picture{"LeftwardsRatio3", straightRun(-150, 0, 4), false, 3},
        // Hundreds of collinear steps an eighth of a pixel long, joined
        // into one line: still exactly Qt's.
        Picture{"TinyStepsAcross", straightRun(15.0f / 8, 0, 5, 800), false},
        Picture{"TinyStepsDownRatio2", straightRun(0, 15.0f / 8, 5, 800), false, 2},
        Picture{"TinyStepsUpRatio3", straightRun(0, -15.0f / 8, 3, 640), false, 3},
        // Where the fast way does not apply the picture is Qt's, pixel for
        // pixel. Overlapping strokes at half opacity darken where they cross;
        // only Qt draws that.
        Picture{"OnePixelPen", withWidth(wanderingPolyline(2000, 5, 30, 5), 1), false},
        Picture{"RotatedPainter", wanderingPolyline(2000, 5, 30, 5), false, 1, 10},
        Picture{"ShortRun", wanderingPolyline(6, 5, 300, 5), false},
        Picture{"HalfOpaquePainter", wanderingPolyline(2000, 5, 30, 5), false, 1, 0, 0.5},
        Picture{"RunOfNoLength", runOfNoLength(), false}),
    [](const auto& info) { return std::string(info.param.name); });

enum class Pose { Settled, MidYank, ZigZag };

// The largest rubber cord as the window draws it (frame and cord), in the
// poses its picture is benchmarked in, at device pixel ratios 1 to 3.
class LargestCord : public ::testing::TestWithParam<Pose> {};

TEST_P(LargestCord, IsQtsStrokeButForAFringeAtEveryRatio)
{
    frmElasticCode window;
    window.Show();
    window.Timer1.setEnabled(false);
    window.Chain = GetParam() == Pose::MidYank ? cord_poses::midYank(32767) : cord_poses::settled(32767);
    window.Timer1.fire();
    Ops ops = window.displayList();
    ASSERT_EQ(ops.size(), 32769u);
    if (GetParam() == Pose::ZigZag)
        ops = cord_poses::withCordAt(ops, cord_poses::zigZag(32767));
    for (double ratio : {1.0, 2.0, 3.0}) {
        const Comparison c = compare(render(ops, rt::ThickLines::Stroke, ratio), render(ops, rt::ThickLines::Spans, ratio));
        EXPECT_GT(c.covered, 1500 * ratio * ratio) << "ratio " << ratio;
        EXPECT_LE(c.differing, c.covered / 100) << c.differing << " of " << c.covered << ", ratio " << ratio;
    }
}

std::string poseName(const ::testing::TestParamInfo<Pose>& info)
{
    switch (info.param) {
    case Pose::Settled: return "Settled";
    case Pose::MidYank: return "MidYank";
    case Pose::ZigZag: return "ZigZag";
    }
    return "";
}

INSTANTIATE_TEST_SUITE_P(Render, LargestCord, ::testing::Values(Pose::Settled, Pose::MidYank, Pose::ZigZag),
                         poseName);

// Lines running off the right and bottom edges, on images whose rows end
// just before, on and just after a 64-pixel boundary: the last pixels of a
// row are filled and nothing past them.
TEST(Render, LinesOffTheEdgeMatchQtsExactly)
{
    Ops ops;
    for (int i = 0; i < 20; ++i)
        ops.push_back(line(7500 + 150 * i, 3000, 7650 + 150 * i, 3000, 5));  // y = 200 px, on to the right
    for (int i = 0; i < 20; ++i)
        ops.push_back(line(3000, 3600 + 150 * i, 3000, 3750 + 150 * i, 4, rt::RGB(0, 0, 255)));  // down past the bottom
    for (int widthPx : {639, 640, 641}) {
        const Comparison c = compare(render(ops, rt::ThickLines::Stroke, 1, 0, 1, widthPx),
                                     render(ops, rt::ThickLines::Spans, 1, 0, 1, widthPx));
        EXPECT_EQ(c.differing, 0) << widthPx << " pixels wide";
        EXPECT_GT(c.covered, 5 * (widthPx - 500)) << widthPx << " pixels wide";
    }
}

// Nodes near the largest single, so far apart that their distance
// overflows a double in device pixels: the run draws nothing wild, away
// from the line, and nothing undefined (the sanitizer build runs this too).
TEST(Render, NodesFarBeyondThePictureDrawNothingAwayFromTheLine)
{
    const float far = 3e38f;
    Ops ops;
    for (int i = 0; i < 10; ++i)
        ops.push_back(i % 2 == 0 ? line(-far, -far, far, far, 5) : line(far, far, -far, -far, 5));
    for (double ratio : {1.0, 3.0}) {
        const QImage image = render(ops, rt::ThickLines::Spans, ratio);
        EXPECT_EQ(image.pixel(image.width() - 5, 5), qRgb(255, 255, 255)) << "ratio " << ratio;
        EXPECT_EQ(image.pixel(5, image.height() - 5), qRgb(255, 255, 255)) << "ratio " << ratio;
    }
}

// Through the layer the runs land on exactly the pixels they fill in an
// image, and a clipped painter leaves everything outside the clip alone.
TEST(Render, RunThroughTheLayerMatchesTheImageExactly)
{
    const Ops ops = wanderingPolyline(3000, 5, 30, 777);
    for (double ratio : {1.0, 2.0, 3.0}) {
        const Comparison c = compare(render(ops, rt::ThickLines::Spans, ratio), throughTheLayer(ops, ratio));
        EXPECT_EQ(c.differing, 0) << "ratio " << ratio;
        EXPECT_GT(c.covered, 1000);
    }
}

TEST(Render, ClippedPainterLeavesTheRestAlone)
{
    const Ops ops = wanderingPolyline(3000, 5, 30, 99);
    QImage image(kWidthPx, kHeightPx, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::green);
    const QImage green = image;
    const QRect inside(0, 0, kWidthPx / 2, kHeightPx), outside(kWidthPx / 2, 0, kWidthPx / 2, kHeightPx);
    {
        QPainter painter(&image);
        painter.setClipRect(inside);
        rt::renderPicture(painter, ops, kWhite, rt::ThickLines::Spans);
    }
    EXPECT_TRUE(image.copy(outside) == green.copy(outside));
    EXPECT_TRUE(image.copy(inside) == render(ops, rt::ThickLines::Spans).copy(inside));
}

TEST(Render, RunsKeepTheirPlaceInTheOrder)
{
    // A red box drawn over the cord hides it; a cord drawn over a box shows.
    const rt::Color red = rt::RGB(255, 0, 0);
    Ops ops{{DrawOp::Kind::FilledBox, 1500, 1200, 3000, 1800, red}};  // under the first run
    for (int i = 0; i < 20; ++i)
        ops.push_back(line(1200 + 150 * i, 1500, 1350 + 150 * i, 1500, 5));  // y = 100 px
    for (int i = 0; i < 20; ++i)
        ops.push_back(line(1200 + 150 * i, 3000, 1350 + 150 * i, 3000, 5, rt::RGB(0, 0, 255)));
    ops.push_back({DrawOp::Kind::FilledBox, 1500, 2700, 3000, 3300, red});  // over the second run
    for (const QImage& image : {render(ops, rt::ThickLines::Spans), throughTheLayer(ops)}) {
        EXPECT_EQ(image.pixel(150, 100), qRgb(0, 0, 0));    // the cord over the box
        EXPECT_EQ(image.pixel(150, 115), qRgb(255, 0, 0));  // the box beside it
        EXPECT_EQ(image.pixel(150, 200), qRgb(255, 0, 0));  // the box over the cord
        EXPECT_EQ(image.pixel(250, 200), qRgb(0, 0, 255));  // the cord beyond the box
    }
}

}  // namespace
