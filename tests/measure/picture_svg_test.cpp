// A picture as SVG: each kind of drawing operation as the element it
// becomes, exactly, and a whole run's last picture element for element.

#include "measure/picture_svg.h"
#include "tests/support/headless_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

struct OpCase {
    const char* name;
    std::function<void(rt::Canvas&)> draw;
    const char* element;
};

class PictureSvg : public ::testing::TestWithParam<OpCase> {};

TEST_P(PictureSvg, EachOperationIsOneElementInTwips)
{
    rt::Canvas canvas;
    canvas.Cls();
    GetParam().draw(canvas);
    const std::string svg = measure::pictureSvg(canvas, 3900, 4515);
    EXPECT_TRUE(svg.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                "width=\"260\" height=\"301\" viewBox=\"0 0 3900 4515\""))
        << svg;
    EXPECT_NE(svg.find("<rect width=\"3900\" height=\"4515\" fill=\"#f0f0f0\"/>\n"), std::string::npos) << svg;
    EXPECT_NE(svg.find(std::string(GetParam().element) + "\n</svg>\n"), std::string::npos) << svg;
}

INSTANTIATE_TEST_SUITE_P(
    Operations, PictureSvg,
    ::testing::Values(
        OpCase{"LineKeepsItsSingles", [](rt::Canvas& c) { c.Line(0.1, 2, 3000.5, 4e3, rt::RGB(255, 0, 0)); },
               "<line x1=\"0.1\" y1=\"2\" x2=\"3000.5\" y2=\"4000\" stroke=\"#ff0000\" stroke-width=\"15\"/>"},
        OpCase{"WidePen",
               [](rt::Canvas& c) {
                   c.DrawWidth = 3;
                   c.Line(10, 10, 20, 20);
               },
               "<line x1=\"10\" y1=\"10\" x2=\"20\" y2=\"20\" stroke=\"#000000\" stroke-width=\"45\"/>"},
        OpCase{"BoxNormalised", [](rt::Canvas& c) { c.Line(300, 200, 100, 50, rt::RGB(0, 128, 0), rt::LineShape::Box); },
               "<path d=\"M100 50H300V200H100Z\" fill=\"none\" stroke=\"#008000\" stroke-width=\"15\"/>"},
        OpCase{"FilledBox",
               [](rt::Canvas& c) { c.Line(0, 0, 10, 10, rt::RGB(1, 2, 3), rt::LineShape::FilledBox); },
               "<path d=\"M0 0H10V10H0Z\" fill=\"#010203\" stroke=\"#010203\" stroke-width=\"15\"/>"},
        OpCase{"BoxOfNoHeightIsStillDrawn",
               [](rt::Canvas& c) { c.Line(0, 4250, 9000, 4250, rt::RGB(0, 0, 0), rt::LineShape::FilledBox); },
               "<path d=\"M0 4250H9000V4250H0Z\" fill=\"#000000\" stroke=\"#000000\" stroke-width=\"15\"/>"},
        OpCase{"FilledCircle",
               [](rt::Canvas& c) {
                   c.FillStyle = rt::kSolid;
                   c.FillColor = rt::RGB(255, 0, 0);
                   c.Circle(1600, 800, 160);
               },
               "<circle cx=\"1600\" cy=\"800\" r=\"160\" fill=\"#ff0000\" stroke=\"#000000\" stroke-width=\"15\"/>"},
        OpCase{"OutlinedCircle", [](rt::Canvas& c) { c.Circle(1, 2, 3, rt::RGB(0, 0, 255)); },
               "<circle cx=\"1\" cy=\"2\" r=\"3\" fill=\"none\" stroke=\"#0000ff\" stroke-width=\"15\"/>"}),
    [](const auto& info) { return std::string(info.param.name); });

// After a run, one element per operation of the display list, in its order.
TEST(PictureSvgOfARun, HoldsTheWholeDisplayList)
{
    for (const sims::Definition* d : sims::experiments()) {
        auto run = makeRun(d->name);
        run->init(sims::defaultTexts(*d));
        for (int t = 0; t < 30; ++t)
            run->step();
        const std::string svg = measure::pictureSvg(run->canvas(), d->clientWidth, d->clientHeight);
        std::size_t elements = 0;
        for (std::size_t at = svg.find("\n<"); at != std::string::npos; at = svg.find("\n<", at + 1))
            ++elements;
        // The svg element, the background and the closing tag besides the
        // operations.
        EXPECT_EQ(elements, run->canvas().displayList().size() + 3) << d->name;
    }
}

}  // namespace
