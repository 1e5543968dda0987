#pragma once
// The command-line options for how the program looks: --zoom PERCENT and
// --lang ja|en. They are read with the rest of the command line, before the
// window system starts, so a bad value ends the program at once; they are
// applied once the application exists.

#include "shell/language.h"

#include <optional>

class QCommandLineParser;
class QString;

struct DisplayChoice {
    std::optional<int> zoomPercent;
    std::optional<Language> language;
};

void addDisplayOptions(QCommandLineParser& parser);
// Reads the options given into `choice`. A bad value gives the one line to
// show the user and leaves `choice` as it was; otherwise the result is empty.
QString readDisplayOptions(const QCommandLineParser& parser, DisplayChoice& choice);
void applyDisplayChoice(const DisplayChoice& choice);
// Reads and applies; a bad value applies nothing.
QString applyDisplayOptions(const QCommandLineParser& parser);
