#include "serialtestsupport.h"
#include "ptypair.h"
#include "serial/comm32.h"
#include "tests/testfiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <termios.h>

Q_DECLARE_METATYPE(TBaudRate)
Q_DECLARE_METATYPE(TFlowControl)

namespace {

QByteArray AllByteValues()
{
    QByteArray bytes;
    for (int value = 0; value < 256; ++value)
        bytes.append(char(value));
    return bytes;
}

// Records the bits DispatchEvents hands to DoEvent, in order.
class EventRecorder : public TComm32
{
public:
    QList<quint32> Bits;

protected:
    void DoEvent(quint32 EventBit) override { Bits << EventBit; }
};

} // namespace

class TestComm32 : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;

private slots:
    void defaults()
    {
        TComm32 comm;
        QVERIFY(!comm.IsOpen());
        QCOMPARE(comm.DeviceName(), QStringLiteral("COM2"));
        QCOMPARE(comm.BaudRate(), cbr9600);
        QCOMPARE(comm.Parity(), paNone);
        QCOMPARE(comm.Stopbits(), sb10);
        QCOMPARE(comm.Databits(), da8);
        QCOMPARE(comm.MonitorEvents(), kAllC32Events);
        QCOMPARE(comm.ReadBufferSize(), 4096);
        QCOMPARE(comm.WriteBufferSize(), 2048);
        QCOMPARE(comm.FlowControl(), fcDefault);
        QCOMPARE(comm.XonChar(), char(17));
        QCOMPARE(comm.XoffChar(), char(19));
        QCOMPARE(comm.EvtChar(), char(0));
        QCOMPARE(comm.Options(), TComm32Options());
        QVERIFY(!comm.Simple());
        QVERIFY(!comm.LowLatency());
    }

    void failedOpen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("error");
        QTest::newRow("missing device") << "/dev/no-such-karvel-port" << 2;
        QTest::newRow("port name, no path") << "COM1" << 2;
        QTest::newRow("directory") << "/tmp" << 1;
        QTest::newRow("plain file") << FDir.filePath(QStringLiteral("not-a-port")) << 1;
    }
    void failedOpen()
    {
        QFETCH(QString, name);
        QFETCH(int, error);
        const QString plain = FDir.filePath(QStringLiteral("not-a-port"));
        QVERIFY(TestFiles::write(plain, {}));

        TComm32 comm;
        comm.SetDeviceName(name);
        QSignalSpy opened(&comm, &TComm32::OnOpen);
        comm.Open();
        QVERIFY(!comm.IsOpen());
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0][0].value<QObject *>(), &comm);
        QCOMPARE(opened[0][1].toInt(), 0);
        QCOMPARE(opened[0][2].toInt(), error);
        QCOMPARE(comm.Write("x", 1), -1);
        QCOMPARE(TestFiles::read(plain), QByteArray());
    }

    void openReportsSuccessAndHoldsThePortExclusively()
    {
        PtyPair pty;
        TComm32 first;
        QSignalSpy opened(&first, &TComm32::OnOpen);
        OpenOnPty(first, pty);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0][1].toInt(), 1);
        QCOMPARE(opened[0][2].toInt(), 0);

        TComm32 second;
        QSignalSpy refused(&second, &TComm32::OnOpen);
        second.SetDeviceName(pty.SlavePath());
        second.Open();
        QVERIFY(!second.IsOpen());
        QCOMPARE(refused[0][2].toInt(), 5);
        QVERIFY(second.OpenFailure().HeldByOtherProgram);
        QCOMPARE(second.OpenFailure().Path, pty.SlavePath());

        first.Close();
        second.Open();
        QVERIFY(second.IsOpen());
        QCOMPARE(second.OpenFailure().Errno, 0);
    }

    void bytesTravelUnchangedBothWays()
    {
        PtyPair pty;
        TComm32 comm;
        QByteArray received;
        connect(&comm, &TComm32::OnRxChar, this, [&](QObject *Sender, int Count) {
            QCOMPARE(Sender, &comm);
            QCOMPARE(QThread::currentThread(), thread());
            QVERIFY(Count >= 0);
            QByteArray chunk(Count, '\0');
            QCOMPARE(comm.Read(chunk.data(), Count), Count);
            received += chunk;
        });
        OpenOnPty(comm, pty);

        const QByteArray bytes = AllByteValues();
        QCOMPARE(comm.Write(bytes.constData(), int(bytes.size())), int(bytes.size()));
        QCOMPARE(pty.Receive(int(bytes.size())), bytes);
        // A pty hands everything over at once: nothing is left to send.
        QCOMPARE(comm.OutQueueCount(), 0);

        pty.Send(bytes);
        QTRY_COMPARE(received, bytes);
        char spare;
        QCOMPARE(comm.Read(&spare, 1), 0);
    }

    void purgeReadDropsUnreadBytes()
    {
        PtyPair pty;
        TComm32 comm;
        QList<int> counts;
        connect(&comm, &TComm32::OnRxChar, this, [&](QObject *, int Count) { counts << Count; });
        OpenOnPty(comm, pty);

        pty.Send("0123456789");
        QTRY_COMPARE(counts.value(counts.size() - 1), 10);
        comm.PurgeRead();
        counts.clear();
        pty.Send("abc");
        // An event already on its way may come first, reporting what is
        // waiting by then; none may report the dropped bytes.
        QTRY_COMPARE(counts.value(counts.size() - 1), 3);
        QVERIFY(std::all_of(counts.cbegin(), counts.cend(), [](int Count) { return Count <= 3; }));
        char bytes[3];
        QCOMPARE(comm.Read(bytes, 3), 3);
        QCOMPARE(QByteArray(bytes, 3), QByteArray("abc"));
    }

    void dispatchRaisesEventsInFixedOrder_data()
    {
        QTest::addColumn<quint32>("mask");
        QTest::addColumn<QList<quint32>>("bits");
        QTest::newRow("all nine") << 0x1FFu
                                  << QList<quint32>{EV_BREAK, EV_CTS, EV_DSR, EV_ERR, EV_RING,
                                                    EV_RLSD, EV_RXCHAR, EV_RXFLAG, EV_TXEMPTY};
        QTest::newRow("error before received bytes") << quint32(EV_RXCHAR | EV_ERR)
                                                     << QList<quint32>{EV_ERR, EV_RXCHAR};
        QTest::newRow("unknown bit ignored") << 0x201u << QList<quint32>{EV_RXCHAR};
    }
    void dispatchRaisesEventsInFixedOrder()
    {
        QFETCH(quint32, mask);
        QFETCH(QList<quint32>, bits);
        PtyPair pty;
        EventRecorder comm;
        comm.SetSimple(true);
        OpenOnPty(comm, pty);
        QCOMPARE(comm.HandOverNoticeFd(), -1);
        comm.DispatchEvents(mask);
        QCOMPARE(comm.Bits, bits);
    }

    void reopenReplacesTheThreadAndTakesTheNewName()
    {
        PtyPair first;
        PtyPair second;
        QTRY_COMPARE(EventThreadCount(), 0);
        TComm32 comm;
        OpenOnPty(comm, first);
        QTRY_COMPARE(EventThreadCount(), 1);

        // The name is a plain field until the next Open.
        comm.SetDeviceName(second.SlavePath());
        QCOMPARE(comm.Write("A", 1), 1);
        QCOMPARE(first.Receive(1), QByteArray("A"));

        comm.Open();
        QVERIFY(comm.IsOpen());
        // Not QTRY_COMPARE: the old thread's task can linger in /proc for a
        // moment after it was joined, while the new one is not yet named, and
        // a count that flickers through 1 fails QTRY's second look.
        QVERIFY(QTest::qWaitFor([] { return EventThreadCount() == 1; }));
        QCOMPARE(comm.Write("B", 1), 1);
        QCOMPARE(second.Receive(1), QByteArray("B"));

        comm.Close();
        QTRY_COMPARE(EventThreadCount(), 0);
    }

    void baudRateChangesAtOnce_data()
    {
        QTest::addColumn<TBaudRate>("rate");
        QTest::addColumn<int>("bitsPerSecond");
        QTest::newRow("2400") << cbr2400 << 2400;
        QTest::newRow("19200") << cbr19200 << 19200;
        QTest::newRow("57600") << cbr57600 << 57600;
        QTest::newRow("115200") << cbr115200 << 115200;
        QTest::newRow("14400 (no B constant)") << cbr14400 << 14400;
        QTest::newRow("56000 (no B constant)") << cbr56000 << 56000;
        QTest::newRow("128000 (no B constant)") << cbr128000 << 128000;
        QTest::newRow("256000 (no B constant)") << cbr256000 << 256000;
    }
    void baudRateChangesAtOnce()
    {
        QFETCH(TBaudRate, rate);
        QFETCH(int, bitsPerSecond);
        PtyPair pty;
        TComm32 comm;
        OpenOnPty(comm, pty);
        QCOMPARE(pty.BitRate(), 9600);
        comm.SetBaudRate(rate);
        QCOMPARE(pty.BitRate(), bitsPerSecond);
        QCOMPARE(BitsPerSecond(rate), bitsPerSecond);
        // Other settings keep the rate, whichever way it was set.
        comm.SetStopbits(sb20);
        QCOMPARE(pty.BitRate(), bitsPerSecond);
        QVERIFY(pty.CFlags() & CSTOPB);

        comm.Close();
        comm.Open();
        QCOMPARE(pty.BitRate(), bitsPerSecond);
    }

    void flowControlReachesTheTermios_data()
    {
        QTest::addColumn<TFlowControl>("flow");
        QTest::addColumn<bool>("hardware");
        QTest::addColumn<bool>("software");
        QTest::newRow("none") << fcNone << false << false;
        QTest::newRow("CTS") << fcCTS << true << false;
        QTest::newRow("DTR: no handshake on Linux") << fcDTR << false << false;
        QTest::newRow("software") << fcSoftware << false << true;
        QTest::newRow("RTS toggle") << fcRTSToggle << false << false;
    }
    void flowControlReachesTheTermios()
    {
        QFETCH(TFlowControl, flow);
        QFETCH(bool, hardware);
        QFETCH(bool, software);
        PtyPair pty;
        TComm32 comm;
        comm.SetFlowControl(flow);
        comm.SetLowLatency(true);
        OpenOnPty(comm, pty);
        QCOMPARE(bool(pty.CFlags() & CRTSCTS), hardware);
        QCOMPARE(bool(pty.IFlags() & (IXON | IXOFF)), software);
        // fcDefault keeps what the port has.
        comm.SetFlowControl(fcDefault);
        QCOMPARE(bool(pty.CFlags() & CRTSCTS), hardware);
        // A pty has no modem lines, RS-485 or low-latency mode: they are
        // skipped, writes still go.
        QCOMPARE(comm.Write("w", 1), 1);
        QCOMPARE(pty.Receive(1), QByteArray("w"));
    }

    void writeRefusedWhileBackgroundWriteRuns_data()
    {
        QTest::addColumn<bool>("purge");
        QTest::newRow("background write finishes") << false;
        QTest::newRow("background write purged") << true;
    }
    void writeRefusedWhileBackgroundWriteRuns()
    {
        QFETCH(bool, purge);
        PtyPair pty;
        TComm32 comm;
        OpenOnPty(comm, pty);
        // Far more than a pty buffers, so the rest must go on in the background.
        QByteArray block(1 << 20, '\0');
        for (qsizetype i = 0; i < block.size(); ++i)
            block[i] = char('a' + i % 26);
        QCOMPARE(comm.Write(block.constData(), int(block.size())), 0);
        QVERIFY(comm.OutQueueCount() > 0);
        QVERIFY(comm.WritePending());
        QCOMPARE(comm.Write("X", 1), 0);

        if (purge) {
            comm.PurgeWrite();
            QCOMPARE(comm.OutQueueCount(), 0);
            QVERIFY(!comm.WritePending());
            QCOMPARE(comm.Write("X", 1), 1);
            const QByteArray tail = pty.ReceiveThrough('X');
            QVERIFY(tail.endsWith('X'));
            QVERIFY(block.startsWith(tail.chopped(1)));
            QVERIFY(tail.size() < block.size());
        } else {
            QCOMPARE(pty.Receive(int(block.size())), block);
            QTRY_VERIFY(!comm.WritePending());
            QCOMPARE(comm.OutQueueCount(), 0);
            QCOMPARE(comm.Write("X", 1), 1);
            QCOMPARE(pty.Receive(1), QByteArray("X"));
        }
    }
};

QTEST_GUILESS_MAIN(TestComm32)
#include "test_comm32.moc"
