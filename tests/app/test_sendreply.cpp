// The send–reply cycle of the main window: the simulated unit answers on the
// far side of a real pseudo-terminal, and the test holds the tick counter.

#include "../serial/ptypair.h"
#include "tests/testfiles.h"

#include "app/formmain.h"
#include "protocol/commandframe.h"
#include "serial/comm32.h"
#include "sim/simulatedunit.h"
#include "toolkit/dialogs.h"
#include "toolkit/maskedit.h"
#include "toolkit/statictext.h"
#include "toolkit/ticks.h"
#include "util/karvutils.h"

#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(karvsim::LineFaults)

namespace {

constexpr quint32 kStart = 100000;

const QString kNoReply = QStringLiteral("No reply from Karvel.\rPlease check the connection\rand the addresses!");

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// A clean line with the change applied.
template <typename Change>
karvsim::LineFaults lineWith(Change change)
{
    karvsim::LineFaults faults;
    change(faults);
    return faults;
}

const karvsim::LineFaults kSilent = lineWith([](karvsim::LineFaults &f) { f.silent = true; });

} // namespace

class TestSendReply : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<FakeTicks> m_ticks;
    std::unique_ptr<DialogRecorder> m_dialogs;
    std::unique_ptr<karvsim::SimulatedUnit> m_unit;
    std::unique_ptr<TFormMain> m_window;

    // A new window with COM1 mapped to devicePath, shown, port opened by
    // "&Open".
    bool openPanel(const QString &devicePath)
    {
        const QString settings = m_dir.filePath(QStringLiteral("KarvControl.ini"));
        if (!TestFiles::write(settings, "[Ports]\nCOM1=" + devicePath.toLocal8Bit() + "\n"))
            return false;
        m_window = std::make_unique<TFormMain>(settings);
        m_window->show();
        click("BtnOpen");
        return m_window->comm32()->IsOpen();
    }

    template <typename Control = QWidget>
    Control *control(const char *name) const
    {
        return m_window->findChild<Control *>(QLatin1String(name));
    }

    void click(const char *button) const { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }

    const Exchange &exchange() const { return m_window->exchange(); }

    // CMD..P6 into the command-bytes display, as the page composers write them.
    void compose(const char *commandHex) const
    {
        const QByteArray bytes = hex(commandHex);
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            control<StaticText>(Protocol::CommandFrame::DisplayControls.at(i + 1))
                ->setText(KarvUtils::HexText(quint8(bytes[i])));
        }
    }

    // The operator turns to "Get..." and picks the query of the given item.
    void chooseQuery(int item) const
    {
        auto *tabs = control<QTabWidget>("PageCommands")->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
        QRadioButton *query = control("RGCmdGet")->findChildren<QRadioButton *>().value(item);
        QTest::mouseClick(query, Qt::LeftButton, {}, QPoint(8, query->height() / 2));
    }

    // One tick of the window's 100 ms timer, its handler done.
    bool timerTicked() const
    {
        QSignalSpy ticks(control<QTimer>("Timeout"), &QTimer::timeout);
        return ticks.wait(1000);
    }

    bool unitGotFrames(std::size_t count) const
    {
        return QTest::qWaitFor([&] { return m_unit->framesReceived() >= count; });
    }

    QList<QByteArray> framesOnTheWire() const
    {
        QList<QByteArray> frames;
        for (const karvsim::CommandFrame &frame : m_unit->receivedFrames())
            frames << QByteArray(reinterpret_cast<const char *>(frame.data()), qsizetype(frame.size()));
        return frames;
    }

    void verifyOneNoReplyBox() const
    {
        QCOMPARE(m_dialogs->boxes().size(), 1);
        const Dialogs::Box &box = m_dialogs->boxes().first();
        QCOMPARE(box.kind, Dialogs::Kind::Error);
        QCOMPARE(box.title, QStringLiteral("Karvel II"));
        QCOMPARE(box.text, kNoReply);
    }

