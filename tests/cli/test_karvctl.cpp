// karvctl end to end: the program, copied into a folder of its own (where it
// reads its settings file), against karvel-sim processes on pseudo-terminals.

#include "../installer/firmwarefiles.h"
#include "serial/comm32.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <vector>

namespace {

// Long enough for a flash of a small image; the processes end far sooner.
constexpr int ProcessLimit = 60000;

// One karvel-sim process; its device path is the first line it prints. Its
// supply stays as set, so that the values printed can be compared.
class Sim
{
public:
    explicit Sim(const QStringList &arguments = {})
    {
        m_process.setProgram(QStringLiteral(KARVSIM_PATH));
        m_process.setArguments(QStringList{QStringLiteral("--steady-supply")} + arguments);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        while (!m_process.canReadLine() && m_process.waitForReadyRead(ProcessLimit)) {
        }
        m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~Sim()
    {
        m_process.terminate();
        m_process.waitForFinished(ProcessLimit);
    }

    const QString &device() const { return m_device; }

private:
    QProcess m_process;
    QString m_device;
};

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

} // namespace

class TestKarvctl : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exitCodes_data();
    void exitCodes();
    void queryOutput_data();
    void queryOutput();
    void settingsDefaultsAndPorts();
    void watchUntilInterrupted();
    void parallelFlashOneFailing();
    void readFlashGivesImageBack();
    void verifyFindsPlantedDifference();
    void interruptDuringFlash();
    void configCloneAndDiff();

private:
    Run karvctl(const QStringList &arguments) const;
    QString firmwareFile(int size) const;
    void writeSettings(const QByteArray &text) const;

    QTemporaryDir m_dir;
    QString m_program;
};

void TestKarvctl::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_program = m_dir.filePath(QStringLiteral("karvctl"));
    QVERIFY(QFile::copy(QStringLiteral(KARVCTL_PATH), m_program));
}

Run TestKarvctl::karvctl(const QStringList &arguments) const
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(m_program, arguments);
    if (!process.waitForFinished(ProcessLimit))
        return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QString TestKarvctl::firmwareFile(int size) const
{
    const QString path = m_dir.filePath(QStringLiteral("firmware-%1.hex").arg(size));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(FirmwareFiles::hexFile(FirmwareFiles::taggedImage(size)));
    return path;
}

