// The rubber-cord rotation window, driven as a user would: real mouse events,
// typed boxes, clicks on "変更", and Timer1.fire() in place of waiting.

#include "frm_rotaion.h"

#include "render.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <vector>

namespace {

constexpr int kTwipsPerPixel = 15;

QPoint pixelOf(int xTwips, int yTwips) { return {xTwips / kTwipsPerPixel, yTwips / kTwipsPerPixel}; }

class RotationWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        rt::setErrorReporter([this](rt::Form&, const rt::RuntimeError& error) {
            errors.push_back(error.number());
        });
    }
    void TearDown() override
    {
        // Qt drops a move to where the pointer already is, so leave it on a
        // spot no test moves to: the next test's first move is then real.
        if (window.isVisible())
            QTest::mouseMove(&window, QPoint(window.width() - 1, window.height() - 1));
        window.close();
        rt::resetErrorReporter();
    }

    // Through the window system, so the event lands on whatever is under
    // the pointer: the window's surface or a control.
    void moveTo(int xTwips, int yTwips) { QTest::mouseMove(&window, pixelOf(xTwips, yTwips)); }

    void moveWithButtonHeld(int xTwips, int yTwips, Qt::MouseButton button)
    {
        const QPointF at = pixelOf(xTwips, yTwips);
        QMouseEvent move(QEvent::MouseMove, at, window.mapToGlobal(at), Qt::NoButton, button,
                         Qt::NoModifier);
        QApplication::sendEvent(&window, &move);
    }

    void apply(const char* timer, const char* stiffness, const char* relax)
    {
        window.textBox("Text1").setText(QString::fromUtf8(timer));
        window.textBox("Text2").setText(QString::fromUtf8(stiffness));
        window.textBox("Text3").setText(QString::fromUtf8(relax));
        QTest::mouseClick(&window.button("Command1"), Qt::LeftButton);
    }

    void tick(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            window.Timer1.fire();
    }

    frmRotaion window;
    std::vector<rt::ErrorNumber> errors;
};

TEST_F(RotationWindow, OneTickPullsTheMassTowardsThePointer)
{
    window.Show();
    moveTo(3000, 1500);
    tick();

    EXPECT_DOUBLE_EQ(window.VelocityX, 54.648);
    EXPECT_DOUBLE_EQ(window.VelocityY, 24.948);
    EXPECT_DOUBLE_EQ(window.BallX, 294.648);
    EXPECT_DOUBLE_EQ(window.BallY, 264.948);

    // The cord from the pointer to the mass, then the mass as a red disc,
    // both in the pen colour: nothing else is on the picture.
    const auto& ops = window.displayList();
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].kind, rt::DrawOp::Kind::Line);
    EXPECT_EQ(ops[0].x1, 3000.0f);
    EXPECT_EQ(ops[0].y1, 1500.0f);
    EXPECT_EQ(ops[0].x2, static_cast<float>(294.648));
    EXPECT_EQ(ops[0].y2, static_cast<float>(264.948));
    EXPECT_EQ(ops[0].color, window.ForeColor);
    EXPECT_EQ(ops[1].kind, rt::DrawOp::Kind::Circle);
    EXPECT_EQ(ops[1].x1, ops[0].x2);
    EXPECT_EQ(ops[1].y1, ops[0].y2);
    EXPECT_EQ(ops[1].x2, 50.0f);
    EXPECT_TRUE(ops[1].filled);
    EXPECT_EQ(ops[1].fillColor, rt::RGB(255, 0, 0));
    EXPECT_EQ(ops[1].color, window.ForeColor);
}

TEST_F(RotationWindow, BeforeThePointerArrivesTheCordIsHeldAtTheTopLeftCorner)
{
    window.Show();
    tick();
    EXPECT_DOUBLE_EQ(window.VelocityX, -4.752);
    EXPECT_DOUBLE_EQ(window.VelocityY, -4.752);
    EXPECT_DOUBLE_EQ(window.BallX, 235.248);
    EXPECT_DOUBLE_EQ(window.BallY, 235.248);
    ASSERT_FALSE(window.displayList().empty());
    EXPECT_EQ(window.displayList()[0].x1, 0.0f);
    EXPECT_EQ(window.displayList()[0].y1, 0.0f);

    tick();
    EXPECT_NEAR(window.VelocityX, -9.3624, 5e-5);
    EXPECT_NEAR(window.VelocityY, -9.3624, 5e-5);
    EXPECT_NEAR(window.BallX, 225.8856, 5e-5);
    EXPECT_NEAR(window.BallY, 225.8856, 5e-5);
}

