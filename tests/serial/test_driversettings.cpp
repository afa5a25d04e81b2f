#include "ptypair.h"
#include "serial/serialdevice.h"

#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>

Q_DECLARE_METATYPE(TFlowControl)

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
        // The driver's two records as TIOCG*/TIOCS* reach them; an unplugged
        // device fails every request.
        serial_rs485 rs485{};
        rs485.flags = foundRs485;
        serial_struct serial{};
        int failWith = 0;
        const auto driver = [&](int, unsigned long Request, void *Argument) {
            errno = failWith;
            if (failWith)
                return -1;
            const bool isRs485 = Request == TIOCGRS485 || Request == TIOCSRS485;
            void *record = isRs485 ? static_cast<void *>(&rs485) : &serial;
            const size_t size = isRs485 ? sizeof rs485 : sizeof serial;
            const bool get = Request == TIOCGRS485 || Request == TIOCGSERIAL;
            std::memcpy(get ? Argument : record, get ? record : Argument, size);
            return 0;
        };
        PtyPair pty;
        auto device = std::make_unique<SerialDevice>(driver);
        QCOMPARE(device->Open(pty.SlavePath()), 0);
        device->Configure({cbr9600, paNone, sb10, da8, false, flow, 17, 19});
        QVERIFY(device->SetLowLatency(true));
        QCOMPARE(rs485.flags & (SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND),
                 flow == fcRTSToggle ? quint32(SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND) : 0u);
        QCOMPARE(serial.flags, int(ASYNC_LOW_LATENCY));

        failWith = leaving == "unplugged" ? EIO : 0;
        if (leaving == "destruction")
            device.reset();
        else
            device->Close();
        if (!failWith) {
            QCOMPARE(rs485.flags, foundRs485);
            QCOMPARE(serial.flags, 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestDriverSettings)
#include "test_driversettings.moc"
