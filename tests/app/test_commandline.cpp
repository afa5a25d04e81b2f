// The program's command line, parsed and through the real executable, and
// the desktop identity it starts with.

#include "app/commandline.h"
#include "app/desktopidentity.h"

#include <QGuiApplication>
#include <QIcon>
#include <QProcess>
#include <QTest>

namespace {

const QString kVersionLine = QStringLiteral("KarvControl " KARV_VERSION "\n");

void addColumns()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode"); // -1: the window starts
    QTest::addColumn<QString>("out");  // how standard output begins; empty: nothing
    QTest::addColumn<QString>("err");  // how standard error begins; empty: nothing
}

bool opensWith(const QString &text, const QString &start)
{
    return text.startsWith(start) && text.isEmpty() == start.isEmpty();
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parses_data()
    {
        addColumns();

        const QString usage = QStringLiteral("Usage: KarvControl [options]\n");
        QTest::newRow("none") << QStringList{} << -1 << QString() << QString();
        QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << QString();
        QTest::newRow("-h") << QStringList{"-h"} << 0 << usage << QString();
        QTest::newRow("--version") << QStringList{"--version"} << 0 << kVersionLine << QString();
        QTest::newRow("-v") << QStringList{"-v"} << 0 << kVersionLine << QString();
        QTest::newRow("unknown option") << QStringList{"--port"} << 2 << QString()
                                        << QStringLiteral("KarvControl: Unknown option 'port'.\n" "Usage:");
        QTest::newRow("value on a flag") << QStringList{"--version=2"} << 2 << QString()
                                         << QStringLiteral("KarvControl: Unexpected value after '--version'.\n"
                                                           "Usage:");
        QTest::newRow("positional") << QStringList{"/dev/ttyS0"} << 2 << QString()
                                    << QStringLiteral("KarvControl: unexpected argument '/dev/ttyS0'.\nUsage:");
        QTest::newRow("positional after an option")
            << QStringList{"--version", "x"} << 2 << QString() << QStringLiteral("KarvControl: unexpected");
    }
    void parses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);

        const CommandLineResult result = parseCommandLine(QStringList{"KarvControl"} + arguments);
        QCOMPARE(result.exitCode.value_or(-1), exitCode);
        QVERIFY2(opensWith(result.standardOutput, out), qPrintable(result.standardOutput));
        QVERIFY2(opensWith(result.standardError, err), qPrintable(result.standardError));
    }

    // Without a display: the command line is read before the window system is needed.
    void programExits_data()
    {
        addColumns();

        QTest::newRow("--version") << QStringList{"--version"} << 0 << kVersionLine << QString();
        QTest::newRow("--help") << QStringList{"--help"} << 0 << QStringLiteral("Usage:") << QString();
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << QString()
                                        << QStringLiteral("KarvControl: Unknown option");
        QTest::newRow("positional") << QStringList{"COM1"} << 2 << QString()
                                    << QStringLiteral("KarvControl: unexpected argument");
    }
    void programExits()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KARV_CONTROL), arguments);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        const QString standardOutput = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString standardError = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(opensWith(standardOutput, out), qPrintable(standardOutput));
        QVERIFY2(opensWith(standardError, err), qPrintable(standardError));
    }

    void desktopIdentity()
    {
        applyDesktopIdentity();
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("org.karvcontrol.KarvControl"));
        // The compiled-in SVG renders: the resource is there and so is the SVG icon engine.
        QVERIFY(!QGuiApplication::windowIcon().pixmap(QSize(32, 32)).isNull());
    }
};

QTEST_MAIN(TestCommandLine)
#include "test_commandline.moc"
