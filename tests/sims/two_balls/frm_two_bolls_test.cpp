#include "frm_two_bolls.h"

#include "convert.h"
#include "render.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

using rt::DrawOp;

class TwoBollsWindow : public ::testing::Test {
protected:
    // The program's own fonts, so that text fitting is tested as it runs.
    static void SetUpTestSuite() { rt::applyApplicationLook(); }

    void SetUp() override
    {
        rt::setBeepHandler([this] { ++beeps; });
        rt::setErrorReporter([this](rt::Form&, const rt::RuntimeError& e) { errors.push_back(e.number()); });
        w.Show();
    }
    void TearDown() override
    {
        rt::setBeepHandler({});
        rt::resetErrorReporter();
    }

    void type(const char* box, const char* text)
    {
        w.textBox(box).clear();
        QTest::keyClicks(&w.textBox(box), QString::fromUtf8(text));
    }
    void apply() { QTest::mouseClick(&w.button("Command1"), Qt::LeftButton); }
    void tick(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            w.Timer1.fire();
    }

    frm2Bolls w;
    int beeps = 0;
    std::vector<rt::ErrorNumber> errors;
};

TEST_F(TwoBollsWindow, OpensWithTheTimerBoxFocusedAndTheWholeHintSeen)
{
    EXPECT_EQ(w.label("Label4").text(), QStringLiteral("質量１"));  // full-width digit
    EXPECT_EQ(w.focusWidget(), &w.textBox("Text1"));
    EXPECT_TRUE(w.Timer1.isTicking());
    EXPECT_EQ(w.Timer1.Interval(), 10);
    EXPECT_TRUE(w.displayList().empty());  // nothing is drawn before the first tick

    const QLabel& hint = w.label("Label8");
    const QRect room = hint.contentsRect();
    const QRect needed = hint.fontMetrics().boundingRect(
        QRect(0, 0, room.width(), 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, hint.text());
    EXPECT_LE(needed.height(), room.height());
}

TEST_F(TwoBollsWindow, TabOrderPutsSpringStrengthAfterGravity)
{
    const std::vector<QWidget*> expected{&w.textBox("Text1"), &w.button("Command1"),
                                         &w.textBox("Text2"), &w.textBox("Text3"),
                                         &w.textBox("Text4"), &w.textBox("Text5"),
                                         &w.textBox("Text6"), &w.textBox("Text7")};
    std::vector<QWidget*> chain;
    QWidget* next = expected.front();
    do {
        if (next->focusPolicy() & Qt::TabFocus)
            chain.push_back(next);
        next = next->nextInFocusChain();
    } while (next != expected.front() && chain.size() < 20);
    EXPECT_EQ(chain, expected);
}

TEST_F(TwoBollsWindow, FirstTickDrawsFloorSpringAndBothBalls)
{
    tick();
    const float y = rt::ToSingle(w.Balls.Ball1.Y * 3);
    EXPECT_NEAR(y, 2162.88, 0.01);
    const rt::Color fore = w.ForeColor;
    const std::vector<DrawOp> expected{
        {DrawOp::Kind::FilledBox, 0, 4250, 9000, 4250, rt::RGB(0, 0, 0), 0, false, 1},
        {DrawOp::Kind::Line, 1980, y, 2880, y, fore, 0, false, 1},
        {DrawOp::Kind::Circle, 1980, y, 100, 0, fore, rt::RGB(255, 255, 0), true, 1},
        {DrawOp::Kind::Circle, 2880, y, 50, 0, fore, rt::RGB(255, 0, 0), true, 1},
    };
    EXPECT_EQ(w.displayList(), expected);
    EXPECT_TRUE(w.AutoRedraw);
}

TEST_F(TwoBollsWindow, StopsAfter262TicksHavingBeeped31Times)
{
    tick(261);
    EXPECT_TRUE(w.Timer1.Enabled());
    two_balls::Model beforeRest = w.Balls;
    beforeRest.StepBalls();
    tick();
    EXPECT_FALSE(w.Timer1.isTicking());
    EXPECT_EQ(beeps, 31);
    EXPECT_EQ(w.Balls.Ball1.Y, 1380);
    EXPECT_EQ(w.Balls.Ball2.Y, 1400);

    // The last picture shows the balls where the step left them, before
    // the rest test put them onto their floors.
    ASSERT_TRUE(beforeRest.Ball1.Y < 1380 || beforeRest.Ball2.Y < 1400);
    ASSERT_EQ(w.displayList().size(), 4u);
    EXPECT_EQ(w.displayList()[2].y1, rt::ToSingle(beforeRest.Ball1.Y * 3));
    EXPECT_EQ(w.displayList()[3].y1, rt::ToSingle(beforeRest.Ball2.Y * 3));
}

TEST_F(TwoBollsWindow, RestingBallsAreDrawnAboveTheBlackFloorLine)
{
    tick(262);
    ASSERT_FALSE(w.Timer1.Enabled());
    const QImage image = w.grab().toImage();
    auto colourAt = [&](double xTwips, double yTwips) {
        return image.pixelColor(static_cast<int>(xTwips / 15), static_cast<int>(yTwips / 15));
    };
    // Just above the resting centres (the picture is up to 15 twips higher).
    EXPECT_EQ(colourAt(w.Balls.Ball1.X * 3, 1380 * 3 - 20), QColor(255, 255, 0));
    EXPECT_EQ(colourAt(w.Balls.Ball2.X * 3, 1400 * 3 - 10), QColor(255, 0, 0));
    // The floor at 4250 twips is one black row, left and right of the balls.
    for (int x : {10, 500, 570}) {
        EXPECT_EQ(image.pixelColor(x, 283), QColor(0, 0, 0)) << x;
        EXPECT_EQ(image.pixelColor(x, 281), rt::toQColor(w.BackColor)) << x;
        EXPECT_EQ(image.pixelColor(x, 285), rt::toQColor(w.BackColor)) << x;
    }
}

TEST_F(TwoBollsWindow, TwoBouncesInOneTickSoundTwoBeeps)
{
    w.Balls.Ball1.Y = 1379;
    w.Balls.Ball1.VelocityY = 5;
    w.Balls.Ball2.Y = 1399;
    w.Balls.Ball2.VelocityY = 5;
    tick();
    EXPECT_EQ(beeps, 2);
}

TEST_F(TwoBollsWindow, PressWhileRunningGrabsAndAppliesOnlyTheTimerBox)
{
    tick(5);
    const two_balls::Ball ball2 = w.Balls.Ball2;
    type("Text1", "25");
    type("Text2", "100");
    // Any button grabs: (200, 100) pixels is (3000, 1500) twips.
    QTest::mouseClick(&w, Qt::RightButton, {}, QPoint(200, 100));
    EXPECT_EQ(w.Balls.Ball1.X, 1000);
    EXPECT_EQ(w.Balls.Ball1.Y, 500);
    EXPECT_EQ(w.Balls.Ball1.VelocityY, 0);
    EXPECT_EQ(w.Balls.Ball2.Y, ball2.Y);
    EXPECT_EQ(w.Balls.Ball2.VelocityY, ball2.VelocityY);
    EXPECT_EQ(w.Timer1.Interval(), 25);
    EXPECT_EQ(w.Balls.RestLength, 300);
}

TEST_F(TwoBollsWindow, PressAfterRestStartsAgainFromThePointer)
{
    tick(262);
    ASSERT_FALSE(w.Timer1.Enabled());
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_TRUE(w.Timer1.isTicking());
    tick();
    EXPECT_NE(w.Balls.Ball1.Y, 500);
    EXPECT_EQ(w.displayList()[2].y1, rt::ToSingle(w.Balls.Ball1.Y * 3));
}

TEST_F(TwoBollsWindow, ApplyReadsEveryBoxAndRestartsKeepingVelocities)
{
    tick(20);
    const double vy = w.Balls.Ball1.VelocityY;
    ASSERT_GT(vy, 5);
    type("Text2", "250");
    type("Text3", "0.05");
    type("Text7", "12");
    type("Text6", "1.5");
    type("Text4", "900");
    type("Text5", "300");
    apply();
    EXPECT_EQ(w.Balls.RestLength, 250);
    EXPECT_EQ(w.Balls.Resistance, 0.05);
    EXPECT_EQ(w.Balls.Stiffness, 12);
    EXPECT_EQ(w.Balls.Gravity, 1.5);
    EXPECT_EQ(w.Balls.Ball1.Mass, 900);
    EXPECT_EQ(w.Balls.Ball2.Mass, 300);
    EXPECT_EQ(w.Balls.Ball1.Y, 720);
    EXPECT_EQ(w.Balls.Ball2.X, 910);
    EXPECT_EQ(w.Balls.Ball1.VelocityY, vy);
    EXPECT_TRUE(w.Timer1.isTicking());
}

TEST_F(TwoBollsWindow, TimerBoxWithoutANumberStopsTheTicks)
{
    tick(10);
    const std::vector<DrawOp> picture = w.displayList();
    type("Text1", "abc");
    apply();
    EXPECT_EQ(w.Timer1.Interval(), 0);
    EXPECT_FALSE(w.Timer1.isTicking());
    EXPECT_EQ(w.Balls.Ball1.Y, 720);
    EXPECT_EQ(w.displayList(), picture);
    EXPECT_TRUE(errors.empty());
}

TEST_F(TwoBollsWindow, ZeroSpringLengthFailsOnTheFirstTickAndTheWindowGoesOn)
{
    type("Text2", "0");
    apply();
    tick();
    // Both centres on one point: 0 / 0, flagged as an invalid operation.
    ASSERT_EQ(errors, std::vector{rt::ErrorNumber::InvalidOperation});
    EXPECT_FALSE(w.Timer1.Enabled());
    EXPECT_TRUE(w.displayList().empty());

    type("Text2", "300");
    apply();
    EXPECT_TRUE(w.Timer1.isTicking());
    tick();
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(w.displayList().size(), 4u);
}

}  // namespace
