#include "app_setup.h"
#include "cli.h"
#include "display_options.h"
#include "frm_main.h"
#include "preferences.h"
#include "windows.h"

#include <QApplication>
#include <QCommandLineParser>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

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
    // Headless commands run before anything of Qt exists: no display needed.
    if (const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc); cli::isCommand(args))
        return cli::main(args, std::cout, std::cerr);
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
