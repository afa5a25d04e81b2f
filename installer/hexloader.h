#pragma once

#include "installer/heximage.h"
#include "installer/hexrecordparser.h"
#include "installer/textlinesplitter.h"

#include <QByteArrayView>
#include <QString>

namespace Installer {

// Loads a HEX file's bytes, fed in chunks of any size, into an image.
class HexLoader
{
public:
    // Starts a load: clears the image.
    explicit HexLoader(HexImage &image);

    // Reads the records of every line the bytes complete. Throws what
    // HexRecordParser::parseLine throws. Bytes fed once done() holds are
    // ignored.
    void feed(QByteArrayView bytes);

    // The end-of-file record or a Ctrl-Z was read: no later byte counts.
    bool done() const;

    // At the end of the bytes: reads a last line that had no line end, then
    // completes ImageLast and ImageSum.
    void finish();

    qint64 lineNumber() const { return m_parser.lineNumber(); }

private:
    HexRecordParser m_parser;
    TextLineSplitter m_lines{HexRecordParser::LongestRecordLine};
};

// The whole load of a HEX file's contents: records, size, checksum and
// version text. Throws EHexLoadError (Image and ImageLast as far as the
// records were read), EHexCheckError (image complete but without a version
// tag) or EConvertError (a field that is not hexadecimal).
void LoadHexData(QByteArrayView bytes, HexImage &image);

// LoadHexData for the file at path, read only as far as needed. Also throws
// EFileReadError when the file cannot be opened or read, or is no regular
// file (a FIFO, a device, a folder). The file is closed again before the
// function returns or throws.
void LoadHexFile(const QString &path, HexImage &image);

} // namespace Installer
