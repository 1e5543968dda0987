#include "shell/app_setup.h"
#include "cli/cli.h"
#include "shell/command_line.h"
#include "shell/frm_main.h"
#include "shell/preferences.h"
#include "shell/window_set.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Without a display Qt would abort with a long message about platform
// plugins; one clear line is better.
bool displayMissing(const StartOptions& start)
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const bool platformChosen = start.platformGiven || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    const bool x11 = qEnvironmentVariableIsSet("DISPLAY");
    const bool wayland = qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    return !platformChosen && !x11 && !wayland;
#else
    (void)start;
    return false;
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    // Headless commands run before anything of Qt exists: no display needed.
    if (const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc); cli::isCommand(args))
        return cli::main(args, std::cout, std::cerr, cli::setUpProcess());
    const CommandLine commandLine = parseCommandLine(argumentsOf(argc, argv));
    if (commandLine.exitStatus)
        return answer(commandLine);
    if (displayMissing(commandLine.start)) {
        std::fputs("springlab: no display found (DISPLAY and WAYLAND_DISPLAY are not set); "
                   "start it from a desktop session\n",
                   stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    setUpApplication(app);
    restorePreferences();
    // Given on the command line, they hold for this run and are not
    // remembered.
    applyDisplayChoice(commandLine.start.display);
    setLanguage(currentLanguage());  // Qt's own texts in it too
    rememberZoomChanges();

    int status = 0;
    {
        Windows windows;
        frmMain launcher(windows);
        rt::keepZoomOnScreens();
        launcher.Show();
        for (const sims::Definition* experiment : commandLine.start.open)
            windows.show(*experiment);
        status = QApplication::exec();
    }
    return status;
}
