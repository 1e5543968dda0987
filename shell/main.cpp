#include "app_setup.h"
#include "display_options.h"
#include "frm_main.h"
#include "preferences.h"
#include "windows.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>

namespace {

// Without a display Qt would abort with a long message about platform
// plugins; one clear line is better.
bool displayMissing()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const bool platformChosen = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    const bool x11 = qEnvironmentVariableIsSet("DISPLAY");
    const bool wayland = qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    return !platformChosen && !x11 && !wayland;
#else
    return false;
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    if (displayMissing()) {
        std::fputs("springlab: no display found (DISPLAY and WAYLAND_DISPLAY are not set); "
                   "start it from a desktop session\n",
                   stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    setUpApplication(app);
    restorePreferences();

    QCommandLineParser parser;
    addDisplayOptions(parser);
    if (!parser.parse(QApplication::arguments())) {
        std::fprintf(stderr, "springlab: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (const QString error = applyDisplayOptions(parser); !error.isEmpty()) {
        std::fprintf(stderr, "springlab: %s\n", qPrintable(error));
        return 2;
    }
    rememberZoomChanges();

    int status = 0;
    {
        Windows windows;
        frmMain launcher(windows);
        launcher.Show();
        status = QApplication::exec();
    }
    return status;
}
