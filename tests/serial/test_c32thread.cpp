#include "serialtestsupport.h"
#include "ptypair.h"
#include "serial/comm32.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <poll.h>
#include <stdexcept>

class TestC32Thread : public QObject
{
    Q_OBJECT

private slots:
    void closeRightAfterOpenEndsTheThread()
    {
        PtyPair pty;
        QTRY_COMPARE(EventThreadCount(), 0);
        TComm32 comm;
        for (int round = 0; round < 20; ++round) {
            OpenOnPty(comm, pty);
            comm.Close();
        }
        QVERIFY(!comm.IsOpen());
        QTRY_COMPARE(EventThreadCount(), 0);
    }

    void closeWhileBytesKeepArriving()
    {
        PtyPair pty;
        TComm32 comm;
        int received = 0;
        // Every event makes the far side send more: the line never rests.
        connect(&comm, &TComm32::OnRxChar, this, [&](QObject *, int Count) {
            QByteArray chunk(Count, '\0');
            received += qMax(comm.Read(chunk.data(), Count), 0);
            pty.Send(QByteArray(512, 'f'));
        });
        OpenOnPty(comm, pty);
        pty.Send("start");
        QTRY_VERIFY(received > 64 * 1024);
        comm.Close();
        QVERIFY(!comm.IsOpen());
    }

    void closeServesAPendingHandOver()
    {
        PtyPair pty;
        TComm32 comm;
        int served = 0;
        connect(&comm, &TComm32::OnRxChar, this, [&](QObject *, int Count) {
            ++served;
            QCOMPARE(Count, 3);
        });
        OpenOnPty(comm, pty);
        pty.Send("abc");
        // Without running the event loop: the thread now blocks in the hand-over.
        pollfd notice{comm.HandOverNoticeFd(), POLLIN, 0};
        QCOMPARE(poll(&notice, 1, 5000), 1);
        comm.Close();
        QCOMPARE(served, 1);
        QVERIFY(!comm.IsOpen());
    }

    void bytesLeftByABoundedReadAreHandedOverAgain()
    {
        PtyPair pty;
        TComm32 comm;
        QByteArray received;
        CollectInPieces(comm, received, 20);
        OpenOnPty(comm, pty);
        const QByteArray bytes = QByteArray("0123456789").repeated(5);
        pty.Send(bytes);
        QTRY_COMPARE(received, bytes);
    }

    void handlerErrorEndsTheThreadButNotThePort()
    {
        PtyPair pty;
        QTRY_COMPARE(EventThreadCount(), 0);
        TComm32 comm;
        int raised = 0;
        connect(&comm, &TComm32::OnRxChar, this, [&](QObject *, int) {
            ++raised;
            throw std::runtime_error("handler failed");
        });
        OpenOnPty(comm, pty);
        pty.Send("a");
        QTRY_COMPARE(raised, 1);
        QTRY_COMPARE(EventThreadCount(), 0);
        QVERIFY(comm.IsOpen());
        QCOMPARE(comm.Write("b", 1), 1);
        QCOMPARE(pty.Receive(1), QByteArray("b"));
    }

    void idlePortDoesNotSpin_data() { AddIdlePortRows(); }
    void idlePortDoesNotSpin()
    {
        QFETCH(bool, hangUp);
        PtyPair pty;
        TComm32 comm;
        QSignalSpy disconnected(&comm, &TComm32::OnDisconnect);
        OpenOnPty(comm, pty);
        pty.Send("unread");
        if (hangUp)
            pty.HangUp();

        // A real event loop, as the program runs it: hand-overs are served at
        // once, so a thread that keeps handing over shows as CPU time.
        const double wall = 0.3;
        QEventLoop loop;
        QTimer::singleShot(int(wall * 1000), &loop, &QEventLoop::quit);
        const double cpuBefore = ProcessCpuSeconds();
        loop.exec();
        const double cpu = ProcessCpuSeconds() - cpuBefore;
        qInfo("CPU use while idle: %.1f%% of a core", 100 * cpu / wall);
        QVERIFY2(cpu < wall / 10, "a thread keeps running on an idle port");

        QVERIFY(comm.IsOpen());
        if (hangUp) {
            // Nothing can arrive any more: the event thread has ended, and
            // reported the hang-up once.
            QTRY_COMPARE(EventThreadCount(), 0);
            QCoreApplication::processEvents();
            QCOMPARE(disconnected.size(), 1);
            char byte;
            QCOMPARE(comm.Read(&byte, 1), -1);
            QCOMPARE(comm.Write("x", 1), -1);
        }
        comm.Close();
    }
};

QTEST_GUILESS_MAIN(TestC32Thread)
#include "test_c32thread.moc"
