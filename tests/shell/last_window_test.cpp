// The program ends when its last window closes, and not before: the real
// executable runs with a script that Qt loads into it, which closes the
// launcher while a simulation window is open and then closes that one;
// what such a run was told on its command line it does not remember.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

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

namespace {

// A --zoom or --lang given for one run holds for that run only: the real
// program, with a settings folder of its own (XDG_CONFIG_HOME), run to its
// end, leaves the remembered choices as they were.
struct OneRun {
    const char* name;
    const char* before;  // the settings file, empty: none
    QStringList arguments;
};

class ChoiceForOneRun : public ::testing::TestWithParam<OneRun> {};

TEST_P(ChoiceForOneRun, IsNotRemembered)
{
    const OneRun& c = GetParam();
    QTemporaryDir config;
    const QString file = config.filePath(QStringLiteral("SpringLab/SpringLab.conf"));
    if (*c.before) {
        QDir(config.path()).mkpath(QStringLiteral("SpringLab"));
        QFile seed(file);
        ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
        seed.write(c.before);
    }
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(SPRINGLAB_SCRIPT_PLUGIN_PATH));
    env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("springlabclosescript"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(SPRINGLAB_EXECUTABLE), c.arguments);
    ASSERT_TRUE(program.waitForStarted(30000));
    if (!program.waitForFinished(60000)) {
        program.kill();
        program.waitForFinished(10000);
        FAIL() << "the program did not end";
    }
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(program.readAllStandardOutput()).contains(QStringLiteral("spring window closed")));
    QFile after(file);
    if (!*c.before) {
        EXPECT_FALSE(after.exists());
        return;
    }
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), QByteArray(c.before));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ChoiceForOneRun,
    ::testing::Values(OneRun{"ZoomWithNothingRemembered", "", {QStringLiteral("--zoom"), QStringLiteral("200")}},
                      OneRun{"ZoomOverARememberedOne", "[view]\nzoom=150\n", {QStringLiteral("--zoom=250")}},
                      OneRun{"ZoomAndLanguage", "[General]\nlanguage=ja\n\n[view]\nzoom=125\n",
                             {QStringLiteral("--zoom"), QStringLiteral("300"), QStringLiteral("--lang"),
                              QStringLiteral("en")}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
