// The rubber-cord rotation window, driven as a user would: real mouse events,
// typed boxes, clicks on "変更", and Timer1.fire() in place of waiting.

#include "tests/support/typed_windows.h"

#include "runtime/forms/render.h"

#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using rt::DrawOp;

QPoint pixelOf(int xTwips, int yTwips) { return {xTwips / 15, yTwips / 15}; }

class RotationWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        rt::setErrorReporter([this](rt::Form&, const rt::RuntimeError& e) { errors.push_back(e.number()); });
        window.Show();
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

    // Through the window system: the move lands on whatever is under the
    // pointer, the window's surface or a control.
    void moveTo(int xTwips, int yTwips) { QTest::mouseMove(&window, pixelOf(xTwips, yTwips)); }
    void apply(const char* timer, const char* stiffness, const char* relax)
    {
        window.textBox("Text1").setText(QString::fromUtf8(timer));
        window.textBox("Text2").setText(QString::fromUtf8(stiffness));
        window.textBox("Text3").setText(QString::fromUtf8(relax));
        QTest::mouseClick(&window.button("Command1"), Qt::LeftButton);
    }
    void tick(int count = 1) { for (int i = 0; i < count; ++i) window.Timer1.fire(); }
    auto mass() const { return std::tuple(window.BallX, window.BallY, window.VelocityX, window.VelocityY); }
    static constexpr std::tuple kAtStartAtRest{240.0, 240.0, 0.0, 0.0};

    frmRotaion window;
    std::vector<rt::ErrorNumber> errors;
};

TEST_F(RotationWindow, OneTickPullsTheMassTowardsThePointerAndDrawsIt)
{
    moveTo(3000, 1500);
    tick();
    // 54.648, 24.948, 294.648, 264.948, to the last bit of the formulas.
    EXPECT_EQ(window.VelocityX, ((240 - 3000.0) * -0.02 + 0) * 0.99);
    EXPECT_EQ(window.VelocityY, ((240 - 1500.0) * -0.02 + 0) * 0.99);
    EXPECT_EQ(window.BallX, 240 + ((240 - 3000.0) * -0.02 + 0) * 0.99);
    EXPECT_EQ(window.BallY, 240 + ((240 - 1500.0) * -0.02 + 0) * 0.99);

    // The cord from the pointer, then the mass as a red disc, both in the
    // pen colour: nothing else is on the picture.
    const float x = static_cast<float>(294.648), y = static_cast<float>(264.948);
    const rt::Color fore = window.ForeColor;
    EXPECT_EQ(window.displayList(), (std::vector<DrawOp>{
                                        {DrawOp::Kind::Line, 3000, 1500, x, y, fore, 0, false, 1},
                                        {DrawOp::Kind::Circle, x, y, 50, 0, fore, rt::RGB(255, 0, 0), true, 1}}));

    const QImage image = window.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(pixelOf(295, 265))), QColor(255, 0, 0));
    const QPoint mid = pixelOf((3000 + 295) / 2, (1500 + 265) / 2);  // halfway along the cord
    bool cordFound = false;
    for (int dy = -1; dy <= 1; ++dy)
        cordFound |= rt::fromQColor(QColor(image.pixel(mid + QPoint(0, dy)))) == fore;
    EXPECT_TRUE(cordFound);
}

TEST_F(RotationWindow, BeforeThePointerArrivesTheCordIsHeldAtTheTopLeftCorner)
{
    tick();
    EXPECT_EQ(window.VelocityX, -0x1.3020c49ba5e35p+2);  // -4.752
    EXPECT_EQ(window.VelocityY, -0x1.3020c49ba5e35p+2);
    EXPECT_EQ(window.BallX, 0x1.d67ef9db22d0ep+7);  // 235.248
    EXPECT_EQ(window.BallY, 0x1.d67ef9db22d0ep+7);
    EXPECT_EQ(std::pair(window.displayList().at(0).x1, window.displayList().at(0).y1), std::pair(0.0f, 0.0f));

    tick();
    for (double velocity : {window.VelocityX, window.VelocityY})
        EXPECT_EQ(velocity, -0x1.2b98b3c08c4cap+3);  // -9.3623904
    for (double position : {window.BallX, window.BallY})
        EXPECT_EQ(position, 0x1.c3c56e9f1a0c1p+7);  // 225.8856096
}

TEST_F(RotationWindow, WithoutPullOrRelaxationTheMassStaysWhileTheCordFollows)
{
    const struct {
        const char* stiffness;
        const char* relax;
    } cases[] = {{"0.02", "0"}, {"0", "0.99"}, {"", "0.99"}, {"abc", "0.99"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stiffness) + " / " + c.relax);
        apply("10", c.stiffness, c.relax);
        for (int x : {3000, 600, 2010}) {
            moveTo(x, 900);
            tick();
            EXPECT_EQ(std::pair(window.BallX, window.BallY), std::pair(240.0, 240.0));
            EXPECT_EQ(window.displayList()[0].x1, static_cast<float>(x));
        }
        // A push coasts, slowed by the relaxation alone.
        window.VelocityX = 100;
        window.VelocityY = -50;
        tick();
        const double keep = window.Relax;
        EXPECT_EQ(window.BallX, 240 + 100 * keep);
        EXPECT_EQ(window.BallY, 240 + -50 * keep);
    }
}

TEST_F(RotationWindow, RelaxOneKeepsTheMassSwinging)
{
    moveTo(3000, 1500);
    apply("10", "0.02", "1");
    tick(900);
    double widest = 0;  // from the pointer, over the next hundred ticks
    for (int i = 0; i < 100; ++i, tick())
        widest = std::max(widest, std::hypot(window.BallX - window.MouseX, window.BallY - window.MouseY));
    EXPECT_GT(widest, 0.9 * std::hypot(240 - 3000.0, 240 - 1500.0));
}