TEST_F(RotationWindow, TheTickShowsTheCordAndARedMassOnScreen)
{
    window.Show();
    moveTo(3000, 1500);
    tick();
    const QImage image = window.grab().toImage();
    const QPoint ball = pixelOf(295, 265);
    EXPECT_EQ(QColor(image.pixel(ball)), QColor(255, 0, 0));
    // Halfway along the cord.
    const QPoint mid = pixelOf((3000 + 295) / 2, (1500 + 265) / 2);
    bool cordFound = false;
    for (int dy = -1; dy <= 1; ++dy)
        cordFound |= rt::fromQColor(QColor(image.pixel(mid + QPoint(0, dy)))) == window.ForeColor;
    EXPECT_TRUE(cordFound);
}

TEST_F(RotationWindow, NoRelaxationMeansTheMassNeverMoves)
{
    window.Show();
    apply("10", "0.02", "0");
    for (int x : {3000, 600, 2010}) {
        moveTo(x, 900);
        tick();
        EXPECT_EQ(window.BallX, 240);
        EXPECT_EQ(window.BallY, 240);
        EXPECT_EQ(window.displayList()[0].x1, static_cast<float>(x));
    }
}

// Largest distance from the pointer over ticks [from, to).
double widestSwing(frmRotaion& window, int from, int to)
{
    double widest = 0;
    for (int i = 0; i < to; ++i) {
        window.Timer1.fire();
        if (i >= from)
            widest = std::max(widest, std::hypot(window.BallX - window.MouseX, window.BallY - window.MouseY));
    }
    return widest;
}

TEST_F(RotationWindow, RelaxOneKeepsTheMassSwinging)
{
    window.Show();
    moveTo(3000, 1500);
    apply("10", "0.02", "1");
    const double start = std::hypot(240 - 3000.0, 240 - 1500.0);
    EXPECT_GT(widestSwing(window, 900, 1000), 0.9 * start);

    // The default relaxation lets the same swing die away: its amplitude
    // shrinks by the square root of Relax each tick.
    apply("10", "0.02", "0.99");
    EXPECT_LT(widestSwing(window, 900, 1000), 0.02 * start);
}

TEST_F(RotationWindow, AGrowingSwingStopsAtOverflowAndTheWindowGoesOn)
{
    window.Show();
    moveTo(3000, 1500);
    apply("10", "0.02", "1.5");
    int ticks = 0;
    while (errors.empty() && ticks < 10000) {
        tick();
        ++ticks;
    }
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], rt::ErrorNumber::Overflow);
    EXPECT_GT(ticks, 100);  // it grew for a while first
    EXPECT_FALSE(window.Timer1.isTicking());

    apply("10", "0.02", "0.99");
    EXPECT_TRUE(window.Timer1.isTicking());
    tick();
    EXPECT_EQ(window.displayList().size(), 2u);
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(RotationWindow, AnOverflowInTheStepStopsItBeforeAnythingMovesOrIsDrawn)
{
    window.Show();
    tick();
    apply("10", "1E300", "1E10");
    tick();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], rt::ErrorNumber::Overflow);
    EXPECT_TRUE(window.displayList().empty());
    EXPECT_EQ(window.BallX, 240);
    EXPECT_EQ(window.VelocityY, 0);
}

class RotationNoPull : public RotationWindow, public ::testing::WithParamInterface<const char*> {};

