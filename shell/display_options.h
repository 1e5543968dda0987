#pragma once
// The command-line options for how the program looks: --zoom PERCENT and
// --lang ja|en.

class QCommandLineParser;
class QString;

void addDisplayOptions(QCommandLineParser& parser);
// Applies the options given. A bad value applies nothing and gives the one
// line to show the user; otherwise the result is empty.
QString applyDisplayOptions(const QCommandLineParser& parser);
