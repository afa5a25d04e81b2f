#include "app/openfailuretext.h"
#include "serial/comm32.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <grp.h>
#include <unistd.h>

// The missing device is shown by the main window's test.
class TestOpenFailureText : public QObject
{
    Q_OBJECT

private slots:
    void heldPortAndDeniedAccessSayWhatToDo()
    {
        QCOMPARE(OpenFailureText(QStringLiteral("COM1"), {QStringLiteral("/dev/ttyS0"), EWOULDBLOCK, true}),
                 QStringLiteral("Could not open port COM1!\r/dev/ttyS0 is held by another program."));

        QTemporaryDir dir;
        QFile device(dir.filePath(QStringLiteral("ttyUSB0")));
        QVERIFY(device.open(QIODevice::WriteOnly));
        const group *owner = getgrgid(getegid());
        QVERIFY(owner);
        QCOMPARE(OpenFailureText(QStringLiteral("COM2"), {device.fileName(), EACCES, false}),
                 QStringLiteral("Could not open port COM2!\r%1: Permission denied\rYour user must be in group '%2' "
                                "to use it; log in again after joining it.")
                     .arg(device.fileName(), QString::fromLocal8Bit(owner->gr_name)));
    }
};

QTEST_GUILESS_MAIN(TestOpenFailureText)
#include "test_openfailuretext.moc"
