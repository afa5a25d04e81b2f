#include "installer/bootreply.h"

#include <QTest>

// How a reply is gathered from the pieces the port reports.
class TestBootReply : public QObject
{
    Q_OBJECT

private slots:
    void gathersPieces_data();
    void gathersPieces();
    void cutsOverlongText();
};

void TestBootReply::gathersPieces_data()
{
    QTest::addColumn<char>("request");
    QTest::addColumn<QList<QByteArray>>("pieces");
    // What each event reads: a binary reply leaves a short piece queued.
    QTest::addColumn<QList<int>>("taken");
    QTest::addColumn<bool>("done");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("text in three pieces") << 'S' << QList<QByteArray>{"HLXM", "HLXMBOOT", "HLXMBOOT\r"}
                                          << QList<int>{4, 4, 1} << true << QByteArray("HLXMBOOT\r");
    QTest::newRow("CR then LF does not end a line") << 'p' << QList<QByteArray>{"256\r\n"} << QList<int>{5} << false
                                                    << QByteArray("256\r\n");
    QTest::newRow("text stops at a zero byte") << 'A' << QList<QByteArray>{QByteArray("ok\0\r", 4)} << QList<int>{4}
                                               << false << QByteArray("ok");
    QTest::newRow("binary one byte at a time") << 'R' << QList<QByteArray>{"\x12", "\x12\x34"} << QList<int>{0, 2}
                                               << true << QByteArray("\x12\x34");
    QTest::newRow("binary three at once") << 'a' << QList<QByteArray>{"KVX"} << QList<int>{3} << true
                                          << QByteArray("KVX");
}

// Each piece is everything waiting in the port at that event.
void TestBootReply::gathersPieces()
{
    QFETCH(char, request);
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QList<int>, taken);
    QFETCH(bool, done);
    QFETCH(QByteArray, reply);

    BootReply gathered;
    gathered.Begin(request);
    qsizetype read = 0;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const QByteArray waiting = pieces[i].mid(read);
        const int take = gathered.BytesToTake(int(waiting.size()));
        QCOMPARE(take, taken[i]);
        gathered.Take(waiting.constData(), take);
        read += take;
    }
    QCOMPARE(gathered.ReplyDone(), done);
    if (gathered.ReplyIsText()) {
        QCOMPARE(gathered.Text(), reply);
    } else {
        for (int i = 0; i < reply.size(); ++i)
            QCOMPARE(gathered.Byte(i), quint8(reply[i]));
    }
}

// Nothing is written beyond the 255 characters the buffer holds, and a new
// request starts from an empty reply.
void TestBootReply::cutsOverlongText()
{
    BootReply gathered;
    gathered.Begin('S');
    const QByteArray piece(300, 'x');
    QCOMPARE(gathered.BytesToTake(int(piece.size())), 255);
    gathered.Take(piece.constData(), 255);
    gathered.Take("\r", 1);
    QCOMPARE(gathered.Text(), QByteArray(255, 'x'));
    QVERIFY(!gathered.ReplyDone());

    gathered.Begin('e');
    gathered.Take("\r", 1);
    QCOMPARE(gathered.Text(), QByteArray("\r"));
    QVERIFY(gathered.ReplyDone());
}

QTEST_APPLESS_MAIN(TestBootReply)
#include "test_bootreply.moc"
