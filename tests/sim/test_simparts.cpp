// The simulated unit's parts that need no pseudo-terminal.

#include "sim/commandline.h"
#include "sim/framereader.h"
#include "sim/lineschedule.h"
#include "sim/motionmodel.h"
#include "sim/replywriter.h"

#include "sim/supplydrift.h"

#include <QTest>

#include <set>

#include <stdexcept>

using namespace karvsim;
using namespace std::chrono_literals;

namespace {

using TimePoint = std::chrono::steady_clock::time_point;
const TimePoint kStart{std::chrono::hours(1)};
const ReplyFrame kReply{0x52, 0x00, 0xE8, 0x03, 0xF4, 0x01, 0xD0, 0x07};

template <typename Bytes>
QByteArray hex(const Bytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())).toHex(' ');
}

// Output pieces as "offset in µs: bytes".
QStringList drain(ReplyWriter &writer)
{
    QStringList pieces;
    while (const auto due = writer.nextDue()) {
        const auto bytes = writer.due(*due);
        pieces << QStringLiteral("%1: %2").arg((*due - kStart) / 1us).arg(QString::fromLatin1(hex(bytes)));
        writer.consume(bytes.size());
    }
    return pieces;
}

const MotionProfile kProfile{1000, 2000, 500};

} // namespace

Q_DECLARE_METATYPE(karvsim::LineFaults)

class TestSimParts : public QObject
{
    Q_OBJECT

private slots:
    void frameReaderResynchronisesOnSilence_data()
    {
        QTest::addColumn<QStringList>("chunks"); // "ms:hex"
        QTest::addColumn<QStringList>("frames");
        const QString frame = "012000000000000000";
        QTest::newRow("whole frame") << QStringList{"0:" + frame} << QStringList{frame};
        QTest::newRow("split within the gap") << QStringList{"0:01200000", "50:0000000000"}
                                              << QStringList{frame};
        QTest::newRow("partial dropped after a silence")
            << QStringList{"0:aabbccdd", "51:" + frame} << QStringList{frame};
        QTest::newRow("two frames in one read") << QStringList{"0:" + frame + frame}
                                                << QStringList{frame, frame};
        QTest::newRow("silence after a whole frame")
            << QStringList{"0:" + frame, "5000:" + frame} << QStringList{frame, frame};
        QTest::newRow("stray byte shifts the frame") << QStringList{"0:ff" + frame}
                                                     << QStringList{"ff0120000000000000"};
    }
    void frameReaderResynchronisesOnSilence()
    {
        QFETCH(QStringList, chunks);
        QFETCH(QStringList, frames);
        FrameReader reader(50ms);
        QStringList got;
        for (const QString &chunk : chunks) {
            const auto time = kStart + std::chrono::milliseconds(chunk.section(':', 0, 0).toInt());
            for (const char byte : QByteArray::fromHex(chunk.section(':', 1).toLatin1())) {
                if (const auto frame = reader.push(std::uint8_t(byte), time))
                    got << QString::fromLatin1(hex(*frame)).remove(' ');
            }
        }
        QCOMPARE(got, frames);
    }

    void replyWriterSchedulesTheFaults_data()
    {
        QTest::addColumn<LineFaults>("faults");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("clean") << LineFaults{} << QStringList{"0: 52 00 e8 03 f4 01 d0 07"};
        LineFaults late;
        late.replyDelay = 100ms;
        QTest::newRow("late") << late << QStringList{"100000: 52 00 e8 03 f4 01 d0 07"};
        LineFaults chunks;
        chunks.chunkSize = 3;
        chunks.chunkPause = 10ms;
        QTest::newRow("chunks") << chunks
                                << QStringList{"0: 52 00 e8", "10000: 03 f4 01", "20000: d0 07"};
        LineFaults paced;
        paced.byteTiming = true; // 1 ms a byte at 10000 baud
        QTest::newRow("byte time") << paced
                                   << QStringList{"1000: 52", "2000: 00", "3000: e8", "4000: 03",
                                                  "5000: f4", "6000: 01", "7000: d0", "8000: 07"};
        LineFaults spoilt;
        spoilt.leadingBytes = {0xAA};
        spoilt.droppedByte = 0;
        spoilt.trailingBytes = {0xBB};
        spoilt.chunkSize = 4;
        spoilt.chunkPause = 5ms;
        QTest::newRow("stray, lost and chunked")
            << spoilt << QStringList{"0: aa 00 e8 03", "5000: f4 01 d0 07", "10000: bb"};
        LineFaults silent;
        silent.silent = true;
        QTest::newRow("silent") << silent << QStringList{};
    }
    void replyWriterSchedulesTheFaults()
    {
        QFETCH(LineFaults, faults);
        QFETCH(QStringList, pieces);
        ReplyWriter writer;
        QCOMPARE(writer.enqueue(kReply, faults, 10000, kStart), !faults.silent);
        QCOMPARE(drain(writer), pieces);
    }

