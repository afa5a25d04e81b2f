// The parts of karvctl that need no unit: reading the command line, choosing
// the units from options and settings, naming a reply's values, and the HEX
// text that read-flash writes.

#include "../app/fakedevices.h"
#include "app/settingslocation.h"
#include "cli/options.h"
#include "cli/replyfields.h"
#include "cli/unittarget.h"
#include "installer/heximage.h"
#include "installer/hexloader.h"
#include "installer/hexwriter.h"
#include "installer/hexerrors.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCliParts : public QObject
{
    Q_OBJECT

private slots:
    void options_data();
    void options();
    void targets_data();
    void targets();
    void replyFields_data();
    void replyFields();
    void hexTextReadsBack();
};

void TestCliParts::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    // What the options hold, or the start of the message.
    QTest::addColumn<QString>("expected");

    QTest::newRow("ports from a list and repeated")
        << QStringList{"flash", "a.hex", "--port", "COM1, COM2", "--port=/dev/ttyUSB0"} << 0
        << "flash [a.hex] ports COM1,COM2,/dev/ttyUSB0";
    QTest::newRow("options after the arguments") << QStringList{"send", "20", "--address", "0a", "--baud", "57600"}
                                                 << 0 << "send [20] address 10 baud 57600";
    QTest::newRow("watch at the pacing") << QStringList{"get", "position", "--watch", "100"} << 0
                                         << "get [position] watch 100";
    QTest::newRow("send takes eight bytes at most")
        << QStringList{"send", "1", "2", "3", "4", "5", "6", "7", "8", "9"} << 2 << "karvctl: unexpected argument '9'";
    QTest::newRow("get needs its query") << QStringList{"get"} << 2 << "karvctl: get needs more arguments";
    QTest::newRow("ports takes none") << QStringList{"ports", "x"} << 2 << "karvctl: unexpected argument 'x'";
    QTest::newRow("one port for read-flash") << QStringList{"read-flash", "f", "--port", "COM1,COM2"} << 2
                                             << "karvctl: read-flash takes one port";
    QTest::newRow("a port twice") << QStringList{"verify", "f", "--port", "COM1,COM1"} << 2
                                  << "karvctl: a port is given twice";
    QTest::newRow("empty port name") << QStringList{"flash", "f", "--port", "COM1,"} << 2
                                     << "karvctl: empty port name";
    QTest::newRow("rate the panel lacks") << QStringList{"ports", "--baud", "115200"} << 2
                                          << "karvctl: unknown rate '115200'";
    QTest::newRow("three-digit address") << QStringList{"ports", "--address", "100"} << 2
                                         << "karvctl: the address '100'";
    QTest::newRow("watch below the pacing") << QStringList{"get", "position", "--watch", "99"} << 2
                                            << "karvctl: --watch takes at least 100";
    QTest::newRow("watch for send") << QStringList{"send", "20", "--watch", "500"} << 2
                                    << "karvctl: --watch is for get only";
    QTest::newRow("unknown option") << QStringList{"ports", "--fast"} << 2 << "karvctl: Unknown option 'fast'";
}

void TestCliParts::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);

    const ParsedCommandLine parsed = parseOptions(QStringList{"karvctl"} + arguments);
    QCOMPARE(parsed.exitCode, exitCode);
    if (!parsed.options) {
        QVERIFY2(parsed.standardError.startsWith(expected), qPrintable(parsed.standardError));
        return;
    }
    const Options &o = *parsed.options;
    QString shown = o.command + " [" + o.arguments.join(',') + ']';
    if (!o.ports.isEmpty())
        shown += " ports " + o.ports.join(',');
    if (o.address)
        shown += QStringLiteral(" address %1").arg(*o.address);
    if (o.baud)
        shown += QStringLiteral(" baud %1").arg(*o.baud);
    if (o.watchMs)
        shown += QStringLiteral(" watch %1").arg(*o.watchMs);
    QCOMPARE(shown, expected);
}