TEST_P(RotationNoPull, AMassAtRestStaysAndAMovingOneCoasts)
{
    window.Show();
    moveTo(3000, 1500);
    apply("10", GetParam(), "0.99");
    tick(5);
    EXPECT_EQ(window.BallX, 240);
    EXPECT_EQ(window.BallY, 240);

    window.VelocityX = 100;
    window.VelocityY = -50;
    tick();
    EXPECT_DOUBLE_EQ(window.VelocityX, 99);
    EXPECT_DOUBLE_EQ(window.VelocityY, -49.5);
    EXPECT_DOUBLE_EQ(window.BallX, 339);
    EXPECT_DOUBLE_EQ(window.BallY, 190.5);
}

INSTANTIATE_TEST_SUITE_P(SpringConstant, RotationNoPull, ::testing::Values("0", "", "abc"),
                         [](const auto& info) {
                             const std::string text = info.param;
                             return text.empty() ? std::string("Empty")
                                                 : text == "0" ? std::string("Zero") : std::string("NotANumber");
                         });

TEST_F(RotationWindow, APressFreezesAndChangeRestartsFromTheLatestPointer)
{
    window.Show();
    moveTo(3000, 1500);
    tick(3);
    const auto frozenPicture = window.displayList();

    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        apply("10", "0.02", "0.99");
        QTest::mousePress(&window, button, Qt::ShiftModifier, pixelOf(1500, 2000));
        EXPECT_FALSE(window.Timer1.Enabled()) << button;
        EXPECT_FALSE(window.Timer1.isTicking()) << button;
        QTest::mouseRelease(&window, button, Qt::ShiftModifier, pixelOf(1500, 2000));
    }

    // Frozen: the picture stays, but the pointer is still followed, with or
    // without a button held.
    EXPECT_EQ(window.displayList(), frozenPicture);
    moveTo(1200, 600);
    EXPECT_EQ(window.MouseX, 1200);
    EXPECT_EQ(window.MouseY, 600);
    moveWithButtonHeld(1800, 2400, Qt::LeftButton);
    EXPECT_EQ(window.MouseX, 1800);
    EXPECT_EQ(window.MouseY, 2400);

    QTest::mouseClick(&window.button("Command1"), Qt::LeftButton);
    EXPECT_TRUE(window.Timer1.isTicking());
    EXPECT_EQ(window.BallX, 240);
    EXPECT_EQ(window.BallY, 240);
    EXPECT_EQ(window.VelocityX, 0);
    EXPECT_EQ(window.VelocityY, 0);
    tick();
    EXPECT_EQ(window.displayList()[0].x1, 1800.0f);
    EXPECT_EQ(window.displayList()[0].y1, 2400.0f);
}

TEST_F(RotationWindow, AMoveOverATextBoxDoesNotReachTheWindow)
{
    window.Show();
    moveTo(3000, 1500);
    moveTo(5040 + 300, 1080 + 135);  // inside Text2
    EXPECT_EQ(window.MouseX, 3000);
    EXPECT_EQ(window.MouseY, 1500);
}

TEST_F(RotationWindow, BoxesActOnlyWhenChangeIsClicked)
{
    window.Show();
    moveTo(3000, 1500);
    tick(20);
    window.textBox("Text3").setText(QStringLiteral("0"));
    tick();
    EXPECT_NE(window.VelocityX, 0);  // still the old relaxation

    QTest::mouseClick(&window.button("Command1"), Qt::LeftButton);
    EXPECT_EQ(window.BallX, 240);
    EXPECT_EQ(window.BallY, 240);
    EXPECT_EQ(window.VelocityX, 0);
    EXPECT_EQ(window.VelocityY, 0);
    EXPECT_EQ(window.Relax, 0);
    EXPECT_DOUBLE_EQ(window.NegStiffness, -0.02);
}

TEST_F(RotationWindow, ReopeningStartsAgainButRemembersThePointer)
{
    window.Show();
    moveTo(3000, 1500);
    tick(5);
    window.close();
    EXPECT_FALSE(window.Timer1.isTicking());

    window.Show();
    EXPECT_TRUE(window.Timer1.isTicking());
    EXPECT_EQ(window.BallX, 240);
    EXPECT_EQ(window.MouseX, 3000);
    EXPECT_EQ(window.MouseY, 1500);
}