    void repliesFollowEachOtherOnTheLine()
    {
        ReplyWriter writer;
        LineFaults paced;
        paced.byteTiming = true;
        paced.chunkSize = 8;
        QVERIFY(writer.enqueue(kReply, paced, 10000, kStart));
        QVERIFY(writer.enqueue(kReply, LineFaults{}, 10000, kStart + 1ms));
        const QStringList pieces = drain(writer);
        QCOMPARE(pieces.size(), 9);
        QCOMPARE(pieces.last(), QStringLiteral("8000: 52 00 e8 03 f4 01 d0 07"));
    }

    void replyEndsWithItsLastByte()
    {
        ReplyWriter writer;
        QVERIFY(writer.enqueue(kReply, LineFaults{}, 19200, kStart));
        QVERIFY(writer.due(kStart - 1ms).empty());
        QVERIFY(!writer.consume(3)); // a short write
        QCOMPARE(hex(writer.due(kStart)), QByteArray("03 f4 01 d0 07"));
        QVERIFY(writer.consume(5));
        QVERIFY(!writer.nextDue());
    }

    void unreadOutputIsBounded()
    {
        ReplyWriter writer;
        int queued = 0;
        while (queued < 10000 && writer.enqueue(kReply, LineFaults{}, 19200, kStart))
            ++queued;
        QCOMPARE(queued, 512);
        writer.consume(8);
        QVERIFY(writer.enqueue(kReply, LineFaults{}, 19200, kStart));
    }

    // Bytes ready by `ready` ("µs@baud") complete at `done` (µs).
    void lineScheduleRunsOnAbsoluteDeadlines_data()
    {
        QTest::addColumn<QStringList>("ready");
        QTest::addColumn<QList<int>>("done");
        QTest::newRow("one write") << QStringList{"0@10000", "0@10000", "0@10000"}
                                   << QList<int>{1000, 2000, 3000};
        QTest::newRow("late read while the line is busy")
            << QStringList{"0@10000", "0@10000", "1900@10000"} << QList<int>{1000, 2000, 3000};
        QTest::newRow("idle line starts afresh") << QStringList{"0@10000", "5000@10000"}
                                                 << QList<int>{1000, 6000};
        QTest::newRow("new rate waits for the line") << QStringList{"0@10000", "0@5000"}
                                                     << QList<int>{1000, 3000};
        QTest::newRow("no byte time") << QStringList{"0@0", "0@0", "700@0"} << QList<int>{0, 0, 700};
    }
    void lineScheduleRunsOnAbsoluteDeadlines()
    {
        QFETCH(QStringList, ready);
        QFETCH(QList<int>, done);
        LineSchedule line;
        QList<int> got;
        for (const QString &r : ready) {
            const auto at = kStart + std::chrono::microseconds(r.section('@', 0, 0).toInt());
            got << int((line.next(at, r.section('@', 1).toInt()) - kStart) / 1us);
        }
        QCOMPARE(got, done);
    }

    // 96000 bytes at 9600 baud take exactly 100 s, however late each reply was
    // queued while the line was still busy: no rounding adds up from byte to byte.
    void pacedRepliesDoNotDrift()
    {
        ReplyWriter writer;
        LineFaults paced;
        paced.byteTiming = true;
        const std::uint8_t reply[] = {0x12, 0x34, 0x0D};
        TimePoint first{};
        TimePoint last{};
        for (int i = 0; i < 32000; ++i) {
            QVERIFY(writer.enqueue(reply, paced, 9600, kStart + i * 3ms));
            while (const auto due = writer.nextDue()) {
                first = first == TimePoint{} ? *due : first;
                last = *due;
                writer.consume(writer.due(*due).size());
            }
        }
        QCOMPARE((first - kStart).count(), 1'041'666);
        QCOMPARE((last - kStart).count(), std::chrono::nanoseconds(100s).count());
    }

