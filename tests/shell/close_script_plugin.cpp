// Loaded into the real program by Qt itself (QT_QPA_GENERIC_PLUGINS), so
// that a test can close the program's windows one by one as a user would,
// without a hook in the program: it presses the launcher's "バネの振動",
// closes the launcher while the spring window runs, then closes that one
// too. What it does and sees goes to stdout, one line each, for the test.

#include <QApplication>
#include <QGenericPlugin>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

QWidget* shownWindow(const char* name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

void say(const char* line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

class CloseScript : public QObject {
public:
    CloseScript()
    {
        connect(&m_poll, &QTimer::timeout, this, [this] { poll(); });
        m_poll.start(20);
        connect(qApp, &QCoreApplication::aboutToQuit, this, [] { say("quitting"); });
    }

private:
    void poll()
    {
        switch (m_step) {
        case 0:
            if (QWidget* launcher = shownWindow("frmMain")) {
                say("launcher shown");
                if (auto* button = launcher->findChild<QPushButton*>(QStringLiteral("Command2")))
                    button->click();
                m_step = 1;
            }
            break;
        case 1:
            if (shownWindow("frmVibration")) {
                say("spring window shown");
                shownWindow("frmMain")->close();
                say("launcher closed");
                m_step = 2;
            }
            break;
        default:
            // Some turns of the event loop with the spring window alone:
            // the program must still be running.
            if (++m_step == 12) {
                QWidget* spring = shownWindow("frmVibration");
                say(spring ? "still running" : "spring window gone");
                if (spring)
                    spring->close();
                say("spring window closed");
                m_poll.stop();
            }
            break;
        }
    }

    QTimer m_poll;
    int m_step = 0;
};

class CloseScriptPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "close_script_plugin.json")

public:
    QObject* create(const QString&, const QString&) override { return new CloseScript; }
};

}  // namespace

#include "close_script_plugin.moc"
