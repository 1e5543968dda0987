// The launcher: one window per simulation for the whole run, reloaded
// after a close, and independent of the launcher's own window.

#include "shell/app_setup.h"
#include "shell/frm_main.h"
#include "tests/support/typed_windows.h"
#include "shell/version.h"
#include "shell/window_set.h"

#include <QLineEdit>
#include <QPushButton>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class LauncherTest : public ::testing::Test {
protected:
    void click(const char* name) { QTest::mouseClick(&launcher.button(name), Qt::LeftButton); }

    Windows windows;
    frmMain launcher{windows};
};

TEST_F(LauncherTest, LayoutAndFocus)
{
    launcher.Show();
    EXPECT_EQ(launcher.windowTitle(), QStringLiteral("バネ関係"));
    // The client area below the menu bar is laid out as it always was; the
    // window is taller by the menu bar.
    const int top = launcher.clientTop();
    EXPECT_GT(top, 10);
    EXPECT_EQ(launcher.size(), QSize(248, 206 + top));
    const char* captions[] = {"ゴムひもで回転", "バネの振動", "バネでつながった2個のボール", "ゴムひも"};
    const char* names[] = {"Command1", "Command2", "Command3", "Command4"};
    for (int i = 0; i < 4; ++i) {
        const QPushButton& b = launcher.button(names[i]);
        EXPECT_EQ(b.text(), QString::fromUtf8(captions[i]));
        EXPECT_EQ(b.geometry().translated(0, -top), QRect(24, 24 + 40 * i, 209, 33));
    }
    EXPECT_EQ(launcher.focusWidget(), &launcher.button("Command1"));
}

TEST_F(LauncherTest, SameButtonTwiceLeavesOneWindow)
{
    launcher.Show();
    EXPECT_EQ(static_cast<frmVibration*>(windows.windowIfMade(vibration::definition())), nullptr);
    click("Command2");
    frmVibration* first = static_cast<frmVibration*>(windows.windowIfMade(vibration::definition()));
    ASSERT_NE(first, nullptr);
    first->Timer1.fire();
    const double position = first->Position;
    click("Command2");
    EXPECT_EQ(static_cast<frmVibration*>(windows.windowIfMade(vibration::definition())), first);
    EXPECT_EQ(first->Position, position);  // brought forward, undisturbed
    EXPECT_TRUE(first->isVisible());
}

TEST_F(LauncherTest, CloseAndReopenReloadsTheBoxesWhileStateSurvives)
{
    launcher.Show();
    click("Command2");
    frmVibration& window = vibrationWindow(windows);
    window.Timer1.fire();
    EXPECT_EQ(window.Force, 500);
    window.textBox("Text2").setText(QStringLiteral("300"));
    window.close();
    EXPECT_FALSE(window.Timer1.isTicking());

    click("Command2");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.textBox("Text2").text(), QStringLiteral("200"));
    EXPECT_EQ(window.Position, 100);  // the load ran InitSimulation again
    EXPECT_EQ(window.Force, 500);     // which leaves Force as it was
    EXPECT_TRUE(window.Timer1.isTicking());
}

TEST_F(LauncherTest, ClosingTheLauncherLeavesSimulationsRunning)
{
    launcher.Show();
    click("Command2");
    launcher.close();
    frmVibration& window = vibrationWindow(windows);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.Timer1.isTicking());
    const double before = window.Position;
    const rt::RealTimeouts realTicks;  // ticks from the event loop, not the test
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.Position != before; }, 10000));
}

}  // namespace

// All four experiments at once, each on its own timer, and none of them
// tied to the launcher's window.
TEST_F(LauncherTest, EveryButtonOpensItsOwnWindowAndAllAnimateTogether)
{
    launcher.Show();
    for (int round = 0; round < 2; ++round)
        for (const char* name : {"Command1", "Command2", "Command3", "Command4"})
            click(name);
    ASSERT_NE(static_cast<frmRotaion*>(windows.windowIfMade(rotation::definition())), nullptr);
    ASSERT_NE(static_cast<frmVibration*>(windows.windowIfMade(vibration::definition())), nullptr);
    ASSERT_NE(static_cast<frm2Bolls*>(windows.windowIfMade(two_balls::definition())), nullptr);
    ASSERT_NE(static_cast<frmElasticCode*>(windows.windowIfMade(rubber_cord::definition())), nullptr);
    EXPECT_EQ(static_cast<frmRotaion*>(windows.windowIfMade(rotation::definition()))->windowTitle(), QStringLiteral("ゴム紐で回転"));
    EXPECT_EQ(static_cast<frmVibration*>(windows.windowIfMade(vibration::definition()))->windowTitle(), QStringLiteral("バネの振動"));
    EXPECT_EQ(static_cast<frm2Bolls*>(windows.windowIfMade(two_balls::definition()))->windowTitle(), QStringLiteral("バネでつながった2つのボール"));
    EXPECT_EQ(static_cast<frmElasticCode*>(windows.windowIfMade(rubber_cord::definition()))->windowTitle(), QStringLiteral("ゴムひも"));
    const auto topLevels = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(topLevels.begin(), topLevels.end(),
                            [](QWidget* w) { return qobject_cast<rt::Form*>(w) != nullptr; }),
              5);

    launcher.close();
    const double ball = static_cast<frmRotaion*>(windows.windowIfMade(rotation::definition()))->BallX;
    const double spring = static_cast<frmVibration*>(windows.windowIfMade(vibration::definition()))->Position;
    const double balls = static_cast<frm2Bolls*>(windows.windowIfMade(two_balls::definition()))->Balls.Ball1.Y;
    const double cord = static_cast<frmElasticCode*>(windows.windowIfMade(rubber_cord::definition()))->Chain.node(0).X;
    // Real ticks from four timers; on a busy machine they may take a while.
    const rt::RealTimeouts realTicks;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return static_cast<frmRotaion*>(windows.windowIfMade(rotation::definition()))->BallX != ball &&
                   static_cast<frmVibration*>(windows.windowIfMade(vibration::definition()))->Position != spring &&
                   static_cast<frm2Bolls*>(windows.windowIfMade(two_balls::definition()))->Balls.Ball1.Y != balls &&
                   static_cast<frmElasticCode*>(windows.windowIfMade(rubber_cord::definition()))->Chain.node(0).X != cord;
        },
        10000));
}

TEST(Application, CarriesTheProjectVersion)
{
    setUpApplication(*qApp);
    // The same value the package and the Windows version record are made from.
    EXPECT_EQ(QCoreApplication::applicationVersion(), QStringLiteral("1.00"));
    EXPECT_EQ(QStringLiteral(SPRINGLAB_VERSION), QStringLiteral("1.00"));
    // No display name of its own: X11 and Wayland would append one to every
    // window's title.
    EXPECT_EQ(QApplication::applicationDisplayName(), QCoreApplication::applicationName());
}
