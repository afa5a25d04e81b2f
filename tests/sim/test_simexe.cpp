// The karvel-sim program: its link, its signals and its options.

#include "serialline.h"
#include "tests/testfiles.h"

#include <csignal>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kProgram = QStringLiteral(KARVEL_SIM);

// Starts the program and returns the device path it prints; empty on failure.
QString start(QProcess &sim, const QStringList &args)
{
    sim.start(kProgram, args);
    while (!sim.canReadLine()) {
        if (!sim.waitForReadyRead(5000))
            return {};
    }
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

bool stopped(QProcess &sim, int signal)
{
    ::kill(pid_t(sim.processId()), signal);
    return sim.waitForFinished(5000) && sim.exitStatus() == QProcess::NormalExit
        && sim.exitCode() == 0;
}

bool gone(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink();
}

} // namespace

class TestSimExe : public QObject
{
    Q_OBJECT

private slots:
    void publishesTheLinkUntilStopped_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
    }
    void publishesTheLinkUntilStopped()
    {
        QFETCH(int, signal);
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("karvel-COM1"));
        QProcess sim;
        const QString device = start(sim, {"--link", link, "--address", "05", "--leading", "00ff"});
        QVERIFY(device.startsWith(QStringLiteral("/dev/")));
        QCOMPARE(QFileInfo(link).symLinkTarget(), device);

        SerialLine line(link.toStdString());
        line.write(bytesOf(command(0x20, 0, {}, 0x05)));
        const Bytes reply = line.read(10);
        QCOMPARE(reply.size(), std::size_t(10));
        QCOMPARE(reply.at(2), 0x20);

        QVERIFY(stopped(sim, signal));
        QVERIFY(gone(link));
    }

    // The EEPROM written by the boot loader holds the stored parameters the
    // unit comes back with.
    void dumpsTheBootLoaderAndTheParametersWhenStopped()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("dump"));
        QProcess sim;
        const QString device = start(sim, {"--in-boot-loader", "--dump", out});
        SerialLine line(device.toStdString(), B9600);
        line.write({'A', 0x00, 0x00, 'C', 0xAB, 0xCD, 'A', 0x00, 0x00, 'm', 'D', 0x5A, 'x'});
        QCOMPARE(line.read(6).size(), std::size_t(6));
        QVERIFY(stopped(sim, SIGTERM));

        const auto contents = [&](const char *name) {
            return TestFiles::read(QDir(out).filePath(QString::fromLatin1(name)));
        };
        const QByteArray flash = contents("flash.bin");
        QCOMPARE(flash.size(), 0x10000);
        QCOMPARE(flash.left(3), QByteArray("\xab\xcd\xff"));
        QCOMPARE(flash.mid(0xF800, 8), QByteArray("HLXMBOOT"));
        const QByteArray eeprom = contents("eeprom.bin");
        QCOMPARE(eeprom.size(), 0x1000);
        QCOMPARE(eeprom.left(2), QByteArray("\x5a\x00", 2));
        QCOMPARE(eeprom.back(), '\xff');
        QCOMPARE(contents("requests.txt"),
                 QByteArray("A 0000 00 00\nC 0000 AB CD\nA 0001 00 00\nm 0000\nD 0000 5A\nx 0001\n"));
        const QList<QByteArray> parameters = contents("configuration.txt").split('\n');
        QCOMPARE(parameters.first(), QByteArray("10 stored 5A 00 00 00 00 00 actual 5A 00 00 00 00 00"));
        QCOMPARE(parameters.at(1), QByteArray("11 stored 14 50 64 00 00 00 actual 14 50 64 00 00 00"));
    }

    void replacesALinkLeftBehind()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("karvel-COM1"));
        QVERIFY(QFile::link(QStringLiteral("/nonexistent/pts"), link));
        QProcess sim;
        const QString device = start(sim, {"--link", link});
        QCOMPARE(QFileInfo(link).symLinkTarget(), device);
        QVERIFY(stopped(sim, SIGTERM));
        QVERIFY(gone(link));
    }

    void leavesAnOrdinaryFileAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notes"));
        QVERIFY(TestFiles::write(path, "keep me"));
        QProcess sim;
        sim.start(kProgram, {"--link", path});
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitCode(), 1);
        QCOMPARE(TestFiles::read(path), QByteArray("keep me"));
    }

    void rejectsABadOptionWithUsage()
    {
        QProcess sim;
        sim.start(kProgram, {"--baud", "12345"});
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitCode(), 2);
        const QByteArray error = sim.readAllStandardError();
        QVERIFY(error.contains("--baud"));
        QVERIFY(error.contains("usage: karvel-sim"));
    }
};

QTEST_GUILESS_MAIN(TestSimExe)
#include "test_simexe.moc"
