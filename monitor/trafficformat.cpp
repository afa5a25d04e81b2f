#include "monitor/trafficformat.h"

#include "protocol/commandcatalogue.h"
#include "protocol/replydecoder.h"
#include "serial/comm32.h"
#include "util/karvutils.h"
#include "util/plainfile.h"

#include <QDateTime>

#include <algorithm>

namespace TrafficFormat {

namespace {

using Kind = TrafficRow::Kind;

QString codeName(int code)
{
    const Protocol::CommandInfo *info = Protocol::FindCommand(quint8(code));
    if (info && !info->itemText.isEmpty())
        return QString(info->itemText);
    return QLatin1Char('$') + KarvUtils::HexText(quint8(code));
}

QString lineErrorText(quint32 errors)
{
    static const std::pair<quint32, const char *> names[] = {
        {CE_RXPARITY, "parity"}, {CE_FRAME, "framing"},          {CE_OVERRUN, "overrun"},
        {CE_BREAK, "break"},     {CE_RXOVER, "receive buffer overflow"},
    };
    QStringList found;
    for (const auto &[flag, name] : names) {
        if (errors & flag)
            found << QLatin1String(name);
    }
    return found.join(QStringLiteral(", "));
}

QString decodedText(const TrafficRow &row)
{
    Protocol::ReplyFrame reply;
    std::copy_n(row.bytes.begin(), std::min<int>(row.size, Protocol::ReplyFrame::Size), reply.bytes.begin());
    QStringList values;
    for (const Protocol::DecodedWrite &write : Protocol::DecodeReply(reply)) {
        const QString value = write.kind == Protocol::DecodedWrite::Text ? write.text : QString::number(write.value);
        values << write.control + QLatin1Char('=') + value;
    }
    return values.join(QStringLiteral(", "));
}

QString fixedPoint(qint64 whole, qint64 fraction, int digits)
{
    return QStringLiteral("%1.%2").arg(whole).arg(fraction, digits, 10, QLatin1Char('0'));
}

QByteArray csvField(const QString &text)
{
    QByteArray field = text.toUtf8();
    if (!field.contains(',') && !field.contains('"') && !field.contains('\r') && !field.contains('\n'))
        return field;
    field.replace('"', "\"\"");
    return '"' + field + '"';
}

} // namespace

QStringList headings()
{
    return {QStringLiteral("Time (ms)"), QStringLiteral("Clock"),   QStringLiteral("Dir"),
            QStringLiteral("Bytes"),     QStringLiteral("Command"), QStringLiteral("Values")};
}

QString millisText(qint64 micros)
{
    return fixedPoint(micros / 1000, micros % 1000, 3);
}

QString secondsText(qint64 micros)
{
    return fixedPoint(micros / 1'000'000, micros % 1'000'000, 6);
}

QString clockText(qint64 wallMs)
{
    return QDateTime::fromMSecsSinceEpoch(wallMs).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
}

QString directionText(Kind kind)
{
    switch (kind) {
    case Kind::Sent:
        return QStringLiteral("TX");
    case Kind::Reply:
    case Kind::Discarded:
        return QStringLiteral("RX");
    default:
        return QStringLiteral("--");
    }
}

QString bytesText(const TrafficRow &row)
{
    QStringList bytes;
    for (int i = 0; i < std::min<int>(row.size, TrafficRow::MaxBytes); ++i)
        bytes << KarvUtils::HexText(row.bytes[std::size_t(i)]);
    return bytes.join(QLatin1Char(' '));
}

QString commandText(const TrafficRow &row)
{
    switch (row.kind) {
    case Kind::Sent:
    case Kind::Reply:
        return row.code() >= 0 ? codeName(row.code()) : QString();
    case Kind::Discarded:
        return QStringLiteral("Discarded bytes");
    case Kind::TimeOut:
        return QStringLiteral("No reply within 1000 ms");
    case Kind::LineError:
        return QStringLiteral("Line error");
    case Kind::PortOpened:
        return QStringLiteral("Port opened");
    case Kind::PortClosed:
        return QStringLiteral("Port closed");
    case Kind::PortHungUp:
        return QStringLiteral("Port hung up");
    }
    return {};
}

QString valuesText(const TrafficRow &row)
{
    switch (row.kind) {
    case Kind::Reply:
        return decodedText(row);
    case Kind::LineError:
        return lineErrorText(row.lineErrors);
    default:
        return {};
    }
}

QString cell(const TrafficRow &row, Column column)
{
    switch (column) {
    case Time:
        return millisText(row.micros);
    case Clock:
        return clockText(row.wallMs);
    case Direction:
        return directionText(row.kind);
    case Bytes:
        return bytesText(row);
    case Command:
        return commandText(row);
    case Values:
        return valuesText(row);
    case ColumnCount:
        break;
    }
    return {};
}

QString toText(const QList<TrafficRow> &rows)
{
    QList<QStringList> lines{headings()};
    for (const TrafficRow &row : rows) {
        QStringList cells;
        for (int column = 0; column < ColumnCount; ++column)
            cells << cell(row, Column(column));
        lines << cells;
    }
    std::array<qsizetype, ColumnCount> widths{};
    for (const QStringList &line : lines) {
        for (int column = 0; column < ColumnCount; ++column)
            widths[column] = std::max(widths[column], line.at(column).size());
    }
    QString text;
    for (const QStringList &line : lines) {
        QString out;
        for (int column = 0; column < ColumnCount; ++column)
            out += line.at(column).leftJustified(widths[column]) + QStringLiteral("  ");
        // Empty last columns leave no blanks at the end of the line.
        while (out.endsWith(QLatin1Char(' ')))
            out.chop(1);
        text += out + QLatin1Char('\n');
    }
    return text;
}

QByteArray toCsv(const QList<TrafficRow> &rows)
{
    QStringList heading = headings();
    heading[Time] = QStringLiteral("Time (s)");
    QByteArray csv;
    const auto record = [&csv](const QStringList &fields) {
        QByteArrayList encoded;
        for (const QString &field : fields)
            encoded << csvField(field);
        csv += encoded.join(',') + "\r\n";
    };
    record(heading);
    for (const TrafficRow &row : rows) {
        QStringList fields;
        for (int column = 0; column < ColumnCount; ++column)
            fields << (column == Time ? secondsText(row.micros) : cell(row, Column(column)));
        record(fields);
    }
    return csv;
}

QByteArray encode(const QList<TrafficRow> &rows, FileFormat format)
{
    return format == FileFormat::Csv ? toCsv(rows) : toText(rows).toUtf8();
}

bool save(const QString &path, const QList<TrafficRow> &rows, FileFormat format)
{
    return PlainFile::replace(path, encode(rows, format));
}

QList<TrafficRow> rowsOf(const TrafficLog &log)
{
    QList<TrafficRow> rows;
    rows.reserve(log.size());
    for (qsizetype i = 0; i < log.size(); ++i)
        rows << log.at(i);
    return rows;
}

} // namespace TrafficFormat
