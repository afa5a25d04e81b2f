#include "serialline.h"

#include "arbitraryspeed.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

SerialLine::SerialLine(const std::string &path, speed_t speed)
    : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
{
    if (fd_ >= 0)
        setSpeed(speed);
}

SerialLine::~SerialLine()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void SerialLine::setSpeed(speed_t speed)
{
    termios tio{};
    ::tcgetattr(fd_, &tio);
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    ::tcsetattr(fd_, TCSANOW, &tio);
}

bool SerialLine::setArbitrarySpeed(int baudRate)
{
    return ::setArbitrarySpeed(fd_, baudRate);
}

void SerialLine::write(const Bytes &bytes)
{
    if (::write(fd_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("short write to the line");
}

Bytes SerialLine::read(std::size_t count, std::chrono::milliseconds timeout)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    Bytes bytes;
    while (bytes.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd p{fd_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            break;
        std::uint8_t buffer[64];
        const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - bytes.size()));
        if (n > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

Bytes SerialLine::ask(const karvsim::CommandFrame &command)
{
    write(bytesOf(command));
    return read(karvsim::kReplyFrameSize);
}

karvsim::CommandFrame command(std::uint8_t code, std::uint8_t p0, const Bytes &p, std::uint8_t address)
{
    karvsim::CommandFrame frame{address, code, p0};
    std::copy_n(p.begin(), std::min<std::size_t>(p.size(), 6), frame.begin() + 3);
    return frame;
}

Bytes bytesOf(const karvsim::CommandFrame &command)
{
    return {command.begin(), command.end()};
}
