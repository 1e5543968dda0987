// What the title bars read: each window's caption and nothing more, for the
// launcher, the four experiments and the error box of a failing window,
// checked on the native window and, under a virtual X display, in the name
// the X server holds for each window.

#include "shell/app_setup.h"
#include "runtime/forms/form.h"
#include "shell/frm_main.h"
#include "shell/window_set.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QWindow>

#include "sims/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

struct TitledWindow {
    const char* name;
    const char* experiment;
    const char* caption;
};

const TitledWindow kWindows[] = {
    {"Rotation", "rotation", "ゴム紐で回転"},
    {"Vibration", "vibration", "バネの振動"},
    {"TwoBalls", "two-balls", "バネでつながった2つのボール"},
    {"RubberCord", "rubber-cord", "ゴムひも"},
};

const char kLauncherCaption[] = "バネ関係";

class WindowTitles : public ::testing::TestWithParam<TitledWindow> {
protected:
    void SetUp() override
    {
        setUpApplication(*qApp);
        rt::resetErrorReporter();
    }

    Windows windows;
    frmMain launcher{windows};
};

// The title the window system is given, not only the widget's property.
QString nativeTitle(const QWidget& widget)
{
    return widget.windowHandle() ? widget.windowHandle()->title() : QStringLiteral("(no native window)");
}

TEST_P(WindowTitles, TitleBarReadsTheCaptionAlone)
{
    launcher.Show();
    rt::Form& form = windows.show(*sims::findExperiment(GetParam().experiment));
    EXPECT_EQ(nativeTitle(form), QString::fromUtf8(GetParam().caption));
    EXPECT_EQ(nativeTitle(launcher), QString::fromUtf8(kLauncherCaption));
}

TEST_P(WindowTitles, ErrorBoxIsTitledWithTheFailingWindowsCaption)
{
    rt::Form& form = windows.show(*sims::findExperiment(GetParam().experiment));
    // A tick period the timer refuses: every window reads it on "変更".
    form.textBox("Text1").setText(QStringLiteral("70000"));
    QTest::mouseClick(&form.button("Command1"), Qt::LeftButton);

    std::unique_ptr<QMessageBox> box;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<QMessageBox*>(widget); found && found->parentWidget() == &form)
            box.reset(found);
    ASSERT_NE(box, nullptr) << "no error box for the failing window";
    EXPECT_EQ(box->windowTitle(), QString::fromUtf8(GetParam().caption));
    EXPECT_EQ(nativeTitle(*box), QString::fromUtf8(GetParam().caption));
}

INSTANTIATE_TEST_SUITE_P(EachWindow, WindowTitles, ::testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.name); });

// The program itself under a virtual X display, with every window open;
// the helper script prints the _NET_WM_NAME of each mapped top-level window.
TEST(WindowTitlesOnX11, EveryMappedWindowIsNamedByItsCaptionAlone)
{
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty())
        GTEST_SKIP() << "xvfb-run, xprop or xwininfo is not installed";

    // The user's remembered zoom and language stay out of it.
    const QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));  // the real X11 platform
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    QString output, errors;
    int exitCode = -1;
    // xvfb-run -a takes the first free display number, but two virtual
    // displays started at the same moment (another test program, a
    // screenshot run) can pick the same one, and the loser's program cannot
    // connect. That says nothing about the titles, so it is tried again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        QProcess run;
        run.setProcessEnvironment(environment);
        run.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24"),
                            QStringLiteral("bash"), QStringLiteral(SPRINGLAB_X11_NAMES_SCRIPT),
                            QStringLiteral(SPRINGLAB_EXECUTABLE)});
        ASSERT_TRUE(run.waitForFinished(240000)) << "the virtual display run did not end";
        output = QString::fromUtf8(run.readAllStandardOutput());
        errors = QString::fromUtf8(run.readAllStandardError());
        exitCode = run.exitCode();
        if (exitCode == 0 || !errors.contains(QStringLiteral("could not connect to display")))
            break;
    }
    ASSERT_EQ(exitCode, 0) << errors.toStdString() << output.toStdString();

    QStringList names = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    names.sort();
    QStringList expected{QString::fromUtf8(kLauncherCaption)};
    for (const TitledWindow& window : kWindows)
        expected << QString::fromUtf8(window.caption);
    expected.sort();
    EXPECT_EQ(names.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString())
        << errors.toStdString();
}

}  // namespace
