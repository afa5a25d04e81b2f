#include "config/configfile.h"
#include "protocol/commandcatalogue.h"

#include <QTest>

using namespace Qt::StringLiterals;
using ConfigFields::ParameterBytes;

namespace {

// A unit whose every command holds something other than zeros, within the
// ranges of the controls.
Configuration sampleUnit()
{
    Configuration configuration;
    configuration.header = {u"1.23"_s, u"4711"_s, u"01"_s, u"/dev/ttyUSB0"_s, u"2026-12-10T09:30:00Z"_s};
    quint8 seed = 1;
    for (const ConfigFields::Command &command : ConfigFields::Commands()) {
        ParameterBytes bytes{};
        for (const ConfigFields::Field &field : command.fields) {
            qint64 value = field.kind == ConfigFields::Kind::Number ? std::max(field.min, 0) + seed : seed;
            while (!ConfigFields::InRange(field, value))
                value /= 2;
            ConfigFields::Place(field, value, bytes);
            ++seed;
        }
        configuration.set(command.code, bytes);
    }
    return configuration;
}

const QByteArray kCurrents = "[$11: Current Control]\nStandby=20\nRunning=80\nAccelerating=100\n"
                             "Bytes=14 50 64 00 00 00\n";

} // namespace

class TestConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void roundTripKeepsEveryByte();
    void fieldsSitWhereThePagesPutThem_data();
    void fieldsSitWhereThePagesPutThem();
    void refusals_data();
    void refusals();
    void bytesMayBeLeftOut();
    void rewriteKeepsComments();
};

void TestConfigFile::roundTripKeepsEveryByte()
{
    const Configuration unit = sampleUnit();
    QCOMPARE(unit.entries().size(), 25);
    const QByteArray text = ConfigFile::render(unit);
    const ConfigFile::Loaded loaded = ConfigFile::parse(text);
    QVERIFY2(loaded.problems.isEmpty(), qPrintable(ConfigFile::problemText(loaded.problems)));
    QCOMPARE(loaded.configuration.entries().size(), unit.entries().size());
    for (const ConfigEntry &entry : unit.entries())
        QCOMPARE(*loaded.configuration.find(entry.code), entry.bytes);
    QCOMPARE(loaded.configuration.header.serialNumber, u"4711"_s);
    QCOMPARE(loaded.configuration.header.port, u"/dev/ttyUSB0"_s);
    QCOMPARE(ConfigFile::render(loaded.configuration, text), text);
}

// The packed and offset fields read back the bytes the pages compose.
void TestConfigFile::fieldsSitWhereThePagesPutThem_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("clock word") << 0x6A << u"Clk=1/64\nDiffClk=1/256\nVClock=1/256\nVFactor=4095"_s
                                << QByteArray("\xFF\x01\xFF\x0F\x00\x00", 6);
    QTest::newRow("negative wave") << 0x17 << u"Resolution=67\nWave=-1\nMixed Decay=yes"_s
                                   << QByteArray("\x43\xFF\x00\x00\x01\x00", 6);
    QTest::newRow("switch mode skips P1 and P5") << 0x54
                                                 << u"Switches=RefSw = EndSw\nSearch=Search Right Sw.\n"
                                                    "Movement=Linear\nTravelcheck=Travelcheck"_s
                                                 << QByteArray("\x00\x01\x01\x01\x00\x01", 6);
    QTest::newRow("CAN baud code is index plus one") << 0xC0 << u"Baud Rate=1 MBaud"_s
                                                     << QByteArray("\x04\x00\x00\x00\x00\x00", 6);
    QTest::newRow("step/direction ticked sends 00") << 0x50 << u"Enabled=yes"_s << QByteArray(6, '\0');
    QTest::newRow("CAN ID least significant first") << 0x55 << u"ID=1234ABCD"_s
                                                    << QByteArray("\xCD\xAB\x34\x12\x00\x00", 6);
    QTest::newRow("encoder bits") << 0x70 << u"Config.=0000101\nPrediv.=2\nDeviation=300\nMultiplier=9"_s
                                  << QByteArray("\x05\x02\x2C\x01\x09\x00", 6);
}

void TestConfigFile::fieldsSitWhereThePagesPutThem()
{
    QFETCH(int, code);
    QFETCH(QString, lines);
    QFETCH(QByteArray, bytes);
    const QString section = QString(Protocol::FindCommand(quint8(code))->itemText);
    const ConfigFile::Loaded loaded = ConfigFile::parse(('[' + section + "]\n" + lines + '\n').toUtf8());
    QVERIFY2(loaded.problems.isEmpty(), qPrintable(ConfigFile::problemText(loaded.problems)));
    const ParameterBytes held = *loaded.configuration.find(quint8(code));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(held.data()), 6), bytes);
}

