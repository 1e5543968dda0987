// The spring-vibration window, driven as a user would: boxes, "変更",
// presses, and ticks called directly.

#include "frm_vibration.h"
#include "render.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using rt::DrawOp;

class VibrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rt::setErrorReporter([this](rt::Form&, const rt::RuntimeError& e) { errors.push_back(e.code()); });
        window = std::make_unique<frmVibration>();
        window->Show();
    }
    void TearDown() override { rt::resetErrorReporter(); }

    void apply(const char* box, const char* text)
    {
        window->textBox(box).setText(QString::fromUtf8(text));
    }
    void clickChange() { QTest::mouseClick(&window->button("Command1"), Qt::LeftButton); }
    void tick() { window->Timer1.fire(); }
    void press(int xPixels, int yPixels = 10)
    {
        QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(xPixels, yPixels));
    }

    std::unique_ptr<frmVibration> window;
    std::vector<int> errors;
};

TEST_F(VibrationTest, LoadReadsTheDefaultTexts)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("バネの振動"));
    EXPECT_EQ(window->size(), QSize(260, 301));
    EXPECT_EQ(window->Timer1.Interval(), 10);
    EXPECT_TRUE(window->Timer1.isTicking());
    EXPECT_EQ(window->RestLength, 200);
    EXPECT_EQ(window->Stiffness, 5);
    EXPECT_EQ(window->Mass, 500);
    EXPECT_EQ(window->Viscosity, 0.002);
    EXPECT_EQ(window->Position, 100);
    EXPECT_EQ(window->Velocity, 0);
    EXPECT_TRUE(window->displayList().empty());  // nothing drawn before the first tick
    EXPECT_EQ(window->focusWidget(), &window->textBox("Text1"));
    // Focus order: the button comes before the last box.
    EXPECT_EQ(window->textBox("Text4").nextInFocusChain(), &window->button("Command1"));
}

TEST_F(VibrationTest, FirstTickStepAndPicture)
{
    tick();
    EXPECT_EQ(window->Force, 500);
    EXPECT_EQ(window->Accel, 1);
    EXPECT_EQ(window->Velocity, 0.998);
    EXPECT_EQ(window->Position, 100.998);

    const auto& ops = window->displayList();
    ASSERT_EQ(ops.size(), 42u);  // the zero-length start, 40 zig-zag lines, the ball
    EXPECT_EQ(ops[0].x1, 455.0f);
    EXPECT_EQ(ops[0].x2, 455.0f);
    EXPECT_EQ(ops[0].y2, 0.0f);
    EXPECT_EQ(ops[1].x2, 555.0f);
    EXPECT_EQ(ops[1].y2, static_cast<float>(20.1996));
    EXPECT_EQ(ops[2].x2, 455.0f);
    EXPECT_EQ(ops[40].x2, 455.0f);
    EXPECT_EQ(ops[40].y2, 807.984f);
    for (int i = 1; i <= 40; ++i) {
        EXPECT_EQ(ops[i].x1, ops[i - 1].x2);  // each line starts where the last ended
        EXPECT_EQ(ops[i].color, window->ForeColor);
    }
    const DrawOp& ball = ops[41];
    EXPECT_EQ(ball.kind, DrawOp::Kind::Circle);
    EXPECT_EQ(ball.x1, 500.0f);
    EXPECT_EQ(ball.y1, 807.984f);
    EXPECT_EQ(ball.x2, 100.0f);
    EXPECT_TRUE(ball.filled);
    EXPECT_EQ(ball.fillColor, rt::RGB(255, 0, 0));
}

TEST_F(VibrationTest, SwingPeaksAndDecaysTowardsTheRestLength)
{
    std::vector<double> position{window->Position};
    for (int t = 1; t <= 3000; ++t) {
        tick();
        position.push_back(window->Position);
    }
    EXPECT_GT(position[31], position[30]);
    EXPECT_GT(position[31], position[32]);
    EXPECT_NEAR(position[31], 297.02, 0.005);
    EXPECT_LT(position[62], position[61]);
    EXPECT_LT(position[62], position[63]);
    EXPECT_NEAR(position[62], 106.03, 0.005);
    EXPECT_NEAR(position[3000], 200, 0.5);
}

TEST_F(VibrationTest, NoDampingNeitherGrowsNorDecaysOverAMillionTicks)
{
    apply("Text5", "0");
    clickChange();
    double low = window->Position, high = window->Position;
    for (int t = 0; t < 1'000'000; ++t) {
        tick();
        low = std::min(low, window->Position);
        high = std::max(high, window->Position);
    }
    EXPECT_GE(low, 99.8);
    EXPECT_LE(high, 300.2);
    EXPECT_LT(low, 100.5);
    EXPECT_GT(high, 299.5);
    EXPECT_TRUE(errors.empty());
}

TEST_F(VibrationTest, FullDampingKeepsTheBallStill)
{
    apply("Text5", "1");
    clickChange();
    for (int t = 0; t < 50; ++t) {
        tick();
        ASSERT_EQ(window->Velocity, 0);
        ASSERT_EQ(window->Position, 100);
    }
    EXPECT_EQ(window->displayList().back().y1, 800.0f);
}