void TestKarvctl::writeSettings(const QByteArray &text) const
{
    QFile file(m_dir.filePath(QStringLiteral("KarvControl.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

void TestKarvctl::exitCodes_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("text");

    const QStringList none;
    QTest::newRow("help") << none << QStringList{"--help"} << 0 << "130  Interrupted";
    QTest::newRow("version") << none << QStringList{"--version"} << 0 << "karvctl 2.";
    QTest::newRow("no command") << none << QStringList{} << 2 << "no command given";
    QTest::newRow("unknown command") << none << QStringList{"fly"} << 2 << "unknown command 'fly'";
    QTest::newRow("unknown query") << none << QStringList{"--port", "@", "get", "speed"} << 2 << "unknown query 'speed'";
    QTest::newRow("bad rate") << none << QStringList{"--baud", "1234", "get", "position"} << 2 << "unknown rate";
    QTest::newRow("bad byte") << none << QStringList{"--port", "@", "send", "2G"} << 2 << "'2G' is not a byte";
    QTest::newRow("one port for get") << none << QStringList{"--port", "@,/dev/null", "get", "position"} << 2
                                      << "get takes one port";
    QTest::newRow("bad HEX file") << none << QStringList{"--port", "@", "flash", "@bad"} << 2
                                  << "is not a valid HEX file!\n(Improper record format in line 1)";
    QTest::newRow("clear without --yes") << none << QStringList{"--port", "@", "clear-eeprom"} << 2 << "--yes";
    QTest::newRow("no such device") << none << QStringList{"--port", "/nonexistent/tty", "get", "position"} << 3
                                    << "Could not open port /nonexistent/tty!\n/nonexistent/tty: No such file";
    QTest::newRow("boot entry fails") << none << QStringList{"--port", "/nonexistent/tty", "clear-eeprom", "--yes"}
                                      << 3 << "The port /nonexistent/tty could not be opened!";
    QTest::newRow("no reply") << QStringList{"--silent"} << QStringList{"--port", "@", "get", "position"} << 1
                              << "No reply from Karvel.\nPlease check the connection\nand the addresses!";
    QTest::newRow("not a Karvel 2") << QStringList{"--device-type", "6402"}
                                    << QStringList{"--port", "@", "--json", "verify", "@good"} << 1
                                    << "{\"error\":\"@: The connected device is not a Karvel 2!\"}";
}

void TestKarvctl::exitCodes()
{
    QFETCH(QStringList, simArguments);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, text);

    const Sim sim(simArguments);
    QFile bad(m_dir.filePath(QStringLiteral("bad.hex")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(";not a record\r\n");
    bad.close();
    for (QString &argument : arguments) {
        if (argument == QLatin1String("@"))
            argument = sim.device();
        else if (argument == QLatin1String("@bad"))
            argument = bad.fileName();
        else if (argument == QLatin1String("@good"))
            argument = firmwareFile(64);
    }
    text.replace(QLatin1String("@"), sim.device());
    const Run run = karvctl(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((run.out + run.err).contains(text), qPrintable(run.out + run.err));
}

void TestKarvctl::queryOutput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("output");

    QTest::newRow("position") << QStringList{"get", "position"} << "position=0\n";
    QTest::newRow("position json") << QStringList{"--json", "get", "position"} << "{\"position\":0}\n";
    QTest::newRow("currents") << QStringList{"get", "currents"} << "standby=20 constant=80 acceleration=100\n";
    QTest::newRow("switches") << QStringList{"get", "switches"} << "left=off right=off reference=on\n";
    QTest::newRow("switches json") << QStringList{"--json", "get", "switches"}
                                   << "{\"left\":false,\"reference\":true,\"right\":false}\n";
    QTest::newRow("firmware") << QStringList{"get", "firmware"} << "version=1.23 serial-number=4711 reset-flag=on\n";
    QTest::newRow("volt-temp, not awaited by the panel")
        << QStringList{"get", "volt-temp"} << "voltage=240 temperature=35\n";
    QTest::newRow("send with reply") << QStringList{"send", "53"}
                                     << "reply=\"53 00 14 50 64 00 00 00\" standby=20 constant=80 acceleration=100\n";
    QTest::newRow("send json") << QStringList{"--json", "send", "20"}
                               << "{\"position\":0,\"reply\":\"20 00 00 00 00 00 00 00\"}\n";
    QTest::newRow("send without reply") << QStringList{"send", "2A"} << "Sent.\n";
    QTest::newRow("quiet") << QStringList{"--quiet", "get", "position"} << "";
}

void TestKarvctl::queryOutput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, output);

    const Sim sim;
    const Run run = karvctl(QStringList{"--port", sim.device()} + arguments);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out, output);
    QCOMPARE(run.exitCode, 0);
}

void TestKarvctl::settingsDefaultsAndPorts()
{
    const Sim sim({"--address", "05", "--baud", "9600"});
    writeSettings("[Settings]\nCOMPort=2\nBaud=2\nAddress=05\n[Ports]\nCOM3=" + sim.device().toLocal8Bit() + "\n");
    const Run get = karvctl({"get", "position"});
    QFile::remove(m_dir.filePath(QStringLiteral("KarvControl.ini")));
    QCOMPARE(get.out, QStringLiteral("position=0\n"));

    writeSettings("[Ports]\nCOM3=" + sim.device().toLocal8Bit() + "\n");
    const Run ports = karvctl({"--json", "ports"});
    QFile::remove(m_dir.filePath(QStringLiteral("KarvControl.ini")));
    QCOMPARE(ports.exitCode, 0);
    bool listed = false;
    for (const QString &line : ports.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QJsonObject port = QJsonDocument::fromJson(line.toUtf8()).object();
        if (port.value(QStringLiteral("port")) == QStringLiteral("COM3")) {
            QCOMPARE(port.value(QStringLiteral("device")).toString(), sim.device());
            QCOMPARE(port.value(QStringLiteral("mapped")).toBool(), true);
            listed = true;
        }
    }
    QVERIFY2(listed, qPrintable(ports.out));
}

void TestKarvctl::watchUntilInterrupted()
{
    const Sim sim;
    QProcess process;
    process.start(m_program, {"--port", sim.device(), "get", "encoder", "--watch", "100"});
    int lines = 0;
    while (lines < 3 && process.waitForReadyRead(ProcessLimit)) {
        while (process.canReadLine()) {
            const QString line = QString::fromLocal8Bit(process.readLine());
            QVERIFY2(line.contains(QRegularExpression(QStringLiteral("^time=\\S+T\\S+ encoder=0\\n$"))),
                     qPrintable(line));
            ++lines;
        }
    }
    QCOMPARE(lines, 3);
    ::kill(pid_t(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(ProcessLimit));
    QCOMPARE(process.exitCode(), 130);
}

void TestKarvctl::parallelFlashOneFailing()
{
    const Sim first;
    const Sim failing({"--unanswered", "20"});
    const Sim third;
    const Run run = karvctl({"--port", first.device() + ',' + failing.device(), "--port", third.device(), "flash",
                             firmwareFile(256)});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.out.contains(first.device() + ": Successful!\n"), qPrintable(run.out));
    QVERIFY2(run.out.contains(third.device() + ": Successful!\n"), qPrintable(run.out));
    QVERIFY2(run.out.endsWith("2 of 3 units succeeded.\n"), qPrintable(run.out));
    QVERIFY2(run.err.contains(failing.device() + ": Programming error (2)!"), qPrintable(run.err));
    // One line per step of each unit when standard error is no terminal.
    QVERIFY2(run.err.contains(third.device() + ": Verifying...\n"), qPrintable(run.err));
}

void TestKarvctl::readFlashGivesImageBack()
{
    const Sim sim;
    QCOMPARE(karvctl({"--port", sim.device(), "--quiet", "flash", firmwareFile(300)}).exitCode, 0);
    const QString path = m_dir.filePath(QStringLiteral("read.hex"));
    const Run run = karvctl({"--port", sim.device(), "--json", "read-flash", path});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(run.out.toUtf8()).object().value(QStringLiteral("size")).toInt(), 0xF800);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray flash;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QByteArray record = QByteArray::fromHex(line.trimmed().mid(1));
        if (record.size() > 5 && record.at(3) == 0)
            flash += record.mid(4, record.at(0));
    }
    QCOMPARE(flash.size(), 0xF800);
    QCOMPARE(flash.left(300), FirmwareFiles::taggedImage(300));
    // The application marker at the end of the application area.
    QCOMPARE(flash.right(2), QByteArray("\x12\x34", 2));
}

