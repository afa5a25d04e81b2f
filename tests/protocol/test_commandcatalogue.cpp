#include "protocol/commandcatalogue.h"
#include "util/karvutils.h"

#include <QTest>

using namespace Protocol;

namespace {

// The reply groups as the unit's firmware documents them.
const QList<quint8> kOnRead{0x10, 0x11, 0x12, 0x14, 0x15, 0x16, 0x17, 0x51, 0x54, 0x55, 0x56, 0x57,
                            0x58, 0x59, 0x63, 0x6A, 0x6B, 0x6C, 0x6D, 0x70, 0x73, 0x80, 0xC1};
const QList<quint8> kAlways{0x20, 0x21, 0x30, 0x43, 0x52, 0x53, 0x71, 0x74, 0x81, 0x82};

} // namespace

class TestCommandCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void expectsReply_data()
    {
        QTest::addColumn<quint8>("code");
        for (const CommandInfo &command : CommandCatalogue())
            QTest::addRow("$%02X", command.code) << command.code;
        QTest::newRow("unknown $00") << quint8(0x00);
        QTest::newRow("unknown $FF") << quint8(0xFF);
    }
    void expectsReply()
    {
        QFETCH(quint8, code);
        const bool always = kAlways.contains(code);
        const bool onRead = kOnRead.contains(code);
        const QList<quint8> modifiers{0x00, 0x01, 0x02, 0x03, 0xFF};
        for (quint8 p0 : modifiers) {
            const bool expected = always || (onRead && p0 >= 2);
            QVERIFY2(ExpectsReply(code, p0) == expected, qPrintable(QStringLiteral("P0 %1").arg(p0)));
        }
    }

    void replyGroups()
    {
        QCOMPARE(ReplyOnReadCodes(), kOnRead);
        QCOMPARE(ReplyAlwaysCodes(), kAlways);

        QList<quint8> start = kOnRead + kAlways + QList<quint8>{0x44};
        std::sort(start.begin(), start.end());
        QCOMPARE(ReplyStartCodes(), start);
        for (int byte = 0; byte < 256; ++byte)
            QCOMPARE(IsReplyStartCode(quint8(byte)), start.contains(quint8(byte)));
    }

    void entriesAreConsistent()
    {
        QSet<quint8> codes;
        for (const CommandInfo &command : CommandCatalogue()) {
            QVERIFY2(!codes.contains(command.code), "code listed twice");
            codes.insert(command.code);
            if (command.page == CommandPage::None)
                continue;
            const QString prefix = QLatin1Char('$') + KarvUtils::HexText(command.code) + QLatin1Char(':');
            QVERIFY2(command.itemText.startsWith(prefix), command.itemText.latin1());
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandCatalogue)
#include "test_commandcatalogue.moc"
