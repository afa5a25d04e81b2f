#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks of the program: to start the window, or to
// print a text and exit.
struct CommandLineResult
{
    // Nothing when the window is to start.
    std::optional<int> exitCode;
    QString standardOutput;
    QString standardError;
};

// Reads the arguments, the program name first. A normal start has none.
// -h/--help and -v/--version print to standard output and exit with 0; an
// unknown option or any other argument prints the usage to standard error
// and exits with 2.
CommandLineResult parseCommandLine(const QStringList &arguments);

// main()'s arguments as text, read before an application object exists.
QStringList argumentList(int argc, const char *const *argv);

void printCommandLineResult(const CommandLineResult &result);
