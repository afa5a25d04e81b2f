#pragma once

#include <QString>

#include <stdexcept>

// The errors of loading a firmware file. All derive from std::runtime_error,
// like every error the top-level report shows, so that the window catches
// only the two it words itself and leaves the rest to that report.
namespace Installer {

// A line breaks the record grammar. what() is the reason ("Record checksum
// error"); lineNumber() the 1-based number of the failing line.
class EHexLoadError : public std::runtime_error
{
public:
    EHexLoadError(const QString &reason, qint64 lineNumber)
        : std::runtime_error(reason.toStdString())
        , m_lineNumber(lineNumber)
    {
    }

    qint64 lineNumber() const { return m_lineNumber; }

private:
    qint64 m_lineNumber;
};

// The image carries no version tag of the Karvel 2 firmware.
class EHexCheckError : public std::runtime_error
{
public:
    EHexCheckError()
        : std::runtime_error(std::string())
    {
    }
};

// The file cannot be opened or read.
class EFileReadError : public std::runtime_error
{
public:
    explicit EFileReadError(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
};

} // namespace Installer
