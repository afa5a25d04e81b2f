// The simulated boot loader's line in byte-time mode, driven stop-and-wait by
// a bare client: how far the exchange stays above the floor of a real 9600
// baud line, (bytes in + bytes out) × 10 / 9600 s, and how much of that is the
// unit's own: how late each reply went out after its request was read, beyond
// the request's and the reply's time on the line. The rest is the pseudo-
// terminal and the client waking up, which a client pays on a real line too.

#include "bareclient.h"
#include "benchsupport.h"

#include "sim/simulatedunit.h"

#include <cstdio>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr std::size_t kRequests = 1000;
constexpr double kByteTimeUs = 10.0 / 9600 * 1e6;

} // namespace

int main()
{
    const std::unique_ptr<karvsim::SimulatedUnit> pacedUnit = Bench::pacedBootLoader();
    karvsim::SimulatedUnit &unit = *pacedUnit;
    const Bench::BareExchange run = Bench::bareBootExchanges(unit, kRequests);
    if (!run.answered) {
        std::fprintf(stderr, "bench_bootline: request %zu got no reply\n", run.requests + 1);
        return 1;
    }

    // Requests alternate between 'C' (three bytes, one back) and 'R' (one, two back).
    unit.waitForReplies(kRequests, 2s);
    const auto received = unit.receivedBytes();
    const auto sent = unit.replyTimes();
    std::vector<double> lateness;
    for (std::size_t i = 0, lastByte = 0; i < kRequests; ++i) {
        const bool store = i % 2 == 0;
        lastByte += store ? 3 : 1;
        const double onLine = (store ? 4.0 : 3.0) * kByteTimeUs;
        const std::chrono::duration<double, std::micro> replied = sent[i] - received[lastByte - 1].at;
        lateness.push_back(replied.count() - onLine);
    }

    const double floor = run.floorSeconds();
    std::printf("boot line: %zu requests ('C' and 'R' in turn) at 9600 baud with byte time,\n", kRequests);
    std::printf("  %zu bytes, floor %.3f s, taken %.3f s: %+.2f %%, %.0f us a request above the floor\n",
                run.bytes, floor, run.seconds, (run.seconds / floor - 1.0) * 100.0,
                (run.seconds - floor) / double(kRequests) * 1e6);
    std::printf("  the unit's own: reply out after its line time, late by median %.0f us, p99 %.0f us,"
                " max %.0f us\n",
                Bench::percentile(lateness, 0.5), Bench::percentile(lateness, 0.99),
                Bench::percentile(lateness, 1.0));
    return 0;
}
