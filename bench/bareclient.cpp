#include "bareclient.h"

#include "sim/simulatedunit.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace Bench {

namespace {

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
bool exchange(int fd, const std::vector<std::uint8_t> &request, std::size_t replyBytes)
{
    if (::write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size()))
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

std::unique_ptr<karvsim::SimulatedUnit> pacedBootLoader()
{
    karvsim::SimulatedUnit::Options options;
    options.inBootLoader = true;
    auto unit = std::make_unique<karvsim::SimulatedUnit>(options);
    karvsim::LineFaults paced;
    paced.byteTiming = true;
    unit->setFaults(paced);
    return unit;
}

double BareExchange::floorSeconds() const
{
    return static_cast<double>(bytes) * 10.0 / 9600.0;
}

BareExchange bareBootExchanges(karvsim::SimulatedUnit &unit, std::size_t requests)
{
    struct Request
    {
        std::vector<std::uint8_t> bytes;
        std::size_t replyBytes;
    };
    const Request store{{'C', 0x12, 0x34}, 1};
    const Request read{{'R'}, 2};

    BareExchange result;
    const int fd = openAt9600(unit.devicePath());
    const auto start = std::chrono::steady_clock::now();
    for (; result.requests < requests; ++result.requests) {
        const Request &request = result.requests % 2 == 0 ? store : read;
        if (!exchange(fd, request.bytes, request.replyBytes)) {
            ::close(fd);
            return result;
        }
        result.bytes += request.bytes.size() + request.replyBytes;
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.answered = true;
    ::close(fd);
    return result;
}

} // namespace Bench
