// Query–reply cycles with the simulated unit on a pseudo-terminal: how long
// after the unit's last reply byte the panel stops awaiting the reply, and
// what the panel costs while it idles with the port open.

#include "benchsupport.h"

#include "app/formmain.h"
#include "sim/simulatedunit.h"
#include "toolkit/application.h"

#include <QTemporaryDir>

#include <cstdio>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kCycles = 1000;

// When each reply ended the wait, empty on a missing reply. Latency is
// timed on the steady clock, which the stepped tick counter does not touch.
std::vector<Clock::time_point> runCycles(TFormMain &window)
{
    std::vector<Clock::time_point> cleared;
    cleared.reserve(kCycles);
    if (!Bench::runQueryCycles(window, kCycles, [&](std::size_t) { cleared.push_back(Clock::now()); }))
        return {};
    return cleared;
}

} // namespace

int main(int argc, char **argv)
{
    Bench::useOffscreenByDefault();
    Application app(argc, argv);
    karvsim::SimulatedUnit unit;
    QTemporaryDir directory;
    const auto window = Bench::openPanel(directory.path(), QString::fromStdString(unit.devicePath()));
    if (!window) {
        std::fprintf(stderr, "bench_sendreply: the port did not open\n");
        return 1;
    }

    const std::vector<Clock::time_point> cleared = runCycles(*window);
    if (cleared.size() != kCycles || !unit.waitForReplies(kCycles, 2s)) {
        std::fprintf(stderr, "bench_sendreply: a reply did not come\n");
        return 1;
    }
    const std::vector<Clock::time_point> lastByte = unit.replyTimes();
    std::vector<double> latencies;
    for (std::size_t i = 0; i < kCycles; ++i)
        latencies.push_back(std::chrono::duration<double, std::micro>(cleared[i] - lastByte[i]).count());
    std::printf("send-reply: %zu query-reply cycles, last reply byte to AwaitingReply cleared:\n", kCycles);
    std::printf("  median %.0f us, p99 %.0f us, max %.0f us\n", Bench::percentile(latencies, 0.5),
                Bench::percentile(latencies, 0.99), Bench::percentile(latencies, 1.0));

    const double idle = Bench::cpuShareWhileIdle(5s);
    std::printf("  idle with the port open: %.3f %% of a core over 5 s (panel and the idle unit's thread)\n",
                idle * 100.0);
    return 0;
}
