#include "protocol/commandframe.h"
#include "protocol/exchangetiming.h"
#include "util/convert_error.h"

#include <QTest>

using namespace Protocol;
using Texts = std::array<QString, CommandFrame::Size>;

Q_DECLARE_METATYPE(Texts)

class TestSending : public QObject
{
    Q_OBJECT

private slots:
    void frameFromTexts_data()
    {
        QTest::addColumn<Texts>("texts");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<bool>("expectsReply");
        QTest::newRow("position query")
            << Texts{"01", "20", "00", "00", "00", "00", "00", "00", "00"}
            << QByteArray::fromHex("012000000000000000") << true;
        QTest::newRow("set temporarily awaits nothing")
            << Texts{"01", "11", "01", "05", "0A", "0F", "00", "00", "00"}
            << QByteArray::fromHex("011101050A0F000000") << false;
        QTest::newRow("read actual value awaits")
            << Texts{"01", "11", "03", "00", "00", "00", "00", "00", "00"}
            << QByteArray::fromHex("011103000000000000") << true;
        QTest::newRow("every position kept apart")
            << Texts{"A1", "6F", "02", "B3", "C4", "D5", "E6", "F7", "08"}
            << QByteArray::fromHex("A16F02B3C4D5E6F708") << false;
        QTest::newRow("long texts give their low byte")
            << Texts{"1", "20", "0", "FFFFFFFF", "12C", "00", "00", "00", "00"}
            << QByteArray::fromHex("012000FF2C00000000") << true;
    }
    void frameFromTexts()
    {
        QFETCH(Texts, texts);
        QFETCH(QByteArray, wire);
        QFETCH(bool, expectsReply);
        const CommandFrame frame = CommandFrame::fromTexts(texts);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(frame.bytes().data()), CommandFrame::Size), wire);
        QCOMPARE(frame.expectsReply(), expectsReply);
    }

    // The operator learns of the first text that fails, in wire order.
    void firstFailingTextIsReported()
    {
        const Texts partialAddressAndBadP6{"0 ", "20", "00", "00", "00", "00", "00", "00", "X"};
        try {
            CommandFrame::fromTexts(partialAddressAndBadP6);
            QFAIL("no conversion error");
        } catch (const EConvertError &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("'$0 ' ist kein gültiger Integerwert"));
        }
    }

    void sendGate_data()
    {
        QTest::addColumn<quint32>("now");
        QTest::addColumn<quint32>("lastSendTick");
        QTest::addColumn<int>("outQueueCount");
        QTest::addColumn<bool>("awaitingReply");
        QTest::addColumn<bool>("open");
        QTest::newRow("first send after opening") << 5000000u << 0u << 0 << false << true;
        QTest::newRow("99 ms after a send") << 10099u << 10000u << 0 << false << false;
        QTest::newRow("100 ms after a send") << 10100u << 10000u << 0 << false << true;
        QTest::newRow("transmit queue not empty") << 20000u << 10000u << 3 << false << false;
        QTest::newRow("reply awaited") << 20000u << 10000u << 0 << true << false;
        QTest::newRow("99 ms across the wrap") << 0x23u << 0xFFFFFFC0u << 0 << false << false;
        QTest::newRow("100 ms across the wrap") << 0x24u << 0xFFFFFFC0u << 0 << false << true;
    }
    void sendGate()
    {
        QFETCH(quint32, now);
        QFETCH(quint32, lastSendTick);
        QFETCH(int, outQueueCount);
        QFETCH(bool, awaitingReply);
        QFETCH(bool, open);
        QCOMPARE(SendGateOpen(now, lastSendTick, outQueueCount, awaitingReply), open);
    }

    void replyTimeout_data()
    {
        QTest::addColumn<quint32>("now");
        QTest::addColumn<quint32>("lastSendTick");
        QTest::addColumn<bool>("awaitingReply");
        QTest::addColumn<bool>("timedOut");
        QTest::newRow("1000 ms: still waiting") << 11000u << 10000u << true << false;
        QTest::newRow("1001 ms: given up") << 11001u << 10000u << true << true;
        QTest::newRow("nothing awaited") << 900000u << 10000u << false << false;
        QTest::newRow("512 ms across the wrap") << 0x100u << 0xFFFFFE00u << true << false;
        QTest::newRow("1001 ms across the wrap") << 0x1E9u << 0xFFFFFE00u << true << true;
    }
    void replyTimeout()
    {
        QFETCH(quint32, now);
        QFETCH(quint32, lastSendTick);
        QFETCH(bool, awaitingReply);
        QFETCH(bool, timedOut);
        QCOMPARE(ReplyTimedOut(now, lastSendTick, awaitingReply), timedOut);
    }
};

QTEST_GUILESS_MAIN(TestSending)
#include "test_sending.moc"
