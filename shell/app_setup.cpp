#include "shell/app_setup.h"

#include "measure/atomic_file.h"
#include "runtime/forms/form.h"
#include "shell/version.h"

#include <QApplication>
#include <QSocketNotifier>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

#if defined(Q_OS_UNIX)
// A termination signal (logout, shutdown, `kill`) closes the windows
// through the event loop like a click on their close boxes, instead of
// ending the process in the middle of a tick. The handler can only write a
// byte; the event loop does the rest.
int g_signalSocket[2] = {-1, -1};

void onTerminationSignal(int)
{
    // A save under way when the signal comes must not leave its hidden
    // temporary file: removed here, the save fails and the file it was to
    // replace stays as it was.
    measure::removeTemporaryFilesNow();
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalSocket[1], &byte, 1);
}

void closeOnTerminationSignals(QApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalSocket) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalSocket[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(g_signalSocket[0], &byte, 1);
        QApplication::closeAllWindows();
        QApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}
#endif

}  // namespace

void setUpApplication(QApplication& app)
{
    QApplication::setOrganizationName(QStringLiteral("SpringLab"));
    QApplication::setApplicationName(QStringLiteral("SpringLab"));
    // No display name: on X11 and Wayland Qt would append it to every
    // window's title ("バネの振動 — バネ関係"), and each window's title bar
    // must read its caption alone. The desktop entry names the program.
    QApplication::setApplicationVersion(QStringLiteral(SPRINGLAB_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(SPRINGLAB_APP_ID));
    rt::applyApplicationLook();
    // The saves' temporary files go on every signal that ends the program
    // (SIGXFSZ among them); the termination signals then close the windows
    // through the event loop, as below.
    measure::removeTemporaryFilesOnSignals();
#if defined(Q_OS_UNIX)
    closeOnTerminationSignals(app);
#else
    (void)app;
#endif
}
