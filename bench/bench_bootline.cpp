// The simulated boot loader's line in byte-time mode, driven stop-and-wait by
// a bare client: how far the exchange stays above the floor of a real 9600
// baud line, (bytes in + bytes out) × 10 / 9600 s, and how much of that is the
// unit's own: how late each reply went out after its request was read, beyond
// the request's and the reply's time on the line. The rest is the pseudo-
// terminal and the client waking up, which a client pays on a real line too.

#include "benchsupport.h"

#include "sim/simulatedunit.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRequests = 1000;
constexpr double kByteTimeUs = 10.0 / 9600 * 1e6;

int openAt9600(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    ::tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

// Sends `request` and waits for `replyBytes`; false on a time-out.
bool exchange(int fd, const std::uint8_t *request, std::size_t size, std::size_t replyBytes)
{
    if (::write(fd, request, size) != static_cast<ssize_t>(size))
        return false;
    std::uint8_t buffer[16];
    for (std::size_t got = 0; got < replyBytes;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 2000) <= 0)
            return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            got += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

int main()
{
    karvsim::SimulatedUnit::Options options;
    options.inBootLoader = true;
    karvsim::SimulatedUnit unit(options);
    karvsim::LineFaults paced;
    paced.byteTiming = true;
    unit.setFaults(paced);
    const int fd = openAt9600(unit.devicePath());

    struct Request
    {
        std::vector<std::uint8_t> bytes;
        std::size_t replyBytes;
    };
    const Request store{{'C', 0x12, 0x34}, 1};
    const Request read{{'R'}, 2};
    const auto start = Clock::now();
    for (int i = 0; i < kRequests; ++i) {
        const Request &request = i % 2 == 0 ? store : read;
        if (!exchange(fd, request.bytes.data(), request.bytes.size(), request.replyBytes)) {
            std::fprintf(stderr, "bench_bootline: request %d got no reply\n", i + 1);
            return 1;
        }
    }
    const auto taken = std::chrono::duration<double>(Clock::now() - start).count();
    ::close(fd);

    unit.waitForReplies(kRequests, 2s);
    const auto received = unit.receivedBytes();
    const auto sent = unit.replyTimes();
    std::vector<double> lateness;
    for (std::size_t i = 0, lastByte = 0; i < kRequests; ++i) {
        const Request &request = i % 2 == 0 ? store : read;
        lastByte += request.bytes.size();
        const double onLine = double(request.bytes.size() + request.replyBytes) * kByteTimeUs;
        const std::chrono::duration<double, std::micro> replied = sent[i] - received[lastByte - 1].at;
        lateness.push_back(replied.count() - onLine);
    }

    const std::size_t bytes = unit.bootBytesReceived() + unit.bootBytesSent();
    const double floor = static_cast<double>(bytes) * 10.0 / 9600.0;
    std::printf("boot line: %d requests ('C' and 'R' in turn) at 9600 baud with byte time,\n",
                kRequests);
    std::printf("  %zu bytes, floor %.3f s, taken %.3f s: %+.2f %%, %.0f us a request above the floor\n",
                bytes, floor, taken, (taken / floor - 1.0) * 100.0, (taken - floor) / kRequests * 1e6);
    std::printf("  the unit's own: reply out after its line time, late by median %.0f us, p99 %.0f us,"
                " max %.0f us\n",
                Bench::percentile(lateness, 0.5), Bench::percentile(lateness, 0.99),
                Bench::percentile(lateness, 1.0));
    return 0;
}
