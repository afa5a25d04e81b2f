// The exchange's reading of the port, on a pseudo-terminal whose far side
// the test plays. The component runs without its event thread here, so each
// receive stands for one received-bytes event with the count it reports.

#include "../serial/ptypair.h"

#include "app/exchange.h"
#include "serial/comm32.h"

#include <QTest>

namespace {

// The count the component reports with its next received-bytes event.
qsizetype waitingCount(TComm32 &port)
{
    int waiting = 0;
    const QMetaObject::Connection report =
        QObject::connect(&port, &TComm32::OnRxChar, [&](QObject *, int Count) { waiting = Count; });
    port.DispatchEvents(EV_RXCHAR);
    QObject::disconnect(report);
    return waiting;
}

} // namespace

class TestExchange : public QObject
{
    Q_OBJECT

private slots:
    void takesOnlyTheBytesItRead_data()
    {
        QTest::addColumn<QByteArray>("waiting");
        QTest::addColumn<QList<int>>("reportedCounts");
        QTest::addColumn<QList<int>>("rxCounts");
        QTest::addColumn<bool>("hangUp");
        QTest::newRow("count larger than what waits")
            << QByteArray::fromHex("200102") << QList<int>{8} << QList<int>{3} << false;
        QTest::newRow("count above the chunk leaves the rest in the port")
            << QByteArray(20, '\0') + QByteArray::fromHex("20010203") << QList<int>{24, 4} << QList<int>{0, 4}
            << false;
        QTest::newRow("no count, no read") << QByteArray::fromHex("2001") << QList<int>{0, -1, 2}
                                           << QList<int>{0, 0, 2} << false;
        QTest::newRow("hung-up port reads nothing")
            << QByteArray::fromHex("2001") << QList<int>{2, 5} << QList<int>{2, 2} << true;
    }
    void takesOnlyTheBytesItRead()
    {
        QFETCH(QByteArray, waiting);
        QFETCH(QList<int>, reportedCounts);
        QFETCH(QList<int>, rxCounts);
        QFETCH(bool, hangUp);
        PtyPair line;
        TComm32 port;
        port.SetDeviceName(line.SlavePath());
        port.SetSimple(true);
        port.Open();
        QVERIFY(port.IsOpen());
        Exchange exchange(port);
        line.Send(waiting);
        QTRY_COMPARE(waitingCount(port), waiting.size());
        for (qsizetype i = 0; i < reportedCounts.size(); ++i) {
            if (hangUp && i == reportedCounts.size() - 1)
                line.HangUp();
            QVERIFY(!exchange.receive(reportedCounts.at(i)));
            QCOMPARE(exchange.RxCount(), rxCounts.at(i));
        }
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "test_exchange.moc"