private slots:
    void init()
    {
        m_ticks = std::make_unique<FakeTicks>(kStart);
        m_dialogs = std::make_unique<DialogRecorder>();
        m_unit = std::make_unique<karvsim::SimulatedUnit>();
        QVERIFY(openPanel(QString::fromStdString(m_unit->devicePath())));
    }

    void cleanup()
    {
        m_window.reset();
        m_unit.reset();
        m_dialogs.reset();
        m_ticks.reset();
    }

    void secondPressIsPaced_data()
    {
        QTest::addColumn<quint32>("start");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<bool>("awaits");
        QTest::addColumn<quint32>("gap");
        QTest::addColumn<bool>("sends");
        const QByteArray setCurrents = "1101050A0F000000";
        QTest::newRow("50 ms after a set command") << kStart << setCurrents << false << 50u << false;
        QTest::newRow("100 ms after a set command") << kStart << setCurrents << false << 100u << true;
        QTest::newRow("99 ms across the tick wrap") << 0xFFFFFFC0u << setCurrents << false << 99u << false;
        QTest::newRow("100 ms across the tick wrap") << 0xFFFFFFC0u << setCurrents << false << 100u << true;
        QTest::newRow("position query awaits its reply")
            << kStart << QByteArray("2000000000000000") << true << 500u << false;
        QTest::newRow("read actual value awaits its reply")
            << kStart << QByteArray("1103000000000000") << true << 500u << false;
        QTest::newRow("PID enable awaits nothing, whatever P0")
            << kStart << QByteArray("6F02000000000000") << false << 100u << true;
        QTest::newRow("voltage query awaits nothing") << kStart << QByteArray("4400000000000000") << false << 100u
                                                      << true;
    }
    void secondPressIsPaced()
    {
        QFETCH(quint32, start);
        QFETCH(QByteArray, command);
        QFETCH(bool, awaits);
        QFETCH(quint32, gap);
        QFETCH(bool, sends);
        m_unit->setFaults(kSilent);
        m_ticks->set(start);
        compose(command);

        click("BtnSend");
        QCOMPARE(exchange().AwaitingReply(), awaits);
        QCOMPARE(exchange().LastSendTick(), start);
        m_ticks->advance(gap);
        click("BtnSend");
        QCOMPARE(exchange().LastSendTick(), sends ? start + gap : start);

        const QByteArray frame = hex("01") + hex(command);
        QVERIFY(unitGotFrames(sends ? 2 : 1));
        QCOMPARE(framesOnTheWire(), QList<QByteArray>(sends ? 2 : 1, frame));
    }

    void pressWaitsForTheTransmitQueue()
    {
        PtyPair line;
        QVERIFY(line.IsValid());
        QVERIFY(openPanel(line.SlavePath()));
        // Far more than a pseudo-terminal buffers while nobody reads: the
        // rest stays queued in the background.
        const QByteArray earlier(1 << 20, 'q');
        QCOMPARE(m_window->comm32()->Write(earlier.constData(), int(earlier.size())), 0);
        compose("1101050A0F000000");

        click("BtnSend");
        QCOMPARE(exchange().LastSendTick(), 0u);
        QCOMPARE(line.Receive(int(earlier.size())), earlier);
        QTRY_COMPARE(m_window->comm32()->OutQueueCount(), 0);
        click("BtnSend");
        QCOMPARE(line.Receive(9), hex("011101050A0F000000"));
    }

    void addressThatIsNoNumberWritesNothing()
    {
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        auto *address = control<MaskEdit>("EditAddr");
        address->setFocus();
        address->setCursorPosition(2);
        QTest::keyClick(address, Qt::Key_Backspace);
        compose("2000000000000000");

        click("BtnSend");
        QCOMPARE(m_dialogs->boxes().size(), 1);
        QCOMPARE(m_dialogs->boxes().first().kind, Dialogs::Kind::Error);
        QCOMPARE(m_dialogs->boxes().first().title, QStringLiteral("Karvel II"));
        QCOMPARE(m_dialogs->boxes().first().text, QStringLiteral("'$0 ' ist kein gültiger Integerwert."));
        QCOMPARE(exchange().LastSendTick(), 0u);
        QVERIFY(!exchange().AwaitingReply());

        QTest::keyClicks(address, QStringLiteral("1"));
        click("BtnSend");
        QVERIFY(unitGotFrames(1));
        QCOMPARE(framesOnTheWire(), QList<QByteArray>{hex("012000000000000000")});
        QCOMPARE(m_unit->bytesReceived(), std::size_t(9));
    }

    void positionQueryRoundTrip()
    {
        StaticText *position = control<StaticText>("StaticMPos");
        // A position other than the unit's start, so that the answer shows.
        compose("2700FBFFFFFF0000");
        click("BtnSend");
        QVERIFY(!exchange().AwaitingReply());
        m_ticks->advance(100);
        chooseQuery(0);
        click("BtnSend");
        QVERIFY(exchange().AwaitingReply());

        QVERIFY(unitGotFrames(2));
        QCOMPARE(framesOnTheWire(), (QList<QByteArray>{hex("012700FBFFFFFF0000"), hex("012000000000000000")}));
        QTRY_VERIFY(!exchange().AwaitingReply());
        QCOMPARE(position->text(), QStringLiteral("-5"));
        QCOMPARE(exchange().RxCount(), 0);

        // After the reply only the pacing holds the next press back.
        m_ticks->advance(100);
        click("BtnSend");
        QVERIFY(unitGotFrames(3));
    }

    void silentUnitIsReportedOnce_data()
    {
        QTest::addColumn<quint32>("start");
        QTest::newRow("mid-count") << kStart;
        QTest::newRow("counter wraps during the wait") << 0xFFFFFE00u;
    }
    void silentUnitIsReportedOnce()
    {
        QFETCH(quint32, start);
        m_unit->setFaults(kSilent);
        m_ticks->set(start);
        compose("2000000000000000");
        click("BtnSend");

        for (const quint32 elapsed : {500u, 900u, 1000u}) {
            m_ticks->set(start + elapsed);
            QVERIFY(timerTicked());
            QVERIFY2(m_dialogs->boxes().isEmpty(), qPrintable(QStringLiteral("at %1 ms").arg(elapsed)));
        }
        m_ticks->set(start + 1001);
        QVERIFY(timerTicked());
        verifyOneNoReplyBox();
        QVERIFY(!exchange().AwaitingReply());
        QCOMPARE(exchange().LastSendTick(), start + 1001);
        QVERIFY(timerTicked());
        QCOMPARE(m_dialogs->boxes().size(), 1);

        // Sending resumes, paced from the moment the box was closed.
        m_ticks->advance(99);
        click("BtnSend");
        QCOMPARE(exchange().LastSendTick(), start + 1001);
        m_ticks->advance(1);
        click("BtnSend");
        QVERIFY(unitGotFrames(2));
        QVERIFY(exchange().AwaitingReply());
    }

    void boxLeftOpenLongIsStillOneMessage()
    {
        m_unit->setFaults(kSilent);
        compose("2000000000000000");
        click("BtnSend");
        int boxes = 0;
        Dialogs::setHook([&](const Dialogs::Box &) {
            ++boxes;
            // The operator takes ten seconds to read it; meanwhile the
            // window's events go on.
            m_ticks->advance(10000);
            QTest::qWait(300);
            return true;
        });
        const auto showBoxesAgain = qScopeGuard([] { Dialogs::setHook({}); });

        m_ticks->set(kStart + 1001);
        QVERIFY(timerTicked());
        QVERIFY(timerTicked());
        QCOMPARE(boxes, 1);
        QVERIFY(!exchange().AwaitingReply());
        QCOMPARE(exchange().RxCount(), 0);
        QCOMPARE(exchange().LastSendTick(), kStart + 11001);
    }

    void replyInTimeOrNoneAwaitedIsNoTimeOut_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<karvsim::LineFaults>("faults");
        QTest::newRow("reply 500 ms late") << QByteArray("2000000000000000")
                                           << lineWith([](karvsim::LineFaults &f) { f.replyDelay = 500ms; });
        QTest::newRow("reference search awaits nothing")
            << QByteArray("2200000000000000") << kSilent;
    }
    void replyInTimeOrNoneAwaitedIsNoTimeOut()
    {
        QFETCH(QByteArray, command);
        QFETCH(karvsim::LineFaults, faults);
        m_unit->setFaults(faults);
        compose(command);
        click("BtnSend");

        m_ticks->set(kStart + 900);
        QVERIFY(timerTicked());
        QTRY_VERIFY(!exchange().AwaitingReply());
        m_ticks->set(kStart + 5000);
        QVERIFY(timerTicked());
        QVERIFY(m_dialogs->boxes().isEmpty());
    }

    // Four stray bytes that look like the start of a reply, then the real
    // reply well after the time-out: the time-out drops the four, and the
    // reply is assembled from its own first byte.
    void timeOutDropsAPartialReply()
    {
        StaticText *position = control<StaticText>("StaticMPos");
        StaticText *acceleration = control<StaticText>("StaticAcc");
        StaticText *referenceVelocity = control<StaticText>("StaticVRef");
        StaticText *maxVelocity = control<StaticText>("StaticVMax");
        m_unit->setFaults(lineWith([](karvsim::LineFaults &f) {
            f.chunkSize = 4;
            f.chunkPause = 400ms;
            f.leadingBytes = {0x20, 0x11, 0x22, 0x33};
        }));
        chooseQuery(1);
        click("BtnSend");
        QTRY_COMPARE(exchange().RxCount(), 4);

        m_ticks->set(kStart + 1001);
        QVERIFY(timerTicked());
        verifyOneNoReplyBox();
        QCOMPARE(exchange().RxCount(), 0);

        QTRY_COMPARE(maxVelocity->text(), QStringLiteral("2000"));
        QCOMPARE(acceleration->text(), QStringLiteral("1000"));
        QCOMPARE(referenceVelocity->text(), QStringLiteral("500"));
        QCOMPARE(position->text(), QStringLiteral("0"));
        QCOMPARE(exchange().RxCount(), 0);
    }

    void longBurstIsReadInPiecesAndLosesNothing()
    {
        StaticText *maxVelocity = control<StaticText>("StaticVMax");
        QSignalSpy events(m_window->comm32(), &TComm32::OnRxChar);
        m_unit->setFaults(lineWith([](karvsim::LineFaults &f) { f.leadingBytes.assign(40, 0x00); }));
        chooseQuery(1);
        click("BtnSend");

        QTRY_VERIFY(!exchange().AwaitingReply());
        QCOMPARE(maxVelocity->text(), QStringLiteral("2000"));
        const bool longEvent = std::any_of(events.cbegin(), events.cend(),
                                           [](const QList<QVariant> &event) { return event.at(1).toInt() > 20; });
        QVERIFY2(longEvent, "no event reported more than 20 bytes");
    }
};

QTEST_MAIN(TestSendReply)
#include "test_sendreply.moc"
