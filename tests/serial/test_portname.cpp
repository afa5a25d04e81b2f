#include "serial/portname.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPortName : public QObject
{
    Q_OBJECT

private slots:
    void resolve_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("absolute path as it is") << "/dev/pts/7" << "/dev/pts/7";
        QTest::newRow("mapped") << "COM3" << "/dev/ttyUSB0";
        QTest::newRow("mapped, name in lower case") << "com3" << "/dev/ttyUSB0";
        QTest::newRow("not mapped: ttyS(n-1)") << "COM1" << "/dev/ttyS0";
        QTest::newRow("not mapped, last") << "COM9" << "/dev/ttyS8";
        QTest::newRow("empty mapping counts as none") << "COM5" << "/dev/ttyS4";
        QTest::newRow("relative mapping refused") << "COM4" << "";
        QTest::newRow("COM0") << "COM0" << "";
        QTest::newRow("COM10") << "COM10" << "";
        QTest::newRow("relative name") << "ttyUSB0" << "";
        QTest::newRow("empty") << "" << "";
    }
    void resolve()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QTemporaryDir dir;
        const QString map = dir.filePath(QStringLiteral("KarvControl.ini"));
        QFile file(map);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\nCOM1=/dev/wrong-section\n"
                   "[Ports]\nCOM3 = /dev/ttyUSB0\r\nCOM4=ttyUSB1\nCOM5=\n");
        file.close();
        QCOMPARE(ResolvePortName(name, map), path);
    }

    void missingMapFileFallsBack()
    {
        QCOMPARE(ResolvePortName(QStringLiteral("COM2"), QStringLiteral("/nonexistent/KarvControl.ini")),
                 QStringLiteral("/dev/ttyS1"));
    }
};

QTEST_GUILESS_MAIN(TestPortName)
#include "test_portname.moc"
