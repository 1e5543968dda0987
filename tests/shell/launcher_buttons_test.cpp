// Each of the launcher's buttons opens its own experiment: after a click
// exactly one new window is on the screen, of the right kind and with its
// own caption, and no other experiment has been made.

#include "shell/frm_main.h"
#include "tests/support/typed_windows.h"
#include "shell/window_set.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ButtonRow {
    const char* button;
    const char* windowName;  // the window's name in the program
    const char* caption;
};

class LauncherButton : public ::testing::TestWithParam<ButtonRow> {};

std::vector<QWidget*> visibleWindows()
{
    std::vector<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            shown.push_back(w);
    return shown;
}

TEST_P(LauncherButton, OpensItsOwnWindowAndNoOther)
{
    const ButtonRow& row = GetParam();
    Windows windows;
    frmMain launcher(windows);
    launcher.Show();
    ASSERT_EQ(visibleWindows(), std::vector<QWidget*>{&launcher});

    QTest::mouseClick(&launcher.button(row.button), Qt::LeftButton);

    const std::vector<QWidget*> shown = visibleWindows();
    ASSERT_EQ(shown.size(), 2u);
    QWidget* opened = shown[0] == &launcher ? shown[1] : shown[0];
    auto* form = qobject_cast<rt::Form*>(opened);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->formName(), QString::fromUtf8(row.windowName));
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8(row.caption));
    EXPECT_TRUE(form->isLoaded());

    // Made on first use, and only this one.
    const int made = (static_cast<frmRotaion*>(windows.windowIfMade(rotation::definition())) != nullptr) + (static_cast<frmVibration*>(windows.windowIfMade(vibration::definition())) != nullptr)
                     + (static_cast<frm2Bolls*>(windows.windowIfMade(two_balls::definition())) != nullptr) + (static_cast<frmElasticCode*>(windows.windowIfMade(rubber_cord::definition())) != nullptr);
    EXPECT_EQ(made, 1);
    const std::string name = row.windowName;
    if (name == "frmRotaion")
        EXPECT_EQ(opened, static_cast<frmRotaion*>(windows.windowIfMade(rotation::definition())));
    else if (name == "frmVibration")
        EXPECT_EQ(opened, static_cast<frmVibration*>(windows.windowIfMade(vibration::definition())));
    else if (name == "frm2Bolls")
        EXPECT_EQ(opened, static_cast<frm2Bolls*>(windows.windowIfMade(two_balls::definition())));
    else
        EXPECT_EQ(opened, static_cast<frmElasticCode*>(windows.windowIfMade(rubber_cord::definition())));

    // The same button again brings the same window forward.
    QTest::mouseClick(&launcher.button(row.button), Qt::LeftButton);
    EXPECT_EQ(visibleWindows().size(), 2u);
    opened->close();
}

INSTANTIATE_TEST_SUITE_P(Launcher, LauncherButton,
                         ::testing::Values(ButtonRow{"Command1", "frmRotaion", "ゴム紐で回転"},
                                           ButtonRow{"Command2", "frmVibration", "バネの振動"},
                                           ButtonRow{"Command3", "frm2Bolls", "バネでつながった2つのボール"},
                                           ButtonRow{"Command4", "frmElasticCode", "ゴムひも"}),
                         [](const auto& info) { return std::string(info.param.button); });

}  // namespace
