// The traffic monitor without its window: the rows the recorder takes from
// an exchange on a real pseudo-terminal, the ring's bound, the model that
// follows it, and the two file formats (the CSV read back by Python's csv
// module).

#include "../serial/ptypair.h"
#include "tests/testfiles.h"

#include "app/exchange.h"
#include "monitor/trafficformat.h"
#include "monitor/trafficlog.h"
#include "monitor/trafficmodel.h"
#include "monitor/trafficrecorder.h"
#include "serial/comm32.h"
#include "toolkit/ticks.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using Kind = TrafficRow::Kind;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

TrafficRow row(Kind kind, const QByteArray &bytes = {}, qint64 micros = 0)
{
    TrafficRow row;
    row.kind = kind;
    row.micros = micros;
    row.wallMs = 1'700'000'000'000;
    row.size = quint8(bytes.size());
    std::copy(bytes.begin(), bytes.end(), row.bytes.begin());
    return row;
}

QList<QByteArray> bytesOf(const TrafficLog &log)
{
    QList<QByteArray> bytes;
    for (qsizetype i = 0; i < log.size(); ++i)
        bytes << QByteArray(reinterpret_cast<const char *>(log.at(i).bytes.data()), log.at(i).size);
    return bytes;
}

QList<Kind> kindsOf(const TrafficLog &log)
{
    QList<Kind> kinds;
    for (qsizetype i = 0; i < log.size(); ++i)
        kinds << log.at(i).kind;
    return kinds;
}

// Every received-bytes event the component has waiting, handed to the
// exchange as the window does.
void receiveAll(TComm32 &port, Exchange &exchange)
{
    int waiting = 0;
    const QMetaObject::Connection report =
        QObject::connect(&port, &TComm32::OnRxChar, [&](QObject *, int Count) { waiting = Count; });
    port.DispatchEvents(EV_RXCHAR);
    QObject::disconnect(report);
    exchange.receive(waiting);
}

} // namespace

class TestTraffic : public QObject
{
    Q_OBJECT

private slots:
    void recordsWhatPassesTheExchange()
    {
        FakeTicks ticks(5000);
        PtyPair line;
        TComm32 port;
        port.SetDeviceName(line.SlavePath());
        port.SetSimple(true);
        port.Open();
        QVERIFY(port.IsOpen());
        Exchange exchange(port);
        TrafficLog log;
        TrafficRecorder recorder(exchange, log);
        exchange.restart();
        exchange.notePortEvent(Exchange::PortEvent::Opened);

        exchange.request(Protocol::CommandFrame::fromBytes({0x01, 0x20}));
        QCOMPARE(line.Receive(9), hex("012000000000000000"));
        line.Send(hex("00FF") + hex("2000FBFFFFFF0000") + hex("20"));
        QTRY_VERIFY((receiveAll(port, exchange), log.size() >= 5));
        exchange.noteLineErrors(CE_FRAME | CE_RXPARITY);

        // The next query gets no answer: the client's reply is given up.
        ticks.advance(100);
        exchange.request(Protocol::CommandFrame::fromBytes({0x01, 0x71}));
        QCOMPARE(line.Receive(9), hex("017100000000000000"));
        ticks.advance(1001);
        QTRY_VERIFY(!exchange.AwaitingReply());
        exchange.notePortEvent(Exchange::PortEvent::Closed);

        QCOMPARE(kindsOf(log), (QList<Kind>{Kind::PortOpened, Kind::Sent, Kind::Discarded, Kind::Reply,
                                            Kind::Discarded, Kind::LineError, Kind::Sent, Kind::TimeOut,
                                            Kind::PortClosed}));
        QCOMPARE(bytesOf(log).mid(1, 4), (QList<QByteArray>{hex("012000000000000000"), hex("00FF"),
                                                              hex("2000FBFFFFFF0000"), hex("20")}));
        QCOMPARE(TrafficFormat::commandText(log.at(3)), QStringLiteral("$20: Position"));
        QCOMPARE(TrafficFormat::valuesText(log.at(3)), QStringLiteral("StaticMPos=-5"));
        QCOMPARE(TrafficFormat::valuesText(log.at(5)), QStringLiteral("parity, framing"));
        for (qsizetype i = 1; i < log.size(); ++i)
            QVERIFY(log.at(i).micros >= log.at(i - 1).micros);
    }

