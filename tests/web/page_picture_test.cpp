// The page's picture of a state against the desktop's picture of the same
// state: the module's rasterizer into RGBA bytes (what run.raster() hands
// the page) and the window's paint (QPainter through runtime/forms/render.h)
// at the same zoom and device pixel ratio, for each experiment part way
// through a run. Thick runs (the cord) are drawn by the same rasterizer on
// both sides; thin lines, boxes and circles are Qt's own on the desktop,
// which the rasterizer follows: the two may part on a few edge pixels only.

#include "runtime/canvas/raster.h"
#include "runtime/forms/render.h"
#include "sims/registry.h"
#include "tests/web/headless_drive.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

struct PictureCase {
    const char* name;
    const char* experiment;
    std::int64_t ticks;
    std::vector<std::string> options;  // --set, --press and --move as the command line takes them
    int zoom = 100;                    // percent
    int ratio = 1;                     // device pixels per pixel
};

// Whether two RGBA words differ by more than `tolerance` in a channel.
bool differs(std::uint32_t a, std::uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(ca - cb) > tolerance)
            return true;
    }
    return false;
}

class PagePicture : public testing::TestWithParam<PictureCase> {};

TEST_P(PagePicture, LikeTheWindowsPaint)
{
    const PictureCase& c = GetParam();
    sims::HeadlessRun run(*sims::findExperiment(c.experiment));
    webtest::drive(run, c.options, c.ticks);
    const std::vector<rt::DrawOp>& ops = run.canvas().displayList();
    ASSERT_FALSE(ops.empty());

    const double zoom = c.zoom / 100.0;
    const int width = static_cast<int>(std::lround(run.definition().clientWidth * zoom * c.ratio / 15));
    const int height = static_cast<int>(std::lround(run.definition().clientHeight * zoom * c.ratio / 15));
    QImage window(width, height, QImage::Format_RGB32);
    window.setDevicePixelRatio(c.ratio);
    {
        QPainter painter(&window);
        painter.scale(zoom, zoom);  // as the window's paint event at this zoom
        rt::renderPicture(painter, ops, run.canvas().BackColor);
    }
    window.setDevicePixelRatio(1);
    std::vector<std::uint32_t> page(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    rt::rasterPicture({page.data(), width, height, width}, ops, run.canvas().BackColor, zoom * c.ratio / 15,
                      rt::PixelLayout::Rgba);

    // Both as RGBA words, and what each covers (anything not the face).
    const std::uint32_t face = rt::rgbaPixel(run.canvas().BackColor);
    std::vector<std::uint32_t> painted(page.size());
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(window.constScanLine(y));
        for (int x = 0; x < width; ++x)
            painted[static_cast<std::size_t>(y * width + x)] = 0xFF000000u | static_cast<std::uint32_t>(qRed(line[x]))
                                                              | static_cast<std::uint32_t>(qGreen(line[x])) << 8
                                                              | static_cast<std::uint32_t>(qBlue(line[x])) << 16;
    }
    const auto coveredNear = [&](const std::vector<std::uint32_t>& picture, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (x + dx >= 0 && x + dx < width && y + dy >= 0 && y + dy < height
                    && picture[static_cast<std::size_t>((y + dy) * width + x + dx)] != face)
                    return true;
        return false;
    };
    constexpr int kTolerance = 24;
    long covered = 0, differing = 0, stray = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t w = painted[static_cast<std::size_t>(y * width + x)];
            const std::uint32_t p = page[static_cast<std::size_t>(y * width + x)];
            if (w == face && p == face)
                continue;
            ++covered;
            // Antialiased edges (the circles) never match bit for bit between
            // two renderers: coverage is found by different sums and
            // rounded differently, a few levels apart. A pixel differs when
            // a channel is more than a tenth of its range apart, as an edge
            // drawn elsewhere or a shape missing would be.
            if (!differs(w, p, kTolerance))
                continue;
            ++differing;
            // A pixel one draws with nothing of the other's within a pixel:
            // a shape misplaced, missing or extra, not an edge drawn apart.
            stray += (w != face && !coveredNear(page, x, y)) || (p != face && !coveredNear(painted, x, y));
        }
    ASSERT_GT(covered, 100) << "the picture shows nothing";
    EXPECT_EQ(stray, 0) << stray << " pixels lie more than a pixel from the other picture's shapes";
    EXPECT_LE(differing * 100, covered) << differing << " of " << covered << " covered pixels differ";
    RecordProperty("differingPerMille", static_cast<int>(differing * 1000 / covered));
}

// Shapes drawn with a pen a device pixel wide: the desktop's painter steps
// a pixel at a time along them (and antialiases circles), and the page
// must put the same pixels where it does, not merely near them.
struct ThinCase {
    const char* name;
    std::vector<rt::DrawOp> ops;  // in twips, drawn at 100 %
    int tolerance;                // per channel: 0 for aliased shapes
};

class ThinShapes : public testing::TestWithParam<ThinCase> {};

