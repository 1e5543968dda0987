// The replay's fast thick polylines against Qt's own round-capped strokes
// of the same ops: the same picture but for a thin fringe, on images at
// both device pixel ratios, through the layer on pixmaps and clipped
// painters, and in the display list's order.

#include "render.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

using rt::DrawOp;

constexpr rt::Color kWhite = rt::RGB(255, 255, 255);
constexpr rt::Color kBlack = rt::RGB(0, 0, 0);
constexpr int kWidthPx = 578;  // the rubber-cord window's surface
constexpr int kHeightPx = 309;

DrawOp line(float x1, float y1, float x2, float y2, int width, rt::Color color = kBlack)
{
    DrawOp op;
    op.kind = DrawOp::Kind::Line;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.width = width;
    op.color = color;
    return op;
}

// A cord-like polyline in twips: a zero-length line on its first point, then
// each line from the end of the one before. Mostly short wandering steps,
// now and then a long jump, some steps of no length, some leaving the
// picture; the same on every run.
std::vector<DrawOp> wanderingPolyline(int segments, int width, double step, std::uint32_t seed)
{
    std::uint32_t state = seed;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0;  // [0, 1)
    };
    std::vector<DrawOp> ops;
    float x = 4000, y = 2000;
    ops.push_back(line(x, y, x, y, width));
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

QImage render(const std::vector<DrawOp>& ops, rt::ThickLines mode, double ratio,
              QImage::Format format = QImage::Format_ARGB32_Premultiplied)
{
    QImage image(static_cast<int>(kWidthPx * ratio), static_cast<int>(kHeightPx * ratio), format);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    rt::renderPicture(painter, ops, kWhite, mode);
    return image;
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
    int segments;
    int width;    // pixels
    double step;  // twips, the typical segment
    double ratio;
};
void PrintTo(const Picture& p, std::ostream* os) { *os << p.name; }

class ThickPolyline : public ::testing::TestWithParam<Picture> {};

TEST_P(ThickPolyline, DiffersFromQtsStrokeOnlyInAFringe)
{
    const Picture& p = GetParam();
    const auto ops = wanderingPolyline(p.segments, p.width, p.step, 12345);
    const QImage reference = render(ops, rt::ThickLines::Stroke, p.ratio);
    const QImage fast = render(ops, rt::ThickLines::Spans, p.ratio);
    const Comparison c = compare(reference, fast);
    ASSERT_GT(c.covered, 1000) << "the polyline must show";
    // Qt flattens its round caps into polygons and rounds the outline to a
    // fixed-point grid, so pixels whose centres lie within a hair of the
    // edge may go either way: a few in a thousand. A pen half a pixel off,
    // a pixel too wide or a gap at a corner costs far more.
    EXPECT_LE(c.differing, c.covered / 100) << c.differing << " of " << c.covered;
}

std::string pictureName(const ::testing::TestParamInfo<Picture>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Render, ThickPolyline,
                         ::testing::Values(Picture{"CordRatio1", 3000, 5, 30, 1},
                                           Picture{"CordRatio2", 3000, 5, 30, 2},
                                           Picture{"WidePenLongSteps", 300, 12, 400, 1},
                                           Picture{"TwoPixelPen", 2000, 2, 60, 1},
                                           Picture{"ThreePixelPenRatio2", 2000, 3, 60, 2},
                                           Picture{"LongCordRatio1", 32767, 5, 30, 1}),
                         pictureName);

// Runs on whole pixels: every edge pixel centre lies exactly on the
// capsule's edge, where the two ways must agree pixel for pixel.
struct Straight {
    const char* name;
    float dx, dy;  // twips per segment
    int width;
    double ratio;
};
void PrintTo(const Straight& s, std::ostream* os) { *os << s.name; }

class StraightRun : public ::testing::TestWithParam<Straight> {};

TEST_P(StraightRun, IsExactlyQtsStroke)
{
    const Straight& s = GetParam();
    std::vector<DrawOp> ops;
    float x = 1500, y = 1500;
    for (int i = 0; i < 20; ++i) {
        ops.push_back(line(x, y, x + s.dx, y + s.dy, s.width));
        x += s.dx;
        y += s.dy;
    }
    const Comparison c = compare(render(ops, rt::ThickLines::Stroke, s.ratio),
                                 render(ops, rt::ThickLines::Spans, s.ratio));
    ASSERT_GT(c.covered, 0);
    EXPECT_EQ(c.differing, 0);
}

std::string straightName(const ::testing::TestParamInfo<Straight>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Render, StraightRun,
                         ::testing::Values(Straight{"HorizontalFivePixels", 150, 0, 5, 1},
                                           Straight{"VerticalFivePixels", 0, 150, 5, 1},
                                           Straight{"HorizontalFourPixels", 150, 0, 4, 1},
                                           Straight{"LeftwardsRatio2", -150, 0, 5, 2},
                                           Straight{"UpwardsRatio2", 0, -150, 3, 2}),
                         straightName);

// The same run through the layer (a pixmap's pixels are not the replay's
// to write) lands on exactly the pixels it fills in an image.
TEST(Render, RunThroughTheLayerMatchesTheImageExactly)
{
    const auto ops = wanderingPolyline(3000, 5, 30, 777);
    for (double ratio : {1.0, 2.0}) {
        const QImage direct = render(ops, rt::ThickLines::Spans, ratio);
        QPixmap pixmap(direct.size());
        pixmap.setDevicePixelRatio(ratio);
        {
            QPainter painter(&pixmap);
            rt::renderPicture(painter, ops, kWhite, rt::ThickLines::Spans);
        }
        const Comparison c = compare(direct, pixmap.toImage());
        EXPECT_EQ(c.differing, 0) << "ratio " << ratio;
        EXPECT_GT(c.covered, 1000);
    }
}

