#include "serial/backgroundwriter.h"

#include "serial/ttyqueue.h"

#include <cerrno>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

BackgroundWriter::~BackgroundWriter()
{
    Abort();
}

void BackgroundWriter::Start(int Fd, QByteArray Rest, std::function<void()> WhenDrained)
{
    // An abort that came while no job ran must not end this one.
    FAbort.Take();
    FFd = Fd;
    FRest = std::move(Rest);
    FRemaining = int(FRest.size());
    FEnded = false;
    FThread = std::thread(&BackgroundWriter::Run, this, std::move(WhenDrained));
}

bool BackgroundWriter::Busy()
{
    if (!FThread.joinable())
        return false;
    if (!FEnded)
        return true;
    FThread.join();
    return false;
}

void BackgroundWriter::Abort()
{
    // A job that has ended keeps its last bytes: they are the driver's to send.
    if (!Busy())
        return;
    FAbort.Signal();
    // Also ends a wait for the queue to drain.
    TtyQueue::DropOutput(FFd);
    FThread.join();
    FRemaining = 0;
}

void BackgroundWriter::Wait()
{
    if (FThread.joinable())
        FThread.join();
}

void BackgroundWriter::Run(const std::function<void()> &WhenDrained)
{
    const bool written = WriteRest();
    if (WhenDrained) {
        if (written)
            tcdrain(FFd);
        WhenDrained();
    }
    FRemaining = 0;
    FEnded = true;
}

bool BackgroundWriter::WriteRest()
{
    qsizetype sent = 0;
    while (sent < FRest.size()) {
        pollfd watched[] = {{FFd, POLLOUT, 0}, {FAbort.Fd(), POLLIN, 0}};
        if (poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (watched[1].revents != 0 || (watched[0].revents & (POLLERR | POLLHUP | POLLNVAL)))
            return false;
        const ssize_t put = write(FFd, FRest.constData() + sent, size_t(FRest.size() - sent));
        if (put < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (put > 0) {
            sent += put;
            FRemaining = int(FRest.size() - sent);
        }
    }
    return true;
}