TEST_P(ThinShapes, SamePixelsAsTheWindowsPaint)
{
    const ThinCase& c = GetParam();
    constexpr int kSize = 48;
    const rt::Color back = rt::RGB(240, 240, 240);
    QImage window(kSize, kSize, QImage::Format_RGB32);
    {
        QPainter painter(&window);
        rt::renderPicture(painter, c.ops, back);
    }
    std::vector<std::uint32_t> page(kSize * kSize);
    rt::rasterPicture({page.data(), kSize, kSize, kSize}, c.ops, back, 1.0 / 15, rt::PixelLayout::Argb);
    int wrong = 0, drawn = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const std::uint32_t w = window.pixel(x, y) & 0xFFFFFFu, p = page[y * kSize + x] & 0xFFFFFFu;
            drawn += w != (rt::argbPixel(back) & 0xFFFFFFu);
            if (differs(w, p, c.tolerance) && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): window " << std::hex << w << ", page " << p;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(drawn, 0);
}

rt::DrawOp thinLine(float x1, float y1, float x2, float y2)
{
    return {rt::DrawOp::Kind::Line, x1, y1, x2, y2, rt::RGB(0, 0, 0), 0, false, 1};
}
rt::DrawOp thinBox(float x1, float y1, float x2, float y2, bool filled)
{
    return {filled ? rt::DrawOp::Kind::FilledBox : rt::DrawOp::Kind::Box, x1, y1, x2, y2, rt::RGB(0, 0, 128), 0, false, 1};
}
rt::DrawOp thinCircle(float x, float y, float r, bool filled)
{
    return {rt::DrawOp::Kind::Circle, x, y, r, 0, rt::RGB(0, 0, 0), rt::RGB(255, 0, 0), filled, 1};
}

// A zig-zag like the spring's, in lines of every lean.
std::vector<rt::DrawOp> zigZag()
{
    std::vector<rt::DrawOp> ops;
    for (int i = 0; i < 12; ++i)
        ops.push_back(thinLine(100 + 37.3f * (i % 2) * i, 20 + 53.1f * i, 100 + 37.3f * ((i + 1) % 2) * (i + 1),
                               20 + 53.1f * (i + 1)));
    return ops;
}

INSTANTIATE_TEST_SUITE_P(
    Desktop, ThinShapes,
    testing::Values(ThinCase{"LinesEveryWay", {thinLine(353, 362, 612, 401), thinLine(353, 362, 371, 640),
                                               thinLine(353, 362, 101, 333), thinLine(353, 362, 340, 97),
                                               thinLine(100, 600, 640, 80)}, 0},
                    ThinCase{"ShortLinesAndADot", {thinLine(100, 100, 109, 104), thinLine(200, 200, 200, 213),
                                                   thinLine(455, 0, 455, 0), thinLine(300, 300, 300, 300)}, 0},
                    ThinCase{"SpringZigZag", zigZag(), 0},
                    ThinCase{"LinesOffTheEdges", {thinLine(-300, 100, 900, 250), thinLine(350, -1e30f, 360, 1e30f)}, 0},
                    ThinCase{"Boxes", {thinBox(60, 70, 410, 333, false), thinBox(500, 90, 120, 640, true)}, 0},
                    ThinCase{"FloorOfNoHeight", {thinBox(0, 425.5f, 900, 425.5f, true)}, 0},
                    ThinCase{"FilledBalls", {thinCircle(350, 350, 100, true), thinCircle(171, 203, 50, true)}, 24},
                    ThinCase{"RingsHalfOutside", {thinCircle(10, 360, 150, false), thinCircle(700, 700, 200, false)}, 24}),
    [](const testing::TestParamInfo<ThinCase>& info) { return std::string(info.param.name); });

std::vector<PictureCase> cases()
{
    const std::vector<PictureCase> states = {
        {"VibrationPulled", "vibration", 77, {"--press", "30:2000,100"}},
        {"RotationSwung", "rotation", 150, {"--move", "0:3000,1500"}},
        {"TwoBallsBouncing", "two-balls", 120, {"--press", "30:4000,2000"}},
        {"RubberCordPulled", "rubber-cord", 90, {"--set", "nodes=2000", "--press", "40:5000,300"}},
        {"RubberCordLongest", "rubber-cord", 20, {"--set", "nodes=32767", "--press", "5:6000,300"}},
    };
    std::vector<PictureCase> all;
    for (const auto& [zoom, ratio] : {std::pair{100, 1}, std::pair{200, 1}, std::pair{100, 2}})
        for (PictureCase c : states) {
            c.zoom = zoom;
            c.ratio = ratio;
            all.push_back(c);
        }
    return all;
}

INSTANTIATE_TEST_SUITE_P(Experiments, PagePicture, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<PictureCase>& info) {
                             return std::string(info.param.name) + "At" + std::to_string(info.param.zoom)
                                    + (info.param.ratio > 1 ? "OnRatio" + std::to_string(info.param.ratio) : "");
                         });

}  // namespace
