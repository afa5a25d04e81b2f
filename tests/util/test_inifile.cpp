#include "util/inifile.h"
#include "tests/testfiles.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A tmpfs of the given size on folder, in a mount namespace of this test
// process alone: nobody else sees it, and it goes with the process.
bool mountSmallDisk(const QString &folder, const QByteArray &size)
{
    return ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
        && ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, ("size=" + size).constData()) == 0;
}

// Writes to path until the disk refuses; true when it did so for want of space.
bool fillDisk(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const QByteArray block(4096, 'x');
    while (fd >= 0 && ::write(fd, block.constData(), block.size()) > 0) {
    }
    const bool full = errno == ENOSPC;
    ::close(fd);
    return full;
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath(QStringLiteral("KarvControl.ini")); }

private slots:
    void init()
    {
        QFile::remove(path());
        QDir(path()).removeRecursively();
    }

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
        QVERIFY(TestFiles::write(path(), "[Settings]\r\nAddress=" + value + "\r\n"));
        QCOMPARE(IniFile(path()).ReadInteger("Settings", "Address", 99), expected);
    }

    void lookupIgnoresCaseAndOtherSections()
    {
        QVERIFY(TestFiles::write(path(), "[Ports]\nAddress=5\n[settings]\naddress=6\n"));
        QCOMPARE(IniFile(path()).ReadInteger("Settings", "Address", 0), 6);
    }

    void writesKeepOtherSectionsAndLines()
    {
        QVERIFY(TestFiles::write(path(), "; made by hand\n[Ports]\nCOM1=/tmp/karvel-COM1\n\n; the speed\n"
                                         "[Settings]\nBaud=1\n"));
        IniFile ini(path());
        QVERIFY(ini.WriteInteger("Settings", "COMPort", 2));
        QVERIFY(ini.WriteInteger("Settings", "Baud", 3));
        QVERIFY(ini.WriteStrings("Ports", {{"COM2", "/dev/ttyUSB0"}, {"com1", "/dev/ttyACM0"}}));
        QCOMPARE(TestFiles::read(path()),
                 QByteArray("; made by hand\n[Ports]\ncom1=/dev/ttyACM0\nCOM2=/dev/ttyUSB0\n\n; the speed\n"
                            "[Settings]\nBaud=3\nCOMPort=2\n"));
        QCOMPARE(ini.ReadString("Ports", "COM2", {}), QStringLiteral("/dev/ttyUSB0"));
    }

    void writesInOrderIntoNewFile()
    {
        IniFile ini(path());
        QVERIFY(ini.WriteInteger("Settings", "COMPort", 0));
        QVERIFY(ini.WriteBool("Settings", "K410", true));
        QCOMPARE(TestFiles::read(path()), QByteArray("[Settings]\nCOMPort=0\nK410=1\n"));
    }

    // Baud is rewritten, Address added; every other byte stays.
    void untouchedBytesStay_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("Latin-1") << QByteArray("; K\xF6ln\n[Ports]\nCOM1=/dev/ttyS\xE9\n[Settings]\nBaud=1\n")
                                 << QByteArray("; K\xF6ln\n[Ports]\nCOM1=/dev/ttyS\xE9\n[Settings]\nBaud=3\nAddress=5\n");
        QTest::newRow("CRLF") << QByteArray("[Settings]\r\nBaud=1\r\n\r\n[Ports]\r\n")
                              << QByteArray("[Settings]\r\nBaud=3\r\nAddress=5\r\n\r\n[Ports]\r\n");
        QTest::newRow("mixed") << QByteArray("[Ports]\r\nCOM1=x\n[Settings]\nBaud=1\r\nK410=1\n")
                               << QByteArray("[Ports]\r\nCOM1=x\n[Settings]\nBaud=3\r\nK410=1\nAddress=5\n");
        QTest::newRow("no final line end") << QByteArray("[Settings]\r\nBaud=1")
                                           << QByteArray("[Settings]\r\nBaud=3\r\nAddress=5");
        QTest::newRow("new section") << QByteArray("[Ports]\r\nCOM1=x")
                                     << QByteArray("[Ports]\r\nCOM1=x\r\n[Settings]\r\nBaud=3\r\nAddress=5");
    }
    void untouchedBytesStay()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QVERIFY(TestFiles::write(path(), before));
        QVERIFY(IniFile(path()).WriteStrings("Settings", {{"Baud", "3"}, {"Address", "5"}}));
        QCOMPARE(TestFiles::read(path()), after);
    }

    void entriesThatWouldNotReadBackAreRefused_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("line break in value") << "Ports" << "COM1" << "/dev/x\n[Settings]";
        QTest::newRow("carriage return") << "Ports" << "COM1" << "/dev/x\r";
        QTest::newRow("blank at the end") << "Ports" << "COM1" << "/dev/x ";
        QTest::newRow("= in key") << "Ports" << "COM=1" << "/dev/x";
        QTest::newRow("empty key") << "Ports" << "" << "/dev/x";
        QTest::newRow("entry reads as header") << "Ports" << "[COM1" << "x]";
        QTest::newRow("empty section") << "" << "COM1" << "/dev/x";
    }
    void entriesThatWouldNotReadBackAreRefused()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QByteArray before = "[Ports]\nCOM2=/dev/y\n";
        QVERIFY(TestFiles::write(path(), before));
        QVERIFY(!IniFile(path()).WriteStrings(section, {{"COM3", "/dev/z"}, {key, value}}));
        QCOMPARE(TestFiles::read(path()), before);
    }

    void unwritableFileIsLeftAlone()
    {
        QVERIFY(TestFiles::write(path(), "[Settings]\nBaud=1\n"));
        QFile::setPermissions(path(), QFileDevice::ReadOwner);
        if (QFileInfo(path()).isWritable())
            QSKIP("running with rights that ignore file permissions");
        QVERIFY(!IniFile(path()).WriteInteger("Settings", "Baud", 4));
        QCOMPARE(TestFiles::read(path()), QByteArray("[Settings]\nBaud=1\n"));
    }

    void saveKeepsModeAndOwner()
    {
        QVERIFY(TestFiles::write(path(), "[Settings]\nBaud=1\n"));
        const QByteArray native = QFile::encodeName(path());
        QCOMPARE(::chmod(native.constData(), 0640), 0);
        // Only the privileged can hand the file to someone else first.
        const uid_t owner = ::geteuid() == 0 ? 65534 : ::geteuid();
        QCOMPARE(::chown(native.constData(), owner, ::getegid()), 0);
        QVERIFY(IniFile(path()).WriteInteger("Settings", "Baud", 4));
        struct stat info {};
        QCOMPARE(::stat(native.constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0640));
        QCOMPARE(info.st_uid, owner);
    }

    void fileInMissingFolderCannotBeWritten()
    {
        IniFile ini(m_dir.filePath(QStringLiteral("missing/KarvControl.ini")));
        QVERIFY(!ini.WriteInteger("Settings", "Baud", 4));
        QCOMPARE(ini.ReadInteger("Settings", "Baud", 3), 3);
    }

    // None of them is opened: a FIFO without writer would block the reader.
    void whatIsNoPlainFileIsLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("folder") << "folder";
        QTest::newRow("link to a settings file") << "link";
        QTest::newRow("dangling link") << "dangling";
    }
    void whatIsNoPlainFileIsLeftAlone()
    {
        QFETCH(QString, kind);
        const QByteArray native = QFile::encodeName(path());
        const QString target = m_dir.filePath(QStringLiteral("target.ini"));
        QFile::remove(target);
        if (kind == "fifo")
            QCOMPARE(::mkfifo(native.constData(), 0600), 0);
        else if (kind == "folder")
            QVERIFY(QDir().mkdir(path()));
        else
            QVERIFY(QFile::link(target, path()));
        if (kind == "link")
            QVERIFY(TestFiles::write(target, "[Settings]\nBaud=1\n"));
        struct stat before {};
        QCOMPARE(::lstat(native.constData(), &before), 0);

        IniFile ini(path());
        QCOMPARE(ini.ReadInteger("Settings", "Baud", 3), 3);
        QVERIFY(!ini.WriteInteger("Settings", "Baud", 4));

        struct stat after {};
        QCOMPARE(::lstat(native.constData(), &after), 0);
        QCOMPARE(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
        QCOMPARE(TestFiles::read(target), QByteArray(kind == "link" ? "[Settings]\nBaud=1\n" : ""));
    }

    void sizeBound_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("read");
        QTest::addColumn<bool>("written");
        QTest::newRow("at the bound, same size") << IniFile::kMaxFileSize << QByteArray("4") << 1 << true;
        QTest::newRow("at the bound, growing") << IniFile::kMaxFileSize << QByteArray("40") << 1 << false;
        QTest::newRow("over the bound") << IniFile::kMaxFileSize + 1 << QByteArray("4") << 3 << false;
    }
    void sizeBound()
    {
        QFETCH(qint64, size);
        QFETCH(QByteArray, value);
        QFETCH(int, read);
        QFETCH(bool, written);
        QByteArray file = "[Settings]\nBaud=1\n";
        file.append(QByteArray(size - file.size(), ';'));
        QVERIFY(TestFiles::write(path(), file));
        IniFile ini(path());
        QCOMPARE(ini.ReadInteger("Settings", "Baud", 3), read);
        QCOMPARE(ini.WriteString("Settings", "Baud", QString::fromLatin1(value)), written);
        QCOMPARE(TestFiles::read(path()).size(), size);
        QCOMPARE(ini.ReadInteger("Settings", "Baud", 3), written ? value.toInt() : read);
    }

    void fullDiskKeepsTheOldFile()
    {
        const QString disk = m_dir.filePath(QStringLiteral("disk"));
        QVERIFY(QDir().mkdir(disk));
        if (!mountSmallDisk(disk, "64k"))
            QSKIP("cannot mount a small tmpfs here (needs root)");
        const auto unmount = qScopeGuard([&disk] { ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH); });
        const QString file = disk + QStringLiteral("/KarvControl.ini");
        const QByteArray before = "[Ports]\nCOM1=/dev/ttyUSB0\n[Settings]\nBaud=1\n";
        QVERIFY(TestFiles::write(file, before));
        QVERIFY(fillDisk(disk + QStringLiteral("/filler")));

        QVERIFY(!IniFile(file).WriteInteger("Settings", "Baud", 3));
        QCOMPARE(TestFiles::read(file), before);
        QCOMPARE(QDir(disk).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase),
                 QStringList({"filler", "KarvControl.ini"}));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_inifile.moc"
