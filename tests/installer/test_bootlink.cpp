// The installer's link to the boot loader of the simulated unit: RTS toggled
// by hand, requests that never go missing, bytes that came unasked, the
// reply limit, and the steps a real boot loader needs of the installer.

#include "firmwarefiles.h"
#include "installerkit.h"

#include "installer/bootlink.h"
#include "installer/bootoperation.h"
#include "installer/flashprogrammer.h"
#include "installer/heximage.h"
#include "serial/comm32.h"
#include "serial/portcalls.h"

#include <QDir>
#include <QTest>

#include <QTimer>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <functional>
#include <mutex>
#include <poll.h>
#include <sys/ioctl.h>

namespace {

// The driver of a USB adapter without an RS-485 mode, played on a
// pseudo-terminal: it has modem lines, so the component toggles RTS by hand,
// and it records RTS, writes and drains in the order they happen (from
// either thread). Its writes can be made to fail.
class HandToggledAdapter : public SystemPortCalls
{
public:
    static constexpr char RtsUp = 'U';
    static constexpr char Bytes = 'B';
    static constexpr char Drained = 'D';
    static constexpr char RtsDown = 'N';

    std::atomic<bool> FailWrites = false;

    int Ioctl(int Fd, unsigned long Request, void *Argument) override
    {
        switch (Request) {
        case TIOCMGET:
            *static_cast<int *>(Argument) = 0;
            return 0;
        case TIOCMBIS:
        case TIOCMBIC:
            if (*static_cast<int *>(Argument) & TIOCM_RTS)
                Record(Request == TIOCMBIS ? RtsUp : RtsDown);
            return 0;
        case TIOCGRS485:
            errno = ENOTTY;
            return -1;
        default:
            return SystemPortCalls::Ioctl(Fd, Request, Argument);
        }
    }
    ssize_t Write(int Fd, const void *Buffer, size_t Count) override
    {
        if (FailWrites) {
            errno = EIO;
            return -1;
        }
        const ssize_t put = SystemPortCalls::Write(Fd, Buffer, Count);
        if (put > 0)
            Record(Bytes);
        return put;
    }
    int Drain(int Fd) override
    {
        const int result = SystemPortCalls::Drain(Fd);
        Record(Drained);
        return result;
    }

    std::string Steps() const
    {
        const std::lock_guard lock(m_mutex);
        return m_steps;
    }

private:
    void Record(char step)
    {
        const std::lock_guard lock(m_mutex);
        m_steps += step;
    }

    mutable std::mutex m_mutex;
    std::string m_steps;
};

// Frames that went out whole: RTS up, bytes, drained, RTS down. -1 when a
// step came out of that order. Between frames RTS is dropped at each opening
// and the boot-entry frame is waited for with a drain of its own.
int framesInOrder(const std::string &steps)
{
    int frames = 0;
    std::size_t i = 0;
    while (i < steps.size()) {
        if (steps[i] == HandToggledAdapter::RtsDown || steps[i] == HandToggledAdapter::Drained) {
            ++i;
            continue;
        }
        if (steps[i++] != HandToggledAdapter::RtsUp || i == steps.size() || steps[i] != HandToggledAdapter::Bytes)
            return -1;
        while (i < steps.size() && steps[i] == HandToggledAdapter::Bytes)
            ++i;
        if (steps.compare(i, 2, {HandToggledAdapter::Drained, HandToggledAdapter::RtsDown}) != 0)
            return -1;
        i += 2;
        ++frames;
    }
    return frames;
}

int threadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

Installer::HexImage imageOf(const QByteArray &bytes)
{
    Installer::HexImage image;
    std::memcpy(image.Image.data(), bytes.constData(), size_t(bytes.size()));
    image.ImageLast = quint32(bytes.size() - 1);
    return image;
}

// What an operation shows, with a hook into the moments between requests.
class ProgressSpy : public BootProgress
{
public:
    QString Step;
    std::function<void(const char *moment)> Between;

    void ShowStep(const QString &text) override { Step = text; }
    void ShowDeviceType(const QString &) override { Notify("device type"); }
    void SetBarRange(int) override {}
    void SetBarPosition(int) override { Notify(Step == QStringLiteral("Verifying...") ? "verifying" : "writing"); }

private:
    void Notify(const char *moment)
    {
        if (Between)
            Between(moment);
    }
};

// A link handed the simulated unit's port, as the window hands it over.
class LinkKit
{
public:
    explicit LinkKit(karvsim::SimulatedUnit::Options options = {})
        : unit(withManualClock(options))
        , clock(unit)
    {
        link.comm32()->SetPortCalls(adapter);
        link.ModuleAddress = 0x01;
        link.PortName = QStringLiteral("COM1");
        link.PortDevice = QString::fromStdString(unit.devicePath());
        link.PortBaud = 19200;
    }

