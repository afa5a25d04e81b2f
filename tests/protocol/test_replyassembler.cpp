#include "protocol/replyassembler.h"

#include <QTest>

using namespace Protocol;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray bytesOf(const ReplyFrame &frame)
{
    return QByteArray(reinterpret_cast<const char *>(frame.bytes.data()), ReplyFrame::Size);
}

} // namespace

class TestReplyAssembler : public QObject
{
    Q_OBJECT

private slots:
    // Each chunk is fed in turn; "replies" holds what each chunk completes
    // (empty: nothing yet).
    void assemble_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QList<QByteArray>>("replies");
        QTest::addColumn<int>("rxCountAfter");

        const QByteArray position = hex("2000FFFF7F000000");
        QTest::newRow("3 + 5") << QList<QByteArray>{hex("2000FF"), hex("FF7F000000")}
                               << QList<QByteArray>{{}, position} << 0;
        QTest::newRow("1 + 7") << QList<QByteArray>{hex("20"), hex("00FFFF7F000000")}
                               << QList<QByteArray>{{}, position} << 0;
        QTest::newRow("garbage before the code dropped")
            << QList<QByteArray>{hex("00FF") + position} << QList<QByteArray>{position} << 0;
        QTest::newRow("bytes after the reply dropped unexamined")
            << QList<QByteArray>{position + hex("0020AA11"), hex("0000000000000000")}
            << QList<QByteArray>{position, {}} << 0;
        QTest::newRow("continuation bytes taken as they come")
            << QList<QByteArray>{hex("20"), hex("00FF20"), hex("7F0000FF")}
            << QList<QByteArray>{{}, {}, hex("2000FF207F0000FF")} << 0;
        QTest::newRow("no reply code at all") << QList<QByteArray>{hex("0001FF99")}
                                              << QList<QByteArray>{{}} << 0;
        QTest::newRow("reply without decoding ends like any other")
            << QList<QByteArray>{hex("8101020304050607")} << QList<QByteArray>{hex("8101020304050607")} << 0;
        QTest::newRow("back-to-back replies in separate chunks")
            << QList<QByteArray>{position, hex("4400E8030F000000")}
            << QList<QByteArray>{position, hex("4400E8030F000000")} << 0;
        QTest::newRow("partial reply stays pending") << QList<QByteArray>{hex("FE43"), hex("7B0102")}
                                                     << QList<QByteArray>{{}, {}} << 4;
        QTest::newRow("empty chunk changes nothing") << QList<QByteArray>{hex("2000"), {}, hex("FFFF7F000000")}
                                                     << QList<QByteArray>{{}, {}, position} << 0;
    }
    void assemble()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QList<QByteArray>, replies);
        QFETCH(int, rxCountAfter);

        ReplyAssembler assembler;
        for (qsizetype i = 0; i < chunks.size(); ++i) {
            const std::optional<ReplyFrame> reply = assembler.feed(chunks[i]);
            QCOMPARE(reply ? bytesOf(*reply) : QByteArray(), replies[i]);
        }
        QCOMPARE(assembler.rxCount(), rxCountAfter);
    }

    // What the monitor shows as discarded: the bytes before a reply code and
    // those after the eighth, never a byte of the reply.
    void tellsWhatItDrops_data()
    {
        QTest::addColumn<QByteArray>("pending");
        QTest::addColumn<QByteArray>("chunk");
        QTest::addColumn<QByteArray>("skipped");
        QTest::addColumn<QByteArray>("surplus");
        const QByteArray position = hex("2000FFFF7F000000");
        QTest::newRow("noise before and after") << QByteArray() << hex("00FF") + position + hex("2011")
                                                << hex("00FF") << hex("2011");
        QTest::newRow("no reply code") << QByteArray() << hex("0001FF") << hex("0001FF") << QByteArray();
        QTest::newRow("continuation skips nothing") << hex("2000") << hex("00FFFF7F0000") + hex("AA")
                                                    << QByteArray() << hex("AA");
        QTest::newRow("partial reply drops nothing") << QByteArray() << hex("2000") << QByteArray() << QByteArray();
    }
    void tellsWhatItDrops()
    {
        QFETCH(QByteArray, pending);
        QFETCH(QByteArray, chunk);
        QFETCH(QByteArray, skipped);
        QFETCH(QByteArray, surplus);
        ReplyAssembler assembler;
        assembler.feed(pending);
        const ReplyAssembler::Outcome outcome = assembler.take(chunk);
        QCOMPARE(outcome.skipped.toByteArray(), skipped);
        QCOMPARE(outcome.surplus.toByteArray(), surplus);
    }

    // After a time-out the next reply is assembled from its own first byte.
    void resetAbandonsPartialReply()
    {
        ReplyAssembler assembler;
        QVERIFY(!assembler.feed(hex("20010203")));
        assembler.reset();
        QCOMPARE(assembler.rxCount(), 0);

        const QByteArray fresh = hex("30010000000000AA");
        const std::optional<ReplyFrame> reply = assembler.feed(hex("00") + fresh);
        QVERIFY(reply);
        QCOMPARE(bytesOf(*reply), fresh);
    }

};

QTEST_GUILESS_MAIN(TestReplyAssembler)
#include "test_replyassembler.moc"
