#include "serialtestsupport.h"

#include "ptypair.h"
#include "serial/comm32.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <ctime>

int EventThreadCount()
{
    int count = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "TC32Thread")
            ++count;
    }
    return count;
}

void OpenOnPty(TComm32 &Comm, const PtyPair &Pty)
{
    Comm.SetDeviceName(Pty.SlavePath());
    Comm.SetMonitorEvents(evRxChar);
    Comm.Open();
    QVERIFY(Comm.IsOpen());
}

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

void AddIdlePortRows()
{
    QTest::addColumn<bool>("hangUp");
    QTest::newRow("far side hung up") << true;
    QTest::newRow("bytes nobody reads") << false;
}

void CollectInPieces(TComm32 &Comm, QByteArray &Received, int PieceSize)
{
    QObject::connect(&Comm, &TComm32::OnRxChar, &Comm, [&Comm, &Received, PieceSize](QObject *, int Count) {
        QByteArray piece(qMin(Count, PieceSize), '\0');
        const int got = Comm.Read(piece.data(), int(piece.size()));
        Received.append(piece.left(qMax(got, 0)));
    });
}
