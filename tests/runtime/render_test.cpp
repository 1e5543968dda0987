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

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
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

// ------------------------------------------------------------ the exact rule
//
// The span fill covers a pixel when its sample point (its centre, nudged up
// and left by 1/1024 pixel) lies within half the pen's width of a line of
// the run. It joins nearly straight stretches into one line that passes
// within 1/128 pixel of the nodes it replaces, so it may differ from the
// rule only where a sample point lies that close to the edge: there and
// nowhere else, and in a small share of the covered pixels. Qt's stroke,
// made of flattened round caps on a fixed-point grid, strays further from
// the edge, but not by much.

constexpr double kSample = 0.5 - 1.0 / 1024;
constexpr double kJoinTolerance = 1.0 / 128;

// For every pixel of an image at the given ratio, the distance from its
// sample point to the nearest line of ops[first, last) (lines of no length
// draw nothing and count as far), in device pixels.
std::vector<double> distances(const Ops& ops, std::size_t first, std::size_t last, double ratio, int widthPx,
                              int heightPx)
{
    const double scale = ratio / 15;
    std::vector<double> d2(static_cast<std::size_t>(widthPx) * heightPx, HUGE_VAL);
    for (std::size_t i = first; i < last; ++i) {
        const DrawOp& op = ops[i];
        const double radius = op.width * 15 * scale / 2;
        const double ax = op.x1 * scale, ay = op.y1 * scale, bx = op.x2 * scale, by = op.y2 * scale;
        const double dx = bx - ax, dy = by - ay, length2 = dx * dx + dy * dy;
        if (length2 == 0)
            continue;
        const int x0 = std::max(static_cast<int>(std::floor(std::min(ax, bx) - radius - 1)), 0);
        const int x1 = std::min(static_cast<int>(std::ceil(std::max(ax, bx) + radius + 1)), widthPx - 1);
        const int y0 = std::max(static_cast<int>(std::floor(std::min(ay, by) - radius - 1)), 0);
        const int y1 = std::min(static_cast<int>(std::ceil(std::max(ay, by) + radius + 1)), heightPx - 1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double px = x + kSample - ax, py = y + kSample - ay;
                const double t = std::clamp((px * dx + py * dy) / length2, 0.0, 1.0);
                const double ex = px - t * dx, ey = py - t * dy;
                double& best = d2[static_cast<std::size_t>(y) * widthPx + x];
                best = std::min(best, ex * ex + ey * ey);
            }
    }
    for (double& d : d2)
        d = std::sqrt(d);
    return d2;
}

struct Deviation {
    int differing = 0;    // pixels that are not as the rule has them
    int covered = 0;      // pixels the rule covers
    double farthest = 0;  // the largest distance of a differing pixel's sample point from the edge
};

// An image of thick lines of one width on white against the rule, or two
// images against each other with the rule telling where they differ.
Deviation againstTheRule(const Ops& ops, const QImage& image, double ratio, const QImage* other = nullptr)
{
    const QImage a = image.convertToFormat(QImage::Format_RGB32);
    const QImage b = other ? other->convertToFormat(QImage::Format_RGB32) : QImage();
    const std::vector<double> d = distances(ops, 0, ops.size(), ratio, a.width(), a.height());
    const double radius = ops[0].width * ratio / 2;
    Deviation dev;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const double distance = d[static_cast<std::size_t>(y) * a.width() + x];
            const bool inside = distance <= radius;
            const bool differs =
                other ? a.pixel(x, y) != b.pixel(x, y) : inside != (a.pixel(x, y) != qRgb(255, 255, 255));
            dev.covered += inside ? 1 : 0;
            if (differs) {
                ++dev.differing;
                dev.farthest = std::max(dev.farthest, std::abs(distance - radius));
            }
        }
    return dev;
}

struct Picture {
    const char* name;
    Ops ops;
    bool fringe;  // Qt's stroke but for a thin fringe; otherwise exactly it
    double ratio = 1;
    double rotation = 0, opacity = 1;  // of the caller's painter
    bool spans = true;  // filled by spans, so the rule holds; otherwise Qt strokes it
};

