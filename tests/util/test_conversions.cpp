#include "util/convert_error.h"
#include "util/karvutils.h"

#include <QTest>

using namespace KarvUtils;

class TestConversions : public QObject
{
    Q_OBJECT

private slots:
    void signExtend_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<int>("signBit");
        QTest::addColumn<qint32>("expected");
        QTest::newRow("24-bit largest positive") << 0x7FFFFF << 23 << 8388607;
        QTest::newRow("24-bit smallest negative") << 0x800000 << 23 << -8388608;
        QTest::newRow("24-bit minus one") << 0xFFFFFF << 23 << -1;
        QTest::newRow("negative input untouched") << -1 << 23 << -1;
        QTest::newRow("one subtraction only, high bits kept") << 0x1000000 << 23 << 0;
        QTest::newRow("14-bit largest positive") << 0x1FFF << 13 << 8191;
        QTest::newRow("14-bit smallest negative") << 0x2000 << 13 << -8192;
        QTest::newRow("16-bit value in 14-bit field") << 0xFFFF << 13 << 49151;
        QTest::newRow("sign bit 0 means no field") << 1 << 0 << 1;
        QTest::newRow("widest field") << 0x40000000 << 30 << -0x40000000;
    }
    void signExtend()
    {
        QFETCH(qint32, value);
        QFETCH(int, signBit);
        QFETCH(qint32, expected);
        QCOMPARE(SignExtend(value, signBit), expected);
    }

    void intToBin_data()
    {
        QTest::addColumn<quint32>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("expected");
        QTest::newRow("padded") << 5u << 7 << "0000101";
        QTest::newRow("bits above the width dropped") << 0x85u << 7 << "0000101";
        QTest::newRow("no digits") << 5u << 0 << "";
        QTest::newRow("full word") << 0x80000001u << 32 << "10000000000000000000000000000001";
    }
    void intToBin()
    {
        QFETCH(quint32, value);
        QFETCH(int, digits);
        QFETCH(QString, expected);
        QCOMPARE(IntToBin(value, digits), expected);
    }

    void binToInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint32>("expected");
        QTest::newRow("seven digits") << "1010101" << 0x55;
        QTest::newRow("all ones") << "1111111" << 0x7F;
        QTest::newRow("inner blank ends the walk") << "101 011" << 3;
        QTest::newRow("trailing blanks trimmed") << "101    " << 5;
        QTest::newRow("control characters trimmed") << "\t\n11\r" << 3;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("junk left of the blank ignored") << "x2 1" << 1;
        QTest::newRow("digits past 32 shift out") << "1" + QString(32, QLatin1Char('0')) << 0;
    }
    void binToInt()
    {
        QFETCH(QString, text);
        QFETCH(qint32, expected);
        QCOMPARE(BinToInt(text), expected);
    }

    void binToIntRejects_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("digit 2") << "1020000";
        QTest::newRow("letter") << "10a";
        QTest::newRow("inner tab") << "1\t1";
    }
    void binToIntRejects()
    {
        QFETCH(QString, text);
        try {
            BinToInt(text);
            QFAIL("no conversion error");
        } catch (const EConvertError &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Ungültige Binärzahl"));
        }
    }

    void hexText_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<int>("minDigits");
        QTest::addColumn<QString>("expected");
        QTest::newRow("leading zero") << 10 << 2 << "0A";
        QTest::newRow("more digits than asked") << 300 << 2 << "12C";
        QTest::newRow("negative as 32 bits") << -1 << 2 << "FFFFFFFF";
        QTest::newRow("eight digits") << 0x1234ABCD << 8 << "1234ABCD";
        QTest::newRow("smallest integer") << qint32(0x80000000) << 8 << "80000000";
    }
    void hexText()
    {
        QFETCH(qint32, value);
        QFETCH(int, minDigits);
        QFETCH(QString, expected);
        QCOMPARE(HexText(value, minDigits), expected);
    }

    void hexTextToByte_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("two digits") << "7F" << 0x7F;
        QTest::newRow("one digit") << "A" << 0x0A;
        QTest::newRow("lower case") << "ff" << 0xFF;
        QTest::newRow("low byte of three digits") << "12C" << 0x2C;
        QTest::newRow("low byte of a word") << "FFFFFFFF" << 0xFF;
        QTest::newRow("leading zeros beyond eight digits") << "0000000001" << 0x01;
    }
    void hexTextToByte()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(int(HexTextToByte(text)), expected);
    }

    void hexTextToIntKeepsAllBits()
    {
        QCOMPARE(HexTextToInt(QStringLiteral("1234ABCD")), 0x1234ABCD);
        QCOMPARE(HexTextToInt(QStringLiteral("FFFFFFFF")), -1);
    }

    void hexTextRejects_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("trailing blank") << "0 ";
        QTest::newRow("leading blank") << " 0";
        QTest::newRow("empty") << "";
        QTest::newRow("not a digit") << "0G";
        QTest::newRow("sign") << "-1";
        QTest::newRow("more than 32 bits") << "100000000";
    }
    void hexTextRejects()
    {
        QFETCH(QString, text);
        try {
            HexTextToByte(text);
            QFAIL("no conversion error");
        } catch (const EConvertError &e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("'$%1' ist kein gültiger Integerwert").arg(text));
        }
    }
};

QTEST_GUILESS_MAIN(TestConversions)
#include "test_conversions.moc"