void TestConfigFile::refusals_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("why");
    const QByteArray unit = "# cloned\n[Unit]\nSerial Number=4711\n\n";
    QTest::newRow("unknown section") << unit + "[Motor]\nStandby=1\n" << 5 << u"unknown section [Motor]"_s;
    QTest::newRow("unknown field") << unit + kCurrents + "Holding=3\n" << 10
                                   << u"unknown field \"Holding\" in [$11: Current Control]"_s;
    QTest::newRow("out of range") << unit + "[$63: Bow]\nBow=0\n" << 6
                                  << u"Bow \"0\" is out of range: a number from 1 to 8191"_s;
    QTest::newRow("not an item") << unit + "[$10: Current Limit]\nCurrent Limit=4/3\n" << 6
                                 << u"one of \"Inputs\", \"1/3\", \"2/3\", \"3/3\""_s;
    QTest::newRow("field twice") << unit + kCurrents + "Running=80\n" << 10
                                 << u"\"Running\" given twice (first on line 7)"_s;
    QTest::newRow("bytes disagree") << unit + QByteArray(kCurrents).replace("Running=80", "Running=81") << 7
                                    << u"Running 81 disagrees with the bytes, which give 80"_s;
    QTest::newRow("bytes out of range") << unit + "[$12: Predivider]\nBytes=11 00 00 00 00 00\n" << 6
                                        << u"the bytes give Predivider 17, out of range"_s;
    QTest::newRow("bad bytes") << unit + "[$12: Predivider]\nBytes=11 00 00\n" << 6
                               << u"not six two-digit hexadecimal bytes"_s;
    QTest::newRow("not a configuration command") << unit + "[$20: Position]\nBytes=00 00 00 00 00 00\n" << 5
                                                 << u"[$20: Position] is not a configuration command"_s;
    QTest::newRow("section twice") << unit + kCurrents + kCurrents << 10
                                   << u"section [$11: Current Control] given twice (first on line 5)"_s;
    QTest::newRow("field lacking") << unit + "[$14: AMax / VMax]\nAMax=100\n" << 5
                                   << u"[$14: AMax / VMax] lacks VMax and gives no Bytes"_s;
    QTest::newRow("before any section") << QByteArray("Standby=3\n") + kCurrents << 1
                                        << u"\"Standby\" stands before any section"_s;
    QTest::newRow("no entry") << unit + kCurrents + "Standby 20\n" << 10
                              << u"neither a section, a \"name=value\" line nor a comment"_s;
    QTest::newRow("not UTF-8") << unit + kCurrents + "# \xFF\xFE\n" << 10 << u"not UTF-8 text"_s;
    QTest::newRow("later version") << "[Unit]\nFormat=2\n" + kCurrents + "[Ramps]\nShape=S\n" << 8
                                   << u"unknown section [Ramps]: the file was written by a later version of the "
                                      "panel (format 2; this one reads format 1)"_s;
}

void TestConfigFile::refusals()
{
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(QString, why);
    const ConfigFile::Loaded loaded = ConfigFile::parse(text);
    QVERIFY(!loaded.problems.isEmpty());
    const ConfigFile::Problem first = loaded.problems.first();
    QVERIFY2(first.why.contains(why), qPrintable(first.why));
    QCOMPARE(first.line, line);
}

void TestConfigFile::bytesMayBeLeftOut()
{
    const ConfigFile::Loaded loaded =
        ConfigFile::parse("[$C1: RS232/485 Parameters]\nBaudrate=38500\nRecv ID=0A\nSend ID=1F\nDelay (ms)=10\n");
    QVERIFY2(loaded.problems.isEmpty(), qPrintable(ConfigFile::problemText(loaded.problems)));
    QCOMPARE(*loaded.configuration.find(0xC1), (ParameterBytes{0x05, 0x0A, 0x1F, 0x0A, 0, 0}));
}

void TestConfigFile::rewriteKeepsComments()
{
    const QByteArray text = "# bench unit 3, tuned by hand\n[Unit]\nSerial Number=12\n\n"
                            "; the currents that keep it cool\n[$11: Current Control]\nStandby=20\n"
                            "# lower than the factory's\nRunning=80\nAccelerating=100\nBytes=14 50 64 00 00 00\n\n";
    ConfigFile::Loaded loaded = ConfigFile::parse(text);
    QVERIFY2(loaded.problems.isEmpty(), qPrintable(ConfigFile::problemText(loaded.problems)));
    loaded.configuration.set(0x11, {21, 80, 100, 0, 0, 0});
    const QByteArray rewritten = ConfigFile::render(loaded.configuration, text);
    QVERIFY(rewritten.startsWith("# bench unit 3, tuned by hand\n[Unit]\n"));
    QVERIFY(rewritten.contains("\n\n; the currents that keep it cool\n[$11: Current Control]\nStandby=21\n"
                               "# lower than the factory's\nRunning=80\n"));
    QVERIFY(rewritten.contains("Bytes=15 50 64 00 00 00\n\n"));
    QCOMPARE(*ConfigFile::parse(rewritten).configuration.find(0x11), (ParameterBytes{21, 80, 100, 0, 0, 0}));
}

QTEST_GUILESS_MAIN(TestConfigFile)
#include "test_configfile.moc"