    void rampBrakesIntoTheTarget()
    {
        MotionModel motion(1'000'000);
        motion.advanceTo(0ms, kProfile);
        motion.rampTo(1000);
        motion.advanceTo(1500ms, kProfile);
        QCOMPARE(motion.acceleration(), -1000);
        QVERIFY(std::abs(motion.velocity() - 500) <= 2);
        QVERIFY(std::abs(motion.position() - 875) <= 2);
        motion.advanceTo(2100ms, kProfile);
        QCOMPARE(motion.position(), 1000);
        QCOMPARE(motion.velocity(), 0);
    }

    void rampWithoutAccelerationJumpsToSpeed()
    {
        MotionModel motion(1'000'000);
        const MotionProfile instant{0, 1000, 0};
        motion.advanceTo(0ms, instant);
        motion.rampTo(-100);
        motion.advanceTo(50ms, instant);
        QCOMPARE(motion.position(), -50);
        QCOMPARE(motion.velocity(), -1000);
        QCOMPARE(motion.acceleration(), 0);
        motion.advanceTo(200ms, instant);
        QCOMPARE(motion.position(), -100);
        QCOMPARE(motion.velocity(), 0);
    }

    void newTargetTurnsTheRampAround()
    {
        MotionModel motion(1'000'000);
        motion.advanceTo(0ms, kProfile);
        motion.rampTo(1000);
        motion.advanceTo(500ms, kProfile);
        motion.rampTo(-1000);
        motion.advanceTo(10s, kProfile);
        QCOMPARE(motion.position(), -1000);
        QCOMPARE(motion.encoderCount(), -1000);
    }

    void longRotationIsJumpedExactly()
    {
        MotionModel motion(1'000'000);
        motion.advanceTo(0ms, kProfile);
        motion.rotate(1000);
        motion.advanceTo(100s, kProfile); // 1 s ramp (500 steps), then 99 s cruise
        QCOMPARE(motion.position(), 99500);
        QCOMPARE(motion.acceleration(), 0);
    }

    void stuckRampWithoutVelocityStaysPut()
    {
        MotionModel motion(1'000'000);
        const MotionProfile stopped{1000, 0, 0};
        motion.advanceTo(0ms, stopped);
        motion.rampTo(1000);
        motion.advanceTo(3600s, stopped);
        QCOMPARE(motion.position(), 0);
        motion.softStop();
        motion.advanceTo(3601s, stopped);
        motion.searchReference(); // already on the switch: done at once
        QVERIFY(!motion.searchingReference());
    }

    void resetClearsThePositionButNotTheEncoder()
    {
        MotionModel motion(1'000'000);
        motion.advanceTo(0ms, kProfile);
        motion.rampTo(300);
        motion.advanceTo(5s, kProfile);
        motion.reset();
        QCOMPARE(motion.position(), 0);
        QCOMPARE(motion.encoderCount(), 300);
    }

    void commandLineReadsOptions()
    {
        const std::vector<std::string_view> args{
            "--link", "/tmp/k", "--address=7f", "--baud", "9600", "--silent", "--delay", "250",
            "--chunks", "3:20", "--leading", "00ff", "--trailing=AA", "--drop", "7", "--byte-time",
            "--in-boot-loader", "--boot-entry-delay", "40", "--device-type", "6202", "--page-size", "128",
            "--page-size-trailer", "4a554e4b0d", "--unanswered", "5", "--late", "7:300",
            "--corrupt-read", "1FF", "--dump", "/tmp/d", "--steady-supply"};
        const CommandLine line = parseCommandLine(args);
        QCOMPARE(line.link, std::string("/tmp/k"));
        QCOMPARE(line.unit.address, 0x7F);
        QCOMPARE(line.unit.baudRate, 9600);
        QVERIFY(line.faults.silent && line.faults.byteTiming && !line.help);
        QCOMPARE(line.faults.replyDelay, 250ms);
        QCOMPARE(line.faults.chunkSize, std::size_t(3));
        QCOMPARE(line.faults.chunkPause, 20ms);
        QCOMPARE(line.faults.leadingBytes, (std::vector<std::uint8_t>{0x00, 0xFF}));
        QCOMPARE(line.faults.trailingBytes, std::vector<std::uint8_t>{0xAA});
        QCOMPARE(line.faults.droppedByte, std::optional<std::size_t>(7));
        QVERIFY(line.unit.inBootLoader);
        QCOMPARE(line.unit.bootEntryDelay, 40ms);
        QCOMPARE(line.unit.deviceType, (std::array<std::uint8_t, 2>{0x62, 0x02}));
        QCOMPARE(line.unit.pageSize, std::size_t(128));
        QCOMPARE(line.bootFaults.pageSizeTrailer, std::string("JUNK\r"));
        QCOMPARE(line.bootFaults.unansweredRequest, std::optional<std::size_t>(5));
        QCOMPARE(line.bootFaults.lateRequest, std::optional<std::size_t>(7));
        QCOMPARE(line.bootFaults.lateBy, 300ms);
        QCOMPARE(line.bootFaults.corruptedByte, std::optional<std::uint16_t>(0x1FF));
        QCOMPARE(line.dumpDirectory, std::string("/tmp/d"));
        QVERIFY(!line.unit.supplyDrift);
        QCOMPARE(parseCommandLine(std::vector<std::string_view>{"--late", "2"}).bootFaults.lateBy,
                 5100ms);

        const CommandLine plain = parseCommandLine({});
        QCOMPARE(plain.unit.address, 0x01);
        QCOMPARE(plain.unit.baudRate, 19200);
        QVERIFY(plain.link.empty() && !plain.faults.silent);
        QVERIFY(!plain.unit.inBootLoader && plain.dumpDirectory.empty());
        QCOMPARE(plain.unit.deviceType, (std::array<std::uint8_t, 2>{'K', 'V'}));
        QCOMPARE(plain.unit.pageSize, std::size_t(256));
        QCOMPARE(plain.unit.bootEntryDelay, 300ms);
        QVERIFY(plain.unit.supplyDrift);
    }

