#pragma once

#include <QByteArray>
#include <QString>

// Whole-file access for small files the program keeps (the settings file),
// safe against what else may stand at the path: anything but a regular file
// is neither read nor written, and a write either replaces the file whole or
// leaves it as it was.
namespace PlainFile {

enum class ReadStatus {
    Ok,
    // Nothing at the path: a file still to be made.
    Missing,
    // A symbolic link, FIFO, folder or device, a file over the size bound,
    // or a read error.
    Unusable,
};

struct ReadResult
{
    ReadStatus status = ReadStatus::Missing;
    QByteArray bytes;
};

// The bytes of path when it is a regular file of at most maxSize bytes. A
// symbolic link is not followed, and nothing else is even opened, so that
// neither a FIFO nor a device can block the caller or feel the open.
ReadResult read(const QString &path, qint64 maxSize);

// Replaces path by a regular file holding bytes: they go to a new file in the
// same folder, are synced to the disk and renamed over path, so that a
// failure at any step (a full disk included) leaves the old file whole. The
// new file keeps the old one's mode and, where permitted, its owner. Refused
// when path is anything but a regular file the caller may write or nothing.
bool replace(const QString &path, const QByteArray &bytes);

} // namespace PlainFile
