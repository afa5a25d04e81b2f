#include "app/mainsettings.h"
#include "tests/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

class TestMainSettings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString settingsFile(const QByteArray &contents)
    {
        const QString path = m_dir.filePath(QStringLiteral("KarvControl.ini"));
        return TestFiles::write(path, contents) ? path : QString();
    }

private slots:
    void unusableValuesGiveTheDefaults_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("comPort");
        QTest::addColumn<int>("baud");
        QTest::addColumn<QString>("address");
        QTest::newRow("no file") << QByteArray() << 0 << 3 << "01";
        QTest::newRow("stored values") << QByteArray("[Settings]\nCOMPort=4\nBaud=5\nAddress=31\n") << 4 << 5 << "1F";
        QTest::newRow("not numbers") << QByteArray("[Settings]\nCOMPort=abc\nBaud=\nAddress=1F\n") << 0 << 3 << "01";
        QTest::newRow("indexes out of range are kept")
            << QByteArray("[Settings]\nCOMPort=12\nBaud=-3\n") << 12 << -3 << "01";
        QTest::newRow("address above a byte") << QByteArray("[Settings]\nAddress=256\n") << 0 << 3 << "01";
        QTest::newRow("negative address") << QByteArray("[Settings]\nAddress=-1\n") << 0 << 3 << "01";
    }
    void unusableValuesGiveTheDefaults()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, comPort);
        QFETCH(int, baud);
        QFETCH(QString, address);
        const QString path = contents.isEmpty() ? m_dir.filePath(QStringLiteral("missing.ini")) : settingsFile(contents);
        const MainSettings::Values values = MainSettings(path).read();
        QCOMPARE(values.comPort, comPort);
        QCOMPARE(values.baud, baud);
        QCOMPARE(values.address, address);
    }

    void writingStopsAtAnAddressThatIsNoHexNumber_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("half blank") << "1 " << QByteArray("[Settings]\nCOMPort=-1\nBaud=5\n");
        QTest::newRow("not hex") << "G1" << QByteArray("[Settings]\nCOMPort=-1\nBaud=5\n");
    }
    void writingStopsAtAnAddressThatIsNoHexNumber()
    {
        QFETCH(QString, address);
        QFETCH(QByteArray, written);
        const QString path = settingsFile({});
        MainSettings(path).write({-1, 5, address}, true);
        QCOMPARE(TestFiles::read(path).replace("\r\n", "\n"), written);
    }
};

QTEST_GUILESS_MAIN(TestMainSettings)
#include "test_mainsettings.moc"
