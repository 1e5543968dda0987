#include "shell/command_line.h"

#include "shell/version.h"
#include "sims/registry.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <array>
#include <cstdio>
#include <utility>

namespace {

QString nameOf(const sims::Definition& experiment)
{
    return QString::fromLatin1(experiment.name.data(), static_cast<qsizetype>(experiment.name.size()));
}

QString windowNameList()
{
    QStringList names;
    for (const sims::Definition* experiment : sims::experiments())
        names << nameOf(*experiment);
    return names.join(QStringLiteral(", "));
}

// Qt's own options, which QApplication takes from the same command line
// (-platform xcb, -style fusion, ...). They are accepted here and left for
// it; the help does not list them.
const char* const kQtOptionsWithValue[] = {"platform", "platformpluginpath", "platformtheme",
                                           "plugin", "display", "style", "stylesheet",
                                           "qwindowgeometry", "qwindowicon", "qwindowtitle",
                                           "session", "widgetcount"};
const char* const kQtFlags[] = {"reverse", "nograb", "dograb", "sync"};

CommandLine usageError(QString message)
{
    if (message.endsWith(QLatin1Char('.')))
        message.chop(1);
    CommandLine result;
    result.exitStatus = kExitUsage;
    result.err = QStringLiteral("springlab: %1 (see springlab --help)\n").arg(message);
    return result;
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    // One dash or two: Qt's options are written with one (-platform xcb).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Animated mass-spring experiments for the classroom (バネ関係).\n"
                       "Without options it shows the launcher window.\n\n"
                       "Example: springlab --open two-balls\n\n"
                       "Runs without a window: springlab run --help, springlab replay --help"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                                  QStringLiteral("Shows this help and ends."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and ends."));
    const QCommandLineOption open(
        QStringLiteral("open"),
        QStringLiteral("Opens a simulation window at start, besides the launcher: %1. "
                       "May be given more than once.")
            .arg(windowNameList()),
        QStringLiteral("NAME"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(open);
    addDisplayOptions(parser);
    for (const char* name : kQtOptionsWithValue) {
        QCommandLineOption qtOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    for (const char* name : kQtFlags) {
        QCommandLineOption qtFlag(QString::fromLatin1(name));
        qtFlag.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtFlag);
    }

    if (!parser.parse(arguments))
        return usageError(parser.errorText().replace(QLatin1Char('\n'), QLatin1Char(' ')));

    CommandLine result;
    if (parser.isSet(help)) {
        result.exitStatus = kExitOk;
        // Parsed before any application object exists, the usage line
        // cannot know the program's name by itself.
        result.out = parser.helpText();
        result.out.replace(0, result.out.indexOf(QLatin1Char('\n')),
                           QStringLiteral("Usage: springlab [options]"));
        return result;
    }
    if (parser.isSet(version)) {
        result.exitStatus = kExitOk;
        result.out = QStringLiteral("springlab " SPRINGLAB_VERSION "\n");
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("unexpected argument '%1'")
                              .arg(parser.positionalArguments().constFirst()));
    for (const QString& name : parser.values(open)) {
        const sims::Definition* window = sims::findExperiment(name.toStdString());
        if (!window)
            return usageError(QStringLiteral("no window '%1' to open; the windows are %2")
                                  .arg(name, windowNameList()));
        result.start.open.push_back(window);
    }
    if (const QString error = readDisplayOptions(parser, result.start.display); !error.isEmpty())
        return usageError(error);
    result.start.platformGiven = parser.isSet(QStringLiteral("platform"));
    return result;
}

QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int answer(const CommandLine& commandLine)
{
    std::fputs(commandLine.out.toLocal8Bit().constData(), stdout);
    // Help or a version that never arrived (a full disk, a closed pipe) is
    // not an answer: said on stderr, with the status of a failed output.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("springlab: the output could not be written\n", stderr);
        return kExitOutputFailed;
    }
    std::fputs(commandLine.err.toLocal8Bit().constData(), stderr);
    return commandLine.exitStatus.value_or(kExitOk);
}