struct IntervalRow {
    const char* name;
    const char* text;
    int interval;
};

class VibrationInterval : public VibrationTest, public ::testing::WithParamInterface<IntervalRow> {};

TEST_P(VibrationInterval, RoundedToNearestEven)
{
    apply("Text1", GetParam().text);
    clickChange();
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(window->Timer1.Interval(), GetParam().interval);
    EXPECT_EQ(window->Timer1.isTicking(), GetParam().interval > 0);
}

INSTANTIATE_TEST_SUITE_P(Vibration, VibrationInterval,
                         ::testing::Values(IntervalRow{"tie_down", "10.5", 10},
                                           IntervalRow{"tie_up", "11.5", 12},
                                           IntervalRow{"empty_gives_no_ticks", "", 0},
                                           IntervalRow{"letters_give_no_ticks", "abc", 0},
                                           IntervalRow{"largest", "65535", 65535}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(VibrationTest, PressSetsTheLengthFromX)
{
    press(20);  // 300 twips
    EXPECT_EQ(window->Position, 300);
    EXPECT_EQ(window->Velocity, 0);
    tick();
    EXPECT_EQ(window->Force, -500);
    EXPECT_EQ(window->Velocity, -0.998);
    EXPECT_EQ(window->Position, 299.002);
    EXPECT_EQ(window->displayList().back().x1, 500.0f);
    EXPECT_EQ(window->displayList().back().y1, 2392.016f);

    press(0);
    tick();
    EXPECT_EQ(window->Position, 1.996);
    EXPECT_EQ(window->displayList().back().y1, 15.968f);
}

TEST_F(VibrationTest, PressOnAControlIsNotAPull)
{
    tick();
    const double before = window->Position;
    QTest::mouseClick(&window->label("Label6"), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&window->textBox("Text2"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(window->Position, before);
}

TEST_F(VibrationTest, ChangeRestartsFromTheStartAtRest)
{
    for (int t = 0; t < 20; ++t)
        tick();
    apply("Text2", "250");  // edited but not applied: nothing changes
    tick();
    EXPECT_EQ(window->RestLength, 200);
    clickChange();
    EXPECT_EQ(window->Position, 100);
    EXPECT_EQ(window->Velocity, 0);
    EXPECT_EQ(window->RestLength, 250);
    EXPECT_TRUE(window->Timer1.isTicking());
}

struct FaultRow {
    const char* name;
    const char* box;
    const char* text;
    int error;
    bool timerStopsAtChange;  // the error comes from "変更" itself, not a tick
};

class VibrationFault : public VibrationTest, public ::testing::WithParamInterface<FaultRow> {};

// A bad value reports its error once, stops this window's timer and keeps
// the boxes as typed; correcting the value and pressing "変更" runs again.
TEST_P(VibrationFault, ReportedStoppedAndRecoverable)
{
    const FaultRow& row = GetParam();
    frmVibration other;  // another open window keeps going
    other.Show();

    apply(row.box, row.text);
    clickChange();
    if (!row.timerStopsAtChange) {
        EXPECT_TRUE(errors.empty());
        for (int t = 0; t < 200 && errors.empty(); ++t)
            tick();
    }
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], row.error);
    EXPECT_FALSE(window->Timer1.isTicking());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->textBox(row.box).text(), QString::fromUtf8(row.text));
    EXPECT_TRUE(other.Timer1.isTicking());

    window->textBox("Text1").setText("10");
    window->textBox("Text3").setText("5");
    window->textBox("Text4").setText("500");
    window->textBox("Text5").setText("0.002");
    clickChange();
    tick();
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_TRUE(window->Timer1.isTicking());
    EXPECT_EQ(window->Position, 100.998);
}

INSTANTIATE_TEST_SUITE_P(
    Vibration, VibrationFault,
    ::testing::Values(FaultRow{"mass_zero_divides_by_zero", "Text4", "0", 11, false},
                      FaultRow{"interval_refused", "Text1", "70000", 380, true},
                      FaultRow{"interval_negative", "Text1", "-1", 380, true},
                      FaultRow{"interval_beyond_32_bits", "Text1", "3e9", 6, true},
                      FaultRow{"growing_swing_overflows_drawing", "Text3", "5000", 6, false},
                      FaultRow{"number_beyond_double", "Text3", "1e309", 6, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VibrationTest, MassZeroWithoutForceIsAnInvalidOperation)
{
    apply("Text2", "100");  // the spring starts at its natural length: force 0
    apply("Text4", "0");
    clickChange();
    tick();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], 16);
    EXPECT_TRUE(window->displayList().empty());  // the failed tick draws nothing
}

TEST_F(VibrationTest, RedBallIsDrawnWhereTheModelSays)
{
    for (int t = 0; t < 31; ++t)
        tick();
    const QImage image = window->grab().toImage();
    const int centreY = qRound(window->Position * 8 / 15);
    EXPECT_EQ(image.pixelColor(500 / 15, centreY), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(500 / 15, centreY + 9), rt::toQColor(window->BackColor));
    EXPECT_NE(image.pixelColor(500 / 15, centreY - 30), QColor(255, 0, 0));
}

}  // namespace
