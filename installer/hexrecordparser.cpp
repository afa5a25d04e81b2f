#include "installer/hexrecordparser.h"

#include "installer/hexerrors.h"
#include "util/karvutils.h"

#include <numeric>

namespace Installer {

namespace {

// The field of the given width at 1-based position of line, read as a
// hexadecimal number from the characters that are there.
quint32 field(QByteArrayView line, qsizetype position, qsizetype width)
{
    const QByteArrayView rest = line.sliced(qMin(position - 1, line.size()));
    const QByteArrayView digits = rest.first(qMin(width, rest.size()));
    return quint32(KarvUtils::HexTextToInt(QString::fromLatin1(digits)));
}

quint32 byteField(QByteArrayView line, qsizetype position)
{
    return field(line, position, 2);
}

} // namespace

HexRecordParser::HexRecordParser(HexImage &image)
    : m_image(image)
{
    m_image.Image.fill(0);
    m_image.ImageLast = 0;
    m_image.ImageSum = 0;
    m_image.VersionText.clear();
}

void HexRecordParser::parseLine(QByteArrayView line)
{
    if (endRecordSeen())
        return;
    if (line.size() < 11)
        fail("Line too short");
    if (line.front() != ':')
        fail("Improper record format");

    const quint32 byteCount = byteField(line, 2);
    const quint32 address = field(line, 4, 4);
    const quint32 recordType = byteField(line, 8);
    const quint32 checksum = byteField(line, 10 + 2 * qsizetype(byteCount));
    quint32 recordSum = byteField(line, 4) + byteCount + byteField(line, 6) + recordType;

    if (recordType == DataRecord) {
        storeData(line, byteCount, address, recordSum);
        if ((256 - recordSum % 256) % 256 != checksum)
            fail("Record checksum error");
    } else if (recordType != EndOfFileRecord) {
        fail("Record type not supported");
    }
    // The end record's checksum is not compared, but its field must be there.
    m_endRecordSeen = recordType == EndOfFileRecord;
    ++m_lineNumber;
}

void HexRecordParser::storeData(QByteArrayView line, quint32 byteCount, quint32 address, quint32 &recordSum)
{
    for (quint32 k = 0; k < byteCount; ++k) {
        const quint32 data = byteField(line, 10 + 2 * qsizetype(k));
        // address is below 0x10000 here: the first byte of a record lies at
        // a 16-bit address, and any later one follows a byte at or below the
        // limit.
        m_image.Image[address] = quint8(data);
        recordSum += data;
        ++address;
        m_image.ImageLast = qMax(m_image.ImageLast, address);
        if (m_image.ImageLast > HexImage::HighestDataAddress + 1)
            fail("HEX file too large");
    }
}

void HexRecordParser::finish()
{
    // Wraps for an image without data, so that ImageLast + 1 is its size, 0.
    --m_image.ImageLast;
    const auto end = m_image.Image.cbegin() + (m_image.ImageLast + 1u);
    m_image.ImageSum = quint16(std::accumulate(m_image.Image.cbegin(), end, 0u));
}

void HexRecordParser::fail(const char *reason) const
{
    throw EHexLoadError(QString::fromLatin1(reason), m_lineNumber);
}

} // namespace Installer
