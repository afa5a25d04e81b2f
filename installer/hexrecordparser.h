#pragma once

#include "installer/heximage.h"

#include <QByteArrayView>

namespace Installer {

// Reads the records of an Intel HEX file, one line at a time, into an image:
// 16-bit absolute addresses, data and end-of-file records only, data bytes
// up to HexImage::HighestDataAddress. Records may come in any order; later
// bytes overwrite earlier ones. Lines after the end-of-file record are
// ignored.
class HexRecordParser
{
public:
    // Nothing past the checksum field of a record with 255 data bytes is
    // ever looked at, so longer lines may be cut to this length.
    static constexpr qsizetype LongestRecordLine = 11 + 2 * 255;

    // Starts a load: clears the image.
    explicit HexRecordParser(HexImage &image);

    // Reads one line as a record. Throws EHexLoadError when the line breaks
    // the record grammar, EConvertError when a field is not hexadecimal or
    // lies wholly beyond the end of the line (a field cut short by the end
    // of the line is read from the digits that are there). The image keeps
    // what was stored before the failure.
    void parseLine(QByteArrayView line);

    bool endRecordSeen() const { return m_endRecordSeen; }

    // The number of the line parseLine reads next, counting from 1.
    qint64 lineNumber() const { return m_lineNumber; }

    // After the last record: sets ImageLast to the highest address stored
    // and computes ImageSum.
    void finish();

private:
    static constexpr quint32 DataRecord = 0;
    static constexpr quint32 EndOfFileRecord = 1;

    void storeData(QByteArrayView line, quint32 byteCount, quint32 address, quint32 &recordSum);
    [[noreturn]] void fail(const char *reason) const;

    HexImage &m_image;
    qint64 m_lineNumber = 1;
    bool m_endRecordSeen = false;
};

} // namespace Installer