    // The Start operation as the window runs it; the failure's text, or
    // "Successful!".
    QString flash(Installer::HexImage &image, ProgressSpy &progress)
    {
        clock.start();
        QString outcome;
        if (link.EnterBootMode()) {
            try {
                FlashProgrammer(link, progress).Run(image);
                outcome = progress.Step;
            } catch (const EBootError &error) {
                outcome = QString::fromUtf8(error.what());
            }
        }
        link.Close();
        clock.stop();
        return outcome;
    }

    DialogRecorder dialogs;
    karvsim::SimulatedUnit unit;
    FastClock clock;
    HandToggledAdapter adapter;
    BootLink link;
};

} // namespace

class TestBootLink : public QObject
{
    Q_OBJECT

private slots:
    void flashesLargestImageWithRtsByHand();
    void failedWriteFailsAtOnce();
    void replyLimit_data();
    void replyLimit();
    void unaskedBytesAreDropped_data();
    void unaskedBytesAreDropped();
    void entryPauseLetsTheUnitRestart_data();
    void entryPauseLetsTheUnitRestart();
    void writeWithoutEraseFailsVerify();
};

// Every request of a whole flash leaves as one frame with RTS high around
// it, none is lost, and the port's threads stay the same all through.
void TestBootLink::flashesLargestImageWithRtsByHand()
{
    LinkKit kit;
    Installer::HexImage image = imageOf(FirmwareFiles::taggedImage(32767));
    ProgressSpy progress;
    const int before = threadCount();
    int fewest = INT_MAX;
    int most = 0;
    int calls = 0;
    progress.Between = [&](const char *) {
        if (calls++ % 1024 != 0)
            return;
        fewest = qMin(fewest, threadCount());
        most = qMax(most, threadCount());
    };
    QCOMPARE(kit.flash(image, progress), QStringLiteral("Successful!"));
    // The event thread has done its work once Close returns, but the system
    // may list it a moment longer.
    QTRY_COMPARE(threadCount(), before);
    const int after = threadCount();

    // S a p A e A, 16,384 words with 128 page commits (A m A), the last
    // application page (A, 128 words, A m), A and 16,384 reads, x.
    const std::size_t requests = 6 + 16384 + 128 * 3 + 131 + 1 + 16384 + 1;
    const std::size_t taken = kit.unit.bootRequestsReceived();
    const int frames = framesInOrder(kit.adapter.Steps());
    qInfo("RTS by hand, 32,767-byte image: %zu requests sent, %zu dropped; %d frames with RTS up, bytes, "
          "drained, RTS down (boot-entry frame included); threads before %d, during %d..%d, after %d",
          std::size_t(frames - 1), requests - taken, frames, before, fewest, most, after);
    QCOMPARE(taken, requests);
    QCOMPARE(frames, int(requests) + 1);
    QCOMPARE(fewest, most);
}

// A write the port refuses fails its request without any wait.
void TestBootLink::failedWriteFailsAtOnce()
{
    karvsim::SimulatedUnit::Options options;
    options.inBootLoader = true;
    LinkKit kit(options);
    kit.clock.start();
    QVERIFY(kit.link.EnterBootMode());
    kit.clock.stop();
    kit.adapter.FailWrites = true;
    const quint32 start = Toolkit::Ticks();
    // Should the request wait after all, time runs on: the test fails
    // instead of hanging.
    QTimer rescue;
    QObject::connect(&rescue, &QTimer::timeout, [&] { kit.clock.ticks().advance(10000); });
    rescue.start(2000);
    QVERIFY(!kit.link.BootRequest({'S'}));
    QCOMPARE(Toolkit::Ticks() - start, 0u);
    kit.adapter.FailWrites = false;
    QVERIFY(kit.link.BootRequest({'S'}));
}

