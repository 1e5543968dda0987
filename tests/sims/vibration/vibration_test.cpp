// The spring-vibration window, driven as a user would: boxes, "変更",
// presses, and ticks called directly.

#include "tests/support/typed_windows.h"
#include "runtime/forms/render.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using rt::DrawOp;

class VibrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rt::setErrorReporter([this](rt::Form&, const rt::RuntimeError& e) { errors.push_back(e.code()); });
        window.Show();
    }
    void TearDown() override { rt::resetErrorReporter(); }

    // Types the texts into their boxes and clicks "変更".
    void change(std::initializer_list<std::pair<const char*, const char*>> texts)
    {
        for (auto [box, text] : texts)
            window.textBox(box).setText(QString::fromUtf8(text));
        QTest::mouseClick(&window.button("Command1"), Qt::LeftButton);
    }
    void tick(int n = 1) { for (int i = 0; i < n; ++i) window.Timer1.fire(); }
    void press(int xPixels) { QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(xPixels, 10)); }

    frmVibration window;
    std::vector<int> errors;
};

// The boxes' default values show in the first tick's exact numbers.
TEST_F(VibrationTest, OpensAsDesigned)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("バネの振動"));
    EXPECT_EQ(window.size(), QSize(260, 301));
    EXPECT_EQ(window.Timer1.Interval(), 10);
    EXPECT_TRUE(window.Timer1.isTicking());
    EXPECT_TRUE(window.displayList().empty());  // nothing drawn before the first tick
    EXPECT_EQ(window.focusWidget(), &window.textBox("Text1"));
    EXPECT_EQ(window.textBox("Text4").nextInFocusChain(), &window.button("Command1"));
}

TEST_F(VibrationTest, FirstTickThenTheSwingPeaksAndDecaysTowardsTheRestLength)
{
    tick();
    EXPECT_EQ(std::tuple(window.Force, window.Accel, window.Velocity, window.Position),
              std::tuple(500, 1, 0.998, 100.998));

    // A zero-length start, 40 zig-zag lines each from where the last ended,
    // then the ball.
    const auto& ops = window.displayList();
    const rt::Color fore = window.ForeColor;
    ASSERT_EQ(ops.size(), 42u);
    EXPECT_EQ(ops[0], (DrawOp{DrawOp::Kind::Line, 455, 0, 455, 0, fore}));
    EXPECT_EQ(std::pair(ops[1].x2, ops[1].y2), std::pair(555.0f, static_cast<float>(20.1996)));
    EXPECT_EQ(ops[2].x2, 455.0f);
    EXPECT_EQ(std::pair(ops[40].x2, ops[40].y2), std::pair(455.0f, 807.984f));
    for (int i = 1; i <= 40; ++i) {
        EXPECT_EQ(std::pair(ops[i].x1, ops[i].y1), std::pair(ops[i - 1].x2, ops[i - 1].y2)) << i;
        EXPECT_EQ(ops[i].color, fore) << i;
    }
    EXPECT_EQ(ops[41], (DrawOp{DrawOp::Kind::Circle, 500, 807.984f, 100, 0, fore, rt::RGB(255, 0, 0), true}));

    std::vector<double> position{100, window.Position};
    for (int t = 2; t <= 3000; ++t) {
        tick();
        position.push_back(window.Position);
    }
    EXPECT_GT(position[31], std::max(position[30], position[32]));
    EXPECT_EQ(position[31], 0x1.29059ca4c672ep+8);  // 297.02192144246044
    EXPECT_LT(position[62], std::min(position[61], position[63]));
    EXPECT_EQ(position[62], 0x1.a82249ff37c8ep+6);  // 106.03348540094359
    EXPECT_NEAR(position[3000], 200, 0.5);
}

TEST_F(VibrationTest, NoDampingNeitherGrowsNorDecaysOverAMillionTicks)
{
    change({{"Text5", "0"}});
    double low = window.Position, high = window.Position;
    for (int t = 0; t < 1'000'000; ++t) {
        tick();
        low = std::min(low, window.Position);
        high = std::max(high, window.Position);
    }
    EXPECT_GE(low, 99.8);
    EXPECT_LE(high, 300.2);
    EXPECT_LT(low, 100.5);
    EXPECT_GT(high, 299.5);
    EXPECT_TRUE(errors.empty());
}

