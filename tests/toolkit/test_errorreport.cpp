#include "toolkit/application.h"
#include "toolkit/beep.h"
#include "toolkit/dialogs.h"
#include "toolkit/errorreport.h"
#include "toolkit/ticks.h"

#include <QTest>

#include <stdexcept>

#include <time.h>

namespace {

// Raises its signals on request; the tests connect handlers to them.
class Emitter : public QObject
{
    Q_OBJECT

signals:
    void fired();
    void keyPress(QChar &key);
};

// A window with handlers of both shapes.
class Window : public QObject
{
public:
    void EditAddrChange() { ++changes; }
    void EditAddrKeyPress(QChar &key) { key = key.toUpper(); }
    int changes = 0;
};

// Throws from its event handler, as a careless handler would.
class ThrowingObject : public QObject
{
protected:
    void customEvent(QEvent *) override { throw std::runtime_error("Ungültige Binärzahl"); }
};

} // namespace

class TestErrorReport : public QObject
{
    Q_OBJECT

private slots:
    void reportTextGetsOneFullStop_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "Ungültige Binärzahl" << "Ungültige Binärzahl.";
        QTest::newRow("already ends in a stop")
            << "Mit der Taste ESC machen Sie die Änderungen rückgängig."
            << "Mit der Taste ESC machen Sie die Änderungen rückgängig.";
        QTest::newRow("stop inside only") << "Reply 1.5" << "Reply 1.5.";
    }
    void reportTextGetsOneFullStop()
    {
        QFETCH(QString, message);
        QFETCH(QString, expected);
        QCOMPARE(Toolkit::errorReportText(message), expected);
    }

    void handlerErrorIsReportedAndTheProgramGoesOn()
    {
        DialogRecorder dialogs;
        Emitter emitter;
        int runs = 0;
        Toolkit::connectHandler(&emitter, &Emitter::fired, &emitter, [&runs] {
            ++runs;
            throw std::runtime_error("Ungültige Binärzahl");
        });

        emit emitter.fired();
        emit emitter.fired();

        QCOMPARE(runs, 2);
        QCOMPARE(dialogs.boxes().size(), 2);
        const Dialogs::Box &box = dialogs.boxes().first();
        QCOMPARE(box.kind, Dialogs::Kind::Error);
        QCOMPARE(box.title, QStringLiteral("Karvel II"));
        QCOMPARE(box.text, QStringLiteral("Ungültige Binärzahl."));
    }

    void errorOfUnknownTypeIsReported()
    {
        DialogRecorder dialogs;
        Emitter emitter;
        Toolkit::connectHandler(&emitter, &Emitter::fired, &emitter, [] { throw 42; });
        emit emitter.fired();
        QCOMPARE(dialogs.boxes().size(), 1);
        QCOMPARE(dialogs.boxes().first().text, QStringLiteral("Unknown error."));
    }

    void handlerMayChangeTheKeyItIsGiven()
    {
        Emitter emitter;
        Toolkit::connectHandler(&emitter, &Emitter::keyPress, &emitter,
                                [](QChar &key) { key = QChar(); });
        QChar key = QLatin1Char('g');
        emit emitter.keyPress(key);
        QVERIFY(key.isNull());
    }

    void memberHandlersGetTheArgumentsTheyTake()
    {
        Emitter emitter;
        Window window;
        Toolkit::connectHandler(&emitter, &Emitter::keyPress, &window, &Window::EditAddrChange);
        Toolkit::connectHandler(&emitter, &Emitter::keyPress, &window, &Window::EditAddrKeyPress);
        QChar key = QLatin1Char('a');
        emit emitter.keyPress(key);
        QCOMPARE(window.changes, 1);
        QCOMPARE(key, QLatin1Char('A'));
    }

    void applicationCatchesWhatEscapesAnEventHandler()
    {
        DialogRecorder dialogs;
        ThrowingObject object;
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&object, &event);
        QCOMPARE(dialogs.boxes().size(), 1);
        QCOMPARE(dialogs.boxes().first().text, QStringLiteral("Ungültige Binärzahl."));
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Karvel II"));
    }

    void questionsAreAnsweredByTheHook_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void questionsAreAnsweredByTheHook()
    {
        QFETCH(bool, answer);
        DialogRecorder dialogs(answer);
        QCOMPARE(Dialogs::askQuestion(QStringLiteral("Clear EEPROM?"), QStringLiteral("Flash")), answer);
        QCOMPARE(dialogs.boxes().size(), 1);
        QCOMPARE(dialogs.boxes().first().kind, Dialogs::Kind::Question);
        QCOMPARE(dialogs.boxes().first().title, QStringLiteral("Flash"));
        QCOMPARE(dialogs.boxes().first().text, QStringLiteral("Clear EEPROM?"));
    }

    void fakeTicksWrapLikeTheCounter()
    {
        FakeTicks ticks(0xFFFFFFF0u);
        QCOMPARE(Toolkit::Ticks(), 0xFFFFFFF0u);
        ticks.advance(0x20);
        QCOMPARE(Toolkit::Ticks(), 0x10u);
        QCOMPARE(quint32(Toolkit::Ticks() - 0xFFFFFFF0u), 0x20u);
    }

    void realTicksAreTheMonotonicClockInMilliseconds()
    {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const auto clockMs = quint32(quint64(now.tv_sec) * 1000u + quint64(now.tv_nsec) / 1000000u);
        const quint32 sinceClock = Toolkit::Ticks() - clockMs;
        QVERIFY2(sinceClock < 1000, qPrintable(QString::number(sinceClock)));
    }

    void beepsAreCountedWhileACounterLives()
    {
        BeepCounter beeps;
        Toolkit::beep();
        Toolkit::beep();
        QCOMPARE(beeps.count(), 2);
    }
};

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    TestErrorReport test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_errorreport.moc"
