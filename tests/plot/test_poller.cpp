// The poller through the main window's exchange, the simulated unit
// answering on a pseudo-terminal and the test holding the tick counter.

#include "tests/testfiles.h"

#include "app/formmain.h"
#include "plot/poller.h"
#include "protocol/commandframe.h"
#include "serial/comm32.h"
#include "sim/simulatedunit.h"
#include "toolkit/dialogs.h"
#include "toolkit/statictext.h"
#include "toolkit/ticks.h"
#include "util/karvutils.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

constexpr quint32 kStart = 100000;
const QList<quint8> kQueries{0x20, 0x21, 0x71, 0x30, 0x44};

} // namespace

class TestPoller : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<FakeTicks> m_ticks;
    std::unique_ptr<DialogRecorder> m_dialogs;
    std::unique_ptr<karvsim::SimulatedUnit> m_unit;
    std::unique_ptr<TFormMain> m_window;
    std::unique_ptr<Poller> m_poller;
    // The code and tick of every frame the exchange sent.
    QList<std::pair<quint8, quint32>> m_sent;

    template <typename Control = QWidget>
    Control *control(const char *name) const
    {
        return m_window->findChild<Control *>(QLatin1String(name));
    }

    QList<quint8> codesOnTheWire() const
    {
        QList<quint8> codes;
        for (const karvsim::CommandFrame &frame : m_unit->receivedFrames())
            codes << frame[1];
        return codes;
    }

    // The poller's timer had its chance to look at the counter.
    static void letTheTimerLook() { QTest::qWait(120); }