// The ticks are set to each of the moments in turn while the request waits;
// at the last one the reply comes, if any.
void TestBootLink::replyLimit_data()
{
    QTest::addColumn<quint32>("start");
    QTest::addColumn<QList<quint32>>("moments");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<bool>("succeeds");

    const quint32 nearWrap = 0xFFFFFFFFu - 99;
    QTest::newRow("reply at 4,999 ms") << 100000u << QList<quint32>{4999} << true << true;
    QTest::newRow("none by 5,001 ms") << 100000u << QList<quint32>{5001} << false << false;
    QTest::newRow("counter wraps, reply at 4,999 ms") << nearWrap << QList<quint32>{200, 4999} << true << true;
    QTest::newRow("counter wraps, none by 5,001 ms") << nearWrap << QList<quint32>{200, 5001} << false << false;
}

void TestBootLink::replyLimit()
{
    QFETCH(quint32, start);
    QFETCH(QList<quint32>, moments);
    QFETCH(bool, answered);
    QFETCH(bool, succeeds);

    karvsim::SimulatedUnit::Options options;
    options.inBootLoader = true;
    LinkKit kit(options);
    karvsim::BootFaults silent;
    silent.unansweredRequest = 1;
    kit.unit.setBootFaults(silent);
    kit.link.comm32()->SetDeviceName(kit.link.PortDevice);
    kit.link.comm32()->Open();
    QVERIFY(kit.link.comm32()->IsOpen());

    kit.clock.ticks().set(start);
    std::function<void()> next;
    qsizetype reached = 0;
    next = [&] {
        kit.clock.ticks().set(start + moments[reached++]);
        if (reached < moments.size())
            QTimer::singleShot(0, next);
        else if (answered)
            kit.unit.sendToHost({'\r'});
    };
    QTimer::singleShot(0, next);
    QCOMPARE(kit.link.BootRequest({'A', 0x00, 0x00}), succeeds);
    QCOMPARE(reached, moments.size());
    kit.link.Close();
}

// Bytes that arrive between two requests - a reply that came too late, line
// noise - never become the next request's reply.
void TestBootLink::unaskedBytesAreDropped_data()
{
    QTest::addColumn<QByteArray>("moment");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("a text line before the page size") << QByteArray("device type") << QByteArray("7\r");
    QTest::newRow("a word between two reads") << QByteArray("verifying") << QByteArray("\x5a\xa5");
}

void TestBootLink::unaskedBytesAreDropped()
{
    QFETCH(QByteArray, moment);
    QFETCH(QByteArray, bytes);

    LinkKit kit;
    Installer::HexImage image = imageOf(FirmwareFiles::taggedImage(64));
    ProgressSpy progress;
    bool injected = false;
    progress.Between = [&](const char *now) {
        if (injected || moment != now)
            return;
        injected = true;
        kit.unit.sendToHost({bytes.begin(), bytes.end()});
        // Readable once the port's event thread has seen them arrive.
        pollfd arrived{kit.link.comm32()->HandOverNoticeFd(), POLLIN, 0};
        QCOMPARE(poll(&arrived, 1, 5000), 1);
    };
    QCOMPARE(kit.flash(image, progress), QStringLiteral("Successful!"));
    QVERIFY(injected);
}

// The unit restarts into its boot loader some time after the boot-entry
// frame; without the pause the first request reaches a unit still starting.
void TestBootLink::entryPauseLetsTheUnitRestart_data()
{
    QTest::addColumn<bool>("paused");
    QTest::newRow("the installer's pause") << true;
    QTest::newRow("no pause") << false;
}

void TestBootLink::entryPauseLetsTheUnitRestart()
{
    QFETCH(bool, paused);

    LinkKit kit;
    if (!paused)
        kit.link.EntryPause = 0;
    kit.clock.start();
    QVERIFY(kit.link.EnterBootMode());
    QCOMPARE(kit.link.BootRequest({'S'}) && kit.link.Reply().Text().contains("HLXMBOOT"), paused);
    kit.clock.stop();
}

// Flash takes a write only where it was erased: an image written over an
// earlier one without 'e' reads back as both ANDed.
void TestBootLink::writeWithoutEraseFailsVerify()
{
    LinkKit kit;
    const QByteArray first = FirmwareFiles::taggedImage(64);
    QByteArray second = first;
    for (char &byte : second)
        byte = char(~byte);
    ProgressSpy progress;
    Installer::HexImage image = imageOf(first);
    QCOMPARE(kit.flash(image, progress), QStringLiteral("Successful!"));

    karvsim::BootFaults noErase;
    noErase.eraseSkipped = true;
    kit.unit.setBootFaults(noErase);
    image = imageOf(second);
    QCOMPARE(kit.flash(image, progress), QStringLiteral("Verify error (3)!0"));
}

QTEST_MAIN(TestBootLink)
#include "test_bootlink.moc"
