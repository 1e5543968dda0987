// The page's picture of a state against the desktop's picture of the same
// state: the module's rasterizer into RGBA bytes (what run.raster() hands
// the page) and the window's paint (QPainter through runtime/forms/render.h)
// at the same zoom, for each experiment part way through a run. Thick runs
// (the cord) are drawn by the same rasterizer on both sides and agree but
// for a few pixels; thin lines and circles are Qt's own on the desktop
// (circles antialiased), so there the two part on edges, never on a shape.

#include "runtime/canvas/raster.h"
#include "runtime/forms/render.h"
#include "sims/registry.h"
#include "tests/web/headless_drive.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

struct PictureCase {
    const char* name;
    const char* experiment;
    std::int64_t ticks;
    std::vector<std::string> options;  // --set, --press and --move as the command line takes them
    bool sameRasterizer;               // only thick runs: the desktop draws them by the page's rule
    int zoom = 100;                    // percent
};

class PagePicture : public testing::TestWithParam<PictureCase> {};

TEST_P(PagePicture, LikeTheWindowsPaint)
{
    const PictureCase& c = GetParam();
    sims::HeadlessRun run(*sims::findExperiment(c.experiment));
    webtest::drive(run, c.options, c.ticks);
    const std::vector<rt::DrawOp>& ops = run.canvas().displayList();
    ASSERT_FALSE(ops.empty());

    const double zoom = c.zoom / 100.0;
    const int width = static_cast<int>(std::lround(run.definition().clientWidth * zoom / 15));
    const int height = static_cast<int>(std::lround(run.definition().clientHeight * zoom / 15));
    QImage window(width, height, QImage::Format_RGB32);
    {
        QPainter painter(&window);
        painter.scale(zoom, zoom);  // as the window's paint event at this zoom
        rt::renderPicture(painter, ops, run.canvas().BackColor);
    }
    std::vector<std::uint32_t> page(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    rt::rasterPicture({page.data(), width, height, width}, ops, run.canvas().BackColor, zoom / 15,
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
    long covered = 0, differing = 0, stray = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t w = painted[static_cast<std::size_t>(y * width + x)];
            const std::uint32_t p = page[static_cast<std::size_t>(y * width + x)];
            if (w == face && p == face)
                continue;
            ++covered;
            if (w == p)
                continue;
            ++differing;
            // A pixel one draws with nothing of the other's within a pixel:
            // a shape misplaced, missing or extra, not an edge drawn apart.
            stray += (w != face && !coveredNear(page, x, y)) || (p != face && !coveredNear(painted, x, y));
        }
    ASSERT_GT(covered, 100) << "the picture shows nothing";
    EXPECT_EQ(stray, 0) << stray << " pixels lie more than a pixel from the other picture's shapes";
    // Thick runs are drawn by the same rasterizer on both sides; thin lines
    // (Qt's own aliased stroke) and circles (antialiased on the desktop)
    // part on their edges.
    if (c.sameRasterizer) {
        EXPECT_LE(differing * 100, covered) << differing << " of " << covered << " covered pixels differ";
    }
    RecordProperty("differingPerMille", static_cast<int>(differing * 1000 / covered));
}

std::vector<PictureCase> cases()
{
    const std::vector<PictureCase> states = {
        {"VibrationPulled", "vibration", 77, {"--press", "30:2000,100"}, false},
        {"RotationSwung", "rotation", 150, {"--move", "0:3000,1500"}, false},
        {"TwoBallsBouncing", "two-balls", 120, {"--press", "30:4000,2000"}, false},
        {"RubberCordPulled", "rubber-cord", 90, {"--set", "nodes=2000", "--press", "40:5000,300"}, true},
        {"RubberCordLongest", "rubber-cord", 20, {"--set", "nodes=32767", "--press", "5:6000,300"}, true},
    };
    std::vector<PictureCase> all;
    for (const int zoom : {100, 200})
        for (PictureCase c : states) {
            c.zoom = zoom;
            all.push_back(c);
        }
    return all;
}

INSTANTIATE_TEST_SUITE_P(Experiments, PagePicture, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<PictureCase>& info) {
                             return std::string(info.param.name) + "At" + std::to_string(info.param.zoom);
                         });

}  // namespace