private slots:
    void init()
    {
        m_ticks = std::make_unique<FakeTicks>(kStart);
        m_dialogs = std::make_unique<DialogRecorder>();
        m_unit = std::make_unique<karvsim::SimulatedUnit>();
        const QString settings = m_dir.filePath(QStringLiteral("KarvControl.ini"));
        QVERIFY(TestFiles::write(settings, "[Ports]\nCOM1=" + QByteArray(m_unit->devicePath().c_str()) + "\n"));
        m_window = std::make_unique<TFormMain>(settings);
        m_window->show();
        control<QPushButton>("BtnOpen")->click();
        QVERIFY(m_window->comm32()->IsOpen());
        m_poller = std::make_unique<Poller>(m_window->exchange());
        m_poller->setQueries(kQueries);
        m_sent.clear();
        connect(&m_window->exchange(), &Exchange::frameSent, this,
                [this](const Protocol::CommandFrame &frame) { m_sent.append({frame.at(frame.CMD), Toolkit::Ticks()}); });
    }

    void cleanup()
    {
        m_poller.reset();
        m_window.reset();
        m_unit.reset();
        m_dialogs.reset();
        m_ticks.reset();
    }

    void intervalKeepsToItsBounds_data()
    {
        QTest::addColumn<int>("bitsPerSecond");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("interval");
        QTest::newRow("default") << 19200 << 100 << 100;
        QTest::newRow("one exchange's wire time at 19200") << 19200 << 1 << 9;
        QTest::newRow("one exchange's wire time at 2400") << 2400 << 10 << 71;
        QTest::newRow("ten seconds at most") << 19200 << 20000 << 10000;
    }
    void intervalKeepsToItsBounds()
    {
        QFETCH(int, bitsPerSecond);
        QFETCH(int, asked);
        QFETCH(int, interval);
        m_poller->setBitsPerSecond(bitsPerSecond);
        m_poller->setInterval(asked);
        QCOMPARE(m_poller->interval(), interval);
    }

    void queriesGoOutInTurnAtTheInterval_data()
    {
        QTest::addColumn<int>("interval");
        QTest::newRow("100 ms") << 100;
        QTest::newRow("250 ms") << 250;
    }
    void queriesGoOutInTurnAtTheInterval()
    {
        QFETCH(int, interval);
        m_poller->setInterval(interval);
        QSignalSpy replies(m_poller.get(), &Poller::replied);
        m_poller->start();
        QVERIFY(m_unit->waitForFrames(1, std::chrono::seconds(5)));
        for (int poll = 1; poll < kQueries.size(); ++poll) {
            m_ticks->set(kStart + quint32(poll * interval - 1));
            letTheTimerLook();
            QCOMPARE(m_sent.size(), poll);
            m_ticks->advance(1);
            QTRY_COMPARE(m_sent.size(), poll + 1);
        }
        QVERIFY(m_unit->waitForFrames(std::size_t(kQueries.size()), std::chrono::seconds(5)));
        QCOMPARE(codesOnTheWire(), kQueries);
        for (int poll = 0; poll < kQueries.size(); ++poll)
            QCOMPARE(m_sent[poll].second, kStart + quint32(poll * interval));
        // Every query is answered, the voltage query too, though it awaits nothing.
        QTRY_COMPARE(replies.size(), kQueries.size());
        QCOMPARE(control<StaticText>("StaticVoltage")->text(), QStringLiteral("240"));
    }

    void commandSentByHandGoesOutBetweenTwoPolls()
    {
        m_poller->start();
        QTRY_COMPARE(m_sent.size(), 1);
        // The operator asks for the firmware revision while the poll is paced.
        m_ticks->advance(10);
        control<StaticText>("StaticCMD")->setText(QStringLiteral("43"));
        control<QPushButton>("BtnSend")->click();
        QCOMPARE(m_sent.size(), 1);
        m_ticks->set(kStart + 100);
        QTRY_COMPARE(m_sent.size(), 2);
        QTRY_COMPARE(control<StaticText>("StaticVersion")->text(), QStringLiteral("1.23"));
        m_ticks->set(kStart + 200);
        QTRY_COMPARE(m_sent.size(), 3);
        m_ticks->set(kStart + 300);
        QTRY_COMPARE(m_sent.size(), 4);
        QVERIFY(m_unit->waitForFrames(4, std::chrono::seconds(5)));
        QCOMPARE(codesOnTheWire(), (QList<quint8>{0x20, 0x43, 0x21, 0x71}));
        QCOMPARE(m_sent[1].second, kStart + 100);
        QCOMPARE(m_sent[2].second, kStart + 200);
    }

    void unitThatStopsAnsweringPausesPollingOnce()
    {
        QSignalSpy status(m_poller.get(), &Poller::status);
        karvsim::LineFaults silent;
        silent.silent = true;
        m_unit->setFaults(silent);
        m_poller->start();
        QTRY_COMPARE(m_sent.size(), 1);
        m_ticks->advance(1000);
        letTheTimerLook();
        QCOMPARE(m_poller->state(), Poller::State::Running);
        m_ticks->advance(1);
        QTRY_COMPARE(m_poller->state(), Poller::State::Paused);
        QCOMPARE(status.size(), 1);
        QCOMPARE(status.first().first().toString(), QStringLiteral("No reply from Karvel: polling paused."));
        // Paused: nothing more goes out, nothing more is said, no box.
        m_ticks->advance(5000);
        letTheTimerLook();
        QCOMPARE(m_sent.size(), 1);
        QCOMPARE(status.size(), 1);
        QVERIFY(m_dialogs->boxes().isEmpty());
        QVERIFY(!m_window->exchange().AwaitingReply());

        // Answering again, polling resumes where asked.
        m_unit->setFaults({});
        m_poller->start();
        QTRY_COMPARE(m_sent.size(), 2);
        QCOMPARE(m_poller->state(), Poller::State::Running);
    }

    void closingThePortStopsPolling()
    {
        QSignalSpy status(m_poller.get(), &Poller::status);
        m_poller->start();
        QTRY_COMPARE(m_sent.size(), 1);
        control<QPushButton>("BtnClose")->click();
        QCOMPARE(m_poller->state(), Poller::State::Stopped);
        QCOMPARE(status.size(), 1);
        m_ticks->advance(1000);
        letTheTimerLook();
        QCOMPARE(m_sent.size(), 1);

        // Nothing to poll on a closed port: said, not tried.
        m_poller->start();
        QCOMPARE(m_poller->state(), Poller::State::Stopped);
        QCOMPARE(status.size(), 2);
        QCOMPARE(status.last().first().toString(), QStringLiteral("The port is closed: open it to poll."));
        QCOMPARE(m_sent.size(), 1);
    }
};

QTEST_MAIN(TestPoller)
#include "test_poller.moc"
