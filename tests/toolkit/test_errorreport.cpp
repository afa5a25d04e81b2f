#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/errorreport.h"
#include "toolkit/ticks.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <stdexcept>

namespace {

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
        QTest::newRow("already ends in a stop") << "Taste ESC." << "Taste ESC.";
    }
    void reportTextGetsOneFullStop()
    {
        QFETCH(QString, message);
        QFETCH(QString, expected);
        QCOMPARE(Toolkit::errorReportText(message), expected);
    }

    void handlerErrorsAreReportedAndTheProgramGoesOn()
    {
        DialogRecorder dialogs;
        Emitter emitter;
        int runs = 0;
        Toolkit::connectHandler(&emitter, &Emitter::fired, &emitter, [&runs] {
            if (++runs == 1)
                throw std::runtime_error("Ungültige Binärzahl");
            throw 42;
        });
        emit emitter.fired();
        emit emitter.fired();

        QCOMPARE(runs, 2);
        QCOMPARE(dialogs.boxes().size(), 2);
        QCOMPARE(dialogs.boxes().at(0).kind, Dialogs::Kind::Error);
        QCOMPARE(dialogs.boxes().at(0).title, QStringLiteral("Karvel II"));
        QCOMPARE(dialogs.boxes().at(0).text, QStringLiteral("Ungültige Binärzahl."));
        QCOMPARE(dialogs.boxes().at(1).text, QStringLiteral("Unknown error."));
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
    }

    void questionsAreAnsweredByTheHook()
    {
        DialogRecorder dialogs(false);
        QVERIFY(!Dialogs::askQuestion(QStringLiteral("Clear EEPROM?"), QStringLiteral("Flash")));
        dialogs.setAnswer(true);
        QVERIFY(Dialogs::askQuestion(QStringLiteral("Clear EEPROM?"), QStringLiteral("Flash")));
        QCOMPARE(dialogs.boxes().size(), 2);
        QCOMPARE(dialogs.boxes().first().kind, Dialogs::Kind::Question);
        QCOMPARE(dialogs.boxes().first().title, QStringLiteral("Flash"));
    }

    // A real box shows a file name with markup as it is.
    void boxesShowTheirTextPlain()
    {
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, [&format] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            format = box->textFormat();
            box->button(QMessageBox::Ok)->click();
        });
        Dialogs::showError(QStringLiteral("The file \"<b>fw.hex\" is not indended for use with a Karvel-2!"),
                           QStringLiteral("Karvel II"));
        QCOMPARE(format, Qt::PlainText);
    }

    void fakeTicksWrapLikeTheCounter()
    {
        FakeTicks ticks(0xFFFFFFF0u);
        ticks.advance(0x20);
        QCOMPARE(Toolkit::Ticks(), 0x10u);
    }
};

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    TestErrorReport test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_errorreport.moc"