TEST(Render, ClippedPainterLeavesTheRestAlone)
{
    // Through the layer, within the clip only.
    const auto ops = wanderingPolyline(3000, 5, 30, 99);
    QImage image(kWidthPx, kHeightPx, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::green);
    {
        QPainter painter(&image);
        painter.setClipRect(0, 0, kWidthPx / 2, kHeightPx);
        rt::renderPicture(painter, ops, kWhite, rt::ThickLines::Spans);
    }
    const QImage whole = render(ops, rt::ThickLines::Spans, 1);
    int outside = 0, insideDiffering = 0;
    for (int y = 0; y < kHeightPx; ++y)
        for (int x = 0; x < kWidthPx; ++x) {
            if (x >= kWidthPx / 2)
                outside += image.pixel(x, y) == qRgb(0, 255, 0) ? 0 : 1;
            else
                insideDiffering += image.pixel(x, y) == whole.pixel(x, y) ? 0 : 1;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(insideDiffering, 0);
}

TEST(Render, RunsKeepTheirPlaceInTheOrder)
{
    // A red box drawn over the cord hides it; a cord drawn over a box shows.
    std::vector<DrawOp> ops;
    DrawOp box;
    box.kind = DrawOp::Kind::FilledBox;
    box.x1 = 1500;
    box.y1 = 1200;
    box.x2 = 3000;
    box.y2 = 1800;
    box.color = rt::RGB(255, 0, 0);
    ops.push_back(box);  // under the first run
    for (int i = 0; i < 20; ++i)
        ops.push_back(line(1200 + 150 * i, 1500, 1350 + 150 * i, 1500, 5));  // y = 100 px
    for (int i = 0; i < 20; ++i)
        ops.push_back(line(1200 + 150 * i, 3000, 1350 + 150 * i, 3000, 5, rt::RGB(0, 0, 255)));
    box.y1 = 2700;
    box.y2 = 3300;
    ops.push_back(box);  // over the second run
    QPixmap pixmap(kWidthPx, kHeightPx);
    {
        QPainter painter(&pixmap);
        rt::renderPicture(painter, ops, kWhite, rt::ThickLines::Spans);
    }
    for (const QImage& image : {render(ops, rt::ThickLines::Spans, 1), pixmap.toImage()}) {
        EXPECT_EQ(image.pixel(150, 100), qRgb(0, 0, 0));    // the cord over the box
        EXPECT_EQ(image.pixel(150, 115), qRgb(255, 0, 0));  // the box beside it
        EXPECT_EQ(image.pixel(150, 200), qRgb(255, 0, 0));  // the box over the cord
        EXPECT_EQ(image.pixel(250, 200), qRgb(0, 0, 255));  // the cord beyond the box
    }
}

// Where the fast way does not apply, the picture is Qt's, pixel for pixel.
struct Untouched {
    const char* name;
    std::vector<DrawOp> ops;
    double rotation;  // degrees, applied by the caller's painter
    double opacity = 1;
};
void PrintTo(const Untouched& u, std::ostream* os) { *os << u.name; }

class StrokedAsBefore : public ::testing::TestWithParam<Untouched> {};

TEST_P(StrokedAsBefore, SameAsQt)
{
    const Untouched& u = GetParam();
    QImage images[2];
    int i = 0;
    for (rt::ThickLines mode : {rt::ThickLines::Stroke, rt::ThickLines::Spans}) {
        QImage& image = images[i++];
        image = QImage(kWidthPx, kHeightPx, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);  // a rotated background leaves the corners
        QPainter painter(&image);
        painter.rotate(u.rotation);
        painter.setOpacity(u.opacity);
        rt::renderPicture(painter, u.ops, kWhite, mode);
    }
    const Comparison c = compare(images[0], images[1]);
    EXPECT_GT(c.covered, 0);
    EXPECT_EQ(c.differing, 0);
}

std::vector<DrawOp> withWidth(std::vector<DrawOp> ops, int width)
{
    for (DrawOp& op : ops)
        op.width = width;
    return ops;
}

std::string untouchedName(const ::testing::TestParamInfo<Untouched>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Render, StrokedAsBefore,
    ::testing::Values(Untouched{"OnePixelPen", withWidth(wanderingPolyline(2000, 5, 30, 5), 1), 0},
                      Untouched{"RotatedPainter", wanderingPolyline(2000, 5, 30, 5), 10},
                      Untouched{"ShortRun", wanderingPolyline(6, 5, 300, 5), 0},
                      // Overlapping strokes at half opacity darken where they
                      // cross; only Qt draws that.
                      Untouched{"HalfOpaquePainter", wanderingPolyline(2000, 5, 30, 5), 0, 0.5},
                      // Coinciding points: Qt draws nothing for lines of no
                      // length, and neither may the run. One visible line
                      // keeps the picture from being empty.
                      Untouched{"RunOfNoLength",
                                [] {
                                    std::vector<DrawOp> ops(30, line(3000, 2000, 3000, 2000, 5));
                                    ops.push_back(line(150, 150, 1500, 150, 5));
                                    return ops;
                                }(),
                                0}),
    untouchedName);

}  // namespace