struct IntervalCase {
    const char* name;
    const char* text;
    int interval;         // expected Interval when no error
    bool ticking;
    bool error;
    rt::ErrorNumber number;
};
void PrintTo(const IntervalCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class RotationTimerBox : public RotationWindow, public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(RotationTimerBox, SetsTheIntervalOrReportsTheError)
{
    const IntervalCase& c = GetParam();
    window.Show();
    tick();
    apply(c.text, "0.03", "0.5");
    if (c.error) {
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0], c.number);
        EXPECT_FALSE(window.Timer1.Enabled());
    } else {
        EXPECT_TRUE(errors.empty());
        EXPECT_EQ(window.Timer1.Interval(), c.interval);
        EXPECT_TRUE(window.Timer1.Enabled());
    }
    EXPECT_EQ(window.Timer1.isTicking(), c.ticking);
    // Either way the mass is back at its start and the other boxes are
    // read: the interval comes last.
    EXPECT_EQ(window.BallX, 240);
    EXPECT_EQ(window.VelocityX, 0);
    EXPECT_EQ(window.NegStiffness, -0.03);
    EXPECT_EQ(window.Relax, 0.5);
}

INSTANTIATE_TEST_SUITE_P(
    Text1, RotationTimerBox,
    ::testing::Values(IntervalCase{"HalfRoundsDownToEven", "10.5", 10, true, false, {}},
                      IntervalCase{"HalfRoundsUpToEven", "11.5", 12, true, false, {}},
                      IntervalCase{"ZeroIsSilent", "0", 0, false, false, {}},
                      IntervalCase{"TooLongForTheTimer", "70000", 0, false, true,
                                   rt::ErrorNumber::InvalidPropertyValue},
                      IntervalCase{"BeyondAnInt32", "3E9", 0, false, true, rt::ErrorNumber::Overflow}),
    [](const auto& info) { return std::string(info.param.name); });

struct ControlCase {
    const char* name;
    const char* text;
    QRect pixels;
};
void PrintTo(const ControlCase& c, std::ostream* os) { *os << c.name; }

class RotationLayout : public RotationWindow, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(RotationLayout, ControlStandsWhereDesigned)
{
    const ControlCase& c = GetParam();
    window.Show();
    QWidget& control = window.control(c.name);
    EXPECT_EQ(control.geometry(), c.pixels);
    QString text;
    if (auto* box = qobject_cast<QLineEdit*>(&control))
        text = box->text();
    else if (auto* button = qobject_cast<QPushButton*>(&control))
        text = button->text();
    else if (auto* label = qobject_cast<QLabel*>(&control))
        text = label->text();
    EXPECT_EQ(text, QString::fromUtf8(c.text));
}

// Twips to pixels, 15 to one, rounded.
INSTANTIATE_TEST_SUITE_P(
    Controls, RotationLayout,
    ::testing::Values(ControlCase{"Command1", "変更", QRect(272, 16, 105, 25)},
                      ControlCase{"Text1", "10", QRect(336, 48, 41, 18)},
                      ControlCase{"Label1", "タイマー", QRect(272, 48, 49, 17)},
                      ControlCase{"Label2", "バネ定数", QRect(272, 72, 57, 25)},
                      ControlCase{"Text2", "0.02", QRect(336, 72, 49, 18)},
                      ControlCase{"Label3", "緩和係数", QRect(272, 96, 65, 17)},
                      ControlCase{"Text3", "0.99", QRect(336, 96, 49, 18)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RotationWindow, WindowCaptionSizeAndTabOrder)
{
    window.Show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ゴム紐で回転"));
    EXPECT_EQ(window.size(), QSize(410, 206));
    EXPECT_EQ(window.focusWidget(), &window.control("Command1"));

    std::vector<QString> order;
    QWidget* w = &window.control("Command1");
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            order.push_back(w->objectName());
        w = w->nextInFocusChain();
    } while (w != &window.control("Command1") && order.size() < 10);
    EXPECT_EQ(order, (std::vector<QString>{"Command1", "Text1", "Text2", "Text3"}));
}

}  // namespace
