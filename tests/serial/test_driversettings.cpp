#include "ptypair.h"
#include "serial/serialdevice.h"

#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>

Q_DECLARE_METATYPE(TFlowControl)

namespace {

// The driver's two records as TIOCG*/TIOCS* reach them; an unplugged device
// fails every request.
class RecordDriver : public SystemPortCalls
{
public:
    serial_rs485 Rs485{};
    serial_struct Serial{};
    int FailWith = 0;

    int Ioctl(int Fd, unsigned long Request, void *Argument) override
    {
        if (Request != TIOCGRS485 && Request != TIOCSRS485 && Request != TIOCGSERIAL && Request != TIOCSSERIAL)
            return SystemPortCalls::Ioctl(Fd, Request, Argument);
        errno = FailWith;
        if (FailWith)
            return -1;
        const bool isRs485 = Request == TIOCGRS485 || Request == TIOCSRS485;
        void *record = isRs485 ? static_cast<void *>(&Rs485) : &Serial;
        const size_t size = isRs485 ? sizeof Rs485 : sizeof Serial;
        const bool get = Request == TIOCGRS485 || Request == TIOCGSERIAL;
        std::memcpy(get ? Argument : record, get ? record : Argument, size);
        return 0;
    }
};

} // namespace

class TestDriverSettings : public QObject
{
    Q_OBJECT

private slots:
    void driverIsLeftAsFound_data()
    {
        QTest::addColumn<TFlowControl>("flow");
        QTest::addColumn<quint32>("foundRs485");
        QTest::addColumn<QString>("leaving");
        QTest::newRow("RTS toggle, Close") << fcRTSToggle << 0u << "Close";
        QTest::newRow("RS-485 found on, switched off, destruction")
            << fcNone << quint32(SER_RS485_ENABLED | SER_RS485_RTS_AFTER_SEND) << "destruction";
        QTest::newRow("RTS toggle, device unplugged") << fcRTSToggle << 0u << "unplugged";
    }
    void driverIsLeftAsFound()
    {
        QFETCH(TFlowControl, flow);
        QFETCH(quint32, foundRs485);
        QFETCH(QString, leaving);
        RecordDriver driver;
        serial_rs485 &rs485 = driver.Rs485;
        rs485.flags = foundRs485;
        const serial_struct &serial = driver.Serial;
        PtyPair pty;
        auto device = std::make_unique<SerialDevice>(driver);
        QCOMPARE(device->Open(pty.SlavePath()), 0);
        device->Configure({cbr9600, paNone, sb10, da8, false, flow, 17, 19});
        QVERIFY(device->SetLowLatency(true));
        QCOMPARE(rs485.flags & (SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND),
                 flow == fcRTSToggle ? quint32(SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND) : 0u);
        QCOMPARE(serial.flags, int(ASYNC_LOW_LATENCY));

        driver.FailWith = leaving == "unplugged" ? EIO : 0;
        if (leaving == "destruction")
            device.reset();
        else
            device->Close();
        if (!driver.FailWith) {
            QCOMPARE(rs485.flags, foundRs485);
            QCOMPARE(serial.flags, 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestDriverSettings)
#include "test_driversettings.moc"
