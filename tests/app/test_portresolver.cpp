#include "fakedevices.h"
#include "tests/testfiles.h"

#include "app/portresolver.h"
#include "app/systemdevices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPortResolver : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    // Listed in no particular order, as the system may list them.
    const FakeDeviceSource m_devices{{bareDevice(QStringLiteral("/dev/ttyS10")),
                                      bareDevice(QStringLiteral("/dev/ttyS1"), {}, true),
                                      bareDevice(QStringLiteral("/dev/ttyUSB1")),
                                      bareDevice(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("usb-Zeta_Cable-if00")),
                                      bareDevice(QStringLiteral("/dev/ttyS0")),
                                      bareDevice(QStringLiteral("/dev/ttyACM0")),
                                      bareDevice(QStringLiteral("/dev/ttyS2")),
                                      bareDevice(QStringLiteral("/dev/ttyUSB2"), QStringLiteral("usb-Alpha_485-if00")),
                                      bareDevice(QStringLiteral("/dev/ttyS3"), {}, true)}};

    bool writeFile(const QString &name, const QByteArray &contents)
    {
        return TestFiles::write(m_dir.filePath(name), contents);
    }

private slots:
    void numberingOrder()
    {
        QStringList paths;
        for (const PortDevice &device : PortResolver::numbered(m_devices.devices()))
            paths << device.path;
        QCOMPARE(paths, (QStringList{"/dev/ttyUSB2", "/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyUSB1", "/dev/ttyS0",
                                     "/dev/ttyS2", "/dev/ttyS10"}));
    }

    void resolve_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("problem");
        QTest::newRow("first device") << "COM1" << "/dev/ttyUSB2" << "";
        QTest::newRow("name in lower case") << "com2" << "/dev/ttyUSB0" << "";
        QTest::newRow("Ports entry wins") << "COM3" << "/dev/pts/7" << "";
        QTest::newRow("relative entry refused")
            << "COM4" << "" << "COM4 is set to \"ttyUSB1\" in Ports, which is no absolute path.";
        QTest::newRow("empty entry counts as none") << "COM5" << "/dev/ttyS0" << "";
        QTest::newRow("last device") << "COM7" << "/dev/ttyS10" << "";
        QTest::newRow("beyond the devices present")
            << "COM8" << "" << "No serial device for COM8 (serial devices present: 7).";
        QTest::newRow("COM0") << "COM0" << "" << "";
        QTest::newRow("COM10") << "COM10" << "" << "";
        QTest::newRow("no port selected") << "" << "" << "";
    }
    void resolve()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QFETCH(QString, problem);
        QVERIFY(writeFile(QStringLiteral("KarvControl.ini"),
                          "[Settings]\nCOM1=/dev/wrong-section\n"
                          "[Ports]\nCOM3 = /dev/pts/7\r\nCOM4=ttyUSB1\nCOM5=\n"));
        const PortResolution port =
            PortResolver(m_devices, m_dir.filePath(QStringLiteral("KarvControl.ini"))).resolve(name);
        QCOMPARE(port.path, path);
        QCOMPARE(port.problem, problem);
    }

    // A Ports entry that links to a present adapter still shows what it is.
    void entryThroughALinkShowsTheAdapter()
    {
        const QString node = m_dir.filePath(QStringLiteral("ttyUSB0"));
        const QString link = m_dir.filePath(QStringLiteral("link"));
        QVERIFY(writeFile(QStringLiteral("ttyUSB0"), {}));
        QVERIFY(QFile::link(node, link));
        QVERIFY(writeFile(QStringLiteral("ports.ini"), "[Ports]\nCOM1=" + link.toUtf8() + "\n"));
        const FakeDeviceSource devices({{node, {}, QStringLiteral("Alpha Ltd"), QStringLiteral("USB 485"),
                                         QStringLiteral("A1"), false}});
        const PortResolver resolver(devices, m_dir.filePath(QStringLiteral("ports.ini")));
        QCOMPARE(resolver.resolve(QStringLiteral("COM1")).statusText(),
                 QStringLiteral("COM1: %1 (Alpha Ltd, USB 485, serial number A1), set in Ports").arg(link));
    }

    void placeholderUart_data()
    {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<bool>("placeholder");
        QTest::newRow("no UART") << QByteArray("0\n") << true;
        QTest::newRow("16550A") << QByteArray("4\n") << false;
        QTest::newRow("type 10 is no 0") << QByteArray("10\n") << false;
        QTest::newRow("no type attribute (USB)") << QByteArray() << false;
    }
    void placeholderUart()
    {
        QFETCH(QByteArray, type);
        QFETCH(bool, placeholder);
        const QString port = QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'));
        QVERIFY(QDir(m_dir.path()).mkpath(port));
        QVERIFY(type.isEmpty() || writeFile(port + QStringLiteral("/type"), type));
        QCOMPARE(SystemDeviceSource::isPlaceholderUart(m_dir.path(), port), placeholder);
    }
};

QTEST_GUILESS_MAIN(TestPortResolver)
#include "test_portresolver.moc"
