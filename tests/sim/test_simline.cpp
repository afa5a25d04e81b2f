// The simulated unit seen from the panel's end of the pseudo-terminal.

#include "serialline.h"
#include "sim/baudrate.h"
#include "sim/simulatedunit.h"

#include "protocol/factorydefault.h"

#include <poll.h>

#include <numeric>
#include <stdexcept>

#include <QTest>

using namespace karvsim;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(karvsim::LineFaults)

namespace {

QByteArray hex(const Bytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())).toHex(' ');
}

Bytes fromHex(const QByteArray &text)
{
    const QByteArray raw = QByteArray::fromHex(text);
    return Bytes(raw.begin(), raw.end());
}

// `count` bytes of `value`, least significant first.
Bytes le(qint64 value, int count)
{
    Bytes bytes;
    for (int i = 0; i < count; ++i, value >>= 8)
        bytes.push_back(std::uint8_t(value & 0xFF));
    return bytes;
}

// The reply total once the replies already read have been counted: the
// unit counts a reply after its last byte has been written.
std::size_t repliesCounted(const SimulatedUnit &unit, std::size_t read)
{
    unit.waitForReplies(read, 2s);
    return unit.repliesSent();
}

// Sends a command that awaits no reply and, once the unit has it, lets
// `later` pass on the unit's clock.
void sendThenAdvance(SimulatedUnit &unit, SerialLine &line, const CommandFrame &frame,
                     std::chrono::nanoseconds later)
{
    const std::size_t before = unit.framesReceived();
    line.write(bytesOf(frame));
    if (!unit.waitForFrames(before + 1, 2s))
        throw std::runtime_error("the unit did not receive the frame");
    unit.advanceClock(later);
}

Bytes bootEntry(std::uint8_t address)
{
    Bytes frame{address, 0xF2, 0x3B, 0x6E, 0x19, 0xC4, 0x57, 0xA2};
    frame.push_back(std::uint8_t(std::accumulate(frame.begin(), frame.end(), 0)));
    return frame;
}

SimulatedUnit::Options inBootLoader()
{
    SimulatedUnit::Options options;
    options.inBootLoader = true;
    return options;
}

SimulatedUnit::Options manualClock()
{
    SimulatedUnit::Options options;
    options.manualClock = true;
    return options;
}

} // namespace

