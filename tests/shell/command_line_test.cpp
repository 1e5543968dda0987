// The command line: what each form of it answers, with which exit status,
// on which stream; read both by the parsing function and by running the
// built program without a display, as a terminal user would.

#include "shell/command_line.h"

#include <QProcess>
#include <QProcessEnvironment>

#include "sims/experiment.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Experiments by the names --open takes.
std::vector<std::string_view> namesOf(const std::vector<const sims::Definition*>& open)
{
    std::vector<std::string_view> names;
    for (const sims::Definition* d : open)
        names.push_back(d->name);
    return names;
}

bool startsWith(const QString& text, const char* start)
{
    return text.toStdString().starts_with(start);
}

struct Case {
    const char* name;
    QStringList arguments;
    int status;       // -1: the program goes on to start
    const char* out;  // what stdout starts with
    const char* err;  // what stderr starts with ("" for nothing)
    std::vector<std::string_view> open = {};
    bool platformGiven = false;
};

const char kUsage[] = "springlab: ";

const Case kCases[] = {
    {"Nothing", {}, -1, "", ""},
    {"Version", {"--version"}, 0, "springlab 1.00\n", ""},
    {"VersionShort", {"-v"}, 0, "springlab 1.00\n", ""},
    {"Help", {"--help"}, 0, "Usage: springlab [options]\n", ""},
    {"HelpShort", {"-h"}, 0, "Usage: springlab [options]\n", ""},
    {"UnknownOption", {"--fullscreen"}, 2, "", "springlab: Unknown option 'fullscreen' (see springlab --help)\n"},
    {"UnknownBeforeVersion", {"--bogus", "--version"}, 2, "", kUsage},
    {"OpenWithoutName", {"--open"}, 2, "", kUsage},
    {"OpenUnknownWindow", {"--open", "kitchen"}, 2, "", "springlab: no window 'kitchen' to open"},
    {"OpenNameInOtherCase", {"--open", "Rotation"}, 2, "", kUsage},
    {"StrayArgument", {"vibration"}, 2, "", "springlab: unexpected argument 'vibration'"},
    {"OpenOne", {"--open", "vibration"}, -1, "", "", {"vibration"}},
    {"OpenWithEquals", {"--open=rubber-cord"}, -1, "", "", {"rubber-cord"}},
    {"OpenSeveralInOrder", {"--open", "two-balls", "--open", "rotation"}, -1, "", "",
     {"two-balls", "rotation"}},
    {"QtPlatformOptionPassesThrough", {"-platform", "offscreen", "--open", "rubber-cord"}, -1, "", "",
     {"rubber-cord"}, true},
    {"QtStyleOptionPassesThrough", {"-style", "fusion"}, -1, "", ""},
    {"ZoomAndLanguage", {"--zoom", "200", "--lang", "en", "--open", "vibration"}, -1, "", "", {"vibration"}},
    {"ZoomNotALevel", {"--zoom", "175"}, 2, "", "springlab: --zoom: \"175\" is not a zoom level"},
    {"LanguageUnknown", {"--lang", "fr"}, 2, "", "springlab: --lang: \"fr\" is not a language"},
};

class CommandLineCases : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLineCases, AnswersOrStartsAsAsked)
{
    const Case& c = GetParam();
    const CommandLine line = parseCommandLine(QStringList{QStringLiteral("springlab")} + c.arguments);
    if (c.status < 0) {
        EXPECT_FALSE(line.exitStatus.has_value()) << line.err.toStdString();
        EXPECT_EQ(namesOf(line.start.open), c.open);
        EXPECT_EQ(line.start.platformGiven, c.platformGiven);
    } else {
        ASSERT_TRUE(line.exitStatus.has_value());
        EXPECT_EQ(*line.exitStatus, c.status);
    }
    EXPECT_TRUE(startsWith(line.out, c.out)) << line.out.toStdString();
    EXPECT_TRUE(startsWith(line.err, c.err)) << line.err.toStdString();
    EXPECT_EQ(line.out.isEmpty(), *c.out == '\0') << line.out.toStdString();
    // A mistake is one line, so a script's log shows it whole.
    EXPECT_EQ(line.err.count(QLatin1Char('\n')), *c.err == '\0' ? 0 : 1) << line.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, CommandLineCases, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLineHelp, NamesEveryWindowThatCanBeOpened)
{
    const QString help = parseCommandLine({QStringLiteral("springlab"), QStringLiteral("--help")}).out;
    for (const char* name : {"--open <NAME>", "rotation", "vibration", "two-balls", "rubber-cord", "--version"})
        EXPECT_TRUE(help.contains(QString::fromUtf8(name))) << name;
    EXPECT_FALSE(help.contains(QStringLiteral("platform"))) << "Qt's own options stay out of the help";
}

// The built program on a terminal without any display.
struct ProgramRun {
    const char* name;
    QStringList arguments;
    int status;
    const char* out;
    const char* err;
};

const ProgramRun kRuns[] = {
    {"Version", {"--version"}, 0, "springlab 1.00\n", ""},
    {"Help", {"--help"}, 0, "Usage: springlab [options]\n", ""},
    {"UnknownOption", {"--fullscreen"}, 2, "", "springlab: Unknown option 'fullscreen'"},
    {"UnknownWindow", {"--open", "kitchen"}, 2, "", "springlab: no window 'kitchen'"},
    {"NoDisplay", {}, 1, "", "springlab: no display found"},
    {"NoDisplayWithAWindow", {"--open", "vibration"}, 1, "", "springlab: no display found"},
    // A bad value is refused before the program looks for a display.
    {"BadZoomWithoutDisplay", {"--zoom", "0"}, 2, "", "springlab: --zoom: \"0\" is not a zoom level"},
};

class ProgramWithoutDisplay : public ::testing::TestWithParam<ProgramRun> {};

TEST_P(ProgramWithoutDisplay, AnswersInOneLineWithItsExitStatus)
{
    const ProgramRun& r = GetParam();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(SPRINGLAB_EXECUTABLE), r.arguments);
    ASSERT_TRUE(program.waitForFinished(60000));
    ASSERT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), r.status);
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    const QString err = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(startsWith(out, r.out)) << out.toStdString();
    EXPECT_EQ(out.isEmpty(), *r.out == '\0') << out.toStdString();
    EXPECT_TRUE(startsWith(err, r.err)) << err.toStdString();
    EXPECT_EQ(err.count(QLatin1Char('\n')), *r.err == '\0' ? 0 : 1) << err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, ProgramWithoutDisplay, ::testing::ValuesIn(kRuns),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