class ThickPolyline : public ::testing::TestWithParam<Picture> {};

TEST_P(ThickPolyline, IsQtsStrokeButForAFringe)
{
    const Picture& p = GetParam();
    const QImage stroked = render(p.ops, rt::ThickLines::Stroke, p.ratio, p.rotation, p.opacity);
    const QImage drawn = render(p.ops, rt::ThickLines::Spans, p.ratio, p.rotation, p.opacity);
    const Comparison c = compare(stroked, drawn);
    ASSERT_GT(c.covered, 100) << "the polyline must show";
    // Qt flattens its round caps into polygons and rounds the outline to a
    // fixed-point grid, so pixels whose centres lie within a hair of the
    // edge may go either way: at most 4 in a thousand, all within 1/8 pixel
    // of the edge. A pen half a pixel off, a pixel too wide or a gap at a
    // corner costs far more, and further from the edge.
    EXPECT_LE(c.differing, p.fringe ? c.covered * 4 / 1000 : 0) << c.differing << " of " << c.covered;
    if (p.fringe && p.rotation == 0) {
        const Deviation where = againstTheRule(p.ops, stroked, p.ratio, &drawn);
        EXPECT_LE(where.farthest, 1.0 / 8) << where.differing << " of " << where.covered;
    }
}

// Against the rule itself the span fill is exact but where joining moved
// the edge: pixels within the join's tolerance of it, a few in ten
// thousand. A joined line that strays, a capsule skipped as covered when it
// was not, or a span cut short shows here even when Qt's fringe would hide
// it.
TEST_P(ThickPolyline, FollowsTheRuleButWithinTheJoinTolerance)
{
    const Picture& p = GetParam();
    if (!p.spans)
        return;  // Qt's own stroke, held to itself above
    const Deviation dev = againstTheRule(p.ops, render(p.ops, rt::ThickLines::Spans, p.ratio), p.ratio);
    EXPECT_LE(dev.farthest, kJoinTolerance) << dev.differing << " of " << dev.covered;
    EXPECT_LE(dev.differing, 2 + dev.covered / 2000) << dev.differing << " of " << dev.covered;
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
        Picture{"OnePixelPen", withWidth(wanderingPolyline(2000, 5, 30, 5), 1), false, 1, 0, 1, false},
        Picture{"RotatedPainter", wanderingPolyline(2000, 5, 30, 5), false, 1, 10, 1, false},
        Picture{"ShortRun", wanderingPolyline(6, 5, 300, 5), false, 1, 0, 1, false},
        Picture{"HalfOpaquePainter", wanderingPolyline(2000, 5, 30, 5), false, 1, 0, 0.5, false},
        Picture{"RunOfNoLength", runOfNoLength(), false, 1, 0, 1, false}),
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
    const Ops cord(ops.begin() + 1, ops.end());  // without the frame, which Qt draws
    for (double ratio : {1.0, 2.0, 3.0}) {
        const QImage drawn = render(ops, rt::ThickLines::Spans, ratio);
        const Comparison c = compare(render(ops, rt::ThickLines::Stroke, ratio), drawn);
        EXPECT_GT(c.covered, 1500 * ratio * ratio) << "ratio " << ratio;
        EXPECT_LE(c.differing, c.covered * 4 / 1000) << c.differing << " of " << c.covered << ", ratio " << ratio;
        const Deviation dev = againstTheRule(cord, render(cord, rt::ThickLines::Spans, ratio), ratio);
        EXPECT_LE(dev.farthest, kJoinTolerance) << "ratio " << ratio;
        EXPECT_LE(dev.differing, 2 + dev.covered / 2000) << dev.differing << " of " << dev.covered << ", ratio " << ratio;
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

// A thick polyline whose colour changes part way: two runs, each of one
// colour, the later drawn over the earlier where they cross. The polyline
// goes out to the right and comes back a fraction of the pen lower, so the
// second half lies over the first along most of its length.
struct ColourChange {
    const char* name;
    int changeAt;  // the first line of the second colour
    double ratio;
};
void PrintTo(const ColourChange& c, std::ostream* os) { *os << c.name; }

constexpr int kChangingLines = 24;
constexpr rt::Color kFirstColour = rt::RGB(200, 0, 0);
constexpr rt::Color kSecondColour = rt::RGB(0, 0, 200);

Ops outAndBack(int changeAt)
{
    std::vector<std::pair<float, float>> nodes;
    for (int i = 0; i <= kChangingLines; ++i) {
        const int out = i <= kChangingLines / 2 ? i : kChangingLines - i;
        const float lower = i <= kChangingLines / 2 ? 0.0f : 31.3f;  // twips, well within the pen
        nodes.emplace_back(1013.7f + 317.9f * out, 2027.1f + 41.3f * (out % 3) + lower);
    }
    Ops ops;
    for (int i = 0; i < kChangingLines; ++i)
        ops.push_back(line(nodes[i].first, nodes[i].second, nodes[i + 1].first, nodes[i + 1].second, 5,
                           i < changeAt ? kFirstColour : kSecondColour));
    return ops;
}

class ColourChangingRun : public ::testing::TestWithParam<ColourChange> {};

TEST_P(ColourChangingRun, EachPartInItsColourTheLaterOnTop)
{
    const ColourChange& p = GetParam();
    const Ops ops = outAndBack(p.changeAt);
    const QImage image = render(ops, rt::ThickLines::Spans, p.ratio).convertToFormat(QImage::Format_RGB32);
    const std::vector<double> first = distances(ops, 0, p.changeAt, p.ratio, image.width(), image.height());
    const std::vector<double> second =
        distances(ops, p.changeAt, ops.size(), p.ratio, image.width(), image.height());
    const double radius = 5 * p.ratio / 2;
    // A part of fewer than eight lines is Qt's stroke, whose edge strays
    // further than the span fill's.
    auto slack = [](int lines) { return lines < 8 ? 1.0 / 8 : kJoinTolerance; };
    const double slackFirst = slack(p.changeAt), slackSecond = slack(kChangingLines - p.changeAt);
    int wrong = 0, firstSeen = 0, secondSeen = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const std::size_t k = static_cast<std::size_t>(y) * image.width() + x;
            const QRgb expected = second[k] <= radius  ? rt::toQColor(kSecondColour).rgb()
                                  : first[k] <= radius ? rt::toQColor(kFirstColour).rgb()
                                                       : qRgb(255, 255, 255);
            const QRgb actual = image.pixel(x, y);
            firstSeen += actual == rt::toQColor(kFirstColour).rgb() ? 1 : 0;
            secondSeen += actual == rt::toQColor(kSecondColour).rgb() ? 1 : 0;
            const bool onAnEdge = std::abs(first[k] - radius) <= slackFirst
                                  || std::abs(second[k] - radius) <= slackSecond;
            wrong += actual != expected && !onAnEdge ? 1 : 0;
        }
    EXPECT_EQ(wrong, 0);
    // Where the second half lies over the first, the first shows only in a
    // sliver beside it: both must show, the first the less.
    EXPECT_GT(firstSeen, 20 * p.ratio * p.ratio);
    EXPECT_GT(secondSeen, 20 * p.ratio * p.ratio);
}

INSTANTIATE_TEST_SUITE_P(
    Render, ColourChangingRun,
    ::testing::Values(ColourChange{"FromTheSecondLine", 1, 1}, ColourChange{"SevenThenSeventeenRatio2", 7, 2},
                      ColourChange{"EightThenSixteen", 8, 1}, ColourChange{"HalfWayRatio3", 12, 3},
                      ColourChange{"HalfWayRatioOneAndAQuarter", 12, 1.25},
                      ColourChange{"SixteenThenEightRatio2", 16, 2}, ColourChange{"SeventeenThenSeven", 17, 1},
                      ColourChange{"AtTheLastLineRatio3", 23, 3}),
    [](const auto& info) { return std::string(info.param.name); });

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

