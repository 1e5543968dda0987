#include "runtime/forms/form.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Window tests never need a screen; they read the display list and grab
    // widgets into images.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // What the program remembers goes to a folder of the test's own, never
    // into the settings of the person running the tests.
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir settingsDir;
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        for (QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, settingsDir.path());
    // A test counts exactly the ticks it fires, however busy the machine:
    // a real timeout between two of its steps would add a tick of its own.
    // Tests that want the event loop's ticks open an rt::RealTimeouts scope.
    rt::holdRealTimeouts(true);
    // A screen that every window fits at every zoom (the offscreen one is
    // 800 × 600): the tests of the zoom's limits give their own.
    rt::setAvailableArea([](const QWidget&) { return QRect(0, 0, 8000, 6000); });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
