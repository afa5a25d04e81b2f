#include "app/mainsettings.h"
#include "app/settingslocation.h"
#include "tests/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class TestSettingsLocation : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString program() const { return m_dir.filePath(QStringLiteral("program")); }
    QString home() const { return m_dir.filePath(QStringLiteral("home")); }
    QString besideProgram() const { return program() + QStringLiteral("/KarvControl.ini"); }
    QString userFile() const { return home() + QStringLiteral("/.config/KarvControl/KarvControl.ini"); }

    SettingsLocation::Environment environment(bool programFolderWritable) const
    {
        return {program(), QString(), home(), [programFolderWritable](const QString &) { return programFolderWritable; }};
    }

private slots:
    void init()
    {
        QDir(program()).removeRecursively();
        QDir(home()).removeRecursively();
        QVERIFY(QDir().mkpath(program()));
    }

    void fileChosen_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("besideExists");
        QTest::addColumn<bool>("userExists");
        QTest::addColumn<bool>("readsBeside");
        QTest::addColumn<bool>("writesBeside");
        QTest::newRow("portable") << true << false << false << true << true;
        QTest::newRow("portable beats user file") << true << true << true << true << true;
        QTest::newRow("installed, first start") << false << false << false << false << false;
        QTest::newRow("installed with a file") << false << true << false << true << false;
        QTest::newRow("installed, saved before") << false << true << true << false << false;
    }
    void fileChosen()
    {
        QFETCH(bool, writable);
        QFETCH(bool, besideExists);
        QFETCH(bool, userExists);
        QFETCH(bool, readsBeside);
        QFETCH(bool, writesBeside);
        QVERIFY(!besideExists || TestFiles::write(besideProgram(), {}));
        QVERIFY(!userExists || TestFiles::write(userFile(), {}));
        const SettingsLocation location(environment(writable));
        QCOMPARE(location.readPath(), readsBeside ? besideProgram() : userFile());
        QCOMPARE(location.writePath(), writesBeside ? besideProgram() : userFile());
    }

    void configHome_data()
    {
        QTest::addColumn<QString>("configHome");
        QTest::addColumn<QString>("folder");
        QTest::newRow("unset") << "" << "/home/op/.config/KarvControl";
        QTest::newRow("relative is ignored") << "cfg" << "/home/op/.config/KarvControl";
        QTest::newRow("absolute") << "/srv/cfg" << "/srv/cfg/KarvControl";
    }
    void configHome()
    {
        QFETCH(QString, configHome);
        QFETCH(QString, folder);
        const SettingsLocation location({"/opt/karv", configHome, "/home/op", [](const QString &) { return false; }});
        QCOMPARE(location.writePath(), folder + QStringLiteral("/KarvControl.ini"));
    }

    void firstSaveStartsFromTheInstalledFile()
    {
        const QByteArray installed = "; port map\r\n[Ports]\r\nCOM1=/dev/ttyUSB3\r\n";
        QVERIFY(TestFiles::write(besideProgram(), installed));
        const SettingsLocation location(environment(false));
        MainSettings(location).write({2, 4, QStringLiteral("1F")}, true);
        QCOMPARE(location.readPath(), userFile());

        QCOMPARE(TestFiles::read(userFile()),
                 installed + "[Settings]\r\nCOMPort=2\r\nBaud=4\r\nAddress=31\r\nK410=1\r\n");
        QCOMPARE(TestFiles::read(besideProgram()), installed);
        struct stat folder {};
        QCOMPARE(::stat(QFile::encodeName(QFileInfo(userFile()).path()).constData(), &folder), 0);
        QCOMPARE(folder.st_mode & 0777, mode_t(0700));
        QCOMPARE(SettingsLocation(environment(false)).readPath(), userFile());
    }

    // Root may write anywhere: then the check runs as nobody, in a child.
    void folderCheckFollowsPermissions()
    {
        const QString closed = m_dir.filePath(QStringLiteral("closed"));
        QVERIFY(QDir().mkpath(closed));
        QVERIFY(::chmod(QFile::encodeName(closed).constData(), 0555) == 0);
        QVERIFY(::chmod(QFile::encodeName(program()).constData(), 0777) == 0);
        QVERIFY(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755) == 0);
        const auto seesBoth = [&] {
            return SettingsLocation::folderWritable(program()) && !SettingsLocation::folderWritable(closed);
        };
        if (::geteuid() != 0) {
            QVERIFY(seesBoth());
            return;
        }
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && seesBoth() ? 0 : 1);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }
};

QTEST_GUILESS_MAIN(TestSettingsLocation)
#include "test_settingslocation.moc"
