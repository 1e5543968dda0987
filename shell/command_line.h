#pragma once
// The program's command line, read before any window system is touched:
// --help and --version answer on a terminal without a display, and a
// mistake is told in one line with exit status 2, before anything starts.
//
// Options that change how the program starts are collected in StartOptions;
// an option is added in parseCommandLine and, when it needs one, a field
// here.

#include <QString>
#include <QStringList>

#include "shell/display_options.h"
#include "sims/experiment.h"

#include <optional>
#include <vector>

struct StartOptions {
    // Shown after the launcher, in the order given.
    std::vector<const sims::Definition*> open;
    // A Qt platform named on the command line (-platform NAME), which
    // stands in for a display in the environment.
    bool platformGiven = false;
    // --zoom and --lang, for this run only.
    DisplayChoice display;
};

// Exit statuses of a run that ends at the command line.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
constexpr int kExitOutputFailed = 3;

struct CommandLine {
    // Set when the program answers and ends without opening a window
    // (help, version, a usage mistake); `out` and `err` are what it prints.
    std::optional<int> exitStatus;
    QString out;
    QString err;
    StartOptions start;
};

// `arguments` includes the program's own name first, as argv does.
CommandLine parseCommandLine(const QStringList& arguments);

QStringList argumentsOf(int argc, char** argv);

// Prints a finished command line's answer and gives its exit status.
int answer(const CommandLine& commandLine);
