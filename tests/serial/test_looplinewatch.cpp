#include "serialtestsupport.h"
#include "ptypair.h"
#include "serial/comm32.h"

#include <QSignalSpy>
#include <QTest>

#include <stdexcept>

// A component whose line events come from its own thread's event loop: the
// same events as from the event thread, without that thread.
class TestLoopLineWatch : public QObject
{
    Q_OBJECT

private:
    static void OpenInLoop(TComm32 &Comm, const PtyPair &Pty)
    {
        Comm.SetInLoopEvents(true);
        OpenOnPty(Comm, Pty);
    }

private slots:
    void bytesArriveWithoutAnEventThread()
    {
        PtyPair pty;
        TComm32 comm;
        QByteArray received;
        // A bounded read, as the links do: what is left is raised again.
        CollectInPieces(comm, received, 7);
        OpenInLoop(comm, pty);
        QCOMPARE(EventThreadCount(), 0);
        const QByteArray bytes = QByteArray("0123456789").repeated(5);
        pty.Send(bytes);
        QTRY_COMPARE(received, bytes);
        QCOMPARE(comm.Write("ok", 2), 2);
        QCOMPARE(pty.Receive(2), QByteArray("ok"));
    }

    void handlerErrorEndsTheEventsButNotThePort()
    {
        PtyPair pty;
        TComm32 comm;
        int raised = 0;
        connect(&comm, &TComm32::OnRxChar, this, [&](QObject *, int) {
            ++raised;
            throw std::runtime_error("handler failed");
        });
        OpenInLoop(comm, pty);
        pty.Send("a");
        QTRY_COMPARE(raised, 1);
        pty.Send("b");
        QTest::qWait(50);
        QCOMPARE(raised, 1);
        QVERIFY(comm.IsOpen());
        QCOMPARE(comm.Write("c", 1), 1);
    }

    void idlePortDoesNotSpin_data() { AddIdlePortRows(); }
    void idlePortDoesNotSpin()
    {
        QFETCH(bool, hangUp);
        PtyPair pty;
        TComm32 comm;
        int raised = 0;
        connect(&comm, &TComm32::OnRxChar, this, [&](QObject *, int) { ++raised; });
        QSignalSpy disconnected(&comm, &TComm32::OnDisconnect);
        OpenInLoop(comm, pty);
        pty.Send("unread");
        if (hangUp)
            pty.HangUp();

        const double cpuBefore = ProcessCpuSeconds();
        QTest::qWait(300);
        const double cpu = ProcessCpuSeconds() - cpuBefore;
        QVERIFY2(cpu < 0.03, "the loop keeps waking on an idle port");
        QVERIFY(raised <= 1);
        QCOMPARE(disconnected.size(), hangUp ? 1 : 0);
        comm.Close();
        QVERIFY(!comm.IsOpen());
    }
};

QTEST_GUILESS_MAIN(TestLoopLineWatch)
#include "test_looplinewatch.moc"