class TestSimLine : public QObject
{
    Q_OBJECT

private slots:
    void parameterKeepsStoredAndActual_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::newRow("$10 current limit") << 0x10 << QByteArray("02") << QByteArray("01");
        QTest::newRow("$11 currents") << 0x11 << QByteArray("0a1432") << QByteArray("ff0001");
        QTest::newRow("$14 AMax/VMax") << 0x14 << QByteArray("ff1f0100") << QByteArray("0100ff1f");
        QTest::newRow("$15 steps") << 0x15 << QByteArray("ffffff00") << QByteArray("01020304");
        QTest::newRow("$17 microstepping") << 0x17 << QByteArray("43fb000001") << QByteArray("0081");
        QTest::newRow("$54 switch mode") << 0x54 << QByteArray("000101010001") << QByteArray("0001");
        QTest::newRow("$6B PID coefficients") << 0x6B << QByteArray("c807640f3203") << QByteArray("01");
        QTest::newRow("$70 encoder") << 0x70 << QByteArray("0507e803ff") << QByteArray("7f");
        QTest::newRow("$C1 serial link") << 0xC1 << QByteArray("05011f0a") << QByteArray("06");
    }
    void parameterKeepsStoredAndActual()
    {
        QFETCH(int, code);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        const auto reply = [&](const QByteArray &p) {
            Bytes expected{std::uint8_t(code), 0};
            const Bytes values = fromHex(p);
            expected.insert(expected.end(), values.begin(), values.end());
            expected.resize(kReplyFrameSize);
            return hex(expected);
        };
        SimulatedUnit unit;
        SerialLine line(unit.devicePath());
        const auto c = std::uint8_t(code);

        line.write(bytesOf(command(c, 0x00, fromHex(first))));
        QCOMPARE(hex(line.ask(command(c, 0x02))), reply(first));
        QCOMPARE(hex(line.ask(command(c, 0x03))), reply(first));

        line.write(bytesOf(command(c, 0x01, fromHex(second))));
        QCOMPARE(hex(line.ask(command(c, 0x02))), reply(first));
        QCOMPARE(hex(line.ask(command(c, 0x03))), reply(second));
        QCOMPARE(repliesCounted(unit, 4), 4u);
    }

    void commandsWithoutModifierApplyWhateverP0Says_data()
    {
        QTest::addColumn<int>("code");
        QTest::newRow("$50 step/direction") << 0x50;
        QTest::newRow("$C0 CAN baud") << 0xC0;
        QTest::newRow("$6F PID enable") << 0x6F;
    }
    void commandsWithoutModifierApplyWhateverP0Says()
    {
        QFETCH(int, code);
        SimulatedUnit unit;
        SerialLine line(unit.devicePath());
        line.write(bytesOf(command(std::uint8_t(code), 0x02, {0x04})));
        QVERIFY(unit.waitForFrames(1, 2s));
        QCOMPARE(unit.parameter(std::uint8_t(code), Bank::Stored)[0], 0x04);
        QCOMPARE(unit.parameter(std::uint8_t(code), Bank::Actual)[0], 0x04);
    }

    // The unit answers in order, so a command that wrongly answered would
    // show up before the reply to the query that follows it.
    void commandsThatAwaitNoReplyGetNone_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("set and store") << QByteArray("011100010203000000");
        QTest::newRow("set temporarily") << QByteArray("011101010203000000");
        QTest::newRow("unknown modifier") << QByteArray("011104000000000000");
        QTest::newRow("$50 read modifier") << QByteArray("015003000000000000");
        QTest::newRow("$22 reference search") << QByteArray("012200000000000000");
        QTest::newRow("$23 ramp") << QByteArray("012300e80300000000");
        QTest::newRow("$25 rotation") << QByteArray("012500feff00000000");
        QTest::newRow("$2A soft stop") << QByteArray("012a00000000000000");
        QTest::newRow("$2B emergency stop") << QByteArray("012b00000000000000");
        QTest::newRow("$27 reset position") << QByteArray("012700e80300000000");
        QTest::newRow("$CC hardware reset") << QByteArray("01cc00000000000000");
        QTest::newRow("$DD factory default") << QByteArray("01dd004b3200000000");
        QTest::newRow("unknown code") << QByteArray("019900000000000000");
    }
    void commandsThatAwaitNoReplyGetNone()
    {
        QFETCH(QByteArray, frame);
        SimulatedUnit unit;
        SerialLine line(unit.devicePath());
        line.write(fromHex(frame));
        QCOMPARE(line.ask(command(0x20)).at(0), 0x20);
        QCOMPARE(repliesCounted(unit, 1), 1u);
    }

    void queriesAnswerInTheirLayouts_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("$20 position") << 0x20 << QByteArray("20 00 00 00 00 00 00 00");
        QTest::newRow("$52 acc/vref/vmax") << 0x52 << QByteArray("52 00 e8 03 f4 01 d0 07");
        QTest::newRow("$21 actual motion") << 0x21 << QByteArray("21 00 00 00 00 00 00 00");
        QTest::newRow("$53 currents") << 0x53 << QByteArray("53 00 14 50 64 00 00 00");
        QTest::newRow("$71 encoder") << 0x71 << QByteArray("71 00 00 00 00 00 00 00");
        QTest::newRow("$30 on the reference switch") << 0x30 << QByteArray("30 00 00 00 01 00 00 00");
        QTest::newRow("$43 revision after power-up") << 0x43 << QByteArray("43 7b 01 00 67 12 00 00");
        QTest::newRow("$44 supply") << 0x44 << QByteArray("44 00 f0 00 23 00 00 00");
        QTest::newRow("$74 no alarm") << 0x74 << QByteArray("74 00 00 00 00 00 00 00");
        QTest::newRow("$81") << 0x81 << QByteArray("81 00 00 00 00 00 00 00");
        QTest::newRow("$C1 at its own address and speed") << -1 << QByteArray("c1 00 04 01 00 00 00 00");
    }
    void queriesAnswerInTheirLayouts()
    {
        QFETCH(int, code);
        QFETCH(QByteArray, reply);
        SimulatedUnit unit;
        SerialLine line(unit.devicePath());
        const CommandFrame query = code < 0 ? command(0xC1, 0x03) : command(std::uint8_t(code));
        QCOMPARE(hex(line.ask(query)), reply);
    }

    void queriesFollowTheWorkingParameters()
    {
        SimulatedUnit unit;
        SerialLine line(unit.devicePath());
        line.write(bytesOf(command(0x11, 0x01, {1, 2, 3})));
        QCOMPARE(hex(line.ask(command(0x53))), QByteArray("53 00 01 02 03 00 00 00"));
        line.write(bytesOf(command(0x14, 0x01, {0x34, 0x12, 0x78, 0x56})));
        line.write(bytesOf(command(0x16, 0x01, {0xBC, 0x0A})));
        QCOMPARE(hex(line.ask(command(0x52))), QByteArray("52 00 34 12 bc 0a 78 56"));
    }

    void positionIsA24BitRegister_data()
    {
        QTest::addColumn<qint64>("position");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("1000") << qint64(1000) << QByteArray("20 00 e8 03 00 00 00 00");
        QTest::newRow("-1") << qint64(-1) << QByteArray("20 00 ff ff ff ff 00 00");
        QTest::newRow("2^23-1") << qint64(8388607) << QByteArray("20 00 ff ff 7f 00 00 00");
        QTest::newRow("-2^23") << qint64(-8388608) << QByteArray("20 00 00 00 80 ff 00 00");
        QTest::newRow("2^24-1 reads as -1") << qint64(16777215) << QByteArray("20 00 ff ff ff ff 00 00");
        QTest::newRow("2^23 wraps") << qint64(8388608) << QByteArray("20 00 00 00 80 ff 00 00");
    }
    void positionIsA24BitRegister()
    {
        QFETCH(qint64, position);
        QFETCH(QByteArray, reply);
        SimulatedUnit unit;
        SerialLine line(unit.devicePath());
        line.write(bytesOf(command(0x27, 0, le(position, 4))));
        QCOMPARE(hex(line.ask(command(0x20))), reply);
        // Setting the position register leaves the encoder alone.
        QCOMPARE(hex(line.ask(command(0x71))), QByteArray("71 00 00 00 00 00 00 00"));
    }

    void alarmResetReportsThenClears()
    {
        SimulatedUnit unit;
        SerialLine line(unit.devicePath());
        for (Alarm a : {Alarm::DriverError, Alarm::TravelCheckError, Alarm::PositionError,
                        Alarm::Undervoltage, Alarm::Overtemperature})
            unit.raiseAlarm(a);
        QCOMPARE(hex(line.ask(command(0x74))), QByteArray("74 00 01 00 00 01 01 03"));
        QCOMPARE(hex(line.ask(command(0x74))), QByteArray("74 00 00 00 00 00 00 00"));
        unit.raiseAlarm(Alarm::DeviationError);
        unit.raiseAlarm(Alarm::ExternalAlarm);
        unit.setSupply({118, 71});
        QCOMPARE(hex(line.ask(command(0x74))), QByteArray("74 00 00 01 01 00 00 00"));
        QCOMPARE(hex(line.ask(command(0x44))), QByteArray("44 00 76 00 47 00 00 00"));
    }

    void resetFlagIsReportedOncePerReset()
    {
        SimulatedUnit unit;
        SerialLine line(unit.devicePath());
        QCOMPARE(line.ask(command(0x43)).at(2), 1);
        QCOMPARE(line.ask(command(0x43)).at(2), 0);
        line.write(bytesOf(command(0xCC)));
        QCOMPARE(line.ask(command(0x43)).at(2), 1);
    }

    void rampToPositionFollowsTheRampSettings()
    {
        SimulatedUnit unit(manualClock());
        SerialLine line(unit.devicePath());
        sendThenAdvance(unit, line, command(0x23, 0, le(1000, 4)), 500ms); // AMax 1000: 500 steps/s, 125 steps
        QCOMPARE(hex(line.ask(command(0x21))), QByteArray("21 00 f4 01 e8 03 00 00"));
        QCOMPARE(hex(line.ask(command(0x20))), QByteArray("20 00 7d 00 00 00 00 00"));
        unit.advanceClock(10s);
        QCOMPARE(hex(line.ask(command(0x20))), QByteArray("20 00 e8 03 00 00 00 00"));
        QCOMPARE(hex(line.ask(command(0x71))), QByteArray("71 00 e8 03 00 00 00 00"));
        QCOMPARE(hex(line.ask(command(0x21))), QByteArray("21 00 00 00 00 00 00 00"));
    }

    void rotationAndStops()
    {
        SimulatedUnit unit(manualClock());
        SerialLine line(unit.devicePath());
        // 0.1 s to reach -100 steps/s (5 steps), then 90 steps
        sendThenAdvance(unit, line, command(0x25, 0, le(-100, 2)), 1s);
        QCOMPARE(hex(line.ask(command(0x21))), QByteArray("21 00 9c 3f 00 00 00 00"));
        QCOMPARE(hex(line.ask(command(0x20))), QByteArray("20 00 a1 ff ff ff 00 00"));

        sendThenAdvance(unit, line, command(0x2A), 50ms);
        QCOMPARE(hex(line.ask(command(0x21))), QByteArray("21 00 ce 3f e8 03 00 00"));
        unit.advanceClock(1s);
        QCOMPARE(hex(line.ask(command(0x21))), QByteArray("21 00 00 00 00 00 00 00"));

        sendThenAdvance(unit, line, command(0x25, 0, le(2000, 2)), 1s);
        line.write(bytesOf(command(0x2B)));
        QCOMPARE(hex(line.ask(command(0x21))), QByteArray("21 00 00 00 00 00 00 00"));
    }

    void referenceSearchEndsAtZeroOnTheSwitch()
    {
        SimulatedUnit unit(manualClock());
        SerialLine line(unit.devicePath());
        sendThenAdvance(unit, line, command(0x23, 0, le(-300, 4)), 10s);
        line.write(bytesOf(command(0x27, 0, le(5000, 4))));
        QCOMPARE(hex(line.ask(command(0x30))), QByteArray("30 00 00 00 00 00 00 00"));
        sendThenAdvance(unit, line, command(0x22), 100ms);
        QCOMPARE(line.ask(command(0x21)).at(6), 1);
        unit.advanceClock(10s);
        QCOMPARE(hex(line.ask(command(0x21))), QByteArray("21 00 00 00 00 00 00 00"));
        QCOMPARE(hex(line.ask(command(0x20))), QByteArray("20 00 00 00 00 00 00 00"));
        QCOMPARE(hex(line.ask(command(0x71))), QByteArray("71 00 00 00 00 00 00 00"));
        QCOMPARE(hex(line.ask(command(0x30))), QByteArray("30 00 00 00 01 00 00 00"));
    }

    void endSwitchesStopTheMotor()
    {
        SimulatedUnit::Options options = manualClock();
        options.travel = 1000;
        SimulatedUnit unit(options);
        SerialLine line(unit.devicePath());
        sendThenAdvance(unit, line, command(0x25, 0, le(500, 2)), 10s);
        QCOMPARE(hex(line.ask(command(0x30))), QByteArray("30 00 00 01 00 00 00 00"));
        QCOMPARE(hex(line.ask(command(0x20))), QByteArray("20 00 e8 03 00 00 00 00"));
        sendThenAdvance(unit, line, command(0x23, 0, le(-5000, 4)), 10s);
        QCOMPARE(hex(line.ask(command(0x30))), QByteArray("30 00 01 00 00 00 00 00"));
        QCOMPARE(hex(line.ask(command(0x20))), QByteArray("20 00 18 fc ff ff 00 00"));
    }

    void hardwareResetReloadsTheStoredParameters()
    {
        SimulatedUnit unit;
        SerialLine line(unit.devicePath());
        line.write(bytesOf(command(0x11, 0x00, {1, 2, 3})));
        line.write(bytesOf(command(0x11, 0x01, {7, 8, 9})));
        line.write(bytesOf(command(0x27, 0, le(1234, 4))));
        line.write(bytesOf(command(0xCC)));
        QCOMPARE(hex(line.ask(command(0x11, 0x03))), QByteArray("11 00 01 02 03 00 00 00"));
        QCOMPARE(hex(line.ask(command(0x20))), QByteArray("20 00 00 00 00 00 00 00"));
    }

    // As soon as its working $C1 carries another address the unit answers
    // there only.
    void answersAtTheAddressItsLinkSettingsCarry()
    {
        SimulatedUnit unit;
        SerialLine line(unit.devicePath());
        line.write(bytesOf(command(0xC1, 0x01, {0x04, 0x07})));
        line.write(bytesOf(command(0xC1, 0x03)));
        QCOMPARE(hex(line.ask(command(0xC1, 0x03, {}, 0x07))), QByteArray("c1 00 04 07 00 00 00 00"));
        QCOMPARE(repliesCounted(unit, 1), 1u);
    }

    void clearedEepromZeroesTheStoredParameters()
    {
        SimulatedUnit::Options options;
        options.bootEntryDelay = 0ms;
        SimulatedUnit unit(options);
        SerialLine line(unit.devicePath());
        line.write(bytesOf(command(0x11, 0x00, {1, 2, 3})));
        line.write(bootEntry(0x01));
        QVERIFY(unit.waitForFrames(2, 2s));
        QVERIFY(QTest::qWaitFor([&] { return unit.inBootLoader(); }));
        line.setSpeed(B9600);
        Bytes clear{'A', 0x00, 0x00};
        for (int i = 0; i < 1024; ++i)
            clear.insert(clear.end(), {'D', 0x00});
        clear.push_back('x');
        line.write(clear);
        QCOMPARE(line.read(1026).size(), 1026u);
        QVERIFY(unit.waitForBootRequests(1026, 2s));
        line.setSpeed(B19200);
        QCOMPARE(hex(line.ask(command(0x11, 0x02))), QByteArray("11 00 00 00 00 00 00 00"));
        QCOMPARE(hex(line.ask(command(0x11, 0x03))), QByteArray("11 00 00 00 00 00 00 00"));
        QCOMPARE(unit.eeprom().at(1024), 0xFF);
    }

    // Only the read named goes unanswered; the unit carries on after it.
    void oneReadLeftUnanswered()
    {
        SimulatedUnit unit;
        SerialLine line(unit.devicePath());
        unit.setParameter(0x12, Bank::Stored, {9});
        LineFaults faults;
        faults.unansweredRead = 2;
        unit.setFaults(faults);
        line.write(bytesOf(command(0x11, 0x01, {5, 6, 7}))); // a write is no read
        QCOMPARE(hex(line.ask(command(0x11, 0x03))), QByteArray("11 00 05 06 07 00 00 00"));
        line.write(bytesOf(command(0x14, 0x02)));
        QCOMPARE(hex(line.ask(command(0x12, 0x02))), QByteArray("12 00 09 00 00 00 00 00"));
        QVERIFY(unit.waitForFrames(4, 2s));
        QCOMPARE(repliesCounted(unit, 2), 2u);
    }

    void factoryDefaultNeedsTheAccessCode_data()
    {
        QTest::addColumn<int>("p1");
        QTest::addColumn<int>("p2");
        QTest::addColumn<bool>("restores");
        QTest::newRow("access code") << int(kFactoryDefaultCode[0]) << int(kFactoryDefaultCode[1]) << true;
        QTest::newRow("no code") << 0 << 0 << false;
        QTest::newRow("first byte only") << int(kFactoryDefaultCode[0]) << 0 << false;
        QTest::newRow("swapped") << int(kFactoryDefaultCode[1]) << int(kFactoryDefaultCode[0]) << false;
    }
    void factoryDefaultNeedsTheAccessCode()
    {
        QFETCH(int, p1);
        QFETCH(int, p2);
        QFETCH(bool, restores);
        SimulatedUnit unit;
        SerialLine line(unit.devicePath());
        line.write(bytesOf(command(0x63, 0x00, {0x00, 0x10})));
        line.write(bytesOf(command(0xDD, 0x00, {std::uint8_t(p1), std::uint8_t(p2)})));
        const QByteArray bow = restores ? "63 00 01 00 00 00 00 00" : "63 00 00 10 00 00 00 00";
        QCOMPARE(hex(line.ask(command(0x63, 0x02))), bow);
        QCOMPARE(hex(line.ask(command(0x63, 0x03))), bow);
    }

    void answersOnlyItsOwnAddress_data()
    {
        QTest::addColumn<int>("unitAddress");
        QTest::addColumn<int>("frameAddress");
        QTest::newRow("other unit") << 0x01 << 0x02;
        QTest::newRow("zero") << 0x01 << 0x00;
        QTest::newRow("FF") << 0x01 << 0xFF;
        QTest::newRow("unit 7F, frame 01") << 0x7F << 0x01;
    }
    void answersOnlyItsOwnAddress()
    {
        QFETCH(int, unitAddress);
        QFETCH(int, frameAddress);
        SimulatedUnit::Options options;
        options.address = std::uint8_t(unitAddress);
        SimulatedUnit unit(options);
        SerialLine line(unit.devicePath());
        line.write(bytesOf(command(0x52, 0, {}, std::uint8_t(frameAddress))));
        QCOMPARE(line.ask(command(0x20, 0, {}, std::uint8_t(unitAddress))).at(0), 0x20);
        const auto frames = unit.receivedFrames();
        QCOMPARE(frames.size(), 2u);
        QCOMPARE(frames[0], command(0x52, 0, {}, std::uint8_t(frameAddress)));
        QCOMPARE(repliesCounted(unit, 1), 1u);
    }

    // The unit learns the line speed only when bytes arrive, so each speed
    // change waits until the unit has taken the bytes sent before it.
    void framesAtAnotherSpeedAreGarbage()
    {
        SimulatedUnit unit;
        SerialLine line(unit.devicePath(), B9600);
        line.write(bytesOf(command(0x52)));
        QVERIFY(unit.waitForBytes(9, 2s));
        line.setSpeed(B19200);
        QCOMPARE(line.ask(command(0x20)).at(0), 0x20);
        line.setSpeed(B38400);
        line.write(bytesOf(command(0x53)));
        QVERIFY(unit.waitForBytes(27, 2s));
        line.setSpeed(B19200);
        QCOMPARE(line.ask(command(0x71)).at(0), 0x71);
        QCOMPARE(unit.framesReceived(), 2u);
        QCOMPARE(repliesCounted(unit, 2), 2u);
    }

    // Drivers may set even a standard rate as an arbitrary one.
    void speedSetAsArbitraryRateCounts()
    {
        SimulatedUnit unit;
        SerialLine line(unit.devicePath(), B9600);
        QVERIFY(line.setArbitrarySpeed(19201));
        line.write(bytesOf(command(0x52)));
        QVERIFY(unit.waitForBytes(9, 2s));
        QVERIFY(line.setArbitrarySpeed(19200));
        QCOMPARE(line.ask(command(0x20)).at(0), 0x20);
        QCOMPARE(unit.framesReceived(), 1u);
    }

    void silenceDropsAPartialFrame()
    {
        SimulatedUnit unit;
        SerialLine line(unit.devicePath());
        line.write({0x01, 0x20, 0x00, 0x00});
        QVERIFY(unit.waitForBytes(4, 2s));
        QTest::qSleep(80); // longer than the unit's 50 ms frame gap
        const CommandFrame query = command(0x52);
        line.write(Bytes(query.begin(), query.begin() + 3));
        line.write(Bytes(query.begin() + 3, query.end()));
        QCOMPARE(line.read(kReplyFrameSize).at(0), 0x52);
        QCOMPARE(unit.receivedFrames(), std::vector<CommandFrame>{query});
    }

    void recordsEveryByteWithItsArrivalTime()
    {
        SimulatedUnit unit;
        SerialLine line(unit.devicePath(), B9600);
        const auto before = std::chrono::steady_clock::now();
        line.write({0x01, 0x20, 0x00, 0xAB});
        QVERIFY(unit.waitForBytes(4, 2s));
        const auto after = std::chrono::steady_clock::now();
        const auto received = unit.receivedBytes();
        QCOMPARE(received.size(), 4u);
        QCOMPARE(received[3].value, 0xAB);
        for (const ReceivedByte &b : received)
            QVERIFY(b.at >= before && b.at <= after);
    }

    void servesAgainAfterThePortIsReopened()
    {
        SimulatedUnit unit;
        {
            SerialLine line(unit.devicePath());
            QCOMPARE(line.ask(command(0x20)).at(0), 0x20);
        }
        SerialLine again(unit.devicePath());
        QVERIFY(again.isOpen());
        QCOMPARE(again.ask(command(0x71)).at(0), 0x71);
    }

    void activityFdWakesAPoller()
    {
        SimulatedUnit unit;
        SerialLine line(unit.devicePath());
        line.write(bytesOf(command(0x20)));
        pollfd p{unit.activityFd(), POLLIN, 0};
        QCOMPARE(::poll(&p, 1, 2000), 1);
        QVERIFY(unit.waitForReplies(1, 2s));
    }

    // Each fault as it shows on the wire, for the reply 52 00 E8 03 F4 01 D0 07.
    void faultsShapeTheReply_data()
    {
        QTest::addColumn<LineFaults>("faults");
        QTest::addColumn<QByteArray>("wire");
        LineFaults stray;
        stray.leadingBytes = {0x00, 0xFF, 0x20};
        stray.trailingBytes = {0x20, 0xAA};
        QTest::newRow("bytes before and after") << stray
                                                << QByteArray("00 ff 20 52 00 e8 03 f4 01 d0 07 20 aa");
        LineFaults first;
        first.droppedByte = 0;
        QTest::newRow("first byte lost") << first << QByteArray("00 e8 03 f4 01 d0 07");
        LineFaults paced;
        paced.chunkSize = 3;
        paced.chunkPause = 20ms;
        paced.byteTiming = true;
        QTest::newRow("chunked and paced") << paced << QByteArray("52 00 e8 03 f4 01 d0 07");
    }
    void faultsShapeTheReply()
    {
        QFETCH(LineFaults, faults);
        QFETCH(QByteArray, wire);
        SimulatedUnit unit;
        unit.setFaults(faults);
        SerialLine line(unit.devicePath());
        line.write(bytesOf(command(0x52)));
        QCOMPARE(hex(line.read(std::size_t(wire.count(' ') + 1))), wire);
        QVERIFY(unit.waitForReplies(1, 2s));
        // Nothing else follows: the next clean reply comes straight after.
        unit.setFaults({});
        QCOMPARE(hex(line.ask(command(0x20))), QByteArray("20 00 00 00 00 00 00 00"));
    }

    void silentUnitAnswersNothing()
    {
        SimulatedUnit unit;
        LineFaults silent;
        silent.silent = true;
        unit.setFaults(silent);
        SerialLine line(unit.devicePath());
        line.write(bytesOf(command(0x52)));
        QVERIFY(unit.waitForFrames(1, 2s));
        unit.setFaults({});
        QCOMPARE(line.ask(command(0x20)).at(0), 0x20);
        QCOMPARE(repliesCounted(unit, 1), 1u);
    }

    // Only lower bounds: the unit must not answer early, however slow the machine.
    void lateAndPacedRepliesTakeTheirTime_data()
    {
        QTest::addColumn<LineFaults>("faults");
        QTest::addColumn<int>("baudRate");
        QTest::addColumn<int>("minimumMs");
        LineFaults late;
        late.replyDelay = 150ms;
        QTest::newRow("late by 150 ms") << late << 19200 << 150;
        LineFaults chunks;
        chunks.chunkSize = 3;
        chunks.chunkPause = 60ms;
        QTest::newRow("three chunks, 60 ms apart") << chunks << 19200 << 120;
        LineFaults paced;
        paced.byteTiming = true;
        QTest::newRow("9 bytes in and 8 out at 2400 baud") << paced << 2400 << 70;
    }
    void lateAndPacedRepliesTakeTheirTime()
    {
        QFETCH(LineFaults, faults);
        QFETCH(int, baudRate);
        QFETCH(int, minimumMs);
        SimulatedUnit::Options options;
        options.baudRate = baudRate;
        SimulatedUnit unit(options);
        unit.setFaults(faults);
        SerialLine line(unit.devicePath(), *speedConstant(baudRate));
        line.write(bytesOf(command(0x20)));
        QCOMPARE(line.read(kReplyFrameSize).size(), kReplyFrameSize);
        const auto done = std::chrono::steady_clock::now();
        QVERIFY(done - unit.receivedBytes().back().at >= std::chrono::milliseconds(minimumMs));
    }

    // The boot loader comes up bootEntryDelay after the frame; a request
    // sent while the unit restarts is lost.
    void bootEntryHandsOverToTheBootLoader()
    {
        SimulatedUnit unit(manualClock());
        SerialLine line(unit.devicePath());
        line.write(bootEntry(0x01));
        QVERIFY(unit.waitForFrames(1, 2s));
        line.setSpeed(B9600);
        line.write({'a'});
        QVERIFY(unit.waitForBytes(10, 2s));
        unit.advanceClock(299ms);
        QVERIFY(!unit.inBootLoader());
        unit.advanceClock(1ms);
        QVERIFY(unit.inBootLoader());
        QCOMPARE(unit.bootRequestsReceived(), 0u);
        line.write({'a', 'A', 0x00, 0x01, 'C', 0x12, 0x34, 'A', 0x00, 0x01, 'm', 'A', 0x00, 0x01, 'R'});
        QCOMPARE(hex(line.read(9)), QByteArray("4b 56 0d 0d 0d 0d 0d 34 12"));
        QCOMPARE(unit.flash().at(2), 0x12);
        QCOMPARE(unit.bootRequests().back().letter, 'R');
        QCOMPARE(unit.bootRequests().back().address, 1);
        line.write({'x'});
        QCOMPARE(hex(line.read(1)), QByteArray("0d"));
        QVERIFY(unit.waitForBootRequests(8, 2s));
        QVERIFY(!unit.inBootLoader());
        QCOMPARE(unit.bootBytesReceived(), 16u);
        QCOMPARE(unit.bootBytesSent(), 10u);
        line.setSpeed(B19200);
        QCOMPARE(line.ask(command(0x20)).at(0), 0x20);
    }

    // Bytes put on the line unasked arrive as they are, between replies.
    void sendToHostPutsBytesOnTheLine()
    {
        SimulatedUnit unit(inBootLoader());
        SerialLine line(unit.devicePath(), B9600);
        unit.sendToHost({'7', '\r'});
        QCOMPARE(hex(line.read(2)), QByteArray("37 0d"));
        line.write({'a'});
        QCOMPARE(hex(line.read(2)), QByteArray("4b 56"));
    }

    // A request is garbage unless all of it came at 9600 baud.
    void bootLoaderHearsOnly9600()
    {
        SimulatedUnit unit(inBootLoader());
        SerialLine line(unit.devicePath());
        line.write(bootEntry(0x01)); // a unit already in its boot loader ignores it
        QVERIFY(unit.waitForBytes(9, 2s));
        line.setSpeed(B9600);
        line.write({'A'});
        QVERIFY(unit.waitForBytes(10, 2s));
        line.setSpeed(B19200);
        line.write({0x00});
        QVERIFY(unit.waitForBytes(11, 2s));
        line.setSpeed(B9600);
        line.write({'a'});
        QCOMPARE(hex(line.read(2)), QByteArray("4b 56"));
        QCOMPARE(unit.bootRequestsReceived(), 1u);
        QVERIFY(unit.receivedFrames().empty());
    }

    void byteTimePacesTheBootLoaderAt9600()
    {
        SimulatedUnit unit(inBootLoader());
        LineFaults paced;
        paced.byteTiming = true;
        unit.setFaults(paced);
        SerialLine line(unit.devicePath(), B9600);
        line.write({'A', 0x00, 0x00});
        QCOMPARE(line.read(1).size(), 1u);
        const auto done = std::chrono::steady_clock::now();
        QVERIFY(done - unit.receivedBytes().back().at >= 4 * 1041us); // 3 bytes in, 1 out
    }
};

QTEST_GUILESS_MAIN(TestSimLine)
#include "test_simline.moc"
