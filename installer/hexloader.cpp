#include "installer/hexloader.h"

#include "installer/hexerrors.h"
#include "installer/versiontag.h"

#include <QFile>

#include <array>

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

[[noreturn]] void failReading(const QFile &file)
{
    throw EFileReadError(QStringLiteral("Cannot read the file \"%1\": %2").arg(file.fileName(), file.errorString()));
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
        if (!file.open(QIODevice::ReadOnly))
            failReading(file);
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
