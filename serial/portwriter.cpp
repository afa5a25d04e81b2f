#include "serial/portwriter.h"

#include "serial/portcalls.h"
#include "serial/ttyqueue.h"

#include <cerrno>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>

PortWriter::PortWriter(PortCalls &Calls, int Fd)
    : FCalls(Calls)
    , FFd(Fd)
    , FThread(&PortWriter::Run, this)
{
}

PortWriter::~PortWriter()
{
    Abort();
    FStop.Signal();
    FThread.join();
}

void PortWriter::Start(QByteArray Rest, bool DropRts)
{
    // An abort that came while no job ran must not end this one.
    FAbort.Take();
    FRemaining = int(Rest.size());
    {
        const std::lock_guard lock(FMutex);
        FRest = std::move(Rest);
        FDropRts = DropRts;
    }
    FBusy = true;
    FJob.Signal();
}

void PortWriter::Abort()
{
    // A job that has ended keeps its last bytes: they are the driver's to send.
    if (!Busy())
        return;
    FAbort.Signal();
    // Also ends a wait for the queue to drain.
    TtyQueue::DropOutput(FFd);
    Wait();
}

void PortWriter::Wait()
{
    while (Busy()) {
        WaitReadable({FEnded.Fd()});
        FEnded.Take();
    }
}

void PortWriter::Run()
{
    // Shows in the process's thread list beside the event thread.
    pthread_setname_np(pthread_self(), "PortWriter");
    while (WaitReadable({FStop.Fd(), FJob.Fd()}) == 1) {
        FJob.Take();
        RunJob();
        FRemaining = 0;
        // Cleared before the signal, so that whoever wakes finds it ended.
        FBusy = false;
        FEnded.Signal();
    }
}

void PortWriter::RunJob()
{
    QByteArray rest;
    bool dropRts = false;
    {
        const std::lock_guard lock(FMutex);
        rest = std::move(FRest);
        dropRts = FDropRts;
    }
    const bool written = WriteRest(rest);
    if (!dropRts)
        return;
    if (written)
        FCalls.Drain(FFd);
    SetModemLine(FCalls, FFd, TIOCM_RTS, false);
}

bool PortWriter::WriteRest(const QByteArray &Rest)
{
    qsizetype sent = 0;
    while (sent < Rest.size()) {
        pollfd watched[] = {{FFd, POLLOUT, 0}, {FAbort.Fd(), POLLIN, 0}};
        if (poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (watched[1].revents != 0 || (watched[0].revents & (POLLERR | POLLHUP | POLLNVAL)))
            return false;
        const ssize_t put = FCalls.Write(FFd, Rest.constData() + sent, size_t(Rest.size() - sent));
        if (put < 0 && errno != EAGAIN)
            return false;
        if (put > 0) {
            sent += put;
            FRemaining = int(Rest.size() - sent);
        }
    }
    return true;
}
