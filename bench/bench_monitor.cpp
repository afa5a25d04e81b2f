// The traffic monitor while the simulated unit answers queries unpaced (the
// tick counter is stepped past the pacing, so each query goes out as soon as
// the reply before it came): the rows the recorder takes per second, the
// panel's CPU, the resident memory once 100,000 and once 1,000,000 rows are
// recorded (the ring holds 100,000, so memory should stay flat between the
// two), and the replies lost (every reply must have its row).
//
// bench_monitor [rows]: 1,000,000 rows by default; a smaller number gives a
// quick try.

#include "benchsupport.h"

#include "app/formmain.h"
#include "monitor/trafficlog.h"
#include "sim/simulatedunit.h"
#include "toolkit/application.h"

#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    Bench::useOffscreenByDefault();
    Application app(argc, argv);
    const std::size_t rows = argc > 1 ? std::max<std::size_t>(std::strtoul(argv[1], nullptr, 10), 10) : 1'000'000;
    karvsim::SimulatedUnit unit;
    QTemporaryDir directory;
    const auto window = Bench::openPanel(directory.path(), QString::fromStdString(unit.devicePath()));
    if (!window) {
        std::fprintf(stderr, "bench_monitor: the port did not open\n");
        return 1;
    }
    window->findChild<QPushButton *>(QStringLiteral("BtnMonitor"))->click();
    std::size_t replies = 0;
    QObject::connect(&window->exchange(), &Exchange::replyAssembled, [&] { ++replies; });

    const TrafficLog &log = window->trafficLog();
    // A query and its reply are two rows.
    const std::size_t cycles = rows / 2;
    long atRingFull = 0;
    const auto cpuBefore = Bench::cpuTime();
    const auto start = std::chrono::steady_clock::now();
    const bool replied = Bench::runQueryCycles(*window, cycles, [&](std::size_t) {
        if (atRingFull == 0 && log.appended() >= quint64(TrafficLog::DefaultCapacity))
            atRingFull = Bench::residentKiB();
    });
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    const std::chrono::duration<double> cpu = Bench::cpuTime() - cpuBefore;
    const long atEnd = Bench::residentKiB();
    if (!replied) {
        std::fprintf(stderr, "bench_monitor: a reply did not come\n");
        return 1;
    }
    // The rows since the port opened: the opening, then a query and a reply per cycle.
    const quint64 recorded = log.appended() - 1;
    std::printf("monitor: %llu rows in %.1f s, %.0f rows/s, CPU %.0f %% of a core,\n"
                "  resident memory %ld KiB at %lld rows, %ld KiB at %llu rows, rows kept %lld,\n"
                "  replies %zu of %zu queries, rows lost %lld\n",
                static_cast<unsigned long long>(recorded), wall.count(), double(recorded) / wall.count(),
                100.0 * cpu / wall, atRingFull, static_cast<long long>(TrafficLog::DefaultCapacity), atEnd,
                static_cast<unsigned long long>(recorded), static_cast<long long>(log.size()), replies, cycles,
                static_cast<long long>(2 * cycles) - static_cast<long long>(recorded));
    return 0;
}