TEST_F(VibrationTest, FullDampingKeepsTheBallStill)
{
    change({{"Text5", "1"}});
    for (int t = 0; t < 50; ++t) {
        tick();
        ASSERT_EQ(std::tuple(window.Velocity, window.Position), std::tuple(0, 100));
    }
    EXPECT_EQ(window.displayList().back().y1, 800.0f);
}

TEST_F(VibrationTest, TimerBoxIsRoundedToNearestEven)
{
    const struct {
        const char* text;
        int interval;
    } cases[] = {{"10.5", 10}, {"11.5", 12}, {"", 0}, {"abc", 0}, {"65535", 65535}};  // no number: no ticks
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        change({{"Text1", c.text}});
        EXPECT_EQ(window.Timer1.Interval(), c.interval);
        EXPECT_EQ(window.Timer1.isTicking(), c.interval > 0);
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(VibrationTest, PressSetsTheLengthFromXButNotOnAControl)
{
    press(20);  // 300 twips
    EXPECT_EQ(std::tuple(window.Position, window.Velocity), std::tuple(300, 0));
    QTest::mouseClick(&window.label("Label6"), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&window.textBox("Text2"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(window.Position, 300);
    tick();
    EXPECT_EQ(std::tuple(window.Force, window.Velocity, window.Position), std::tuple(-500, -0.998, 299.002));
    EXPECT_EQ(window.displayList().back().x1, 500.0f);
    EXPECT_EQ(window.displayList().back().y1, 2392.016f);

    press(0);
    tick();
    EXPECT_EQ(window.Position, 1.996);
    EXPECT_EQ(window.displayList().back().y1, 15.968f);
}

TEST_F(VibrationTest, ChangeRestartsFromTheStartAtRest)
{
    tick(20);
    window.textBox("Text2").setText("250");  // edited but not applied: nothing changes
    tick();
    EXPECT_EQ(window.RestLength, 200);
    change({});
    EXPECT_EQ(std::tuple(window.Position, window.Velocity, window.RestLength), std::tuple(100, 0, 250));
    EXPECT_TRUE(window.Timer1.isTicking());
}

// A bad value reports its error once, stops this window's timer (but not
// another's) and keeps the boxes as typed; correcting the value and pressing
// "変更" runs again.
TEST_F(VibrationTest, FaultsAreReportedStopTheWindowAndRecover)
{
    const struct {
        const char* box;
        const char* text;
        int error;
        bool atChange;  // the error comes from "変更" itself, not a tick
    } cases[] = {{"Text4", "0", 11, false},       // mass 0: x / 0
                 {"Text1", "70000", 380, true},  // no such interval
                 {"Text1", "-1", 380, true},
                 {"Text1", "3e9", 6, true},      // beyond 32 bits
                 {"Text3", "5000", 6, false},    // a growing swing overflows the drawing
                 {"Text3", "1e309", 6, true}};   // beyond double
    frmVibration other;
    other.Show();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " = " + c.text);
        errors.clear();
        change({{c.box, c.text}});
        EXPECT_EQ(errors.size(), c.atChange ? 1u : 0u);
        for (int t = 0; t < 200 && errors.empty(); ++t)
            tick();
        EXPECT_EQ(errors, std::vector{c.error});
        EXPECT_FALSE(window.Timer1.isTicking());
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.textBox(c.box).text(), QString::fromUtf8(c.text));
        EXPECT_TRUE(other.Timer1.isTicking());

        change({{"Text1", "10"}, {"Text3", "5"}, {"Text4", "500"}, {"Text5", "0.002"}});
        tick();
        EXPECT_EQ(errors.size(), 1u);
        EXPECT_TRUE(window.Timer1.isTicking());
        EXPECT_EQ(window.Position, 100.998);
    }
}

TEST_F(VibrationTest, MassZeroWithoutForceIsAnInvalidOperationAndDrawsNothing)
{
    change({{"Text2", "100"}, {"Text4", "0"}});  // the spring starts at its natural length: force 0
    tick();
    EXPECT_EQ(errors, std::vector{16});
    EXPECT_TRUE(window.displayList().empty());
}

TEST_F(VibrationTest, RedBallIsDrawnWhereTheModelSays)
{
    tick(31);
    const QImage image = window.grab().toImage();
    const int centreY = qRound(window.Position * 8 / 15);
    EXPECT_EQ(image.pixelColor(500 / 15, centreY), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(500 / 15, centreY + 9), rt::toQColor(window.BackColor));
    EXPECT_NE(image.pixelColor(500 / 15, centreY - 30), QColor(255, 0, 0));
}

}  // namespace
