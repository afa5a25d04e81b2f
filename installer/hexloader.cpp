#include "installer/hexloader.h"

#include "installer/hexerrors.h"
#include "installer/versiontag.h"

#include <QFile>

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Installer {

HexLoader::HexLoader(HexImage &image)
    : m_parser(image)
{
}

void HexLoader::feed(QByteArrayView bytes)
{
    while (!done()) {
        const auto line = m_lines.nextLine(bytes);
        if (!line)
            return;
        m_parser.parseLine(*line);
    }
}

bool HexLoader::done() const
{
    return m_parser.endRecordSeen() || m_lines.textEnded();
}

void HexLoader::finish()
{
    if (!done()) {
        if (const auto line = m_lines.lastLine())
            m_parser.parseLine(*line);
    }
    m_parser.finish();
}

namespace {

void completeLoad(HexLoader &loader, HexImage &image)
{
    loader.finish();
    image.VersionText = FindVersionText(image.Image);
}

[[noreturn]] void failReading(const QString &path, const QString &reason)
{
    throw EFileReadError(QStringLiteral("Cannot read the file \"%1\": %2").arg(path, reason));
}

[[noreturn]] void failReading(const QFile &file)
{
    failReading(file.fileName(), file.errorString());
}

// Opens path for reading only when it is a regular file: a FIFO would hold
// the window until some writer came, a serial device would feel the open
// (its modem lines rise) and then never end.
void openRegularFile(QFile &file)
{
    const QByteArray native = QFile::encodeName(file.fileName());
    const auto notRegular = [&file] { failReading(file.fileName(), QStringLiteral("not a regular file")); };
    struct stat info {};
    if (::stat(native.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        notRegular();
    // Checked again on the open file: the path may have changed meanwhile.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        failReading(file.fileName(), qt_error_string(errno));
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        notRegular();
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        failReading(file);
    }
}

} // namespace

void LoadHexData(QByteArrayView bytes, HexImage &image)
{
    HexLoader loader(image);
    loader.feed(bytes);
    completeLoad(loader, image);
}

void LoadHexFile(const QString &path, HexImage &image)
{
    HexLoader loader(image);
    {
        QFile file(path);
        openRegularFile(file);
        std::array<char, 16 * 1024> chunk;
        while (!loader.done()) {
            const qint64 count = file.read(chunk.data(), qint64(chunk.size()));
            if (count < 0)
                failReading(file);
            if (count == 0)
                break;
            loader.feed(QByteArrayView(chunk.data(), count));
        }
    }
    completeLoad(loader, image);
}

} // namespace Installer
