#pragma once

#include "config/configuration.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The configuration file: UTF-8 text of sections, one per command and named
// by its radio item ("[$11: Current Control]"), holding one "name=value" line
// per field as the panel shows it and the command's parameter bytes
// ("Bytes=14 50 64 00 00 00"), after a [Unit] section saying where they came
// from. Lines starting with "#" or ";" and blank lines are comments, kept
// when a file is rewritten.
namespace ConfigFile {

// The version of the format this panel writes; a file of a later one may
// carry what this panel cannot check.
inline constexpr int kFormat = 1;
// Far above any configuration; bounds what a stray file can make us read.
inline constexpr qint64 kMaxFileSize = 256 * 1024;

struct Problem
{
    int line; // counted from 1; 0 for the file as a whole
    QString why;
};

struct Loaded
{
    Configuration configuration;
    // Empty when the whole file is good; then configuration holds it.
    QList<Problem> problems;
    // The text read, for rewriting it with its comments.
    QByteArray text;
};

// Checks the whole text: nothing of a file with any problem is to be used.
Loaded parse(const QByteArray &text);
Loaded load(const QString &path);

// The file for configuration; given the text of an earlier file, that text
// with its values replaced and its comments and blank lines kept.
QByteArray render(const Configuration &configuration, const QByteArray &previous = {});
// Replaces path whole or leaves it as it was.
bool save(const QString &path, const Configuration &configuration, const QByteArray &previous = {});

// "line 12: ..." for each problem, one a line.
QString problemText(const QList<Problem> &problems);

} // namespace ConfigFile
