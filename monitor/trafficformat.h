#pragma once

#include "monitor/trafficlog.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// How a traffic row reads: the columns the monitor shows, and the two file
// formats it saves.
namespace TrafficFormat {

enum Column { Time, Clock, Direction, Bytes, Command, Values, ColumnCount };

// The column headings, in Column order.
QStringList headings();

// Time since the port was opened in milliseconds, to the microsecond.
QString millisText(qint64 micros);
// The same in seconds with six decimals.
QString secondsText(qint64 micros);
// Local wall-clock time, to the millisecond.
QString clockText(qint64 wallMs);
QString directionText(TrafficRow::Kind kind);
// Upper-case hexadecimal bytes, one blank apart.
QString bytesText(const TrafficRow &row);
// The catalogue's name of a frame's or reply's command ("$20: Position"),
// else what the row stands for.
QString commandText(const TrafficRow &row);
// A reply's values as the panel decodes them ("StaticMPos=-5, ..."); the
// line errors of a line-error row.
QString valuesText(const TrafficRow &row);

// The text of a column, with the time in milliseconds.
QString cell(const TrafficRow &row, Column column);

// A heading line and a line per row, every column padded to its widest
// entry, lines ending in a line feed.
QString toText(const QList<TrafficRow> &rows);
// RFC 4180: a heading record, CRLF line ends, fields quoted when they hold
// a comma, a quote or a line break; the time in seconds with six decimals.
QByteArray toCsv(const QList<TrafficRow> &rows);

enum class FileFormat { Text, Csv };

QByteArray encode(const QList<TrafficRow> &rows, FileFormat format);
// Writes the rows to path in one go: the file is replaced whole or left as it
// was. False when it could not be written.
bool save(const QString &path, const QList<TrafficRow> &rows, FileFormat format);

// Every row the log keeps, oldest first.
QList<TrafficRow> rowsOf(const TrafficLog &log);

} // namespace TrafficFormat
