#include "serial/c32thread.h"

#include "serial/ttyqueue.h"

#include <cerrno>
#include <sys/epoll.h>
#include <unistd.h>

namespace {

quint32 EventMaskFor(TC32EventType Events)
{
    static constexpr struct
    {
        TC32EventState Event;
        quint32 Bit;
    } kBits[] = {
        {evBreak, EV_BREAK}, {evCTS, EV_CTS}, {evDSR, EV_DSR},
        {evError, EV_ERR}, {evRing, EV_RING}, {evRlsd, EV_RLSD},
        {evRxChar, EV_RXCHAR}, {evRxFlag, EV_RXFLAG}, {evTxEmpty, EV_TXEMPTY},
    };
    quint32 mask = 0;
    for (const auto &entry : kBits) {
        if (Events.testFlag(entry.Event))
            mask |= entry.Bit;
    }
    return mask;
}

quint32 EventsOfLineErrors(quint32 Errors)
{
    quint32 events = 0;
    if (Errors & CE_BREAK)
        events |= EV_BREAK;
    if (Errors & ~quint32(CE_BREAK))
        events |= EV_ERR;
    return events;
}

} // namespace

TC32Thread::TC32Thread(int PortHandle, TC32EventType MonitorEvents, QObject *Parent)
    : QThread(Parent)
    , FPort(PortHandle)
    , FWatchedMask(EventMaskFor(MonitorEvents))
    , FNotifier(FHandOver.NoticeFd(), QSocketNotifier::Read)
{
    FLineErrors.Reset(FPort);
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
    // Edge-triggered, so that bytes no handler takes do not wake the thread
    // again and again; HandOverLineEvents covers handlers that take a part.
    // Readable is watched even when no line event is, as it is readable that
    // a tty's hang-up wakes its waiters with.
    epoll_event port{};
    port.events = EPOLLIN | EPOLLET;
    port.data.fd = FPort;
    // A port epoll refuses leaves only the stop request to wake the thread.
    epoll_ctl(poller, EPOLL_CTL_ADD, FPort, &port);

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
    int waiting = TtyQueue::InputCount(FPort);
    quint32 mask = EventsOfLineErrors(FLineErrors.Take(FPort)) | (waiting > 0 ? quint32(EV_RXCHAR) : 0u);
    mask &= FWatchedMask;
    while (mask != 0 && !isInterruptionRequested()) {
        FEventMask = mask;
        if (!FHandOver.Request())
            return false;
        // Bytes left by handlers that took some (a bounded buffer) are handed
        // over again at once; bytes nobody took wait for more to arrive.
        const int left = TtyQueue::InputCount(FPort);
        mask = (left > 0 && left < waiting) ? (FWatchedMask & EV_RXCHAR) : 0;
        waiting = left;
    }
    return true;
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
