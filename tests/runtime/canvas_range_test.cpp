// Every coordinate handed to the drawing surface must fit in single
// precision: one beyond it is the overflow error and nothing is drawn; one
// at the very edge of the range is drawn as it stands.

#include "runtime/canvas/canvas.h"
#include "runtime/numeric/runtime_error.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

namespace {

constexpr double kLargest = std::numeric_limits<float>::max();  // 3.4028234663852886e38
constexpr double kBeyond = 3.5e38;

struct CallRow {
    const char* name;
    std::function<void(rt::Canvas&)> draw;
    bool overflows;
};

class CanvasRange : public ::testing::TestWithParam<CallRow> {};

TEST_P(CanvasRange, OverflowErrorOrDrawn)
{
    rt::Canvas canvas;
    canvas.Line(1, 2, 3, 4);  // the pen at (3, 4), one op drawn
    if (GetParam().overflows) {
        try {
            GetParam().draw(canvas);
            ADD_FAILURE() << "drawn without an error";
        } catch (const rt::RuntimeError& e) {
            EXPECT_EQ(e.number(), rt::ErrorNumber::Overflow);
        }
        EXPECT_EQ(canvas.displayList().size(), 1u) << "nothing more is drawn";
        EXPECT_EQ(canvas.CurrentX, 3.0f);
        EXPECT_EQ(canvas.CurrentY, 4.0f);
    } else {
        EXPECT_NO_THROW(GetParam().draw(canvas));
        ASSERT_EQ(canvas.displayList().size(), 2u);
    }
}

using C = rt::Canvas;

INSTANTIATE_TEST_SUITE_P(
    Canvas, CanvasRange,
    ::testing::Values(
        // Circle: the centre's x and y and the radius, each on its own.
        CallRow{"CircleXBeyond", [](C& c) { c.Circle(kBeyond, 100, 50); }, true},
        CallRow{"CircleXBeyondNegative", [](C& c) { c.Circle(-kBeyond, 100, 50); }, true},
        CallRow{"CircleYBeyond", [](C& c) { c.Circle(100, kBeyond, 50); }, true},
        CallRow{"CircleYBeyondNegative", [](C& c) { c.Circle(100, -kBeyond, 50); }, true},
        CallRow{"CircleRadiusBeyond", [](C& c) { c.Circle(100, 100, kBeyond); }, true},
        CallRow{"CircleRadiusHuge", [](C& c) { c.Circle(100, 100, 1e300); }, true},
        CallRow{"CircleXLargest", [](C& c) { c.Circle(kLargest, 100, 50); }, false},
        CallRow{"CircleYLargestNegative", [](C& c) { c.Circle(100, -kLargest, 50); }, false},
        CallRow{"CircleRadiusLargest", [](C& c) { c.Circle(100, 100, kLargest); }, false},
        // Line: each of its four coordinates, and from the pen.
        CallRow{"LineX1Beyond", [](C& c) { c.Line(kBeyond, 0, 0, 0); }, true},
        CallRow{"LineY1Beyond", [](C& c) { c.Line(0, -kBeyond, 0, 0); }, true},
        CallRow{"LineX2Beyond", [](C& c) { c.Line(0, 0, -kBeyond, 0); }, true},
        CallRow{"LineY2Beyond", [](C& c) { c.Line(0, 0, 0, kBeyond); }, true},
        CallRow{"LineToXBeyond", [](C& c) { c.LineTo(kBeyond, 0); }, true},
        CallRow{"LineToYBeyond", [](C& c) { c.LineTo(0, -kBeyond); }, true},
        CallRow{"BoxCornerBeyond", [](C& c) { c.Line(0, 0, kBeyond, 10, {}, rt::LineShape::Box); }, true},
        CallRow{"LineAllLargest", [](C& c) { c.Line(kLargest, -kLargest, -kLargest, kLargest); }, false},
        CallRow{"LineToLargest", [](C& c) { c.LineTo(kLargest, kLargest); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

// What is drawn at the edge of the range is the single nearest the double:
// the very largest single, and ordinary values rounded to nearest.
TEST(CanvasRange, CoordinatesAtTheEdgeAreKeptExactly)
{
    rt::Canvas canvas;
    canvas.FillStyle = rt::kSolid;
    canvas.Circle(kLargest, -kLargest, kLargest);
    canvas.Circle(0.1, 807.984, 1.0 / 3);
    const auto& ops = canvas.displayList();
    ASSERT_EQ(ops.size(), 2u);
    const float largest = std::numeric_limits<float>::max();
    EXPECT_EQ(ops[0].x1, largest);
    EXPECT_EQ(ops[0].y1, -largest);
    EXPECT_EQ(ops[0].x2, largest);
    EXPECT_EQ(ops[1].x1, 0.1f);
    EXPECT_EQ(ops[1].y1, 807.984f);
    EXPECT_EQ(ops[1].x2, 1.0f / 3);
    EXPECT_EQ(canvas.CurrentX, 0.1f);  // the pen ends at the last centre
    EXPECT_EQ(canvas.CurrentY, 807.984f);
}

}  // namespace
