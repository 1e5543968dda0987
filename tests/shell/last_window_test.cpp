// The program ends when its last window closes, and not before: the real
// executable runs with a script that Qt loads into it, which closes the
// launcher while a simulation window is open and then closes that one.

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

TEST(Program, EndsWhenItsLastWindowClosesAndNotBefore)
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(SPRINGLAB_SCRIPT_PLUGIN_PATH));
    env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("springlabclosescript"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(SPRINGLAB_EXECUTABLE), {});
    ASSERT_TRUE(program.waitForStarted(30000));

    // A program that stays open after its last window has gone never
    // finishes; a generous wait keeps a busy machine from failing it.
    const bool finished = program.waitForFinished(60000);
    if (!finished) {
        program.kill();
        program.waitForFinished(10000);
    }
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    EXPECT_TRUE(finished) << "still running after its last window closed; it said:\n" << out.toStdString();
    EXPECT_EQ(out, QStringLiteral("launcher shown\n"
                                  "spring window shown\n"
                                  "launcher closed\n"
                                  "still running\n"
                                  "spring window closed\n"
                                  "quitting\n"));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

}  // namespace