void TestCliParts::targets_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no settings file") << QByteArray() << QStringList{} << 0 << "COM1 /dev/ttyUSB0 19200 1";
    QTest::newRow("the panel's choices")
        << QByteArray("[Settings]\nCOMPort=1\nBaud=0\nAddress=47\n") << QStringList{} << 0
        << "COM2 /dev/ttyS0 2400 47";
    QTest::newRow("options win") << QByteArray("[Settings]\nCOMPort=1\nBaud=0\nAddress=47\n")
                                 << QStringList{"--port", "/dev/pts/7", "--baud", "9600", "--address", "03"} << 0
                                 << "/dev/pts/7 /dev/pts/7 9600 3";
    QTest::newRow("the port map") << QByteArray("[Ports]\nCOM4=/tmp/karvel-COM4\n") << QStringList{"--port", "com4"}
                                  << 0 << "com4 /tmp/karvel-COM4 19200 1";
    QTest::newRow("settings out of range") << QByteArray("[Settings]\nCOMPort=12\nBaud=9\nAddress=XY\n")
                                           << QStringList{} << 0 << "COM1 /dev/ttyUSB0 19200 1";
    QTest::newRow("no device for the name") << QByteArray() << QStringList{"--port", "COM3"} << 3
                                            << "Could not open port COM3!\rNo serial device for COM3";
    QTest::newRow("no port name") << QByteArray() << QStringList{"--port", "ttyUSB0"} << 2
                                  << "'ttyUSB0' is neither COM1..COM9 nor a device path.";
}

void TestCliParts::targets()
{
    QFETCH(QByteArray, settings);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);

    const QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("KarvControl.ini"));
    if (!settings.isEmpty()) {
        QFile ini(file);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(settings);
    }
    const FakeDeviceSource devices({bareDevice("/dev/ttyS0"), bareDevice("/dev/ttyUSB0")});
    const ParsedCommandLine parsed = parseOptions(QStringList{"karvctl", "get", "position"} + arguments);
    QVERIFY(parsed.options);
    const TargetChoice choice = ChooseTargets(*parsed.options, SettingsLocation(file), devices);
    QCOMPARE(choice.exitCode, exitCode);
    if (exitCode != 0) {
        QVERIFY2(choice.problem.startsWith(expected), qPrintable(choice.problem));
        return;
    }
    QCOMPARE(choice.targets.size(), 1);
    const UnitTarget &t = choice.targets.constFirst();
    QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(t.name, t.device).arg(t.baud).arg(t.address), expected);
}

void TestCliParts::replyFields_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("fields");

    QTest::newRow("negative position") << QByteArray::fromHex("2000FFFFFF000000") << "position=-1";
    QTest::newRow("actual velocity and LEDs") << QByteArray::fromHex("21000A00F43F0100")
                                              << "acceleration=-12 velocity=10 reference-search=on correction=off";
    QTest::newRow("firmware revision") << QByteArray::fromHex("4369010067120000")
                                       << "version=1.05 serial-number=4711 reset-flag=on";
    QTest::newRow("hexadecimal text stays text") << QByteArray::fromHex("5500230100000000")
                                                 << "EditReceiveID=00000123";
    QTest::newRow("alarm reasons with blanks") << QByteArray::fromHex("7400010000000100")
                                               << "alarm-reason=\"DriverError PositionError\"";
    QTest::newRow("a code without a decoding") << QByteArray::fromHex("9900000000000000") << "";
}

void TestCliParts::replyFields()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, fields);

    Protocol::ReplyFrame frame;
    std::copy(reply.begin(), reply.end(), frame.bytes.begin());
    QCOMPARE(Output::textLine(ReplyFields(frame)), fields);
}

void TestCliParts::hexTextReadsBack()
{
    // 33 bytes: two whole records and one of a single byte.
    QByteArray bytes(33, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(0xF0 - i);
    bytes.replace(1, 8, "KV2V1.07");
    const QByteArray text = Installer::HexFileText(bytes);
    QVERIFY(text.endsWith(":00000001FF\r\n"));
    Installer::HexImage image;
    Installer::LoadHexData(text, image);
    QCOMPARE(image.ImageLast, quint32(32));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(image.Image.data()), 33), bytes);
}

QTEST_GUILESS_MAIN(TestCliParts)
#include "test_cliparts.moc"