    // A little, and it does move: over ten minutes the voltage stays within
    // 0.3 V and the temperature within 2 degrees of what was set, and both
    // take several values.
    void supplyDriftsALittle()
    {
        const Supply base{240, 35};
        QCOMPARE(driftedSupply(base, 0s).voltage, base.voltage);
        std::set<int> voltages;
        std::set<int> temperatures;
        for (auto t = 0ms; t < 600s; t += 500ms) {
            const Supply now = driftedSupply(base, t);
            QVERIFY(std::abs(now.voltage - base.voltage) <= 3);
            QVERIFY(std::abs(now.temperature - base.temperature) <= 2);
            voltages.insert(now.voltage);
            temperatures.insert(now.temperature);
        }
        QVERIFY(voltages.size() >= 5);
        QVERIFY(temperatures.size() >= 3);
        // At the bottom of the range it stops at 0 instead of wrapping round.
        for (auto t = 0ms; t < 30s; t += 500ms)
            QVERIFY(driftedSupply({0, 0}, t).voltage <= 3);
    }

    void commandLineRejectsNonsense_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");
        QTest::newRow("address too big") << QStringList{"--address", "100"} << "--address";
        QTest::newRow("odd baud rate") << QStringList{"--baud", "12345"} << "--baud";
        QTest::newRow("chunks without pause") << QStringList{"--chunks", "3"} << "--chunks";
        QTest::newRow("half a byte") << QStringList{"--leading", "0"} << "--leading";
        QTest::newRow("byte beyond the reply") << QStringList{"--drop", "8"} << "--drop";
        QTest::newRow("three type bytes") << QStringList{"--device-type", "4b5600"} << "--device-type";
        QTest::newRow("odd page size") << QStringList{"--page-size", "255"} << "--page-size";
        QTest::newRow("page size 0") << QStringList{"--page-size", "0"} << "--page-size";
        QTest::newRow("page size too big") << QStringList{"--page-size", "8192"} << "--page-size";
        QTest::newRow("request 0") << QStringList{"--unanswered", "0"} << "--unanswered";
        QTest::newRow("negative boot-entry delay") << QStringList{"--boot-entry-delay", "-1"}
                                                   << "--boot-entry-delay";
        QTest::newRow("late without number") << QStringList{"--late", ":300"} << "--late";
        QTest::newRow("address beyond the flash") << QStringList{"--corrupt-read", "10000"}
                                                  << "--corrupt-read";
        QTest::newRow("missing value") << QStringList{"--link"} << "--link";
        QTest::newRow("value for a switch") << QStringList{"--silent=1"} << "--silent";
        QTest::newRow("unknown") << QStringList{"--bogus"} << "--bogus";
    }
    void commandLineRejectsNonsense()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        std::vector<std::string> storage;
        for (const QString &a : args)
            storage.push_back(a.toStdString());
        const std::vector<std::string_view> views(storage.begin(), storage.end());
        try {
            parseCommandLine(views);
            QFAIL("accepted");
        } catch (const std::invalid_argument &e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(named), e.what());
        }
    }
};

QTEST_GUILESS_MAIN(TestSimParts)
#include "test_simparts.moc"