    void ringKeepsTheLatestRows()
    {
        TrafficLog log(5);
        TrafficModel model(log);
        for (int i = 0; i < 3; ++i)
            log.append(row(Kind::Sent, QByteArray(1, char(i))));
        model.sync();
        QCOMPARE(model.rowCount(), 3);

        for (int i = 3; i < 12; ++i)
            log.append(row(Kind::Sent, QByteArray(1, char(i))));
        QCOMPARE(log.size(), 5);
        QCOMPARE(log.appended(), 12u);
        QCOMPARE(bytesOf(log), (QList<QByteArray>{"\x07", "\x08", "\x09", "\x0A", "\x0B"}));
        // Until the view follows, rows the ring dropped read as nothing.
        QVERIFY(!model.rowAt(0));
        model.sync();
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(model.rowAt(0)->bytes[0], 7);
        QCOMPARE(model.rowAt(4)->bytes[0], 11);

        log.clear();
        model.sync();
        QCOMPARE(model.rowCount(), 0);
        log.append(row(Kind::TimeOut));
        model.sync();
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.rowAt(0)->kind, Kind::TimeOut);
    }

    void filterByCommandAndDirection_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("rows");
        QTest::newRow("everything") << -1 << int(TrafficFilter::Direction::All) << 5;
        QTest::newRow("position, both ways") << 0x20 << int(TrafficFilter::Direction::All) << 2;
        QTest::newRow("position, sent") << 0x20 << int(TrafficFilter::Direction::Sent) << 1;
        QTest::newRow("received") << -1 << int(TrafficFilter::Direction::Received) << 2;
        QTest::newRow("events") << -1 << int(TrafficFilter::Direction::Events) << 1;
    }
    void filterByCommandAndDirection()
    {
        QFETCH(int, code);
        QFETCH(int, direction);
        QFETCH(int, rows);
        TrafficLog log;
        TrafficModel model(log);
        TrafficFilter filter(model);
        log.append(row(Kind::Sent, hex("012000000000000000")));
        log.append(row(Kind::Reply, hex("2000050000000000")));
        log.append(row(Kind::Sent, hex("017100000000000000")));
        log.append(row(Kind::Discarded, hex("00")));
        log.append(row(Kind::TimeOut));
        model.sync();
        filter.setCode(code);
        filter.setDirection(TrafficFilter::Direction(direction));
        QCOMPARE(filter.rowCount(), rows);
    }

    void textColumnsAreAligned()
    {
        const QList<TrafficRow> rows{row(Kind::PortOpened), row(Kind::Sent, hex("012000000000000000"), 1500),
                                     row(Kind::Reply, hex("2000050000000000"), 123'456'789)};
        const QStringList lines = TrafficFormat::toText(rows).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        // Each column starts where its heading does.
        const qsizetype bytesColumn = lines[0].indexOf(QStringLiteral("Bytes"));
        const qsizetype commandColumn = lines[0].indexOf(QStringLiteral("Command"));
        QCOMPARE(lines[1].mid(commandColumn), QStringLiteral("Port opened"));
        QCOMPARE(lines[2].mid(bytesColumn, 26), QStringLiteral("01 20 00 00 00 00 00 00 00"));
        QCOMPARE(lines[3].mid(commandColumn, 13), QStringLiteral("$20: Position"));
        QVERIFY(lines[2].startsWith(QStringLiteral("1.500 ")));
        QVERIFY(lines[3].startsWith(QStringLiteral("123456.789 ")));
        for (const QString &line : lines)
            QVERIFY(!line.endsWith(QLatin1Char(' ')));
    }

    void csvReadsBackWithARealReader()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
            QSKIP("python3 is not installed");
        QList<TrafficRow> rows{row(Kind::Sent, hex("011103000000000000"), 7),
                               row(Kind::Reply, hex("1100050A0F000000"), 2'000'001),
                               row(Kind::Discarded, hex("00FF"), 3'500'000)};
        TrafficRow errors = row(Kind::LineError);
        errors.lineErrors = CE_OVERRUN | CE_BREAK;
        rows << errors;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("traffic.csv"));
        QVERIFY(TrafficFormat::save(path, rows, TrafficFormat::FileFormat::Csv));
        QVERIFY(TestFiles::read(path).contains("\r\n"));

        QProcess python;
        python.start(QStringLiteral("python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import csv, json, sys\n"
                                     "with open(sys.argv[1], newline='') as f:\n"
                                     "    print(json.dumps(list(csv.reader(f, strict=True))))\n"),
                      path});
        QVERIFY(python.waitForFinished(30000));
        QCOMPARE(python.exitCode(), 0);
        const QJsonArray records = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
        QCOMPARE(records.size(), rows.size() + 1);
        QCOMPARE(records[0].toArray().first().toString(), QStringLiteral("Time (s)"));
        const QStringList times{QStringLiteral("0.000007"), QStringLiteral("2.000001"), QStringLiteral("3.500000"),
                                QStringLiteral("0.000000")};
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QJsonArray fields = records[i + 1].toArray();
            QCOMPARE(fields.size(), qsizetype(TrafficFormat::ColumnCount));
            QCOMPARE(fields[TrafficFormat::Time].toString(), times[i]);
            for (int column = TrafficFormat::Clock; column < TrafficFormat::ColumnCount; ++column)
                QCOMPARE(fields[column].toString(), TrafficFormat::cell(rows[i], TrafficFormat::Column(column)));
        }
        // Decoded values hold commas: the reader still sees one field.
        QVERIFY(records[2].toArray()[TrafficFormat::Values].toString().contains(QLatin1String(", ")));
        QCOMPARE(records[4].toArray()[TrafficFormat::Values].toString(), QStringLiteral("overrun, break"));
    }
};

QTEST_GUILESS_MAIN(TestTraffic)
#include "test_traffic.moc"
