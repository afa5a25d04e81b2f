#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What karvctl's command line asks for, as given: defaults are filled in
// later from the panel's settings.
struct Options
{
    QString command;
    // The command's own arguments, after its name.
    QStringList arguments;
    // Every --port, comma lists split; empty when none was given.
    QStringList ports;
    std::optional<int> baud;
    std::optional<quint8> address;
    std::optional<int> watchMs;
    bool json = false;
    bool quiet = false;
    bool yes = false;
    bool temporarily = false;
    bool includeIdentity = false;
};

// The outcome of reading the arguments: options to run, or a text to print
// and an exit code (help, version, misuse).
struct ParsedCommandLine
{
    std::optional<Options> options;
    int exitCode = 0;
    QString standardOutput;
    QString standardError;
};

// Reads the arguments, the program name first. Checks the options' values
// and each command's number of arguments; what the arguments mean is the
// command's to check.
ParsedCommandLine parseOptions(const QStringList &arguments);
