#include "ptypair.h"
#include "serial/driversettings.h"
#include "serial/serialdevice.h"

#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>

namespace {

// The RS-485 and serial records of a driver as TIOCG*/TIOCS* reach them.
// With FailWith set every call fails: ENOTTY as from a driver without the
// settings (a pseudo-terminal), EIO as from an unplugged device.
struct FakeDriver
{
    serial_rs485 Rs485{};
    serial_struct Serial{};
    int FailWith = 0;
    int Writes = 0;

    DriverIoctl Ioctl()
    {
        return [this](int, unsigned long Request, void *Argument) {
            if (FailWith != 0) {
                errno = FailWith;
                return -1;
            }
            switch (Request) {
            case TIOCGRS485: std::memcpy(Argument, &Rs485, sizeof Rs485); return 0;
            case TIOCSRS485: ++Writes; std::memcpy(&Rs485, Argument, sizeof Rs485); return 0;
            case TIOCGSERIAL: std::memcpy(Argument, &Serial, sizeof Serial); return 0;
            case TIOCSSERIAL: ++Writes; std::memcpy(&Serial, Argument, sizeof Serial); return 0;
            default: errno = ENOTTY; return -1;
            }
        };
    }
};

constexpr int kFd = 7;

} // namespace

class TestDriverSettings : public QObject
{
    Q_OBJECT

private slots:
    void rs485ModeIsPutBackAsFound_data()
    {
        QTest::addColumn<quint32>("found");
        QTest::addColumn<QList<bool>>("modes");
        QTest::newRow("found off, toggled") << quint32(SER_RS485_RTS_AFTER_SEND) << QList<bool>{true};
        QTest::newRow("found on, switched off and on")
            << quint32(SER_RS485_ENABLED | SER_RS485_RTS_AFTER_SEND) << QList<bool>{false, true, false};
    }
    void rs485ModeIsPutBackAsFound()
    {
        QFETCH(quint32, found);
        QFETCH(QList<bool>, modes);
        FakeDriver driver;
        driver.Rs485.flags = found;
        driver.Rs485.delay_rts_before_send = 7;
        DriverSettings settings(driver.Ioctl());
        settings.Attach(kFd);
        for (const bool on : modes) {
            if (on)
                QVERIFY(settings.EnableRs485RtsToggle());
            else
                settings.DisableRs485();
            QCOMPARE(bool(driver.Rs485.flags & SER_RS485_ENABLED), on);
            if (on) {
                QCOMPARE(driver.Rs485.flags & (SER_RS485_RTS_ON_SEND | SER_RS485_RTS_AFTER_SEND),
                         quint32(SER_RS485_RTS_ON_SEND));
            }
        }
        settings.Detach();
        QCOMPARE(driver.Rs485.flags, found);
        QCOMPARE(driver.Rs485.delay_rts_before_send, 7u);
    }

    void lowLatencyIsPutBackAsFound_data()
    {
        QTest::addColumn<int>("found");
        QTest::addColumn<int>("writes");
        QTest::newRow("found off") << int(ASYNC_SKIP_TEST) << 4;
        QTest::newRow("found on: never written") << int(ASYNC_LOW_LATENCY | ASYNC_SKIP_TEST) << 0;
    }
    void lowLatencyIsPutBackAsFound()
    {
        QFETCH(int, found);
        QFETCH(int, writes);
        FakeDriver driver;
        driver.Serial.flags = found;
        DriverSettings settings(driver.Ioctl());
        settings.Attach(kFd);
        QVERIFY(settings.SetLowLatency(true));
        QVERIFY(driver.Serial.flags & ASYNC_LOW_LATENCY);
        QVERIFY(settings.SetLowLatency(false));
        QCOMPARE(driver.Serial.flags, found);
        QVERIFY(settings.SetLowLatency(true));
        settings.Detach();
        QCOMPARE(driver.Serial.flags, found);
        QCOMPARE(driver.Writes, writes);
    }

    void refusingDriverIsLeftAlone()
    {
        FakeDriver driver;
        driver.FailWith = ENOTTY;
        DriverSettings settings(driver.Ioctl());
        settings.Attach(kFd);
        QVERIFY(!settings.EnableRs485RtsToggle());
        QVERIFY(!settings.SetLowLatency(true));
        settings.DisableRs485();
        driver.FailWith = 0;
        settings.Detach();
        QCOMPARE(driver.Writes, 0);
    }

    void unpluggedDeviceIsLetGoOfAndForgotten()
    {
        FakeDriver driver;
        DriverSettings settings(driver.Ioctl());
        settings.Attach(kFd);
        QVERIFY(settings.EnableRs485RtsToggle());
        QVERIFY(settings.SetLowLatency(true));
        driver.FailWith = EIO;
        settings.Detach();
        // The next port starts with nothing saved.
        driver.FailWith = 0;
        settings.Attach(kFd);
        settings.Detach();
        QCOMPARE(driver.Writes, 2);
    }

    void closingThePortRestoresTheDriver_data()
    {
        QTest::addColumn<bool>("destroyed");
        QTest::newRow("Close") << false;
        QTest::newRow("destruction") << true;
    }
    void closingThePortRestoresTheDriver()
    {
        QFETCH(bool, destroyed);
        PtyPair pty;
        FakeDriver driver;
        {
            SerialDevice device(driver.Ioctl());
            QCOMPARE(device.Open(pty.SlavePath()), 0);
            device.Configure({cbr9600, paNone, sb10, da8, false, fcRTSToggle, 17, 19});
            QVERIFY(device.SetLowLatency(true));
            QCOMPARE(driver.Rs485.flags, quint32(SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND));
            QVERIFY(!device.TogglesRtsByHand());
            QCOMPARE(driver.Serial.flags, ASYNC_LOW_LATENCY);
            if (!destroyed)
                device.Close();
        }
        QCOMPARE(driver.Rs485.flags, 0u);
        QCOMPARE(driver.Serial.flags, 0);
    }
};

QTEST_GUILESS_MAIN(TestDriverSettings)
#include "test_driversettings.moc"
