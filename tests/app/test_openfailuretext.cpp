#include "app/openfailuretext.h"
#include "serial/comm32.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <grp.h>
#include <unistd.h>

class TestOpenFailureText : public QObject
{
    Q_OBJECT

private slots:
    void reasonFollowsTheHeadline_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("systemError");
        QTest::addColumn<bool>("held");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing device") << "COM3" << "/dev/ttyUSB7" << ENOENT << false
                                        << "Could not open port COM3!\r/dev/ttyUSB7: No such file or directory";
        QTest::newRow("held by the exclusive mode") << "COM1" << "/dev/ttyS0" << EBUSY << true
                                                    << "Could not open port COM1!\r/dev/ttyS0 is held by another program.";
        QTest::newRow("held by the lock") << "COM1" << "/dev/ttyS0" << EWOULDBLOCK << true
                                          << "Could not open port COM1!\r/dev/ttyS0 is held by another program.";
        QTest::newRow("no device for the name") << "" << "" << ENOENT << false << "Could not open port !";
    }
    void reasonFollowsTheHeadline()
    {
        QFETCH(QString, port);
        QFETCH(QString, path);
        QFETCH(int, systemError);
        QFETCH(bool, held);
        QFETCH(QString, text);
        QCOMPARE(OpenFailureText(port, {path, systemError, held}), text);
    }

    void deniedAccessNamesTheDevicesGroup()
    {
        QTemporaryDir dir;
        const QString device = dir.filePath(QStringLiteral("ttyUSB0"));
        QFile file(device);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const group *owner = getgrgid(getegid());
        QVERIFY(owner);
        const QString expected = QStringLiteral("Could not open port COM2!\r%1: Permission denied\r"
                                                "Your user must be in group '%2' to use it; log in again after joining it.")
                                     .arg(device, QString::fromLocal8Bit(owner->gr_name));
        QCOMPARE(OpenFailureText(QStringLiteral("COM2"), {device, EACCES, false}), expected);
        // A device gone meanwhile has no group to name.
        QCOMPARE(OpenFailureText(QStringLiteral("COM2"), {device + QLatin1Char('x'), EACCES, false}),
                 QStringLiteral("Could not open port COM2!\r%1x: Permission denied").arg(device));
    }
};

QTEST_GUILESS_MAIN(TestOpenFailureText)
#include "test_openfailuretext.moc"
