#pragma once

// Whole-file reads and writes for tests that prepare files or check what
// landed on disk.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace TestFiles {

// The file's bytes; empty when it cannot be read.
inline QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces the file's contents by data, making its folder first; true when
// every byte reached the file.
inline bool write(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(data) == data.size() && file.flush();
}

} // namespace TestFiles
