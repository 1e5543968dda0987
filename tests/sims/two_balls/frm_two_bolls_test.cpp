#include "tests/support/typed_windows.h"

#include "runtime/numeric/convert.h"
#include "runtime/forms/render.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
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
    void tick(int n = 1) { for (int i = 0; i < n; ++i) w.Timer1.fire(); }

    frm2Bolls w;
    int beeps = 0;
    std::vector<rt::ErrorNumber> errors;
};

TEST_F(TwoBollsWindow, OpensWithTheTimerBoxFocusedTheWholeHintSeenAndItsOwnTabOrder)
{
    EXPECT_EQ(w.label("Label4").text(), QStringLiteral("質量１"));  // full-width digit
    EXPECT_TRUE(w.Timer1.isTicking());
    EXPECT_EQ(w.Timer1.Interval(), 10);
    EXPECT_TRUE(w.displayList().empty());  // nothing is drawn before the first tick

    const QLabel& hint = w.label("Label8");
    const QRect room = hint.contentsRect();
    const QRect needed = hint.fontMetrics().boundingRect(
        QRect(0, 0, room.width(), 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, hint.text());
    EXPECT_LE(needed.height(), room.height());

    // Tabbing once round the window: the spring's strength comes after gravity.
    EXPECT_EQ(w.focusWidget(), &w.textBox("Text1"));
    std::vector<QString> chain;
    for (QWidget* next = w.focusWidget(); next && chain.size() < 9; next = next->nextInFocusChain())
        if (next->focusPolicy() & Qt::TabFocus)
            chain.push_back(next->objectName());
    EXPECT_EQ(chain, (std::vector<QString>{"Text1", "Command1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7",
                                           "Text1"}));
}

TEST_F(TwoBollsWindow, DefaultRunDrawsRestsAfter262TicksHavingBeeped31TimesAndAPressStartsAgain)
{
    tick();
    const float y = rt::ToSingle(w.Balls.Ball1.Y * 3);
    EXPECT_EQ(y, static_cast<float>((0.98 * (1 - 0.02) + 720) * 3));  // 2162.88
    const rt::Color fore = w.ForeColor;
    EXPECT_EQ(w.displayList(), (std::vector<DrawOp>{
                                   {DrawOp::Kind::FilledBox, 0, 4250, 9000, 4250, rt::RGB(0, 0, 0), 0, false, 1},
                                   {DrawOp::Kind::Line, 1980, y, 2880, y, fore, 0, false, 1},
                                   {DrawOp::Kind::Circle, 1980, y, 100, 0, fore, rt::RGB(255, 255, 0), true, 1},
                                   {DrawOp::Kind::Circle, 2880, y, 50, 0, fore, rt::RGB(255, 0, 0), true, 1}}));
    EXPECT_TRUE(w.AutoRedraw);

    tick(260);
    EXPECT_TRUE(w.Timer1.Enabled());
    two_balls::Model beforeRest = w.Balls;
    beforeRest.StepBalls();
    tick();
    EXPECT_FALSE(w.Timer1.isTicking());
    EXPECT_EQ(beeps, 31);
    EXPECT_EQ(std::pair(w.Balls.Ball1.Y, w.Balls.Ball2.Y), std::pair(1380.0, 1400.0));
    // The last picture shows the balls where the step left them, before the
    // rest test put them onto their floors.
    ASSERT_TRUE(beforeRest.Ball1.Y < 1380 || beforeRest.Ball2.Y < 1400);
    ASSERT_EQ(w.displayList().size(), 4u);
    EXPECT_EQ(w.displayList()[2].y1, rt::ToSingle(beforeRest.Ball1.Y * 3));
    EXPECT_EQ(w.displayList()[3].y1, rt::ToSingle(beforeRest.Ball2.Y * 3));

    // On screen: just above the resting centres (the picture is up to 15
    // twips higher), and the floor at 4250 twips one black row beside them.
    const QImage image = w.grab().toImage();
    auto colourAt = [&](double xTwips, double yTwips) {
        return image.pixelColor(static_cast<int>(xTwips / 15), static_cast<int>(yTwips / 15));
    };
    EXPECT_EQ(colourAt(w.Balls.Ball1.X * 3, 1380 * 3 - 20), QColor(255, 255, 0));
    EXPECT_EQ(colourAt(w.Balls.Ball2.X * 3, 1400 * 3 - 10), QColor(255, 0, 0));
    for (int x : {10, 500, 570}) {
        EXPECT_EQ(image.pixelColor(x, 283), QColor(0, 0, 0)) << x;
        EXPECT_EQ(image.pixelColor(x, 281), rt::toQColor(w.BackColor)) << x;
        EXPECT_EQ(image.pixelColor(x, 285), rt::toQColor(w.BackColor)) << x;
    }

    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_TRUE(w.Timer1.isTicking());
    tick();
    EXPECT_NE(w.Balls.Ball1.Y, 500);
    EXPECT_EQ(w.displayList()[2].y1, rt::ToSingle(w.Balls.Ball1.Y * 3));
}

TEST_F(TwoBollsWindow, TwoBouncesInOneTickSoundTwoBeeps)
{
    w.Balls.Ball1.Y = 1379;
    w.Balls.Ball2.Y = 1399;
    w.Balls.Ball1.VelocityY = w.Balls.Ball2.VelocityY = 5;
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
    EXPECT_EQ(std::tuple(w.Balls.Ball1.X, w.Balls.Ball1.Y, w.Balls.Ball1.VelocityY), std::tuple(1000, 500, 0));
    EXPECT_EQ(std::pair(w.Balls.Ball2.Y, w.Balls.Ball2.VelocityY), std::pair(ball2.Y, ball2.VelocityY));
    EXPECT_EQ(std::pair(w.Timer1.Interval(), w.Balls.RestLength), std::pair(25, 300.0));
}

TEST_F(TwoBollsWindow, ApplyReadsEveryBoxAndRestartsKeepingVelocitiesAndATimerBoxWithoutANumberStopsTheTicks)
{
    tick(20);
    const double vy = w.Balls.Ball1.VelocityY;
    ASSERT_GT(vy, 5);
    for (auto [box, text] : {std::pair{"Text1", "25"}, {"Text2", "250"}, {"Text3", "0.05"}, {"Text4", "900"},
                             {"Text5", "300"}, {"Text6", "1.5"}, {"Text7", "12"}})
        type(box, text);
    apply();
    const two_balls::Model& m = w.Balls;
    EXPECT_EQ(std::tuple(w.Timer1.Interval(), m.RestLength, m.Resistance, m.Ball1.Mass, m.Ball2.Mass, m.Gravity,
                         m.Stiffness),
              std::tuple(25, 250, 0.05, 900, 300, 1.5, 12));
    EXPECT_EQ(std::tuple(m.Ball1.Y, m.Ball2.X, m.Ball1.VelocityY), std::tuple(720, 910, vy));
    EXPECT_TRUE(w.Timer1.isTicking());

    tick(10);
    const std::vector<DrawOp> picture = w.displayList();
    type("Text1", "abc");
    apply();
    EXPECT_EQ(w.Timer1.Interval(), 0);
    EXPECT_FALSE(w.Timer1.isTicking());
    EXPECT_EQ(m.Ball1.Y, 720);
    EXPECT_EQ(w.displayList(), picture);
    EXPECT_TRUE(errors.empty());
}

TEST_F(TwoBollsWindow, ZeroSpringLengthFailsOnTheFirstTickAndTheWindowGoesOn)
{
    type("Text2", "0");
    apply();
    tick();
    // Both centres on one point: 0 / 0, flagged as an invalid operation.
    EXPECT_EQ(errors, std::vector{rt::ErrorNumber::InvalidOperation});
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
