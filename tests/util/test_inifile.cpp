#include "util/inifile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath(QStringLiteral("KarvControl.ini")); }

private slots:
    void init() { QFile::remove(path()); }

    void missingFileGivesDefaults()
    {
        const IniFile ini(path());
        QCOMPARE(ini.ReadString("Settings", "COMPort", "x"), QStringLiteral("x"));
        QCOMPARE(ini.ReadInteger("Settings", "Baud", 3), 3);
    }

    void readInteger_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << QByteArray("31") << 31;
        QTest::newRow("negative") << QByteArray("-1") << -1;
        QTest::newRow("blanks around") << QByteArray("  7 ") << 7;
        QTest::newRow("text") << QByteArray("abc") << 99;
        QTest::newRow("empty") << QByteArray("") << 99;
        QTest::newRow("trailing garbage") << QByteArray("12x") << 99;
        QTest::newRow("too large") << QByteArray("99999999999") << 99;
    }
    void readInteger()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, expected);
        writeFile(path(), "[Settings]\r\nAddress=" + value + "\r\n");
        QCOMPARE(IniFile(path()).ReadInteger("Settings", "Address", 99), expected);
    }

    void lookupIgnoresCaseAndOtherSections()
    {
        writeFile(path(), "[Ports]\nAddress=5\n[settings]\naddress=6\n");
        QCOMPARE(IniFile(path()).ReadInteger("Settings", "Address", 0), 6);
    }

    void writesKeepOtherSectionsAndLines()
    {
        writeFile(path(), "; made by hand\n[Ports]\nCOM1=/tmp/karvel-COM1\n\n[Settings]\nBaud=1\n");
        IniFile ini(path());
        QVERIFY(ini.WriteInteger("Settings", "COMPort", 2));
        QVERIFY(ini.WriteInteger("Settings", "Baud", 3));
        QVERIFY(ini.WriteString("Ports", "COM2", "/dev/ttyUSB0"));
        QCOMPARE(contents(path()),
                 QByteArray("; made by hand\n[Ports]\nCOM1=/tmp/karvel-COM1\nCOM2=/dev/ttyUSB0\n\n"
                            "[Settings]\nBaud=3\nCOMPort=2\n"));
    }

    void writesInOrderIntoNewFile()
    {
        IniFile ini(path());
        QVERIFY(ini.WriteInteger("Settings", "COMPort", 0));
        QVERIFY(ini.WriteBool("Settings", "K410", true));
        QCOMPARE(contents(path()), QByteArray("[Settings]\nCOMPort=0\nK410=1\n"));
    }

    void unwritableFileIsLeftAlone()
    {
        writeFile(path(), "[Settings]\nBaud=1\n");
        QFile::setPermissions(path(), QFileDevice::ReadOwner);
        if (QFileInfo(path()).isWritable())
            QSKIP("running with rights that ignore file permissions");
        QVERIFY(!IniFile(path()).WriteInteger("Settings", "Baud", 4));
        QCOMPARE(contents(path()), QByteArray("[Settings]\nBaud=1\n"));
    }

    void fileInMissingFolderCannotBeWritten()
    {
        IniFile ini(m_dir.filePath(QStringLiteral("missing/KarvControl.ini")));
        QVERIFY(!ini.WriteInteger("Settings", "Baud", 4));
        QCOMPARE(ini.ReadInteger("Settings", "Baud", 3), 3);
    }

    void oversizedFileIsNeitherReadNorRewritten()
    {
        QByteArray big = "[Settings]\nBaud=1\n";
        big.append(QByteArray(IniFile::kMaxFileSize, ';'));
        writeFile(path(), big);
        IniFile ini(path());
        QCOMPARE(ini.ReadInteger("Settings", "Baud", 3), 3);
        QVERIFY(!ini.WriteInteger("Settings", "Baud", 4));
        QCOMPARE(contents(path()).size(), big.size());
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_inifile.moc"