TEST_F(RotationWindow, AnOverflowStopsTheTickAndTheWindowGoesOn)
{
    moveTo(3000, 1500);
    apply("10", "0.02", "1.5");
    int ticks = 0;
    for (; errors.empty() && ticks < 10000; ++ticks)
        tick();
    EXPECT_EQ(errors, std::vector{rt::ErrorNumber::Overflow});
    EXPECT_GT(ticks, 100);  // it grew for a while first
    EXPECT_FALSE(window.Timer1.isTicking());

    apply("10", "0.02", "0.99");
    EXPECT_TRUE(window.Timer1.isTicking());
    tick();
    EXPECT_EQ(window.displayList().size(), 2u);
    EXPECT_EQ(errors.size(), 1u);

    // Overflowing in its first line, the tick stops before anything moves
    // or is drawn.
    apply("10", "1E300", "1E10");
    tick();
    EXPECT_EQ(errors, (std::vector{rt::ErrorNumber::Overflow, rt::ErrorNumber::Overflow}));
    EXPECT_TRUE(window.displayList().empty());
    EXPECT_EQ(std::pair(window.BallX, window.VelocityY), std::pair(240.0, 0.0));
}

TEST_F(RotationWindow, APressFreezesAndChangeRestartsFromTheLatestPointer)
{
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
    // without a button held; a move over a text box is the box's own.
    EXPECT_EQ(window.displayList(), frozenPicture);
    moveTo(1200, 600);
    EXPECT_EQ(std::pair(window.MouseX, window.MouseY), std::pair(1200.0, 600.0));
    const QPointF at = pixelOf(1800, 2400);
    QMouseEvent heldMove(QEvent::MouseMove, at, window.mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
    QApplication::sendEvent(&window, &heldMove);
    EXPECT_EQ(std::pair(window.MouseX, window.MouseY), std::pair(1800.0, 2400.0));
    moveTo(5040 + 300, 1080 + 135);  // inside Text2
    EXPECT_EQ(std::pair(window.MouseX, window.MouseY), std::pair(1800.0, 2400.0));

    QTest::mouseClick(&window.button("Command1"), Qt::LeftButton);
    EXPECT_TRUE(window.Timer1.isTicking());
    EXPECT_EQ(mass(), kAtStartAtRest);
    tick();
    EXPECT_EQ(std::pair(window.displayList()[0].x1, window.displayList()[0].y1), std::pair(1800.0f, 2400.0f));
}

TEST_F(RotationWindow, AnEditedBoxWaitsForChangeAndReopeningStartsAgainButRemembersThePointer)
{
    moveTo(3000, 1500);
    tick(20);
    window.textBox("Text3").setText(QStringLiteral("0"));
    tick();
    EXPECT_NE(window.VelocityX, 0);  // still the old relaxation

    window.close();
    EXPECT_FALSE(window.Timer1.isTicking());
    window.Show();
    EXPECT_TRUE(window.Timer1.isTicking());
    EXPECT_EQ(mass(), kAtStartAtRest);
    EXPECT_EQ(window.Relax, 0.99);
    EXPECT_EQ(std::pair(window.MouseX, window.MouseY), std::pair(3000.0, 1500.0));
}

TEST_F(RotationWindow, ChangeReadsTheTimerBoxLastAndReportsWhatItCannotTake)
{
    const struct {
        const char* text;
        int interval;
        std::optional<rt::ErrorNumber> error;
    } cases[] = {{"10.5", 10, {}}, {"11.5", 12, {}}, {"0", 0, {}},  // ties to even; 0 gives no ticks
                 {"70000", 10, rt::ErrorNumber::InvalidPropertyValue},   // the interval as it was
                 {"3E9", 10, rt::ErrorNumber::Overflow}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        apply("10", "0.02", "0.99");
        tick();
        errors.clear();
        apply(c.text, "0.03", "0.5");
        EXPECT_EQ(errors, c.error ? std::vector{*c.error} : std::vector<rt::ErrorNumber>{});
        EXPECT_EQ(window.Timer1.Enabled(), !c.error);
        EXPECT_EQ(window.Timer1.Interval(), c.interval);
        EXPECT_EQ(window.Timer1.isTicking(), !c.error && c.interval > 0);
        // Either way the mass is back at its start and the other boxes are read.
        EXPECT_EQ(mass(), kAtStartAtRest);
        EXPECT_EQ(window.NegStiffness, -0.03);
        EXPECT_EQ(window.Relax, 0.5);
    }
}

TEST_F(RotationWindow, CaptionLayoutTextsAndTabOrder)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ゴム紐で回転"));
    EXPECT_EQ(window.size(), QSize(410, 206));
    // Twips to pixels, 15 to one, rounded.
    const struct {
        const char* name;
        const char* text;
        QRect pixels;
    } controls[] = {{"Command1", "変更", QRect(272, 16, 105, 25)},   {"Text1", "10", QRect(336, 48, 41, 18)},
                    {"Label1", "タイマー", QRect(272, 48, 49, 17)}, {"Label2", "バネ定数", QRect(272, 72, 57, 25)},
                    {"Text2", "0.02", QRect(336, 72, 49, 18)},     {"Label3", "緩和係数", QRect(272, 96, 65, 17)},
                    {"Text3", "0.99", QRect(336, 96, 49, 18)}};
    for (const auto& c : controls) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(window.control(c.name).geometry(), c.pixels);
        EXPECT_EQ(window.control(c.name).property("text").toString(), QString::fromUtf8(c.text));
    }

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
