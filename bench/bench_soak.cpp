// Long runs that would show a slow leak or a rare deadlock. First, query–reply
// cycles between the main window and the simulated unit, with the resident
// memory after a warm-up and at the end. Then the serial component opened and
// closed over and over while the far side streams bytes at it, with the
// descriptors and threads counted before and after. A watchdog aborts the run
// when neither moves on for kStallLimit.
//
// bench_soak [cycles [opens]]: by default 100000 query-reply cycles and 1000
// open/close cycles; smaller numbers give a quick try.

#include "benchsupport.h"

#include "app/formmain.h"
#include "serial/comm32.h"
#include "sim/pseudoterminal.h"
#include "sim/simulatedunit.h"
#include "toolkit/application.h"

#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>

#include <poll.h>
#include <sys/eventfd.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;

namespace {

constexpr auto kStallLimit = 30s;

// Aborts the process when the progress count stands still for kStallLimit:
// a deadlock would otherwise hang the run for good.
class Watchdog
{
public:
    Watchdog()
        : m_thread([this] { watch(); })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }

    void progress(const char *stage)
    {
        m_stage = stage;
        ++m_progress;
    }

private:
    void watch()
    {
        std::unique_lock lock(m_mutex);
        std::size_t seen = m_progress;
        while (!m_wake.wait_for(lock, kStallLimit, [this] { return m_done; })) {
            if (m_progress == seen) {
                std::fprintf(stderr, "bench_soak: no progress for %lld s in %s: deadlock?\n",
                             static_cast<long long>(kStallLimit.count()), m_stage.load());
                std::abort();
            }
            seen = m_progress;
        }
    }

    std::atomic<std::size_t> m_progress{0};
    std::atomic<const char *> m_stage{"start-up"};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::thread m_thread;
};

// The far side of a port that sends bytes as fast as the line takes them,
// whether the port is open or not, on a thread of its own.
class Streamer
{
public:
    Streamer()
        : m_thread([this] { stream(); })
    {
    }
    ~Streamer()
    {
        const std::uint64_t one = 1;
        (void)::write(m_stop.get(), &one, sizeof one);
        m_thread.join();
    }

    QString devicePath() const { return QString::fromStdString(m_pty.slavePath()); }

private:
    void stream()
    {
        const std::array<std::uint8_t, 64> bytes{0x55};
        pollfd fds[] = {{m_stop.get(), POLLIN, 0}, {m_pty.masterFd(), POLLOUT, 0}};
        while (::poll(fds, 2, -1) >= 0 && fds[0].revents == 0) {
            if (fds[1].revents & POLLOUT)
                m_pty.write(bytes);
        }
    }

    karvsim::PseudoTerminal m_pty{19200};
    karvsim::UniqueFd m_stop{::eventfd(0, EFD_CLOEXEC)};
    std::thread m_thread;
};

std::size_t entriesIn(const char *folder)
{
    const std::filesystem::directory_iterator entries(folder);
    return std::size_t(std::distance(begin(entries), end(entries)));
}

// Qt's global pool keeps idle threads, each with a descriptor, for 30 s
// after its last job (some of the window's start-up work): ended here, so
// that their expiry is not taken for the component's doing. And Qt's threads
// are detached: one whose wait() has returned may still be on its way out for
// a moment, and would count as a thread that stayed.
void letThreadsFinish()
{
    QThreadPool::globalInstance()->waitForDone();
    QEventLoop loop;
    QTimer::singleShot(100ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool soakCycles(std::size_t cycles, Watchdog &watchdog)
{
    karvsim::SimulatedUnit unit;
    QTemporaryDir directory;
    const auto window = Bench::openPanel(directory.path(), QString::fromStdString(unit.devicePath()));
    if (!window) {
        std::fprintf(stderr, "bench_soak: the port did not open\n");
        return false;
    }
    // Long enough for the unit's records of what it received (the latest
    // 65536 bytes) to fill: after that they stay the same size.
    const std::size_t warmUp = cycles / 10;
    long warm = 0;
    const auto start = std::chrono::steady_clock::now();
    const bool replied = Bench::runQueryCycles(*window, cycles, [&](std::size_t cycle) {
        watchdog.progress("query-reply cycles");
        if (cycle + 1 == warmUp)
            warm = Bench::residentKiB();
    });
    if (!replied) {
        std::fprintf(stderr, "bench_soak: a reply did not come\n");
        return false;
    }
    const long last = Bench::residentKiB();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("soak: %zu query-reply cycles in %.1f s, resident memory after %zu of them %ld KiB,"
                " at the end %ld KiB (%+ld KiB)\n",
                cycles, took.count(), warmUp, warm, last, last - warm);
    return true;
}

// Opens the port, waits until streamed bytes arrived and were read, closes it.
bool openReadClose(TComm32 &port)
{
    port.Open();
    if (!port.IsOpen())
        return false;
    QEventLoop loop;
    const auto read = QObject::connect(&port, &TComm32::OnRxChar, &loop, [&] {
        std::array<char, 256> buffer;
        if (port.Read(buffer.data(), int(buffer.size())) > 0)
            loop.quit();
    });
    QTimer::singleShot(5s, &loop, [&] { loop.exit(1); });
    const bool received = loop.exec() == 0;
    QObject::disconnect(read);
    port.Close();
    return received && !port.IsOpen();
}

bool soakOpenClose(std::size_t opens, Watchdog &watchdog)
{
    Streamer far;
    TComm32 port;
    port.SetDeviceName(far.devicePath());
    port.SetMonitorEvents(evRxChar);
    // Once first: whatever the first open sets up for good is not a leak.
    if (!openReadClose(port)) {
        std::fprintf(stderr, "bench_soak: the streaming port did not open or deliver\n");
        return false;
    }
    letThreadsFinish();
    const std::size_t fdsBefore = entriesIn("/proc/self/fd");
    const std::size_t threadsBefore = entriesIn("/proc/self/task");
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < opens; ++i) {
        if (!openReadClose(port)) {
            std::fprintf(stderr, "bench_soak: open/close cycle %zu failed\n", i + 1);
            return false;
        }
        watchdog.progress("open/close cycles");
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    letThreadsFinish();
    const std::size_t fdsAfter = entriesIn("/proc/self/fd");
    const std::size_t threadsAfter = entriesIn("/proc/self/task");
    std::printf("soak: %zu open/close cycles while streaming in %.1f s, descriptors %zu before, %zu after;"
                " threads %zu before, %zu after\n",
                opens, took.count(), fdsBefore, fdsAfter, threadsBefore, threadsAfter);
    return fdsBefore == fdsAfter && threadsBefore == threadsAfter;
}

} // namespace

int main(int argc, char **argv)
{
    Bench::useOffscreenByDefault();
    Application app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const std::size_t cycles = arguments.value(1, QStringLiteral("100000")).toULong();
    const std::size_t opens = arguments.value(2, QStringLiteral("1000")).toULong();
    if (cycles < 10 || opens < 1) {
        std::fprintf(stderr, "usage: bench_soak [cycles (at least 10) [open/close cycles]]\n");
        return 2;
    }
    Watchdog watchdog;
    const bool cyclesOk = soakCycles(cycles, watchdog);
    const bool opensOk = soakOpenClose(opens, watchdog);
    return cyclesOk && opensOk ? 0 : 1;
}
