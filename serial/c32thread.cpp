#include "serial/c32thread.h"

#include "serial/ttyqueue.h"

#include <cerrno>
#include <sys/epoll.h>
#include <unistd.h>

TC32Thread::TC32Thread(int PortHandle, TC32EventType MonitorEvents, QObject *Parent)
    : QThread(Parent)
    , FPort(PortHandle)
    , FLineEvents(PortHandle, MonitorEvents)
    , FNotifier(FHandOver.NoticeFd(), QSocketNotifier::Read)
{
    connect(&FNotifier, &QSocketNotifier::activated, this, &TC32Thread::ServeHandOver);
}

TC32Thread::~TC32Thread()
{
    requestInterruption();
    SignalStop();
    if (isRunning())
        WaitServingHandOvers();
    wait();
}

void TC32Thread::SignalStop()
{
    FStop.Signal();
}

void TC32Thread::run()
{
    const bool hungUp = Execute();
    TtyQueue::DropInput(FPort);
    if (hungUp)
        emit HungUp();
    FEnded.Signal();
}

bool TC32Thread::Execute()
{
    const int poller = epoll_create1(EPOLL_CLOEXEC);
    if (poller < 0) {
        WaitReadable({FStop.Fd()});
        return false;
    }
    epoll_event stop{};
    stop.events = EPOLLIN;
    stop.data.fd = FStop.Fd();
    epoll_ctl(poller, EPOLL_CTL_ADD, FStop.Fd(), &stop);
    // A port epoll refuses leaves only the stop request to wake the thread.
    FLineEvents.AddTo(poller);

    bool hungUp = false;
    for (;;) {
        epoll_event ready[2];
        const int count = epoll_wait(poller, ready, 2, -1);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            break;
        bool stopped = false;
        bool portReady = false;
        for (int i = 0; i < count; ++i) {
            if (ready[i].data.fd == FStop.Fd()) {
                stopped = true;
            } else {
                portReady = true;
                hungUp = (ready[i].events & (EPOLLHUP | EPOLLERR)) != 0;
            }
        }
        if (stopped || isInterruptionRequested())
            break;
        if (portReady && !HandOverLineEvents())
            break;
        // A hung-up tty stays ready for ever and nothing arrives any more.
        if (hungUp)
            break;
    }
    close(poller);
    return hungUp && !isInterruptionRequested();
}

bool TC32Thread::HandOverLineEvents()
{
    return FLineEvents.Report(
        [this](quint32 EventMask) {
            FEventMask = EventMask;
            return FHandOver.Request();
        },
        [this] { return isInterruptionRequested(); });
}

void TC32Thread::NotifyOwner()
{
    if (FCallback)
        FCallback(FEventMask);
}

void TC32Thread::ServeHandOver()
{
    FHandOver.ServePending([this] { NotifyOwner(); });
}

void TC32Thread::WaitServingHandOvers()
{
    while (WaitReadable({FEnded.Fd(), FHandOver.NoticeFd()}) == 1)
        ServeHandOver();
}
