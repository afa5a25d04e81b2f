#include "installer/hexwriter.h"

#include <QtGlobal>

namespace Installer {

namespace {

constexpr qsizetype RecordBytes = 16;

void appendRecord(QByteArray &text, quint16 address, quint8 type, QByteArrayView data)
{
    QByteArray record;
    record.append(char(data.size()));
    record.append(char(address >> 8));
    record.append(char(address));
    record.append(char(type));
    record.append(data);
    quint8 sum = 0;
    for (const char byte : std::as_const(record))
        sum += quint8(byte);
    record.append(char(quint8(-sum)));
    text += ':' + record.toHex().toUpper() + "\r\n";
}

} // namespace

QByteArray HexFileText(QByteArrayView bytes)
{
    Q_ASSERT(bytes.size() <= 0x10000);
    QByteArray text;
    for (qsizetype at = 0; at < bytes.size(); at += RecordBytes)
        appendRecord(text, quint16(at), 0x00, bytes.sliced(at, qMin(RecordBytes, bytes.size() - at)));
    appendRecord(text, 0, 0x01, {});
    return text;
}

} // namespace Installer