void TestKarvctl::verifyFindsPlantedDifference()
{
    const Sim sim({"--corrupt-read", "0105"});
    const QString firmware = firmwareFile(400);
    // The flash's own verify reads the planted byte first.
    const Run flash = karvctl({"--port", sim.device(), "flash", firmware});
    QCOMPARE(flash.exitCode, 1);
    QVERIFY2(flash.err.contains("Verify error (3)!"), qPrintable(flash.err));
    const Run verify = karvctl({"--port", sim.device(), "verify", firmware});
    QCOMPARE(verify.exitCode, 1);
    QVERIFY2(verify.out.contains("First difference at 0x0105"), qPrintable(verify.out));
}

void TestKarvctl::interruptDuringFlash()
{
    const Sim sim;
    QProcess process;
    process.setReadChannel(QProcess::StandardError);
    process.start(m_program, {"--port", sim.device(), "flash", firmwareFile(4096)});
    QString progress;
    while (!progress.contains(QLatin1String("Writing...")) && process.waitForReadyRead(ProcessLimit))
        progress += QString::fromLocal8Bit(process.readAllStandardError());
    ::kill(pid_t(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(ProcessLimit));
    QCOMPARE(process.exitCode(), 130);
    QVERIFY(QString::fromLocal8Bit(process.readAllStandardError()).contains(QLatin1String("Interrupted.")));

    TComm32 port;
    port.SetDeviceName(sim.device());
    port.Open();
    QVERIFY(port.IsOpen());
}

// A unit's configuration into a second unit with other settings: diff's
// exit code finds the difference, write removes it, a bad file is refused
// before the port opens.
void TestKarvctl::configCloneAndDiff()
{
    qputenv("XDG_STATE_HOME", m_dir.filePath(QStringLiteral("state")).toUtf8());
    const Sim source;
    const Sim target;
    const QString file = m_dir.filePath(QStringLiteral("unit.conf"));
    QCOMPARE(karvctl({"--port", source.device(), "send", "11", "00", "1E", "5A", "78"}).exitCode, 0);
    const Run read = karvctl({"--port", source.device(), "config", "read", file});
    QCOMPARE(read.exitCode, 0);
    QVERIFY2(read.out.startsWith("Read 22 commands from unit 01"), qPrintable(read.out));

    const Run differs = karvctl({"--port", target.device(), "--json", "config", "diff", file});
    QCOMPARE(differs.exitCode, 1);
    const QJsonArray differences =
        QJsonDocument::fromJson(differs.out.toUtf8()).object().value(QStringLiteral("differences")).toArray();
    QCOMPARE(differences.size(), 3);
    QCOMPARE(differences.first().toObject().value(QStringLiteral("field")).toString(), QStringLiteral("Standby"));

    const Run write = karvctl({"--port", target.device(), "config", "write", file});
    QCOMPARE(write.exitCode, 0);
    QVERIFY2(write.out.contains("$11: Current Control: written and verified"), qPrintable(write.out));
    QVERIFY(write.out.startsWith("Backup of the unit: " + m_dir.filePath(QStringLiteral("state/KarvControl/backups/4711-"))));
    QCOMPARE(karvctl({"--port", target.device(), "config", "diff", file}).exitCode, 0);

    QFile bad(m_dir.filePath(QStringLiteral("bad.conf")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("[$11: Current Control]\nStandby=300\n");
    bad.close();
    const Run refused = karvctl({"--port", "/nonexistent", "config", "write", bad.fileName()});
    QCOMPARE(refused.exitCode, 2);
    QVERIFY2(refused.err.contains("line 2: Standby \"300\" is out of range"), qPrintable(refused.err));
}

QTEST_GUILESS_MAIN(TestKarvctl)
#include "test_karvctl.moc"
